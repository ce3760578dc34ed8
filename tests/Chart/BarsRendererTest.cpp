#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Renderers/BarsRenderer.h"
#include "Chart/Renderers/CombinedRenderer.h"
#include "Chart/Renderers/LinePointsRenderer.h"
#include "Chart/Views/HorizontalBarChartView.h"
#include "platform/graphics/RecordingContext.h"
#include "support/DrawingExpectations.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::RecordingContext;
using Op = RecordingContext::Op;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A 600 × 400 chart whose content is (40, 20)...(580, 360). Upright: x
// 0...10 across and y -5...5 up it on the left axis, y -10...10 on the
// right. Turned (a horizontal-bar chart's transformers): the left axis's y
// -5...5 across and x 0...10 up.
class Provider : public BarLineScatterCandleBubbleChartDataProvider {
 public:
  explicit Provider(bool turned) : handler(std::make_shared<ViewPortHandler>(600, 400)) {
    handler->restrainViewPort(40, 20, 20, 40);
    const auto make = [&](double yMin, double yRange) -> std::shared_ptr<Transformer> {
      auto t = turned ? std::make_shared<TransformerHorizontalBarChart>(handler) : std::make_shared<Transformer>(handler);
      turned ? t->prepareMatrixValuePx(yMin, yRange, 10, 0) : t->prepareMatrixValuePx(0, 10, yRange, yMin);
      t->prepareMatrixOffset(false);
      return t;
    };
    left = make(-5, 10);
    right = make(-10, 20);
  }
  std::shared_ptr<ChartData> data() const override { return chartData; }
  double chartYMax() const override { return 5; }
  double chartYMin() const override { return -5; }
  std::shared_ptr<Transformer> getTransformer(AxisDependency axis) const override {
    return axis == AxisDependency::left ? left : right;
  }
  double maxHighlightDistance() const override { return 0; }

  std::shared_ptr<ViewPortHandler> handler;
  std::shared_ptr<Transformer> left, right;
  std::shared_ptr<ChartData> chartData;
};

const Rect kContent(40, 20, 540, 340);
const Color kRed = Color::rgb(0.9, 0.1, 0.1), kBlue = Color::rgb(0.1, 0.2, 0.9), kGreen = Color::rgb(0.1, 0.7, 0.2);

// The upright bar at x, `width` wide, over the values from..to of the left
// axis: x = 40 + 54 · value, y = 190 - 34 · value.
Rect upright(double x, double width, double from, double to) {
  return Rect(40 + 54 * (x - width / 2), 190 - 34 * to, 54 * width, 34 * (to - from));
}
// The turned bar: the value across from x = 310 (0) at 54 per unit, the
// category up from y = 360 at 34 per unit.
Rect turnedBar(double x, double width, double from, double to) {
  return Rect(310 + 54 * from, 360 - 34 * (x + width / 2), 54 * (to - from), 34 * width);
}

std::shared_ptr<BarChartDataEntry> bar(double x, double y) { return std::make_shared<BarChartDataEntry>(x, y); }
std::shared_ptr<BarChartDataEntry> stack(double x, std::vector<double> values) {
  return std::make_shared<BarChartDataEntry>(x, std::move(values));
}

using Filled = std::vector<std::pair<Rect, Color>>;

