#include "Chart/Renderers/YAxisRenderer.h"

#include <algorithm>
#include <string>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Utils/ChartUtils.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::currentTextMetrics;
using platform::graphics::TextAttributes;

namespace {

// The content rectangle grown by `width`, half above and half below.
Rect grownVertically(Rect rect, double width) {
  rect.origin.y -= width / 2;
  rect.size.height += width;
  return rect;
}

}  // namespace

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
  const int64_t from = y->isDrawBottomYLabelEntryEnabled() ? 0 : 1;
  int64_t to = y->isDrawTopYLabelEntryEnabled() ? y->entryCount() : y->entryCount() - 1;
  to = std::min(to, static_cast<int64_t>(positions.size()));
  TextAttributes attributes;
  attributes.font = y->labelFont();
  attributes.foregroundColor = y->labelTextColor();
  for (int64_t i = from; i < to; ++i) {
    const std::string text = y->getFormattedLabel(i);
    const Point point{fixedPosition + y->labelXOffset(), positions[static_cast<size_t>(i)].y + offset};
    ChartUtils::drawText(context, text, point, textAlign, attributes);
  }
}

void YAxisRenderer::renderAxisLine(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !y->isEnabled() || !y->drawAxisLineEnabled()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  context.saveGState();
  setAxisLineStyle(context, *y);
  const double x = y->axisDependency() == AxisDependency::left ? handler.contentLeft() : handler.contentRight();
  strokeLine(context, Point{x, handler.contentTop()}, Point{x, handler.contentBottom()});
  context.restoreGState();
}

void YAxisRenderer::renderGridLines(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !y->isEnabled()) return;
  if (y->drawGridLinesEnabled()) {
    const std::vector<Point> positions = transformedPositions();
    context.saveGState();
    context.clipToRect(gridClippingRect());
    setGridLineStyle(context, *y);
    for (const Point& position : positions) drawGridLine(context, position);
    context.restoreGState();
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

std::vector<Point> YAxisRenderer::transformedPositions() const {
  const auto y = yAxis();
  if (!y || !transformer()) return {};
  std::vector<Point> positions;
  positions.reserve(y->entries().size());
  for (const double entry : y->entries()) positions.push_back(Point{0, entry});
  transformer()->pointValuesToPixel(positions);
  return positions;
}

void YAxisRenderer::drawZeroLine(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !transformer() || !y->zeroLineColor()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  context.saveGState();
  context.clipToRect(grownVertically(handler.contentRect(), y->zeroLineWidth()));
  context.setStrokeColor(*y->zeroLineColor());
  context.setLineWidth(y->zeroLineWidth());
  const Point pos = transformer()->pixelForValues(0, 0);
  setLineDash(context, y->zeroLineDashPhase(), y->zeroLineDashLengths());
  strokeLine(context, Point{handler.contentLeft(), pos.y}, Point{handler.contentRight(), pos.y});
  context.restoreGState();
}

void YAxisRenderer::renderLimitLines(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !transformer()) return;
  const auto limitLines = y->limitLines();
  if (limitLines.empty()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  context.saveGState();
  const AffineTransform trans = transformer()->valueToPixelMatrix();
  for (const auto& line : limitLines) {
    if (!line || !line->isEnabled()) continue;
    context.saveGState();
    context.clipToRect(grownVertically(handler.contentRect(), line->lineWidth()));
    const Point position = trans.apply(Point{0, line->limit()});
    setLimitLineStyle(context, *line);
    strokeLine(context, Point{handler.contentLeft(), position.y}, Point{handler.contentRight(), position.y});

    if (line->drawLabelEnabled() && !line->label().empty()) {
      const double lineHeight = currentTextMetrics().fontLineHeight(line->valueFont());
      const double xo = 4 + line->xOffset();
      const double yo = line->lineWidth() + lineHeight + line->yOffset();
      using P = ChartLimitLine::LabelPosition;
      const P where = line->labelPosition();
      const bool right = where == P::topRight || where == P::bottomRight;
      const bool top = where == P::topRight || where == P::topLeft;
      const Point point{right ? handler.contentRight() - xo : handler.contentLeft() + xo,
                        top ? position.y - yo : position.y + yo - lineHeight};
      TextAttributes attributes;
      attributes.font = line->valueFont();
      attributes.foregroundColor = line->valueTextColor();
      ChartUtils::drawText(context, line->label(), point, right ? TextAlignment::right : TextAlignment::left,
                           attributes);
    }
    context.restoreGState();
  }
  context.restoreGState();
}

}  // namespace chart
