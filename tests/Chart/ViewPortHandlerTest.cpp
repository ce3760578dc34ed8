#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

#include "Chart/Utils/ViewPortHandler.h"
#include "support/GeometryExpectations.h"

using chart::AffineTransform;
using chart::Point;
using chart::Rect;
using chart::View;
using chart::ViewPortHandler;
using testsupport::expectNear;

namespace {

constexpr double kNoLimit = std::numeric_limits<double>::max();

}  // namespace

TEST(ViewPortHandler, ContentRectangleFollowsOffsetsAndSize) {
  ViewPortHandler handler(300, 200);
  EXPECT_EQ(handler.contentRect(), Rect(0, 0, 300, 200));
  EXPECT_TRUE(handler.hasChartDimens());
  EXPECT_TRUE(handler.isFullyZoomedOut());
  EXPECT_EQ(handler.scaleX(), 1);
  EXPECT_EQ(handler.maxScaleY(), kNoLimit);

  handler.restrainViewPort(10, 20, 30, 40);
  struct Measure {
    const char* name;
    double actual, expected;
  };
  const Measure measures[] = {
      {"offsetLeft", handler.offsetLeft(), 10},       {"offsetTop", handler.offsetTop(), 20},
      {"offsetRight", handler.offsetRight(), 30},     {"offsetBottom", handler.offsetBottom(), 40},
      {"contentLeft", handler.contentLeft(), 10},     {"contentTop", handler.contentTop(), 20},
      {"contentRight", handler.contentRight(), 270},  {"contentBottom", handler.contentBottom(), 160},
      {"contentWidth", handler.contentWidth(), 260},  {"contentHeight", handler.contentHeight(), 140},
      {"centre x", handler.contentCenter().x, 140},   {"centre y", handler.contentCenter().y, 90},
  };
  for (const Measure& m : measures) EXPECT_EQ(m.actual, m.expected) << m.name;

  // A new size keeps the offsets.
  handler.setChartDimens(400, 300);
  EXPECT_EQ(handler.contentRect(), Rect(10, 20, 360, 240));
  // A chart smaller than its offsets keeps the negative size as it is.
  handler.setChartDimens(30, 50);
  EXPECT_EQ(handler.contentRect(), Rect(10, 20, -10, -10));
  EXPECT_EQ(handler.offsetRight(), 30);

  EXPECT_FALSE(ViewPortHandler(0, 200).hasChartDimens());
  EXPECT_FALSE(ViewPortHandler(300, 0).hasChartDimens());
}

TEST(ViewPortHandler, MatrixBuildersReturnWithoutStoring) {
  ViewPortHandler handler(300, 200);
  handler.restrainViewPort(10, 20, 30, 40);
  struct Case {
    std::string name;
    std::function<AffineTransform()> build;
    AffineTransform expected;
  };
  const AffineTransform zoomedPanned{2, 0, 0, 2, -100, 50};
  const Case fromIdentity[] = {
      {"zoomIn", [&] { return handler.zoomIn(50, 10); }, {1.4, 0, 0, 1.4, -20, -4}},
      {"zoomOut", [&] { return handler.zoomOut(50, 10); }, {0.7, 0, 0, 0.7, 15, 3}},
      {"zoom", [&] { return handler.zoom(2, 3); }, {2, 0, 0, 3, 0, 0}},
      {"resetZoom", [&] { return handler.resetZoom(); }, {}},
      {"setZoom", [&] { return handler.setZoom(2, 3); }, {2, 0, 0, 3, 0, 0}},
      {"setZoom about a point", [&] { return handler.setZoom(2, 2, 50, 10); }, {2, 0, 0, 2, -50, -10}},
      {"translate", [&] { return handler.translate({30, 50}); }, {1, 0, 0, 1, -20, -30}},
  };
  for (const Case& c : fromIdentity) {
    expectNear(c.build(), c.expected, c.name);
    EXPECT_EQ(handler.touchMatrix(), AffineTransform::identity()) << c.name;
  }

  View chart(Rect(0, 0, 300, 200));
  handler.refresh({2, 0, 0, 2, -100, 50}, chart, true);
  ASSERT_EQ(handler.touchMatrix(), zoomedPanned);
  const Case fromZoomed[] = {
      {"zoom", [&] { return handler.zoom(1.5, 1); }, {3, 0, 0, 2, -100, 50}},
      {"resetZoom", [&] { return handler.resetZoom(); }, zoomedPanned},
      {"setZoom keeps the pan", [&] { return handler.setZoom(1, 1); }, {1, 0, 0, 1, -100, 50}},
      {"setZoom about a point", [&] { return handler.setZoom(2, 2, 50, 10); }, {2, 0, 0, 2, -150, 40}},
      {"translate", [&] { return handler.translate({30, 50}); }, {2, 0, 0, 2, -120, 20}},
  };
  for (const Case& c : fromZoomed) {
    expectNear(c.build(), c.expected, c.name);
    EXPECT_EQ(handler.touchMatrix(), zoomedPanned) << c.name;
  }

  handler.setMinimumScaleX(3);
  handler.setMinMaxScaleY(2, 5);
  EXPECT_EQ(handler.fitScreen(), AffineTransform::identity());
  EXPECT_EQ(handler.minScaleX(), 1);
  EXPECT_EQ(handler.minScaleY(), 1);
  EXPECT_EQ(handler.maxScaleY(), 5);
  EXPECT_EQ(handler.touchMatrix().a, 3);  // the limiting pass of setMinimumScaleX, not fitScreen
}

