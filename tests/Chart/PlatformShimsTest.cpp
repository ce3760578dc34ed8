#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "Chart/Utils/NSUIAccessibilityElement.h"
#include "Chart/Utils/NSUIDisplayLink.h"
#include "Chart/Utils/NSUIGraphics.h"
#include "Chart/Utils/NSUIView.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/runloop/Clock.h"
#include "platform/runloop/DisplayLinkSource.h"
#include "platform/runloop/RunLoop.h"
#include "platform/view/AccessibilityElement.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::graphics::AffineTransform;
using platform::graphics::RecordingBitmapContext;
using platform::runloop::ManualClock;
using platform::runloop::RunLoop;
using platform::runloop::RunLoopMode;

namespace {

class TouchSpy : public NSUIView {
 public:
  using NSUIView::NSUIView;
  void nsuiTouchesBegan(const std::vector<Touch>& touches, const TouchEvent& event) override {
    began.push_back(touches.size());
    NSUIView::nsuiTouchesBegan(touches, event);
  }
  void nsuiTouchesCancelled(const std::vector<Touch>& touches, const TouchEvent&) override {
    cancelled.push_back(touches.size());
  }
  std::vector<size_t> began, cancelled;
};

// What a display link's target counts: its ticks, whether each ran on the
// main thread, and (optionally) a link to remove from within a tick.
struct Target {
  int ticks = 0;
  bool allOnMain = true;
  std::shared_ptr<NSUIDisplayLink> removeOnTick;
};

NSUIDisplayLink::Selector countTick() {
  return [](const std::shared_ptr<void>& target) {
    auto& t = *static_cast<Target*>(target.get());
    ++t.ticks;
    t.allOnMain = t.allOnMain && RunLoop::isMainThread();
    if (t.removeOnTick) {
      t.removeOnTick->remove(RunLoop::main(), RunLoopMode::common);
      t.removeOnTick.reset();  // the link's last owner lets go inside its own tick
    }
  };
}

// Display links fall back to timers, on a manual clock.
class FallbackLink : public testing::Test {
 protected:
  void tick(RunLoopMode mode = RunLoopMode::defaultMode) {
    clock->advance(NSUIDisplayLink::fallbackInterval);
    RunLoop::main().runOnce(mode);
  }
  std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(100);
  const platform::runloop::ScopedDisplaysAvailable headless{false};
  const platform::runloop::ScopedClock installed{clock};
};

}  // namespace

TEST(NSUIView, FlippedLabelledLayerBackedAndPassingTouchesOn) {
  auto view = std::make_shared<TouchSpy>(Rect(0, 0, 300, 200));
  EXPECT_TRUE(view->isFlipped());
  EXPECT_EQ(view->accessibilityLabel(), "Chart View");
  EXPECT_EQ(view->role(), "AXList");
  EXPECT_EQ(view->accessibilityRole(), "AXList");
  EXPECT_EQ(NSUIView().accessibilityRole(), "AXList");

  EXPECT_EQ(view->backgroundColor(), std::nullopt);
  EXPECT_FALSE(view->wantsLayer());
  view->setBackgroundColor(Color::white());
  EXPECT_TRUE(view->wantsLayer());
  EXPECT_EQ(view->backgroundColor(), Color::white());
  view->setBackgroundColor(std::nullopt);
  EXPECT_EQ(view->backgroundColor(), std::nullopt);
  EXPECT_TRUE(view->wantsLayer());

  auto row = std::make_shared<NSUIAccessibilityElement>(view);
  view->setAccessibilityChildren({row});
  EXPECT_EQ(view->accessibilityRows(), (std::vector<std::shared_ptr<platform::Object>>{row}));

  // Only the touches in this view reach the nsui... operations.
  NSUIView other;
  const TouchEvent event{{{{1, 1}, view.get()}, {{2, 2}, &other}, {{3, 3}, view.get()}}};
  view->touchesBeganWithEvent(event);
  view->touchesCancelledWithEvent(TouchEvent{{{{1, 1}, &other}}});
  view->touchesMovedWithEvent(event);
  view->touchesEndedWithEvent(event);
  EXPECT_EQ(view->began, (std::vector<size_t>{2}));
  EXPECT_EQ(view->cancelled, (std::vector<size_t>{0}));
}

