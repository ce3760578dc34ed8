#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Utils/Diagnostics.h"
#include "Chart/Views/HorizontalBarChartView.h"
#include "Chart/Views/LineChartView.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/runloop/Clock.h"
#include "platform/runloop/DisplayLinkSource.h"
#include "platform/runloop/RunLoop.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::runloop::ManualClock;
using platform::runloop::RunLoop;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kTick = 1.0 / 60;

// One line set: x 0..100 in steps of 10, y = x · yScale.
std::shared_ptr<LineChartData> rampData(double yScale = 1) {
  std::vector<EntryPtr> entries;
  for (int x = 0; x <= 100; x += 10) entries.push_back(std::make_shared<ChartDataEntry>(x, x * yScale));
  return std::make_shared<LineChartData>(std::make_shared<LineChartDataSet>(entries, "ramp"));
}

enum class Phase { began, moved, ended, cancelled };

// Sends one touch event whose touches all lie in the view.
void touch(BarLineChartViewBase& view, Phase phase, std::vector<Point> points) {
  TouchEvent event;
  for (const Point p : points) event.touches.push_back(Touch{p, &view});
  switch (phase) {
    case Phase::began: view.touchesBeganWithEvent(event); break;
    case Phase::moved: view.touchesMovedWithEvent(event); break;
    case Phase::ended: view.touchesEndedWithEvent(event); break;
    case Phase::cancelled: view.touchesCancelledWithEvent(event); break;
  }
}

Point plus(Point p, double dx, double dy) { return Point{p.x + dx, p.y + dy}; }

// The handler's limits, checked on its stored matrix.
void expectWithinLimits(const ViewPortHandler& h, const std::string& what) {
  const AffineTransform m = h.touchMatrix();
  EXPECT_TRUE(m.a >= h.minScaleX() && m.a <= h.maxScaleX()) << what << ": scale x " << m.a;
  EXPECT_TRUE(m.d >= h.minScaleY() && m.d <= h.maxScaleY()) << what << ": scale y " << m.d;
  EXPECT_TRUE(m.tx <= 1e-9 && m.tx >= -h.contentWidth() * (m.a - 1) - 1e-9) << what << ": tx " << m.tx;
  EXPECT_TRUE(m.ty >= -1e-9 && m.ty <= h.contentHeight() * (m.d - 1) + 1e-9) << what << ": ty " << m.ty;
}

// Touches and view-port jobs on the manual clock: display links fall back
// to run-loop timers, and tick() moves the clock by 1/60 s and runs one
// pass of the main loop.
class Interaction : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RunLoop::main().timerCount(), 0u); }
  void tick(double seconds = kTick) {
    clock->advance(seconds);
    RunLoop::main().runOnce();
  }
  // A 600 × 400 line view of the ramp, zoomed `zoom` times about its
  // content's centre.
  static std::shared_ptr<LineChartView> rampView(double zoom = 1) {
    auto view = LineChartView::create(Rect(0, 0, 600, 400));
    view->setData(rampData());
    const Point c = view->viewPortHandler()->contentCenter();
    if (zoom != 1) view->zoom(zoom, zoom, c.x, c.y);
    return view;
  }
  // One finger down at `from`, moved in `steps` equal steps 1/60 s apart to
  // `to`, and not yet lifted.
  void drag(BarLineChartViewBase& view, Point from, Point to, int steps = 2) {
    touch(view, Phase::began, {from});
    for (int i = 1; i <= steps; ++i) {
      clock->advance(kTick);
      touch(view, Phase::moved, {plus(from, (to.x - from.x) * i / steps, (to.y - from.y) * i / steps)});
    }
  }

  std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(100);
  const platform::runloop::ScopedDisplaysAvailable headless{false};
  const platform::runloop::ScopedClock installed{clock};
};

