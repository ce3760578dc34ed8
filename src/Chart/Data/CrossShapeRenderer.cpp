#include "Chart/Data/CrossShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void CrossShapeRenderer::renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                                     const ViewPortHandler&, platform::graphics::Point point,
                                     platform::graphics::Color color) {
  const double h = shape_rendering::measure(dataSet).half;
  shape_rendering::strokeTwoLines(context, color, point, {-h, 0}, {h, 0}, {0, -h}, {0, h});
}

}  // namespace chart
