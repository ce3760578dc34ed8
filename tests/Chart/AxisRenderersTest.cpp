#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Renderers/XAxisRenderer.h"
#include "Chart/Renderers/YAxisRenderer.h"
#include "Chart/Utils/DefaultAxisValueFormatter.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TextMetrics.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::LineDash;
using platform::graphics::RecordingContext;
using Op = RecordingContext::Op;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A 600 × 400 chart whose content is (40, 20, 520, 340), values 0..100 on
// both axes; text measured by the fixed metrics (a 10-point character is 6
// wide, a line 12 high, the font's line height 13).
class AxisDrawing : public testing::Test {
 protected:
  void SetUp() override {
    platform::graphics::setCurrentTextMetrics(nullptr);
    handler->restrainViewPort(40, 20, 40, 40);
    prepare(100);
  }
  // x runs 0..xRange, y 0..100.
  void prepare(double xRange) {
    transformer->prepareMatrixValuePx(0, xRange, 100, 0);
    transformer->prepareMatrixOffset(false);
  }
  static double row(double value) { return 360 - 3.4 * value; }
  static double column(double value) { return 40 + 5.2 * value; }
  static std::vector<double> tens() { return {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}; }

  // Runs the hook and checks that it leaves the graphics state as it found it.
  template <class Hook>
  void draw(Hook hook) {
    hook(ctx);
    EXPECT_EQ(ctx.state().saveDepth, 0);
  }
  std::vector<std::string> texts(Op op = Op::drawText) const {
    std::vector<std::string> found;
    for (const auto& o : ctx.operations(op)) found.push_back(o.text);
    return found;
  }

  std::shared_ptr<ViewPortHandler> handler = std::make_shared<ViewPortHandler>(600, 400);
  std::shared_ptr<Transformer> transformer = std::make_shared<Transformer>(handler);
  RecordingContext ctx;
};

using YAxisDrawing = AxisDrawing;
using XAxisDrawing = AxisDrawing;

// Where the labels of each side and position go: left edge for left-aligned
// text, right edge for right-aligned, and the row 0.6 line heights above
// each entry's pixel.
TEST_F(YAxisDrawing, LabelsBySideAndPosition) {
  const struct {
    const char* name;
    AxisDependency side;
    YAxis::LabelPosition position;
    double labelXOffset;
    bool alignedRight;
    double edge;
  } table[] = {
      {"left outside", AxisDependency::left, YAxis::LabelPosition::outside, 0, true, 35},
      {"left outside, moved 3", AxisDependency::left, YAxis::LabelPosition::outside, 3, true, 38},
      {"left inside", AxisDependency::left, YAxis::LabelPosition::inside, 0, false, 45},
      {"right outside", AxisDependency::right, YAxis::LabelPosition::outside, 0, false, 565},
      {"right inside", AxisDependency::right, YAxis::LabelPosition::inside, 0, true, 555},
      {"right inside, moved 3", AxisDependency::right, YAxis::LabelPosition::inside, 3, true, 558},
  };
  for (const auto& row : table) {
    RecordingContext c;
    auto axis = std::make_shared<YAxis>(row.side);
    axis->setLabelPosition(row.position);
    axis->setLabelXOffset(row.labelXOffset);
    axis->setEntries(tens());
    YAxisRenderer renderer(handler, axis, transformer);
    renderer.renderAxisLabels(c);
    const auto drawn = c.operations(Op::drawText);
    ASSERT_EQ(drawn.size(), 11u) << row.name;
    for (size_t i = 0; i < drawn.size(); ++i) {
      const double width = 6.0 * static_cast<double>(drawn[i].text.size());
      const double x = drawn[i].points[0].x;
      EXPECT_DOUBLE_EQ(row.alignedRight ? x + width : x, row.edge) << row.name << " " << drawn[i].text;
      EXPECT_NEAR(drawn[i].points[0].y, AxisDrawing::row(tens()[i]) - 7.8, 1e-9) << row.name;
      EXPECT_EQ(drawn[i].attributes.font, axis->labelFont());
    }
  }
}

