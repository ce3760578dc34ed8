#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Data/CombinedChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Data/ScatterChartDataSet.h"
#include "Chart/Renderers/LinePointsRenderer.h"
#include "Chart/Utils/Transformer.h"
#include "platform/graphics/RecordingContext.h"
#include "support/DrawingExpectations.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::LineCap;
using platform::graphics::LineDash;
using platform::graphics::PathElement;
using platform::graphics::RecordingContext;
using Op = RecordingContext::Op;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A 600 × 400 chart whose content is (40, 20)...(580, 360), x 0...10 and y
// 0...10 on it: x = 40 + 54 · value, y = 360 - 34 · value.
class Provider : public BarLineScatterCandleBubbleChartDataProvider {
 public:
  Provider() : handler(std::make_shared<ViewPortHandler>(600, 400)) {
    handler->restrainViewPort(40, 20, 20, 40);
    transformer = std::make_shared<Transformer>(handler);
    transformer->prepareMatrixValuePx(0, 10, 10, 0);
    transformer->prepareMatrixOffset(false);
  }
  std::shared_ptr<ChartData> data() const override { return chartData; }
  double chartYMax() const override { return 10; }
  double chartYMin() const override { return 0; }
  std::shared_ptr<Transformer> getTransformer(AxisDependency) const override { return transformer; }
  double maxHighlightDistance() const override { return 0; }

  std::shared_ptr<ViewPortHandler> handler;
  std::shared_ptr<Transformer> transformer;
  std::shared_ptr<ChartData> chartData;
};

Point pixel(double x, double y) { return Point{40 + 54 * x, 360 - 34 * y}; }
const Rect kContent(40, 20, 540, 340);
const Color kRed = Color::rgb(0.9, 0.1, 0.1), kBlue = Color::rgb(0.1, 0.2, 0.9), kGreen = Color::rgb(0.1, 0.7, 0.2);

std::shared_ptr<LineChartDataSet> set(std::vector<std::pair<double, double>> values) {
  std::vector<EntryPtr> entries;
  for (const auto& [x, y] : values) entries.push_back(std::make_shared<ChartDataEntry>(x, y));
  auto s = std::make_shared<LineChartDataSet>(entries, "set");
  s->setColor(kRed);
  s->setDrawCirclesEnabled(false);
  return s;
}

// What one set's drawing gives: every stroked path and every circle, each
// with the state it was drawn in.
struct Drawn {
  std::vector<RecordingContext::Operation> strokes, circles, rings;
  RecordingContext recording;
};

Drawn draw(const std::vector<std::shared_ptr<LineChartDataSet>>& sets, bool combined = false) {
  Provider provider;
  std::vector<DataSetPtr> data(sets.begin(), sets.end());
  if (combined) {
    auto c = std::make_shared<CombinedChartData>();
    c->setLineData(std::make_shared<LineChartData>(data));
    provider.chartData = c;
  } else {
    provider.chartData = std::make_shared<LineChartData>(data);
  }
  LinePointsRenderer renderer(provider, provider.handler);
  Drawn drawn;
  renderer.drawData(drawn.recording);
  drawn.strokes = drawn.recording.operations(Op::strokePath);
  drawn.circles = drawn.recording.operations(Op::fillEllipseInRect);
  drawn.rings = drawn.recording.operations(Op::strokeEllipseInRect);
  return drawn;
}

std::vector<Point> pathPoints(const RecordingContext::Operation& op) {
  std::vector<Point> points;
  for (const PathElement& e : op.path) points.push_back(e.point);
  return points;
}

Rect circle(Point centre, double radius) {
  return Rect(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius);
}

