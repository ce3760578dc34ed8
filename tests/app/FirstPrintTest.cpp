#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ReadingsSeen.h"
#include "RunCli.h"
#include "linearization/QuadDataFile.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"
#include "support/SampleFiles.h"

namespace {

using platform::text::fixedDecimal;
using testsupport::curvesOf;
using testsupport::levelsApart;
using testsupport::Seen;
using testsupport::seen;
using platform::text::join;

// The L* of the bundled example wedge, interpolated for other counts.
double curved(int steps, int k) {
  static const double example[] = {94.80, 87.74, 80.90, 74.28, 67.90, 61.75, 55.84, 50.17, 44.77, 39.63, 34.76,
                                   30.17, 25.88, 21.90, 18.25, 14.95, 12.02, 9.51,  7.45,  5.94,  5.20};
  const double x = 20.0 * k / (steps - 1);
  const int i = std::min(static_cast<int>(x), 19);
  return example[i] + (example[i + 1] - example[i]) * (x - i);
}
double linear(int steps, int k) { return 95 - 90.0 * k / (steps - 1); }

// One measurement: its L*, and a* and b* that the instrument's noise moves
// too (so that a line read twice is two equal lines).
struct Reading {
  double L, a = 0, b = 0;
};

// A wedge read as a photographer reads it: `inRow` readings of each step in
// a row, in `passes` passes, each off by a normal spread of `noise` L*,
// written to two decimals.
std::vector<Reading> measure(const std::function<double(int)>& lightness, int steps, int inRow, int passes,
                             double noise, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> spread(0.0, 1.0);
  const auto round2 = [](double v) { return std::round(v * 100) / 100; };
  std::vector<Reading> readings;
  for (int pass = 0; pass < passes; ++pass)
    for (int k = 0; k < steps; ++k)
      for (int r = 0; r < inRow; ++r)
        readings.push_back({round2(lightness(k) + noise * spread(random)), round2(noise * spread(random)),
                            round2(noise * spread(random))});
  return readings;
}

// A CGATS file of the readings, the first on line 8, written to `decimals`;
// `labels` (one a reading) as a GRAY_K column where given.
std::string cgats(const std::vector<Reading>& readings, const std::vector<double>& labels = {}, int decimals = 2) {
  std::string s = "CGATS.17\nNUMBER_OF_FIELDS\t" + std::string(labels.empty() ? "4" : "5") +
                  "\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tLAB_L\tLAB_A\tLAB_B" + (labels.empty() ? "" : "\tGRAY_K") +
                  "\nEND_DATA_FORMAT\nNUMBER_OF_SETS\t" + std::to_string(readings.size()) + "\nBEGIN_DATA\n";
  for (std::size_t n = 0; n < readings.size(); ++n) {
    std::vector<std::string> row{std::to_string(n + 1), fixedDecimal(readings[n].L, decimals),
                                 fixedDecimal(readings[n].a, decimals), fixedDecimal(readings[n].b, decimals)};
    if (!labels.empty()) row.push_back(fixedDecimal(labels[n], 4));
    s += join(row, "\t") + "\n";
  }
  return s + "END_DATA\n";
}

// A text with `{}` standing for any L* ("{}" matches digits, points and
// minus signs): the values that the noise moves.
bool matches(const std::string& pattern, const std::string& text) {
  std::size_t p = 0, t = 0;
  while (p < pattern.size()) {
    if (pattern.compare(p, 2, "{}") == 0) {
      const std::size_t start = t;
      while (t < text.size() && (std::isdigit(static_cast<unsigned char>(text[t])) || text[t] == '.' || text[t] == '-'))
        ++t;
      if (t == start) return false;
      p += 2;
    } else if (t < text.size() && pattern[p] == text[t]) {
      ++p, ++t;
    } else {
      return false;
    }
  }
  return t == text.size();
}

}  // namespace

