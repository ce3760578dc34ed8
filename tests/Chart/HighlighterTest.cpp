#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Data/ScatterChartData.h"
#include "Chart/Data/ScatterChartDataSet.h"
#include "Chart/Highlight/CombinedHighlighter.h"
#include "Chart/Renderers/BarsRenderer.h"
#include "Chart/Renderers/CombinedRenderer.h"
#include "Chart/Views/HorizontalBarChartView.h"
#include "Chart/Views/LineChartView.h"
#include "platform/graphics/RecordingContext.h"

using namespace chart;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::shared_ptr<LineChartDataSet> lineSet(const std::function<double(double)>& y, double step = 10, double last = 100) {
  std::vector<EntryPtr> entries;
  for (double x = 0; x <= last; x += step) entries.push_back(std::make_shared<ChartDataEntry>(x, y(x)));
  return std::make_shared<LineChartDataSet>(entries, "line");
}

// Two crossing lines, y = x and y = 100 - x: a touch picks the entries
// closest in x, then the nearer in pixels within 100 points (exactly 100
// included), the earlier set on a tie, among the visible and highlightable
// sets. A touch lies `dy` points below the value (x, y).
TEST(Highlighters, BarLinePicksTheNearestValueWithinReach) {
  const struct {
    const char* name;
    double x, y;
    std::function<void(IChartDataSet& a, IChartDataSet& b)> setUp;
    std::optional<std::pair<double, int64_t>> expected;  // x and data set
    double dy = 0;
  } table[] = {
      {"nearer the lower entry", 12, 12, {}, std::pair{10.0, int64_t{0}}},
      {"nearer the higher entry", 17, 17, {}, std::pair{20.0, int64_t{0}}},
      {"nearer the second line", 40, 58, {}, std::pair{40.0, int64_t{1}}},
      {"a tie goes to the first set", 50, 50, {}, std::pair{50.0, int64_t{0}}},
      {"out of reach", 70, 110, {}, std::nullopt},
      {"exactly at the highlight distance", 70, 70, {}, std::pair{70.0, int64_t{0}}, -100},
      {"two values at one x: the nearer in y", 40, 42,
       [](IChartDataSet& a, IChartDataSet&) { a.addEntryOrdered(std::make_shared<ChartDataEntry>(40, 90)); },
       std::pair{40.0, int64_t{0}}},
      {"second line not highlightable", 40, 58, [](IChartDataSet&, IChartDataSet& b) { b.setHighlightEnabled(false); },
       std::pair{40.0, int64_t{0}}},
      {"none left",  40, 58,
       [](IChartDataSet& a, IChartDataSet& b) {
         a.setVisible(false);
         b.setHighlightEnabled(false);
       },
       std::nullopt},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    const auto view = LineChartView::create(Rect(0, 0, 600, 400));
    const auto a = lineSet([](double x) { return x; });
    const auto b = lineSet([](double x) { return 100 - x; });
    if (row.setUp) row.setUp(*a, *b);
    view->setData(std::make_shared<LineChartData>(std::vector<DataSetPtr>{a, b}));
    const Transformer& t = *view->getTransformer(AxisDependency::left);
    const Point value = t.pixelForValues(row.x, row.y);
    const auto h = view->getHighlightByTouchPoint(Point{value.x, value.y + row.dy});
    ASSERT_EQ(static_cast<bool>(h), row.expected.has_value());
    if (!h) continue;
    EXPECT_EQ(h->x(), row.expected->first);
    EXPECT_EQ(h->dataSetIndex(), row.expected->second);
    EXPECT_EQ(h->dataIndex(), -1);
    EXPECT_EQ((Point{h->xPx(), h->yPx()}), t.pixelForValues(h->x(), h->y()));
    EXPECT_EQ(view->data()->entryForHighlight(*h)->y(), h->y());
  }
  const auto view = LineChartView::create(Rect(0, 0, 600, 400));
  view->setData(std::make_shared<LineChartData>(lineSet([](double x) { return x; })));
  EXPECT_FALSE(view->getHighlightByTouchPoint(Point{kNaN, 100}));
}

