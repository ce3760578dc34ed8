#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <numbers>
#include <type_traits>
#include <string>
#include <vector>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Data/RadarChartData.h"
#include "Chart/Data/RadarChartDataSet.h"
#include "Chart/Renderers/XAxisRenderer.h"
#include "Chart/Renderers/XAxisRendererHorizontalBarChart.h"
#include "Chart/Renderers/XAxisRendererRadarChart.h"
#include "Chart/Renderers/YAxisRenderer.h"
#include "Chart/Renderers/YAxisRendererHorizontalBarChart.h"
#include "Chart/Renderers/YAxisRendererRadarChart.h"
#include "Chart/Utils/DefaultAxisValueFormatter.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TextMetrics.h"
#include "support/DrawingExpectations.h"
#include "support/ChartDataExpectations.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::LineDash;
using platform::graphics::RecordingContext;
using Op = RecordingContext::Op;
using Position = ChartLimitLine::LabelPosition;
using Kind = platform::graphics::PathElement::Kind;

namespace {

// A 600 × 400 chart whose content is (40, 20, 520, 340), values 0..100 on
// both axes; text measured by the fixed metrics (a 10-point character is 6
// wide, a line 12 high, the font's line height 13; at 13 points 7.8, 15.6 and
// 16.9).
class AxisDrawing : public testing::Test {
 protected:
  void SetUp() override {
    handler->restrainViewPort(40, 20, 40, 40);
    prepare(100);
  }
  void prepare(double xRange) {
    transformer->prepareMatrixValuePx(0, xRange, 100, 0);
    transformer->prepareMatrixOffset(false);
  }
  static double row(double value) { return 360 - 3.4 * value; }
  static double column(double value) { return 40 + 5.2 * value; }
  static std::vector<double> tens() { return {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}; }
  // Draws through the hook into a fresh recording, which must end as it
  // began.
  const RecordingContext& draw(const std::function<void(RecordingContext&)>& hook) {
    ctx = RecordingContext{};
    hook(ctx);
    testsupport::expectFreshEnd(ctx);
    return ctx;
  }

