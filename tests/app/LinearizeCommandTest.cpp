#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <tuple>
#include <filesystem>
#include <fcntl.h>
#include <functional>
#include <sstream>
#include <grp.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Cli.h"
#include "LinearizeExports.h"
#include "RunCli.h"
#include "linearization/QuadDataFile.h"
#include "linearization/ReadingFixtures.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"
#include "support/SampleFiles.h"

using testsupport::slurp;
using testsupport::TempDir;

namespace {

testsupport::CliRun inkcurve(const std::vector<std::string>& args) { return testsupport::runInkcurve(args); }

double levelK(int step) { return step < 60 ? 0.0 : 42000.0 * std::pow((step - 60) / 195.0, 1.5); }
double levelLK(int step) { return 20000.0 * std::sin(M_PI * step / 255.0); }

std::string eightChannelQuad() {
  return testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", testsupport::eightChannelMarkers(),
                                   [](int c, int i) { return c == 0 ? levelK(i) : c == 6 ? levelLK(i) : 0.0; });
}

std::vector<linearization::InkCurve> readCurves(const std::filesystem::path& path) {
  auto quad = linearization::QuadDataFile::fromFile(path);
  if (!quad || !quad->readQuadFile(quad->rawQuadData)) return {};
  return *quad->inputQuadCurveArray;
}

// Bind mounts (in a mount namespace of this test program's own, so that none
// outlives it) and append-only files a test sets up as root, undone when it
// ends; each gives false where this process may not set it up.
struct RootSetUp {
  static constexpr const char* bindNeeds = "which needs root (a mount namespace and bind mounts)";
  static constexpr const char* appendOnlyNeeds =
      "which needs root, on a file system that keeps the append-only flag";
  std::vector<std::filesystem::path> mounts, appendOnly;
  bool bind(const std::filesystem::path& from, const std::filesystem::path& onto) {
    static const bool own = !::unshare(CLONE_NEWNS) && !::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    return own && !::mount(from.c_str(), onto.c_str(), nullptr, MS_BIND, nullptr) && (mounts.push_back(onto), true);
  }
  bool makeAppendOnly(const std::filesystem::path& path, bool on = true) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int flags = 0;
    const bool set = !::ioctl(fd, FS_IOC_GETFLAGS, &flags) &&
                     (flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL, !::ioctl(fd, FS_IOC_SETFLAGS, &flags));
    ::close(fd);
    return set && (!on || (appendOnly.push_back(path), true));
  }
  ~RootSetUp() {
    for (const auto& path : appendOnly) makeAppendOnly(path, false);
    for (const auto& path : mounts) ::umount2(path.c_str(), MNT_DETACH);
  }
};

// Standard error that runs `atFirstWrite` when the first text arrives.
struct HookedBuffer : std::stringbuf {
  std::function<void()> atFirstWrite;
  int_type overflow(int_type c) override {
    if (atFirstWrite) std::exchange(atFirstWrite, nullptr)();
    return std::stringbuf::overflow(c);
  }
};

TEST(LinearizeCommand, LinearWedgeLeavesTheCurveNearlyUnchanged) {
  TempDir dir;
  auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  auto quad = dir.write("in.quad", eightChannelQuad());
  auto out = dir / "out.quad";
  auto measurements = dir / "smoothed.txt", cube = dir / "c.CUBE";
  auto r = inkcurve({"linearize", wedge.string(), quad.string(), "--out", out.string(), "--measurements-out",
                     measurements.string(), "--cube", cube.string(), "--notes", "corrected by test"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  EXPECT_NE(r.out.find("(CGATS)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("readings: 21 steps"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("channels corrected: 8 (K, C, M, Y, LC, LM, LK, LLK)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("wrote " + out.string()), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("wrote " + measurements.string()), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("wrote " + cube.string() + "\n"), std::string::npos) << r.out;

  const auto input = readCurves(quad);
  const auto output = readCurves(out);
  ASSERT_EQ(output.size(), 8u);
  for (size_t c = 0; c < 8; ++c)
    for (int i = 1; i < 255; ++i) {
      // About one input step of that channel, plus a little for the spline's
      // ringing where K starts from 0.
      const auto& in = input[c];
      const double step = std::max(std::fabs(in[i + 1] - in[i]), std::fabs(in[i] - in[i - 1]));
      EXPECT_NEAR(output[c][i], in[i], 1.5 * step + 32) << "channel " << c << " step " << i;
    }
  const auto text = slurp(out);
  EXPECT_EQ(text.rfind("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK\n# corrected by test\n# K Curve\n0\n", 0), 0u);
  EXPECT_EQ(slurp(measurements).rfind("Halvorin Measurement Data File\n", 0), 0u);

  // A grey-only target's patches, written in the generator's order (every
  // eighth step), make the same .quad as in step order: CGATS with CR LF line
  // ends and GRAY_K last, or a .ti3.
  const auto grayWedge = [&](const std::string& name, const std::string& sep, int stride) {
    const std::string end = sep == " " ? "\n" : "\r\n";
    std::string s = (sep == " " ? "CTI3" : "CGATS.17" + end + "NUMBER_OF_FIELDS\t5") + end + "BEGIN_DATA_FORMAT" +
                    end + platform::text::join({"SAMPLE_ID", "LAB_L", "LAB_A", "LAB_B", "GRAY_K"}, sep) + end +
                    "END_DATA_FORMAT" + end + "NUMBER_OF_SETS" + sep + "21" + end + "BEGIN_DATA" + end;
    for (int k = 0; k < 21; ++k) {
      const int step = k * stride % 21;
      const double l = 95.0 - 85.0 * step * step / 400;  // far from straight, so that the order tells
      s += platform::text::join({std::to_string(k + 1), platform::text::fixedDecimal(l, 2), "0.5", "1.5",
                                 std::to_string(step * 5)}, sep) + end;
    }
    const auto corrected = dir / (name + ".quad");
    const auto r = inkcurve({"linearize", dir.write(name, s + "END_DATA" + end).string(), quad.string(), "--out",
                             corrected.string()});
    EXPECT_EQ(r.status, 0) << name << r.err;
    return slurp(corrected);
  };
  const std::string inStepOrder = grayWedge("steps.txt", "\t", 1);
  EXPECT_EQ(grayWedge("shuffled.txt", "\t", 8), inStepOrder);
  EXPECT_EQ(grayWedge("shuffled.ti3", " ", 8), inStepOrder);
}

TEST(LinearizeCommand, RepeatedReadingsCorrectAsTheirStepMeansDo) {
  TempDir dir;
  const auto quad = dir.write("in.quad", eightChannelQuad());
  // A wedge (with or without a dip) measured in `passes` passes, each step
  // `inRow` times in a row; the rows in file order, or shuffled with the
  // step's RGB_R or GRAY_K beside them.
  struct Case {
    int steps, passes, inRow;
    bool dip;
    std::string key = "SAMPLE_NAME";
  };
  const Case cases[] = {
      {21, 1, 2, true},   {21, 3, 1, true},   {51, 5, 1, false},  {86, 2, 1, true},  {101, 3, 1, false},
      {128, 3, 1, true},  {128, 1, 5, false}, {129, 3, 1, false}, {256, 3, 1, true}, {256, 1, 2, true},
      {256, 2, 1, false, "RGB_R"}, {51, 1, 3, true, "GRAY_K"}, {101, 5, 1, false, "GRAY_K"},
  };
  std::mt19937 shuffler(42);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.steps) + " steps, " + std::to_string(c.passes) + " passes, " + c.key);
    // On a grid of 0.02, so that the mean of two steps is written exactly.
    const auto stepL = [&](int k) { return std::round(50 * fixtures::stepLightness(c.steps, k, c.dip)) / 50; };
    std::vector<std::string> rows;
    for (int n = 0; n < c.steps * c.passes * c.inRow; ++n) {
      const int k = n / c.inRow % c.steps;
      const double key = c.key == "RGB_R" ? 255.0 * (c.steps - 1 - k) / (c.steps - 1) : 100.0 * k / (c.steps - 1);
      rows.push_back(platform::text::join({fixtures::num(key), fixtures::num(stepL(k)), "0.50", "1.50"}, "\t"));
    }
    if (c.key != "SAMPLE_NAME") std::shuffle(rows.begin(), rows.end(), shuffler);
    std::string text = "CGATS.17\nNUMBER_OF_FIELDS\t5\nBEGIN_DATA_FORMAT\nSAMPLE_ID\t" + c.key +
                       "\tLAB_L\tLAB_A\tLAB_B\nEND_DATA_FORMAT\nNUMBER_OF_SETS\t" + std::to_string(rows.size()) +
                       "\nBEGIN_DATA\n";
    for (std::size_t n = 0; n < rows.size(); ++n) text += std::to_string(n + 1) + "\t" + rows[n] + "\n";
    const auto out = dir / "out.quad", byHand = dir / "by-hand.quad";
    for (const auto& stale : {out, byHand}) std::filesystem::remove(stale);
    auto r = inkcurve({"linearize", dir.write("wedge.txt", text + "END_DATA\n").string(), quad.string(), "--out",
                       out.string()});
    // The steps the program reports, each the mean of its samples.
    std::vector<double> means(c.steps);
    for (int k = 0; k < c.steps; ++k) means[k] = stepL(k);
    EXPECT_NE(r.out.find(std::to_string(c.steps) + "-step wedge measured"), std::string::npos) << r.out;
    r = inkcurve({"linearize", dir.write("means.txt", testsupport::cgatsWedge(means)).string(), quad.string(),
                  "--out", byHand.string()});
    const auto corrected = readCurves(out), expected = readCurves(byHand);
    ASSERT_EQ(corrected.size(), 8u);
    for (std::size_t channel = 0; channel < 8; ++channel)
      for (std::size_t i = 0; i < 256; ++i) EXPECT_NEAR(corrected[channel][i], expected[channel][i], 5) << i;
  }
}

