#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "linearization/ReadingFixtures.h"
#include "linearization/readers/ArgyllCIELab.h"
#include "linearization/readers/CgatsCIELab.h"
#include "linearization/DigitalNegativeCorrectionCurve.h"
#include "linearization/readers/MeasurementFile.h"
#include "linearization/v2MovingAverager.h"
#include "linearization/v2SplineSmoother.h"
#include "support/FakeHost.h"

using linearization::ArgyllCIELab;
using linearization::CgatsCIELab;
using linearization::CIELab;
using linearization::MeasurementData;
using Lines = std::vector<std::string>;

namespace {

constexpr std::size_t kFirstDataLine = 7;  // in the fixture's layout

struct Format {
  const char* name;
  std::string sep;
  std::string first;
  std::function<std::unique_ptr<MeasurementData>(Lines, bool, platform::Host*)> make;
};

const Format kFormats[] = {
    {"CGATS", "\t", "CGATS.17",
     [](Lines l, bool lin, platform::Host* h) { return std::make_unique<CgatsCIELab>(std::move(l), lin, h); }},
    {"CTI3", " ", "CTI3",
     [](Lines l, bool lin, platform::Host* h) { return std::make_unique<ArgyllCIELab>(std::move(l), lin, h); }},
};

// Replaces field `field` of line `line`.
void setField(Lines& lines, std::size_t line, std::size_t field, const std::string& value, const std::string& sep) {
  std::vector<std::string> fields = platform::text::split(lines[line], sep);
  fields[field] = value;
  lines[line] = platform::text::join(fields, sep);
}

std::vector<double> lightness(const std::vector<CIELab>& readings) {
  std::vector<double> l;
  for (const CIELab& r : readings) l.push_back(r.L);
  return l;
}

}  // namespace

TEST(CgatsReaders, SortByTheThirdFieldWithDecimalCommasOnlyWhenRgbIsNamed) {
  const std::vector<CIELab> readings{{5.1, 0.2, -0.3}, {95, 0, 1}, {50, 0.1, 0.5}, {49, 0, 0}};
  for (const Format& format : kFormats) {
    Lines lines = fixtures::cgatsLines(readings, {0, 100, 50, 50}, format.sep, format.first);
    setField(lines, kFirstDataLine + 2, 4, "51,2", format.sep);
    auto reader = format.make(lines, true, nullptr);
    reader->readMeasurements();
    ASSERT_FALSE(reader->failed()) << format.name << ": " << reader->failureReason();
    // 100, then the two 50s as one step, then 0; the comma read as a point.
    EXPECT_EQ(lightness(reader->averagedMeasurements), (std::vector<double>{95, 50.1, 5.1})) << format.name;
    EXPECT_EQ(reader->interpolatedMeasurements.size(), 256u);
    EXPECT_TRUE(reader->defaultWarnings().empty()) << "the sorted pass reads the comma";

    // Without RGB_R: file order, and the comma makes the field unreadable.
    Lines plain = fixtures::cgatsLines(readings, {}, format.sep, format.first);
    setField(plain, kFirstDataLine + 2, 1, "51,2", format.sep);
    auto unsorted = format.make(plain, true, nullptr);
    unsorted->readMeasurements();
    EXPECT_EQ(lightness(unsorted->averagedMeasurements), (std::vector<double>{5.1, 95, 1.0, 49})) << format.name;
    EXPECT_EQ(unsorted->defaultWarnings(),
              std::vector<std::string>{"line 10: L* (field 2) reads \"51,2\", not a number; read as 1.0"});

    // A grey-only target, GRAY_K without RGB_R: rising GRAY_K (0 is paper
    // white), ties in file order, the fields read as in file order.
    Lines gray = fixtures::cgatsLines(readings, {100, 0, 50, 50}, format.sep, format.first);
    gray[3] = platform::text::replaceAll(gray[3], "RGB_R", "GRAY_K");
    auto grey = format.make(gray, true, nullptr);
    grey->readMeasurements();
    EXPECT_EQ(lightness(grey->averagedMeasurements), (std::vector<double>{95, 49.5, 5.1})) << format.name;
    // GRAY_K as the first column, in no order; and a row without its GRAY_K
    // field, which is named.
    Lines first = fixtures::cgatsLines(readings, {}, format.sep, format.first);
    first[3] = platform::text::replaceAll(first[3], "SAMPLE_ID", "GRAY_K");
    for (const auto& [row, key] : {std::pair{0, "100"}, {1, "0"}, {2, "50"}, {3, "60"}})
      setField(first, kFirstDataLine + row, 0, key, format.sep);
    Lines last = fixtures::cgatsLines(readings, {}, format.sep, format.first);
    last[3] += format.sep + "GRAY_K";
    for (std::size_t k = kFirstDataLine; k < kFirstDataLine + 3; ++k) last[k] += format.sep + "0";
    auto firstColumn = format.make(first, true, nullptr), lastMissing = format.make(last, true, nullptr);
    firstColumn->readMeasurements();
    lastMissing->readMeasurements();
    EXPECT_EQ(lightness(firstColumn->averagedMeasurements), (std::vector<double>{95, 50, 49, 5.1})) << format.name;
    EXPECT_EQ(lastMissing->failureReason(), "line 11: the row has no GRAY_K field to sort the rows by");
  }
}

