#include "Chart/Components/MarkerImage.h"

#include "platform/graphics/SavedGraphicsState.h"

namespace chart {

using platform::graphics::Rect;

MarkerImage::Size MarkerImage::drawingSize() const {
  Size drawn = size();
  const auto& picture = image();
  if (picture && drawn.width == 0) drawn.width = picture->size().width;
  if (picture && drawn.height == 0) drawn.height = picture->size().height;
  return drawn;
}

IChartMarker::Point MarkerImage::offsetForDrawing(Point point) {
  const auto view = chartView().lock();
  return markerOffsetKeptInside(point, offset(), drawingSize(),
                                view ? std::optional(view->bounds().size) : std::nullopt);
}

void MarkerImage::refreshContent(const ChartDataEntry&, const Highlight&) {}

void MarkerImage::draw(platform::graphics::DrawingContext& context, Point point) {
  const auto picture = image();
  if (!picture) return;
  const Point o = offsetForDrawing(point);
  const Size drawn = drawingSize();
  const platform::graphics::SavedGraphicsState saved(context);
  context.drawImage(*picture, Rect(point.x + o.x, point.y + o.y, drawn.width, drawn.height));
}

}  // namespace chart
