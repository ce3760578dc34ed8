#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace linearization {

// The steps a file names itself, by the device values of its patches (RGB_R,
// RGB_G and RGB_B, or GRAY_K): the readings with the same values are the
// samples of one step, whatever the instrument's noise.
struct StepNames {
  std::vector<int32_t> stepOf;  // for each reading, its step, 0 (paper white) first
  int64_t steps = 0;
  std::string namedBy;  // "RGB values", "GRAY_K value"
  // Each step's place on the input axis, 0 (paper white) to 1 (the darkest
  // step), as the values that name the steps space them; empty where they
  // space the steps evenly (the usual wedge), which places them as a list of
  // steps is placed.
  std::vector<double> positions;
};

// The steps of readings each named by one value (a GRAY or an input
// percentage column): readings with the same value, to the rounding of its
// text (1e-6), are one step; the steps run from paper white, which has the
// lowest value where `whiteIsLowest` and the highest otherwise, to the
// darkest, and lie where their values place them (`positions`). Nothing
// where the values name fewer than two steps, or one is not a number.
std::optional<StepNames> stepsNamedByValues(const std::vector<double>& values, bool whiteIsLowest,
                                            std::string namedBy);

// Where steps named by `labels` (one a step, paper white first, in the
// order of the wedge) lie between paper white (0) and the darkest step (1):
// each label's distance from the first over the whole span. Empty where
// they lie evenly, each within a fortieth of a step of its even place (labels
// rounded in their text, 12.75 written 13), or where the labels do not run
// one way from the first to the last.
std::vector<double> positionsOfLabels(const std::vector<double>& labels);

// A reading left out of the curve, and why: a smudged reading among single
// readings, a sample far from the others of its step. `reading` counts from
// 0 in the list given.
struct LeftOut {
  int64_t reading = 0;
  std::string why;  // "reading 31 (L* 52.10) lies 10.2 L* outside ..."
  double L = 0;      // the reading's L*
  int64_t step = -1;  // the wedge's step it was read from, once known
  double position = 0;  // where that step lies, 0 (paper white) to 1
};

// What the user says of the wedge (`--steps`, `--layout`). What is given is
// not guessed: readings that do not fit it are refused.
struct LayoutRequest {
  enum class Arrangement {
    together,  // each step's readings in a row, step after step
    passes,    // pass after pass over the wedge
  };
  std::optional<int64_t> steps;
  std::optional<Arrangement> arrangement;

  bool empty() const { return !steps && !arrangement; }
  // "--steps 21 --layout passes", as the user would type it.
  std::string options() const;
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
  // For each pass, whether it lists the wedge from the darkest step to paper
  // white; empty when every pass runs from paper white.
  std::vector<bool> fromDarkEnd;
  Order order = Order::fileOrder;
  std::string namedBy;
  // The steps lie where the values that name them place them, not evenly.
  bool placedAtLabels = false;
  // The step (counted from 0) one of whose readings is missing from the
  // list; -1 when none is.
  int64_t missingStep = -1;
  // How many readings were left out of the curve (smudged readings, stray
  // samples).
  int64_t leftOut = 0;

  // `readings` readings, one a step, in file order.
  static WedgeLayout oneReadingAStep(int64_t readings);

  // Samples of a step in a row in each pass.
  int64_t inRow() const { return passes > 0 ? mostSamples / passes : mostSamples; }

  // What the summary line says of the readings: "21 steps" for one reading a
  // step in file order; otherwise the count and the layout, "258, a 129-step
  // wedge measured 2 times, pass after pass", and the passes listed from the
  // dark end.
  std::string description() const;
  // The layout alone, as a choice is offered: "a 22-step wedge measured
  // once", "an 11-step wedge measured twice, each step's readings together".
  std::string choice() const;
  // ", one reading of step 7 missing", or nothing.
  std::string missing() const;
  // ", 1 reading left out", or nothing.
  std::string leftOutText() const;
};

// Whether pass `pass` (counted from 0) lists the wedge from the dark end.
inline bool passFromDarkEnd(const WedgeLayout& layout, int64_t pass) {
  const auto p = static_cast<std::size_t>(pass);
  return p < layout.fromDarkEnd.size() && layout.fromDarkEnd[p];
}

// Where reading r of run `run` of pass `pass` lies in the list, and which
// sample of which step it is, in a layout of `steps` steps with `inRow`
// readings a step in each pass: the one formula the walks below use.
struct SamplePlace {
  int64_t step, k, index;
};
inline SamplePlace samplePlace(int64_t steps, int64_t inRow, bool fromDark, int64_t pass, int64_t run, int64_t r) {
  return {fromDark ? steps - 1 - run : run, pass * inRow + r, (pass * steps + run) * inRow + r};
}

// Calls fn(step, k, index) for sample k of each step (both counted from 0),
// which lies at `index` in the list, in list order: the walk over a layout
// of file order (or of the list sorted by falling L*).
template <class Fn>
void forEachSample(const WedgeLayout& layout, Fn&& fn) {
  const int64_t inRow = layout.inRow();
  for (int64_t pass = 0; pass < layout.passes; ++pass) {
    const bool fromDark = passFromDarkEnd(layout, pass);
    for (int64_t run = 0; run < layout.steps; ++run)
      for (int64_t r = 0; r < inRow; ++r) {
        const SamplePlace place = samplePlace(layout.steps, inRow, fromDark, pass, run, r);
        fn(place.step, place.k, place.index);
      }
  }
}

// Calls fn(k, index) for each sample of one step, k counted from 0.
template <class Fn>
void forEachSampleOf(const WedgeLayout& layout, int64_t step, Fn&& fn) {
  const int64_t inRow = layout.inRow();
  for (int64_t pass = 0; pass < layout.passes; ++pass) {
    const bool fromDark = passFromDarkEnd(layout, pass);
    const int64_t run = fromDark ? layout.steps - 1 - step : step;
    for (int64_t r = 0; r < inRow; ++r) {
      const SamplePlace place = samplePlace(layout.steps, inRow, fromDark, pass, run, r);
      fn(place.k, place.index);
    }
  }
}

}  // namespace linearization
