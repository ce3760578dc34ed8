#pragma once

namespace platform::graphics {

// A point in a drawing's coordinate space.
struct Point {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

}  // namespace platform::graphics
