#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Utils/Transformer.h"
#include "support/GeometryExpectations.h"

using chart::AffineTransform;
using chart::Point;
using chart::Rect;
using chart::Transformer;
using chart::TransformerHorizontalBarChart;
using chart::View;
using chart::ViewPortHandler;
using testsupport::expectNear;

namespace {

// A 300 × 200 chart with offsets 10, 20, 30, 40: content (10, 20, 260, 140).
std::shared_ptr<ViewPortHandler> makeHandler() {
  auto handler = std::make_shared<ViewPortHandler>(300, 200);
  handler->restrainViewPort(10, 20, 30, 40);
  return handler;
}

// x 0...100 and y 0...50 onto that content.
template <class T = Transformer>
T makePrepared(const std::shared_ptr<ViewPortHandler>& handler, bool inverted) {
  T transformer(handler);
  transformer.prepareMatrixValuePx(0, 100, 50, 0);
  transformer.prepareMatrixOffset(inverted);
  return transformer;
}

}  // namespace

TEST(Transformer, MapsValuesToPixelsAndBack) {
  struct Case {
    bool inverted;
    Point value, pixel;
  };
  const Case cases[] = {
      {false, {0, 0}, {10, 160}},  {false, {100, 50}, {270, 20}}, {false, {50, 25}, {140, 90}},
      {true, {0, 0}, {10, 20}},    {true, {100, 50}, {270, 160}}, {true, {50, 25}, {140, 90}},
  };
  auto handler = makeHandler();
  for (const Case& c : cases) {
    const Transformer transformer = makePrepared(handler, c.inverted);
    const std::string label = std::string(c.inverted ? "inverted " : "") + std::to_string(c.value.x);
    expectNear(transformer.pixelForValues(c.value.x, c.value.y), c.pixel, label);
    Point point = c.value;
    transformer.pointValueToPixel(point);
    expectNear(point, c.pixel, label + " in place");

    expectNear(transformer.valueForTouchPoint(c.pixel), c.value, label + " back");
    expectNear(transformer.valueForTouchPoint(c.pixel.x, c.pixel.y), c.value, label + " back from x, y");
    Point pixel = c.pixel;
    transformer.pixelToValues(pixel);
    expectNear(pixel, c.value, label + " back in place");
  }

  // The list forms keep the order; an empty list stays empty.
  const Transformer transformer = makePrepared(handler, false);
  std::vector<Point> points{{0, 0}, {100, 50}, {50, 25}};
  transformer.pointValuesToPixel(points);
  ASSERT_EQ(points.size(), 3u);
  expectNear(points[1], {270, 20}, "list");
  transformer.pixelsToValues(points);
  expectNear(points[2], {50, 25}, "list back");
  std::vector<Point> none;
  transformer.pointValuesToPixel(none);
  EXPECT_TRUE(none.empty());
}

TEST(Transformer, OffsetMatrices) {
  auto handler = makeHandler();
  struct Case {
    std::string name;
    std::shared_ptr<Transformer> transformer;
    bool inverted;
    AffineTransform offset;
  };
  const Case cases[] = {
      {"plain", std::make_shared<Transformer>(handler), false, {1, 0, 0, 1, 10, 160}},
      {"plain inverted", std::make_shared<Transformer>(handler), true, {1, 0, 0, -1, 10, 20}},
      {"horizontal bar", std::make_shared<TransformerHorizontalBarChart>(handler), false, {1, 0, 0, 1, 10, 160}},
      {"horizontal bar inverted", std::make_shared<TransformerHorizontalBarChart>(handler), true,
       {-1, 0, 0, 1, 270, 160}},
  };
  for (const Case& c : cases) {
    // With the value and touch matrices still the identity, the product is the offset matrix.
    c.transformer->prepareMatrixOffset(c.inverted);
    EXPECT_EQ(c.transformer->valueToPixelMatrix(), c.offset) << c.name;
  }
  // Inverted, the horizontal-bar transformer runs x leftwards from the right edge.
  const auto bars = makePrepared<TransformerHorizontalBarChart>(handler, true);
  expectNear(bars.pixelForValues(0, 0), {270, 160}, "bars origin");
  expectNear(bars.pixelForValues(100, 50), {10, 20}, "bars far corner");
}

