#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace platform::runloop {

// The modes a run loop runs in. `common` is the set of common modes, default
// and event tracking: a timer added in it fires in both, while one added in
// the default mode stays silent while the loop tracks an event (a drag).
enum class RunLoopMode : int { defaultMode = 0, eventTracking = 1, common = 2 };

// A timer that runs its action every `interval` seconds of the current
// clock's media time once it is added to a run loop, or once, when it does
// not repeat. An interval that is not positive counts as 0.1 ms.
class Timer {
 public:
  using Action = std::function<void(Timer& timer)>;

  static std::shared_ptr<Timer> make(double interval, bool repeats, Action action);

  double timeInterval() const { return interval_; }
  bool repeats() const { return repeats_; }
  bool isValid() const { return valid_; }
  // When it fires next, once added.
  double fireDate() const { return fireDate_; }
  // Stops the timer for good and lets go of its action and all the action
  // holds; the run loop drops it. Safe from within the action.
  void invalidate();
  // Runs the action now, if valid; a timer that does not repeat is then
  // invalidated.
  void fire();

 private:
  Timer(double interval, bool repeats, Action action);
  friend class RunLoop;

  double interval_;
  bool repeats_;
  Action action_;
  bool valid_ = true;
  bool scheduled_ = false;
  double fireDate_ = 0;
};

// A thread's loop of work: functions posted to it and timers. Timers are
// added and fired on the loop's own thread; post() may be called from any
// thread and is the one lock of the system.
class RunLoop {
 public:
  // The main thread's loop; the main thread is the one that asks first.
  static RunLoop& main();
  static bool isMainThread();

  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // Schedules the timer in the mode, its first fire one interval from now.
  // An invalidated timer is not added; a timer added again keeps its fire
  // date and is added in the further mode.
  void add(const std::shared_ptr<Timer>& timer, RunLoopMode mode);
  // Queues the function to run on the loop's thread in a later pass; never
  // waits for it.
  void post(std::function<void()> function);

  // One pass in `mode`: runs the functions posted before the pass, in order,
  // then fires once each valid timer of that mode whose fire date has come.
  // A timer stays alive while its action runs, even when the action removes
  // the timer's owner. Returns the number of functions and timers run.
  size_t runOnce(RunLoopMode mode = RunLoopMode::defaultMode);
  // Passes, waiting between them for posted work, until `done` is true or
  // `timeoutSeconds` of real time have gone by. Returns the last `done`.
  bool runUntil(const std::function<bool()>& done, double timeoutSeconds,
                RunLoopMode mode = RunLoopMode::defaultMode);

  // The valid timers scheduled on the loop.
  size_t timerCount() const;

 private:
  RunLoop() = default;

  struct Scheduled {
    std::shared_ptr<Timer> timer;
    std::set<RunLoopMode> modes;
  };

  std::vector<Scheduled> timers_;
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace platform::runloop
