#include "Chart/Utils/ViewPortHandler.h"

#include <algorithm>
#include <cmath>

namespace chart {
namespace {

constexpr double kNoScaleLimit = std::numeric_limits<double>::max();

// A maximum of 0 or +inf means no limit; NaN and -inf keep the one there is.
double maximumScale(double scale, double current) {
  if (scale == 0 || scale == std::numeric_limits<double>::infinity()) return kNoScaleLimit;
  return std::isfinite(scale) ? scale : current;
}

// A minimum below 1 is 1; a minimum or drag offset that is not a finite
// number keeps the one there is.
double minimumScale(double scale, double current) { return std::isfinite(scale) ? std::max(scale, 1.0) : current; }
double dragOffset(double offset, double current) { return std::isfinite(offset) ? offset : current; }

// Rounds down to hundredths, so that a position a rounding error past an
// edge still counts as on it.
double floorToHundredths(double v) { return std::floor(v * 100.0) / 100.0; }

}  // namespace

ViewPortHandler::ViewPortHandler(double width, double height) { setChartDimens(width, height); }

void ViewPortHandler::setChartDimens(double width, double height) {
  const double left = offsetLeft();
  const double top = offsetTop();
  const double right = offsetRight();
  const double bottom = offsetBottom();
  chartHeight_ = height;
  chartWidth_ = width;
  restrainViewPort(left, top, right, bottom);
}

bool ViewPortHandler::hasChartDimens() const { return chartHeight_ > 0 && chartWidth_ > 0; }

void ViewPortHandler::restrainViewPort(double offsetLeft, double offsetTop, double offsetRight,
                                       double offsetBottom) {
  contentRect_ = Rect(offsetLeft, offsetTop, chartWidth_ - offsetLeft - offsetRight,
                      chartHeight_ - offsetBottom - offsetTop);
}

double ViewPortHandler::offsetLeft() const { return contentRect_.origin.x; }
double ViewPortHandler::offsetRight() const {
  return chartWidth_ - contentRect_.size.width - contentRect_.origin.x;
}
double ViewPortHandler::offsetTop() const { return contentRect_.origin.y; }
double ViewPortHandler::offsetBottom() const {
  return chartHeight_ - contentRect_.size.height - contentRect_.origin.y;
}
double ViewPortHandler::contentTop() const { return contentRect_.origin.y; }
double ViewPortHandler::contentLeft() const { return contentRect_.origin.x; }
double ViewPortHandler::contentRight() const { return contentRect_.origin.x + contentRect_.size.width; }
double ViewPortHandler::contentBottom() const { return contentRect_.origin.y + contentRect_.size.height; }
double ViewPortHandler::contentWidth() const { return contentRect_.size.width; }
double ViewPortHandler::contentHeight() const { return contentRect_.size.height; }
Rect ViewPortHandler::contentRect() const { return contentRect_; }
Point ViewPortHandler::contentCenter() const {
  return {contentRect_.origin.x + contentRect_.size.width * 0.5, contentRect_.origin.y + contentRect_.size.height * 0.5};
}
double ViewPortHandler::chartHeight() const { return chartHeight_; }
double ViewPortHandler::chartWidth() const { return chartWidth_; }

AffineTransform ViewPortHandler::zoom(double scaleX, double scaleY) const {
  return touchMatrix_.scaled(scaleX, scaleY);
}

AffineTransform ViewPortHandler::zoom(double scaleX, double scaleY, double x, double y) const {
  return touchMatrix_.translated(x, y).scaled(scaleX, scaleY).translated(-x, -y);
}

AffineTransform ViewPortHandler::zoomIn(double x, double y) const {
  return zoom(zoomInFactor, zoomInFactor, x, y);
}

AffineTransform ViewPortHandler::zoomOut(double x, double y) const {
  return zoom(zoomOutFactor, zoomOutFactor, x, y);
}

AffineTransform ViewPortHandler::resetZoom() const { return zoom(1.0, 1.0, 0.0, 0.0); }

AffineTransform ViewPortHandler::setZoom(double scaleX, double scaleY) const {
  AffineTransform matrix = touchMatrix_;
  matrix.a = scaleX;
  matrix.d = scaleY;
  return matrix;
}

AffineTransform ViewPortHandler::setZoom(double scaleX, double scaleY, double x, double y) const {
  AffineTransform matrix = touchMatrix_;
  matrix.a = 1.0;
  matrix.d = 1.0;
  return matrix.translated(x, y).scaled(scaleX, scaleY).translated(-x, -y);
}

AffineTransform ViewPortHandler::fitScreen() {
  minScaleX_ = 1.0;
  minScaleY_ = 1.0;
  return AffineTransform::identity();
}

AffineTransform ViewPortHandler::translate(Point pt) const {
  return touchMatrix_.concat(AffineTransform::makeTranslation(-(pt.x - offsetLeft()), -(pt.y - offsetTop())));
}

void ViewPortHandler::centerViewPort(Point pt, View& chart) { refresh(translate(pt), chart, true); }

AffineTransform ViewPortHandler::refresh(const AffineTransform& newMatrix, View& chart, bool /*invalidate*/) {
  touchMatrix_ = newMatrix;
  limitTransAndScale(touchMatrix_, contentRect_);
  chart.setNeedsDisplayInRect(chart.bounds());
  return touchMatrix_;
}

void ViewPortHandler::limitTransAndScale(AffineTransform& matrix, std::optional<Rect> content) {
  scaleX_ = std::min(maxScaleX_, std::max(minScaleX_, matrix.a));
  scaleY_ = std::min(maxScaleY_, std::max(minScaleY_, matrix.d));

  const double width = content ? content->width() : 0.0;
  const double height = content ? content->height() : 0.0;

  transX_ = std::min(transOffsetX_, std::max(matrix.tx, -width * (scaleX_ - 1.0) - transOffsetX_));
  transY_ = std::max(-transOffsetY_, std::min(matrix.ty, height * (scaleY_ - 1.0) + transOffsetY_));

  matrix.tx = transX_;
  matrix.a = scaleX_;
  matrix.ty = transY_;
  matrix.d = scaleY_;
}

void ViewPortHandler::setMinimumScaleX(double xScale) {
  minScaleX_ = minimumScale(xScale, minScaleX_);
  limitTransAndScale(touchMatrix_, contentRect_);
}

void ViewPortHandler::setMaximumScaleX(double xScale) {
  maxScaleX_ = maximumScale(xScale, maxScaleX_);
  limitTransAndScale(touchMatrix_, contentRect_);
}

void ViewPortHandler::setMinMaxScaleX(double minScaleX, double maxScaleX) {
  minScaleX_ = minimumScale(minScaleX, minScaleX_);
  maxScaleX_ = maximumScale(maxScaleX, maxScaleX_);
  limitTransAndScale(touchMatrix_, contentRect_);
}

void ViewPortHandler::setMinimumScaleY(double yScale) {
  minScaleY_ = minimumScale(yScale, minScaleY_);
  limitTransAndScale(touchMatrix_, contentRect_);
}

void ViewPortHandler::setMaximumScaleY(double yScale) {
  maxScaleY_ = maximumScale(yScale, maxScaleY_);
  limitTransAndScale(touchMatrix_, contentRect_);
}

void ViewPortHandler::setMinMaxScaleY(double minScaleY, double maxScaleY) {
  minScaleY_ = minimumScale(minScaleY, minScaleY_);
  maxScaleY_ = maximumScale(maxScaleY, maxScaleY_);
  limitTransAndScale(touchMatrix_, contentRect_);
}

AffineTransform ViewPortHandler::touchMatrix() const { return touchMatrix_; }

bool ViewPortHandler::isInBoundsX(double x) const { return isInBoundsLeft(x) && isInBoundsRight(x); }
bool ViewPortHandler::isInBoundsY(double y) const { return isInBoundsTop(y) && isInBoundsBottom(y); }
bool ViewPortHandler::isInBounds(Point point) const { return isInBounds(point.x, point.y); }
bool ViewPortHandler::isInBounds(double x, double y) const { return isInBoundsX(x) && isInBoundsY(y); }

bool ViewPortHandler::isInBoundsLeft(double x) const { return contentRect_.origin.x <= x + 1.0; }
bool ViewPortHandler::isInBoundsRight(double x) const {
  return floorToHundredths(x) - 1.0 <= contentRect_.origin.x + contentRect_.size.width;
}
bool ViewPortHandler::isInBoundsTop(double y) const { return contentRect_.origin.y <= y; }
bool ViewPortHandler::isInBoundsBottom(double y) const {
  return floorToHundredths(y) <= contentRect_.origin.y + contentRect_.size.height;
}

bool ViewPortHandler::isIntersectingLine(Point from, Point to) const {
  if (isInBounds(from) || isInBounds(to)) return true;
  // A vertical line has no slope; it crosses when its x lies within.
  if (from.x == to.x) return isInBoundsX(from.x);

  const double slope = (to.y - from.y) / (to.x - from.x);
  const double intercept = from.y - slope * from.x;
  // Where the line passes the left edge.
  if (isInBoundsY(intercept + slope * contentRect_.minX())) return true;
  // A horizontal line that misses the left edge misses everything.
  if (slope == 0) return false;
  // Where it meets the bottom edge, else the top edge.
  if (isInBoundsX((contentRect_.maxY() - intercept) / slope)) return true;
  return isInBoundsX((contentRect_.minY() - intercept) / slope);
}

double ViewPortHandler::scaleX() const { return scaleX_; }
double ViewPortHandler::scaleY() const { return scaleY_; }
double ViewPortHandler::minScaleX() const { return minScaleX_; }
double ViewPortHandler::minScaleY() const { return minScaleY_; }
double ViewPortHandler::maxScaleX() const { return maxScaleX_; }
double ViewPortHandler::maxScaleY() const { return maxScaleY_; }
double ViewPortHandler::transX() const { return transX_; }
double ViewPortHandler::transY() const { return transY_; }

bool ViewPortHandler::isFullyZoomedOut() const { return isFullyZoomedOutX() && isFullyZoomedOutY(); }
bool ViewPortHandler::isFullyZoomedOutY() const { return scaleY_ <= minScaleY_ && minScaleY_ <= 1.0; }
bool ViewPortHandler::isFullyZoomedOutX() const { return scaleX_ <= minScaleX_ && minScaleX_ <= 1.0; }

void ViewPortHandler::setDragOffsetX(double offset) { transOffsetX_ = dragOffset(offset, transOffsetX_); }
void ViewPortHandler::setDragOffsetY(double offset) { transOffsetY_ = dragOffset(offset, transOffsetY_); }
bool ViewPortHandler::hasNoDragOffset() const { return transOffsetX_ <= 0 && transOffsetY_ <= 0; }

bool ViewPortHandler::canZoomOutMoreX() const { return minScaleX_ < scaleX_; }
bool ViewPortHandler::canZoomInMoreX() const { return scaleX_ < maxScaleX_; }
bool ViewPortHandler::canZoomOutMoreY() const { return minScaleY_ < scaleY_; }
bool ViewPortHandler::canZoomInMoreY() const { return scaleY_ < maxScaleY_; }

}  // namespace chart
