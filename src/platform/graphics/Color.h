#pragma once

namespace platform::graphics {

// A colour in the generic RGB space, components 0...1.
struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;

  static constexpr Color rgb(double r, double g, double b, double a = 1.0) { return Color{r, g, b, a}; }
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

}  // namespace platform::graphics
