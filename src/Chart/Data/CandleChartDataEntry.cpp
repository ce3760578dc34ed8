#include "Chart/Data/CandleChartDataEntry.h"

#include <cmath>

namespace chart {

void CandleChartDataEntry::setY(double) { ChartDataEntry::setY((high() + low()) / 2.0); }

double CandleChartDataEntry::shadowRange() const { return std::fabs(high() - low()); }

double CandleChartDataEntry::bodyRange() const { return std::fabs(open() - close()); }

void CandleChartDataEntry::copyInto(ChartDataEntry& target) const {
  ChartDataEntry::copyInto(target);
  auto& candle = dynamic_cast<CandleChartDataEntry&>(target);
  candle.setHigh(high());
  candle.setLow(low());
  candle.setOpen(open());
  candle.setClose(close());
  // The inherited copy assigned y through setY, which made it the middle of
  // the copy's shadow as it then was; the receiver's own y may differ (its
  // high or low changed since), so it is stored as it is.
  candle.ChartDataEntry::setY(y());
}

}  // namespace chart
