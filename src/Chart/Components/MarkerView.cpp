#include "Chart/Components/MarkerView.h"

#include "platform/graphics/SavedGraphicsState.h"

namespace chart {

MarkerView::MarkerView(const Rect& frame) : NSUIView(frame) {}

std::shared_ptr<MarkerView> MarkerView::viewFromXib(const std::filesystem::path&) { return nullptr; }

IChartMarker::Point MarkerView::offsetForDrawing(Point point) {
  const auto view = chartView().lock();
  if (!view) return offset();
  return markerOffsetKeptInside(point, offset(), bounds().size, view->bounds().size);
}

void MarkerView::refreshContent(const ChartDataEntry&, const Highlight&) {}

void MarkerView::draw(platform::graphics::DrawingContext& context, Point point) {
  const Point o = offsetForDrawing(point);
  const platform::graphics::SavedGraphicsState saved(context);
  context.translateBy(point.x + o.x, point.y + o.y);
  // The layer first: its background colour fills the bounds, under the
  // content.
  if (const auto background = backgroundColor()) {
    context.saveGState();
    context.setFillColor(*background);
    context.fillRect(Rect({0, 0}, bounds().size));
    context.restoreGState();
  }
  drawContent(context);
}

void MarkerView::drawContent(platform::graphics::DrawingContext&) {}

}  // namespace chart
