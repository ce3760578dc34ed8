#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReadingFixtures.h"
#include "linearization/MeasurementData.h"
#include "linearization/readers/RibbonmeterCIELabFile.h"
#include "linearization/readers/TallyframeCIELabFile.h"
#include "support/FakeHost.h"

using linearization::CIELab;
using linearization::MeasurementData;
using linearization::RibbonmeterCIELabFile;
using linearization::TallyframeCIELabFile;

TEST(CIELab, OrderedByLightnessAloneAndEqualOnlyInAllThree) {
  const CIELab x{50, 1, 0};
  const CIELab y{50, 2, 0};
  EXPECT_FALSE(x < y);
  EXPECT_FALSE(y < x);
  EXPECT_FALSE(x > y);
  EXPECT_TRUE(x <= y);
  EXPECT_TRUE(x >= y);
  EXPECT_FALSE(x == y);
  EXPECT_TRUE(x == (CIELab{50, 1, 0}));
  EXPECT_TRUE((CIELab{40, 9, 9}) < x);

  EXPECT_EQ((CIELab{50, 0, 0}).description(), "CIELab(L:50.0, a:0.0, b:0.0)");
  EXPECT_EQ(linearization::describe({{95.5, -0.25, 0.1}, {3, 0, -1}}),
            "[CIELab(L:95.5, a:-0.25, b:0.1), CIELab(L:3.0, a:0.0, b:-1.0)]");
  EXPECT_EQ(linearization::describe({}), "[]");
  // Every reading of a list of up to 1,000; a longer list shows its five
  // first and five last readings, and its count.
  const std::string one = "CIELab(L:1.0, a:0.0, b:0.0), ";
  std::vector<CIELab> many(1000, CIELab{1, 0, 0});
  many.back().L = 2;
  const std::string whole = linearization::describe(many);
  EXPECT_EQ(whole.size(), 1000 * one.size()) << whole.substr(0, 400);
  EXPECT_TRUE(whole.ends_with(one + "CIELab(L:2.0, a:0.0, b:0.0)]")) << whole.substr(whole.size() - 400);
  many.insert(many.begin(), CIELab{1, 0, 0});
  EXPECT_EQ(linearization::describe(many), "[" + one + one + one + one + one + "... (1001 readings) ..., " + one +
                                               one + one + one + "CIELab(L:2.0, a:0.0, b:0.0)]");
}

TEST(MeasurementData, SplitRowsDropsBlankLinesAndKeepsTheRestUnchanged) {
  MeasurementData data({"", "\r", "\xE2\x80\xA8", "a\tb\r", "\t", "\r\n", "x", " "}, true);
  // Each row keeps the number of its line among the lines given.
  const std::vector<std::pair<int64_t, std::vector<std::string>>> expected{
      {4, {"a", "b\r"}}, {5, {"", ""}}, {7, {"x"}}, {8, {" "}}};
  std::vector<std::pair<int64_t, std::vector<std::string>>> rows;
  for (const auto& row : data.measurementData2DArray) rows.emplace_back(row.lineNumber(), row.strings());
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(*data.rawData, (std::vector<std::string>{"a\tb\r", "\t", "x", " "}));

  // A row's fields are found in place, a line of a million of them included.
  const std::string wide = std::string(1'000'000, '\t') + "last";
  const linearization::Fields fields(wide, '\t');
  EXPECT_EQ(fields.size(), 1'000'001u);
  EXPECT_EQ(fields[1'000'000], "last");
  EXPECT_EQ(fields.find("last"), 1'000'000u);
  EXPECT_EQ(linearization::Fields("a  b", ' ').strings(), (std::vector<std::string>{"a", "", "b"}));
}

TEST(MeasurementData, GuessesSamplesPerStepFromTheNumberOfReadings) {
  struct Case {
    std::size_t readings;
    int64_t guess;
  };
  MeasurementData data({}, true);
  for (const Case& c : {Case{0, 0}, Case{1, 0}, Case{30, 0}, Case{128, 1}, Case{256, 1}, Case{129, 1},
                        Case{384, 3}, Case{640, 5}, Case{512, 2}, Case{258, 2}, Case{202, 2}, Case{42, 2}, Case{22, 2},
                        Case{63, 3}, Case{33, 3}, Case{1071, 21}}) {
    data.measuredLab.assign(c.readings, CIELab{});
    EXPECT_EQ(data.guessSamplesPerStep(), c.guess) << c.readings;
  }
}

