#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cairo/CairoTextMetrics.h"
#include "platform/cairo/SvgGlyphs.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/DrawingContext.h"

struct _cairo;
struct _cairo_surface;

namespace platform::cairo {

// A drawing context over a Cairo image surface: real pixels, premultiplied
// ARGB (or RGB for an opaque bitmap), one pixel a point until scaled, y
// growing downward from the top-left corner. A context is drawn into by one
// thread at a time; contexts of different threads are independent, and its
// text metrics (ownTextMetrics) may be measured with from any thread.
//
// Cairo stops drawing for good after one bad argument, and a chart hands it
// some (a zero axis range gives not-a-number coordinates and zero scales; a
// caller can set any font or size). So the context drops geometry that is
// not finite, skips transforms that are not finite or cannot be inverted,
// draws a dash with a negative length, or only zero lengths, solid, takes a
// negative line width as 0, clamps colour components into 0...1
// (not-a-number as 0), skips text that is not valid UTF-8 and gradient
// circles with a negative radius, draws text in the sizes and families
// Cairo takes (see selectFont), strokes no wider than maxStrokeWidth pixels
// and ignores a restore without a save; each of these goes into the drop
// record. A line of width 0 draws nothing. Together these keep Cairo out of
// its error state: isInErrorState() stays false.
//
// Cairo keeps path coordinates in fixed point and traces every arc whole, so
// a shape far beyond the surface comes out bent or takes minutes. The
// context keeps the current path itself, on the surface's pixels, and hands
// Cairo only what can show: a shape wholly off the surface is left out, and
// one that reaches far beyond it is cut to a box around the surface (an
// ellipse that covers the surface fills it, its outline traced only where it
// crosses; the geometry is in graphics/FarShapes.h). A dash restarts where
// such a cut begins. Images and text wholly off the surface are left out
// too. None of this is a drop: the pixels are the ones asked for.
class CairoContext : public graphics::DrawingContext, public graphics::BitmapContext {
 public:
  // nullptr when a side is below 1 or above graphics::maxBitmapSide.
  static std::unique_ptr<CairoContext> create(int64_t pixelWidth, int64_t pixelHeight, bool opaque = false);
  // A context that draws an SVG document of `width` × `height` pixels (one
  // pixel a point, as on an image surface) into memory: the same drawing as
  // on pixels, as vector shapes and text. nullptr for the sides create()
  // refuses. It has no pixels of its own: part() gives nothing, makeImage a
  // clear image and encodePNG nothing.
  //
  // Its text is written by the context (see SvgGlyphs), each glyph's
  // outline made once for the process, unless `cairoWritesText`: then
  // Cairo's SVG surface writes the outlines again in every document, as
  // `cairoWritesText` is there to compare with.
  static std::unique_ptr<CairoContext> createSVG(int64_t width, int64_t height, bool cairoWritesText = false);
  // Ends an SVG context's document and hands over its bytes; nothing is
  // drawn after. Nothing for a context over pixels, for one finished before,
  // and where Cairo could not write the document.
  std::optional<std::string> finishSVG();
  // A context that draws on the pixels of `area` of this one (whole pixels,
  // within the surface), its origin at the area's top-left corner: parts of
  // one picture drawn on threads of their own. This context draws nothing
  // while a part lives, and a part is destroyed on the thread that uses
  // this context; what the part drew is then in this context's pixels.
  // nullptr for an area that is empty, not of whole pixels or reaches off
  // the surface.
  std::unique_ptr<CairoContext> part(const graphics::Rect& area);
  ~CairoContext() override;
  CairoContext(const CairoContext&) = delete;
  CairoContext& operator=(const CairoContext&) = delete;

  void saveGState() override;
  void restoreGState() override;
  void setFillColor(const graphics::Color& color) override;
  void setStrokeColor(const graphics::Color& color) override;
  void setLineWidth(double width) override;
  void setLineCap(graphics::LineCap cap) override;
  void setLineDash(double phase, const std::vector<double>& lengths) override;
  void setShouldAntialias(bool antialias) override;
  void clipToRect(const graphics::Rect& rect) override;
  void clip() override;
  void translateBy(double tx, double ty) override;
  void rotateBy(double radians) override;
  void scaleBy(double sx, double sy) override;
  void concatCTM(const graphics::AffineTransform& transform) override;
  void beginPath() override;
  void moveTo(graphics::Point point) override;
  void addLineTo(graphics::Point point) override;
  void closePath() override;
  void addRect(const graphics::Rect& rect) override;
  void addEllipseInRect(const graphics::Rect& rect) override;
  void fillPath() override;
  void strokePath() override;
  void fillRect(const graphics::Rect& rect) override;
  void strokeRect(const graphics::Rect& rect) override;
  void fillEllipseInRect(const graphics::Rect& rect) override;
  void strokeEllipseInRect(const graphics::Rect& rect) override;
  void strokeLineSegments(const std::vector<graphics::Point>& points) override;
  void drawLinearGradient(const graphics::Gradient& gradient, graphics::Point start, graphics::Point end,
                          graphics::GradientOptions options) override;
  void drawRadialGradient(const graphics::Gradient& gradient, graphics::Point startCenter, double startRadius,
                          graphics::Point endCenter, double endRadius, graphics::GradientOptions options) override;
  void drawLayer(const graphics::Layer& layer, const graphics::Rect& rect) override;
  void drawImage(const graphics::Image& image, const graphics::Rect& rect) override;
  void drawTiledImage(const graphics::Image& image, const graphics::Rect& rect) override;
  void drawText(std::string_view text, graphics::Point topLeft, const graphics::TextAttributes& attributes) override;
  void drawTextInRect(std::string_view text, const graphics::Rect& rect,
                      const graphics::TextAttributes& attributes) override;

