#include "Chart/Data/CrossShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void CrossShapeRenderer::renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                                     const ViewPortHandler&, platform::graphics::Point point,
                                     platform::graphics::Color color) {
  const double h = shape_rendering::measure(dataSet).half;
  const double x = point.x;
  const double y = point.y;
  shape_rendering::strokeTwoLines(context, color, {x - h, y}, {x + h, y}, {x, y - h}, {x, y + h});
}

}  // namespace chart
