#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "linearization/ReadingFixtures.h"
#include "linearization/readers/ColorMunkiCIELabFile.h"
#include "linearization/readers/DensityMeasurementFile.h"
#include "linearization/readers/HLVCIELabFile.h"
#include "linearization/readers/MeasurementFile.h"
#include "linearization/readers/MiscMeasurementDataFile.h"
#include "linearization/readers/QTRCreateICCCIELabFile.h"
#include "linearization/readers/QTRLinearizeDataCIELabFile.h"
#include "linearization/readers/RibbonmeterCIELabFile.h"
#include "linearization/readers/SpyderPrintFile.h"
#include "linearization/readers/TallyframeCIELabFile.h"
#include "support/FakeHost.h"

using namespace linearization;
using Lines = std::vector<std::string>;
using fixtures::tableLines;

namespace {

using Factory = std::function<std::unique_ptr<MeasurementData>(Lines, bool)>;

template <class Reader>
Factory make() {
  return [](Lines lines, bool forLinearization) { return std::make_unique<Reader>(std::move(lines), forLinearization); };
}

const std::vector<CIELab> kThree{{95.1, 0.1, 0.2}, {60.25, -1.5, 2}, {20, 0, -0.75}};

std::vector<double> lightness(const std::vector<CIELab>& readings) {
  std::vector<double> l;
  for (const CIELab& r : readings) l.push_back(r.L);
  return l;
}

// Loads the lines the way a dropped .txt file is loaded, checks the format
// they are recognised as, and reads them with `factory`.
std::unique_ptr<MeasurementData> loadAndRead(const Lines& lines, const std::string& format, const Factory& factory,
                                             const std::string& lineEnd = "\n", bool finalBreak = false) {
  testsupport::FakeHost host;
  const std::string bytes = platform::text::join(lines, lineEnd) + (finalBreak ? lineEnd : "");
  const auto file = measurementFileFromBytes(bytes, "wedge.txt", host);
  EXPECT_EQ(file->detectFormat(host), format) << lines.front();
  auto reader = factory(*file->measurementData, true);
  reader->readMeasurements();
  return reader;
}

}  // namespace

