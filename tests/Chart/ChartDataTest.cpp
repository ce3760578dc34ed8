#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Chart/Data/ChartData.h"
#include "Chart/Data/ChartDataSet.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Utils/DefaultValueFormatter.h"
#include "Chart/Utils/Diagnostics.h"
#include "support/ChartDataExpectations.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Font;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr auto L = AxisDependency::left;
constexpr auto R = AxisDependency::right;

EntryPtr entry(double x, double y) { return std::make_shared<ChartDataEntry>(x, y); }

// Entries at x = x0, x0 + 1, ... with the given y values.
std::shared_ptr<ChartDataSet> set(std::vector<double> ys, AxisDependency side = L,
                                  std::optional<std::string> label = "set", double x0 = 0) {
  std::vector<EntryPtr> entries;
  for (size_t i = 0; i < ys.size(); ++i) entries.push_back(entry(x0 + double(i), ys[i]));
  auto s = std::make_shared<ChartDataSet>(entries, std::move(label));
  s->setAxisDependency(side);
  return s;
}

using testsupport::extremes;
using testsupport::Extremes;
using testsupport::LogCapture;

const Extremes unset = testsupport::kUnsetExtremes;

TEST(ChartData, ExtremesPerSideFallBackToTheOtherSide) {
  struct Case {
    const char* name;
    std::vector<DataSetPtr> sets;
    Extremes expected;
  };
  const Case cases[] = {
      {"no sets", {}, unset},
      {"an empty set widens nothing", {set({})}, unset},
      {"left only: right falls back", {set({1, 5}), set({-2, 3}, L, "b", 4)}, {0, 5, -2, 5, -2, 5, -2, 5}},
      {"right only: left falls back", {set({7, 9}, R)}, {0, 1, 7, 9, 7, 9, 7, 9}},
      {"both sides", {set({1, 5}), set({10, 20, 15}, R, "r", -3), set({-2, 3})}, {-3, 1, -2, 20, -2, 5, 10, 20}},
      {"NaN never enters", {set({nan, 4, nan}), set({}, R)}, {0, 2, 4, 4, 4, 4, 4, 4}},
  };
  for (const Case& c : cases) {
    const ChartData data(c.sets);
    EXPECT_EQ(extremes(data), c.expected) << c.name;
    EXPECT_EQ(data.getYMin(), data.yMin()) << c.name;
    EXPECT_EQ(data.getYMax(), data.yMax()) << c.name;
  }

  const ChartData none;
  EXPECT_EQ(extremes(none), unset);
  EXPECT_EQ(none.entryCount(), 0);
  EXPECT_EQ(none.maxEntryCountSet(), nullptr);
  EXPECT_TRUE(none.isHighlightEnabled());
  EXPECT_TRUE(none.getColors().empty());
  EXPECT_EQ(ChartData(DataSetPtr()).dataSetCount(), 0);
  EXPECT_EQ(ChartData(set({3})).dataSetCount(), 1);
  EXPECT_EQ(LineChartData({set({3})}).dataSetCount(), 1) << "a braced list of one set";
  EXPECT_THROW(ChartData(std::vector<DataSetPtr>{set({1}), nullptr}), std::invalid_argument);
}

