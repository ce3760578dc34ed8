#include "Chart/Utils/Animator.h"

#include <algorithm>

#include "Chart/Utils/NSUIDisplayLink.h"
#include "platform/runloop/Clock.h"
#include "platform/runloop/RunLoop.h"

namespace chart {

using platform::runloop::RunLoop;
using platform::runloop::RunLoopMode;

namespace {

double mediaTime() { return platform::runloop::currentClock()->mediaTime(); }

double phaseAt(double currentTime, double startTime, double duration, const EasingFunction& easing) {
  const double elapsed = std::min(currentTime - startTime, duration);
  return easing ? easing(elapsed, duration) : elapsed / duration;
}

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
  enabledX_ = false;
  enabledY_ = false;
  if (phaseX() != 1.0 || phaseY() != 1.0) {
    setPhaseX(1.0);
    setPhaseY(1.0);
    tellUpdated();
  }
  if (const auto receiver = delegate().lock()) receiver->animatorStopped(*this);
  if (const Block block = stopBlock()) block();
}

void Animator::updatePhases(double currentTime) {
  if (enabledX_) setPhaseX(phaseAt(currentTime, startTimeX_, durationX_, easingX_));
  if (enabledY_) setPhaseY(phaseAt(currentTime, startTimeY_, durationY_, easingY_));
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
  startTimeX_ = now;
  startTimeY_ = now;
  durationX_ = xAxisDuration;
  durationY_ = yAxisDuration;
  endTimeX_ = now + xAxisDuration;
  endTimeY_ = now + yAxisDuration;
  endTime_ = std::max(endTimeX_, endTimeY_);
  enabledX_ = xAxisDuration > 0;
  enabledY_ = yAxisDuration > 0;
  easingX_ = std::move(easingX);
  easingY_ = std::move(easingY);
  updatePhases(now);
  if (enabledX_ || enabledY_) startDisplayLink();
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

void Animator::animateX(double xAxisDuration, EasingFunction easing) {
  const double now = mediaTime();
  startTimeX_ = now;
  durationX_ = xAxisDuration;
  endTimeX_ = now + xAxisDuration;
  endTime_ = std::max(endTimeX_, endTimeY_);
  enabledX_ = xAxisDuration > 0;
  easingX_ = std::move(easing);
  updatePhases(now);
  if ((enabledX_ || enabledY_) && !displayLink_) startDisplayLink();
}

void Animator::animateX(double xAxisDuration, ChartEasingOption easingOption) {
  animateX(xAxisDuration, easingFunctionFromOption(easingOption));
}

void Animator::animateY(double yAxisDuration, EasingFunction easing) {
  const double now = mediaTime();
  startTimeY_ = now;
  durationY_ = yAxisDuration;
  endTimeY_ = now + yAxisDuration;
  endTime_ = std::max(endTimeX_, endTimeY_);
  enabledY_ = yAxisDuration > 0;
  easingY_ = std::move(easing);
  updatePhases(now);
  if ((enabledX_ || enabledY_) && !displayLink_) startDisplayLink();
}

void Animator::animateY(double yAxisDuration, ChartEasingOption easingOption) {
  animateY(yAxisDuration, easingFunctionFromOption(easingOption));
}

}  // namespace chart
