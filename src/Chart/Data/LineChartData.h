#pragma once

#include "Chart/Data/ChartData.h"

namespace chart {

// The chart data of a line chart: its line data sets, with nothing of its
// own beyond ChartData (of which it derives directly, not through
// BarLineScatterCandleBubbleChartData).
class LineChartData : public ChartData {
 public:
  using ChartData::ChartData;
};

}  // namespace chart
