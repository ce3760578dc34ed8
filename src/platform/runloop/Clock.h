#pragma once

#include <atomic>
#include <memory>

#include "platform/ScopedSetting.h"

namespace platform::runloop {

// The two clocks of the platform, in seconds: media time runs steadily from
// an arbitrary start (animations measure durations with it), absolute time
// counts from 2001-01-01 00:00 UTC and follows the wall clock.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double mediaTime() const = 0;
  virtual double absoluteTime() const = 0;
};

// The machine's clocks.
class SystemClock : public Clock {
 public:
  double mediaTime() const override;
  double absoluteTime() const override;
};

// A clock for tests that moves only when told; both times read the same
// value. Safe to read from any thread.
class ManualClock : public Clock {
 public:
  explicit ManualClock(double start = 0) : now_(start) {}
  double mediaTime() const override { return now_.load(); }
  double absoluteTime() const override { return now_.load(); }
  void set(double seconds) { now_.store(seconds); }
  void advance(double seconds) { now_.store(now_.load() + seconds); }

 private:
  std::atomic<double> now_;
};

// The clock the run loop, the timers, the display links and the chart views'
// touches read; the system clock until a test or an offline renderer
// installs another. Set it on the main thread while no display link runs
// and no other thread uses a chart view.
std::shared_ptr<const Clock> currentClock();
// Installs `clock` (nullptr restores the system clock) and returns the clock
// that was in force.
std::shared_ptr<const Clock> setCurrentClock(std::shared_ptr<const Clock> clock);
// Another clock (nullptr: the system clock) for one scope.
using ScopedClock = ScopedSetting<std::shared_ptr<const Clock>, &setCurrentClock>;

}  // namespace platform::runloop