// The end labels the axis leaves out, an axis without a transformer and
// axes that draw no labels.
TEST_F(YAxisDrawing, WhichLabelsAreDrawn) {
  const std::vector<std::string> middle = {"10", "20", "30", "40", "50", "60", "70", "80", "90"};
  const struct {
    const char* name;
    std::vector<double> entries;
    std::function<void(YAxis&)> setUp;
    bool withTransformer;
    std::vector<std::string> drawn;
  } table[] = {
      {"top and bottom off", tens(),
       [](YAxis& a) { a.setDrawTopYLabelEntryEnabled(false); a.setDrawBottomYLabelEntryEnabled(false); }, true,
       middle},
      {"one entry, both off", {50},
       [](YAxis& a) { a.setDrawTopYLabelEntryEnabled(false); a.setDrawBottomYLabelEntryEnabled(false); }, true, {}},
      {"no entries, top off", {}, [](YAxis& a) { a.setDrawTopYLabelEntryEnabled(false); }, true, {}},
      {"no transformer", tens(), [](YAxis&) {}, false, {}},
      {"disabled", tens(), [](YAxis& a) { a.setEnabled(false); }, true, {}},
      {"labels off", tens(), [](YAxis& a) { a.setDrawLabelsEnabled(false); }, true, {}},
  };
  for (const auto& row : table) {
    RecordingContext c;
    auto axis = std::make_shared<YAxis>();
    axis->setEntries(row.entries);
    row.setUp(*axis);
    YAxisRenderer renderer(handler, axis, row.withTransformer ? transformer : nullptr);
    renderer.renderAxisLabels(c);
    std::vector<std::string> drawn;
    for (const auto& o : c.operations(Op::drawText)) drawn.push_back(o.text);
    EXPECT_EQ(drawn, row.drawn) << row.name;
  }
}

TEST_F(YAxisDrawing, AxisLineGridAndZeroLine) {
  auto axis = std::make_shared<YAxis>(AxisDependency::right);
  axis->setEntries(tens());
  axis->setGridLineWidth(2);
  axis->setGridColor(Color::rgb(0, 0, 1));
  axis->setGridAntialiasEnabled(false);
  axis->setDrawZeroLineEnabled(true);
  YAxisRenderer renderer(handler, axis, transformer);

  draw([&](auto& c) { renderer.renderAxisLine(c); });
  const auto axisLine = ctx.operations(Op::strokePath);
  ASSERT_EQ(axisLine.size(), 1u);
  EXPECT_EQ(axisLine[0].path[0].point, (Point{560, 20})) << "the right axis stands on the content's right edge";
  EXPECT_EQ(axisLine[0].path[1].point, (Point{560, 360}));
  EXPECT_EQ(axisLine[0].state.dash, LineDash{}) << "no dash set: solid";

  ctx = RecordingContext{};
  draw([&](auto& c) { renderer.renderGridLines(c); });
  const auto strokes = ctx.operations(Op::strokePath);
  ASSERT_EQ(strokes.size(), 12u) << "eleven grid lines and the zero line";
  for (size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(strokes[i].path[0].point, (Point{40, row(tens()[i])}));
    EXPECT_EQ(strokes[i].path[1].point, (Point{560, row(tens()[i])}));
    EXPECT_EQ(strokes[i].state.clip[0].rect, (Rect{40, 19, 520, 342})) << "grown by the grid width";
    EXPECT_FALSE(strokes[i].state.antialias);
    EXPECT_EQ(strokes[i].state.strokeColor, Color::rgb(0, 0, 1));
  }
  EXPECT_EQ(strokes[11].state.clip[0].rect, (Rect{40, 19.5, 520, 341})) << "grown by the zero line's width";
  EXPECT_EQ(strokes[11].state.strokeColor, Color::gray());
  EXPECT_EQ(strokes[11].path[0].point.y, 360);

  // The zero line without the grid; none without its colour.
  axis->setDrawGridLinesEnabled(false);
  axis->setZeroLineDashLengths(std::vector<double>{4, 2});
  ctx = RecordingContext{};
  draw([&](auto& c) { renderer.renderGridLines(c); });
  ASSERT_EQ(ctx.operations(Op::strokePath).size(), 1u);
  EXPECT_EQ(ctx.operations(Op::strokePath)[0].state.dash, (LineDash{0, {4, 2}}));
  axis->setZeroLineColor(std::nullopt);
  ctx = RecordingContext{};
  draw([&](auto& c) { renderer.renderGridLines(c); });
  EXPECT_TRUE(ctx.operations(Op::strokePath).empty());
}

