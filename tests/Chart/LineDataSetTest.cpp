#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "Chart/ChartExternalNames.h"
#include "Chart/Data/BarLineScatterCandleBubbleChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Gradient;
using platform::graphics::LineCap;
using Mode = LineChartDataSet::Mode;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
const Color kRed = Color::rgb(1, 0, 0);
const Color kGreen = Color::rgb(0, 1, 0);
const Color kBlue = Color::rgb(0, 0, 1);
const Color kCyan = Color::rgb(140.0 / 255, 234.0 / 255, 1);

std::shared_ptr<LineChartDataSet> lineOf(std::vector<double> ys, std::optional<std::string> label = "K") {
  std::vector<EntryPtr> entries;
  for (size_t i = 0; i < ys.size(); ++i) entries.push_back(std::make_shared<ChartDataEntry>(double(i), ys[i]));
  return std::make_shared<LineChartDataSet>(entries, std::move(label));
}

std::shared_ptr<const Fill> gradientFill() {
  return Fill::fillWithLinearGradient(std::make_shared<const Gradient>(Gradient{{{kRed, 0}, {kBlue, 1}}}), 270);
}

TEST(LineChartDataSet, Defaults) {
  for (const auto& set : {std::make_shared<LineChartDataSet>(), lineOf({3, 1, 2}, std::nullopt)}) {
    EXPECT_EQ(set->circleColors(), std::vector<Color>{kCyan});  // exactly one, appended after construction
    EXPECT_EQ(set->mode(), Mode::linear);
    EXPECT_EQ(set->cubicIntensity(), 0.2);
    EXPECT_EQ(set->circleRadius(), 8);
    EXPECT_EQ(set->circleHoleRadius(), 4);
    EXPECT_EQ(set->circleHoleColor(), Color::white());
    EXPECT_TRUE(set->isDrawCirclesEnabled() && set->isDrawCircleHoleEnabled());
    EXPECT_EQ(set->lineDashPhase(), 0);
    EXPECT_EQ(set->lineDashLengths(), std::nullopt);
    EXPECT_EQ(set->lineCapType(), LineCap::butt);
    EXPECT_EQ(set->lineWidth(), 1);
    EXPECT_EQ(set->fillColor(), kCyan);
    EXPECT_EQ(set->fillAlpha(), 0.33);
    EXPECT_EQ(set->fill(), nullptr);
    EXPECT_FALSE(set->isDrawFilledEnabled());
    EXPECT_NE(std::dynamic_pointer_cast<DefaultFillFormatter>(set->fillFormatter()), nullptr);
    EXPECT_TRUE(set->isHorizontalHighlightIndicatorEnabled() && set->isVerticalHighlightIndicatorEnabled());
    EXPECT_EQ(set->highlightColor(), Color::rgb(1, 187.0 / 255, 115.0 / 255));
    EXPECT_EQ(set->highlightLineWidth(), 0.5);
    EXPECT_EQ(set->highlightLineDashPhase(), 0);
    EXPECT_EQ(set->highlightLineDashLengths(), std::nullopt);
  }
  EXPECT_EQ(LineChartDataSet().label(), "DataSet");
  const auto set = lineOf({3, 1, 2}, std::nullopt);
  EXPECT_EQ(set->label(), std::nullopt);
  EXPECT_EQ(set->yMin(), 1);
  EXPECT_EQ(set->xMax(), 2);
  // Each set gets a formatter of its own.
  EXPECT_NE(set->fillFormatter(), LineChartDataSet().fillFormatter());

  for (int raw = 0; raw <= 3; ++raw) EXPECT_EQ(static_cast<int>(lineChartDataSetModeFromRaw(raw).value()), raw);
  EXPECT_EQ(lineChartDataSetModeFromRaw(4), std::nullopt);
  EXPECT_EQ(lineChartDataSetModeFromRaw(-1), std::nullopt);
}

TEST(LineChartDataSet, WidthAndIntensityClampOnAssignment) {
  struct Case {
    double given, lineWidth, cubicIntensity;
  };
  const Case cases[] = {
      {12, 10, 1}, {10, 10, 1},    {-1, 0, 0.05},    {0, 0, 0.05},     {2, 2, 1},
      {0.5, 0.5, 0.5}, {0.05, 0.05, 0.05}, {0.01, 0.01, 0.05}, {INFINITY, 10, 1}, {-INFINITY, 0, 0.05},
  };
  LineChartDataSet set;
  for (const Case& c : cases) {
    set.setLineWidth(c.given);
    set.setCubicIntensity(c.given);
    EXPECT_EQ(set.lineWidth(), c.lineWidth) << c.given;
    EXPECT_EQ(set.cubicIntensity(), c.cubicIntensity) << c.given;
  }
  set.setLineWidth(nan);
  set.setCubicIntensity(nan);
  EXPECT_TRUE(std::isnan(set.lineWidth()));
  EXPECT_TRUE(std::isnan(set.cubicIntensity()));
}