TEST(NSUIAccessibilityElement, ContainerFrameLabelAndLayoutNotification) {
  auto view = std::make_shared<NSUIView>(Rect(0, 0, 300, 200));
  NSUIAccessibilityElement element(view);
  EXPECT_EQ(element.containerView(), view);
  EXPECT_EQ(element.parent(), view);
  EXPECT_EQ(element.role(), "AXRow");
  EXPECT_FALSE(element.isHeader());
  EXPECT_FALSE(element.isSelected());
  EXPECT_EQ(element.accessibilityLabel(), "");
  element.setAccessibilityLabel("K: 42 %");
  EXPECT_EQ(element.accessibilityLabel(), "K: 42 %");
  element.setAccessibilityFrame(Rect(10, 20, 30, 40));
  EXPECT_EQ(element.accessibilityFrame(), Rect(10, 20, 30, 40));
  view.reset();
  element.setAccessibilityFrame(Rect(1, 1, 1, 1));
  EXPECT_EQ(element.accessibilityFrame(), Rect(10, 20, 30, 40)) << "the container is gone";

  // A container that is not a view: no container view, frames ignored.
  auto notAView = std::make_shared<NSUIAccessibilityElement>(std::make_shared<platform::Object>());
  EXPECT_EQ(notAView->containerView(), nullptr);
  notAView->setAccessibilityFrame(Rect(5, 5, 5, 5));
  EXPECT_EQ(notAView->accessibilityFrame(), Rect());

  platform::view::clearPostedAccessibilityNotifications();
  NSUIAccessibilityPostLayoutChangedNotification(nullptr);
  NSUIAccessibilityPostLayoutChangedNotification(notAView);
  const auto& posted = platform::view::postedAccessibilityNotifications();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].name, "AXLayoutChanged");
  EXPECT_EQ(posted[0].element.lock(), notAView);
  platform::view::clearPostedAccessibilityNotifications();
}

// The image-context stack on the std-only back end (recorded bitmaps).
TEST(NSUIGraphics, ImageContextsPairBeginAndEnd) {
  EXPECT_EQ(NSUIGraphicsGetImageFromCurrentImageContext(), nullptr);
  NSUIGraphicsEndImageContext();  // nothing open: nothing happens

  NSUIGraphicsBeginImageContextWithOptions({10, 5}, false, 2);
  auto* outer = dynamic_cast<RecordingBitmapContext*>(NSUIGraphicsGetCurrentContext());
  ASSERT_TRUE(outer);
  EXPECT_EQ(outer->pixelWidth(), 20);
  EXPECT_EQ(outer->pixelHeight(), 10);
  EXPECT_EQ(outer->state().transform, AffineTransform::makeScale(2, 2));
  const auto image = NSUIGraphicsGetImageFromCurrentImageContext();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 20);
  EXPECT_EQ(image->size(), (Size{10, 5}));

  // Contexts that cannot open push an empty entry: none is current, and
  // their end pops only that entry.
  const struct {
    Size size;
    double scale;
  } failing[] = {{{0.4, 10}, 1}, {{10, 10}, 0.01}, {{10, 10}, -1}, {{-10, -10}, -1},
                 {{1e300, 10}, 1e10}, {{10, NAN}, 1}, {{10, 10}, INFINITY}};
  for (const auto& row : failing) {
    NSUIGraphicsBeginImageContextWithOptions(row.size, false, row.scale);
    EXPECT_EQ(NSUIGraphicsGetCurrentContext(), nullptr) << row.size.width << " at " << row.scale;
    EXPECT_EQ(NSUIGraphicsGetImageFromCurrentImageContext(), nullptr);
    NSUIGraphicsEndImageContext();
    EXPECT_EQ(NSUIGraphicsGetCurrentContext(), outer);
  }

  // Scale 0 is the main screen's: one pixel a point; 7.9 points make 7.
  NSUIGraphicsBeginImageContextWithOptions({7.9, 3}, true, 0);
  EXPECT_EQ(NSUIGraphicsGetImageFromCurrentImageContext()->width(), 7);
  EXPECT_EQ(NSUIGraphicsGetImageFromCurrentImageContext()->scale(), 1);
  NSUIGraphicsEndImageContext();
  EXPECT_EQ(NSUIGraphicsGetCurrentContext(), outer);
  NSUIGraphicsEndImageContext();
  EXPECT_EQ(NSUIGraphicsGetCurrentContext(), nullptr);

  // Without a raster back end nothing encodes.
  EXPECT_EQ(NSUIImagePNGRepresentation(*image), std::nullopt);
  EXPECT_EQ(NSUIImageJPEGRepresentation(*image, 0.8), std::nullopt);
}