// Two fingers spreading from 100 to 200 points apart zoom 2× about their
// centre, on the axes the switches allow, whatever the axis direction or
// the view's turn: the value under the centre stays there, also at the
// scale limits (where a zoom goes only as far as they allow) and when the
// chart is drawn after each move (the content keeps its place until the
// fingers lift or the pinch is cancelled, and the layout then keeps the
// value under the centre). Fingers brought onto one point zoom no further.
TEST_F(Interaction, PinchZoomsAboutItsCentre) {
  const struct {
    const char* name;
    bool horizontalBar, scaleX, scaleY, inverted;
    std::vector<double> spreads = {200};  // the fingers' distance at each move
    double scale = 2, minScale = 1, maxScale = 0;
    bool drawn = false;
    Phase release = Phase::ended;
  } table[] = {
      {"both axes", false, true, true, false},        {"x only", false, true, false, false},
      {"y only", false, false, true, false},          {"inverted left axis", false, true, true, true},
      {"horizontal bar", true, true, true, false},    {"horizontal bar, inverted", true, true, true, true},
      {"two moves", false, true, true, false, {110, 120}, 1.2},
      {"in at the minimum", false, true, true, false, {50}, 2, 2},
      {"past the maximum, then at it", false, true, true, false, {500, 600}, 3, 1, 3},
      {"horizontal bar past the maximum", true, true, true, true, {500}, 3, 1, 3},
      {"drawn after each move", false, true, true, false, {150, 300, 800}, 8, 1, 0, true},
      {"drawn, then cancelled", false, true, true, false, {150, 300, 800}, 8, 1, 0, true, Phase::cancelled},
      {"then brought onto one point", false, true, true, false, {200, 0}, 2},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    const std::shared_ptr<BarLineChartViewBase> view =
        row.horizontalBar ? std::shared_ptr<BarLineChartViewBase>(HorizontalBarChartView::create(Rect(0, 0, 600, 400)))
                          : LineChartView::create(Rect(0, 0, 600, 400));
    view->leftAxis()->setInverted(row.inverted);
    view->setScaleXEnabled(row.scaleX);
    view->setScaleYEnabled(row.scaleY);
    view->setData(rampData());
    ViewPortHandler& h = *view->viewPortHandler();
    h.setMinMaxScaleX(row.minScale, row.maxScale);
    h.setMinMaxScaleY(row.minScale, row.maxScale);
    view->centerViewTo(50, 50, AxisDependency::left);  // zoomed in by a minimum, away from the corner
    const Transformer& t = *view->getTransformer(AxisDependency::left);
    const Point c = plus(view->viewPortHandler()->contentCenter(), 30, -20);
    const Point under = t.valueForTouchPoint(c);
    const Rect content = h.contentRect();
    touch(*view, Phase::began, {plus(c, -40, -30), plus(c, 40, 30)});
    for (const double spread : row.spreads) {
      clock->advance(kTick);
      touch(*view, Phase::moved, {plus(c, -0.4 * spread, -0.3 * spread), plus(c, 0.4 * spread, 0.3 * spread)});
      platform::graphics::RecordingContext context;
      if (row.drawn) view->draw(context);
      EXPECT_EQ(h.contentRect(), content) << "while the fingers are down";
    }
    touch(*view, row.release, {});
    EXPECT_EQ(h.contentRect() != content, row.drawn) << "laid out for the labels drawn";
    EXPECT_DOUBLE_EQ(h.scaleX(), row.scaleX ? row.scale : 1);
    EXPECT_DOUBLE_EQ(h.scaleY(), row.scaleY ? row.scale : 1);
    testsupport::expectNear(t.valueForTouchPoint(c), under, "the value under the centre");
    EXPECT_FALSE(view->viewPortJob()) << "a pinch throws nothing";
    EXPECT_TRUE(view->highlighted().empty());
    expectWithinLimits(h, row.name);
  }
}

