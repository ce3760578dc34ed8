#pragma once

#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/Geometry.h"

namespace chart {

class ChartDataEntry;
class Highlight;

// The callout a chart view draws at a highlighted value. The view calls
// refreshContent with the value's entry and highlight, then draw at the
// position it computed for it.
struct IChartMarker {
  using Point = platform::graphics::Point;

  virtual ~IChartMarker() = default;
  // Where the marker's top-left corner lies relative to the drawing position.
  virtual Point offset() const = 0;
  // The offset to use at that position, after any corrections.
  virtual Point offsetForDrawing(Point point) = 0;
  virtual void refreshContent(const ChartDataEntry& entry, const Highlight& highlight) = 0;
  virtual void draw(platform::graphics::DrawingContext& context, Point point) = 0;
};

}  // namespace chart
