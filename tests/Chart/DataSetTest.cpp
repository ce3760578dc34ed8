#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

#include "Chart/Data/ChartDataSet.h"
#include "Chart/Utils/ChartUtils.h"
#include "Chart/Utils/DefaultValueFormatter.h"
#include "Chart/Utils/Diagnostics.h"

using namespace chart;
using platform::graphics::Color;
using R = ChartDataSetRounding;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double big = std::numeric_limits<double>::max();

EntryPtr entry(double x, double y) { return std::make_shared<ChartDataEntry>(x, y); }

std::shared_ptr<ChartDataSet> setOf(std::initializer_list<std::pair<double, double>> points) {
  std::vector<EntryPtr> list;
  for (const auto& [x, y] : points) list.push_back(entry(x, y));
  return std::make_shared<ChartDataSet>(list, "set");
}

std::vector<double> xs(const ChartDataSet& set) {
  std::vector<double> out;
  for (const auto& e : set) out.push_back(e->x());
  return out;
}

void expectExtremes(const ChartDataSet& set, double xMin, double xMax, double yMin, double yMax) {
  EXPECT_EQ(set.xMin(), xMin);
  EXPECT_EQ(set.xMax(), xMax);
  EXPECT_EQ(set.yMin(), yMin);
  EXPECT_EQ(set.yMax(), yMax);
}

TEST(ChartBaseDataSet, DefaultsAndDescriptions) {
  ChartDataSet set;
  EXPECT_EQ(set.label(), "DataSet");
  EXPECT_EQ(set.axisDependency(), AxisDependency::left);
  EXPECT_EQ(set.colors(), std::vector<Color>{Color::rgb(140.0 / 255, 234.0 / 255, 1)});
  EXPECT_EQ(set.valueColors(), std::vector<Color>{Color::labelColor()});
  EXPECT_EQ(set.valueFont(), (platform::graphics::Font{"DejaVu Sans", 7}));
  EXPECT_EQ(set.form(), LegendForm::default_);
  EXPECT_TRUE(std::isnan(set.formSize()) && std::isnan(set.formLineWidth()) && set.formLineDashPhase() == 0);
  EXPECT_EQ(set.formLineDashLengths(), std::nullopt);
  EXPECT_TRUE(set.isHighlightEnabled() && set.isDrawValuesEnabled() && set.isDrawIconsEnabled() && set.isVisible());
  EXPECT_EQ(ChartDataSet(std::nullopt).description(), "ChartDataSet, label: , 0 entries");
  EXPECT_EQ(setOf({{0, 100}, {1, 0.5}})->debugDescription(),
            "ChartDataSet, label: set, 2 entries:\nChartDataEntry, x: 0.0, y 100.0\nChartDataEntry, x: 1.0, y 0.5");
}

TEST(ChartBaseDataSet, ColoursAreUsedInTurn) {
  const Color a = Color::rgb(1, 0, 0), b = Color::rgb(0, 1, 0), c = Color::rgb(0, 0, 1);
  ChartDataSet set;
  EXPECT_EQ(set.color(-7), ChartBaseDataSet::defaultColor);
  set.setColors({a, b, c});
  const std::pair<int64_t, Color> cases[] = {{0, a}, {2, c}, {3, a}, {4, b}, {-1, a}, {-2, a}};
  for (const auto& [index, colour] : cases) EXPECT_EQ(set.color(index), colour) << index;
  set.setValueColors({a, b});
  EXPECT_EQ(set.valueTextColorAt(3), b);
  EXPECT_EQ(set.valueTextColor(), a);
  set.setValueTextColor(c);
  EXPECT_EQ(set.valueColors(), std::vector<Color>{c});

  set.setColor(b, 0.5);
  EXPECT_EQ(set.colors(), std::vector<Color>{b.withAlpha(0.5)});
  set.addColor(a);
  EXPECT_EQ(set.color(1), a);
  set.setColors({}, 0.5);
  EXPECT_TRUE(set.colors().empty());
  // Emptied lists answer the constructor defaults instead of indexing nothing.
  EXPECT_EQ(set.color(3), ChartBaseDataSet::defaultColor);
  set.setValueColors({});
  EXPECT_EQ(set.valueTextColor(), Color::labelColor());
  EXPECT_EQ(set.valueTextColorAt(-4), Color::labelColor());
}