// Limit-line labels at the four positions: xo = 4 + xOffset from the
// content's edge, the text's top line width + line height + yOffset above
// the line (13-point font: line height 16.9).
TEST_F(YAxisDrawing, LimitLinesAndTheirLabels) {
  const double y = row(50);
  const double textWidth = 6 * 7.8;  // "Target" at 13 points
  const struct {
    ChartLimitLine::LabelPosition position;
    Point topLeft;
  } table[] = {
      {ChartLimitLine::LabelPosition::topRight, {551 - textWidth, y - 23.9}},
      {ChartLimitLine::LabelPosition::bottomRight, {551 - textWidth, y + 7}},
      {ChartLimitLine::LabelPosition::topLeft, {49, y - 23.9}},
      {ChartLimitLine::LabelPosition::bottomLeft, {49, y + 7}},
  };
  for (const auto& r : table) {
    auto axis = std::make_shared<YAxis>();
    auto line = std::make_shared<ChartLimitLine>(50, "Target");
    line->setLabelPosition(r.position);
    line->setLineDashLengths(std::vector<double>{5, 5});
    axis->addLimitLine(line);
    YAxisRenderer renderer(handler, axis, transformer);
    ctx = RecordingContext{};
    draw([&](auto& c) { renderer.renderLimitLines(c); });
    const auto text = ctx.operations(Op::drawText);
    ASSERT_EQ(text.size(), 1u);
    testsupport::expectNear(text[0].points[0], r.topLeft, "label");
    EXPECT_EQ(text[0].attributes.foregroundColor, Color::labelColor());
    const auto stroke = ctx.operations(Op::strokePath);
    ASSERT_EQ(stroke.size(), 1u);
    EXPECT_EQ(stroke[0].path[0].point, (Point{40, y}));
    EXPECT_EQ(stroke[0].state.strokeColor, ChartLimitLine::defaultLineColor);
    EXPECT_EQ(stroke[0].state.lineWidth, 2);
    EXPECT_EQ(stroke[0].state.dash, (LineDash{0, {5, 5}}));
    EXPECT_EQ(stroke[0].state.clip.back().rect, (Rect{40, 19, 520, 342}));
  }

  // An empty label draws only the line; a disabled line nothing.
  auto axis = std::make_shared<YAxis>();
  axis->addLimitLine(std::make_shared<ChartLimitLine>(25));
  auto disabled = std::make_shared<ChartLimitLine>(75, "off");
  disabled->setEnabled(false);
  axis->addLimitLine(disabled);
  YAxisRenderer renderer(handler, axis, transformer);
  ctx = RecordingContext{};
  draw([&](auto& c) { renderer.renderLimitLines(c); });
  EXPECT_EQ(ctx.operations(Op::strokePath).size(), 1u);
  EXPECT_TRUE(ctx.operations(Op::drawText).empty());
  // Without a transformer nothing is drawn at all.
  YAxisRenderer bare(handler, axis, nullptr);
  ctx = RecordingContext{};
  bare.renderLimitLines(ctx);
  EXPECT_TRUE(ctx.operations().empty());
}

