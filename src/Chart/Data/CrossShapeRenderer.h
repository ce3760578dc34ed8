#pragma once

#include "Chart/Data/IShapeRenderer.h"

namespace chart {

// A plus sign as wide and as high as the shape size, in 1-point lines.
class CrossShapeRenderer : public IShapeRenderer {
 public:
  void renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                   const ViewPortHandler& viewPortHandler, platform::graphics::Point point,
                   platform::graphics::Color color) override;
};

}  // namespace chart
