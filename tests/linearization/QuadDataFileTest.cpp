#include <gtest/gtest.h>

#include <cmath>

#include "linearization/QuadDataFile.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"

using namespace linearization;
using testsupport::FakeHost;
using testsupport::slurp;
using testsupport::TempDir;

namespace {

// A .quad text: header, comment lines, and for each marker a ramp of 256
// levels (channel c, step i: 100*c + i), optionally with one level replaced.
std::string quadText(const std::string& header, const std::vector<std::string>& comments,
                     const std::vector<std::string>& markers, const std::string& eol = "\n") {
  std::string s = header;
  for (const auto& c : comments) s += eol + c;
  for (size_t c = 0; c < markers.size(); ++c) {
    s += eol + markers[c];
    for (int i = 0; i < 256; ++i) s += eol + std::to_string(100 * c + i);
  }
  return s;
}

const std::vector<std::string> kKCMY = {"# K Curve", "# C Curve", "# M Curve", "# Y Curve"};

std::shared_ptr<QuadDataFile> readText(const std::string& text, FakeHost& host, bool* ok = nullptr) {
  auto file = QuadDataFile::fromLines(platform::text::split(platform::text::removeAll(text, '\r'), "\n"));
  bool read = file->readQuadFile(file->rawQuadData, &host);
  if (ok) *ok = read;
  return file;
}

void expectUnread(const QuadDataFile& f, const std::string& why) {
  EXPECT_EQ(f.numInks, 0) << why;
  EXPECT_TRUE(f.printerInfo.empty()) << why;
  EXPECT_TRUE(f.inkList.empty()) << why;
  EXPECT_EQ(f.processNotes, std::string()) << why;
  ASSERT_TRUE(f.inputQuadCurveArray.has_value()) << why;
  EXPECT_TRUE(f.inputQuadCurveArray->empty()) << why;
}

TEST(QuadDataFile, HeadersAndChannelCounts) {
  const std::pair<const char*, int64_t> expected[] = {
      {"## QuadToneRIP K,C,M,Y", 4},
      {"## QuadToneRIP K,C,M,Y,LC,LM", 6},
      {"## QuadToneRIP K,C,M,Y,LC,LM,LK", 7},
      {"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", 8},
      {"## QuadToneRIP MK,C,M,Y,R,B,PK,GL", 8},
      {"## QuadToneRIP MK,C,M,Y,R,OR,PK,GL", 8},
      {"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,OR,GR", 10},
      {"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,V,MK", 10},
  };
  for (const auto& [header, count] : expected) {
    auto f = QuadDataFile::fromLines({header});
    EXPECT_TRUE(f->isQuadFile()) << header;
    EXPECT_EQ(f->inkCount(), count) << header;
  }
  for (const char* not_header : {"## QuadToneRIP K,C,M,Y ", "## QuadToneRIP K,C,M,Y,LC", "", "## QuadToneRIP"}) {
    auto f = QuadDataFile::fromLines({not_header});
    EXPECT_FALSE(f->isQuadFile()) << not_header;
    EXPECT_EQ(f->inkCount(), 0) << not_header;
  }
}

TEST(QuadDataFile, ReadsNotesAndChannelsAndWritesThemBack) {
  FakeHost host;
  auto text = quadText("## QuadToneRIP K,C,M,Y", {"# a", "## x # y"}, kKCMY, "\r\n");
  text.replace(text.find("\r\n1\r\n"), 5, "\r\n1.5e2\r\n");  // K level 1 in exponent form
  bool ok = false;
  auto f = readText(text, host, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(f->numInks, 4);
  EXPECT_EQ(f->processNotes, "a\n#x y");  // every "# " goes, not only the leading one
  EXPECT_EQ(f->printerInfo, (std::vector<std::string>{"## QuadToneRIP K,C,M,Y", "# a", "## x # y"}));
  EXPECT_EQ(f->inkList, kKCMY);
  ASSERT_EQ(f->inputQuadCurveArray->size(), 4u);
  EXPECT_EQ((*f->inputQuadCurveArray)[0][1], 150.0);
  EXPECT_EQ((*f->inputQuadCurveArray)[3][255], 555.0);
  EXPECT_TRUE(f->quadCurveCopy.empty());

  auto written = f->makeQuadFileText(*f->inputQuadCurveArray);
  ASSERT_TRUE(written);
  auto expected = quadText("## QuadToneRIP K,C,M,Y", {"# a", "# #x y"}, kKCMY);
  expected.replace(expected.find("\n1\n"), 3, "\n150\n");
  EXPECT_EQ(*written, expected);
  EXPECT_NE(written->back(), '\n');

  // Two-line notes come back as the same two lines.
  f->processNotes = "first line\nsecond line";
  auto again = readText(*f->makeQuadFileText(*f->inputQuadCurveArray), host);
  EXPECT_EQ(again->processNotes, "first line\nsecond line");
  EXPECT_TRUE(host.alerts.empty());
}

TEST(QuadDataFile, OddButValidLayouts) {
  FakeHost host;
  // No comment lines; later markers are taken as they stand.
  std::vector<std::string> odd = {"K Curve", "# M Curve", "# C Curve", "# Y Curve"};
  auto f = readText(quadText("## QuadToneRIP K,C,M,Y", {}, odd) + "\ntrailing\nlines", host);
  EXPECT_EQ(f->printerInfo, std::vector<std::string>{"## QuadToneRIP K,C,M,Y"});
  EXPECT_EQ(f->processNotes, "");
  EXPECT_EQ(f->inkList, odd);
  EXPECT_EQ(f->quadCurveCopy, (std::deque<std::string>{"trailing", "lines"}));
  EXPECT_EQ(*f->makeQuadFileText(*f->inputQuadCurveArray), quadText("## QuadToneRIP K,C,M,Y", {"# "}, odd));

  // Signed and fractional levels read as they stand.
  auto text = quadText("## QuadToneRIP K,C,M,Y", {}, kKCMY);
  text.replace(text.find("\n2\n"), 3, "\n+2.75\n");
  f = readText(text, host);
  EXPECT_EQ((*f->inputQuadCurveArray)[0][2], 2.75);

  // Absent notes are written as the fixed comment line.
  f->processNotes.reset();
  auto written = *f->makeQuadFileText(*f->inputQuadCurveArray);
  EXPECT_EQ(platform::text::split(written, "\n")[1], "# Velmora Arts Karovel-Pro v1");

  // 51 comment lines are read; with 52 the 52nd is taken as the marker and
  // the body no longer lines up.
  std::vector<std::string> comments(51, "# c");
  bool ok = false;
  readText(quadText("## QuadToneRIP K,C,M,Y", comments, kKCMY), host, &ok);
  EXPECT_TRUE(ok);
  comments.push_back("# c");
  f = readText(quadText("## QuadToneRIP K,C,M,Y", comments, kKCMY), host, &ok);
  EXPECT_FALSE(ok);
  expectUnread(*f, "52 comments");
}

TEST(QuadDataFile, RejectedFilesLeaveNothingBehind) {
  const std::string good = quadText("## QuadToneRIP K,C,M,Y", {"# notes"}, kKCMY);
  auto replaceLevel = [&](const std::string& with) {
    const std::string levelZeroOfC = "\n# C Curve\n100\n";
    auto t = good;
    EXPECT_NE(t.find(levelZeroOfC), std::string::npos);
    t.replace(t.find(levelZeroOfC) + 11, 3, with);
    return t;
  };
  auto truncated = good.substr(0, good.rfind('\n'));  // the last channel has 255 levels
  std::string crOnly = good;
  for (auto& c : crOnly)
    if (c == '\n') c = '\r';

  // The host is told which line stopped the read and why; line 261 is level 0
  // of channel C, after the header, the notes and the 257 lines of K.
  const std::string notAHeader = "line 1 is not one of the QuadToneRIP headers this program reads";
  auto notANumber = [](const std::string& shown) {
    return "line 261 is not a number (\"" + shown + "\", in channel 2 of 4)";
  };
  const struct {
    std::string why, text, reason;
  } cases[] = {
      {"header with a trailing blank", "## QuadToneRIP K,C,M,Y " + good.substr(good.find('\n')), notAHeader},
      {"five channels", "## QuadToneRIP K,C,M,Y,LC" + good.substr(good.find('\n')), notAHeader},
      {"CR-only line ends", crOnly, notAHeader},
      {"255 levels", truncated, "the file ends after line 1029, in channel 4 of 4"},
      {"no marker", "## QuadToneRIP K,C,M,Y\n# just notes", "the file ends after line 2, in channel 1 of 4"},
      {"leading blank", replaceLevel(" 150"), notANumber(" 150")},
      {"trailing blank", replaceLevel("150 "), notANumber("150 ")},
      {"empty level", replaceLevel(""), notANumber("")},
      {"nan", replaceLevel("nan"), notANumber("nan")},
      {"inf", replaceLevel("inf"), notANumber("inf")},
      {"hex", replaceLevel("0x10"), notANumber("0x10")},
      {"comma", replaceLevel("1,5"), notANumber("1,5")},
      {"long line, cut between characters", replaceLevel(std::string(39, 'x') + "\u00e9\u00e9"),
       notANumber(std::string(39, 'x') + "...")},
  };
  for (const auto& [why, text, reason] : cases) {
    FakeHost host;
    bool ok = true;
    auto f = readText(text, host, &ok);
    EXPECT_FALSE(ok) << why;
    expectUnread(*f, why);
    EXPECT_EQ(host.logLines, std::vector<std::string>{"false"}) << why;
    EXPECT_EQ(host.loadFailures, std::vector<std::string>{reason}) << why;
    EXPECT_FALSE(f->makeQuadFileText({})) << why << ": an unread file has no text";
  }
}

TEST(QuadDataFile, WriterClampsWhatHasNoWrittenForm) {
  FakeHost host;
  auto f = readText(quadText("## QuadToneRIP K,C,M,Y", {}, kKCMY), host);
  auto curves = *f->inputQuadCurveArray;
  // Counted: whole numbers below 0 or above 65535, and NaN; a fraction below 0
  // or above 65535 is only cut, as every other level is.
  const double levels[] = {-3.2, 0, 65535, 1234.99, 70000, NAN, 65535.9, INFINITY, -INFINITY, 123.9, -0.9, -1};
  const char* written[] = {"0", "0", "65535", "1234", "65535", "0", "65535", "65535", "0", "123", "0", "0"};
  for (size_t i = 0; i < std::size(levels); ++i) curves[2][i] = levels[i];
  auto text = f->makeQuadFileText(curves, &host);
  ASSERT_TRUE(text);
  EXPECT_EQ(f->quadFileTextSize(curves), text->size());  // found without making the text
  auto lines = platform::text::split(*text, "\n");
  const size_t firstM = 2 + 2 * 257 + 1;  // header, notes, K and C channels, M marker
  ASSERT_EQ(lines[firstM - 1], "# M Curve");
  for (size_t i = 0; i < std::size(levels); ++i) EXPECT_EQ(lines[firstM + i], written[i]) << levels[i];
  ASSERT_EQ(host.logLines.size(), 1u);
  EXPECT_NE(host.logLines[0].find("Clamped 6 "), std::string::npos) << host.logLines[0];

  int64_t clamped = 0;
  EXPECT_EQ(quadLevelText(65535.99, clamped), "65535");
  EXPECT_EQ(clamped, 0);

  // Too few curves, or a curve too short: no text at all.
  EXPECT_FALSE(f->makeQuadFileText(std::vector<InkCurve>(curves.begin(), curves.begin() + 3)));
  curves[3].resize(255);
  EXPECT_FALSE(f->makeQuadFileText(curves));
  EXPECT_FALSE(f->quadFileTextSize(curves));
}

// Notes are written as comment lines; whatever the rule refuses is what a
// reader would take for a marker, and whatever it accepts reads back.
TEST(QuadDataFile, NotesThatWouldNotReadBackAreNamed) {
  auto lines = [](int n) {
    std::vector<std::string> numbers;
    for (int i = 1; i <= n; ++i) numbers.push_back(std::to_string(i));
    return platform::text::join(numbers, "\n");
  };
  const std::pair<std::string, bool> cases[] = {
      {"", true},           {lines(51), true},     {lines(52), false},     {"a\nK Curve", false},
      {"K curve\nb", false}, {"MK CURVE", false},   {"K Cu\rrve", false},   {"K Curve ", true},
      {"# K Curve", true},  {"Curve K", true},     {"k curve", true},      {lines(50) + "\nMK Curve", false},
  };
  FakeHost readHost;
  auto f = readText(quadText("## QuadToneRIP K,C,M,Y", {}, kKCMY), readHost);
  for (const auto& [notes, readable] : cases) {
    const auto reason = unreadableNotesReason(notes);
    EXPECT_EQ(!reason, readable) << notes;
    FakeHost host;
    f->processNotes = notes;
    const auto text = f->makeQuadFileText(*f->inputQuadCurveArray, &host);
    ASSERT_TRUE(text);
    EXPECT_EQ(f->quadFileTextSize(*f->inputQuadCurveArray), text->size()) << notes;
    bool ok = false;
    auto back = readText(*text, readHost, &ok);
    EXPECT_EQ(ok, readable) << notes;
    if (readable) {
      EXPECT_TRUE(host.logLines.empty()) << notes;
    } else {
      ASSERT_EQ(host.logLines.size(), 1u) << notes;
      EXPECT_EQ(host.logLines[0], "The quad file will not read back: " + *reason);
    }
  }
}

TEST(QuadDataFile, FilesPanelsAndSaving) {
  TempDir dir;
  auto path = dir.write("in.quad", "\xEF\xBB\xBF" + quadText("## QuadToneRIP K,C,M,Y", {"# n"}, kKCMY, "\r\n"));
  FakeHost host;
  host.openAnswers.push_back(path);
  auto f = openQuadFile(host);
  ASSERT_TRUE(f);
  ASSERT_EQ(host.openRequests.size(), 1u);
  EXPECT_EQ(host.openRequests[0].title, "Choose a quad file");
  EXPECT_EQ(host.openRequests[0].allowedTypes, std::vector<std::string>{"quad"});
  EXPECT_FALSE(host.openRequests[0].canCreateDirectories);
  EXPECT_EQ(f->fileName, "in.quad");
  EXPECT_TRUE(f->readQuadFile(f->rawQuadData));

  EXPECT_FALSE(openQuadFile(host)) << "a cancelled panel gives nothing";
  std::string error;
  EXPECT_FALSE(QuadDataFile::fromFile(dir.write("bad.quad", "## QuadToneRIP K,C,M,Y\n# caf\xE9\n"), &error));
  EXPECT_EQ(error, "line 2: not valid UTF-8 text");
  EXPECT_FALSE(QuadDataFile::fromFile(dir / "missing.quad"));

  // Whatever follows the last line a reader can reach (the header, 51 comment
  // lines, ten channels) is ignored, and not even split: four million lines
  // after the curves cost nothing.
  const std::string curves = quadText("## QuadToneRIP K,C,M,Y", {"# n"}, kKCMY, "\n");
  auto trailed = QuadDataFile::fromFile(dir.write("trailed.quad", curves + "\n" + std::string(4'000'000, '\n')));
  ASSERT_TRUE(trailed);
  EXPECT_EQ(trailed->rawQuadData.size(), 1u + 51u + 10u * 257u);
  EXPECT_TRUE(trailed->readQuadFile(trailed->rawQuadData));
  EXPECT_EQ(trailed->inputQuadCurveArray, f->inputQuadCurveArray);

  // Save: the text is fixed when the panel opens; cancel writes nothing;
  // a failed write is reported and the old file stays.
  host.deferSaves = true;
  auto text = *f->makeQuadFileText(*f->inputQuadCurveArray);
  f->saveQuadFile(text, host);
  text = "changed afterwards";
  host.completeSave(path);
  EXPECT_EQ(slurp(path), *f->makeQuadFileText(*f->inputQuadCurveArray));
  EXPECT_EQ(host.saveRequests.back().allowedTypes, std::vector<std::string>{"quad"});
  EXPECT_TRUE(host.saveRequests.back().canCreateDirectories);

  f->saveQuadFile("x", host);
  host.completeSave(std::nullopt);
  f->saveQuadFile("x", host);
  host.completeSave(dir / "no-such-folder" / "out.quad");
  EXPECT_EQ(host.failures.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
  EXPECT_NE(slurp(path), "x");
}

}  // namespace
