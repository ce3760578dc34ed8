#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Gradient.h"
#include "platform/graphics/TextAttributes.h"

namespace platform::graphics {

class Image;
class Layer;
class TextMetrics;

// How the open ends of stroked lines are drawn.
enum class LineCap : int { butt = 0, round = 1, square = 2 };
std::optional<LineCap> lineCapFromRaw(int raw);

// A dash pattern: the lengths of alternating painted and unpainted runs,
// entered `phase` into the pattern. No lengths draws a solid line.
struct LineDash {
  double phase = 0;
  std::vector<double> lengths;
  friend bool operator==(const LineDash&, const LineDash&) = default;
};

// Whether a gradient also paints before its start and beyond its end, with
// its first and last colour. Raw values combine: 3 is both.
enum class GradientOptions : unsigned { none = 0, drawsBeforeStart = 1, drawsAfterEnd = 2 };
constexpr GradientOptions operator|(GradientOptions lhs, GradientOptions rhs) {
  return static_cast<GradientOptions>(static_cast<unsigned>(lhs) | static_cast<unsigned>(rhs));
}

// What a context refused, or drew only after correcting it.
enum class DropReason : unsigned {
  invalidGeometry = 1u << 0,    // a coordinate, size or radius that is not a finite number, or a negative radius
  singularTransform = 1u << 1,  // a transformation that is not finite or cannot be undone
  invalidStyle = 1u << 2,       // a colour component, line width, dash or gradient stop out of range
  invalidText = 1u << 3,        // text that is not valid UTF-8
  refusedFont = 1u << 4,        // a font size or family that text cannot be drawn in
  unbalancedRestore = 1u << 5,  // a restoreGState with nothing saved
};

// The reason in words, as "a restore with nothing saved".
std::string_view describe(DropReason reason);

// One dropped or corrected call: why, and which operation ("moveTo").
struct Drop {
  DropReason reason = DropReason::invalidGeometry;
  std::string operation;
  // "moveTo: geometry that is not a finite number".
  std::string description() const;
  friend bool operator==(const Drop&, const Drop&) = default;
};

// The font text is drawn in: its size brought into [Font::smallestSize,
// Font::largestSize] and a family that is not valid UTF-8 replaced by the
// system family; nothing when the size is not a positive number.
std::optional<Font> drawableFont(const Font& font);

// True when every part is a number and the transform can be undone with a
// finite result.
bool isInvertible(const AffineTransform& transform);

// The surface every chart renderer draws through. Coordinates are points with
// the origin at the top-left corner and y growing downward.
//
// The graphics state holds the fill and stroke colours (both opaque black at
// first), the line width (1), cap (butt) and dash (solid), antialiasing (on),
// the clip (everything) and the transformation from user space to the
// surface (identity). saveGState pushes it, restoreGState pops it; a restore
// with nothing saved does nothing.
//
// The current path is not part of the graphics state. fillPath, strokePath
// and clip consume it; the shape operations (fillRect ... strokeLineSegments)
// clear it as a side effect. Paths fill with the non-zero winding rule.
//
// Every context keeps a drop record: what it dropped or corrected instead of
// drawing it as asked (geometry that is not a number, a transform that
// cannot be undone, a bad colour, width or dash, text that is not UTF-8, a
// font that cannot be drawn, a restore with nothing saved), so that a blank
// chart comes with a reason. Like a sticky error status it keeps the first
// drop with its reason, and the set of every reason since; unlike one it
// never stops the drawing. A raster context leaves the bad input out (or
// draws it corrected); a RecordingContext records every call as given and
// notes the same faults, so that a test on a recording sees what a raster
// context would drop.
class DrawingContext {
 public:
  virtual ~DrawingContext() = default;

  // The size of the surface drawn on, in pixels; nothing for a context
  // without one (a recording made without a size).
  virtual std::optional<Size> surfaceSize() const { return std::nullopt; }

  // The metrics the context lays its text out with when it has its own (a
  // raster context with real fonts); nullptr for a context that draws text as
  // any metrics measure it (a recording).
  virtual std::shared_ptr<const TextMetrics> ownTextMetrics() const { return nullptr; }

  // The first drop since the context was made or last cleared; nothing when
  // nothing was dropped.
  const std::optional<Drop>& firstDrop() const { return firstDrop_; }
  bool hasDropped() const { return firstDrop_.has_value(); }
  bool hasDropped(DropReason reason) const { return (dropped_ & static_cast<unsigned>(reason)) != 0; }
  void clearDrops();

  virtual void saveGState() = 0;
  virtual void restoreGState() = 0;

