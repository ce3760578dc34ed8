#pragma once

#include "Chart/Data/BarLineScatterCandleBubbleChartData.h"

namespace chart {

// The chart data of a candle-stick chart; nothing of its own.
class CandleChartData : public BarLineScatterCandleBubbleChartData {
 public:
  using BarLineScatterCandleBubbleChartData::BarLineScatterCandleBubbleChartData;
};

}  // namespace chart
