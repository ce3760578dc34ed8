#include "platform/graphics/RecordingContext.h"

#include <cmath>
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
  if (checkRestore(!saved_.empty())) {
    state_ = std::move(saved_.back());
    saved_.pop_back();
  }
  record(Op::restoreGState);
}

void RecordingContext::setFillColor(const Color& color) {
  checkColor(color, "setFillColor");
  state_.fillColor = color;
  record(Op::setFillColor);
}

void RecordingContext::setStrokeColor(const Color& color) {
  checkColor(color, "setStrokeColor");
  state_.strokeColor = color;
  record(Op::setStrokeColor);
}

void RecordingContext::setLineWidth(double width) {
  checkLineWidth(width, "setLineWidth");
  state_.lineWidth = width;
  record(Op::setLineWidth);
}

void RecordingContext::setLineCap(LineCap cap) {
  state_.lineCap = cap;
  record(Op::setLineCap);
}

void RecordingContext::setLineDash(double phase, const std::vector<double>& lengths) {
  checkLineDash(phase, lengths, "setLineDash");
  state_.dash = LineDash{phase, lengths};
  record(Op::setLineDash);
}

void RecordingContext::setShouldAntialias(bool antialias) {
  state_.antialias = antialias;
  record(Op::setShouldAntialias);
}

void RecordingContext::clipToRect(const Rect& rect) {
  checkRect(rect, "clipToRect");
  state_.clip.push_back(ClipRegion{rect, {}, state_.transform});
  record(Op::clipToRect).rect = rect;
}

void RecordingContext::clip() {
  state_.clip.push_back(ClipRegion{{}, path_, state_.transform});
  consumePath(Op::clip);
}

void RecordingContext::translateBy(double tx, double ty) {
  checkTransform(AffineTransform::makeTranslation(tx, ty), state_.transform, "translateBy");
  state_.transform = state_.transform.translated(tx, ty);
  record(Op::translateBy).values = {tx, ty};
}

void RecordingContext::rotateBy(double radians) {
  checkTransform(AffineTransform::makeRotation(radians), state_.transform, "rotateBy");
  state_.transform = AffineTransform::makeRotation(radians).concat(state_.transform);
  record(Op::rotateBy).values = {radians};
}

void RecordingContext::scaleBy(double sx, double sy) {
  checkTransform(AffineTransform::makeScale(sx, sy), state_.transform, "scaleBy");
  state_.transform = state_.transform.scaled(sx, sy);
  record(Op::scaleBy).values = {sx, sy};
}

void RecordingContext::concatCTM(const AffineTransform& transform) {
  checkTransform(transform, state_.transform, "concatCTM");
  state_.transform = transform.concat(state_.transform);
  record(Op::concatCTM).transform = transform;
}

void RecordingContext::beginPath() {
  path_.clear();
  record(Op::beginPath);
}

void RecordingContext::moveTo(Point point) {
  checkPoint(point, "moveTo");
  path_.push_back(PathElement{PathElement::Kind::moveTo, point, {}});
  record(Op::moveTo).points = {point};
}

void RecordingContext::addLineTo(Point point) {
  checkPoint(point, "addLineTo");
  path_.push_back(PathElement{PathElement::Kind::lineTo, point, {}});
  record(Op::addLineTo).points = {point};
}

void RecordingContext::closePath() {
  path_.push_back(PathElement{PathElement::Kind::closePath, {}, {}});
  record(Op::closePath);
}

void RecordingContext::addRect(const Rect& rect) {
  checkRect(rect, "addRect");
  path_.push_back(PathElement{PathElement::Kind::rect, {}, rect});
  record(Op::addRect).rect = rect;
}

void RecordingContext::addEllipseInRect(const Rect& rect) {
  checkRect(rect, "addEllipseInRect");
  path_.push_back(PathElement{PathElement::Kind::ellipse, {}, rect});
  record(Op::addEllipseInRect).rect = rect;
}

void RecordingContext::fillPath() { consumePath(Op::fillPath); }
void RecordingContext::strokePath() { consumePath(Op::strokePath); }

void RecordingContext::fillRect(const Rect& rect) {
  checkRect(rect, "fillRect");
  path_.clear();
  record(Op::fillRect).rect = rect;
}

void RecordingContext::strokeRect(const Rect& rect) {
  checkRect(rect, "strokeRect");
  path_.clear();
  record(Op::strokeRect).rect = rect;
}

void RecordingContext::fillEllipseInRect(const Rect& rect) {
  checkRect(rect, "fillEllipseInRect");
  path_.clear();
  record(Op::fillEllipseInRect).rect = rect;
}

void RecordingContext::strokeEllipseInRect(const Rect& rect) {
  checkRect(rect, "strokeEllipseInRect");
  path_.clear();
  record(Op::strokeEllipseInRect).rect = rect;
}

void RecordingContext::strokeLineSegments(const std::vector<Point>& points) {
  // An odd last point is not drawn, so not checked.
  for (size_t i = 0; i + 1 < points.size(); i += 2)
    if (!checkPoint(points[i], "strokeLineSegments") || !checkPoint(points[i + 1], "strokeLineSegments")) break;
  path_.clear();
  record(Op::strokeLineSegments).points = points;
}

void RecordingContext::drawLinearGradient(const Gradient& gradient, Point start, Point end, GradientOptions options) {
  checkPoint(start, "drawLinearGradient") && checkPoint(end, "drawLinearGradient");
  checkGradient(gradient, "drawLinearGradient");
  Operation& operation = record(Op::drawLinearGradient);
  operation.gradient = gradient;
  operation.points = {start, end};
  operation.gradientOptions = options;
}

