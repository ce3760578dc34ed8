#include "Chart/Renderers/YAxisRenderer.h"

#include <algorithm>
#include <string>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Utils/ChartUtils.h"
#include "platform/graphics/SavedGraphicsState.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::currentTextMetrics;
using platform::graphics::SavedGraphicsState;
using platform::graphics::TextAttributes;

YAxisRenderer::YAxisRenderer(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<YAxis> yAxis,
                             std::shared_ptr<Transformer> transformer)
    : AxisRendererBase(std::move(viewPortHandler), std::move(transformer), std::move(yAxis)) {}

void YAxisRenderer::renderAxisLabels(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !y->isEnabled() || !y->isDrawLabelsEnabled()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const double xoffset = y->xOffset();
  const double lineHeight = currentTextMetrics().fontLineHeight(y->labelFont());
  const double yoffset = lineHeight / 2.5 + y->yOffset();

  const bool left = y->axisDependency() == AxisDependency::left;
  const bool outside = y->labelPosition() == YAxis::LabelPosition::outside;
  TextAlignment align;
  double x;
  if (left) {
    align = outside ? TextAlignment::right : TextAlignment::left;
    x = outside ? handler.offsetLeft() - xoffset : handler.offsetLeft() + xoffset;
  } else {
    align = outside ? TextAlignment::left : TextAlignment::right;
    x = outside ? handler.contentRight() + xoffset : handler.contentRight() - xoffset;
  }
  drawYLabels(context, x, transformedPositions(), yoffset - lineHeight, align);
}

void YAxisRenderer::drawYLabels(DrawingContext& context, double fixedPosition, const std::vector<Point>& positions,
                                double offset, TextAlignment textAlign) {
  const auto y = yAxis();
  if (!y) return;
  const auto [from, to] = labelIndexRange(*y, static_cast<int64_t>(positions.size()));
  const TextAttributes attributes = labelAttributes(*y);
  for (int64_t i = from; i < to; ++i) {
    const std::string text = y->getFormattedLabel(i);
    const Point point{fixedPosition + y->labelXOffset(), positions[static_cast<size_t>(i)].y + offset};
    ChartUtils::drawText(context, text, point, textAlign, attributes);
  }
}

std::pair<int64_t, int64_t> YAxisRenderer::labelIndexRange(const YAxis& axis, int64_t positionCount) {
  const int64_t from = axis.isDrawBottomYLabelEntryEnabled() ? 0 : 1;
  const int64_t to = axis.isDrawTopYLabelEntryEnabled() ? axis.entryCount() : axis.entryCount() - 1;
  return {from, std::min(to, positionCount)};
}

TextAttributes YAxisRenderer::labelAttributes(const AxisBase& axis) {
  TextAttributes attributes;
  attributes.font = axis.labelFont();
  attributes.foregroundColor = axis.labelTextColor();
  return attributes;
}

void YAxisRenderer::setZeroLineStyle(DrawingContext& context, const YAxis& axis) {
  context.setStrokeColor(axis.zeroLineColor().value_or(platform::graphics::Color::clear()));
  context.setLineWidth(axis.zeroLineWidth());
  setLineDash(context, axis.zeroLineDashPhase(), axis.zeroLineDashLengths());
}

void YAxisRenderer::renderAxisLine(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !y->isEnabled() || !y->drawAxisLineEnabled()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const SavedGraphicsState saved(context);
  setAxisLineStyle(context, *y);
  const double x = y->axisDependency() == AxisDependency::left ? handler.contentLeft() : handler.contentRight();
  strokeLine(context, Point{x, handler.contentTop()}, Point{x, handler.contentBottom()});
}

void YAxisRenderer::renderGridLines(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !y->isEnabled()) return;
  if (y->drawGridLinesEnabled()) {
    const std::vector<Point> positions = transformedPositions();
    const SavedGraphicsState saved(context);
    context.clipToRect(gridClippingRect());
    setGridLineStyle(context, *y);
    for (const Point& position : positions) drawGridLine(context, position);
  }
  if (y->drawZeroLineEnabled()) drawZeroLine(context);
}

Rect YAxisRenderer::gridClippingRect() const {
  return grownVertically(viewPortHandler()->contentRect(), axis() ? axis()->gridLineWidth() : 0);
}

void YAxisRenderer::drawGridLine(DrawingContext& context, Point position) {
  const ViewPortHandler& handler = *viewPortHandler();
  strokeLine(context, Point{handler.contentLeft(), position.y}, Point{handler.contentRight(), position.y});
}

std::vector<Point> YAxisRenderer::transformedPositions() const { return entriesInPixels(false); }

std::vector<Point> YAxisRenderer::entriesInPixels(bool across) const {
  const auto y = yAxis();
  if (!y || !transformer()) return {};
  std::vector<Point> positions;
  positions.reserve(y->entries().size());
  for (const double entry : y->entries()) positions.push_back(across ? Point{entry, 0} : Point{0, entry});
  transformer()->pointValuesToPixel(positions);
  return positions;
}

void YAxisRenderer::drawZeroLine(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !transformer() || !y->zeroLineColor()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const SavedGraphicsState saved(context);
  context.clipToRect(grownVertically(handler.contentRect(), y->zeroLineWidth()));
  setZeroLineStyle(context, *y);
  const Point pos = transformer()->pixelForValues(0, 0);
  strokeLine(context, Point{handler.contentLeft(), pos.y}, Point{handler.contentRight(), pos.y});
}

void YAxisRenderer::renderLimitLines(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !transformer()) return;
  const auto limitLines = y->limitLines();
  if (limitLines.empty()) return;
  const SavedGraphicsState saved(context);
  const AffineTransform trans = transformer()->valueToPixelMatrix();
  for (const auto& line : limitLines) {
    if (line && line->isEnabled()) renderHorizontalLimitLine(context, *line, trans.apply(Point{0, line->limit()}).y);
  }
}

}  // namespace chart
