#include <gtest/gtest.h>

#include <any>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "Chart/Data/PieChartData.h"
#include "Chart/Data/PieChartDataSet.h"
#include "Chart/Data/RadarChartData.h"
#include "Chart/Data/RadarChartDataSet.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Font;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double big = std::numeric_limits<double>::max();

std::shared_ptr<PieChartDataSet> slices(std::vector<double> values, std::optional<std::string> label = "Inks") {
  std::vector<EntryPtr> entries;
  for (double v : values) entries.push_back(std::make_shared<PieChartDataEntry>(v));
  return std::make_shared<PieChartDataSet>(entries, std::move(label));
}

std::shared_ptr<RadarChartDataSet> web(std::vector<double> values) {
  std::vector<EntryPtr> entries;
  for (double v : values) entries.push_back(std::make_shared<RadarChartDataEntry>(v));
  return std::make_shared<RadarChartDataSet>(entries);
}

// The y an entry found for a highlight reads, or NaN for none.
double found(const EntryPtr& entry) { return entry ? entry->y() : nan; }

TEST(PieChartDataEntry, IsAValueWithALabel) {
  PieChartDataEntry e(30, "Cyan");
  EXPECT_EQ(e.y(), 30);
  EXPECT_TRUE(std::isnan(e.x()));
  EXPECT_EQ(e.label(), "Cyan");
  EXPECT_EQ(e.value(), 30);
  e.setValue(12);
  EXPECT_EQ(e.y(), 12);
  EXPECT_EQ(PieChartDataEntry(5).label(), std::nullopt);
}

TEST(PieChartDataSet, DefaultsExtremesAndSliceSpaceClamp) {
  for (const auto& set : {std::make_shared<PieChartDataSet>(), slices({10, 20})}) {
    EXPECT_EQ(set->valueTextColor(), Color::white());
    EXPECT_EQ(set->valueFont(), Font::systemFont(13));
    EXPECT_EQ(set->sliceSpace(), 0);
    EXPECT_FALSE(set->automaticallyDisableSliceSpacing());
    EXPECT_EQ(set->selectionShift(), 18);
    EXPECT_EQ(set->xValuePosition(), PieChartDataSet::ValuePosition::insideSlice);
    EXPECT_EQ(set->yValuePosition(), PieChartDataSet::ValuePosition::insideSlice);
    EXPECT_EQ(set->valueLineColor(), Color::black());
    EXPECT_FALSE(set->useValueColorForLine());
    EXPECT_EQ(set->valueLineWidth(), 1.0);
    EXPECT_EQ(set->valueLinePart1OffsetPercentage(), 0.75);
    EXPECT_EQ(set->valueLinePart1Length(), 0.3);
    EXPECT_EQ(set->valueLinePart2Length(), 0.4);
    EXPECT_TRUE(set->valueLineVariableLength());
    EXPECT_FALSE(set->entryLabelFont() || set->entryLabelColor() || set->highlightColor());
  }
  // Only y counts: slices have no x.
  const auto set = slices({10, 30, 20});
  EXPECT_EQ(set->yMin(), 10);
  EXPECT_EQ(set->yMax(), 30);
  EXPECT_EQ(set->xMin(), big);
  EXPECT_EQ(set->xMax(), -big);
  set->addEntry(std::make_shared<ChartDataEntry>(5, 40));  // not even a finite x counts
  EXPECT_EQ(std::tuple(set->xMin(), set->xMax(), set->yMax()), std::tuple(big, -big, 40.0));

  const std::pair<double, double> spaces[] = {{25, 20}, {-3, 0}, {-0.0, 0}, {7, 7}};
  for (const auto& [given, stored] : spaces) {
    set->setSliceSpace(given);
    EXPECT_EQ(set->sliceSpace(), stored) << given;
    EXPECT_FALSE(std::signbit(set->sliceSpace())) << given;
  }
  set->setSliceSpace(nan);
  EXPECT_TRUE(std::isnan(set->sliceSpace()));
  EXPECT_EQ(pieChartValuePositionFromRaw(1), PieChartDataSet::ValuePosition::outsideSlice);
  EXPECT_EQ(pieChartValuePositionFromRaw(2), std::nullopt);
}