TEST(CgatsReaders, ReadsAsManyRowsAsNumberOfSetsAsks) {
  const std::vector<CIELab> readings = fixtures::wedge(21);
  struct Case {
    std::string sets;
    int64_t total;
    std::size_t read;
    bool gray = false;  // a grey-only target, a line after END_DATA
  };
  Lines gray = fixtures::cgatsLines(readings, fixtures::fallingRgb(21));
  gray[3] = platform::text::replaceAll(gray[3], "RGB_R", "GRAY_K");
  gray.push_back("ORIGINATOR\t\"after the data\"");
  // 22 is the data rows and the END_DATA line: reading stops there.
  for (const Case& c : {Case{"21\r", 21, 21}, Case{"2\r", 2, 2}, Case{"22", 22, 21}, Case{"0", 0, 0},
                        Case{"23", 23, 21, true}}) {
    Lines lines = c.gray ? gray : fixtures::cgatsLines(readings, {});
    lines[5] = "NUMBER_OF_SETS\t" + c.sets;
    CgatsCIELab reader(lines, true);
    reader.readMeasurements();
    EXPECT_EQ(reader.totalSamples, c.total);
    EXPECT_EQ(reader.averagedMeasurements.size(), c.read) << c.sets;
    EXPECT_EQ(reader.failed(), c.read == 0);
  }

  // The Argyll reader does not stop at END_DATA: asked for one row more, it
  // meets a row without the three fields.
  Lines ti3 = fixtures::cgatsLines(readings, {}, " ", "CTI3");
  ti3[5] = "NUMBER_OF_SETS 22";
  ArgyllCIELab argyll(ti3, true);
  argyll.readMeasurements();
  EXPECT_TRUE(argyll.failed());
}

TEST(CgatsReaders, TwoSpacesMakeAnEmptyFieldInArgyllFiles) {
  Lines lines = fixtures::cgatsLines(fixtures::wedge(21), {}, " ", "CTI3");
  // The first separator of the names and of every data row doubled.
  for (std::size_t k = 3; k + 1 < lines.size(); ++k) {
    if (k == 3 || k >= kFirstDataLine) lines[k].replace(lines[k].find(' '), 1, "  ");
  }
  ArgyllCIELab reader(lines, true);
  reader.readMeasurements();
  EXPECT_EQ(reader.labLIndex, 2);
  EXPECT_EQ(reader.averagedMeasurements, fixtures::wedge(21));
}