TEST(ChartBaseDataSet, OwnFormatterOnceSetStays) {
  ChartDataSet set;
  EXPECT_TRUE(set.needsFormatter());
  EXPECT_EQ(set.valueFormatter(), ChartUtils::defaultValueFormatter());
  const auto own = std::make_shared<DefaultValueFormatter>(3);
  set.setValueFormatter(own);
  set.setValueFormatter(nullptr);  // ignored
  EXPECT_FALSE(set.needsFormatter());
  EXPECT_EQ(set.valueFormatter(), own);
}

TEST(ChartDataSet, CopyIsOfTheOwnClassWithSharedEntriesAndFormatter) {
  EXPECT_TRUE(std::make_shared<ChartDataSet>()->copy()->needsFormatter());
  auto set = setOf({{0, 1}, {5, 2}});
  set->setEntry(0, entry(0, 50));  // widens yMax to 50; the copy keeps the stale extremes too
  set->setAxisDependency(AxisDependency::right);
  set->setDrawIconsEnabled(false);
  set->setFormLineDashLengths(std::vector<double>{2, 1});
  const auto own = std::make_shared<DefaultValueFormatter>(2);
  set->setValueFormatter(own);

  const auto copied = std::dynamic_pointer_cast<ChartDataSet>(set->copy());
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(typeid(*copied), typeid(ChartDataSet));
  EXPECT_EQ(copied->label(), "set");
  EXPECT_EQ(copied->axisDependency(), AxisDependency::right);
  EXPECT_FALSE(copied->drawIconsEnabled());
  EXPECT_EQ(copied->formLineDashLengths(), set->formLineDashLengths());
  EXPECT_EQ(copied->valueFormatter(), own);
  EXPECT_EQ(copied->entries(), set->entries());  // the same entry objects in a list of its own
  expectExtremes(*copied, 0, 5, 1, 50);
  copied->removeFirst();
  EXPECT_EQ(set->entryCount(), 2);
}

