#include "Chart/Data/XShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void XShapeRenderer::renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                                 const ViewPortHandler&, platform::graphics::Point point,
                                 platform::graphics::Color color) {
  const double h = shape_rendering::measure(dataSet).half;
  const double x = point.x;
  const double y = point.y;
  shape_rendering::strokeTwoLines(context, color, {x - h, y - h}, {x + h, y + h}, {x + h, y - h}, {x - h, y + h});
}

}  // namespace chart