// Content (50, 20, 200, 150): with scale s the pan may reach -200·(s - 1)
// on x and 150·(s - 1) on y, each widened by its drag offset.
TEST(ViewPortHandler, RefreshLimitsPanAndScale) {
  struct Case {
    std::string name;
    double dragX, dragY, maxScaleX;
    AffineTransform requested;
    AffineTransform stored;
  };
  const Case cases[] = {
      {"tx below", 0, 0, 0, {2, 0, 0, 1, -300, 0}, {2, 0, 0, 1, -200, 0}},
      {"tx above", 0, 0, 0, {2, 0, 0, 1, 50, 0}, {2, 0, 0, 1, 0, 0}},
      {"tx inside", 0, 0, 0, {2, 0, 0, 1, -120, 0}, {2, 0, 0, 1, -120, 0}},
      {"tx below, dragged", 10, 0, 0, {2, 0, 0, 1, -300, 0}, {2, 0, 0, 1, -210, 0}},
      {"tx above, dragged", 10, 0, 0, {2, 0, 0, 1, 50, 0}, {2, 0, 0, 1, 10, 0}},
      {"scale below the minimum", 0, 0, 0, {0.5, 0, 0, 1, -30, 0}, {1, 0, 0, 1, 0, 0}},
      {"scale above the maximum", 0, 0, 3, {5, 0, 0, 1, -500, 0}, {3, 0, 0, 1, -400, 0}},
      {"ty above", 0, 0, 0, {1, 0, 0, 2, 0, 200}, {1, 0, 0, 2, 0, 150}},
      {"ty below", 0, 0, 0, {1, 0, 0, 2, 0, -5}, {1, 0, 0, 2, 0, 0}},
      {"ty above, dragged", 0, 10, 0, {1, 0, 0, 2, 0, 200}, {1, 0, 0, 2, 0, 160}},
      {"ty below, dragged", 0, 10, 0, {1, 0, 0, 2, 0, -20}, {1, 0, 0, 2, 0, -10}},
      // Crossed bounds: the upper one wins on x, the lower one on y.
      {"crossed on x", -10, 0, 0, {1, 0, 0, 1, 3, 0}, {1, 0, 0, 1, -10, 0}},
      {"crossed on y", 0, -10, 0, {1, 0, 0, 1, 0, 3}, {1, 0, 0, 1, 0, 10}},
      {"b and c untouched", 0, 0, 0, {2, 0.25, 0.5, 1, -50, 0}, {2, 0.25, 0.5, 1, -50, 0}},
  };
  for (const Case& c : cases) {
    ViewPortHandler handler(300, 200);
    handler.restrainViewPort(50, 20, 50, 30);
    handler.setDragOffsetX(c.dragX);
    handler.setDragOffsetY(c.dragY);
    handler.setMaximumScaleX(c.maxScaleX);
    View chart(Rect(7, 8, 300, 200));
    chart.setBounds(Rect(1, 2, 300, 200));

    const AffineTransform returned = handler.refresh(c.requested, chart, false);
    EXPECT_EQ(returned, c.stored) << c.name;
    EXPECT_EQ(handler.touchMatrix(), c.stored) << c.name;
    EXPECT_EQ(handler.scaleX(), c.stored.a) << c.name;
    EXPECT_EQ(handler.scaleY(), c.stored.d) << c.name;
    EXPECT_EQ(handler.transX(), c.stored.tx) << c.name;
    EXPECT_EQ(handler.transY(), c.stored.ty) << c.name;
    // The whole bounds are redrawn even without invalidate.
    EXPECT_EQ(chart.dirtyRects(), std::vector<Rect>{Rect(1, 2, 300, 200)}) << c.name;
  }
}

