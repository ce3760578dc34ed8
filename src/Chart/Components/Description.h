#pragma once

#include <optional>
#include <string>

#include "Chart/Components/ComponentBase.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextAttributes.h"

namespace chart {

// The chart's description text. The chart view draws it when it is enabled
// and not empty: at `position`, or, without one, at the content's
// bottom-right corner moved in by the offsets.
class Description : public ComponentBase {
 public:
  using Color = platform::graphics::Color;
  using Font = platform::graphics::Font;
  using Point = platform::graphics::Point;
  using TextAlignment = platform::graphics::TextAlignment;

  virtual const std::optional<std::string>& text() const { return text_; }
  virtual void setText(std::optional<std::string> text) { text_ = std::move(text); }
  virtual const std::optional<Point>& position() const { return position_; }
  virtual void setPosition(std::optional<Point> position) { position_ = position; }
  virtual TextAlignment textAlign() const { return textAlign_; }
  virtual void setTextAlign(TextAlignment align) { textAlign_ = align; }
  virtual const Font& font() const { return font_; }
  virtual void setFont(Font font) { font_ = std::move(font); }
  virtual Color textColor() const { return textColor_; }
  virtual void setTextColor(const Color& color) { textColor_ = color; }

 private:
  std::optional<std::string> text_;
  std::optional<Point> position_;
  TextAlignment textAlign_ = TextAlignment::right;
  Font font_ = Font::systemFont();
  Color textColor_ = Color::labelColor();
};

}  // namespace chart
