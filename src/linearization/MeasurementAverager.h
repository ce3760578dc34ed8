#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linearization/CIELab.h"
#include "linearization/WedgeLayout.h"
#include "linearization/WedgeLayoutFinder.h"

namespace linearization {

// Samples of one step that lie this far apart in L*, or further, are not
// repeats of one patch (samplesAreAdjacent).
inline constexpr double kRepeatSpread = 2.0;

// The L* of each step's samples, as they were averaged into the step's
// mean: step k's samples are L[starts[k]] up to (not including)
// L[starts[k + 1]]. For a graph that shows how far a step's samples scatter
// about its mean. Empty (no starts) where every step is one reading, and
// where the list was too long to keep.
struct StepSamples {
  std::vector<double> L;
  std::vector<int64_t> starts;  // one a step, and the end

  bool empty() const { return starts.empty(); }
  int64_t steps() const { return starts.empty() ? 0 : static_cast<int64_t>(starts.size()) - 1; }
};

// The most readings whose samples are kept: far more than any wedge is
// measured with, and few enough that keeping them costs little.
inline constexpr std::size_t kMostSamplesKept = 100000;

// Turns repeated samples of a printed step wedge into one reading per step.
//
// Where the file names each reading's step (StepNames), those are the steps.
// Otherwise decideLayout finds them from the readings (or takes the layout
// the user gave): how many steps, how their samples lie in the list, and
// which passes list the wedge from the dark end; or it asks which of two
// readings is meant, or refuses, and `refusal` says why. The averager then
// groups each step's samples and averages them, and names a step whose
// samples disagree far more than the others' do.
//
// Everything happens in the constructor; the caller then reads
// `averagedMeasurements`, `layout`, `warnings` and `refusal`. The lists it
// works on (the readings as given, split and grouped by step) are emptied as
// soon as they are used, so that a long list is not held several times.
class MeasurementAverager {
 public:
  explicit MeasurementAverager(std::vector<CIELab> measurements, const LayoutRequest& request = {});
  // A request that names another step count than the file is a usage error.
  MeasurementAverager(std::vector<CIELab> measurements, const StepNames& names, const LayoutRequest& request = {});
  virtual ~MeasurementAverager() = default;

  std::vector<CIELab> inputMeasurements;
  int64_t targetSize = 0;      // steps of the wedge; 0 when nothing is read
  int64_t samplesPerStep = 0;  // samples of each step (the most, for named steps)
  int64_t i = 0;               // kept at 0; nothing reads them
  int64_t j = 0;
  std::vector<CIELab> averagedMeasurements;
  std::vector<double> inputL, inputA, inputB;
  std::vector<double> sortedL, sortedA, sortedB;  // samples of each step together, step after step
  std::vector<double> avgLArray, avgAArray, avgBArray;

  WedgeLayout layout;
  // Where each averaged step lies between paper white (0) and the darkest
  // step (1); empty where the steps lie evenly.
  std::vector<double> positions;
  // Each step's samples, where some step has several and the list holds at
  // most kMostSamplesKept readings.
  StepSamples stepSamples;
  // A step whose samples disagree far more than the others' do; the readings
  // sorted by L*.
  std::vector<std::string> warnings;
  // Why nothing was read; empty when the readings were read. `refusalKind`
  // tells a question (two readings fit) or a usage error from a refusal, and
  // `blame` is the reading (counted from 0) it names, if any.
  std::string refusal;
  LayoutDecision::Kind refusalKind = LayoutDecision::Kind::refuse;
  std::optional<int64_t> blame;

  // The count the wedge sizes of the original rule suggest: sets
  // `targetSize` (0 when none fits) and returns the samples per step. The
  // layout is found by decideLayout; nothing here goes by it.
  virtual int64_t chooseStepCount();
  virtual void splitLab(const std::vector<CIELab>& measurements);
  virtual void zipAverages();
  // Fills the sorted lists from the chosen layout.
  virtual void groupSamplesByStep();
  // True when the samples of every step lie next to each other in `lValues`,
  // step after step, less than kRepeatSpread apart.
  virtual bool samplesAreAdjacent(const std::vector<double>& lValues) const;
  virtual void averageBlocks();

 private:
  void findLayout(const LayoutRequest& request);
  // Empties the split lists, averages the grouped ones, warns about
  // scattered steps, empties the grouped lists and zips the averages.
  void averageGroupedSteps();
  void warnAboutScatteredSteps();

  std::vector<int64_t> stepStarts_;  // where each step begins in the sorted lists, and the end
  std::vector<int32_t> named_;       // for named steps, each reading's step
};

// Mean of `count` values from `start`, added in order from the first.
double blockMean(int64_t start, int64_t count, const std::vector<double>& values);

// Stable sort by L* from the highest (paper white) to the lowest. A reading
// whose L* is not a number ranks below every number, so the order stays a
// strict weak order and the result is deterministic.
void sortByDescendingL(std::vector<CIELab>& measurements);

}  // namespace linearization
