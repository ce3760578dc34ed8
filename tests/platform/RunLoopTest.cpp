#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "platform/runloop/Clock.h"
#include "platform/runloop/DisplayLinkSource.h"
#include "platform/runloop/RunLoop.h"

using namespace platform::runloop;

namespace {

class ManualTime : public testing::Test {
 protected:
  std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(50);
  const ScopedClock installed{clock};
};

}  // namespace

// Which timers fire in which mode, at what times, and how often.
TEST_F(ManualTime, TimersFireInTheirModesOnTheClock) {
  RunLoop& loop = RunLoop::main();
  std::vector<std::string> fired;
  auto log = [&fired](const char* name) { return [&fired, name](Timer&) { fired.push_back(name); }; };
  auto common = Timer::make(1, true, log("common"));
  auto plain = Timer::make(1, true, log("default"));
  auto tracking = Timer::make(1, true, log("tracking"));
  auto once = Timer::make(0.5, false, log("once"));
  loop.add(common, RunLoopMode::common);
  loop.add(plain, RunLoopMode::defaultMode);
  loop.add(tracking, RunLoopMode::eventTracking);
  loop.add(once, RunLoopMode::defaultMode);
  EXPECT_EQ(common->fireDate(), 51);

  const struct {
    double advance;
    RunLoopMode mode;
    std::vector<std::string> expected;
  } steps[] = {
      {0.4, RunLoopMode::defaultMode, {}},
      {0.1, RunLoopMode::eventTracking, {}},                      // "once" is due but not in this mode
      {0, RunLoopMode::defaultMode, {"once"}},
      {0.5, RunLoopMode::eventTracking, {"common", "tracking"}},  // t = 51
      {0, RunLoopMode::defaultMode, {"default"}},                 // "common" already fired for 51
      {3.5, RunLoopMode::defaultMode, {"common", "default"}},     // t = 54.5: missed fires are skipped
      {0.5, RunLoopMode::defaultMode, {"common", "default"}},     // t = 55
      {0, RunLoopMode::defaultMode, {}},
  };
  for (const auto& step : steps) {
    clock->advance(step.advance);
    fired.clear();
    loop.runOnce(step.mode);
    EXPECT_EQ(fired, step.expected) << clock->mediaTime();
  }
  EXPECT_FALSE(once->isValid());
  EXPECT_EQ(common->fireDate(), 56);
  EXPECT_EQ(loop.timerCount(), 3u);

  // Adding in a further mode keeps the fire date; an invalid timer is not
  // added; invalidating from inside the action is safe and lets go of what
  // the action holds.
  loop.add(plain, RunLoopMode::eventTracking);
  EXPECT_EQ(plain->fireDate(), 56);
  auto held = std::make_shared<int>(7);
  std::weak_ptr<int> weakHeld = held;
  auto selfStopping = Timer::make(0, true, [held = std::move(held)](Timer& t) { t.invalidate(); });
  EXPECT_EQ(selfStopping->timeInterval(), 0.0001);
  loop.add(selfStopping, RunLoopMode::common);
  clock->advance(1);
  fired.clear();
  loop.runOnce(RunLoopMode::eventTracking);
  EXPECT_EQ(fired, (std::vector<std::string>{"common", "default", "tracking"}));
  EXPECT_TRUE(weakHeld.expired());
  for (const auto& timer : {common, plain, tracking}) timer->invalidate();
  loop.add(common, RunLoopMode::common);
  loop.runOnce();
  EXPECT_EQ(loop.timerCount(), 0u);
}

// post() is the one call other threads make: every function arrives, in each
// thread's order, and runs on the main thread.
TEST(RunLoop, FunctionsPostedFromOtherThreadsRunOnTheMainThread) {
  RunLoop& loop = RunLoop::main();
  EXPECT_TRUE(RunLoop::isMainThread());
  constexpr int threads = 4, each = 50;
  std::vector<std::vector<int>> seen(threads);
  bool allOnMain = true;
  std::vector<std::thread> posters;
  for (int t = 0; t < threads; ++t)
    posters.emplace_back([&, t] {
      EXPECT_FALSE(RunLoop::isMainThread());
      for (int i = 0; i < each; ++i)
        loop.post([&, t, i] {
          seen[t].push_back(i);
          allOnMain = allOnMain && RunLoop::isMainThread();
        });
    });
  const auto total = [&] {
    size_t n = 0;
    for (const auto& s : seen) n += s.size();
    return n;
  };
  EXPECT_TRUE(loop.runUntil([&] { return total() == threads * each; }, 10.0));
  for (auto& poster : posters) poster.join();
  loop.runOnce();
  EXPECT_TRUE(allOnMain);
  for (const auto& s : seen) {
    ASSERT_EQ(s.size(), static_cast<size_t>(each));
    for (int i = 0; i < each; ++i) EXPECT_EQ(s[i], i);
  }
  EXPECT_FALSE(loop.runUntil([] { return false; }, 0));
}

TEST(Clocks, SystemAndManualTime) {
  const SystemClock system;
  const double first = system.mediaTime();
  EXPECT_GE(system.mediaTime(), first);
  // 2001 is 0; any machine running this is well past 2020 (about 6.3e8).
  EXPECT_GT(system.absoluteTime(), 6.3e8);
  ManualClock manual(2);
  manual.advance(0.5);
  EXPECT_EQ(manual.mediaTime(), 2.5);
  manual.set(-1);
  EXPECT_EQ(manual.absoluteTime(), -1);
  EXPECT_TRUE(dynamic_cast<const SystemClock*>(currentClock().get()));
}

// The refresh thread calls its output repeatedly while started, not after
// stop, and can start again; the sources started together share one thread.
TEST(DisplayLinkSource, RefreshThreadStartsStopsAndRestarts) {
  std::atomic<int> calls{0};
  std::mutex mutex;
  std::set<std::thread::id> threads;
  const auto note = [&] {
    const std::lock_guard<std::mutex> lock(mutex);
    threads.insert(std::this_thread::get_id());
  };
  auto source = DisplayLinkSource::create([&] { note(), ++calls; });
  auto other = DisplayLinkSource::create(note);
  ASSERT_TRUE(source);
  EXPECT_FALSE(source->isRunning());
  for (int run = 0; run < 2; ++run) {
    const int before = calls.load();
    if (run == 0) other->start();
    source->start();
    source->start();
    EXPECT_TRUE(source->isRunning());
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return calls.load() >= before + 2; }, 5.0));
    {
      const std::lock_guard<std::mutex> lock(mutex);
      EXPECT_EQ(std::exchange(threads, {}).size(), 1u);
    }
    other->stop();
    source->stop();
    source->stop();
    EXPECT_FALSE(source->isRunning());
    const int stopped = calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    EXPECT_EQ(calls.load(), stopped);
  }
  source->start();  // the destructor stops it

  const ScopedDisplaysAvailable headless(false);
  EXPECT_EQ(DisplayLinkSource::create([] {}), nullptr);
}
