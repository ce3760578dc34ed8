#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Data/RadarChartData.h"
#include "Chart/Data/RadarChartDataSet.h"
#include "Chart/Renderers/XAxisRendererHorizontalBarChart.h"
#include "Chart/Utils/IndexAxisValueFormatter.h"
#include "Chart/Views/HorizontalBarChartView.h"
#include "Chart/Views/LineChartView.h"
#include "Chart/Views/RadarChartView.h"
#include "platform/graphics/FixedTextMetrics.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TextMetrics.h"
#include "support/DrawingExpectations.h"
#include "support/ChartDataExpectations.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::graphics::RecordingContext;
using Op = RecordingContext::Op;

namespace {

using Log = std::vector<std::string>;

// Overridable getters of shared objects hand out copies of the pointer, so an
// override that computes its result leaves nothing dangling; an axis hands
// out its label list read-only, even when it is not const.
static_assert(!std::is_reference_v<decltype(std::declval<const ChartViewBase&>().legend())> &&
              !std::is_reference_v<decltype(std::declval<const LineChartView&>().getTransformer(AxisDependency::left))> &&
              !std::is_reference_v<decltype(std::declval<const XAxisRenderer&>().axis())>);
static_assert(std::is_same_v<decltype(std::declval<XAxis&>().entries()), const std::vector<double>&>);

// An axis renderer that only logs its hooks, as "<name>.<hook>".
template <class Base>
class SpyAxisRenderer : public Base {
 public:
  template <class... Args>
  SpyAxisRenderer(std::string name, Log& log, Args&&... args)
      : Base(std::forward<Args>(args)...), name_(std::move(name)), log_(log) {}
  void computeAxis(double, double, bool inverted) override {
    log_.push_back(name_ + ".computeAxis" + (inverted ? " inverted" : ""));
  }
  void renderAxisLabels(DrawingContext&) override { log_.push_back(name_ + ".labels"); }
  void renderGridLines(DrawingContext&) override { log_.push_back(name_ + ".grid"); }
  void renderAxisLine(DrawingContext&) override { log_.push_back(name_ + ".axisLine"); }
  void renderLimitLines(DrawingContext&) override { log_.push_back(name_ + ".limitLines"); }

 private:
  std::string name_;
  Log& log_;
};

// Logs the data steps; notes whether the data was drawn clipped to the
// content.
class SpyDataRenderer : public DataRenderer {
 public:
  SpyDataRenderer(std::shared_ptr<ViewPortHandler> handler, Log& log) : DataRenderer(std::move(handler)), log_(log) {}
  void drawData(DrawingContext& context) override {
    const auto& clip = dynamic_cast<RecordingContext&>(context).state().clip;
    const bool clipped = clip.size() == 1 && clip[0].rect == viewPortHandler()->contentRect();
    log_.push_back(clipped ? "data (clipped)" : "data");
  }
  void drawValues(DrawingContext&) override { log_.push_back("values"); }
  void drawExtras(DrawingContext&) override { log_.push_back("extras"); }
  void drawHighlighted(DrawingContext&, const std::vector<std::shared_ptr<Highlight>>& h) override {
    log_.push_back("highlights " + std::to_string(h.size()));
  }

 private:
  Log& log_;
};

// Logs the legend's two steps.
class SpyLegendRenderer : public LegendRenderer {
 public:
  SpyLegendRenderer(const ChartViewBase& view, Log& log)
      : LegendRenderer(view.viewPortHandler(), view.legend()), log_(log) {}
  void computeLegend(const ChartData&) override { log_.push_back("computeLegend"); }
  void renderLegend(DrawingContext&) override { log_.push_back("legend"); }

 private:
  Log& log_;
};

class SpyMarker : public IChartMarker {
 public:
  explicit SpyMarker(Log& log) : log_(log) {}
  Point offset() const override { return {}; }
  Point offsetForDrawing(Point) override { return {}; }
  void refreshContent(const ChartDataEntry& entry, const Highlight&) override {
    log_.push_back("refresh " + std::to_string(static_cast<int>(entry.x())));
    if (onRefresh) onRefresh();
  }
  void draw(DrawingContext&, Point point) override {
    log_.push_back("draw at " + std::to_string(static_cast<int>(point.x)) + "," +
                   std::to_string(static_cast<int>(point.y)));
  }

  std::function<void()> onRefresh;

