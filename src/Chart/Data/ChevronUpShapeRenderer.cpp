#include "Chart/Data/ChevronUpShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void ChevronUpShapeRenderer::renderShape(platform::graphics::DrawingContext& context,
                                         const IScatterChartDataSet& dataSet, const ViewPortHandler&,
                                         platform::graphics::Point point, platform::graphics::Color color) {
  const double s = shape_rendering::measure(dataSet).size;
  shape_rendering::strokeTwoLines(context, color, point, {0, -s}, {s, 0}, {0, -s}, {-s, 0});
}

}  // namespace chart
