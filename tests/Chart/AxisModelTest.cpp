#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Components/Description.h"
#include "Chart/Components/XAxis.h"
#include "Chart/Components/YAxis.h"
#include "Chart/Utils/DefaultAxisValueFormatter.h"
#include "platform/graphics/TextMetrics.h"

using namespace chart;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The label count's clamp and its bounds, granularity, the custom range and
// the base range rule, each step applied to a fresh x axis.
TEST(AxisBase, LabelCountGranularityAndRangeRules) {
  const struct {
    const char* name;
    std::function<void(AxisBase&)> setUp;
    int64_t labelCount;
    bool forced;
  } counts[] = {
      {"0 rises to the lower bound", [](AxisBase& a) { a.setLabelCount(0, true); a.setLabelCount(0); }, 2, false},
      {"40 falls to the upper bound", [](AxisBase& a) { a.setLabelCount(40); }, 25, false},
      {"forced 11", [](AxisBase& a) { a.setLabelCount(11, true); }, 11, true},
      {"bounds below 1 are ignored",
       [](AxisBase& a) { a.setAxisMinLabels(0); a.setAxisMinLabels(-3); a.setAxisMaxLabels(0); a.setLabelCount(1); },
       2, false},
      {"new bounds do not re-clamp", [](AxisBase& a) { a.setLabelCount(20); a.setAxisMaxLabels(10); }, 20, false},
      // Crossed bounds: above the upper bound gives the upper bound, anything
      // else at least the lower one (no std::clamp with lo > hi).
      {"crossed, below", [](AxisBase& a) { a.setAxisMinLabels(30); a.setLabelCount(10); }, 30, false},
      {"crossed, above", [](AxisBase& a) { a.setAxisMinLabels(30); a.setLabelCount(40); }, 25, false},
  };
  for (const auto& row : counts) {
    XAxis axis;
    row.setUp(axis);
    EXPECT_EQ(axis.labelCount(), row.labelCount) << row.name;
    EXPECT_EQ(axis.isForceLabelsEnabled(), row.forced) << row.name;
  }

  XAxis axis;
  axis.setGranularity(25.5);
  EXPECT_TRUE(axis.isGranularityEnabled());
  axis.setGranularityEnabled(false);
  EXPECT_EQ(axis.granularity(), 25.5);

  // Custom ends mark themselves and set the range at once; calculate keeps
  // them; resetting the mark lets calculate replace them.
  axis.setAxisMinimum(0);
  EXPECT_TRUE(axis.isAxisMinCustom());
  EXPECT_EQ(axis.axisRange(), 0);
  axis.setAxisMaximum(100);
  EXPECT_EQ(axis.axisRange(), 100);
  axis.calculate(20, 30);
  EXPECT_EQ(axis.axisMinimum(), 0);
  EXPECT_EQ(axis.axisMaximum(), 100);
  axis.resetCustomAxisMin();
  EXPECT_EQ(axis.axisMinimum(), 0) << "the value stays until the next calculate";
  axis.calculate(20, 30);
  EXPECT_EQ(axis.axisMinimum(), 20);
  EXPECT_EQ(axis.axisRange(), 80);

  const struct {
    double dataMin, dataMax, spaceMin, spaceMax, min, max;
  } ranges[] = {{5, 5, 0, 0, 4, 6}, {0, 10, 1, 2, -1, 12}, {-3, -3, 1, 1, -4, -2}, {2, 2, 0.5, -0.5, 0.5, 2.5}};
  for (const auto& r : ranges) {
    XAxis x;
    x.setSpaceMin(r.spaceMin);
    x.setSpaceMax(r.spaceMax);
    x.calculate(r.dataMin, r.dataMax);
    EXPECT_EQ(x.axisMinimum(), r.min) << r.dataMin << ".." << r.dataMax;
    EXPECT_EQ(x.axisMaximum(), r.max) << r.dataMin << ".." << r.dataMax;
    EXPECT_EQ(x.axisRange(), r.max - r.min) << r.dataMin << ".." << r.dataMax;
    EXPECT_FALSE(x.isAxisMinCustom());
  }
}

