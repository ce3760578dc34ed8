#include "starter_curves/totalInkLoadBoost.h"

#include <algorithm>

#include "platform/accelerate/Accelerate.h"

namespace starter_curves {

void totalInkLoadBoost::applyBoost() {
  mainInkLoadBoost = totalInkLoadBoostInput + 1.0;
  boostedInksArray.clear();
  for (const auto& channel : inputStarterCurveToBoost) {
    std::vector<double> scaled = channel;
    const int n = static_cast<int>(std::min<size_t>(scaled.size(), 256));
    platform::accelerate::dscal(n, mainInkLoadBoost, scaled.data(), 1);
    boostedInksArray.push_back(std::move(scaled));
  }
}

}  // namespace starter_curves
