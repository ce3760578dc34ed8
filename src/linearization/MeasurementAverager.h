#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "linearization/CIELab.h"

namespace linearization {

// Samples that lie this far apart in L*, or further, are not repeats of one
// patch: a layout that would make them one step does not fit. Repeats of a
// patch agree far better; the steps of a wedge lie further apart, or, where
// neighbouring steps come closer (a 256-step wedge), the layout that pairs
// them scatters more than the right one.
inline constexpr double kRepeatSpread = 2.0;

// Turns repeated samples of a printed step wedge into one reading per step.
// It decides from the number of readings how many steps the wedge has and
// how many samples each step got, finds out how the samples of a step lie in
// the list (together, step after step; spread over passes, the whole wedge
// once, then again; or both, each pass measuring every step a few times in a
// row), brings them together and averages L*, a* and b* of each step
// separately. Everything happens in the constructor; the caller then reads
// `averagedMeasurements`.
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
  // True when the samples of every step lie next to each other in
  // `lValues`, step after step: read so, the samples of each step lie less
  // than kRepeatSpread apart.
  virtual bool samplesAreAdjacent(const std::vector<double>& lValues) const;
  // The layout of the readings as a number of passes P, a divisor of the
  // samples per step S: the list falls into P passes of equal length, each
  // measuring every step in order, S / P times in a row. 1 is the samples of
  // each step together, S the whole wedge measured S times. Judged over the
  // whole list: of the layouts under which the samples of every step lie
  // less than kRepeatSpread apart, the one whose steps scatter least; 0 when
  // none does.
  virtual int64_t choosePasses() const;
  // How far the samples of the steps scatter about their means (the sum of
  // the squared differences, in L*) when `lValues` are read as `passes`
  // passes; nothing when the samples of some step lie kRepeatSpread or more
  // apart, or one of them is not a number.
  std::optional<double> layoutScatter(const std::vector<double>& lValues, int64_t passes) const;
  virtual void averageBlocks();
  // Where sample k of `step` lies in the readings when they are `passes`
  // passes.
  std::size_t sampleAt(int64_t step, int64_t k, int64_t passes) const;
};

// Mean of `count` values from `start`, added in order from the first.
double blockMean(int64_t start, int64_t count, const std::vector<double>& values);

// Stable sort by L* from the highest (paper white) to the lowest. A reading
// whose L* is not a number ranks below every number, so the order stays a
// strict weak order and the result is deterministic.
void sortByDescendingL(std::vector<CIELab>& measurements);

}  // namespace linearization
