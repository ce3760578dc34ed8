#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "Chart/Components/YAxis.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Renderers/AxisRendererBase.h"
#include "Chart/Renderers/YAxisRendererRadarChart.h"
#include "Chart/Utils/Transformer.h"
#include "Chart/Views/LineChartView.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/view/View.h"

using namespace chart;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kDenormMin = std::numeric_limits<double>::denorm_min();

struct Computed {
  std::shared_ptr<YAxis> axis = std::make_shared<YAxis>();
  std::shared_ptr<ViewPortHandler> handler = std::make_shared<ViewPortHandler>(600, 400);
  AxisRendererBase renderer{handler, nullptr, axis};
};

std::vector<double> stepsFrom(double first, double step, int count) {
  std::vector<double> values;
  for (double v = first; count-- > 0; v += step) values.push_back(v);
  return values;
}

// The worked values: which entries and decimals a range, a label count, the
// forcing and the granularity give.
TEST(AxisValues, WorkedRanges) {
  const struct {
    const char* name;
    double min, max;
    int64_t labelCount;
    bool forced;
    double granularity;  // 0: off
    std::vector<double> entries;
    int decimals;
  } table[] = {
      {"forced 11 (the application's graphs)", 0, 100, 11, true, 0, stepsFrom(0, 10, 11), 0},
      {"forced ignores granularity", 0, 100, 11, true, 25.5, stepsFrom(0, 10, 11), 0},
      {"6 over 0..100", 0, 100, 6, false, 0, {0, 20, 40, 60, 80, 100}, 0},
      {"6 over 0..1, accumulated", 0, 1, 6, false, 0, {0, 0.2, 0.4, 0.6000000000000001, 0.8, 1.0}, 1},
      {"digit 7 rises to 10", 0, 70, 10, false, 0, stepsFrom(0, 10, 8), 0},
      {"granularity 25.5", 3, 97, 6, false, 25.5, {25.5, 51, 76.5}, 0},
      {"forced 2 over 5..9", 5, 9, 2, true, 0, {5, 9}, 0},
      {"interval 0.05", 0, 0.3, 6, false, 0, stepsFrom(0, 0.05, 6), 2},
      {"interval 0.25 from granularity", 0, 1, 6, false, 0.25, {0, 0.25, 0.5, 0.75, 1}, 1},
      {"negative range", -250, -50, 4, false, 0, {-250, -200, -150, -100, -50}, 0},
      {"descending bounds give nothing", 100, 0, 6, false, 0, {}, 0},
      {"forced single label", 3, 8, 1, true, 0, {3}, 0},
  };
  for (const auto& row : table) {
    Computed c;
    c.axis->setAxisMinLabels(1);
    c.axis->setLabelCount(row.labelCount, row.forced);
    if (row.granularity > 0) c.axis->setGranularity(row.granularity);
    c.axis->setDecimals(7);
    c.renderer.computeAxisValues(row.min, row.max);
    EXPECT_EQ(c.axis->entries(), row.entries) << row.name;
    EXPECT_EQ(c.axis->decimals(), row.decimals) << row.name;
    EXPECT_TRUE(c.axis->centeredEntries().empty()) << row.name;
  }
}