// Stacks [2, 3, 4] at x 0 and [-2, 3] at x 1, a plain bar of 5 at x 2, on
// both bar views: the touched y picks the stack value whose range holds it,
// above the stack the top one, below it the bottom one, and lies at that
// value's top (where its marker is drawn); a bar is found by its column, at
// any height. A stack index other than -1 that names no value of a stacked
// entry highlights nothing.
TEST(Highlighters, StackedBarsByRangeOnBothBarViews) {
  const struct {
    double x, y, expectedX;
    int64_t stack;
    double top = kNaN;
  } table[] = {
      {0, 1, 0, 0},   {0, 3.5, 0, 1, 5}, {0, 8, 0, 2},   {0, 11, 0, 2},  {0, -3, 0, 0}, {0.3, 4, 0, 1},
      {1, -1, 1, 0},  {1, 2, 1, 1},   {1, -4.5, 1, 0}, {1, 0, 1, 0}, {2, 9, 2, -1}, {1.6, 0, 2, -1},
  };
  for (const bool turned : {false, true}) {
    SCOPED_TRACE(turned ? "horizontal bars" : "bars");
    const std::shared_ptr<BarChartView> view = turned ? HorizontalBarChartView::create(Rect(0, 0, 600, 400))
                                                      : BarChartView::create(Rect(0, 0, 600, 400));
    for (const auto& axis : {view->leftAxis(), view->rightAxis()}) {
      axis->setAxisMinimum(-5);
      axis->setAxisMaximum(12);
    }
    auto set = std::make_shared<BarChartDataSet>(
        std::vector<EntryPtr>{std::make_shared<BarChartDataEntry>(0, std::vector<double>{2, 3, 4}),
                              std::make_shared<BarChartDataEntry>(1, std::vector<double>{-2, 3}),
                              std::make_shared<BarChartDataEntry>(2, 5)},
        "stacks");
    view->setData(std::make_shared<BarChartData>(std::vector<DataSetPtr>{set}));
    const Transformer& t = *view->getTransformer(AxisDependency::left);
    for (const auto& row : table) {
      SCOPED_TRACE(testing::Message() << row.x << ", " << row.y);
      const Point touch = turned ? t.pixelForValues(row.y, row.x) : t.pixelForValues(row.x, row.y);
      const auto h = view->getHighlightByTouchPoint(touch);
      ASSERT_TRUE(h);
      EXPECT_EQ(h->x(), row.expectedX);
      EXPECT_EQ(h->stackIndex(), row.stack);
      EXPECT_EQ(h->dataIndex(), -1);
      EXPECT_EQ(view->data()->entryForHighlight(*h), set->entryForIndex(static_cast<int64_t>(row.expectedX)));
      if (!std::isnan(row.top)) {
        EXPECT_EQ((Point{h->xPx(), h->yPx()}), turned ? t.pixelForValues(row.top, row.expectedX)
                                                      : t.pixelForValues(row.expectedX, row.top));
      }
    }
    for (const auto& [x, stack] : {std::pair{0.0, 3}, {0.0, 99}, {0.0, -2}, {2.0, 0}}) {
      view->highlightValue(0, 0, 2);
      view->highlightValue(x, 0, stack);
      EXPECT_TRUE(view->highlighted().empty() && !view->lastHighlighted()) << x << ", stack " << stack;
    }
    view->highlightValues({std::make_shared<Highlight>(0, 0, 7), std::make_shared<Highlight>(1, 0, 1),
                           std::make_shared<Highlight>(kNaN, 0, -1)});
    ASSERT_EQ(view->highlighted().size(), 1u);
    EXPECT_EQ(view->lastHighlighted()->x(), 1);
    // An edit in place that takes the stack value away drops its highlight.
    view->highlightValue(0, 0, 2);
    std::static_pointer_cast<BarChartDataEntry>(set->entryForIndex(0))->setYValues(std::vector<double>{5});
    view->notifyDataSetChanged();
    EXPECT_TRUE(view->highlighted().empty() && !view->lastHighlighted());
  }

  // The mixed stack [2, -3, 4, -1]: ranges (0, 2], (-4, -1], (2, 6], (-1, 0].
  const auto bar = std::make_shared<BarChartDataEntry>(0, std::vector<double>{2, -3, 4, -1});
  for (const auto& [y, index] : {std::pair{1.0, 0}, {-2.0, 1}, {5.0, 2}, {-0.5, 3}, {0.0, 3}, {10.0, 2},
                                  {-10.0, 1}, {-4.0, 1}, {kNaN, -1}}) {
    EXPECT_EQ(BarHighlighter::stackIndex(*bar->ranges(), y), index) << y;
  }
  EXPECT_EQ(BarHighlighter::stackIndex({}, 1), -1);
  // At the foot of [0, 0, 5], on three ranges' edges: the first.
  EXPECT_EQ(BarHighlighter::stackIndex(*BarChartDataEntry(0, std::vector<double>{0, 0, 5}).ranges(), 0), 0);
}

// A combined chart seen through its provider: 40 points per x, 3 per y.
struct CombinedChart : CombinedChartDataProvider {
  CombinedChart() {
    transformer->prepareMatrixValuePx(0, 10, 100, 0);
    transformer->prepareMatrixOffset(false);
  }
  std::shared_ptr<ChartData> data() const override { return combined; }
  double chartYMax() const override { return 100; }
  double chartYMin() const override { return 0; }
  std::shared_ptr<Transformer> getTransformer(AxisDependency) const override { return transformer; }
  double maxHighlightDistance() const override { return 50; }
  std::shared_ptr<BarChartData> barData() const override { return combined->barData(); }
  std::shared_ptr<CombinedChartData> combinedData() const override { return combined; }

  std::shared_ptr<ViewPortHandler> handler = std::make_shared<ViewPortHandler>(400, 300);
  std::shared_ptr<Transformer> transformer = std::make_shared<Transformer>(handler);
  std::shared_ptr<CombinedChartData> combined = std::make_shared<CombinedChartData>();
};

// A flat line at 50 (sub-data 0), stacked bars [10, 20, 30] at x 2, 5
// and 8 (sub-data 1) and a scatter point (8, 40) (sub-data 2): each
// highlight carries its sub-data's index, the bars theirs by the bar rules,
// and the combined data finds the entry from it. Inside a bar's column
// (34 points wide) the nearest point within reach (50 points) wins over
// the bar, however near the bar's own line the touch lies.
TEST(Highlighters, CombinedCarriesTheSubDataIndex) {
  const auto chart = std::make_shared<CombinedChart>();
  auto line = std::make_shared<LineChartData>(lineSet([](double) { return 50; }, 1, 10));
  std::vector<EntryPtr> bars;
  for (const double x : {2, 5, 8}) bars.push_back(std::make_shared<BarChartDataEntry>(x, std::vector<double>{10, 20, 30}));
  auto barSet = std::make_shared<BarChartDataSet>(bars, "bars");
  chart->combined->setBarData(std::make_shared<BarChartData>(std::vector<DataSetPtr>{barSet}));
  chart->combined->setLineData(line);
  auto point = std::make_shared<ScatterChartDataSet>(std::vector<EntryPtr>{std::make_shared<ChartDataEntry>(8, 40)});
  chart->combined->setScatterData(std::make_shared<ScatterChartData>(point));
  CombinedHighlighter highlighter(chart);
  const struct {
    double x, y;
    int64_t dataIndex, stack;
    double expectedX;
  } table[] = {
      {3, 50, 0, -1, 3},  // on the line, a bar's column 40 points away
      {5, 25, 1, 1, 5},   // the line 75 points away, out of reach
      {8, 55, 0, -1, 8},  // in the bar's column, the line 15 points away, the scatter point 45
      {8, 80, 1, 2, 8},   // in the bar's column, no point within reach: the bar
      {8, 40, 2, -1, 8},  // on a point over a bar, both exactly under the finger: the point
      {8, 41, 2, -1, 8},  // 3 points above it, in the bar's column
      {8.4, 38, 2, -1, 8},  // 16 points across it and 6 below, at the column's edge
  };
  for (const auto& row : table) {
    SCOPED_TRACE(testing::Message() << row.x << ", " << row.y);
    const auto h = highlighter.getHighlight(40 * row.x, 300 - 3 * row.y);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->dataIndex(), row.dataIndex);
    EXPECT_EQ(h->stackIndex(), row.stack);
    EXPECT_EQ(h->dataSetIndex(), 0);
    const EntryPtr entry = chart->combined->entryForHighlight(*h);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->x(), row.expectedX);
    const DataSetPtr sets[] = {line->dataSets()[0], barSet, point};
    EXPECT_TRUE(sets[row.dataIndex]->contains(entry));
  }
  chart->combined = nullptr;
  EXPECT_FALSE(highlighter.getHighlight(100, 100));
}