// The measured label box turned by the rotation angle (a 5-character label:
// 30 × 12).
TEST_F(XAxisDrawing, ComputeSizeTurnsTheLongestLabel) {
  const struct {
    double degrees, width, height;
  } table[] = {{0, 30, 12}, {90, 12, 30}, {45, 29.698484809834994, 29.698484809834994}, {-90, 12, 30}};
  for (const auto& row : table) {
    auto axis = std::make_shared<XAxis>();
    axis->setValueFormatter(DefaultAxisValueFormatter::with([](double v, const AxisBase*) {
      return v > 4.5 ? std::string("ab de") : std::string("c");
    }));
    axis->setLabelRotationAngle(row.degrees);
    XAxisRenderer renderer(handler, axis, transformer);
    renderer.computeAxisValues(0, 5);
    EXPECT_EQ(axis->labelWidth(), 30) << row.degrees;
    EXPECT_EQ(axis->labelHeight(), 12) << row.degrees;
    EXPECT_NEAR(axis->labelRotatedWidth(), row.width, 1e-9) << row.degrees;
    EXPECT_NEAR(axis->labelRotatedHeight(), row.height, 1e-9) << row.degrees;
  }
}

// Label rows and anchors by position; labels outside the content's width
// are neither formatted nor drawn.
TEST_F(XAxisDrawing, LabelRowsAndSkippedLabels) {
  const struct {
    XAxis::LabelPosition position;
    std::vector<double> tops;  // of the first label's box, once per row
  } table[] = {
      {XAxis::LabelPosition::bottom, {364}},
      {XAxis::LabelPosition::top, {20 - 4 - 12}},
      {XAxis::LabelPosition::bottomInside, {360 - 4 - 12}},
      {XAxis::LabelPosition::topInside, {20 + 4 + 12 - 12}},
      {XAxis::LabelPosition::topAndBottom, {4, 364}},
  };
  for (const auto& row : table) {
    auto axis = std::make_shared<XAxis>();
    axis->setLabelPosition(row.position);
    int formatted = 0;
    axis->setValueFormatter(DefaultAxisValueFormatter::with([&](double v, const AxisBase*) {
      ++formatted;
      return v < 0 ? std::string("out") : std::string("50");
    }));
    // px 38.5 is more than the point of tolerance left of the content.
    axis->setEntries({-1.5 / 5.2, 50});
    axis->setLabelRotatedHeight(12);
    XAxisRenderer renderer(handler, axis, transformer);
    ctx = RecordingContext{};
    draw([&](auto& c) { renderer.renderAxisLabels(c); });
    draw([&](auto& c) { renderer.renderAxisLine(c); });
    const auto labels = ctx.operations(Op::drawTextInRect);
    ASSERT_EQ(labels.size(), row.tops.size());
    EXPECT_EQ(formatted, static_cast<int>(row.tops.size())) << "no formatter call for the skipped label";
    for (size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(labels[i].text, "50");
      testsupport::expectNear(labels[i].rect, Rect{column(50) - 6, row.tops[i], 12, 12}, "label");
      EXPECT_EQ(labels[i].attributes.resolvedAlignment(), platform::graphics::TextAlignment::center);
    }
    EXPECT_EQ(ctx.operations(Op::strokeLineSegments).size(), row.tops.size()) << "one axis line per row";
  }
}

