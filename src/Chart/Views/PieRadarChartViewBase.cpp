#include "Chart/Views/PieRadarChartViewBase.h"

#include <cmath>

namespace chart {

void PieRadarChartViewBase::setRotationAngle(double degrees) {
  if (!std::isfinite(degrees)) return;
  double angle = std::fmod(degrees, 360.0);
  if (angle < 0) angle += 360.0;
  // A tiny negative angle comes back as 360 itself.
  if (angle >= 360.0) angle = 0;
  rotationAngle_ = angle == 0 ? 0.0 : angle;
}

}  // namespace chart
