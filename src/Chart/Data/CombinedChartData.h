#pragma once

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarLineScatterCandleBubbleChartData.h"
#include "Chart/Data/BubbleChartData.h"
#include "Chart/Data/CandleChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/ScatterChartData.h"

namespace chart {

// The chart data of a combined chart: up to one line, bar, scatter, candle
// and bubble data, drawn together. Its own list of data sets and its
// extremes are gathered from them, always in the order line, bar, scatter,
// candle, bubble, whatever order they were assigned in; a combined chart's
// model is its sub-data, so data sets handed to it directly are not kept.
//
// Assigning a sub-data recomputes everything. After a sub-data's sets
// changed, notifyDataChanged() refreshes every sub-data and gathers again.
class CombinedChartData : public BarLineScatterCandleBubbleChartData {
 public:
  // No sub-data.
  CombinedChartData() = default;
  // No sub-data either: the sets are gathered from the (absent) sub-data,
  // so the ones given are dropped.
  explicit CombinedChartData(std::vector<DataSetPtr> dataSets);

  virtual std::shared_ptr<LineChartData> lineData() const { return lineData_; }
  virtual void setLineData(std::shared_ptr<LineChartData> data);
  virtual std::shared_ptr<BarChartData> barData() const { return barData_; }
  virtual void setBarData(std::shared_ptr<BarChartData> data);
  virtual std::shared_ptr<ScatterChartData> scatterData() const { return scatterData_; }
  virtual void setScatterData(std::shared_ptr<ScatterChartData> data);
  virtual std::shared_ptr<CandleChartData> candleData() const { return candleData_; }
  virtual void setCandleData(std::shared_ptr<CandleChartData> data);
  virtual std::shared_ptr<BubbleChartData> bubbleData() const { return bubbleData_; }
  virtual void setBubbleData(std::shared_ptr<BubbleChartData> data);

  // The sub-data present, in the order line, bar, scatter, candle, bubble.
  virtual std::vector<std::shared_ptr<ChartData>> allData() const;
  // The element of allData() at the index; nullptr outside it.
  virtual std::shared_ptr<ChartData> dataByIndex(int64_t index) const;
  // The position in allData() of that very chart data object, or -1.
  virtual int64_t dataIndex(const std::shared_ptr<ChartData>& data) const;
  // The set a highlight names: the sub-data at its dataIndex, and in it the
  // set at its dataSetIndex; nullptr when either is out of range.
  virtual DataSetPtr getDataSetByHighlight(const Highlight& highlight) const;
  // Among that set's entries exactly at the highlight's x, the first whose y
  // equals the highlight's y, or simply the first when the highlight's y is
  // NaN; nullptr when there is none.
  EntryPtr entryForHighlight(const Highlight& highlight) const override;

  // Refreshes each sub-data, then gathers (calcMinMax).
  void notifyDataChanged() override;
  // Empties the list and resets the extremes, then per sub-data in order:
  // its own calcMinMax, its sets appended, the overall extremes widened by
  // its extremes and each side's by its sets on that side.
  void calcMinMax() override;

  // Asks each sub-data in turn to remove the set, stopping at the first that
  // does. The gathered list and extremes stay as they are until the next
  // notifyDataChanged().
  bool removeDataSet(const DataSetPtr& dataSet) override;
  // The combined data cannot tell which sub-data an index refers to: each
  // logs its line ("removeDataSet(index) not supported for CombinedData",
  // "removeEntry(entry, dataSetIndex) not supported for CombinedData",
  // "removeEntry(xValue, dataSetIndex) not supported for CombinedData") and
  // returns false.
  bool removeDataSetByIndex(int64_t index) override;
  bool removeEntry(const EntryPtr& entry, int64_t dataSetIndex) override;
  bool removeEntryWithXValue(double xValue, int64_t dataSetIndex) override;

 private:
  // The sub-data at the highlight's dataIndex, when that lies within
  // allData() and its dataSetIndex within the sub-data's sets; else nullptr.
  std::shared_ptr<ChartData> dataForHighlight(const Highlight& highlight) const;

  std::shared_ptr<LineChartData> lineData_;
  std::shared_ptr<BarChartData> barData_;
  std::shared_ptr<ScatterChartData> scatterData_;
  std::shared_ptr<CandleChartData> candleData_;
  std::shared_ptr<BubbleChartData> bubbleData_;
};

}  // namespace chart