TEST(CgatsReaders, MalformedFilesFailWithoutReadingPastTheirLines) {
  using Mutation = std::function<void(Lines&, const std::string& sep)>;
  const auto erase = [](std::size_t at) { return [at](Lines& l, const std::string&) { l.erase(l.begin() + at); }; };
  const auto set = [](std::size_t at, std::string text) {
    return [at, text](Lines& l, const std::string& sep) { l[at] = platform::text::replaceAll(text, "|", sep); };
  };
  struct Case {
    const char* what;
    Mutation mutate;
    bool cgatsOnly;
  };
  const Case cases[] = {
      {"no NUMBER_OF_FIELDS", erase(1), true},
      {"NUMBER_OF_FIELDS without a value", set(1, "NUMBER_OF_FIELDS"), true},
      {"no BEGIN_DATA_FORMAT", erase(2), false},
      {"nothing after BEGIN_DATA_FORMAT", [](Lines& l, const std::string&) { l.resize(3); }, false},
      {"no LAB_L", set(3, "SAMPLE_ID|RGB_R|RGB_G|RGB_B|lab_l|LAB_A|LAB_B"), false},
      {"no NUMBER_OF_SETS", erase(5), false},
      {"NUMBER_OF_SETS without a value", set(5, "NUMBER_OF_SETS"), false},
      {"NUMBER_OF_SETS not a number", set(5, "NUMBER_OF_SETS|abc"), false},
      {"NUMBER_OF_SETS negative", set(5, "NUMBER_OF_SETS|-3"), false},
      {"NUMBER_OF_SETS overflowing", set(5, "NUMBER_OF_SETS|99999999999999999999"), false},
      {"NUMBER_OF_SETS beyond the lines", set(5, "NUMBER_OF_SETS|5"), false},
      {"no BEGIN_DATA", erase(6), false},
      {"a data row too short", set(kFirstDataLine + 1, "2|100|100|100|95.00|0.00"), false},
      {"a sort key that is not a number", set(kFirstDataLine, "1|0|x|0|5.10|0.20|-0.30"), false},
      {"a sort key that is NaN", set(kFirstDataLine, "1|0|nan|0|5.10|0.20|-0.30"), false},
      {"a data set without a third field", set(kFirstDataLine, "1|0"), false},
      {"a GRAY_K that is not a number",
       [&](Lines& l, const std::string& sep) {
         set(3, "SAMPLE_ID|GRAY_K|RGB_G|RGB_B|LAB_L|LAB_A|LAB_B")(l, sep);
         set(kFirstDataLine + 2, "3|50%|0|0|5.10|0.20|-0.30")(l, sep);
       },
       false},
  };
  for (const Format& format : kFormats) {
    for (const Case& c : cases) {
      if (c.cgatsOnly && std::string(format.name) != "CGATS") continue;
      Lines lines = fixtures::cgatsLines({{5.1, 0.2, -0.3}, {95, 0, 1}, {50, 0.1, 0.5}}, {0, 100, 50}, format.sep,
                                         format.first);
      c.mutate(lines, format.sep);
      testsupport::FakeHost host;
      auto reader = format.make(lines, true, &host);
      reader->readMeasurements();
      EXPECT_TRUE(reader->failed()) << format.name << ": " << c.what;
      EXPECT_TRUE(reader->measuredLab.empty()) << format.name << ": " << c.what;
      EXPECT_TRUE(reader->averagedMeasurements.empty());
      EXPECT_TRUE(reader->interpolatedMeasurements.empty());
      EXPECT_TRUE(host.alerts.empty());  // the caller alerts, once
    }
  }

  testsupport::FakeHost host;
  ArgyllCIELab empty(Lines{"", "\r"}, true, &host);
  empty.readMeasurements();
  EXPECT_TRUE(empty.failed());
  EXPECT_EQ(host.logLines.front(), "Can not read loaded measurement data file");
}

