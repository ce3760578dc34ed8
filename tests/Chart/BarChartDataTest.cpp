#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/LineChartDataSet.h"
#include "support/ChartDataExpectations.h"

using namespace chart;
using platform::graphics::Color;
using testsupport::LogCapture;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double big = std::numeric_limits<double>::max();

using Values = std::vector<double>;
using Bounds = std::vector<std::pair<double, double>>;

std::shared_ptr<BarChartDataEntry> stack(double x, Values values) {
  return std::make_shared<BarChartDataEntry>(x, std::move(values));
}
std::shared_ptr<BarChartDataEntry> bar(double x, double y) { return std::make_shared<BarChartDataEntry>(x, y); }

std::optional<Bounds> bounds(const BarChartDataEntry& e) {
  if (!e.ranges()) return std::nullopt;
  Bounds out;
  for (const auto& r : *e.ranges()) out.emplace_back(r->from(), r->to());
  return out;
}

std::shared_ptr<BarChartDataSet> barsAt(double x0, int count) {
  std::vector<EntryPtr> entries;
  for (int i = 0; i < count; ++i) entries.push_back(bar(x0 + i, i + 1));
  return std::make_shared<BarChartDataSet>(entries);
}

std::vector<double> xs(const IChartDataSet& set) {
  std::vector<double> out;
  for (int64_t i = 0; i < set.entryCount(); ++i) out.push_back(set.entryForIndex(i)->x());
  return out;
}

// Positive values stack upwards from 0 in order; negative ones are laid from
// the lowest point upwards so that the last negative value ends at 0.
TEST(BarChartDataEntry, StackSumsAndRanges) {
  struct Case {
    Values values;
    double y, positive, negative;
    Bounds ranges;
  };
  const Case cases[] = {
      {{2, -3, 4, -1}, 2, 6, 4, {{0, 2}, {-4, -1}, {2, 6}, {-1, 0}}},
      {{5}, 5, 5, 0, {{0, 5}}},
      {{-2, -3}, -5, 0, 5, {{-5, -3}, {-3, 0}}},
      {{0, 1.5}, 1.5, 1.5, 0, {{0, 0}, {0, 1.5}}},
  };
  for (const Case& c : cases) {
    const auto e = stack(1, c.values);
    EXPECT_TRUE(e->isStacked());
    EXPECT_EQ(e->x(), 1);
    EXPECT_EQ(e->y(), c.y);
    EXPECT_EQ(e->positiveSum(), c.positive);
    EXPECT_EQ(e->negativeSum(), c.negative);
    EXPECT_EQ(bounds(*e), c.ranges) << c.values.size() << " values from " << c.values[0];
  }

  const auto plain = bar(1, 7);
  EXPECT_FALSE(plain->isStacked());
  EXPECT_EQ(plain->ranges(), std::nullopt);
  EXPECT_EQ(plain->positiveSum() + plain->negativeSum(), 0);

  // Absent values: not stacked, y and sums 0, and the earlier ranges remain.
  const auto e = stack(0, {2, -3, 4, -1});
  e->setYValues(std::nullopt);
  EXPECT_FALSE(e->isStacked());
  EXPECT_EQ(e->y(), 0);
  EXPECT_EQ(e->positiveSum() + e->negativeSum(), 0);
  EXPECT_EQ(bounds(*e)->size(), 4u);
  // An empty list is still a stack, and leaves the ranges alone too.
  e->setYValues(Values{});
  EXPECT_TRUE(e->isStacked());
  EXPECT_EQ(bounds(*e)->size(), 4u);
  e->setYValues(Values{3, -1});
  EXPECT_EQ(e->y(), 2);
  EXPECT_EQ(bounds(*e), (Bounds{{0, 3}, {-1, 0}}));
}

TEST(BarChartDataEntry, SumBelowAddsTheValuesAboveTheIndex) {
  const auto e = stack(0, {1, 2, 3});
  const std::pair<int64_t, double> cases[] = {{0, 5}, {1, 3}, {2, 0}, {5, 0}, {-1, 6}, {-9, 6}};
  for (const auto& [index, expected] : cases) EXPECT_EQ(e->sumBelow(index), expected) << index;
  EXPECT_EQ(bar(0, 4)->sumBelow(-1), 0);
  EXPECT_EQ(stack(0, {})->sumBelow(-1), 0);
}

