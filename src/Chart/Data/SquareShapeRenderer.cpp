#include "Chart/Data/SquareShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void SquareShapeRenderer::renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                                      const ViewPortHandler&, platform::graphics::Point point,
                                      platform::graphics::Color color) {
  shape_rendering::drawRingOrBlock(context, dataSet, point, color, &platform::graphics::DrawingContext::strokeRect,
                                   &platform::graphics::DrawingContext::fillRect);
}

}  // namespace chart
