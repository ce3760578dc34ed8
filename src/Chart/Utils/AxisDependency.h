#pragma once

#include <optional>

namespace chart {

// The side on which a y axis stands, and against which a data set or a
// highlight is plotted. YAxis names it YAxis::AxisDependency.
enum class AxisDependency : int { left = 0, right = 1 };

constexpr std::optional<AxisDependency> axisDependencyFromRaw(int raw) {
  if (raw == 0 || raw == 1) return static_cast<AxisDependency>(raw);
  return std::nullopt;
}

}  // namespace chart
