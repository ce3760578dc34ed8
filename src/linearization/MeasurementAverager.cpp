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

// A step whose samples span more than this many times what the samples of
// a step usually span, and more than kScatteredSpan L*, is named in a
// warning.
constexpr double kScatteredTimes = 5.0;
constexpr double kScatteredSpan = 1.0;
constexpr std::size_t kScatteredStepsNamed = 3;

// A sample of a step of three or more that lies more than this many times
// the instrument's noise (of the difference between it and the mean of the
// others) from the others, which agree among themselves within it, and more
// than kScatteredSpan L*, is set aside ("stray sample" rows).
constexpr double kStrayNoiseTimes = 6.0;
// L*: no noise is taken to be smaller than this, the rounding of readings
// written to two decimals.
constexpr double kNoiseFloor = 0.01;
// A normal spread's standard deviation is this many times the median of its
// absolute values.
constexpr double kMedianToSigma = 1.4826;
// Pairs of samples: the noise is judged on at most this many.
constexpr std::size_t kNoisePairs = 4096;
// Samples of a step: the noise is judged on the pairs of at most this many.
constexpr int64_t kNoiseSamples = 12;

// Frees what a list holds (clear() keeps it).
template <class T>
void release(std::vector<T>& list) {
  std::vector<T>().swap(list);
}

std::string fixed(double value, int decimals) { return platform::text::fixedDecimal(value, decimals); }

}  // namespace

MeasurementAverager::MeasurementAverager(std::vector<CIELab> measurements, const LayoutRequest& request) {
  // A list of millions of readings is held once at a time: as given, as
  // three lists, grouped by step, averaged.
  splitLab(measurements);
  release(measurements);
  findLayout(request);
  groupSamplesByStep();
  averageGroupedSteps();
}

MeasurementAverager::MeasurementAverager(std::vector<CIELab> measurements, const StepNames& names,
                                         const LayoutRequest& request) {
  if (names.stepOf.size() != measurements.size() || names.steps < 1)
    platform::fatalError("MeasurementAverager: the step names do not match the readings");
  if (request.steps && *request.steps != names.steps) {
    const bool plural = names.namedBy.ends_with("s");
    refusal = "`--steps " + std::to_string(*request.steps) + "` disagrees with the file: its " + names.namedBy +
              (plural ? "" : "s") + " name " + std::to_string(names.steps) + " steps";
    refusalKind = LayoutDecision::Kind::usage;
    return;
  }
  splitLab(measurements);
  named_ = names.stepOf;
  targetSize = names.steps;
  std::vector<int64_t> counts(static_cast<std::size_t>(names.steps), 0);
  for (const int32_t step : named_) {
    if (step < 0 || step >= names.steps) platform::fatalError("MeasurementAverager: a reading names no step");
    ++counts[static_cast<std::size_t>(step)];
  }
  layout.readings = static_cast<int64_t>(measurements.size());
  layout.steps = names.steps;
  layout.fewestSamples = *std::min_element(counts.begin(), counts.end());
  layout.mostSamples = *std::max_element(counts.begin(), counts.end());
  layout.order = WedgeLayout::Order::named;
  layout.namedBy = names.namedBy;
  layout.placedAtLabels = !names.positions.empty();
  positions = names.positions;
  samplesPerStep = std::max<int64_t>(1, layout.mostSamples);
  release(measurements);
  groupSamplesByStep();
  // One reading a step: a smudged one sticks out of its neighbours.
  if (layout.mostSamples == 1) {
    for (LeftOut& out : smudgedReadings(sortedL, "step")) {
      setAside_.push_back(static_cast<std::size_t>(out.reading));
      out.step = out.reading;
      out.reading = readingOf(out.reading, 0);
      leftOut.push_back(std::move(out));
    }
    layout.leftOut = static_cast<int64_t>(leftOut.size());
  }
  averageGroupedSteps();
}