// The chart data reads the sets' cached extremes: an edit made through a set
// shows only once the data is told.
TEST(ChartData, WidensOnAddsAndRecomputesOnRemovals) {
  const auto left = set({1, 5});
  const auto right = set({10, 20}, R);
  ChartData data({left, right});

  {
    LogCapture log;
    data.addEntry(entry(9, 100), 2);
    data.addEntry(entry(9, 100), -1);
    EXPECT_EQ(log.lines, std::vector<std::string>(
                             2, "ChartData.addEntry() - Cannot add Entry because dataSetIndex too high or too low."));
    EXPECT_EQ(extremes(data), (Extremes{0, 1, 1, 20, 1, 5, 10, 20}));
    EXPECT_EQ(data.entryCount(), 4);
  }

  data.addEntry(entry(9, 100), 1);  // widens y, x and the right side only
  EXPECT_EQ(extremes(data), (Extremes{0, 9, 1, 100, 1, 5, 10, 100}));
  data.addEntry(nullptr, 0);        // the set refuses it: nothing to widen
  EXPECT_EQ(data.entryCount(), 5);

  // An entry changed in place stays unseen: recomputing reads the set's
  // cache and never has the set rescan.
  left->entryForIndex(1)->setY(50);
  data.notifyDataChanged();
  EXPECT_EQ(data.getYMax(L), 5);
  left->removeEntryWithIndex(1);  // through the set: unseen until notified
  EXPECT_EQ(data.getYMax(L), 5);
  EXPECT_FALSE(data.removeDataSet(set({1})));  // not held: nothing recomputed
  EXPECT_EQ(data.getYMax(L), 5);
  data.notifyDataChanged();
  EXPECT_EQ(data.getYMax(L), 1);

  data.addDataSet(nullptr);
  EXPECT_EQ(data.dataSetCount(), 2);
  data.addDataSet(set({-4}, L, "late", -1));
  EXPECT_EQ(extremes(data), (Extremes{-1, 9, -4, 100, -4, 1, 10, 100}));

  EXPECT_FALSE(data.removeEntry(entry(0, 1), 5));
  EXPECT_FALSE(data.removeEntry(entry(0, 2), 0));     // no such entry
  EXPECT_TRUE(data.removeEntry(entry(9, 100), 1));    // an equal entry object will do
  EXPECT_EQ(data.getYMax(R), 20);
  EXPECT_FALSE(data.removeEntryWithXValue(0, -1));
  EXPECT_TRUE(data.removeEntryWithXValue(0.4, 1));    // the entry closest to x
  EXPECT_EQ(data.getYMin(R), 20);
  EXPECT_TRUE(data.removeDataSet(right));
  EXPECT_FALSE(data.removeDataSetByIndex(2));
  EXPECT_TRUE(data.removeDataSetByIndex(1));
  EXPECT_EQ(extremes(data), (Extremes{0, 0, 1, 1, 1, 1, 1, 1}));

  // A set emptied through itself keeps the unset extremes and widens nothing.
  left->clear();
  data.notifyDataChanged();
  EXPECT_EQ(extremes(data), unset);

  data.setDataSets({set({2, 8}), set({5}, R)});
  data.calcMinMaxY(0.6, 2);  // each set rescans only the window, then the data recomputes
  EXPECT_EQ(extremes(data), (Extremes{0, 1, 2, 8, 2, 8, 5, 5}));
  data.calcMinMaxY(1, 2);
  EXPECT_EQ(data.getYMin(L), 8);
  EXPECT_THROW(data.setDataSets({nullptr}), std::invalid_argument);
  EXPECT_EQ(data.dataSetCount(), 2);
  data.clearValues();
  EXPECT_EQ(data.dataSetCount(), 0);
  EXPECT_EQ(extremes(data), unset);
}

TEST(ChartData, LookUps) {
  const auto a = set({1, 2, 3}, L, "Ink K");
  const auto b = set({1, 2, 3, 4, 5, 6, 7}, R, std::nullopt);
  const auto c = set({0, 0, 0, 0, 0, 0, 7}, L, "ink k");
  const ChartData data({a, b, c});

  const std::tuple<const char*, bool, DataSetPtr> byLabel[] = {
      {"Ink K", false, a}, {"ink k", false, c}, {"INK K", true, a}, {"INK K", false, nullptr},
      {"Ink", true, nullptr}, {"", true, nullptr},  // an unlabelled set is never found
  };
  for (const auto& [text, ignoreCase, expected] : byLabel) {
    EXPECT_EQ(data.getDataSetByLabel(text, ignoreCase), expected) << text << " " << ignoreCase;
  }

  const std::pair<int64_t, DataSetPtr> byIndex[] = {{-1, nullptr}, {0, a}, {2, c}, {3, nullptr}};
  for (const auto& [index, expected] : byIndex) EXPECT_EQ(data.getDataSetByIndex(index), expected) << index;
  EXPECT_EQ(data.indexOfDataSet(c), 2);
  EXPECT_EQ(data.indexOfDataSet(set({1, 2, 3}, L, "Ink K")), -1);  // the same contents are not that set
  EXPECT_TRUE(data.contains(b));
  EXPECT_FALSE(data.contains(set({})));
  EXPECT_EQ(data.getFirstLeft(data.dataSets()), a);
  EXPECT_EQ(data.getFirstRight(data.dataSets()), b);
  EXPECT_EQ(data.getFirstRight({a, c}), nullptr);

  EXPECT_EQ(data.maxEntryCountSet(), b);  // 3, 7, 7: the first of the largest
  EXPECT_EQ(data.entryCount(), 17);

  // A highlight names its set by index and its entry by x, then y.
  const std::tuple<double, double, int64_t, EntryPtr> highlights[] = {
      {1.2, nan, 0, a->entryForIndex(1)}, {5.9, 0, 1, b->entryForIndex(6)},
      {0, 0, 3, nullptr},                 {0, 0, -1, nullptr},
  };
  for (const auto& [x, y, index, expected] : highlights) {
    EXPECT_EQ(data.entryForHighlight(Highlight(x, y, index, -1)), expected) << x << " in set " << index;
  }

  EXPECT_EQ(data.getDataSetForEntry(c->entryForIndex(6)), c);
  EXPECT_EQ(data.getDataSetForEntry(entry(6, 7)), nullptr);  // equal, but not an entry of any set
  EXPECT_EQ(data.getDataSetForEntry(nullptr), nullptr);
}

