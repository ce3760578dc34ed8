#include "Chart/Data/TriangleShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void TriangleShapeRenderer::renderShape(platform::graphics::DrawingContext& context,
                                        const IScatterChartDataSet& dataSet, const ViewPortHandler&,
                                        platform::graphics::Point point, platform::graphics::Color color) {
  const auto m = shape_rendering::measure(dataSet);
  const double h = m.half;
  const double w = m.ringWidth;
  const double x = point.x;
  const double y = point.y;
  context.setFillColor(color);
  context.beginPath();
  context.moveTo({x, y - h});
  context.addLineTo({x + h, y + h});
  context.addLineTo({x - h, y + h});
  if (m.holeDiameter > 0) {
    context.addLineTo({x, y - h});
    context.moveTo({x - h + w, y + h - w});
    context.addLineTo({x + h - w, y + h - w});
    context.addLineTo({x, y - h + w});
    context.addLineTo({x - h + w, y + h - w});
  }
  context.closePath();
  context.fillPath();
  if (m.holeDiameter > 0) {
    if (const auto holeColor = dataSet.scatterShapeHoleColor()) {
      context.setFillColor(*holeColor);
      context.beginPath();
      context.moveTo({x, y - h + w});
      context.addLineTo({x + h - w, y + h - w});
      context.addLineTo({x - h + w, y + h - w});
      context.closePath();
      context.fillPath();
    }
  }
}

}  // namespace chart
