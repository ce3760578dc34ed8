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

// Frees what a list holds (clear() keeps it).
template <class T>
void release(std::vector<T>& list) {
  std::vector<T>().swap(list);
}

}  // namespace

MeasurementAverager::MeasurementAverager(std::vector<CIELab> measurements, const LayoutRequest& request)
    : inputMeasurements(std::move(measurements)) {
  // A list of millions of readings is held once at a time: as given, as
  // three lists, grouped by step, averaged.
  splitLab(inputMeasurements);
  release(inputMeasurements);
  findLayout(request);
  groupSamplesByStep();
  averageGroupedSteps();
}

MeasurementAverager::MeasurementAverager(std::vector<CIELab> measurements, const StepNames& names,
                                         const LayoutRequest& request)
    : inputMeasurements(std::move(measurements)) {
  if (names.stepOf.size() != inputMeasurements.size() || names.steps < 1)
    platform::fatalError("MeasurementAverager: the step names do not match the readings");
  if (request.steps && *request.steps != names.steps) {
    const bool plural = names.namedBy.ends_with("s");
    refusal = "`--steps " + std::to_string(*request.steps) + "` disagrees with the file: its " + names.namedBy +
              (plural ? "" : "s") + " name " + std::to_string(names.steps) + " steps";
    refusalKind = LayoutDecision::Kind::usage;
    release(inputMeasurements);
    return;
  }
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
  layout.placedAtLabels = !names.positions.empty();
  positions = names.positions;
  samplesPerStep = std::max<int64_t>(1, layout.mostSamples);
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
  if (samplesPerStep > 1 && sortedL.size() <= kMostSamplesKept) {
    stepSamples.L = sortedL;
    stepSamples.starts = stepStarts_;
  }
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

void MeasurementAverager::findLayout(const LayoutRequest& request) {
  LayoutDecision decision = decideLayout(inputL, request);
  targetSize = 0;
  samplesPerStep = 1;
  layout = std::move(decision.layout);
  layout.readings = static_cast<int64_t>(inputL.size());
  warnings = std::move(decision.warnings);
  if (decision.kind != LayoutDecision::Kind::read) {
    refusal = std::move(decision.message);
    refusalKind = decision.kind;
    blame = decision.blame;
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
  }
  targetSize = layout.steps;
  samplesPerStep = std::max<int64_t>(1, layout.mostSamples);
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
                   [](const CIELab& x, const CIELab& y) { return fallsBefore(x.L, y.L); });
}

}  // namespace linearization
