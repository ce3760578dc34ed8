#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "linearization/RBInterpolateD.h"
#include "linearization/v2MovingAverager.h"
#include "linearization/v2SplineSmoother.h"
#include "support/FakeHost.h"

using linearization::RBInterpolateD;
using linearization::v2MovingAverager;
using linearization::v2SplineSmoother;

namespace {

std::vector<double> iota(int n, double from = 0.0) {
  std::vector<double> v(static_cast<std::size_t>(n));
  std::iota(v.begin(), v.end(), from);
  return v;
}

}  // namespace

TEST(v2MovingAverager, GrowsSlidesAndShrinksTheWindow) {
  struct Case {
    int n;
    int64_t window;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {10, 4, {0, 0.5, 2, 3, 4, 5, 6, 7, 8}},
      {10, 2, {0, 0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5}},
      {10, 3, {0, 0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5}},
      {10, 1, iota(10)},
      {10, 0, iota(10)},
      {10, -5, iota(10)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(v2MovingAverager(iota(c.n), c.window).average(), c.expected) << "window " << c.window;
  }

  const std::vector<double> smoothed = v2MovingAverager(iota(256), 21).average();
  ASSERT_EQ(smoothed.size(), 255u);
  EXPECT_EQ(std::vector<double>(smoothed.begin(), smoothed.begin() + 9),
            (std::vector<double>{0, 0.5, 2, 3.5, 5, 6.5, 8, 9, 10}));
  EXPECT_EQ(std::vector<double>(smoothed.end() - 4, smoothed.end()), (std::vector<double>{252.5, 253, 253.5, 254}));
}

TEST(v2MovingAverager, ChannelsTooShortForTheWindowComeBackUnchanged) {
  EXPECT_TRUE(v2MovingAverager({}, 21).average().empty());
  EXPECT_EQ(v2MovingAverager({7.0}, 21).average(), std::vector<double>{7.0});
  EXPECT_EQ(v2MovingAverager({7.0}, 4).average(), std::vector<double>{7.0});
  EXPECT_EQ(v2MovingAverager(iota(5), 21).average(), iota(5));
  EXPECT_EQ(v2MovingAverager(iota(5), std::numeric_limits<int64_t>::max()).average(), iota(5));
}

TEST(v2SplineSmoother, ThinsAndSplinesBackTo256Values) {
  struct Case {
    int n;
    double fraction;
    std::size_t thinned;
  };
  const double nan = std::nan("");
  for (const Case& c : {Case{255, 0.67, 254}, Case{255, 1.0, 254}, Case{255, 0.4, 128}, Case{255, 0.0, 2},
                        Case{255, 2.0, 254}, Case{255, nan, 2}, Case{255, -1.0, 2}, Case{2, 0.67, 1},
                        Case{1, 0.67, 1}}) {
    std::vector<double> values;
    for (int k = 0; k < c.n; ++k) values.push_back(90.0 - 0.3 * k + (k % 2) * 0.1);
    const v2SplineSmoother smoother(values, c.fraction);
    EXPECT_EQ(smoother.inputYPoints.size(), c.thinned) << c.n << " " << c.fraction;
    ASSERT_EQ(smoother.smoothedValues.size(), 256u);
    EXPECT_EQ(smoother.smoothedValues.front(), values.front());
    EXPECT_EQ(smoother.smoothedValues.back(), values.back());
    for (double v : smoother.smoothedValues) EXPECT_TRUE(std::isfinite(v));
  }
  EXPECT_TRUE(v2SplineSmoother({}, 0.67).smoothedValues.empty());

  // A parabola, thinned with stride 2: each thinned point is the mean of three
  // neighbours, (i + 1)² + 2/3, and the spline back to 256 values lies on the
  // parabola through them away from the two end pieces, where the chords
  // would miss it by up to 1.
  std::vector<double> squares;
  for (int i = 0; i < 255; ++i) squares.push_back(static_cast<double>(i) * i);
  const v2SplineSmoother bent(squares, 0.4);
  const auto mean = [](double i) { return (i + 1) * (i + 1) + 2.0 / 3.0; };
  ASSERT_EQ(bent.inputYPoints.size(), 128u);
  for (std::size_t j = 1; j < 128; ++j) EXPECT_NEAR(bent.inputYPoints[j], mean(2.0 * (j - 1)), 1e-9) << j;
  for (int k = 5; k <= 251; ++k) EXPECT_NEAR(bent.smoothedValues[k], mean(2.0 * (127.0 * k / 256 - 1)), 1e-6) << k;

  // A straight channel stays straight between its ends.
  const v2SplineSmoother straight(iota(255), 0.67);
  for (std::size_t k = 1; k + 2 < 256; ++k) {  // the last value is the input's own
    EXPECT_NEAR(straight.smoothedValues[k] - straight.smoothedValues[k - 1],
                straight.smoothedValues[k + 1] - straight.smoothedValues[k], 1e-9);
  }
}

TEST(RBInterpolateD, SamplesTheNormalisedRangeBelowOne) {
  // Linear: xs normalised to 0, 0.5, 1; samples at 0, 1/4, 2/4, 3/4.
  EXPECT_EQ(RBInterpolateD({0, 1, 2}, {0, 10, 30}, "Linear", 4).outputArray, (std::vector<double>{0, 5, 10, 20}));
  EXPECT_EQ(linearization::linearInterpolate({10, 20, 30}, {0, 10, 30}, 4), (std::vector<double>{0, 5, 10, 20}));

  for (double points : {256.0, 1024.0}) {
    const std::vector<double> out = linearization::splineInterpolate(iota(21), iota(21, 5.0), points);
    ASSERT_EQ(out.size(), static_cast<std::size_t>(points));
    EXPECT_EQ(out.front(), 5.0);
    EXPECT_LT(out.back(), 25.0);
  }

  // 21 keyframes at j / 20 and samples at k / 256 meet at k = 64j / 5.
  std::vector<double> ys;
  for (int j = 0; j < 21; ++j) ys.push_back(std::sin(j * 0.4) * 40.0 + 50.0);
  const std::vector<double> spline = RBInterpolateD(iota(21), ys, "Spline", 256).outputArray;
  for (int j : {0, 5, 10, 15}) EXPECT_EQ(spline[static_cast<std::size_t>(64 * j / 5)], ys[static_cast<std::size_t>(j)]);
}

TEST(RBInterpolateD, NothingToSampleGivesAnEmptyOutput) {
  testsupport::FakeHost host;
  for (const char* type : {"linear", "spline", "Cubic", ""}) {
    EXPECT_TRUE(RBInterpolateD({0, 1}, {0, 1}, type, 256, &host).outputArray.empty()) << type;
  }
  EXPECT_EQ(host.logLines, std::vector<std::string>(4, "needs correct interpolation type"));

  const double inf = std::numeric_limits<double>::infinity();
  for (double points : {0.0, -1.0, inf, -inf, std::nan(""), 1e300}) {
    EXPECT_TRUE(RBInterpolateD({0, 1}, {0, 1}, "Spline", points).outputArray.empty()) << points;
  }
  EXPECT_TRUE(RBInterpolateD({}, {}, "Spline", 256).outputArray.empty());

  // One keyframe, or xs without a range: the first y everywhere.
  EXPECT_EQ(RBInterpolateD({3}, {42}, "Spline", 8).outputArray, std::vector<double>(8, 42.0));
  EXPECT_EQ(RBInterpolateD({3, 3}, {42, 7}, "Linear", 8).outputArray, std::vector<double>(8, 42.0));
}