  const platform::graphics::ScopedTextMetrics fixed{nullptr};
  std::shared_ptr<ViewPortHandler> handler = std::make_shared<ViewPortHandler>(600, 400);
  std::shared_ptr<Transformer> transformer = std::make_shared<Transformer>(handler);
  RecordingContext ctx;
};

using YAxisDrawing = AxisDrawing;
using XAxisDrawing = AxisDrawing;
// The same numbers turned: a value v lies on column(v), a category c on
// row(c).
using HorizontalBarAxisDrawing = AxisDrawing;

using RadarAxisDrawing = AxisDrawing;

// A radar chart's geometry as fixed numbers: five spokes 72° apart from the
// top, 2 pixels per value unit, the web's centre at (300, 200).
class FixedRadar : public RadarChartDataProvider {
 public:
  FixedRadar() {
    std::vector<EntryPtr> entries;
    for (const double v : {10, 20, 30, 40, 50}) entries.push_back(std::make_shared<RadarChartDataEntry>(v));
    chartData = std::make_shared<RadarChartData>(std::make_shared<RadarChartDataSet>(entries, "web"));
  }
  std::shared_ptr<ChartData> chartData;
  double yMin = 0;
  std::shared_ptr<ChartData> data() const override { return chartData; }
  double chartYMax() const override { return yMin + yRange(); }
  double chartYMin() const override { return yMin; }
  double sliceAngle() const override { return 72; }
  double factor() const override { return 2; }
  double yRange() const override { return 100; }
  double rotationAngle() const override { return 270; }
  Point centerOffsets() const override { return {300, 200}; }
};

// A chart read only for its data.
class ChartWithData : public ChartDataProvider {
 public:
  std::shared_ptr<ChartData> chartData = std::make_shared<ChartData>();
  std::shared_ptr<ChartData> data() const override { return chartData; }
  double chartYMax() const override { return 0; }
  double chartYMin() const override { return 0; }
};

// A chart held weakly cannot be handed over as a temporary, neither where the
// renderer is made nor later; an owned one can.
template <class R, class Chart, class Axis>
concept TakesATemporaryChart =
    std::is_constructible_v<R, std::shared_ptr<ViewPortHandler>, std::shared_ptr<Axis>, std::shared_ptr<Chart>> ||
    std::is_constructible_v<R, std::shared_ptr<ViewPortHandler>, std::shared_ptr<Axis>, std::shared_ptr<Transformer>,
                            std::shared_ptr<Chart>> ||
    requires(R r) { r.setChart(std::make_shared<Chart>()); };
template <class R, class Chart>
concept TakesAnOwnedChart = requires(R r, const std::shared_ptr<Chart>& c) { r.setChart(c); };
static_assert(!TakesATemporaryChart<XAxisRendererHorizontalBarChart, ChartWithData, XAxis> &&
              !TakesATemporaryChart<XAxisRendererRadarChart, FixedRadar, XAxis> &&
              !TakesATemporaryChart<YAxisRendererRadarChart, FixedRadar, YAxis>);
static_assert(TakesAnOwnedChart<XAxisRendererHorizontalBarChart, ChartWithData> &&
              TakesAnOwnedChart<XAxisRendererRadarChart, FixedRadar> &&
              TakesAnOwnedChart<YAxisRendererRadarChart, FixedRadar>);
static_assert(std::is_constructible_v<XAxisRendererHorizontalBarChart, std::shared_ptr<ViewPortHandler>,
                                      std::shared_ptr<XAxis>, std::shared_ptr<Transformer>,
                                      std::shared_ptr<ChartWithData>&>);

// Labels by side and position: the edge the text is aligned to, 5 from the
// content's, moved by labelXOffset whatever the alignment; the text's top 0.6
// line heights above the entry's row. And the labels left out.
TEST_F(YAxisDrawing, LabelsBySidePositionAndEndFlags) {
  using P = YAxis::LabelPosition;
  const auto L = AxisDependency::left, R = AxisDependency::right;
  const std::vector<std::string> all = {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100"};
  const std::vector<std::string> middle(all.begin() + 1, all.end() - 1);
  const auto noEnds = [](YAxis& a) {
    a.setDrawTopYLabelEntryEnabled(false);
    a.setDrawBottomYLabelEntryEnabled(false);
  };
  const struct {
    AxisDependency side;
    P position;
    double labelXOffset;
    std::function<void(YAxis&)> setUp;
    bool alignedRight;
    double edge;
    std::vector<std::string> drawn;
  } table[] = {
      {L, P::outside, 3, {}, true, 38, all},
      {L, P::inside, 0, {}, false, 45, all},
      {R, P::outside, 0, {}, false, 565, all},
      {R, P::inside, 3, {}, true, 558, all},
      {L, P::outside, 0, noEnds, true, 35, middle},
      {L, P::outside, 0, [&](YAxis& a) { a.setEntries({50}), noEnds(a); }, true, 35, {}},
      {L, P::outside, 0, [](YAxis& a) { a.setEnabled(false); }, true, 35, {}},
      {L, P::outside, 0, [](YAxis& a) { a.setDrawLabelsEnabled(false); }, true, 35, {}},
  };
  for (size_t r = 0; r < std::size(table); ++r) {
    const auto& t = table[r];
    auto axis = std::make_shared<YAxis>(t.side);
    axis->setLabelPosition(t.position);
    axis->setLabelXOffset(t.labelXOffset);
    axis->setEntries(tens());
    if (t.setUp) t.setUp(*axis);
    YAxisRenderer renderer(handler, axis, transformer);
    std::vector<std::string> drawn;
    for (const auto& o : draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawText)) {
      drawn.push_back(o.text);
      const double width = 6.0 * static_cast<double>(o.text.size());
      EXPECT_DOUBLE_EQ(t.alignedRight ? o.points[0].x + width : o.points[0].x, t.edge) << "row " << r;
      EXPECT_NEAR(o.points[0].y, row(std::stod(o.text)) - 7.8, 1e-9) << "row " << r;
    }
    EXPECT_EQ(drawn, t.drawn) << "row " << r;
  }
  // Entries but no transformer: no positions, so no labels.
  auto axis = std::make_shared<YAxis>();
  axis->setEntries(tens());
  YAxisRenderer bare(handler, axis, nullptr);
  EXPECT_TRUE(draw([&](auto& c) { bare.renderAxisLabels(c); }).operations(Op::drawText).empty());
}

TEST_F(YAxisDrawing, AxisLineGridAndZeroLine) {
  auto axis = std::make_shared<YAxis>(AxisDependency::right);
  axis->setEntries(tens());
  axis->setGridLineWidth(2);
  axis->setGridAntialiasEnabled(false);
  axis->setDrawZeroLineEnabled(true);
  axis->setAxisLineDashPhase(1.5);
  YAxisRenderer renderer(handler, axis, transformer);

  const auto line = draw([&](auto& c) { renderer.renderAxisLine(c); }).operations(Op::strokePath);
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(line[0].path[0].point, (Point{560, 20})) << "the right axis stands on the content's right edge";
  EXPECT_EQ(line[0].path[1].point, (Point{560, 360}));
  EXPECT_EQ(line[0].state.dash, LineDash{}) << "no dash set: solid, whatever the phase";
  axis->setAxisLineDashLengths(std::vector<double>{3, 1});
  EXPECT_EQ(draw([&](auto& c) { renderer.renderAxisLine(c); }).operations(Op::strokePath)[0].state.dash,
            (LineDash{1.5, {3, 1}}));

  const auto strokes = draw([&](auto& c) { renderer.renderGridLines(c); }).operations(Op::strokePath);
  ASSERT_EQ(strokes.size(), 12u) << "eleven grid lines and the zero line";
  for (size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(strokes[i].path[0].point, (Point{40, row(tens()[i])}));
    EXPECT_EQ(strokes[i].path[1].point, (Point{560, row(tens()[i])}));
    EXPECT_EQ(strokes[i].state.clip[0].rect, (Rect{40, 19, 520, 342})) << "grown by the grid width";
    EXPECT_FALSE(strokes[i].state.antialias);
  }
  EXPECT_EQ(strokes[11].state.clip[0].rect, (Rect{40, 19.5, 520, 341})) << "grown by the zero line's width";
  EXPECT_EQ(strokes[11].state.strokeColor, Color::gray());
  EXPECT_EQ(strokes[11].path[0].point.y, 360);

  // The zero line without the grid; none without its colour.
  axis->setDrawGridLinesEnabled(false);
  axis->setZeroLineDashLengths(std::vector<double>{4, 2});
  axis->setZeroLineDashPhase(1);
  const auto zero = draw([&](auto& c) { renderer.renderGridLines(c); }).operations(Op::strokePath);
  ASSERT_EQ(zero.size(), 1u);
  EXPECT_EQ(zero[0].state.dash, (LineDash{1, {4, 2}}));
  axis->setZeroLineColor(std::nullopt);
  EXPECT_TRUE(draw([&](auto& c) { renderer.renderGridLines(c); }).operations(Op::strokePath).empty());
}

// Limit-line labels across the content (the y axis's, and the turned x
// axis's, which draws them the same way): 4 + xOffset in from the content's
// edge, the text's top line width + line height + yOffset above the line
// (below: its bottom that far below).
TEST_F(YAxisDrawing, LimitLinesAndTheirLabels) {
  const double y = row(50);
  const double width = 6 * 7.8;  // "Target"
  auto axis = std::make_shared<YAxis>();
  auto line = std::make_shared<ChartLimitLine>(50, "Target");
  line->setLineDashLengths(std::vector<double>{5, 5});
  line->setLineDashPhase(2);
  auto off = std::make_shared<ChartLimitLine>(75, "off");
  off->setEnabled(false);
  for (const auto& l : {line, off, std::make_shared<ChartLimitLine>(25)}) axis->addLimitLine(l);  // 25: no label
  YAxisRenderer renderer(handler, axis, transformer);
  const std::pair<Position, Point> table[] = {{Position::topRight, {551 - width, y - 23.9}},
                                              {Position::bottomRight, {551 - width, y + 7}},
                                              {Position::topLeft, {49, y - 23.9}},
                                              {Position::bottomLeft, {49, y + 7}}};
  for (const auto& [position, topLeft] : table) {
    line->setLabelPosition(position);
    const auto text = draw([&](auto& c) { renderer.renderLimitLines(c); }).operations(Op::drawText);
    ASSERT_EQ(text.size(), 1u);
    testsupport::expectNear(text[0].points[0], topLeft, "label");
  }
  const auto strokes = ctx.operations(Op::strokePath);
  ASSERT_EQ(strokes.size(), 2u);
  EXPECT_EQ(strokes[0].path[0].point, (Point{40, y}));
  EXPECT_EQ(strokes[0].state.strokeColor, ChartLimitLine::defaultLineColor);
  EXPECT_EQ(strokes[0].state.dash, (LineDash{2, {5, 5}}));
  EXPECT_EQ(strokes[0].state.clip.back().rect, (Rect{40, 19, 520, 342}));
}

// The measured label box turned by the rotation angle (a 5-character label:
// 30 × 12).
TEST_F(XAxisDrawing, ComputeSizeTurnsTheLongestLabel) {
  const double diagonal = 42 * std::numbers::sqrt2 / 2;
  for (const auto& [degrees, width, height] :
       {std::tuple{0.0, 30.0, 12.0}, {90.0, 12.0, 30.0}, {45.0, diagonal, diagonal}, {-90.0, 12.0, 30.0}}) {
    auto axis = std::make_shared<XAxis>();
    axis->setValueFormatter(DefaultAxisValueFormatter::with(
        [](double v, const AxisBase*) { return v > 4.5 ? std::string("ab de") : std::string("c"); }));
    axis->setLabelRotationAngle(degrees);
    XAxisRenderer(handler, axis, transformer).computeAxisValues(0, 5);
    EXPECT_EQ(axis->labelWidth(), 30);
    EXPECT_EQ(axis->labelHeight(), 12);
    EXPECT_NEAR(axis->labelRotatedWidth(), width, 1e-9) << degrees;
    EXPECT_NEAR(axis->labelRotatedHeight(), height, 1e-9) << degrees;
  }
}

// Label rows and anchors by position, one axis line per row; a label more
// than a point left of the content is neither formatted nor drawn.
TEST_F(XAxisDrawing, LabelRowsAndSkippedLabels) {
  using P = XAxis::LabelPosition;
  const std::pair<P, std::vector<double>> table[] = {{P::bottom, {364}},    {P::top, {4}},
                                                     {P::bottomInside, {344}}, {P::topInside, {24}},
                                                     {P::topAndBottom, {4, 364}}};
  for (const auto& [position, tops] : table) {
    auto axis = std::make_shared<XAxis>();
    axis->setLabelPosition(position);
    int formatted = 0;
    axis->setValueFormatter(DefaultAxisValueFormatter::with([&](double, const AxisBase*) {
      ++formatted;
      return std::string("50");
    }));
    axis->setEntries({-1.5 / 5.2, 50});  // pixel 38.5
    axis->setLabelRotatedHeight(12);
    XAxisRenderer renderer(handler, axis, transformer);
    draw([&](auto& c) {
      renderer.renderAxisLabels(c);
      renderer.renderAxisLine(c);
    });
    const auto labels = ctx.operations(Op::drawTextInRect);
    ASSERT_EQ(labels.size(), tops.size());
    EXPECT_EQ(formatted, static_cast<int>(tops.size()));
    for (size_t i = 0; i < labels.size(); ++i) {
      testsupport::expectNear(labels[i].rect, Rect{column(50) - 6, tops[i], 12, 12}, "label");
      EXPECT_EQ(labels[i].attributes.resolvedAlignment(), platform::graphics::TextAlignment::center);
    }
    EXPECT_EQ(ctx.operations(Op::strokeLineSegments).size(), tops.size());
  }
}

// The wrap width is one x unit's pixels (40 here) times the percentage; a
// percentage that is not a positive number does not wrap.
TEST_F(XAxisDrawing, WordWrapRotationAndFirstLastClipping) {
  prepare(13);
  auto axis = std::make_shared<XAxis>();
  axis->setLabelPosition(XAxis::LabelPosition::bottom);
  axis->setValueFormatter(
      DefaultAxisValueFormatter::with([](double, const AxisBase*) { return std::string("ink limit curve"); }));
  axis->setEntries({5});
  XAxisRenderer renderer(handler, axis, transformer);
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [percent, box] : {std::pair{1.0, Size{30, 36}}, {2.0, Size{54, 24}}, {kNaN, Size{90, 12}},
                                     {-1.0, Size{90, 12}}}) {
    axis->setWordWrapEnabled(true);
    axis->setWordWrapWidthPercent(percent);
    const auto labels = draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawTextInRect);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].rect.size, box) << percent;
  }
  axis->setWordWrapEnabled(false);
  axis->setLabelRotationAngle(45);
  const auto turned = draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::rotateBy);
  ASSERT_EQ(turned.size(), 1u);
  EXPECT_DOUBLE_EQ(turned[0].values[0], std::numbers::pi / 4);

  // A single label counts as the first and moves right by half its width;
  // the last moves left only when wider than twice the right offset and
  // reaching past the chart's width.
  axis->setLabelRotationAngle(0);
  axis->setValueFormatter(nullptr);
  axis->setAvoidFirstLastClippingEnabled(true);
  for (const auto& [entries, offsetRight, lastLeft] :
       {std::tuple{std::vector<double>{0}, 40.0, 40.0}, {std::vector<double>{0, 100}, 40.0, 560.0 - 9},
        {std::vector<double>{0, 100}, 5.0, 595.0 - 9 - 9}, {std::vector<double>{0, 50}, 5.0, 40 + 555.0 / 2 - 6}}) {
    handler->restrainViewPort(40, 20, offsetRight, 40);
    prepare(100);
    axis->setEntries(entries);
    const auto labels = draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawTextInRect);
    ASSERT_EQ(labels.size(), entries.size());
    EXPECT_DOUBLE_EQ(labels.back().rect.origin.x, lastLeft) << entries.size() << " " << offsetRight;
    EXPECT_DOUBLE_EQ(labels.front().rect.origin.x, 40.0) << "the first moved right by 3";
  }
}