void MeasurementAverager::averageGroupedSteps() {
  release(inputL);
  release(inputA);
  release(inputB);
  setAsideStraySamples();
  averageBlocks();
  warnAboutScatteredSteps();
  if (samplesPerStep > 1 && sortedL.size() <= kMostSamplesKept) {
    stepSamples.L = sortedL;
    stepSamples.starts = stepStarts_;
  }
  release(sortedL);
  release(sortedA);
  release(sortedB);
  zipAverages();
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
  // Where each reading left out lies on the input axis, as its step does.
  for (LeftOut& out : leftOut) {
    if (out.step < 0 || out.step >= targetSize) continue;
    const auto at = static_cast<std::size_t>(out.step);
    out.position = positions.size() == static_cast<std::size_t>(targetSize)
                       ? positions[at]
                       : static_cast<double>(out.step) / static_cast<double>(std::max<int64_t>(1, targetSize - 1));
  }
  // A step whose every reading was left out has no mean: it is dropped, and
  // the others keep their places on the input axis.
  const bool gaps = !emptied_.empty();
  averagedMeasurements.reserve(static_cast<std::size_t>(targetSize));
  std::vector<double> kept;
  auto next = emptied_.begin();
  for (int64_t k = 0; k < targetSize; ++k) {
    const auto at = static_cast<std::size_t>(k);
    if (next != emptied_.end() && *next == k) {
      ++next;
      continue;
    }
    averagedMeasurements.push_back(CIELab{avgLArray[at], avgAArray[at], avgBArray[at]});
    if (gaps)
      kept.push_back(positions.empty() ? static_cast<double>(k) / static_cast<double>(std::max<int64_t>(1, targetSize - 1))
                                       : positions[at]);
  }
  if (gaps) positions = std::move(kept);
}

void MeasurementAverager::findLayout(const LayoutRequest& request) {
  // Which readings repeat the one before them in every field: a line read
  // twice.
  std::vector<bool> sameLine(inputL.size(), false);
  for (std::size_t k = 1; k < inputL.size(); ++k)
    sameLine[k] = inputL[k] == inputL[k - 1] && inputA[k] == inputA[k - 1] && inputB[k] == inputB[k - 1];
  LayoutDecision decision = decideLayout(inputL, request, sameLine);
  targetSize = 0;
  samplesPerStep = 1;
  layout = std::move(decision.layout);
  layout.readings = static_cast<int64_t>(inputL.size());
  warnings = std::move(decision.warnings);
  if (decision.kind != LayoutDecision::Kind::read) {
    refusal = std::move(decision.message);
    refusalKind = decision.kind;
    blame = decision.blame;
    choices = std::move(decision.choices);
    layout.steps = 0;
    return;
  }
  if (!decision.fallingOrder.empty()) {
    // The lists in the order the decision took them; nothing but the
    // order changes.
    std::vector<double> values;
    for (std::vector<double>* list : {&inputL, &inputA, &inputB}) {
      values = *list;
      for (std::size_t k = 0; k < decision.fallingOrder.size(); ++k)
        (*list)[k] = values[static_cast<std::size_t>(decision.fallingOrder[k])];
    }
    fallingOrder_ = std::move(decision.fallingOrder);
  }
  targetSize = layout.steps;
  samplesPerStep = std::max<int64_t>(1, layout.mostSamples);
  // A reading missing: each reading's step as the decision placed it.
  named_ = std::move(decision.stepOf);
  leftOut = std::move(decision.leftOut);
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
    forEachSample(layout, [&](int64_t step, int64_t k, int64_t index) {
      put(static_cast<std::size_t>(step * samplesPerStep + k), static_cast<std::size_t>(index));
    });
  } else {
    // Named steps: the samples of each step in reading order, steps in order.
    stepStarts_.assign(static_cast<std::size_t>(targetSize) + 1, 0);
    for (const int32_t step : named_) ++stepStarts_[static_cast<std::size_t>(step) + 1];
    for (std::size_t k = 1; k < stepStarts_.size(); ++k) stepStarts_[k] += stepStarts_[k - 1];
    std::vector<int64_t> next(stepStarts_.begin(), stepStarts_.end() - 1);
    for (std::size_t from = 0; from < named_.size(); ++from)
      put(static_cast<std::size_t>(next[static_cast<std::size_t>(named_[from])]++), from);
  }
  // The single readings the decision left out: each is its step's one
  // sample.
  for (LeftOut& out : leftOut) {
    const int64_t step = passFromDarkEnd(layout, 0) ? targetSize - 1 - out.reading : out.reading;
    if (samplesPerStep == 1 && named_.empty() && step >= 0 && step < targetSize) {
      setAside_.push_back(static_cast<std::size_t>(stepStarts_[static_cast<std::size_t>(step)]));
      out.step = step;
    }
  }
  std::sort(setAside_.begin(), setAside_.end());
}

