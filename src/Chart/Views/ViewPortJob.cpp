#include "Chart/Views/ViewPortJob.h"

#include <algorithm>
#include <cmath>

#include "platform/runloop/Clock.h"
#include "platform/runloop/RunLoop.h"

namespace chart {

using platform::runloop::RunLoop;
using platform::runloop::RunLoopMode;

namespace {

double mediaTime() { return platform::runloop::currentClock()->mediaTime(); }

}  // namespace

ViewPortJob::~ViewPortJob() { stop(); }

void ViewPortJob::start() {
  stop();
  startTime_ = mediaTime();
  link_ = NSUIDisplayLink::create(weak_from_this(), [](const std::shared_ptr<void>& target) {
    static_cast<ViewPortJob*>(target.get())->onTick();
  });
  link_->add(RunLoop::main(), RunLoopMode::common);
}

void ViewPortJob::stop() {
  if (!link_) return;
  // A link removed within its own tick lives on until the tick returns: the
  // run loop holds its timer, the main-thread hand-off the link.
  const std::shared_ptr<NSUIDisplayLink> link = std::move(link_);
  link->remove(RunLoop::main(), RunLoopMode::common);
}

void ViewPortJob::onTick() {
  // Keeps the job alive through its tick, whoever lets go of it meanwhile.
  const auto self = shared_from_this();
  if (!tick(mediaTime())) stop();
}

AnimatedViewPortJob::AnimatedViewPortJob(const AffineTransform& from, const AffineTransform& to, double duration,
                                         EasingFunction easing, Apply apply)
    : from_(from), to_(to), duration_(duration), easing_(std::move(easing)), apply_(std::move(apply)) {}

bool AnimatedViewPortJob::tick(double now) {
  const double elapsed = std::min(now - startTime(), duration_);
  if (elapsed >= duration_) {
    apply_(to_);
    return false;
  }
  const double phase = easing_ ? easing_(elapsed, duration_) : elapsed / duration_;
  const auto along = [phase](double from, double to) { return from + (to - from) * phase; };
  const AffineTransform m{along(from_.a, to_.a),   along(from_.b, to_.b),   along(from_.c, to_.c),
                          along(from_.d, to_.d),   along(from_.tx, to_.tx), along(from_.ty, to_.ty)};
  return apply_(m);
}

DragDecelerationJob::DragDecelerationJob(Point velocity, double friction, Pan pan)
    : velocity_(velocity), friction_(friction), pan_(std::move(pan)) {}

bool DragDecelerationJob::tick(double now) {
  if (lastTime_ < 0) lastTime_ = startTime();
  const double elapsed = now - lastTime_;
  lastTime_ = now;
  if (!(elapsed > 0)) return true;
  // n = elapsed · 60 steps of 1/60 s passed, each slowing the speed once
  // and then going on at it: v / 60 · (f + f² + … + fⁿ), so the way gone
  // does not depend on how often the clock ticks.
  const double slowing = std::pow(friction_, elapsed * 60);
  const double way = friction_ < 1 ? friction_ * (1 - slowing) / (1 - friction_) / 60 : elapsed;
  const Point distance{velocity_.x * way, velocity_.y * way};
  velocity_ = Point{velocity_.x * slowing, velocity_.y * slowing};
  if (!pan_(distance)) return false;
  return std::hypot(velocity_.x, velocity_.y) >= stopSpeed;
}

}  // namespace chart
