#include "Chart/Data/BubbleChartDataSet.h"

namespace chart {

BubbleChartDataSet::BubbleChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label)
    : BarLineScatterCandleBubbleChartDataSet(std::move(entries), std::move(label)) {
  // The base constructor could not count the bubbles' sizes.
  calcMinMax();
}

void BubbleChartDataSet::calcMinMaxForEntry(const ChartDataEntry& entry) {
  const auto* bubble = dynamic_cast<const BubbleChartDataEntry*>(&entry);
  if (!bubble) return;
  calcMinMaxXForEntry(entry);
  calcMinMaxYForEntry(entry);
  if (bubble->size() > maxSize_) maxSize_ = bubble->size();
}

void BubbleChartDataSet::copyInto(ChartBaseDataSet& target) const {
  BarLineScatterCandleBubbleChartDataSet::copyInto(target);
  auto& set = dynamic_cast<BubbleChartDataSet&>(target);
  set.maxSize_ = maxSize();
  set.setNormalizeSizeEnabled(normalizeSizeEnabled());
  set.setHighlightCircleWidth(highlightCircleWidth());
}

}  // namespace chart