TEST(ChartData, SettingsReachEverySet) {
  const auto a = set({1}, L, "a");
  const auto b = set({2}, R, "b");
  b->setColors({Color::rgb(1, 0, 0), Color::rgb(0, 1, 0)});
  ChartData data({a, b});
  EXPECT_EQ(data.getColors(),
            (std::vector<Color>{ChartBaseDataSet::defaultColor, Color::rgb(1, 0, 0), Color::rgb(0, 1, 0)}));

  const auto formatter = std::make_shared<DefaultValueFormatter>(3);
  data.setValueFormatter(formatter);
  data.setValueTextColor(Color::gray());
  data.setValueFont(Font::systemFont(9));
  data.setDrawValues(false);
  b->setHighlightEnabled(false);
  EXPECT_FALSE(data.highlightEnabled());
  data.setHighlightEnabled(true);
  for (const auto& s : {a, b}) {
    EXPECT_EQ(s->valueFormatter(), formatter);
    EXPECT_EQ(s->valueTextColor(), Color::gray());
    EXPECT_EQ(s->valueFont(), Font::systemFont(9));
    EXPECT_FALSE(s->drawValuesEnabled());
    EXPECT_TRUE(s->highlightEnabled());
  }
  EXPECT_TRUE(data.isHighlightEnabled());
}

// A chart data that shows only its first set through dataSets(), as a pie
// chart's does: the operations that read the accessor follow it, those that
// read the stored list do not.
TEST(ChartData, OperationsOnTheAccessorFollowAnOverride) {
  class FirstOnly : public ChartData {
   public:
    using ChartData::ChartData;
    const std::vector<DataSetPtr>& dataSets() const override {
      shown_.assign(dataSets_.begin(), dataSets_.begin() + (dataSets_.empty() ? 0 : 1));
      return shown_;
    }

   private:
    mutable std::vector<DataSetPtr> shown_;
  };
  const auto first = set({1, 2}, R, "first");
  const auto second = set({-5, 0, 9}, L, "second");
  second->setHighlightEnabled(false);
  FirstOnly data({first, second});
  data.notifyDataChanged();  // the constructor ran before the override was in force

  // Accessor: the first left set is looked for among the shown sets only.
  EXPECT_EQ(data.getYMin(L), 1);
  EXPECT_EQ(data.yMin(), -5);  // stored list
  EXPECT_EQ(data.maxEntryCountSet(), first);
  EXPECT_FALSE(data.contains(second));
  EXPECT_TRUE(data.highlightEnabled());
  EXPECT_EQ(data.getDataSetByLabel("second", false), nullptr);
  EXPECT_EQ(data.entryForHighlight(Highlight(0, 0, 1, -1)), nullptr);
  data.setDrawValues(false);
  EXPECT_TRUE(second->drawValuesEnabled());
  // Stored list.
  EXPECT_EQ(data.dataSetCount(), 2);
  EXPECT_EQ(data.entryCount(), 5);
  EXPECT_EQ(data.getDataSetByIndex(1), second);
  EXPECT_EQ(data.indexOfDataSet(second), 1);
}

}  // namespace