 private:
  Log& log_;
};

// One line set: x 0..100 in steps of 10, y = x, on the left axis.
std::shared_ptr<LineChartData> rampData() {
  std::vector<EntryPtr> entries;
  for (int x = 0; x <= 100; x += 10) entries.push_back(std::make_shared<ChartDataEntry>(x, x));
  return std::make_shared<LineChartData>(std::make_shared<LineChartDataSet>(entries, "ramp"));
}

class ChartViews : public testing::Test {
 protected:
  const platform::graphics::ScopedTextMetrics fixed{nullptr};
  std::shared_ptr<LineChartView> shared = LineChartView::create(Rect(0, 0, 600, 400));
  LineChartView& view = *shared;
};

// The axis and data hooks in the order of a draw, for the grid and the limit
// lines behind and in front of the data and for a disabled axis.
TEST_F(ChartViews, DrawCallsTheHooksInOrder) {
  const Log start = {"left.computeAxis", "right.computeAxis", "x.computeAxis",
                     "x.axisLine",       "left.axisLine",     "right.axisLine"};
  const Log labelsOn = {"x.labels", "left.labels", "right.labels", "values", "legend"};
  const auto join = [](std::initializer_list<Log> parts) {
    Log all;
    for (const Log& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  const struct {
    const char* name;
    std::function<void(LineChartView&)> setUp;
    Log expected;
  } table[] = {
      {"grid behind, limit lines in front",
       [](LineChartView&) {},
       join({start, {"x.grid", "left.grid", "right.grid", "data (clipped)", "extras", "x.limitLines",
                     "left.limitLines", "right.limitLines"}, labelsOn})},
      {"grid in front, left limit lines behind, highlights",
       [](LineChartView& v) {
         v.xAxis()->setDrawGridLinesBehindDataEnabled(false);
         v.leftAxis()->setDrawLimitLinesBehindDataEnabled(true);
         v.setHighlighted({std::make_shared<Highlight>(50, 50, 0, 0)});
       },
       join({start, {"left.limitLines", "data (clipped)", "x.grid", "left.grid", "right.grid", "highlights 1",
                     "extras", "x.limitLines", "right.limitLines"}, labelsOn})},
      {"right axis disabled, left inverted, highlights",
       [](LineChartView& v) {
         v.rightAxis()->setEnabled(false);
         v.leftAxis()->setInverted(true);
         v.setHighlighted({std::make_shared<Highlight>(50, 50, 0, 0)});
       },
       join({{"left.computeAxis inverted", "x.computeAxis", "x.axisLine", "left.axisLine", "right.axisLine", "x.grid",
              "left.grid", "right.grid", "data (clipped)", "highlights 1", "extras", "x.limitLines",
              "left.limitLines"}, labelsOn})},
      {"x axis disabled",
       [](LineChartView& v) { v.xAxis()->setEnabled(false); },
       join({{"left.computeAxis", "right.computeAxis", "x.axisLine", "left.axisLine", "right.axisLine", "x.grid",
              "left.grid", "right.grid", "data (clipped)", "extras", "left.limitLines", "right.limitLines"},
             labelsOn})},
  };
  for (const auto& row : table) {
    const auto vShared = LineChartView::create(Rect(0, 0, 600, 400));
    LineChartView& v = *vShared;
    v.setData(rampData());
    row.setUp(v);
    Log log;
    const auto& handler = v.viewPortHandler();
    v.setLeftYAxisRenderer(std::make_shared<SpyAxisRenderer<YAxisRenderer>>(
        "left", log, handler, v.leftAxis(), v.getTransformer(AxisDependency::left)));
    v.setRightYAxisRenderer(std::make_shared<SpyAxisRenderer<YAxisRenderer>>(
        "right", log, handler, v.rightAxis(), v.getTransformer(AxisDependency::right)));
    v.setXAxisRenderer(std::make_shared<SpyAxisRenderer<XAxisRenderer>>(
        "x", log, handler, v.xAxis(), v.getTransformer(AxisDependency::left)));
    v.setRenderer(std::make_shared<SpyDataRenderer>(v.viewPortHandler(), log));
    v.setLegendRenderer(std::make_shared<SpyLegendRenderer>(v, log));
    RecordingContext context;
    v.draw(context);
    EXPECT_EQ(log, row.expected) << row.name;
    testsupport::expectFreshEnd(context, row.name);
  }

  // Without data, or without a data renderer, nothing is drawn.
  Log log;
  const auto emptyShared = LineChartView::create(Rect(0, 0, 600, 400));
  LineChartView& empty = *emptyShared;
  empty.setRenderer(std::make_shared<SpyDataRenderer>(empty.viewPortHandler(), log));
  RecordingContext context;
  empty.draw(context);
  view.setData(rampData());
  view.setRenderer(nullptr);
  view.draw(context);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(context.operations().empty());
}

// The view's formatter takes the decimals of the data's y range and goes to
// the sets that need one; a set's own formatter stays.
TEST_F(ChartViews, DataDecimalsAndFormatterHandOut) {
  for (const auto& [ys, decimals] : {std::pair{std::vector<double>{0.5}, 3}, {std::vector<double>{0, 100}, 0},
                                      {std::vector<double>{-30}, 1}, {std::vector<double>{100, 101}, 2},
                                      {std::vector<double>{}, 0}}) {
    const auto vShared = LineChartView::create(Rect(0, 0, 600, 400));
    LineChartView& v = *vShared;
    std::vector<EntryPtr> entries;
    for (size_t i = 0; i < ys.size(); ++i) entries.push_back(std::make_shared<ChartDataEntry>(double(i), ys[i]));
    v.setData(std::make_shared<LineChartData>(std::make_shared<LineChartDataSet>(entries, "s")));
    EXPECT_EQ(v.defaultValueFormatter()->decimals(), decimals) << ys.size();
  }

  auto own = std::make_shared<DefaultValueFormatter>(5);
  auto needing = std::make_shared<LineChartDataSet>(std::vector<EntryPtr>{}, "needs");
  auto owning = std::make_shared<LineChartDataSet>(std::vector<EntryPtr>{}, "own");
  owning->setValueFormatter(own);
  view.setData(std::make_shared<LineChartData>(std::vector<DataSetPtr>{needing, owning}));
  EXPECT_EQ(needing->valueFormatter(), view.defaultValueFormatter());
  EXPECT_EQ(owning->valueFormatter(), own);
}

// The legend the view makes room for is the one its renderer draws.
TEST_F(ChartViews, LegendRendererBringsItsLegend) {
  const auto own = std::make_shared<Legend>();
  view.setLegendRenderer(std::make_shared<LegendRenderer>(view.viewPortHandler(), own));
  EXPECT_EQ(view.legend(), own);
  const testsupport::LogCapture log;
  view.setLegendRenderer(std::make_shared<LegendRenderer>(view.viewPortHandler(), nullptr));
  EXPECT_EQ(view.legend(), own);
  EXPECT_EQ(log.lines, Log{"ChartViewBase.setLegendRenderer(): refused a legend renderer without a legend"});
}

// The axes' ranges, the chart's y extremes and the transformers after data
// is set, and again after the view changes size.
TEST_F(ChartViews, RangesTransformersAndSizeChanges) {
  view.rightAxis()->setAxisMaximum(200);
  view.setData(rampData());
  EXPECT_EQ(view.xAxis()->axisMinimum(), 0);
  EXPECT_EQ(view.xAxis()->axisMaximum(), 100);
  EXPECT_EQ(view.leftAxis()->axisMinimum(), -10);
  EXPECT_EQ(view.leftAxis()->axisMaximum(), 110);
  EXPECT_EQ(view.chartYMax(), 200);
  EXPECT_EQ(view.chartYMin(), -20) << "the right axis takes the left side's data: 0, less a tenth of 0..200";
  EXPECT_EQ(view.lineData(), view.data());

  for (const Size size : {Size{600, 400}, Size{300, 250}}) {
    view.setFrame(Rect(10, 10, size.width, size.height));
    const ViewPortHandler& h = *view.viewPortHandler();
    EXPECT_EQ(h.chartWidth(), size.width);
    const auto& left = view.getTransformer(AxisDependency::left);
    testsupport::expectNear(left->pixelForValues(0, -10), Point{h.contentLeft(), h.contentBottom()}, "left min");
    testsupport::expectNear(left->pixelForValues(100, 110), Point{h.contentRight(), h.contentTop()}, "left max");
    const auto& right = view.getTransformer(AxisDependency::right);
    testsupport::expectNear(right->pixelForValues(100, 200), Point{h.contentRight(), h.contentTop()}, "right max");
    EXPECT_EQ(view.centerOffsets(), h.contentCenter());
  }

  // Inverted, the left axis's minimum lies on the content's top edge.
  view.leftAxis()->setInverted(true);
  view.notifyDataSetChanged();
  const ViewPortHandler& h = *view.viewPortHandler();
  testsupport::expectNear(view.getTransformer(AxisDependency::left)->pixelForValues(0, -10),
                          Point{h.contentLeft(), h.contentTop()}, "inverted left min");

  const auto emptyShared = LineChartView::create(Rect(0, 0, 600, 400));
  LineChartView& empty = *emptyShared;
  empty.setData(nullptr);
  EXPECT_EQ(empty.xAxis()->axisMinimum(), -1);
  EXPECT_EQ(empty.leftAxis()->axisMaximum(), 1);
  // A set on the right axis gives the right axis its range.
  auto right = std::make_shared<LineChartDataSet>(
      std::vector<EntryPtr>{std::make_shared<ChartDataEntry>(0, 1000), std::make_shared<ChartDataEntry>(1, 2000)}, "r");
  right->setAxisDependency(AxisDependency::right);
  empty.setData(std::make_shared<LineChartData>(std::vector<DataSetPtr>{rampData()->getDataSetByIndex(0), right}));
  EXPECT_EQ(std::pair(empty.rightAxis()->axisMinimum(), empty.rightAxis()->axisMaximum()), std::pair(900.0, 2100.0));
}

// Whatever the axes' settings, the offsets keep every label (and the
// description) inside the view.
TEST_F(ChartViews, OffsetsKeepEveryLabelInsideTheView) {
  const std::vector<std::string> names = {"paper white", "highlights", "quarter tones", "mid tones",
                                          "three quarter", "shadows", "maximum black"};
  const struct {
    const char* name;
    std::function<void(LineChartView&)> setUp;
  } table[] = {
      {"defaults", [](LineChartView&) {}},
      {"bottom labels, right inside",
       [](LineChartView& v) {
         v.xAxis()->setLabelPosition(XAxis::LabelPosition::bottom);
         v.rightAxis()->setLabelPosition(YAxis::LabelPosition::inside);
       }},
      {"large fonts, top and bottom",
       [](LineChartView& v) {
         v.xAxis()->setLabelPosition(XAxis::LabelPosition::topAndBottom);
         for (const auto& a : {v.leftAxis(), v.rightAxis()}) a->setLabelFont(platform::graphics::Font::systemFont(24));
         v.xAxis()->setLabelFont(platform::graphics::Font::systemFont(20));
       }},
      {"left axis off, y offsets",
       [](LineChartView& v) {
         v.leftAxis()->setEnabled(false);
         v.rightAxis()->setYOffset(-6);
         v.xAxis()->setLabelPosition(XAxis::LabelPosition::bottom);
       }},
      {"turned and wrapped names",
       [&](LineChartView& v) {
         v.xAxis()->setLabelPosition(XAxis::LabelPosition::bottom);
         v.xAxis()->setValueFormatter(std::make_shared<IndexAxisValueFormatter>(names));
         v.xAxis()->setGranularity(1);
         v.xAxis()->setLabelRotationAngle(45);
         v.xAxis()->setWordWrapEnabled(true);
       }},
      {"wrapped names, not turned",
       [&](LineChartView& v) {
         v.xAxis()->setLabelPosition(XAxis::LabelPosition::bottom);
         v.xAxis()->setValueFormatter(std::make_shared<IndexAxisValueFormatter>(names));
         v.xAxis()->setGranularity(1);
         v.xAxis()->setWordWrapEnabled(true);
       }},
  };
  for (const auto& row : table) {
    const auto vShared = LineChartView::create(Rect(0, 0, 600, 400));
    LineChartView& v = *vShared;
    // Labels on the content's edges, as the application's graphs have them.
    for (const auto& axis : {v.leftAxis(), v.rightAxis()}) {
      axis->setAxisMinimum(0);
      axis->setAxisMaximum(6000);
    }
    row.setUp(v);
    v.chartDescription()->setText("ink curve");
    // Seven names need x 0..6.
    std::vector<EntryPtr> entries;
    for (int x = 0; x <= 6; ++x) entries.push_back(std::make_shared<ChartDataEntry>(x, 1000.0 * x));
    v.setData(std::make_shared<LineChartData>(std::make_shared<LineChartDataSet>(entries, "s")));
    RecordingContext context;
    v.draw(context);
    testsupport::expectFreshEnd(context, row.name);
    int texts = 0;
    for (const auto& o : context.operations()) {
      Rect box;
      if (o.op == Op::drawText) {
        const TextAttributes attributes = o.attributes;
        box = Rect(o.points[0], platform::graphics::currentTextMetrics().size(o.text, attributes));
      } else if (o.op == Op::drawTextInRect) {
        box = o.rect;
      } else {
        continue;
      }
      ++texts;
      const Rect onView = o.state.transform.apply(box);
      constexpr double e = 1e-9;
      EXPECT_TRUE(onView.minX() >= -e && onView.minY() >= -e && onView.maxX() <= 600 + e && onView.maxY() <= 400 + e)
          << row.name << ": \"" << o.text << "\" at (" << onView.minX() << ", " << onView.minY() << ", "
          << onView.maxX() << ", " << onView.maxY() << ")";
    }
    EXPECT_GE(texts, 10) << row.name;
  }
}

// Room that is not a finite number counts as none and room beyond the view
// is cut to it before sides that want more than the view has share it: the
// content is finite and empty, exactly, never less (nor NaN, which maps
// every value to NaN), also in a view framed infinitely wide. A view of
// negative size keeps no room, and draws its data without a drop.
TEST_F(ChartViews, RoomThatIsNoNumberOrTooLargeLeavesTheContentEmpty) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    std::function<void(LineChartView&)> setUp;
    Size frame = {600, 400};
    double width = kNaN, height = kNaN, left = kNaN;  // the content's size and left offset, when given
    double bottom = kNaN;                             // and its bottom offset
  } table[] = {
      {"legend y offset NaN: the bottom as with no legend", [](auto& v) { v.legend()->setYOffset(kNaN); },
       {600, 400}, kNaN, kNaN, kNaN, 4.2},
      {"vertical legend at the left, x offset NaN: the left as with no legend",
       [](auto& v) {
         v.legend()->setOrientation(Legend::Orientation::vertical);
         v.legend()->setXOffset(kNaN);
       },
       {600, 400}, kNaN, kNaN, 28},
      {"x labels on top, x axis y offset NaN",
       [](auto& v) {
         v.xAxis()->setLabelPosition(XAxis::LabelPosition::top);
         v.xAxis()->setYOffset(kNaN);
       }},
      {"y axes' x offsets 1e308", [](auto& v) { v.leftAxis()->setXOffset(1e308); v.rightAxis()->setXOffset(1e308); }},
      {"legend at the right, x offset 1e308: 600 beside the y labels' 28",
       [](auto& v) {
         v.legend()->setOrientation(Legend::Orientation::vertical);
         v.legend()->setHorizontalAlignment(Legend::HorizontalAlignment::right);
         v.legend()->setXOffset(1e308);
       },
       {600, 400}, 0, kNaN, 28.0 * 600 / (28 + 600)},
      {"legend at the left, x offset 1e307: cut to 600 before the y labels' 28 share",
       [](auto& v) {
         v.legend()->setOrientation(Legend::Orientation::vertical);
         v.legend()->setXOffset(1e307);
       },
       {600, 400}, 0, kNaN, 600.0 * 600 / (600 + 28)},
      {"-10 wide, no labels, no legend",
       [](auto& v) {
         for (const auto& axis : {v.leftAxis(), v.rightAxis()}) axis->setEnabled(false);
         v.xAxis()->setEnabled(false);
         v.legend()->setEnabled(false);
       },
       {-10, 400}, 0, 400},
      {"60 × 27.75, shared by the labels' 16 above and 23.2 below", [](auto&) {}, {60, 27.75}, 4, 0},
      {"framed infinitely wide", [](auto& v) { v.setFrame(Rect(0, 0, std::numeric_limits<double>::infinity(), 400)); },
       {600, 400}, 0},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    const auto v = LineChartView::create(Rect(Point{}, row.frame));
    row.setUp(*v);
    v->setData(rampData());
    const ViewPortHandler& h = *v->viewPortHandler();
    for (const double offset : {h.offsetLeft(), h.offsetTop(), h.offsetRight(), h.offsetBottom()}) {
      EXPECT_EQ(offset, row.frame.width < 0 ? 0 : std::max(offset, 0.0));
    }
    EXPECT_EQ(h.contentWidth(), std::isnan(row.width) ? std::max(h.contentWidth(), 0.0) : row.width);
    EXPECT_EQ(h.contentHeight(), std::isnan(row.height) ? std::max(h.contentHeight(), 0.0) : row.height);
    if (!std::isnan(row.left)) {
      EXPECT_DOUBLE_EQ(h.offsetLeft(), row.left);
    }
    EXPECT_TRUE(std::isfinite(h.contentWidth()) && std::isfinite(h.contentHeight()));
    if (!std::isnan(row.bottom)) {
      EXPECT_NEAR(h.offsetBottom(), row.bottom, 1e-9);
    }
    const Point p = v->getTransformer(AxisDependency::left)->pixelForValues(50, 50);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    RecordingContext context;
    v->draw(context);
    EXPECT_FALSE(row.frame.width < 0 && context.hasDropped());
  }
}

TEST_F(ChartViews, DescriptionAndMarkers) {
  view.setData(rampData());
  const ViewPortHandler& h = *view.viewPortHandler();
  // 13-point text: 7.8 a character, font line height 16.9.
  const std::pair<std::function<void(Description&)>, std::optional<Point>> descriptions[] = {
      {[](Description& d) { d.setText("inkcurve"); }, Point{h.contentRight() - 5 - 8 * 7.8, h.contentBottom() - 5 - 16.9}},
      {[](Description& d) {
         d.setText("inkcurve");
         d.setTextAlign(TextAlignment::left);
         d.setPosition(Point{12, 34});
       },
       Point{12, 34}},
      {[](Description& d) { d.setText(""); }, std::nullopt},
      {[](Description& d) { d.setText("inkcurve"); d.setEnabled(false); }, std::nullopt},
  };
  for (const auto& [setUp, topLeft] : descriptions) {
    const auto vShared = LineChartView::create(Rect(0, 0, 600, 400));
    LineChartView& v = *vShared;
    v.setData(rampData());
    setUp(*v.chartDescription());
    RecordingContext context;
    v.drawDescription(context);
    const auto text = context.operations(Op::drawText);
    ASSERT_EQ(text.size(), topLeft ? 1u : 0u);
    if (topLeft) testsupport::expectNear(text[0].points[0], *topLeft, "description");
  }

  // Markers: only for highlights with an entry, drawn inside the content.
  Log log;
  view.setMarker(std::make_shared<SpyMarker>(log));
  const auto at = [](double x, double drawX, double drawY, int64_t set) {
    auto highlight = std::make_shared<Highlight>(x, x, set, -1);
    highlight->setDraw(drawX, drawY);
    return highlight;
  };
  view.setHighlighted({at(30, 200, 150, 0), at(40, 200, 150, 3), at(50, 5, 150, 0), at(70, 300, 100, 0)});
  RecordingContext context;
  view.renderMarkers(context);
  EXPECT_EQ(log, (Log{"refresh 30", "draw at 200,150", "refresh 70", "draw at 300,100"}));
  // Only the part of each set the animator's x phase shows: 3 of 11, the
  // entry at index 3 included.
  log.clear();
  view.animator()->setPhaseX(3.0 / 11);
  view.renderMarkers(context);
  EXPECT_EQ(log, (Log{"refresh 30", "draw at 200,150"}));
  // A marker that changes the highlights while it is drawn: the pass goes on
  // over the list it began with.
  log.clear();
  view.animator()->setPhaseX(1);
  const auto changing = std::make_shared<SpyMarker>(log);
  changing->onRefresh = [&] { view.highlightValues({std::make_shared<Highlight>(20, 0, -1)}); };
  view.setMarker(changing);
  view.renderMarkers(context);
  EXPECT_EQ(log, (Log{"refresh 30", "draw at 200,150", "refresh 70", "draw at 300,100"}));
  // Combined data: a highlight names its set within its sub-data (the bars,
  // data index 1), so the x phase shows the bar at index 0 of 3, not 2.
  const auto combined = std::make_shared<CombinedChartData>();
  combined->setLineData(rampData());
  std::vector<EntryPtr> bars;
  for (const double x : {2, 5, 8}) bars.push_back(std::make_shared<BarChartDataEntry>(x, x));
  combined->setBarData(std::make_shared<BarChartData>(std::make_shared<BarChartDataSet>(bars, "bars")));
  view.setData(combined);
  view.animator()->setPhaseX(0.5);
  view.setHighlighted({at(2, 200, 150, 0), at(8, 200, 150, 0)});
  for (const auto& h : view.highlighted()) h->setDataIndex(1);
  log.clear();
  view.renderMarkers(context);
  EXPECT_EQ(log, (Log{"refresh 2", "draw at 200,150"}));
  view.animator()->setPhaseX(1);
  log.clear();
  view.setDrawMarkers(false);
  view.renderMarkers(context);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(view.getMarkerPosition(*at(1, 7, 8, 0)), (Point{7, 8}));

  // A view given metrics of its own (text half again as wide, a font line
  // of twice the font's size) measures with them in drawDescription and
  // renderMarkers called alone, as in draw: the description stands where a
  // frame puts it, and a marker measures its text with them.
  struct Wide : platform::graphics::FixedTextMetrics {
    Size size(std::string_view text, const TextAttributes& attributes) const override {
      const Size fixed = FixedTextMetrics::size(text, attributes);
      return Size{1.5 * fixed.width, fixed.height};
    }
    double fontLineHeight(const platform::graphics::Font& font) const override { return 2 * font.pointSize; }
  };
  const std::shared_ptr<const platform::graphics::TextMetrics> wide = std::make_shared<Wide>();
  const auto own = LineChartView::create(Rect(0, 0, 600, 400));
  own->setTextMetrics(wide);
  own->setData(rampData());
  own->chartDescription()->setText("inkcurve");
  const auto descriptionAt = [&](const std::function<void(DrawingContext&)>& draw) {
    RecordingContext recorded;
    draw(recorded);
    for (const auto& op : recorded.operations(Op::drawText))
      if (op.text == "inkcurve") return op.points[0];
    return Point{-1, -1};
  };
  const ViewPortHandler& ownPort = *own->viewPortHandler();
  const Point alone = descriptionAt([&](DrawingContext& c) { own->drawDescription(c); });
  EXPECT_EQ(alone, (Point{ownPort.contentRight() - 5 - 1.5 * 8 * 7.8, ownPort.contentBottom() - 5 - 26}));
  EXPECT_EQ(alone, descriptionAt([&](DrawingContext& c) { own->draw(c); }));
  const auto measuring = std::make_shared<SpyMarker>(log);
  bool measuredWithOwn = false;
  measuring->onRefresh = [&] {
    measuredWithOwn = &platform::graphics::currentTextMetrics() == wide.get();
  };
  own->setMarker(measuring);
  own->setHighlighted({at(30, 200, 150, 0)});
  own->renderMarkers(context);
  EXPECT_TRUE(measuredWithOwn);
}

// Values 10..50 on five spokes.
std::shared_ptr<RadarChartData> pentagonData() {
  std::vector<EntryPtr> entries;
  for (const double v : {10, 20, 30, 40, 50}) entries.push_back(std::make_shared<RadarChartDataEntry>(v));
  return std::make_shared<RadarChartData>(std::make_shared<RadarChartDataSet>(entries, "web"));
}

// A data change computes the y values, then the x values; a draw computes
// the x values again and puts the x labels before the web and the data, the
// y limit lines behind the data or in front of it, then the y labels.
TEST_F(ChartViews, RadarViewDrivesItsRenderersInOrder) {
  const struct {
    const char* name;
    std::function<void(RadarChartView&)> setUp;
    Log expected;
  } table[] = {
      {"limit lines in front", [](RadarChartView&) {},
       {"x.computeAxis", "x.labels", "extras", "data", "y.limitLines", "y.labels", "values"}},
      {"limit lines behind, highlights",
       [](RadarChartView& v) {
         v.yAxis()->setDrawLimitLinesBehindDataEnabled(true);
         v.setHighlighted({std::make_shared<Highlight>(1, 20, 0, 0)});
       },
       {"x.computeAxis", "x.labels", "extras", "y.limitLines", "data", "highlights 1", "y.labels", "values"}},
      {"axes disabled",
       [](RadarChartView& v) {
         v.xAxis()->setEnabled(false);
         v.yAxis()->setEnabled(false);
       },
       {"x.labels", "extras", "data", "y.labels", "values"}},
  };
  for (const auto& row : table) {
    const auto v = RadarChartView::create(Rect(0, 0, 600, 400));
    Log log;
    v->setYAxisRenderer(std::make_shared<SpyAxisRenderer<YAxisRendererRadarChart>>(
        "y", log, v->viewPortHandler(), v->yAxis(), std::weak_ptr<RadarChartView>(v)));
    v->setXAxisRenderer(std::make_shared<SpyAxisRenderer<XAxisRendererRadarChart>>(
        "x", log, v->viewPortHandler(), v->xAxis(), std::weak_ptr<RadarChartView>(v)));
    v->setRenderer(std::make_shared<SpyDataRenderer>(v->viewPortHandler(), log));
    v->setData(pentagonData());
    EXPECT_EQ(log, (Log{"y.computeAxis", "x.computeAxis"})) << row.name;
    log.clear();
    row.setUp(*v);
    RecordingContext context;
    v->draw(context);
    EXPECT_EQ(log, row.expected) << row.name;
  }
}

// The radar geometry: no spoke and no scale that is not a number before
// there is data, the rotation kept on the circle, the web's range from the
// y axis's values (one step beyond the data).
TEST_F(ChartViews, RadarViewGeometry) {
  const auto v = RadarChartView::create(Rect(0, 0, 600, 400));
  EXPECT_EQ(v->sliceAngle(), std::numeric_limits<double>::infinity());
  EXPECT_EQ(v->factor(), 0);
  EXPECT_EQ(v->xAxisRenderer()->chart(), v);
  EXPECT_EQ(v->yAxisRenderer()->chart(), v);
  RecordingContext empty;
  v->draw(empty);
  EXPECT_TRUE(empty.operations().empty());

  EXPECT_EQ(v->rotationAngle(), 270);
  for (const auto& [set, kept] : {std::pair{-90.0, 270.0}, {725.0, 5.0}, {360.0, 0.0}, {-1e-20, 0.0},
                                  {std::numeric_limits<double>::quiet_NaN(), 0.0}, {1e300, std::fmod(1e300, 360.0)}}) {
    v->setRotationAngle(set);
    EXPECT_EQ(v->rotationAngle(), kept) << set;
  }
  v->setRotationAngle(270);

  v->yAxis()->setAxisMinimum(0);
  v->yAxis()->setDrawTopYLabelEntryEnabled(false);
  v->legend()->setEnabled(false);  // its room is the legend table's
  v->setData(pentagonData());
  EXPECT_EQ(v->sliceAngle(), 72);
  EXPECT_EQ(v->yAxis()->entries(), (std::vector<double>{0, 10, 20, 30, 40, 50, 60}));
  EXPECT_EQ(v->yRange(), 60);
  EXPECT_EQ(v->chartYMin(), 0);
  // The x labels ("0.0" … "4.0", 18 × 12) reach 18 beside the web, 18 above
  // and 12 below it; the axis's offsets (5 across, 4 down) lie beyond.
  EXPECT_EQ(v->viewPortHandler()->contentRect(), (Rect{23, 22, 554, 362}));
  EXPECT_DOUBLE_EQ(v->factor(), 181.0 / 60);
  // So every label (none turned) lies inside the view, off its edges by
  // those offsets, and clear of the others.
  RecordingContext frame;
  v->draw(frame);
  std::vector<Rect> boxes;
  for (const auto& o : frame.operations(Op::drawText)) {
    const Rect b(o.points[0], platform::graphics::currentTextMetrics().size(o.text, o.attributes));
    EXPECT_TRUE(b.minX() >= 4 - 1e-9 && b.minY() >= 4 - 1e-9 && b.maxX() <= 596 + 1e-9 && b.maxY() <= 396 + 1e-9)
        << o.text << " at " << b.minX() << ", " << b.minY();
    for (const Rect& a : boxes) {
      EXPECT_FALSE(a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY()) << o.text;
    }
    boxes.push_back(b);
  }
  EXPECT_EQ(boxes.size(), 11u);
  // With the labels off, the web keeps only the room of 10 on each side.
  v->xAxis()->setDrawLabelsEnabled(false);
  v->notifyDataSetChanged();
  EXPECT_EQ(v->viewPortHandler()->contentRect(), (Rect{10, 10, 580, 380}));
  v->xAxis()->setDrawLabelsEnabled(true);

  // Offsets of -1e308 beside or above the labels leave no room, never a web
  // of infinite size.
  for (const auto offset : {&XAxis::setXOffset, &XAxis::setYOffset}) {
    const auto far = RadarChartView::create(Rect(0, 0, 600, 400));
    (far->xAxis().get()->*offset)(-1e308);
    far->setData(pentagonData());
    const Rect web = far->viewPortHandler()->contentRect();
    EXPECT_TRUE(web.minX() >= 0 && web.minY() >= 0 && web.maxX() <= 600 && web.maxY() <= 400)
        << web.minX() << ", " << web.minY() << ", " << web.width() << " x " << web.height();
  }
  // A view smaller than the labels' room keeps an empty web, never one turned inside out.
  const auto small = RadarChartView::create(Rect(0, 0, 30, 20));
  small->setData(pentagonData());
  EXPECT_EQ(small->viewPortHandler()->contentRect().size, (Size{0, 0}));
  EXPECT_EQ(small->factor(), 0);
  // So does every kind, across or down: a web without labels, a short line
  // view, a small horizontal-bar view.
  const auto bare = RadarChartView::create(Rect(0, 0, 15, 15));
  bare->xAxis()->setDrawLabelsEnabled(false);
  const std::pair<std::shared_ptr<ChartViewBase>, std::shared_ptr<ChartData>> cramped[] = {
      {bare, pentagonData()},
      {LineChartView::create(Rect(0, 0, 600, 20)), rampData()},
      {HorizontalBarChartView::create(Rect(0, 0, 30, 20)), rampData()}};
  for (const auto& [kind, data] : cramped) {
    kind->setData(data);
    const Size size = kind->viewPortHandler()->contentRect().size;
    EXPECT_TRUE(size.width >= 0 && size.height >= 0 && std::min(size.width, size.height) == 0)
        << size.width << " x " << size.height << " in " << kind->viewPortHandler()->chartWidth() << " x "
        << kind->viewPortHandler()->chartHeight();
  }
}

// The horizontal-bar view maps the values across and the categories up
// through its turned transformers, and its x labels (whose renderer holds
// the view) stand right of the content.
TEST_F(ChartViews, HorizontalBarViewTurnsItsAxes) {
  const auto v = HorizontalBarChartView::create(Rect(0, 0, 600, 400));
  v->setData(rampData());
  const ViewPortHandler& h = *v->viewPortHandler();
  for (const AxisDependency side : {AxisDependency::left, AxisDependency::right}) {
    const auto& t = v->getTransformer(side);
    ASSERT_TRUE(std::dynamic_pointer_cast<TransformerHorizontalBarChart>(t));
    const YAxis& y = *v->getAxis(side);
    testsupport::expectNear(t->pixelForValues(y.axisMinimum(), 0), {h.contentLeft(), h.contentBottom()}, "min");
    testsupport::expectNear(t->pixelForValues(y.axisMaximum(), 100), {h.contentRight(), h.contentTop()}, "max");
  }
  RecordingContext context;
  v->draw(context);
  int right = 0;
  for (const auto& o : context.operations(Op::drawText)) right += o.points[0].x > h.contentRight();
  EXPECT_EQ(right, v->xAxis()->entryCount());
}

// Draws the view and checks each legend item (a form, or a label starting
// with "set ") lies inside the view (`width` × 400) and, when `clear`, off
// the content and off every other text. Returns the number of items.
size_t expectLegendInside(ChartViewBase& view, double width, bool clear) {
  RecordingContext context;
  view.draw(context);
  testsupport::expectFreshEnd(context);
  std::vector<Rect> legendBoxes;
  std::vector<Rect> texts;
  for (const auto& o : context.operations()) {
    if (o.op == Op::fillRect) legendBoxes.push_back(o.state.transform.apply(o.rect));
    if (o.op != Op::drawText) continue;
    const Rect box = o.state.transform.apply(
        Rect(o.points[0], platform::graphics::currentTextMetrics().size(o.text, o.attributes)));
    (o.text.starts_with("set ") ? legendBoxes : texts).push_back(box);
  }
  EXPECT_GE(texts.size(), 5u);
  const auto overlap = [](const Rect& a, const Rect& b) {
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
  };
  const Rect content = view.viewPortHandler()->contentRect();
  for (const Rect& box : legendBoxes) {
    SCOPED_TRACE(testing::Message() << "legend item at " << box.minX() << ", " << box.minY());
    EXPECT_TRUE(box.minX() >= 0 && box.minY() >= 0 && box.maxX() <= width && box.maxY() <= 400);
    if (!clear) continue;
    EXPECT_FALSE(overlap(box, content));
    for (const Rect& text : texts) EXPECT_FALSE(overlap(box, text)) << text.minX() << ", " << text.minY();
  }
  return legendBoxes.size();
}

// Wherever the legend stands, it lies inside the view, and when it takes
// room, that room is its needed size (at most maxSizePercent of the chart)
// plus its offset on its own side, outside the content and clear of the
// axis labels. Twelve sets make a horizontal legend two lines.
TEST_F(ChartViews, LegendTakesRoomOnItsSideInsideTheView) {
  using H = Legend::HorizontalAlignment;
  using V = Legend::VerticalAlignment;
  using O = Legend::Orientation;
  enum Side { none, left, top, right, bottom };
  const struct {
    const char* name;
    O orientation;
    H horizontal;
    V vertical;
    Side side;
    bool inside = false;
    double maxSize = 0.95;
  } table[] = {
      {"horizontal at the bottom", O::horizontal, H::left, V::bottom, bottom},
      {"horizontal at the top, right to left", O::horizontal, H::right, V::top, top},
      {"vertical on the right", O::vertical, H::right, V::center, right},
      {"vertical on the right, held to 5 %", O::vertical, H::right, V::center, right, false, 0.05},
      {"vertical on the left, from the top", O::vertical, H::left, V::top, left},
      {"vertical, centred across, at the bottom", O::vertical, H::center, V::bottom, bottom},
      {"horizontal, centred down: over the content", O::horizontal, H::center, V::center, none},
      {"drawn inside", O::vertical, H::right, V::top, none, true},
  };
  std::vector<DataSetPtr> sets;
  for (int i = 0; i < 12; ++i) {
    sets.push_back(std::make_shared<LineChartDataSet>(
        std::vector<EntryPtr>{std::make_shared<ChartDataEntry>(0, i), std::make_shared<ChartDataEntry>(100, i)},
        "set " + std::to_string(i)));
  }
  const auto offsets = [](const ViewPortHandler& h) {
    return std::vector<double>{0, h.offsetLeft(), h.offsetTop(), h.offsetRight(), h.offsetBottom()};
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    const auto shared = LineChartView::create(Rect(0, 0, 600, 400));
    LineChartView& v = *shared;
    v.xAxis()->setLabelPosition(row.side == top ? XAxis::LabelPosition::top : XAxis::LabelPosition::bottom);
    Legend& legend = *v.legend();
    legend.setEnabled(false);
    v.setData(std::make_shared<LineChartData>(sets));
    const auto without = offsets(*v.viewPortHandler());
    legend.setEnabled(true);
    legend.setOrientation(row.orientation);
    legend.setHorizontalAlignment(row.horizontal);
    legend.setVerticalAlignment(row.vertical);
    legend.setDirection(row.side == top ? Legend::Direction::rightToLeft : Legend::Direction::leftToRight);
    legend.setDrawInside(row.inside);
    legend.setMaxSizePercent(row.maxSize);
    v.setData(std::make_shared<LineChartData>(sets));
    ASSERT_EQ(legend.entries().size(), 12u);
    auto expected = without;
    const double across = std::min(legend.neededWidth(), 600 * row.maxSize);
    if (row.side == left || row.side == right) expected[row.side] += across + legend.xOffset();
    if (row.side == top || row.side == bottom) expected[row.side] += legend.neededHeight() + legend.yOffset();
    EXPECT_EQ(offsets(*v.viewPortHandler()), expected);
    EXPECT_TRUE(row.orientation == O::vertical || legend.calculatedLineSizes().size() == 2u) << "wrapped";

    // At its size and narrower, the lines broken again at the new width.
    for (const double width : {600.0, 300.0}) {
      SCOPED_TRACE(width);
      v.setFrame(Rect(0, 0, width, 400));
      EXPECT_EQ(expectLegendInside(v, width, row.side != none && row.maxSize == 0.95), 24u);
    }
  }
}

// The radar and horizontal-bar views at seven legend placements (twelve
// sets, so a horizontal legend takes two lines; the horizontal bar's last
// a stack of three forms): the legend lies inside the
// view, clear of the content and of every other text; without data it
// keeps no entries and the content is as large as with no legend at all.
TEST_F(ChartViews, RadarAndHorizontalBarLegendsStayInsideAndClear) {
  using H = Legend::HorizontalAlignment;
  using V = Legend::VerticalAlignment;
  using O = Legend::Orientation;
  using D = Legend::Direction;
  const struct {
    O orientation;
    H horizontal;
    V vertical;
    D direction;
  } placements[] = {
      {O::horizontal, H::left, V::top, D::leftToRight},     {O::horizontal, H::center, V::top, D::leftToRight},
      {O::horizontal, H::right, V::top, D::rightToLeft},    {O::horizontal, H::left, V::bottom, D::leftToRight},
      {O::horizontal, H::center, V::bottom, D::rightToLeft}, {O::horizontal, H::right, V::bottom, D::leftToRight},
      {O::vertical, H::right, V::center, D::rightToLeft},
  };
  const auto radarData = [] {
    std::vector<DataSetPtr> sets;
    for (int i = 0; i < 12; ++i) {
      std::vector<EntryPtr> entries;
      for (const double v : {10, 20, 30, 40, 50}) entries.push_back(std::make_shared<RadarChartDataEntry>(v + i));
      sets.push_back(std::make_shared<RadarChartDataSet>(entries, "set " + std::to_string(i)));
    }
    return std::make_shared<RadarChartData>(sets);
  };
  const auto barData = [] {
    std::vector<DataSetPtr> sets;
    for (int i = 0; i < 11; ++i) {
      sets.push_back(std::make_shared<BarChartDataSet>(
          std::vector<EntryPtr>{std::make_shared<BarChartDataEntry>(i, 10.0 * i)}, "set " + std::to_string(i)));
    }
    // A stack of three forms under one label, the last entry.
    auto stacked = std::make_shared<BarChartDataSet>(
        std::vector<EntryPtr>{std::make_shared<BarChartDataEntry>(11, std::vector<double>{10, 20, 30})}, "set 11");
    stacked->setColors({Color::rgb(1, 0, 0), Color::rgb(0, 1, 0), Color::rgb(0, 0, 1)});
    sets.push_back(stacked);
    return std::make_shared<BarChartData>(sets);
  };
  for (const bool radar : {true, false}) {
    for (const auto& p : placements) {
      SCOPED_TRACE(testing::Message() << (radar ? "radar" : "horizontal bar") << ", orientation "
                                      << int(p.orientation) << ", across " << int(p.horizontal) << ", down "
                                      << int(p.vertical));
      const std::shared_ptr<ChartViewBase> view =
          radar ? std::shared_ptr<ChartViewBase>(RadarChartView::create(Rect(0, 0, 600, 400)))
                : HorizontalBarChartView::create(Rect(0, 0, 600, 400));
      Legend& legend = *view->legend();
      legend.setOrientation(p.orientation);
      legend.setHorizontalAlignment(p.horizontal);
      legend.setVerticalAlignment(p.vertical);
      legend.setDirection(p.direction);
      view->chartDescription()->setText("description");
      view->setData(radar ? std::shared_ptr<ChartData>(radarData()) : barData());
      ASSERT_EQ(legend.entries().size(), radar ? 12u : 15u);
      EXPECT_EQ(expectLegendInside(*view, 600, true), radar ? 24u : 26u);

      // Without data: no entries, and no room for them.
      view->setData(nullptr);
      EXPECT_TRUE(legend.entries().empty());
      const Rect emptied = view->viewPortHandler()->contentRect();
      legend.setEnabled(false);
      view->notifyDataSetChanged();
      EXPECT_EQ(emptied, view->viewPortHandler()->contentRect());
    }
  }
}

// An entry added through its data set reaches the axes once the view is
// told: the view has its data recompute its extremes first.
TEST_F(ChartViews, DataChangesReachTheAxes) {
  const auto data = rampData();
  view.setData(data);
  EXPECT_EQ(view.leftAxis()->axisMaximum(), 110);
  data->getDataSetByIndex(0)->addEntry(std::make_shared<ChartDataEntry>(110, 150));
  view.notifyDataSetChanged();
  EXPECT_EQ(view.leftAxis()->axisMaximum(), 165);
  EXPECT_EQ(view.xAxis()->axisMaximum(), 110);

  const auto radar = RadarChartView::create(Rect(0, 0, 600, 400));
  const auto web = pentagonData();
  radar->setData(web);
  const double before = radar->yAxis()->axisMaximum();
  web->getDataSetByIndex(0)->addEntry(std::make_shared<RadarChartDataEntry>(500));
  radar->notifyDataSetChanged();
  EXPECT_GT(radar->yAxis()->axisMaximum(), before);
  EXPECT_EQ(radar->sliceAngle(), 60);
  // A highlight whose value went goes with it.
  radar->highlightValue(0, 0);
  ASSERT_EQ(radar->highlighted().size(), 1u);
  web->removeDataSetByIndex(0);
  radar->notifyDataSetChanged();
  EXPECT_TRUE(radar->highlighted().empty() && !radar->lastHighlighted());
}

// A view kind that does not lay itself out.
class UnfinishedView : public ChartViewBase {
 public:
  explicit UnfinishedView(const Rect& frame) : ChartViewBase(frame) {}
  double chartYMax() const override { return 0; }
  double chartYMin() const override { return 0; }
};

TEST(ChartViewsDeathTest, TheBaseCannotLayOutData) {
  UnfinishedView view(Rect(0, 0, 10, 10));
  EXPECT_DEATH(view.setData(rampData()), "notifyDataSetChanged\\(\\) cannot be called on ChartViewBase");
}

}  // namespace

