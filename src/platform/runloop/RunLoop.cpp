#include "platform/runloop/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/runloop/Clock.h"

namespace platform::runloop {

namespace {

// The shortest interval a timer runs at.
constexpr double minimumInterval = 0.0001;

// The longest wait between two passes of runUntil: a timer's fire date is on
// the current clock, which need not follow real time (a manual clock).
constexpr auto longestWait = std::chrono::milliseconds(10);

// runUntil waits a day at the most (and no time for a timeout that is not a
// number).
constexpr double longestRun = 86400.0;

std::thread::id& mainThreadId() {
  static std::thread::id id;
  return id;
}

bool firesIn(const std::set<RunLoopMode>& modes, RunLoopMode mode) {
  return modes.count(mode) != 0 || modes.count(RunLoopMode::common) != 0;
}

}  // namespace

Timer::Timer(double interval, bool repeats, Action action)
    : interval_(interval > 0 ? interval : minimumInterval), repeats_(repeats), action_(std::move(action)) {}

std::shared_ptr<Timer> Timer::make(double interval, bool repeats, Action action) {
  return std::shared_ptr<Timer>(new Timer(interval, repeats, std::move(action)));
}

void Timer::invalidate() {
  valid_ = false;
  action_ = nullptr;
}

void Timer::fire() {
  if (!valid_) return;
  // The action may invalidate the timer, which drops action_: run a copy.
  const Action action = action_;
  if (action) action(*this);
  if (!repeats_) invalidate();
}

RunLoop& RunLoop::main() {
  static RunLoop* const loop = [] {
    mainThreadId() = std::this_thread::get_id();
    return new RunLoop();
  }();
  return *loop;
}

bool RunLoop::isMainThread() {
  main();
  return std::this_thread::get_id() == mainThreadId();
}

void RunLoop::add(const std::shared_ptr<Timer>& timer, RunLoopMode mode) {
  if (!timer || !timer->isValid()) return;
  for (Scheduled& scheduled : timers_) {
    if (scheduled.timer == timer) {
      scheduled.modes.insert(mode);
      return;
    }
  }
  if (!timer->scheduled_) {
    timer->scheduled_ = true;
    timer->fireDate_ = currentClock()->mediaTime() + timer->interval_;
  }
  timers_.push_back(Scheduled{timer, {mode}});
}

void RunLoop::post(std::function<void()> function) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(function));
  }
  posted_.notify_all();
}

size_t RunLoop::runOnce(RunLoopMode mode) {
  std::deque<std::function<void()>> functions;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    functions.swap(queue_);
  }
  size_t ran = 0;
  for (auto& function : functions) {
    if (function) function();
    ++ran;
  }

  std::erase_if(timers_, [](const Scheduled& s) { return !s.timer->isValid(); });
  // Copies: an action may add or invalidate timers, and each copy keeps its
  // timer alive while the action runs.
  const std::vector<Scheduled> due = timers_;
  const double now = currentClock()->mediaTime();
  for (const Scheduled& scheduled : due) {
    Timer& timer = *scheduled.timer;
    if (!timer.isValid() || !firesIn(scheduled.modes, mode) || timer.fireDate_ > now) continue;
    // A repeating timer that fell behind skips the fires it missed.
    const double missed = std::floor((now - timer.fireDate_) / timer.interval_) + 1;
    timer.fireDate_ += missed * timer.interval_;
    timer.fire();
    ++ran;
  }
  std::erase_if(timers_, [](const Scheduled& s) { return !s.timer->isValid(); });
  return ran;
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeoutSeconds, RunLoopMode mode) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(timeoutSeconds > 0 ? std::min(timeoutSeconds, longestRun) : 0.0));
  while (true) {
    runOnce(mode);
    if (done()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    std::unique_lock<std::mutex> lock(mutex_);
    posted_.wait_until(lock, std::min(deadline, now + longestWait), [this] { return !queue_.empty(); });
  }
}

size_t RunLoop::timerCount() const {
  return static_cast<size_t>(std::count_if(timers_.begin(), timers_.end(),
                                           [](const Scheduled& s) { return s.timer->isValid(); }));
}

}  // namespace platform::runloop