TEST(LineChartDataSet, FillColourDiscardsTheFillButNotTheOtherWayRound) {
  const auto fill = gradientFill();
  LineChartDataSet set;
  set.setFill(fill);
  set.setFillColor(kRed);
  EXPECT_EQ(set.fill(), nullptr);
  EXPECT_EQ(set.fillColor(), kRed);
  set.setFill(fill);
  EXPECT_EQ(set.fill(), fill);
  EXPECT_EQ(set.fillColor(), kRed);

  set.setFillFormatter(nullptr);
  const auto fresh = set.fillFormatter();
  EXPECT_NE(std::dynamic_pointer_cast<ChartDefaultFillFormatter>(fresh), nullptr);
  set.setFillFormatter(nullptr);
  EXPECT_NE(set.fillFormatter(), fresh);  // a new one each time, never none
}

TEST(LineChartDataSet, CircleColoursAndHighlightIndicators) {
  LineChartDataSet set;
  set.setCircleColors({kRed, kGreen});
  const std::pair<int64_t, std::optional<Color>> cases[] = {{0, kRed}, {1, kGreen}, {2, kRed}, {5, kGreen},
                                                            {-1, kRed}, {-6, kRed}};
  for (const auto& [index, colour] : cases) EXPECT_EQ(set.getCircleColor(index), colour) << index;
  set.setCircleColors({kRed, kGreen, kBlue});
  set.setCircleColor(kBlue);
  EXPECT_EQ(set.circleColors(), std::vector<Color>{kBlue});
  set.resetCircleColors(7);
  EXPECT_TRUE(set.circleColors().empty());
  EXPECT_EQ(set.getCircleColor(0), std::nullopt);
  EXPECT_EQ(set.getCircleColor(-3), std::nullopt);

  set.setDrawHighlightIndicators(false);
  EXPECT_FALSE(set.isHorizontalHighlightIndicatorEnabled() || set.isVerticalHighlightIndicatorEnabled());
  set.setDrawVerticalHighlightIndicatorEnabled(true);
  EXPECT_TRUE(set.isVerticalHighlightIndicatorEnabled());
  EXPECT_FALSE(set.isHorizontalHighlightIndicatorEnabled());
}

// Every class of the chain copies into a new object of its own class and
// carries its own settings; fills and formatters are shared, not copied.
TEST(LineChartDataSet, CopiesKeepTheClassAndShareFillAndFormatter) {
  const std::shared_ptr<ChartBaseDataSet> plain[] = {
      std::make_shared<BarLineScatterCandleBubbleChartDataSet>(),
      std::make_shared<LineScatterCandleRadarChartDataSet>(),
      std::make_shared<LineRadarChartDataSet>(),
      std::make_shared<LineChartDataSet>(),
  };
  for (const auto& set : plain) {
    auto* highlighted = dynamic_cast<IBarLineScatterCandleBubbleChartDataSet*>(set.get());
    highlighted->setHighlightColor(kGreen);
    highlighted->setHighlightLineDashLengths(std::vector<double>{3, 1});
    const auto copied = set->copy();
    EXPECT_EQ(typeid(*copied), typeid(*set)) << set->className();
    const auto* copiedHighlight = dynamic_cast<IBarLineScatterCandleBubbleChartDataSet*>(copied.get());
    EXPECT_EQ(copiedHighlight->highlightColor(), kGreen) << set->className();
    EXPECT_EQ(copiedHighlight->highlightLineDashLengths(), (std::vector<double>{3, 1})) << set->className();
  }

  const auto fill = gradientFill();
  const auto set = lineOf({1, 4, 2});
  set->setFillColor(kRed);
  set->setFill(fill);
  set->setFillAlpha(0.8);
  set->setLineWidth(2.5);
  set->setDrawFilledEnabled(true);
  set->setDrawHighlightIndicators(false);
  set->setHighlightLineWidth(2);
  set->setMode(Mode::cubicBezier);
  set->setCubicIntensity(0.6);
  set->setCircleColors({kGreen, kBlue});
  set->setCircleRadius(3);
  set->setCircleHoleRadius(1);
  set->setCircleHoleColor(std::nullopt);
  set->setDrawCirclesEnabled(false);
  set->setDrawCircleHoleEnabled(false);
  set->setLineDashPhase(2);
  set->setLineDashLengths(std::vector<double>{5, 5});
  set->setLineCapType(LineCap::round);

  const auto copied = std::dynamic_pointer_cast<LineChartDataSet>(set->copy());
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->entries(), set->entries());
  EXPECT_EQ(copied->fill(), fill);  // the same object, and the colour did not clear it
  EXPECT_EQ(copied->fillColor(), kRed);
  EXPECT_EQ(copied->fillAlpha(), 0.8);
  EXPECT_EQ(copied->lineWidth(), 2.5);
  EXPECT_TRUE(copied->isDrawFilledEnabled());
  EXPECT_FALSE(copied->isHorizontalHighlightIndicatorEnabled() || copied->isVerticalHighlightIndicatorEnabled());
  EXPECT_EQ(copied->highlightLineWidth(), 2);
  EXPECT_EQ(copied->mode(), Mode::cubicBezier);
  EXPECT_EQ(copied->cubicIntensity(), 0.6);
  EXPECT_EQ(copied->circleColors(), (std::vector<Color>{kGreen, kBlue}));
  EXPECT_EQ(copied->circleRadius(), 3);
  EXPECT_EQ(copied->circleHoleRadius(), 1);
  EXPECT_EQ(copied->circleHoleColor(), std::nullopt);
  EXPECT_FALSE(copied->isDrawCirclesEnabled() || copied->isDrawCircleHoleEnabled());
  EXPECT_EQ(copied->lineDashPhase(), 2);
  EXPECT_EQ(copied->lineDashLengths(), (std::vector<double>{5, 5}));
  EXPECT_EQ(copied->lineCapType(), LineCap::round);
  EXPECT_EQ(copied->fillFormatter(), set->fillFormatter());

  copied->setFillColor(kBlue);
  EXPECT_EQ(copied->fill(), nullptr);
  EXPECT_EQ(set->fill(), fill);
  EXPECT_EQ(set->fillColor(), kRed);
}

