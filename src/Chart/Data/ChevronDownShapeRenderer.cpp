#include "Chart/Data/ChevronDownShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void ChevronDownShapeRenderer::renderShape(platform::graphics::DrawingContext& context,
                                           const IScatterChartDataSet& dataSet, const ViewPortHandler&,
                                           platform::graphics::Point point, platform::graphics::Color color) {
  const double s = shape_rendering::measure(dataSet).size;
  const double x = point.x;
  const double y = point.y;
  shape_rendering::strokeTwoLines(context, color, {x, y + s}, {x + s, y}, {x, y + s}, {x - s, y});
}

}  // namespace chart