// Every kind of view made by its create() is set up whole: its animator
// reports to the view, and the axis renderers that hold the view weakly are
// there. A subclass that constructs itself has an animator too, and moves.
TEST(ChartViewKinds, CreateSetsUpTheAnimatorAndTheRenderers) {
  using namespace chart;
  struct OwnLineChart : LineChartView {
    explicit OwnLineChart(const Rect& frame) : LineChartView(frame) {}
  };
  const Rect frame(0, 0, 300, 200);
  const std::vector<std::shared_ptr<ChartViewBase>> views = {
      LineChartView::create(frame), BarChartView::create(frame), HorizontalBarChartView::create(frame),
      RadarChartView::create(frame), std::make_shared<OwnLineChart>(frame)};
  OwnLineChart unowned(frame);
  unowned.animator()->animate(1, 1, ChartEasingOption::linear);
  // Owned by no shared pointer, it has no weak self for a job to hold: an
  // animated move goes at once.
  unowned.setData(rampData());
  unowned.moveViewToAnimated(50, 50, AxisDependency::left, 1);
  EXPECT_FALSE(unowned.viewPortJob());
  for (const auto& view : views) {
    ASSERT_TRUE(view->animator());
    EXPECT_EQ(view->animator()->delegate().lock().get(), static_cast<ChartAnimatorDelegate*>(view.get()));
  }
  EXPECT_TRUE(std::dynamic_pointer_cast<XAxisRendererHorizontalBarChart>(
      std::static_pointer_cast<HorizontalBarChartView>(views[2])->xAxisRenderer()));
  const auto radar = std::static_pointer_cast<RadarChartView>(views[3]);
  EXPECT_EQ(radar->xAxisRenderer()->chart(), radar);
  EXPECT_EQ(radar->yAxisRenderer()->chart(), radar);
}