// The three views that take combined data (a flat line at 50 with points
// at x 0, 3, 6, 9; stacked bars [10, 20, 30] at x 2, 5, 8; scatter points
// (3, 20), (4.9, 40) and (5, 45)): a tap finds bars by their column and the
// other values by their point (the line view finds bars by their top), so
// it highlights what lies under the finger, a point over a bar (or within
// reach of the finger in the bar's column) before the bar, with the
// sub-data's index, which the combined data resolves. From
// code, a set is named by its place among the sets of all the sub-data,
// in the order allData() gives, and the entry at the x closest to the one
// asked for is highlighted.
TEST(Highlighters, LineAndBarViewsTapCombinedData) {
  const auto combined = std::make_shared<CombinedChartData>();
  combined->setLineData(std::make_shared<LineChartData>(lineSet([](double) { return 50; }, 3, 9)));
  std::vector<EntryPtr> bars;
  for (const double x : {2, 5, 8}) {
    bars.push_back(std::make_shared<BarChartDataEntry>(x, std::vector<double>{10, 20, 30}));
  }
  combined->setBarData(std::make_shared<BarChartData>(std::make_shared<BarChartDataSet>(bars, "bars")));
  std::vector<EntryPtr> points;
  for (const auto& [x, y] : {std::pair{3.0, 20.0}, {4.9, 40.0}, {5.0, 45.0}}) {
    points.push_back(std::make_shared<ChartDataEntry>(x, y));
  }
  combined->setScatterData(std::make_shared<ScatterChartData>(std::make_shared<ScatterChartDataSet>(points)));
  enum Kind { line, bar, turned };
  const auto make = [&](Kind kind) -> std::shared_ptr<BarLineChartViewBase> {
    if (kind == line) return LineChartView::create(Rect(0, 0, 600, 400));
    if (kind == bar) return BarChartView::create(Rect(0, 0, 600, 400));
    return HorizontalBarChartView::create(Rect(0, 0, 600, 400));
  };
  // The view, the value touched; the highlight's data index, stack index and x.
  for (const auto& [kind, x, y, dataIndex, stack, expectedX] :
       {std::tuple{line, 6.0, 48.0, 0, -1, 6.0}, {line, 5.0, 58.0, 1, -1, 5.0}, {bar, 5.3, 25.0, 1, 1, 5.0},
        {bar, 6.2, 40.0, 0, -1, 6.0}, {turned, 5.3, 25.0, 1, 1, 5.0},
        // inside a bar, under a scatter point's column
        {bar, 4.9, 15.0, 1, 1, 5.0}, {turned, 4.9, 15.0, 1, 1, 5.0},
        // on a scatter point, under a line point's column
        {line, 3.0, 20.0, 2, -1, 3.0}, {bar, 3.0, 20.0, 2, -1, 3.0}, {turned, 3.0, 20.0, 2, -1, 3.0},
        // on a scatter point over a bar, and a finger's width off it along the bar
        {line, 5.0, 45.0, 2, -1, 5.0}, {bar, 5.0, 45.0, 2, -1, 5.0}, {turned, 5.0, 45.0, 2, -1, 5.0},
        {bar, 5.0, 47.0, 2, -1, 5.0}, {turned, 5.0, 43.0, 2, -1, 5.0}}) {
    SCOPED_TRACE(testing::Message() << "view " << kind << " at " << x << ", " << y);
    const auto view = make(kind);
    view->setData(combined);
    const Transformer& t = *view->getTransformer(AxisDependency::left);
    const Point touched = kind == turned ? t.pixelForValues(y, x) : t.pixelForValues(x, y);
    view->highlightValue(view->getHighlightByTouchPoint(touched));
    ASSERT_EQ(view->highlighted().size(), 1u);
    const Highlight& h = *view->lastHighlighted();
    EXPECT_EQ((std::tuple(h.dataIndex(), h.dataSetIndex(), h.stackIndex())), std::tuple(dataIndex, 0, stack));
    EXPECT_EQ(combined->entryForHighlight(h)->x(), expectedX);
  }
  for (const Kind kind : {line, bar, turned}) {
    const auto view = make(kind);
    view->setData(combined);
    for (const auto& [set, x, expectedX] : {std::tuple{0, 4.4, 3.0}, {1, 5.4, 5.0}, {2, 4.96, 5.0}, {2, 4.94, 4.9}}) {
      SCOPED_TRACE(testing::Message() << "view " << kind << ", set " << set << " at " << x);
      view->highlightValue(x, set);
      ASSERT_EQ(view->highlighted().size(), 1u);
      const Highlight& h = *view->lastHighlighted();
      EXPECT_EQ((std::tuple(h.dataIndex(), h.dataSetIndex(), h.x())), std::tuple(set, 0, expectedX));
      EXPECT_EQ(combined->getDataSetByHighlight(h), combined->dataSets()[static_cast<size_t>(set)]);
      EXPECT_EQ(combined->entryForHighlight(h)->x(), expectedX);
    }
    view->highlightValue(5, 3);
    EXPECT_TRUE(view->highlighted().empty() && !view->lastHighlighted());
  }
}

