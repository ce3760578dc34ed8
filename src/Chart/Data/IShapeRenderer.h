#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

namespace platform::graphics {
class DrawingContext;
}

namespace chart {

class ViewPortHandler;
struct IScatterChartDataSet;

// Draws the shape that a scatter chart puts at each entry. The renderer sets
// the colours and line width it needs and leaves them set: whoever calls it
// saves and restores the graphics state around it.
struct IShapeRenderer {
  virtual ~IShapeRenderer() = default;

  // One shape centred on `point` (in pixels), sized by the set's shape size
  // and hole settings, in `color`.
  virtual void renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                           const ViewPortHandler& viewPortHandler, platform::graphics::Point point,
                           platform::graphics::Color color) = 0;
};

}  // namespace chart