// On a chart zoomed 2×, a drag pans by the finger's way (the value under
// the finger follows it) and stops at the limits, widened by a drag
// offset; a chart that may not be dragged stays; a cancelled drag keeps
// the matrix of its last move and throws nothing.
TEST_F(Interaction, DragPansByTheFingerAndStopsAtTheLimits) {
  const struct {
    const char* name;
    double dx, dy, dragOffset;
    bool enabled = true;
    Phase release = Phase::ended;
    double zoom = 2;
  } table[] = {
      {"inside", -40, 30, 0},           {"past the right end", -2000, 0, 0},
      {"past the left end and top", 2000, 2000, 0}, {"past the bottom, with drag offset", 0, -3000, 15},
      {"dragging off", -40, 30, 0, false},          {"cancelled", -40, 30, 0, true, Phase::cancelled},
      {"zoomed out, into the drag offset", 40, -30, 15, true, Phase::ended, 1},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    const auto view = rampView(row.zoom);
    view->setDragEnabled(row.enabled);
    ViewPortHandler& h = *view->viewPortHandler();
    h.setDragOffsetX(row.dragOffset);
    h.setDragOffsetY(row.dragOffset);
    const AffineTransform before = h.touchMatrix();
    const Point start = plus(h.contentCenter(), -50, 20);
    const Point end = plus(start, row.dx, row.dy);
    const Point under = view->getTransformer(AxisDependency::left)->valueForTouchPoint(start);
    view->setDragDecelerationFrictionCoef(row.release == Phase::cancelled ? 0.9 : 0);
    drag(*view, start, end, 4);
    touch(*view, row.release, {end});
    EXPECT_FALSE(view->viewPortJob());
    const double off = row.dragOffset;
    const double w = h.contentWidth();
    const double hh = h.contentHeight();
    const double z = row.zoom - 1;
    const double tx = row.enabled ? std::min(off, std::max(before.tx + row.dx, -w * z - off)) : before.tx;
    const double ty = row.enabled ? std::max(-off, std::min(before.ty + row.dy, hh * z + off)) : before.ty;
    EXPECT_NEAR(h.transX(), tx, 1e-9);
    EXPECT_NEAR(h.transY(), ty, 1e-9);
    EXPECT_EQ(h.scaleX(), row.zoom);
    if (row.dx == -40 && row.enabled) {
      testsupport::expectNear(view->getTransformer(AxisDependency::left)->pixelForValues(under.x, under.y), end,
                              "the value under the finger");
    }
  }
}

// A released pan goes on at the finger's speed and the finger's way, each
// 1/60 s tick panning by the friction's share of the tick before, until
// the speed is below a point per second or a tick moves nothing (at the
// content's edge); a slower clock takes it as far and as long; friction 0,
// a finger that rested before it let go, or a new touch throw nothing
// further.
TEST_F(Interaction, DecelerationSlowsByTheFrictionEachTickAndStops) {
  const struct {
    const char* name;
    double friction, rest;
    bool thrown;
    Point way = {-40, 0};  // of the drag, in two moves
    double hz = 60;
  } table[] = {
      {"default friction", 0.9, 0, true},
      {"friction 0.5", 0.5, 0, true},
      {"friction 0", 0, 0, false},
      {"rested before letting go", 0.9, 0.2, false},
      {"up, zoomed in y", 0.8, 0, true, {0, -40}},
      {"a 30 Hz clock", 0.9, 0, true, {-40, 0}, 30},
      {"into the content's edge", 0.9, 0, true, {260, 0}},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    const auto view = rampView(2);
    view->setDragDecelerationFrictionCoef(row.friction);
    const ViewPortHandler& h = *view->viewPortHandler();
    const Point start = plus(h.contentCenter(), 100, 0);
    drag(*view, start, plus(start, row.way.x, row.way.y));  // -40: -1200 points per second
    clock->advance(row.rest);
    touch(*view, Phase::ended, {plus(start, row.way.x, row.way.y)});
    ASSERT_EQ(static_cast<bool>(view->viewPortJob()), row.thrown);
    ASSERT_EQ(RunLoop::main().timerCount(), row.thrown ? 1u : 0u);
    if (!row.thrown) continue;

    std::vector<double> steps;  // along the way (one of its coordinates is 0)
    for (int i = 0; i < 400 && view->viewPortJob()->isRunning(); ++i) {
      const double at = h.transX() + h.transY();
      tick(1 / row.hz);
      steps.push_back(h.transX() + h.transY() - at);
    }
    EXPECT_LT(steps.size(), 400u) << "it stops";
    if (row.way.x > 0) {
      EXPECT_EQ(h.transX(), 0);
      EXPECT_EQ(steps.size(), 2u) << "at the edge, then nothing moved";
      continue;
    }
    const double perTick = (row.way.x + row.way.y) / 2 * row.friction;
    double travelled = 0;
    for (const double step : steps) travelled += step;
    EXPECT_NEAR(travelled, perTick / (1 - row.friction), std::fabs(perTick) / (1 - row.friction) * 0.02);
    // Slowed once each 1/60 s, however often the clock ticks: as long at 30 Hz.
    const double speed = std::hypot(row.way.x, row.way.y) * 30;  // of two moves 1/60 s apart
    const double lasts = std::log(speed / DragDecelerationJob::stopSpeed) / (-60 * std::log(row.friction));
    EXPECT_NEAR(static_cast<double>(steps.size()) / row.hz, lasts, 1 / row.hz);
    if (row.hz != 60) continue;
    ASSERT_GE(steps.size(), 3u);
    EXPECT_NEAR(steps[0], perTick, 1e-6);
    for (size_t i = 1; i + 1 < steps.size(); ++i) EXPECT_NEAR(steps[i] / steps[i - 1], row.friction, 1e-6) << i;
    EXPECT_EQ(RunLoop::main().timerCount(), 0u);
    expectWithinLimits(h, row.name);
  }

  // A new touch stops a deceleration where it is.
  const auto view = rampView(2);
  const Point start = view->viewPortHandler()->contentCenter();
  drag(*view, start, plus(start, 40, 0));
  touch(*view, Phase::ended, {plus(start, 40, 0)});
  tick();
  touch(*view, Phase::began, {start});
  const AffineTransform stopped = view->viewPortHandler()->touchMatrix();
  tick();
  EXPECT_EQ(view->viewPortHandler()->touchMatrix(), stopped);
  EXPECT_EQ(RunLoop::main().timerCount(), 0u);

  // Ticks handled at one time (queued behind a slow frame) move nothing and
  // end nothing.
  struct Job : DragDecelerationJob {
    using DragDecelerationJob::DragDecelerationJob;
    using DragDecelerationJob::tick;
  };
  std::vector<Point> pans;
  const auto job = std::make_shared<Job>(Point{-1200, 0}, 0.9, [&](Point way) {
    pans.push_back(way);
    return way.x != 0;
  });
  EXPECT_EQ((std::vector<bool>{job->tick(0), job->tick(0.5), job->tick(0.5)}), std::vector<bool>(3, true));
  EXPECT_EQ(pans.size(), 1u);

  for (const auto& [set, kept] : {std::pair{5.0, 0.999}, {-1.0, 0.0}, {kNaN, 0.0}, {0.3, 0.3}}) {
    view->setDragDecelerationFrictionCoef(set);
    EXPECT_EQ(view->dragDecelerationFrictionCoef(), kept) << set;
  }
}