// Bar views (upright and turned, 400 × 300) over combined data: the line
// sub-data first (data index 0), then the bars (1). The usual chart is bars
// y = 1 + i under a target line y = 2 + i, x 0..9. A touch is given by a
// value and a distance in points toward the value axis's base (down, or
// left on the turned view).
struct BarsUnderALine {
  explicit BarsUnderALine(bool turned, std::vector<double> barValues = ramp(1), std::vector<double> lineValues = ramp(2))
      : turned(turned),
        view(turned ? HorizontalBarChartView::create(Rect(0, 0, 400, 300))
                    : BarChartView::create(Rect(0, 0, 400, 300))),
        bars(setOf<BarChartDataSet, BarChartDataEntry>(barValues)),
        line(setOf<LineChartDataSet, ChartDataEntry>(lineValues)) {
    data->setBarData(std::make_shared<BarChartData>(bars));
    data->setLineData(std::make_shared<LineChartData>(line));
    view->setData(data);
  }
  // from, from + 1, ..., from + 9.
  static std::vector<double> ramp(double from) {
    std::vector<double> values;
    for (int i = 0; i < 10; ++i) values.push_back(from + i);
    return values;
  }
  // A set of entries at x 0, 1, ...
  template <class Set, class Entry>
  static std::shared_ptr<Set> setOf(const std::vector<double>& values) {
    std::vector<EntryPtr> entries;
    for (const double y : values) entries.push_back(std::make_shared<Entry>(entries.size(), y));
    return std::make_shared<Set>(entries, "");
  }
  Point at(double x, double y, double towardBase = 0, AxisDependency axis = AxisDependency::left) const {
    const Point p = turned ? view->getTransformer(axis)->pixelForValues(y, x)
                           : view->getTransformer(axis)->pixelForValues(x, y);
    return turned ? Point{p.x - towardBase, p.y} : Point{p.x, p.y + towardBase};
  }
  // After an edit in place: the sets' and the data's extremes, then the view.
  void changed() const {
    for (const auto& part : data->allData()) {
      for (const auto& set : part->dataSets()) set->notifyDataSetChanged();
      part->notifyDataChanged();
    }
    data->notifyDataChanged();
    view->notifyDataSetChanged();
  }

  bool turned;
  std::shared_ptr<BarChartView> view;
  std::shared_ptr<BarChartDataSet> bars;
  std::shared_ptr<LineChartDataSet> line;
  std::shared_ptr<CombinedChartData> data = std::make_shared<CombinedChartData>();
};

// Every pixel of every drawn bar of the usual chart (its rectangle as the
// renderer's rectValueToPixel places it, within the content), tapped at
// the default reach, names that bar, but within 22 points of the line's
// point over it, which it then names.
TEST(Highlighters, EveryPixelOfADrawnBarNamesItButNearAPoint) {
  for (const bool turned : {false, true}) {
    SCOPED_TRACE(turned ? "horizontal bars" : "bars");
    const BarsUnderALine chart(turned);
    const Transformer& t = *chart.view->getTransformer(AxisDependency::left);
    const ViewPortHandler& port = *chart.view->viewPortHandler();
    const Rect content = port.contentRect();
    // The centre of each pixel that lies on the drawn bar.
    const auto first = [](double from) { return std::ceil(from - 0.5) + 0.5; };
    int64_t tapped = 0;
    for (int i = 0; i < 10; ++i) {
      Rect bar = turned ? Rect(0, i - 0.425, 1 + i, 0.85) : Rect(i - 0.425, 0, 0.85, 1 + i);
      turned ? t.rectValueToPixelHorizontal(bar) : t.rectValueToPixel(bar);
      const Point point = chart.at(i, 2 + i);
      int64_t wrong = 0;
      for (double y = first(std::max(bar.minY(), content.minY())); y <= std::min(bar.maxY(), content.maxY()); ++y) {
        for (double x = first(std::max(bar.minX(), content.minX())); x <= std::min(bar.maxX(), content.maxX()); ++x) {
          ++tapped;
          const auto h = chart.view->getHighlightByTouchPoint(Point{x, y});
          const bool nearPoint = std::hypot(point.x - x, point.y - y) <= 22 && port.isInBounds(point);
          if (!h || h->x() != i || h->dataIndex() != (nearPoint ? 0 : 1)) ++wrong;
        }
      }
      EXPECT_EQ(wrong, 0) << "bar " << i;
    }
    EXPECT_GT(tapped, 10000);
  }
}

