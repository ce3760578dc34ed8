#include "starter_curves/MainBoost.h"

#include <algorithm>
#include <cmath>

#include "linearization/Ramps.h"
#include "platform/accelerate/Accelerate.h"

namespace starter_curves {
namespace {

constexpr size_t kSteps = 256;

}  // namespace

void calculateBoostFactor(double boost, const std::vector<double>& originalValueArray,
                          const std::vector<double>& boostStepArray, double& gammaAdj, double& calc,
                          std::vector<double>& gammaAdjusted, std::vector<double>& step1,
                          std::vector<double>& factor) {
  gammaAdj = boost * 0.02 + 2.0;
  calc = 1.0 / gammaAdj;
  gammaAdjusted.clear();
  for (double v : originalValueArray) gammaAdjusted.push_back(std::fabs(std::pow(v, calc) * 100.0 - 100.0));
  step1.clear();
  for (double v : gammaAdjusted) step1.push_back(v * (boost / 100.0));
  factor.clear();
  const size_t n = std::min(step1.size(), boostStepArray.size());
  for (size_t i = 0; i < n; ++i) factor.push_back(step1[i] * boostStepArray[i] / 10000.0);
}

MainBoost::MainBoost()
    : boostStepArray(linearization::makeRamp(kSteps, 0.0, 100.0)),
      originalValueArray(linearization::makeRamp(kSteps, 1.0, 0.0)) {}

void MainBoost::updateBoostSettings() {
  boost = boostInput;
  boostGammaAdj = boost * 0.02 + 2.0;
  boostCalc = 1.0 / boostGammaAdj;
  boostStepArray = linearization::makeRamp(kSteps, 0.0, 100.0);
  originalValueArray = linearization::makeRamp(kSteps, 1.0, 0.0);
  OGInkLimitPercent = ogInkLimit / 65535.0;
}

void MainBoost::calculateInkSumBoost() {
  calculateBoostFactor(boost, originalValueArray, boostStepArray, boostGammaAdj, boostCalc, LGammaAdjusted256Array,
                       inkSumBoostStep1, inkSumBoost);
}

void MainBoost::applyBoost() {
  outputInksArray.clear();
  for (const auto& channel : inputInksArray) {
    std::vector<double> out(channel.begin(), channel.begin() + static_cast<std::ptrdiff_t>(
                                                                    std::min(channel.size(), kSteps)));
    const size_t n = std::min(out.size(), inkSumBoost.size());
    std::vector<double> products(n);
    platform::accelerate::vmulD(out.data(), 1, inkSumBoost.data(), 1, products.data(), 1, n);
    platform::accelerate::vaddD(out.data(), 1, products.data(), 1, out.data(), 1, n);
    outputInksArray.push_back(std::move(out));
  }
}

}  // namespace starter_curves
