#include "Chart/Utils/NSUIDisplayLink.h"

namespace chart {

using platform::runloop::DisplayLinkSource;
using platform::runloop::RunLoop;
using platform::runloop::RunLoopMode;
using platform::runloop::Timer;

NSUIDisplayLink::NSUIDisplayLink(std::weak_ptr<void> target, Selector selector)
    : target_(std::move(target)), selector_(std::move(selector)), clock_(platform::runloop::currentClock()) {}

std::shared_ptr<NSUIDisplayLink> NSUIDisplayLink::create(std::weak_ptr<void> target, Selector selector) {
  std::shared_ptr<NSUIDisplayLink> link(new NSUIDisplayLink(std::move(target), std::move(selector)));
  link->setup();
  return link;
}

void NSUIDisplayLink::setup() {
  // The display link's thread never outlives this object (the destructor
  // stops it first), so its output may use `this`.
  displayLink_ = DisplayLinkSource::create([this] { displayLinkOutput(); });
  if (!displayLink_) {
    timer_ = Timer::make(fallbackInterval, true,
                         [target = target_.lock(), selector = selector_](Timer&) {
                           if (target && selector) selector(target);
                         });
  }
}

NSUIDisplayLink::~NSUIDisplayLink() {
  if (displayLink_) displayLink_->stop();
  if (timer_) timer_->invalidate();
}

void NSUIDisplayLink::displayLinkOutput() {
  timestamp_.store(clock_->absoluteTime());
  // Only asks whether the target lives: holding it here, even briefly, could
  // make this thread the one that destroys it.
  if (target_.expired()) return;
  RunLoop::main().post([link = weak_from_this()] {
    if (const auto self = link.lock()) self->deliverTick();
  });
}

void NSUIDisplayLink::deliverTick() {
  // A tick posted before remove() arrives after it: drop it.
  if (!running_) return;
  if (const auto target = target_.lock(); target && selector_) selector_(target);
}

void NSUIDisplayLink::add(RunLoop& runLoop, RunLoopMode mode) {
  if (displayLink_) {
    running_ = true;
    displayLink_->start();
  } else if (timer_) {
    runLoop.add(timer_, mode);
  }
}

void NSUIDisplayLink::remove(RunLoop&, RunLoopMode) {
  running_ = false;
  if (displayLink_) displayLink_->stop();
  if (timer_) timer_->invalidate();
}

}  // namespace chart