TEST(MeasurementData, InterpolatesReadingsTo256) {
  std::vector<CIELab> readings;
  for (int j = 0; j < 21; ++j) readings.push_back(CIELab{95.0 - 4.5 * j, 1.25, -3.5});
  const std::vector<CIELab> out = linearization::interpolateTo256(readings);
  ASSERT_EQ(out.size(), 256u);
  EXPECT_EQ(out[0], readings[0]);
  // Keyframe j stands at j / 20, sample k at k / 256: they meet at k = 64j / 5.
  EXPECT_EQ(out[64], readings[5]);
  EXPECT_EQ(out[128], readings[10]);
  EXPECT_EQ(out[192], readings[15]);
  for (std::size_t k = 0; k < out.size(); ++k) {
    EXPECT_NEAR(out[k].L, 95.0 - 90.0 * static_cast<double>(k) / 256.0, 1e-9) << k;
    EXPECT_NEAR(out[k].a, 1.25, 1e-12);
    EXPECT_NEAR(out[k].b, -3.5, 1e-12);
  }

  // A curved wedge comes back on the curve away from the two end steps, not
  // on the chords between readings, which miss it by up to 0.05.
  std::vector<CIELab> curved;
  for (int j = 0; j < 21; ++j) curved.push_back(CIELab{95.0 - 0.2 * j * j, 0, 0});
  const std::vector<CIELab> bent = linearization::interpolateTo256(curved);
  for (int k = 13; k <= 243; ++k) {
    const double j = 20.0 * k / 256;
    EXPECT_NEAR(bent[static_cast<std::size_t>(k)].L, 95.0 - 0.2 * j * j, 1e-9) << k;
  }

  EXPECT_TRUE(linearization::interpolateTo256({}).empty());
  EXPECT_EQ(linearization::interpolateTo256({{42, 1, 2}}), std::vector<CIELab>(256, CIELab{42, 1, 2}));

  const auto channels = linearization::separateLabArrays({{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(channels, (std::vector<std::vector<double>>{{1, 4}, {2, 5}, {3, 6}}));
  EXPECT_EQ(linearization::separateLabArrays({}), (std::vector<std::vector<double>>(3)));
}

TEST(MeasurementData, RegroupsTwentyOneStepsMeasuredPassAfterPass) {
  std::vector<CIELab> readings;
  for (int k = 0; k < 43; ++k) readings.push_back(CIELab{static_cast<double>(k), 0, 0});
  const std::vector<CIELab> grouped = linearization::regroupTwentyOneSteps(readings);
  ASSERT_EQ(grouped.size(), 42u);  // the 43rd reading has no pass of its own
  for (std::size_t k = 0; k < 21; ++k) {
    EXPECT_EQ(grouped[2 * k].L, static_cast<double>(k));
    EXPECT_EQ(grouped[2 * k + 1].L, static_cast<double>(k + 21));
  }
  EXPECT_TRUE(linearization::regroupTwentyOneSteps(std::vector<CIELab>(20)).empty());
}

TEST(MeasurementData, LifeCycleAveragesInterpolatesOrFailsCleanly) {
  // A format whose rows name no steps (a Tallyframe file's GRAY values would).
  const std::vector<std::string> header{"Patch\tName\tL\tA\tB"};
  struct Case {
    std::vector<CIELab> readings;
    std::size_t perStep;
    int64_t samplesPerStep;
  };
  const Case cases[] = {
      {fixtures::wedge(21, 2), 21, 2},
      {fixtures::wedge(21), 21, 1},
      {fixtures::wedge(21, 2, true), 21, 2},
      {fixtures::wedge(128, 4), 128, 4},
      {fixtures::wedge(128, 3, true), 128, 3},  // three passes of a 128-step wedge
      {fixtures::wedge(22), 22, 1},
      {fixtures::wedge(11, 4), 11, 4},
      {{}, 0, 0},
  };
  for (const Case& c : cases) {
    testsupport::FakeHost host;
    RibbonmeterCIELabFile reader(fixtures::tableLines(header, c.readings, 2), true, &host);
    reader.readMeasurements();
    EXPECT_EQ(reader.samplesPerStep, c.samplesPerStep) << c.readings.size();
    EXPECT_EQ(reader.averagedMeasurements.size(), c.perStep) << c.readings.size();
    EXPECT_EQ(reader.measuredLab, reader.averagedMeasurements);
    EXPECT_EQ(reader.interpolatedMeasurements.size(), c.perStep == 0 ? 0u : 256u);
    EXPECT_EQ(reader.failed(), c.perStep == 0);
    EXPECT_TRUE(host.alerts.empty());
    // The readings listed, then the failure, if any.
    ASSERT_EQ(host.logLines.size(), c.perStep == 0 ? 2u : 1u);
    EXPECT_EQ(host.logLines[0].rfind("Measured CIELab: [", 0), 0u);
  }

  // Not for linearization: parsed and regrouped, neither averaged nor resampled.
  TallyframeCIELabFile partition(fixtures::tableLines({"GRAY\tL\tA\tB"}, fixtures::wedge(21, 2, true), 1), false);
  partition.readMeasurements();
  ASSERT_EQ(partition.measuredLab.size(), 42u);
  EXPECT_EQ(partition.measuredLab[1].L, partition.measuredLab[0].L);
  EXPECT_TRUE(partition.interpolatedMeasurements.empty());
}
