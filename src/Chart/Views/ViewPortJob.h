#pragma once

#include <functional>
#include <memory>

#include "Chart/Utils/ChartAnimationEasing.h"
#include "Chart/Utils/NSUIDisplayLink.h"
#include "platform/graphics/Geometry.h"

namespace chart {

using platform::graphics::AffineTransform;
using platform::graphics::Point;

// A job that moves a chart's view port on display-link ticks, on the main
// run loop in the common modes (so it goes on while a drag is tracked),
// until it is done or stopped. Jobs reach their chart only through the
// function they are given, which holds the chart weakly and reports
// whether the chart is still there: a job whose chart is gone ends at its
// next tick, and the chart stops its job when it is destroyed.
//
// Made with std::make_shared (the display link holds it weakly, or, in the
// timer fall-back, strongly until stop()). Main thread only.
class ViewPortJob : public std::enable_shared_from_this<ViewPortJob> {
 public:
  virtual ~ViewPortJob();
  ViewPortJob(const ViewPortJob&) = delete;
  ViewPortJob& operator=(const ViewPortJob&) = delete;

  // Notes the media time as the job's start and begins ticking; a running
  // job starts over.
  void start();
  // Stops ticking; a tick posted before arrives to nothing. Safe from
  // within a tick.
  void stop();
  bool isRunning() const { return link_ != nullptr; }

 protected:
  ViewPortJob() = default;
  // Seconds of the media clock at start().
  double startTime() const { return startTime_; }
  // One tick at media time `now`; false ends the job.
  virtual bool tick(double now) = 0;

 private:
  void onTick();

  std::shared_ptr<NSUIDisplayLink> link_;
  double startTime_ = 0;
};

// Eases the touch matrix from one matrix to another over a duration: each
// tick applies the matrix `easing` of the way along (each of the six
// numbers in a straight line), the tick at or after the end applies the
// target itself.
class AnimatedViewPortJob : public ViewPortJob {
 public:
  // Stores the matrix and answers whether the chart is still there.
  using Apply = std::function<bool(const AffineTransform& matrix)>;

  // The duration is in seconds and positive; an absent easing is linear.
  AnimatedViewPortJob(const AffineTransform& from, const AffineTransform& to, double duration, EasingFunction easing,
                      Apply apply);

  const AffineTransform& target() const { return to_; }

 protected:
  bool tick(double now) override;

 private:
  AffineTransform from_;
  AffineTransform to_;
  double duration_;
  EasingFunction easing_;
  Apply apply_;
};

// Goes on with a released drag: for each 1/60 s that passed since the last
// tick the speed is slowed by the friction coefficient and the content
// pans by that speed for 1/60 s, all in one pan per tick (so a clock that
// ticks less often takes the content as far). It ends when the speed falls
// below `stopSpeed` or a pan moves nothing (the content is at its limits).
class DragDecelerationJob : public ViewPortJob {
 public:
  // Pans by a distance in points of the view; false when the chart is gone
  // or nothing moved.
  using Pan = std::function<bool(Point distance)>;

  // Points per second below which the content is taken to have stopped.
  static constexpr double stopSpeed = 1.0;

  // `velocity` in points per second; `friction` within (0, 1).
  DragDecelerationJob(Point velocity, double friction, Pan pan);

  Point velocity() const { return velocity_; }

 protected:
  bool tick(double now) override;

 private:
  Point velocity_;
  double friction_;
  Pan pan_;
  double lastTime_ = -1;
};

}  // namespace chart