TEST_F(XAxisDrawing, GridAndLimitLines) {
  auto axis = std::make_shared<XAxis>();
  axis->setGridLineWidth(1);
  axis->setGridLineDashLengths(std::vector<double>{2, 3});
  axis->setGridLineDashPhase(0.5);
  axis->setEntries({0, 50, 100});
  XAxisRenderer renderer(handler, axis, transformer);
  const auto grid = draw([&](auto& c) { renderer.renderGridLines(c); }).operations(Op::strokePath);
  ASSERT_EQ(grid.size(), 3u);
  EXPECT_EQ(grid[1].path[0].point, (Point{300, 20}));
  EXPECT_EQ(grid[1].path[1].point, (Point{300, 360}));
  EXPECT_EQ(grid[1].state.clip[0].rect, (Rect{39.5, 20, 521, 340}));
  EXPECT_EQ(grid[1].state.dash, (LineDash{0.5, {2, 3}}));
  // Bounded by the left offset and the chart's (not the content's) width.
  for (const auto& [x, drawn] :
       {std::pair{40.0, true}, {39.99, false}, {560.5, true}, {600.0, true}, {600.01, false}}) {
    EXPECT_EQ(draw([&, x = x](auto& c) { renderer.drawGridLine(c, x, 0); }).operations(Op::strokePath).size(),
              drawn ? 1u : 0u)
        << x;
  }

  // A limit line at pixel 100, default width 2 and offsets 5, its label
  // placed as those of the turned y axis's lines down the content.
  prepare(520);
  const double width = 6 * 7.8;  // "Dmax 1"
  auto limitAxis = std::make_shared<XAxis>();
  auto line = std::make_shared<ChartLimitLine>(60, "Dmax 1");
  limitAxis->addLimitLine(line);
  limitAxis->addLimitLine(std::make_shared<ChartLimitLine>(70));  // no label
  XAxisRenderer limits(handler, limitAxis, transformer);
  const std::pair<Position, Point> labels[] = {{Position::topRight, {107, 27}},
                                               {Position::topLeft, {93 - width, 27}},
                                               {Position::bottomRight, {107, 360 - 16.9 - 7}},
                                               {Position::bottomLeft, {93 - width, 360 - 16.9 - 7}}};
  for (const auto& [position, topLeft] : labels) {
    line->setLabelPosition(position);
    const auto text = draw([&](auto& c) { limits.renderLimitLines(c); }).operations(Op::drawText);
    ASSERT_EQ(text.size(), 1u);
    testsupport::expectNear(text[0].points[0], topLeft, "limit label");
  }
  const auto strokes = ctx.operations(Op::strokePath);
  ASSERT_EQ(strokes.size(), 2u);
  EXPECT_EQ(strokes[0].path[0].point, (Point{100, 20}));
  EXPECT_EQ(strokes[0].path[1].point, (Point{100, 360}));
  EXPECT_EQ(strokes[0].state.clip.back().rect, (Rect{39, 20, 522, 340}));
  // A disabled line draws nothing and saves nothing.
  for (const auto& l : limitAxis->limitLines()) l->setEnabled(false);
  EXPECT_TRUE(draw([&](auto& c) { limits.renderLimitLines(c); }).operations().empty());
}

