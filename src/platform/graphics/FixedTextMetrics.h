#pragma once

#include "platform/graphics/TextMetrics.h"

namespace platform::graphics {

// Font-free metrics for tests, so that no result depends on the installed
// fonts. For a font of point size s: every code point advances 0.6·s, a line
// is 1.2·s high, and the font's bounding box is 1.3·s high (deliberately not
// the line spacing, so a renderer that takes the wrong one is caught).
class FixedTextMetrics : public TextMetrics {
 public:
  static constexpr double advanceFactor = 0.6;
  static constexpr double lineFactor = 1.2;
  static constexpr double boundingBoxFactor = 1.3;

  Size size(std::string_view text, const TextAttributes& attributes) const override;
  Rect boundingRect(std::string_view text, Size constraint, const TextAttributes& attributes) const override;
  double fontLineHeight(const Font& font) const override;
};

}  // namespace platform::graphics
