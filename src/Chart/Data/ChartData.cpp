#include "Chart/Data/ChartData.h"

#include <limits>
#include <stdexcept>
#include <utility>

#include "Chart/Utils/Diagnostics.h"
#include "platform/text/Text.h"

namespace chart {

namespace {

// Widen a pair of extremes. Strict comparisons keep NaN out.
void widen(double& minimum, double& maximum, double low, double high) {
  if (maximum < high) maximum = high;
  if (low < minimum) minimum = low;
}

// A list of sets never holds a null one: a null set in the list handed over
// is refused before anything is stored.
std::vector<DataSetPtr> requireDataSets(std::vector<DataSetPtr> dataSets) {
  for (const auto& set : dataSets) {
    if (!set) throw std::invalid_argument("ChartData: null data set");
  }
  return dataSets;
}

DataSetPtr firstOnSide(const std::vector<DataSetPtr>& dataSets, AxisDependency side) {
  for (const auto& set : dataSets) {
    if (set->axisDependency() == side) return set;
  }
  return nullptr;
}

}  // namespace

ChartData::ChartData(std::vector<DataSetPtr> dataSets) : dataSets_(requireDataSets(std::move(dataSets))) {
  notifyDataChanged();
}

ChartData::ChartData(DataSetPtr dataSet)
    : ChartData(dataSet ? std::vector<DataSetPtr>{std::move(dataSet)} : std::vector<DataSetPtr>{}) {}

int64_t ChartData::entryIndexFromHighlightX(double x) {
  // -2^63 is the smallest int64_t and 2^63 the first double above the
  // largest; NaN fails both comparisons.
  constexpr double lowest = -0x1p63;
  constexpr double beyond = 0x1p63;
  if (!(x >= lowest && x < beyond)) return -1;
  return static_cast<int64_t>(x);
}

void ChartData::notifyDataChanged() { calcMinMax(); }

void ChartData::calcMinMaxY(double fromX, double toX) {
  for (const auto& set : dataSets_) set->calcMinMaxY(fromX, toX);
  calcMinMax();
}

void ChartData::calcMinMax() {
  yMax_ = xMax_ = unsetMaximum;
  yMin_ = xMin_ = unsetMinimum;
  for (const auto& set : dataSets_) calcMinMaxForDataSet(*set);

  // The side extremes are taken afresh, seeded by the first set of each side.
  leftAxisMax_ = rightAxisMax_ = unsetMaximum;
  leftAxisMin_ = rightAxisMin_ = unsetMinimum;
  if (const auto first = getFirstLeft(dataSets())) {
    leftAxisMax_ = first->yMax();
    leftAxisMin_ = first->yMin();
    for (const auto& set : dataSets_) {
      if (set->axisDependency() == AxisDependency::left) widen(leftAxisMin_, leftAxisMax_, set->yMin(), set->yMax());
    }
  }
  if (const auto first = getFirstRight(dataSets())) {
    rightAxisMax_ = first->yMax();
    rightAxisMin_ = first->yMin();
    for (const auto& set : dataSets_) {
      if (set->axisDependency() == AxisDependency::right) {
        widen(rightAxisMin_, rightAxisMax_, set->yMin(), set->yMax());
      }
    }
  }
}

void ChartData::calcMinMaxForEntry(const ChartDataEntry& entry, AxisDependency axis) {
  const double x = entry.x();
  const double y = entry.y();
  widen(yMin_, yMax_, y, y);
  widen(xMin_, xMax_, x, x);
  if (axis == AxisDependency::left) {
    widen(leftAxisMin_, leftAxisMax_, y, y);
  } else {
    widen(rightAxisMin_, rightAxisMax_, y, y);
  }
}

void ChartData::calcMinMaxForDataSet(const IChartDataSet& dataSet) {
  const double low = dataSet.yMin();
  const double high = dataSet.yMax();
  widen(yMin_, yMax_, low, high);
  widen(xMin_, xMax_, dataSet.xMin(), dataSet.xMax());
  if (dataSet.axisDependency() == AxisDependency::left) {
    widen(leftAxisMin_, leftAxisMax_, low, high);
  } else {
    widen(rightAxisMin_, rightAxisMax_, low, high);
  }
}

int64_t ChartData::dataSetCount() const { return static_cast<int64_t>(dataSets_.size()); }

double ChartData::getYMin(AxisDependency axis) const {
  if (axis == AxisDependency::left) return leftAxisMin_ == unsetMinimum ? rightAxisMin_ : leftAxisMin_;
  return rightAxisMin_ == unsetMinimum ? leftAxisMin_ : rightAxisMin_;
}

double ChartData::getYMax(AxisDependency axis) const {
  if (axis == AxisDependency::left) return leftAxisMax_ == unsetMaximum ? rightAxisMax_ : leftAxisMax_;
  return rightAxisMax_ == unsetMaximum ? leftAxisMax_ : rightAxisMax_;
}

void ChartData::setDataSets(std::vector<DataSetPtr> dataSets) {
  dataSets_ = requireDataSets(std::move(dataSets));
  notifyDataChanged();
}

EntryPtr ChartData::entryForHighlight(const Highlight& highlight) const {
  const auto& sets = dataSets();
  const int64_t index = highlight.dataSetIndex();
  if (index < 0 || index >= static_cast<int64_t>(sets.size())) return nullptr;
  return sets[static_cast<size_t>(index)]->entryForXValue(highlight.x(), highlight.y());
}

DataSetPtr ChartData::getDataSetByLabel(std::string_view label, bool ignoreCase) const {
  const auto& sets = dataSets();
  for (size_t i = 0; i < sets.size(); ++i) {
    const auto& own = sets[i]->label();
    if (!own) continue;
    const bool same = ignoreCase ? platform::text::caseInsensitiveEquals(*own, label) : *own == label;
    if (same) return i < dataSets_.size() ? dataSets_[i] : nullptr;
  }
  return nullptr;
}

bool ChartData::isValidIndex(int64_t index) const {
  return index >= 0 && index < static_cast<int64_t>(dataSets_.size());
}

DataSetPtr ChartData::getDataSetByIndex(int64_t index) const {
  return isValidIndex(index) ? dataSets_[static_cast<size_t>(index)] : nullptr;
}

void ChartData::addDataSet(DataSetPtr dataSet) {
  if (!dataSet) return;
  calcMinMaxForDataSet(*dataSet);
  dataSets_.push_back(std::move(dataSet));
}

bool ChartData::removeDataSet(const DataSetPtr& dataSet) {
  const int64_t index = indexOfDataSet(dataSet);
  return index >= 0 && removeDataSetByIndex(index);
}

bool ChartData::removeDataSetByIndex(int64_t index) {
  if (!isValidIndex(index)) return false;
  dataSets_.erase(dataSets_.begin() + index);
  calcMinMax();
  return true;
}

void ChartData::addEntry(const EntryPtr& entry, int64_t dataSetIndex) {
  if (!isValidIndex(dataSetIndex)) {
    log("ChartData.addEntry() - Cannot add Entry because dataSetIndex too high or too low.");
    return;
  }
  // Widened by the set's extremes, not the entry's y: a set may count an
  // entry by more than its y (a stack's sums, a candle's high and low).
  const auto& set = dataSets_[static_cast<size_t>(dataSetIndex)];
  if (set->addEntry(entry)) calcMinMaxForDataSet(*set);
}

bool ChartData::removeEntry(const EntryPtr& entry, int64_t dataSetIndex) {
  if (!isValidIndex(dataSetIndex)) return false;
  if (!dataSets_[static_cast<size_t>(dataSetIndex)]->removeEntry(entry)) return false;
  calcMinMax();
  return true;
}

bool ChartData::removeEntryWithXValue(double xValue, int64_t dataSetIndex) {
  if (!isValidIndex(dataSetIndex)) return false;
  const auto entry = dataSets_[static_cast<size_t>(dataSetIndex)]->entryForXValue(
      xValue, std::numeric_limits<double>::quiet_NaN());
  return entry && removeEntry(entry, dataSetIndex);
}

DataSetPtr ChartData::getDataSetForEntry(const EntryPtr& entry) const {
  if (!entry) return nullptr;
  for (const auto& set : dataSets_) {
    if (set->entryForXValue(entry->x(), entry->y()) == entry) return set;
  }
  return nullptr;
}

int64_t ChartData::indexOfDataSet(const DataSetPtr& dataSet) const {
  for (size_t i = 0; i < dataSets_.size(); ++i) {
    if (dataSets_[i] == dataSet) return static_cast<int64_t>(i);
  }
  return -1;
}

DataSetPtr ChartData::getFirstLeft(const std::vector<DataSetPtr>& dataSets) const {
  return firstOnSide(dataSets, AxisDependency::left);
}

DataSetPtr ChartData::getFirstRight(const std::vector<DataSetPtr>& dataSets) const {
  return firstOnSide(dataSets, AxisDependency::right);
}

std::vector<ChartData::Color> ChartData::getColors() const {
  std::vector<Color> all;
  for (const auto& set : dataSets_) {
    const auto& own = set->colors();
    all.insert(all.end(), own.begin(), own.end());
  }
  return all;
}

void ChartData::setValueFormatter(std::shared_ptr<IValueFormatter> formatter) {
  for (const auto& set : dataSets()) set->setValueFormatter(formatter);
}

void ChartData::setValueTextColor(const Color& color) {
  for (const auto& set : dataSets()) set->setValueTextColor(color);
}

void ChartData::setValueFont(const Font& font) {
  for (const auto& set : dataSets()) set->setValueFont(font);
}

void ChartData::setDrawValues(bool enabled) {
  for (const auto& set : dataSets()) set->setDrawValuesEnabled(enabled);
}

bool ChartData::highlightEnabled() const {
  for (const auto& set : dataSets()) {
    if (!set->highlightEnabled()) return false;
  }
  return true;
}

void ChartData::setHighlightEnabled(bool enabled) {
  for (const auto& set : dataSets()) set->setHighlightEnabled(enabled);
}

void ChartData::clearValues() {
  setDataSets({});
  notifyDataChanged();
}

bool ChartData::contains(const DataSetPtr& dataSet) const {
  for (const auto& set : dataSets()) {
    if (set == dataSet) return true;
  }
  return false;
}

int64_t ChartData::entryCount() const {
  int64_t count = 0;
  for (const auto& set : dataSets_) count += set->entryCount();
  return count;
}

DataSetPtr ChartData::maxEntryCountSet() const {
  DataSetPtr most;
  for (const auto& set : dataSets()) {
    if (!most || set->entryCount() > most->entryCount()) most = set;
  }
  return most;
}

}  // namespace chart