TEST(MeasurementReaders, EachFormatReadsItsOwnRows) {
  const Lines qtrHead{"QTR-Create-ICC x", "Created for", "Patch\tName\tL\tA\tB"};
  const Lines linearizeHead{"QTR-Linearize-Data x", "h", "h"};
  const Lines linearizeTail(6, "t\tt\t1\t1\t1");
  struct Case {
    const char* what;
    Lines lines;
    const char* format;
    Factory factory;
    std::vector<double> expected;  // L* of the readings, in order; none: the read fails
  };
  const Case cases[] = {
      {"Ribbonmeter, empty L* and short rows passed over",
       tableLines({"Patch\tName\tL\tA\tB"}, kThree, 2, {"4\tS4\t\t1\t1", "5\tS5\t60"}), FormatName::ribbonmeter,
       make<RibbonmeterCIELabFile>(), {95.1, 60.25, 20}},
      {"own data file", tableLines({"Halvorin Measurement Data File", "Step\tLab_L\tLab_A\tLab_B"}, kThree, 1,
                                   {"4", "5\t", "6\t70\t1"}),
       FormatName::HLVCIELab, make<HLVCIELabFile>(), {95.1, 60.25, 20}},
      {"Tallyframe", tableLines({"GRAY\tL\tA\tB"}, kThree, 1, {"9", "9\t\t1\t1", "9\t70\t1"}),
       FormatName::tallyframe, make<TallyframeCIELabFile>(), {95.1, 60.25, 20}},
      {"QTR-Create-ICC up to Created", tableLines(qtrHead, kThree, 2, {"Created\tby", "9\tS9\t10\t0\t0"}),
       FormatName::qtrCreateICC, make<QTRCreateICCCIELabFile>(), {95.1, 60.25, 20}},
      {"QTR-Create-ICC, Created at once", tableLines(qtrHead, {}, 2, {"Created", "9\tS9\t10\t0\t0"}),
       FormatName::qtrCreateICC, make<QTRCreateICCCIELabFile>(), {}},
      {"QTR-Linearize-Data, ten rows", tableLines(linearizeHead, {kThree[0]}, 2, linearizeTail),
       FormatName::qtrLinearizeData, make<QTRLinearizeDataCIELabFile>(), {95.1}},
      {"QTR-Linearize-Data, nine rows", tableLines(linearizeHead, {}, 2, linearizeTail), FormatName::qtrLinearizeData,
       make<QTRLinearizeDataCIELabFile>(), {}},
      {"misc, empty first field passed over, the last row read",
       tableLines({"L*\ta*\tb*"}, kThree, 0, {"\t1\t1", "5\t5\t5"}), FormatName::miscWithHeader,
       make<MiscMeasurementDataFile>(), {95.1, 60.25, 20, 5}},
      {"misc, header and one row", tableLines({"L*\ta*\tb*"}, {kThree[0]}, 0), FormatName::miscWithHeader,
       make<MiscMeasurementDataFile>(), {95.1}},
      {"misc, 21 rows", tableLines({"L*\ta*\tb*"}, fixtures::wedge(21), 0), FormatName::miscWithHeader,
       make<MiscMeasurementDataFile>(), lightness(fixtures::wedge(21))},
      {"misc, a last row without a number passed over, an earlier one read as 50",
       tableLines({"L*\ta*\tb*"}, kThree, 0, {"word\t1\t1", "Average\t1\t1"}), FormatName::miscWithHeader,
       make<MiscMeasurementDataFile>(), {95.1, 60.25, 20, 50}},
      {"misc, single column", {"L*", "95.1", "60", "word"}, FormatName::miscWithHeader,
       make<MiscMeasurementDataFile>(), {95.1, 60, 0.02}},
      {"density", {"Density", "0,50", "word"}, FormatName::density, make<DensityMeasurementFile>(), {63.0299}},
      {"SpyderPrint, row numbers and 4 columns", tableLines({}, kThree, 1), FormatName::spyderPrint,
       make<SpyderPrintFile>(), {95.1, 60.25, 20}},
      {"SpyderPrint, 3 columns", tableLines({}, kThree, 0), FormatName::spyderPrint, make<SpyderPrintFile>(),
       {95.1, 60.25, 20}},
      {"SpyderPrint, row numbers and 5 columns", tableLines({}, kThree, 2), FormatName::spyderPrint,
       make<SpyderPrintFile>(), {1, 2, 3}},
      {"SpyderPrint, 12.5 and 23.1 taken for row numbers", {"12.5\t95\t0\t0", "23.1\t60\t0\t0"},
       FormatName::spyderPrint, make<SpyderPrintFile>(), {95, 60}},
      {"SpyderPrint, one row", {"1\t95\t0\t0"}, FormatName::spyderPrint, make<SpyderPrintFile>(), {1}},
      {"ColorMunki", {"Name\tL\tA\tB", "S1\t95\t0\t0"}, FormatName::colorMunki, make<ColorMunkiCIELabFile>(), {}},
  };
  // Each with and without a final line break: no reader counts an empty last line.
  for (const Case& c : cases) {
    for (const std::string lineEnd : {"\n", "\r\n"}) {
      for (const bool finalBreak : {false, true}) {
        SCOPED_TRACE(std::string(c.what) + (lineEnd == "\n" ? ", LF" : ", CR LF") + (finalBreak ? " at the end" : ""));
        const auto reader = loadAndRead(c.lines, c.format, c.factory, lineEnd, finalBreak);
        const std::vector<double> l = lightness(reader->measuredLab);
        ASSERT_EQ(l.size(), c.expected.size());
        for (std::size_t k = 0; k < l.size(); ++k) EXPECT_NEAR(l[k], c.expected[k], 5e-5);
        EXPECT_EQ(reader->failed(), c.expected.empty());
        EXPECT_EQ(reader->interpolatedMeasurements.size(), c.expected.empty() ? 0u : 256u);
      }
    }
  }
}

