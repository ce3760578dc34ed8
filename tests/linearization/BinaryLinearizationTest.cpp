#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "linearization/BinaryLinearization.h"

using namespace linearization;

namespace {

std::vector<double> identityCorrection() {
  std::vector<double> c;
  for (int j = 0; j < 256; ++j) c.push_back((255 - j) * 100.0 / 255.0);
  return c;
}

InkCurve rising(double top, double power) {
  InkCurve c;
  for (int i = 0; i < 256; ++i) c.push_back(top * std::pow(i / 255.0, power));
  return c;
}

TEST(BinaryLinearization, IdentityCorrectionKeepsEachChannelWithinAStep) {
  const std::vector<InkCurve> channels = {rising(42000, 1.5), rising(20000, 1.0), InkCurve(256, 0.0)};
  BinaryLinearization lin(identityCorrection(), channels);
  ASSERT_EQ(lin.linearizedOutputQuadArray.size(), 3u);
  EXPECT_EQ(lin.targetArray.front(), 100.0);
  EXPECT_EQ(lin.targetArray.back(), 0.0);
  EXPECT_EQ(lin.stepArray1024[1023], 99.90234375);
  EXPECT_EQ(lin.lookupscale.back(), 255);
  EXPECT_EQ(lin.xScale.back(), 1.0);

  for (size_t c = 0; c < channels.size(); ++c) {
    const auto& in = channels[c];
    const auto& out = lin.linearizedOutputQuadArray[c];
    ASSERT_EQ(out.size(), 256u);
    EXPECT_EQ(out[0], 0.0) << "entry 0 of every channel is 0";
    for (int i = 1; i < 255; ++i) {
      // The downsampling reads about one step ahead at the light end and a
      // little behind at the dark end: the level stays within about one of
      // the channel's own steps around it.
      const double step = std::max(std::fabs(in[i + 1] - in[i]), std::fabs(in[i] - in[i - 1]));
      EXPECT_NEAR(out[i], in[i], 1.5 * step + 1.0) << "channel " << c << " step " << i;
      EXPECT_GE(out[i], 0.0);
    }
  }
  EXPECT_EQ(lin.linearizedOutputQuadArray[0][255], channels[0][255]) << "the first channel's last level is kept";
  EXPECT_LT(lin.linearizedOutputQuadArray[1][255], channels[1][255] - 50) << "the others keep their computed one";
  for (double v : lin.linearizedOutputQuadArray[2]) EXPECT_EQ(v, 0.0) << "ink that is off stays off";
}

TEST(BinaryLinearization, SplineOnTheFineGridAndThreePointMeanOnTheCoarse) {
  // A parabola through the 256 levels: the spline upsampling lands on it
  // between the levels, where the chords would miss it by up to 0.125. Under
  // the identity correction fine point j reads the spline at point j + 1.
  const auto parabola = [](double p) { return 0.5 * p * p; };
  InkCurve levels;
  for (int i = 0; i < 256; ++i) levels.push_back(parabola(i));
  BinaryLinearization lin(identityCorrection(), {levels});
  const auto fine = lin.linearizeQuadCurves({levels}, lin.targetArray);
  ASSERT_EQ(fine.at(0).size(), 1024u);
  for (int j = 8; j < 1016; ++j) EXPECT_NEAR(fine[0][j], parabola(255.0 * (j + 1) / 1024), 1e-6) << j;

  // One level on a coarse grid point: the linear resampling makes it a
  // triangle peaking at 2508 (entry 130), the three-point mean lowers that
  // peak to (2496.09 + 2507.81 + 1511.72) / 3.
  InkCurve spike(256, 0.0);
  spike[129] = 3000;
  const auto smoothed = lin.resampleFromGrid({spike}).at(0);
  const auto peak = std::max_element(smoothed.begin(), smoothed.end());
  EXPECT_EQ(peak - smoothed.begin(), 130);
  EXPECT_NEAR(*peak, 2171.875, 1e-6);
}

TEST(BinaryLinearization, StrongCorrectionStaysNonNegativeAndFinite) {
  // A correction that pushes every position towards the dark end, and a
  // channel with a sharp spike the spline overshoots around.
  std::vector<double> correction;
  for (int j = 0; j < 256; ++j) correction.push_back(100.0 * std::pow((255 - j) / 255.0, 0.3));
  InkCurve spike(256, 0.0);
  spike[128] = 60000;
  BinaryLinearization lin(correction, {rising(65535, 2.0), spike});
  for (const auto& channel : lin.linearizedOutputQuadArray)
    for (double v : channel) {
      EXPECT_TRUE(std::isfinite(v));
      EXPECT_GE(v, 0.0);
    }
}

TEST(BinaryLinearization, ShapesThatDoNotFitGiveNoChannels) {
  EXPECT_FALSE(BinaryLinearization::isApplicable(identityCorrection(), {}));
  EXPECT_FALSE(BinaryLinearization::isApplicable(std::vector<double>(255, 0.0), {InkCurve(256, 0.0)}));
  EXPECT_FALSE(BinaryLinearization::isApplicable(identityCorrection(), {InkCurve(256, 0.0), InkCurve(10, 0.0)}));
  BinaryLinearization lin(identityCorrection(), {});
  EXPECT_TRUE(lin.linearizedOutputQuadArray.empty());

  std::vector<InkCurve> fine = {InkCurve(1024)};
  for (int i = 0; i < 1024; ++i) fine[0][i] = i;
  auto coarse = downsampleTo256(fine);
  EXPECT_EQ(coarse[0][0], 0);
  EXPECT_EQ(coarse[0][1], 8);
  EXPECT_EQ(coarse[0][254], 1020);
  EXPECT_EQ(coarse[0][255], 1023);
}

}  // namespace
