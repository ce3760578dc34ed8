#pragma once

#include "Chart/Views/BarLineChartViewBase.h"

namespace chart {

// A bar chart: a bar-line chart whose data renderer starts as the plain
// DataRenderer (which draws no data) until the bar renderer takes its place.
class BarChartView : public BarLineChartViewBase {
 public:
  static std::shared_ptr<BarChartView> create(const Rect& frame);

 protected:
  explicit BarChartView(const Rect& frame);
};

}  // namespace chart