// A drag of 30 moves of 2 points on a chart zoomed 64× in x, released at
// once: the speed it is thrown at is its way over the moves of its last
// tenth of a second, over the time they took. Moves handled together (1 µs
// apart, queued behind a slow frame) took the time since the move before
// them, so they cannot fling the chart away; a rest before the last moves
// does not slow them.
TEST_F(Interaction, AReleaseIsThrownAtTheSpeedOfItsLastTenthOfASecond) {
  constexpr double steady = 2 * 0.9 / (1 - 0.9);  // 2 points each 1/60 s, slowed by 0.9 each 1/60 s
  const struct {
    const char* name;
    double (*gapBefore)(int move);  // seconds since the event before (the touch-down for move 1)
    double low, high;               // the glide, in points
    int moves = 30;
    double step = 2;                // points leftwards each move
  } table[] = {
      {"steady, 60 Hz", [](int) { return kTick; }, steady * 0.95, steady * 1.05},
      {"the last five handled together", [](int move) { return move > 25 ? 1e-6 : kTick; }, steady * 0.95,
       steady * 3},
      {"ten at a time, a second apart", [](int move) { return move % 10 == 1 ? 1.0 : 1e-6; }, 0.1, steady * 3},
      {"rested a second, then six moves", [](int move) { return move == 25 ? 1.0 : kTick; }, steady * 0.95,
       steady * 1.05},
      {"every move with the touch-down", [](int) { return 1e-6; }, 0, 0},
      {"one move of 40 points: from the touch-down", [](int) { return kTick; }, 360 * 0.95, 360 * 1.05, 1, 40},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    const auto view = LineChartView::create(Rect(0, 0, 600, 400));
    view->setData(rampData());
    const Point c = view->viewPortHandler()->contentCenter();
    view->zoom(64, 1, c.x, c.y);
    Point at = c;
    touch(*view, Phase::began, {at});
    for (int move = 1; move <= row.moves; ++move) {
      clock->advance(row.gapBefore(move));
      at = plus(at, -row.step, 0);
      touch(*view, Phase::moved, {at});
    }
    touch(*view, Phase::ended, {at});
    const double released = view->viewPortHandler()->transX();
    for (int i = 0; i < 400 && view->viewPortJob() && view->viewPortJob()->isRunning(); ++i) tick();
    const double glide = released - view->viewPortHandler()->transX();
    EXPECT_TRUE(glide >= row.low && glide <= row.high) << glide;
  }
}

