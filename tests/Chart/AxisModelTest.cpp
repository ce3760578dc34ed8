#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Components/XAxis.h"
#include "Chart/Components/YAxis.h"
#include "Chart/Utils/DefaultAxisValueFormatter.h"

using namespace chart;

namespace {

// The label count's clamp and bounds (crossed bounds included: above the
// upper bound the upper bound, anything else at least the lower one),
// granularity, custom ends, and the base range rule with its spaces.
TEST(AxisBase, LabelCountGranularityAndRangeRules) {
  const struct {
    std::function<void(AxisBase&)> setUp;
    int64_t labelCount;
    bool forced;
  } counts[] = {
      {[](AxisBase& a) { a.setLabelCount(0, true); a.setLabelCount(0); }, 2, false},
      {[](AxisBase& a) { a.setLabelCount(40); }, 25, false},
      {[](AxisBase& a) { a.setLabelCount(11, true); }, 11, true},
      {[](AxisBase& a) { a.setAxisMinLabels(0); a.setAxisMinLabels(-3); a.setAxisMaxLabels(0); a.setLabelCount(1); },
       2, false},
      {[](AxisBase& a) { a.setLabelCount(20); a.setAxisMaxLabels(10); }, 20, false},
      {[](AxisBase& a) { a.setAxisMinLabels(30); a.setLabelCount(10); }, 30, false},
      {[](AxisBase& a) { a.setAxisMinLabels(30); a.setLabelCount(40); }, 25, false},
  };
  for (size_t i = 0; i < std::size(counts); ++i) {
    XAxis axis;
    counts[i].setUp(axis);
    EXPECT_EQ(axis.labelCount(), counts[i].labelCount) << "row " << i;
    EXPECT_EQ(axis.isForceLabelsEnabled(), counts[i].forced) << "row " << i;
  }

  XAxis axis;
  axis.setGranularity(25.5);
  EXPECT_TRUE(axis.isGranularityEnabled());
  axis.setAxisMinimum(0);
  EXPECT_TRUE(axis.isAxisMinCustom());
  EXPECT_EQ(axis.axisRange(), 0);
  axis.setAxisMaximum(100);
  EXPECT_EQ(axis.axisRange(), 100);
  axis.setAxisMinimum(40);
  EXPECT_EQ(axis.axisRange(), 60) << "measured from the maximum already set";
  axis.setAxisMinimum(0);
  axis.calculate(20, 30);
  EXPECT_EQ(axis.axisMinimum(), 0);
  axis.resetCustomAxisMin();
  EXPECT_EQ(axis.axisMinimum(), 0) << "kept until the next calculate";
  axis.calculate(20, 30);
  EXPECT_EQ(axis.axisMinimum(), 20);
  EXPECT_EQ(axis.axisRange(), 80);

  const struct {
    double dataMin, dataMax, spaceMin, spaceMax, min, max;
  } ranges[] = {{5, 5, 0, 0, 4, 6}, {0, 10, 1, 2, -1, 12}, {2, 2, 0.5, -0.5, 0.5, 2.5}};
  for (const auto& r : ranges) {
    XAxis x;
    x.setSpaceMin(r.spaceMin);
    x.setSpaceMax(r.spaceMax);
    x.calculate(r.dataMin, r.dataMax);
    EXPECT_EQ(x.axisMinimum(), r.min) << r.dataMin << ".." << r.dataMax;
    EXPECT_EQ(x.axisMaximum(), r.max) << r.dataMin << ".." << r.dataMax;
    EXPECT_EQ(x.axisRange(), r.max - r.min) << r.dataMin << ".." << r.dataMax;
  }
}

// The default formatter follows the axis's decimals at every read; one of the
// caller's own is never touched; labels outside the entries are "".
TEST(AxisBase, LabelsFormatterAndLongestLabel) {
  YAxis axis;
  axis.setCenterAxisLabelsEnabled(true);
  EXPECT_FALSE(axis.isCenterAxisLabelsEnabled()) << "no entries computed yet";
  const auto formatter = axis.valueFormatter();
  axis.setEntries({0.25, 10, 20, 1000});
  EXPECT_TRUE(axis.isCenterAxisLabelsEnabled());
  EXPECT_EQ(axis.getFormattedLabel(0), "0");
  axis.setDecimals(2);
  EXPECT_EQ(axis.valueFormatter(), formatter);
  EXPECT_EQ(axis.getFormattedLabel(0), "0.25");
  EXPECT_EQ(axis.getFormattedLabel(-1), "");
  EXPECT_EQ(axis.getFormattedLabel(axis.entryCount()), "");
  EXPECT_EQ(axis.getLongestLabel(), "1,000.00");

  // A formatter with a number formatter of its own has no automatic decimals.
  const auto own = std::make_shared<DefaultAxisValueFormatter>(std::make_shared<platform::text::NumberFormatter>());
  axis.setValueFormatter(own);
  axis.setDecimals(4);
  EXPECT_EQ(axis.valueFormatter(), own);
  EXPECT_FALSE(own->decimals().has_value());
  axis.setValueFormatter(nullptr);
  EXPECT_EQ(axis.getFormattedLabel(0), "0.2500") << "a new default with the current decimals";

  // Longest as a reader counts: the first of equally long labels, a
  // combining accent not counted.
  const std::vector<std::string> texts = {"7", "e\xCC\x81\xCC\x81", "ab", "cd"};
  axis.setValueFormatter(DefaultAxisValueFormatter::with(
      [&](double value, const AxisBase*) { return texts[static_cast<size_t>(value)]; }));
  axis.setEntries({0, 1, 2, 3});
  EXPECT_EQ(axis.getLongestLabel(), "ab");
}

TEST(ChartLimitLine, WidthClampAndRemovalByIdentity) {
  for (const auto& [set, stored] : {std::pair{0.0, 0.2}, {0.1, 0.2}, {20.0, 12.0}, {3.5, 3.5}}) {
    ChartLimitLine line;
    line.setLineWidth(set);
    EXPECT_EQ(line.lineWidth(), stored) << set;
  }
  const auto a = std::make_shared<ChartLimitLine>(50, "Target");
  const auto b = std::make_shared<ChartLimitLine>(50, "Target");
  YAxis axis;
  for (const auto& line : {a, b, a}) axis.addLimitLine(line);
  axis.removeLimitLine(std::make_shared<ChartLimitLine>(50, "Target"));
  EXPECT_EQ(axis.limitLines().size(), 3u) << "an equal line that was never added";
  axis.removeLimitLine(a);
  EXPECT_EQ(axis.limitLines(), (std::vector<std::shared_ptr<ChartLimitLine>>{b, a}));
}

TEST(YAxis, CalculateWithSpaceAndOneEndCustomRepairs) {
  const struct {
    std::optional<double> customMin, customMax;
    double dataMin, dataMax, min, max, range;
    double spaceBottom = 0.1, spaceTop = 0.1;
  } table[] = {
      {{}, {}, 0, 50, -5, 55, 60},          {{}, {}, 10, 10, 9, 11, 2},
      {0, 100, 20, 30, 0, 100, 100},        {{}, 10, 20, 30, 4.5, 10, 5.5},
      {{}, -10, 20, 30, -15.5, -10, 5.5},   {-10, {}, -30, -20, -10, -4.5, 5.5},
      {10, {}, 0, 5, 10, 15.5, 5.5},        {10, 0, 20, 30, 10, 0, 10},
      {{}, {}, 30, 20, 29, 21, 8},         {{}, {}, 0, 50, -10, 55, 65, 0.2, 0.1},
  };
  for (size_t i = 0; i < std::size(table); ++i) {
    const auto& row = table[i];
    YAxis axis;
    axis.setSpaceMin(100);  // plays no part on a y axis
    axis.setSpaceBottom(row.spaceBottom);
    axis.setSpaceTop(row.spaceTop);
    if (row.customMin) axis.setAxisMinimum(*row.customMin);
    if (row.customMax) axis.setAxisMaximum(*row.customMax);
    axis.calculate(row.dataMin, row.dataMax);
    EXPECT_DOUBLE_EQ(axis.axisMinimum(), row.min) << "row " << i;
    EXPECT_DOUBLE_EQ(axis.axisMaximum(), row.max) << "row " << i;
    EXPECT_DOUBLE_EQ(axis.axisRange(), row.range) << "row " << i;
  }
}

// Measured with the fixed metrics: "100" in 10 points is 18 × 12.
TEST(YAxis, RequiredSizeAndNeedsOffset) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  for (const auto& [minWidth, maxWidth, yOffset, size] :
       {std::tuple{0.0, kInf, 0.0, platform::graphics::Size{28, 12}}, {50.0, kInf, 0.0, {50, 12}},
        {0.0, 20.0, 0.0, {20, 12}}, {0.0, 0.0, 0.0, {28, 12}}, {30.0, 20.0, 0.0, {30, 12}}, {0.0, 0.0, 3.0, {28, 18}}}) {
    YAxis axis;
    axis.setEntries({0, 50, 100});
    axis.setMinWidth(minWidth);
    axis.setMaxWidth(maxWidth);
    axis.setYOffset(yOffset);
    EXPECT_EQ(axis.requiredSize(), size) << minWidth << ", " << maxWidth << ", " << yOffset;
  }
  const std::function<void(YAxis&)> setUps[] = {
      [](YAxis& a) { a.setLabelPosition(YAxis::LabelPosition::inside); },
      [](YAxis& a) { a.setEnabled(false); },
      [](YAxis& a) { a.setDrawLabelsEnabled(false); },
  };
  EXPECT_TRUE(YAxis(AxisDependency::right).needsOffset());
  for (const auto& setUp : setUps) {
    YAxis axis;
    setUp(axis);
    EXPECT_FALSE(axis.needsOffset());
  }
}

}  // namespace
