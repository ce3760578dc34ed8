#pragma once

#include <optional>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"

namespace platform::graphics {

// How the lines of a paragraph sit between its left and right edge.
// Justified lines are laid out like left-aligned ones; natural is left for
// the left-to-right scripts we draw.
enum class TextAlignment : int { left = 0, right = 1, center = 2, justified = 3, natural = 4 };

struct ParagraphStyle {
  TextAlignment alignment = TextAlignment::natural;
  friend bool operator==(const ParagraphStyle&, const ParagraphStyle&) = default;
};

// The attributes a string is measured and drawn with. An absent attribute
// takes the default: the system font at its standard size, black, natural
// alignment.
struct TextAttributes {
  std::optional<Font> font;
  std::optional<Color> foregroundColor;
  std::optional<ParagraphStyle> paragraphStyle;

  Font resolvedFont() const { return font.value_or(Font::systemFont()); }
  Color resolvedColor() const { return foregroundColor.value_or(Color::black()); }
  TextAlignment resolvedAlignment() const { return paragraphStyle ? paragraphStyle->alignment : TextAlignment::natural; }

  friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

}  // namespace platform::graphics