// The readings of a first print as users meet them, each at several noises
// and seeds: what the program reads, asks or refuses (the whole line, `{}`
// for the L* the noise moves), its warnings, and how far its curve lies from
// the right one, the curve of the same print measured without the fault.
TEST(LinearizeCommand, TheFirstPrintIsReadRight) {
  testsupport::TempDir dir;
  const auto quad = dir.write("in.quad", testsupport::rampedQuadText());
  struct Made {
    std::string file;                  // the measurement file as measured
    std::string right;                 // the same print without the fault, read as it stands
    std::vector<std::string> options;  // what the user says of it
  };
  constexpr double refused = -1;
  struct Row {
    std::string name;
    std::function<Made(double noise, unsigned seed)> make;
    std::vector<double> noises;
    int status;
    std::string summary;
    std::vector<std::string> warnings;
    double levels;  // at most this far from the right curve; `refused`
    // Where the noise hides the layout at some draws: besides reading it
    // right, the run may ask, offering `--steps` of the right count, or
    // read the readings as repeats of the count they show best, if its curve
    // lies within `hidden` levels of the right one; never as one reading a
    // step, which keeps all the noise of the ends.
    double hidden = 0;
  };
  // The wedge's own steps, each named by its GRAY_K value so that it is read
  // as it stands, every reading twice (nothing is left out of a step of two).
  const auto asItStands = [](const std::vector<Reading>& steps) {
    std::vector<Reading> twice;
    std::vector<double> labels;
    for (std::size_t k = 0; k < steps.size(); ++k)
      for (int r = 0; r < 2; ++r) {
        twice.push_back(steps[k]);
        labels.push_back(100.0 * static_cast<double>(k) / static_cast<double>(steps.size() - 1));
      }
    return cgats(twice, labels, 6);
  };
  const auto stepMeans = [](const std::vector<Reading>& readings, int inRow) {
    std::vector<Reading> means;
    for (std::size_t k = 0; k + inRow <= readings.size(); k += inRow) {
      Reading m{0, 0, 0};
      for (int r = 0; r < inRow; ++r) m = {m.L + readings[k + r].L / inRow, m.a + readings[k + r].a / inRow,
                                            m.b + readings[k + r].b / inRow};
      means.push_back(m);
    }
    return means;
  };
  // 1. Blocked ends: `held` equal patches at paper white or at the dark end.
  const auto blocked = [&](int steps, int held, bool dark) {
    return [=](double noise, unsigned seed) {
      const auto lightness = [=](int k) {
        const int top = steps - held;
        return 95 - 85.0 * std::clamp(dark ? k : k - held + 1, 0, top) / top;
      };
      const auto r = measure(lightness, steps, 1, 1, noise, seed);
      return Made{cgats(r), asItStands(r), {}};
    };
  };
  // 2. A 51-step wedge read once, step 31 read `off` L* too light.
  const auto smudged = [&](double off) {
    return [=](double noise, unsigned seed) {
      auto r = measure([](int k) { return linear(51, k); }, 51, 1, 1, noise, seed);
      const auto right = asItStands(r);
      r[30].L += off;
      return Made{cgats(r), std::fabs(off) > 5 ? right : asItStands(r), {}};
    };
  };
  // 3. A 21-step wedge read three times in place, one sample of step 8 9 L*
  // off.
  const auto stray = [&](double noise, unsigned seed) {
    auto r = measure([](int k) { return linear(21, k); }, 21, 3, 1, noise, seed);
    // Without the stray, the step is the mean of the other two.
    r[22] = {(r[21].L + r[23].L) / 2, (r[21].a + r[23].a) / 2, (r[21].b + r[23].b) / 2};
    const auto right = asItStands(stepMeans(r, 3));
    r[22].L = r[21].L + 9;
    return Made{cgats(r), right, {}};
  };
  // 4. A single-read wedge with one line read twice.
  const auto lineTwice = [&](int steps, int line) {
    return [=](double noise, unsigned seed) {
      auto r = measure([=](int k) { return curved(steps, k); }, steps, 1, 1, noise, seed);
      r.insert(r.begin() + line, r[line]);
      return Made{cgats(r), "", {}};
    };
  };
  // A wedge of 23 whose last three patches block, the last two read alike
  // to the last digit of every field, as a quiet instrument may.
  const auto equalInShadows = [&](double noise, unsigned seed) {
    auto r = measure([](int k) { return 95 - 85.0 * std::min(k, 20) / 20; }, 23, 1, 1, noise, seed);
    r[22] = r[21];
    return Made{cgats(r), asItStands(r), {}};
  };
  // 5. A fine wedge read `inRow` times in place by a noisy instrument.
  const auto inPlace = [&](int steps, int inRow) {
    return [=](double noise, unsigned seed) {
      const auto r = measure([=](int k) { return linear(steps, k); }, steps, inRow, 1, noise, seed);
      return Made{cgats(r), asItStands(stepMeans(r, inRow)), {}};
    };
  };
  // 6. A 21-step wedge read twice in place, one sample missing.
  const auto missing = [&](int which, std::vector<std::string> options) {
    return [=](double noise, unsigned seed) {
      auto r = measure([](int k) { return linear(21, k); }, 21, 2, 1, noise, seed);
      auto whole = r;
      whole[which] = whole[which ^ 1];
      r.erase(r.begin() + which);
      return Made{cgats(r), asItStands(stepMeans(whole, 2)), options};
    };
  };
  // 7. Two prints of a 64-step wedge in one file, the second up to 9.4 L*
  // darker in the mid-tones.
  const auto twoPrints = [&](double apart) {
    return [=](double noise, unsigned seed) {
      auto r = measure([](int k) { return linear(64, k); }, 64, 1, 1, noise, seed);
      const auto second =
          measure([=](int k) { return linear(64, k) - apart * std::sin(M_PI * k / 63); }, 64, 1, 1, noise, seed + 99);
      r.insert(r.end(), second.begin(), second.end());
      return Made{cgats(r), "", {}};
    };
  };
  // 8. Step labels: a wedge with extra highlight and shadow steps (0, 2.5,
  // 5, 7.5, 10, 15 ... 90, 92.5, 95, 97.5, 100), and one of 21 even steps
  // that missed step 8; the right curve is that of 101 even steps of the
  // same print.
  const auto labelled = [&](std::vector<double> inputs) {
    return [=](double noise, unsigned seed) {
      const auto print = [](double input) { return 95 - 85 * std::pow(input / 100, 0.7); };
      std::vector<Reading> r;
      for (std::size_t k = 0; k < inputs.size(); ++k)
        r.push_back(measure([&](int) { return print(inputs[k]); }, 1, 1, 1, noise, seed + static_cast<unsigned>(k))[0]);
      std::vector<Reading> fine;
      for (int k = 0; k <= 100; ++k) fine.push_back({print(k), 0, 0});
      return Made{cgats(r, inputs), asItStands(fine), {}};
    };
  };
  std::vector<double> uneven{0, 2.5, 5, 7.5};
  for (int x = 10; x <= 90; x += 5) uneven.push_back(x);
  uneven.insert(uneven.end(), {92.5, 95, 97.5, 100});
  std::vector<double> gap;
  for (int k = 0; k <= 20; ++k)
    if (k != 7) gap.push_back(5.0 * k);

  const std::vector<double> fine = {0.03, 0.05, 0.25, 0.5};
  const Row rows[] = {
      {"blocked end: the last 2 of 21 alike", blocked(21, 2, true), fine, 0, "readings: 21 steps, resampled to 256", {}, 1},
      {"blocked end: the first 2 of 21 alike", blocked(21, 2, false), fine, 0, "readings: 21 steps, resampled to 256", {}, 1},
      {"blocked end: the last 4 of 21 alike", blocked(21, 4, true), fine, 0, "readings: 21 steps, resampled to 256", {}, 1},
      {"blocked end: the first 5 of 51 alike", blocked(51, 5, false), fine, 0, "readings: 51 steps, resampled to 256", {}, 1},
      {"smudge: step 31 of 51 read 12 L* too light", smudged(12), {0.05, 0.2, 0.5}, 0,
       "readings: 51 steps, 1 reading left out, resampled to 256",
       {"line 38: reading 31 (L* {}) lies {} L* outside its neighbours (L* {} and {}): a smudge or a misplaced "
        "instrument? it was left out of the curve"},
       400},
      {"smudge: step 31 of 51 read 12 L* too dark", smudged(-12), {0.05, 0.2}, 0,
       "readings: 51 steps, 1 reading left out, resampled to 256",
       {"line 38: reading 31 (L* {}) lies {} L* outside its neighbours (L* {} and {}): a smudge or a misplaced "
        "instrument? it was left out of the curve"},
       400},
      {"a print's own bump of 1.5 L* is kept", smudged(1.5), {0.05, 0.2}, 0, "readings: 51 steps, resampled to 256", {}, 1},
      {"stray sample: one of three 9 L* off", stray, {0.1, 0.3}, 0,
       "readings: 63, a 21-step wedge measured 3 times, each step's readings together, 1 reading left out, resampled to "
       "256",
       {"line 30: sample 2 of step 8 (L* {}) lies {} L* from its 2 other samples (L* {} on average): it was left out "
        "of the step's mean"},
       1},
      {"a line of 21 read twice", lineTwice(21, 9), {0.05, 0.25}, 1,
       "line 18: reading 11 repeats reading 10 (L* {} and {}) where the steps around them are far apart: a patch read "
       "twice? take one of the two out of the file, or say `--steps 22` if they are two steps",
       {}, refused},
      {"a line of 51 read twice", lineTwice(51, 20), {0.05, 0.25}, 1,
       "line 29: reading 22 repeats reading 21 (L* {} and {}) where the steps around them are far apart: a patch read "
       "twice? take one of the two out of the file, or say `--steps 52` if they are two steps",
       {}, refused},
      {"a line of 64 read twice", lineTwice(64, 30), {0.15}, 1,
       "line 39: reading 32 repeats reading 31 (L* {} and {}) where the steps around them are far apart: a patch read "
       "twice? take one of the two out of the file, or say `--steps 65` if they are two steps",
       {}, refused},
      {"two equal readings where the shadows block are no line read twice", equalInShadows, {0.04}, 0,
       "readings: 23 steps, resampled to 256", {}, 1},
      {"300 steps read 3 times in place at noise 1", inPlace(300, 3), {1}, 0,
       "readings: 900, a 300-step wedge measured 3 times, each step's readings together, resampled to 256", {}, 1, 700},
      {"100 steps read 4 times in place at noise 1", inPlace(100, 4), {1}, 0,
       "readings: 400, a 100-step wedge measured 4 times, each step's readings together, resampled to 256", {}, 1, 700},
      {"65 steps read twice in place at noise 1", inPlace(65, 2), {1}, 0,
       "readings: 130, a 65-step wedge measured 2 times, each step's readings together, resampled to 256", {}, 1, 700},
      {"257 steps read 4 times in place at noise 1", inPlace(257, 4), {1}, 0,
       "readings: 1028, a 257-step wedge measured 4 times, each step's readings together, resampled to 256", {}, 1, 700},
      {"512 steps read 3 times in place at noise 1", inPlace(512, 3), {1}, 0,
       "readings: 1536, a 512-step wedge measured 3 times, each step's readings together, resampled to 256", {}, 1, 700},
      {"a sample missing, said to be 21 steps", missing(17, {"--steps", "21"}), {0.1, 0.5}, 0,
       "readings: 41, a 21-step wedge measured 2 times, each step's readings together, one reading of step 9 missing, "
       "resampled to 256",
       {}, 900},
      {"the first sample missing, said to be 21 steps", missing(0, {"--steps", "21"}), {0.1, 0.5}, 0,
       "readings: 41, a 21-step wedge measured 2 times, each step's readings together, one reading of step 1 missing, "
       "resampled to 256",
       {}, 900},
      {"a sample missing, not said", missing(17, {}), {0.1}, 1,
       "no wedge layout fits 41 readings: they come in runs of repeats (each patch read a few times in a row), but no "
       "count of repeats fits 41 readings; is a patch read once too often or too few times? If a reading is missing, "
       "`--steps 21` reads them as a 21-step wedge measured twice, each step's readings together, one reading of step 9 "
       "missing",
       {}, refused},
      {"two prints in one file", twoPrints(9.4), {0.1, 0.5}, 1,
       "no wedge layout fits 128 readings: read as a 64-step wedge measured twice, pass after pass, its passes 1 and 2 "
       "disagree by up to {} L* (at step {}): two prints in one file? read each print from a file of its own",
       {}, refused},
      {"one print measured twice, a little apart", twoPrints(1.5), {0.1}, 0,
       "readings: 128, a 64-step wedge measured 2 times, pass after pass, resampled to 256", {}, refused},
      {"labels: extra highlight and shadow steps", labelled(uneven), {0.05, 0.2}, 0,
       "readings: 25 steps, placed at their labels, resampled to 256", {}, 500},
      {"labels: a step missed", labelled(gap), {0.05, 0.2}, 0,
       "readings: 20 steps, placed at their labels, resampled to 256", {}, 500},
  };
  // The right curve of a made file: that of the print without the fault.
  const auto rightCurves = [&](const Made& made) {
    const auto right = dir / "right.quad";
    EXPECT_EQ(testsupport::runInkcurve({"linearize", dir.write("right.txt", made.right).string(), quad.string(),
                                        "--out", right.string()})
                  .status,
              0);
    return curvesOf(right);
  };
  for (const Row& row : rows)
    for (const double noise : row.noises)
      for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(row.name + ", noise " + fixedDecimal(noise, 2) + ", seed " + std::to_string(seed));
        const Made made = row.make(noise, seed);
        const auto file = dir.write("wedge.txt", made.file), out = dir / "out.quad";
        std::filesystem::remove(out);
        std::vector<std::string> args{"linearize", file.string(), quad.string(), "--out", out.string()};
        args.insert(args.end(), made.options.begin(), made.options.end());
        const Seen s = seen(testsupport::runInkcurve(args), file.string());
        if (row.hidden > 0 && !matches(row.summary, s.summary)) {
          // The noise hid the layout at this draw: asked, offering the right
          // count, or read as the readings show best, near the right curve.
          const std::string count = row.summary.substr(0, row.summary.find("-step"));
          const std::string offered = "`--steps " + count.substr(count.rfind(' ') + 1) + "`";
          if (s.status == 1) {
            EXPECT_TRUE(s.summary.find(" could be ") != std::string::npos && s.summary.find(offered) != std::string::npos)
                << s.summary;
          } else {
            // Read as repeats of some count, never one reading a step.
            EXPECT_NE(s.summary.find("-step wedge measured"), std::string::npos) << s.summary;
            EXPECT_LE(levelsApart(curvesOf(out), rightCurves(made)), row.hidden) << s.summary;
          }
          continue;
        }
        EXPECT_EQ(s.status, row.status);
        EXPECT_TRUE(matches(row.summary, s.summary)) << s.summary;
        EXPECT_EQ(s.warnings.size(), row.warnings.size()) << join(s.warnings, "\n");
        for (std::size_t k = 0; k < s.warnings.size() && k < row.warnings.size(); ++k)
          EXPECT_TRUE(matches(row.warnings[k], s.warnings[k])) << s.warnings[k];
        if (row.levels == refused) {
          if (row.status != 0) {
            EXPECT_FALSE(std::filesystem::exists(out));
          }
          continue;
        }
        EXPECT_LE(levelsApart(curvesOf(out), rightCurves(made)), row.levels);
      }
}