// Taps on bar views of combined data: on a drawn bar a point wins within
// 22 points (or a smaller reach), above a short bar within the reach; a
// point beyond the content is never named; stacked, negative and grouped
// bars, a zoomed view, ties and data changed in place. A stack's value is
// found on the bar's own axis.
TEST(Highlighters, BarViewsShareATapBetweenBarsAndPoints) {
  using Chart = BarsUnderALine;
  using SetUp = std::function<void(Chart&)>;
  const auto reach = [](double distance) {
    return [distance](Chart& c) { c.view->setMaxHighlightDistance(distance); };
  };
  const auto then = [](SetUp a, SetUp b) { return [a, b](Chart& c) { a(c); b(c); }; };
  const SetUp pointOverBar = [](Chart& c) { c.line->entryForIndex(4)->setY(4.75); };
  const SetUp twoLines = [](Chart& c) {
    c.data->lineData()->addDataSet(Chart::setOf<LineChartDataSet, ChartDataEntry>({2, 3, 4, 5, 4.75}));
  };
  const SetUp stacked = [](Chart& c) {
    std::static_pointer_cast<BarChartDataEntry>(c.bars->entryForIndex(4))->setYValues(std::vector<double>{2, 2, 2});
  };
  const SetUp negative = [](Chart& c) {
    c.bars->entryForIndex(4)->setY(-4);
    c.line->entryForIndex(4)->setY(-3.75);
  };
  const SetUp grouped = [](Chart& c) {
    c.data->barData()->addDataSet(Chart::setOf<BarChartDataSet, BarChartDataEntry>(Chart::ramp(1)));
    c.data->barData()->setBarWidth(0.4);
    c.data->barData()->groupBars(-0.5, 0.1, 0.05);
  };
  // A second bar set at the same x, not grouped, every bar `y` high.
  const auto secondSet = [](double y) {
    return [y](Chart& c) {
      c.data->barData()->addDataSet(Chart::setOf<BarChartDataSet, BarChartDataEntry>(std::vector<double>(10, y)));
    };
  };
  // Bars y = 10 (or 1) under a line at 10.5, the value axis from 0 zoomed
  // 1.2× about its base: the line lies beyond the content's far edge.
  const auto zoomedPast = [](double bar) {
    return [bar](Chart& c) {
      for (int64_t i = 0; i < 10; ++i) {
        c.bars->entryForIndex(i)->setY(bar);
        c.line->entryForIndex(i)->setY(10.5);
      }
      c.view->leftAxis()->setAxisMinimum(0);
      c.changed();
      const Point base = c.at(4, 0);
      c.turned ? c.view->zoom(1.2, 1, base.x, base.y) : c.view->zoom(1, 1.2, base.x, base.y);
      ASSERT_FALSE(c.view->viewPortHandler()->isInBounds(c.at(4, 10.5)));
    };
  };
  constexpr double kEdge = kNaN;  // as y: 4 points inside the content's far edge
  struct Named {
    int64_t dataIndex, set, entry, stack = -1;
  };
  const Named bar4{1, 0, 4}, point4{0, 0, 4};
  const struct {
    const char* name;
    SetUp setUp;
    double x, y, towardBase;
    Named expected;
  } table[] = {
      {"3 pt inside bar 4's top, a unit below the point", {}, 4, 5, 3, bar4},
      {"above bar 4, 3 pt below the point", {}, 4, 6, 3, point4},
      {"above bar 4, reach NaN", reach(kNaN), 4, 6, 0, bar4},
      {"above bar 4, 3 units below the point, reach ∞", reach(kInf), 4, 9, 0, point4},
      {"a point over bar 4, on it", pointOverBar, 4, 4.75, 0, point4},
      {"... 21 pt below it", pointOverBar, 4, 4.75, 21, point4},
      {"... 23 pt below it", pointOverBar, 4, 4.75, 23, bar4},
      {"... 23 pt below it, reach ∞", then(pointOverBar, reach(kInf)), 4, 4.75, 23, bar4},
      {"... 9 pt below it, reach 10", then(pointOverBar, reach(10)), 4, 4.75, 9, point4},
      {"... 11 pt below it, reach 10", then(pointOverBar, reach(10)), 4, 4.75, 11, bar4},
      {"... on it, reach 0", then(pointOverBar, reach(0)), 4, 4.75, 0, point4},
      {"... 1 pt below it, reach 0", then(pointOverBar, reach(0)), 4, 4.75, 1, bar4},
      {"... on it, reach NaN", then(pointOverBar, reach(kNaN)), 4, 4.75, 0, bar4},
      {"... two lines' points alike: the first", then(pointOverBar, twoLines), 4, 4.75, 2, point4},
      {"stack [2, 2, 2] under the point: the middle value", stacked, 4, 3, 0, Named{1, 0, 4, 1}},
      {"... half a unit below its top: the point", stacked, 4, 5.5, 0, point4},
      {"bar 4 at -4 over a point at -3.75", negative, 4, -2, 0, bar4},
      {"... on the point", negative, 4, -3.75, 0, point4},
      {"bar 4 grown to 10 in place, 2 units below the point", [](Chart& c) { c.bars->entryForIndex(4)->setY(10); },
       4, 8, 0, bar4},
      {"grouped: inside the second set's bar of group 4", grouped, 4.225, 2, 0, Named{1, 1, 4}},
      {"a second set at one x, over bar 4: on both, the second", secondSet(0.5), 4, 0.25, 0, Named{1, 1, 4}},
      {"... above both, reach 10: the first, whose end is nearer", then(secondSet(0.5), reach(10)), 4, 5.3, 0, bar4},
      {"a second set at one x hiding bar 4, above both, reach 10: the second", then(secondSet(8), reach(10)), 4,
       8.3, 0, Named{1, 1, 4}},
      {"... as high as bar 4, above both, reach 10: the second", then(secondSet(5), reach(10)), 4, 5.3, 0,
       Named{1, 1, 4}},
      {"zoomed: near the edge, on bar 4, the line beyond", zoomedPast(10), 4, kEdge, 0, bar4},
      {"zoomed: near the edge, above bar 4, the line beyond", zoomedPast(1), 4, kEdge, 0, bar4},
  };
  for (const bool turned : {false, true}) {
    for (const auto& row : table) {
      SCOPED_TRACE(testing::Message() << (turned ? "horizontal bars, " : "bars, ") << row.name);
      Chart chart(turned);
      if (row.setUp) row.setUp(chart);
      chart.changed();
      Point touch = chart.at(row.x, row.y, row.towardBase);
      if (std::isnan(row.y)) {
        const Rect content = chart.view->viewPortHandler()->contentRect();
        touch = chart.at(row.x, 0);
        (turned ? touch.x : touch.y) = turned ? content.maxX() - 4 : content.minY() + 4;
      }
      const auto h = chart.view->getHighlightByTouchPoint(touch);
      ASSERT_TRUE(h);
      const Named& e = row.expected;
      EXPECT_EQ((std::tuple(h->dataIndex(), h->dataSetIndex(), h->stackIndex())),
                std::tuple(e.dataIndex, e.set, e.stack));
      const auto part = chart.data->allData()[static_cast<size_t>(e.dataIndex)];
      EXPECT_EQ(chart.data->entryForHighlight(*h), part->getDataSetByIndex(e.set)->entryForIndex(e.entry));
    }
  }

  // Stacks {30, 40, 30} on the right axis (0..110), a line on the left
  // (9..11) out of a reach of 10: each segment tapped is named, found on the
  // right axis.
  for (const bool turned : {false, true}) {
    Chart chart(turned, {1, 1, 1}, {10, 10, 10});
    chart.view->setMaxHighlightDistance(10);
    chart.bars->setAxisDependency(AxisDependency::right);
    const auto stack = std::static_pointer_cast<BarChartDataEntry>(chart.bars->entryForIndex(1));
    stack->setYValues(std::vector<double>{30, 40, 30});
    chart.view->rightAxis()->setAxisMinimum(0);
    chart.view->rightAxis()->setAxisMaximum(110);
    chart.view->leftAxis()->setAxisMinimum(9);
    chart.view->leftAxis()->setAxisMaximum(11);
    chart.changed();
    for (const auto& [y, index] : {std::pair{15.0, 0}, {35.0, 1}, {85.0, 2}}) {
      const auto h = chart.view->getHighlightByTouchPoint(chart.at(1, y, 0, AxisDependency::right));
      ASSERT_TRUE(h);
      EXPECT_EQ((std::tuple(h->dataIndex(), h->stackIndex())), std::tuple(1, index)) << (turned ? "turned, " : "") << y;
    }
  }
}