TEST(BarsRenderer, FillsEachBarAsItsSetAndDataSay) {
  struct Row {
    std::string name;
    std::vector<EntryPtr> entries;
    std::function<void(BarChartDataSet&, BarChartData&)> setUp;
    Filled expected;  // on the upright chart; turned for the turned one
  };
  const auto none = [](BarChartDataSet&, BarChartData&) {};
  const std::vector<Row> rows = {
      {"plain bars from 0 in the set's colour, the data's bar width", {bar(1, 2), bar(3, 4.5)},
       [](BarChartDataSet&, BarChartData& d) { d.setBarWidth(0.5); },
       {{upright(1, 0.5, 0, 2), kRed}, {upright(3, 0.5, 0, 4.5), kRed}}},
      {"the colours in turn, bar i in colour i", {bar(1, 1), bar(2, 2), bar(3, 3)},
       [](BarChartDataSet& s, BarChartData&) { s.setColors({kRed, kBlue}); },
       {{upright(1, 0.85, 0, 1), kRed}, {upright(2, 0.85, 0, 2), kBlue}, {upright(3, 0.85, 0, 3), kRed}}},
      {"a negative value runs down from 0", {bar(2, -3)}, none, {{upright(2, 0.85, -3, 0), kRed}}},
      {"a stack: each value over its range, value k in colour k; a plain entry in colour 0",
       {stack(2, {1, 2, -1}), bar(4, 1)}, [](BarChartDataSet& s, BarChartData&) { s.setColors({kRed, kBlue, kGreen}); },
       {{upright(2, 0.85, 0, 1), kRed},
        {upright(2, 0.85, 1, 3), kBlue},
        {upright(2, 0.85, -1, 0), kGreen},
        {upright(4, 0.85, 0, 1), kRed}}},
      {"a stack changed to no values: nothing", {stack(2, {1, 2}), bar(4, 1)},
       [](BarChartDataSet& s, BarChartData&) {
         std::static_pointer_cast<BarChartDataEntry>(s.entryForIndex(0))->setYValues(std::vector<double>{});
       },
       {{upright(4, 0.85, 0, 1), kRed}}},
      {"on the right axis: through its transformer", {bar(5, 4)},
       [](BarChartDataSet& s, BarChartData&) { s.setAxisDependency(AxisDependency::right); },
       {{upright(5, 0.85, 0, 2), kRed}}},
      {"clipped to the content: a bar beyond it cut, one wholly outside left out",
       {bar(-3, 2), bar(0, 2), bar(5, 8), bar(12, 1)}, none,
       {{Rect(40, 122, 54 * 0.425, 68), kRed}, {Rect(40 + 54 * 4.575, 20, 54 * 0.85, 170), kRed}}},
      {"a value that is not a number: no bar", {bar(1, kNaN), bar(2, 1)}, none, {{upright(2, 0.85, 0, 1), kRed}}},
      {"a bar width of 0: nothing", {bar(1, 1)}, [](BarChartDataSet&, BarChartData& d) { d.setBarWidth(0); }, {}},
      {"a hidden set: nothing", {bar(1, 1)}, [](BarChartDataSet& s, BarChartData&) { s.setVisible(false); }, {}},
      {"an empty set: nothing", {bar(1, 1)}, [](BarChartDataSet& s, BarChartData&) { s.clear(); }, {}},
  };
  for (const bool turned : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(row.name + (turned ? " (turned)" : ""));
      if (turned && row.name.starts_with("clipped")) continue;  // upright pixels
      auto set = std::make_shared<BarChartDataSet>(row.entries, "bars");
      set->setColor(kRed);
      auto data = std::make_shared<BarChartData>(std::vector<DataSetPtr>{set});
      row.setUp(*set, *data);
      Provider provider(turned);
      provider.chartData = data;
      BarsRenderer renderer(provider, provider.handler);
      RecordingContext recording;
      renderer.drawData(recording);
      Filled filled;
      for (const auto& op : recording.operations(Op::fillRect)) {
        filled.emplace_back(op.rect, op.state.fillColor);
        ASSERT_FALSE(op.state.clip.empty());
        EXPECT_EQ(op.state.clip.back().rect, kContent);
      }
      Filled expected = row.expected;
      if (turned) {
        // The same values turned: the value across, the category up.
        for (auto& [rect, color] : expected) {
          const double x = (rect.midX() - 40) / 54, width = rect.width() / 54;
          const double to = (190 - rect.minY()) / 34, from = to - rect.height() / 34;
          rect = turnedBar(x, width, from, to);
        }
      }
      ASSERT_EQ(filled.size(), expected.size());
      for (size_t i = 0; i < filled.size(); ++i) {
        EXPECT_NEAR(filled[i].first.minX(), expected[i].first.minX(), 1e-9) << i;
        EXPECT_NEAR(filled[i].first.minY(), expected[i].first.minY(), 1e-9) << i;
        EXPECT_NEAR(filled[i].first.maxX(), expected[i].first.maxX(), 1e-9) << i;
        EXPECT_NEAR(filled[i].first.maxY(), expected[i].first.maxY(), 1e-9) << i;
        EXPECT_EQ(filled[i].second, expected[i].second) << i;
      }
      testsupport::expectFreshEnd(recording, row.name);
    }
  }
}