TEST(Transformer, ZeroRangesAndZeroContent) {
  auto handler = makeHandler();
  Transformer transformer(handler);
  transformer.prepareMatrixValuePx(0, 0, 50, 0);
  transformer.prepareMatrixOffset(false);
  for (double x : {-5.0, 0.0, 100.0}) EXPECT_EQ(transformer.pixelForValues(x, 25).x, 10) << x;
  EXPECT_EQ(transformer.pixelToValueMatrix(), transformer.valueToPixelMatrix());

  // Zero content over a zero range gives NaN, which spreads without harm.
  handler->restrainViewPort(150, 20, 150, 40);
  transformer.prepareMatrixValuePx(0, 0, 50, 0);
  EXPECT_TRUE(std::isnan(transformer.pixelForValues(10, 25).x));
  EXPECT_TRUE(std::isnan(transformer.valueForTouchPoint(10, 25).x));

  // A negative content over a zero range keeps its -infinity instead of
  // collapsing onto the left edge.
  handler->restrainViewPort(160, 20, 150, 40);
  transformer.prepareMatrixValuePx(0, 0, 50, 0);
  EXPECT_FALSE(std::isfinite(transformer.pixelForValues(10, 25).x));
}

TEST(Transformer, ReadsTheZoomLiveWithoutPreparing) {
  auto handler = makeHandler();
  const Transformer transformer = makePrepared(handler, false);
  View chart(Rect(0, 0, 300, 200));
  handler->refresh(handler->zoom(2, 1), chart, false);
  expectNear(transformer.pixelForValues(50, 25), {270, 90}, "zoomed x2");
  handler->refresh(handler->translate({140, 20}), chart, false);
  expectNear(transformer.pixelForValues(50, 25), {140, 90}, "panned");
}

TEST(Transformer, RectanglesGrowWithThePhase) {
  const Transformer transformer = makePrepared(makeHandler(), false);
  struct Case {
    std::string name;
    Rect value;
    double phase;  // NaN: no phase
    bool horizontal;
    Rect pixel;
  };
  const double none = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {"whole", {10, 0, 5, 40}, none, false, {36, 48, 13, 112}},
      {"half grown", {10, 0, 5, 40}, 0.5, false, {36, 104, 13, 56}},
      {"not grown", {10, 0, 5, 40}, 0, false, {36, 160, 13, 0}},
      {"negative height", {0, 50, 10, -50}, none, false, {10, 20, 26, 140}},
      {"horizontal whole", {10, 0, 5, 40}, none, true, {36, 48, 13, 112}},
      {"horizontal half grown", {10, 0, 5, 40}, 0.5, true, {23, 48, 6.5, 112}},
  };
  for (const Case& c : cases) {
    Rect rect = c.value;
    if (c.horizontal)
      std::isnan(c.phase) ? transformer.rectValueToPixelHorizontal(rect)
                          : transformer.rectValueToPixelHorizontal(rect, c.phase);
    else
      std::isnan(c.phase) ? transformer.rectValueToPixel(rect) : transformer.rectValueToPixel(rect, c.phase);
    expectNear(rect, c.pixel, c.name);
  }
  std::vector<Rect> rects{{10, 0, 5, 40}, {0, 50, 10, -50}};
  transformer.rectValuesToPixel(rects);
  expectNear(rects[1], {10, 20, 26, 140}, "list");
}

TEST(Transformer, EveryConversionGoesThroughTheMatrixGetter) {
  struct Shifted : Transformer {
    using Transformer::Transformer;
    AffineTransform valueToPixelMatrix() const override { return AffineTransform::makeTranslation(1000, 0); }
  };
  const Shifted transformer(makeHandler());
  std::vector<Point> points{{1, 2}};
  transformer.pointValuesToPixel(points);
  expectNear(points[0], {1001, 2}, "list");
  expectNear(transformer.pixelForValues(1, 2), {1001, 2}, "pixelForValues");
  Rect rect(0, 0, 1, 1);
  transformer.rectValueToPixel(rect, 1);
  expectNear(rect, {1000, 0, 1, 1}, "rect");
  expectNear(transformer.valueForTouchPoint(1001, 2), {1, 2}, "inverse");
}
