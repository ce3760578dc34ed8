#pragma once

#include "Chart/Views/ChartViewBase.h"

namespace chart {

// The base of the charts drawn around a centre (pie and radar): it keeps
// the chart's rotation.
class PieRadarChartViewBase : public ChartViewBase {
 public:
  using ChartViewBase::ChartViewBase;

  // Degrees, within [0, 360); 270 (straight up) at first.
  virtual double rotationAngle() const { return rotationAngle_; }
  // Stores the angle brought into [0, 360); an angle that is not a finite
  // number has no place on the circle and is ignored.
  virtual void setRotationAngle(double degrees);

 private:
  double rotationAngle_ = 270;
};

}  // namespace chart