// Before any computation the centred list is empty: labels fall back to the
// entries; after it they move half an interval on with the entry's text. An
// axis that is not an XAxis is not drawn.
TEST_F(XAxisDrawing, CentredLabelsAndForeignAxes) {
  auto axis = std::make_shared<XAxis>();
  axis->setLabelPosition(XAxis::LabelPosition::bottom);
  axis->setCenterAxisLabelsEnabled(true);
  axis->setEntries({10, 20});
  XAxisRenderer renderer(handler, axis, transformer);
  EXPECT_DOUBLE_EQ(
      draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawTextInRect)[1].rect.origin.x,
      column(20) - 6);
  renderer.computeAxisValues(0, 100);
  const auto centred = draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawTextInRect);
  EXPECT_DOUBLE_EQ(centred[1].rect.origin.x, column(30) - 6);
  EXPECT_EQ(centred[1].text, "20");

  renderer.setAxis(std::make_shared<YAxis>());
  draw([&](auto& c) {
    renderer.computeAxis(0, 100, false);
    renderer.renderAxisLabels(c);
    renderer.renderAxisLine(c);
    renderer.renderGridLines(c);
    renderer.renderLimitLines(c);
  });
  EXPECT_TRUE(ctx.operations().empty());
}

// The x axis turned: labels beside the content on the rows of their
// categories (and only while the chart has data), lines across it.
TEST_F(HorizontalBarAxisDrawing, XAxisSizeLabelsAndLines) {
  // A 30 × 12 label with xOffset 5: 47.5 wide with its room, floored and
  // rounded.
  for (const auto& [degrees, rotatedWidth, rotatedHeight] : {std::tuple{0.0, 48.0, 12.0}, {90.0, 30.0, 30.0}}) {
    auto axis = std::make_shared<XAxis>();
    axis->setValueFormatter(
        DefaultAxisValueFormatter::with([](double, const AxisBase*) { return std::string("ab de"); }));
    axis->setLabelRotationAngle(degrees);
    XAxisRendererHorizontalBarChart(handler, axis, transformer, {}).computeAxisValues(0, 5);
    EXPECT_EQ(axis->labelWidth(), 47);
    EXPECT_EQ(axis->labelHeight(), 12);
    EXPECT_EQ(axis->labelRotatedWidth(), rotatedWidth) << degrees;
    EXPECT_EQ(axis->labelRotatedHeight(), rotatedHeight) << degrees;
  }

  // "50" is 12 × 12; 110 lies above the content and is skipped.
  auto chart = std::make_shared<ChartWithData>();
  using P = XAxis::LabelPosition;
  const std::tuple<P, std::vector<double>, std::vector<double>> table[] = {
      {P::top, {565}, {560}},           {P::topInside, {543}, {560}},   {P::bottom, {23}, {40}},
      {P::bottomInside, {45}, {40}}, {P::topAndBottom, {565, 23}, {560, 40}}};
  for (const auto& [position, lefts, axisLines] : table) {
    auto axis = std::make_shared<XAxis>();
    axis->setLabelPosition(position);
    axis->setEntries({50, 110});
    XAxisRendererHorizontalBarChart renderer(handler, axis, transformer, chart);
    const auto labels = draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawText);
    ASSERT_EQ(labels.size(), lefts.size());
    for (size_t i = 0; i < lefts.size(); ++i) testsupport::expectNear(labels[i].points[0], {lefts[i], row(50) - 6}, "label");
    const auto lines = draw([&](auto& c) { renderer.renderAxisLine(c); }).operations(Op::strokePath);
    ASSERT_EQ(lines.size(), axisLines.size());
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].path[1].point, (Point{axisLines[i], 360}));
  }
  // Centred, a label stands on its centred row with its entry's text.
  auto centred = std::make_shared<XAxis>();
  centred->setCenterAxisLabelsEnabled(true);
  centred->setEntries({40});
  centred->setCenteredEntries({50});
  XAxisRendererHorizontalBarChart centring(handler, centred, transformer, chart);
  const auto centredLabel = draw([&](auto& c) { centring.renderAxisLabels(c); }).operations(Op::drawText).at(0);
  testsupport::expectNear(centredLabel.points[0], {565, row(50) - 6}, centredLabel.text);
  EXPECT_EQ(centredLabel.text, "40");

  auto axis = std::make_shared<XAxis>();
  axis->setEntries({0, 50, 110});
  axis->setGridLineWidth(1);
  axis->addLimitLine(std::make_shared<ChartLimitLine>(50, "Dmax"));
  XAxisRendererHorizontalBarChart renderer(handler, axis, transformer, chart);
  // Without data, or once the chart is gone, no labels; the grid stays.
  for (const bool gone : {false, true}) {
    chart->chartData = nullptr;
    if (gone) renderer.setChart(std::weak_ptr<ChartWithData>());
    EXPECT_TRUE(draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations().empty());
    const auto grid = draw([&](auto& c) { renderer.renderGridLines(c); }).operations(Op::strokePath);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[1].path[0].point, (Point{40, 190}));
    EXPECT_EQ(grid[1].path[1].point, (Point{560, 190}));
    EXPECT_EQ(grid[1].state.clip[0].rect, (Rect{40, 19.5, 520, 341}));
  }
  // A limit line across the content, its label where a y limit line's goes.
  draw([&](auto& c) { renderer.renderLimitLines(c); });
  testsupport::expectNear(ctx.operations(Op::drawText).at(0).points[0], {551 - 31.2, 190 - 23.9}, "limit label");
  const auto strokes = ctx.operations(Op::strokePath);
  ASSERT_EQ(strokes.size(), 1u);
  EXPECT_EQ(strokes[0].path[0].point, (Point{40, 190}));
  EXPECT_EQ(strokes[0].state.clip.back().rect, (Rect{40, 19, 520, 342}));
}

