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
  // Any other multiple of 128 (a 256-step wedge measured twice, a 128-step
  // one three times) is read as 128 steps of n / 128 samples each: every
  // reading counts, and a wedge measured pass after pass that fits no layout
  // is sorted by L* before it is grouped. Taking only the first 128 readings
  // would keep half the wedge (paper white to mid-grey) and a Dmax far too low.
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

bool MeasurementAverager::samplesAreAdjacent(const std::vector<double>& lValues) const {
  const int64_t s = samplesPerStep;
  const auto n = static_cast<int64_t>(inputMeasurements.size());
  const int64_t start = n / 2 - s / 2;
  // A window that does not fit the list leaves nothing to test.
  if (s < 1 || start < 0 || start + s > static_cast<int64_t>(lValues.size())) return true;
  const double mean = blockMean(start, s, lValues);
  return std::abs(mean - lValues[static_cast<std::size_t>(start)]) < 1.0;
}

void MeasurementAverager::groupSamplesByStep() {
  sortedL.clear();
  sortedA.clear();
  sortedB.clear();
  if (targetSize == 0) return;

  if (samplesAreAdjacent(inputL)) {
    sortedL = inputL;
    sortedA = inputA;
    sortedB = inputB;
    return;
  }

  // Taken as interleaved passes: sample j of step k is reading k + j * T.
  const auto samples = static_cast<std::size_t>(targetSize * samplesPerStep);
  sortedL.reserve(samples);
  sortedA.reserve(samples);
  sortedB.reserve(samples);
  for (int64_t step = 0; step < targetSize; ++step) {
    for (int64_t sample = 0; sample < samplesPerStep; ++sample) {
      const auto at = static_cast<std::size_t>(step + sample * targetSize);
      sortedL.push_back(inputL[at]);
      sortedA.push_back(inputA[at]);
      sortedB.push_back(inputB[at]);
    }
  }
  if (samplesAreAdjacent(sortedL)) return;

  // Neither layout fits: the readings in order of falling L* make the steps,
  // each run of `samplesPerStep` readings one step. The lists of the layout
  // that did not fit go before the readings are copied and sorted.
  for (std::vector<double>* list : {&sortedL, &sortedA, &sortedB}) std::vector<double>().swap(*list);
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
