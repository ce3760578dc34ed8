#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>

#include "CurveEdits.h"
#include "RunCli.h"
#include "WebDocument.h"
#include "linearization/QuadDataFile.h"
#include "linearization/v2LinearizationDataModel.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"

namespace {

using cli::ChannelEdits;
using cli::CurvePoint;
using Levels = std::vector<double>;
using testsupport::slurp;

const std::filesystem::path kExamples(INKCURVE_EXAMPLES);

Levels risingChannel() {
  Levels levels;
  for (int i = 0; i < 256; ++i) levels.push_back(40000.0 * std::pow(i / 255.0, 1.5));
  return levels;
}

std::vector<CurvePoint> points(const std::string& text) {
  std::string error;
  auto parsed = cli::parseCurvePoints(text, error);
  EXPECT_TRUE(parsed) << text << ": " << error;
  return parsed.value_or(std::vector<CurvePoint>{});
}

TEST(CurveEdits, EachEditKeepsItsPromise) {
  const Levels in = risingChannel();
  std::string e;
  const Levels threePoints = *cli::inkCurveThroughPoints(points("0,0 40,10 100,60"), e);
  struct Row {
    const char* name;
    ChannelEdits edits;
    std::function<void(const Levels&)> check;
  };
  const Row rows[] = {
      {"gamma 1 is no edit", {std::nullopt, 1.0, std::nullopt}, [&](const Levels& out) { EXPECT_EQ(out, in); }},
      {"boost 0 is no edit", {std::nullopt, std::nullopt, 0.0}, [&](const Levels& out) { EXPECT_EQ(out, in); }},
      {"gamma 2 takes ink out of the mid-tones", {std::nullopt, 2.0, std::nullopt},
       [&](const Levels& out) {
         EXPECT_LT(out[128], 0.6 * in[128]);
         EXPECT_EQ(out[0], 0.0);
         EXPECT_EQ(out[255], in[255]);
       }},
      {"gamma 0.5 adds ink there", {std::nullopt, 0.5, std::nullopt},
       [&](const Levels& out) { EXPECT_GT(out[128], 1.3 * in[128]); }},
      {"boost 10 raises the ink limit by 10 %", {std::nullopt, std::nullopt, 10.0},
       [&](const Levels& out) {
         EXPECT_EQ(out[0], in[0]);
         EXPECT_NEAR(out[255], 1.1 * in[255], 1e-6);
         EXPECT_GT(out[128], in[128]);
       }},
      {"two points are the straight line", {points("0,0 100,100"), std::nullopt, std::nullopt},
       [&](const Levels& out) {
         for (int i = 0; i < 256; ++i) ASSERT_EQ(out[i], 257.0 * i) << i;
       }},
      {"three points are met at their inputs", {points("0,0 40,10 100,60"), std::nullopt, std::nullopt},
       [&](const Levels& out) {
         EXPECT_EQ(out[0], 0.0);
         EXPECT_NEAR(out[102], 6553.5, 2.0);
         EXPECT_DOUBLE_EQ(out[255], 0.6 * 65535);
         for (int i = 1; i < 256; ++i) ASSERT_GT(out[i], out[i - 1]) << i;
       }},
      {"points, then gamma, then boost", {points("0,0 40,10 100,60"), 0.8, 10.0},
       [&](const Levels& out) {
         EXPECT_EQ(out, *cli::boostEdited(*cli::gammaEdited(threePoints, 0.8, e), 10.0, e));
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::string error;
    const auto out = cli::editedLevels(in, row.edits, error);
    ASSERT_TRUE(out) << error;
    ASSERT_EQ(out->size(), 256u);
    row.check(*out);
  }
}

TEST(CurveEdits, BadValuesAreRefusedByName) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    std::string text;
    std::string error;
  } texts[] = {
      {"", "a curve needs at least two points \"x,y\", from x 0 to x 100, not none"},
      {"0,0", "a curve needs at least two points \"x,y\", from x 0 to x 100, not one (\"0,0\")"},
      {"0,0 50;5 100,1", "point 2 \"50;5\" is not written \"x,y\""},
      {"0,0,1 100,1", "point 1 \"0,0,1\" is not written \"x,y\""},
      {"0,0 nan,5 100,1", "point 2 \"nan,5\": x is not a number"},
      {"0,0 50,inf 100,1", "point 2 \"50,inf\": y is not a number"},
      {"0,0 50,101 100,1", "point 2 \"50,101\": y must lie within 0...100"},
      {"0,0 -5,1 100,1", "point 2 \"-5,1\": x must lie within 0...100"},
      {"10,0 100,1", "point 1 \"10,0\": the first point must be at x 0, where the curve begins"},
      {"0,0 50,5 50,6 100,1", "point 3 \"50,6\": x must be above the x of point 2 (50)"},
      {"0,0 90,1", "point 2 \"90,1\": the last point must be at x 100, where the curve ends"},
  };
  for (const auto& row : texts) {
    std::string error;
    EXPECT_FALSE(cli::parseCurvePoints(row.text, error)) << row.text;
    EXPECT_EQ(error, row.error);
  }
  // The same checks guard the functions a page calls with numbers.
  std::string error;
  EXPECT_FALSE(cli::inkCurveThroughPoints({{0, 0}, {nan, 5}, {100, 1}}, error));
  EXPECT_EQ(error, "point 2 \"nan,5\": x must lie within 0...100");
  EXPECT_FALSE(cli::manualCurveThroughPoints({{0, 100}}, error));
  EXPECT_EQ(error, "a curve needs at least two points \"x,y\", from x 0 to x 100, not one");
  EXPECT_FALSE(cli::gammaEdited(risingChannel(), nan, error));
  EXPECT_EQ(error, "the gamma must be a number above 0, not nan");
  EXPECT_FALSE(cli::boostEdited(risingChannel(), -100, error));
  EXPECT_EQ(error, "the boost must be above -100 (a boost of -100% or less removes the ink), not -100");
  EXPECT_FALSE(cli::gammaEdited(Levels(255, 1.0), 2, error));
  EXPECT_EQ(error, "a channel has 256 levels, not 255");
}

TEST(CurveEdits, TheDefaultTargetPointsAreTheDocumentsOwnCurve) {
  linearization::v2LinearizationDataModel document;
  linearization::prepareLikeMainWindow(document);
  std::string error;
  EXPECT_EQ(*cli::manualCurveThroughPoints(points(std::string(cli::kDefaultTargetPoints)), error),
            document.manualCurve);
  // And the runs with and without them write the same bytes.
  testsupport::TempDir dir;
  std::vector<std::string> args{"linearize", (kExamples / "wedge-21.txt").string(),
                                (kExamples / "pt-pd-8ch.quad").string()};
  auto run = [&](const std::string& name, std::vector<std::string> extra) {
    auto all = args;
    for (const auto& [option, ext] : {std::pair{"--out", ".quad"}, {"--acv", ".acv"}, {"--cube", ".cube"}})
      all.insert(all.end(), {option, (dir / (name + ext)).string()});
    all.insert(all.end(), extra.begin(), extra.end());
    const auto r = testsupport::runInkcurve(all);
    EXPECT_EQ(r.status, cli::kExitOk) << r.err;
    return r;
  };
  run("plain", {});
  EXPECT_NE(run("default", {"--target-points", "0,100 100,0"}).out.find("target: the manual curve through 0,100 100,0\n"),
            std::string::npos);
  run("bent", {"--target-points", "0,100 50,40 100,0"});
  for (const char* ext : {".quad", ".acv", ".cube"}) {
    EXPECT_EQ(slurp(dir / ("plain" + std::string(ext))), slurp(dir / ("default" + std::string(ext)))) << ext;
    EXPECT_NE(slurp(dir / ("plain" + std::string(ext))), slurp(dir / ("bent" + std::string(ext)))) << ext;
  }
  const auto bad = testsupport::runInkcurve({"linearize", args[1], "--target-points", "0,100 50,40"});
  EXPECT_EQ(bad.status, cli::kExitUsage);
  EXPECT_EQ(bad.err.substr(0, bad.err.find('\n')),
            "inkcurve linearize: --target-points: point 2 \"50,40\": the last point must be at x 100, where the "
            "curve ends");
}

TEST(CurveEdits, ThePageSetsTheTargetPointsAsTheCommandDoes) {
  cli::WebDocument page;
  page.openMeasurements("wedge-21.txt", slurp(kExamples / "wedge-21.txt"));
  page.openQuad("pt-pd-8ch.quad", slurp(kExamples / "pt-pd-8ch.quad"));
  const std::string straight = page.download("quad")->bytes;
  EXPECT_NE(page.setTargetPoints("0,100 50,45").find(
                R"({"about":"settings","text":"--target-points: point 2 \"50,45\": the last point must be at x 100, )"
                R"(where the curve ends"})"),
            std::string::npos);
  EXPECT_EQ(page.download("quad")->bytes, straight);
  page.setTargetPoints("0,100 50,45 100,0");
  testsupport::TempDir dir;
  const auto out = dir / "bent.quad";
  ASSERT_EQ(testsupport::runInkcurve({"linearize", (kExamples / "wedge-21.txt").string(),
                                      (kExamples / "pt-pd-8ch.quad").string(), "--target-points",
                                      "0,100 50,45 100,0", "--out", out.string()})
                .status,
            cli::kExitOk);
  EXPECT_EQ(page.download("quad")->bytes, slurp(out));
  EXPECT_NE(slurp(out), straight);
}

