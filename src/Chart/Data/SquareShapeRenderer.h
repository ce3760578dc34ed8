#pragma once

#include "Chart/Data/IShapeRenderer.h"

namespace chart {

// A square of the shape size, filled; with a hole, a square ring whose
// inner edge is the hole, and the hole filled when the set has a hole colour.
class SquareShapeRenderer : public IShapeRenderer {
 public:
  void renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                   const ViewPortHandler& viewPortHandler, platform::graphics::Point point,
                   platform::graphics::Color color) override;
};

}  // namespace chart
