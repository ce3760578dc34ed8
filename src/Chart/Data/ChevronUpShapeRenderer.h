#pragma once

#include "Chart/Data/IShapeRenderer.h"

namespace chart {

// A chevron pointing up, in 1-point lines: its apex the shape size above the
// point, its ends the shape size to either side on the point's level (twice
// the reach of the cross).
class ChevronUpShapeRenderer : public IShapeRenderer {
 public:
  void renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                   const ViewPortHandler& viewPortHandler, platform::graphics::Point point,
                   platform::graphics::Color color) override;
};

}  // namespace chart
