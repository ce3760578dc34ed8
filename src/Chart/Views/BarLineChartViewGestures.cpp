// The zoom, pan, move and touch side of BarLineChartViewBase.

#include <algorithm>
#include <cmath>
#include <utility>

#include "Chart/Views/BarLineChartViewBase.h"
#include "platform/runloop/Clock.h"

namespace chart {

namespace {

bool finite(double v) { return std::isfinite(v); }
bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

double runLoopTime() { return platform::runloop::currentClock()->mediaTime(); }

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

Point centre(Point a, Point b) { return Point{(a.x + b.x) / 2, (a.y + b.y) / 2}; }

// The factor that takes `scale` toward scale · factor as far as the limits
// allow (the maximum winning when they cross, as in the handler's limiting
// pass). A scale past the largest double keeps its factor: the matrix it
// makes is not taken.
double allowedFactor(double factor, double scale, double minScale, double maxScale) {
  const double wanted = scale * factor;
  const double allowed = std::min(maxScale, std::max(minScale, wanted));
  if (!std::isfinite(wanted) || allowed == wanted) return factor;
  return allowed / scale;
}

}  // namespace

Point BarLineChartViewBase::matrixSpacePoint(Point p) const {
  const ViewPortHandler& h = *viewPortHandler();
  // The offset matrix puts the matrix's origin on the content's left edge,
  // at its bottom (y upwards) or, for an inverted axis, its top (y down).
  if (leftAxis()->isInverted()) return Point{p.x - h.offsetLeft(), h.offsetTop() - p.y};
  return Point{p.x - h.offsetLeft(), p.y - (h.chartHeight() - h.offsetBottom())};
}

Point BarLineChartViewBase::pixelForValue(double x, double y, AxisDependency axis) const {
  return getTransformer(axis)->pixelForValues(x, y);
}

Point BarLineChartViewBase::xAxisStart(Point across) const {
  return Point{viewPortHandler()->contentLeft(), across.y};
}

AffineTransform BarLineChartViewBase::panMatrix(Point from, Point to) const {
  const ViewPortHandler& h = *viewPortHandler();
  const Point a = matrixSpacePoint(from);
  const Point b = matrixSpacePoint(to);
  // translate(pt) moves the matrix by (offsetLeft - pt.x, offsetTop - pt.y).
  return h.translate(Point{h.offsetLeft() - (b.x - a.x), h.offsetTop() - (b.y - a.y)});
}

AffineTransform BarLineChartViewBase::zoomMatrix(double scaleX, double scaleY, Point about) const {
  const ViewPortHandler& h = *viewPortHandler();
  // A factor the limits would cut is cut here, so the matrix keeps the
  // point: cut after it is built, the pan made for the larger factor would
  // slide the content.
  scaleX = allowedFactor(scaleX, h.scaleX(), h.minScaleX(), h.maxScaleX());
  scaleY = allowedFactor(scaleY, h.scaleY(), h.minScaleY(), h.maxScaleY());
  if (scaleX == 1 && scaleY == 1) return h.touchMatrix();
  // The handler's zoom scales about a point before the touch matrix, so the
  // point of the view is taken back through the touch matrix first.
  const Point pivot = h.touchMatrix().inverted().apply(matrixSpacePoint(about));
  return h.zoom(scaleX, scaleY, pivot.x, pivot.y);
}

bool BarLineChartViewBase::applyMatrix(const AffineTransform& matrix) {
  // Finite factors can still multiply past the largest double (a zoom of a
  // zoom); such a matrix would carry no chart, so it is not taken.
  for (const double v : {matrix.a, matrix.b, matrix.c, matrix.d, matrix.tx, matrix.ty})
    if (!finite(v)) return false;
  ViewPortHandler& h = *viewPortHandler();
  const double scaleX = h.scaleX();
  const double scaleY = h.scaleY();
  h.refresh(matrix, *this, false);
  return h.scaleX() != scaleX || h.scaleY() != scaleY;
}

void BarLineChartViewBase::layOutKeeping(Point at) {
  const auto inForce = ownMetricsInForce();
  setKeptInPlace(at);
  ViewPortHandler& h = *viewPortHandler();
  const auto& transformer = getTransformer(AxisDependency::left);
  const Rect before = h.contentRect();
  const Point value = transformer ? transformer->valueForTouchPoint(at) : Point{};
  calculateOffsets();
  if (!transformer || h.contentRect() == before) return;
  // The transformer's value and pixel spaces are each other's inverse,
  // whichever way the view is turned.
  const Point now = transformer->pixelForValues(value.x, value.y);
  if (finite(value) && finite(now)) applyMatrix(panMatrix(now, at));
}

void BarLineChartViewBase::layOutAfterPinch() {
  Tracking& t = tracking_;
  const bool remeasure = std::exchange(t.remeasurePending, false);
  if (!std::exchange(t.layoutPending, false) && !remeasure) return;
  if (!remeasure) {
    layOutKeeping(t.last);
    return;
  }
  const auto inForce = ownMetricsInForce();
  setKeptInPlace(t.last);
  relayOutForMetrics();
}

void BarLineChartViewBase::zoomAbout(double scaleX, double scaleY, Point about) {
  stopViewPortJob();
  if (applyMatrix(zoomMatrix(scaleX, scaleY, about))) layOutKeeping(about);
}

void BarLineChartViewBase::zoom(double scaleX, double scaleY, double x, double y) {
  if (!finite(scaleX) || !finite(scaleY) || !finite(x) || !finite(y)) return;
  zoomAbout(scaleX, scaleY, Point{x, y});
}

void BarLineChartViewBase::zoomIn() {
  zoomAbout(ViewPortHandler::zoomInFactor, ViewPortHandler::zoomInFactor, viewPortHandler()->contentCenter());
}

void BarLineChartViewBase::zoomOut() {
  zoomAbout(ViewPortHandler::zoomOutFactor, ViewPortHandler::zoomOutFactor, viewPortHandler()->contentCenter());
}

void BarLineChartViewBase::resetZoom() {
  stopViewPortJob();
  viewPortHandler()->refresh(viewPortHandler()->resetZoom(), *this, false);
  calculateOffsetsWithOwnMetrics();
}

void BarLineChartViewBase::fitScreen() {
  stopViewPortJob();
  viewPortHandler()->refresh(viewPortHandler()->fitScreen(), *this, false);
  calculateOffsetsWithOwnMetrics();
}

void BarLineChartViewBase::moveValue(double xValue, double yValue, AxisDependency axis, Point to) {
  moveValueAnimated(xValue, yValue, axis, to, 0, ChartEasingOption::linear);
}

void BarLineChartViewBase::moveValueAnimated(double xValue, double yValue, AxisDependency axis, Point to,
                                             double duration, ChartEasingOption easing) {
  if (!getTransformer(axis) || !finite(xValue) || !finite(yValue) || !finite(duration) || !finite(to)) return;
  const Point from = pixelForValue(xValue, yValue, axis);
  if (!finite(from)) return;
  stopViewPortJob();
  const AffineTransform target = panMatrix(from, to);
  if (duration <= 0 || weakSelf().expired()) {
    applyMatrix(target);
    return;
  }
  viewPortJob_ = std::make_shared<AnimatedViewPortJob>(viewPortHandler()->touchMatrix(), target, duration,
                                                       easingFunctionFromOption(easing), applier());
  viewPortJob_->start();
}

AnimatedViewPortJob::Apply BarLineChartViewBase::applier() {
  return [view = weakSelf()](const AffineTransform& matrix) {
    const auto self = view.lock();
    if (self) self->applyMatrix(matrix);
    return self != nullptr;
  };
}

std::weak_ptr<BarLineChartViewBase> BarLineChartViewBase::weakSelf() {
  return std::static_pointer_cast<BarLineChartViewBase>(weak_from_this().lock());
}

void BarLineChartViewBase::moveViewToX(double xValue) {
  if (!getTransformer(AxisDependency::left) || !finite(xValue)) return;
  // The value at any y: only the x axis's way moves.
  moveValue(xValue, 0, AxisDependency::left, xAxisStart(pixelForValue(xValue, 0, AxisDependency::left)));
}

void BarLineChartViewBase::moveViewTo(double xValue, double yValue, AxisDependency axis) {
  moveValue(xValue, yValue, axis, xAxisStart(viewPortHandler()->contentCenter()));
}

void BarLineChartViewBase::centerViewTo(double xValue, double yValue, AxisDependency axis) {
  moveValue(xValue, yValue, axis, viewPortHandler()->contentCenter());
}

void BarLineChartViewBase::moveViewToAnimated(double xValue, double yValue, AxisDependency axis, double duration,
                                              ChartEasingOption easing) {
  moveValueAnimated(xValue, yValue, axis, xAxisStart(viewPortHandler()->contentCenter()), duration, easing);
}

void BarLineChartViewBase::centerViewToAnimated(double xValue, double yValue, AxisDependency axis, double duration,
                                                ChartEasingOption easing) {
  moveValueAnimated(xValue, yValue, axis, viewPortHandler()->contentCenter(), duration, easing);
}

void BarLineChartViewBase::stopViewPortJob() {
  if (const auto job = std::move(viewPortJob_)) job->stop();
}

void BarLineChartViewBase::setDragDecelerationFrictionCoef(double coefficient) {
  if (std::isnan(coefficient)) return;
  dragDecelerationFrictionCoef_ = std::clamp(coefficient, 0.0, 0.999);
}

bool BarLineChartViewBase::canPan() const {
  const ViewPortHandler& h = *viewPortHandler();
  return isDragEnabled() && !(h.isFullyZoomedOut() && h.hasNoDragOffset());
}

void BarLineChartViewBase::noteDragSample(double now, Point at) {
  auto& trail = tracking_.trail;
  // Of a run of moves handled together only the first and the last count.
  if (trail.size() >= 2 && now - trail[trail.size() - 2].time < handledTogether) {
    trail.back() = Sample{now, at};
  } else {
    trail.push_back(Sample{now, at});
  }
  while (trail.size() > 2 && now - trail[1].time > flingWindow) trail.pop_front();
}

Point BarLineChartViewBase::releaseVelocity() const {
  const auto& trail = tracking_.trail;
  if (trail.empty()) return Point{};
  const Sample& last = trail.back();
  // From the oldest sample within the window before the last move...
  size_t from = trail.size() - 1;
  while (from > 0 && last.time - trail[from - 1].time <= flingWindow) --from;
  // ...or, when the moves since it were handled together, from the one
  // before them.
  if (from > 0 && last.time - trail[from].time < handledTogether) --from;
  const double elapsed = last.time - trail[from].time;
  if (!(elapsed >= handledTogether)) return Point{};
  return Point{(last.at.x - trail[from].at.x) / elapsed, (last.at.y - trail[from].at.y) / elapsed};
}

void BarLineChartViewBase::startPinch(const std::vector<Touch>& touches) {
  if (!finite(touches[0].location) || !finite(touches[1].location)) return;
  tracking_.gesture = Gesture::pinch;
  tracking_.pinchDistance = distance(touches[0].location, touches[1].location);
  tracking_.last = centre(touches[0].location, touches[1].location);
}

void BarLineChartViewBase::tap(Point at) {
  if (!isHighlightPerTapEnabled()) return;
  const auto found = getHighlightByTouchPoint(at);
  const auto last = lastHighlighted();
  if (!found || (last && found->isEqual(last.get()))) {
    clearHighlights();
  } else {
    highlightValue(found);
  }
}

void BarLineChartViewBase::nsuiTouchesBegan(const std::vector<Touch>& touches, const TouchEvent&) {
  stopViewPortJob();
  if (touches.size() >= 2) {
    if (isScaleXEnabled() || isScaleYEnabled()) startPinch(touches);
    return;
  }
  if (touches.empty() || !finite(touches[0].location) || tracking_.gesture != Gesture::none) return;
  tracking_.gesture = Gesture::possibleTap;
  tracking_.start = tracking_.last = touches[0].location;
  tracking_.lastTime = runLoopTime();
  tracking_.trail.assign(1, Sample{tracking_.lastTime, tracking_.start});
  tracking_.highlightedBefore = highlighted();
  tracking_.lastHighlightedBefore = lastHighlighted();
}

void BarLineChartViewBase::nsuiTouchesMoved(const std::vector<Touch>& touches, const TouchEvent&) {
  if (touches.empty()) return;
  Tracking& t = tracking_;
  const Point at = touches[0].location;
  if (!finite(at)) return;
  const double now = runLoopTime();

  if (t.gesture == Gesture::pinch) {
    if (touches.size() < 2 || !finite(touches[1].location)) return;
    const double spread = distance(touches[0].location, touches[1].location);
    const Point middle = centre(touches[0].location, touches[1].location);
    // Two fingers on one spot give no scale to go by.
    if (t.pinchDistance > 0 && spread > 0) {
      const double scale = spread / t.pinchDistance;
      // The room around the content waits for the pinch's end, so the
      // content stays under the fingers.
      if (applyMatrix(zoomMatrix(isScaleXEnabled() ? scale : 1, isScaleYEnabled() ? scale : 1, middle)))
        t.layoutPending = true;
    }
    t.pinchDistance = spread;
    t.last = middle;
    return;
  }

  if (t.gesture == Gesture::possibleTap) {
    if (distance(at, t.start) <= tapSlop) return;
    if (canPan()) {
      t.gesture = Gesture::drag;
    } else if (isHighlightPerDragEnabled()) {
      t.gesture = Gesture::dragHighlight;
    } else {
      t.gesture = Gesture::none;
      return;
    }
  }

  if (t.gesture == Gesture::drag) {
    applyMatrix(panMatrix(t.last, at));
    noteDragSample(now, at);
    t.last = at;
    t.lastTime = now;
  } else if (t.gesture == Gesture::dragHighlight) {
    // Between values (beyond the highlight distance) the last one stays.
    const auto found = getHighlightByTouchPoint(at);
    const auto last = lastHighlighted();
    if (found && !(last && found->isEqual(last.get()))) highlightValue(found);
    t.last = at;
    t.lastTime = now;
  }
}

void BarLineChartViewBase::nsuiTouchesEnded(const std::vector<Touch>& touches, const TouchEvent&) {
  Tracking& t = tracking_;
  const Gesture gesture = std::exchange(t.gesture, Gesture::none);
  layOutAfterPinch();
  if (gesture == Gesture::possibleTap) {
    tap(touches.empty() || !finite(touches[0].location) ? t.last : touches[0].location);
  } else if (gesture == Gesture::drag) {
    const double friction = dragDecelerationFrictionCoef();
    const bool thrown = runLoopTime() - t.lastTime <= flingWindow;
    const Point velocity = releaseVelocity();
    const auto view = weakSelf();
    if (friction > 0 && thrown && (velocity.x != 0 || velocity.y != 0) && !view.expired()) {
      viewPortJob_ = std::make_shared<DragDecelerationJob>(velocity, friction, [view](Point step) {
        const auto self = view.lock();
        if (!self) return false;
        const AffineTransform before = self->viewPortHandler()->touchMatrix();
        self->applyMatrix(self->panMatrix(Point{0, 0}, step));
        return !(self->viewPortHandler()->touchMatrix() == before);
      });
      viewPortJob_->start();
    }
  }
}

void BarLineChartViewBase::nsuiTouchesCancelled(const std::vector<Touch>&, const TouchEvent&) {
  Tracking& t = tracking_;
  layOutAfterPinch();
  // The matrix stays as the last move left it; a highlight the drag moved
  // goes back to what it was.
  if (std::exchange(t.gesture, Gesture::none) == Gesture::dragHighlight) {
    highlightValues(t.highlightedBefore);
    // The last highlighted goes back too while the view still holds it (the
    // data may have changed under the finger); else it is the first held.
    const auto& held = highlighted();
    const auto& last = t.lastHighlightedBefore;
    if (!last || std::find(held.begin(), held.end(), last) != held.end()) setLastHighlighted(last);
  }
}

}  // namespace chart