TEST(MeasurementReaders, UnreadableFieldsTakeTheDefaults) {
  TallyframeCIELabFile reader({"GRAY\tL\tA\tB", "1\tword\t\t0.5", "2\tnan\tinf\t1e1"}, true);
  reader.readMeasurements();
  ASSERT_EQ(reader.measuredLab.size(), 2u);
  EXPECT_EQ(reader.measuredLab[0], (CIELab{50.0, 0.0, 0.5}));
  EXPECT_TRUE(std::isnan(reader.measuredLab[1].L));
  EXPECT_EQ(reader.measuredLab[1].b, 10.0);
  // "nan" and "inf" are numbers; the others are told of.
  EXPECT_EQ(reader.defaultWarnings(),
            (std::vector<std::string>{"line 2: L* (field 2) reads \"word\", not a number; read as 50.0",
                                      "1 more field, on line 2, is not a number either and was read as its default"}));

  MiscMeasurementDataFile single({"L*", "7", "x"}, true);
  single.readMeasurements();
  EXPECT_EQ(single.temp, (std::vector<double>{7, 0.02}));
  EXPECT_EQ(single.defaultWarnings(),
            std::vector<std::string>{"line 3: L* (field 1) reads \"x\", not a number; read as 0.02"});

  // The diagnostic lines of a read stop at 1 MB, saying so; the failure is told all the same.
  testsupport::FakeHost host;
  QTRLinearizeDataCIELabFile rows(std::vector<std::string>(40, std::string(100'000, 'x')), true, &host);
  rows.readMeasurements();
  ASSERT_EQ(host.logLines.size(), 12u);
  EXPECT_EQ(host.logLines[10], "The diagnostic lines of this read stop here: they would pass 1048576 bytes");
  EXPECT_EQ(host.logLines[11], "Measurement data not read: no readings in the measurement file");
}

TEST(MeasurementReaders, DensityToLightness) {
  struct Case {
    double density, lightness;
  };
  double previous = 101.0;
  for (const Case& c : {Case{0, 100}, Case{0.5, 63.0299}, Case{1, 37.8424}, Case{2, 8.9914}, Case{2.4, 3.5961},
                        Case{2.58, 2.3759}, Case{3, 0.9033}}) {
    const double l = densityToLstar(c.density);
    EXPECT_NEAR(l, c.lightness, 5e-5) << c.density;
    EXPECT_LT(l, previous);
    previous = l;
  }
}

TEST(MeasurementReaders, EveryFormatFindsTheStepsTheSameWay) {
  struct Case {
    Lines lines;
    Factory factory;
    std::size_t perStep;  // 0: refused
  };
  const Lines ribbonHead{"Patch\tName\tL\tA\tB"};
  const Lines ownHead{"Halvorin Measurement Data File", "Step\tLab_L\tLab_A\tLab_B"};
  std::vector<CIELab> sixtyTwo = fixtures::wedge(21, 3);
  sixtyTwo.pop_back();
  const Case cases[] = {
      {tableLines(ribbonHead, fixtures::wedge(21, 3), 2), make<RibbonmeterCIELabFile>(), 21},
      // A 21-step wedge measured three times in place, one patch missed: the
      // runs of repeats show, but no count of them fits 62 readings.
      {tableLines(ribbonHead, sixtyTwo, 2), make<RibbonmeterCIELabFile>(), 0},
      // The program's own file takes the same road; one as the program
      // writes it (256 rows numbered 1 to 256) is one reading a step, even
      // where its smoothing left runs of equal readings.
      {tableLines(ownHead, fixtures::wedge(21, 2), 1), make<HLVCIELabFile>(), 21},
      {tableLines(ownHead, fixtures::wedge(21, 2, true), 1), make<HLVCIELabFile>(), 21},
      {tableLines(ownHead, fixtures::wedge(32, 8), 1), make<HLVCIELabFile>(), 256},
      {tableLines(ribbonHead, fixtures::wedge(32, 8), 2), make<RibbonmeterCIELabFile>(), 32},
      {tableLines({}, fixtures::wedge(21, 2), 1), make<SpyderPrintFile>(), 21},
  };
  for (const Case& c : cases) {
    const auto reader = c.factory(c.lines, true);
    reader->readMeasurements();
    EXPECT_EQ(reader->averagedMeasurements.size(), c.perStep);
    EXPECT_EQ(reader->failed(), c.perStep == 0) << reader->failureReason();
    if (c.perStep == 0) continue;
    EXPECT_EQ(reader->measuredLab, reader->averagedMeasurements);
    EXPECT_EQ(reader->interpolatedMeasurements.size(), 256u);
  }
}

TEST(MeasurementReaders, OwnDataFileReadsBackWhatWasWritten) {
  // The file as the document writes it: title, column titles, one row per
  // step with three decimals, lines joined by line feeds, none at the end.
  const std::vector<CIELab> readings = fixtures::wedge(21);
  Lines lines{"Halvorin Measurement Data File", "Step\tLab_L\tLab_A\tLab_B"};
  for (std::size_t k = 0; k < readings.size(); ++k) {
    lines.push_back(std::to_string(k + 1) + "\t" + platform::text::fixedDecimal(readings[k].L, 3) + "\t" +
                    platform::text::fixedDecimal(readings[k].a, 3) + "\t" +
                    platform::text::fixedDecimal(readings[k].b, 3));
  }
  const auto reader = loadAndRead(lines, FormatName::HLVCIELab, make<HLVCIELabFile>());
  EXPECT_EQ(reader->samplesPerStep, 1);
  EXPECT_EQ(reader->averagedMeasurements, readings);
}