// Each class's operations go through its getters and setters, so a subclass
// that overrides one changes what is built on it.
TEST(LineChartDataSet, OverriddenAccessorsChangeWhatIsBuiltOnThem) {
  class WideHighlight : public BarLineScatterCandleBubbleChartDataSet {
   public:
    double highlightLineWidth() const override { return 9; }
    std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<WideHighlight>(); }
  };
  // The copy reads the width through the getter and stores what it answers.
  const auto wide = WideHighlight().copy();
  EXPECT_EQ(dynamic_cast<WideHighlight&>(*wide).BarLineScatterCandleBubbleChartDataSet::highlightLineWidth(), 9);

  class NoHorizontal : public LineScatterCandleRadarChartDataSet {
   public:
    bool drawHorizontalHighlightIndicatorEnabled() const override { return false; }
    void setDrawVerticalHighlightIndicatorEnabled(bool) override { ++verticalSets; }
    int verticalSets = 0;
  };
  NoHorizontal indicators;
  indicators.setDrawHighlightIndicators(true);
  EXPECT_FALSE(indicators.isHorizontalHighlightIndicatorEnabled());
  EXPECT_EQ(indicators.verticalSets, 1);

  class KeepsFill : public LineRadarChartDataSet {
   public:
    void setFill(std::shared_ptr<const Fill> fill) override {
      if (fill) LineRadarChartDataSet::setFill(std::move(fill));
    }
    bool drawFilledEnabled() const override { return true; }
  };
  KeepsFill area;
  area.setFill(gradientFill());
  area.setFillColor(kRed);  // clears the fill through setFill, which refuses
  EXPECT_NE(area.fill(), nullptr);
  EXPECT_TRUE(area.isDrawFilledEnabled());

  class GreyCircles : public LineChartDataSet {
   public:
    const std::vector<Color>& circleColors() const override { return grey; }
    void setCircleColors(std::vector<Color> colors) override { lastSet = std::move(colors); }
    bool drawCirclesEnabled() const override { return false; }
    bool drawCircleHoleEnabled() const override { return false; }
    std::vector<Color> grey{Color::gray()};
    std::vector<Color> lastSet{kRed};
  };
  GreyCircles line;
  EXPECT_EQ(line.getCircleColor(4), Color::gray());
  line.setCircleColor(kBlue);
  EXPECT_EQ(line.lastSet, std::vector<Color>{kBlue});
  line.resetCircleColors(0);
  EXPECT_TRUE(line.lastSet.empty());
  EXPECT_FALSE(line.isDrawCirclesEnabled() || line.isDrawCircleHoleEnabled());
}

TEST(LineChartData, GathersLineSetsWithTheirExtremes) {
  const auto left = lineOf({1, 5});
  const auto right = lineOf({-3, 2, 0});
  right->setAxisDependency(AxisDependency::right);
  const auto data = std::make_shared<LineChartData>(std::vector<DataSetPtr>{left, right});
  EXPECT_EQ(data->yMin(), -3);
  EXPECT_EQ(data->yMax(), 5);
  EXPECT_EQ(data->xMax(), 2);
  EXPECT_EQ(data->getYMax(AxisDependency::left), 5);
  EXPECT_EQ(data->getYMin(AxisDependency::right), -3);
  EXPECT_EQ(data->maxEntryCountSet(), right);
  std::shared_ptr<ChartData> asChartData = data;
  EXPECT_EQ(std::dynamic_pointer_cast<BarLineScatterCandleBubbleChartData>(asChartData), nullptr);
  EXPECT_EQ(BarLineScatterCandleBubbleChartData(DataSetPtr(left)).yMax(), 5);
}

}  // namespace
