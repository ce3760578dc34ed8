#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

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
// spread of `noise` L*), written in the order measured, or shuffled beside
// the step's device values.
struct Wedge {
  int steps, samples, passes;
  double noise = 0;
  enum Fault { none, smudge, dip, missed, flat, shuffled } fault = none;
  std::string column = "";  // "", "RGB" or "GRAY_K"
};

struct Reading {
  int step;
  double L, a, b;
};

std::vector<Reading> measure(const Wedge& w, unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0.0, 1.0);
  const auto round2 = [](double v) { return std::round(v * 100) / 100; };
  std::vector<Reading> readings;
  for (int pass = 0; pass < w.passes; ++pass)
    for (int k = 0; k < w.steps; ++k)
      for (int r = 0; r < w.samples / w.passes; ++r) {
        double L = fixtures::stepLightness(w.steps, k, w.fault == Wedge::dip);
        if (w.fault == Wedge::flat) L = 60.0 - 0.15 * k;  // neighbouring steps 0.15 L* apart
        L += w.noise * noise(random);
        if (w.fault == Wedge::smudge && pass == 0 && r == 0 && k == w.steps / 2) L += 10.0;
        if (w.fault == Wedge::missed && pass == w.passes - 1 && k == w.steps / 3) continue;
        readings.push_back({k, round2(L), round2(0.2 * (k % 3) + 0.3 * w.noise * noise(random)),
                            round2(1.0 - 0.01 * k + 0.3 * w.noise * noise(random))});
      }
  if (!w.column.empty() || w.fault == Wedge::shuffled) std::shuffle(readings.begin(), readings.end(), random);
  return readings;
}

std::string cgats(const Wedge& w, const std::vector<Reading>& readings) {
  const bool rgb = w.column == "RGB", gray = w.column == "GRAY_K";
  std::string names = rgb ? "SAMPLE_ID\tRGB_R\tRGB_G\tRGB_B\tLAB_L\tLAB_A\tLAB_B"
                          : std::string("SAMPLE_ID\tLAB_L\tLAB_A\tLAB_B") + (gray ? "\tGRAY_K" : "");
  std::string s = "CGATS.17\nNUMBER_OF_FIELDS\t" + std::to_string(rgb ? 7 : gray ? 5 : 4) +
                  "\nBEGIN_DATA_FORMAT\n" + names + "\nEND_DATA_FORMAT\nNUMBER_OF_SETS\t" +
                  std::to_string(readings.size()) + "\nBEGIN_DATA\n";
  for (std::size_t n = 0; n < readings.size(); ++n) {
    const Reading& r = readings[n];
    const double share = static_cast<double>(r.step) / (w.steps - 1);
    std::vector<std::string> row{std::to_string(n + 1)};
    if (rgb) row.insert(row.end(), 3, fixedDecimal(255.0 * (1 - share), 4));
    for (double v : {r.L, r.a, r.b}) row.push_back(fixedDecimal(v, 2));
    if (gray) row.push_back(fixedDecimal(100.0 * share, 4));
    s += join(row, "\t") + "\n";
  }
  return s + "END_DATA\n";
}

// The same readings averaged step by step by hand, as the program's own
// file of one reading a step.
std::string perStepMeans(const Wedge& w, const std::vector<Reading>& readings) {
  std::vector<Reading> sums(w.steps, Reading{0, 0, 0, 0});
  for (const Reading& r : readings) {
    Reading& s = sums[r.step];
    s = {s.step + 1, s.L + r.L, s.a + r.a, s.b + r.b};
  }
  std::string s = "Halvorin Measurement Data File\nStep\tLab_L\tLab_A\tLab_B";
  for (int k = 0; k < w.steps; ++k) {
    const Reading& m = sums[k];
    s += "\n" + join({std::to_string(k + 1), fixedDecimal(m.L / m.step, 6), fixedDecimal(m.a / m.step, 6),
                      fixedDecimal(m.b / m.step, 6)}, "\t");
  }
  return s;
}

std::vector<linearization::InkCurve> readCurves(const std::filesystem::path& path) {
  auto quad = linearization::QuadDataFile::fromFile(path);
  if (!quad || !quad->readQuadFile(quad->rawQuadData)) return {};
  return *quad->inputQuadCurveArray;
}

double largestDifference(const std::vector<linearization::InkCurve>& x, const std::vector<linearization::InkCurve>& y) {
  if (x.size() != y.size()) return INFINITY;
  double most = 0;
  for (std::size_t c = 0; c < x.size(); ++c)
    for (std::size_t i = 0; i < x[c].size(); ++i) most = std::max(most, std::fabs(x[c][i] - y[c][i]));
  return most;
}

}  // namespace