// The y axis turned: label rows above (left axis) or below (right axis) the
// content, lines down it, the zero line a pixel left of 0.
TEST_F(HorizontalBarAxisDrawing, YAxisLabelsAndLines) {
  const std::vector<std::string> all = {"0", "50", "100"};
  const struct {
    AxisDependency side;
    double yOffset, labelXOffset;
    bool ends;
    std::vector<std::string> drawn;
    double top;
  } table[] = {{AxisDependency::left, 0, 0, true, all, 4.5},      {AxisDependency::right, 0, 0, true, all, 362.5},
               {AxisDependency::left, 2, 3, true, all, 5.5},      {AxisDependency::right, 2, 3, false, {"50"}, 363.5}};
  for (const auto& t : table) {
    auto axis = std::make_shared<YAxis>(t.side);
    axis->setEntries({0, 50, 100});
    axis->setYOffset(t.yOffset);
    axis->setLabelXOffset(t.labelXOffset);
    axis->setLabelPosition(YAxis::LabelPosition::inside);  // ignored
    axis->setDrawTopYLabelEntryEnabled(t.ends);
    axis->setDrawBottomYLabelEntryEnabled(t.ends);
    YAxisRendererHorizontalBarChart renderer(handler, axis, transformer);
    std::vector<std::string> drawn;
    for (const auto& o : draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawText)) {
      drawn.push_back(o.text);
      testsupport::expectNear(o.points[0], {column(std::stod(o.text)) - 3.0 * double(o.text.size()), t.top}, o.text);
    }
    EXPECT_EQ(drawn, t.drawn);
    const auto line = draw([&](auto& c) { renderer.renderAxisLine(c); }).operations(Op::strokePath);
    EXPECT_EQ(line.at(0).path[1].point, (Point{560, t.side == AxisDependency::left ? 20.0 : 360.0}));
  }

  // Without a transformer: computeAxis leaves the entries, and the labels,
  // having no positions, are not drawn.
  auto axis = std::make_shared<YAxis>();
  axis->setEntries({1, 2});
  YAxisRendererHorizontalBarChart bare(handler, axis, nullptr);
  bare.computeAxis(0, 100, false);
  EXPECT_EQ(axis->entries(), (std::vector<double>{1, 2}));
  EXPECT_TRUE(draw([&](auto& c) { bare.renderAxisLabels(c); }).operations().empty());

  YAxisRendererHorizontalBarChart renderer(handler, axis, transformer);
  renderer.computeAxis(0, 100, false);
  EXPECT_EQ(axis->entries(), (std::vector<double>{0, 20, 40, 60, 80, 100}));
  axis->setGridLineWidth(2);
  axis->setDrawZeroLineEnabled(true);
  const auto strokes = draw([&](auto& c) { renderer.renderGridLines(c); }).operations(Op::strokePath);
  ASSERT_EQ(strokes.size(), 7u) << "six grid lines and the zero line";
  EXPECT_EQ(strokes[5].path[0].point, (Point{560, 20}));
  EXPECT_EQ(strokes[5].path[1].point, (Point{560, 360}));
  EXPECT_EQ(strokes[5].state.clip[0].rect, (Rect{39, 20, 522, 340}));
  EXPECT_EQ(strokes[6].path[0].point, (Point{39, 20}));
  EXPECT_EQ(strokes[6].state.clip[0].rect, (Rect{39.5, 20, 521, 340}));

  // A limit line down the content at pixel 100, its label where an x limit
  // line's goes.
  axis->addLimitLine(std::make_shared<ChartLimitLine>(60 / 5.2, "Dmax"));
  draw([&](auto& c) { renderer.renderLimitLines(c); });
  testsupport::expectNear(ctx.operations(Op::drawText).at(0).points[0], {107, 27}, "limit label");
  const auto limit = ctx.operations(Op::strokePath).at(0);
  testsupport::expectNear(limit.path[1].point, {100, 360}, "limit line");
  EXPECT_EQ(limit.state.clip.back().rect, (Rect{39, 20, 522, 340}));
}

