#include "platform/cairo/CairoTextMetrics.h"

#include <cairo-ft.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/graphics/DrawingContext.h"
#include "platform/text/Text.h"

namespace platform::cairo {

using graphics::Font;
using graphics::Rect;
using graphics::Size;
using graphics::TextAttributes;

double selectFont(cairo_t* cr, const Font& font) {
  const std::optional<Font> drawn = graphics::drawableFont(font);
  if (!drawn) return 0;
  // The size Cairo hands the font engine is the one on the surface: keep it
  // in range through the transformation too (its larger scale).
  double xx = 1, xy = 0, yx = 0, yy = 1;
  cairo_user_to_device_distance(cr, &xx, &xy);
  cairo_user_to_device_distance(cr, &yx, &yy);
  const double scale = std::max(std::hypot(xx, xy), std::hypot(yx, yy));
  double size = drawn->pointSize;
  if (size * scale > Font::largestSize) size = Font::largestSize / scale;
  if (size * scale < Font::smallestSize) size = Font::smallestSize / scale;
  if (!(std::isfinite(size) && size > 0)) return 0;
  cairo_select_font_face(cr, drawn->family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  return size;
}

CairoTextMetrics::CairoTextMetrics()
    : scratchSurface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1)), scratch_(cairo_create(scratchSurface_)) {}

CairoTextMetrics::~CairoTextMetrics() {
  cairo_destroy(scratch_);
  cairo_surface_destroy(scratchSurface_);
}

bool CairoTextMetrics::measuresLike(const graphics::TextMetrics& other) const {
  return dynamic_cast<const CairoTextMetrics*>(&other) != nullptr;
}

double CairoTextMetrics::advance(std::string_view line, const Font& font) const {
  const std::lock_guard<std::recursive_mutex> lock(scratchInUse_);
  if (line.empty() || !text::isValidUtf8(line) || selectFont(scratch_, font) == 0) return 0;
  const std::string text(line);
  cairo_text_extents_t extents;
  cairo_text_extents(scratch_, text.c_str(), &extents);
  return extents.x_advance;
}

double CairoTextMetrics::ascent(const Font& font) const {
  const std::lock_guard<std::recursive_mutex> lock(scratchInUse_);
  if (selectFont(scratch_, font) == 0) return 0;
  cairo_font_extents_t extents;
  cairo_font_extents(scratch_, &extents);
  return extents.ascent;
}

double CairoTextMetrics::lineSpacing(const Font& font) const {
  const std::lock_guard<std::recursive_mutex> lock(scratchInUse_);
  if (selectFont(scratch_, font) == 0) return 0;
  cairo_font_extents_t extents;
  cairo_font_extents(scratch_, &extents);
  return extents.height;
}

std::vector<std::string> CairoTextMetrics::lines(std::string_view text, double maxWidth, const Font& font) const {
  const std::lock_guard<std::recursive_mutex> lock(scratchInUse_);
  if (!text::isValidUtf8(text)) return {};
  return graphics::breakLines(text, maxWidth, [&](std::string_view line) { return advance(line, font); });
}

Size CairoTextMetrics::size(std::string_view text, const TextAttributes& attributes) const {
  return boundingRect(text, Size{0, 0}, attributes).size;
}

Rect CairoTextMetrics::boundingRect(std::string_view text, Size constraint, const TextAttributes& attributes) const {
  const std::lock_guard<std::recursive_mutex> lock(scratchInUse_);
  const Font font = attributes.resolvedFont();
  const std::vector<std::string> laidOut = lines(text, constraint.width, font);
  double widest = 0;
  for (const std::string& line : laidOut) widest = std::max(widest, advance(line, font));
  return Rect(0, 0, widest, lineSpacing(font) * static_cast<double>(laidOut.size()));
}

double CairoTextMetrics::fontLineHeight(const Font& font) const {
  const std::lock_guard<std::recursive_mutex> lock(scratchInUse_);
  const double size = selectFont(scratch_, font);
  if (size == 0) return 0;
  cairo_scaled_font_t* scaled = cairo_get_scaled_font(scratch_);
  if (cairo_scaled_font_get_type(scaled) == CAIRO_FONT_TYPE_FT) {
    if (FT_Face face = cairo_ft_scaled_font_lock_face(scaled)) {
      double height = -1;
      if (face->units_per_EM > 0)
        height = static_cast<double>(face->bbox.yMax - face->bbox.yMin) / face->units_per_EM * size;
      cairo_ft_scaled_font_unlock_face(scaled);
      if (height >= 0) return height;
    }
  }
  // A font without a face to ask: its ascent and descent.
  cairo_font_extents_t extents;
  cairo_font_extents(scratch_, &extents);
  return extents.ascent + extents.descent;
}

}  // namespace platform::cairo
