#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ReadingFixtures.h"
#include "linearization/WedgeLayoutFinder.h"

using linearization::decideLayout;
using linearization::LayoutDecision;
using linearization::LayoutRequest;

namespace {

// The L* of step k of a wedge of `steps` steps, paper white first.
enum class Shape { linear, steepS, flat, power };
double lightness(Shape shape, int steps, int k) {
  const double x = static_cast<double>(k) / (steps - 1);
  switch (shape) {
    case Shape::linear:
      return 95 - 90 * x;
    case Shape::steepS:
      return fixtures::steepLightness(steps, k);
    case Shape::flat:
      return 62 - 5 * x;
    case Shape::power:
      return fixtures::powerLightness(steps, k);
  }
  return 0;
}

// A wedge measured as a photographer does: `passes` passes over it, each
// holding every step `inRow` times in a row, the passes listed in `fromDark`
// read from the dark end, each reading off by the instrument's noise and
// written to two decimals.
struct Measured {
  Shape shape = Shape::linear;
  int steps = 21, inRow = 1, passes = 1;
  double noise = 0;
  std::vector<int> fromDark = {};
  std::function<void(std::vector<double>&)> edit = {};
};

std::vector<double> measure(const Measured& m, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0.0, m.noise);
  std::vector<double> values;
  for (int pass = 1; pass <= m.passes; ++pass) {
    const bool back = std::find(m.fromDark.begin(), m.fromDark.end(), pass) != m.fromDark.end();
    for (int run = 0; run < m.steps; ++run)
      for (int r = 0; r < m.inRow; ++r) {
        const double L = lightness(m.shape, m.steps, back ? m.steps - 1 - run : run) + (m.noise > 0 ? noise(random) : 0);
        values.push_back(std::round(L * 100) / 100);
      }
  }
  if (m.edit) m.edit(values);
  return values;
}

// The faults the rows below the limits make, each on the list as measured.
const auto smudge = [](std::vector<double>& v) { v[v.size() / 2] += 12; };
const auto smudge3 = [](std::vector<double>& v) {
  for (std::size_t k : {v.size() / 6, v.size() / 2, v.size() * 5 / 6}) v[k] += 10;
};
const auto dip = [](std::vector<double>& v) {
  for (std::size_t k = v.size() * 4 / 10; k < v.size() / 2; ++k) v[k] -= 5;
};
const auto marginFirst = [](std::vector<double>& v) { v.insert(v.begin(), v[0] + 0.03); };
const auto dupLine = [](std::vector<double>& v) { v.insert(v.begin() + v.size() / 3, v[v.size() / 3]); };
const auto blockedStart = [](std::vector<double>& v) { std::fill_n(v.begin(), 3, v[0]); };
const auto extraMid = [](std::vector<double>& v) { v.push_back(35); };
const auto lastAt80 = [](std::vector<double>& v) { v.push_back(80); };
const auto lastAt65 = [](std::vector<double>& v) { v.push_back(65); };
const auto patchTwice = [](std::vector<double>& v) { v.insert(v.begin() + v.size() / 3, v[v.size() / 3] + 0.17); };
const auto secondHalfDarker = [](std::vector<double>& v) {
  for (std::size_t k = v.size() / 2; k < v.size(); ++k) v[k] -= 6 * std::sin(M_PI * (k - v.size() / 2.0) / (v.size() / 2.0));
};

// The L* of the bundled example wedge.
const std::vector<double> kExample = {94.80, 87.74, 80.90, 74.28, 67.90, 61.75, 55.84, 50.17, 44.77, 39.63, 34.76,
                                      30.17, 25.88, 21.90, 18.25, 14.95, 12.02, 9.51,  7.45,  5.94,  5.20};

}  // namespace

