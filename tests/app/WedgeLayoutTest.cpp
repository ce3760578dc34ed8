#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ReadingsSeen.h"
#include "RunCli.h"
#include "linearization/QuadDataFile.h"
#include "linearization/ReadingFixtures.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"
#include "support/SampleFiles.h"

namespace {

using platform::text::fixedDecimal;
using platform::text::join;

// A wedge printed and measured as a photographer does: `samples` readings of
// every step, in `passes` passes over the wedge (each step samples / passes
// times in a row), each reading off by the instrument's noise (a normal
// spread of `noise` L*), written in the order measured, with what goes wrong
// when measuring, in the file format asked for.
struct Wedge {
  int steps, samples, passes;
  double noise = 0;
  enum Fault {
    none,
    smudge,      // one sample 10 L* off
    smudges,     // ... in each of three steps
    spread,      // one sample 0.5 L* off
    dip,         // steps from 40 to 50 % of the way 5 L* darker
    missed,      // a patch left out of the last pass
    flat,        // neighbouring steps 0.15 L* apart
    shuffled,    // rows in no order
    steep,       // an uncorrected print: an S of slope 10
    power,       // L* falling as the 2.5th power
    extraEnd,    // the paper's margin read after the darkest patch
    extraStart,  // ... and before paper white
    twice,       // one patch read twice
    backAndForth,  // every second pass from the dark end
    reversed,    // the whole list from the dark end
    mixed,       // a pass holding each step twice, then one holding it once
  } fault = none;
  // "", "RGB", "GRAY_K"; "RGB_B255" (blue held at 255), "RGB0" (never
  // filled in), "GRAY_K first" (the first column), "RGB -255" (one value
  // outside), "RGB rounded" (repeats 1e-12 apart); "own" (the program's own
  // format), "joined" (two exports of a simple format, one after the other).
  std::string column = "";
};

struct Reading {
  int step;
  double L, a, b;
  bool smudged = false;  // a sample 10 L* off, which the program leaves out where it can tell
};

double lightnessOf(const Wedge& w, int k) {
  switch (w.fault) {
    case Wedge::flat:
      return 60.0 - 0.15 * k;
    case Wedge::steep:
      return fixtures::steepLightness(w.steps, k);
    case Wedge::power:
      return fixtures::powerLightness(w.steps, k);
    default:
      return fixtures::stepLightness(w.steps, k, w.fault == Wedge::dip);
  }
}

std::vector<Reading> measure(const Wedge& w, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0.0, 1.0);
  const auto round2 = [](double v) { return std::round(v * 100) / 100; };
  const auto read = [&](int k) {
    return Reading{k, round2(lightnessOf(w, k) + w.noise * noise(random)),
                   round2(0.2 * (k % 3) + 0.3 * w.noise * noise(random)),
                   round2(1.0 - 0.01 * k + 0.3 * w.noise * noise(random))};
  };
  std::vector<Reading> readings;
  for (int pass = 0; pass < w.passes; ++pass) {
    const bool back = (w.fault == Wedge::backAndForth && pass % 2 == 1) || w.fault == Wedge::reversed;
    const int inRow = w.fault == Wedge::mixed ? (pass == 0 ? 2 : 1) : w.samples / w.passes;
    for (int run = 0; run < w.steps; ++run)
      for (int r = 0; r < inRow; ++r) {
        const int k = back ? w.steps - 1 - run : run;
        if (w.fault == Wedge::missed && pass == w.passes - 1 && k == w.steps / 3) continue;
        readings.push_back(read(k));
        if (w.fault == Wedge::smudge && pass == 0 && r == 0 && k == w.steps / 2)
          readings.back().L += 10.0, readings.back().smudged = w.samples >= 3;
        if (w.fault == Wedge::smudges && pass == 0 && r == 0 && k % (w.steps / 3) == 1) readings.back().L += 10.0;
        if (w.fault == Wedge::spread && pass == 0 && r == 0 && k == w.steps / 2) readings.back().L += 0.5;
        if (w.fault == Wedge::twice && run == w.steps / 3) readings.push_back(read(k));
      }
  }
  if (w.fault == Wedge::extraEnd) readings.push_back(read(0));
  if (w.fault == Wedge::extraStart) readings.insert(readings.begin(), read(0));
  if ((!w.column.empty() && w.column != "own" && w.column != "joined") || w.fault == Wedge::shuffled)
    std::shuffle(readings.begin(), readings.end(), random);
  return readings;
}

