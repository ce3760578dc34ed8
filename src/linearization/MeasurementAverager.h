#pragma once

#include <cstdint>
#include <vector>

#include "linearization/CIELab.h"

namespace linearization {

// Turns repeated samples of a printed step wedge into one reading per step.
// It decides from the number of readings how many steps the wedge has and
// how many samples each step got, finds out whether the samples of a step
// lie together (step after step) or are spread over passes (the whole wedge
// once, then again), brings them together and averages L*, a* and b* of each
// step separately. Everything happens in the constructor; the caller then
// reads `averagedMeasurements`.
//
// A count that fits none of the layouts (22 readings, say) gives no readings;
// the caller decides what that means.
class MeasurementAverager {
 public:
  explicit MeasurementAverager(std::vector<CIELab> measurements);
  virtual ~MeasurementAverager() = default;

  std::vector<CIELab> inputMeasurements;
  int64_t targetSize = 0;      // steps of the wedge; 0 when no layout fits
  int64_t samplesPerStep = 0;  // samples of each step
  int64_t i = 0;               // kept at 0; nothing reads them
  int64_t j = 0;
  std::vector<CIELab> averagedMeasurements;
  std::vector<double> inputL, inputA, inputB;
  std::vector<double> sortedL, sortedA, sortedB;  // samples of each step together, step after step
  std::vector<double> avgLArray, avgAArray, avgBArray;

  // Sets `targetSize` and returns the samples per step.
  virtual int64_t chooseStepCount();
  virtual void splitLab(const std::vector<CIELab>& measurements);
  virtual void zipAverages();
  virtual void groupSamplesByStep();
  // True when the samples of a step lie next to each other: the mean of the
  // window of `samplesPerStep` values about the middle of the wedge lies less
  // than 1.0 L* from the window's first value.
  virtual bool samplesAreAdjacent(const std::vector<double>& lValues) const;
  virtual void averageBlocks();
};

// Mean of `count` values from `start`, added in order from the first.
double blockMean(int64_t start, int64_t count, const std::vector<double>& values);

// Stable sort by L* from the highest (paper white) to the lowest. A reading
// whose L* is not a number ranks below every number, so the order stays a
// strict weak order and the result is deterministic.
void sortByDescendingL(std::vector<CIELab>& measurements);

}  // namespace linearization