std::vector<uint16_t> bigEndianWords(const std::string& bytes) {
  std::vector<uint16_t> words;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    words.push_back(static_cast<uint16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                          static_cast<unsigned char>(bytes[i + 1])));
  return words;
}

TEST(LinearizeCommand, WritesEveryExport) {
  TempDir dir;
  auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  auto quad = dir.write("in.quad", eightChannelQuad());
  // An extension in capitals is the type's own: none is added to it.
  const auto out = dir / "out.QUAD", acv = dir / "x.ACV", cube = dir / "x", xml = dir / "Platine" / "xml";
  auto r = inkcurve({"linearize", wedge.string(), quad.string(), "--out", out.string(), "--acv", acv.string(),
                     "--cube", cube.string(), "--xml-dir", xml.string(), "--notes", "by test"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  for (const auto& written : {out, acv, dir / "x.cube", xml / "Black.xml", xml / "LightLightBlack.xml",
                              xml / "_ref.quad"})
    EXPECT_NE(r.out.find("wrote " + written.string() + "\n"), std::string::npos) << written << r.out;

  // .acv: version, 5 curves; the composite has 16 points near the diagonal for
  // a straight wedge, the others are the identity.
  const auto words = bigEndianWords(slurp(acv));
  ASSERT_EQ(words.size(), 2u + 33u + 4u * 5u);
  EXPECT_EQ(words[0], 4);
  EXPECT_EQ(words[1], 5);
  EXPECT_EQ(words[2], 16);
  for (int k = 0; k < 16; ++k) {
    const int input = k == 15 ? 255 : 17 * k;
    EXPECT_EQ(words[4 + 2 * k], input);
    EXPECT_NEAR(words[3 + 2 * k], input, 8) << input;
  }
  const std::vector<uint16_t> identity = {2, 0, 0, 255, 255};
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(std::vector<uint16_t>(words.begin() + 35 + 5 * c, words.begin() + 40 + 5 * c), identity);

  // .cube: the correction curve reversed, 0 to 1.
  const auto cubeLines = platform::text::split(slurp(dir / "x.cube"), "\n");
  ASSERT_EQ(cubeLines.size(), 262u);
  EXPECT_EQ(cubeLines[2], "LUT_1D_SIZE 256");
  EXPECT_EQ(cubeLines[5], "0.0 0.0 0.0");
  EXPECT_EQ(cubeLines[260], "1.0 1.0 1.0");

  // XML: eight files, the folder's name in each; the reference .quad holds
  // the corrected channels and the note, the .quad written before it does not.
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(xml)) ++files;
  EXPECT_EQ(files, 9u);
  EXPECT_EQ(slurp(xml / "Black.xml").rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- xml -->\n", 0), 0u);
  const auto ref = slurp(xml / "_ref.quad");
  EXPECT_EQ(ref.rfind("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK\n# by test\n# Reference quad file for xml file: xml\n", 0),
            0u);
  EXPECT_EQ(readCurves(xml / "_ref.quad"), readCurves(out));
  EXPECT_EQ(slurp(out).find("Reference"), std::string::npos);
}

TEST(LinearizeCommand, FailedLoadsNameTheFileAndTheReason) {
  TempDir dir;
  testsupport::HangGuard guard;  // a FIFO must be refused, not read
  const auto wedgeText = testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8));
  auto good = dir.write("wedge.txt", wedgeText);
  auto quad = dir.write("in.quad", eightChannelQuad());
  std::filesystem::create_directory(dir / "folder.txt");
  ASSERT_EQ(::mkfifo((dir / "fifo.txt").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo((dir / "fifo.quad").c_str(), 0600), 0);
  std::filesystem::resize_file(dir.write("huge.txt", "CGATS.17\n"), platform::files::kInputFileSizeLimit + 1);
  auto noLab = wedgeText;
  noLab.replace(noLab.find("LAB_L"), 5, "LAB_X");
  // The hostile files, byte for byte: the lines named are the file's own, a
  // blank line counted.
  const std::string header =
      "CGATS.17\nNUMBER_OF_FIELDS\t5\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B\n"
      "END_DATA_FORMAT\n";
  const auto shortCount = dir.write("count.txt", header + "NUMBER_OF_SETS\t25\n\nBEGIN_DATA\n1\tA1\t95.1\t0\t0\n"
                                                         "2\tA2\t5.2\t0\t0\nEND_DATA\n");
  const auto blankEnd = dir.write("blanks.txt", platform::text::replaceAll(slurp(shortCount), "END_DATA\n",
                                                                         "END_DATA \t\r\nEND_DATA\n"));
  const auto oneTab = dir.write("tabs.txt", header + "NUMBER_OF_SETS\t3\nBEGIN_DATA\n\t\n\t\n\t\nEND_DATA\n");
  const auto notCount = dir.write("abc.txt", header + "NUMBER_OF_SETS\tabc\nBEGIN_DATA\nEND_DATA\n");
  const auto noRows = dir.write("none.txt", header + "NUMBER_OF_SETS\t2\nBEGIN_DATA\nEND_DATA\n");
  const auto unsorted = dir.write("rgb.ti3", "CTI3\nBEGIN_DATA_FORMAT\nSAMPLE_ID RGB_R RGB_G RGB_B LAB_L LAB_A LAB_B\n"
                                             "END_DATA_FORMAT\nNUMBER_OF_SETS 2\nBEGIN_DATA\n1 100 100 100 95 0 0\n"
                                             "2 x x x 5 0 0\nEND_DATA\n");
  const auto gray = dir.write("gray.ti3", "CTI3\nBEGIN_DATA_FORMAT\nSAMPLE_ID GRAY_K LAB_L LAB_A LAB_B\n"
                                         "END_DATA_FORMAT\nNUMBER_OF_SETS 2\nBEGIN_DATA\n1 0 95 0 0\n2 x 5 0 0\n");
  const auto manyLines = dir.write("lines.txt", "CGATS.17" + std::string(4'000'001, '\n'));
  auto badLevel = eightChannelQuad();
  badLevel.replace(badLevel.find("\n# C Curve\n0\n") + 11, 1, "1,5");  // line 261: level 0 of C

  // The alert as one line, then the line that names the file and the reason.
  const std::string alert =
      "Failed to Load Measurement Data: Please check the measurement data format and load data again.\n";
  const struct {
    std::string measurements, quad, alert, line;
  } cases[] = {
      {"missing.txt", "", alert, "cannot read {M}: No such file or directory"},
      {"folder.txt", "", alert, "cannot read {M}: Is a directory"},
      {"fifo.txt", "", alert, "cannot read {M}: not a regular file but a FIFO"},
      {"huge.txt", "", alert, "cannot read {M}: 67108865 bytes, more than the limit of 67108864 bytes (64 MB)"},
      {dir.write("latin1.txt", "CGATS.17\nORIGINATOR\t\"Dupr\xE9\"\n").filename(), "", alert,
       "cannot read {M}: line 2: not valid UTF-8 text"},
      {dir.write("nolab.txt", noLab).filename(), "", alert,
       "cannot read {M}: line 5: no LAB_L column among the field names"},
      {shortCount.filename(), "", alert,
       "cannot read {M}: line 6: NUMBER_OF_SETS is 25 but 2 rows follow BEGIN_DATA at line 8"},
      {blankEnd.filename(), "", alert,
       "cannot read {M}: line 6: NUMBER_OF_SETS is 25 but 2 rows follow BEGIN_DATA at line 8"},
      {oneTab.filename(), "", alert,
       "cannot read {M}: line 8: the row has 2 fields, but L*, a* and b* are fields 3 to 5 (LAB_L and the two "
       "after it)"},
      {notCount.filename(), "", alert, "cannot read {M}: line 6: NUMBER_OF_SETS \"abc\" is not a count of readings"},
      {noRows.filename(), "", alert,
       "cannot read {M}: line 6: NUMBER_OF_SETS is 2 but no rows follow BEGIN_DATA at line 7"},
      {gray.filename(), "", alert,
       "cannot read {M}: line 8: the GRAY_K field \"x\" is not a number to sort the rows by"},
      {unsorted.filename(), "", alert,
       "cannot read {M}: line 8: the third field \"x\" is not a number to sort the rows by (RGB_R is named)"},
      {manyLines.filename(), "", alert, "cannot read {M}: 4000001 lines, more than the limit of 4000000 lines"},
      {dir.write("what.txt", "Readings\n1\t2\n").filename(), "", alert,
       "cannot read {M}: the first line names no measurement file format this program reads; it reads CGATS, "
       "Argyll CTI3 (.ti3), its own measurement files, Tallyframe (GRAY), Ribbonmeter (Patch), SpyderPrint, "
       "QTR-Linearize-Data, QTR-Create-ICC and Density files, and tables whose header row names an L* or a "
       "density column, such as \"L*,a*,b*\" or \"Sample;L*;a*;b*\""},
      {"wedge.txt", "fifo.quad", "", "cannot read {Q}: not a regular file but a FIFO"},
      {"wedge.txt", dir.write("level.quad", badLevel).filename(), "",
       "{Q} is not a QuadToneRIP ink curve file this program can read: line 261 is not a number (\"1,5\", in "
       "channel 2 of 8)"},
  };
  const auto out = dir / "out.quad";
  for (const auto& c : cases) {
    const auto m = (dir / c.measurements).string(), q = (dir / (c.quad.empty() ? "in.quad" : c.quad)).string();
    auto line = "inkcurve: " + c.line + "\n";
    line = platform::text::replaceAll(platform::text::replaceAll(line, "{M}", m), "{Q}", q);
    auto r = inkcurve({"linearize", m, q, "--out", out.string()});
    EXPECT_EQ(r.status, 1) << c.line;
    EXPECT_EQ(r.err, c.alert + line);
    EXPECT_FALSE(std::filesystem::exists(out)) << c.line;
  }
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo.txt"));
}

TEST(LinearizeCommand, OnlyRegularFilesAreReplaced) {
  TempDir dir;
  testsupport::HangGuard guard;
  auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  auto quad = dir.write("in.quad", eightChannelQuad());
  const auto fifo = dir / "fifo.quad";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink(fifo, dir / "to-fifo.quad");
  std::filesystem::create_symlink("nowhere.quad", dir / "dangling.quad");
  for (const char* name : {"fifo.quad", "to-fifo.quad", "dangling.quad"}) {
    const auto target = (dir / name).string();
    auto r = inkcurve({"linearize", wedge.string(), quad.string(), "--out", target});
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_NE(r.err.find("inkcurve: Could not write \"" + target + "\": "), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << "refused before anything is read";
  }
  EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(fifo)));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "to-fifo.quad"));
  EXPECT_EQ(std::filesystem::read_symlink(dir / "dangling.quad"), "nowhere.quad");
  EXPECT_FALSE(std::filesystem::exists(dir / "nowhere.quad"));
}

