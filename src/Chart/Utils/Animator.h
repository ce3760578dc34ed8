#pragma once

#include <functional>
#include <memory>

#include "Chart/Utils/ChartAnimationEasing.h"

namespace chart {

class Animator;
class NSUIDisplayLink;

// Told of an animator's progress: every change of the phases (the receiver
// redraws) and the end of the animation.
class ChartAnimatorDelegate {
 public:
  virtual ~ChartAnimatorDelegate() = default;
  virtual void animatorUpdated(Animator& animator) = 0;
  virtual void animatorStopped(Animator& animator) = 0;
};

// Runs the two phases of a chart's animation from 0 to 1, each over its own
// duration and shaped by its own easing curve; the data renderers multiply
// what they draw by the phases. Ticks come from a display link on the main
// run loop, one per screen refresh, and each tick tells the delegate and the
// update block; the last tick stops the animation and tells the delegate and
// the stop block that too. An absent (empty) easing function is linear.
//
// Made with create() (or std::make_shared of a subclass): the display link
// needs a weak pointer to its target. Main thread only.
//
// The blocks may start, restart or stop animations of this animator, and the
// delegate may stop it, from within any callback: stop() lets go of the
// display link before it calls anyone back, so a new start gets a link of
// its own. An animator destroyed while it runs stops first, with its
// callbacks; blocks must then not reach objects that are themselves being
// destroyed.
class Animator : public std::enable_shared_from_this<Animator> {
 public:
  using Block = std::function<void()>;

  static std::shared_ptr<Animator> create();
  // Stops a running animation, with its callbacks.
  virtual ~Animator();
  Animator(const Animator&) = delete;
  Animator& operator=(const Animator&) = delete;

  virtual std::weak_ptr<ChartAnimatorDelegate> delegate() const { return delegate_; }
  virtual void setDelegate(std::weak_ptr<ChartAnimatorDelegate> delegate) { delegate_ = std::move(delegate); }
  // The animator runs a copy of a block, so that a block may replace itself
  // while it runs; state that must outlast one call lives outside the block.
  // Called after each update of the phases, after the delegate.
  virtual const Block& updateBlock() const { return updateBlock_; }
  virtual void setUpdateBlock(Block block) { updateBlock_ = std::move(block); }
  // Called once an animation has stopped, after the delegate.
  virtual const Block& stopBlock() const { return stopBlock_; }
  virtual void setStopBlock(Block block) { stopBlock_ = std::move(block); }
  // The progress along x and y, 1 while nothing animates.
  virtual double phaseX() const { return phaseX_; }
  virtual void setPhaseX(double phase) { phaseX_ = phase; }
  virtual double phaseY() const { return phaseY_; }
  virtual void setPhaseY(double phase) { phaseY_ = phase; }

  // Ends a running animation: lets go of the display link, brings both
  // phases to 1 (telling the delegate and the update block when that
  // changes them) and tells the delegate and the stop block that it stopped.
  // Nothing at all while no animation runs.
  virtual void stop();
  // Sets the phase of each animating axis for the media time `currentTime`;
  // the other axis keeps its phase.
  virtual void updatePhases(double currentTime);
  // The display link's action, once per tick: updates the phases, tells the
  // delegate and the update block, and stops once the later end time has
  // come.
  virtual void animationLoop();

  // The two-axis starts: end any running animation (with its callbacks),
  // then animate each axis whose duration (seconds) is positive and finite,
  // from its easing's start. With neither nothing more happens: no run, no
  // callback, and the phases keep their values. An infinite duration counts
  // as none: it would never end.
  virtual void animate(double xAxisDuration, double yAxisDuration, EasingFunction easingX, EasingFunction easingY);
  virtual void animate(double xAxisDuration, double yAxisDuration, ChartEasingOption easingOptionX,
                       ChartEasingOption easingOptionY);
  virtual void animate(double xAxisDuration, double yAxisDuration, EasingFunction easing);
  virtual void animate(double xAxisDuration, double yAxisDuration, ChartEasingOption easingOption);

  // The one-axis starts: (re)start one axis and leave a running animation of
  // the other axis going; the animation ends when the later of the two axes
  // has.
  virtual void animateX(double xAxisDuration, EasingFunction easing);
  virtual void animateX(double xAxisDuration, ChartEasingOption easingOption);
  virtual void animateY(double yAxisDuration, EasingFunction easing);
  virtual void animateY(double yAxisDuration, ChartEasingOption easingOption);

 protected:
  Animator() = default;

 private:
  // One axis' run: from its start (seconds of the media clock) over its
  // duration; an axis that is not enabled keeps its phase.
  struct AxisRun {
    double startTime = 0;
    double duration = 0;
    double endTime = 0;
    bool enabled = false;
    EasingFunction easing;

    void start(double now, double length, EasingFunction curve);
    // The eased progress at `currentTime`, held at the end once it is past.
    double phaseAt(double currentTime) const;
  };

  // The one-axis start of either axis.
  void animateAxis(AxisRun& axis, double duration, EasingFunction easing);
  // Makes a display link with this animator as its target and adds it to
  // the main run loop in the common modes.
  void startDisplayLink();
  void tellUpdated();

  std::weak_ptr<ChartAnimatorDelegate> delegate_;
  Block updateBlock_;
  Block stopBlock_;
  double phaseX_ = 1.0;
  double phaseY_ = 1.0;
  std::shared_ptr<NSUIDisplayLink> displayLink_;
  AxisRun x_;
  AxisRun y_;
  // The later of the two end times.
  double endTime_ = 0;
};

}  // namespace chart
