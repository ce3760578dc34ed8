#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace chart {

// Thins a polyline with the Douglas-Peucker method. Both reductions answer a
// new list holding a subset of the points in their input order, always with
// the first and the last point.
//
// A point's distance is measured from the line through the two ends of the
// span it lies in. Where the two ends coincide (a closed outline that comes
// back to its start) there is no such line and the distance to that end
// point is taken instead.
class DataApproximator {
 public:
  using Point = platform::graphics::Point;

  // Keeps every point that lies farther than `tolerance` from the thinned
  // line around it. A tolerance of 0 or less, or fewer than 3 points, gives
  // the points unchanged. Runs in constant stack depth whatever the shape.
  static std::vector<Point> reduceWithDouglasPeuker(const std::vector<Point>& points, double tolerance);

  // Keeps at most `resultCount` points, taking the farthest remaining point
  // first (among spans whose farthest points lie equally far, the span split
  // off last goes first). Stops early when every remaining point lies on its
  // line. A count below 3, or no more points than the count, gives the
  // points unchanged.
  static std::vector<Point> reduceWithDouglasPeukerN(const std::vector<Point>& points, int64_t resultCount);
};

}  // namespace chart
