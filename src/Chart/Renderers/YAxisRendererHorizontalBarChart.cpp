#include "Chart/Renderers/YAxisRendererHorizontalBarChart.h"

#include <string>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Utils/ChartUtils.h"
#include "platform/graphics/SavedGraphicsState.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::currentTextMetrics;
using platform::graphics::SavedGraphicsState;

YAxisRendererHorizontalBarChart::YAxisRendererHorizontalBarChart(std::shared_ptr<ViewPortHandler> viewPortHandler,
                                                                 std::shared_ptr<YAxis> yAxis,
                                                                 std::shared_ptr<Transformer> transformer)
    : YAxisRenderer(std::move(viewPortHandler), std::move(yAxis), std::move(transformer)) {}

void YAxisRendererHorizontalBarChart::computeAxis(double min, double max, bool inverted) {
  const auto& t = transformer();
  if (!t) return;
  const ViewPortHandler& handler = *viewPortHandler();
  if (handler.contentHeight() > 10 && !handler.isFullyZoomedOutX()) {
    const Point left = t->valueForTouchPoint(handler.contentLeft(), handler.contentTop());
    const Point right = t->valueForTouchPoint(handler.contentRight(), handler.contentTop());
    min = inverted ? right.x : left.x;
    max = inverted ? left.x : right.x;
  }
  computeAxisValues(min, max);
}

void YAxisRendererHorizontalBarChart::renderAxisLabels(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !y->isEnabled() || !y->isDrawLabelsEnabled()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const double lineHeight = currentTextMetrics().fontLineHeight(y->labelFont());
  const double row = y->axisDependency() == AxisDependency::left ? handler.contentTop() - 2.5 - lineHeight
                                                                  : handler.contentBottom() + 2.5;
  drawYLabels(context, row, transformedPositions(), y->yOffset());
}

void YAxisRendererHorizontalBarChart::drawYLabels(DrawingContext& context, double fixedPosition,
                                                  const std::vector<Point>& positions, double offset) {
  const auto y = yAxis();
  if (!y) return;
  const auto [from, to] = labelIndexRange(*y, static_cast<int64_t>(positions.size()));
  const TextAttributes attributes = labelAttributes(*y);
  for (int64_t i = from; i < to; ++i) {
    const Point point{positions[static_cast<size_t>(i)].x, fixedPosition - offset + y->labelXOffset()};
    ChartUtils::drawText(context, y->getFormattedLabel(i), point, TextAlignment::center, attributes);
  }
}

void YAxisRendererHorizontalBarChart::renderAxisLine(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !y->isEnabled() || !y->drawAxisLineEnabled()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const SavedGraphicsState saved(context);
  setAxisLineStyle(context, *y);
  const double row = y->axisDependency() == AxisDependency::left ? handler.contentTop() : handler.contentBottom();
  strokeLine(context, Point{handler.contentLeft(), row}, Point{handler.contentRight(), row});
}

Rect YAxisRendererHorizontalBarChart::gridClippingRect() const {
  return grownHorizontally(viewPortHandler()->contentRect(), axis() ? axis()->gridLineWidth() : 0);
}

void YAxisRendererHorizontalBarChart::drawGridLine(DrawingContext& context, Point position) {
  const ViewPortHandler& handler = *viewPortHandler();
  strokeLine(context, Point{position.x, handler.contentTop()}, Point{position.x, handler.contentBottom()});
}

std::vector<Point> YAxisRendererHorizontalBarChart::transformedPositions() const { return entriesInPixels(true); }

void YAxisRendererHorizontalBarChart::drawZeroLine(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !transformer() || !y->zeroLineColor()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const SavedGraphicsState saved(context);
  context.clipToRect(grownHorizontally(handler.contentRect(), y->zeroLineWidth()));
  setZeroLineStyle(context, *y);
  const double x = transformer()->pixelForValues(0, 0).x - 1;
  strokeLine(context, Point{x, handler.contentTop()}, Point{x, handler.contentBottom()});
}

void YAxisRendererHorizontalBarChart::renderLimitLines(DrawingContext& context) {
  const auto y = yAxis();
  if (!y || !transformer()) return;
  const auto limitLines = y->limitLines();
  if (limitLines.empty()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const SavedGraphicsState saved(context);
  const AffineTransform matrix = transformer()->valueToPixelMatrix();
  for (const auto& line : limitLines) {
    if (!line || !line->isEnabled()) continue;
    const SavedGraphicsState savedForLine(context);
    context.clipToRect(grownHorizontally(handler.contentRect(), line->lineWidth()));
    const double x = matrix.apply(Point{line->limit(), 0}).x;
    setLimitLineStyle(context, *line);
    strokeLine(context, Point{x, handler.contentTop()}, Point{x, handler.contentBottom()});
    drawVerticalLimitLineLabel(context, *line, x, 2 + line->yOffset());
  }
}

}  // namespace chart
