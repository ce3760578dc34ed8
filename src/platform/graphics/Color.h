#pragma once

namespace platform::graphics {

// A colour in the generic RGB space, components 0...1.
struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;

  static constexpr Color rgb(double r, double g, double b, double a = 1.0) { return Color{r, g, b, a}; }

  // The named colours of the desktop, in its light appearance. The label
  // colour is the text colour of labels: black at 85 % opacity.
  static constexpr Color labelColor() { return Color{0, 0, 0, 0.85}; }
  static constexpr Color black() { return Color{0, 0, 0, 1}; }
  static constexpr Color white() { return Color{1, 1, 1, 1}; }
  static constexpr Color gray() { return Color{0.5, 0.5, 0.5, 1}; }
  static constexpr Color clear() { return Color{0, 0, 0, 0}; }

  // The same colour at another opacity.
  constexpr Color withAlpha(double a) const { return Color{red, green, blue, a}; }

  friend constexpr bool operator==(const Color&, const Color&) = default;
};

}  // namespace platform::graphics