// Every row: the step count printed, and the corrected .quad against the one
// corrected from the per-step means. Where the readings show the layout (a
// step column, or noise well below the spacing of neighbouring steps) the two
// agree within a level; where the noise hides it, within a few hundred and
// with no saw-tooth. Passes that do not line up, with no step column, are
// refused and say where the list climbs back.
TEST(LinearizeCommand, WedgesAreReadAsTheirReadingsShow) {
  testsupport::TempDir dir;
  const auto quad = dir.write("in.quad", testsupport::quadFileText(
                                             "## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", testsupport::eightChannelMarkers(),
                                             [](int c, int i) { return c % 3 == 0 ? 180.0 * i + 60 * c : 0.0; }));
  using W = Wedge;
  const Wedge rows[] = {
      // In file order, no noise: in place, pass after pass, passes of a few in a row.
      {11, 2, 2}, {11, 4, 1}, {21, 3, 3}, {21, 4, 2}, {33, 2, 1}, {33, 2, 2}, {51, 7, 7}, {51, 7, 1},
      {52, 2, 2}, {52, 3, 3}, {86, 2, 1}, {101, 3, 1}, {128, 2, 2}, {128, 3, 3}, {129, 2, 2}, {129, 2, 1},
      {192, 2, 2}, {200, 2, 2}, {200, 3, 3}, {256, 2, 2}, {256, 3, 1}, {256, 7, 7}, {256, 4, 2},
      {21, 1, 1}, {128, 1, 1}, {200, 1, 1}, {256, 1, 1}, {384, 1, 1}, {256, 2, 1, 0, W::flat},
      // Noise of a good strip reader and of a worse one.
      {21, 3, 1, 0.5}, {51, 2, 2, 0.5}, {52, 3, 3, 0.5}, {101, 4, 2, 0.5}, {129, 2, 2, 0.5}, {256, 2, 1, 0.5},
      {21, 2, 2, 1}, {86, 3, 1, 1}, {200, 2, 2, 1}, {256, 3, 1, 1}, {256, 1, 1, 1},
      // A smudged sample, a mid-tone dip, a missed patch.
      {101, 3, 1, 0.5, W::smudge}, {21, 3, 3, 0, W::smudge}, {51, 2, 2, 0, W::dip}, {128, 2, 1, 0.2, W::dip},
      {128, 3, 3, 0, W::missed}, {21, 3, 3, 0, W::missed}, {21, 3, 3, 0, W::shuffled}, {101, 2, 1, 0, W::shuffled},
      // The steps named in the file, rows shuffled.
      {101, 3, 3, 1, W::none, "RGB"}, {256, 2, 2, 1, W::none, "RGB"}, {11, 2, 1, 0.5, W::none, "GRAY_K"},
      {128, 3, 3, 0.5, W::missed, "RGB"}, {101, 3, 1, 0.5, W::smudge, "GRAY_K"}, {200, 4, 4, 1, W::dip, "RGB"},
  };
  unsigned seed = 1;
  for (const Wedge& w : rows) {
    SCOPED_TRACE(std::to_string(w.steps) + " steps x " + std::to_string(w.samples) + " in " +
                 std::to_string(w.passes) + " passes, noise " + fixedDecimal(w.noise, 1) + ", fault " +
                 std::to_string(w.fault) + " " + w.column);
    const std::vector<Reading> readings = measure(w, seed++);
    const auto out = dir / "out.quad", byHand = dir / "by-hand.quad";
    std::filesystem::remove(out);
    const auto r = testsupport::runInkcurve({"linearize", dir.write("wedge.txt", cgats(w, readings)).string(),
                                             quad.string(), "--out", out.string()});
    if (w.fault == W::missed && w.column.empty()) {
      EXPECT_EQ(r.status, 1) << r.out;
      EXPECT_FALSE(std::filesystem::exists(out));
      EXPECT_NE(r.err.find("no wedge layout fits " + std::to_string(readings.size()) +
                           " readings: the list climbs back 2 times, first at reading " +
                           std::to_string(w.steps + 1)),
                std::string::npos)
          << r.err;
      continue;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string steps = w.samples == 1 ? "readings: " + std::to_string(w.steps) + " steps"
                                             : "a " + std::to_string(w.steps) + "-step wedge measured ";
    const double spacing = (w.fault == W::flat ? 0.15 * (w.steps - 1) : 90.0) / (w.steps - 1);
    const bool shown = !w.column.empty() || w.noise * 3 <= spacing;
    if (shown) {
      EXPECT_NE(r.out.find(steps), std::string::npos) << r.out;
    }
    ASSERT_EQ(testsupport::runInkcurve({"linearize", dir.write("means.txt", perStepMeans(w, readings)).string(),
                                        quad.string(), "--out", byHand.string()})
                  .status,
              0);
    EXPECT_LE(largestDifference(readCurves(out), readCurves(byHand)), shown ? 1.0 : 600.0) << r.out;
    if (w.fault == W::shuffled) {
      EXPECT_NE(r.err.find("they were taken in order of falling L*"), std::string::npos) << r.err;
    }
    // A smudged sample is named, with its step.
    if (w.fault == W::smudge) {
      EXPECT_NE(r.err.find("inkcurve: warning: " + (dir / "wedge.txt").string() + ": step " +
                           std::to_string(w.steps / 2 + 1) + ": its " + std::to_string(w.samples) + " samples span"),
                std::string::npos)
          << r.err;
    }
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
