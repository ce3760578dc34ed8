#include <gtest/gtest.h>

#include <regex>
#include <tuple>

#include "linearization/readers/MeasurementFile.h"
#include "support/FakeHost.h"

using namespace linearization;
using testsupport::FakeHost;
using testsupport::TempDir;

namespace {

const char* kLoadError = "Failed to Load Measurement Data";

std::shared_ptr<MeasurementFile> fromBytes(const std::string& bytes, const std::string& name, FakeHost& host) {
  return measurementFileFromBytes(bytes, name, host);
}

TEST(MeasurementFile, DetectionFollowsTheOrderOfTesting) {
  struct Case {
    std::string firstLine;  // as it stands in a .txt file, before spaces are removed
    std::string format;
    std::string logged = "";  // the diagnostic line, when not the whole first line
    std::string next = "rest";  // the second line
  };
  const Case cases[] = {
      {"CGATS.17\r", "CGATS"},
      {"LGOROWLENGTH\t6", "CGATS"},
      {"GRAY\tL*\ta*\tb*", "tallyframe"},
      {"Name\tL\ta\tb", "ColorMunki File"},
      {"CTI3", "CTI3"},
      {"QTR-Linearize-Data 1.0", "QTR-Linearize-Data-out file"},
      {"QTR-Create-ICC", "QTR-Create-ICC File"},
      {"1\t95.2\t0\t0", "SpyderPrint File"},
      {"Patch 12.5", "SpyderPrint File"},  // "Patch12.5": the number pattern is tested before ^Patch
      {"L*\t95.20", "SpyderPrint File"},
      {"L*\ta*\tb*", "miscWithHeader"},
      {"Patch\tL*\ta*\tb*", "Ribbonmeter File"},
      {"Halvorin Measurement Data File", "HLVCIELab"},
      {"Density", "Density File"},
      {"ab12.", "SpyderPrint File"},
      {"CGATS" + std::string(2000, 'x'), "CGATS", "CGATS" + std::string(1019, 'x') + "... (2005 bytes)"},
      // Tables whose header names an L* or a density column: those no pattern
      // takes, and those separated otherwise than the TAB-separated formats'
      // patterns ask (unless their rows are TAB-separated after all).
      {"Sample;L*;a*;b*", "plain table"},
      {"Step\tL\ta\tb", "plain table"},
      {"\"Patch\",\"LAB_L\"", "plain table"},
      {"L*,a*,b*", "plain table"},
      {"L*,a*,b*", "miscWithHeader", "", "95\t0\t0"},
      {"GRAY;L*;a*;b*", "plain table"},
      {"Name,L,a,b", "plain table"},
      {"Patch,Name,LAB_L", "plain table"},
      {"Density,Step", "plain table"},
      {"Density,", "Density File"},
      {"1,L*", "plain table"},
      {"CGATS,L*", "CGATS"},
  };
  for (const auto& c : cases) {
    FakeHost host;
    auto file = fromBytes(c.firstLine + "\n" + c.next + "\n", "m.txt", host);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->detectFormat(host), c.format) << c.firstLine;
    EXPECT_TRUE(host.alerts.empty()) << c.firstLine;
    ASSERT_FALSE(host.logLines.empty());
    EXPECT_EQ(host.logLines.back(), c.logged.empty() ? file->measurementData->front() : c.logged)
        << "the first line is logged, cut to 1 KiB";
  }
}

TEST(MeasurementFile, UnknownFirstLinesGiveOneAlert) {
  for (std::string first : {"cgats.17", "", "A1.5", "2\t95", "x\nCGATS", "Sample,Lightness"}) {
    FakeHost host;
    auto file = fromBytes(first, "m.txt", host);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->detectFormat(host), "Could not load file") << first;
    ASSERT_EQ(host.alerts.size(), 1u) << first;
    EXPECT_EQ(host.alerts[0].messageText, kLoadError);
    EXPECT_EQ(host.alerts[0].informativeText,
              "Please check the measurement data format and load data again.\n\nIf this problem continues send the "
              "measurement data file using the send feedback form in the help menu.");
    EXPECT_EQ(host.alerts[0].buttons, std::vector<std::string>{"OK"});
  }
  // No lines at all: no crash and no format name.
  FakeHost host;
  MeasurementFile empty;
  EXPECT_EQ(empty.detectFormat(host), "Could not load file");
  empty.measurementData.reset();
  EXPECT_EQ(empty.detectFormat(host), "Could not load file");
  EXPECT_EQ(host.alerts.size(), 2u);
}

