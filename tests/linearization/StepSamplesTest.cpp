#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "linearization/MeasurementAverager.h"
#include "linearization/MeasurementData.h"

using linearization::CIELab;
using linearization::MeasurementAverager;
using linearization::StepNames;
using linearization::StepSamples;
using linearization::WedgeLayout;

namespace {

// Each step's samples, each step's sorted.
std::vector<std::vector<double>> bySteps(const StepSamples& samples) {
  std::vector<std::vector<double>> steps;
  for (int64_t k = 0; k < samples.steps(); ++k) {
    steps.emplace_back(samples.L.begin() + samples.starts[k], samples.L.begin() + samples.starts[k + 1]);
    std::sort(steps.back().begin(), steps.back().end());
  }
  return steps;
}

// The samples of each step as the averager took them, under every layout.
TEST(StepSamples, EachStepsSamplesAreKeptUnderEveryLayout) {
  // Step k of `steps` at 95 - 80 k / (steps - 1), its sample s off by a
  // little of its own, so that every sample tells its step and its place.
  const auto sample = [](int steps, int k, int s) { return 95.0 - 80.0 * k / (steps - 1) + 0.1 * s - 0.05 * (k % 3); };
  struct Case {
    std::string name;
    int steps, passes, inRow;
    enum { fileOrder, named, shuffled, backAndForth } order = fileOrder;
    WedgeLayout::Order expected = WedgeLayout::Order::fileOrder;
  };
  const Case cases[] = {
      {"each step's samples together", 21, 1, 3},
      {"pass after pass", 21, 3, 1},
      {"passes of two in a row", 51, 2, 2},
      {"named by RGB values, shuffled", 21, 2, 1, Case::named, WedgeLayout::Order::named},
      {"in no order", 21, 2, 1, Case::shuffled, WedgeLayout::Order::fallingL},
      {"forward, back, forward", 21, 3, 1, Case::backAndForth},
  };
  std::mt19937 shuffler(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<CIELab> readings;
    std::vector<int32_t> stepOf;
    std::vector<std::vector<double>> expected(static_cast<size_t>(c.steps));
    for (int pass = 0; pass < c.passes; ++pass)
      for (int step = 0; step < c.steps; ++step)
        for (int r = 0; r < c.inRow; ++r) {
          const int k = c.order == Case::backAndForth && pass % 2 == 1 ? c.steps - 1 - step : step;
          const double L = sample(c.steps, k, pass * c.inRow + r);
          readings.push_back(CIELab{L, 0.5, 1.5});
          stepOf.push_back(k);
          expected[static_cast<size_t>(k)].push_back(L);
        }
    if (c.order == Case::named || c.order == Case::shuffled) {
      std::vector<size_t> order(readings.size());
      for (size_t i = 0; i < order.size(); ++i) order[i] = i;
      std::shuffle(order.begin(), order.end(), shuffler);
      std::vector<CIELab> shuffledReadings;
      std::vector<int32_t> shuffledSteps;
      for (const size_t i : order) {
        shuffledReadings.push_back(readings[i]);
        shuffledSteps.push_back(stepOf[i]);
      }
      readings = shuffledReadings;
      stepOf = shuffledSteps;
    }
    for (auto& step : expected) std::sort(step.begin(), step.end());
    const StepNames names{stepOf, c.steps, "RGB values", {}};
    const MeasurementAverager averager = c.order == Case::named ? MeasurementAverager(readings, names)
                                                                : MeasurementAverager(readings);
    ASSERT_EQ(averager.layout.steps, c.steps);
    EXPECT_EQ(averager.layout.order, c.expected);
    EXPECT_EQ(bySteps(averager.stepSamples), expected);
  }

  // One reading a step: nothing to show beside the means.
  std::vector<CIELab> once;
  for (int k = 0; k < 21; ++k) once.push_back(CIELab{sample(21, k, 0), 0, 0});
  EXPECT_TRUE(MeasurementAverager(once).stepSamples.empty());
  // A list too long to keep gives none either.
  std::vector<CIELab> many;
  for (int k = 0; k < 100002; ++k) many.push_back(CIELab{95.0 - 90.0 * (k / 3) / 33333, 0, 0});
  const MeasurementAverager tooMany(many);
  EXPECT_EQ(tooMany.layout.mostSamples, 3);
  EXPECT_TRUE(tooMany.stepSamples.empty());
}

}  // namespace
