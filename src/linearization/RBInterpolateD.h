#pragma once

#include <string_view>
#include <vector>

#include "platform/keyframes/KeyframeSequence.h"

namespace platform {
class Host;
}

namespace linearization {

// Resamples a curve given by x and y values to evenly spaced points. The xs
// are normalised to 0...1 by their own range; the curve is sampled at
// t = i * (1 / points) for i = 0, 1, ... while t < 1, so 256 points give the
// times k / 256 and the last keyframe (t = 1) itself is never sampled. The
// type is "Linear" (straight lines between neighbouring keyframes) or "Spline"
// (a smooth curve through every keyframe); anything else logs
// "needs correct interpolation type" and leaves the output empty.
//
// Output is empty as well when there is nothing to sample: no keyframes, or a
// point count that is not a positive number in the 32-bit range. A single
// keyframe, or xs that are all equal, give the first y at every sample.
class RBInterpolateD {
 public:
  RBInterpolateD(const std::vector<double>& xs, const std::vector<double>& ys, std::string_view type, double points,
                 platform::Host* host = nullptr);
  virtual ~RBInterpolateD() = default;

  std::vector<double> inputXs;  // normalised to 0...1
  std::vector<double> inputYs;
  double interpolationStepValue = 0.0;  // 1 / points
  std::vector<double> outputArray;

  virtual void interpolate(const std::vector<double>& xs, const std::vector<double>& ys, std::string_view type);
  virtual std::vector<double> sampleSpline(const std::vector<double>& ys, const std::vector<double>& xs);
  virtual std::vector<double> sampleLinear(const std::vector<double>& ys, const std::vector<double>& xs);

 private:
  std::vector<double> sampleKeyframes(const std::vector<double>& ys, const std::vector<double>& xs,
                                      platform::keyframes::InterpolationMode mode) const;
  platform::Host* host_;
};

std::vector<double> splineInterpolate(const std::vector<double>& xs, const std::vector<double>& ys, double points);
std::vector<double> linearInterpolate(const std::vector<double>& xs, const std::vector<double>& ys, double points);

}  // namespace linearization
