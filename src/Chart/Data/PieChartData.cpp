#include "Chart/Data/PieChartData.h"

#include "platform/text/Text.h"

namespace chart {

std::shared_ptr<IPieChartDataSet> PieChartData::dataSet() const {
  const auto& sets = dataSets();
  return sets.empty() ? nullptr : std::dynamic_pointer_cast<IPieChartDataSet>(sets.front());
}

void PieChartData::setDataSet(std::shared_ptr<IPieChartDataSet> dataSet) {
  if (dataSet) {
    setDataSets({std::move(dataSet)});
  } else {
    setDataSets({});
  }
}

double PieChartData::yValueSum() const {
  const auto set = dataSet();
  if (!set) return 0;
  double sum = 0;
  for (int64_t i = 0, n = set->entryCount(); i < n; ++i) {
    if (const auto entry = set->entryForIndex(i)) sum += entry->y();
  }
  return sum;
}

DataSetPtr PieChartData::getDataSetByIndex(int64_t index) const {
  const auto& sets = dataSets();
  return index == 0 && !sets.empty() ? sets.front() : nullptr;
}

DataSetPtr PieChartData::getDataSetByLabel(std::string_view label, bool ignoreCase) const {
  const auto& sets = dataSets();
  if (sets.empty()) return nullptr;
  const auto& own = sets.front()->label();
  if (!own) return nullptr;
  const bool same = ignoreCase ? platform::text::caseInsensitiveEquals(*own, label) : *own == label;
  return same ? sets.front() : nullptr;
}

EntryPtr PieChartData::entryForHighlight(const Highlight& highlight) const {
  const auto set = dataSet();
  return set ? set->entryForIndex(entryIndexFromHighlightX(highlight.x())) : nullptr;
}

bool PieChartData::removeDataSetByIndex(int64_t) { return false; }

}  // namespace chart