TEST(EditCommand, WritesOneChannelAndLeavesEveryOtherByte) {
  testsupport::TempDir dir;
  // Line ends of both kinds and a line after the last channel stay as read.
  std::string quad = slurp(kExamples / "pt-pd-8ch.quad");
  quad = platform::text::replaceAll(quad, "\n", "\r\n") + "trailing words\n";
  const auto in = dir.write("in.quad", quad);
  const auto r = testsupport::runInkcurve({"edit", in.string(), "--channel", "lk", "--boost", "10", "--gamma", "2",
                                           "--out", (dir / "out").string()});
  ASSERT_EQ(r.status, cli::kExitOk) << r.err;
  EXPECT_EQ(r.out, "edited: LK of " + in.string() + ": --gamma 2, then --boost 10\n" +
                       "LK at the last input: 0.00 % before, 0.00 % after; the other 7 channels as read\n" +
                       "wrote " + (dir / "out.quad").string() + "\n");
  const std::string written = slurp(dir / "out.quad");
  const auto before = platform::text::split(quad, "\n"), after = platform::text::split(written, "\n");
  ASSERT_EQ(before.size(), after.size());
  const size_t lk = 3 + 6 * 257;  // header, two notes, six channels before it
  size_t changed = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    if (i > lk && i <= lk + 256) changed += before[i] != after[i];
    else ASSERT_EQ(before[i], after[i]) << "line " << i + 1;
  }
  EXPECT_GT(changed, 100u);
  auto reread = linearization::QuadDataFile::fromBytes(written, "out.quad");
  ASSERT_TRUE(reread && reread->readQuadFile(reread->rawQuadData));

  // Bad input: its message, the usage, nothing written.
  const std::string q = (kExamples / "pt-pd-8ch.quad").string(), out = (dir / "bad.quad").string();
  const struct {
    std::vector<std::string> args;
    int status;
    std::string firstLine;
  } bad[] = {
      {{"--channel", "K", "--out", out}, 2, "inkcurve edit: nothing to do: give --points, --gamma or --boost"},
      {{"--channel", "OR", "--gamma", "2", "--out", out}, 2,
       "inkcurve edit: --channel OR: " + q + " has no such channel (it has K, C, M, Y, LC, LM, LK, LLK)"},
      {{"--channel", "K", "--gamma", "0", "--out", out}, 2, "inkcurve edit: --gamma must be above 0, not '0'"},
      {{"--channel", "K", "--gamma", "nan", "--out", out}, 2, "inkcurve edit: --gamma needs a number, not 'nan'"},
      {{"--channel", "K", "--boost", "-150", "--out", out}, 2,
       "inkcurve edit: --boost must be above -100 (a boost of -100% or less removes the ink), not '-150'"},
      {{"--channel", "K", "--points", "0,0 120,5 100,9", "--out", out}, 2,
       "inkcurve edit: --points: point 2 \"120,5\": x must lie within 0...100"},
      {{"--gamma", "2", "--out", out}, 2, "inkcurve edit: --channel is required"},
  };
  for (const auto& row : bad) {
    auto args = row.args;
    args.insert(args.begin(), {"edit", q});
    const auto b = testsupport::runInkcurve(args);
    EXPECT_EQ(b.status, row.status) << row.firstLine;
    EXPECT_EQ(b.err.substr(0, b.err.find('\n')), row.firstLine);
    EXPECT_FALSE(std::filesystem::exists(out)) << row.firstLine;
  }
  const auto notQuad = testsupport::runInkcurve(
      {"edit", dir.write("w.quad", "hello\n").string(), "--channel", "K", "--gamma", "2", "--out", out});
  EXPECT_EQ(notQuad.status, cli::kExitFailed);
  EXPECT_EQ(notQuad.err, "inkcurve: " + (dir / "w.quad").string() +
                             " is not a QuadToneRIP ink curve file this program can read: line 1 is not one of the "
                             "QuadToneRIP headers this program reads\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
