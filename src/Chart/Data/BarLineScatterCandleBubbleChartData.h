#pragma once

#include "Chart/Data/ChartData.h"

namespace chart {

// The chart data of the bar, bubble, candle, scatter and combined charts;
// nothing of its own beyond ChartData.
class BarLineScatterCandleBubbleChartData : public ChartData {
 public:
  using ChartData::ChartData;
};

}  // namespace chart