// A pie draws its first set: every look-up answers from it alone.
TEST(PieChartData, WorksOnItsFirstSetOnly) {
  const auto first = slices({10, 20, 30});
  const auto second = slices({1}, "Inks");
  PieChartData data({first, second});
  EXPECT_EQ(data.yValueSum(), 60);
  EXPECT_EQ(data.dataSet(), first);
  EXPECT_EQ(data.getDataSetByIndex(0), first);
  EXPECT_EQ(data.getDataSetByIndex(1), nullptr);

  // The highlight's x is the entry index, truncated; its set index is not read.
  const std::pair<double, double> highlights[] = {{2.7, 30},   {0, 10},      {-0.5, 10},   {1.99, 20},
                                                  {3, nan},    {-1, nan},    {nan, nan},   {inf, nan},
                                                  {-inf, nan}, {1e300, nan}, {-1e300, nan}};
  for (const auto& [x, y] : highlights) {
    const double got = found(data.entryForHighlight(Highlight(x, 7, -1)));
    EXPECT_TRUE(got == y || (std::isnan(got) && std::isnan(y))) << "x " << x << " found " << got;
  }

  struct LabelCase {
    const char* asked;
    bool ignoreCase;
    bool finds;
  };
  const LabelCase labels[] = {{"inks", true, true},
                              {"inks", false, false},
                              {"Inks", false, true},
                              {"Other", true, false},
                              {"Other", false, false}};
  for (const auto& c : labels) {
    EXPECT_EQ(data.getDataSetByLabel(c.asked, c.ignoreCase), c.finds ? first : nullptr) << c.asked;
  }
  EXPECT_EQ(PieChartData({slices({1}, std::nullopt), second}).getDataSetByLabel("Inks", true), nullptr);

  EXPECT_FALSE(data.removeDataSetByIndex(0));
  EXPECT_FALSE(data.removeDataSet(first));
  EXPECT_EQ(data.dataSetCount(), 2);

  data.setDataSet(second);
  EXPECT_EQ(data.dataSets(), std::vector<DataSetPtr>{second});
  EXPECT_EQ(data.yMax(), 1);
  data.setDataSet(nullptr);
  EXPECT_TRUE(data.dataSets().empty());
  EXPECT_EQ(data.yValueSum(), 0);
  EXPECT_EQ(data.entryForHighlight(Highlight(0, 0, 0)), nullptr);
  EXPECT_EQ(data.getDataSetByLabel("Inks", true), nullptr);

  // A first set of another kind is no pie.
  PieChartData plain{
      DataSetPtr(std::make_shared<ChartDataSet>(std::vector<EntryPtr>{std::make_shared<ChartDataEntry>(0, 5)}))};
  EXPECT_EQ(plain.dataSet(), nullptr);
  EXPECT_EQ(plain.yValueSum(), 0);
  EXPECT_EQ(plain.entryForHighlight(Highlight(0, 0, 0)), nullptr);
}

// A radar entry has no (x, y) form; a number as payload is spelled out.
static_assert(!std::is_constructible_v<RadarChartDataEntry, int, int> &&
              !std::is_constructible_v<RadarChartDataEntry, double, double>);
static_assert(std::is_constructible_v<RadarChartDataEntry, double, std::any>);

TEST(RadarChartData, DefaultsAndHighlightLookUps) {
  RadarChartDataEntry e(4.5);
  EXPECT_TRUE(std::isnan(e.x()));
  EXPECT_EQ(e.value(), 4.5);
  e.setValue(2);
  EXPECT_EQ(e.y(), 2);

  for (const auto& set : {std::make_shared<RadarChartDataSet>(), web({1, 2})}) {
    EXPECT_FALSE(set->isDrawHighlightCircleEnabled());
    EXPECT_EQ(set->highlightCircleFillColor(), Color::white());
    EXPECT_EQ(set->highlightCircleStrokeColor(), std::nullopt);
    EXPECT_EQ(set->highlightCircleStrokeAlpha(), 0.3);
    EXPECT_EQ(set->highlightCircleInnerRadius(), 3);
    EXPECT_EQ(set->highlightCircleOuterRadius(), 4);
    EXPECT_EQ(set->highlightCircleStrokeWidth(), 2);
    EXPECT_EQ(set->valueFont(), Font::systemFont(13));
  }

  RadarChartData data({web({1, 2, 3, 4}), web({5, 6, 7, 8, 9})});
  EXPECT_EQ(data.highlightColor(), Color::rgb(1, 187.0 / 255, 115.0 / 255));
  EXPECT_EQ(data.highlightLineWidth(), 1);
  EXPECT_EQ(data.highlightLineDashPhase(), 0);
  EXPECT_EQ(data.highlightLineDashLengths(), std::nullopt);
  EXPECT_TRUE(data.labels().empty());
  data.setLabels({"K", "C", "M"});
  EXPECT_EQ(data.labels(), (std::vector<std::string>{"K", "C", "M"}));

  struct Case {
    double x;
    int64_t dataSetIndex;
    double y;
  };
  const Case cases[] = {{3.0, 1, 8}, {3.9, 1, 8},  {0, 0, 1},     {-0.5, 0, 1},  {4, 0, nan},
                        {3, 2, nan}, {3, -1, nan}, {nan, 1, nan}, {inf, 1, nan}, {-1e300, 1, nan}};
  for (const Case& c : cases) {
    const double got = found(data.entryForHighlight(Highlight(c.x, c.dataSetIndex, -1)));
    EXPECT_TRUE(got == c.y || (std::isnan(got) && std::isnan(c.y)))
        << "x " << c.x << " set " << c.dataSetIndex << " found " << got;
  }
}

}  // namespace
