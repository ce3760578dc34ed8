#pragma once

#include <cstdint>
#include <vector>

#include "platform/host/Host.h"

namespace starter_curves {

// The yellow boost of a starter curve: the ink-limit boost's law on one
// channel (the yellow one) at 2.5 times the strength, so a boost of Y percent
// multiplies the yellow level at step 255 by 1 + 2.5 * Y/100.
//
// Use: set `inputStarterCurveToBoost` and `boost`, then
// calculateInkSumBoost(), then applyBoost(), and read `boostedInksArray`.
class YellowBoost final {
 public:
  // Runs updateBoostSettings() once; its line goes to `host` when given.
  explicit YellowBoost(platform::Host* host = nullptr);

  double ogYellowInkLimit = 0.0;
  std::vector<double> inputStarterCurveToBoost = std::vector<double>(256, 0.0);
  double OGInkYellowLimitPercent = 0.0;
  int64_t boostYellowInput = 0;
  std::vector<double> boostedInksArray;
  double boost = 0.0;
  double boostGammaAdj = 2.0;
  double boostCalc = 0.5;
  // The spacing of the step ramp; nothing reads it.
  double startStep = 100.0 / 255.0;
  std::vector<double> boostStepArray;      // i * (100/255)
  std::vector<double> originalValueArray;  // (i * (-100/255) + 100) / 100
  std::vector<double> inkSumBoost;
  std::vector<double> LGammaAdjusted256Array;
  std::vector<double> inkSumBoostStep1;

  // Takes `boostYellowInput` as the amount (logging it) and rebuilds the ramps.
  void updateBoostSettings();
  // The per-step factor for `boost`, by the ink-limit boost's law.
  void calculateInkSumBoost();
  // boosted[i] = y[i] + (y[i] * inkSumBoost[i]) * 2.5, the channel cut to its
  // first 256 levels; levels without a factor stay as they are.
  void applyBoost();

 private:
  platform::Host* host_;
};

}  // namespace starter_curves
