#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/BubbleChartDataSet.h"
#include "Chart/Data/CandleChartDataSet.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Data/ScatterChartDataSet.h"
#include "support/ChartDataExpectations.h"

using namespace chart;
using testsupport::extremes;
using testsupport::Extremes;
using testsupport::LogCapture;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr auto L = AxisDependency::left;
constexpr auto R = AxisDependency::right;

template <typename Set, typename Entry = ChartDataEntry>
std::shared_ptr<Set> setOf(std::vector<std::pair<double, double>> points, AxisDependency side = L) {
  std::vector<EntryPtr> entries;
  for (const auto& [x, y] : points) entries.push_back(std::make_shared<Entry>(x, y));
  auto set = std::make_shared<Set>(entries);
  set->setAxisDependency(side);
  return set;
}

// One of each kind, on both sides.
struct Parts {
  std::shared_ptr<LineChartDataSet> line = setOf<LineChartDataSet>({{0, 0}, {1, 100}});
  std::shared_ptr<BarChartDataSet> bar = setOf<BarChartDataSet, BarChartDataEntry>({{2, 5}, {3, 20}}, R);
  std::shared_ptr<ScatterChartDataSet> scatter = setOf<ScatterChartDataSet>({{-4, 50}});
  std::shared_ptr<CandleChartDataSet> candle = std::make_shared<CandleChartDataSet>(
      std::vector<EntryPtr>{std::make_shared<CandleChartDataEntry>(6, 30, -10, 0, 20)});
  std::shared_ptr<BubbleChartDataSet> bubble =
      std::make_shared<BubbleChartDataSet>(std::vector<EntryPtr>{std::make_shared<BubbleChartDataEntry>(9, 25, 3)});
  std::shared_ptr<LineChartData> lineData = std::make_shared<LineChartData>(DataSetPtr(line));
  std::shared_ptr<BarChartData> barData = std::make_shared<BarChartData>(DataSetPtr(bar));
  std::shared_ptr<ScatterChartData> scatterData = std::make_shared<ScatterChartData>(DataSetPtr(scatter));
  std::shared_ptr<CandleChartData> candleData = std::make_shared<CandleChartData>(DataSetPtr(candle));
  std::shared_ptr<BubbleChartData> bubbleData = std::make_shared<BubbleChartData>(DataSetPtr(bubble));
};

TEST(CombinedChartData, GathersSubDataInAFixedOrder) {
  const CombinedChartData empty;
  EXPECT_TRUE(empty.allData().empty());
  EXPECT_TRUE(empty.dataSets().empty());
  EXPECT_EQ(extremes(empty), testsupport::kUnsetExtremes);
  EXPECT_EQ(empty.dataByIndex(0), nullptr);
  // Data sets handed over directly are dropped.
  const Parts p;
  const CombinedChartData given({p.line, p.bar});
  EXPECT_TRUE(given.dataSets().empty());
  EXPECT_EQ(extremes(given), testsupport::kUnsetExtremes);

  // Line and bar: line first, whichever came first.
  CombinedChartData two;
  two.setBarData(p.barData);
  EXPECT_EQ(two.allData(), std::vector<std::shared_ptr<ChartData>>{p.barData});
  two.setLineData(p.lineData);
  EXPECT_EQ(two.allData(), (std::vector<std::shared_ptr<ChartData>>{p.lineData, p.barData}));
  EXPECT_EQ(two.dataSets(), (std::vector<DataSetPtr>{p.line, p.bar}));
  EXPECT_EQ(extremes(two), (Extremes{0, 3, 0, 100, 0, 100, 5, 20}));

  // All five, assigned back to front.
  CombinedChartData all;
  all.setBubbleData(p.bubbleData);
  all.setCandleData(p.candleData);
  all.setScatterData(p.scatterData);
  all.setBarData(p.barData);
  all.setLineData(p.lineData);
  const std::vector<std::shared_ptr<ChartData>> order{p.lineData, p.barData, p.scatterData, p.candleData, p.bubbleData};
  EXPECT_EQ(all.allData(), order);
  EXPECT_EQ(all.dataSets(), (std::vector<DataSetPtr>{p.line, p.bar, p.scatter, p.candle, p.bubble}));
  // The candle counts from its low (-10) to its high (30).
  EXPECT_EQ(extremes(all), (Extremes{-4, 9, -10, 100, -10, 100, 5, 20}));
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(all.dataByIndex(int64_t(i)), order[i]);
    EXPECT_EQ(all.dataIndex(order[i]), int64_t(i));
  }
  EXPECT_EQ(all.dataByIndex(5), nullptr);
  EXPECT_EQ(all.dataByIndex(-1), nullptr);
  EXPECT_EQ(all.dataIndex(std::make_shared<LineChartData>()), -1);

  // A notify refreshes every sub-data before gathering.
  p.bar->addEntry(std::make_shared<BarChartDataEntry>(4, 300));
  all.notifyDataChanged();
  EXPECT_EQ(all.getYMax(R), 300);
  all.setLineData(nullptr);
  EXPECT_EQ(all.allData().front(), p.barData);
  EXPECT_EQ(all.yMax(), 300);
}