TEST(ViewPortHandler, ScaleSettersLimitAtOnceWithoutRedraw) {
  ViewPortHandler handler(300, 200);
  handler.restrainViewPort(50, 20, 50, 30);
  View chart(Rect(0, 0, 300, 200));
  handler.refresh({4, 0, 0, 1, -500, 0}, chart, true);
  EXPECT_EQ(handler.touchMatrix().tx, -500);
  EXPECT_FALSE(handler.isFullyZoomedOut());
  EXPECT_TRUE(handler.canZoomOutMoreX());
  EXPECT_FALSE(handler.canZoomOutMoreY());

  handler.setMaximumScaleX(2);
  EXPECT_EQ(handler.touchMatrix(), (AffineTransform{2, 0, 0, 1, -200, 0}));
  EXPECT_FALSE(handler.canZoomInMoreX());
  handler.setMinimumScaleY(3);
  EXPECT_EQ(handler.touchMatrix().d, 3);
  handler.setMinimumScaleX(0.5);
  EXPECT_EQ(handler.minScaleX(), 1);
  handler.setMaximumScaleY(0);
  EXPECT_EQ(handler.maxScaleY(), kNoLimit);
  handler.setMinMaxScaleX(2, 0);
  EXPECT_EQ(handler.minScaleX(), 2);
  EXPECT_EQ(handler.maxScaleX(), kNoLimit);
  EXPECT_FALSE(handler.isFullyZoomedOutX() || handler.isFullyZoomedOutY()) << "at minimum scales above 1";
  // Nothing is validated: a negative maximum is stored as given.
  handler.setMaximumScaleY(-1);
  EXPECT_EQ(handler.maxScaleY(), -1);
  EXPECT_EQ(chart.dirtyRects().size(), 1u);

  EXPECT_TRUE(handler.hasNoDragOffset());
  handler.setDragOffsetY(0.5);
  EXPECT_FALSE(handler.hasNoDragOffset());

  // A limit that is not a finite number is ignored (each of a pair on its
  // own), so the matrix stays a number; +inf as a maximum is no limit.
  constexpr double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  ViewPortHandler odd(300, 200);
  odd.setMinMaxScaleX(2, 3);
  odd.setMinMaxScaleY(2, 3);
  odd.setDragOffsetX(5);
  odd.setDragOffsetY(5);
  const std::function<void()> ignored[] = {
      [&] { odd.setMaximumScaleY(nan); }, [&] { odd.setMinMaxScaleX(1, nan); }, [&] { odd.setMaximumScaleX(-inf); },
      [&] { odd.setMinimumScaleY(inf); }, [&] { odd.setMinMaxScaleY(nan, -inf); }, [&] { odd.setDragOffsetX(nan); },
      [&] { odd.setDragOffsetY(inf); },   [&] { odd.setDragOffsetX(-inf); }};
  for (const auto& set : ignored) {
    set();
    EXPECT_EQ(odd.refresh({10, 0, 0, 10, 100, -100}, chart, false), (AffineTransform{3, 0, 0, 3, 5, -5}));
  }
  odd.setMinMaxScaleX(1, inf);
  odd.setMaximumScaleY(inf);
  EXPECT_EQ(std::pair(odd.maxScaleX(), odd.maxScaleY()), std::pair(kNoLimit, kNoLimit));
  // Also with no maximum to hold the scale.
  ViewPortHandler unlimited(300, 200);
  unlimited.setMinimumScaleX(nan);
  unlimited.setMinMaxScaleY(inf, 0);
  EXPECT_EQ(unlimited.refresh({2, 0, 0, 2, 0, 0}, chart, false), (AffineTransform{2, 0, 0, 2, 0, 0}));

  // centerViewPort pans the requested point onto the content's corner.
  ViewPortHandler centred(300, 200);
  centred.restrainViewPort(50, 20, 50, 30);
  centred.refresh({2, 0, 0, 2, 0, 0}, chart, false);
  chart.clearNeedsDisplay();
  centred.centerViewPort({150, 60}, chart);
  EXPECT_EQ(centred.touchMatrix(), (AffineTransform{2, 0, 0, 2, -100, 0}));
  EXPECT_EQ(chart.dirtyRects().size(), 1u);
  // A pair whose maximum lies below the scale brings the chart back to it.
  centred.setMinMaxScaleX(1, 1.5);
  EXPECT_EQ(centred.touchMatrix(), (AffineTransform{1.5, 0, 0, 2, -100, 0}));
}

