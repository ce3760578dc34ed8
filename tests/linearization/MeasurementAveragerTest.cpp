#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ReadingFixtures.h"
#include "linearization/MeasurementAverager.h"

using linearization::CIELab;
using linearization::MeasurementAverager;

namespace {

std::vector<CIELab> distinctReadings(int count) {
  std::vector<CIELab> readings;
  for (int k = 0; k < count; ++k) readings.push_back(CIELab{50.0, 0.01 * k, -0.02 * k});
  return readings;
}

void expectNear(const std::vector<CIELab>& actual, const std::vector<CIELab>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t k = 0; k < actual.size(); ++k) {
    EXPECT_NEAR(actual[k].L, expected[k].L, 1e-12) << k;
    EXPECT_NEAR(actual[k].a, expected[k].a, 1e-12) << k;
    EXPECT_NEAR(actual[k].b, expected[k].b, 1e-12) << k;
  }
}

}  // namespace

TEST(MeasurementAverager, StepCountsAndSamplesPerStepByNumberOfReadings) {
  struct Case {
    int readings, steps, samples;
  };
  // Readings that show nothing (one L* for all): the usual wedge's count
  // (the most steps where several fit), else the most samples a step of 11
  // steps or more.
  const Case cases[] = {{42, 21, 2},   {63, 21, 3},   {102, 51, 2}, {153, 51, 3},  {172, 86, 2},
                        {202, 101, 2}, {258, 129, 2},  {387, 129, 3}, {1071, 51, 21}, {256, 256, 1},
                        {128, 128, 1}, {512, 256, 2}, {768, 256, 3}, {22, 11, 2},  {33, 11, 3},
                        {44, 11, 4},   {7, 7, 1},     {0, 0, 1}};
  for (const Case& c : cases) {
    const std::vector<CIELab> input = distinctReadings(c.readings);
    const MeasurementAverager averager(input);
    EXPECT_EQ(averager.targetSize, c.steps) << c.readings;
    EXPECT_EQ(averager.samplesPerStep, c.samples) << c.readings;
    ASSERT_EQ(averager.averagedMeasurements.size(), static_cast<std::size_t>(c.steps)) << c.readings;
    if (c.samples == 1) {
      // One sample per step: the first `steps` readings come out as they are.
      EXPECT_EQ(averager.averagedMeasurements, std::vector<CIELab>(input.begin(), input.begin() + c.steps));
    }
  }
}

TEST(MeasurementAverager, AveragesAdjacentInterleavedAndUnorderedLayouts) {
  const std::vector<CIELab> steps = fixtures::wedge(21);
  const CIELab offset{0.4, 0.2, -0.6};  // second sample of each step; a* and b* move apart

  std::vector<CIELab> adjacent;
  std::vector<CIELab> passes(42);
  std::vector<CIELab> expected;
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const CIELab second{steps[k].L + offset.L, steps[k].a + offset.a, steps[k].b + offset.b};
    adjacent.push_back(steps[k]);
    adjacent.push_back(second);
    passes[k] = steps[k];
    passes[k + 21] = second;
    expected.push_back(CIELab{(steps[k].L + second.L) / 2, (steps[k].a + second.a) / 2, (steps[k].b + second.b) / 2});
  }
  expectNear(MeasurementAverager(adjacent).averagedMeasurements, expected);
  expectNear(MeasurementAverager(passes).averagedMeasurements, expected);

  // Step 10's samples 2.0 apart: neither layout test holds, so the readings
  // are taken in order of falling L* and averaged in pairs.
  std::vector<CIELab> unordered = fixtures::wedge(21, 2);
  unordered[21].L = unordered[20].L + 2.0;
  const MeasurementAverager fallback(unordered);
  ASSERT_EQ(fallback.averagedMeasurements.size(), 21u);
  EXPECT_EQ(fallback.averagedMeasurements[10].L, unordered[20].L + 1.0);
  for (std::size_t k = 1; k < 21; ++k) {
    EXPECT_GT(fallback.averagedMeasurements[k - 1].L, fallback.averagedMeasurements[k].L);
  }
}

TEST(MeasurementAverager, JudgesTheLayoutOverTheWholeList) {
  // A wedge (with or without a dip) measured in `passes` passes, each step
  // `inRow` times in a row, every reading off by up to `noise` L*. By hand,
  // each step is the mean of its samples.
  struct Case {
    int steps, passes, inRow;
    bool dip;
    double noise;
  };
  const Case cases[] = {
      {21, 1, 2, true, 0.4},  {21, 3, 1, true, 0.4},   {21, 2, 2, false, 0.4}, {86, 1, 2, true, 0},
      {86, 2, 1, true, 0},    {101, 3, 1, false, 0.3}, {129, 3, 1, false, 0},  {128, 5, 1, true, 0.4},
      {256, 2, 1, false, 0.1}, {256, 3, 1, true, 0.1}, {256, 1, 2, true, 0.1},
  };
  for (const Case& c : cases) {
    std::vector<CIELab> readings, expected(c.steps);
    const double share = static_cast<double>(expected.size()) / (c.steps * c.passes * c.inRow);
    for (int pass = 0; pass < c.passes; ++pass)
      for (int k = 0; k < c.steps; ++k)
        for (int r = 0; r < c.inRow; ++r) {
          const double off = c.noise * ((static_cast<int>(readings.size()) * 37 % 11) / 5.0 - 1.0);
          readings.push_back(CIELab{fixtures::stepLightness(c.steps, k, c.dip) + off, 0.1 * k + off, -off});
          CIELab& e = expected[k * expected.size() / c.steps];
          e = CIELab{e.L + share * readings.back().L, e.a + share * readings.back().a, e.b + share * readings.back().b};
        }
    SCOPED_TRACE(std::to_string(c.steps) + " steps, " + std::to_string(c.passes) + " passes");
    expectNear(MeasurementAverager(readings).averagedMeasurements, expected);
  }
}

TEST(MeasurementAverager, SortByDescendingLIsStableAndRanksNaNLast) {
  const double nan = std::nan("");
  std::vector<CIELab> readings{{50, 1, 0}, {60, 2, 0}, {nan, 3, 0}, {50, 4, 0}, {70, 5, 0}, {nan, 6, 0}};
  linearization::sortByDescendingL(readings);
  std::vector<double> order;
  for (const CIELab& r : readings) order.push_back(r.a);
  EXPECT_EQ(order, (std::vector<double>{5, 2, 1, 4, 3, 6}));

  // Two samples lost to NaN (the second of steps 2 and 10) leave the
  // layout to the others; those two steps' means are not numbers.
  std::vector<CIELab> withNaN = fixtures::wedge(21, 2);
  withNaN[5].L = nan;
  withNaN[21].L = nan;
  const auto averaged = MeasurementAverager(withNaN).averagedMeasurements;
  ASSERT_EQ(averaged.size(), 21u);
  for (int step = 0; step < 21; ++step) {
    if (step == 2 || step == 10)
      EXPECT_TRUE(std::isnan(averaged[step].L)) << step;
    else
      EXPECT_NEAR(averaged[step].L, 95.0 - 90.0 * step / 20, 1e-12) << step;
  }
  EXPECT_EQ(averaged[10].a, (withNaN[20].a + withNaN[21].a) / 2);
}