// A tap (within the slop) highlights the value nearest it, a tap on that
// value again or on nothing clears; a drag on a chart that cannot pan
// moves the highlight with the finger (between values the last stays), and
// a cancel takes it back, as far as the data still holds it.
TEST_F(Interaction, TapsAndDragsHighlight) {
  const auto view = rampView();
  const Transformer& t = *view->getTransformer(AxisDependency::left);
  const auto tapAt = [&](Point p, Point wobble = {}) {
    touch(*view, Phase::began, {p});
    touch(*view, Phase::moved, {plus(p, wobble.x, wobble.y)});
    touch(*view, Phase::ended, {plus(p, wobble.x, wobble.y)});
  };
  const auto highlightedX = [&] {
    return view->highlighted().size() == 1 ? view->highlighted()[0]->x() : kNaN;
  };
  const Point at30 = t.pixelForValues(30, 30);
  tapAt(plus(at30, 3, 4), {5, 5});
  EXPECT_EQ(highlightedX(), 30);
  EXPECT_EQ(view->lastHighlighted(), view->highlighted()[0]);
  tapAt(plus(at30, -2, 1));
  EXPECT_TRUE(view->highlighted().empty()) << "the same value again";
  tapAt(at30);
  tapAt(at30, {0, BarLineChartViewBase::tapSlop});
  EXPECT_TRUE(view->highlighted().empty()) << "a move of exactly the slop is a tap";
  tapAt(t.pixelForValues(60, 60));
  tapAt(plus(t.pixelForValues(60, 60), 0, 150));
  EXPECT_TRUE(view->highlighted().empty()) << "nothing within reach";
  view->setHighlightPerTapEnabled(false);
  tapAt(at30);
  EXPECT_TRUE(view->highlighted().empty());

  // Fully zoomed out: the finger drags the highlight along (and beyond the
  // slop, it is no tap).
  view->highlightValue(90, 0);
  drag(*view, t.pixelForValues(20, 20), t.pixelForValues(60, 60), 3);
  EXPECT_EQ(highlightedX(), 60);
  touch(*view, Phase::moved, {plus(t.pixelForValues(60, 60), 0, 150)});
  EXPECT_EQ(highlightedX(), 60) << "beyond every value's reach";
  touch(*view, Phase::ended, {t.pixelForValues(60, 60)});
  EXPECT_EQ(highlightedX(), 60);
  drag(*view, t.pixelForValues(20, 20), t.pixelForValues(40, 40));
  EXPECT_EQ(highlightedX(), 40);
  touch(*view, Phase::cancelled, {});
  EXPECT_EQ(highlightedX(), 60) << "taken back";
  EXPECT_EQ(view->viewPortHandler()->touchMatrix(), AffineTransform{});
  // New data under the finger: nothing of the old data comes back; data
  // that lost the values leaves no last highlight the view does not hold.
  const std::function<void()> changes[] = {[&] { view->setData(rampData()); },
                                           [&] { view->data()->removeDataSetByIndex(0); view->notifyDataSetChanged(); }};
  for (const auto& change : changes) {
    drag(*view, t.pixelForValues(20, 20), t.pixelForValues(40, 40));
    change();
    touch(*view, Phase::cancelled, {});
    EXPECT_TRUE(view->highlighted().empty() && !view->lastHighlighted());
    view->setData(rampData());
    view->highlightValue(60, 0);
  }
  view->setHighlightPerDragEnabled(false);
  view->clearHighlights();
  drag(*view, t.pixelForValues(20, 20), t.pixelForValues(60, 60), 3);
  touch(*view, Phase::ended, {t.pixelForValues(60, 60)});
  EXPECT_TRUE(view->highlighted().empty()) << "highlighting per drag off";


  // Without data a tap logs why it finds nothing.
  std::vector<std::string> lines;
  {
    const ScopedLogSink capture([&](std::string_view line) { lines.emplace_back(line); });
    const auto empty = LineChartView::create(Rect(0, 0, 600, 400));
    touch(*empty, Phase::began, {Point{100, 100}});
    touch(*empty, Phase::ended, {Point{100, 100}});
  }
  EXPECT_EQ(lines, std::vector<std::string>{"Can't select by touch. No data set."});
}