TEST(LinearizeCommand, CompositePointsOfTheACV) {
  std::vector<double> ramp;
  for (int i = 0; i < 256; ++i) ramp.push_back(i * 100.0 / 255);
  auto points = cli::acvCompositePoints(ramp);
  ASSERT_EQ(points.size(), 16u);
  for (int k = 0; k < 16; ++k) {
    const int input = k == 15 ? 255 : 17 * k;
    EXPECT_EQ(points[k], (std::pair<uint16_t, uint16_t>(input, input)));
  }
  // Outputs are held to 0..255; a value that is not a number gives 0; a short
  // curve gives only the points it reaches.
  const std::pair<double, uint16_t> held[] = {{120, 255}, {-5, 0}, {NAN, 0}, {50, 128}, {0.2, 1}, {0.19, 0}};
  for (const auto& [value, output] : held)
    EXPECT_EQ(cli::acvCompositePoints(std::vector<double>(256, value))[3].first, output) << value;
  EXPECT_EQ(cli::acvCompositePoints(std::vector<double>(100, 50)).size(), 2u + 5u);
}

// The corrected .quad and _ref.quad beside the XML curves are each held to
// the limit of a file this program reads, the notes that fill it counted.
TEST(LinearizeCommand, QuadExportsOverTheInputLimitAreNamed) {
  linearization::v2LinearizationDataModel document;
  const auto quad = linearization::QuadDataFile::fromLines(platform::text::split(eightChannelQuad(), "\n"));
  ASSERT_TRUE(quad->readQuadFile(quad->rawQuadData));
  quad->outputQuadCurveArray = *quad->inputQuadCurveArray;
  // Notes that fill the corrected .quad to the limit; _ref.quad adds a line.
  const auto full = platform::files::kInputFileSizeLimit - *quad->quadFileTextSize(quad->outputQuadCurveArray, {{""}});
  const size_t line = std::string("\n# Reference quad file for xml file: xml").size();
  const std::string over =
      "67108865 bytes, more than the limit of 67108864 bytes (64 MB) of a file this program reads, ";
  const std::tuple<uintmax_t, bool, bool, std::string> cases[] = {
      {full, true, false, ""},
      {full + 1, true, false, "the corrected .quad would be " + over + std::to_string(full + 1) + " of them the notes"},
      {full - line, true, true, ""},
      {full - line + 1, false, true, "_ref.quad beside the XML curves would be " + over + std::to_string(full - 1) +
                                         " of them the notes"},
  };
  for (const auto& [size, quadOut, xml, reason] : cases) {
    cli::ExportSources sources{document, quad, std::string(size, 'x')};
    const auto xmlFolder = xml ? std::optional<std::filesystem::path>("out/xml") : std::nullopt;
    EXPECT_EQ(cli::oversizedQuadExport(sources, quadOut, xmlFolder).value_or(""), reason) << size << quadOut << xml;
  }
}