// The stack scan and this class's extremes are in force straight after
// construction, though a base constructor cannot reach them.
TEST(BarChartDataSet, StackScanAndExtremesStraightAfterConstruction) {
  struct Case {
    const char* name;
    std::vector<EntryPtr> entries;
    int64_t stackSize, countStacks;
    double xMin, xMax, yMin, yMax;
  };
  const Case cases[] = {
      {"3 and 5 values, a plain bar", {stack(0, {1, 1, 1}), stack(1, {1, 1, 1, 1, -1}), bar(2, 2)}, 5, 9, 0, 2, -1, 4},
      {"stack reaches below its y", {stack(0, {2, -3, 4, -1}), bar(1, 7)}, 4, 5, 0, 1, -4, 7},
      {"plain bars only", {bar(0, 3), bar(1, -2)}, 1, 2, 0, 1, -2, 3},
      {"a NaN y counts for nothing, x included", {bar(5, nan), bar(1, 3)}, 1, 2, 1, 1, 3, 3},
      {"another kind: a plain bar", {std::make_shared<ChartDataEntry>(0, 9), stack(1, {1, 2})}, 2, 3, 0, 1, 0, 9},
      {"no entries", {}, 1, 0, big, -big, big, -big},
  };
  for (const Case& c : cases) {
    const auto set = std::make_shared<BarChartDataSet>(c.entries, "bars");
    EXPECT_EQ(set->stackSize(), c.stackSize) << c.name;
    EXPECT_EQ(set->isStacked(), c.stackSize > 1) << c.name;
    EXPECT_EQ(set->entryCountStacks(), c.countStacks) << c.name;
    EXPECT_EQ(set->xMin(), c.xMin) << c.name;
    EXPECT_EQ(set->xMax(), c.xMax) << c.name;
    EXPECT_EQ(set->yMin(), c.yMin) << c.name;
    EXPECT_EQ(set->yMax(), c.yMax) << c.name;
    EXPECT_EQ(BarChartData(DataSetPtr(set)).yMin(), c.yMin) << c.name;
  }

  const auto set = std::make_shared<BarChartDataSet>(std::vector<EntryPtr>{stack(0, {2, -3, 4, -1}), bar(1, 7)});
  // The counts are taken once; a later entry changes neither.
  set->addEntry(stack(2, {1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(set->stackSize(), 4);
  EXPECT_EQ(set->entryCountStacks(), 5);
  EXPECT_EQ(set->yMax(), 7);
  // Over an x range a stack counts by its sums too.
  set->calcMinMaxY(0, 0);
  EXPECT_EQ(set->yMin(), -4);
  EXPECT_EQ(set->yMax(), 6);
  // A stack added through the chart data widens it as far as the set.
  BarChartData data(DataSetPtr(std::make_shared<BarChartDataSet>(std::vector<EntryPtr>{bar(0, 1), bar(1, 2)})));
  data.addEntry(stack(2, {2, -3, 4, -1}), 0);
  EXPECT_EQ((std::vector<double>{data.yMin(), data.yMax(), data.getYMin(AxisDependency::left)}),
            (std::vector<double>{-4, 6, -4}));

  const BarChartDataSet fresh;
  EXPECT_EQ(fresh.highlightColor(), Color::black());
  EXPECT_EQ(fresh.barShadowColor(), Color::rgb(215.0 / 255, 215.0 / 255, 215.0 / 255));
  EXPECT_EQ(fresh.barBorderWidth(), 0);
  EXPECT_EQ(fresh.barBorderColor(), Color::black());
  EXPECT_EQ(fresh.highlightAlpha(), 120.0 / 255);
  EXPECT_TRUE(fresh.stackLabels().empty());
}

TEST(BarChartData, GroupBarsSideBySide) {
  struct Case {
    const char* name;
    int sets, entries;
    double barWidth, fromX, groupSpace, barSpace;
    double groupWidth;
    std::vector<std::vector<double>> xs;
  };
  const Case cases[] = {
      {"two sets", 2, 2, 0.4, 0, 0.2, 0, 1.0, {{0.3, 1.3}, {0.7, 1.7}}},
      {"three, bar space", 3, 2, 0.4, 10, 0.1, 0.05, 1.45, {{10.275, 11.725}, {10.725, 12.175}, {11.175, 12.625}}},
  };
  for (const Case& c : cases) {
    std::vector<DataSetPtr> sets;
    for (int i = 0; i < c.sets; ++i) sets.push_back(barsAt(0, c.entries));
    BarChartData data(sets);
    EXPECT_EQ(data.barWidth(), 0.85);
    data.setBarWidth(c.barWidth);
    EXPECT_NEAR(data.groupWidth(c.groupSpace, c.barSpace), c.groupWidth, 1e-12) << c.name;
    data.groupBars(c.fromX, c.groupSpace, c.barSpace);
    for (int i = 0; i < c.sets; ++i) {
      const auto moved = xs(*sets[size_t(i)]);
      for (size_t k = 0; k < moved.size(); ++k) EXPECT_NEAR(moved[k], c.xs[size_t(i)][k], 1e-12) << c.name;
    }
    // The moved sets and the data recompute, so the x range follows the bars.
    EXPECT_EQ(data.xMin(), sets.front()->xMin()) << c.name;
    EXPECT_NEAR(data.xMin(), c.xs.front().front(), 1e-12) << c.name;
    EXPECT_NEAR(data.xMax(), c.xs.back().back(), 1e-12) << c.name;
  }

  // Shorter sets keep their places; only existing entries move.
  const auto longer = barsAt(0, 3);
  const auto shorter = barsAt(0, 1);
  BarChartData uneven({longer, shorter});
  uneven.setBarWidth(0.4);
  uneven.groupBars(0, 0.2, 0);
  EXPECT_NEAR(longer->entryForIndex(2)->x(), 2.3, 1e-12);
  EXPECT_EQ(xs(*shorter).size(), 1u);

  LogCapture log;
  const auto alone = barsAt(4, 2);
  BarChartData single{DataSetPtr(alone)};
  single.groupBars(0, 0.2, 0);
  EXPECT_EQ(xs(*alone), (std::vector<double>{4, 5}));
  // A set of another kind among them: nothing moves, nothing is said.
  const auto bars = barsAt(4, 2);
  BarChartData mixed({bars, std::make_shared<LineChartDataSet>()});
  mixed.groupBars(0, 0.2, 0);
  EXPECT_EQ(xs(*bars), (std::vector<double>{4, 5}));
  EXPECT_EQ(log.lines, std::vector<std::string>{"BarData needs to hold at least 2 BarDataSets to allow grouping."});
}

}  // namespace
