#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "Cli.h"
#include "RunCli.h"
#include "linearization/QuadDataFile.h"
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

TEST(LinearizeCommand, LinearWedgeLeavesTheCurveNearlyUnchanged) {
  TempDir dir;
  auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  auto quad = dir.write("in.quad", eightChannelQuad());
  auto out = dir / "out.quad";
  auto measurements = dir / "smoothed.txt";
  auto r = inkcurve({"linearize", wedge.string(), quad.string(), "--out", out.string(), "--measurements-out",
                     measurements.string(), "--notes", "corrected by test"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  EXPECT_NE(r.out.find("(CGATS)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("readings: 21 steps"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("channels corrected: 8 (K, C, M, Y, LC, LM, LK, LLK)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("wrote " + out.string()), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("wrote " + measurements.string()), std::string::npos) << r.out;

  const auto input = readCurves(quad);
  const auto output = readCurves(out);
  ASSERT_EQ(output.size(), 8u);
  for (size_t c = 0; c < 8; ++c)
    for (int i = 1; i < 255; ++i) {
      // About one input step of that channel, plus the rounding of the wedge.
      const double rise = std::fabs(input[c][std::min(i + 2, 255)] - input[c][std::max(i - 2, 0)]);
      EXPECT_NEAR(output[c][i], input[c][i], rise + 0.02 * 65535) << "channel " << c << " step " << i;
    }
  const auto text = slurp(out);
  EXPECT_EQ(text.rfind("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK\n# corrected by test\n# K Curve\n0\n", 0), 0u);
  EXPECT_EQ(slurp(measurements).rfind("Halvorin Measurement Data File\n", 0), 0u);
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

  // An unwritable destination is reported, never shown as success.
  r = inkcurve({"linearize", good.string(), quad.string(), "--out", (dir / "nowhere" / "x.quad").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.find("wrote"), std::string::npos);

  for (auto args : std::vector<std::vector<std::string>>{
           {"linearize"},
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

}  // namespace