TEST(ChartDataSet, EntryIndexForEveryRounding) {
  const auto set = setOf({{0, 5}, {10, 6}, {20, 7}});
  struct Case {
    double x;
    R rounding;
    int64_t index;
  };
  const Case cases[] = {
      {12, R::closest, 1}, {12, R::up, 2},   {12, R::down, 1}, {15, R::closest, 2},  // tie: 10 is below 15
      {5, R::closest, 1},  {25, R::up, 2},   {-5, R::down, 0}, {20, R::down, 2},
      {10, R::up, 1},      {10, R::down, 1}, {-5, R::up, 0},   {25, R::closest, 2},
      {nan, R::closest, -1}, {INFINITY, R::up, 2}, {-INFINITY, R::down, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(set->entryIndex(c.x, nan, c.rounding), c.index) << c.x << " rounding " << int(c.rounding);
  }
  EXPECT_EQ(set->entryForXValue(12, nan), set->entryForIndex(1));
  EXPECT_EQ(set->entryForXValue(nan, nan), nullptr);
  EXPECT_EQ(ChartDataSet().entryIndex(3, nan, R::closest), -1);
  EXPECT_EQ(ChartDataSet().entryForXValue(3, 1, R::up), nullptr);
  const auto one = setOf({{4, 4}});
  for (double x : {-100.0, 4.0, 100.0}) {
    for (R r : {R::up, R::down, R::closest}) EXPECT_EQ(one->entryIndex(x, 1, r), 0);
  }
}

TEST(ChartDataSet, YTieBreakAmongEntriesWithTheSameX) {
  const auto set = setOf({{0, 0}, {10, 9}, {10, 4}, {10, 6}, {20, 0}});
  const std::tuple<double, double, R, int64_t> cases[] = {
      {10, 5, R::closest, 3},  // distances 4, 1, 1: the later entry wins the tie
      {10, 8, R::closest, 1},
      {10, nan, R::closest, 1},  // no y: the search settles on the first of the group
      {10, 4.2, R::closest, 2},
      {11, 9, R::up, 1},    // the group found (10) is searched, not the entry rounding moved to
      {12, 0, R::closest, 2},
      {19, 0, R::down, 4},  // found 20 first: its own group
  };
  for (const auto& [x, y, rounding, index] : cases) EXPECT_EQ(set->entryIndex(x, y, rounding), index) << x << "," << y;

  const auto atTen = set->entriesForXValue(10);
  ASSERT_EQ(atTen.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(atTen[i], set->entryForIndex(static_cast<int64_t>(i) + 1));
  EXPECT_EQ(set->entriesForXValue(0).size(), 1u);
  EXPECT_TRUE(set->entriesForXValue(11).empty());
  EXPECT_TRUE(set->entriesForXValue(nan).empty());
  EXPECT_TRUE(ChartDataSet().entriesForXValue(0).empty());
}

TEST(ChartDataSet, ExtremesWidenOnAddAndRecomputeOnRemoveAndNotify) {
  ChartDataSet empty;
  expectExtremes(empty, big, -big, big, -big);

  const auto set = setOf({{0, 5}, {10, 6}, {20, 7}});
  expectExtremes(*set, 0, 20, 5, 7);
  set->calcMinMaxY(12, 14);  // entries 1 and 2; x extremes untouched
  expectExtremes(*set, 0, 20, 6, 7);
  set->calcMinMaxY(-3, 1);
  expectExtremes(*set, 0, 20, 5, 6);
  set->calcMinMaxY(nan, 14);
  expectExtremes(*set, 0, 20, big, -big);
  set->notifyDataSetChanged();

  // Adds only widen; addEntry does not keep the order.
  EXPECT_TRUE(set->addEntry(entry(5, 100)));
  EXPECT_EQ(xs(*set), (std::vector<double>{0, 10, 20, 5}));
  expectExtremes(*set, 0, 20, 5, 100);
  set->setEntry(3, entry(5, 1));  // the overwritten 100 stays counted
  expectExtremes(*set, 0, 20, 1, 100);
  set->notifyDataSetChanged();
  expectExtremes(*set, 0, 20, 1, 7);
  EXPECT_TRUE(set->addEntry(entry(nan, nan)));  // NaN never enters an extreme
  expectExtremes(*set, 0, 20, 1, 7);

  // Removals recompute.
  EXPECT_FALSE(set->removeEntry(entry(nan, nan)));  // NaN equals only itself
  EXPECT_TRUE(set->removeEntry(set->entryForIndex(4)));
  EXPECT_TRUE(set->removeEntry(entry(5, 1)));  // an equal new object removes the stored one
  expectExtremes(*set, 0, 20, 5, 7);
  EXPECT_TRUE(set->removeEntryWithX(18));  // the closest x, not only an exact one
  EXPECT_EQ(xs(*set), (std::vector<double>{0, 10}));
  expectExtremes(*set, 0, 10, 5, 6);
  set->setEntry(0, entry(0, 100));
  set->removeFirstEntries(0);  // removes nothing, recomputes all the same
  expectExtremes(*set, 0, 10, 6, 100);
  set->clear();
  expectExtremes(*set, big, -big, big, -big);
  EXPECT_FALSE(set->removeFirst() || set->removeLast() || set->removeEntryWithX(0) || set->removeEntryWithIndex(0));
}

TEST(ChartDataSet, RemovalByIndexGoesThroughEquality) {
  const auto set = setOf({{0, 0}, {1, 1}, {1, 1}, {2, 2}});
  const auto second = set->entryForIndex(1);
  const auto third = set->entryForIndex(2);
  EXPECT_TRUE(set->removeEntryWithIndex(2));  // removes entry 1, the first equal one
  EXPECT_EQ(set->entryForIndex(1), third);
  EXPECT_EQ(set->entryIndex(second), 1);  // found by value
  EXPECT_TRUE(set->contains(second));
  EXPECT_FALSE(set->contains(entry(1, 2)));
  EXPECT_FALSE(set->removeEntryWithIndex(-1) || set->removeEntryWithIndex(3));
  EXPECT_EQ(set->entryCount(), 3);
}

TEST(ChartDataSet, AddEntryOrderedKeepsTheListSorted) {
  const std::tuple<std::vector<std::pair<double, double>>, std::pair<double, double>, std::vector<double>> cases[] = {
      {{{0, 0}, {10, 0}, {20, 0}}, {15, 0}, {0, 10, 15, 20}},
      {{{0, 0}, {10, 0}, {20, 0}}, {25, 0}, {0, 10, 20, 25}},
      {{{0, 0}, {10, 0}, {20, 0}}, {-5, 0}, {-5, 0, 10, 20}},
      {{}, {3, 0}, {3}},
      // The y tie-break picks the last 20; without the step back the 15
      // would land between two 20s.
      {{{0, 0}, {10, 0}, {20, 1}, {20, 2}, {20, 3}}, {15, 3}, {0, 10, 15, 20, 20, 20}},
      {{{0, 0}, {10, 9}, {10, 4}, {20, 0}}, {10, 8}, {0, 10, 10, 10, 20}},
  };
  for (const auto& [start, added, expected] : cases) {
    ChartDataSet set;
    for (const auto& [x, y] : start) set.append(entry(x, y));
    EXPECT_TRUE(set.addEntryOrdered(entry(added.first, added.second)));
    EXPECT_EQ(xs(set), expected) << added.first;
  }
  const auto set = setOf({{0, 0}, {10, 9}, {10, 4}, {20, 0}});
  const auto e = entry(10, 8);
  set->addEntryOrdered(e);
  EXPECT_EQ(set->entryForIndex(1), e);  // beside the y nearest 8
  EXPECT_EQ(set->yMax(), 9);
}

TEST(ChartDataSet, CollectionFormsCheckTheirIndexes) {
  const auto set = setOf({{0, 1}, {1, 2}, {2, 3}});
  const auto before = set->entries();
  EXPECT_THROW((*set)[3], std::out_of_range);
  EXPECT_THROW((*set)[-1], std::out_of_range);
  EXPECT_THROW(set->setEntry(3, entry(0, 0)), std::out_of_range);
  EXPECT_THROW(set->removeAt(-1), std::out_of_range);
  EXPECT_THROW(set->swapAt(0, 3), std::out_of_range);
  EXPECT_THROW(set->removeSubrange(2, 1), std::out_of_range);
  EXPECT_THROW(set->removeFirstEntries(4), std::out_of_range);
  EXPECT_THROW(set->removeLastEntries(-1), std::out_of_range);
  EXPECT_THROW(set->setEntriesInRange(0, 2, {entry(0, 0)}), std::invalid_argument);
  EXPECT_THROW(set->appendEntries({entry(9, 9), nullptr}), std::invalid_argument);
  EXPECT_THROW(set->replaceEntries({nullptr}), std::invalid_argument);
  EXPECT_FALSE(set->addEntry(nullptr) || set->addEntryOrdered(nullptr) || set->removeEntry(nullptr));
  EXPECT_EQ(set->entries(), before);
  EXPECT_EQ(set->yMax(), 3);

  EXPECT_EQ(set->removeAt(1), before[1]);
  EXPECT_EQ(set->popLast(), before[2]);
  EXPECT_EQ(set->popFirst(), before[0]);
  EXPECT_EQ(set->popFirst(), nullptr);
  EXPECT_EQ(set->popLast(), nullptr);

  const auto mixed = setOf({{0, 1}, {1, -1}, {2, 2}, {3, -2}, {4, 3}});
  EXPECT_EQ(mixed->partition([](const ChartDataEntry& e) { return e.y() < 0; }), 3);
  EXPECT_EQ(xs(*mixed), (std::vector<double>{0, 2, 4, 3, 1}));
  // Handed its own list: the appends reallocate the list being read.
  mixed->appendEntries(mixed->entries());
  mixed->setEntriesInRange(0, 10, mixed->entries());
  EXPECT_EQ(xs(*mixed), (std::vector<double>{0, 2, 4, 3, 1, 0, 2, 4, 3, 1}));
}

// A few thousand random edits: the list stays sorted, the extremes always
// equal a plain scan, and the searches agree with a linear look.
TEST(ChartDataSet, RandomEditsKeepOrderExtremesAndSearches) {
  std::mt19937_64 rng(20240611);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  auto pick = [&](int64_t n) { return std::uniform_int_distribution<int64_t>(0, n - 1)(rng); };
  // Whole-number x values make repeated x common.
  auto randomX = [&] { return pick(4) == 0 ? uniform(-5, 60) : static_cast<double>(pick(60)); };

  ChartDataSet set;
  for (int step = 0; step < 4000; ++step) {
    const int64_t count = set.entryCount();
    switch (pick(10)) {
      case 0: case 1: case 2:
        set.addEntryOrdered(entry(randomX(), uniform(-50, 50)));
        break;
      case 3:
        set.addEntry(entry((count ? set.entryForIndex(count - 1)->x() : 0) + static_cast<double>(pick(3)),
                           uniform(-50, 50)));
        break;
      case 4:
        if (count) {
          const auto e = set.entryForIndex(pick(count));
          EXPECT_TRUE(set.removeEntry(pick(2) ? e : entry(e->x(), e->y())));
        }
        break;
      case 5:
        set.removeEntryWithIndex(pick(count + 2) - 1);
        break;
      case 6:
        set.removeEntryWithX(randomX());
        break;
      case 7: {
        std::vector<EntryPtr> list;
        for (int64_t i = pick(40); i > 0; --i) list.push_back(entry(randomX(), uniform(-50, 50)));
        std::sort(list.begin(), list.end(), [](const EntryPtr& a, const EntryPtr& b) { return a->x() < b->x(); });
        set.replaceEntries(list);
        break;
      }
      case 8:
        if (pick(20) == 0) set.clear();
        break;
      default:
        set.notifyDataSetChanged();
    }

    const auto& list = set.entries();
    ASSERT_TRUE(std::is_sorted(list.begin(), list.end(),
                               [](const EntryPtr& a, const EntryPtr& b) { return a->x() < b->x(); }))
        << "step " << step;
    double xMin = big, xMax = -big, yMin = big, yMax = -big;
    for (const auto& e : list) {
      xMin = std::min(xMin, e->x());
      xMax = std::max(xMax, e->x());
      yMin = std::min(yMin, e->y());
      yMax = std::max(yMax, e->y());
    }
    ASSERT_EQ(set.xMin(), xMin) << "step " << step;
    ASSERT_EQ(set.xMax(), xMax) << "step " << step;
    ASSERT_EQ(set.yMin(), yMin) << "step " << step;
    ASSERT_EQ(set.yMax(), yMax) << "step " << step;

    const double x = randomX();
    const int64_t found = set.entryIndex(x, nan, R::closest);
    if (list.empty()) {
      ASSERT_EQ(found, -1);
      continue;
    }
    double nearest = INFINITY;
    for (const auto& e : list) nearest = std::min(nearest, std::fabs(e->x() - x));
    ASSERT_EQ(std::fabs(list[static_cast<size_t>(found)]->x() - x), nearest) << "step " << step;
    ASSERT_EQ(static_cast<int64_t>(set.entriesForXValue(x).size()),
              std::count_if(list.begin(), list.end(), [x](const EntryPtr& e) { return e->x() == x; }));
  }
}

TEST(ChartDiagnostics, AbstractMembersStopTheProgramNamingMemberAndClass) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ChartBaseDataSet base;
  EXPECT_DEATH(base.calcMinMax(), "calcMinMax is not implemented in ChartBaseDataSet");
  EXPECT_DEATH(base.calcMinMaxY(0, 1), "calcMinMaxY\\(fromX:, toX:\\) is not implemented in ChartBaseDataSet");
  EXPECT_DEATH(base.contains(entry(0, 0)), "contains is not implemented in ChartBaseDataSet");
  EXPECT_DEATH(base.removeFirst(), "entryCount is not implemented in ChartBaseDataSet");
  EXPECT_DEATH(cannotBeCalled("renderAxisLabels()", "AxisRendererBase"),
               "renderAxisLabels\\(\\) cannot be called on AxisRendererBase");
}

TEST(ChartDiagnostics, LogSinkReceivesTheExactLine) {
  std::vector<std::string> lines;
  const LogSink previous = setLogSink([&lines](std::string_view line) { lines.emplace_back(line); });
  log("BarData needs to hold at least 2 BarDataSets to allow grouping.");
  setLogSink(previous);
  EXPECT_EQ(lines, std::vector<std::string>{"BarData needs to hold at least 2 BarDataSets to allow grouping."});
  testing::internal::CaptureStderr();
  setLogSink(nullptr);
  log("to stderr");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "to stderr\n");
}

}  // namespace
