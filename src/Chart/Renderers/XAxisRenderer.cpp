#include "Chart/Renderers/XAxisRenderer.h"

#include <cmath>
#include <numbers>
#include <string>

#include "Chart/Utils/ChartUtils.h"
#include "platform/graphics/SavedGraphicsState.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::currentTextMetrics;
using platform::graphics::SavedGraphicsState;
using platform::graphics::ParagraphStyle;
using platform::graphics::TextAlignment;

XAxisRenderer::XAxisRenderer(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<XAxis> xAxis,
                             std::shared_ptr<Transformer> transformer)
    : AxisRendererBase(std::move(viewPortHandler), std::move(transformer), std::move(xAxis)) {}

void XAxisRenderer::computeAxis(double min, double max, bool inverted) {
  if (!xAxis()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  if (const auto& t = transformer(); t && handler.contentWidth() > 10 && !handler.isFullyZoomedOutX()) {
    const Point left = t->valueForTouchPoint(handler.contentLeft(), handler.contentTop());
    const Point right = t->valueForTouchPoint(handler.contentRight(), handler.contentTop());
    min = inverted ? right.x : left.x;
    max = inverted ? left.x : right.x;
  }
  computeAxisValues(min, max);
}

void XAxisRenderer::computeAxisValues(double min, double max) {
  if (!xAxis()) return;
  AxisRendererBase::computeAxisValues(min, max);
  computeSize();
}

void XAxisRenderer::computeSize() {
  const auto x = xAxis();
  if (!x) return;
  TextAttributes attributes;
  attributes.font = x->labelFont();
  const Size size = currentTextMetrics().size(x->getLongestLabel(), attributes);
  const double a = x->labelRotationAngle() * std::numbers::pi / 180.0;
  x->setLabelWidth(size.width);
  x->setLabelHeight(size.height);
  x->setLabelRotatedWidth(std::fabs(size.width * std::cos(a)) + std::fabs(size.height * std::sin(a)));
  x->setLabelRotatedHeight(std::fabs(size.width * std::sin(a)) + std::fabs(size.height * std::cos(a)));
}

void XAxisRenderer::renderAxisLabels(DrawingContext& context) {
  const auto x = xAxis();
  if (!x || !x->isEnabled() || !x->isDrawLabelsEnabled()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const double yOffset = x->yOffset();
  const double rotatedHeight = x->labelRotatedHeight();
  switch (x->labelPosition()) {
    case XAxis::LabelPosition::top:
      drawLabels(context, handler.contentTop() - yOffset, Point{0.5, 1.0});
      break;
    case XAxis::LabelPosition::topInside:
      drawLabels(context, handler.contentTop() + yOffset + rotatedHeight, Point{0.5, 1.0});
      break;
    case XAxis::LabelPosition::bottom:
      drawLabels(context, handler.contentBottom() + yOffset, Point{0.5, 0.0});
      break;
    case XAxis::LabelPosition::bottomInside:
      drawLabels(context, handler.contentBottom() - yOffset - rotatedHeight, Point{0.5, 0.0});
      break;
    case XAxis::LabelPosition::topAndBottom:
      drawLabels(context, handler.contentTop() - yOffset, Point{0.5, 1.0});
      drawLabels(context, handler.contentBottom() + yOffset, Point{0.5, 0.0});
      break;
  }
}

void XAxisRenderer::drawLabels(DrawingContext& context, double pos, Point anchor) {
  const auto x = xAxis();
  if (!x || !transformer()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  TextAttributes attributes;
  attributes.font = x->labelFont();
  attributes.foregroundColor = x->labelTextColor();
  attributes.paragraphStyle = ParagraphStyle{TextAlignment::center};

  const double angle = x->labelRotationAngle() * std::numbers::pi / 180.0;
  const bool centering = x->isCenterAxisLabelsEnabled();
  const AffineTransform matrix = transformer()->valueToPixelMatrix();
  double wrapWidth = x->isWordWrapEnabled() ? x->wordWrapWidthPercent() * matrix.a : 0;
  if (!(wrapWidth > 0)) wrapWidth = 0;  // a width that is not a number, or negative, does not wrap
  const Size constraint{wrapWidth, 0};

  const std::vector<double>& entries = x->entries();
  const std::vector<double>& centered = x->centeredEntries();
  const auto count = static_cast<int64_t>(entries.size());
  for (int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<size_t>(i);
    // Before the first computation there may be no centred entry yet.
    const double value = centering && index < centered.size() ? centered[index] : entries[index];
    double px = matrix.apply(Point{value, 0}).x;
    if (!handler.isInBoundsX(px)) continue;

    const std::string label = x->valueFormatter()->stringForValue(entries[index], x.get());
    if (x->isAvoidFirstLastClippingEnabled()) {
      if (i == x->entryCount() - 1 && x->entryCount() > 1) {
        const double width = currentTextMetrics().boundingRect(label, constraint, attributes).size.width;
        if (width > handler.offsetRight() * 2 && px + width > handler.chartWidth()) px -= width / 2;
      } else if (i == 0) {
        const double width = currentTextMetrics().boundingRect(label, constraint, attributes).size.width;
        px += width / 2;
      }
    }
    drawLabel(context, label, px, pos, attributes, constraint, anchor, angle);
  }
}

void XAxisRenderer::drawLabel(DrawingContext& context, std::string_view formattedLabel, double x, double y,
                              const TextAttributes& attributes, Size constrainedToSize, Point anchor,
                              double angleRadians) {
  const Size size = currentTextMetrics().boundingRect(formattedLabel, constrainedToSize, attributes).size;
  ChartUtils::drawMultilineText(context, formattedLabel, size, Point{x, y}, attributes, anchor, angleRadians);
}

void XAxisRenderer::renderAxisLine(DrawingContext& context) {
  const auto x = xAxis();
  if (!x || !x->isEnabled() || !x->isDrawAxisLineEnabled()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const SavedGraphicsState saved(context);
  setAxisLineStyle(context, *x);

  const XAxis::LabelPosition position = x->labelPosition();
  using P = XAxis::LabelPosition;
  const auto strokeAlong = [&](double y) {
    axisLineSegmentsBuffer_[0] = Point{handler.contentLeft(), y};
    axisLineSegmentsBuffer_[1] = Point{handler.contentRight(), y};
    context.strokeLineSegments({axisLineSegmentsBuffer_.begin(), axisLineSegmentsBuffer_.end()});
  };
  if (position == P::top || position == P::topInside || position == P::topAndBottom) strokeAlong(handler.contentTop());
  if (position == P::bottom || position == P::bottomInside || position == P::topAndBottom) {
    strokeAlong(handler.contentBottom());
  }
}

void XAxisRenderer::renderGridLines(DrawingContext& context) {
  const auto x = xAxis();
  if (!x || !transformer() || !x->isDrawGridLinesEnabled() || !x->isEnabled()) return;
  const SavedGraphicsState saved(context);
  context.clipToRect(gridClippingRect());
  setGridLineStyle(context, *x);
  const AffineTransform matrix = transformer()->valueToPixelMatrix();
  for (const double entry : x->entries()) {
    const Point p = matrix.apply(Point{entry, entry});
    drawGridLine(context, p.x, p.y);
  }
}

Rect XAxisRenderer::gridClippingRect() const {
  return grownHorizontally(viewPortHandler()->contentRect(), axis() ? axis()->gridLineWidth() : 0);
}

void XAxisRenderer::drawGridLine(DrawingContext& context, double x, double) {
  const ViewPortHandler& handler = *viewPortHandler();
  if (x < handler.offsetLeft() || x > handler.chartWidth()) return;
  strokeLine(context, Point{x, handler.contentTop()}, Point{x, handler.contentBottom()});
}

void XAxisRenderer::renderLimitLines(DrawingContext& context) {
  const auto x = xAxis();
  if (!x || !transformer()) return;
  const auto limitLines = x->limitLines();
  if (limitLines.empty()) return;
  const AffineTransform matrix = transformer()->valueToPixelMatrix();
  for (const auto& line : limitLines) {
    if (!line || !line->isEnabled()) continue;
    const SavedGraphicsState saved(context);
    context.clipToRect(grownHorizontally(viewPortHandler()->contentRect(), line->lineWidth()));
    const Point position = matrix.apply(Point{line->limit(), 0});
    renderLimitLineLine(context, *line, position);
    renderLimitLineLabel(context, *line, position, 2 + line->yOffset());
  }
}

void XAxisRenderer::renderLimitLineLine(DrawingContext& context, const ChartLimitLine& limitLine, Point position) {
  const ViewPortHandler& handler = *viewPortHandler();
  setLimitLineStyle(context, limitLine);
  strokeLine(context, Point{position.x, handler.contentTop()}, Point{position.x, handler.contentBottom()});
}

void XAxisRenderer::renderLimitLineLabel(DrawingContext& context, const ChartLimitLine& limitLine, Point position,
                                         double yOffset) {
  drawVerticalLimitLineLabel(context, limitLine, position.x, yOffset);
}

}  // namespace chart
