#include "Chart/Utils/Animator.h"

#include <algorithm>
#include <cmath>

#include "Chart/Utils/NSUIDisplayLink.h"
#include "platform/runloop/Clock.h"
#include "platform/runloop/RunLoop.h"

namespace chart {

using platform::runloop::RunLoop;
using platform::runloop::RunLoopMode;

namespace {

double mediaTime() { return platform::runloop::currentClock()->mediaTime(); }

}  // namespace

std::shared_ptr<Animator> Animator::create() { return std::shared_ptr<Animator>(new Animator()); }

// Inside the destructor stop() is this class's own, and the delegate (a view
// that owns this animator) may already be gone.
Animator::~Animator() { stop(); }

void Animator::tellUpdated() {
  if (const auto receiver = delegate().lock()) receiver->animatorUpdated(*this);
  // Copies of the blocks: a block may replace itself while it runs.
  if (const Block block = updateBlock()) block();
}

void Animator::stop() {
  if (!displayLink_) return;
  {
    // The link is removed and let go of before anyone is called back, so
    // that a callback that starts a new animation makes a link of its own.
    // A link dropped inside its own tick lives on until the tick returns
    // (the run loop holds its timer, the main-thread hand-off the link).
    const std::shared_ptr<NSUIDisplayLink> link = std::move(displayLink_);
    link->remove(RunLoop::main(), RunLoopMode::common);
  }
  x_.enabled = false;
  y_.enabled = false;
  if (phaseX() != 1.0 || phaseY() != 1.0) {
    setPhaseX(1.0);
    setPhaseY(1.0);
    tellUpdated();
  }
  if (const auto receiver = delegate().lock()) receiver->animatorStopped(*this);
  if (const Block block = stopBlock()) block();
}

void Animator::AxisRun::start(double now, double length, EasingFunction curve) {
  startTime = now;
  duration = length;
  endTime = now + length;
  // A duration of infinity (or one whose end cannot be told) would never end.
  enabled = length > 0 && std::isfinite(endTime);
  easing = std::move(curve);
}

double Animator::AxisRun::phaseAt(double currentTime) const {
  const double elapsed = std::min(currentTime - startTime, duration);
  return easing ? easing(elapsed, duration) : elapsed / duration;
}

void Animator::updatePhases(double currentTime) {
  if (x_.enabled) setPhaseX(x_.phaseAt(currentTime));
  if (y_.enabled) setPhaseY(y_.phaseAt(currentTime));
}

void Animator::animationLoop() {
  const double now = mediaTime();
  updatePhases(now);
  tellUpdated();
  if (now >= endTime_) stop();
}

void Animator::startDisplayLink() {
  // A link already here was started by a callback of the stop that began
  // this start; letting go of it stops it.
  displayLink_ = NSUIDisplayLink::create(weak_from_this(), [](const std::shared_ptr<void>& target) {
    static_cast<Animator*>(target.get())->animationLoop();
  });
  displayLink_->add(RunLoop::main(), RunLoopMode::common);
}

void Animator::animate(double xAxisDuration, double yAxisDuration, EasingFunction easingX, EasingFunction easingY) {
  stop();
  const double now = mediaTime();
  x_.start(now, xAxisDuration, std::move(easingX));
  y_.start(now, yAxisDuration, std::move(easingY));
  endTime_ = std::max(x_.endTime, y_.endTime);
  updatePhases(now);
  if (x_.enabled || y_.enabled) startDisplayLink();
}

void Animator::animate(double xAxisDuration, double yAxisDuration, ChartEasingOption easingOptionX,
                       ChartEasingOption easingOptionY) {
  animate(xAxisDuration, yAxisDuration, easingFunctionFromOption(easingOptionX),
          easingFunctionFromOption(easingOptionY));
}

void Animator::animate(double xAxisDuration, double yAxisDuration, EasingFunction easing) {
  animate(xAxisDuration, yAxisDuration, easing, easing);
}

void Animator::animate(double xAxisDuration, double yAxisDuration, ChartEasingOption easingOption) {
  animate(xAxisDuration, yAxisDuration, easingFunctionFromOption(easingOption));
}

void Animator::animateAxis(AxisRun& axis, double duration, EasingFunction easing) {
  // No stop: a running animation of the other axis goes on, on its link.
  const double now = mediaTime();
  axis.start(now, duration, std::move(easing));
  endTime_ = std::max(x_.endTime, y_.endTime);
  updatePhases(now);
  if ((x_.enabled || y_.enabled) && !displayLink_) startDisplayLink();
}

void Animator::animateX(double xAxisDuration, EasingFunction easing) {
  animateAxis(x_, xAxisDuration, std::move(easing));
}

void Animator::animateX(double xAxisDuration, ChartEasingOption easingOption) {
  animateX(xAxisDuration, easingFunctionFromOption(easingOption));
}

void Animator::animateY(double yAxisDuration, EasingFunction easing) {
  animateAxis(y_, yAxisDuration, std::move(easing));
}

void Animator::animateY(double yAxisDuration, ChartEasingOption easingOption) {
  animateY(yAxisDuration, easingFunctionFromOption(easingOption));
}

}  // namespace chart
