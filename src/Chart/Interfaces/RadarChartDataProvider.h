#pragma once

#include <cmath>
#include <numbers>

#include "Chart/Interfaces/ChartDataProvider.h"
#include "platform/graphics/Geometry.h"

namespace chart {

// What the radar chart view offers to the renderers that draw around its
// web: the polar geometry in which every spoke, ring, label and limit line
// is placed.
class RadarChartDataProvider : public virtual ChartDataProvider {
 public:
  // Degrees between two spokes: 360 over the entry count of the largest
  // data set.
  virtual double sliceAngle() const = 0;
  // Pixels per value unit along a spoke.
  virtual double factor() const = 0;
  // The y axis's range: the value the outermost ring stands for, counted
  // from chartYMin().
  virtual double yRange() const = 0;
  // Degrees from which the first spoke leaves the centre.
  virtual double rotationAngle() const = 0;
  // The web's centre in view pixels.
  virtual platform::graphics::Point centerOffsets() const = 0;
};

// The point `distance` pixels from the centre at `degrees` (0 to the right,
// growing clockwise on screen, as y grows downward).
inline platform::graphics::Point radarPoint(platform::graphics::Point centre, double distance, double degrees) {
  const double radians = degrees * std::numbers::pi / 180.0;
  return platform::graphics::Point{centre.x + distance * std::cos(radians), centre.y + distance * std::sin(radians)};
}

}  // namespace chart
