#include "linearization/InkColors.h"

#include <string>
#include <utility>

namespace linearization {

using platform::graphics::Color;

const std::array<Color, 11>& inkChannelColors() {
  static const std::array<Color, 11> colors = {
      Color::rgb(0.0, 0.0, 0.0),   // K (and MK)
      Color::rgb(0.1, 1.0, 1.0),   // C
      Color::rgb(1.0, 0.1, 1.0),   // M
      Color::rgb(1.0, 1.0, 0.0),   // Y
      Color::rgb(0.6, 1.0, 1.0),   // LC
      Color::rgb(1.0, 0.6, 1.0),   // LM
      Color::rgb(0.5, 0.5, 0.5),   // LK
      Color::rgb(0.7, 0.7, 0.7),   // LLK
      Color::rgb(1.0, 0.65, 0.0),  // OR
      Color::rgb(0.2, 1.0, 0.2),   // GR
      Color::rgb(0.5, 0.0, 1.0),   // V
  };
  return colors;
}

Color inkChannelColorAt(int64_t position) {
  if (position < 0 || position >= static_cast<int64_t>(inkChannelColors().size())) return inkChannelColors()[0];
  return inkChannelColors()[static_cast<size_t>(position)];
}

Color inkColorForCurveName(std::string_view markerLine) {
  static const std::pair<const char*, int> keys[] = {
      {"#kcurve", 0},  {"#ccurve", 1},  {"#mcurve", 2},   {"#ycurve", 3},  {"#lccurve", 4},  {"#lmcurve", 5},
      {"#lkcurve", 6}, {"#llkcurve", 7}, {"#orcurve", 8}, {"#grcurve", 9}, {"#mkcurve", 0}, {"#vcurve", 10},
  };
  std::string key;
  for (char c : markerLine) {
    if (c == ' ') continue;
    // Every key is ASCII, so ASCII lower-casing decides equality.
    key.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
  }
  for (const auto& [k, position] : keys)
    if (key == k) return inkChannelColors()[static_cast<size_t>(position)];
  return inkChannelColors()[0];
}

}  // namespace linearization
