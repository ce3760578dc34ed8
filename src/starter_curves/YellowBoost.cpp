#include "starter_curves/YellowBoost.h"

#include <algorithm>

#include "platform/text/Text.h"
#include "starter_curves/MainBoost.h"

namespace starter_curves {
namespace {

constexpr size_t kSteps = 256;

}  // namespace

YellowBoost::YellowBoost(platform::Host* host) : host_(host) { updateBoostSettings(); }

void YellowBoost::updateBoostSettings() {
  boost = static_cast<double>(boostYellowInput);
  if (host_) host_->log(platform::text::shortestDescription(boost));
  boostGammaAdj = boost * 0.02 + 2.0;
  boostCalc = 1.0 / boostGammaAdj;
  // Each operation rounded on its own: the step number times the double
  // nearest 100/255, then (for the falling ramp) plus 100, over 100.
  const double spacing = 100.0 / 255.0;
  boostStepArray.assign(kSteps, 0.0);
  originalValueArray.assign(kSteps, 0.0);
  for (size_t i = 0; i < kSteps; ++i) {
    const double step = static_cast<double>(i);
    boostStepArray[i] = step * spacing;
    const double falling = step * -spacing + 100.0;
    originalValueArray[i] = falling / 100.0;
  }
  OGInkYellowLimitPercent = ogYellowInkLimit / 65535.0;
}

void YellowBoost::calculateInkSumBoost() {
  calculateBoostFactor(boost, originalValueArray, boostStepArray, boostGammaAdj, boostCalc, LGammaAdjusted256Array,
                       inkSumBoostStep1, inkSumBoost);
}

void YellowBoost::applyBoost() {
  const auto& y = inputStarterCurveToBoost;
  boostedInksArray.assign(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(std::min(y.size(), kSteps)));
  const size_t n = std::min(boostedInksArray.size(), inkSumBoost.size());
  for (size_t i = 0; i < n; ++i) {
    const double lift = (y[i] * inkSumBoost[i]) * 2.5;
    boostedInksArray[i] = y[i] + lift;
  }
}

}  // namespace starter_curves
