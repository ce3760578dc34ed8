#pragma once

#include <string>

namespace platform::graphics {

// A font by family name and point size. The system font is DejaVu Sans, the
// one face every machine that renders our charts is sure to have; its
// standard size is that of the desktop's controls.
struct Font {
  static constexpr const char* systemFamily = "DejaVu Sans";
  static constexpr double systemFontSize = 13.0;

  // The sizes text is drawn in, in points (in pixels of a surface that
  // scales them): a larger font is drawn at the largest, a smaller one at
  // the smallest. Text engines refuse fonts far beyond them (FreeType's
  // sizes end at 65536 pixels).
  static constexpr double smallestSize = 1.0 / 64;
  static constexpr double largestSize = 16384;

  std::string family = systemFamily;
  double pointSize = systemFontSize;

  static Font systemFont(double pointSize = systemFontSize) { return Font{systemFamily, pointSize}; }
  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace platform::graphics
