#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Chart/ChartExternalNames.h"
#include "Chart/Utils/Animator.h"
#include "Chart/Views/LineChartView.h"
#include "platform/runloop/Clock.h"
#include "platform/runloop/DisplayLinkSource.h"
#include "platform/runloop/RunLoop.h"

using namespace chart;
using platform::runloop::ManualClock;
using platform::runloop::RunLoop;
using Events = std::vector<std::string>;

namespace {

std::string phases(const Animator& animator) {
  std::ostringstream text;
  text << animator.phaseX() << " " << animator.phaseY();
  return text.str();
}

// Writes everything the animator tells into one list, the delegate's calls
// with the phases they see, and the blocks' calls.
struct Recorder : ChartAnimatorDelegate {
  void animatorUpdated(Animator& animator) override {
    events.push_back("updated " + phases(animator));
    onMainThread = onMainThread && RunLoop::isMainThread();
    if (onUpdated) onUpdated(animator);
  }
  void animatorStopped(Animator&) override { events.push_back("stopped"); }

  // Hands over what was told since the last call.
  Events take() { return std::exchange(events, {}); }

  Events events;
  bool onMainThread = true;
  std::function<void(Animator&)> onUpdated;
};

void record(Animator& animator, const std::shared_ptr<Recorder>& recorder) {
  animator.setDelegate(recorder);
  Recorder* log = recorder.get();
  animator.setUpdateBlock([log] { log->events.push_back("update block"); });
  animator.setStopBlock([log] { log->events.push_back("stop block"); });
}

// Counts the stops that go through the dispatch table.
struct CountingAnimator : Animator {
  void stop() override {
    ++stops;
    Animator::stop();
  }
  int stops = 0;
};

const Events updatedThenStopped = {"updated 1 1", "update block", "stopped", "stop block"};

// Display links fall back to run-loop timers, on a manual clock that starts
// at 100 s: tickAt(t) moves the clock to t seconds after the start and runs
// one pass of the main loop, which fires the link's timer once.
class ManualAnimation : public testing::Test {
 protected:
  void SetUp() override {
    platform::runloop::setDisplaysAvailable(false);
    platform::runloop::setCurrentClock(clock);
    ASSERT_EQ(RunLoop::main().timerCount(), 0u);
  }
  void TearDown() override {
    platform::runloop::setDisplaysAvailable(true);
    platform::runloop::setCurrentClock(nullptr);
  }
  void tickAt(double t) {
    clock->set(100 + t);
    RunLoop::main().runOnce();
  }
  static size_t links() { return RunLoop::main().timerCount(); }