int64_t MeasurementAverager::readingOf(int64_t step, int64_t k) const {
  int64_t index = -1;
  if (named_.empty()) {
    const int64_t inRow = layout.inRow();
    const int64_t pass = k / inRow;
    const bool fromDark = passFromDarkEnd(layout, pass);
    index = samplePlace(layout.steps, inRow, fromDark, pass, fromDark ? layout.steps - 1 - step : step, k % inRow).index;
  } else {
    // The k-th reading that names the step.
    for (std::size_t r = 0; r < named_.size() && index < 0; ++r)
      if (named_[r] == step && k-- == 0) index = static_cast<int64_t>(r);
  }
  if (index >= 0 && !fallingOrder_.empty()) index = fallingOrder_[static_cast<std::size_t>(index)];
  return index;
}

void MeasurementAverager::setAsideStraySamples() {
  if (samplesPerStep < 3) return;
  // The instrument's noise, from the differences between the samples of
  // each step (every pair of them, in an even sample of the steps of a long
  // list): the readings of one patch differ by it alone.
  std::vector<double> differences;
  const int64_t every = std::max<int64_t>(1, static_cast<int64_t>(sortedL.size() / kNoisePairs));
  for (int64_t step = 0; step < targetSize; step += every) {
    const auto from = static_cast<std::size_t>(stepStarts_[static_cast<std::size_t>(step)]);
    const auto to = static_cast<std::size_t>(std::min<int64_t>(stepStarts_[static_cast<std::size_t>(step) + 1],
                                                                stepStarts_[static_cast<std::size_t>(step)] + kNoiseSamples));
    for (std::size_t j = from; j < to; ++j)
      for (std::size_t k = j + 1; k < to; ++k)
        if (std::isfinite(sortedL[k] - sortedL[j])) differences.push_back(std::fabs(sortedL[k] - sortedL[j]));
  }
  if (differences.empty()) return;
  const auto middle = differences.begin() + static_cast<std::ptrdiff_t>(differences.size() / 2);
  std::nth_element(differences.begin(), middle, differences.end());
  const double noise = std::max(kNoiseFloor, *middle * kMedianToSigma / std::sqrt(2.0));
  for (int64_t step = 0; step < targetSize; ++step) {
    const int64_t from = stepStarts_[static_cast<std::size_t>(step)], to = stepStarts_[static_cast<std::size_t>(step) + 1];
    const int64_t count = to - from;
    if (count < 3) continue;
    // The sample farthest from the mean of the others.
    double sum = 0;
    for (int64_t k = from; k < to; ++k) sum += sortedL[static_cast<std::size_t>(k)];
    int64_t stray = -1;
    double farthest = 0, othersMean = kNaN;
    for (int64_t k = from; k < to; ++k) {
      const double v = sortedL[static_cast<std::size_t>(k)];
      const double others = (sum - v) / static_cast<double>(count - 1);
      if (std::fabs(v - others) > farthest) farthest = std::fabs(v - others), stray = k, othersMean = others;
    }
    if (!std::isfinite(farthest)) continue;
    // The others agree among themselves, and the stray lies beyond the noise
    // of its difference from their mean.
    double low = INFINITY, high = -INFINITY;
    for (int64_t k = from; k < to; ++k)
      if (k != stray) low = std::min(low, sortedL[static_cast<std::size_t>(k)]), high = std::max(high, sortedL[static_cast<std::size_t>(k)]);
    const double limit = kStrayNoiseTimes * noise * std::sqrt(1.0 + 1.0 / static_cast<double>(count - 1));
    if (!(farthest > std::max(limit, kScatteredSpan) && high - low <= limit)) continue;
    const double v = sortedL[static_cast<std::size_t>(stray)];
    const int64_t sample = stray - from;
    setAside_.push_back(static_cast<std::size_t>(stray));
    leftOut.push_back({readingOf(step, sample),
                       "sample " + std::to_string(sample + 1) + " of step " + std::to_string(step + 1) + " (L* " +
                           fixed(v, 2) + ") lies " + fixed(std::fabs(v - othersMean), 1) + " L* from its " +
                           std::to_string(count - 1) + " other samples (L* " + fixed(othersMean, 2) +
                           " on average): it was left out of the step's mean",
                       v, step});
  }
  std::sort(setAside_.begin(), setAside_.end());
  layout.leftOut = static_cast<int64_t>(leftOut.size());
}