// The default formatter follows the axis's decimals at every read; one of the
// caller's own is never touched; labels outside the entries are "".
TEST(AxisBase, LabelsFormatterAndLongestLabel) {
  YAxis axis;
  EXPECT_FALSE(axis.isCenterAxisLabelsEnabled());
  axis.setCenterAxisLabelsEnabled(true);
  EXPECT_FALSE(axis.isCenterAxisLabelsEnabled()) << "no entries computed yet";

  const auto formatter = axis.valueFormatter();
  EXPECT_EQ(axis.valueFormatter(), formatter) << "made once";
  axis.setEntries({0.25, 10, 20, 1000});
  EXPECT_TRUE(axis.isCenterAxisLabelsEnabled());
  EXPECT_EQ(axis.getFormattedLabel(0), "0") << "0 decimals";
  axis.setDecimals(2);
  EXPECT_EQ(axis.valueFormatter(), formatter);
  EXPECT_EQ(axis.getFormattedLabel(0), "0.25");
  EXPECT_EQ(axis.getFormattedLabel(3), "1,000.00");
  EXPECT_EQ(axis.getFormattedLabel(-1), "");
  EXPECT_EQ(axis.getFormattedLabel(axis.entryCount()), "");
  EXPECT_EQ(axis.getLongestLabel(), "1,000.00");

  // A formatter given a number formatter of its own has no automatic
  // decimals and keeps its digits.
  const auto own = std::make_shared<DefaultAxisValueFormatter>(std::make_shared<platform::text::NumberFormatter>());
  axis.setValueFormatter(own);
  axis.setDecimals(4);
  EXPECT_EQ(axis.valueFormatter(), own);
  EXPECT_FALSE(own->decimals().has_value());
  axis.setValueFormatter(nullptr);
  EXPECT_EQ(axis.getFormattedLabel(0), "0.2500") << "a new default with the current decimals";

  // Longest by characters as read: the first of equally long labels wins,
  // and a combining accent does not count.
  const std::vector<std::string> texts = {"7", "e\xCC\x81\xCC\x81", "ab", "cd"};
  axis.setValueFormatter(DefaultAxisValueFormatter::with(
      [&](double value, const AxisBase*) { return texts[static_cast<size_t>(value)]; }));
  axis.setEntries({0, 1, 2, 3});
  EXPECT_EQ(axis.getLongestLabel(), "ab");
  axis.setEntries({});
  EXPECT_EQ(axis.getLongestLabel(), "");
}

TEST(ChartLimitLine, WidthClampListsAndRawValues) {
  const struct {
    double set, stored;
  } widths[] = {{0, 0.2}, {0.1, 0.2}, {20, 12}, {12, 12}, {3.5, 3.5}};
  for (const auto& w : widths) {
    ChartLimitLine line;
    line.setLineWidth(w.set);
    EXPECT_EQ(line.lineWidth(), w.stored) << w.set;
  }

  const auto a = std::make_shared<ChartLimitLine>(50, "Target");
  const auto b = std::make_shared<ChartLimitLine>(50, "Target");
  YAxis axis;
  axis.addLimitLine(a);
  axis.addLimitLine(b);
  axis.addLimitLine(a);
  axis.removeLimitLine(std::make_shared<ChartLimitLine>(50, "Target"));
  EXPECT_EQ(axis.limitLines().size(), 3u) << "an equal line that was never added is not removed";
  axis.removeLimitLine(a);
  EXPECT_EQ(axis.limitLines(), (std::vector<std::shared_ptr<ChartLimitLine>>{b, a}));
  axis.removeAllLimitLines();
  EXPECT_TRUE(axis.limitLines().empty());

  EXPECT_EQ(ChartLimitLine::labelPositionFromRaw(3), ChartLimitLine::LabelPosition::bottomRight);
  EXPECT_FALSE(ChartLimitLine::labelPositionFromRaw(4));
  EXPECT_EQ(XAxis::labelPositionFromRaw(4), XAxis::LabelPosition::bottomInside);
  EXPECT_FALSE(XAxis::labelPositionFromRaw(-1));
  EXPECT_EQ(YAxis::labelPositionFromRaw(1), YAxis::LabelPosition::inside);
  EXPECT_FALSE(YAxis::labelPositionFromRaw(2));
}

