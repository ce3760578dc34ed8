#pragma once

#include "Chart/Data/IShapeRenderer.h"

namespace chart {

// A circle whose diameter is the shape size, filled; with a hole, a ring
// whose inner edge is the hole, and the hole filled when the set has a hole
// colour.
class CircleShapeRenderer : public IShapeRenderer {
 public:
  void renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                   const ViewPortHandler& viewPortHandler, platform::graphics::Point point,
                   platform::graphics::Color color) override;
};

}  // namespace chart
