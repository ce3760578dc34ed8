#include "linearization/RBInterpolateD.h"

#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>

#include "linearization/Ramps.h"
#include "platform/host/Host.h"

namespace linearization {

using platform::keyframes::InterpolationMode;
using platform::keyframes::KeyframeSequence;

RBInterpolateD::RBInterpolateD(const std::vector<double>& xs, const std::vector<double>& ys, std::string_view type,
                               double points, platform::Host* host)
    : host_(host) {
  inputXs = normalizeValues(xs);
  inputYs = ys;
  interpolationStepValue = 1.0 / points;
  // The sample count follows from the step, so a count that is not a positive
  // number (or one too large to hold) would give no samples or never end.
  const bool usablePoints = points > 0.0 && points <= static_cast<double>(std::numeric_limits<int32_t>::max());
  if (!usablePoints) interpolationStepValue = 0.0;
  interpolate(inputXs, inputYs, type);
}

void RBInterpolateD::interpolate(const std::vector<double>& xs, const std::vector<double>& ys, std::string_view type) {
  if (type == "Linear") {
    outputArray = sampleLinear(ys, xs);
  } else if (type == "Spline") {
    outputArray = sampleSpline(ys, xs);
  } else {
    const std::string line = "needs correct interpolation type";
    if (host_ != nullptr) {
      host_->log(line);
    } else {
      std::cout << line << '\n';
    }
    outputArray.clear();
  }
}

std::vector<double> RBInterpolateD::sampleSpline(const std::vector<double>& ys, const std::vector<double>& xs) {
  return sampleKeyframes(ys, xs, InterpolationMode::spline);
}

std::vector<double> RBInterpolateD::sampleLinear(const std::vector<double>& ys, const std::vector<double>& xs) {
  return sampleKeyframes(ys, xs, InterpolationMode::linear);
}

std::vector<double> RBInterpolateD::sampleKeyframes(const std::vector<double>& ys, const std::vector<double>& xs,
                                                    InterpolationMode mode) const {
  std::vector<double> samples;
  const double step = interpolationStepValue;
  if (!(step > 0.0)) return samples;
  KeyframeSequence sequence(ys, xs);
  sequence.setInterpolationMode(mode);
  if (sequence.count() == 0) return samples;
  for (int64_t i = 0;; ++i) {
    const double t = static_cast<double>(i) * step;
    if (t >= 1.0) break;
    samples.push_back(*sequence.sampleAtTime(t));
  }
  return samples;
}

std::vector<double> splineInterpolate(const std::vector<double>& xs, const std::vector<double>& ys, double points) {
  return RBInterpolateD(xs, ys, "Spline", points).outputArray;
}

std::vector<double> linearInterpolate(const std::vector<double>& xs, const std::vector<double>& ys, double points) {
  return RBInterpolateD(xs, ys, "Linear", points).outputArray;
}

}  // namespace linearization
