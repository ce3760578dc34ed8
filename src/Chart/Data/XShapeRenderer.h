#pragma once

#include "Chart/Data/IShapeRenderer.h"

namespace chart {

// An X across a square of the shape size, in 1-point lines.
class XShapeRenderer : public IShapeRenderer {
 public:
  void renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                   const ViewPortHandler& viewPortHandler, platform::graphics::Point point,
                   platform::graphics::Color color) override;
};

}  // namespace chart
