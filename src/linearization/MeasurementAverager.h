#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linearization/CIELab.h"
#include "linearization/WedgeLayout.h"
#include "linearization/WedgeLayoutFinder.h"

namespace linearization {

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
  MeasurementAverager(const MeasurementAverager&) = delete;
  MeasurementAverager& operator=(const MeasurementAverager&) = delete;

  int64_t targetSize = 0;      // steps of the wedge; 0 when nothing is read
  int64_t samplesPerStep = 0;  // samples of each step (the most, for named steps)
  // One reading a step, paper white first; a step whose every reading was
  // left out has none.
  std::vector<CIELab> averagedMeasurements;

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
  // The readings left out of the means: smudged single readings, samples
  // far from the others of their step. The reader names their lines.
  std::vector<LeftOut> leftOut;
  // Why nothing was read; empty when the readings were read. `refusalKind`
  // tells a question (two readings fit) or a usage error from a refusal, and
  // `blame` is the reading (counted from 0) it names, if any.
  std::string refusal;
  LayoutDecision::Kind refusalKind = LayoutDecision::Kind::refuse;
  std::optional<int64_t> blame;
  // The ways to read the readings that `refusal` offers.
  std::vector<LayoutChoice> choices;

 private:
  void splitLab(const std::vector<CIELab>& measurements);
  void findLayout(const LayoutRequest& request);
  // Fills the sorted lists from the chosen layout.
  void groupSamplesByStep();
  // Sets aside, in a step of three samples or more, a sample that lies
  // far beyond the instrument's noise from the step's others.
  void setAsideStraySamples();
  // Empties the split lists, averages the grouped ones, warns about
  // scattered steps, empties the grouped lists and zips the averages.
  void averageGroupedSteps();
  void averageBlocks();
  void warnAboutScatteredSteps();
  void zipAverages();
  // The reading (counted from 0, in the list given) of sample `k` of `step`.
  int64_t readingOf(int64_t step, int64_t k) const;

  std::vector<double> inputL, inputA, inputB;
  std::vector<double> sortedL, sortedA, sortedB;  // samples of each step together, step after step
  std::vector<double> avgLArray, avgAArray, avgBArray;
  std::vector<int64_t> stepStarts_;  // where each step begins in the sorted lists, and the end
  std::vector<int32_t> named_;       // for named steps, each reading's step
  std::vector<int64_t> fallingOrder_;  // for readings taken in order of falling L*, the reading at each place
  std::vector<std::size_t> setAside_;  // places in the sorted lists left out of the means, rising
  std::vector<int64_t> emptied_;        // steps whose every sample was left out, rising
};

// Mean of `count` values from `start`, added in order from the first.
double blockMean(int64_t start, int64_t count, const std::vector<double>& values);

// Stable sort by L* from the highest (paper white) to the lowest. A reading
// whose L* is not a number ranks below every number, so the order stays a
// strict weak order and the result is deterministic.
void sortByDescendingL(std::vector<CIELab>& measurements);

}  // namespace linearization