  std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(100);
  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

}  // namespace

// Both axes over one second: the phases follow the clock, the last tick
// updates to 1 and 1 and, with nothing left to change, only stops. A start
// during a run and a stop complete the run with their callbacks; a stop
// while idle does nothing. Every stop goes through the dispatch table.
TEST_F(ManualAnimation, TwoAxisRunsRestartsAndStops) {
  const auto animator = std::make_shared<CountingAnimator>();
  animator->stop();
  EXPECT_EQ(phases(*animator), "1 1");
  record(*animator, recorder);
  animator->stop();
  EXPECT_EQ(recorder->take(), Events{}) << "a stop while idle tells no one";

  animator->animate(1.0, 1.0, nullptr, nullptr);
  EXPECT_EQ(phases(*animator), "0 0");
  EXPECT_EQ(recorder->take(), Events{}) << "a start tells no one";
  EXPECT_EQ(links(), 1u);
  tickAt(0.25);
  EXPECT_EQ(recorder->take(), (Events{"updated 0.25 0.25", "update block"}));
  tickAt(1.0);
  EXPECT_EQ(recorder->take(), updatedThenStopped);
  EXPECT_EQ(links(), 0u);
  tickAt(2.0);
  EXPECT_EQ(recorder->take(), Events{});
  EXPECT_EQ(animator->stops, 4) << "two while idle, one from the start, one from the last tick";

  // Options per axis: the shorter axis holds at its end while the longer
  // goes on, until a new start completes the run first.
  animator->animate(2.0, 1.0, ChartEasingOption::easeInQuad, ChartEasingOption::linear);
  tickAt(3.0);
  EXPECT_EQ(recorder->take(), (Events{"updated 0.25 1", "update block"}));
  animator->animate(1.0, 1.0, ChartEasingOption::easeInCubic);
  EXPECT_EQ(recorder->take(), updatedThenStopped);
  EXPECT_EQ(phases(*animator), "0 0");
  EXPECT_EQ(links(), 1u);
  tickAt(3.5);
  EXPECT_EQ(recorder->take(), (Events{"updated 0.125 0.125", "update block"}));
  animator->stop();
  EXPECT_EQ(recorder->take(), updatedThenStopped);
  EXPECT_EQ(links(), 0u);

  // One curve for both axes that ends short of 1: the last tick's stop
  // brings both phases to 1 and tells of that before it tells of the stop.
  animator->animate(1.0, 1.0, [](double t, double d) { return t / d / 2; });
  tickAt(4.5);
  EXPECT_EQ(recorder->take(), (Events{"updated 0.5 0.5", "update block", "updated 1 1", "update block", "stopped",
                                      "stop block"}));

  // The delegate is held weakly: a run after it has gone reaches no one.
  animator->setUpdateBlock(nullptr);
  animator->setStopBlock(nullptr);
  const std::weak_ptr<Recorder> weakRecorder = recorder;
  recorder.reset();
  EXPECT_TRUE(weakRecorder.expired());
  animator->animate(1.0, 1.0, nullptr);
  tickAt(5.5);
  EXPECT_EQ(links(), 0u);
}

// One axis at a time: the other axis keeps its phase, and a one-axis start
// during a running animation joins it on the same link, which runs until the
// later end.
TEST_F(ManualAnimation, OneAxisStartsKeepTheOtherPhaseAndShareTheLink) {
  const auto animator = Animator::create();
  record(*animator, recorder);
  animator->setPhaseX(0.3);
  animator->setPhaseY(0.4);

  // Nothing positive and finite to run: nothing runs and no one is told.
  constexpr double inf = std::numeric_limits<double>::infinity();
  animator->animate(0.0, -1.0, ChartEasingOption::linear);
  animator->animate(inf, std::nan(""), nullptr);
  animator->animateX(0.0, nullptr);
  animator->animateX(inf, nullptr);
  animator->animateY(-2.0, ChartEasingOption::easeInQuad);
  EXPECT_EQ(phases(*animator), "0.3 0.4");
  EXPECT_EQ(links(), 0u);
  EXPECT_EQ(recorder->take(), Events{});

  animator->animate(2.0, 0.0, ChartEasingOption::linear, ChartEasingOption::easeInQuad);
  EXPECT_EQ(phases(*animator), "0 0.4");
  tickAt(0.5);
  EXPECT_EQ(recorder->take(), (Events{"updated 0.25 0.4", "update block"}));

  animator->animateY(3.0, ChartEasingOption::linear);
  EXPECT_EQ(phases(*animator), "0.25 0");
  EXPECT_EQ(links(), 1u) << "the running link stays in use";
  EXPECT_EQ(recorder->take(), Events{});
  tickAt(2.0);
  EXPECT_EQ(recorder->take(), (Events{"updated 1 0.5", "update block"})) << "x has ended, the animation has not";
  tickAt(3.5);
  EXPECT_EQ(recorder->take(), updatedThenStopped);
  EXPECT_EQ(links(), 0u);

  // An x-only start while idle.
  animator->animateX(1.0, ChartEasingOption::easeOutQuad);
  EXPECT_EQ(phases(*animator), "0 1");
  tickAt(4.0);
  EXPECT_EQ(recorder->take(), (Events{"updated 0.75 1", "update block"}));
  tickAt(4.5);
  EXPECT_EQ(recorder->take(), updatedThenStopped);
  EXPECT_EQ(links(), 0u);
}

// Callbacks that start and stop animations from within a tick or a stop,
// and animators let go of while they run; AddressSanitizer checks that
// nothing is used after it is freed.
TEST_F(ManualAnimation, CallbacksThatRestartOrStopRunCleanly) {
  // A stop block that starts the next run, on an animator whose owner has
  // let go: the link's timer keeps it alive until the last run ends.
  {
    auto animator = Animator::create();
    const std::weak_ptr<Animator> weak = animator;
    record(*animator, recorder);
    Recorder* log = recorder.get();
    int restarts = 0;
    animator->setStopBlock([weak, log, &restarts] {
      log->events.push_back("stop block");
      if (restarts++ == 0) weak.lock()->animate(1.0, 1.0, nullptr);
    });
    animator->animate(1.0, 1.0, nullptr);
    animator.reset();
    EXPECT_FALSE(weak.expired());
    tickAt(1.0);
    EXPECT_EQ(recorder->take(), (Events{"updated 1 1", "update block", "stopped", "stop block"}));
    EXPECT_EQ(phases(*weak.lock()), "0 0") << "the next run has begun";
    EXPECT_EQ(links(), 1u);
    tickAt(1.5);
    tickAt(2.0);
    EXPECT_EQ(recorder->take(), (Events{"updated 0.5 0.5", "update block", "updated 1 1", "update block", "stopped",
                                        "stop block"}));
    EXPECT_EQ(links(), 0u);
    EXPECT_TRUE(weak.expired()) << "freed once its last run ended";
  }

  // A delegate that stops the animation from within an update: the stop's
  // own update reaches it once more, then the tick's update block runs.
  {
    const auto animator = Animator::create();
    record(*animator, recorder);
    recorder->onUpdated = [](Animator& a) { a.stop(); };
    animator->animate(2.0, 2.0, nullptr);
    tickAt(3.0);
    EXPECT_EQ(recorder->take(), (Events{"updated 0.5 0.5", "updated 1 1", "update block", "stopped", "stop block",
                                        "update block"}));
    EXPECT_EQ(links(), 0u);
    recorder->onUpdated = nullptr;
  }

  // A two-axis start whose own stop calls a block that starts another run:
  // the outer start wins, on one link; the inner run's link ticks no more.
  {
    const auto animator = Animator::create();
    record(*animator, recorder);
    Recorder* log = recorder.get();
    Animator* raw = animator.get();
    int restarts = 0;
    animator->setStopBlock([raw, log, &restarts] {
      log->events.push_back("stop block");
      if (restarts++ == 0) raw->animate(5.0, 5.0, nullptr);
    });
    animator->animate(1.0, 1.0, nullptr);
    tickAt(3.5);
    recorder->take();
    animator->animate(2.0, 2.0, nullptr);
    EXPECT_EQ(links(), 1u);
    EXPECT_EQ(recorder->take(), updatedThenStopped);
    tickAt(4.5);
    EXPECT_EQ(recorder->take(), (Events{"updated 0.5 0.5", "update block"})) << "the outer start's durations hold";
    tickAt(5.5);
    EXPECT_EQ(recorder->take(), (Events{"updated 1 1", "update block", "stopped", "stop block"}));
    EXPECT_EQ(links(), 0u);
    tickAt(6.5);
    EXPECT_EQ(recorder->take(), Events{});
  }
}

// A chart view is its animator's delegate: each tick marks the whole view
// for redrawing, and the stop reaches the view's own delegate. A view that
// goes during a run stops its animator: even a run of 1e308 s ends with it.
TEST_F(ManualAnimation, ChartViewRedrawsOnTicksAndPassesTheStopOn) {
  using Told = std::vector<std::pair<ChartViewBase*, Animator*>>;
  struct Stops : ChartViewDelegate {
    void chartViewAnimatorDidStop(ChartViewBase& view, Animator& animator) override {
      told.emplace_back(&view, &animator);
    }
    Told told;
  };
  const auto stops = std::make_shared<Stops>();
  const auto view = LineChartView::create(Rect(0, 0, 600, 400));
  view->setDelegate(stops);
  view->setBounds(Rect(10, 20, 600, 400));
  const auto& animator = view->animator();
  animator->animate(1.0, 1.0, ChartEasingOption::linear);
  tickAt(0.5);
  EXPECT_EQ(view->dirtyRects(), (std::vector<Rect>{Rect(10, 20, 600, 400)}));
  EXPECT_TRUE(stops->told.empty());
  tickAt(1.0);
  EXPECT_EQ(view->dirtyRects().size(), 2u);
  EXPECT_EQ(stops->told, (Told{{view.get(), animator.get()}}));

  auto gone = LineChartView::create(Rect(0, 0, 100, 100));
  gone->setDelegate(stops);
  gone->animator()->animateX(1e308, ChartEasingOption::easeOutBounce);
  EXPECT_EQ(links(), 1u);
  gone.reset();
  EXPECT_EQ(links(), 0u);
  tickAt(1.5);
  EXPECT_EQ(stops->told.size(), 1u);
}

// Real display links on their own threads: ticks reach the delegate on the
// main thread until the run ends, a stop block may start the next run from
// within the last tick, and an animator destroyed while it runs stops first.
TEST(Animator, RunsOnARealDisplayLink) {
  ASSERT_TRUE(platform::runloop::displaysAvailable());
  const auto recorder = std::make_shared<Recorder>();
  auto animator = Animator::create();
  record(*animator, recorder);
  int stops = 0;
  Animator* raw = animator.get();
  animator->setStopBlock([&stops, raw] {
    if (++stops == 1) raw->animate(0.05, 0.1, ChartEasingOption::easeInOutSine);
  });
  animator->animate(0.1, 0.05, nullptr);
  ASSERT_TRUE(RunLoop::main().runUntil([&] { return stops == 2; }, 10.0));
  const Events events = recorder->take();
  EXPECT_TRUE(recorder->onMainThread);
  EXPECT_GE(events.size(), 4u);
  EXPECT_EQ(std::count(events.begin(), events.end(), "stopped"), 2);
  EXPECT_EQ(events.back(), "stopped");
  EXPECT_EQ(events[events.size() - 3], "updated 1 1");
  EXPECT_EQ(phases(*animator), "1 1");
  RunLoop::main().runUntil([] { return false; }, 0.05);
  EXPECT_EQ(recorder->take(), Events{}) << "nothing ticks after the end";

  animator->setStopBlock(nullptr);
  animator->animate(10.0, 10.0, nullptr);
  RunLoop::main().runUntil([&] { return !recorder->events.empty(); }, 10.0);
  recorder->take();
  animator.reset();
  EXPECT_EQ(recorder->take(), (Events{"updated 1 1", "update block", "stopped"}));
  RunLoop::main().runUntil([] { return false; }, 0.05);
  EXPECT_EQ(recorder->take(), Events{});
}