TEST(MeasurementFile, CleaningAndSplitting) {
  struct Case {
    std::string bytes;
    std::string name;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"CGATS.17\r\nA B\r\n", "m.txt", {"CGATS.17\r", "AB\r", ""}},
      {"a\rb\rc", "m.txt", {"a", "b", "c"}},
      {"one line", "m.csv", {"oneline"}},
      {"a\n", "m.txt", {"a", ""}},
      {"", "m.txt", {""}},
      {"CTI3 x\n1 2\t3\n", "m.ti3", {"CTI3 x", "1 2\t3", ""}},
      {"CTI3 x\n1 2\n", "m.TI3", {"CTI3 x", "1 2", ""}},  // an Argyll file by its first line, whatever its name
      {"\xEF\xBB\xBF" "CTI3 x\n1 2\n", "m.csv", {"CTI3 x", "1 2", ""}},
      {"CGATS.17 x\n1 2\n", "m.TI3", {"CGATS.17x", "12", ""}},  // the extension test is exact
      {"\xEF\xBB\xBF" "CGATS.17\nx", "m.txt", {"CGATS.17", "x"}},
  };
  for (const auto& c : cases) {
    FakeHost host;
    auto file = fromBytes(c.bytes, c.name, host);
    ASSERT_TRUE(file);
    EXPECT_EQ(*file->measurementData, c.lines) << c.bytes;
    EXPECT_EQ(file->filename, c.name);
    EXPECT_TRUE(host.alerts.empty());
  }
  FakeHost host;
  auto bom = fromBytes("\xEF\xBB\xBF" "CGATS.17\n", "m.txt", host);
  EXPECT_EQ(bom->detectFormat(host), "CGATS");

  // A final line break ends the last line and starts none: the limit's count
  // of line-ended lines reads, one more line, ended or not, is refused.
  for (const std::string end : {"\n", "\r\n", "\r"}) {
    for (const auto& [lines, tail, read] : {std::tuple{kMeasurementFileLineLimit, "", true},
                                            std::tuple{kMeasurementFileLineLimit + 1, "", false},
                                            std::tuple{kMeasurementFileLineLimit, "x", false}}) {
      std::string bytes;
      bytes.reserve(lines * end.size() + 1);
      for (std::size_t k = 0; k < lines; ++k) bytes += end;
      FakeHost counted;
      auto file = fromBytes(bytes + tail, "m.txt", counted);
      EXPECT_EQ(file != nullptr, read) << lines << tail;
      if (file) {
        EXPECT_EQ(file->measurementData->size(), lines + 1);
      } else {
        EXPECT_EQ(counted.loadFailures, std::vector<std::string>{"4000001 lines, more than the limit of 4000000 lines"});
      }
    }
  }
}

TEST(MeasurementFile, OpenPanelAndUnreadableFiles) {
  TempDir dir;
  {
    FakeHost host;  // cancelled panel: nothing, no alert
    EXPECT_FALSE(openMeasurementFile(host));
    ASSERT_EQ(host.openRequests.size(), 1u);
    const auto& r = host.openRequests[0];
    EXPECT_EQ(r.title, "Choose a measurement file");
    EXPECT_EQ(r.allowedTypes, (std::vector<std::string>{"txt", "csv", "ti3"}));
    EXPECT_TRUE(r.canChooseFiles);
    EXPECT_FALSE(r.canChooseDirectories);
    EXPECT_FALSE(r.allowsMultipleSelection);
    EXPECT_FALSE(r.showsHiddenFiles);
    EXPECT_TRUE(r.showsResizeIndicator);
    EXPECT_TRUE(host.alerts.empty());
  }
  for (std::string bad : {std::string("\xC3\x28"), std::string("ok\xED\xA0\x80")}) {
    FakeHost host;
    host.openAnswers.push_back(dir.write("bad.txt", bad));
    EXPECT_FALSE(openMeasurementFile(host));
    EXPECT_EQ(host.alertMessages(), std::vector<std::string>{kLoadError});
  }
  for (auto path : {dir / "missing.txt", dir.path()}) {
    FakeHost host;
    host.openAnswers.push_back(path);
    EXPECT_FALSE(openMeasurementFile(host));
    EXPECT_EQ(host.alertMessages(), std::vector<std::string>{kLoadError});
  }
  FakeHost host;
  host.openAnswers.push_back(dir.write("good.ti3", "CTI3 \n"));
  auto file = openMeasurementFile(host);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->filename, "good.ti3");
  EXPECT_EQ(*file->measurementData, (std::vector<std::string>{"CTI3 ", ""}));
}

TEST(MeasurementFile, PatternThatDoesNotCompileFallsBackToMatchEverything) {
  std::vector<std::string> log;
  auto m = RegularExpressionChecks::compileOrFallback("(", [&](const std::string& l) { log.push_back(l); });
  EXPECT_TRUE(m.isFallback());
  EXPECT_TRUE(m.matches(std::string(200000, 'x')));
  EXPECT_EQ(log, std::vector<std::string>{"Failed to parse ( as a regular expression"});

  FakeHost host;
  const auto& checks = RegularExpressionChecks::checksInTestingOrder(host);
  ASSERT_EQ(checks.size(), 12u);
  for (const auto& c : checks) EXPECT_FALSE(c.matcher.isFallback()) << c.pattern;

  // Each check means what a regular-expression search for its pattern means.
  const std::string lines[] = {"", "1", "CGATS", "CGAT", " CGATS", "x\nCGATS", "x\rCGATS", "cgats", "GRAY\t",
                               "Name", "CTI3", "QTR-Linearize-Data", "QTR-Linearize", "QTR-Create-ICC",
                               "L*", "L", "L\\*", "Patch", "Halvorin", "Density", "LGOROWLENGTH",
                               "LGOROWLENGTH\t6", "21", "012", "x1", "12.", "45.", "ab12.5", "1.2", "9.9", "x9.",
                               ".12", "12,5", "1a.", "a\n12.", "123.456", "\xEF\xBC\x91\xEF\xBC\x92.",
                               std::string(100, 'x') + "45." + std::string(100, 'x')};
  for (const auto& c : checks) {
    const std::regex re(c.pattern, std::regex::ECMAScript);
    for (const auto& line : lines)
      EXPECT_EQ(c.matcher.matches(line), std::regex_search(line, re)) << c.pattern << " " << line;
  }
  EXPECT_TRUE(LineMatcher::compile("a|^b")->matches("xa"));  // not anchored as a whole: a search
  EXPECT_FALSE(LineMatcher::compile(R"(^L\*)")->matches("L\\*"));
}

}  // namespace
