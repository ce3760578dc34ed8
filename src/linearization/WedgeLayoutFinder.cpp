#include "linearization/WedgeLayoutFinder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <tuple>

#include "platform/Fatal.h"
#include "platform/text/Text.h"

namespace linearization {

namespace {

// Every number the finder is tuned by, in its unit, with the rows of
// WedgeLayoutFinder.ReadsWhatTheReadingsShowAndNothingElse (and, where said,
// of LinearizeCommand.TheFirstPrintIsReadRight) whose outcome changes when
// the number is halved or doubled.
namespace tuning {
// readings: the fewest steps a wedge of repeated readings is taken to have
// ("an 11-step wedge in no order is sorted", "a dip in the first of two
// passes"); a shorter list is read as listed.
constexpr int64_t kFewestSteps = 11;
// readings: the most samples of a step tried, beyond the usual sizes ("31
// steps measured 12 times in passes", "power 2.5, 7 times in place", "three
// smudges in a 52-step power print, no noise").
constexpr int64_t kMostSamples = 12;
// share of the range: step means that climb back toward paper white by more
// than this read the list wrongly; a mid-tone dip is far smaller ("22
// readings whose second pass starts at step 7", "200 steps measured twice at
// noise 1").
constexpr double kClimbBackShare = 0.5;
// noise of a difference: rises of the step means beyond this many count
// toward their climbing back in all ("two passes over a flat 64-step print,
// a line read twice", "a flat print read 6 times in place, its second half
// darker").
constexpr double kRiseNoiseTimes = 3.0;
// values: a list longer than this many is judged in as many blocks ("three
// smudges in a flat 200-step print read twice in place").
constexpr std::size_t kRiseBlocks = 64;
// share of the range: the samples of one step span no more than this; black
// and paper white in one step, or samples of far-apart steps, span far more
// ("a smudge in a flat 33-step print", "a smudge in the first of two
// passes")...
constexpr double kStepSpanShare = 0.25;
// ...nor more than this many times the instrument's noise (the least any
// layout of repeats implies), where that is more: on a print that falls a
// few L*, noise alone spans a quarter of its range ("a smudge in a flat
// 33-step print", "a flat print read 6 times in place, its second half
// darker"). Never more than kNoisySpanShare of the range: in rows in no
// order every layout is noisy ("two passes over a flat 64-step print, a line
// read twice").
constexpr double kSpanNoiseTimes = 7.0;
constexpr double kNoisySpanShare = 0.5;
// share of the steps: one bad sample among three or more may be set aside in
// at most this many steps (and in one step always); more is a wrong layout
// ("three smudges in a flat 200-step print read twice in place").
constexpr double kSetAsideShare = 0.05;
// standard errors: a staircase shows, or is absent, beyond this many ("a
// flat print read 12 times in place: its runs fall between them more nearly
// than a finer wedge's would", "the paper's margin read first on a 200-step
// wedge read twice in place").
constexpr double kStaircaseErrors = 3.0;
// share of the fall: a run of repeats may fall this much inside itself
// (drift, a step that settles) and still be repeats ("a flat print read 6
// times in place, its second half darker, no noise").
constexpr double kInsideFallAllowance = 0.05;
// squared standard errors: layouts whose runs fit what all layouts' runs
// show within this many of the best are not ruled out beyond doubt ("a
// smudge in 2 passes of 2 over a flat print", "a flat print read 6 times in
// place, its second half darker"; the rows at noise 1 of
// TheFirstPrintIsReadRight).
constexpr double kMisfitDoubt = 9.0;
// A reading sticks out of the list when it lies this many times the step
// between its neighbours beyond both of them, and more than this share of
// the range, and this many times the noise: its run then tells nothing of
// the layout ("three smudged samples in 2 passes of 2", "a smudge in 2
// passes of 2 over a flat print", "three smudges in 128 steps read twice in
// place at noise 1").
constexpr double kSpikeContrast = 3.0;
constexpr double kSpikeShare = 0.05;
constexpr double kSpikeNoiseTimes = 6.0;
// share of the runs: the runs that fall most, and least, that are set aside
// on each side (at least one), so that one smudged sample does not decide
// ("three smudged samples in 2 passes of 2").
constexpr double kTrimShare = 0.05;
// runs: and at most this many on each side, so that the few runs of a long
// list that hold its steps' jumps (runs cut across a staircase of a few
// long steps) are not all set aside ("the paper's margin read first on a
// 200-step wedge read twice in place").
constexpr std::size_t kMostTrimmed = 3;
// L*: no noise is taken to be smaller than this, the rounding of readings
// written to two decimals ("a patch of a flat print read twice, no noise",
// "the paper's margin read first on a 51-step wedge").
constexpr double kNoiseFloor = 0.01;
// share of the range: two readings of a list whose smoothed responses differ
// by less than this nowhere give the same curve ("a flat 300-step print read
// 3 times in place, its second half darker").
constexpr double kMaterialShare = 0.015;
// standard errors of the smoothed response: differences within this many are
// the noise's, not the layout's ("a flat print read 6 times in place, its
// second half darker").
constexpr double kMaterialErrors = 4.0;
// share of the wedge that the smoothing averages over (21 of 256 points by
// default), for comparing responses as the correction sees them ("a flat
// print read 6 times in place, its second half darker").
constexpr double kSmoothingShare = 21.0 / 256.0;
// A reading repeats the one before it when their difference is this many
// times smaller than the wedge's local step ("a smudge beside its neighbour
// in a 22-step steep print", "a dip in a 22-step wedge at noise 0.2")...
constexpr double kRepeatContrast = 4.0;
// ...at an end of the list, this many times smaller than the step after the
// next (a toe of the third power has its first step 1/19 of its third, one
// of the power 2.5 1/10: "the paper's margin read first on a 51-step
// wedge", "a 52-step power print, its second half darker")...
constexpr double kEndRepeatContrast = 30.0;
// ...and that step is this many times the noise, so that the flat ends of a
// steep print, and a noisy pair by chance, are not taken for repeats ("a
// line read twice in a 33-step steep print at noise 0.5", "the paper's
// margin read first on an 11-step wedge at noise 0.2")...
constexpr double kRepeatNoiseTimes = 12.0;
// ...and the two agree within this many times the noise of a difference
// (a mid-tone dip's way back up is a small step too: "a dip in a 22-step
// wedge", "a smudge beside its neighbour in a 22-step steep print").
constexpr double kRepeatAgreement = 4.0;
// readings: how far on each side a repeat looks for the steps around it (the
// longest run of repeats tried).
constexpr int64_t kRepeatReach = kMostSamples;
// In runs of repeats, a pair differs this many times less than the largest
// step within kRepeatReach on each side, which is this many times the small
// steps nearby ("a reading of L* 35 after an 11-step steep print", "a
// reading of L* 35 after a 22-step steep print", "three smudges in a
// 33-step power print").
constexpr double kRunContrast = 6.0;
constexpr double kRunNoiseTimes = 8.0;
// share of neighbouring readings: a list of single readings where more than
// this repeat each other comes in runs of repeats ("a reading of L* 35 after
// an 11-step steep print", "a reading of L* 35 after a 22-step steep
// print").
constexpr double kRepeatedShare = 0.2;
// share of the range: passes over the wedge whose step means, smoothed over
// a tenth of the wedge, differ by more than this are two different prints
// in one file, not one print measured twice ("a dip in the first of two
// passes", "a smudge in the first of two passes")...
constexpr double kPassesDisagreeShare = 0.05;
// ...and by more than this many standard errors of the smoothed difference
// ("two passes over a flat print, its first patches held", "two passes over
// a flat 64-step print, the first line read twice").
constexpr double kPassesDisagreeErrors = 4.0;
// share of the range: passes that each span more than this of it line up
// with the list, so that where they differ they are two prints ("a dip in the
// first of two passes"); passes cut elsewhere span a part of it ("a pass
// holding each step twice, then one holding it once").
constexpr double kPassSpanShare = 0.75;
// noise of a difference of two readings: a single reading that lies outside
// both its neighbours by more than this many times it, and by more than the
// step between them, is a smudge and is left out; a print's own bump of a
// step or two is not ("three smudges in a 33-step power print", "384 steps
// measured once at noise 0.5").
constexpr double kSmudgeNoiseTimes = 3.0;
// share of the range from paper white: a reading after the darkest patch this
// close to paper white is taken for the paper's margin ("a reading of L* 80
// after the darkest patch", "a reading of L* 65 after the darkest patch").
constexpr double kPaperWhiteShare = 0.2;
// In a list sorted by L*, runs of repeats show where the gaps between runs
// are this many times those inside them ("three smudges in a flat 33-step
// print, no noise", "three smudges in two passes over a flat print").
constexpr double kSortedGapContrast = 2.5;
// steps: the instrument's noise is judged on an even sample of this many
// steps of each layout ("a flat 200-step print read twice in place, its
// second half darker").
constexpr int64_t kNoiseSteps = 64;
// L*: a line of the file read twice (L*, a* and b* the same to their last
// digit) is taken for a patch read twice where the list's noise is at least
// this, so that three equal values are no chance (TheFirstPrintIsReadRight:
// "a line of 64 read twice", "two equal readings where the shadows block
// are no line read twice").
constexpr double kExactRepeatNoise = 0.1;
// Where the list holds one reading more than a usual wedge has steps, a
// patch read twice is expected: a repeat needs the wedge's local step to
// stand only this many times clear of the noise ("the paper's margin read
// first on a 51-step wedge at noise 0.5", "the paper's margin read first on
// a 21-step wedge at noise 0.5").
constexpr double kOneMoreNoiseTimes = 4.0;
}  // namespace tuning

// Numbers that are not tuned: a normal spread's standard deviation is
// kMedianToSigma times the median of its absolute values, and the middle of
// a longer list is taken from an even sample of kMedianSample of its values,
// which bounds what a list of millions costs (the wedge-layout benchmark);
// a noise is not known closer than that sample tells anyway.
constexpr double kMedianToSigma = 1.4826;
constexpr std::size_t kMedianSample = 1024;

using namespace tuning;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

constexpr const char* kRunsOfRepeats = "its readings come in runs of repeats";

std::string lightness(double value) { return "L* " + platform::text::fixedDecimal(value, 1); }

std::string reading(int64_t index) { return "reading " + std::to_string(index + 1); }

std::string plural(int64_t count, const std::string& one, const std::string& many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The median of the first `count` values, which it reorders; NaN for none.
double median(std::vector<double>& values, std::size_t count) {
  if (count == 0) return kNaN;
  // A long list's middle is found in an even sample of it: a noise is not
  // known closer than that anyway.
  if (count > kMedianSample) {
    for (std::size_t k = 0; k < kMedianSample; ++k) values[k] = values[k * count / kMedianSample];
    count = kMedianSample;
  }
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(count / 2);
  std::nth_element(values.begin(), middle, values.begin() + static_cast<std::ptrdiff_t>(count));
  return *middle;
}

// ---------------------------------------------------------------------------
// Predicates

// Where a list of values that should fall climbs back toward its start: by
// more than kClimbBackShare of its range above the lowest value since the
// last climb (below the highest, in a list that rises overall). A second
// pass over the wedge, or neighbouring steps of one pass taken as one,
// climbs back all the way; a dip in a wedge far less.
struct Climbs {
  int64_t count = 0;
  int64_t at = -1;  // the first climb: where, and from and to which value
  double from = 0.0, to = 0.0;
  std::vector<int64_t> starts;  // where each climb begins (with countAll)
  bool rising = false;          // the list rises overall: it "falls back"
};

template <class Value>
Climbs climbsBackOriented(int64_t n, const Value& value, bool countAll, bool rising, double range) {
  Climbs climbs;
  climbs.rising = rising;
  const double sign = rising ? -1.0 : 1.0;
  const double limit = range * kClimbBackShare;
  double lowest = kInfinity;
  for (int64_t k = 0; k < n; ++k) {
    const double v = value(k);
    if (!std::isfinite(v)) continue;
    const double oriented = sign * v;
    if (oriented - lowest > limit) {
      if (climbs.count++ == 0) {
        climbs.at = k;
        climbs.from = sign * lowest;
        climbs.to = v;
      }
      if (!countAll) return climbs;
      climbs.starts.push_back(k);
      lowest = oriented;
    } else {
      lowest = std::min(lowest, oriented);
    }
  }
  return climbs;
}

// The climbs of a list that falls; with `eitherWay`, of a list that falls or
// rises as its small steps do (a wedge is read step by step; the big jumps
// are where a pass begins, so a wedge listed from its middle on falls though
// it ends above where it starts).
template <class Value>
Climbs climbsBack(int64_t n, const Value& value, bool countAll, bool eitherWay = false) {
  double low = kInfinity, high = -kInfinity;
  for (int64_t k = 0; k < n; ++k)
    if (const double v = value(k); std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
  if (!std::isfinite(low)) return Climbs{};
  bool rising = false;
  if (eitherWay) {
    double small = 0, previous = kNaN;
    for (int64_t k = 0; k < n; ++k) {
      const double v = value(k);
      if (!std::isfinite(v)) continue;
      if (const double d = v - previous; std::fabs(d) < kClimbBackShare * (high - low)) small += d;
      previous = v;
    }
    rising = small > 0;
  }
  return climbsBackOriented(n, value, countAll, rising, high - low);
}

// How far a list that should fall rises in all, counting each rise beyond
// the noise. A long list is taken in blocks of neighbouring values, their
// means compared (at most kRiseBlocks of them), so that the noise of many
// readings does not add up to a climb: `noise` is one value's.
double risesBeyond(const std::vector<double>& values, double noise) {
  const std::size_t n = values.size();
  const std::size_t blocks = std::min(n, kRiseBlocks);
  double rise = 0, previous = kNaN;
  std::size_t previousCount = 0;
  for (std::size_t b = 0; b < blocks; ++b) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t k = b * n / blocks; k < (b + 1) * n / blocks; ++k)
      if (std::isfinite(values[k])) sum += values[k], ++count;
    if (count == 0) continue;
    const double mean = sum / static_cast<double>(count);
    if (previousCount > 0) {
      const double d = mean - previous;
      const double tolerance = kRiseNoiseTimes * noise *
                               std::sqrt(1.0 / static_cast<double>(count) + 1.0 / static_cast<double>(previousCount));
      if (d > tolerance) rise += d;
    }
    previous = mean;
    previousCount = count;
  }
  return rise;
}

// Whether the samples of each step agree as one instrument's readings of one
// patch do: none spans more than kStepSpanShare of the range, once one bad
// sample among three or more is set aside (in a few steps only).
struct Agreement {
  bool agree = true;
  int64_t step = -1;         // the first step that does not agree
  int64_t low = -1, high = -1;  // its lightest and darkest samples' readings
  double span = 0;
  int64_t setAside = 0;
};

Agreement stepsAgree(const std::vector<double>& values, const WedgeLayout& layout, double range, double noise) {
  const auto t = static_cast<std::size_t>(layout.steps);
  // The two lowest and two highest samples of each step, and where the
  // extremes lie.
  std::vector<double> low1(t, kInfinity), low2(t, kInfinity), high1(t, -kInfinity), high2(t, -kInfinity);
  std::vector<int64_t> lowAt(t, -1), highAt(t, -1), counts(t, 0);
  forEachSample(layout, [&](int64_t step, int64_t, int64_t index) {
    const double v = values[static_cast<std::size_t>(index)];
    if (!std::isfinite(v)) return;
    const auto s = static_cast<std::size_t>(step);
    ++counts[s];
    if (v < low1[s]) {
      low2[s] = low1[s];
      low1[s] = v;
      lowAt[s] = index;
    } else {
      low2[s] = std::min(low2[s], v);
    }
    if (v > high1[s]) {
      high2[s] = high1[s];
      high1[s] = v;
      highAt[s] = index;
    } else {
      high2[s] = std::max(high2[s], v);
    }
  });
  const double limit = std::max(kStepSpanShare * range, std::min(kSpanNoiseTimes * noise, kNoisySpanShare * range));
  const auto setAsideAllowed = std::max<int64_t>(1, static_cast<int64_t>(kSetAsideShare * layout.steps));
  Agreement agreement;
  for (std::size_t s = 0; s < t; ++s) {
    if (counts[s] < 2 || high1[s] - low1[s] <= limit) continue;
    const bool oneAside = counts[s] >= 3 && (high2[s] - low1[s] <= limit || high1[s] - low2[s] <= limit);
    if (oneAside && ++agreement.setAside <= setAsideAllowed) continue;
    agreement = {false, static_cast<int64_t>(s), lowAt[s], highAt[s], high1[s] - low1[s], agreement.setAside};
    return agreement;
  }
  return agreement;
}

// Whether samples said to lie in a row show it. Inside a run of repeats the
// readings only scatter; the wedge falls between runs. So the share of the
// fall that happens between runs is all of it (less a little drift) where
// the runs are repeats, and 1/R' of it where they are R' distinct steps read
// in a row (R' ≥ 2) or single readings of a finer wedge. Its standard error
// comes from the noise the runs show: where the noise hides the staircase
// (a noisy instrument on a wedge of many fine steps) neither is ruled out.
// Where the noise hides it, what the runs show (the share and its error) is
// still weighed against what each layout predicts (misfit).
enum class Staircase { none, shown, hidden, absent };

struct StaircaseTest {
  Staircase verdict = Staircase::none;
  double noise = 0;  // of one reading, as the runs show it
  // The share of the list's fall that happens between runs, and its
  // standard error: what the runs show, for weighing layouts against each
  // other where none shows beyond doubt.
  double between = kNaN, error = kNaN;
};

// The spread of the places in a run of `inRow` about their middle, squared.
double runSpread(int64_t inRow) {
  double spread = 0;
  for (int64_t r = 0; r < inRow; ++r) {
    const double off = static_cast<double>(r) - static_cast<double>(inRow - 1) / 2.0;
    spread += off * off;
  }
  return spread;
}

// The share of the fall between runs of `runs` readings that a wedge read
// `repeats` times in a row gives: 1 where the runs lie inside its repeats,
// 1 / runs for single readings, and between for runs that cut across its
// repeats (a run's fall is the slope fitted through its readings, and the
// runs start at every place the repeats allow).
double expectedBetween(int64_t runs, int64_t repeats) {
  if (runs < 2 || repeats < 1) return 1.0;
  const double middle = static_cast<double>(runs - 1) / 2.0;
  const double spread = runSpread(runs);
  // The places a run starts at within a step's repeats.
  const int64_t every = std::gcd(runs, repeats);
  double inside = 0;
  int64_t starts = 0;
  for (int64_t offset = 0; offset < repeats; offset += every, ++starts)
    for (int64_t r = 0; r < runs; ++r)
      inside += (static_cast<double>(r) - middle) * static_cast<double>((offset + r) / repeats);
  // A run's fitted fall against what the wedge falls over a run.
  return 1.0 - static_cast<double>(runs - 1) * static_cast<double>(repeats) * inside /
                   (spread * static_cast<double>(runs) * static_cast<double>(starts));
}

// The noise of one reading as the runs of a layout show it: how far the
// differences between neighbouring samples of a run differ from those at the
// same place in the next run. With repeats both are noise; with distinct
// steps read in a row both are the wedge's local step, which changes slowly,
// so the noise is not taken for the wedge's fall, nor the wedge's fall for
// noise. Runs that cut across the steps of a staircase (runs of 3 over steps
// read twice) make that noisy too: the instrument's noise, as the best
// layout of the list shows it, bounds it.
double runNoise(const std::vector<double>& values, const WedgeLayout& layout, double instrumentNoise,
                std::vector<double>& buffer) {
  const int64_t inRow = layout.inRow();
  std::size_t count = 0;
  buffer.resize(values.size());
  const auto at = [&](int64_t k) { return values[static_cast<std::size_t>(k)]; };
  for (int64_t pass = 0; pass < layout.passes; ++pass)
    for (int64_t run = 0; run + 1 < layout.steps; ++run) {
      const int64_t first = (pass * layout.steps + run) * inRow;
      for (int64_t r = 0; r + 1 < inRow; ++r) {
        const double d = (at(first + r + 1) - at(first + r)) - (at(first + inRow + r + 1) - at(first + inRow + r));
        if (std::isfinite(d)) buffer[count++] = std::fabs(d);
      }
    }
  return std::max(kNoiseFloor, std::min(median(buffer, count) * kMedianToSigma / 2.0, instrumentNoise));
}

// What the runs of a layout fall inside themselves, all added up: each run's
// own fall, oriented with its pass, is the slope of a line fitted through
// all its readings times its length (every reading counts, not only the
// first and the last). The most extreme few on each side are set aside, so
// that one smudged sample does not decide, and runs holding a reading that
// sticks out of the list tell nothing. `judged` gets the runs that count.
double fallInsideRuns(const std::vector<double>& values, const WedgeLayout& layout, const std::vector<bool>& spikes,
                      std::vector<double>& falls, std::size_t& judged) {
  const int64_t inRow = layout.inRow();
  const double spread = runSpread(inRow);
  falls.resize(values.size());
  judged = 0;
  int64_t index = 0;
  for (int64_t pass = 0; pass < layout.passes; ++pass) {
    const double sign = passFromDarkEnd(layout, pass) ? -1.0 : 1.0;
    for (int64_t run = 0; run < layout.steps; ++run, index += inRow) {
      double slope = 0;
      bool spiked = false;
      for (int64_t r = 0; r < inRow; ++r) {
        slope += (static_cast<double>(r) - static_cast<double>(inRow - 1) / 2.0) * values[static_cast<std::size_t>(index + r)];
        spiked = spiked || (!spikes.empty() && spikes[static_cast<std::size_t>(index + r)]);
      }
      const double e = -sign * slope / spread * static_cast<double>(inRow - 1);
      if (!spiked && std::isfinite(e)) falls[judged++] = e;
    }
  }
  const std::size_t aside =
      judged >= 5 ? std::clamp<std::size_t>(static_cast<std::size_t>(kTrimShare * static_cast<double>(judged)), 1,
                                           kMostTrimmed)
                  : 0;
  const auto first = falls.begin(), end = falls.begin() + static_cast<std::ptrdiff_t>(judged);
  if (aside > 0) {
    std::nth_element(first, first + static_cast<std::ptrdiff_t>(aside), end);
    std::nth_element(first + static_cast<std::ptrdiff_t>(aside), end - static_cast<std::ptrdiff_t>(aside), end);
  }
  double kept = 0;
  for (std::size_t k = aside; k + aside < judged; ++k) kept += falls[k];
  return judged > 2 * aside ? kept * static_cast<double>(judged) / static_cast<double>(judged - 2 * aside) : 0.0;
}

StaircaseTest judgeStaircase(const std::vector<double>& values, const WedgeLayout& layout,
                             const std::vector<double>& means, double instrumentNoise,
                             const std::vector<bool>& spikes, std::vector<double>& buffer) {
  const int64_t inRow = layout.inRow();
  StaircaseTest test;
  if (inRow < 2) return test;
  test.noise = runNoise(values, layout, instrumentNoise, buffer);
  // The fall of the step means, once for each pass: what the list falls in
  // all.
  const double fall = static_cast<double>(layout.passes) * (means.front() - means.back());
  if (!(fall > kNoiseFloor)) {
    test.verdict = Staircase::hidden;
    return test;
  }
  std::size_t judged = 0;
  const double between = 1.0 - fallInsideRuns(values, layout, spikes, buffer, judged) / fall;
  test.between = between;
  // A run's fitted fall varies by (R - 1)² σ² / spread with the noise.
  const double error = test.noise * static_cast<double>(inRow - 1) *
                       std::sqrt(static_cast<double>(judged) / runSpread(inRow)) / fall;
  // The finest wedge the runs could be: R' readings of distinct steps, for
  // R' the largest proper divisor of R.
  int64_t finer = 1;
  for (int64_t d = inRow / 2; d >= 2 && finer == 1; --d)
    if (inRow % d == 0) finer = d;
  const double finerShare = static_cast<double>(finer) / static_cast<double>(inRow);
  const double margin = kStaircaseErrors * error;
  test.error = error;
  // Runs whose insides rise against the wedge (a reader that drifts) are
  // repeats as much as runs that hold still.
  if (between < 1.0 - kInsideFallAllowance - margin)
    test.verdict = Staircase::absent;
  else if (between - finerShare > margin)
    test.verdict = Staircase::shown;
  else
    test.verdict = Staircase::hidden;
  return test;
}

// The readings that stick out of the list: each lies on one side of both
// its neighbours, far beyond the step between them, beyond a share of the
// list's range and beyond the noise (a smudged patch, a reading of
// something else). A wedge's steps and a staircase's jumps do not: the
// reading after a jump agrees with the one after it. Empty where there are
// none.
std::vector<bool> spikesIn(const std::vector<double>& values, double range, double noise) {
  std::vector<bool> spikes;
  for (std::size_t i = 1; i + 1 < values.size(); ++i) {
    const double before = values[i] - values[i - 1], after = values[i] - values[i + 1];
    const double limit = std::max({kSpikeContrast * std::fabs(values[i + 1] - values[i - 1]), kSpikeShare * range,
                                   kSpikeNoiseTimes * noise});
    if (before * after > 0 && std::fabs(before) > limit && std::fabs(after) > limit) {
      if (spikes.empty()) spikes.assign(values.size(), false);
      spikes[i] = true;
    }
  }
  return spikes;
}

// The noise of one reading of a list of single readings, from its third
// differences centred from `from` to `to`: a wedge's curvature changes
// slowly, so they leave mostly the noise (20 times its variance), even at
// the bend of a steep print. A staircase's jumps make it large.
double thirdDifferenceNoise(const std::vector<double>& values, int64_t from, int64_t to,
                            std::vector<double>& buffer) {
  const auto n = static_cast<int64_t>(values.size());
  const auto at = [&](int64_t k) { return values[static_cast<std::size_t>(k)]; };
  buffer.clear();
  for (int64_t k = std::max<int64_t>(1, from); k <= std::min(n - 3, to); ++k) {
    const double bend = at(k + 2) - 3 * at(k + 1) + 3 * at(k) - at(k - 1);
    if (std::isfinite(bend)) buffer.push_back(std::fabs(bend));
  }
  return std::max(kNoiseFloor, median(buffer, buffer.size()) * kMedianToSigma / std::sqrt(20.0));
}

// The noise near reading i of a list of single readings.
double localNoise(const std::vector<double>& values, int64_t i, std::vector<double>& buffer) {
  return thirdDifferenceNoise(values, i - kRepeatReach, i + 1 + kRepeatReach, buffer);
}

// Where a reading of a list of single readings repeats the one before it:
// the two differ far less than the wedge's local step, and that step stands
// well clear of the noise there. The local step is measured over readings
// that are not the pair's (a noisy reading makes the step before it large
// and the one after it small): inside the list, the mean step from two
// readings before the pair to two after it; at an end, the step after the
// next, by a wider margin (a toe or a shoulder flattens toward the end). A
// list of single readings has none; one where a patch was read twice, or
// the paper's margin read as a patch, has one.
std::vector<int64_t> loneRepeats(const std::vector<double>& values) {
  std::vector<int64_t> repeats;
  const auto n = static_cast<int64_t>(values.size());
  if (n < 6) return repeats;
  // One reading more than a usual wedge's steps: a patch read twice is what
  // such a list most often holds, so a pair that agrees within the noise is
  // taken for one where the wedge's step stands only a little clear of it.
  const double stepNoiseTimes = isUsualStepCount(n - 1) ? kOneMoreNoiseTimes : kRepeatNoiseTimes;
  const auto at = [&](int64_t k) { return values[static_cast<std::size_t>(k)]; };
  std::vector<double> buffer;
  for (int64_t i = 0; i + 1 < n; ++i) {
    const double d = std::fabs(at(i + 1) - at(i));
    double local = kNaN, contrast = kRepeatContrast;
    if (i == 0 || i == 1) {
      local = std::fabs(at(i + 3) - at(i + 2)), contrast = kEndRepeatContrast;
    } else if (i == n - 2 || i == n - 3) {
      local = std::fabs(at(i - 1) - at(i - 2)), contrast = kEndRepeatContrast;
    } else {
      local = std::fabs(at(i + 3) - at(i - 2)) / 5.0;
    }
    if (!(std::isfinite(d) && std::isfinite(local) && d * contrast < local)) continue;
    // The steps beside the pair are steps too, beyond the noise: a plateau
    // (paper white held over the first steps, shadows that block) is no
    // repeat, however alike two of its readings are.
    const double noise = localNoise(values, i, buffer);
    const double before = i > 0 ? std::fabs(at(i) - at(i - 1)) : kInfinity;
    const double after = i + 2 < n ? std::fabs(at(i + 2) - at(i + 1)) : kInfinity;
    if (!(std::min(before, after) > std::max(d * contrast, kRepeatAgreement * std::sqrt(2.0) * noise))) continue;
    // The pair agrees as two readings of one patch do; a dip's way back up
    // is as small a step, but no repeat.
    if (local > stepNoiseTimes * noise && d <= kRepeatAgreement * std::sqrt(2.0) * noise) repeats.push_back(i);
  }
  return repeats;
}

// Whether more than kRepeatedShare of neighbouring readings of a list
// repeat each other: the two differ far less than the largest step within
// reach on each side, and that step far more than the small steps nearby do
// (the quarter of the steps of its stretch of the list that are smallest:
// the noise inside runs of repeats, the wedge's own step in a list of single
// readings). Runs of repeats read in a row make the share large, half of the
// pairs or more where the steps stand clear of the noise; single readings
// leave it near nothing.
bool comesInRuns(const std::vector<double>& values) {
  const auto n = static_cast<int64_t>(values.size());
  if (n < 4) return false;
  std::vector<double> steps(values.size() - 1);
  for (std::size_t i = 0; i + 1 < values.size(); ++i) steps[i] = std::fabs(values[i + 1] - values[i]);
  const auto step = [&](int64_t i) { return steps[static_cast<std::size_t>(i)]; };
  // The small steps of each stretch of 2 kRepeatReach steps.
  const int64_t stretch = 2 * kRepeatReach;
  std::vector<double> small, nearby;
  for (int64_t from = 0; from < n - 1; from += stretch) {
    nearby.clear();
    for (int64_t j = from; j < std::min(n - 1, from + stretch); ++j)
      if (std::isfinite(step(j))) nearby.push_back(step(j));
    double quarter = kNoiseFloor;
    if (!nearby.empty()) {
      const auto at = nearby.begin() + static_cast<std::ptrdiff_t>(nearby.size() / 4);
      std::nth_element(nearby.begin(), at, nearby.end());
      quarter = std::max(kNoiseFloor, *at);
    }
    small.push_back(quarter);
  }
  const int64_t pairs = n - 3, enough = static_cast<int64_t>(kRepeatedShare * static_cast<double>(pairs));
  int64_t repeated = 0;
  for (int64_t i = 1; i + 2 < n; ++i) {
    const double d = step(i);
    if (!std::isfinite(d)) continue;
    const int64_t from = std::max<int64_t>(0, i - kRepeatReach), to = std::min(n - 2, i + kRepeatReach);
    double left = -kInfinity, right = -kInfinity;
    for (int64_t j = from; j < i; ++j) left = std::max(left, step(j));
    for (int64_t j = i + 1; j <= to; ++j) right = std::max(right, step(j));
    const double around = std::min(left, right);
    if (std::isfinite(around) && d * kRunContrast < around &&
        around > kRunNoiseTimes * small[static_cast<std::size_t>(i / stretch)] && ++repeated > enough)
      return true;
    // The pairs left cannot make the share any more.
    if (repeated + (n - 3 - i) <= enough) return false;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Responses: the step means as the correction sees them, for telling
// whether two readings of a list give the same curve.

constexpr std::size_t kResponsePoints = 256;

std::vector<double> responseOf(const std::vector<double>& means) {
  std::vector<double> resampled(kResponsePoints, kNaN);
  const auto t = static_cast<int64_t>(means.size());
  if (t == 0) return resampled;
  for (std::size_t k = 0; k < kResponsePoints; ++k) {
    const double at = static_cast<double>(k) / (kResponsePoints - 1) * static_cast<double>(t - 1);
    const auto below = std::min<int64_t>(static_cast<int64_t>(at), std::max<int64_t>(0, t - 2));
    const double share = t > 1 ? at - static_cast<double>(below) : 0.0;
    const double a = means[static_cast<std::size_t>(below)];
    const double b = means[static_cast<std::size_t>(std::min(below + 1, t - 1))];
    resampled[k] = a + (b - a) * share;
  }
  // A moving average over the share of the wedge the smoothing averages,
  // narrowing toward the ends as the smoothing's does: paper white and the
  // darkest step, which the whole correction is drawn between, are the
  // first and last step's own.
  const auto half = static_cast<int64_t>(kSmoothingShare * kResponsePoints / 2);
  const auto last = static_cast<int64_t>(kResponsePoints) - 1;
  std::vector<double> smoothed(kResponsePoints);
  for (int64_t k = 0; k <= last; ++k) {
    const int64_t reach = std::min({half, k, last - k});
    double sum = 0;
    int64_t count = 0;
    for (int64_t j = k - reach; j <= k + reach; ++j) {
      sum += resampled[static_cast<std::size_t>(j)];
      ++count;
    }
    smoothed[static_cast<std::size_t>(k)] = sum / static_cast<double>(count);
  }
  return smoothed;
}

// ---------------------------------------------------------------------------
// Candidates

struct Judgement {
  WedgeLayout layout;
  bool plausible = true;
  std::string whyNot;
  std::optional<int64_t> blame;
  Staircase staircase = Staircase::none;
  double noise = kNoiseFloor;
  double range = 0;
  std::vector<double> response;
  std::vector<int64_t> repeats;  // one reading a step: where a reading repeats the one before
  bool usual = false;
  bool passesDisagree = false;  // ruled out as passes over two different prints
  // What its runs show (StaircaseTest), where they were judged.
  double between = kNaN, error = kNaN;
  // How far what all layouts' runs show lies from what it predicts.
  double misfit = 0;
};

WedgeLayout fileOrderLayout(int64_t readings, int64_t steps, int64_t samples, int64_t passes) {
  WedgeLayout layout;
  layout.readings = readings;
  layout.steps = steps;
  layout.fewestSamples = layout.mostSamples = samples;
  layout.passes = passes;
  return layout;
}

// Every way of taking n readings as a wedge in file order that the request
// allows: T steps of S samples, in P passes of S / P readings a step in a
// row. T is at least kFewestSteps and S at most kMostSamples, or the count
// is a usual wedge's; the passes of a step measured many times are tried
// where either the passes or the readings in a row are few.
std::vector<WedgeLayout> enumerateCandidates(int64_t n, const LayoutRequest& request) {
  std::vector<std::pair<int64_t, int64_t>> sizes;  // steps, samples
  if (request.steps) {
    if (*request.steps >= 1 && n % *request.steps == 0) sizes.emplace_back(*request.steps, n / *request.steps);
  } else {
    for (int64_t samples = 1; samples <= std::min(kMostSamples, n); ++samples)
      if (n % samples == 0 && (samples == 1 || n / samples >= kFewestSteps)) sizes.emplace_back(n / samples, samples);
    for (const int64_t steps : kUsualWedgeSteps)
      if (n % steps == 0 && n / steps > kMostSamples) sizes.emplace_back(steps, n / steps);
  }
  std::vector<WedgeLayout> candidates;
  for (const auto& [steps, samples] : sizes)
    for (int64_t passes = 1; passes <= samples; ++passes) {
      if (samples % passes != 0) continue;
      if (passes > kMostSamples && samples / passes > kMostSamples) continue;
      if (request.arrangement == LayoutRequest::Arrangement::together && passes != 1) continue;
      if (request.arrangement == LayoutRequest::Arrangement::passes && passes == 1 && samples > 1) continue;
      candidates.push_back(fileOrderLayout(n, steps, samples, passes));
    }
  return candidates;
}

// Each pass is read in the direction its readings show: one whose first
// steps are darker than its last lists the wedge from the dark end.
void orientPasses(const std::vector<double>& values, WedgeLayout& layout) {
  const int64_t inRow = layout.inRow();
  const int64_t ends = std::max<int64_t>(1, layout.steps / 10) * inRow;  // readings at each end
  const int64_t passLength = layout.steps * inRow;
  layout.fromDarkEnd.assign(static_cast<std::size_t>(layout.passes), false);
  bool any = false;
  for (int64_t pass = 0; pass < layout.passes; ++pass) {
    const int64_t start = pass * passLength;
    double first = 0, last = 0;
    int64_t firstCount = 0, lastCount = 0;
    for (int64_t k = 0; k < ends; ++k) {
      const double a = values[static_cast<std::size_t>(start + k)];
      const double b = values[static_cast<std::size_t>(start + passLength - 1 - k)];
      if (std::isfinite(a)) first += a, ++firstCount;
      if (std::isfinite(b)) last += b, ++lastCount;
    }
    if (firstCount > 0 && lastCount > 0 && last / static_cast<double>(lastCount) > first / static_cast<double>(firstCount)) {
      layout.fromDarkEnd[static_cast<std::size_t>(pass)] = true;
      any = true;
    }
  }
  if (!any) layout.fromDarkEnd.clear();
}

// The step means of a layout, in step order.
void stepMeans(const std::vector<double>& values, const WedgeLayout& layout, std::vector<double>& means) {
  const auto t = static_cast<std::size_t>(layout.steps);
  means.assign(t, 0.0);
  // Every step has mostSamples samples; one that is not a number is not
  // counted (rare, so counted down).
  std::vector<int64_t> counts(t, layout.mostSamples);
  forEachSample(layout, [&](int64_t step, int64_t, int64_t index) {
    const double v = values[static_cast<std::size_t>(index)];
    if (std::isfinite(v))
      means[static_cast<std::size_t>(step)] += v;
    else
      --counts[static_cast<std::size_t>(step)];
  });
  for (std::size_t s = 0; s < t; ++s) means[s] = counts[s] > 0 ? means[s] / static_cast<double>(counts[s]) : kNaN;
}

// The noise the samples of a layout's steps show, from pairs of them that
// lie next to each other in the list's order (neighbours in a run, and a
// step's readings in consecutive passes), in an even sample of the steps.
// Needs no step means.
double pairNoise(const std::vector<double>& values, const WedgeLayout& layout, std::vector<double>& buffer) {
  buffer.clear();
  const int64_t every = std::max<int64_t>(1, layout.steps / kNoiseSteps);
  for (int64_t step = 0; step < layout.steps; step += every) {
    double before = kNaN;
    forEachSampleOf(layout, step, [&](int64_t, int64_t index) {
      const double v = values[static_cast<std::size_t>(index)];
      if (std::isfinite(v - before)) buffer.push_back(std::fabs(v - before));
      before = v;
    });
  }
  return std::max(kNoiseFloor, median(buffer, buffer.size()) * kMedianToSigma / std::sqrt(2.0));
}

// The pooled noise of the samples about their step's mean.
double spreadAboutMeans(const std::vector<double>& values, const WedgeLayout& layout,
                        const std::vector<double>& means, std::vector<double>& buffer) {
  std::size_t count = 0;
  buffer.resize(values.size());
  forEachSample(layout, [&](int64_t step, int64_t, int64_t index) {
    const double d = values[static_cast<std::size_t>(index)] - means[static_cast<std::size_t>(step)];
    if (std::isfinite(d)) buffer[count++] = std::fabs(d);
  });
  const double samples = static_cast<double>(layout.mostSamples);
  const double correction = samples > 1 ? std::sqrt(samples / (samples - 1)) : 1.0;
  return std::max(kNoiseFloor, median(buffer, count) * kMedianToSigma * correction);
}

// ---------------------------------------------------------------------------
// A reading missing

// The cost of taking values[from, to) as one step's samples: their squared
// spread about their mean, from running sums of the values and their
// squares.
double spreadCost(const std::vector<double>& sums, const std::vector<double>& squares, int64_t from, int64_t to) {
  if (from < 0 || to < from || static_cast<std::size_t>(to) >= sums.size())
    platform::fatalError("spreadCost: the run lies outside the readings");
  const auto f = static_cast<std::size_t>(from), t = static_cast<std::size_t>(to);
  const double count = static_cast<double>(to - from);
  const double sum = sums[t] - sums[f];
  return count > 0 ? squares[t] - squares[f] - sum * sum / count : 0.0;
}

// Where a reading is missing from `steps` runs of `inRow` readings of each
// step in a row, one run short by one: the place in the list, as if it were
// there, that leaves the runs' samples agreeing best. Nothing where a
// reading is not a number.
std::optional<int64_t> gapInRuns(const std::vector<double>& values, int64_t steps, int64_t inRow) {
  std::vector<double> sums{0}, squares{0};
  for (const double v : values) {
    if (!std::isfinite(v)) return std::nullopt;
    sums.push_back(sums.back() + v);
    squares.push_back(squares.back() + v * v);
  }
  // The cost of the runs before run m in their places, and of those after
  // it one place earlier.
  std::vector<double> before(static_cast<std::size_t>(steps) + 1, 0.0), after(static_cast<std::size_t>(steps) + 1, 0.0);
  // (The last run always lies after the gap, the first before it.)
  for (int64_t m = 0; m + 1 < steps; ++m)
    before[static_cast<std::size_t>(m) + 1] =
        before[static_cast<std::size_t>(m)] + spreadCost(sums, squares, m * inRow, (m + 1) * inRow);
  for (int64_t m = steps - 1; m >= 1; --m)
    after[static_cast<std::size_t>(m)] =
        after[static_cast<std::size_t>(m) + 1] + spreadCost(sums, squares, m * inRow - 1, (m + 1) * inRow - 1);
  int64_t best = -1;
  double least = kInfinity;
  for (int64_t m = 0; m < steps; ++m) {
    const double cost = before[static_cast<std::size_t>(m)] +
                        spreadCost(sums, squares, m * inRow, (m + 1) * inRow - 1) +
                        after[static_cast<std::size_t>(m) + 1];
    if (cost < least) least = cost, best = m;
  }
  if (best < 0) return std::nullopt;
  return best * inRow + inRow - 1;
}

// Where a reading is missing from `passes` passes over a wedge of `steps`
// steps, one reading a step in each: the pass that is one reading short (as
// the list's climbs back part it), and in it the step whose absence leaves
// the rest agreeing best with the other passes. Nothing where the climbs
// part the list otherwise.
std::optional<int64_t> gapInPasses(const std::vector<double>& values, int64_t steps, int64_t passes) {
  const auto n = static_cast<int64_t>(values.size());
  const auto at = [&](int64_t k) { return values[static_cast<std::size_t>(k)]; };
  const Climbs climbs = climbsBack(n, at, true, true);
  if (climbs.count != passes - 1) return std::nullopt;
  std::vector<int64_t> bounds{0};
  bounds.insert(bounds.end(), climbs.starts.begin(), climbs.starts.end());
  bounds.push_back(n);
  int64_t shortPass = -1;
  for (int64_t p = 0; p < passes; ++p) {
    const int64_t length = bounds[static_cast<std::size_t>(p) + 1] - bounds[static_cast<std::size_t>(p)];
    if (length == steps - 1 && shortPass < 0)
      shortPass = p;
    else if (length != steps)
      return std::nullopt;
  }
  if (shortPass < 0) return std::nullopt;
  // Each pass in the wedge's order, paper white first.
  const auto fromDark = [&](int64_t p, int64_t length) {
    const int64_t start = bounds[static_cast<std::size_t>(p)];
    return at(start + length - 1) > at(start);
  };
  const auto inWedgeOrder = [&](int64_t p, int64_t length, int64_t k) {
    const int64_t start = bounds[static_cast<std::size_t>(p)];
    return at(fromDark(p, length) ? start + length - 1 - k : start + k);
  };
  std::vector<double> reference(static_cast<std::size_t>(steps), 0.0);
  for (int64_t p = 0; p < passes; ++p)
    if (p != shortPass)
      for (int64_t k = 0; k < steps; ++k)
        reference[static_cast<std::size_t>(k)] += inWedgeOrder(p, steps, k) / static_cast<double>(passes - 1);
  // The squared differences with the missing step m: the readings before it
  // against steps 0 to m - 1, those after against m + 1 on.
  const auto squared = [](double d) { return std::isfinite(d) ? d * d : 0.0; };
  std::vector<double> head(static_cast<std::size_t>(steps), 0.0), tail(static_cast<std::size_t>(steps) + 1, 0.0);
  for (int64_t k = 1; k < steps; ++k)
    head[static_cast<std::size_t>(k)] = head[static_cast<std::size_t>(k) - 1] +
        squared(inWedgeOrder(shortPass, steps - 1, k - 1) - reference[static_cast<std::size_t>(k) - 1]);
  for (int64_t k = steps - 1; k >= 1; --k)
    tail[static_cast<std::size_t>(k)] = tail[static_cast<std::size_t>(k) + 1] +
        squared(inWedgeOrder(shortPass, steps - 1, k - 1) - reference[static_cast<std::size_t>(k)]);
  int64_t best = 0;
  double least = kInfinity;
  for (int64_t m = 0; m < steps; ++m)
    if (const double cost = head[static_cast<std::size_t>(m)] + tail[static_cast<std::size_t>(m) + 1]; cost < least)
      least = cost, best = m;
  const int64_t start = bounds[static_cast<std::size_t>(shortPass)];
  return fromDark(shortPass, steps - 1) ? start + (steps - 1 - best) : start + best;
}

// ---------------------------------------------------------------------------
// Passes that disagree

// How far the passes of a layout lie apart: each pass's step means against
// those of the other passes, smoothed over a tenth of the wedge so that the
// noise does not count, and the largest such difference.
struct PassDisagreement {
  double most = 0;      // L*, signed: the pass lies above the others
  int64_t pass = -1;    // counted from 0
  int64_t step = -1;
  double error = 0;     // standard error of the smoothed difference
};

PassDisagreement passesDisagree(const std::vector<double>& values, const WedgeLayout& layout, double noise) {
  PassDisagreement worst;
  const int64_t passes = layout.passes, steps = layout.steps, inRow = layout.inRow();
  if (passes < 2 || steps < 2) return worst;
  // Each pass's mean of each step.
  std::vector<double> means(static_cast<std::size_t>(passes * steps), 0.0);
  std::vector<int64_t> counts(means.size(), 0);
  for (int64_t pass = 0; pass < passes; ++pass)
    for (int64_t run = 0; run < steps; ++run)
      for (int64_t r = 0; r < inRow; ++r) {
        const SamplePlace place = samplePlace(steps, inRow, passFromDarkEnd(layout, pass), pass, run, r);
        const double v = values[static_cast<std::size_t>(place.index)];
        if (!std::isfinite(v)) continue;
        const auto at = static_cast<std::size_t>(pass * steps + place.step);
        means[at] += v;
        ++counts[at];
      }
  for (std::size_t k = 0; k < means.size(); ++k) means[k] = counts[k] > 0 ? means[k] / static_cast<double>(counts[k]) : kNaN;
  const int64_t half = std::max<int64_t>(1, steps / 20);
  const double window = static_cast<double>(2 * half + 1);
  worst.error = noise * std::sqrt((1.0 + 1.0 / static_cast<double>(passes - 1)) / (static_cast<double>(inRow) * window));
  for (int64_t pass = 0; pass < passes; ++pass) {
    const auto difference = [&](int64_t step) {
      double others = 0;
      for (int64_t q = 0; q < passes; ++q)
        if (q != pass) others += means[static_cast<std::size_t>(q * steps + step)];
      return means[static_cast<std::size_t>(pass * steps + step)] - others / static_cast<double>(passes - 1);
    };
    for (int64_t step = half; step + half < steps; ++step) {
      double sum = 0;
      for (int64_t k = step - half; k <= step + half; ++k) sum += difference(k);
      const double smoothed = sum / window;
      if (std::isfinite(smoothed) && std::fabs(smoothed) > std::fabs(worst.most)) {
        worst.most = smoothed;
        worst.pass = pass;
        worst.step = step;
      }
    }
    // Two passes differ alike: the first tells it.
    if (passes == 2) break;
  }
  return worst;
}

// Whether each pass of a layout falls from paper white to the darkest step
// on its own, over most of the list's range, without climbing back: passes
// that line up with the list's own, whatever their prints.
bool passesFallAlone(const std::vector<double>& values, const WedgeLayout& layout) {
  const int64_t length = layout.steps * layout.inRow();
  double low = kInfinity, high = -kInfinity;
  for (const double v : values)
    if (std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
  for (int64_t pass = 0; pass < layout.passes; ++pass) {
    const bool fromDark = passFromDarkEnd(layout, pass);
    const auto at = [&](int64_t k) {
      return values[static_cast<std::size_t>(pass * length + (fromDark ? length - 1 - k : k))];
    };
    double passLow = kInfinity, passHigh = -kInfinity;
    for (int64_t k = 0; k < length; ++k)
      if (std::isfinite(at(k))) passLow = std::min(passLow, at(k)), passHigh = std::max(passHigh, at(k));
    if (!(passHigh - passLow > kPassSpanShare * (high - low)) || climbsBack(length, at, false).count > 0) return false;
  }
  return true;
}

class Finder {
 public:
  Finder(const std::vector<double>& values, const LayoutRequest& request, const std::vector<bool>& sameLine = {})
      : values_(values), request_(request), sameLine_(sameLine) {}

  LayoutDecision decide();

 private:
  Judgement judge(WedgeLayout layout);
  LayoutDecision choose(std::vector<Judgement>& plausible, const std::vector<Judgement>& judged);
  LayoutDecision refuse(const std::vector<Judgement>& judged);
  // The refusals, each where it applies: the paper's margin read after the
  // darkest patch; what the user asked for; passes that do not line up.
  std::optional<LayoutDecision> marginReadLast() const;
  std::optional<LayoutDecision> requestDoesNotFit(const std::vector<Judgement>& judged) const;
  std::optional<LayoutDecision> passesDoNotLineUp(const Climbs& climbs) const;
  LayoutDecision takeInOrderOfFallingL(const Climbs& climbs);
  LayoutDecision readingsThatShowNothing();
  // The layout of `steps` steps that the readings fit with one of them
  // missing, read as the request allows; nothing where none fits.
  std::optional<LayoutDecision> withOneMissing(int64_t steps) const;
  // The regular decision, told where the readings fit a usual layout with
  // one reading missing.
  LayoutDecision offerOneMissing(LayoutDecision regular) const;
  // Single readings read one a step that stick out of the list: outside
  // both neighbours by more than the step between them and beyond the
  // noise. They go to `leftOut`.
  void leaveOutSmudges(LayoutDecision& decision) const;
  bool differMaterially(const Judgement& a, const Judgement& b) const;
  // Where a reading repeats the one before it in a list read one a step.
  std::vector<int64_t> repeatsAmongSingleReadings() const;
  // The question which of `choices` is meant; `offered` gets each, as asked.
  std::string askMessage(std::vector<const Judgement*> choices, std::vector<LayoutChoice>& offered) const;
  std::string repeatMessage(const Judgement& judgement) const;

  const std::vector<double>& values_;
  LayoutRequest request_;
  std::vector<bool> sameLine_;
  std::vector<double> buffer_, means_;
  // The least noise any layout of repeats implies: the instrument's, where
  // one of them is right.
  double instrumentNoise_ = 0;
  // The noise of one reading of the list read one reading a step.
  double listNoise_ = kNoiseFloor;
  // The readings that stick out of the list (spikesIn).
  std::vector<bool> spikes_;
};

Judgement Finder::judge(WedgeLayout layout) {
  Judgement j;
  orientPasses(values_, layout);
  stepMeans(values_, layout, means_);
  const auto [low, high] = std::minmax_element(means_.begin(), means_.end(), [](double x, double y) {
    return std::isfinite(x) && (!std::isfinite(y) || x < y);
  });
  j.range = std::isfinite(*low) && std::isfinite(*high) ? *high - *low : 0.0;
  j.usual = usualWedgeSize(layout.readings) == std::make_pair(layout.steps, layout.mostSamples) ||
            (layout.mostSamples > kMostSamples);
  j.layout = layout;
  const auto fail = [&](std::string why, std::optional<int64_t> blame) {
    j.plausible = false;
    j.whyNot = std::move(why);
    j.blame = blame;
    return j;
  };
  if (!(means_.front() > means_.back()))
    return fail("its steps do not fall from paper white to the darkest", std::nullopt);
  const Climbs climbs = climbsBack(layout.steps, [this](int64_t k) { return means_[static_cast<std::size_t>(k)]; }, false);
  if (climbs.count > 0)
    return fail("step " + std::to_string(climbs.at + 1) + " climbs back from " + lightness(climbs.from) + " to " +
                    lightness(climbs.to),
                std::nullopt);
  // Nor, all its rises beyond the noise added up: a wedge listed from its
  // middle on, read backwards, rises twice by less than half its range.
  const double meanNoise = instrumentNoise_ / std::sqrt(static_cast<double>(layout.mostSamples));
  if (const double rise = risesBeyond(means_, meanNoise);
      rise > kClimbBackShare * j.range)
    return fail("its steps climb back " + platform::text::fixedDecimal(rise, 1) + " L* in all", std::nullopt);
  if (layout.inRow() > 1) {
    const StaircaseTest test = judgeStaircase(values_, layout, means_, instrumentNoise_, spikes_, buffer_);
    j.staircase = test.verdict;
    j.noise = test.noise;
    j.between = test.between;
    j.error = test.error;
    if (test.verdict == Staircase::absent)
      return fail("its runs of " + std::to_string(layout.inRow()) + " readings fall with the wedge: they are not repeats",
                  std::nullopt);
  } else if (layout.mostSamples == 1) {
    j.noise = listNoise_;
    if (!request_.steps && comesInRuns(values_))
      return fail(kRunsOfRepeats, std::nullopt);
    j.repeats = repeatsAmongSingleReadings();
  }
  if (layout.passes > 1 && passesFallAlone(values_, layout)) {
    const PassDisagreement apart = passesDisagree(values_, layout, instrumentNoise_);
    if (std::fabs(apart.most) > std::max(kPassesDisagreeShare * j.range, kPassesDisagreeErrors * apart.error)) {
      const std::string by = platform::text::fixedDecimal(std::fabs(apart.most), 1) + " L* (at step " +
                             std::to_string(apart.step + 1) + ")";
      fail(layout.passes == 2 ? "its passes 1 and 2 disagree by up to " + by
                              : "its pass " + std::to_string(apart.pass + 1) + " disagrees with the others by up to " + by,
           std::nullopt);
      j.passesDisagree = true;
      return j;
    }
  }
  if (layout.mostSamples > 1) {
    const Agreement agreement = stepsAgree(values_, layout, j.range, instrumentNoise_);
    if (!agreement.agree)
      return fail("the samples of step " + std::to_string(agreement.step + 1) + " span " +
                      platform::text::fixedDecimal(agreement.span, 1) + " L* (readings " +
                      std::to_string(std::min(agreement.low, agreement.high) + 1) + " and " +
                      std::to_string(std::max(agreement.low, agreement.high) + 1) + ")",
                  std::min(agreement.low, agreement.high));
  }
  // Only a layout that stands needs the noise its steps' samples show.
  if (layout.mostSamples > 1 && layout.inRow() == 1) j.noise = spreadAboutMeans(values_, layout, means_, buffer_);
  j.response = responseOf(layout.mostSamples == 1 && layout.passes == 1 && layout.fromDarkEnd.empty() ? values_ : means_);
  return j;
}

std::vector<int64_t> Finder::repeatsAmongSingleReadings() const {
  // On a usual wedge's count every step is there, none read twice: equal
  // readings at an end are the print's blocked end, and a pair in the
  // middle a bump of the print (or a smudge).
  if (isUsualStepCount(static_cast<int64_t>(values_.size()))) return {};
  // A line read twice: every field the same, where the instrument's noise
  // would move them. Where there is one, that is the repeat to name: a pair
  // that merely lies close (a toe) is no news beside it.
  std::vector<int64_t> lines;
  if (listNoise_ >= kExactRepeatNoise)
    for (std::size_t k = 1; k < sameLine_.size() && k < values_.size(); ++k)
      if (sameLine_[k]) lines.push_back(static_cast<int64_t>(k) - 1);
  return lines.empty() ? loneRepeats(values_) : lines;
}

bool Finder::differMaterially(const Judgement& a, const Judgement& b) const {
  // Beyond a share of the range the correction spreads over the whole
  // curve, and beyond what the noise of the readings leaves uncertain in
  // the smoothed response anyway: readings that differ only within the
  // instrument's noise are no choice.
  const double perWindow = std::max(1.0, kSmoothingShare * static_cast<double>(values_.size()));
  const double limit = std::max(kMaterialShare * std::max(a.range, b.range),
                                kMaterialErrors * std::max(a.noise, b.noise) / std::sqrt(perWindow));
  for (std::size_t k = 0; k < kResponsePoints; ++k) {
    const double d = std::fabs(a.response[k] - b.response[k]);
    if (!(d <= limit)) return true;
  }
  return false;
}

std::string Finder::askMessage(std::vector<const Judgement*> choices, std::vector<LayoutChoice>& offered) const {
  // The finest wedge first.
  std::stable_sort(choices.begin(), choices.end(),
                   [](const Judgement* x, const Judgement* y) { return x->layout.steps > y->layout.steps; });
  // Each is chosen by its step count; where two share it, by the layout too.
  for (const Judgement* choice : choices) {
    const WedgeLayout& layout = choice->layout;
    LayoutRequest r;
    r.steps = layout.steps;
    for (const Judgement* other : choices)
      if (&other->layout != &layout && other->layout.steps == layout.steps)
        r.arrangement = layout.passes == 1 ? LayoutRequest::Arrangement::together : LayoutRequest::Arrangement::passes;
    offered.push_back({layout.choice(), r});
  }
  std::string text = std::to_string(values_.size()) + " readings could be ";
  for (std::size_t k = 0; k < offered.size(); ++k)
    text += (k == 0 ? "" : k + 1 == offered.size() ? " or " : ", ") + offered[k].label;
  text += "; say which with ";
  for (std::size_t k = 0; k < offered.size(); ++k)
    text += (k == 0 ? "" : k + 1 == offered.size() ? " or " : ", ") + ("`" + offered[k].request.options() + "`");
  return text;
}

std::string Finder::repeatMessage(const Judgement& judgement) const {
  const int64_t at = judgement.repeats.front();
  const auto v = [&](int64_t k) { return platform::text::fixedDecimal(values_[static_cast<std::size_t>(k)], 2); };
  std::string text = reading(at + 1) + " repeats " + reading(at) + " (L* " + v(at) + " and " + v(at + 1) +
                     ") where the steps around them are far apart: " +
                     (at == 0 ? "the paper's margin read as a patch, or a patch read twice?"
                              : "a patch read twice?") +
                     " take one of the two out of the file, or say `--steps " + std::to_string(values_.size()) +
                     "` if they are two steps";
  if (judgement.repeats.size() > 1)
    text += " (" + reading(judgement.repeats[1] + 1) + " repeats the one before it too)";
  return text;
}

// Drops the candidates the list shows less than others: the parts of a
// staircase that shows (the shorter runs it is made of, and one reading a
// step, in the same passes), and, where some staircase shows, every layout
// but those and the coarser staircases made of them (runs of 4 over pairs
// that show as repeats), which are weighed against each other after.
// Returns whether some staircase shows.
bool preferWhatShows(std::vector<Judgement>& plausible) {
  const auto nested = [](const Judgement& part, const Judgement& whole) {
    return &part != &whole && part.layout.passes == whole.layout.passes &&
           part.layout.inRow() < whole.layout.inRow() && whole.layout.inRow() % part.layout.inRow() == 0;
  };
  bool anyShown = false;
  for (const Judgement& shown : plausible) {
    if (shown.staircase != Staircase::shown) continue;
    anyShown = true;
    for (Judgement& part : plausible)
      if (nested(part, shown)) part.plausible = false;
  }
  const auto showsOrHoldsWhatShows = [&](const Judgement& j) {
    return j.staircase == Staircase::shown ||
           std::any_of(plausible.begin(), plausible.end(), [&](const Judgement& shown) {
             return shown.staircase == Staircase::shown && nested(shown, j);
           });
  };
  std::vector<bool> keep;
  for (const Judgement& j : plausible) keep.push_back(j.plausible && (!anyShown || showsOrHoldsWhatShows(j)));
  std::size_t k = 0;
  std::erase_if(plausible, [&](const Judgement&) { return !keep[k++]; });
  return anyShown;
}

// How far what the runs of every judged layout show lies from what layout
// `h` predicts, in squared standard errors, added up over the layouts of its
// passes: the smallest for the layout the list most likely holds.
double misfit(const Judgement& h, const std::vector<const Judgement*>& evidence) {
  double sum = 0;
  for (const Judgement* e : evidence) {
    if (e->layout.passes != h.layout.passes || !std::isfinite(e->between) || !(e->error > 0)) continue;
    const double off = (e->between - expectedBetween(e->layout.inRow(), h.layout.inRow())) / e->error;
    sum += off * off;
  }
  return sum;
}

LayoutDecision Finder::choose(std::vector<Judgement>& plausible, const std::vector<Judgement>& judged) {
  // What every layout's runs show, the ones ruled out too.
  std::vector<const Judgement*> evidence;
  for (const Judgement& j : plausible) evidence.push_back(&j);
  for (const Judgement& j : judged) evidence.push_back(&j);
  for (Judgement& j : plausible) j.misfit = misfit(j, evidence);
  const bool anyShown = preferWhatShows(plausible);
  // Then the layout whose prediction the runs of all layouts fit best, and,
  // where no staircase shows, the usual wedge's count where it fits about as
  // well; no lone repeats; fewer passes; more steps.
  double best = kInfinity;
  for (const Judgement& j : plausible) best = std::min(best, j.misfit);
  const auto fitsAsWell = [&](const Judgement& j) { return j.misfit <= best + kMisfitDoubt; };
  // Of the layouts the list does not tell apart, the one that averages
  // most: read as repeats, single readings lose a little of their detail;
  // read one a step, repeats keep all their noise.
  const auto rank = [&](const Judgement& j) {
    const bool usual = j.usual && fitsAsWell(j);
    const bool doubt = !anyShown && fitsAsWell(j);
    return std::make_tuple(usual ? 0 : 1, doubt ? 0 : 1, usual ? -j.layout.steps : doubt ? -j.layout.inRow() : 0,
                           j.misfit, j.repeats.empty() ? 0 : 1, j.layout.passes, -j.layout.steps);
  };
  std::stable_sort(plausible.begin(), plausible.end(),
                   [&](const Judgement& x, const Judgement& y) { return rank(x) < rank(y); });
  const Judgement& preferred = plausible.front();
  // A staircase that shows, or the usual count where none shows, decides;
  // the others are offered where the list does not rule them out beyond
  // doubt and they give another curve.
  const auto outranked = [&](const Judgement& other) {
    return (!anyShown && preferred.usual && !other.usual) || other.misfit > preferred.misfit + kMisfitDoubt;
  };
  std::vector<const Judgement*> choices{&preferred};
  for (std::size_t k = 1; k < plausible.size(); ++k) {
    const Judgement& other = plausible[k];
    if (outranked(other) || !differMaterially(preferred, other)) continue;
    const bool known = std::any_of(choices.begin(), choices.end(), [&](const Judgement* c) {
      return c->layout.steps == other.layout.steps && c->layout.passes == other.layout.passes;
    });
    if (!known && choices.size() < 3) choices.push_back(&other);
  }
  LayoutDecision decision;
  if (choices.size() > 1) {
    decision.kind = LayoutDecision::Kind::ask;
    decision.message = askMessage(choices, decision.choices);
    return decision;
  }
  if (!preferred.repeats.empty() && !request_.steps) {
    decision.kind = LayoutDecision::Kind::ask;
    decision.message = repeatMessage(preferred);
    // The other answer, taking a reading out of the file, is no way to read it.
    LayoutRequest asSteps;
    asSteps.steps = static_cast<int64_t>(values_.size());
    decision.choices.push_back({WedgeLayout::oneReadingAStep(*asSteps.steps).choice(), asSteps});
    decision.blame = preferred.repeats.front() + 1;
    return decision;
  }
  LayoutDecision read = LayoutDecision::read(preferred.layout);
  read.runsShown = anyShown;
  return read;
}

LayoutDecision Finder::takeInOrderOfFallingL(const Climbs& climbs) {
  const auto n = static_cast<int64_t>(values_.size());
  LayoutDecision decision;
  decision.kind = LayoutDecision::Kind::read;
  decision.fallingOrder.resize(values_.size());
  std::iota(decision.fallingOrder.begin(), decision.fallingOrder.end(), int64_t{0});
  std::stable_sort(decision.fallingOrder.begin(), decision.fallingOrder.end(), [this](int64_t x, int64_t y) {
    return fallsBefore(values_[static_cast<std::size_t>(x)], values_[static_cast<std::size_t>(y)]);
  });
  std::vector<double> sorted(values_.size());
  for (std::size_t k = 0; k < sorted.size(); ++k) sorted[k] = values_[static_cast<std::size_t>(decision.fallingOrder[k])];

  // Sorted, the readings of each step lie together: runs of repeats show as
  // gaps between runs far wider than those inside them. The longest runs
  // that show are the steps; where none show, the usual wedge's count, if
  // the readings have one, each run of its samples one step; else one
  // reading a step.
  int64_t steps = 0, samples = 1;
  if (request_.steps && n % *request_.steps == 0) {
    steps = *request_.steps;
    samples = n / steps;
  }
  for (int64_t r = std::min(kMostSamples, n); steps == 0 && r >= 2; --r) {
    if (n % r != 0 || n / r < kFewestSteps) continue;
    std::vector<double> inside(static_cast<std::size_t>(r - 1), 0.0);
    double between = 0;
    for (int64_t run = 0; run < n / r; ++run) {
      for (int64_t k = 0; k + 1 < r; ++k)
        inside[static_cast<std::size_t>(k)] += sorted[static_cast<std::size_t>(run * r + k)] - sorted[static_cast<std::size_t>(run * r + k + 1)];
      if (run + 1 < n / r) between += sorted[static_cast<std::size_t>(run * r + r - 1)] - sorted[static_cast<std::size_t>(run * r + r)];
    }
    const double runs = static_cast<double>(n / r);
    between /= runs - 1;
    const double widest = *std::max_element(inside.begin(), inside.end()) / runs;
    if (std::isfinite(between) && between > kNoiseFloor && between >= kSortedGapContrast * widest) {
      steps = n / r;
      samples = r;
    }
  }
  if (steps == 0) {
    if (const auto usual = usualWedgeSize(n)) {
      steps = usual->first;
      samples = usual->second;
    } else {
      steps = n;
    }
  }
  decision.layout = fileOrderLayout(n, steps, samples, 1);
  decision.layout.order = WedgeLayout::Order::fallingL;
  decision.warnings.push_back("the readings follow no wedge layout as listed (the list turns back " +
                              plural(climbs.count, "time", "times") + "); they were taken in order of falling L*");
  return decision;
}

// A refusal of the readings, saying why.
LayoutDecision refusal(std::string message, std::optional<int64_t> blame = std::nullopt) {
  LayoutDecision decision;
  decision.kind = LayoutDecision::Kind::refuse;
  decision.message = std::move(message);
  decision.blame = blame;
  return decision;
}

std::optional<LayoutDecision> Finder::marginReadLast() const {
  // A lone reading after the darkest patch that climbs back: the paper's
  // margin read last, or a stray reading. The list before it falls all the
  // way.
  const auto n = static_cast<int64_t>(values_.size());
  const auto before = [this](int64_t k) { return values_[static_cast<std::size_t>(k)]; };
  const Climbs head = climbsBack(n - 1, before, false);
  double darkest = kInfinity, top = -kInfinity;
  for (int64_t k = 0; k + 1 < n; ++k)
    if (std::isfinite(before(k))) darkest = std::min(darkest, before(k)), top = std::max(top, before(k));
  const double last = values_.back();
  if (!(n > kFewestSteps && head.count == 0 && !head.rising && std::isfinite(last) &&
        last - darkest > kClimbBackShare * (top - darkest)))
    return std::nullopt;
  const bool paperWhite = last >= top - kPaperWhiteShare * (top - darkest);
  return refusal(reading(n - 1) + " climbs back from " + lightness(darkest) + " to " + lightness(last) +
                     (paperWhite ? ": a paper-white reading after the darkest patch?"
                                 : " after the darkest patch: a reading of another patch?") +
                     " take it out of the file",
                 n - 1);
}

std::optional<LayoutDecision> Finder::requestDoesNotFit(const std::vector<Judgement>& judged) const {
  // What the user asked for does not fit: say why, as the closest reading
  // of it shows.
  if (request_.empty()) return std::nullopt;
  const auto n = static_cast<int64_t>(values_.size());
  const std::string asked = "`" + request_.options() + "`";
  if (request_.steps && n % *request_.steps != 0)
    return refusal(asked + " does not fit " + std::to_string(n) + " readings: they are not a whole number of " +
                   "readings for each of " + std::to_string(*request_.steps) + " steps");
  for (const Judgement& j : judged)
    if (!j.whyNot.empty()) return refusal(asked + " does not fit the readings as " + j.layout.choice() + ": " + j.whyNot, j.blame);
  return std::nullopt;
}

std::optional<LayoutDecision> Finder::passesDoNotLineUp(const Climbs& climbs) const {
  // Passes that do not line up climb back a few times; rows in no order
  // climb back every few readings.
  const auto n = static_cast<int64_t>(values_.size());
  if (!(climbs.count > 0 && (climbs.count + 1) * kFewestSteps <= n)) return std::nullopt;
  std::string passes;
  if (climbs.count <= 4) {
    std::vector<int64_t> bounds{0};
    bounds.insert(bounds.end(), climbs.starts.begin(), climbs.starts.end());
    bounds.push_back(n);
    passes = " (passes of ";
    for (std::size_t k = 1; k < bounds.size(); ++k)
      passes += (k == 1 ? "" : k + 1 == bounds.size() ? " and " : ", ") + std::to_string(bounds[k] - bounds[k - 1]);
    passes += " readings)";
  }
  return refusal("no wedge layout fits " + std::to_string(n) + " readings: the list " +
                     (climbs.rising ? "falls" : "climbs") + " back " + plural(climbs.count, "time", "times") +
                     ", first at " + reading(climbs.at) + ", from " + lightness(climbs.from) + " to " +
                     lightness(climbs.to) + passes +
                     "; a file is read as one reading a step or as whole passes over the wedge, each from paper "
                     "white to the darkest",
                 climbs.at);
}

LayoutDecision Finder::refuse(const std::vector<Judgement>& judged) {
  const auto n = static_cast<int64_t>(values_.size());
  const std::string none = "no wedge layout fits " + std::to_string(n) + " readings";
  if (auto margin = marginReadLast()) return *margin;
  if (auto asked = requestDoesNotFit(judged)) return *asked;
  // Passes that line up but disagree: two prints in one file.
  for (const Judgement& j : judged)
    if (j.passesDisagree)
      return refusal(none + ": read as " + j.layout.choice() + ", " + j.whyNot +
                     ": two prints in one file? read each print from a file of its own");
  const Climbs climbs = climbsBack(n, [this](int64_t k) { return values_[static_cast<std::size_t>(k)]; }, true, true);
  if (auto passes = passesDoNotLineUp(climbs)) return *passes;
  if (climbs.count > 0 && request_.arrangement)
    return refusal("`" + request_.options() + "` does not fit the readings: they follow no wedge layout as listed");
  if (climbs.count > 0) return takeInOrderOfFallingL(climbs);
  // The list falls, or rises, all the way, yet no layout fits: say why one
  // reading a step does not.
  for (const Judgement& j : judged) {
    if (j.layout.mostSamples != 1 || j.layout.passes != 1 || j.whyNot.empty()) continue;
    if (j.whyNot == kRunsOfRepeats)
      return refusal(none + ": they come in runs of repeats (each patch read a few times in a row), but no count of "
                            "repeats fits " + std::to_string(n) + " readings; is a patch read once too often or too "
                            "few times?",
                     j.blame);
    return refusal(none + ": read one reading a step, " + j.whyNot, j.blame);
  }
  return refusal(none);
}

LayoutDecision Finder::readingsThatShowNothing() {
  // Every reading the same (or no number at all): any layout gives the same
  // flat curve. The usual wedge's count, else the most samples a step of
  // kFewestSteps steps or more.
  const auto n = static_cast<int64_t>(values_.size());
  if (const auto usual = usualWedgeSize(n)) return LayoutDecision::read(fileOrderLayout(n, usual->first, usual->second, 1));
  for (int64_t samples = std::min(kMostSamples, n / kFewestSteps); samples >= 2; --samples)
    if (n % samples == 0) return LayoutDecision::read(fileOrderLayout(n, n / samples, samples, 1));
  return LayoutDecision::read(WedgeLayout::oneReadingAStep(n));
}

LayoutDecision Finder::decide() {
  const auto n = static_cast<int64_t>(values_.size());
  if (n == 0) return LayoutDecision::read(WedgeLayout{});
  if (request_.steps && n % *request_.steps != 0) {
    if (auto missing = withOneMissing(*request_.steps)) return *missing;
    return refuse({});
  }
  // Fewer readings than the smallest wedge has steps are one reading a step,
  // as listed: there is no layout to choose.
  if (n < kFewestSteps && !request_.steps) return LayoutDecision::read(WedgeLayout::oneReadingAStep(n));
  double low = kInfinity, high = -kInfinity;
  for (const double v : values_)
    if (std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
  if (!(high - low > kNoiseFloor) && request_.empty()) return readingsThatShowNothing();

  std::vector<WedgeLayout> candidates = enumerateCandidates(n, request_);
  // Passes over the wedge climb back where each begins, or run back up from
  // the dark end; a list that does neither is no list of passes.
  if (!request_.arrangement &&
      climbsBack(n, [this](int64_t k) { return values_[static_cast<std::size_t>(k)]; }, false, true).count == 0)
    std::erase_if(candidates, [](const WedgeLayout& c) { return c.passes > 1; });
  instrumentNoise_ = kInfinity;
  for (WedgeLayout& candidate : candidates) {
    if (candidate.mostSamples < 2) continue;
    orientPasses(values_, candidate);
    instrumentNoise_ = std::min(instrumentNoise_, pairNoise(values_, candidate, buffer_));
  }
  // One reading a step: the list's own noise (a staircase's jumps make
  // that large, and its layouts small).
  listNoise_ = thirdDifferenceNoise(values_, 1, n, buffer_);
  instrumentNoise_ = std::min(instrumentNoise_, listNoise_);
  if (!std::isfinite(instrumentNoise_)) instrumentNoise_ = 0;
  spikes_ = spikesIn(values_, high - low, instrumentNoise_);
  std::vector<Judgement> judged, plausible;
  for (WedgeLayout& candidate : candidates) {
    Judgement j = judge(std::move(candidate));
    if (j.plausible)
      plausible.push_back(std::move(j));
    else
      judged.push_back(std::move(j));
  }
  LayoutDecision decision = offerOneMissing(plausible.empty() ? refuse(judged) : choose(plausible, judged));
  leaveOutSmudges(decision);
  return decision;
}

std::optional<LayoutDecision> Finder::withOneMissing(int64_t steps) const {
  const auto n = static_cast<int64_t>(values_.size());
  if (steps < kFewestSteps || (n + 1) % steps != 0 || (n + 1) / steps < 2) return std::nullopt;
  const int64_t samples = (n + 1) / steps;
  using Arrangement = LayoutRequest::Arrangement;
  for (const Arrangement arrangement : {Arrangement::together, Arrangement::passes}) {
    if (request_.arrangement && *request_.arrangement != arrangement) continue;
    const std::optional<int64_t> gap = arrangement == Arrangement::together ? gapInRuns(values_, steps, samples)
                                                                            : gapInPasses(values_, steps, samples);
    if (!gap) continue;
    // The list with the missing reading in its place, not a number, read as
    // a whole one.
    std::vector<double> whole = values_;
    whole.insert(whole.begin() + *gap, kNaN);
    LayoutRequest request;
    request.steps = steps;
    request.arrangement = arrangement;
    LayoutDecision decision = Finder(whole, request).decide();
    if (decision.kind != LayoutDecision::Kind::read || decision.layout.order != WedgeLayout::Order::fileOrder ||
        (arrangement == Arrangement::passes && decision.layout.inRow() != 1))
      continue;
    // Steps whose means repeat in runs are the parts of a coarser wedge
    // with a reading too many, not a wedge with one missing; nor is one
    // whose steps climb back (a reading too many after the darkest).
    std::vector<double> means;
    stepMeans(whole, decision.layout, means);
    std::vector<double> buffer;
    const double range = means.front() - means.back();
    const double noise = thirdDifferenceNoise(means, 1, static_cast<int64_t>(means.size()), buffer);
    if (comesInRuns(means) || risesBeyond(means, noise) > kSpikeShare * range) continue;
    // Each reading's step, the missing one left out.
    decision.stepOf.assign(values_.size(), 0);
    forEachSample(decision.layout, [&](int64_t step, int64_t, int64_t index) {
      if (index == *gap)
        decision.layout.missingStep = step;
      else
        decision.stepOf[static_cast<std::size_t>(index > *gap ? index - 1 : index)] = static_cast<int32_t>(step);
    });
    decision.layout.readings = n;
    decision.layout.fewestSamples = samples - 1;
    return decision;
  }
  return std::nullopt;
}

void Finder::leaveOutSmudges(LayoutDecision& decision) const {
  const WedgeLayout& layout = decision.layout;
  if (decision.kind != LayoutDecision::Kind::read || layout.mostSamples != 1 ||
      layout.order != WedgeLayout::Order::fileOrder || !decision.stepOf.empty())
    return;
  decision.leftOut = smudgedReadings(values_, "reading");
  decision.layout.leftOut = static_cast<int64_t>(decision.leftOut.size());
}

LayoutDecision Finder::offerOneMissing(LayoutDecision regular) const {
  // Only a list that no layout fits, or that is read one reading a step
  // as listed, may be a layout with a reading missing.
  const bool single = regular.kind == LayoutDecision::Kind::read && regular.layout.mostSamples == 1 &&
                      regular.layout.order == WedgeLayout::Order::fileOrder;
  if (!request_.empty() || !(single || regular.kind == LayoutDecision::Kind::refuse)) return regular;
  const auto n = static_cast<int64_t>(values_.size());
  for (int64_t samples = 2; samples <= kMostSamples; ++samples) {
    if ((n + 1) % samples != 0 || (n + 1) / samples < kFewestSteps) continue;
    const int64_t steps = (n + 1) / samples;
    const std::optional<LayoutDecision> missing = withOneMissing(steps);
    // Runs in place must show as repeats beyond doubt; passes show in the
    // climbs that part them.
    if (!missing || (missing->layout.passes == 1 && !missing->runsShown)) continue;
    const std::string option = "`--steps " + std::to_string(steps) + "`";
    LayoutDecision decision;
    decision.kind = regular.kind == LayoutDecision::Kind::refuse ? LayoutDecision::Kind::refuse : LayoutDecision::Kind::ask;
    LayoutRequest asListed, withMissing;
    asListed.steps = n;
    withMissing.steps = steps;
    if (single) {
      decision.message = std::to_string(n) + " readings could be " + regular.layout.choice() + " or " +
                         missing->layout.choice() + "; say which with `--steps " + std::to_string(n) + "` or " +
                         option;
      decision.choices.push_back({regular.layout.choice(), asListed});
    } else {
      decision.message = regular.message + (regular.message.ends_with("?") ? " If" : "; if") +
                         " a reading is missing, " + option + " reads them as " + missing->layout.choice();
    }
    decision.choices.push_back({missing->layout.choice(), withMissing});
    decision.blame = regular.blame;
    return decision;
  }
  return regular;
}

}  // namespace

std::vector<LeftOut> smudgedReadings(const std::vector<double>& values, const std::string& item) {
  std::vector<LeftOut> smudged;
  const std::size_t n = values.size();
  if (n < 3) return smudged;
  std::vector<double> buffer;
  const double limit =
      kSmudgeNoiseTimes * std::sqrt(2.0) * thirdDifferenceNoise(values, 1, static_cast<int64_t>(n), buffer);
  const auto v = [&](std::size_t k) { return values[k]; };
  // How far a reading lies from the line through its neighbours.
  const auto offLine = [&](std::size_t i) {
    return i >= 1 && i + 1 < n ? std::fabs(v(i) - (v(i - 1) + v(i + 1)) / 2) : -kInfinity;
  };
  std::size_t previous = 0;
  for (std::size_t k = 1; k + 1 < n; ++k) {
    const double low = std::min(v(k - 1), v(k + 1)), high = std::max(v(k - 1), v(k + 1));
    const double beyond = v(k) > high ? v(k) - high : low - v(k);
    if (!(beyond > high - low && beyond > limit)) continue;
    // A smudged reading that lands among its neighbours' values makes a good
    // neighbour stick out instead: the one that lies farthest from the line
    // through its own neighbours is the smudge.
    std::size_t i = k;
    for (const std::size_t j : {k - 1, k + 1})
      if (offLine(j) > offLine(i)) i = j;
    // Off the line its neighbours draw, and off the line each side draws on
    // its own: the edge of a print's own dip lies on its side's line.
    const double step = std::fabs(v(i + 1) - v(i - 1));
    double sides = offLine(i);
    if (i >= 2) sides = std::min(sides, std::fabs(v(i) - (2 * v(i - 1) - v(i - 2))));
    if (i + 2 < n) sides = std::min(sides, std::fabs(v(i) - (2 * v(i + 1) - v(i + 2))));
    if (i == previous || !(sides > step && sides > limit)) continue;
    previous = i;
    const double outside = std::max(v(i) - std::max(v(i - 1), v(i + 1)), std::min(v(i - 1), v(i + 1)) - v(i));
    const auto fixed = [](double x, int decimals) { return platform::text::fixedDecimal(x, decimals); };
    smudged.push_back({static_cast<int64_t>(i),
                       item + " " + std::to_string(i + 1) + " (L* " + fixed(v(i), 2) + ") lies " +
                           (outside > 0 ? fixed(outside, 1) + " L* outside its neighbours"
                                        : fixed(offLine(i), 1) + " L* off the line through its neighbours") +
                           " (L* " + fixed(v(i - 1), 2) + " and " + fixed(v(i + 1), 2) +
                           "): a smudge or a misplaced instrument? it was left out of the curve",
                       v(i)});
  }
  return smudged;
}

bool isUsualStepCount(int64_t steps) {
  return std::find(std::begin(kUsualWedgeSteps), std::end(kUsualWedgeSteps), steps) != std::end(kUsualWedgeSteps);
}

std::optional<std::pair<int64_t, int64_t>> usualWedgeSize(int64_t readings) {
  // Where several fit (512 readings: 256 steps twice or 128 four times), the
  // most steps: a wedge is more often measured fewer times.
  for (const int64_t steps : kUsualWedgeSteps)
    if (readings > 0 && readings % steps == 0) return std::make_pair(steps, readings / steps);
  return std::nullopt;
}

bool fallsBefore(double x, double y) { return !std::isnan(x) && (std::isnan(y) || y < x); }

LayoutDecision decideLayout(const std::vector<double>& lValues, const LayoutRequest& request,
                            const std::vector<bool>& sameLine) {
  return Finder(lValues, request, sameLine).decide();
}

}  // namespace linearization