// The wrap width is one x unit's pixels times the percentage: 40 here.
TEST_F(XAxisDrawing, WordWrapRotationAndFirstLastClipping) {
  prepare(13);  // 520 / 13 = 40 pixels per unit
  auto axis = std::make_shared<XAxis>();
  axis->setLabelPosition(XAxis::LabelPosition::bottom);
  axis->setValueFormatter(
      DefaultAxisValueFormatter::with([](double, const AxisBase*) { return std::string("ink limit curve"); }));
  axis->setEntries({5});
  XAxisRenderer renderer(handler, axis, transformer);
  const struct {
    bool wrap;
    double percent;
    Size box;
  } wraps[] = {{true, 1.0, {30, 36}}, {true, 2.0, {54, 24}}, {false, 1.0, {90, 12}}, {true, kNaN, {90, 12}},
               {true, -1, {90, 12}}};
  for (const auto& w : wraps) {
    axis->setWordWrapEnabled(w.wrap);
    axis->setWordWrapWidthPercent(w.percent);
    ctx = RecordingContext{};
    renderer.renderAxisLabels(ctx);
    const auto labels = ctx.operations(Op::drawTextInRect);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].rect.size, w.box) << w.wrap << " " << w.percent;
  }

  // Turned labels are drawn about their centre.
  axis->setWordWrapEnabled(false);
  axis->setLabelRotationAngle(45);
  ctx = RecordingContext{};
  renderer.renderAxisLabels(ctx);
  ASSERT_EQ(ctx.operations(Op::rotateBy).size(), 1u);
  EXPECT_DOUBLE_EQ(ctx.operations(Op::rotateBy)[0].values[0], std::numbers::pi / 4);

  // A single label counts as the first and moves right by half its width;
  // the last moves left only when wider than twice the right offset and
  // reaching past the chart's width.
  prepare(100);
  axis->setLabelRotationAngle(0);
  axis->setValueFormatter(nullptr);
  axis->setAvoidFirstLastClippingEnabled(true);
  const struct {
    std::vector<double> entries;
    double offsetRight;
    double lastLeft;  // of the last label's box
  } clipping[] = {
      {{0}, 40, column(0) - 3 + 3},        // "0": 6 wide, moved right by 3
      {{0, 100}, 40, column(100) - 9},     // 18 wide, not wider than 80
      {{0, 100}, 5, 595 - 9 - 9},          // content right 595: moved left by 9
  };
  for (const auto& c : clipping) {
    handler->restrainViewPort(40, 20, c.offsetRight, 40);
    prepare(100);
    axis->setEntries(c.entries);
    ctx = RecordingContext{};
    renderer.renderAxisLabels(ctx);
    const auto labels = ctx.operations(Op::drawTextInRect);
    ASSERT_EQ(labels.size(), c.entries.size());
    EXPECT_DOUBLE_EQ(labels.back().rect.origin.x, c.lastLeft) << c.entries.size() << " " << c.offsetRight;
    EXPECT_DOUBLE_EQ(labels[0].rect.origin.x, column(0) - 3 + 3) << "the first moves right";
  }
}

