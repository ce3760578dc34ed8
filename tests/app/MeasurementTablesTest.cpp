#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "RunCli.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"
#include "support/SampleFiles.h"

namespace {

using platform::text::fixedDecimal;
using platform::text::replaceAll;

struct Reading {
  double input, L, a, b;
};

// A print's wedge at the given inputs (0 % paper white to 100 %).
std::vector<Reading> wedge(const std::vector<double>& inputs) {
  const auto round2 = [](double v) { return std::round(v * 100) / 100; };
  std::vector<Reading> readings;
  for (std::size_t k = 0; k < inputs.size(); ++k) {
    const double g = inputs[k];
    readings.push_back({g, round2(95 - 90 * std::pow(g / 100, 1.3)), 0.1 * static_cast<double>(k % 3),
                        round2(1 - 0.01 * g)});
  }
  return readings;
}

std::vector<double> evenInputs(int steps) {
  std::vector<double> inputs;
  for (int k = 0; k < steps; ++k) inputs.push_back(100.0 * k / (steps - 1));
  return inputs;
}

// Extra steps in the highlights and the shadows.
const std::vector<double> kUneven = {0,  2.5, 5,  7.5, 10, 15, 20, 25, 30, 35, 40,   45, 50,
                                     55, 60,  65, 70,  75, 80, 85, 90, 92.5, 95, 97.5, 100};

// Each reading twice in a row, the second 0.1 L* darker.
std::vector<Reading> twice(const std::vector<Reading>& readings) {
  std::vector<Reading> doubled;
  for (const Reading& r : readings) {
    doubled.push_back(r);
    doubled.push_back({r.input, r.L - 0.1, r.a, r.b});
  }
  return doubled;
}

// The readings as rows of a table, one field a letter of `fields`: i a row
// number, g the input, L, a, b, D a density of the input.
std::string rows(const std::vector<Reading>& readings, const std::string& fields, const std::string& separator,
                 bool decimalComma = false, const std::string& end = "\n") {
  std::string text;
  for (std::size_t k = 0; k < readings.size(); ++k) {
    const Reading& r = readings[k];
    std::vector<std::string> row;
    for (const char f : fields) {
      const std::string value = f == 'i'   ? std::to_string(k + 1)
                                : f == 'g' ? platform::text::shortestDescription(r.input)
                                : f == 'L' ? fixedDecimal(r.L, 2)
                                : f == 'a' ? fixedDecimal(r.a, 2)
                                : f == 'b' ? fixedDecimal(r.b, 2)
                                           : fixedDecimal(0.05 + 0.02 * r.input, 2);
      row.push_back(decimalComma ? replaceAll(value, ".", ",") : value);
    }
    text += platform::text::join(row, separator) + end;
  }
  return text;
}

// The CGATS file of the same readings in the same order, with the inputs as
// GRAY_K where `gray`.
std::string cgats(const std::vector<Reading>& readings, bool gray) {
  return "CGATS.17\nNUMBER_OF_FIELDS\t" + std::string(gray ? "5" : "4") +
         "\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tLAB_L\tLAB_A\tLAB_B" + (gray ? "\tGRAY_K" : "") +
         "\nEND_DATA_FORMAT\nNUMBER_OF_SETS\t" + std::to_string(readings.size()) + "\nBEGIN_DATA\n" +
         rows(readings, gray ? "iLabg" : "iLab", "\t") + "END_DATA\n";
}

// `text` with field `field` of the row that begins `start` set to `value`,
// or taken out with its separator where `value` is "-".
std::string withField(const std::string& text, const std::string& start, std::size_t field, const std::string& value,
                      const std::string& separator = ",") {
  std::vector<std::string> lines = platform::text::split(text, "\n");
  for (std::string& line : lines) {
    if (!line.starts_with(start)) continue;
    std::vector<std::string> fields = platform::text::split(line, separator);
    if (value == "-")
      fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(field));
    else
      fields[field] = value;
    line = platform::text::join(fields, separator);
  }
  return platform::text::join(lines, "\n");
}

std::string labTable(const std::vector<Reading>& readings) { return "L*\ta*\tb*\n" + rows(readings, "Lab", "\t"); }

}  // namespace