std::string cgats(const Wedge& w, const std::vector<Reading>& readings) {
  const bool rgb = w.column.starts_with("RGB"), gray = w.column.starts_with("GRAY_K");
  const bool grayFirst = w.column == "GRAY_K first";
  std::string names = rgb        ? "SAMPLE_ID\tRGB_R\tRGB_G\tRGB_B\tLAB_L\tLAB_A\tLAB_B"
                      : grayFirst ? "GRAY_K\tLAB_L\tLAB_A\tLAB_B"
                                  : std::string("SAMPLE_ID\tLAB_L\tLAB_A\tLAB_B") + (gray ? "\tGRAY_K" : "");
  std::string s = "CGATS.17\nNUMBER_OF_FIELDS\t" + std::to_string(rgb ? 7 : gray && !grayFirst ? 5 : 4) +
                  "\nBEGIN_DATA_FORMAT\n" + names + "\nEND_DATA_FORMAT\nNUMBER_OF_SETS\t" +
                  std::to_string(readings.size()) + "\nBEGIN_DATA\n";
  for (std::size_t n = 0; n < readings.size(); ++n) {
    const Reading& r = readings[n];
    const double share = static_cast<double>(r.step) / (w.steps - 1);
    std::vector<std::string> row{std::to_string(n + 1)};
    if (grayFirst) row = {fixedDecimal(100.0 * share, 4)};
    if (rgb) {
      std::string value = fixedDecimal(255.0 * (1 - share), 4);
      if (w.column == "RGB0") value = "0";
      if (w.column == "RGB rounded") value = fixedDecimal(255.0 * (1 - share) + (n % 2 ? 1e-12 : 0), 14);
      if (w.column == "RGB -255" && n == 7) value = "-255";
      row.insert(row.end(), {value, value, w.column == "RGB_B255" ? "255" : value});
    }
    for (double v : {r.L, r.a, r.b}) row.push_back(fixedDecimal(v, 2));
    if (gray && !grayFirst) row.push_back(fixedDecimal(100.0 * share, 4));
    s += join(row, "\t") + "\n";
  }
  return s + "END_DATA\n";
}

// A file of the program's own format ("Halvorin Measurement Data File"), or
// of the simple one whose header is "L*	a*	b*".
std::string simple(const std::string& title, const std::vector<Reading>& readings) {
  std::string s = title;
  for (std::size_t n = 0; n < readings.size(); ++n) {
    const Reading& r = readings[n];
    std::vector<std::string> row{fixedDecimal(r.L, 2), fixedDecimal(r.a, 2), fixedDecimal(r.b, 2)};
    if (title.starts_with("Halvorin")) row.insert(row.begin(), std::to_string(n + 1));
    s += "\n" + join(row, "\t");
  }
  return s + "\n";
}

std::string fileOf(const Wedge& w, const std::vector<Reading>& readings) {
  if (w.column == "own") return simple("Halvorin Measurement Data File\nStep\tLab_L\tLab_A\tLab_B", readings);
  if (w.column == "joined") {
    const auto half = readings.begin() + static_cast<std::ptrdiff_t>(readings.size() / 2);
    return simple("L*\ta*\tb*", {readings.begin(), half}) + simple("L*\ta*\tb*", {half, readings.end()});
  }
  return cgats(w, readings);
}