TEST_F(FallbackLink, TimerTicksInTheCommonModesUntilRemoved) {
  auto target = std::make_shared<Target>();
  auto link = NSUIDisplayLink::create(target, countTick());
  ASSERT_FALSE(link->hasDisplayLink());
  ASSERT_TRUE(link->timer());
  EXPECT_EQ(link->timer()->timeInterval(), 0.016666666666666666);
  tick();
  EXPECT_EQ(target->ticks, 0) << "not ticking before it is added";

  link->add(RunLoop::main(), RunLoopMode::common);
  RunLoop::main().runOnce();
  EXPECT_EQ(target->ticks, 0) << "the first tick comes one interval after adding";
  for (int i = 0; i < 3; ++i) tick(RunLoopMode::defaultMode);
  for (int i = 0; i < 2; ++i) tick(RunLoopMode::eventTracking);
  EXPECT_EQ(target->ticks, 5);
  EXPECT_EQ(link->timestamp(), 0);

  // The timer holds its target until the link is removed.
  std::weak_ptr<Target> weakTarget = target;
  target.reset();
  EXPECT_FALSE(weakTarget.expired());
  tick();
  EXPECT_EQ(weakTarget.lock()->ticks, 6);
  link->remove(RunLoop::main(), RunLoopMode::common);
  EXPECT_TRUE(weakTarget.expired());
  link->add(RunLoop::main(), RunLoopMode::common);
  EXPECT_EQ(RunLoop::main().timerCount(), 0u) << "an invalidated timer is not added again";

  // A target that removes (and lets go of) its own link inside a tick.
  auto stopper = std::make_shared<Target>();
  stopper->removeOnTick = NSUIDisplayLink::create(stopper, countTick());
  stopper->removeOnTick->add(RunLoop::main(), RunLoopMode::common);
  tick();
  tick();
  EXPECT_EQ(stopper->ticks, 1);
  EXPECT_EQ(stopper->removeOnTick, nullptr);
}

// A real display-refresh thread: ticks arrive on the main thread within a
// generous bound, and links die cleanly while running.
TEST(NSUIDisplayLink, ThreadedLinkDeliversTicksOnTheMainThread) {
  ASSERT_TRUE(platform::runloop::displaysAvailable());
  auto target = std::make_shared<Target>();
  auto link = NSUIDisplayLink::create(target, countTick());
  ASSERT_TRUE(link->hasDisplayLink());
  EXPECT_EQ(link->timer(), nullptr);
  link->add(RunLoop::main(), RunLoopMode::common);
  EXPECT_TRUE(RunLoop::main().runUntil([&] { return target->ticks >= 3; }, 5.0));
  EXPECT_TRUE(target->allOnMain);
  EXPECT_GT(link->timestamp(), 0);
  // A tick posted (remove waits for the refresh under way) but not yet
  // delivered when the link is removed is dropped.
  for (const double stamp = link->timestamp(); link->timestamp() == stamp;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  link->remove(RunLoop::main(), RunLoopMode::common);
  const int ticks = target->ticks;
  RunLoop::main().runUntil([] { return false; }, 0.05);
  EXPECT_EQ(target->ticks, ticks);

  // A link removed from inside its own tick, by a target that lets go of it.
  auto stopper = std::make_shared<Target>();
  stopper->removeOnTick = NSUIDisplayLink::create(stopper, countTick());
  stopper->removeOnTick->add(RunLoop::main(), RunLoopMode::common);
  EXPECT_TRUE(RunLoop::main().runUntil([&] { return stopper->removeOnTick == nullptr; }, 5.0));
  EXPECT_EQ(stopper->ticks, 1);

  // Destroyed while running, and running for a target already gone: no tick
  // reaches anyone, and the threads end with their links.
  auto gone = std::make_shared<Target>();
  auto orphan = NSUIDisplayLink::create(std::weak_ptr<Target>(gone), countTick());
  gone.reset();
  orphan->add(RunLoop::main(), RunLoopMode::common);
  auto running = NSUIDisplayLink::create(target, countTick());
  running->add(RunLoop::main(), RunLoopMode::common);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  running.reset();
  const int before = target->ticks;
  RunLoop::main().runUntil([] { return false; }, 0.05);
  EXPECT_EQ(target->ticks, before);
  EXPECT_TRUE(RunLoop::main().runUntil([&] { return orphan->timestamp() > 0; }, 5.0));
  orphan.reset();
}