// What users rely on, each pinned by the whole line it gives: the summary
// (or the reason nothing was read) and the warnings.
TEST(LinearizeCommand, WhatUsersRelyOnIsPinned) {
  testsupport::TempDir dir;
  const auto shuffled = [](std::vector<Reading> r, unsigned seed) {
    std::shuffle(r.begin(), r.end(), std::mt19937(seed));
    return r;
  };
  const auto curvedOf = [](int steps) { return [steps](int k) { return curved(steps, k); }; };
  const auto linearOf = [](int steps) { return [steps](int k) { return linear(steps, k); }; };
  const auto flatPrint = [](int k) { return 62 - 5.0 * k / 11; };
  // The bundled wedge listed darkest first, twice, the second pass without
  // step 11.
  std::vector<Reading> backwards = measure(curvedOf(21), 21, 1, 1, 0, 1);
  std::reverse(backwards.begin(), backwards.end());
  std::vector<Reading> twiceBackwards = backwards;
  twiceBackwards.insert(twiceBackwards.end(), backwards.begin(), backwards.end());
  twiceBackwards.erase(twiceBackwards.begin() + 21 + 10);
  // A wedge read twice in place, and a 43rd reading of L* 35.
  std::vector<Reading> extra = measure(linearOf(21), 21, 2, 1, 0.1, 2);
  extra.push_back({35, 0, 0});
  // Passes whose first readings are paper white.
  const auto whiteFirst = [&](int steps, int white) {
    auto r = measure(curvedOf(steps), steps, 1, 2, 0, 3);
    for (int k = 0; k < white; ++k) r[static_cast<std::size_t>(k)].L = 94.8;
    return r;
  };
  // The program's own file of a 21-step wedge, twice in one file.
  std::string own = "Halvorin Measurement Data File\nStep\tLab_L\tLab_A\tLab_B\n";
  for (int k = 0; k < 21; ++k) own += std::to_string(k + 1) + "\t" + fixedDecimal(curved(21, k), 2) + "\t0.00\t0.00\n";
  const auto ownFile = dir.write("own.txt", own);
  const auto written = dir / "written.txt";
  ASSERT_EQ(testsupport::runInkcurve({"linearize", ownFile.string(), "--measurements-out", written.string()}).status, 0);
  std::vector<Reading> fifty(21, Reading{50, 0, 0});

  struct Row {
    std::string name;
    std::string file;
    std::vector<std::string> options;
    int status;
    std::string summary;  // or the reason nothing was read, or the usage error
    std::vector<std::string> warnings = {};
    std::string also = "";  // another line on standard error
  };
  const std::string fallsBack =
      "line 29: no wedge layout fits 41 readings: the list falls back 1 time, first at reading 22, from L* 94.8 to L* "
      "5.2 (passes of 21 and 20 readings); a file is read as one reading a step or as whole passes over the wedge, "
      "each from paper white to the darkest; if a reading is missing, `--steps 21` reads them as a 21-step wedge "
      "measured twice, pass after pass, passes 1 and 2 read from the dark end, one reading of step 11 missing";
  const auto sorted = [](int turns) {
    return std::vector<std::string>{"the readings follow no wedge layout as listed (the list turns back " +
                                    std::to_string(turns) + " times); they were taken in order of falling L*"};
  };
  const std::string noCorrection =
      "inkcurve: no correction curve could be built from these readings: they do not fall from paper white to the "
      "darkest step (L* 50.00 to L* 50.00)";
  const Row rows[] = {
      {"a rising list's refusal quotes its L*", cgats(twiceBackwards), {}, 1, fallsBack},
      {"the curved 42-step wedge read once, shuffled", cgats(shuffled(measure(curvedOf(42), 42, 1, 1, 0.2, 4), 5)), {},
       0, "readings: 42, taken in order of falling L* as a 21-step wedge measured 2 times, resampled to 256", sorted(9)},
      {"a 24-step wedge read twice in place, shuffled", cgats(shuffled(measure(linearOf(24), 24, 2, 1, 0.1, 6), 7)), {},
       0, "readings: 48, taken in order of falling L* as a 24-step wedge measured 2 times, resampled to 256", sorted(11)},
      {"the curved 51-step wedge read once, shuffled", cgats(shuffled(measure(curvedOf(51), 51, 1, 1, 0.2, 8), 9)), {},
       0, "readings: 51, taken in order of falling L* as 51 steps, resampled to 256", sorted(9)},
      {"--steps 5 on a 5-step wedge read twice in place", cgats(measure(linearOf(5), 5, 2, 1, 0, 10)), {"--steps", "5"},
       0, "readings: 10, a 5-step wedge measured 2 times, each step's readings together, resampled to 256"},
      {"a 43rd reading after runs of two", cgats(extra), {}, 1,
       "no wedge layout fits 43 readings: they come in runs of repeats (each patch read a few times in a row), but no "
       "count of repeats fits 43 readings; is a patch read once too often or too few times?"},
      {"--layout passes on a wedge read 3 times in place", cgats(measure(curvedOf(21), 21, 3, 1, 0.2, 11)),
       {"--layout", "passes"}, 1,
       "`--layout passes` does not fit the readings as a 63-step wedge measured once: its readings come in runs of "
       "repeats"},
      {"--steps 21 --layout passes on it", cgats(measure(curvedOf(21), 21, 3, 1, 0.2, 11)),
       {"--steps", "21", "--layout", "passes"}, 1,
       "line 8: `--steps 21 --layout passes` does not fit the readings as a 21-step wedge measured 3 times, pass after "
       "pass: the samples of step 1 span 76.4 L* (readings 1 and 43)"},
      {"--layout passes on a wedge read once", cgats(measure(curvedOf(21), 21, 1, 1, 0.1, 12)), {"--layout", "passes"}, 0,
       "readings: 21 steps, resampled to 256"},
      {"42 readings of L* 50 said to be 21 steps", cgats(std::vector<Reading>(42, Reading{50, 0, 0})), {"--steps", "21"},
       1,
       "`--steps 21` does not fit the readings as a 21-step wedge measured twice, each step's readings together: its "
       "steps do not fall from paper white to the darkest"},
      {"an 11-step wedge in 3 passes from the dark end",
       cgats(measure([](int k) { return linear(11, 10 - k); }, 11, 1, 3, 0, 13)), {}, 0,
       "readings: 33, an 11-step wedge measured 3 times, pass after pass, passes 1, 2 and 3 read from the dark end, "
       "resampled to 256"},
      {"passes whose first 7 readings are paper white", cgats(whiteFirst(21, 7)), {}, 1,
       "no wedge layout fits 42 readings: read as a 21-step wedge measured twice, pass after pass, its passes 1 and 2 "
       "disagree by up to 33.0 L* (at step 6): two prints in one file? read each print from a file of its own"},
      {"passes whose first 3 readings are paper white", cgats(whiteFirst(11, 3)), {}, 1,
       "no wedge layout fits 22 readings: read as an 11-step wedge measured twice, pass after pass, its passes 1 and 2 "
       "disagree by up to 13.6 L* (at step 2): two prints in one file? read each print from a file of its own"},
      {"a flat print 12 x 12 in place at noise 1", cgats(measure(flatPrint, 12, 12, 1, 1, 14)), {}, 1,
       "line 61: no wedge layout fits 144 readings: the list climbs back 2 times, first at reading 54, from L* 58.0 to "
       "L* 63.0 (passes of 53, 15 and 76 readings); a file is read as one reading a step or as whole passes over the "
       "wedge, each from paper white to the darkest"},
      {"22 steps read twice in place at noise 1", cgats(measure(linearOf(22), 22, 2, 1, 1, 15)), {}, 0,
       "readings: 44, a 22-step wedge measured 2 times, each step's readings together, resampled to 256"},
      {"101 steps read twice in place at noise 1", cgats(measure(linearOf(101), 101, 2, 1, 1, 16)), {}, 0,
       "readings: 202, a 101-step wedge measured 2 times, each step's readings together, resampled to 256"},
      {"no correction, only --measurements-out", cgats(fifty), {"--measurements-out", (dir / "m.txt").string()}, 0,
       "readings: 21 steps, resampled to 256", {}, noCorrection},
      {"no correction, only --plot", cgats(fifty), {"--plot", (dir / "p.png").string()}, 0,
       "readings: 21 steps, resampled to 256", {}, noCorrection},
      {"the program's own file said to be 128 steps", testsupport::slurp(written), {"--steps", "128"}, 2, "",
       {}, "inkcurve linearize: `--steps 128` disagrees with the file: its step numbers name 256 steps"},
      {"two of its own files joined", own + own, {}, 0,
       "readings: 42, a 21-step wedge measured 2 times, pass after pass, resampled to 256",
       {"line 24 repeats line 1 of the file's header (two files joined?); it was skipped",
        "line 25 repeats line 2 of the file's header (two files joined?); it was skipped"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto file = dir.write("wedge.txt", row.file);
    std::vector<std::string> args{"linearize", file.string()};
    args.insert(args.end(), row.options.begin(), row.options.end());
    const auto r = testsupport::runInkcurve(args);
    const Seen s = seen(r, file.string());
    EXPECT_EQ(r.status, row.status) << r.err;
    EXPECT_EQ(s.summary, row.summary) << r.err;
    EXPECT_EQ(s.warnings, row.warnings);
    if (!row.also.empty()) {
      EXPECT_NE(r.err.find(row.also + "\n"), std::string::npos) << r.err;
    }
  }
  // The outputs that need no correction were written.
  for (const char* name : {"m.txt", "p.png"}) EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
  // Nothing said of the request blames the file's format.
  EXPECT_EQ(testsupport::runInkcurve({"linearize", dir.write("w.txt", cgats(fifty)).string(), "--steps", "20"}).err,
            "inkcurve: cannot read " + (dir / "w.txt").string() +
                ": `--steps 20` does not fit 21 readings: they are not a whole number of readings for each of 20 "
                "steps\n");
}
