#include <gtest/gtest.h>

#include <string>

#include "Chart/Utils/ChartAnimationEasing.h"

using namespace chart;

namespace {

EasingFunction curve(int raw) { return easingFunctionFromOption(static_cast<ChartEasingOption>(raw)); }

// Every curve starts at 0 and ends at 1 whatever the duration. The expo and
// elastic curves land there by explicit tests, so exactly; the others within
// rounding.
TEST(Easing, EveryCurveRunsFromZeroToOne) {
  const auto exactAtEnds = [](int raw) { return (raw >= 16 && raw <= 18) || (raw >= 22 && raw <= 24); };
  for (int raw = 0; raw <= 30; ++raw) {
    const EasingFunction f = curve(raw);
    ASSERT_TRUE(f) << raw;
    for (const double d : {1.0, 0.35, 2.5}) {
      const std::string label = "option " + std::to_string(raw) + ", duration " + std::to_string(d);
      EXPECT_NEAR(f(0.0, d), 0.0, 1e-12) << label;
      EXPECT_NEAR(f(d, d), 1.0, 1e-12) << label;
      if (exactAtEnds(raw)) {
        EXPECT_EQ(f(0.0, d), 0.0) << label;
        EXPECT_EQ(f(d, d), 1.0) << label;
      }
    }
  }
}

// The values at 30 % and 70 % of a 2-second run, worked from the curves'
// formulas independently of this code; they pin every constant (the back
// overshoots 1.70158 and 2.5949095, the elastic periods 0.3 and 0.45 of the
// duration, the bounce's 7.5625 and its offsets) and the in-out halves.
TEST(Easing, CurvesAtThirtyAndSeventyPercent) {
  const double expected[31][2] = {
      {0.3, 0.7},
      {0.09, 0.49},
      {0.51, 0.91},
      {0.18, 0.82},
      {0.027, 0.343},
      {0.657, 0.973},
      {0.108, 0.892},
      {0.0081, 0.2401},
      {0.7599, 0.9919},
      {0.0648, 0.9352},
      {0.00243, 0.16807},
      {0.83193, 0.99757},
      {0.03888, 0.96112},
      {0.1089934758116321, 0.54600950026045325},
      {0.45399049973954675, 0.89100652418836779},
      {0.20610737385376343, 0.79389262614623646},
      {0.0078125, 0.125},
      {0.875, 0.9921875},
      {0.03125, 0.96875},
      {0.046060798583054341, 0.28585715714571502},
      {0.71414284285428498, 0.95393920141694566},
      {0.1, 0.9},
      {-0.0039062499999999918, 0.125},
      {0.875, 1.00390625},
      {0.023938888847468073, 0.97606111115253191},
      {-0.08019954, 0.09286774},
      {0.90713226, 1.08019954},
      {-0.078833484, 1.078833484},
      {0.069375, 0.319375},
      {0.680625, 0.930625},
      {0.045, 0.955},
  };
  for (int raw = 0; raw <= 30; ++raw) {
    const EasingFunction f = curve(raw);
    EXPECT_NEAR(f(0.6, 2.0), expected[raw][0], 1e-12) << "option " << raw;
    EXPECT_NEAR(f(1.4, 2.0), expected[raw][1], 1e-12) << "option " << raw;
  }
  // The in-out curves pass through one half at half time.
  for (const int raw : {3, 6, 9, 12, 15, 18, 21, 24, 27, 30})
    EXPECT_NEAR(curve(raw)(1.25, 2.5), 0.5, 1e-12) << "option " << raw;
}

TEST(Easing, PinnedPointsAndUnknownOptions) {
  const EasingFunction bounce = easingFunctionFromOption(ChartEasingOption::easeOutBounce);
  EXPECT_EQ(bounce(0.0, 2.75), 0.0);
  EXPECT_EQ(bounce(1.5, 2.75), 0.75);  // the top of the first bounce
  EXPECT_EQ(bounce(2.25, 2.75), 0.9375);
  EXPECT_EQ(bounce(2.625, 2.75), 0.984375);

  // easeInBack dips to about -0.1 near 42 % before it rises to 1.
  const EasingFunction back = easingFunctionFromOption(ChartEasingOption::easeInBack);
  double lowest = 1, at = 0;
  for (int i = 0; i <= 1000; ++i)
    if (back(i, 1000) < lowest) lowest = back(i, 1000), at = i / 1000.0;
  EXPECT_NEAR(lowest, -0.1, 1e-3);
  EXPECT_NEAR(at, 0.42, 0.005);

  EXPECT_EQ(easingFunctionFromOption(ChartEasingOption::easeOutElastic)(0.7, 0.7), 1.0);

  EXPECT_EQ(chartEasingOptionFromRaw(0), ChartEasingOption::linear);
  EXPECT_EQ(chartEasingOptionFromRaw(30), ChartEasingOption::easeInOutBounce);
  for (const int raw : {-1, 31, 1000}) {
    EXPECT_FALSE(chartEasingOptionFromRaw(raw)) << raw;
    // A value forced in from outside the options eases linearly.
    EXPECT_EQ(curve(raw)(0.3, 2.0), 0.15) << raw;
  }
}

}  // namespace