  virtual void setFillColor(const Color& color) = 0;
  virtual void setStrokeColor(const Color& color) = 0;
  virtual void setLineWidth(double width) = 0;
  virtual void setLineCap(LineCap cap) = 0;
  // No lengths (the phase then does not matter) draws solid lines.
  virtual void setLineDash(double phase, const std::vector<double>& lengths) = 0;
  virtual void setShouldAntialias(bool antialias) = 0;

  // The clip becomes its intersection with the rectangle, or with the
  // current path; it only grows again at restoreGState.
  virtual void clipToRect(const Rect& rect) = 0;
  virtual void clip() = 0;

  // Each changes the transformation so that the operation applies to user
  // space first: translateBy(10, 0) then moveTo(0, 0) moves to (10, 0).
  virtual void translateBy(double tx, double ty) = 0;
  virtual void rotateBy(double radians) = 0;
  virtual void scaleBy(double sx, double sy) = 0;
  virtual void concatCTM(const AffineTransform& transform) = 0;

  virtual void beginPath() = 0;
  virtual void moveTo(Point point) = 0;
  virtual void addLineTo(Point point) = 0;
  virtual void closePath() = 0;
  virtual void addRect(const Rect& rect) = 0;
  virtual void addEllipseInRect(const Rect& rect) = 0;
  virtual void fillPath() = 0;
  virtual void strokePath() = 0;

  virtual void fillRect(const Rect& rect) = 0;
  virtual void strokeRect(const Rect& rect) = 0;
  virtual void fillEllipseInRect(const Rect& rect) = 0;
  virtual void strokeEllipseInRect(const Rect& rect) = 0;
  // Strokes a separate segment between each pair of points: 0 to 1, 2 to 3
  // and so on; an odd last point is ignored.
  virtual void strokeLineSegments(const std::vector<Point>& points) = 0;

  // Gradients paint the whole clip: along the axis from `start` to `end`, or
  // between the two circles. The options say whether the area before the
  // start and beyond the end takes the end colours or stays unpainted.
  virtual void drawLinearGradient(const Gradient& gradient, Point start, Point end, GradientOptions options) = 0;
  virtual void drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                                  double endRadius, GradientOptions options) = 0;

  // Draws the layer's contents scaled into the rectangle.
  virtual void drawLayer(const Layer& layer, const Rect& rect) = 0;

  // Draws the image stretched to fill the rectangle, upright (its first row at
  // the rectangle's top).
  virtual void drawImage(const Image& image, const Rect& rect) = 0;
  // Fills the rectangle with copies of the image at its own size (one pixel a
  // point), the first copy's top-left corner at the rectangle's origin.
  virtual void drawTiledImage(const Image& image, const Rect& rect) = 0;

  // Text (UTF-8) in the attributes' font and colour, laid out as the
  // context's own metrics measure it. drawText puts the top-left corner of the
  // first line at the point and each further line (after a line feed) below
  // the one before, left-aligned; the paragraph alignment is not used.
  virtual void drawText(std::string_view text, Point topLeft, const TextAttributes& attributes) = 0;
  // Lays the text out from the rectangle's top, wrapped to its width (kept
  // whole when the width is 0 or less), each line placed between the
  // rectangle's left and right edge by the paragraph alignment. Lines below
  // the rectangle are not cut off.
  virtual void drawTextInRect(std::string_view text, const Rect& rect, const TextAttributes& attributes) = 0;

 protected:
  // Notes a drop unless `valid`; returns `valid`.
  bool accept(bool valid, DropReason reason, std::string_view operation);

  // The checks every context makes, each noting what fails: finite
  // geometry; colour components in 0...1; a finite, non-negative line width;
  // a dash of finite, non-negative lengths that are not all 0 (or none, for
  // solid); a transformation `step` that, and whose product with `current`,
  // can be undone; UTF-8 text; a font as drawableFont makes it (noted when
  // it differs or there is none); a restore with something saved.
  bool checkPoint(Point point, std::string_view operation);
  bool checkRect(const Rect& rect, std::string_view operation);
  bool checkColor(const Color& color, std::string_view operation);
  bool checkLineWidth(double width, std::string_view operation);
  bool checkLineDash(double phase, const std::vector<double>& lengths, std::string_view operation);
  bool checkTransform(const AffineTransform& step, const AffineTransform& current, std::string_view operation);
  bool checkGradient(const Gradient& gradient, std::string_view operation);
  bool checkText(std::string_view text, std::string_view operation);
  std::optional<Font> checkFont(const Font& font, std::string_view operation);
  bool checkRestore(bool somethingSaved);

 private:
  unsigned dropped_ = 0;
  std::optional<Drop> firstDrop_;
};

}  // namespace platform::graphics
