#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Cli.h"
#include "RunCli.h"
#include "linearization/QuadDataFile.h"
#include "platform/text/Text.h"
#include "starter_curves/StarterCurveTables.h"
#include "support/FakeHost.h"

namespace {

testsupport::CliRun starter(std::vector<std::string> args) {
  args.insert(args.begin(), "starter");
  return testsupport::runInkcurve(args);
}

TEST(StarterCommand, ListsTheTitles) {
  const auto r = starter({"--list"});
  EXPECT_EQ(r.status, cli::kExitOk);
  for (const char* title : {"x800-x880", "P5000/P7000/P9000", "P700/P900", "Standard Starter Curve", "HLV-PiezoPro"}) {
    EXPECT_NE(r.out.find(std::string("  ") + title + "\n"), std::string::npos) << title;
  }
  EXPECT_NE(cli::usageText().find("starter --printer TITLE"), std::string::npos);
}

TEST(StarterCommand, WritesTheChosenCurve) {
  testsupport::TempDir dir;
  const auto r = starter({"--printer", "4900/7900/9900", "--process", "HLV-PiezoPro", "--notes", "first try",
                          "--out", (dir / "pz").string()});
  EXPECT_EQ(r.status, cli::kExitOk) << r.err;
  EXPECT_EQ(r.err, "");
  const auto lines = platform::text::split(testsupport::slurp(dir / "pz.quad"), "\n");
  ASSERT_EQ(lines.size(), 2573u);
  EXPECT_EQ(lines[0], "## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,OR,GR");
  EXPECT_EQ(lines[2], "# first try");
  // The PiezoPro table with OR and GR all 0; no boost.
  const auto& table = starter_curves::starterCurveTables().k8PzPro;
  EXPECT_EQ(lines[4 + 255], std::to_string(static_cast<int>(table[0][255])));
  EXPECT_EQ(lines[3 + 8 * 257], "# OR Curve");
  EXPECT_EQ(lines.back(), "0");
}

TEST(StarterCommand, AppliesTheBoostsInTheScreensOrder) {
  testsupport::TempDir dir;
  const auto r = starter({"--printer", "P600/P800", "--process", "Carbon Transfer", "--ink-limit", "10", "--yellow",
                          "10", "--total-ink", "0.1", "--out", (dir / "c.quad").string()});
  ASSERT_EQ(r.status, cli::kExitOk) << r.err;
  const auto lines = platform::text::split(testsupport::slurp(dir / "c.quad"), "\n");
  ASSERT_EQ(lines.size(), 2059u);
  EXPECT_EQ(lines[2], "# ");
  const auto& table = starter_curves::starterCurveTables().k8Carbon;
  const double y = table[3][255] * 1.1 * 1.25 * 1.1;
  EXPECT_NEAR(std::stod(lines[3 + 3 * 257 + 256]), y, 1.0);
}

TEST(StarterCommand, ClampedLevelsAreWrittenWithAWarning) {
  testsupport::TempDir dir;
  const auto r = starter({"--printer", "x800-x880", "--process", "HLV-PiezoPro", "--ink-limit", "100",
                          "--total-ink", "0.5", "--out", (dir / "hot.quad").string()});
  EXPECT_EQ(r.status, cli::kExitOk);
  EXPECT_NE(r.err.find("inkcurve: warning: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("written clamped"), std::string::npos) << r.err;
  const auto lines = platform::text::split(testsupport::slurp(dir / "hot.quad"), "\n");
  EXPECT_EQ(lines[3 + 256], "65535");

  // Below 0 counts too: a negative yellow boost takes the top 51 steps of Y under 0.
  const auto y = starter({"--printer", "x800-x880", "--process", "HLV-PiezoPro", "--yellow", "-60", "--out",
                          (dir / "y.quad").string()});
  EXPECT_NE(y.err.find("warning: 51 ink levels lay outside"), std::string::npos) << y.err;
  EXPECT_EQ(platform::text::split(testsupport::slurp(dir / "y.quad"), "\n")[3 + 3 * 257 + 256], "0");

  // A boost that takes the last ink off the channels that had some names
  // itself (LLK, OR and GR of this table never had any).
  const auto none = starter({"--printer", "4900/7900/9900", "--process", "HLV-PiezoPro", "--total-ink",
                             "-0.999999999", "--out", (dir / "none.quad").string()});
  EXPECT_EQ(none.status, cli::kExitOk);
  EXPECT_EQ(none.err, "inkcurve: warning: --total-ink -0.999999999 leaves no ink in K, C, M, Y, LC, LM, LK: "
                      "every level is written 0\n");
  // 2^-12 of the 4096 at the top of C and LC leaves them exactly 1.0: ink still.
  const auto one = starter({"--printer", "x800-x880", "--process", "Carbon Transfer", "--total-ink",
                            "-0.999755859375", "--out", (dir / "one.quad").string()});
  EXPECT_EQ(one.status, cli::kExitOk);
  EXPECT_EQ(one.err, "");
}

TEST(StarterCommand, UnwritableFileFails) {
  testsupport::TempDir dir;
  const auto r = starter({"--printer", "x800-x880", "--process", "Lodima Grade 2", "--out",
                          (dir / "missing" / "x.quad").string()});
  EXPECT_EQ(r.status, cli::kExitFailed);
  EXPECT_NE(r.err.find("inkcurve: "), std::string::npos);
}

TEST(StarterCommand, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--printer", "x800-x880", "--out", "a.quad"},
      {"--process", "Carbon Transfer", "--out", "a.quad"},
      {"--printer", "x800-x880", "--process", "Carbon Transfer"},
      {"--printer", "x800", "--process", "Carbon Transfer", "--out", "a.quad"},
      {"--printer", "x800-x880", "--process", "carbon transfer", "--out", "a.quad"},
      {"--printer", "x800-x880", "--process", "Carbon Transfer", "--out", "a.quad", "--ink-limit", "ten"},
      {"--printer", "x800-x880", "--process", "Carbon Transfer", "--out", "a.quad", "--ink-limit", "nan"},
      {"--printer", "x800-x880", "--process", "Carbon Transfer", "--out", "a.quad", "--yellow", "2.5"},
      {"--printer", "x800-x880", "--process", "Carbon Transfer", "--out", "a.quad", "--total-ink", ""},
      {"--printer", "x800-x880", "--process", "Carbon Transfer", "--out", "a.quad", "--notes"},
      {"--printer", "x800-x880", "--printer", "P700/P900", "--process", "Carbon Transfer", "--out", "a.quad"},
      {"--printer", "x800-x880", "--process", "Carbon Transfer", "--out", "a.quad", "--gamma", "2"},
      {"--list", "--printer", "x800-x880"},
      {"--printer", "x800-x880", "--process", "Carbon Transfer", "--out", ""},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(platform::text::join(args, " "));
    const auto r = starter(args);
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("inkcurve starter: ", 0), 0u) << r.err;
  }
}

// Values that would write a curve without ink, a hidden file or a file that
// cannot be read back: refused with the reason, nothing written.
TEST(StarterCommand, RefusesWhatWouldWriteAUselessFile) {
  testsupport::TempDir dir;
  const std::string out = (dir / "c.quad").string(), folder = dir.path().string() + "/";
  std::string notes51 = "1";
  for (int i = 2; i <= 51; ++i) notes51 += "\n" + std::to_string(i);
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--ink-limit", "-150", "--out", out}, "--ink-limit must be above -100"},
      {{"--ink-limit", "-100", "--out", out}, "--ink-limit must be above -100"},
      {{"--yellow", "-100", "--out", out}, "--yellow must be above -100"},
      {{"--total-ink", "-1", "--out", out}, "--total-ink must be above -1"},
      {{"--out", folder}, "--out '" + folder + "' names a folder"},
      {{"--out", (dir / "..").string()}, "names a folder"},
      {{"--notes", "Carbon\nK Curve", "--out", out}, "\"# K Curve\", which a reader takes for the first"},
      {{"--notes", notes51, "--out", out}, "the notes have 51 lines, but a .quad file has room for 50"},
      {{"--notes", "caf\xE9", "--out", out}, "--notes would make a .quad file that cannot be read back: the notes "
                                             "are not UTF-8 text"},
      {{"-x", "--out", out}, "unknown option -x"},
  };
  for (const auto& [extra, message] : cases) {
    std::vector<std::string> args = {"--printer", "x800-x880", "--process", "Carbon Transfer"};
    args.insert(args.end(), extra.begin(), extra.end());
    SCOPED_TRACE(platform::text::join(args, " "));
    const auto r = starter(args);
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("inkcurve starter: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  }
  // Just inside the limits the curve is written and reads back.
  EXPECT_EQ(starter({"--printer", "x800-x880", "--process", "Carbon Transfer", "--ink-limit", "-99.9", "--yellow", "-99", "--total-ink",
                     "-0.9", "--notes", notes51.substr(0, notes51.rfind('\n')), "--out", out}).status, cli::kExitOk);
  auto quad = linearization::QuadDataFile::fromFile(out);
  EXPECT_TRUE(quad && quad->readQuadFile(quad->rawQuadData));
}

}  // namespace