TEST(CgatsReaders, AveragingLeavesTheMeasuredReadingsAsParsed) {
  const std::vector<CIELab> readings = fixtures::wedge(21, 2);
  std::vector<double> rgb;
  for (int k = 0; k < 42; ++k) rgb.push_back(255.0 - 12.0 * (k / 2));
  for (const Format& format : kFormats) {
    auto reader = format.make(fixtures::cgatsLines(readings, rgb, format.sep, format.first), true, nullptr);
    reader->readMeasurements();
    EXPECT_EQ(reader->measuredLab, readings) << format.name;
    EXPECT_EQ(reader->samplesPerStep, 2);
    EXPECT_EQ(reader->averagedMeasurements, fixtures::wedge(21)) << format.name;
    EXPECT_EQ(reader->interpolatedMeasurements.size(), 256u);
  }

  // Read for partitioning: the Argyll reader regroups 21 steps, unsorted.
  testsupport::FakeHost host;
  Lines lines = fixtures::cgatsLines(fixtures::wedge(21, 2, true), {}, " ", "CTI3");
  lines[0] += std::string(100'000, ' ');  // fields passed over before BEGIN_DATA_FORMAT
  ArgyllCIELab partition(lines, false, &host);
  partition.readMeasurements();
  EXPECT_EQ(partition.measuredLab, readings);
  EXPECT_TRUE(partition.averagedMeasurements.empty());
  // The search is logged once; the readings' line shows all 42.
  EXPECT_EQ(host.logLines, (Lines{"Finding Data Format Index",
                                  "Measured CIELab: " + linearization::describe(fixtures::wedge(21, 2, true)),
                                  "For Partitioning.\nReturning measurements without averaging"}));
}

TEST(CgatsReaders, FilesTakeTheRoadFromBytesThroughDetection) {
  struct Case {
    std::string path;
    std::string first;
    std::string sep;
    std::string lineEnd;
    std::size_t dropped = 0;  // leading columns taken out: 4 puts LAB_L first
  };
  for (const Case& c : {Case{"wedge.txt", "CGATS.17", "\t", "\r\n"}, Case{"wedge.txt", "LGOROWLENGTH\t21", "\t", "\n"},
                        Case{"wedge.ti3", "CTI3", " ", "\r\n"}, Case{"wedge.txt", "CGATS.17", "\t", "\n", 4},
                        Case{"wedge.ti3", "CTI3", " ", "\n", 4}, Case{"wedge.TI3", "CTI3", " ", "\r\n"},
                        Case{"wedge.txt", "CTI3", " ", "\n"}, Case{"wedge.csv", "CTI3", " ", "\n", 4}}) {
    Lines lines = fixtures::cgatsLines(fixtures::wedge(21), fixtures::fallingRgb(21), c.sep, c.first);
    for (std::size_t k = 3; k + 1 < lines.size(); ++k) {
      for (std::size_t d = 0; d < c.dropped && (k == 3 || k >= kFirstDataLine); ++d)
        lines[k].erase(0, lines[k].find(c.sep) + 1);
    }
    testsupport::FakeHost host;
    const auto file = linearization::measurementFileFromBytes(platform::text::join(lines, c.lineEnd), c.path, host);
    ASSERT_TRUE(file);
    const std::string format = file->detectFormat(host);
    std::unique_ptr<MeasurementData> reader;
    if (format == linearization::FormatName::CGATS) reader = std::make_unique<CgatsCIELab>(*file->measurementData, true);
    if (format == linearization::FormatName::CTI3) reader = std::make_unique<ArgyllCIELab>(*file->measurementData, true);
    ASSERT_TRUE(reader) << format;
    reader->readMeasurements();
    EXPECT_EQ(reader->averagedMeasurements, fixtures::wedge(21)) << c.path << " " << c.first;
    EXPECT_TRUE(host.alerts.empty());
  }
}

TEST(CgatsReaders, AStraightWedgeSmoothsToANearlyStraightCorrection) {
  // 21 steps falling evenly in L*, read, resampled, smoothed as the main
  // window does (window 21, fraction 0.67) and inverted.
  const Lines lines = fixtures::cgatsLines(fixtures::wedge(21), fixtures::fallingRgb(21));
  CgatsCIELab reader(lines, true);
  reader.readMeasurements();
  const std::vector<double> l = linearization::separateLabArrays(reader.interpolatedMeasurements)[0];
  const std::vector<double> averaged = linearization::v2MovingAverager(l, 21).average();
  linearization::DigitalNegativeCorrectionCurve curve;
  curve.densitiesToCorrect = linearization::v2SplineSmoother(averaged, 0.67).smoothedValues;
  curve.finalTargetArray = curve.makeLinearTarget();
  curve.buildCorrectionCurve();
  ASSERT_TRUE(curve.correctionCurveArray.has_value());
  const std::vector<double>& c = *curve.correctionCurveArray;
  ASSERT_EQ(c.size(), 256u);
  EXPECT_EQ(c.front(), 100.0);
  EXPECT_EQ(c.back(), 0.0);
  for (std::size_t j = 0; j < c.size(); ++j) {
    EXPECT_NEAR(c[j], 100.0 - 100.0 * static_cast<double>(j) / 255.0, 1.0) << j;
    if (j > 0) {
      EXPECT_LE(c[j], c[j - 1]) << j;
    }
  }
}
