#include "Chart/Views/BarChartView.h"

#include "Chart/Data/BarChartData.h"
#include "Chart/Highlight/BarHighlighter.h"

namespace chart {

std::shared_ptr<BarChartView> BarChartView::create(const Rect& frame) {
  std::shared_ptr<BarChartView> view(new BarChartView(frame));
  view->setup();
  return view;
}

BarChartView::BarChartView(const Rect& frame) : BarLineChartViewBase(frame) {
  setRenderer(std::make_shared<DataRenderer>(viewPortHandler()));
}

void BarChartView::setup() {
  BarLineChartViewBase::setup();
  setHighlighter(std::make_shared<BarHighlighter>(
      std::weak_ptr<BarChartDataProvider>(std::static_pointer_cast<BarChartView>(shared_from_this()))));
}

std::shared_ptr<BarChartData> BarChartView::barData() const { return std::dynamic_pointer_cast<BarChartData>(data()); }

}  // namespace chart