// The usual chart on a bar view and a horizontal-bar view (400 × 300) of
// combined data: bars y = 1 + i under a target line y = 2 + i with circles,
// x 0..9, drawn through a CombinedRenderer of the bars renderer, a null one
// (left out) and the line-and-points renderer. The bars lie under the line,
// and what is drawn is where a tap finds it: a tap on each corner of a drawn
// bar (a pixel inside, beyond a finger's reach of the points) names the bar,
// a tap on each drawn circle's centre names that point, at that pixel.
TEST(BarsRenderer, DrawsWithTheLineWhereTapsFindThem) {
  for (const bool turned : {false, true}) {
    SCOPED_TRACE(turned ? "horizontal bars" : "bars");
    const std::shared_ptr<BarChartView> view = turned ? HorizontalBarChartView::create(Rect(0, 0, 400, 300))
                                                      : BarChartView::create(Rect(0, 0, 400, 300));
    std::vector<EntryPtr> bars, points;
    for (double x = 0; x < 10; ++x) {
      bars.push_back(std::make_shared<BarChartDataEntry>(x, 1 + x));
      points.push_back(std::make_shared<ChartDataEntry>(x, 2 + x));
    }
    auto line = std::make_shared<LineChartDataSet>(points, "target");
    line->setDrawCircleHoleEnabled(false);
    line->setCircleRadius(3);
    auto data = std::make_shared<CombinedChartData>();
    data->setBarData(std::make_shared<BarChartData>(std::vector<DataSetPtr>{
        std::make_shared<BarChartDataSet>(bars, "measured")}));
    data->setLineData(std::make_shared<LineChartData>(std::vector<DataSetPtr>{line}));
    const Color barColor = data->barData()->dataSets()[0]->color(0);
    view->setData(data);
    view->setRenderer(std::make_shared<CombinedRenderer>(
        view->viewPortHandler(),
        std::vector<std::shared_ptr<DataRenderer>>{std::make_shared<BarsRenderer>(*view, view->viewPortHandler()),
                                                   nullptr,
                                                   std::make_shared<LinePointsRenderer>(*view, view->viewPortHandler())}));
    RecordingContext recording;
    view->draw(recording);
    const Rect content = view->viewPortHandler()->contentRect();

    std::vector<Rect> drawnBars;
    std::vector<Point> centres;
    bool lineDrawn = false;
    for (const auto& op : recording.operations()) {
      // The bars, clipped to the content (the legend's form is not).
      const bool inContent = !op.state.clip.empty() && op.state.clip.back().rect == content;
      if (op.op == Op::fillRect && op.state.fillColor == barColor && inContent) {
        EXPECT_FALSE(lineDrawn) << "a bar over the line";
        drawnBars.push_back(op.rect);
      }
      if (op.op == Op::strokePath && op.state.strokeColor == line->color(0)) lineDrawn = true;
      if (op.op == Op::fillEllipseInRect && op.state.fillColor == *line->getCircleColor(0))
        centres.push_back(Point{op.rect.midX(), op.rect.midY()});
    }
    ASSERT_TRUE(lineDrawn);
    ASSERT_EQ(drawnBars.size(), 10u);
    ASSERT_EQ(centres.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
      SCOPED_TRACE(i);
      const Rect& b = drawnBars[i];
      for (const Point corner : {Point{b.minX() + 0.5, b.minY() + 0.5}, Point{b.maxX() - 0.5, b.minY() + 0.5},
                                 Point{b.minX() + 0.5, b.maxY() - 0.5}, Point{b.maxX() - 0.5, b.maxY() - 0.5}}) {
        ASSERT_GT(std::hypot(centres[i].x - corner.x, centres[i].y - corner.y), 22);
        const auto h = view->getHighlightByTouchPoint(corner);
        ASSERT_TRUE(h);
        EXPECT_EQ(std::pair(h->dataIndex(), h->x()), std::pair(int64_t{1}, double(i)));
      }
      const auto h = view->getHighlightByTouchPoint(centres[i]);
      ASSERT_TRUE(h);
      EXPECT_EQ(std::tuple(h->dataIndex(), h->x(), h->xPx(), h->yPx()),
                std::tuple(int64_t{0}, double(i), centres[i].x, centres[i].y));
    }
    testsupport::expectFreshEnd(recording);
  }
}

}  // namespace