// What the finder makes of lists it must read, and of lists it must not:
// the layout's description where it reads one, the whole message where it
// asks or refuses.
TEST(WedgeLayoutFinder, ReadsWhatTheReadingsShowAndNothingElse) {
  using K = LayoutDecision::Kind;
  const auto steps = [](int t) {
    LayoutRequest r;
    r.steps = t;
    return r;
  };
  struct Row {
    std::string name;
    Measured measured;
    LayoutRequest request;
    K kind;
    std::string expected;  // the description read, or the message
    unsigned seed = 0;     // of the noise; by default the row's place (new rows go last)
  };
  const Row rows[] = {
      {"steep print, each step read 4 times in place", {Shape::steepS, 21, 4, 1, 0.1}, {}, K::read,
       "84, a 21-step wedge measured 4 times, each step's readings together"},
      {"steep print, read 12 times in place", {Shape::steepS, 21, 12, 1, 0.2}, {}, K::read,
       "252, a 21-step wedge measured 12 times, each step's readings together"},
      {"power 2.5, 7 times in place", {Shape::power, 33, 7, 1, 0.2}, {}, K::read,
       "231, a 33-step wedge measured 7 times, each step's readings together"},
      {"31 steps measured 12 times in passes", {Shape::linear, 31, 1, 12, 0.2}, {}, K::read,
       "372, a 31-step wedge measured 12 times, pass after pass"},
      {"2 passes of 2 in a row", {Shape::linear, 52, 2, 2, 0.2}, {}, K::read,
       "208, a 52-step wedge measured 4 times, in 2 passes of 2 readings a step"},
      {"200 steps measured twice at noise 1", {Shape::linear, 200, 1, 2, 1.0}, {}, K::read,
       "400, a 200-step wedge measured 2 times, pass after pass"},
      {"384 steps measured once at noise 0.5", {Shape::linear, 384, 1, 1, 0.5}, {}, K::read, "384 steps"},
      {"a 42-step wedge with one reading 15 L* off",
       {Shape::linear, 42, 1, 1, 0.2, {}, [](std::vector<double>& v) { v[20] += 15; }}, {}, K::read,
       "42 steps, 1 reading left out"},
      {"listed from the dark end", {Shape::linear, 21, 1, 1, 0.1, {1}}, {}, K::read, "21 steps, read from the dark end"},
      {"forward, back, forward", {Shape::steepS, 33, 1, 3, 0.1, {2}}, {}, K::read,
       "99, a 33-step wedge measured 3 times, pass after pass, pass 2 read from the dark end"},
      {"an 11-step wedge in no order is sorted",
       {Shape::linear, 11, 1, 1, 0.1, {}, [](std::vector<double>& v) { std::shuffle(v.begin(), v.end(), std::mt19937(5)); }},
       {}, K::read, "11, taken in order of falling L* as 11 steps"},
      {"a 21-step wedge listed from step 11 on is sorted",
       {Shape::linear, 21, 1, 1, 0.1, {}, [](std::vector<double>& v) { std::rotate(v.begin(), v.begin() + 10, v.end()); }},
       {}, K::read, "21, taken in order of falling L* as 21 steps"},
      {"shuffled 11-step wedge measured 6 times",
       {Shape::linear, 11, 6, 1, 0.8, {}, [](std::vector<double>& v) { std::shuffle(v.begin(), v.end(), std::mt19937(9)); }},
       {}, K::read, "66, taken in order of falling L* as an 11-step wedge measured 6 times"},
      {"a paper-white reading after the darkest patch",
       {Shape::linear, 21, 1, 1, 0.1, {}, [](std::vector<double>& v) { v.push_back(94.9); }}, {}, K::refuse,
       "reading 22 climbs back from L* 5.1 to L* 94.9: a paper-white reading after the darkest patch? take it out of "
       "the file"},
      {"the paper's margin read first",
       {Shape::linear, 21, 1, 1, 0.05, {}, [](std::vector<double>& v) { v.insert(v.begin(), v[0] + 0.03); }}, {}, K::ask,
       "reading 2 repeats reading 1 (L* 95.05 and 95.02) where the steps around them are far apart: the paper's margin "
       "read as a patch, or a patch read twice? take one of the two out of the file, or say `--steps 22` if they are "
       "two steps"},
      {"the same, said to be 22 steps",
       {Shape::linear, 21, 1, 1, 0.05, {}, [](std::vector<double>& v) { v.insert(v.begin(), v[0] + 0.03); }}, steps(22),
       K::read, "22 steps"},
      {"a patch read twice",
       {Shape::linear, 21, 1, 1, 0.05, {}, [](std::vector<double>& v) { v.insert(v.begin() + 8, v[7] - 0.02); }}, {},
       K::ask,
       "reading 9 repeats reading 8 (L* 63.44 and 63.42) where the steps around them are far apart: a patch read "
       "twice? take one of the two out of the file, or say `--steps 22` if they are two steps"},
      {"a mid-tone dip is no repeat",
       {Shape::linear, 21, 1, 1, 0, {}, [](std::vector<double>& v) { v[8] -= 5, v[9] -= 5; }}, {}, K::read, "21 steps"},
      {"paper white held over the first steps is no repeat",
       {Shape::linear, 21, 1, 1, 0, {}, [](std::vector<double>& v) { std::fill_n(v.begin(), 6, 95.0); }}, {}, K::read,
       "21 steps"},
      {"22 readings whose second pass starts at step 7",
       {Shape::linear, 11, 1, 2, 0.1, {}, [](std::vector<double>& v) { std::rotate(v.begin() + 11, v.begin() + 17, v.end()); }},
       {}, K::refuse,
       "no wedge layout fits 22 readings: the list climbs back 1 time, first at reading 17, from L* 4.9 to L* 95.0 "
       "(passes of 16 and 6 readings); a file is read as one reading a step or as whole passes over the wedge, each "
       "from paper white to the darkest"},
      {"a pass holding each step twice, then one holding it once",
       {Shape::linear, 21, 2, 1, 0.1, {},
        [](std::vector<double>& v) {
          for (int k = 0; k < 21; ++k) v.push_back(lightness(Shape::linear, 21, k));
        }},
       {}, K::refuse,
       "no wedge layout fits 63 readings: the list climbs back 1 time, first at reading 43, from L* 5.0 to L* 95.0 "
       "(passes of 42 and 21 readings); a file is read as one reading a step or as whole passes over the wedge, each "
       "from paper white to the darkest"},
      {"runs of 4 with one patch read 5 times",
       {Shape::linear, 21, 4, 1, 0.1, {}, [](std::vector<double>& v) { v.insert(v.begin() + 30, v[30]); }}, {},
       K::refuse,
       "no wedge layout fits 85 readings: they come in runs of repeats (each patch read a few times in a row), but no "
       "count of repeats fits 85 readings; is a patch read once too often or too few times?"},
      {"passes asked for a wedge measured in place", {Shape::linear, 21, 3, 1, 0.1}, [] {
         LayoutRequest r;
         r.steps = 21;
         r.arrangement = LayoutRequest::Arrangement::passes;
         return r;
       }(),
       K::refuse,
       "`--steps 21 --layout passes` does not fit the readings as a 21-step wedge measured 3 times, pass after pass: "
       "the samples of step 1 span 62.8 L* (readings 1 and 43)"},
      {"a step count that does not divide the readings", {Shape::linear, 21, 3, 1, 0.1}, steps(20), K::refuse,
       "`--steps 20` does not fit 63 readings: they are not a whole number of readings for each of 20 steps"},
      {"a flat print read 12 times in place: its runs fall between them more nearly than a finer wedge's would",
       {Shape::flat, 11, 12, 1, 0.2}, {}, K::read,
       "132, an 11-step wedge measured 12 times, each step's readings together", 7},
      {"the same without noise: read backwards, it climbs back no more than half its range at once",
       {Shape::linear, 21, 1, 1, 0, {}, [](std::vector<double>& v) { std::rotate(v.begin(), v.begin() + 10, v.end()); }},
       {}, K::read, "21, taken in order of falling L* as 21 steps"},
      // The limits the finder's numbers draw: each of them, halved or
      // doubled, changes what one of these rows gets. Some are prints no one
      // makes (flat prints of hundreds of steps), where the numbers alone
      // decide.
      {"a reading of L* 35 after an 11-step steep print", {Shape::steepS, 11, 1, 1, 0.05, {}, extraMid}, {}, K::refuse,
       "no wedge layout fits 12 readings: they come in runs of repeats (each patch read a few times in a "
       "row), but no count of repeats fits 12 readings; is a patch read once too often or too few times?", 1},
      {"a smudge beside its neighbour in a 22-step steep print", {Shape::steepS, 22, 1, 1, 0.2, {}, smudge}, {}, K::ask,
       "reading 12 repeats reading 11 (L* 54.95 and 56.31) where the steps around them are far apart: a "
       "patch read twice? take one of the two out of the file, or say `--steps 22` if they are two steps", 1},
      {"a reading of L* 35 after a 22-step steep print", {Shape::steepS, 22, 1, 1, 0.2, {}, extraMid}, {}, K::read,
       "23 steps", 2},
      {"three smudges in a 22-step power print", {Shape::power, 22, 1, 1, 0.5, {}, smudge3}, {}, K::read,
       "22 steps", 1},
      {"three smudged samples in 2 passes of 2", {Shape::power, 21, 2, 2, 0, {}, smudge3}, {}, K::read,
       "84, a 21-step wedge measured 4 times, in 2 passes of 2 readings a step", 1},
      {"a flat print read 6 times in place, its second half darker", {Shape::flat, 11, 6, 1, 0.5, {}, secondHalfDarker}, {}, K::ask,
       "66 readings could be a 66-step wedge measured once or an 11-step wedge measured 6 times, each step's"
       " readings together; say which with `--steps 66` or `--steps 11`", 2},
      {"a line read twice in a 33-step steep print at noise 0.5", {Shape::steepS, 33, 1, 1, 0.5, {}, dupLine}, {}, K::read,
       "34 steps", 1},
      {"three smudges in a 33-step power print", {Shape::power, 33, 1, 1, 0.5, {}, smudge3}, {}, K::read,
       "33 steps, 2 readings left out", 2},
      {"a dip in the first of two passes", {Shape::linear, 21, 1, 2, 0, {}, dip}, {}, K::refuse,
       "no wedge layout fits 42 readings: read as a 21-step wedge measured twice, pass after pass, its "
       "passes 1 and 2 disagree by up to 5.0 L* (at step 18): two prints in one file? read each print from a"
       " file of its own", 1},
      {"a smudge in the first of two passes", {Shape::linear, 21, 1, 2, 0.05, {}, smudge}, {}, K::read,
       "42, a 21-step wedge measured 2 times, pass after pass", 1},
      {"the paper's margin read first on a 51-step wedge", {Shape::linear, 51, 1, 1, 0, {}, marginFirst}, {}, K::ask,
       "reading 2 repeats reading 1 (L* 95.03 and 95.00) where the steps around them are far apart: the "
       "paper's margin read as a patch, or a patch read twice? take one of the two out of the file, or say "
       "`--steps 52` if they are two steps", 1},
      {"a reading of L* 80 after the darkest patch", {Shape::linear, 11, 1, 1, 0, {}, lastAt80}, {}, K::refuse,
       "reading 12 climbs back from L* 5.0 to L* 80.0: a paper-white reading after the darkest patch? take "
       "it out of the file", 1},
      {"a reading of L* 65 after the darkest patch", {Shape::linear, 11, 1, 1, 0, {}, lastAt65}, {}, K::refuse,
       "reading 12 climbs back from L* 5.0 to L* 65.0 after the darkest patch: a reading of another patch? "
       "take it out of the file", 1},
      {"a reading of L* 35 after a 22-step power print", {Shape::power, 22, 1, 1, 0.05, {}, extraMid}, {}, K::read,
       "23 steps", 2},
      {"a dip in a 22-step wedge", {Shape::linear, 22, 1, 1, 0.05, {}, dip}, {}, K::read,
       "22 steps", 1},
      {"a smudge in a flat 33-step print", {Shape::flat, 33, 1, 1, 0.2, {}, smudge}, {}, K::refuse,
       "no wedge layout fits 33 readings: the list climbs back 1 time, first at reading 17, from L* 59.4 to "
       "L* 71.3 (passes of 16 and 17 readings); a file is read as one reading a step or as whole passes over"
       " the wedge, each from paper white to the darkest", 2},
      {"three smudges in a 52-step power print, no noise", {Shape::power, 52, 1, 1, 0, {}, smudge3}, {}, K::read,
       "52 steps, 3 readings left out", 1},
      {"a 52-step power print, its second half darker", {Shape::power, 52, 1, 1, 0.2, {}, secondHalfDarker}, {}, K::read,
       "52 steps", 1},
      {"a flat print read 6 times in place, its second half darker, no noise", {Shape::flat, 11, 6, 1, 0, {}, secondHalfDarker}, {}, K::read,
       "66, an 11-step wedge measured 6 times, each step's readings together", 1},
      {"two passes over a flat 64-step print, the first line read twice", {Shape::flat, 64, 1, 2, 0.5, {}, marginFirst}, {}, K::refuse,
       "no wedge layout fits 129 readings: the list climbs back 1 time, first at reading 66, from L* 56.3 to"
       " L* 61.7 (passes of 65 and 64 readings); a file is read as one reading a step or as whole passes "
       "over the wedge, each from paper white to the darkest; if a reading is missing, `--steps 65` reads "
       "them as a 65-step wedge measured twice, pass after pass, one reading of step 63 missing", 2},
      {"two passes over a flat 64-step print, a line read twice", {Shape::flat, 64, 1, 2, 0.5, {}, dupLine}, {}, K::refuse,
       "no wedge layout fits 129 readings: the list climbs back 1 time, first at reading 66, from L* 56.3 to"
       " L* 61.7 (passes of 65 and 64 readings); a file is read as one reading a step or as whole passes "
       "over the wedge, each from paper white to the darkest", 2},
      {"three smudges in a flat 33-step print, no noise", {Shape::flat, 33, 1, 1, 0, {}, smudge3}, {}, K::read,
       "33, taken in order of falling L* as 33 steps", 1},
      {"three smudges in a flat 200-step print read twice in place", {Shape::flat, 200, 2, 1, 0.5, {}, smudge3}, {}, K::read,
       "400, a 100-step wedge measured 4 times, each step's readings together", 1},
      {"two passes over a flat print, its first patches held", {Shape::flat, 21, 1, 2, 0.05, {}, blockedStart}, {}, K::refuse,
       "no wedge layout fits 42 readings: read as a 21-step wedge measured twice, pass after pass, its "
       "passes 1 and 2 disagree by up to 0.3 L* (at step 3): two prints in one file? read each print from a "
       "file of its own", 2},
      {"three smudges in two passes over a flat print", {Shape::flat, 21, 1, 2, 0.05, {}, smudge3}, {}, K::read,
       "42, taken in order of falling L* as a 14-step wedge measured 3 times", 1},
      {"a smudge in 2 passes of 2 over a flat print", {Shape::flat, 21, 2, 2, 0.2, {}, smudge}, {}, K::read,
       "84, a 21-step wedge measured 4 times, in 2 passes of 2 readings a step", 1},
      {"the paper's margin read first on a 200-step wedge read twice in place", {Shape::linear, 200, 2, 1, 0.5, {}, marginFirst}, {}, K::ask,
       "401 readings could be a 401-step wedge measured once or a 201-step wedge measured twice, each step's"
       " readings together, one reading of step 8 missing; say which with `--steps 401` or `--steps 201`", 2},
      {"a flat 300-step print read 3 times in place, its second half darker", {Shape::flat, 300, 3, 1, 0.2, {}, secondHalfDarker}, {}, K::ask,
       "900 readings could be a 450-step wedge measured twice, each step's readings together or a 100-step "
       "wedge measured 9 times, each step's readings together; say which with `--steps 450` or `--steps 100`", 2},
      {"a flat 200-step print read twice in place, its second half darker", {Shape::flat, 200, 2, 1, 0.5, {}, secondHalfDarker}, {}, K::read,
       "400, a 100-step wedge measured 4 times, each step's readings together", 2},

      {"a patch of a flat print read twice, no noise", {Shape::flat, 33, 1, 1, 0, {}, patchTwice}, {}, K::ask,
       "reading 12 repeats reading 11 (L* 60.44 and 60.45) where the steps around them are far apart: a "
       "patch read twice? take one of the two out of the file, or say `--steps 34` if they are two steps", 1},
      {"the paper's margin read first on a 51-step wedge at noise 0.5", {Shape::linear, 51, 1, 1, 0.5, {}, marginFirst}, {}, K::read,
       "52 steps", 1},
      {"the paper's margin read first on a 21-step wedge at noise 0.5", {Shape::linear, 21, 1, 1, 0.5, {}, marginFirst}, {}, K::ask,
       "reading 2 repeats reading 1 (L* 95.02 and 94.99) where the steps around them are far apart: the "
       "paper's margin read as a patch, or a patch read twice? take one of the two out of the file, or say "
       "`--steps 22` if they are two steps", 2},
      {"a dip in a 22-step wedge at noise 0.2", {Shape::linear, 22, 1, 1, 0.2, {}, dip}, {}, K::read,
       "22 steps", 1},
      {"the paper's margin read first on an 11-step wedge at noise 0.2", {Shape::linear, 11, 1, 1, 0.2, {}, marginFirst}, {}, K::ask,
       "reading 2 repeats reading 1 (L* 94.92 and 94.89) where the steps around them are far apart: the "
       "paper's margin read as a patch, or a patch read twice? take one of the two out of the file, or say "
       "`--steps 12` if they are two steps", 1},
      {"three smudges in 128 steps read twice in place at noise 1", {Shape::linear, 128, 2, 1, 1, {}, smudge3}, {}, K::read,
       "256, a 128-step wedge measured 2 times, each step's readings together", 1},
      {"a reading of L* 35 after a flat 51-step print", {Shape::flat, 51, 1, 1, 0.5, {}, extraMid}, {}, K::read,
       "52 steps", 1},

  };
  unsigned seed = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::vector<double> values = measure(row.measured, row.seed ? row.seed : seed);
    ++seed;
    const LayoutDecision decision = decideLayout(values, row.request);
    EXPECT_EQ(static_cast<int>(decision.kind), static_cast<int>(row.kind)) << decision.message;
    const std::string got = decision.kind == K::read ? decision.layout.description() : decision.message;
    EXPECT_EQ(got, row.expected);
    // A question offers each way it names, and the way offered reads the
    // list so; a read, and a refusal that offers no other way, give none.
    const bool offers = decision.message.find(" reads them as ") != std::string::npos;
    EXPECT_EQ(!decision.choices.empty(), decision.kind == K::ask || (decision.kind == K::refuse && offers));
    for (const auto& choice : decision.choices) {
      if (decision.message.find(" could be ") != std::string::npos || offers) {
        EXPECT_NE(decision.message.find(choice.label), std::string::npos) << choice.label;
      }
      EXPECT_NE(decision.message.find("`" + choice.request.options() + "`"), std::string::npos)
          << choice.request.options();
      const LayoutDecision chosen = decideLayout(values, choice.request);
      EXPECT_EQ(static_cast<int>(chosen.kind), static_cast<int>(K::read)) << choice.request.options();
      EXPECT_EQ(chosen.layout.choice(), choice.label);
    }
  }

  // The example wedge's values read 51 times each at noise 0.2.
  std::mt19937 random(3);
  std::normal_distribution<double> noise(0.0, 0.2);
  std::vector<double> example;
  for (const double L : kExample)
    for (int r = 0; r < 51; ++r) example.push_back(L + noise(random));
  EXPECT_EQ(decideLayout(example).layout.description(), "1071, a 21-step wedge measured 51 times, each step's readings together");
}