TEST(CombinedChartData, HighlightsResolveThroughTheSubData) {
  const auto line = setOf<LineChartDataSet>({{0, 1}, {1, 3}, {1, 5}, {1, 7}, {2, 9}});
  const auto bar = setOf<BarChartDataSet, BarChartDataEntry>({{1, 4}});
  CombinedChartData data;
  data.setLineData(std::make_shared<LineChartData>(DataSetPtr(line)));
  data.setBarData(std::make_shared<BarChartData>(DataSetPtr(bar)));

  struct Case {
    const char* name;
    double x, y;
    int64_t dataSetIndex, dataIndex;
    EntryPtr entry;
    DataSetPtr set;
  };
  const Case cases[] = {
      {"NaN y takes the first at x", 1, nan, 0, 0, line->entryForIndex(1), line},
      {"equal y", 1, 7, 0, 0, line->entryForIndex(3), line},
      {"no equal y", 1, 6, 0, 0, nullptr, line},
      {"no entry at x", 1.5, nan, 0, 0, nullptr, line},
      {"second sub-data", 1, 4, 0, 1, bar->entryForIndex(0), bar},
      {"sub-data out of range", 1, nan, 0, 2, nullptr, nullptr},
      {"no sub-data index", 1, nan, 0, -1, nullptr, nullptr},
      {"set out of range", 1, nan, 1, 0, nullptr, nullptr},
      {"negative set index", 1, nan, -1, 0, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    const Highlight h(c.x, c.y, c.dataSetIndex, c.dataIndex);
    EXPECT_EQ(data.entryForHighlight(h), c.entry) << c.name;
    EXPECT_EQ(data.getDataSetByHighlight(h), c.set) << c.name;
  }
  EXPECT_EQ(CombinedChartData().entryForHighlight(Highlight()), nullptr);
  EXPECT_EQ(CombinedChartData().getDataSetByHighlight(Highlight()), nullptr);
}

TEST(CombinedChartData, RemovalsByIndexAreRefused) {
  const Parts p;
  CombinedChartData data;
  data.setLineData(p.lineData);
  data.setBarData(p.barData);
  LogCapture log;
  EXPECT_FALSE(data.removeDataSetByIndex(0));
  EXPECT_FALSE(data.removeEntry(p.line->entryForIndex(0), 0));
  EXPECT_FALSE(data.removeEntryWithXValue(0, 0));
  EXPECT_FALSE(data.removeEntry(p.line->entryForIndex(0), 0));
  EXPECT_EQ(log.lines, (std::vector<std::string>{"removeDataSet(index) not supported for CombinedData",
                                                 "removeEntry(entry, dataSetIndex) not supported for CombinedData",
                                                 "removeEntry(xValue, dataSetIndex) not supported for CombinedData",
                                                 "removeEntry(entry, dataSetIndex) not supported for CombinedData"}));
  EXPECT_EQ(p.line->entryCount(), 2);
  EXPECT_EQ(data.dataSetCount(), 2);

  // A set is removed from the sub-data that holds it.
  EXPECT_FALSE(data.removeDataSet(p.scatter));
  EXPECT_TRUE(data.removeDataSet(p.bar));
  EXPECT_EQ(p.barData->dataSetCount(), 0);
  EXPECT_EQ(p.lineData->dataSetCount(), 1);
  data.notifyDataChanged();
  EXPECT_EQ(data.dataSets(), std::vector<DataSetPtr>{p.line});
}

}  // namespace