  std::optional<graphics::Size> surfaceSize() const override {
    return graphics::Size{static_cast<double>(width_), static_cast<double>(height_)};
  }
  graphics::DrawingContext& drawingContext() override { return *this; }
  int64_t pixelWidth() const override { return width_; }
  int64_t pixelHeight() const override { return height_; }
  std::shared_ptr<const graphics::Image> makeImage(double scale) const override;
  // What was drawn so far as PNG, encoded from the context's own pixels
  // (no copy of them is made): the same file as encodePNG(*makeImage(1)).
  // Nothing when it could not be encoded.
  std::optional<graphics::EncodedImage> encodePNG() const;

  // The metrics text is laid out with.
  const CairoTextMetrics& textMetrics() const { return *metrics_; }
  std::shared_ptr<const graphics::TextMetrics> ownTextMetrics() const override { return metrics_; }
  // True once Cairo has refused an operation (and so draws nothing more);
  // the checks above keep it false.
  bool isInErrorState() const;

  // The widest stroke drawn, in pixels of the surface: a wider line covers
  // any surface it crosses anyway, and Cairo fails on far wider ones.
  static constexpr double maxStrokeWidth = 131072;

 private:
  CairoContext(int64_t width, int64_t height, bool opaque);
  CairoContext(_cairo_surface* surface, int64_t width, int64_t height, bool opaque);

  struct Paint {
    graphics::Color fill;
    graphics::Color stroke;
  };

  // One sub-path of the current path on the surface's pixels: a polygon
  // (its corners, open or closed), or an ellipse, the image of the unit
  // circle under `ellipse`.
  struct SubPath {
    std::vector<graphics::Point> points;
    bool closed = false;
    std::optional<graphics::AffineTransform> ellipse;
  };
  using Path = std::vector<SubPath>;
  enum class Use { fill, stroke };

  void setSource(const graphics::Color& color);
  graphics::AffineTransform matrix() const;
  // Applies a caller's transformation (noting one that cannot be used), or
  // one of the context's own (noting nothing); false when it was skipped.
  bool transformBy(const graphics::AffineTransform& step, std::string_view operation);
  bool transformBy(const graphics::AffineTransform& step);
  graphics::Point toDevice(graphics::Point point) const;
  void addRectTo(Path& path, const graphics::Rect& rect) const;
  void addEllipseTo(Path& path, const graphics::Rect& rect);
  // Hands the path to Cairo as its current path, in pixels of the surface,
  // cut to what can show when filled (or used as a clip) or stroked.
  void emit(const Path& path, Use use);
  // Fills or strokes the path with the paint's colour, and clears it.
  void fill(const Path& path);
  void stroke(const Path& path, std::string_view operation);
  void paintSurface(_cairo_surface* source, int64_t width, int64_t height, const graphics::Rect& rect);
  void paintGradientClipped(const std::vector<graphics::Point>& keep);
  // True when the rectangle reaches onto the surface.
  bool onSurface(const graphics::Rect& rect) const;
  void drawLines(std::string_view text, const graphics::Rect& rect, const graphics::TextAttributes& attributes,
                 std::string_view operation);
  void showLine(const std::string& line, double x, double top, const graphics::Font& font);

  int64_t width_;
  int64_t height_;
  bool opaque_;
  _cairo_surface* surface_;
  _cairo* cr_;
  Paint paint_;
  std::vector<Paint> saved_;
  Path path_;
  std::shared_ptr<const CairoTextMetrics> metrics_ = std::make_shared<CairoTextMetrics>();
  // A part's whole picture, told of what the part drew when the part is gone.
  _cairo_surface* whole_ = nullptr;
  // An SVG context's document as Cairo writes it (held apart, for its
  // address is Cairo's).
  std::unique_ptr<std::string> svg_;
  graphics::Color textColor_;
  // The text of an SVG context that waits to be written (see SvgGlyphs).
  std::unique_ptr<SvgGlyphs> svgText_;
  // Before a shape is painted over `area` of the surface (none: anywhere).
  void beforePaint(const std::optional<graphics::farshapes::Box>& area);
  graphics::farshapes::Box reach(const Path& path, double pad) const;
  // Over an image surface's pixels.
  bool onPixels() const;
};

}  // namespace platform::cairo
