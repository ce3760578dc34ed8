#include "Chart/Views/BarChartView.h"

namespace chart {

std::shared_ptr<BarChartView> BarChartView::create(const Rect& frame) {
  std::shared_ptr<BarChartView> view(new BarChartView(frame));
  view->setup();
  return view;
}

BarChartView::BarChartView(const Rect& frame) : BarLineChartViewBase(frame) {
  setRenderer(std::make_shared<DataRenderer>(viewPortHandler()));
}

}  // namespace chart
