#pragma once

#include <string_view>
#include <vector>

#include "platform/graphics/Color.h"

namespace chart {

// Ready-made colour lists for data sets, and colours written as text.
class ChartColorTemplates {
 public:
  using Color = platform::graphics::Color;

  // Each call makes a new list: five colours, four for material().
  static std::vector<Color> liberty();
  static std::vector<Color> joyful();
  static std::vector<Color> pastel();
  static std::vector<Color> colorful();
  static std::vector<Color> vordiplom();
  static std::vector<Color> material();

  // Case does not matter. The forms, tried in this order:
  //   "#rgb", "#rrggbb", "#aarrggbb": hexadecimal digits; with another
  //     number of digits the colour is opaque black, and any character
  //     other than 0-9 and a-f after the "#" (a space too) gives the clear
  //     colour;
  //   "rgba(r, g, b, a)" and "argb(a, r, g, b)": integers 0...255 and a
  //     decimal alpha 0...1;
  //   "rgb(r, g, b)": opaque.
  // In the last three, a number that cannot be read counts as 0 (alpha as 1);
  // values outside the ranges are kept as given. Any other text gives the
  // clear colour.
  static Color colorFromString(std::string_view text);
};

}  // namespace chart
