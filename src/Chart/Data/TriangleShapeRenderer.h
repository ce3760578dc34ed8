#pragma once

#include "Chart/Data/IShapeRenderer.h"

namespace chart {

// A triangle with its apex up, inscribed in a square of the shape size and
// filled; with a hole, only the band around an inner triangle (traced the
// other way round, so the non-zero rule leaves it empty) is filled, and the
// inner triangle too when the set has a hole colour.
class TriangleShapeRenderer : public IShapeRenderer {
 public:
  void renderShape(platform::graphics::DrawingContext& context, const IScatterChartDataSet& dataSet,
                   const ViewPortHandler& viewPortHandler, platform::graphics::Point point,
                   platform::graphics::Color color) override;
};

}  // namespace chart
