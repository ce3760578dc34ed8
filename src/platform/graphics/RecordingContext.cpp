#include "platform/graphics/RecordingContext.h"

#include <utility>

namespace platform::graphics {

RecordingContext::Operation& RecordingContext::record(Op op) {
  Operation& operation = operations_.emplace_back();
  operation.op = op;
  operation.state = state_;
  return operation;
}

RecordingContext::Operation& RecordingContext::consumePath(Op op) {
  Operation& operation = record(op);
  operation.path = std::move(path_);
  path_.clear();
  return operation;
}

std::vector<RecordingContext::Operation> RecordingContext::operations(Op op) const {
  std::vector<Operation> found;
  for (const Operation& operation : operations_)
    if (operation.op == op) found.push_back(operation);
  return found;
}

void RecordingContext::saveGState() {
  saved_.push_back(state_);
  ++state_.saveDepth;
  record(Op::saveGState);
}

void RecordingContext::restoreGState() {
  if (!saved_.empty()) {
    state_ = std::move(saved_.back());
    saved_.pop_back();
  }
  record(Op::restoreGState);
}

void RecordingContext::setFillColor(const Color& color) {
  state_.fillColor = color;
  record(Op::setFillColor);
}

void RecordingContext::setStrokeColor(const Color& color) {
  state_.strokeColor = color;
  record(Op::setStrokeColor);
}

void RecordingContext::setLineWidth(double width) {
  state_.lineWidth = width;
  record(Op::setLineWidth);
}

void RecordingContext::setLineCap(LineCap cap) {
  state_.lineCap = cap;
  record(Op::setLineCap);
}

void RecordingContext::setLineDash(double phase, const std::vector<double>& lengths) {
  state_.dash = LineDash{phase, lengths};
  record(Op::setLineDash);
}

void RecordingContext::setShouldAntialias(bool antialias) {
  state_.antialias = antialias;
  record(Op::setShouldAntialias);
}

void RecordingContext::clipToRect(const Rect& rect) {
  state_.clip.push_back(ClipRegion{rect, {}, state_.transform});
  record(Op::clipToRect).rect = rect;
}

void RecordingContext::clip() {
  state_.clip.push_back(ClipRegion{{}, path_, state_.transform});
  consumePath(Op::clip);
}

void RecordingContext::translateBy(double tx, double ty) {
  state_.transform = state_.transform.translated(tx, ty);
  record(Op::translateBy).values = {tx, ty};
}

void RecordingContext::rotateBy(double radians) {
  state_.transform = AffineTransform::makeRotation(radians).concat(state_.transform);
  record(Op::rotateBy).values = {radians};
}

void RecordingContext::scaleBy(double sx, double sy) {
  state_.transform = state_.transform.scaled(sx, sy);
  record(Op::scaleBy).values = {sx, sy};
}

void RecordingContext::concatCTM(const AffineTransform& transform) {
  state_.transform = transform.concat(state_.transform);
  record(Op::concatCTM).transform = transform;
}

void RecordingContext::beginPath() {
  path_.clear();
  record(Op::beginPath);
}

void RecordingContext::moveTo(Point point) {
  path_.push_back(PathElement{PathElement::Kind::moveTo, point, {}});
  record(Op::moveTo).points = {point};
}

void RecordingContext::addLineTo(Point point) {
  path_.push_back(PathElement{PathElement::Kind::lineTo, point, {}});
  record(Op::addLineTo).points = {point};
}

void RecordingContext::closePath() {
  path_.push_back(PathElement{PathElement::Kind::closePath, {}, {}});
  record(Op::closePath);
}

void RecordingContext::addRect(const Rect& rect) {
  path_.push_back(PathElement{PathElement::Kind::rect, {}, rect});
  record(Op::addRect).rect = rect;
}

void RecordingContext::addEllipseInRect(const Rect& rect) {
  path_.push_back(PathElement{PathElement::Kind::ellipse, {}, rect});
  record(Op::addEllipseInRect).rect = rect;
}

void RecordingContext::fillPath() { consumePath(Op::fillPath); }
void RecordingContext::strokePath() { consumePath(Op::strokePath); }

void RecordingContext::fillRect(const Rect& rect) {
  path_.clear();
  record(Op::fillRect).rect = rect;
}

void RecordingContext::strokeRect(const Rect& rect) {
  path_.clear();
  record(Op::strokeRect).rect = rect;
}

void RecordingContext::fillEllipseInRect(const Rect& rect) {
  path_.clear();
  record(Op::fillEllipseInRect).rect = rect;
}

void RecordingContext::strokeEllipseInRect(const Rect& rect) {
  path_.clear();
  record(Op::strokeEllipseInRect).rect = rect;
}

void RecordingContext::strokeLineSegments(const std::vector<Point>& points) {
  path_.clear();
  record(Op::strokeLineSegments).points = points;
}

void RecordingContext::drawLinearGradient(const Gradient& gradient, Point start, Point end, GradientOptions options) {
  Operation& operation = record(Op::drawLinearGradient);
  operation.gradient = gradient;
  operation.points = {start, end};
  operation.gradientOptions = options;
}

void RecordingContext::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                          Point endCenter, double endRadius, GradientOptions options) {
  Operation& operation = record(Op::drawRadialGradient);
  operation.gradient = gradient;
  operation.points = {startCenter, endCenter};
  operation.values = {startRadius, endRadius};
  operation.gradientOptions = options;
}

void RecordingContext::drawLayer(const Layer& layer, const Rect& rect) {
  Operation& operation = record(Op::drawLayer);
  operation.layer = &layer;
  operation.rect = rect;
}

void RecordingContext::drawImage(const Image& image, const Rect& rect) {
  Operation& operation = record(Op::drawImage);
  operation.image = &image;
  operation.rect = rect;
}

void RecordingContext::drawTiledImage(const Image& image, const Rect& rect) {
  Operation& operation = record(Op::drawTiledImage);
  operation.image = &image;
  operation.rect = rect;
}

void RecordingContext::drawText(std::string_view text, Point topLeft, const TextAttributes& attributes) {
  Operation& operation = record(Op::drawText);
  operation.text = text;
  operation.points = {topLeft};
  operation.attributes = attributes;
}

void RecordingContext::drawTextInRect(std::string_view text, const Rect& rect, const TextAttributes& attributes) {
  Operation& operation = record(Op::drawTextInRect);
  operation.text = text;
  operation.rect = rect;
  operation.attributes = attributes;
}

}  // namespace platform::graphics