// The radar y axis's values: one step beyond the data unless forced, the
// axis's ends moved to the first and last entry; decimals from the rounded
// interval. Ranges without labels, and an interval of 0, keep the decimals.
TEST(RadarAxisValues, WorkedTable) {
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
      {"interval rounds to 0", 0, kDenormMin, 6, false, false, 0, {0}, {}, 7, 0, 0},
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

// Ranges with nothing to label clear both lists and keep the decimals; no
// entry is ever a negative zero.
TEST(AxisValues, DegenerateRangesAndSignedZero) {
  const struct {
    const char* name;
    double min, max;
    int64_t labelCount;
    bool forced;
    std::vector<double> entries;
  } table[] = {
      {"empty range", 5, 5, 6, false, {}},
      {"not-a-number bound", kNaN, 10, 6, false, {}},
      {"not-a-number bound, forced", 0, kNaN, 6, true, {}},
      {"infinite bound", -kInf, 10, 6, false, {}},
      {"infinite range", -1e308, 1e308, 6, false, {}},
      {"interval rounds to 0", 0, kDenormMin, 6, false, {0}},
      {"interval 0 from a negative subnormal", -kDenormMin, 0, 6, false, {0}},
      {"interval rounds up past the largest double", 0, 1.7e308, 1, false, {}},
  };
  for (const auto& row : table) {
    Computed c;
    c.axis->setAxisMinLabels(1);
    c.axis->setLabelCount(row.labelCount, row.forced);
    c.axis->setEntries({1, 2});
    c.axis->setCenteredEntries({1.5});
    c.axis->setDecimals(3);
    c.renderer.computeAxisValues(row.min, row.max);
    EXPECT_EQ(c.axis->entries(), row.entries) << row.name;
    EXPECT_EQ(c.axis->centeredEntries().empty(), row.entries.empty()) << row.name;
    EXPECT_EQ(c.axis->decimals(), 3) << row.name;
  }

  const struct {
    double min, max;
    bool forced;
  } zeros[] = {{-0.5, 10, false}, {-0.0, 1, true}, {-4, 4, false}, {-0.3, 0.3, false}};
  for (const auto& z : zeros) {
    Computed c;
    c.axis->setLabelCount(3, z.forced);
    c.renderer.computeAxisValues(z.min, z.max);
    ASSERT_FALSE(c.axis->entries().empty());
    for (const double e : c.axis->entries()) EXPECT_FALSE(e == 0 && std::signbit(e)) << z.min << ".." << z.max;
  }

  // An interval far below the first value's last place: adding it up would
  // never pass the end; counting by multiples ends.
  Computed c;
  c.renderer.computeAxisValues(1e17, 1e17 + 16);
  EXPECT_FALSE(c.axis->entries().empty());
  EXPECT_LE(c.axis->entries().size(), 20u);
}

// A count of 10^12 (forced or not, on either renderer) computes at most
// the ceiling's values, and a view lays out and draws that many.
TEST(AxisValues, CountsComputeAtMostTheCeiling) {
  constexpr int64_t huge = 1'000'000'000'000;
  for (const bool radar : {false, true}) {
    for (const bool forced : {false, true}) {
      Computed c;
      YAxisRendererRadarChart radarRenderer(c.handler, c.axis, {});
      AxisRendererBase& renderer = radar ? radarRenderer : c.renderer;
      c.axis->setAxisMaxLabels(huge);
      c.axis->setLabelCount(huge, forced);
      EXPECT_EQ(c.axis->labelCount(), huge);
      renderer.computeAxisValues(0, 100);
      const auto& entries = c.axis->entries();
      EXPECT_LE(entries.size(), size_t(AxisBase::maxComputedLabels)) << radar << forced;
      EXPECT_GE(entries.size(), size_t(AxisBase::maxComputedLabels / 2)) << radar << forced;
      if (forced) {
        EXPECT_NEAR(entries.back(), 100, 1e-9) << "spread over the whole range";
      }
    }
  }
  const auto view = LineChartView::create(Rect(0, 0, 600, 400));
  view->leftAxis()->setAxisMaxLabels(huge);
  view->leftAxis()->setLabelCount(huge, true);
  view->setData(std::make_shared<LineChartData>(std::make_shared<LineChartDataSet>(
      std::vector<EntryPtr>{std::make_shared<ChartDataEntry>(0, 0), std::make_shared<ChartDataEntry>(1, 100)})));
  platform::graphics::RecordingContext context;
  view->draw(context);
  EXPECT_EQ(view->leftAxis()->entryCount(), AxisBase::maxComputedLabels);
}

// Centring reads the previous entries: the first computation places no
// shift, the second starts an interval early and adds one entry.
TEST(AxisValues, CentringShiftsOnTheSecondComputation) {
  Computed c;
  c.axis->setCenterAxisLabelsEnabled(true);
  c.renderer.computeAxisValues(0, 100);
  EXPECT_EQ(c.axis->entries(), (std::vector<double>{0, 20, 40, 60, 80, 100}));
  EXPECT_EQ(c.axis->centeredEntries(), (std::vector<double>{10, 30, 50, 70, 90, 110}));
  c.renderer.computeAxisValues(0, 100);
  EXPECT_EQ(c.axis->entries(), stepsFrom(-20, 20, 8));
  EXPECT_EQ(c.axis->centeredEntries(), stepsFrom(-10, 20, 8));

  // Forced: as many centred entries as labels, half the forced interval on.
  c.axis->setLabelCount(3, true);
  c.renderer.computeAxisValues(0, 10);
  EXPECT_EQ(c.axis->centeredEntries(), (std::vector<double>{2.5, 7.5, 12.5}));
  // Centring off leaves the centred list as it was.
  c.axis->setCenterAxisLabelsEnabled(false);
  c.renderer.computeAxisValues(0, 100);
  EXPECT_EQ(c.axis->centeredEntries(), (std::vector<double>{2.5, 7.5, 12.5}));
}

// computeAxis labels only the visible part of a zoomed-in y axis; an
// inverted axis reads its ends the other way round.
TEST(AxisValues, ComputeAxisUsesTheVisibleRange) {
  for (const bool inverted : {false, true}) {
    Computed c;
    c.handler->restrainViewPort(40, 20, 40, 40);
    auto transformer = std::make_shared<Transformer>(c.handler);
    transformer->prepareMatrixValuePx(0, 100, 100, 0);
    transformer->prepareMatrixOffset(inverted);
    AxisRendererBase renderer(c.handler, transformer, c.axis);

    renderer.computeAxis(0, 100, inverted);
    EXPECT_EQ(c.axis->entries(), (std::vector<double>{0, 20, 40, 60, 80, 100})) << "fully zoomed out";

    platform::view::View view;
    c.handler->refresh(c.handler->zoom(1, 2, c.handler->contentWidth() / 2, c.handler->contentHeight() / 2), view,
                       false);
    ASSERT_FALSE(c.handler->isFullyZoomedOutY());
    renderer.computeAxis(0, 100, inverted);
    // The handler keeps the zoomed content within its limits: the half from
    // 0 to 50 shows, so it is labelled every 10.
    EXPECT_EQ(c.axis->entries(), stepsFrom(0, 10, 6)) << "inverted " << inverted;
  }
  // Without a transformer, or with a content 10 points wide or less, the
  // given range is used.
  Computed c;
  c.handler->restrainViewPort(295, 0, 295, 0);
  c.renderer.computeAxis(0, 1, false);
  EXPECT_EQ(c.axis->entries().size(), 6u);
}

// Random ranges of every kind: the computation always returns, labels at
// most about one and a half times the count (plus the ends, and the radar
// axis's extra step), and holds no not-a-number and no negative zero.
// "About": bounds only a few units in the last place apart put the first and
// last multiple of the interval a few units in the last place off, which
// adds up to that many intervals more.
class RandomRanges : public testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(AxisValues, RandomRanges, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Radar" : "Base"; });

TEST_P(RandomRanges, StayBoundedAndClean) {
  const bool radar = GetParam();
  std::mt19937_64 random(20240917);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> kindOf(0, 8), countOf(0, 30), coin(0, 1);
  const auto draw = [&](double near) -> double {
    switch (kindOf(random)) {
      case 0: return unit(random) * 1e-300;                       // tiny
      case 1: return unit(random) * 1e300;                        // huge
      case 2: return unit(random) * 1e-310;                       // subnormal
      case 3: return -std::ldexp(std::abs(unit(random)), 40);     // negative
      case 4: return kNaN;
      case 5: return coin(random) ? kInf : -kInf;
      case 6: return std::nextafter(near, kInf) + std::abs(near) * 1e-15 * std::abs(unit(random));  // a few ulps on
      case 7: return near;                                        // equal
      default: return unit(random) * 1000;                        // ordinary
    }
  };
  for (int i = 0; i < 20000; ++i) {
    Computed c;
    YAxisRendererRadarChart radarRenderer(c.handler, c.axis, {});
    AxisRendererBase& renderer = radar ? radarRenderer : c.renderer;
    c.axis->setAxisMinLabels(1);
    c.axis->setAxisMaxLabels(30);
    const int requested = countOf(random);
    const bool forced = coin(random);
    c.axis->setLabelCount(requested, forced);
    c.axis->setCenterAxisLabelsEnabled(coin(random));
    if (coin(random) && coin(random)) c.axis->setGranularity(std::abs(draw(1)));
    const double a = draw(0);
    const double b = draw(a);
    const double min = coin(random) ? a : b;
    const double max = min == a ? b : a;
    const int64_t labelCount = c.axis->labelCount();
    for (int pass = 0; pass < 2; ++pass) {
      renderer.computeAxisValues(min, max);
      const auto& entries = c.axis->entries();
      const double size = static_cast<double>(entries.size());
      const double largest = std::max(std::abs(min), std::abs(max));
      const double resolution = 4 * (std::nextafter(largest, kInf) - largest);
      const double smallestInterval = std::abs(max - min) / static_cast<double>(labelCount) / 1.5;
      const double bound = 1.5 * static_cast<double>(labelCount) + (radar ? 4 : 3) + resolution / smallestInterval;
      if (!std::isfinite(max - min) || max == min) {
        EXPECT_TRUE(entries.empty()) << min << ".." << max;
      } else if (forced) {
        EXPECT_TRUE(entries.empty() || static_cast<int64_t>(entries.size()) == labelCount) << min << ".." << max;
      } else {
        EXPECT_LE(size, bound) << min << ".." << max << " / " << labelCount;
      }
      for (const double e : entries) {
        EXPECT_FALSE(std::isnan(e)) << min << ".." << max;
        EXPECT_FALSE(e == 0 && std::signbit(e)) << min << ".." << max;
      }
    }
  }
}

TEST(AxisValuesDeathTest, BaseHooksStopWithTheirNames) {
  Computed c;
  platform::graphics::RecordingContext context;
  EXPECT_DEATH(c.renderer.renderAxisLabels(context), "renderAxisLabels\\(\\) cannot be called on AxisRendererBase");
  EXPECT_DEATH(c.renderer.renderGridLines(context), "renderGridLines\\(\\) cannot be called on AxisRendererBase");
  EXPECT_DEATH(c.renderer.renderAxisLine(context), "renderAxisLine\\(\\) cannot be called on AxisRendererBase");
  EXPECT_DEATH(c.renderer.renderLimitLines(context), "renderLimitLines\\(\\) cannot be called on AxisRendererBase");
}

}  // namespace
