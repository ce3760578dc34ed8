#include "linearization/MeasurementAverager.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/Fatal.h"
#include "platform/text/Text.h"

namespace linearization {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Another layout takes the file from the usual wedge's count only when the
// readings show clearly more noise under that count: by this many standard
// errors. Where the instrument's noise hides the layout, the usual count,
// averaged in place, is the safe reading. The floor (0.01 L*, squared) keeps
// readings written to two decimals from deciding on their rounding alone.
constexpr double kClearlyNoisier = 3.0;
constexpr double kErrorFloor = 1e-4;
// However many readings, a noise is not known closer than this share of it:
// two estimates of one noise from millions of readings differ by more than
// chance alone would give them.
constexpr double kLeastRelativeError = 0.02;

// Squared differences above kOutlierTimes the noise's variance (as the
// middle one suggests it: half of a normal spread's squares lie below
// kMedianOfSquaredNormal of its variance) count as that much, and never
// less than kOutlierFloor (half an L*, squared), so that one smudged sample
// does not decide the layout.
constexpr double kOutlierTimes = 9.0;
constexpr double kMedianOfSquaredNormal = 0.455;
constexpr double kOutlierFloor = 0.25;

// A step whose samples span more than this many times what the samples of
// a step usually span, and more than kScatteredSpan L*, is named in a
// warning.
constexpr double kScatteredTimes = 5.0;
constexpr double kScatteredSpan = 1.0;
constexpr std::size_t kScatteredStepsNamed = 3;

// Where a list of values climbs back toward its start: by more than half
// its range above the lowest value since the last climb (the highest, in a
// list that rises overall). A dip in a wedge is far smaller; a second pass
// over the wedge, or neighbouring steps of one pass taken as one step,
// climbs back all the way.
struct Climbs {
  int64_t count = 0;
  int64_t at = -1;  // the first climb: where, and from and to which value
  double from = 0.0, to = 0.0;
  bool rising = false;  // the list rises overall: it "falls back"
};

template <class Value>
Climbs climbsBack(int64_t n, const Value& value, bool countAll) {
  double first = kNaN, last = kNaN, low = std::numeric_limits<double>::infinity(), high = -low;
  for (int64_t k = 0; k < n; ++k) {
    const double v = value(k);
    if (!std::isfinite(v)) continue;
    if (std::isnan(first)) first = v;
    last = v;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  Climbs climbs;
  if (std::isnan(first)) return climbs;
  climbs.rising = last > first;
  const double sign = climbs.rising ? -1.0 : 1.0;
  const double half = (high - low) / 2;
  double lowest = std::numeric_limits<double>::infinity();
  for (int64_t k = 0; k < n; ++k) {
    const double v = value(k);
    if (!std::isfinite(v)) continue;
    const double oriented = sign * v;
    if (oriented - lowest > half) {
      if (climbs.count++ == 0) {
        climbs.at = k;
        climbs.from = sign * lowest;
        climbs.to = v;
      }
      if (!countAll) return climbs;
      lowest = oriented;
    } else {
      lowest = std::min(lowest, oriented);
    }
  }
  return climbs;
}

// Frees what a list holds (clear() keeps it).
template <class T>
void release(std::vector<T>& list) {
  std::vector<T>().swap(list);
}

std::string plural(int64_t count, const std::string& one, const std::string& many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The order of falling L*: true when `x` comes before `y`. An L* that is not
// a number ranks below every number, so the order stays a strict weak order.
bool lighter(double x, double y) { return !std::isnan(x) && (std::isnan(y) || y < x); }

std::string lightness(double value) { return "L* " + platform::text::fixedDecimal(value, 1); }

// The mean of the first `count` squared differences, each taken at most
// kOutlierTimes what the middle one suggests the noise to be (and never less
// than kOutlierFloor): a smudged sample counts as a noisy one, not as a
// wrong layout, while the noise itself is hardly cut. Reorders the values.
double robustMeanSquare(std::vector<double>& squares, std::size_t count) {
  if (count == 0) return 0.0;
  const auto first = squares.begin();
  const auto middle = first + static_cast<std::ptrdiff_t>(count / 2);
  std::nth_element(first, middle, first + static_cast<std::ptrdiff_t>(count));
  const double cap = std::max(kOutlierFloor, kOutlierTimes * *middle / kMedianOfSquaredNormal);
  double sum = 0.0;
  for (std::size_t k = 0; k < count; ++k) sum += std::min(squares[k], cap);
  return sum / static_cast<double>(count);
}

// No more than robustMeanSquare gives for the same values, whatever their
// middle one (its cap is never below kOutlierFloor), and found without
// reordering them.
double flooredMeanSquare(const std::vector<double>& squares, std::size_t count) {
  if (count == 0) return 0.0;
  double sum = 0.0;
  for (std::size_t k = 0; k < count; ++k) sum += std::min(squares[k], kOutlierFloor);
  return sum / static_cast<double>(count);
}

// A bound from flooredMeanSquare is taken as clearly above a noise only by
// more than the sums' rounding in another order could make up.
constexpr double kRoundingMargin = 1e-6;

// Judges layouts of one list of L* values by the noise each implies: how
// far the samples of one step scatter about their mean, and how far each
// step's mean lies from the line through its two neighbours' (the end
// steps, with a neighbour on one side only, are not judged). Both measure
// the instrument's noise (as a variance) when the layout is right. Taking
// samples of neighbouring steps as one step adds to the first; cutting a
// step in two, or making a step of every other reading, adds to the second
// (the means climb a stair); samples of far-apart steps add to both. The
// two pooled are the layout's noise. Reuses its buffers from one layout to
// the next.
class LayoutJudge {
 public:
  // Sized once for the longest list of squares (the samples of every step
  // but the end ones): grown by doubling, it could hold twice that.
  explicit LayoutJudge(const std::vector<double>& lValues) : values_(lValues), squares_(lValues.size()) {}

  struct Noise {
    double variance;
    double count;  // of the independent differences it is taken from
  };
  // Nothing when the step means climb back (`climbs` tells where). A layout
  // whose noise is bound to lie clearly above `toBeat` is not judged to the
  // end: the noise given is then that bound (still above `toBeat`), which
  // saves the search for the middle square of every sample.
  std::optional<Noise> noise(int64_t steps, int64_t samples, int64_t passes, Climbs& climbs, double toBeat) {
    const auto t = static_cast<std::size_t>(steps);
    const double* means = values_.data();
    if (samples > 1) {
      sums_.assign(t, 0.0);
      counts_.assign(t, 0);
      // A step's samples in a row are added in a register, in the same order.
      const int64_t inRow = samples / passes;
      std::size_t at = 0;
      for (int64_t pass = 0; pass < passes; ++pass)
        for (std::size_t step = 0; step < t; ++step) {
          double sum = sums_[step];
          int32_t count = counts_[step];
          for (int64_t r = 0; r < inRow; ++r) {
            const double v = values_[at++];
            if (!std::isfinite(v)) continue;
            sum += v;
            ++count;
          }
          sums_[step] = sum;
          counts_[step] = count;
        }
      for (std::size_t k = 0; k < t; ++k) sums_[k] = counts_[k] > 0 ? sums_[k] / counts_[k] : kNaN;
      means = sums_.data();
    }
    climbs = climbsBack(steps, [means](int64_t k) { return means[k]; }, false);
    if (climbs.count > 0) return std::nullopt;

    // A mean of S samples off the line through its neighbours' varies by
    // 1.5 / S of the noise; a sample about its own step's mean by (S - 1) / S.
    const auto s = static_cast<double>(samples);
    // Past a few samples a step the means' own noise is small beside the
    // bend of the wedge between neighbouring steps, which scaling by S would
    // blow up: a count of thousands of samples a step would read as noisy.
    const double offLine = static_cast<double>(std::min(samples, kMostSamplesTried)) / 1.5;
    std::size_t count = 0;
    for (int64_t step = 1; step + 1 < steps; ++step) {
      const double off = means[step] - (means[step - 1] + means[step + 1]) / 2;
      if (std::isfinite(off)) squares_[count++] = off * off * offLine;
    }
    const auto clearlyAbove = [toBeat](double variance) { return variance > toBeat * (1.0 + kRoundingMargin); };
    if (samples == 1) {
      const Noise bound{flooredMeanSquare(squares_, count), static_cast<double>(count)};
      if (clearlyAbove(bound.variance)) return bound;
    }
    Noise noise{robustMeanSquare(squares_, count), static_cast<double>(count)};
    if (samples == 1) return noise;
    // The samples of every step but the end ones, in the order they lie.
    count = 0;
    const int64_t inRow = samples / passes;
    const double* value = values_.data();
    for (int64_t pass = 0; pass < passes; ++pass) {
      value += inRow;
      for (int64_t step = 1; step + 1 < steps; ++step) {
        const double mean = means[step];
        for (int64_t r = 0; r < inRow; ++r) {
          const double off = *value++ - mean;
          if (std::isfinite(off)) squares_[count++] = off * off * s / (s - 1.0);
        }
      }
      value += steps > 1 ? inRow : 0;
    }
    // The two pooled, each by the independent differences it holds.
    const double within = static_cast<double>(count) * (s - 1.0) / s;
    if (within > 0.0) {
      const double bound =
          (noise.variance * noise.count + flooredMeanSquare(squares_, count) * within) / (noise.count + within);
      if (clearlyAbove(bound)) return Noise{bound, noise.count + within};
      noise.variance = (noise.variance * noise.count + robustMeanSquare(squares_, count) * within) /
                       (noise.count + within);
      noise.count += within;
    }
    return noise;
  }

 private:
  const std::vector<double>& values_;
  std::vector<double> sums_, squares_;
  std::vector<int32_t> counts_;
};

}  // namespace

WedgeLayout WedgeLayout::oneReadingAStep(int64_t readings) {
  WedgeLayout layout;
  layout.readings = layout.steps = readings;
  layout.fewestSamples = layout.mostSamples = 1;
  return layout;
}

std::string WedgeLayout::description() const {
  const bool sorted = order == Order::fallingL;
  if (mostSamples <= 1 && !sorted) return std::to_string(steps) + " steps";
  std::string text = std::to_string(readings) + ", ";
  if (sorted) text += "taken in order of falling L* as ";
  if (mostSamples <= 1) return text + std::to_string(steps) + " steps";
  text += "a " + std::to_string(steps) + "-step wedge measured ";
  text += fewestSamples == mostSamples ? std::to_string(mostSamples)
                                       : std::to_string(fewestSamples) + " to " + std::to_string(mostSamples);
  text += " times";
  if (order == Order::named) return text + ", each reading's step named by its " + namedBy;
  if (sorted) return text;
  if (passes == 1) return text + ", each step's readings together";
  if (passes == mostSamples) return text + ", pass after pass";
  return text + ", in " + std::to_string(passes) + " passes of " + std::to_string(mostSamples / passes) +
         " readings a step";
}

MeasurementAverager::MeasurementAverager(std::vector<CIELab> measurements)
    : inputMeasurements(std::move(measurements)) {
  // A list of millions of readings is held once at a time: as given, as
  // three lists, grouped by step, averaged.
  splitLab(inputMeasurements);
  release(inputMeasurements);
  findLayout();
  groupSamplesByStep();
  averageGroupedSteps();
}

MeasurementAverager::MeasurementAverager(std::vector<CIELab> measurements, const StepNames& names)
    : inputMeasurements(std::move(measurements)) {
  if (names.stepOf.size() != inputMeasurements.size() || names.steps < 1)
    platform::fatalError("MeasurementAverager: the step names do not match the readings");
  splitLab(inputMeasurements);
  named_ = names.stepOf;
  targetSize = names.steps;
  std::vector<int64_t> counts(static_cast<std::size_t>(names.steps), 0);
  for (const int32_t step : named_) {
    if (step < 0 || step >= names.steps) platform::fatalError("MeasurementAverager: a reading names no step");
    ++counts[static_cast<std::size_t>(step)];
  }
  layout.readings = static_cast<int64_t>(inputMeasurements.size());
  layout.steps = names.steps;
  layout.fewestSamples = *std::min_element(counts.begin(), counts.end());
  layout.mostSamples = *std::max_element(counts.begin(), counts.end());
  layout.order = WedgeLayout::Order::named;
  layout.namedBy = names.namedBy;
  samplesPerStep = layout.mostSamples;
  release(inputMeasurements);
  groupSamplesByStep();
  averageGroupedSteps();
}

void MeasurementAverager::averageGroupedSteps() {
  release(inputL);
  release(inputA);
  release(inputB);
  averageBlocks();
  warnAboutScatteredSteps();
  release(sortedL);
  release(sortedA);
  release(sortedB);
  zipAverages();
}

int64_t MeasurementAverager::chooseStepCount() {
  const auto n = static_cast<int64_t>(inputL.size());
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
  averagedMeasurements.reserve(static_cast<std::size_t>(targetSize));
  for (int64_t k = 0; k < targetSize; ++k) {
    const auto at = static_cast<std::size_t>(k);
    averagedMeasurements.push_back(CIELab{avgLArray[at], avgAArray[at], avgBArray[at]});
  }
}

std::size_t MeasurementAverager::sampleAt(const Candidate& c, int64_t step, int64_t k) {
  // Sample k of a step is sample k % (S / P) of its row in pass k / (S / P).
  const int64_t inRow = c.samples / c.passes;
  return static_cast<std::size_t>(k / inRow * c.steps * inRow + step * inRow + k % inRow);
}

bool MeasurementAverager::samplesAreAdjacent(const std::vector<double>& lValues) const {
  const int64_t s = samplesPerStep;
  if (targetSize < 1 || s < 1 || targetSize * s > static_cast<int64_t>(lValues.size())) return false;
  for (int64_t step = 0; step < targetSize; ++step) {
    const auto first = lValues.begin() + step * s;
    const auto [low, high] = std::minmax_element(first, first + s);
    if (std::any_of(first, first + s, [](double v) { return std::isnan(v); }) || !(*high - *low < kRepeatSpread))
      return false;
  }
  return true;
}

std::optional<MeasurementAverager::Candidate> MeasurementAverager::chooseLayout() {
  const auto n = static_cast<int64_t>(inputL.size());
  const int64_t tableSamples = chooseStepCount();
  const int64_t tableSteps = targetSize;

  // The usual wedge's count first, then from the most samples a step to one.
  std::vector<Candidate> candidates;
  const auto addLayouts = [&](int64_t steps, int64_t samples) {
    for (int64_t passes = 1; passes <= samples; ++passes) {
      if (samples % passes == 0 && (passes <= kMostSamplesTried || samples / passes <= kMostSamplesTried))
        candidates.push_back({steps, samples, passes});
    }
  };
  if (tableSteps > 0) addLayouts(tableSteps, tableSamples);
  const std::size_t tableLayouts = candidates.size();
  for (int64_t samples = std::min(kMostSamplesTried, n); samples >= 1; --samples) {
    const int64_t steps = n / samples;
    const bool usual = steps == tableSteps && samples == tableSamples;
    if (n % samples != 0 || (steps < kFewestSteps && samples > 1) || usual) continue;
    addLayouts(steps, samples);
  }

  LayoutJudge judge(inputL);
  std::optional<Candidate> table, best;
  LayoutJudge::Noise tableNoise{}, bestNoise{};
  for (std::size_t k = 0; k < candidates.size(); ++k) {
    const Candidate& c = candidates[k];
    Climbs climbs;
    // Only the least noise of its kind (the usual count's layouts, or the
    // others) can matter.
    const bool usual = k < tableLayouts;
    const double toBeat = usual ? (table ? tableNoise.variance : kInfinity) : (best ? bestNoise.variance : kInfinity);
    const std::optional<LayoutJudge::Noise> noise = judge.noise(c.steps, c.samples, c.passes, climbs, toBeat);
    if (!noise) continue;
    if (usual) {
      if (!table || noise->variance < tableNoise.variance) table = c, tableNoise = *noise;
    } else if (!best || noise->variance < bestNoise.variance) {
      best = c, bestNoise = *noise;
    }
  }
  if (!table || !best) return table ? table : best;
  // The usual wedge's count keeps the file unless the readings show more
  // noise under it than chance gives: kClearlyNoisier standard errors of the
  // least noise a layout shows.
  const double least = std::max(std::min(tableNoise.variance, bestNoise.variance), kErrorFloor);
  const double standardError =
      least * std::max(std::sqrt(2.0 / std::max(1.0, tableNoise.count)), kLeastRelativeError);
  if (tableNoise.variance - bestNoise.variance > kClearlyNoisier * standardError) return best;
  return table;
}

void MeasurementAverager::findLayout() {
  const auto n = static_cast<int64_t>(inputL.size());
  layout.readings = n;
  chosen_ = Candidate{0, 1, 1};
  targetSize = 0;
  samplesPerStep = 1;
  if (n == 0) return;

  // Fewer readings than the smallest wedge has steps are one reading a step,
  // as listed: there is no layout to choose.
  std::optional<Candidate> found;
  if (n < kFewestSteps) found = Candidate{n, 1, 1};
  if (!found) found = chooseLayout();
  if (!found) {
    const Climbs climbs = climbsBack(n, [this](int64_t k) { return inputL[static_cast<std::size_t>(k)]; }, true);
    // Passes that do not line up climb back once a pass; rows in no order
    // climb back every few readings.
    if ((climbs.count + 1) * kFewestSteps <= n) {
      targetSize = 0;
      refusal = "no wedge layout fits " + std::to_string(n) + " readings: the list " +
                (climbs.rising ? "falls" : "climbs") + " back " + plural(climbs.count, "time", "times") +
                ", first at reading " + std::to_string(climbs.at + 1) + ", from " + lightness(climbs.from) + " to " +
                lightness(climbs.to) +
                "; a file is read as one reading a step or as whole passes over the wedge, each from paper white "
                "to the darkest";
      return;
    }
    takeInOrderOfFallingL();
    // Sorted, the readings of neighbouring steps run into each other and a
    // list of single steps always looks smooth: the usual wedge's count, if
    // the readings have one, is taken as it stands, each run of its samples
    // one step; otherwise the layouts are judged as before.
    const int64_t tableSamples = chooseStepCount();
    if (targetSize > 0) found = Candidate{targetSize, tableSamples, 1};
    if (!found) found = chooseLayout();
    if (!found) found = Candidate{n, 1, 1};
    layout.order = WedgeLayout::Order::fallingL;
    warnings.push_back("the readings follow no wedge layout as listed (the list turns back " +
                       plural(climbs.count, "time", "times") + "); they were taken in order of falling L*");
  }
  chosen_ = *found;
  targetSize = chosen_.steps;
  samplesPerStep = chosen_.samples;
  layout.steps = chosen_.steps;
  layout.fewestSamples = layout.mostSamples = chosen_.samples;
  layout.passes = chosen_.passes;
}

void MeasurementAverager::takeInOrderOfFallingL() {
  // The order sortByDescendingL gives the readings, found from their L*
  // alone (it compares nothing else), each with its place: no copy of the
  // readings is sorted.
  struct Ranked {
    double l;
    std::size_t at;
  };
  std::vector<Ranked> order(inputL.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = {inputL[k], k};
  std::stable_sort(order.begin(), order.end(), [](const Ranked& x, const Ranked& y) { return lighter(x.l, y.l); });
  std::vector<double> values;
  for (std::vector<double>* list : {&inputL, &inputA, &inputB}) {
    values = *list;
    for (std::size_t k = 0; k < order.size(); ++k) (*list)[k] = values[order[k].at];
  }
}

void MeasurementAverager::groupSamplesByStep() {
  sortedL.clear();
  sortedA.clear();
  sortedB.clear();
  stepStarts_.assign(1, 0);
  if (targetSize == 0) return;
  const std::size_t samples = named_.empty() ? static_cast<std::size_t>(targetSize * samplesPerStep) : named_.size();
  sortedL.resize(samples);
  sortedA.resize(samples);
  sortedB.resize(samples);
  const auto put = [this](std::size_t to, std::size_t from) {
    sortedL[to] = inputL[from];
    sortedA[to] = inputA[from];
    sortedB[to] = inputB[from];
  };
  if (named_.empty()) {
    stepStarts_.resize(static_cast<std::size_t>(targetSize) + 1);
    for (std::size_t step = 0; step < stepStarts_.size(); ++step)
      stepStarts_[step] = static_cast<int64_t>(step) * samplesPerStep;
    std::size_t to = 0;
    for (int64_t step = 0; step < targetSize; ++step)
      for (int64_t k = 0; k < samplesPerStep; ++k) put(to++, sampleAt(chosen_, step, k));
    return;
  }
  // Named steps: the samples of each step in reading order, steps in order.
  stepStarts_.assign(static_cast<std::size_t>(targetSize) + 1, 0);
  for (const int32_t step : named_) ++stepStarts_[static_cast<std::size_t>(step) + 1];
  for (std::size_t k = 1; k < stepStarts_.size(); ++k) stepStarts_[k] += stepStarts_[k - 1];
  std::vector<int64_t> next(stepStarts_.begin(), stepStarts_.end() - 1);
  for (std::size_t from = 0; from < named_.size(); ++from)
    put(static_cast<std::size_t>(next[static_cast<std::size_t>(named_[from])]++), from);
}

void MeasurementAverager::averageBlocks() {
  avgLArray.clear();
  avgAArray.clear();
  avgBArray.clear();
  avgLArray.reserve(static_cast<std::size_t>(targetSize));
  avgAArray.reserve(static_cast<std::size_t>(targetSize));
  avgBArray.reserve(static_cast<std::size_t>(targetSize));
  for (int64_t step = 0; step < targetSize; ++step) {
    const int64_t start = stepStarts_[static_cast<std::size_t>(step)];
    const int64_t count = stepStarts_[static_cast<std::size_t>(step) + 1] - start;
    avgLArray.push_back(blockMean(start, count, sortedL));
    avgAArray.push_back(blockMean(start, count, sortedA));
    avgBArray.push_back(blockMean(start, count, sortedB));
  }
}

void MeasurementAverager::warnAboutScatteredSteps() {
  if (samplesPerStep < 2) return;
  std::vector<double> spans;
  spans.reserve(static_cast<std::size_t>(targetSize));
  const auto spanOf = [this](int64_t step) {
    const auto first = sortedL.begin() + stepStarts_[static_cast<std::size_t>(step)];
    const auto last = sortedL.begin() + stepStarts_[static_cast<std::size_t>(step) + 1];
    if (last - first < 2) return kNaN;
    const auto [low, high] = std::minmax_element(first, last);
    return *high - *low;
  };
  for (int64_t step = 0; step < targetSize; ++step)
    if (const double span = spanOf(step); std::isfinite(span)) spans.push_back(span);
  if (spans.empty()) return;
  const auto middle = spans.begin() + static_cast<std::ptrdiff_t>(spans.size() / 2);
  std::nth_element(spans.begin(), middle, spans.end());
  const double limit = std::max(kScatteredSpan, kScatteredTimes * *middle);
  std::size_t scattered = 0;
  for (int64_t step = 0; step < targetSize; ++step) {
    const double span = spanOf(step);
    if (!(std::isfinite(span) && span > limit)) continue;
    if (++scattered > kScatteredStepsNamed) continue;
    const int64_t count = stepStarts_[static_cast<std::size_t>(step) + 1] - stepStarts_[static_cast<std::size_t>(step)];
    warnings.push_back("step " + std::to_string(step + 1) + ": its " + std::to_string(count) + " samples span " +
                       platform::text::fixedDecimal(span, 1) + " L*; a reading may be bad");
  }
  if (scattered > kScatteredStepsNamed)
    warnings.push_back(std::to_string(scattered - kScatteredStepsNamed) +
                       " more steps' samples span far more than the others' do");
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
  std::stable_sort(measurements.begin(), measurements.end(),
                   [](const CIELab& x, const CIELab& y) { return lighter(x.L, y.L); });
}

}  // namespace linearization