TEST_F(XAxisDrawing, GridAndLimitLines) {
  auto axis = std::make_shared<XAxis>();
  axis->setGridLineWidth(1);
  axis->setGridLineDashLengths(std::vector<double>{2, 3});
  axis->setEntries({0, 50, 100});
  XAxisRenderer renderer(handler, axis, transformer);
  draw([&](auto& c) { renderer.renderGridLines(c); });
  const auto grid = ctx.operations(Op::strokePath);
  ASSERT_EQ(grid.size(), 3u);
  EXPECT_EQ(grid[1].path[0].point, (Point{300, 20}));
  EXPECT_EQ(grid[1].path[1].point, (Point{300, 360}));
  EXPECT_EQ(grid[1].state.clip[0].rect, (Rect{39.5, 20, 521, 340}));
  EXPECT_EQ(grid[1].state.dash, (LineDash{0, {2, 3}}));

  // The bounds are the left offset and the chart's (not the content's)
  // width.
  const struct {
    double x;
    bool drawn;
  } bounds[] = {{40, true}, {39.99, false}, {560.5, true}, {600, true}, {600.01, false}};
  for (const auto& b : bounds) {
    ctx = RecordingContext{};
    renderer.drawGridLine(ctx, b.x, 0);
    EXPECT_EQ(ctx.operations(Op::strokePath).size(), b.drawn ? 1u : 0u) << b.x;
  }

  // A limit line at pixel 100 with the default width 2 and offsets 5.
  prepare(520);
  const double lineHeight = 16.9;
  const double width = 6 * 7.8;
  const struct {
    ChartLimitLine::LabelPosition position;
    Point topLeft;
  } labels[] = {
      {ChartLimitLine::LabelPosition::topRight, {107, 27}},
      {ChartLimitLine::LabelPosition::topLeft, {93 - width, 27}},
      {ChartLimitLine::LabelPosition::bottomRight, {107, 360 - lineHeight - 7}},
      {ChartLimitLine::LabelPosition::bottomLeft, {93 - width, 360 - lineHeight - 7}},
  };
  for (const auto& l : labels) {
    auto limitAxis = std::make_shared<XAxis>();
    auto line = std::make_shared<ChartLimitLine>(60, "Dmax 1");
    line->setLabelPosition(l.position);
    limitAxis->addLimitLine(line);
    XAxisRenderer limits(handler, limitAxis, transformer);
    ctx = RecordingContext{};
    draw([&](auto& c) { limits.renderLimitLines(c); });
    const auto text = ctx.operations(Op::drawText);
    ASSERT_EQ(text.size(), 1u);
    testsupport::expectNear(text[0].points[0], l.topLeft, "limit label");
    const auto stroke = ctx.operations(Op::strokePath);
    ASSERT_EQ(stroke.size(), 1u);
    EXPECT_EQ(stroke[0].path[0].point, (Point{100, 20}));
    EXPECT_EQ(stroke[0].path[1].point, (Point{100, 360}));
    EXPECT_EQ(stroke[0].state.clip.back().rect, (Rect{39, 20, 522, 340}));
  }

  // An empty label draws only the line; a disabled line saves nothing.
  auto limitAxis = std::make_shared<XAxis>();
  limitAxis->addLimitLine(std::make_shared<ChartLimitLine>(60));
  XAxisRenderer limits(handler, limitAxis, transformer);
  ctx = RecordingContext{};
  limits.renderLimitLines(ctx);
  EXPECT_EQ(ctx.operations(Op::strokePath).size(), 1u);
  EXPECT_TRUE(ctx.operations(Op::drawText).empty());
  limitAxis->limitLines()[0]->setEnabled(false);
  ctx = RecordingContext{};
  limits.renderLimitLines(ctx);
  EXPECT_TRUE(ctx.operations().empty());
}

// Before any computation the centred list is empty: the labels fall back to
// the entries; an axis that is not an XAxis is not drawn.
TEST_F(XAxisDrawing, CentredLabelsWithoutComputationAndForeignAxes) {
  auto axis = std::make_shared<XAxis>();
  axis->setLabelPosition(XAxis::LabelPosition::bottom);
  axis->setCenterAxisLabelsEnabled(true);
  axis->setEntries({10, 20});
  XAxisRenderer renderer(handler, axis, transformer);
  renderer.renderAxisLabels(ctx);
  const auto labels = ctx.operations(Op::drawTextInRect);
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_DOUBLE_EQ(labels[1].rect.origin.x, column(20) - 6);
  renderer.computeAxisValues(0, 100);
  ctx = RecordingContext{};
  renderer.renderAxisLabels(ctx);
  EXPECT_DOUBLE_EQ(ctx.operations(Op::drawTextInRect)[1].rect.origin.x, column(30) - 6)
      << "centred half an interval on, the text still the entry's";
  EXPECT_EQ(ctx.operations(Op::drawTextInRect)[1].text, "20");

  renderer.setAxis(std::make_shared<YAxis>());
  ctx = RecordingContext{};
  renderer.computeAxis(0, 100, false);
  renderer.renderAxisLabels(ctx);
  renderer.renderAxisLine(ctx);
  renderer.renderGridLines(ctx);
  renderer.renderLimitLines(ctx);
  EXPECT_TRUE(ctx.operations().empty());
}

}  // namespace