// Plain tables of every kind, and the TAB-separated formats beside them: each
// row's summary (the first three lines) or refusal, every warning, and where
// given the corrected .quad against the one corrected from another file of
// the same readings, byte for byte.
TEST(LinearizeCommand, PlainTablesAreReadAsTheCgatsFileOfTheSameReadings) {
  testsupport::TempDir dir;
  const auto quad = dir.write("in.quad", testsupport::rampedQuadText());
  const auto even = wedge(evenInputs(21)), uneven = wedge(kUneven);
  const auto oddInput = withField(rows(uneven, "gLab", ","), "7.5,", 0, "x");
  const auto oddGray = withField(rows(uneven, "gLab", "\t"), "7.5\t", 0, "x", "\t");
  // a* of line 4 and L* of the last row; b* of line 5 missing.
  const auto notNumbers = withField(withField(rows(even, "iLab", ","), "3,", 2, "n/a"), "21,", 1, "?");
  const auto shortRow = withField(rows(even, "iLab", ","), "4,", 3, "-");
  const std::string summary21 =
      "readings: 21 steps, resampled to 256\npaper white L*: 95.00, darkest L*: 5.45, Dmax: 2.22\n";
  const std::string summary25 =
      "readings: 25 steps, placed at their labels, resampled to 256\npaper white L*: 95.00, darkest L*: 5.45, "
      "Dmax: 2.22\n";
  const std::string inFileOrder25 =
      "readings: 25 steps, resampled to 256\npaper white L*: 95.00, darkest L*: 5.27, Dmax: 2.23\n";
  const std::string plain = "measurements: {M} (plain table)\n";
  const std::string warning = "inkcurve: warning: {M}: ";
  struct Row {
    std::string name, text;
    std::string out;  // the summary's first three lines; empty where the file is refused
    std::string err;  // every line on standard error but the alert, or the refusal's reason
    std::string sameQuadAs = "";  // another file of the same readings
  };
  const Row table[] = {
      {"comma.csv", "Sample,L*,a*,b*\n" + rows(even, "iLab", ","), plain + summary21, "", cgats(even, false)},
      {"semicolon.txt", "Sample;L*;a*;b*\r\n" + rows(even, "iLab", ";", true, "\r\n"), plain + summary21, "",
       cgats(even, false)},
      {"tab.txt", "Step\tL\ta\tb\n" + rows(even, "iLab", "\t"), plain + summary21, "", cgats(even, false)},
      {"lab.csv", "L*,a*,b*\n" + rows(even, "Lab", ","), plain + summary21, "", cgats(even, false)},
      {"quoted.csv", "\"Patch\",\"LAB_L\",\"LAB_A\",\"LAB_B\"\r\n" + rows(even, "iLab", ",", false, "\r\n"),
       plain + summary21, "", cgats(even, false)},
      {"no-ab.csv", "Patch,L\n" + rows(even, "iL", ","), plain + summary21, ""},
      {"gray-even.csv", "GRAY;L*;a*;b*\n" + rows(even, "gLab", ";", true), plain + summary21, "", cgats(even, true)},
      {"input-uneven.csv", "Input,L*,a*,b*\n" + rows(uneven, "gLab", ","), plain + summary25, "",
       cgats(uneven, true)},
      {"input-x.csv", "Input,L*,a*,b*\n" + oddInput, plain + inFileOrder25,
       "", cgats(uneven, false)},
      {"input-twice.csv", "Input,L*,a*,b*\n" + rows(twice(even), "gLab", ","),
       plain + "readings: 42, a 21-step wedge measured 2 times, each reading's step named by its Input value, "
               "resampled to 256\npaper white L*: 94.95, darkest L*: 5.40, Dmax: 2.22\n",
       ""},
      {"density.csv", "Density,Step\n" + rows(even, "Di", ","),
       plain + "readings: 21 steps, resampled to 256\npaper white L*: 95.63, darkest L*: 8.20, Dmax: 2.04\n", "",
       "Density\n" + rows(even, "D", ",")},
      {"joined.csv", "Sample,L*,a*,b*\n" + rows(even, "iLab", ",") + "Sample,L*,a*,b*\n" + rows(even, "iLab", ","),
       plain + "readings: 42, a 21-step wedge measured 2 times, pass after pass, resampled to 256\n"
               "paper white L*: 95.00, darkest L*: 5.45, Dmax: 2.22\n",
       warning + "line 23 repeats line 1 of the file's header (two files joined?); it was skipped\n"},
      {"not-numbers.csv", "Sample,L*,a*,b*\n" + notNumbers,
       plain + "readings: 21 steps, resampled to 256\npaper white L*: 95.00, darkest L*: 1.78, Dmax: 2.71\n",
       warning + "line 4: a* (field 3) reads \"n/a\", not a number; read as 0.0\n" + warning +
           "1 more field, on line 22, is not a number either and was read as its default\n"},
      {"short.csv", "Sample,L*,a*,b*\n" + shortRow, "", "line 5: the row has 3 fields, but the header's \"b*\" "
                                                        "column is field 4"},
      {"empty.csv", "L*;a*;b*\n;;\n", "", "no readings in the measurement file"},
      {"unknown.csv", "Sample,Lightness\n1,95\n", "",
       "the first line names no measurement file format this program reads; it reads CGATS, Argyll CTI3 (.ti3), "
       "its own measurement files, Tallyframe (GRAY), Ribbonmeter (Patch), SpyderPrint, QTR-Linearize-Data, "
       "QTR-Create-ICC and Density files, and tables whose header row names an L* or a density column, such as "
       "\"L*,a*,b*\" or \"Sample;L*;a*;b*\""},
      // The TAB-separated formats: an L* table, and Tallyframe files whose
      // GRAY values name the steps (evenly spaced, the same bytes as the L*
      // table of the same readings), unless one is not a number.
      {"lab.txt", labTable(even), "measurements: {M} (L* table)\n" + summary21, "", cgats(even, false)},
      {"gray-even.txt", "GRAY\tLAB_L\tLAB_A\tLAB_B\n" + rows(even, "gLab", "\t"),
       "measurements: {M} (tallyframe)\n" + summary21, "", labTable(even)},
      {"gray-uneven.txt", "GRAY\tLAB_L\tLAB_A\tLAB_B\n" + rows(uneven, "gLab", "\t"),
       "measurements: {M} (tallyframe)\n" + summary25, "", cgats(uneven, true)},
      {"gray-x.txt", "GRAY\tLAB_L\tLAB_A\tLAB_B\n" + oddGray,
       "measurements: {M} (tallyframe)\n" + inFileOrder25, "",
       labTable(uneven)},
      {"gray-twice.txt", "GRAY\tLAB_L\tLAB_A\tLAB_B\n" + rows(twice(even), "gLab", "\t"),
       "measurements: {M} (tallyframe)\nreadings: 42, a 21-step wedge measured 2 times, each reading's step named "
       "by its GRAY value, resampled to 256\npaper white L*: 94.95, darkest L*: 5.40, Dmax: 2.22\n",
       ""},
  };
  const auto out = dir / "out.quad", same = dir / "same.quad";
  for (const Row& row : table) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(out);
    const std::string file = dir.write(row.name, row.text).string();
    const auto named = [&](const std::string& text) { return replaceAll(text, "{M}", file); };
    const auto r = testsupport::runInkcurve({"linearize", file, quad.string(), "--out", out.string()});
    if (row.out.empty()) {
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.err, "Failed to Load Measurement Data: Please check the measurement data format and load data "
                       "again.\ninkcurve: cannot read " + file + ": " + row.err + "\n");
      EXPECT_FALSE(std::filesystem::exists(out));
      continue;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, named(row.out).size()), named(row.out));
    EXPECT_EQ(r.err, named(row.err));
    if (row.sameQuadAs.empty()) continue;
    const auto other = dir.write("same.txt", row.sameQuadAs).string();
    ASSERT_EQ(testsupport::runInkcurve({"linearize", other, quad.string(), "--out", same.string()}).status, 0);
    EXPECT_EQ(testsupport::slurp(out), testsupport::slurp(same));
  }
}
