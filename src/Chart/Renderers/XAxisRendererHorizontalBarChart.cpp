#include "Chart/Renderers/XAxisRendererHorizontalBarChart.h"

#include <cmath>
#include <numbers>
#include <string>

#include "Chart/Utils/ChartUtils.h"
#include "platform/graphics/SavedGraphicsState.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::currentTextMetrics;
using platform::graphics::SavedGraphicsState;

XAxisRendererHorizontalBarChart::XAxisRendererHorizontalBarChart(std::shared_ptr<ViewPortHandler> viewPortHandler,
                                                                 std::shared_ptr<XAxis> xAxis,
                                                                 std::shared_ptr<Transformer> transformer,
                                                                 std::weak_ptr<ChartDataProvider> chart)
    : XAxisRenderer(std::move(viewPortHandler), std::move(xAxis), std::move(transformer)) {
  storeWeakly(chart_, std::move(chart), "XAxisRendererHorizontalBarChart", "chart");
}

void XAxisRendererHorizontalBarChart::computeAxis(double min, double max, bool inverted) {
  // The base's vertical reading: the value at the content's bottom edge is
  // the minimum.
  if (xAxis()) AxisRendererBase::computeAxis(min, max, inverted);
}

void XAxisRendererHorizontalBarChart::computeSize() {
  const auto x = xAxis();
  if (!x) return;
  XAxisRenderer::computeSize();
  const double room = 3.5 * x->xOffset();
  x->setLabelWidth(std::floor(x->labelWidth() + room));
  x->setLabelRotatedWidth(std::round(x->labelRotatedWidth() + room));
  x->setLabelRotatedHeight(std::round(x->labelRotatedHeight()));
}

void XAxisRendererHorizontalBarChart::renderAxisLabels(DrawingContext& context) {
  const auto x = xAxis();
  if (!x || !x->isEnabled() || !x->isDrawLabelsEnabled()) return;
  const auto view = chart();
  if (!view || !view->data()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const double xo = x->xOffset();
  using P = XAxis::LabelPosition;
  switch (x->labelPosition()) {
    case P::top:
      drawLabels(context, handler.contentRight() + xo, Point{0.0, 0.5});
      break;
    case P::topInside:
      drawLabels(context, handler.contentRight() - xo, Point{1.0, 0.5});
      break;
    case P::bottom:
      drawLabels(context, handler.contentLeft() - xo, Point{1.0, 0.5});
      break;
    case P::bottomInside:
      drawLabels(context, handler.contentLeft() + xo, Point{0.0, 0.5});
      break;
    case P::topAndBottom:
      drawLabels(context, handler.contentRight() + xo, Point{0.0, 0.5});
      drawLabels(context, handler.contentLeft() - xo, Point{1.0, 0.5});
      break;
  }
}

void XAxisRendererHorizontalBarChart::drawLabels(DrawingContext& context, double pos, Point anchor) {
  const auto x = xAxis();
  if (!x || !transformer()) return;
  TextAttributes attributes;
  attributes.font = x->labelFont();
  attributes.foregroundColor = x->labelTextColor();
  const double angle = x->labelRotationAngle() * std::numbers::pi / 180.0;
  const bool centering = x->isCenterAxisLabelsEnabled();
  const std::vector<double>& entries = x->entries();
  const std::vector<double>& centered = x->centeredEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    // Before the first computation there may be no centred entry yet.
    Point p{0, centering && i < centered.size() ? centered[i] : entries[i]};
    transformer()->pointValueToPixel(p);
    if (!viewPortHandler()->isInBoundsY(p.y)) continue;
    const std::string label = x->valueFormatter()->stringForValue(entries[i], x.get());
    drawLabel(context, label, pos, p.y, attributes, anchor, angle);
  }
}

void XAxisRendererHorizontalBarChart::drawLabel(DrawingContext& context, std::string_view formattedLabel, double x,
                                                double y, const TextAttributes& attributes, Point anchor,
                                                double angleRadians) {
  ChartUtils::drawText(context, formattedLabel, Point{x, y}, attributes, anchor, angleRadians);
}

Rect XAxisRendererHorizontalBarChart::gridClippingRect() const {
  return grownVertically(viewPortHandler()->contentRect(), axis() ? axis()->gridLineWidth() : 0);
}

void XAxisRendererHorizontalBarChart::drawGridLine(DrawingContext& context, double, double y) {
  const ViewPortHandler& handler = *viewPortHandler();
  if (!handler.isInBoundsY(y)) return;
  strokeLine(context, Point{handler.contentLeft(), y}, Point{handler.contentRight(), y});
}

void XAxisRendererHorizontalBarChart::renderAxisLine(DrawingContext& context) {
  const auto x = xAxis();
  if (!x || !x->isEnabled() || !x->isDrawAxisLineEnabled()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const SavedGraphicsState saved(context);
  setAxisLineStyle(context, *x);
  using P = XAxis::LabelPosition;
  const P position = x->labelPosition();
  if (position == P::top || position == P::topInside || position == P::topAndBottom) {
    strokeLine(context, Point{handler.contentRight(), handler.contentTop()},
               Point{handler.contentRight(), handler.contentBottom()});
  }
  if (position == P::bottom || position == P::bottomInside || position == P::topAndBottom) {
    strokeLine(context, Point{handler.contentLeft(), handler.contentTop()},
               Point{handler.contentLeft(), handler.contentBottom()});
  }
}

void XAxisRendererHorizontalBarChart::renderLimitLines(DrawingContext& context) {
  const auto x = xAxis();
  if (!x || !transformer()) return;
  // Each line saves and restores the state itself: no lines, nothing drawn.
  const AffineTransform matrix = transformer()->valueToPixelMatrix();
  for (const auto& line : x->limitLines()) {
    if (line && line->isEnabled()) renderHorizontalLimitLine(context, *line, matrix.apply(Point{0, line->limit()}).y);
  }
}

}  // namespace chart
