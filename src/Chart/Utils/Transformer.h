#pragma once

#include <memory>
#include <vector>

#include "Chart/Utils/ViewPortHandler.h"
#include "platform/graphics/Geometry.h"

namespace chart {

using platform::graphics::AffineTransform;
using platform::graphics::Point;
using platform::graphics::Rect;

// Maps the values of one y axis to pixels of the chart view and back. A value
// goes through the value matrix (the data range onto the content size), then
// the handler's touch matrix (zoom and pan), then the offset matrix (the
// content's place in the view, and an inverted axis). The product is taken
// afresh on every call, so a change of zoom, pan, offsets or ranges shows at
// once; every conversion fetches it through the virtual valueToPixelMatrix()
// or pixelToValueMatrix(), once per call.
class Transformer {
 public:
  // Both matrices start as the identity. The handler must not be null; it is
  // shared for the transformer's life.
  explicit Transformer(std::shared_ptr<ViewPortHandler> viewPortHandler);
  virtual ~Transformer() = default;

  // Value matrix: x scaled by contentWidth / deltaX from chartXMin
  // rightwards, y by contentHeight / deltaY from chartYMin upwards. A factor
  // that comes out +infinity (a zero range) becomes 0, so every value lands
  // on one pixel line; NaN and -infinity are kept.
  virtual void prepareMatrixValuePx(double chartXMin, double deltaX, double deltaY, double chartYMin);
  // Offset matrix: the origin on the content's left and bottom edge, or, for
  // an inverted axis, on its left and top edge with y running downward.
  virtual void prepareMatrixOffset(bool inverted);

  virtual void pointValuesToPixel(std::vector<Point>& points) const;
  virtual void pointValueToPixel(Point& point) const;
  virtual Point pixelForValues(double x, double y) const;
  virtual void rectValueToPixel(Rect& rect) const;
  // Scales the rectangle's top and bottom value by phaseY (the animation's y
  // phase, 0 to 1) before mapping it, so bars grow from 0.
  virtual void rectValueToPixel(Rect& rect, double phaseY) const;
  virtual void rectValueToPixelHorizontal(Rect& rect) const;
  // Scales the rectangle's left and right value by phaseY before mapping it.
  virtual void rectValueToPixelHorizontal(Rect& rect, double phaseY) const;
  virtual void rectValuesToPixel(std::vector<Rect>& rects) const;
  virtual void pixelsToValues(std::vector<Point>& pixels) const;
  virtual void pixelToValues(Point& pixel) const;
  virtual Point valueForTouchPoint(Point point) const;
  virtual Point valueForTouchPoint(double x, double y) const;

  // Value matrix, then touch matrix, then offset matrix.
  virtual AffineTransform valueToPixelMatrix() const;
  // The inverse of valueToPixelMatrix(); the product itself when it cannot
  // be inverted (a zero scale).
  virtual AffineTransform pixelToValueMatrix() const;

  // The handler whose content the values are mapped into (the highlighters
  // read its content rectangle: what lies outside it is not drawn).
  const std::shared_ptr<ViewPortHandler>& viewPortHandler() const { return viewPortHandler_; }

 protected:
  void setMatrixOffset(const AffineTransform& matrix) { matrixOffset_ = matrix; }

 private:
  AffineTransform matrixValueToPx_;
  AffineTransform matrixOffset_;
  std::shared_ptr<ViewPortHandler> viewPortHandler_;
};

// The transformer of a horizontal-bar chart: inverted, x runs leftwards from
// the content's right edge instead of y running downward.
class TransformerHorizontalBarChart : public Transformer {
 public:
  using Transformer::Transformer;

  void prepareMatrixOffset(bool inverted) override;
};

}  // namespace chart
