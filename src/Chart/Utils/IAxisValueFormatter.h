#pragma once

#include <string>

namespace chart {

class AxisBase;

// Turns a position on an axis into its label.
struct IAxisValueFormatter {
  virtual ~IAxisValueFormatter() = default;
  // The axis may be absent.
  virtual std::string stringForValue(double value, const AxisBase* axis) = 0;
};

}  // namespace chart
