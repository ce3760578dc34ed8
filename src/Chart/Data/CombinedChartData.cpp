#include "Chart/Data/CombinedChartData.h"

#include <cmath>

#include "Chart/Utils/Diagnostics.h"

namespace chart {

CombinedChartData::CombinedChartData(std::vector<DataSetPtr> dataSets)
    : BarLineScatterCandleBubbleChartData(std::move(dataSets)) {
  // The base constructor gathered with the base's rule.
  notifyDataChanged();
}

void CombinedChartData::setLineData(std::shared_ptr<LineChartData> data) {
  lineData_ = std::move(data);
  notifyDataChanged();
}

void CombinedChartData::setBarData(std::shared_ptr<BarChartData> data) {
  barData_ = std::move(data);
  notifyDataChanged();
}

void CombinedChartData::setScatterData(std::shared_ptr<ScatterChartData> data) {
  scatterData_ = std::move(data);
  notifyDataChanged();
}

void CombinedChartData::setCandleData(std::shared_ptr<CandleChartData> data) {
  candleData_ = std::move(data);
  notifyDataChanged();
}

void CombinedChartData::setBubbleData(std::shared_ptr<BubbleChartData> data) {
  bubbleData_ = std::move(data);
  notifyDataChanged();
}

std::vector<std::shared_ptr<ChartData>> CombinedChartData::allData() const {
  std::vector<std::shared_ptr<ChartData>> all;
  if (auto data = lineData()) all.push_back(std::move(data));
  if (auto data = barData()) all.push_back(std::move(data));
  if (auto data = scatterData()) all.push_back(std::move(data));
  if (auto data = candleData()) all.push_back(std::move(data));
  if (auto data = bubbleData()) all.push_back(std::move(data));
  return all;
}

std::shared_ptr<ChartData> CombinedChartData::dataByIndex(int64_t index) const {
  const auto all = allData();
  if (index < 0 || index >= static_cast<int64_t>(all.size())) return nullptr;
  return all[static_cast<size_t>(index)];
}

int64_t CombinedChartData::dataIndex(const std::shared_ptr<ChartData>& data) const {
  const auto all = allData();
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] == data) return static_cast<int64_t>(i);
  }
  return -1;
}

std::shared_ptr<ChartData> CombinedChartData::dataForHighlight(const Highlight& highlight) const {
  auto data = dataByIndex(highlight.dataIndex());
  const int64_t index = highlight.dataSetIndex();
  if (!data || index < 0 || index >= data->dataSetCount()) return nullptr;
  return data;
}

DataSetPtr CombinedChartData::getDataSetByHighlight(const Highlight& highlight) const {
  const auto data = dataForHighlight(highlight);
  return data ? data->dataSets()[static_cast<size_t>(highlight.dataSetIndex())] : nullptr;
}

EntryPtr CombinedChartData::entryForHighlight(const Highlight& highlight) const {
  const auto data = dataForHighlight(highlight);
  const auto set = data ? data->getDataSetByIndex(highlight.dataSetIndex()) : nullptr;
  if (!set) return nullptr;
  const auto entries = set->entriesForXValue(highlight.x());
  if (entries.empty()) return nullptr;
  const double y = highlight.y();
  if (std::isnan(y)) return entries.front();
  for (const auto& entry : entries) {
    if (entry->y() == y) return entry;
  }
  return nullptr;
}

void CombinedChartData::notifyDataChanged() {
  for (const auto& data : allData()) data->notifyDataChanged();
  calcMinMax();
}

void CombinedChartData::calcMinMax() {
  dataSets_.clear();
  yMax_ = xMax_ = leftAxisMax_ = rightAxisMax_ = unsetMaximum;
  yMin_ = xMin_ = leftAxisMin_ = rightAxisMin_ = unsetMinimum;
  for (const auto& data : allData()) {
    data->calcMinMax();
    const auto& sets = data->dataSets();
    dataSets_.insert(dataSets_.end(), sets.begin(), sets.end());
    if (data->yMax() > yMax_) yMax_ = data->yMax();
    if (data->yMin() < yMin_) yMin_ = data->yMin();
    if (data->xMax() > xMax_) xMax_ = data->xMax();
    if (data->xMin() < xMin_) xMin_ = data->xMin();
    for (const auto& set : sets) {
      double& sideMax = set->axisDependency() == AxisDependency::left ? leftAxisMax_ : rightAxisMax_;
      double& sideMin = set->axisDependency() == AxisDependency::left ? leftAxisMin_ : rightAxisMin_;
      if (set->yMax() > sideMax) sideMax = set->yMax();
      if (set->yMin() < sideMin) sideMin = set->yMin();
    }
  }
}

bool CombinedChartData::removeDataSet(const DataSetPtr& dataSet) {
  for (const auto& data : allData()) {
    if (data->removeDataSet(dataSet)) return true;
  }
  return false;
}

bool CombinedChartData::removeDataSetByIndex(int64_t) {
  log("removeDataSet(index) not supported for CombinedData");
  return false;
}

bool CombinedChartData::removeEntry(const EntryPtr&, int64_t) {
  log("removeEntry(entry, dataSetIndex) not supported for CombinedData");
  return false;
}

bool CombinedChartData::removeEntryWithXValue(double, int64_t) {
  log("removeEntry(xValue, dataSetIndex) not supported for CombinedData");
  return false;
}

}  // namespace chart
