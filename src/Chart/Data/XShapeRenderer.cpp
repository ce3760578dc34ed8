#include "Chart/Data/XShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void XShapeRenderer::renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                                 const ViewPortHandler&, platform::graphics::Point point,
                                 platform::graphics::Color color) {
  const double h = shape_rendering::measure(dataSet).half;
  shape_rendering::strokeTwoLines(context, color, point, {-h, -h}, {h, h}, {h, -h}, {-h, h});
}

}  // namespace chart