TEST(LinearizeCommand, AResponseThatDoesNotFallWritesNoCorrection) {
  TempDir dir;
  auto quad = dir.write("in.quad", eightChannelQuad());
  const auto out = dir / "out.quad", acv = dir / "x.acv", cube = dir / "x.cube", xml = dir / "xml";
  // Flat: no curve, the alert once and the readings named as the cause.
  auto r = inkcurve({"linearize", dir.write("flat.txt", testsupport::cgatsWedge(std::vector<double>(21, 50.0))).string(),
                     quad.string(), "--out", out.string(), "--acv", acv.string(), "--cube", cube.string(), "--xml-dir",
                     xml.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Failed to Linearize: Please load a valid quad curve file and measurement data file and try again\n"
            "inkcurve: no correction curve could be built from these readings: they do not fall from paper white to "
            "the darkest step (L* 50.00 to L* 50.00)\n");
  EXPECT_EQ(r.out.find("wrote"), std::string::npos) << r.out;
  for (const auto& path : {out, acv, cube, xml}) EXPECT_FALSE(std::filesystem::exists(path)) << path;
  // A wedge listed from the dark end is read that way and corrected.
  r = inkcurve({"linearize", dir.write("rising.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 8, 92))).string(),
                quad.string(), "--out", out.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("readings: 21 steps, read from the dark end, resampled to 256\npaper white L*: 92.00"),
            std::string::npos)
      << r.out;
}

TEST(LinearizeCommand, FailuresAndUsage) {
  TempDir dir;
  auto quad = dir.write("in.quad", eightChannelQuad());
  auto out = dir / "out.quad";

  // A wedge whose body is cut short: the load alert, status 1, no file.
  auto broken = testsupport::cgatsWedge({90, 70, 50, 30, 10});
  broken = broken.substr(0, broken.find("3\tA3"));
  auto wedge = dir.write("broken.txt", broken);
  auto r = inkcurve({"linearize", wedge.string(), quad.string(), "--out", out.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Failed to Load Measurement Data: Please check"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));

  // A .quad that is not one.
  auto good = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  auto notQuad = dir.write("bad.quad", "## QuadToneRIP K,C,M\n");
  r = inkcurve({"linearize", good.string(), notQuad.string(), "--out", out.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not a QuadToneRIP"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));

  // A measurement file of a type the open panel would not offer.
  r = inkcurve({"linearize", quad.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("expected a file of type"), std::string::npos) << r.err;

  // An unwritable destination is reported, never shown as success; every
  // output's folder is looked at before anything is read or made.
  r = inkcurve({"linearize", good.string(), quad.string(), "--out", (dir / "nowhere" / "x.quad").string(),
                "--xml-dir", (dir / "nowhere" / "xml").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "inkcurve: Could not write \"" + (dir / "nowhere" / "x.quad").string() +
                       "\": No such file or directory\n");
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));

  // A folder that is a file, or a link that leads nowhere, is found before
  // any other output is written; through a working link the folder is made.
  std::filesystem::create_symlink("nowhere", dir / "gone");
  std::filesystem::create_directory(dir / "real");
  std::filesystem::create_symlink(dir / "real", dir / "L");
  const auto cube = dir / "x.cube";
  const std::pair<std::filesystem::path, std::string> folders[] = {
      {quad, quad.string() + ": not a folder"},
      {quad / "xml", quad.string() + ": not a folder, so " + (quad / "xml").string() + " cannot be made in it"},
      {dir / "gone", (dir / "gone").string() + ": a symbolic link that leads nowhere (to nowhere)"},
      {dir / "gone" / "xml", (dir / "gone").string() + ": a symbolic link that leads nowhere (to nowhere)"},
      {dir / "L" / "new", ""},
  };
  for (const auto& [folder, message] : folders) {
    r = inkcurve({"linearize", good.string(), quad.string(), "--cube", cube.string(), "--xml-dir", folder.string()});
    EXPECT_EQ(r.status, message.empty() ? 0 : 1) << folder << r.err;
    EXPECT_EQ(r.out.empty(), !message.empty()) << "refused before anything is read: " << r.out;
    EXPECT_NE(r.err.find(message.empty() ? "" : "inkcurve: " + message + "\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("wrote " + (folder / "_ref.quad").string() + "\n") != std::string::npos, message.empty());
    EXPECT_EQ(std::filesystem::exists(cube), message.empty()) << folder;
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "real" / "new" / "Black.xml"));
  EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));

  for (auto args : std::vector<std::vector<std::string>>{
           {"linearize"},
           {"linearize", good.string(), "--xml-dir", dir.path().string()},
           {"linearize", good.string(), "--out", out.string()},
           {"linearize", good.string(), "--smoothing", "101"},
           {"linearize", good.string(), "--spline", "x"},
           {"linearize", good.string(), "--bogus"},
           {"linearize", good.string(), quad.string(), "third"},
       }) {
    r = inkcurve(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_NE(r.err.find("usage: inkcurve linearize"), std::string::npos);
  }
  EXPECT_EQ(inkcurve({"linearize", "--help"}).status, 0);
}

// Every path below `dir` with the bytes of each file.
std::map<std::string, std::string> contents(const std::filesystem::path& dir) {
  std::map<std::string, std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
    found[entry.path().lexically_relative(dir).string()] = entry.is_regular_file() ? slurp(entry.path()) : "/";
  return found;
}

std::string lines(int n) {
  std::string s = "1";
  for (int i = 2; i <= n; ++i) s += "\n" + std::to_string(i);
  return s;
}

// The current folder while it lives.
struct InFolder {
  std::filesystem::path previous = std::filesystem::current_path();
  explicit InFolder(const std::filesystem::path& folder) { std::filesystem::current_path(folder); }
  ~InFolder() { std::filesystem::current_path(previous); }
};

TEST(LinearizeCommand, NamesAndNotesAreCheckedBeforeAnythingIsWritten) {
  TempDir dir;
  const auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  const auto quad = dir.write("in.quad", eightChannelQuad());
  // Notes of 51 comment lines read well, but not with the reference line the
  // XML export adds.
  std::vector<std::string> comments;
  for (int i = 1; i <= 51; ++i) comments.push_back("# " + std::to_string(i));
  const auto fullQuad = dir.write("full.quad", testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK",
                                                                          testsupport::eightChannelMarkers(),
                                                                          [](int, int i) { return i * 100.0; },
                                                                          comments));
  const auto out = dir.write("out.quad", "old contents");
  // Other names of the measurement file: a link, a second name, and one the
  // XML export would write.
  std::filesystem::create_symlink(wedge, dir / "readings.cube");
  std::filesystem::create_hard_link(wedge, dir / "second-name.acv");
  std::filesystem::create_directory(dir / "xmlin");
  std::filesystem::copy_file(wedge, dir / "xmlin" / "Black.xml");
  std::filesystem::create_symlink(dir / "xmlin" / "Black.xml", dir / "black.txt");
  std::filesystem::create_directory(dir / "sub");
  // Other names of the .quad being corrected, which only --out may replace.
  std::filesystem::create_symlink(quad, dir / "curve.CUBE");
  std::filesystem::create_hard_link(quad, dir / "curve.acv");
  std::filesystem::create_symlink(quad, dir / "curve.txt");
  std::filesystem::create_directory(dir / "xmlq");
  const auto refQuad = dir.write("xmlq/_ref.quad", eightChannelQuad());
  // Other names of an output.
  std::filesystem::create_symlink(out, dir / "also.txt");
  std::filesystem::create_hard_link(out, dir / "twin.acv");
  // A plot that would be one of the files read or written.
  std::filesystem::create_symlink(wedge, dir / "readings.png");
  std::filesystem::create_symlink(quad, dir / "curve.png");
  std::filesystem::create_hard_link(out, dir / "twin.png");
  // A folder under a second name: a link, and a bind mount.
  std::filesystem::create_directory(dir / "xmlout");
  std::filesystem::create_directory_symlink(dir / "xmlout", dir / "toxml");
  std::filesystem::create_directory(dir / "bound");
  RootSetUp root;
  const bool bound = root.bind(dir / "xmlout", dir / "bound");
  const std::string sub = (dir / "sub").string() + "/", here = (dir / ".").string();
  const auto before = contents(dir.path());
  // An empty name would be written into the current folder: make it `dir`.
  InFolder inDir(dir.path());

  const std::string w = wedge.string(), q = quad.string(), o = out.string(), x = (dir / "xml").string();
  std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
      {{w, q, "--out", ""}, 2, "--out needs a file name"},
      {{w, q, "--out", sub}, 2, "names a folder"},
      {{w, q, "--out", o, "--cube", here}, 2, "--cube '" + here + "' names a folder"},
      {{w, "--acv", "", "--cube", o}, 2, "--acv needs a file name"},
      {{w, "--measurements-out", sub}, 2, "--measurements-out '" + sub + "' names a folder"},
      {{w, q, "--out", o, "--xml-dir", ""}, 2, "--xml-dir needs a folder name"},
      {{w, q, "--out", o, "--xml-dir="}, 2, "--xml-dir needs a folder name"},
      {{"", q, "--out", o}, 2, "MEASUREMENTS needs a file name"},
      {{w, "", "--out", o}, 2, "QUAD needs a file name"},
      {{w, q, "-x"}, 2, "unknown option -x"},
      {{w, "-", q}, 2, "unknown option -\n"},
      {{w, q, "--out", o, "--notes", "Pt/Pd\nK Curve"}, 2, "\"# K Curve\", which a reader takes for the first"},
      {{w, q, "--out", o, "--notes", lines(52)}, 2, "the notes have 52 lines, but a .quad file has room for 51"},
      {{w, q, "--xml-dir", x, "--notes", lines(51)}, 2, "_ref.quad beside the XML curves adds a line"},
      // The raw readings are never written over, under any of their names.
      {{w, "--measurements-out", w}, 2, "--measurements-out would write " + w + ", which is the measurement file "
                                        "being read (" + w + "); its raw readings cannot be made again"},
      {{w, "--measurements-out", (dir / "wedge").string()}, 2, "which is the measurement file being read"},
      {{w, "--cube", (dir / "readings.cube").string()}, 2, "which is the measurement file being read"},
      {{w, "--acv", (dir / "second-name").string()}, 2, "which is the measurement file being read"},
      {{(dir / "black.txt").string(), q, "--xml-dir", (dir / "xmlin").string()}, 2,
       "--xml-dir would write " + (dir / "xmlin" / "Black.xml").string() + ", which is the measurement file"},
      {{w, q, "--cube", (dir / "curve.CUBE").string()}, 2, "--cube would write " + (dir / "curve.CUBE").string() +
                                                               ", which is the .quad file being corrected (" + q +
                                                               "); only --out may replace it"},
      {{w, q, "--acv", (dir / "curve").string()}, 2, "which is the .quad file being corrected"},
      {{w, q, "--measurements-out", (dir / "curve.txt").string()}, 2, "which is the .quad file being corrected"},
      {{w, refQuad.string(), "--xml-dir", (dir / "xmlq").string()}, 2,
       "--xml-dir would write " + refQuad.string() + ", which is the .quad file being corrected"},
      // No two outputs write one file, under any of its names, made or not yet.
      {{w, q, "--out", o, "--measurements-out", (dir / "also").string()}, 2,
       "--measurements-out would write " + (dir / "also.txt").string() + ", which --out writes too (" + o + ")"},
      {{w, q, "--out", o, "--acv", (dir / "twin.acv").string()}, 2, "which --out writes too"},
      {{w, q, "--out", "./new/_ref", "--xml-dir", "new"}, 2,
       "--xml-dir would write new/_ref.quad, which --out writes too (./new/_ref.quad)"},
      {{w, q, "--out", "f.quad", "--xml-dir", "f.quad"}, 2, "--out would write f.quad, where --xml-dir f.quad needs"},
      {{w, q, "--out", "g", "--xml-dir", "g.quad/xml"}, 2, "g.quad, where --xml-dir g.quad/xml needs a folder"},
      {{w, q, "--out", (dir / "toxml" / "_ref").string(), "--xml-dir", (dir / "xmlout").string()}, 2,
       "--xml-dir would write " + (dir / "xmlout" / "_ref.quad").string() + ", which --out writes too"},
      {{w, q, "--xml-dir", (dir / "xmlout" / "c.cube").string(), "--cube", (dir / "toxml" / "c").string()}, 2,
       "--cube would write " + (dir / "toxml" / "c.cube").string() + ", where --xml-dir"},
      {{w, q, "--plot", sub}, 2, "--plot '" + sub + "' names a folder"},
      {{w, "--plot", (dir / "readings").string()}, 2, "--plot would write " + (dir / "readings.png").string() +
                                                          ", which is the measurement file being read"},
      {{w, q, "--plot", (dir / "curve.png").string()}, 2, "which is the .quad file being corrected"},
      {{w, q, "--out", o, "--plot", (dir / "twin").string()}, 2,
       "--plot would write " + (dir / "twin.png").string() + ", which --out writes too"},
      {{w, q, "--plot", "h", "--xml-dir", "h.png/xml"}, 2, "--plot would write h.png, where --xml-dir h.png/xml"},
      // A Latin-1 "café" as a Latin-1 terminal passes it.
      {{w, q, "--out", o, "--notes", "caf\xE9"}, 2, "--notes would make a .quad file that cannot be read back: "
                                                    "the notes are not UTF-8 text"},
      {{w, q, "--xml-dir", (dir / "caf\xE9").string()}, 2,
       "--xml-dir: the folder's name \"caf\\xE9\" goes into every XML curve and into _ref.quad, but it is not UTF-8"},
      {{w, q, "--xml-dir", (dir / "a\nK Curve").string() + "/."}, 2, "\"a\\x0AK Curve\" goes into every XML curve "
                                                                    "and into _ref.quad, but it holds a control"},
      {{w, fullQuad.string(), "--out", o, "--xml-dir", x}, 1,
       "inkcurve: the notes of " + fullQuad.string() + " would make a .quad file that cannot be read back: _ref.quad "
       "beside the XML curves adds a line to the notes: the notes have 52 lines, but a .quad file has room for 51; "
       "a reader takes the line after them for the first channel's marker; give other notes with --notes\n"},
  };
  if (bound) {
    cases.push_back({{w, q, "--out", (dir / "xmlout" / "_ref.quad").string(), "--xml-dir", (dir / "bound").string()},
                     2, "--xml-dir would write " + (dir / "bound" / "_ref.quad").string() + ", which --out writes"});
    cases.push_back({{w, q, "--out", (dir / "xmlout" / "p.quad").string(), "--xml-dir", (dir / "bound" / "p.quad").string()},
                     2, "p.quad, where --xml-dir " + (dir / "bound" / "p.quad").string() + " needs a folder"});
  }
  for (auto [args, status, message] : cases) {
    args.insert(args.begin(), "linearize");
    SCOPED_TRACE(platform::text::join(args, " "));
    const auto r = inkcurve(args);
    EXPECT_EQ(r.status, status);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("wrote"), std::string::npos) << r.out;
    EXPECT_EQ(contents(dir.path()), before);
  }
  // ".." is checked by the name it stands for.
  std::filesystem::create_directories(dir / "caf\xE9" / "sub");
  {
    InFolder inSub(dir / "caf\xE9" / "sub");
    const auto r = inkcurve({"linearize", w, q, "--xml-dir", ".."});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("the folder's name \"caf\\xE9\""), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir / "caf\xE9" / "sub"));
  }
  // Notes of 51 lines fit a .quad of its own.
  EXPECT_EQ(inkcurve({"linearize", w, fullQuad.string(), "--out", o}).status, 0);
  EXPECT_EQ(readCurves(out).size(), 8u);
  // A curve may be corrected in place.
  const auto original = readCurves(quad);
  EXPECT_EQ(inkcurve({"linearize", w, q, "--out", q}).status, 0);
  EXPECT_EQ(readCurves(quad).size(), 8u);
  EXPECT_NE(readCurves(quad), original);
  if (!bound) GTEST_SKIP() << "not run: a folder under a bind mount, " << RootSetUp::bindNeeds;
}

// Runs inkcurve, in a death test, as a user whom permission bits hold (root
// passes them all): "nobody" when the tests run as root.
void runUnprivileged(const std::vector<std::string>& args) {
  if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
    std::_Exit(99);
  const auto r = inkcurve(args);
  std::fputs(r.err.c_str(), stderr);
  std::_Exit(r.out.empty() ? r.status : 10 + r.status);  // a run that printed a line has read its files
}

TEST(LinearizeCommand, AFailedRunReplacesNoFileAndProtectedFilesAreKept) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child must see this test's folder
  TempDir dir(TempDir::Reach::everyone);
  ::chmod(dir.path().c_str(), 0777);
  const auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  const auto quad = dir.write("in.quad", eightChannelQuad());
  const auto kept = dir.write("kept.quad", "kept"), old = dir.write("old.quad", "old");
  ::chmod(kept.c_str(), 0444);  // a curve made read-only to keep it: cp would not replace it
  ::chmod(old.c_str(), 0666);
  std::filesystem::create_directory(dir / "locked");
  ::chmod((dir / "locked").c_str(), 0555);
  const std::string acv = (dir / "x.acv").string();
  std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--out", kept.string(), "--acv", acv}, "kept.quad\": Permission denied"},
      {{"--out", old.string(), "--acv", acv, "--xml-dir", (dir / "locked").string()},
       "locked/_ref.quad\": Permission denied"},
      {{"--out", old.string(), "--xml-dir", (dir / "locked" / "xml").string()},
       "locked/xml: cannot make the folder: Permission denied"},
  };
  // What rename refuses although the file may be written: another user's
  // file in a sticky folder, a mount point, an append-only file or folder.
  for (const char* name : {"sticky/theirs.cube", "mount.acv", "from.acv", "log.acv", "append/x.txt"}) {
    std::filesystem::create_directories((dir / name).parent_path());
    ::chmod((dir / name).parent_path().c_str(), name[0] == 's' ? 01777 : 0777);
    ::chmod(dir.write(name, name).c_str(), 0666);
  }
  // Rows this user cannot set up, and why.
  std::vector<std::string> notRun;
  // Run as root, the program runs as "nobody" and the file is root's.
  if (::geteuid() == 0)
    cases.push_back({{"--out", old.string(), "--cube", (dir / "sticky/theirs.cube").string()},
                     "theirs.cube\": another user's file in a sticky folder, where only its owner may replace it"});
  else
    notRun.push_back("another user's file in a sticky folder, which only root may make");
  RootSetUp root;
  if (root.bind(dir / "from.acv", dir / "mount.acv"))
    cases.push_back({{"--out", old.string(), "--acv", (dir / "mount.acv").string()}, "mount.acv\": a mount point"});
  else
    notRun.push_back(std::string("a mount point, ") + RootSetUp::bindNeeds);
  if (root.makeAppendOnly(dir / "log.acv"))
    cases.push_back({{"--out", old.string(), "--acv", (dir / "log.acv").string()}, "log.acv\": an append-only file"});
  else
    notRun.push_back(std::string("an append-only file, ") + RootSetUp::appendOnlyNeeds);
  if (root.makeAppendOnly(dir / "append"))
    cases.push_back({{"--out", old.string(), "--measurements-out", (dir / "append/x.txt").string()},
                     "x.txt\": its folder is append-only"});
  else
    notRun.push_back(std::string("an append-only folder, ") + RootSetUp::appendOnlyNeeds);
  const auto before = contents(dir.path());
  for (auto [args, message] : cases) {
    args.insert(args.begin(), {"linearize", wedge.string(), quad.string()});
    EXPECT_EXIT(runUnprivileged(args), testing::ExitedWithCode(1), message);
    EXPECT_EQ(contents(dir.path()), before);
  }
  if (!notRun.empty()) GTEST_SKIP() << "not run: " << platform::text::join(notRun, "; ");
}

