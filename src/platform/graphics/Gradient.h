#pragma once

#include <vector>

#include "platform/graphics/Color.h"

namespace platform::graphics {

// One colour of a gradient at its location along the gradient's axis, 0 at
// the start and 1 at the end.
struct GradientStop {
  Color color;
  double location = 0;
  friend constexpr bool operator==(const GradientStop&, const GradientStop&) = default;
};

// A colour gradient: colours at locations, in order of location. Between two
// stops the colour blends linearly; before the first and after the last the
// end colours hold.
struct Gradient {
  std::vector<GradientStop> stops;
  friend bool operator==(const Gradient&, const Gradient&) = default;
};

}  // namespace platform::graphics
