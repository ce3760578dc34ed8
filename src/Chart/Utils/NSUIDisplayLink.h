#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/runloop/Clock.h"
#include "platform/runloop/DisplayLinkSource.h"
#include "platform/runloop/RunLoop.h"

namespace chart {

// Ticks its target once per screen refresh on the main thread: the refresh
// thread hands each tick to the main run loop without waiting, or, where no
// display link can be made, a repeating 1/60 s timer of the run loop calls
// the target directly. A link runs once: after remove() it cannot be added
// again, so users make a new one for every run.
//
// What a running link costs: one place in the refresh list of the one
// refresh thread that all links share (no thread of its own), and one task
// posted to the main run loop per refresh; in timer mode, one timer of the
// main run loop.
class NSUIDisplayLink : public std::enable_shared_from_this<NSUIDisplayLink> {
 public:
  // The target's action; it gets the target and ignores which link or timer
  // sent the tick.
  using Selector = std::function<void(const std::shared_ptr<void>& target)>;

  static constexpr double fallbackInterval = 0.016666666666666666;

  // Holds the target weakly; the fall-back timer, once made, holds it
  // strongly until remove(). Costs nothing until added.
  static std::shared_ptr<NSUIDisplayLink> create(std::weak_ptr<void> target, Selector selector);

  // Leaves the refresh (waiting for a tick under way) and invalidates the
  // timer.
  virtual ~NSUIDisplayLink();
  NSUIDisplayLink(const NSUIDisplayLink&) = delete;
  NSUIDisplayLink& operator=(const NSUIDisplayLink&) = delete;

  virtual std::shared_ptr<platform::runloop::Timer> timer() const { return timer_; }
  virtual bool hasDisplayLink() const { return displayLink_ != nullptr; }
  virtual std::weak_ptr<void> target() const { return target_; }
  virtual const Selector& selector() const { return selector_; }
  // The absolute time of the last display-link callback; 0 before the first
  // and in timer mode.
  virtual double timestamp() const { return timestamp_.load(); }

  // Starts the display link, or adds the timer to the run loop in the mode.
  virtual void add(platform::runloop::RunLoop& runLoop, platform::runloop::RunLoopMode mode);
  // Stops the display link and invalidates the timer; the run loop and mode
  // are not used.
  virtual void remove(platform::runloop::RunLoop& runLoop, platform::runloop::RunLoopMode mode);

 protected:
  NSUIDisplayLink(std::weak_ptr<void> target, Selector selector);
  virtual void setup();

 private:
  // On the display link's thread: stores the time and posts the tick.
  void displayLinkOutput();
  // On the main thread.
  void deliverTick();

  std::shared_ptr<platform::runloop::Timer> timer_;
  std::atomic<double> timestamp_{0};
  std::weak_ptr<void> target_;
  Selector selector_;
  std::shared_ptr<const platform::runloop::Clock> clock_;
  bool running_ = false;
  // Last, so that it stops first of the members.
  std::unique_ptr<platform::runloop::DisplayLinkSource> displayLink_;
};

}  // namespace chart