std::string repeated(const std::string& text, size_t times) {
  std::string s;
  for (size_t i = 0; i < times; ++i) s += text;
  return s;
}

// A name that its file system would refuse only at the rename at the end,
// after other outputs had replaced their files, is refused before anything is
// read or written, whichever command writes it.
TEST(LinearizeCommand, NamesTooLongOrNotUtf8AreRefusedBeforeAnyFileIsReplaced) {
  TempDir dir;
  const long nameMax = ::pathconf(dir.path().c_str(), _PC_NAME_MAX);
  if (nameMax != 255) GTEST_SKIP() << "not run: the rows are for names of at most 255 bytes, not " << nameMax;
  const auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  const auto quad = dir.write("in.quad", eightChannelQuad());
  dir.write("out.quad", "old curve");
  dir.write("c.acv", "old acv");
  dir.write("s.quad", "old starter");
  InFolder inDir(dir.path());  // names as a user types them, whatever folder the tests run in
  const std::string cjk = repeated("\uFF21", 84);  // 84 × 3 bytes, 256 with ".png"
  const std::vector<std::string> linearize = {"linearize", wedge.string(), quad.string(), "--out", "out.quad",
                                              "--acv", "c.acv"};
  const std::vector<std::string> starter = {"starter", "--printer", "P600/P800", "--process", "Carbon Transfer",
                                            "--out", "s.quad"};
  const std::string tooLong = " bytes long; a file name on this file system may be at most 255 bytes";
  const std::tuple<std::vector<std::string>, std::vector<std::string>, int, std::string> cases[] = {
      {linearize, {"--plot", std::string(252, 'p')}, 1,
       "inkcurve: --plot: pppppppppppppppppppppppppp...pppppppppp.png: its name is 256" + tooLong},
      {linearize, {"--plot", "sub/" + cjk}, 1,
       "inkcurve: --plot: sub/\uFF21\uFF21\uFF21\uFF21\uFF21\uFF21\uFF21\uFF21...\uFF21\uFF21\uFF21.png: "
       "its name is 256" + tooLong},
      {linearize, {"--cube", std::string(300, 'y') + "/c"}, 1,
       "inkcurve: --cube: yyyyyyyyyyyyyyyyyyyyyyyyyy...yyyyyyyyyyyyyy/c.cube: the name of its folder "
       "yyyyyyyyyyyyyyyyyyyyyyyyyy...yyyyyyyyyyyyyy is 300 bytes long; a file or folder name on this file system "
       "may be at most 255 bytes"},
      {linearize, {"--measurements-out", "in.quad/m"}, 1,
       "inkcurve: Could not write \"in.quad/m.txt\": Not a directory"},
      // The XML folder's files count, the longest name and its temporary file
      // too: a folder of 4079 bytes takes "_ref.quad" (4089) but not the
      // temporary file beside it.
      {linearize, {"--xml-dir", repeated("d/", 2039) + "d"}, 1,
       "inkcurve: --xml-dir: " + repeated("d/", 53) + "..." + repeated("/d", 22) + "/_ref.quad: the path is 4089 "
       "bytes long, and the temporary file written beside it first (.inkcurve-XXXXXX) would be 4096 bytes long; a "
       "path may be at most 4095 bytes"},
      {linearize, {"--xml-dir", "caf\xE9/xml"}, 2,
       "inkcurve linearize: --xml-dir: the name of the folder \"caf\\xE9\" it would make is not UTF-8 text, and a "
       "file system that keeps names in UTF-8 (FAT, exFAT, NTFS) refuses it"},
      {starter, {"--plot", cjk}, 1,
       "inkcurve: --plot: \uFF21\uFF21\uFF21\uFF21\uFF21\uFF21\uFF21\uFF21...\uFF21\uFF21\uFF21.png: its name is 256" +
           tooLong},
      {starter, {"--plot", "caf\xE9"}, 2,
       "inkcurve starter: --plot: the name \"caf\\xE9.png\" is not UTF-8 text, and a file system that keeps names "
       "in UTF-8 (FAT, exFAT, NTFS) refuses it"},
      // A name of exactly 255 bytes is written.
      {linearize, {"--plot", std::string(251, 'x')}, 0, ""},
  };
  std::filesystem::create_directory("sub");
  for (const auto& [command, extra, status, line] : cases) {
    auto args = command;
    args.insert(args.end(), extra.begin(), extra.end());
    SCOPED_TRACE(platform::text::join(args, " "));
    const auto before = contents(dir.path());
    const auto r = inkcurve(args);
    EXPECT_EQ(r.status, status);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), line);
    if (status != 0) {
      EXPECT_EQ(r.out, "") << "refused before anything is read";
      EXPECT_EQ(contents(dir.path()), before) << "no file replaced, made or left behind";
    }
  }
  EXPECT_EQ(slurp(dir / (std::string(251, 'x') + ".png")).substr(1, 3), "PNG");
  EXPECT_NE(slurp(dir / "out.quad"), "old curve");
  EXPECT_EQ(slurp(dir / "s.quad"), "old starter");
}