// The same readings averaged step by step by hand, each step's mean named by
// its GRAY_K value, and written twice, so that it is read as it stands (a
// single reading that sticks out would be left out). The margin read as a
// patch is no step.
std::string perStepMeans(const Wedge& w, std::vector<Reading> readings) {
  if (w.fault == Wedge::extraEnd) readings.pop_back();
  if (w.fault == Wedge::extraStart) readings.erase(readings.begin());
  std::vector<Reading> sums(w.steps, Reading{0, 0, 0, 0});
  for (const Reading& r : readings) {
    if (r.smudged) continue;
    Reading& s = sums[r.step];
    s = {s.step + 1, s.L + r.L, s.a + r.a, s.b + r.b};
  }
  std::string s = "CGATS.17\nNUMBER_OF_FIELDS\t5\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tLAB_L\tLAB_A\tLAB_B\tGRAY_K\n"
                  "END_DATA_FORMAT\nNUMBER_OF_SETS\t" + std::to_string(2 * w.steps) + "\nBEGIN_DATA";
  for (int k = 0; k < 2 * w.steps; ++k) {
    const Reading& m = sums[k / 2];
    s += "\n" + join({std::to_string(k + 1), fixedDecimal(m.L / m.step, 6), fixedDecimal(m.a / m.step, 6),
                      fixedDecimal(m.b / m.step, 6), fixedDecimal(100.0 * (k / 2) / (w.steps - 1), 6)}, "\t");
  }
  return s + "\nEND_DATA\n";
}

}  // namespace

