#pragma once

#include <vector>

namespace starter_curves {

// The total-ink-load boost: every level of every channel times
// 1 + `totalInkLoadBoostInput` (0.1 = ten percent more ink).
class totalInkLoadBoost final {
 public:
  std::vector<std::vector<double>> inputStarterCurveToBoost;
  std::vector<std::vector<double>> boostedInksArray;
  double totalInkLoadBoostInput = 0.0;
  double mainInkLoadBoost = 0.0;  // the factor, set by applyBoost

  // Scales the first 256 levels of each channel (all of a shorter one) by the
  // factor; levels after the 256th are carried over unscaled.
  void applyBoost();
};

}  // namespace starter_curves
