#pragma once

#include "Chart/Data/BarLineScatterCandleBubbleChartData.h"

namespace chart {

// The chart data of a bubble chart.
class BubbleChartData : public BarLineScatterCandleBubbleChartData {
 public:
  using BarLineScatterCandleBubbleChartData::BarLineScatterCandleBubbleChartData;

  // Gives every set the width, but only when every set is a bubble data
  // set; otherwise no set changes.
  virtual void setHighlightCircleWidth(double width);
};

}  // namespace chart
