#include "Chart/Views/HorizontalBarChartView.h"

#include <algorithm>

#include "Chart/Highlight/BarHighlighter.h"
#include "Chart/Renderers/XAxisRendererHorizontalBarChart.h"
#include "Chart/Renderers/YAxisRendererHorizontalBarChart.h"
#include "Chart/Views/LegendRoom.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::currentTextMetrics;

HorizontalBarChartView::HorizontalBarChartView(const Rect& frame)
    : BarChartView(frame),
      leftAxisTransformer_(std::make_shared<TransformerHorizontalBarChart>(viewPortHandler())),
      rightAxisTransformer_(std::make_shared<TransformerHorizontalBarChart>(viewPortHandler())) {
  setLeftYAxisRenderer(
      std::make_shared<YAxisRendererHorizontalBarChart>(viewPortHandler(), leftAxis(), leftAxisTransformer_));
  setRightYAxisRenderer(
      std::make_shared<YAxisRendererHorizontalBarChart>(viewPortHandler(), rightAxis(), rightAxisTransformer_));
}

std::shared_ptr<HorizontalBarChartView> HorizontalBarChartView::create(const Rect& frame) {
  std::shared_ptr<HorizontalBarChartView> view(new HorizontalBarChartView(frame));
  view->setup();
  return view;
}

void HorizontalBarChartView::setup() {
  BarChartView::setup();
  // The x labels' renderer holds the view weakly, so it can only be made once
  // the view is owned.
  const std::weak_ptr<ChartDataProvider> self = std::static_pointer_cast<HorizontalBarChartView>(shared_from_this());
  setXAxisRenderer(
      std::make_shared<XAxisRendererHorizontalBarChart>(viewPortHandler(), xAxis(), leftAxisTransformer_, self));
  setHighlighter(std::make_shared<HorizontalBarHighlighter>(
      std::weak_ptr<BarChartDataProvider>(std::static_pointer_cast<HorizontalBarChartView>(shared_from_this()))));
}

Point HorizontalBarChartView::pixelForValue(double x, double y, AxisDependency axis) const {
  return getTransformer(axis)->pixelForValues(y, x);
}

Point HorizontalBarChartView::xAxisStart(Point across) const {
  return Point{across.x, viewPortHandler()->contentBottom()};
}

Point HorizontalBarChartView::matrixSpacePoint(Point p) const {
  const ViewPortHandler& h = *viewPortHandler();
  const double y = p.y - (h.chartHeight() - h.offsetBottom());
  if (leftAxis()->isInverted()) return Point{(h.chartWidth() - h.offsetRight()) - p.x, y};
  return Point{p.x - h.offsetLeft(), y};
}

std::shared_ptr<Transformer> HorizontalBarChartView::getTransformer(AxisDependency axis) const {
  return axis == AxisDependency::left ? leftAxisTransformer_ : rightAxisTransformer_;
}

void HorizontalBarChartView::calculateOffsets() {
  const XAxis& x = *xAxis();
  const bool xLabels = x.isEnabled() && x.isDrawLabelsEnabled();
  double left = 0;
  double right = 0;
  double top = 0;
  double bottom = 0;
  if (xLabels) {
    using P = XAxis::LabelPosition;
    const P position = x.labelPosition();
    if (position == P::top || position == P::topAndBottom) right = x.labelRotatedWidth();
    if (position == P::bottom || position == P::topAndBottom) left = x.labelRotatedWidth();
    top = bottom = x.labelRotatedHeight() / 2;
  }
  for (const auto& axis : {leftAxis(), rightAxis()}) {
    if (!axis->isEnabled() || !axis->isDrawLabelsEnabled()) continue;
    const double halfLabel = (axis->requiredSize().width - 2 * axis->xOffset()) / 2;
    left = std::max(left, halfLabel);
    right = std::max(right, halfLabel);
    const double lineHeight = currentTextMetrics().fontLineHeight(axis->labelFont());
    if (axis->axisDependency() == AxisDependency::left) {
      top = std::max(top, 2.5 + lineHeight + axis->yOffset() - axis->labelXOffset());
    } else {
      bottom = std::max(bottom, 2.5 + lineHeight - axis->yOffset() + axis->labelXOffset());
    }
  }
  LegendRoom::restrainWithLegend(legend().get(), *viewPortHandler(), left, top, right, bottom);
  prepareTransformers();
}

void HorizontalBarChartView::prepareTransformers() {
  const XAxis& x = *xAxis();
  for (const AxisDependency side : {AxisDependency::right, AxisDependency::left}) {
    const YAxis& axis = *getAxis(side);
    const auto& transformer = getTransformer(side);
    transformer->prepareMatrixValuePx(axis.axisMinimum(), axis.axisRange(), x.axisRange(), x.axisMinimum());
    transformer->prepareMatrixOffset(axis.isInverted());
  }
}

}  // namespace chart
