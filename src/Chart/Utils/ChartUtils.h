#pragma once

#include <memory>

#include "Chart/Utils/IValueFormatter.h"

namespace chart {

// Helpers shared across the chart library.
class ChartUtils {
 public:
  // The value formatter of every data set that has none of its own: one
  // DefaultValueFormatter with one decimal, made on the first call (once,
  // even when first calls race) and kept for the life of the process.
  static std::shared_ptr<IValueFormatter> defaultValueFormatter();
};

}  // namespace chart
