#pragma once

#include <optional>

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

// The offset that keeps a marker of `size`, drawn at `point`, inside: on each
// axis a corner before 0 moves to 0; otherwise, given the size of the chart
// view's bounds, a marker that reaches past it moves back to end there.
inline platform::graphics::Point markerOffsetKeptInside(platform::graphics::Point point,
                                                        platform::graphics::Point offset,
                                                        platform::graphics::Size size,
                                                        std::optional<platform::graphics::Size> bounds) {
  const auto axis = [](double position, double o, double length, std::optional<double> limit) {
    if (position + o < 0) return -position;
    if (limit && position + length + o > *limit) return *limit - position - length;
    return o;
  };
  return {axis(point.x, offset.x, size.width, bounds ? std::optional(bounds->width) : std::nullopt),
          axis(point.y, offset.y, size.height, bounds ? std::optional(bounds->height) : std::nullopt)};
}

}  // namespace chart
