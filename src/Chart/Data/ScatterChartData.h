#pragma once

#include "Chart/Data/BarLineScatterCandleBubbleChartData.h"

namespace chart {

// The chart data of a scatter chart.
class ScatterChartData : public BarLineScatterCandleBubbleChartData {
 public:
  using BarLineScatterCandleBubbleChartData::BarLineScatterCandleBubbleChartData;

  // The largest shape size among the sets, or 0 when there are none or any
  // set is not a scatter data set.
  virtual double getGreatestShapeSize() const;
};

}  // namespace chart
