#pragma once

#include "Chart/Data/IShapeRenderer.h"

namespace chart {

// A chevron pointing down, in 1-point lines: its apex the shape size below
// the point, its ends the shape size to either side on the point's level.
class ChevronDownShapeRenderer : public IShapeRenderer {
 public:
  void renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                   const ViewPortHandler& viewPortHandler, platform::graphics::Point point,
                   platform::graphics::Color color) override;
};

}  // namespace chart