// The index labels one per spoke at 270, 342, 54 (from 414), 126 and 198
// degrees, half the turned label width beyond the outermost ring (radius
// 100 · 2), raised by half its turned height and anchored at (0.5, 0.25).
TEST_F(RadarAxisDrawing, XLabelsStandAroundTheWeb) {
  auto chart = std::make_shared<FixedRadar>();
  auto axis = std::make_shared<XAxis>();
  axis->setLabelCount(5);
  XAxisRendererRadarChart renderer(handler, axis, chart);
  renderer.computeAxis(0, 5, false);
  ASSERT_EQ(axis->labelRotatedWidth(), 6);  // "0" … "5": 6 × 12
  const auto labels = draw([&](auto& c) {
                        renderer.renderAxisLabels(c);
                        renderer.renderLimitLines(c);
                      }).operations(Op::drawText);
  ASSERT_EQ(labels.size(), 5u);
  testsupport::expectNear(labels[0].points[0], {297, -12}, "straight up");
  const double angles[] = {270, 342, 54, 126, 198};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(labels[i].text, std::to_string(i));
    const Point p = radarPoint({300, 200}, 203, angles[i]);
    testsupport::expectNear(labels[i].points[0], {p.x - 3, p.y - 6 - 3}, labels[i].text);
  }
  EXPECT_EQ(ctx.operations(Op::strokePath).size(), 0u) << "no limit lines on a radar x axis";

  // A chart already gone is refused (the one held is kept).
  std::weak_ptr<FixedRadar> gone = std::make_shared<FixedRadar>();
  const testsupport::LogCapture log;
  renderer.setChart(gone);
  EXPECT_EQ(renderer.chart(), chart);
  EXPECT_EQ(log.lines, std::vector<std::string>{"XAxisRendererRadarChart.setChart(): refused a chart that is "
                                                "already gone (it is held weakly: its owner must keep it alive)"});
  // No data set, no data, no chart: no labels.
  chart->chartData = std::make_shared<RadarChartData>();
  EXPECT_TRUE(draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations().empty());
  chart->chartData = nullptr;
  EXPECT_TRUE(draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations().empty());
  renderer.setChart(std::weak_ptr<FixedRadar>());
  chart = nullptr;
  EXPECT_TRUE(draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations().empty());
}

