#include <gtest/gtest.h>

#include "starter_curves/MainBoost.h"
#include "starter_curves/YellowBoost.h"
#include "starter_curves/totalInkLoadBoost.h"
#include "support/FakeHost.h"

namespace starter_curves {
namespace {

std::vector<double> flat(double level, size_t n = 256) { return std::vector<double>(n, level); }

TEST(MainBoost, FactorGrowsFromZeroToBoostOverHundred) {
  struct Case {
    double boost;
    double at128;
    double at255;
  };
  const Case cases[] = {{0, 0.0, 0.0}, {10, 0.013631, 0.1}, {-15, -0.025327, -0.15}, {50, 0.052038, 0.5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.boost);
    MainBoost b;
    b.boost = c.boost;
    b.calculateInkSumBoost();
    ASSERT_EQ(b.inkSumBoost.size(), 256u);
    EXPECT_EQ(b.inkSumBoost[0], 0.0);
    EXPECT_NEAR(b.inkSumBoost[128], c.at128, 1e-6);
    EXPECT_NEAR(b.inkSumBoost[255], c.at255, 1e-6);
    EXPECT_DOUBLE_EQ(b.boostGammaAdj, c.boost * 0.02 + 2.0);

    b.inputInksArray = {flat(40000), flat(1000)};
    b.applyBoost();
    ASSERT_EQ(b.outputInksArray.size(), 2u);
    EXPECT_EQ(b.outputInksArray[0][0], 40000.0);  // the light end is never touched
    EXPECT_NEAR(b.outputInksArray[0][255], 40000.0 * (1.0 + c.at255), 1e-3);
    EXPECT_NEAR(b.outputInksArray[1][255], 1000.0 * (1.0 + c.at255), 1e-4);
    if (c.boost == 0) {
      EXPECT_EQ(b.outputInksArray, b.inputInksArray);
    }
  }
}

TEST(MainBoost, SettingsAndChannelLengths) {
  MainBoost b;
  EXPECT_EQ(b.boostGammaAdj, 2.0);
  EXPECT_EQ(b.boostCalc, 0.5);
  EXPECT_EQ(b.boostStepArray.front(), 0.0);
  EXPECT_EQ(b.originalValueArray.front(), 1.0);
  b.boostInput = 50;
  b.ogInkLimit = 65535;
  b.updateBoostSettings();
  EXPECT_EQ(b.boost, 50.0);
  EXPECT_DOUBLE_EQ(b.boostCalc, 1.0 / 3.0);
  EXPECT_EQ(b.OGInkLimitPercent, 1.0);

  // Before any factor exists the channels pass unchanged (cut to 256 levels);
  // after, a long channel is cut and a short one keeps its length.
  b.inputInksArray = {flat(100, 300), flat(100, 10)};
  b.applyBoost();
  EXPECT_EQ(b.outputInksArray, (std::vector<std::vector<double>>{flat(100), flat(100, 10)}));
  b.calculateInkSumBoost();
  b.applyBoost();
  EXPECT_EQ(b.outputInksArray[0].size(), 256u);
  EXPECT_EQ(b.outputInksArray[1].size(), 10u);
  EXPECT_GT(b.outputInksArray[0][255], 100.0);
}

TEST(YellowBoost, TwoAndAHalfTimesTheInkLimitLaw) {
  testsupport::FakeHost host;
  YellowBoost y(&host);
  EXPECT_EQ(host.logLines, std::vector<std::string>{"0.0"});
  EXPECT_EQ(y.boostStepArray.front(), 0.0);
  EXPECT_EQ(y.boostStepArray[1], 100.0 / 255.0);
  EXPECT_EQ(y.originalValueArray.front(), 1.0);
  EXPECT_EQ(y.boostCalc, 0.5);

  y.inputStarterCurveToBoost = flat(4000);
  y.applyBoost();  // no factor yet: unchanged
  EXPECT_EQ(y.boostedInksArray, flat(4000));

  y.boostYellowInput = 10;
  y.updateBoostSettings();
  EXPECT_EQ(host.logLines.back(), "10.0");
  y.calculateInkSumBoost();
  y.applyBoost();
  EXPECT_EQ(y.boostedInksArray[0], 4000.0);
  EXPECT_NEAR(y.boostedInksArray[255], 5000.0, 1e-3);  // x 1.25

  y.inputStarterCurveToBoost = flat(4000, 20);
  y.applyBoost();
  EXPECT_EQ(y.boostedInksArray.size(), 20u);
}

TEST(totalInkLoadBoost, ScalesEveryLevelOfEveryChannel) {
  totalInkLoadBoost t;
  t.inputStarterCurveToBoost = {flat(1000), flat(8, 100), flat(4, 300)};
  t.applyBoost();
  EXPECT_EQ(t.mainInkLoadBoost, 1.0);
  EXPECT_EQ(t.boostedInksArray, t.inputStarterCurveToBoost);

  t.totalInkLoadBoostInput = 0.25;
  t.applyBoost();
  EXPECT_EQ(t.mainInkLoadBoost, 1.25);
  ASSERT_EQ(t.boostedInksArray.size(), 3u);
  EXPECT_EQ(t.boostedInksArray[0], flat(1250));
  EXPECT_EQ(t.boostedInksArray[1], flat(10, 100));  // a short channel is scaled within its length
  EXPECT_EQ(t.boostedInksArray[2][255], 5.0);
  EXPECT_EQ(t.boostedInksArray[2][256], 4.0);  // past the 256th level nothing is scaled
}

}  // namespace
}  // namespace starter_curves
