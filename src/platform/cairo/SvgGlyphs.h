#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/FarShapes.h"

struct _cairo;
struct _cairo_font_face;

namespace platform::cairo {

// The text of an SVG context, written by the context rather than by Cairo's
// SVG surface. Cairo writes the outline of every glyph a document uses into
// that document anew, each coordinate through printf: on a graph that costs
// more than all its other shapes together. Here each outline is made once
// for the process (a font, a size and a glyph) and a document only copies
// it, and places the glyphs.
//
// A line so taken waits, and is written when the document ends, over
// everything Cairo wrote. Order matters only where shapes overlap: before
// anything is painted over a waiting line, that line and every line that
// waits before it are handed to Cairo, which draws them where they stand in
// the order of drawing. A line that a clip cuts is Cairo's from the start.
class SvgGlyphs {
 public:
  // For a document of `width` × `height` pixels.
  SvgGlyphs(double width, double height);
  ~SvgGlyphs();
  SvgGlyphs(const SvgGlyphs&) = delete;
  SvgGlyphs& operator=(const SvgGlyphs&) = delete;

  // Takes `line` as `cr` would show it from (x, baseline) in user space with
  // its font, transformation and clip, in `color`. False where the line is
  // left to Cairo (the clip cuts it, or Cairo cannot lay it out): the caller
  // then calls beforePaint with `reach` (where the line reaches on the
  // surface, none where that is not known) and shows it itself.
  bool take(_cairo* cr, const std::string& line, double x, double baseline, const graphics::Color& color,
            std::optional<graphics::farshapes::Box>& reach);
  // Before something is painted over `area` (pixels of the surface; none:
  // it may reach anywhere): the lines that wait under it, and those before
  // them, are drawn through `cr` now.
  void beforePaint(_cairo* cr, const std::optional<graphics::farshapes::Box>& area);
  // Writes the lines still waiting into the ended document, over the rest.
  void writeInto(std::string& document);

  // The lines waiting now (for tests).
  size_t waiting() const;

 private:
  struct Run;
  double width_, height_;
  std::vector<Run> waiting_;
};

}  // namespace platform::cairo
