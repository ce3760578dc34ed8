#include "Chart/Views/LineChartView.h"

namespace chart {

std::shared_ptr<LineChartView> LineChartView::create(const Rect& frame) {
  std::shared_ptr<LineChartView> view(new LineChartView(frame));
  view->setup();
  return view;
}

LineChartView::LineChartView(const Rect& frame) : BarLineChartViewBase(frame) {
  setRenderer(std::make_shared<DataRenderer>(viewPortHandler()));
}

std::shared_ptr<LineChartData> LineChartView::lineData() const {
  return std::dynamic_pointer_cast<LineChartData>(data());
}

}  // namespace chart