// The offsets each axis starts with, which place the labels.
TEST(Axes, StartingOffsetsAndSides) {
  const XAxis x;
  const YAxis left;
  const YAxis right(AxisDependency::right);
  const Description description;
  EXPECT_EQ(x.xOffset(), 5);
  EXPECT_EQ(x.yOffset(), 4);
  EXPECT_EQ(left.xOffset(), 5);
  EXPECT_EQ(left.yOffset(), 0);
  EXPECT_EQ(left.axisDependency(), AxisDependency::left);
  EXPECT_EQ(right.axisDependency(), AxisDependency::right);
  EXPECT_EQ(right.yOffset(), 0);
  EXPECT_FALSE(description.text());
  EXPECT_EQ(description.textAlign(), platform::graphics::TextAlignment::right);
  EXPECT_EQ(description.yOffset(), 5);
}

TEST(YAxis, CalculateWithSpaceAndOneEndCustomRepairs) {
  const struct {
    const char* name;
    std::optional<double> customMin, customMax;
    double dataMin, dataMax, min, max, range;
  } table[] = {
      {"data 0..50", {}, {}, 0, 50, -5, 55, 60},
      {"equal values", {}, {}, 10, 10, 9, 11, 2},
      {"both custom", 0, 100, 20, 30, 0, 100, 100},
      {"only max custom", {}, 10, 20, 30, 4.5, 10, 5.5},
      {"only max custom, negative", {}, -10, 20, 30, -15 - 0.5, -10, 5.5},
      {"only min custom", -10, {}, -30, -20, -10, -4.5, 5.5},
      {"only min custom, positive", 10, {}, 0, 5, 10, 15.5, 5.5},
      {"both custom, crossed", 10, 0, 20, 30, 10, 0, 10},
      {"neither custom, crossed", {}, {}, 30, 20, 29, 21, 8},
  };
  for (const auto& row : table) {
    YAxis axis;
    if (row.customMin) axis.setAxisMinimum(*row.customMin);
    if (row.customMax) axis.setAxisMaximum(*row.customMax);
    axis.calculate(row.dataMin, row.dataMax);
    EXPECT_DOUBLE_EQ(axis.axisMinimum(), row.min) << row.name;
    EXPECT_DOUBLE_EQ(axis.axisMaximum(), row.max) << row.name;
    EXPECT_DOUBLE_EQ(axis.axisRange(), row.range) << row.name;
    EXPECT_EQ(axis.isAxisMinCustom(), row.customMin.has_value()) << row.name;
  }
  // spaceMin and spaceMax play no part on a y axis.
  YAxis axis;
  axis.setSpaceMin(100);
  axis.setSpaceMax(100);
  axis.calculate(0, 50);
  EXPECT_EQ(axis.axisMinimum(), -5);
  EXPECT_EQ(axis.axisMaximum(), 55);
}

// Measured with the fixed metrics: a 10-point label is 6 points a character
// wide and 12 high.
TEST(YAxis, RequiredSizeAndNeedsOffset) {
  const struct {
    double minWidth, maxWidth, width;
  } widths[] = {{0, kInf, 28}, {50, kInf, 50}, {0, 20, 20}, {0, 0, 28}, {0, -5, 28}, {30, 20, 30}};
  for (const auto& w : widths) {
    YAxis axis;
    axis.setEntries({0, 50, 100});
    axis.setMinWidth(w.minWidth);
    axis.setMaxWidth(w.maxWidth);
    EXPECT_EQ(axis.requiredSize(), (platform::graphics::Size{w.width, 12})) << w.minWidth << ", " << w.maxWidth;
  }
  YAxis offset;
  offset.setYOffset(3);
  EXPECT_EQ(offset.getRequiredHeightSpace(), 6) << "no labels: only the offsets";

  const struct {
    const char* name;
    std::function<void(YAxis&)> setUp;
    bool needsOffset;
  } needs[] = {
      {"outside", [](YAxis&) {}, true},
      {"inside", [](YAxis& a) { a.setLabelPosition(YAxis::LabelPosition::inside); }, false},
      {"disabled", [](YAxis& a) { a.setEnabled(false); }, false},
      {"labels off", [](YAxis& a) { a.setDrawLabelsEnabled(false); }, false},
  };
  for (const auto& row : needs) {
    YAxis axis;
    row.setUp(axis);
    EXPECT_EQ(axis.needsOffset(), row.needsOffset) << row.name;
  }
}

}  // namespace
