#include "linearization/MeasurementAverager.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/Fatal.h"

namespace linearization {

MeasurementAverager::MeasurementAverager(std::vector<CIELab> measurements)
    : inputMeasurements(std::move(measurements)) {
  samplesPerStep = chooseStepCount();
  splitLab(inputMeasurements);
  groupSamplesByStep();
  averageBlocks();
  zipAverages();
}

int64_t MeasurementAverager::chooseStepCount() {
  const auto n = static_cast<int64_t>(inputMeasurements.size());
  targetSize = 0;
  // An empty list is divisible by everything but holds no step at all.
  if (n == 0) return 1;
  for (int64_t steps : {21, 51, 86, 101}) {
    if (n % steps == 0) {
      targetSize = steps;
      return n / steps;
    }
  }
  if (n == 256) {
    targetSize = 256;
    return 1;
  }
  // Any other multiple of 128 (a 128-step wedge measured three or five
  // times, a 256-step one twice or three times) is read as 128 steps of
  // n / 128 samples each, so that every reading counts: of a 256-step wedge
  // each step takes two neighbouring steps, from every pass. Taking only the
  // first 128 readings would keep half the wedge (paper white to mid-grey)
  // and a Dmax far too low.
  if (n % 128 == 0) {
    targetSize = 128;
    return n / 128;
  }
  if (n % 129 == 0) {
    targetSize = 129;
    return n / 129;
  }
  return 1;
}

void MeasurementAverager::splitLab(const std::vector<CIELab>& measurements) {
  inputL.clear();
  inputA.clear();
  inputB.clear();
  // Sized once: grown by doubling, three lists of millions of readings would
  // hold up to twice what they need.
  inputL.reserve(measurements.size());
  inputA.reserve(measurements.size());
  inputB.reserve(measurements.size());
  for (const CIELab& reading : measurements) {
    inputL.push_back(reading.L);
    inputA.push_back(reading.a);
    inputB.push_back(reading.b);
  }
}

void MeasurementAverager::zipAverages() {
  for (int64_t k = 0; k < targetSize; ++k) {
    const auto at = static_cast<std::size_t>(k);
    averagedMeasurements.push_back(CIELab{avgLArray[at], avgAArray[at], avgBArray[at]});
  }
}

std::size_t MeasurementAverager::sampleAt(int64_t step, int64_t k, int64_t passes) const {
  // Sample k of a step is sample k % (S / P) of its row in pass k / (S / P).
  const int64_t inRow = samplesPerStep / passes;
  return static_cast<std::size_t>(k / inRow * targetSize * inRow + step * inRow + k % inRow);
}

bool MeasurementAverager::samplesAreAdjacent(const std::vector<double>& lValues) const {
  return layoutScatter(lValues, 1).has_value();
}

std::optional<double> MeasurementAverager::layoutScatter(const std::vector<double>& lValues, int64_t passes) const {
  const int64_t s = samplesPerStep;
  if (targetSize < 1 || s < 1 || passes < 1 || s % passes != 0 ||
      targetSize * s > static_cast<int64_t>(lValues.size()))
    return std::nullopt;
  const auto forEachSample = [&](int64_t step, auto&& use) {
    for (int64_t k = 0; k < s; ++k) use(lValues[sampleAt(step, k, passes)]);
  };
  double scatter = 0.0;
  for (int64_t step = 0; step < targetSize; ++step) {
    double low = lValues[sampleAt(step, 0, passes)], high = low, sum = 0.0;
    bool numbers = true;
    forEachSample(step, [&](double value) {
      numbers = numbers && !std::isnan(value);
      low = std::min(low, value);
      high = std::max(high, value);
      sum += value;
    });
    // Written so that infinite samples fit no layout either.
    if (!numbers || !(high - low < kRepeatSpread)) return std::nullopt;
    const double mean = sum / static_cast<double>(s);
    forEachSample(step, [&](double value) { scatter += (value - mean) * (value - mean); });
  }
  return scatter;
}

int64_t MeasurementAverager::choosePasses() const {
  if (samplesPerStep == 1) return 1;
  // Where neighbouring steps lie closer than repeats may differ (a 256-step
  // wedge read as 128 steps), a wrong layout can fit too: four neighbouring
  // steps of one pass taken as one step, say, where the right layout takes
  // two steps from each of two passes. The right one scatters least. Ties go
  // to the fewest passes, and nothing beats samples that agree exactly.
  int64_t best = 0;
  double least = 0.0;
  for (int64_t passes = 1; passes <= samplesPerStep; ++passes) {
    if (samplesPerStep % passes != 0) continue;
    const std::optional<double> scatter = layoutScatter(inputL, passes);
    if (scatter && (best == 0 || *scatter < least)) {
      best = passes;
      least = *scatter;
    }
    if (best > 0 && least == 0.0) break;
  }
  return best;
}

void MeasurementAverager::groupSamplesByStep() {
  sortedL.clear();
  sortedA.clear();
  sortedB.clear();
  if (targetSize == 0) return;

  if (const int64_t passes = choosePasses(); passes > 0) {
    const auto samples = static_cast<std::size_t>(targetSize * samplesPerStep);
    sortedL.reserve(samples);
    sortedA.reserve(samples);
    sortedB.reserve(samples);
    for (int64_t step = 0; step < targetSize; ++step) {
      for (int64_t k = 0; k < samplesPerStep; ++k) {
        const std::size_t at = sampleAt(step, k, passes);
        sortedL.push_back(inputL[at]);
        sortedA.push_back(inputA[at]);
        sortedB.push_back(inputB[at]);
      }
    }
    return;
  }

  // No layout fits (the rows in no order, or a sample far from the others of
  // its step): the readings in order of falling L* make the steps, each run
  // of `samplesPerStep` readings one step.
  {
    std::vector<CIELab> sorted = inputMeasurements;
    sortByDescendingL(sorted);
    splitLab(sorted);
  }
  sortedL = inputL;
  sortedA = inputA;
  sortedB = inputB;
}

void MeasurementAverager::averageBlocks() {
  avgLArray.clear();
  avgAArray.clear();
  avgBArray.clear();
  for (int64_t step = 0; step < targetSize; ++step) {
    avgLArray.push_back(blockMean(step * samplesPerStep, samplesPerStep, sortedL));
    avgAArray.push_back(blockMean(step * samplesPerStep, samplesPerStep, sortedA));
    avgBArray.push_back(blockMean(step * samplesPerStep, samplesPerStep, sortedB));
  }
}

double blockMean(int64_t start, int64_t count, const std::vector<double>& values) {
  if (start < 0 || count < 0 || count > static_cast<int64_t>(values.size()) - start) {
    platform::fatalError("blockMean: the block lies outside the values");
  }
  double sum = 0.0;
  for (int64_t k = start; k < start + count; ++k) sum += values[static_cast<std::size_t>(k)];
  return sum / static_cast<double>(count);
}

void sortByDescendingL(std::vector<CIELab>& measurements) {
  std::stable_sort(measurements.begin(), measurements.end(), [](const CIELab& x, const CIELab& y) {
    if (std::isnan(x.L)) return false;
    return std::isnan(y.L) || y < x;
  });
}

}  // namespace linearization