void RecordingContext::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                          Point endCenter, double endRadius, GradientOptions options) {
  checkPoint(startCenter, "drawRadialGradient") && checkPoint(endCenter, "drawRadialGradient") &&
      accept(startRadius >= 0 && endRadius >= 0 && std::isfinite(startRadius) && std::isfinite(endRadius),
             DropReason::invalidGeometry, "drawRadialGradient");
  checkGradient(gradient, "drawRadialGradient");
  Operation& operation = record(Op::drawRadialGradient);
  operation.gradient = gradient;
  operation.points = {startCenter, endCenter};
  operation.values = {startRadius, endRadius};
  operation.gradientOptions = options;
}

void RecordingContext::drawLayer(const Layer& layer, const Rect& rect) {
  checkRect(rect, "drawLayer");
  Operation& operation = record(Op::drawLayer);
  operation.layer = &layer;
  operation.rect = rect;
}

void RecordingContext::drawImage(const Image& image, const Rect& rect) {
  checkRect(rect, "drawImage");
  Operation& operation = record(Op::drawImage);
  operation.image = &image;
  operation.rect = rect;
}

void RecordingContext::drawTiledImage(const Image& image, const Rect& rect) {
  checkRect(rect, "drawTiledImage");
  Operation& operation = record(Op::drawTiledImage);
  operation.image = &image;
  operation.rect = rect;
}

void RecordingContext::checkTextCall(std::string_view text, const TextAttributes& attributes,
                                     std::string_view operation) {
  checkText(text, operation);
  checkFont(attributes.resolvedFont(), operation);
  checkColor(attributes.resolvedColor(), operation);
}

void RecordingContext::drawText(std::string_view text, Point topLeft, const TextAttributes& attributes) {
  checkPoint(topLeft, "drawText");
  checkTextCall(text, attributes, "drawText");
  Operation& operation = record(Op::drawText);
  operation.text = text;
  operation.points = {topLeft};
  operation.attributes = attributes;
}

void RecordingContext::drawTextInRect(std::string_view text, const Rect& rect, const TextAttributes& attributes) {
  checkRect(rect, "drawTextInRect");
  checkTextCall(text, attributes, "drawTextInRect");
  Operation& operation = record(Op::drawTextInRect);
  operation.text = text;
  operation.rect = rect;
  operation.attributes = attributes;
}

void RecordingContext::replay(DrawingContext& target) const {
  for (const Operation& o : operations_) {
    switch (o.op) {
      case Op::saveGState: target.saveGState(); break;
      case Op::restoreGState: target.restoreGState(); break;
      case Op::setFillColor: target.setFillColor(o.state.fillColor); break;
      case Op::setStrokeColor: target.setStrokeColor(o.state.strokeColor); break;
      case Op::setLineWidth: target.setLineWidth(o.state.lineWidth); break;
      case Op::setLineCap: target.setLineCap(o.state.lineCap); break;
      case Op::setLineDash: target.setLineDash(o.state.dash.phase, o.state.dash.lengths); break;
      case Op::setShouldAntialias: target.setShouldAntialias(o.state.antialias); break;
      case Op::clipToRect: target.clipToRect(o.rect); break;
      case Op::clip: target.clip(); break;
      case Op::translateBy: target.translateBy(o.values.at(0), o.values.at(1)); break;
      case Op::rotateBy: target.rotateBy(o.values.at(0)); break;
      case Op::scaleBy: target.scaleBy(o.values.at(0), o.values.at(1)); break;
      case Op::concatCTM: target.concatCTM(o.transform); break;
      case Op::beginPath: target.beginPath(); break;
      case Op::moveTo: target.moveTo(o.points.at(0)); break;
      case Op::addLineTo: target.addLineTo(o.points.at(0)); break;
      case Op::closePath: target.closePath(); break;
      case Op::addRect: target.addRect(o.rect); break;
      case Op::addEllipseInRect: target.addEllipseInRect(o.rect); break;
      case Op::fillPath: target.fillPath(); break;
      case Op::strokePath: target.strokePath(); break;
      case Op::fillRect: target.fillRect(o.rect); break;
      case Op::strokeRect: target.strokeRect(o.rect); break;
      case Op::fillEllipseInRect: target.fillEllipseInRect(o.rect); break;
      case Op::strokeEllipseInRect: target.strokeEllipseInRect(o.rect); break;
      case Op::strokeLineSegments: target.strokeLineSegments(o.points); break;
      case Op::drawLinearGradient:
        target.drawLinearGradient(*o.gradient, o.points.at(0), o.points.at(1), o.gradientOptions);
        break;
      case Op::drawRadialGradient:
        target.drawRadialGradient(*o.gradient, o.points.at(0), o.values.at(0), o.points.at(1), o.values.at(1),
                                  o.gradientOptions);
        break;
      case Op::drawLayer: target.drawLayer(*o.layer, o.rect); break;
      case Op::drawImage: target.drawImage(*o.image, o.rect); break;
      case Op::drawTiledImage: target.drawTiledImage(*o.image, o.rect); break;
      case Op::drawText: target.drawText(o.text, o.points.at(0), o.attributes); break;
      case Op::drawTextInRect: target.drawTextInRect(o.text, o.rect, o.attributes); break;
    }
  }
}

}  // namespace platform::graphics
