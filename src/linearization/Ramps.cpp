#include "linearization/Ramps.h"

#include <utility>

#include "VectorMath/Arithmetic.h"
#include "platform/accelerate/Accelerate.h"

namespace linearization {

namespace {
constexpr std::int64_t kCurvePoints = 256;
}

std::vector<double> makeRamp(std::int64_t count, double start, double end) {
  if (count <= 0) return {};
  // One value: the step would be a division by zero.
  if (count == 1) return {start};
  double step = (end - start) / static_cast<double>(count - 1);
  std::vector<double> ramp(static_cast<std::size_t>(count), 0.0);
  platform::accelerate::vrampD(start, step, ramp.data(), 1, ramp.size());
  return ramp;
}

std::vector<double> normalizeValues(std::span<const double> values) {
  std::vector<double> out;
  if (values.empty()) return out;
  double minimum = values[0];
  double maximum = values[0];
  for (double v : values)
    if (v < minimum) minimum = v;
  for (double v : values)
    if (v > maximum) maximum = v;
  double range = maximum - minimum;
  out.reserve(values.size());
  for (double v : values) out.push_back((v - minimum) / range);
  return out;
}

QuadGammaAdjustD::QuadGammaAdjustD() : ramp_(makeRamp(kCurvePoints, 0.0, 1.0)) {}

const std::vector<std::vector<double>>& QuadGammaAdjustD::inputValues() const { return inputValues_; }
void QuadGammaAdjustD::setInputValues(std::vector<std::vector<double>> channels) {
  inputValues_ = std::move(channels);
}
const std::vector<std::vector<double>>& QuadGammaAdjustD::outputValues() const { return outputValues_; }
void QuadGammaAdjustD::setOutputValues(std::vector<std::vector<double>> channels) {
  outputValues_ = std::move(channels);
}
double QuadGammaAdjustD::gammaAdjustment() const { return gammaAdjustment_; }
void QuadGammaAdjustD::setGammaAdjustment(double gamma) { gammaAdjustment_ = gamma; }
const std::vector<double>& QuadGammaAdjustD::ramp() const { return ramp_; }
void QuadGammaAdjustD::setRamp(std::vector<double> ramp) { ramp_ = std::move(ramp); }

std::vector<double> QuadGammaAdjustD::applyGamma() {
  if (ramp().empty()) setRamp(makeRamp(kCurvePoints, 0.0, 1.0));
  double exponent = 1.0 / gammaAdjustment();
  std::vector<double> curve = VectorMath::pow(ramp(), exponent);
  platform::accelerate::dscal(VectorMath::int32Count(static_cast<std::int64_t>(curve.size())), 100.0, curve.data(), 1);
  return curve;
}

}  // namespace linearization
