#pragma once

#include <vector>

namespace starter_curves {

// The ink-limit boost of a set of ink curves: every channel is raised by a
// factor that is 0 at input step 0 and grows along the steps to boost/100 at
// step 255, so a boost of B percent raises each channel's ink limit by B
// percent and leaves the light end alone. Owned by the setup model and by
// each curve editor.
//
// Use: set `inputInksArray` and `boost` (or `boostInput`, then
// updateBoostSettings()), then calculateInkSumBoost(), then applyBoost(), and
// read `outputInksArray`. Nothing is clamped: a boosted level may leave
// 0..65535; whoever writes the levels deals with that.
class MainBoost final {
 public:
  MainBoost();

  double ogInkLimit = 0.0;
  std::vector<std::vector<double>> inputInksArray;
  std::vector<std::vector<double>> outputInksArray;
  double OGInkLimitPercent = 0.0;
  double boostInput = 0.0;
  double boost = 0.0;
  double boostGammaAdj = 2.0;
  double boostCalc = 0.5;
  std::vector<double> boostStepArray;      // the input steps in percent, 0..100
  std::vector<double> originalValueArray;  // a falling unit ramp, 1..0
  std::vector<double> inkSumBoost;         // the per-step factor; empty until calculated
  std::vector<double> LGammaAdjusted256Array;
  std::vector<double> inkSumBoostStep1;

  // Takes `boostInput` as the amount and rebuilds the ramps.
  void updateBoostSettings();
  // The per-step factor for `boost`.
  void calculateInkSumBoost();
  // out[i] = ch[i] + ch[i] * inkSumBoost[i] for every channel, each cut to its
  // first 256 levels. Levels without a factor (none has been calculated yet)
  // stay as they are.
  void applyBoost();
};

// The boost factor shared by the ink-limit and yellow boosts: for each step,
// |ramp^(1/(boost*0.02+2)) * 100 - 100| * (boost/100) * step% / 10000. Fills
// the intermediates and `gammaAdj`/`calc` on the way.
void calculateBoostFactor(double boost, const std::vector<double>& originalValueArray,
                          const std::vector<double>& boostStepArray, double& gammaAdj, double& calc,
                          std::vector<double>& gammaAdjusted, std::vector<double>& step1,
                          std::vector<double>& factor);

}  // namespace starter_curves
