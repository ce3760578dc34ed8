#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Data/RadarChartData.h"
#include "Chart/Data/RadarChartDataSet.h"
#include "Chart/Renderers/XAxisRendererRadarChart.h"
#include "Chart/Renderers/YAxisRendererRadarChart.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TextMetrics.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::graphics::RecordingContext;
using Op = RecordingContext::Op;
using Kind = platform::graphics::PathElement::Kind;

namespace {

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

std::vector<double> stepsFrom(double first, double step, int count) {
  std::vector<double> values;
  for (double v = first; count-- > 0; v += step) values.push_back(v);
  return values;
}

// The radar y axis's values: one step beyond the data unless forced, the
// axis's ends moved to the first and last entry; decimals from the rounded
// interval. Ranges without labels, and an interval of 0, keep the decimals.
TEST(RadarAxisValues, WorkedTable) {
  const double tiny = std::numeric_limits<double>::denorm_min();
  const struct {
    const char* name;
    double min, max;
    int64_t labelCount;
    bool forced, centring;
    double granularity;  // 0: off
    std::vector<double> entries, centred;
    int decimals;
    double axisMin, axisMax;
  } table[] = {
      {"6 over 0..100", 0, 100, 6, false, false, 0, stepsFrom(0, 20, 7), {}, 0, 0, 120},
      {"6 over 0..1", 0, 1, 6, false, false, 0, {0, 0.2, 0.4, 0.6000000000000001, 0.8, 1.0, 1.2}, {}, 1, 0, 1.2},
      {"digit 7 rises to 10", 0, 70, 10, false, false, 0, stepsFrom(0, 10, 9), {}, 0, 0, 80},
      {"forced: no extra step", 0, 100, 6, true, false, 0, stepsFrom(0, 20, 6), {}, 0, 0, 100},
      {"granularity 25.5", 3, 97, 6, false, false, 25.5, {25.5, 51, 76.5, 102}, {}, 0, 25.5, 102},
      {"centring with 5 labels", 0, 100, 5, false, true, 0, stepsFrom(-20, 20, 9), stepsFrom(-10, 20, 9), 0, -20, 140},
      {"forced single label, centring", 3, 8, 1, true, true, 0, {3}, {}, 0, 3, 3},
      {"interval rounds to 0", 0, tiny, 6, false, false, 0, {0}, {}, 7, 0, 0},
      {"empty range", 5, 5, 6, false, true, 0, {}, {}, 7, -1, 1},
  };
  for (const auto& row : table) {
    auto axis = std::make_shared<YAxis>();
    axis->setAxisMinLabels(1);
    axis->setLabelCount(row.labelCount, row.forced);
    if (row.granularity > 0) axis->setGranularity(row.granularity);
    // Centring reads the entries already there.
    axis->setCenterAxisLabelsEnabled(row.centring);
    axis->setEntries({1});
    axis->setCenteredEntries({});
    axis->setDecimals(7);
    axis->storeAxisMinimum(-1);
    axis->storeAxisMaximum(1);
    axis->setAxisRange(2);
    YAxisRendererRadarChart(std::make_shared<ViewPortHandler>(600, 400), axis, {}).computeAxis(row.min, row.max, false);
    EXPECT_EQ(axis->entries(), row.entries) << row.name;
    EXPECT_EQ(axis->centeredEntries(), row.centred) << row.name;
    EXPECT_EQ(axis->decimals(), row.decimals) << row.name;
    EXPECT_EQ(axis->axisMinimum(), row.axisMin) << row.name;
    EXPECT_EQ(axis->axisMaximum(), row.axisMax) << row.name;
    EXPECT_EQ(axis->axisRange(), row.axisMax - row.axisMin) << row.name;
    EXPECT_FALSE(axis->isAxisMinCustom() || axis->isAxisMaxCustom()) << row.name;
  }
}

class RadarAxisDrawing : public testing::Test {
 protected:
  void SetUp() override { platform::graphics::setCurrentTextMetrics(nullptr); }
  const RecordingContext& draw(const std::function<void(RecordingContext&)>& hook) {
    ctx = RecordingContext{};
    hook(ctx);
    EXPECT_EQ(ctx.state().saveDepth, 0);
    return ctx;
  }

  std::shared_ptr<ViewPortHandler> handler = std::make_shared<ViewPortHandler>(600, 400);
  std::shared_ptr<FixedRadar> chart = std::make_shared<FixedRadar>();
  RecordingContext ctx;
};

// The index labels one per spoke at 270, 342, 54 (from 414), 126 and 198
// degrees, half the turned label width beyond the outermost ring (radius
// 100 · 2), raised by half its turned height and anchored at (0.5, 0.25).
TEST_F(RadarAxisDrawing, XLabelsStandAroundTheWeb) {
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
  auto axis = std::make_shared<YAxis>();
  axis->setEntries({0, 50, 100});
  axis->setDrawTopYLabelEntryEnabled(false);
  axis->setLabelXOffset(4);
  YAxisRendererRadarChart renderer(handler, axis, chart);
  const auto labels = draw([&](auto& c) { renderer.renderAxisLabels(c); }).operations(Op::drawText);
  ASSERT_EQ(labels.size(), 2u) << "the outermost label is left out";
  testsupport::expectNear(labels[0].points[0], {304, 187}, "0");
  testsupport::expectNear(labels[1].points[0], {304, 87}, "50");

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
