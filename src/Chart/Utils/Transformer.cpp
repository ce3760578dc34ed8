#include "Chart/Utils/Transformer.h"

#include <limits>
#include <utility>

namespace chart {
namespace {

// A positive content size over a zero range: every value of the axis goes to
// one line instead of to infinity.
double finiteFactor(double factor) { return factor == std::numeric_limits<double>::infinity() ? 0.0 : factor; }

}  // namespace

Transformer::Transformer(std::shared_ptr<ViewPortHandler> viewPortHandler)
    : viewPortHandler_(std::move(viewPortHandler)) {}

void Transformer::prepareMatrixValuePx(double chartXMin, double deltaX, double deltaY, double chartYMin) {
  const double scaleX = finiteFactor(viewPortHandler_->contentWidth() / deltaX);
  const double scaleY = finiteFactor(viewPortHandler_->contentHeight() / deltaY);
  matrixValueToPx_ = AffineTransform::identity().scaled(scaleX, -scaleY).translated(-chartXMin, -chartYMin);
}

void Transformer::prepareMatrixOffset(bool inverted) {
  const ViewPortHandler& handler = *viewPortHandler_;
  if (!inverted) {
    matrixOffset_ =
        AffineTransform::makeTranslation(handler.offsetLeft(), handler.chartHeight() - handler.offsetBottom());
  } else {
    matrixOffset_ = AffineTransform::makeScale(1.0, -1.0).translated(handler.offsetLeft(), -handler.offsetTop());
  }
}

void TransformerHorizontalBarChart::prepareMatrixOffset(bool inverted) {
  if (!inverted) {
    Transformer::prepareMatrixOffset(false);
    return;
  }
  const ViewPortHandler& handler = *viewPortHandler();
  setMatrixOffset(AffineTransform::makeScale(-1.0, 1.0).translated(-(handler.chartWidth() - handler.offsetRight()),
                                                                   handler.chartHeight() - handler.offsetBottom()));
}

void Transformer::pointValuesToPixel(std::vector<Point>& points) const {
  const AffineTransform matrix = valueToPixelMatrix();
  for (Point& point : points) point = matrix.apply(point);
}

void Transformer::pointValueToPixel(Point& point) const { point = valueToPixelMatrix().apply(point); }

Point Transformer::pixelForValues(double x, double y) const { return valueToPixelMatrix().apply(Point{x, y}); }

void Transformer::rectValueToPixel(Rect& rect) const { rect = valueToPixelMatrix().apply(rect); }

void Transformer::rectValueToPixel(Rect& rect, double phaseY) const {
  const double top = rect.origin.y * phaseY;
  const double bottom = (rect.origin.y + rect.size.height) * phaseY;
  rect.origin.y = top;
  rect.size.height = bottom - top;
  rect = valueToPixelMatrix().apply(rect);
}

void Transformer::rectValueToPixelHorizontal(Rect& rect) const { rect = valueToPixelMatrix().apply(rect); }

void Transformer::rectValueToPixelHorizontal(Rect& rect, double phaseY) const {
  const double left = rect.origin.x * phaseY;
  const double right = (rect.origin.x + rect.size.width) * phaseY;
  rect.origin.x = left;
  rect.size.width = right - left;
  rect = valueToPixelMatrix().apply(rect);
}

void Transformer::rectValuesToPixel(std::vector<Rect>& rects) const {
  const AffineTransform matrix = valueToPixelMatrix();
  for (Rect& rect : rects) rect = matrix.apply(rect);
}

void Transformer::pixelsToValues(std::vector<Point>& pixels) const {
  const AffineTransform matrix = pixelToValueMatrix();
  for (Point& pixel : pixels) pixel = matrix.apply(pixel);
}

void Transformer::pixelToValues(Point& pixel) const { pixel = pixelToValueMatrix().apply(pixel); }

Point Transformer::valueForTouchPoint(Point point) const { return pixelToValueMatrix().apply(point); }

Point Transformer::valueForTouchPoint(double x, double y) const { return pixelToValueMatrix().apply(Point{x, y}); }

AffineTransform Transformer::valueToPixelMatrix() const {
  return matrixValueToPx_.concat(viewPortHandler_->touchMatrix()).concat(matrixOffset_);
}

AffineTransform Transformer::pixelToValueMatrix() const { return valueToPixelMatrix().inverted(); }

}  // namespace chart