void MeasurementAverager::averageBlocks() {
  avgLArray.clear();
  avgAArray.clear();
  avgBArray.clear();
  avgLArray.reserve(static_cast<std::size_t>(targetSize));
  avgAArray.reserve(static_cast<std::size_t>(targetSize));
  avgBArray.reserve(static_cast<std::size_t>(targetSize));
  auto aside = setAside_.begin();
  for (int64_t step = 0; step < targetSize; ++step) {
    const int64_t start = stepStarts_[static_cast<std::size_t>(step)];
    const int64_t count = stepStarts_[static_cast<std::size_t>(step) + 1] - start;
    const auto end = static_cast<std::size_t>(start + count);
    if (aside == setAside_.end() || *aside >= end) {
      avgLArray.push_back(blockMean(start, count, sortedL));
      avgAArray.push_back(blockMean(start, count, sortedA));
      avgBArray.push_back(blockMean(start, count, sortedB));
      continue;
    }
    // A step with samples set aside: the mean of the rest, or none.
    double sums[3] = {0, 0, 0};
    int64_t kept = 0;
    for (auto k = static_cast<std::size_t>(start); k < end; ++k) {
      if (aside != setAside_.end() && *aside == k) {
        ++aside;
        continue;
      }
      sums[0] += sortedL[k], sums[1] += sortedA[k], sums[2] += sortedB[k];
      ++kept;
    }
    if (kept == 0) emptied_.push_back(step);
    const double n = kept > 0 ? static_cast<double>(kept) : kNaN;
    avgLArray.push_back(sums[0] / n);
    avgAArray.push_back(sums[1] / n);
    avgBArray.push_back(sums[2] / n);
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
  // A step whose stray sample was set aside is told of already.
  const auto setAsideIn = [this](int64_t step) {
    const auto from = static_cast<std::size_t>(stepStarts_[static_cast<std::size_t>(step)]);
    const auto at = std::lower_bound(setAside_.begin(), setAside_.end(), from);
    return at != setAside_.end() && *at < static_cast<std::size_t>(stepStarts_[static_cast<std::size_t>(step) + 1]);
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
    if (!(std::isfinite(span) && span > limit) || setAsideIn(step)) continue;
    if (++scattered > kScatteredStepsNamed) continue;
    const int64_t count = stepStarts_[static_cast<std::size_t>(step) + 1] - stepStarts_[static_cast<std::size_t>(step)];
    warnings.push_back("step " + std::to_string(step + 1) + ": its " + std::to_string(count) + " samples span " +
                       fixed(span, 1) + " L*; a reading may be bad");
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
                   [](const CIELab& x, const CIELab& y) { return fallsBefore(x.L, y.L); });
}

}  // namespace linearization