// The y labels run up the 270° spoke from the centre, a line height (13)
// above their points; the limit lines are closed polygons through the
// spokes, collapsed onto the centre at the chart's minimum.
TEST_F(RadarAxisDrawing, YLabelsAndLimitPolygons) {
  auto chart = std::make_shared<FixedRadar>();
  auto axis = std::make_shared<YAxis>();
  axis->setEntries({-10, 40, 90});
  axis->storeAxisMinimum(-10);  // the centre
  axis->setDrawTopYLabelEntryEnabled(false);
  axis->setLabelXOffset(4);
  YAxisRendererRadarChart renderer(handler, axis, chart);
  for (const auto alignment : {TextAlignment::left, TextAlignment::right}) {
    axis->setLabelAlignment(alignment);
    const auto labels = draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawText);
    ASSERT_EQ(labels.size(), 2u) << "the outermost label is left out";
    const bool right = alignment == TextAlignment::right;
    testsupport::expectNear(labels[0].points[0], {right ? 304.0 - 18 : 304.0, 187}, "-10");
    testsupport::expectNear(labels[1].points[0], {right ? 304.0 - 12 : 304.0, 87}, "40");
  }

  auto target = std::make_shared<ChartLimitLine>(50, "Target");
  auto atMinimum = std::make_shared<ChartLimitLine>(-10);
  auto off = std::make_shared<ChartLimitLine>(30);
  off->setEnabled(false);
  for (const auto& line : {target, atMinimum, off}) axis->addLimitLine(line);
  chart->yMin = -10;
  const auto polygons = draw([&](auto& c) { renderer.renderLimitLines(c); }).operations(Op::strokePath);
  ASSERT_EQ(polygons.size(), 2u);
  const auto& sides = polygons[0].path;
  ASSERT_EQ(sides.size(), 6u);
  for (size_t j = 0; j < 5; ++j) {
    EXPECT_EQ(sides[j].kind, j == 0 ? Kind::moveTo : Kind::lineTo);
    testsupport::expectNear(sides[j].point, radarPoint({300, 200}, 120, 270 + 72.0 * double(j)), "vertex");
  }
  EXPECT_EQ(sides[5].kind, Kind::closePath);
  EXPECT_EQ(polygons[0].state.strokeColor, ChartLimitLine::defaultLineColor);
  for (size_t j = 0; j < 5; ++j) testsupport::expectNear(polygons[1].path[j].point, {300, 200}, "collapsed");
  EXPECT_TRUE(ctx.operations(Op::drawText).empty()) << "radar limit lines have no labels";

  // Without a data set the path has no vertex; without data nothing is done.
  chart->chartData = std::make_shared<RadarChartData>();
  for (const auto& o : draw([&](auto& c) { renderer.renderLimitLines(c); }).operations(Op::strokePath)) {
    EXPECT_EQ(o.path, (platform::graphics::Path{{Kind::closePath, {}, {}}}));
  }
  chart->chartData = nullptr;
  EXPECT_TRUE(draw([&](auto& c) { renderer.renderLimitLines(c); }).operations().empty());
}

}  // namespace