// What a tap names, as "bar set S x X stack K", "point x X" (of the line or
// scatter sub-data) or "none".
std::string named(const std::shared_ptr<Highlight>& h) {
  if (!h) return "none";
  std::string text = h->dataIndex() == 1 ? "bar set " + std::to_string(h->dataSetIndex()) + " x " : "point x ";
  text += std::to_string(static_cast<int>(h->x()));
  return h->stackIndex() < 0 ? text : text + " stack " + std::to_string(h->stackIndex());
}

// The usual chart drawn by BarsRenderer, each bar set in colours of its own,
// then every pixel centre that some filled rectangle covers tapped. The
// rectangle filled last over a pixel is the bar (or stack value) seen
// there: the tap names it, or a point within 22 points of the tap. Every
// rectangle seen somewhere is named somewhere. Cases: a second bar set at
// the same x, not grouped, drawn over the first (shorter at even x, taller
// at odd x, hiding the first there); a bar 0.3 high and a stack's top value
// 0.3 high, each under its line point; a stack emptied in place, which is
// not drawn and which no tap names.
TEST(Highlighters, EveryBarSeenIsNamedWhereItIsSeen) {
  using Chart = BarsUnderALine;
  const Color palette[2][3] = {{Color::rgb(0.9, 0.1, 0.1), Color::rgb(0.9, 0.5, 0.1), Color::rgb(0.9, 0.9, 0.1)},
                               {Color::rgb(0.1, 0.2, 0.9), Color::rgb(0.1, 0.6, 0.9), Color::rgb(0.5, 0.2, 0.9)}};
  const auto stackAt = [](Chart& c, int64_t i, std::vector<double> values) {
    std::static_pointer_cast<BarChartDataEntry>(c.bars->entryForIndex(i))->setYValues(std::move(values));
  };
  const struct {
    const char* name;
    std::function<void(Chart&)> setUp;
    std::vector<int64_t> unnamed = {};  // entries of set 0 that no tap may name
  } table[] = {
      {"a second set at the same x over the first",
       [](Chart& c) {
         std::vector<double> values;
         for (int i = 0; i < 10; ++i) values.push_back(i % 2 ? 1.5 * (1 + i) : 0.5 * (1 + i));
         c.data->barData()->addDataSet(Chart::setOf<BarChartDataSet, BarChartDataEntry>(values));
       }},
      {"a bar 0.3 high and a stack's top value 0.3 high under their points",
       [&](Chart& c) {
         c.bars->entryForIndex(4)->setY(0.3);
         c.line->entryForIndex(4)->setY(0.45);
         stackAt(c, 6, {3, 0.3});
         c.line->entryForIndex(6)->setY(3.45);
       }},
      {"a stack emptied in place, a bar that is not a number",
       [&](Chart& c) {
         stackAt(c, 4, {2, 2, 2});
         stackAt(c, 4, std::vector<double>{});
         c.bars->entryForIndex(7)->setY(kNaN);
       },
       {4, 7}},
  };
  for (const bool turned : {false, true}) {
    for (const auto& row : table) {
      SCOPED_TRACE(testing::Message() << (turned ? "horizontal bars, " : "bars, ") << row.name);
      Chart chart(turned);
      row.setUp(chart);
      const auto sets = chart.data->barData()->dataSets();
      for (size_t s = 0; s < sets.size(); ++s) {
        std::dynamic_pointer_cast<BarChartDataSet>(sets[s])->setColors({std::begin(palette[s]), std::end(palette[s])});
      }
      chart.changed();
      BarsRenderer renderer(*chart.view, chart.view->viewPortHandler());
      platform::graphics::RecordingContext recording;
      renderer.drawData(recording);
      // Each rectangle filled and what it shows: the set (by its colours),
      // the entry (by its middle) and the stack value (by the colour).
      struct Fill {
        Rect rect;
        std::string shows;
        int64_t seen = 0, named = 0;
      };
      std::vector<Fill> fills;
      const Transformer& t = *chart.view->getTransformer(AxisDependency::left);
      for (const auto& op : recording.operations(platform::graphics::RecordingContext::Op::fillRect)) {
        const Point middle = t.valueForTouchPoint(Point{op.rect.midX(), op.rect.midY()});
        const auto x = static_cast<int64_t>(std::lround(turned ? middle.y : middle.x));
        for (size_t s = 0; s < sets.size(); ++s) {
          for (int64_t k = 0; k < 3; ++k) {
            if (op.state.fillColor != palette[s][k]) continue;
            const auto* entry = dynamic_cast<const BarChartDataEntry*>(sets[s]->entryForIndex(x).get());
            ASSERT_TRUE(entry);
            fills.push_back(Fill{op.rect, named(std::make_shared<Highlight>(x, 0, 0, 0, 1, int64_t(s),
                                                                            entry->isStacked() ? k : -1,
                                                                            AxisDependency::left))});
          }
        }
      }
      ASSERT_EQ(fills.size(), recording.operations(platform::graphics::RecordingContext::Op::fillRect).size());
      const Rect content = chart.view->viewPortHandler()->contentRect();
      // Strictly inside the rectangle grown by `slack` on each side.
      const auto inside = [](const Rect& r, Point p, double slack = 0) {
        return r.minX() - slack < p.x && p.x < r.maxX() + slack && r.minY() - slack < p.y && p.y < r.maxY() + slack;
      };
      int64_t wrong = 0, unnamedNamed = 0;
      for (double y = std::floor(content.minY()) + 0.5; y < content.maxY(); ++y) {
        for (double x = std::floor(content.minX()) + 0.5; x < content.maxX(); ++x) {
          const Point p{x, y};
          Fill* seen = nullptr;
          bool onAnEdge = false;
          for (Fill& f : fills) {
            if (inside(f.rect, p)) seen = &f;
            onAnEdge = onAnEdge || (!inside(f.rect, p) && inside(f.rect, p, 0.01));
          }
          const Point value = t.valueForTouchPoint(p);
          const auto column = static_cast<int64_t>(std::lround(turned ? value.y : value.x));
          const bool unnamed = std::find(row.unnamed.begin(), row.unnamed.end(), column) != row.unnamed.end();
          if ((!seen && !unnamed) || onAnEdge) continue;
          const auto h = chart.view->getHighlightByTouchPoint(p);
          if (!seen) {
            unnamedNamed += h && h->dataIndex() == 1 && h->x() == column;
            continue;
          }
          ++seen->seen;
          if (named(h) == seen->shows) {
            ++seen->named;
          } else if (!h || h->dataIndex() != 0 || std::hypot(h->xPx() - x, h->yPx() - y) > 22) {
            if (++wrong <= 3) ADD_FAILURE() << "at " << x << ", " << y << ": " << named(h) << " over " << seen->shows;
          }
        }
      }
      EXPECT_EQ(wrong, 0);
      EXPECT_EQ(unnamedNamed, 0);
      for (const Fill& f : fills) {
        EXPECT_TRUE(f.named > 0 || f.seen == 0) << f.shows << " seen at " << f.seen << " pixels";
      }
    }
  }
}