// The zoom and move operations: each keeps its point or puts its value
// where it says, within the limits; fitScreen restores the identity and
// minimum scales of 1, resetZoom the matrix the handler's resetZoom gives;
// an operation with a value that is not a finite number changes nothing.
TEST_F(Interaction, ZoomsAndMovesPutTheirValuesWhereTheySay) {
  const auto view = rampView();
  ViewPortHandler& h = *view->viewPortHandler();
  const Transformer& t = *view->getTransformer(AxisDependency::left);
  const auto valueAt = [&](Point p) { return t.valueForTouchPoint(p); };

  Point centre = valueAt(h.contentCenter());
  view->zoomIn();
  EXPECT_DOUBLE_EQ(h.scaleX(), 1.4);
  testsupport::expectNear(valueAt(h.contentCenter()), centre, "zoomIn keeps the centre");
  const Point about{150, 300};
  const Point under = valueAt(about);
  view->zoom(2, 1.5, about.x, about.y);
  EXPECT_DOUBLE_EQ(h.scaleX(), 2.8);
  EXPECT_DOUBLE_EQ(h.scaleY(), 2.1);
  testsupport::expectNear(valueAt(about), under, "zoom keeps its point");
  centre = valueAt(h.contentCenter());
  view->zoomOut();
  EXPECT_DOUBLE_EQ(h.scaleX(), 2.8 * 0.7);
  testsupport::expectNear(valueAt(h.contentCenter()), centre, "zoomOut keeps the centre");

  const double panY = h.transY();
  view->moveViewToX(40);
  EXPECT_NEAR(t.pixelForValues(40, 0).x, h.contentLeft(), 1e-9);
  EXPECT_EQ(h.transY(), panY) << "moveViewToX leaves y";
  view->moveViewTo(30, 50, AxisDependency::left);
  testsupport::expectNear(t.pixelForValues(30, 50), Point{h.contentLeft(), h.contentCenter().y}, "moveViewTo");
  view->centerViewTo(60, 40, AxisDependency::left);
  testsupport::expectNear(t.pixelForValues(60, 40), h.contentCenter(), "centerViewTo");
  view->centerViewTo(100, 110, AxisDependency::left);
  expectWithinLimits(h, "centred on the corner");

  // Turned: the categories begin at the content's bottom edge.
  const auto turned = HorizontalBarChartView::create(Rect(0, 0, 600, 400));
  turned->setData(rampData());
  turned->zoom(3, 3, 300, 200);
  const ViewPortHandler& th = *turned->viewPortHandler();
  const Transformer& tt = *turned->getTransformer(AxisDependency::right);
  turned->moveViewToX(40);
  EXPECT_NEAR(tt.pixelForValues(0, 40).y, th.contentBottom(), 1e-9);
  turned->moveViewTo(30, 50, AxisDependency::right);
  testsupport::expectNear(tt.pixelForValues(50, 30), Point{th.contentCenter().x, th.contentBottom()}, "turned");
  turned->centerViewTo(60, 40, AxisDependency::right);
  testsupport::expectNear(tt.pixelForValues(40, 60), th.contentCenter(), "turned centre");

  // Not a finite number: nothing at all changes.
  const AffineTransform settled = h.touchMatrix();
  view->clearNeedsDisplay();
  const std::function<void()> refused[] = {
      [&] { view->zoom(kNaN, 2, 100, 100); },          [&] { view->zoom(2, kInf, 100, 100); },
      [&] { view->zoom(2, 2, kNaN, 100); },            [&] { view->zoom(2, 2, 100, -kInf); },
      [&] { view->moveViewToX(kNaN); },                [&] { view->moveViewTo(10, kInf, AxisDependency::left); },
      [&] { view->centerViewTo(kInf, 10, AxisDependency::right); },
      [&] { view->centerViewToAnimated(10, 10, AxisDependency::left, kNaN); },
      [&] { view->moveViewToAnimated(10, 10, AxisDependency::left, kInf); },
      [&] { touch(*view, Phase::began, {Point{kNaN, 100}}); touch(*view, Phase::moved, {Point{kNaN, 150}}); },
  };
  for (const auto& operation : refused) {
    operation();
    EXPECT_EQ(h.touchMatrix(), settled);
    EXPECT_TRUE(view->dirtyRects().empty());
    EXPECT_FALSE(view->viewPortJob());
  }
  touch(*view, Phase::cancelled, {});
  view->zoom(1e300, 1e300, 100, 100);
  const AffineTransform huge = h.touchMatrix();
  view->zoom(1e300, 1e300, 100, 100);
  EXPECT_EQ(h.touchMatrix(), huge) << "a scale past the largest double";
  // Also where the pan stays finite (about the content's bottom-left corner).
  const auto deep = rampView();
  const ViewPortHandler& dh = *deep->viewPortHandler();
  deep->zoom(1e10, 1e10, dh.contentLeft(), dh.contentBottom());
  const AffineTransform deepBefore = dh.touchMatrix();
  deep->zoom(1e300, 1e300, dh.contentLeft(), dh.contentBottom());
  EXPECT_EQ(dh.touchMatrix(), deepBefore) << "a scale past the largest double, about the corner";

  h.setMinimumScaleX(1.5);
  const AffineTransform limited = h.touchMatrix();
  EXPECT_EQ(h.resetZoom(), limited);
  view->resetZoom();
  EXPECT_EQ(h.touchMatrix(), limited);
  view->fitScreen();
  EXPECT_EQ(h.touchMatrix(), AffineTransform{});
  EXPECT_EQ((std::pair(h.minScaleX(), h.minScaleY())), std::pair(1.0, 1.0));
  EXPECT_EQ(view->dirtyRects(), std::vector{view->bounds()});

  // A zoom goes only as far as the scale limits allow, keeping its point;
  // after a draw of the chart zoomed in, a zoom (and resetZoom) lays out
  // for the labels that draw made, and a zoom keeps its point through that.
  const struct {
    const char* name;
    double minScale, maxScale;
    Point before;  // zoom factors before the draw
    std::function<void(LineChartView&)> zoom;
    double scale;
    bool atCentre = false, keeps = true;
  } zooms[] = {
      {"past the maximum", 1, 3, {1, 1}, [&](LineChartView& v) { v.zoom(5, 5, about.x, about.y); }, 3},
      {"zoomIn past the maximum", 1, 1.2, {1, 1}, [](LineChartView& v) { v.zoomIn(); }, 1.2, true},
      {"again in y", 1, 0, {1.5, 6}, [&](LineChartView& v) { v.zoom(1, 1.5, about.x, about.y); }, 9},
      {"resetZoom, zoomed in y", 1, 0, {1, 6}, [](LineChartView& v) { v.resetZoom(); }, 6, false, false},
      {"zoomIn, then zoomOut: back to 1", 1, 0, {1, 1}, [](LineChartView& v) {
         v.zoomIn();
         v.zoomOut();
         EXPECT_EQ(v.viewPortHandler()->scaleX(), 1);
       }, 1, true},
      {"in y, held to the y limits", 1, 8, {1, 1}, [&](LineChartView& v) {
         v.viewPortHandler()->setMinMaxScaleX(1, 2);
         v.zoom(1, 6, about.x, about.y);
       }, 6},
  };
  for (const auto& row : zooms) {
    SCOPED_TRACE(row.name);
    const auto zoomed = rampView();
    ViewPortHandler& zh = *zoomed->viewPortHandler();
    zh.setMinMaxScaleX(row.minScale, row.maxScale);
    zh.setMinMaxScaleY(row.minScale, row.maxScale);
    const Point at = row.atCentre ? zh.contentCenter() : about;
    zoomed->zoom(row.before.x, row.before.y, at.x, at.y);
    platform::graphics::RecordingContext context;
    zoomed->draw(context);
    const Point kept = zoomed->getTransformer(AxisDependency::left)->valueForTouchPoint(at);
    row.zoom(*zoomed);
    EXPECT_DOUBLE_EQ(zh.scaleY(), row.scale);
    EXPECT_EQ(zh.offsetLeft(), zoomed->leftAxis()->requiredSize().width);
    const Point now = zoomed->getTransformer(AxisDependency::left)->valueForTouchPoint(at);
    if (row.keeps) testsupport::expectNear(now, kept, "the value at the zoom's point");
  }

  // New data drawn at 14×, then resetZoom: labels wider than a narrow view
  // leave the content empty, not turned inside out.
  const auto narrow = LineChartView::create(Rect(0, 0, 133, 300));
  narrow->setData(rampData());
  narrow->zoom(14, 14, 60, 150);
  narrow->setData(rampData(1e9));
  platform::graphics::RecordingContext context;
  narrow->draw(context);
  narrow->resetZoom();
  const ViewPortHandler& nh = *narrow->viewPortHandler();
  EXPECT_EQ(nh.contentWidth(), 0);
  EXPECT_TRUE(nh.offsetLeft() > 0 && nh.offsetRight() > 0 && nh.contentHeight() > 0);
}

