#include "Chart/Views/BarChartView.h"

namespace chart {

BarChartView::BarChartView(const Rect& frame) : BarLineChartViewBase(frame) {
  setRenderer(std::make_shared<DataRenderer>(viewPortHandler()));
}

}  // namespace chart