// Taps and calls that callers rely on, each row a one-line change away from
// failing: the nearest of a bar found by its column and a point outside the
// column; a touch beyond the content on no drawn bar, where the point within
// reach wins; a bar drawn over another at the same x; the column measured on
// the bar's own axis; each drawing step handed to every renderer in turn.
TEST(Highlighters, WhatCallersRelyOn) {
  using Chart = BarsUnderALine;
  const struct {
    const char* name;
    std::function<std::string(bool turned)> run;
    const char* expected;
  } table[] = {
      {"beside a stack's column, nearer it than the line",
       [](bool) {
         // The chart of CombinedCarriesTheSubDataIndex without its scatter
         // point: the line is sub-data 0, the bars 1.
         const auto chart = std::make_shared<CombinedChart>();
         std::vector<EntryPtr> bars;
         for (const double x : {2, 5, 8}) {
           bars.push_back(std::make_shared<BarChartDataEntry>(x, std::vector<double>{10, 20, 30}));
         }
         chart->combined->setBarData(std::make_shared<BarChartData>(std::make_shared<BarChartDataSet>(bars, "bars")));
         chart->combined->setLineData(std::make_shared<LineChartData>(lineSet([](double) { return 50; }, 1, 10)));
         return named(CombinedHighlighter(chart).getHighlight(40 * 7.5, 300 - 3 * 58));
       },
       "bar set 0 x 8 stack 2"},
      {"15 pt beyond the content's edge over a bar it cuts, the point 10 pt inside",
       [](bool turned) {
         Chart c(turned, std::vector<double>(10, 10));
         c.view->leftAxis()->setAxisMinimum(0);
         c.view->leftAxis()->setAxisMaximum(10);
         c.changed();
         const Point base = c.at(4, 0);
         turned ? c.view->zoom(1.5, 1, base.x, base.y) : c.view->zoom(1, 1.5, base.x, base.y);
         const auto content = [&] { return c.view->viewPortHandler()->contentRect(); };
         const Point value = c.view->getTransformer(AxisDependency::left)->valueForTouchPoint(
             turned ? Point{content().maxX() - 10, base.y} : Point{base.x, content().minY() + 10});
         c.line->entryForIndex(4)->setY(turned ? value.x : value.y);
         c.changed();
         const Point point = c.at(4, turned ? value.x : value.y);
         // (The layout may move the content by a fraction of a point.)
         if (std::fabs(turned ? content().maxX() - 10 - point.x : point.y - content().minY() - 10) > 0.5) {
           return std::string("the point moved");
         }
         return named(c.view->getHighlightByTouchPoint(turned ? Point{content().maxX() + 15, point.y}
                                                               : Point{point.x, content().minY() - 15}));
       },
       "point x 4"},
      {"on two bars at one x, not grouped: the second, drawn over the first",
       [](bool turned) {
         Chart c(turned, std::vector<double>(10, 2));
         c.data->barData()->addDataSet(Chart::setOf<BarChartDataSet, BarChartDataEntry>(std::vector<double>(10, 8)));
         c.view->leftAxis()->setAxisMinimum(0);
         c.changed();
         return named(c.view->getHighlightByTouchPoint(c.at(4, 1)));
       },
       "bar set 1 x 4"},
      {"3 pt beside a right-axis bar's column (bars 0.5 wide), level with 80, reach 1000",
       [](bool turned) {
         Chart c(turned, std::vector<double>(10, 50), std::vector<double>(10, 10));
         c.bars->setAxisDependency(AxisDependency::right);
         c.view->rightAxis()->setAxisMinimum(0);
         c.view->rightAxis()->setAxisMaximum(110);
         c.view->leftAxis()->setAxisMinimum(0);
         c.view->leftAxis()->setAxisMaximum(20);
         c.view->setMaxHighlightDistance(1000);
         c.data->barData()->setBarWidth(0.5);
         c.changed();
         const Point edge = c.at(4.25, 80, 0, AxisDependency::right);
         return named(c.view->getHighlightByTouchPoint(turned ? Point{edge.x, edge.y - 3} : Point{edge.x + 3, edge.y}));
       },
       "bar set 0 x 4"},
      {"a combined renderer's values and highlights, each renderer in turn",
       [](bool) {
         struct Logging : DataRenderer {
           Logging(std::string name, std::string& log)
               : DataRenderer(std::make_shared<ViewPortHandler>(10, 10)), name(std::move(name)), log(log) {}
           void drawValues(platform::graphics::DrawingContext&) override { log += name + ".values "; }
           void drawHighlighted(platform::graphics::DrawingContext&,
                                const std::vector<std::shared_ptr<Highlight>>&) override {
             log += name + ".highlighted ";
           }
           std::string name;
           std::string& log;
         };
         std::string log;
         CombinedRenderer combined(std::make_shared<ViewPortHandler>(10, 10),
                                   {std::make_shared<Logging>("a", log), std::make_shared<Logging>("b", log),
                                    std::make_shared<Logging>("c", log), std::make_shared<Logging>("d", log)});
         platform::graphics::RecordingContext recording;
         combined.drawValues(recording);
         combined.drawHighlighted(recording, {});
         return log;
       },
       "a.values b.values c.values d.values a.highlighted b.highlighted c.highlighted d.highlighted "},
  };
  for (const bool turned : {false, true}) {
    for (const auto& row : table) {
      EXPECT_EQ(row.run(turned), row.expected) << (turned ? "horizontal bars, " : "bars, ") << row.name;
    }
  }
}