// An animated move eases from the matrix it starts at to the one the move
// would set at once (at a quarter of its time, its easing's share of the
// way), and lands on it exactly at its last tick; a new move, a touch or a
// zoom cancels it (as a zoom does a fling), a duration of 0 moves at once,
// and a view that goes away takes its job along.
TEST_F(Interaction, AnimatedMovesLandExactlyOnTheirTarget) {
  const struct {
    const char* name;
    bool centre;
    ChartEasingOption easing;
    double atQuarter;  // of the way, at a quarter of the time
  } table[] = {
      {"move, ease in and out", false, ChartEasingOption::easeInOutQuad, 0.125},
      {"centre, linear", true, ChartEasingOption::linear, 0.25},
      {"centre, overshooting", true, ChartEasingOption::easeOutBack, kNaN},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    const auto view = rampView(3);
    const auto twin = rampView(3);
    const AffineTransform start = view->viewPortHandler()->touchMatrix();
    if (row.centre) {
      view->centerViewToAnimated(80, 20, AxisDependency::left, 0.5, row.easing);
      twin->centerViewTo(80, 20, AxisDependency::left);
    } else {
      view->moveViewToAnimated(80, 20, AxisDependency::left, 0.5, row.easing);
      twin->moveViewTo(80, 20, AxisDependency::left);
    }
    ASSERT_TRUE(view->viewPortJob());
    EXPECT_EQ(view->viewPortHandler()->touchMatrix(), start) << "nothing before the first tick";
    tick(0.125);
    const AffineTransform between = view->viewPortHandler()->touchMatrix();
    const AffineTransform target = std::dynamic_pointer_cast<AnimatedViewPortJob>(view->viewPortJob())->target();
    EXPECT_NE(between, start);
    EXPECT_NE(between, twin->viewPortHandler()->touchMatrix());
    if (!std::isnan(row.atQuarter)) {
      EXPECT_NEAR(between.tx, start.tx + (target.tx - start.tx) * row.atQuarter, 1e-9);
      EXPECT_NEAR(between.ty, start.ty + (target.ty - start.ty) * row.atQuarter, 1e-9);
    }
    expectWithinLimits(*view->viewPortHandler(), row.name);
    for (int i = 0; i < 40 && view->viewPortJob()->isRunning(); ++i) tick();
    EXPECT_FALSE(view->viewPortJob()->isRunning());
    EXPECT_EQ(view->viewPortHandler()->touchMatrix(), twin->viewPortHandler()->touchMatrix());
  }

  const auto view = rampView(3);
  view->moveViewToAnimated(80, 20, AxisDependency::left, 1);
  const auto first = view->viewPortJob();
  view->centerViewToAnimated(20, 80, AxisDependency::left, 1);
  EXPECT_FALSE(first->isRunning()) << "a new move cancels";
  tick();
  touch(*view, Phase::began, {Point{300, 200}});
  EXPECT_FALSE(view->viewPortJob()) << "a touch cancels";
  touch(*view, Phase::ended, {Point{300, 200}});
  for (const bool fling : {false, true}) {
    if (fling) {
      drag(*view, Point{300, 200}, Point{260, 220});
      touch(*view, Phase::ended, {Point{260, 220}});
    } else {
      view->moveViewToAnimated(80, 20, AxisDependency::left, 1);
    }
    tick();
    view->zoom(1.5, 1.5, 300, 200);
    const AffineTransform zoomed = view->viewPortHandler()->touchMatrix();
    tick();
    EXPECT_EQ(view->viewPortHandler()->touchMatrix(), zoomed) << "a zoom stays, fling " << fling;
  }
  view->moveViewToAnimated(50, 50, AxisDependency::left, 0);
  EXPECT_FALSE(view->viewPortJob()) << "duration 0: at once";
  EXPECT_NEAR(view->getTransformer(AxisDependency::left)->pixelForValues(50, 50).x,
              view->viewPortHandler()->contentLeft(), 1e-9);

  auto doomed = rampView(3);
  doomed->centerViewToAnimated(10, 10, AxisDependency::left, 1);
  const std::weak_ptr<LineChartView> gone = doomed;
  doomed.reset();
  EXPECT_TRUE(gone.expired());
  EXPECT_EQ(RunLoop::main().timerCount(), 0u);
  tick();
}

}  // namespace