// Every row: the whole summary line (or the whole refusal) and every warning,
// and the corrected .quad against the one corrected from the per-step means.
// Where the readings show the layout the two agree within a level; where the
// noise hides it (and the readings are read one a step, or as the usual
// count), within a few hundred; a refusal writes nothing.
TEST(LinearizeCommand, WedgesAreReadAsTheirReadingsShow) {
  testsupport::TempDir dir;
  const auto quad = dir.write("in.quad", testsupport::rampedQuadText());
  using W = Wedge;
  constexpr double refused = -1;
  struct Row {
    Wedge w;
    double levels;  // how far from the per-step means's curve; `refused`
    std::string summary;
    std::vector<std::string> warnings = {};
  };
  const Row rows[] = {
      // In file order, no noise: in place, pass after pass, passes of a few in a row.
      {{11, 2, 2}, 1,
       "readings: 22, an 11-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{11, 4, 1}, 1,
       "readings: 44, an 11-step wedge measured 4 times, each step's readings together, resampled to 256"},
      {{21, 3, 3}, 1,
       "readings: 63, a 21-step wedge measured 3 times, pass after pass, resampled to 256"},
      {{21, 4, 2}, 1,
       "readings: 84, a 21-step wedge measured 4 times, in 2 passes of 2 readings a step, resampled to 256"},
      {{33, 2, 1}, 1,
       "readings: 66, a 33-step wedge measured 2 times, each step's readings together, resampled to 256"},
      {{33, 2, 2}, 1,
       "readings: 66, a 33-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{51, 7, 7}, 1,
       "readings: 357, a 51-step wedge measured 7 times, pass after pass, resampled to 256"},
      {{51, 7, 1}, 1,
       "readings: 357, a 51-step wedge measured 7 times, each step's readings together, resampled to 256"},
      {{52, 2, 2}, 1,
       "readings: 104, a 52-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{52, 3, 3}, 1,
       "readings: 156, a 52-step wedge measured 3 times, pass after pass, resampled to 256"},
      {{86, 2, 1}, 1,
       "readings: 172, an 86-step wedge measured 2 times, each step's readings together, resampled to 256"},
      {{101, 3, 1}, 1,
       "readings: 303, a 101-step wedge measured 3 times, each step's readings together, resampled to 256"},
      {{128, 2, 2}, 1,
       "readings: 256, a 128-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{128, 3, 3}, 1,
       "readings: 384, a 128-step wedge measured 3 times, pass after pass, resampled to 256"},
      {{129, 2, 2}, 1,
       "readings: 258, a 129-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{129, 2, 1}, 1,
       "readings: 258, a 129-step wedge measured 2 times, each step's readings together, resampled to 256"},
      {{192, 2, 2}, 1,
       "readings: 384, a 192-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{200, 2, 2}, 1,
       "readings: 400, a 200-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{200, 3, 3}, 1,
       "readings: 600, a 200-step wedge measured 3 times, pass after pass, resampled to 256"},
      {{256, 2, 2}, 1,
       "readings: 512, a 256-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{256, 3, 1}, 1,
       "readings: 768, a 256-step wedge measured 3 times, each step's readings together, resampled to 256"},
      {{256, 7, 7}, 1,
       "readings: 1792, a 256-step wedge measured 7 times, pass after pass, resampled to 256"},
      {{256, 4, 2}, 1,
       "readings: 1024, a 256-step wedge measured 4 times, in 2 passes of 2 readings a step, resampled to "
       "256"},
      // One reading a step, and the flat end of a print.
      {{21, 1, 1}, 1,
       "readings: 21 steps, resampled to 256"},
      {{128, 1, 1}, 1,
       "readings: 128 steps, resampled to 256"},
      {{200, 1, 1}, 1,
       "readings: 200 steps, resampled to 256"},
      {{256, 1, 1}, 1,
       "readings: 256 steps, resampled to 256"},
      {{384, 1, 1}, 1,
       "readings: 384 steps, resampled to 256"},
      {{256, 2, 1, 0, W::flat}, 1,
       "readings: 512, a 256-step wedge measured 2 times, each step's readings together, resampled to 256"},
      // Noise of a good strip reader and of a worse one; where it hides the layout, the usual count.
      {{21, 3, 1, 0.5}, 1,
       "readings: 63, a 21-step wedge measured 3 times, each step's readings together, resampled to 256"},
      {{51, 2, 2, 0.5}, 1,
       "readings: 102, a 51-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{52, 3, 3, 0.5}, 1,
       "readings: 156, a 52-step wedge measured 3 times, pass after pass, resampled to 256"},
      {{101, 4, 2, 0.5}, 1,
       "readings: 404, a 101-step wedge measured 4 times, in 2 passes of 2 readings a step, resampled to 256"},
      {{129, 2, 2, 0.5}, 1,
       "readings: 258, a 129-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{256, 2, 1, 0.5}, 1,
       "readings: 512, a 256-step wedge measured 2 times, each step's readings together, resampled to 256",
       {"step 108: its 2 samples span 2.4 L*; a reading may be bad"}},
      {{21, 2, 2, 1}, 1,
       "readings: 42, a 21-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{86, 3, 1, 1}, 1,
       "readings: 258, an 86-step wedge measured 3 times, each step's readings together, resampled to 256"},
      {{200, 2, 2, 1}, 1,
       "readings: 400, a 200-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{256, 3, 1, 1}, 1,
       "readings: 768, a 256-step wedge measured 3 times, each step's readings together, resampled to 256"},
      {{256, 1, 1, 1}, 1,
       "readings: 256 steps, resampled to 256"},
      // A smudged sample, a mid-tone dip, a missed patch, rows in no order.
      {{101, 3, 1, 0.5, W::smudge}, 1,
       "readings: 303, a 101-step wedge measured 3 times, each step's readings together, 1 reading left out, "
       "resampled to 256",
       {"line 158: sample 1 of step 51 (L* 59.63) lies 9.1 L* from its 2 other samples (L* 50.53 on average): it was "
        "left out of the step's mean"}},
      {{21, 3, 3, 0, W::smudge}, 1,
       "readings: 63, a 21-step wedge measured 3 times, pass after pass, 1 reading left out, resampled to 256",
       {"line 18: sample 1 of step 11 (L* 60.00) lies 10.0 L* from its 2 other samples (L* 50.00 on average): it was "
        "left out of the step's mean"}},
      {{51, 2, 2, 0, W::dip}, 1,
       "readings: 102, a 51-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{128, 2, 1, 0.2, W::dip}, 1,
       "readings: 256, a 128-step wedge measured 2 times, each step's readings together, resampled to 256"},
      {{128, 3, 3, 0, W::missed}, refused,
       "line 136: no wedge layout fits 383 readings: the list climbs back 2 times, first at reading 129, "
       "from L* 5.0 to L* 95.0 (passes of 128, 128 and 127 readings); a file is read as one reading a step "
       "or as whole passes over the wedge, each from paper white to the darkest; if a reading is missing, "
       "`--steps 128` reads them as a 128-step wedge measured 3 times, pass after pass, one reading of step 43 "
       "missing"},
      {{21, 3, 3, 0, W::missed}, refused,
       "line 29: no wedge layout fits 62 readings: the list climbs back 2 times, first at reading 22, from "
       "L* 5.0 to L* 95.0 (passes of 21, 21 and 20 readings); a file is read as one reading a step or as "
       "whole passes over the wedge, each from paper white to the darkest; if a reading is missing, `--steps 21` "
       "reads them as a 21-step wedge measured 3 times, pass after pass, one reading of step 8 missing"},
      {{21, 3, 3, 0, W::shuffled}, 1,
       "readings: 63, taken in order of falling L* as a 21-step wedge measured 3 times, resampled to 256",
       {"the readings follow no wedge layout as listed (the list turns back 14 times); they were taken in "
        "order of falling L*"}},
      {{101, 2, 1, 0, W::shuffled}, 1,
       "readings: 202, taken in order of falling L* as a 101-step wedge measured 2 times, resampled to 256",
       {"the readings follow no wedge layout as listed (the list turns back 38 times); they were taken in "
        "order of falling L*"}},
      // The steps named in the file, rows shuffled.
      {{101, 3, 3, 1, W::none, "RGB"}, 1,
       "readings: 303, a 101-step wedge measured 3 times, each reading's step named by its RGB values, "
       "resampled to 256"},
      {{256, 2, 2, 1, W::none, "RGB"}, 1,
       "readings: 512, a 256-step wedge measured 2 times, each reading's step named by its RGB values, "
       "resampled to 256",
       {"step 31: its 2 samples span 4.7 L*; a reading may be bad",
        "step 130: its 2 samples span 5.0 L*; a reading may be bad"}},
      {{11, 2, 1, 0.5, W::none, "GRAY_K"}, 1,
       "readings: 22, an 11-step wedge measured 2 times, each reading's step named by its GRAY_K value, "
       "resampled to 256"},
      {{128, 3, 3, 0.5, W::missed, "RGB"}, 1,
       "readings: 383, a 128-step wedge measured 2 to 3 times, each reading's step named by its RGB values, "
       "resampled to 256"},
      {{101, 3, 1, 0.5, W::smudge, "GRAY_K"}, 1,
       "readings: 303, a 101-step wedge measured 3 times, each reading's step named by its GRAY_K value, 1 reading "
       "left out, resampled to 256",
       {"line 158: sample 1 of step 51 (L* 60.40) lies 10.3 L* from its 2 other samples (L* 50.10 on average): it was "
        "left out of the step's mean"}},
      {{200, 4, 4, 1, W::dip, "RGB"}, 1,
       "readings: 800, a 200-step wedge measured 4 times, each reading's step named by its RGB values, "
       "resampled to 256"},
      // Prints of every shape, up to 12 readings a step in place.
      {{21, 4, 1, 0.1, W::steep}, 1,
       "readings: 84, a 21-step wedge measured 4 times, each step's readings together, resampled to 256"},
      {{21, 12, 1, 0.2, W::steep}, 1,
       "readings: 252, a 21-step wedge measured 12 times, each step's readings together, resampled to 256"},
      {{21, 7, 1, 0.05, W::steep}, 1,
       "readings: 147, a 21-step wedge measured 7 times, each step's readings together, resampled to 256"},
      {{21, 1, 1, 0.1, W::steep}, 1,
       "readings: 21 steps, resampled to 256"},
      {{33, 2, 1, 0.2, W::power}, 1,
       "readings: 66, a 33-step wedge measured 2 times, each step's readings together, resampled to 256"},
      {{51, 12, 1, 0.1, W::power}, 1,
       "readings: 612, a 51-step wedge measured 12 times, each step's readings together, resampled to 256"},
      {{21, 4, 1, 0.05, W::flat}, 1,
       "readings: 84, a 21-step wedge measured 4 times, each step's readings together, resampled to 256"},
      {{101, 12, 1, 0.2}, 1,
       "readings: 1212, a 101-step wedge measured 12 times, each step's readings together, resampled to 256"},
      // The paper's margin read as a patch, a patch read twice: refused, or asked, where they show.
      {{21, 1, 1, 0.1, W::extraEnd}, refused,
       "line 29: reading 22 climbs back from L* 5.0 to L* 94.9: a paper-white reading after the darkest "
       "patch? take it out of the file"},
      {{51, 1, 1, 0.2, W::extraEnd}, refused,
       "line 59: reading 52 climbs back from L* 5.2 to L* 95.1: a paper-white reading after the darkest "
       "patch? take it out of the file"},
      {{21, 4, 1, 0.1, W::extraEnd}, refused,
       "line 92: reading 85 climbs back from L* 4.9 to L* 95.0: a paper-white reading after the darkest "
       "patch? take it out of the file"},
      {{21, 1, 1, 0.05, W::extraStart}, refused,
       "line 9: reading 2 repeats reading 1 (L* 95.08 and 94.97) where the steps around them are far apart: "
       "the paper's margin read as a patch, or a patch read twice? take one of the two out of the file, or "
       "say `--steps 22` if they are two steps"},
      {{256, 1, 1, 0.5, W::extraStart}, 600,
       "readings: 257 steps, resampled to 256"},
      {{21, 1, 1, 0.05, W::twice}, refused,
       "line 16: reading 9 repeats reading 8 (L* 63.58 and 63.34) where the steps around them are far "
       "apart: a patch read twice? take one of the two out of the file, or say `--steps 22` if they are two "
       "steps"},
      // Passes from the dark end; passes that do not line up.
      {{21, 3, 3, 0.2, W::backAndForth}, 1,
       "readings: 63, a 21-step wedge measured 3 times, pass after pass, pass 2 read from the dark end, "
       "resampled to 256"},
      {{51, 2, 2, 0.1, W::backAndForth}, 1,
       "readings: 102, a 51-step wedge measured 2 times, pass after pass, pass 2 read from the dark end, "
       "resampled to 256"},
      {{33, 4, 4, 0.2, W::backAndForth}, 1,
       "readings: 132, a 33-step wedge measured 4 times, pass after pass, passes 2 and 4 read from the dark "
       "end, resampled to 256"},
      {{21, 1, 1, 0.1, W::reversed}, 1,
       "readings: 21 steps, read from the dark end, resampled to 256"},
      {{129, 2, 2, 0.2, W::reversed}, 1,
       "readings: 258, a 129-step wedge measured 2 times, pass after pass, passes 1 and 2 read from the "
       "dark end, resampled to 256"},
      {{21, 3, 2, 0.1, W::mixed}, refused,
       "line 50: no wedge layout fits 63 readings: the list climbs back 1 time, first at reading 43, from "
       "L* 5.1 to L* 95.0 (passes of 42 and 21 readings); a file is read as one reading a step or as whole "
       "passes over the wedge, each from paper white to the darkest"},
      // The program's own format, two exports joined, device values of every kind.
      {{150, 2, 2, 0.2, W::none, "own"}, 1,
       "readings: 300, a 150-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{256, 1, 1, 0, W::none, "own"}, 1,
       "readings: 256 steps, resampled to 256"},
      {{21, 2, 2, 0.1, W::none, "joined"}, 1,
       "readings: 42, a 21-step wedge measured 2 times, pass after pass, resampled to 256",
       {"line 23 repeats line 1 of the file's header (two files joined?); it was skipped"}},
      {{21, 2, 2, 0.2, W::none, "RGB_B255"}, 1,
       "readings: 42, a 21-step wedge measured 2 times, each reading's step named by its RGB values, "
       "resampled to 256"},
      {{21, 2, 2, 0.2, W::none, "RGB0"}, 1,
       "readings: 42, taken in order of falling L* as a 21-step wedge measured 2 times, resampled to 256",
       {"the readings follow no wedge layout as listed (the list turns back 9 times); they were taken in "
        "order of falling L*"}},
      {{21, 2, 1, 0.2, W::none, "GRAY_K first"}, 1,
       "readings: 42, a 21-step wedge measured 2 times, each reading's step named by its GRAY_K value, "
       "resampled to 256"},
      {{21, 2, 2, 0.2, W::none, "RGB -255"}, refused,
       "line 15: the RGB_R value \"-255\" lies outside the device values 0 to 65535 that name a patch"},
      {{21, 2, 2, 0.2, W::none, "RGB rounded"}, 1,
       "readings: 42, a 21-step wedge measured 2 times, each reading's step named by its RGB values, "
       "resampled to 256"},
      // A smudge in a wedge read twice is named, a spread of 0.5 L* is not,
      // and three smudged steps are all named, with no count of more.
      {{51, 2, 2, 0.1, W::smudge}, 1,
       "readings: 102, a 51-step wedge measured 2 times, pass after pass, resampled to 256",
       {"step 26: its 2 samples span 10.1 L*; a reading may be bad"}},
      {{51, 2, 2, 0, W::spread}, 1,
       "readings: 102, a 51-step wedge measured 2 times, pass after pass, resampled to 256"},
      {{51, 2, 1, 0.1, W::smudges}, 1,
       "readings: 102, a 51-step wedge measured 2 times, each step's readings together, resampled to 256",
       {"step 2: its 2 samples span 10.2 L*; a reading may be bad",
        "step 19: its 2 samples span 10.0 L*; a reading may be bad",
        "step 36: its 2 samples span 10.0 L*; a reading may be bad"}},
  };
  unsigned seed = 1;
  for (const Row& row : rows) {
    const Wedge& w = row.w;
    SCOPED_TRACE(std::to_string(w.steps) + " steps x " + std::to_string(w.samples) + " in " +
                 std::to_string(w.passes) + " passes, noise " + fixedDecimal(w.noise, 1) + ", fault " +
                 std::to_string(w.fault) + " " + w.column);
    const std::vector<Reading> readings = measure(w, seed++);
    const auto out = dir / "out.quad", byHand = dir / "by-hand.quad";
    std::filesystem::remove(out);
    const auto file = dir.write("wedge.txt", fileOf(w, readings));
    const auto r = testsupport::runInkcurve({"linearize", file.string(), quad.string(), "--out", out.string()});
    const testsupport::Seen s = testsupport::seen(r, file.string());
    EXPECT_EQ(s.summary, row.summary);
    EXPECT_EQ(s.warnings, row.warnings);
    if (row.levels == refused) {
      EXPECT_EQ(r.status, 1) << r.out;
      EXPECT_FALSE(std::filesystem::exists(out));
      continue;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(testsupport::runInkcurve({"linearize", dir.write("means.txt", perStepMeans(w, readings)).string(),
                                        quad.string(), "--out", byHand.string()})
                  .status,
              0);
    EXPECT_LE(testsupport::levelsApart(testsupport::curvesOf(out), testsupport::curvesOf(byHand)), row.levels) << r.out;
  }

  // Rows in no order, 20 shuffles at noise 0.3 to 1: sorted and grouped by
  // the steps the sorted runs show, never a layout of the shuffle. Where the
  // noise reaches across neighbouring steps, sorting swaps a few samples.
  for (unsigned shuffle = 0; shuffle < 20; ++shuffle) {
    const Wedge w{21, 4, 1, 0.3 + 0.7 * shuffle / 19, W::shuffled};
    SCOPED_TRACE("shuffle " + std::to_string(shuffle));
    const std::vector<Reading> readings = measure(w, 100 + shuffle);
    const auto file = dir.write("wedge.txt", fileOf(w, readings));
    const auto out = dir / "out.quad", byHand = dir / "by-hand.quad";
    const auto r = testsupport::runInkcurve({"linearize", file.string(), quad.string(), "--out", out.string()});
    const testsupport::Seen s = testsupport::seen(r, file.string());
    EXPECT_EQ(s.summary, "readings: 84, taken in order of falling L* as a 21-step wedge measured 4 times, resampled to 256");
    ASSERT_EQ(s.warnings.size(), 1u);
    EXPECT_TRUE(s.warnings[0].starts_with("the readings follow no wedge layout as listed (the list turns back ") &&
                s.warnings[0].ends_with(" times); they were taken in order of falling L*"))
        << s.warnings[0];
    ASSERT_EQ(testsupport::runInkcurve({"linearize", dir.write("means.txt", perStepMeans(w, readings)).string(),
                                        quad.string(), "--out", byHand.string()})
                  .status,
              0);
    EXPECT_LE(testsupport::levelsApart(testsupport::curvesOf(out), testsupport::curvesOf(byHand)), 300.0);
  }

  // A profiling chart of colour patches is no wedge, whatever its count.
  std::string chart = "CGATS.17\nNUMBER_OF_FIELDS\t7\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tRGB_R\tRGB_G\tRGB_B\tLAB_L\tLAB_A\t"
                      "LAB_B\nEND_DATA_FORMAT\nNUMBER_OF_SETS\t759\nBEGIN_DATA\n";
  for (int n = 0; n < 759; ++n)
    chart += join({std::to_string(n + 1), std::to_string(n % 33 * 255 / 32), std::to_string(n / 33 * 255 / 22),
                   std::to_string(n * 7 % 11 * 25), fixedDecimal(20 + n % 70, 2), "1.00", "-2.00"}, "\t") + "\n";
  const auto r = testsupport::runInkcurve({"linearize", dir.write("chart.txt", chart + "END_DATA\n").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no wedge layout fits 759 readings: their RGB values name colour patches"), std::string::npos)
      << r.err;
}

// What the user says of the wedge is not guessed: it is read so, or the run
// says why not; a count that the file's step column contradicts is a mistake
// on the command line.
TEST(LinearizeCommand, TheLayoutCanBeSaid) {
  testsupport::TempDir dir;
  const auto write = [&](const std::string& name, const Wedge& w) {
    return dir.write(name, fileOf(w, measure(w, 7))).string();
  };
  const auto passes = write("passes.txt", {21, 3, 3, 0.1});
  const auto margin = write("margin.txt", {21, 1, 1, 0.05, Wedge::extraStart});
  const auto named = write("named.txt", {21, 2, 2, 0.1, Wedge::none, "RGB"});
  struct Row {
    std::vector<std::string> args;
    int status;
    std::string line;  // the summary line, or the line on standard error
  };
  const Row rows[] = {
      {{passes, "--steps", "21"}, 0, "readings: 63, a 21-step wedge measured 3 times, pass after pass, resampled to 256"},
      {{passes, "--layout", "passes"}, 0,
       "readings: 63, a 21-step wedge measured 3 times, pass after pass, resampled to 256"},
      {{passes, "--steps", "21", "--layout", "together"}, 1,
       "inkcurve: cannot read " + passes + ": `--steps 21 --layout together` does not fit the readings as a 21-step "
       "wedge measured 3 times, each step's readings together: step 8 climbs back from L* 9.6 to L* 90.5"},
      {{passes, "--steps", "20"}, 1,
       "inkcurve: cannot read " + passes + ": `--steps 20` does not fit 63 readings: they are not a whole number of "
       "readings for each of 20 steps"},
      {{margin, "--steps", "22"}, 0, "readings: 22 steps, resampled to 256"},
      {{named, "--steps", "42"}, 2,
       "inkcurve linearize: `--steps 42` disagrees with the file: its RGB values name 21 steps"},
      {{named, "--steps", "21"}, 0,
       "readings: 42, a 21-step wedge measured 2 times, each reading's step named by its RGB values, resampled to 256"},
      {{passes, "--steps", "1"}, 2, "inkcurve linearize: --steps needs a whole number of steps, 2 or more, not \"1\""},
      {{passes, "--steps", "21.5"}, 2,
       "inkcurve linearize: --steps needs a whole number of steps, 2 or more, not \"21.5\""},
      {{passes, "--layout", "sideways"}, 2, "inkcurve linearize: --layout is \"together\" or \"passes\", not \"sideways\""},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args{"linearize"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    SCOPED_TRACE(join(args, " "));
    const auto r = testsupport::runInkcurve(args);
    EXPECT_EQ(r.status, row.status) << r.err;
    const std::string& text = row.status == 0 ? r.out : r.err;
    EXPECT_NE(text.find(row.line + "\n"), std::string::npos) << text;
    // Nothing asked to be written: the run says so.
    if (row.status == 0) {
      EXPECT_TRUE(r.out.ends_with(
          "nothing written: name an output with --out, --acv, --cube, --xml-dir, --measurements-out or --plot\n"))
          << r.out;
    }
  }
}
