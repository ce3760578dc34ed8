#pragma once

#include <optional>

namespace chart {

// The shape a legend entry draws beside its label. Every data set carries
// one, so it lives apart from the legend, which names it Legend::Form.
// `default_` is the legend's own form (`default` is a C++ keyword).
enum class LegendForm : int { none = 0, empty = 1, default_ = 2, square = 3, circle = 4, line = 5 };

constexpr std::optional<LegendForm> legendFormFromRaw(int raw) {
  if (raw >= 0 && raw <= 5) return static_cast<LegendForm>(raw);
  return std::nullopt;
}

}  // namespace chart
