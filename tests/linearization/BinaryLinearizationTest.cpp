#include <gtest/gtest.h>

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
      // The downsampling shifts by one step and the three-point mean blurs
      // by about one more: the level stays within two steps' rise.
      const double rise = in[std::min(i + 2, 255)] - in[std::max(i - 2, 0)];
      EXPECT_NEAR(out[i], in[i], std::fabs(rise) + 1.0) << "channel " << c << " step " << i;
      EXPECT_GE(out[i], 0.0);
    }
  }
  EXPECT_EQ(lin.linearizedOutputQuadArray[0][255], channels[0][255]) << "the first channel's last level is kept";
  for (double v : lin.linearizedOutputQuadArray[2]) EXPECT_EQ(v, 0.0) << "ink that is off stays off";
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
