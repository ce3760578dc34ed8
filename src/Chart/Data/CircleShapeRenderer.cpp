#include "Chart/Data/CircleShapeRenderer.h"

#include "Chart/Data/ShapeRendering.h"

namespace chart {

void CircleShapeRenderer::renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                                      const ViewPortHandler&, platform::graphics::Point point,
                                      platform::graphics::Color color) {
  shape_rendering::drawRingOrBlock(context, dataSet, point, color,
                                   &platform::graphics::DrawingContext::strokeEllipseInRect,
                                   &platform::graphics::DrawingContext::fillEllipseInRect);
}

}  // namespace chart
