#pragma once

#include <limits>
#include <optional>

#include "platform/graphics/Geometry.h"
#include "platform/view/View.h"

namespace chart {

using platform::graphics::AffineTransform;
using platform::graphics::Point;
using platform::graphics::Rect;
using platform::view::View;

// The geometry of one chart view: the chart's size, the content rectangle in
// which the data is drawn (the chart less four offsets), and the touch matrix
// that carries the user's zoom (a, d) and pan (tx, ty), with the limits that
// keep them within the data. Positions are points of the chart view, origin
// top-left, y growing downward.
//
// The zoom, pan and centring builders return a new matrix and store nothing;
// refresh() stores one, limits it and has the chart redrawn. Every operation
// is virtual and the operations call one another through the virtual table,
// so a subclass that overrides one (say isInBoundsLeft) changes its callers
// (isInBoundsX, isInBounds, isIntersectingLine) too.
class ViewPortHandler {
 public:
  // The steps of zoomIn() and zoomOut(), which the chart views take too.
  static constexpr double zoomInFactor = 1.4;
  static constexpr double zoomOutFactor = 0.7;

  // The content rectangle starts as the whole chart, (0, 0, width, height).
  ViewPortHandler(double width, double height);
  virtual ~ViewPortHandler() = default;

  // Keeps the four offsets; the content rectangle follows the new size. The
  // touch matrix is neither changed nor limited again.
  virtual void setChartDimens(double width, double height);
  virtual bool hasChartDimens() const;
  // Content := (left, top, chartWidth - left - right, chartHeight - bottom -
  // top), unclamped: a chart smaller than its offsets gets a negative size.
  virtual void restrainViewPort(double offsetLeft, double offsetTop, double offsetRight, double offsetBottom);

  virtual double offsetLeft() const;
  virtual double offsetRight() const;
  virtual double offsetTop() const;
  virtual double offsetBottom() const;
  virtual double contentTop() const;
  virtual double contentLeft() const;
  virtual double contentRight() const;
  virtual double contentBottom() const;
  virtual double contentWidth() const;
  virtual double contentHeight() const;
  virtual Rect contentRect() const;
  virtual Point contentCenter() const;
  virtual double chartHeight() const;
  virtual double chartWidth() const;

  // Matrix builders: they read the touch matrix and change nothing.
  virtual AffineTransform zoom(double scaleX, double scaleY) const;
  // Zoom about (x, y): translate by (x, y), scale, translate back.
  virtual AffineTransform zoom(double scaleX, double scaleY, double x, double y) const;
  // Zoom about (x, y) by zoomInFactor, or by zoomOutFactor.
  virtual AffineTransform zoomIn(double x, double y) const;
  virtual AffineTransform zoomOut(double x, double y) const;
  // The touch matrix as it is.
  virtual AffineTransform resetZoom() const;
  // The touch matrix with a := scaleX, d := scaleY.
  virtual AffineTransform setZoom(double scaleX, double scaleY) const;
  // The touch matrix with a and d reset to 1, then zoomed about (x, y).
  virtual AffineTransform setZoom(double scaleX, double scaleY, double x, double y) const;
  // Resets both minimum scales to 1 and returns the identity; the touch
  // matrix and the maximum scales are left alone.
  virtual AffineTransform fitScreen();
  // The touch matrix panned so that `pt` lands on the content's top-left.
  virtual AffineTransform translate(Point pt) const;

  // Pans to translate(pt) through refresh().
  virtual void centerViewPort(Point pt, View& chart);
  // Stores the matrix, limits it to the content rectangle, asks the chart to
  // redraw its whole bounds (whatever `invalidate` says) and returns the
  // stored matrix.
  virtual AffineTransform refresh(const AffineTransform& newMatrix, View& chart, bool invalidate);
  // Brings the matrix's scales within the limits and its pan within the
  // content (measured after making its size non-negative; an absent content
  // counts as 0 × 0), widened by the drag offsets, and stores the results as
  // scaleX, scaleY, transX and transY. The upper bound wins when the bounds
  // cross, except for ty, where the lower one does.
  virtual void limitTransAndScale(AffineTransform& matrix, std::optional<Rect> content);

  // The scale setters store and then limit the touch matrix at once; they
  // ask for no redraw. A minimum below 1 becomes 1; a maximum of 0 or +inf
  // means no limit (the largest finite double). A value that is not a
  // number, -inf, and +inf as a minimum, are ignored: the limit stays as it
  // was (each value of a min-max pair on its own). A finite maximum is
  // otherwise stored as given, even a negative one.
  virtual void setMinimumScaleX(double xScale);
  virtual void setMaximumScaleX(double xScale);
  virtual void setMinMaxScaleX(double minScaleX, double maxScaleX);
  virtual void setMinimumScaleY(double yScale);
  virtual void setMaximumScaleY(double yScale);
  virtual void setMinMaxScaleY(double minScaleY, double maxScaleY);

  virtual AffineTransform touchMatrix() const;

  // Bounds tests of a pixel position against the content rectangle. The
  // left edge allows one point; the right edge one point after rounding x
  // down to hundredths; the bottom edge rounds y down to hundredths; the top
  // edge allows nothing.
  virtual bool isInBoundsX(double x) const;
  virtual bool isInBoundsY(double y) const;
  virtual bool isInBounds(Point point) const;
  virtual bool isInBounds(double x, double y) const;
  virtual bool isInBoundsLeft(double x) const;
  virtual bool isInBoundsRight(double x) const;
  virtual bool isInBoundsTop(double y) const;
  virtual bool isInBoundsBottom(double y) const;
  // Whether the infinite line through the two points crosses the content.
  virtual bool isIntersectingLine(Point from, Point to) const;

  virtual double scaleX() const;
  virtual double scaleY() const;
  virtual double minScaleX() const;
  virtual double minScaleY() const;
  virtual double maxScaleX() const;
  virtual double maxScaleY() const;
  virtual double transX() const;
  virtual double transY() const;
  virtual bool isFullyZoomedOut() const;
  virtual bool isFullyZoomedOutY() const;
  virtual bool isFullyZoomedOutX() const;
  // How far the content may be dragged past its limits; takes effect at the
  // next limiting pass. An offset that is not a finite number is ignored
  // (the offset stays as it was).
  virtual void setDragOffsetX(double offset);
  virtual void setDragOffsetY(double offset);
  virtual bool hasNoDragOffset() const;
  virtual bool canZoomOutMoreX() const;
  virtual bool canZoomInMoreX() const;
  virtual bool canZoomOutMoreY() const;
  virtual bool canZoomInMoreY() const;

 private:
  AffineTransform touchMatrix_;
  Rect contentRect_;
  double chartWidth_ = 0;
  double chartHeight_ = 0;
  double minScaleY_ = 1;
  double maxScaleY_ = std::numeric_limits<double>::max();
  double minScaleX_ = 1;
  double maxScaleX_ = std::numeric_limits<double>::max();
  double scaleX_ = 1;
  double scaleY_ = 1;
  double transX_ = 0;
  double transY_ = 0;
  double transOffsetX_ = 0;
  double transOffsetY_ = 0;
};

}  // namespace chart