TEST(LinePointsRenderer, DrawsWhatEachDataSetSettingSays) {
  const std::vector<std::pair<double, double>> three{{0, 0}, {5, 10}, {10, 5}};
  const std::vector<Point> threePixels{pixel(0, 0), pixel(5, 10), pixel(10, 5)};
  struct Row {
    std::string name;
    std::function<void(LineChartDataSet&)> setUp;
    std::function<void(const Drawn&)> expect;
  };
  const std::vector<Row> rows = {
      {"colour: the line in the set's colour, one path through every entry", [](LineChartDataSet&) {},
       [&](const Drawn& d) {
         ASSERT_EQ(d.strokes.size(), 1u);
         EXPECT_EQ(d.strokes[0].state.strokeColor, kRed);
         EXPECT_EQ(pathPoints(d.strokes[0]), threePixels);
         EXPECT_EQ(d.strokes[0].path[0].kind, PathElement::Kind::moveTo);
         EXPECT_EQ(d.strokes[0].state.lineWidth, 1);  // the set's default
         EXPECT_EQ(d.strokes[0].state.dash, LineDash{});
         EXPECT_TRUE(d.circles.empty());
       }},
      {"colours: segment i in colour i", [](LineChartDataSet& s) { s.setColors({kRed, kBlue}); },
       [&](const Drawn& d) {
         ASSERT_EQ(d.strokes.size(), 2u);
         EXPECT_EQ(d.strokes[0].state.strokeColor, kRed);
         EXPECT_EQ(d.strokes[1].state.strokeColor, kBlue);
         EXPECT_EQ(pathPoints(d.strokes[1]), (std::vector<Point>{threePixels[1], threePixels[2]}));
       }},
      {"width and cap", [](LineChartDataSet& s) { s.setLineWidth(4); s.setLineCapType(LineCap::round); },
       [](const Drawn& d) {
         ASSERT_EQ(d.strokes.size(), 1u);
         EXPECT_EQ(d.strokes[0].state.lineWidth, 4);
         EXPECT_EQ(d.strokes[0].state.lineCap, LineCap::round);
       }},
      {"width 0: no line, points alone",
       [](LineChartDataSet& s) {
         s.setLineWidth(0);
         s.setDrawCirclesEnabled(true);
       },
       [](const Drawn& d) {
         EXPECT_TRUE(d.strokes.empty());
         EXPECT_EQ(d.circles.size(), 6u);  // three circles and their holes
       }},
      {"dash with its phase",
       [](LineChartDataSet& s) {
         s.setLineDashLengths(std::vector<double>{6, 3});
         s.setLineDashPhase(2);
       },
       [](const Drawn& d) {
         ASSERT_EQ(d.strokes.size(), 1u);
         EXPECT_EQ(d.strokes[0].state.dash, (LineDash{2, {6, 3}}));
       }},
      {"stepped: across, then up or down to each entry",
       [](LineChartDataSet& s) { s.setMode(LineChartDataSetMode::stepped); },
       [&](const Drawn& d) {
         ASSERT_EQ(d.strokes.size(), 1u);
         EXPECT_EQ(pathPoints(d.strokes[0]), (std::vector<Point>{pixel(0, 0), pixel(5, 0), pixel(5, 10), pixel(10, 10),
                                                                 pixel(10, 5)}));
       }},
      {"circles: radius and circle colour, hole in its colour",
       [](LineChartDataSet& s) {
         s.setDrawCirclesEnabled(true);
         s.setCircleRadius(5);
         s.setCircleColor(kBlue);
         s.setCircleHoleRadius(2);
         s.setCircleHoleColor(kGreen);
       },
       [&](const Drawn& d) {
         ASSERT_EQ(d.circles.size(), 6u);
         for (size_t i = 0; i < 3; ++i) {
           EXPECT_EQ(d.circles[2 * i].rect, circle(threePixels[i], 5));
           EXPECT_EQ(d.circles[2 * i].state.fillColor, kBlue);
           EXPECT_EQ(d.circles[2 * i + 1].rect, circle(threePixels[i], 2));
           EXPECT_EQ(d.circles[2 * i + 1].state.fillColor, kGreen);
         }
       }},
      {"circles in the circle colours in turn, without a hole",
       [](LineChartDataSet& s) {
         s.setDrawCirclesEnabled(true);
         s.setCircleRadius(3);
         s.setCircleColors({kBlue, kGreen});
         s.setDrawCircleHoleEnabled(false);
       },
       [&](const Drawn& d) {
         ASSERT_EQ(d.circles.size(), 3u);
         EXPECT_EQ(d.circles[0].state.fillColor, kBlue);
         EXPECT_EQ(d.circles[1].state.fillColor, kGreen);
         EXPECT_EQ(d.circles[2].state.fillColor, kBlue);
         EXPECT_EQ(d.circles[2].rect, circle(threePixels[2], 3));
       }},
      {"no circle colours: the set's colour",
       [](LineChartDataSet& s) {
         s.setDrawCirclesEnabled(true);
         s.resetCircleColors(0);
         s.setDrawCircleHoleEnabled(false);
       },
       [](const Drawn& d) {
         ASSERT_EQ(d.circles.size(), 3u);
         EXPECT_EQ(d.circles[0].state.fillColor, kRed);
       }},
      {"a hole without a colour is left open: a ring",
       [](LineChartDataSet& s) {
         s.setDrawCirclesEnabled(true);
         s.setCircleRadius(6);
         s.setCircleHoleRadius(2);
         s.setCircleHoleColor(std::nullopt);
       },
       [&](const Drawn& d) {
         EXPECT_TRUE(d.circles.empty());
         ASSERT_EQ(d.rings.size(), 3u);
         EXPECT_EQ(d.rings[1].rect, circle(threePixels[1], 4));
         EXPECT_EQ(d.rings[1].state.lineWidth, 4);
       }},
      {"circles disabled, or of radius 0: none",
       [](LineChartDataSet& s) { s.setDrawCirclesEnabled(true); s.setCircleRadius(0); },
       [](const Drawn& d) { EXPECT_TRUE(d.circles.empty() && d.rings.empty()); }},
      {"a hidden set: nothing",
       [](LineChartDataSet& s) { s.setVisible(false); s.setDrawCirclesEnabled(true); },
       [](const Drawn& d) { EXPECT_TRUE(d.strokes.empty() && d.circles.empty() && d.rings.empty()); }},
      {"an empty set: nothing",
       [](LineChartDataSet& s) { s.clear(); s.setDrawCirclesEnabled(true); },
       [](const Drawn& d) { EXPECT_TRUE(d.strokes.empty() && d.circles.empty() && d.rings.empty()); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto s = set(three);
    row.setUp(*s);
    const Drawn drawn = draw({s});
    row.expect(drawn);
    testsupport::expectFreshEnd(drawn.recording, row.name);
    // Whatever is drawn is clipped to the content.
    for (const auto& ops : {drawn.strokes, drawn.circles, drawn.rings})
      for (const auto& op : ops) {
        ASSERT_FALSE(op.state.clip.empty());
        EXPECT_EQ(op.state.clip.back().rect, kContent);
      }
  }
}

TEST(LinePointsRenderer, PointsOutsideTheContentAreClippedAndFarCirclesLeftOut) {
  // A line from far left of the content to far above it, through the
  // middle; circles at each end and in the middle.
  auto s = set({{-20, 5}, {5, 5}, {5, 40}});
  s->setDrawCirclesEnabled(true);
  s->setCircleRadius(4);
  s->setDrawCircleHoleEnabled(false);
  const Drawn drawn = draw({s});
  ASSERT_EQ(drawn.strokes.size(), 1u);
  EXPECT_EQ(drawn.strokes[0].state.clip.back().rect, kContent);
  EXPECT_EQ(pathPoints(drawn.strokes[0]), (std::vector<Point>{pixel(-20, 5), pixel(5, 5), pixel(5, 40)}));
  ASSERT_EQ(drawn.circles.size(), 1u);  // only the one inside
  EXPECT_EQ(drawn.circles[0].rect, circle(pixel(5, 5), 4));
  EXPECT_EQ(drawn.circles[0].state.clip.back().rect, kContent);
  // A circle whose centre lies just outside still shows its inner part.
  auto edge = set({{-0.05, 5}});
  edge->setDrawCirclesEnabled(true);
  edge->setCircleRadius(4);
  edge->setDrawCircleHoleEnabled(false);
  EXPECT_EQ(draw({edge}).circles.size(), 1u);
  testsupport::expectFreshEnd(drawn.recording);
}

TEST(LinePointsRenderer, SetsAreDrawnInOrderEachItsLineThenItsCircles) {
  auto first = set({{0, 0}, {10, 10}});
  first->setDrawCirclesEnabled(true);
  first->setDrawCircleHoleEnabled(false);
  auto second = set({{0, 10}, {10, 0}});
  second->setColor(kBlue);
  const Drawn drawn = draw({first, second});
  std::vector<std::pair<Op, Color>> order;
  for (const auto& op : drawn.recording.operations())
    if (op.op == Op::strokePath) order.emplace_back(op.op, op.state.strokeColor);
    else if (op.op == Op::fillEllipseInRect) order.emplace_back(op.op, op.state.fillColor);
  const Color circles = *first->getCircleColor(0);
  EXPECT_EQ(order, (std::vector<std::pair<Op, Color>>{
                       {Op::strokePath, kRed}, {Op::fillEllipseInRect, circles}, {Op::fillEllipseInRect, circles},
                       {Op::strokePath, kBlue}}));
}

TEST(LinePointsRenderer, GapsCombinedDataAndOtherKindsOfSets) {
  // An entry that is not a number breaks the line.
  auto gap = set({{0, 0}, {1, kNaN}, {2, 2}, {3, 3}});
  const Drawn drawn = draw({gap});
  ASSERT_EQ(drawn.strokes.size(), 1u);
  const auto& path = drawn.strokes[0].path;
  ASSERT_EQ(path.size(), 3u);
  EXPECT_EQ(path[0].point, pixel(0, 0));
  EXPECT_EQ(path[1].kind, PathElement::Kind::moveTo);
  EXPECT_EQ(path[1].point, pixel(2, 2));
  EXPECT_EQ(path[2].point, pixel(3, 3));

  // The line data of combined data is drawn; other data's sets are not.
  const Drawn combined = draw({set({{0, 0}, {10, 10}})}, true);
  ASSERT_EQ(combined.strokes.size(), 1u);
  EXPECT_EQ(pathPoints(combined.strokes[0]), (std::vector<Point>{pixel(0, 0), pixel(10, 10)}));

  Provider provider;
  provider.chartData = std::make_shared<LineChartData>(std::vector<DataSetPtr>{
      std::make_shared<ScatterChartDataSet>(std::vector<EntryPtr>{std::make_shared<ChartDataEntry>(1, 1)}, "dots")});
  LinePointsRenderer renderer(provider, provider.handler);
  RecordingContext recording;
  renderer.drawData(recording);
  EXPECT_TRUE(recording.operations(Op::strokePath).empty());
  EXPECT_TRUE(recording.operations(Op::fillEllipseInRect).empty());
  // No data at all: nothing either.
  provider.chartData = nullptr;
  renderer.drawData(recording);
  EXPECT_TRUE(recording.operations(Op::strokePath).empty());
  testsupport::expectFreshEnd(recording);
}

// On a horizontal-bar view's transformers an entry (x, y) lies at y across
// and x up, where that view's highlighter finds it; a stepped line runs
// along x (up) to the next entry, then along y (across).
TEST(LinePointsRenderer, TurnedOnAHorizontalBarViewsTransformers) {
  for (const auto mode : {LineChartDataSetMode::linear, LineChartDataSetMode::stepped}) {
    const bool stepped = mode == LineChartDataSetMode::stepped;
    SCOPED_TRACE(stepped ? "stepped" : "linear");
    Provider provider;
    provider.transformer = std::make_shared<TransformerHorizontalBarChart>(provider.handler);
    provider.transformer->prepareMatrixValuePx(0, 10, 10, 0);
    provider.transformer->prepareMatrixOffset(false);
    auto s = set({{1, 2}, {3, 6}});
    s->setMode(mode);
    s->setDrawCirclesEnabled(true);
    s->setDrawCircleHoleEnabled(false);
    provider.chartData = std::make_shared<LineChartData>(std::vector<DataSetPtr>{s});
    LinePointsRenderer renderer(provider, provider.handler);
    RecordingContext recording;
    renderer.drawData(recording);
    const auto strokes = recording.operations(Op::strokePath);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(pathPoints(strokes[0]), stepped ? (std::vector<Point>{pixel(2, 1), pixel(2, 3), pixel(6, 3)})
                                              : (std::vector<Point>{pixel(2, 1), pixel(6, 3)}));
    const auto circles = recording.operations(Op::fillEllipseInRect);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[1].rect, circle(pixel(6, 3), s->circleRadius()));
  }
}

}  // namespace