// Content (10, 20, 290, 140): right edge 300, bottom edge 160.
TEST(ViewPortHandler, BoundsTolerances) {
  ViewPortHandler handler(300, 200);
  handler.restrainViewPort(10, 20, 0, 40);
  struct Case {
    const char* edge;
    bool (ViewPortHandler::*test)(double) const;
    double position;
    bool inside;
  };
  const Case cases[] = {
      {"right", &ViewPortHandler::isInBoundsRight, 301, true},
      {"right", &ViewPortHandler::isInBoundsRight, 301.004, true},
      {"right", &ViewPortHandler::isInBoundsRight, 301.5, false},
      {"left", &ViewPortHandler::isInBoundsLeft, 9, true},
      {"left", &ViewPortHandler::isInBoundsLeft, 8.5, false},
      {"top", &ViewPortHandler::isInBoundsTop, 20, true},
      {"top", &ViewPortHandler::isInBoundsTop, 19.99, false},
      {"bottom", &ViewPortHandler::isInBoundsBottom, 160.004, true},
      {"bottom", &ViewPortHandler::isInBoundsBottom, 160.01, false},
      {"x", &ViewPortHandler::isInBoundsX, 301, true},
      {"x", &ViewPortHandler::isInBoundsX, 8.5, false},
      {"y", &ViewPortHandler::isInBoundsY, 19.99, false},
      {"y", &ViewPortHandler::isInBoundsY, 160.004, true},
  };
  for (const Case& c : cases) EXPECT_EQ((handler.*c.test)(c.position), c.inside) << c.edge << " " << c.position;
  EXPECT_TRUE(handler.isInBounds(Point{301, 160}));
  EXPECT_FALSE(handler.isInBounds(Point{301, 161}));
}

// Content (10, 20, 260, 140).
TEST(ViewPortHandler, IsIntersectingLineTestsTheInfiniteLine) {
  ViewPortHandler handler(300, 200);
  handler.restrainViewPort(10, 20, 30, 40);
  struct Case {
    const char* name;
    Point from, to;
    bool crosses;
  };
  const Case cases[] = {
      {"an end inside", {100, 100}, {500, 500}, true},
      {"through the bottom edge", {0, 0}, {5, 5}, true},
      {"only through the bottom edge", {0, 300}, {300, 0}, true},
      {"vertical outside", {5, 0}, {5, 300}, false},
      {"vertical inside", {100, 0}, {100, 1}, true},
      {"horizontal above", {0, 10}, {5, 10}, false},
      {"horizontal across", {0, 50}, {5, 50}, true},
      {"through the left edge", {0, 30}, {1, 31}, true},
      {"only through the top edge", {0, -200}, {1, -199}, true},
      {"past the top-right corner", {0, -300}, {1, -299}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(handler.isIntersectingLine(c.from, c.to), c.crosses) << c.name;
}

TEST(ViewPortHandler, OverriddenLeavesChangeTheirCallers) {
  struct NothingLeftOf : ViewPortHandler {
    using ViewPortHandler::ViewPortHandler;
    bool isInBoundsLeft(double) const override { return false; }
    double offsetTop() const override { return 5; }
    AffineTransform zoom(double, double, double, double) const override { return {9, 0, 0, 9, 0, 0}; }
    using ViewPortHandler::zoom;
  };
  NothingLeftOf handler(300, 200);
  EXPECT_FALSE(handler.isInBoundsX(100));
  EXPECT_FALSE(handler.isInBounds(Point{100, 100}));
  EXPECT_FALSE(handler.isIntersectingLine({100, 100}, {100, 150}));
  EXPECT_EQ(handler.zoomIn(50, 10).a, 9);
  EXPECT_EQ(handler.resetZoom().a, 9);
  EXPECT_EQ(handler.translate({0, 0}).ty, 5);
  handler.setChartDimens(300, 200);
  EXPECT_EQ(handler.contentRect(), Rect(0, 5, 300, 195));
}
