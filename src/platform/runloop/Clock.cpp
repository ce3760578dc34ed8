#include "platform/runloop/Clock.h"

#include <chrono>

namespace platform::runloop {

namespace {

// Seconds from the Unix epoch to 2001-01-01 00:00 UTC.
constexpr double referenceDateOffset = 978307200.0;

std::shared_ptr<const Clock>& installed() {
  static std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>();
  return clock;
}

}  // namespace

double SystemClock::mediaTime() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double SystemClock::absoluteTime() const {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() -
         referenceDateOffset;
}

std::shared_ptr<const Clock> currentClock() { return installed(); }

std::shared_ptr<const Clock> setCurrentClock(std::shared_ptr<const Clock> clock) {
  std::shared_ptr<const Clock> previous = installed();
  installed() = clock ? std::move(clock) : std::make_shared<SystemClock>();
  return previous;
}

}  // namespace platform::runloop
