#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "linearization/WedgeLayout.h"

namespace linearization {

// A way to read the list that a question (or a refusal) offers: the layout
// in words, as the message names it ("a 21-step wedge measured 3 times, pass
// after pass"), and the request that reads the list so (`--steps 21`, with
// `--layout` where two offered layouts share the step count).
struct LayoutChoice {
  std::string label;
  LayoutRequest request;
};

// What the finder made of a list of readings: one value that says what was
// read, or why nothing was. The summary line, the warnings and the messages
// are made from it, never worked out again beside it.
struct LayoutDecision {
  enum class Kind {
    read,    // `layout` says how the readings lie
    ask,     // two readings of the list fit and give different curves: `message` names them
    refuse,  // no reading fits: `message` says why
    usage,   // the request cannot apply to the file (a usage error)
  };
  Kind kind = Kind::refuse;
  WedgeLayout layout;
  // For a layout in order of falling L*: the reading at each place.
  std::vector<int64_t> fallingOrder;
  // For a layout with a reading missing: each reading's step (0 is paper
  // white); empty otherwise.
  std::vector<int32_t> stepOf;
  // The runs of the layout read show beyond doubt as repeats.
  bool runsShown = false;
  // Single readings that stick out of the list (smudges), to be left out
  // of the curve.
  std::vector<LeftOut> leftOut;
  std::string message;
  // The ways to read the list that `message` offers, in its order.
  std::vector<LayoutChoice> choices;
  // The reading (counted from 0) the message names, when one is to blame.
  std::optional<int64_t> blame;
  std::vector<std::string> warnings;

  static LayoutDecision read(WedgeLayout layout) {
    LayoutDecision decision;
    decision.kind = Kind::read;
    decision.layout = std::move(layout);
    return decision;
  }
};

// Finds how the readings of a wedge lie in a list of L* values in file order.
//
// Every way the list can be taken is a candidate: T steps of S samples each,
// in P passes over the wedge that each hold every step S / P times in a row,
// each pass read from paper white or from the dark end as its readings show.
// The candidates are T of at least 11 with S up to 12, and the usual wedge
// sizes with any S. The readings rule candidates out before any is preferred:
//  - the step means must fall from paper white to the darkest without
//    climbing back by more than a dip can;
//  - the samples of a step must agree as one instrument's readings of one
//    patch do (one bad sample among three or more may be set aside, in a
//    few steps);
//  - samples said to lie in a row must show it: a staircase, runs of nearly
//    equal readings with the wedge's fall between them, not inside them;
//  - one reading a step must show no such runs.
// Of what remains, a staircase that shows is preferred to its parts, one
// reading a step to repeats that the noise hides, the passes the list
// shows to any other count. Where two readings remain that give materially
// different curves, the decision asks. Where none remains, the list is taken
// in order of falling L* when it turns back all over (rows in no order),
// and is refused otherwise, naming the reading that breaks it.
//
// `sameLine`, where given, tells for each reading whether it repeats the
// one before it in every field (L*, a* and b*): a line of the file read
// twice, which a noisy instrument never gives by chance.
LayoutDecision decideLayout(const std::vector<double>& lValues, const LayoutRequest& request = {},
                            const std::vector<bool>& sameLine = {});

// The order of falling L*: true when L* `x` comes before `y`. An L* that is
// not a number ranks below every number, so the order stays a strict weak
// order and a sort by it is deterministic.
bool fallsBefore(double x, double y);

// The step counts of the usual wedges, most steps first: the one table of
// them. Where the noise hides how readings lie, a count one of them fits is
// preferred (512 readings are a 256-step wedge measured twice).
inline constexpr int64_t kUsualWedgeSteps[] = {256, 129, 128, 101, 86, 51, 21};

// The single readings of a wedge read one a step (in step order) that stick
// out of it: outside both neighbours by more than the step between them, off
// the line each side draws on its own (the edge of a print's own dip is not),
// and beyond three times the noise of a difference of two readings (a
// smudge, a fingerprint, a misplaced instrument). Each is named as `item`
// ("reading", "step") and its place, counted from 1.
std::vector<LeftOut> smudgedReadings(const std::vector<double>& values, const std::string& item);

// Whether a wedge of `steps` steps is one of the usual ones.
bool isUsualStepCount(int64_t steps);

// The usual wedge sizes that `readings` readings fit: the steps and the
// samples of each, or nothing; the most steps where several fit.
std::optional<std::pair<int64_t, int64_t>> usualWedgeSize(int64_t readings);

}  // namespace linearization