// Highlighting from code: a value by x and set (none without such a set
// or x), a list (values that name no entry dropped), a clear; each marks
// the view for redrawing.
TEST(Highlighters, ViewsHighlightFromCode) {
  const auto view = LineChartView::create(Rect(0, 0, 600, 400));
  view->setData(std::make_shared<LineChartData>(lineSet([](double x) { return x; })));
  view->highlightValue(33, 0);
  ASSERT_EQ(view->highlighted().size(), 1u);
  const Highlight& h = *view->lastHighlighted();
  EXPECT_EQ((std::tuple(h.x(), h.dataSetIndex(), h.stackIndex())), std::tuple(33.0, int64_t{0}, int64_t{-1}));
  EXPECT_EQ(view->data()->entryForHighlight(h)->x(), 30);
  for (const auto& [x, set, stack] : {std::tuple{33.0, int64_t{1}, -1}, {kNaN, int64_t{0}, -1},
                                      {33.0, int64_t{-1}, -1}, {33.0, int64_t{0}, 2}}) {
    view->highlightValue(33, 0);
    view->highlightValue(x, set, stack);
    EXPECT_TRUE(view->highlighted().empty() && !view->lastHighlighted()) << x << " in set " << set;
  }
  const auto kept = std::make_shared<Highlight>(40, 40, 0, -1);
  view->highlightValues({std::make_shared<Highlight>(20, 3, -1), nullptr, kept, std::make_shared<Highlight>(60, 0, -1)});
  EXPECT_EQ(view->highlighted().size(), 2u);
  EXPECT_EQ(view->lastHighlighted(), kept);
  view->clearNeedsDisplay();
  view->clearHighlights();
  EXPECT_TRUE(view->highlighted().empty());
  EXPECT_EQ(view->dirtyRects(), std::vector{view->bounds()});

  // New data, the same data again or none: nothing stays highlighted. An
  // edit in place keeps the highlights that still name an entry.
  const auto ramp = view->data();
  const auto small = std::make_shared<LineChartData>(lineSet([](double x) { return x; }, 1, 2));
  for (const auto& next : std::vector<std::shared_ptr<ChartData>>{small, small, nullptr}) {
    view->highlightValue(80, 0);
    ASSERT_TRUE(view->lastHighlighted());
    view->setData(next);
    EXPECT_TRUE(view->highlighted().empty() && !view->lastHighlighted());
  }
  view->setData(ramp);
  view->highlightValue(80, 0);
  ramp->addEntry(std::make_shared<ChartDataEntry>(110, 110), 0);
  view->notifyDataSetChanged();
  EXPECT_EQ(view->highlighted().size(), 1u);
  // A last highlighted that is dropped gives way to the first one kept.
  ramp->addDataSet(lineSet([](double x) { return 100 - x; }));
  view->highlightValues({std::make_shared<Highlight>(50, 1, -1), std::make_shared<Highlight>(50, 0, -1)});
  ramp->removeDataSetByIndex(1);
  view->notifyDataSetChanged();
  ASSERT_EQ(view->highlighted().size(), 1u);
  EXPECT_EQ(view->lastHighlighted(), view->highlighted()[0]);
  ramp->removeDataSetByIndex(0);
  view->notifyDataSetChanged();
  EXPECT_TRUE(view->highlighted().empty() && !view->lastHighlighted());
}

}  // namespace
