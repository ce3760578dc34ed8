#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/DrawingContext.h"

namespace platform::graphics {

// One step of a path, in the user space of the moment it was added.
struct PathElement {
  enum class Kind { moveTo, lineTo, closePath, rect, ellipse };
  Kind kind = Kind::moveTo;
  Point point;  // moveTo, lineTo
  Rect rect;    // rect, ellipse (the ellipse inscribed in it)
  friend bool operator==(const PathElement&, const PathElement&) = default;
};
using Path = std::vector<PathElement>;

// One narrowing of the clip: to a rectangle, or to a path (then `path` is not
// empty), under the transformation in force when it was made.
struct ClipRegion {
  Rect rect;
  Path path;
  AffineTransform transform;
  friend bool operator==(const ClipRegion&, const ClipRegion&) = default;
};

// The graphics state as a RecordingContext tracks it. The clip is the list of
// regions it was narrowed to, outermost first.
struct GraphicsState {
  Color fillColor;
  Color strokeColor;
  double lineWidth = 1;
  LineCap lineCap = LineCap::butt;
  LineDash dash;
  bool antialias = true;
  std::vector<ClipRegion> clip;
  AffineTransform transform;
  int saveDepth = 0;
  friend bool operator==(const GraphicsState&, const GraphicsState&) = default;
};

// A drawing context that draws nothing and records every call, each with the
// graphics state in force: the state before the call for drawing operations,
// the new state for calls that change it. Geometry is recorded as given, in
// user space; the state's transform maps it to the surface. What a raster
// context would drop or correct is recorded as given too, and noted in the
// drop record (a restore with nothing saved among it).
class RecordingContext : public DrawingContext {
 public:
  enum class Op {
    saveGState, restoreGState,
    setFillColor, setStrokeColor, setLineWidth, setLineCap, setLineDash, setShouldAntialias,
    clipToRect, clip,
    translateBy, rotateBy, scaleBy, concatCTM,
    beginPath, moveTo, addLineTo, closePath, addRect, addEllipseInRect, fillPath, strokePath,
    fillRect, strokeRect, fillEllipseInRect, strokeEllipseInRect, strokeLineSegments,
    drawLinearGradient, drawRadialGradient, drawLayer, drawImage, drawTiledImage,
    drawText, drawTextInRect,
  };

  struct Operation {
    Op op = Op::saveGState;
    GraphicsState state;
    Rect rect;                    // the rectangle argument
    std::vector<Point> points;    // moveTo, addLineTo: the point; strokeLineSegments: all;
                                  // gradients: the start and end point or centre
    std::vector<double> values;   // translateBy, scaleBy: (x, y); rotateBy: the angle;
                                  // drawRadialGradient: the start and end radius
    AffineTransform transform;    // concatCTM
    Path path;                    // fillPath, strokePath, clip: the path they consumed
    std::optional<Gradient> gradient;
    GradientOptions gradientOptions = GradientOptions::none;
    // Borrowed: valid only while the caller keeps the layer or image.
    const Layer* layer = nullptr;
    const Image* image = nullptr;  // drawImage, drawTiledImage
    std::string text;              // drawText (its point in `points`), drawTextInRect
    TextAttributes attributes;     // drawText, drawTextInRect
  };

  // A recording of drawing on a surface of the size (in pixels), or on one
  // without bounds.
  explicit RecordingContext(std::optional<Size> surfaceSize = std::nullopt) : surfaceSize_(surfaceSize) {}

  std::optional<Size> surfaceSize() const override { return surfaceSize_; }
  void saveGState() override;
  void restoreGState() override;
  void setFillColor(const Color& color) override;
  void setStrokeColor(const Color& color) override;
  void setLineWidth(double width) override;
  void setLineCap(LineCap cap) override;
  void setLineDash(double phase, const std::vector<double>& lengths) override;
  void setShouldAntialias(bool antialias) override;
  void clipToRect(const Rect& rect) override;
  void clip() override;
  void translateBy(double tx, double ty) override;
  void rotateBy(double radians) override;
  void scaleBy(double sx, double sy) override;
  void concatCTM(const AffineTransform& transform) override;
  void beginPath() override;
  void moveTo(Point point) override;
  void addLineTo(Point point) override;
  void closePath() override;
  void addRect(const Rect& rect) override;
  void addEllipseInRect(const Rect& rect) override;
  void fillPath() override;
  void strokePath() override;
  void fillRect(const Rect& rect) override;
  void strokeRect(const Rect& rect) override;
  void fillEllipseInRect(const Rect& rect) override;
  void strokeEllipseInRect(const Rect& rect) override;
  void strokeLineSegments(const std::vector<Point>& points) override;
  void drawLinearGradient(const Gradient& gradient, Point start, Point end, GradientOptions options) override;
  void drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                          double endRadius, GradientOptions options) override;
  void drawLayer(const Layer& layer, const Rect& rect) override;
  void drawImage(const Image& image, const Rect& rect) override;
  void drawTiledImage(const Image& image, const Rect& rect) override;
  void drawText(std::string_view text, Point topLeft, const TextAttributes& attributes) override;
  void drawTextInRect(std::string_view text, const Rect& rect, const TextAttributes& attributes) override;

  const std::vector<Operation>& operations() const { return operations_; }
  // The recorded operations of one kind, in order.
  std::vector<Operation> operations(Op op) const;
  const GraphicsState& state() const { return state_; }
  const Path& currentPath() const { return path_; }

  // Makes the recorded calls again, in order and with their arguments as
  // recorded, on `target` (a path's steps are calls of their own). The
  // recorded layers and images must still be alive.
  void replay(DrawingContext& target) const;

 private:
  void checkTextCall(std::string_view text, const TextAttributes& attributes, std::string_view operation);

  Operation& record(Op op);
  Operation& consumePath(Op op);

  std::optional<Size> surfaceSize_;
  GraphicsState state_;
  std::vector<GraphicsState> saved_;
  Path path_;
  std::vector<Operation> operations_;
};

}  // namespace platform::graphics
