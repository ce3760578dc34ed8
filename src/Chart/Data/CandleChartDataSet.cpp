#include "Chart/Data/CandleChartDataSet.h"

namespace chart {

CandleChartDataSet::CandleChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label)
    : LineScatterCandleRadarChartDataSet(std::move(entries), std::move(label)) {
  // The base constructor widened by y; the candles widen by high and low.
  calcMinMax();
}

void CandleChartDataSet::calcMinMaxForEntry(const ChartDataEntry& entry) {
  const auto* candle = dynamic_cast<const CandleChartDataEntry*>(&entry);
  if (!candle) return;
  widenYExtremes(candle->low(), candle->high());
  calcMinMaxXForEntry(entry);
}

void CandleChartDataSet::calcMinMaxYForEntry(const ChartDataEntry& entry) {
  const auto* candle = dynamic_cast<const CandleChartDataEntry*>(&entry);
  if (!candle) return;
  widenYExtremes(candle->high(), candle->high());
  widenYExtremes(candle->low(), candle->low());
}

void CandleChartDataSet::setBarSpace(double space) { barSpace_ = clampedSpacing(space, 0.45); }

}  // namespace chart