TEST(LinearizeCommand, XmlChannelsWithoutAFileAreSkippedWithAWarning) {
  TempDir dir;
  const auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  auto markers = testsupport::eightChannelMarkers();
  markers.insert(markers.end(), {"# V Curve", "# MK Curve"});
  const auto tenInks = dir.write("v.quad", testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,V,MK",
                                                                     markers, [](int, int i) { return i * 200.0; }));
  const auto xml = dir / "xml";
  auto r = inkcurve({"linearize", wedge.string(), tenInks.string(), "--xml-dir", xml.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "inkcurve: warning: can't save xml: no XML file for the channel \"# V Curve\"; skipped\n"
            "inkcurve: warning: can't save xml: no XML file for the channel \"# MK Curve\"; skipped\n");
  EXPECT_EQ(contents(xml).size(), 9u);  // eight channels and _ref.quad
  EXPECT_NE(r.out.find("wrote " + (xml / "_ref.quad").string()), std::string::npos) << r.out;

  // A channel whose file an earlier one took is a file lost: the run fails.
  const std::vector<std::string> clashing = {"# K Curve", "# C Curve", "# M Curve", "# K2 Curve"};
  const auto clash = dir.write("k2.quad", testsupport::quadFileText("## QuadToneRIP K,C,M,Y", clashing,
                                                                    [](int, int i) { return i * 200.0; }));
  r = inkcurve({"linearize", wedge.string(), clash.string(), "--xml-dir", (dir / "xml2").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("would replace Black.xml"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\ncan't save xml\n"), std::string::npos) << r.err;

  // The warnings come while the earlier outputs wait in their temporary
  // files. A rename that fails then (a folder made where the .acv goes) ends
  // the run with status 1 naming the file, and only what was replaced is
  // named "wrote"; a standard output whose reader is gone (a stream that
  // takes nothing) fails the run and nothing is replaced.
  const auto out = dir.write("out.quad", "old").string(), kept = dir.write("kept.quad", "old").string();
  const auto acv = dir / "x.acv", xml3 = dir / "xml3";
  std::ostringstream text;
  std::ostream closed(nullptr);
  HookedBuffer errors;
  std::ostream errStream(&errors);
  errors.atFirstWrite = [&] { std::filesystem::create_directory(acv); };
  EXPECT_EQ(cli::run({"linearize", wedge.string(), tenInks.string(), "--out", out, "--acv", acv.string(), "--xml-dir",
                      xml3.string()}, text, errStream), 1);
  EXPECT_EQ(text.str().substr(text.str().find("wrote")), "wrote " + out + "\n");
  EXPECT_NE(errors.str().find("inkcurve: Could not write \"" + acv.string() + "\": Is a directory\n"),
            std::string::npos);
  std::filesystem::remove(acv);
  EXPECT_EQ(cli::run({"linearize", wedge.string(), tenInks.string(), "--out", kept, "--acv", acv.string()}, closed,
                     errStream), 1);
  EXPECT_NE(errors.str().rfind("inkcurve: could not write to standard output\n"), std::string::npos);
  EXPECT_EQ(slurp(kept) + std::to_string(std::filesystem::exists(acv)), "old0");
  for (const auto& [name, bytes] : contents(dir.path())) EXPECT_EQ(name.find(".inkcurve-"), std::string::npos);
}

TEST(LinearizeCommand, WarnsAboutValuesThatMakeNoSenseInPrint) {
  TempDir dir;
  const auto quad = dir.write("in.quad", eightChannelQuad());
  auto level = [](int c, int i) { return c == 1 && i == 7 ? -5 : c == 0 && i == 9 ? 70000 : i * 250.0; };
  const auto odd = dir.write("odd.quad", testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK",
                                                                   testsupport::eightChannelMarkers(), level));
  const auto even = dir.write("even.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  // LK alone, inked from step 11 to step 199 only.
  auto lkBump = [](int c, int i) { return c == 6 && i > 10 && i < 200 ? 20000 * std::sin(M_PI * (i - 10) / 190) : 0; };
  const auto bump = dir.write("bump.quad", testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK",
                                                                     testsupport::eightChannelMarkers(), lkBump));
  const auto belowZero = dir.write("below.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, -4)));
  const auto blank = dir.write("blank.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 50.5, 49.5)));
  // Flat at both ends, so that smoothing keeps them: a fall of exactly 5.
  std::vector<double> fiveLs(21, 52.5);
  std::fill_n(fiveLs.begin(), 8, 55.0);
  std::fill_n(fiveLs.rbegin(), 8, 50.0);
  const auto five = dir.write("five.txt", testsupport::cgatsWedge(fiveLs));
  // A typo for L* (read as 1.0, a false black patch) and an empty a* field.
  auto typoText = testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8));
  for (const auto& [row, typed] : {std::pair<std::string, std::string>{"11\tA11\t50.00\t", "11\tA11\tabc\t"},
                                   {"12\tA12\t45.80\t0.50", "12\tA12\t45.80\t"}})
    typoText.replace(typoText.find(row), row.size(), typed);
  const auto typo = dir.write("typo.txt", typoText);
  const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
      {{even.string(), odd.string()},
       {"warning: " + odd.string() + " holds 2 ink levels outside 0...65535 (the first is 70000 at step 9 of K)"}},
      {{belowZero.string()}, {"inkcurve: warning: Dmax is not a number: the darkest L* is -3.63"}},
      {{blank.string()}, {"inkcurve: warning: the readings fall only 1.00 L* from paper white to the darkest step; "
                          "under 5 L* they look like blank paper, not a printed wedge"}},
      // Its flat stretches, smoothed, climb back a little: the correction
      // turns back where they meet.
      {{five.string(), "--steps", "21"},
       {"inkcurve: warning: the correction turns back between input 46% and 47% (it maps 46% to 40.0% and 47% to "
        "60.4%): the smoothed readings climb back there, and the corrected curves run backwards; look at the readings "
        "there (--plot) and measure again (it turns back 3 more times)"}},
      {{typo.string()},
       {"inkcurve: warning: " + typo.string() + ": line 19: L* (field 3) reads \"abc\", not a number; read as 1.0",
        "inkcurve: warning: " + typo.string() + ": 1 more field, on line 20, is not a number either and was read "
                                                "as its default",
        // Read as 1.0, it sticks out of the wedge and is left out of the curve.
        "inkcurve: warning: " + typo.string() + ": line 19: reading 11 (L* 1.00) lies 44.8 L* outside its "
                                                "neighbours (L* 54.20 and 45.80): a smudge or a misplaced instrument? "
                                                "it was left out of the curve"}},
      // The strongest spline sends K to 0 at every step but the last four,
      // which keep its top level; LK keeps ink at every step, but little.
      {{even.string(), quad.string(), "--spline", "100"},
       {"inkcurve: warning: the correction leaves channel K 2% of its ink: ink at only 4 of its 256 steps, 252 to "
        "255 (before: 195 steps), up to level 42000 (before: 42000)\n",
        "inkcurve: warning: the correction leaves channel LK 1% of its ink: ink at 255 of its 256 steps, 1 to 255 "
        "(before: 254 steps), up to level 243 (before: 19999)\n"}},
      // On this wedge it sends every step to inputs near 0, where this LK has none.
      {{even.string(), bump.string(), "--spline", "100"},
       {"inkcurve: warning: the correction leaves channel LK no ink: every level is 0 (before: ink at 189 of its 256 "
        "steps, up to level 20000)\n"}},
  };
  for (const auto& [files, warnings] : cases) {
    auto args = files;
    args.insert(args.begin(), "linearize");
    SCOPED_TRACE(platform::text::join(args, " "));
    const auto r = inkcurve(args);
    EXPECT_EQ(r.status, 0);
    for (const auto& warning : warnings) EXPECT_NE(r.err.find(warning), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), static_cast<long>(warnings.size())) << r.err;
  }
  // The default spline control corrects without a warning.
  EXPECT_EQ(inkcurve({"linearize", even.string(), quad.string()}).err, "");
}

}  // namespace
