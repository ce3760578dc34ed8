#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linearization/CIELab.h"

namespace linearization {

// Samples of one step that lie this far apart in L*, or further, are not
// repeats of one patch (samplesAreAdjacent).
inline constexpr double kRepeatSpread = 2.0;

// The steps a file names itself, by the device values of its patches (RGB_R,
// RGB_G and RGB_B, or GRAY_K): the readings with the same values are the
// samples of one step, whatever the instrument's noise.
struct StepNames {
  std::vector<int32_t> stepOf;  // for each reading, its step, 0 (paper white) first
  int64_t steps = 0;
  std::string namedBy;  // "RGB values", "GRAY_K value"
};

// How a list of readings was taken as the steps of a wedge.
struct WedgeLayout {
  enum class Order {
    fileOrder,  // the readings as listed, in `passes` passes
    named,      // grouped by the steps the file names
    fallingL,   // the list follows no layout: taken in order of falling L*
  };
  int64_t readings = 0;
  int64_t steps = 0;
  int64_t fewestSamples = 0;  // samples of a step; fewest and most differ only
  int64_t mostSamples = 0;    // where the file names its steps
  // In file order: the list is `passes` passes over the wedge, each holding
  // every step mostSamples / passes times in a row.
  int64_t passes = 1;
  Order order = Order::fileOrder;
  std::string namedBy;

  // `readings` readings, one a step, in file order.
  static WedgeLayout oneReadingAStep(int64_t readings);

  // What the summary line says of the readings: "21 steps" for one reading a
  // step in file order; otherwise the count and the layout, "258, a 129-step
  // wedge measured 2 times, pass after pass".
  std::string description() const;
};

// The fewest steps a wedge of repeated readings is taken to have.
inline constexpr int64_t kFewestSteps = 11;

// The most samples a step is tried with when the readings are not of a usual
// wedge size; the usual sizes are tried with as many as their count gives.
inline constexpr int64_t kMostSamplesTried = 12;

// Turns repeated samples of a printed step wedge into one reading per step.
//
// Where the file names each reading's step (StepNames), those are the steps.
// Otherwise the step count and the layout are found from the readings: every
// count T of kFewestSteps steps or more with T x S readings (S up to
// kMostSamplesTried, and the count the usual wedge sizes suggest,
// chooseStepCount) is tried with every layout of its samples (together, step
// after step; S passes over the wedge; or passes that each hold every step a
// few times in a row). A layout whose step means climb back toward paper
// white by more than half their range reads the list wrongly (a mid-tone dip
// is far smaller). Each of the others implies a noise: how far the samples
// of a step scatter, and how far each step's mean lies off the line through
// its neighbours'. The right layout implies the instrument's noise alone;
// samples of different steps taken as one, or one step cut in two, imply
// more. The layout that implies the least wins, except that the usual
// wedge's count keeps the file unless it implies clearly more than chance
// gives: a wedge whose noise hides its layout is then read as that count,
// averaged in place, which only smooths, and every file of one reading a
// step of the usual sizes reads as it is. No fixed L* threshold decides, and
// one smudged sample does not either.
//
// Readings that no layout explains are taken in order of falling L* when
// they climb back toward paper white all over (rows in no order), with a
// warning; when they climb back only a few times (passes that do not line
// up, one missing a patch) nothing is read and `refusal` says why. A list of
// fewer than kFewestSteps readings is one reading a step, as listed.
//
// Everything happens in the constructor; the caller then reads
// `averagedMeasurements`, `layout`, `warnings` and `refusal`. The lists it
// works on (the readings as given, split and grouped by step) are emptied as
// soon as they are used, so that a long list is not held several times.
class MeasurementAverager {
 public:
  explicit MeasurementAverager(std::vector<CIELab> measurements);
  MeasurementAverager(std::vector<CIELab> measurements, const StepNames& names);
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
  // A step whose samples disagree far more than the others' do; the readings
  // sorted by L*.
  std::vector<std::string> warnings;
  // Why nothing was read; empty when the readings were read.
  std::string refusal;

  // The count the usual wedge sizes suggest: sets `targetSize` (0 when none
  // fits) and returns the samples per step.
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
  struct Candidate {
    int64_t steps, samples, passes;
  };
  void findLayout();
  // Reorders the split readings by falling L*, as sortByDescendingL would.
  void takeInOrderOfFallingL();
  // Empties the split lists, averages the grouped ones, warns about
  // scattered steps, empties the grouped lists and zips the averages.
  void averageGroupedSteps();
  std::optional<Candidate> chooseLayout();
  // Where sample k of `step` lies in the readings under `c`.
  static std::size_t sampleAt(const Candidate& c, int64_t step, int64_t k);
  void warnAboutScatteredSteps();

  Candidate chosen_{0, 1, 1};
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
