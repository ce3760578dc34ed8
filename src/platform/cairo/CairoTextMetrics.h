#pragma once

#include <mutex>

#include "platform/graphics/TextMetrics.h"

struct _cairo;
struct _cairo_surface;

namespace platform::cairo {

// Text measured with Cairo's toy font API, as CairoContext draws it: a line's
// width is the text's advance, lines are the font's line spacing apart, and
// the font's line height is the height of its bounding box. Text that is not
// valid UTF-8 is neither measured (0, 0) nor drawn; fonts are measured as
// they are drawn (see selectFont). Any thread may measure with it: the
// scratch context it measures on is used by one call at a time.
class CairoTextMetrics : public graphics::TextMetrics {
 public:
  CairoTextMetrics();
  ~CairoTextMetrics() override;
  CairoTextMetrics(const CairoTextMetrics&) = delete;
  CairoTextMetrics& operator=(const CairoTextMetrics&) = delete;

  graphics::Size size(std::string_view text, const graphics::TextAttributes& attributes) const override;
  graphics::Rect boundingRect(std::string_view text, graphics::Size constraint,
                              const graphics::TextAttributes& attributes) const override;
  double fontLineHeight(const graphics::Font& font) const override;
  // All Cairo metrics measure alike: with the same fonts, through Cairo's
  // process-wide font caches.
  bool measuresLike(const graphics::TextMetrics& other) const override;

  // The lines of the text as they are drawn within `maxWidth` (see
  // TextMetrics::boundingRect), and each line's advance.
  std::vector<std::string> lines(std::string_view text, double maxWidth, const graphics::Font& font) const;
  double advance(std::string_view line, const graphics::Font& font) const;
  // The distance from a line's top to its baseline, and from one line's top
  // to the next.
  double ascent(const graphics::Font& font) const;
  double lineSpacing(const graphics::Font& font) const;

 private:
  _cairo_surface* scratchSurface_;
  _cairo* scratch_;
  // Held by each public call; they call each other.
  mutable std::recursive_mutex scratchInUse_;
};

// Selects the font on the context as graphics::drawableFont makes it, its
// size on the surface (through the context's transformation) kept within
// Font::smallestSize...Font::largestSize, and returns the point size
// selected; 0, and nothing selected, when the size is not a positive number.
// Cairo refuses larger fonts for good: the context and, through its
// process-wide font caches, every later one would draw no text.
double selectFont(_cairo* cr, const graphics::Font& font);

}  // namespace platform::cairo
