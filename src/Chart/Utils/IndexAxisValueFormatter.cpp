#include "Chart/Utils/IndexAxisValueFormatter.h"

#include <cmath>

namespace chart {

std::string IndexAxisValueFormatter::stringForValue(double value, const AxisBase*) {
  // The position is rounded half away from zero; it labels its index only
  // when that is also the position truncated toward zero. Everything is
  // decided on doubles, so NaN, the infinities and huge positions give ""
  // without ever being converted to an integer.
  const double index = std::round(value);
  if (!(index >= 0 && index < static_cast<double>(valueCount_))) return "";
  if (std::trunc(value) != index) return "";
  return values_[static_cast<size_t>(index)];
}

}  // namespace chart
