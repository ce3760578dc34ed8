#include "linearization/v2SplineSmoother.h"

#include <algorithm>
#include <utility>

#include "linearization/RBInterpolateD.h"
#include "linearization/Ramps.h"

namespace linearization {

namespace {

constexpr int kSmoothedCount = 256;

int64_t pointsToSpline(int64_t n, double fraction) {
  const double wanted = static_cast<double>(n) * fraction;
  if (!(wanted >= 1.0)) return 1;  // also a fraction that is not a number
  if (wanted >= static_cast<double>(n)) return n;
  return static_cast<int64_t>(wanted);
}

}  // namespace

v2SplineSmoother::v2SplineSmoother(std::vector<double> values, double fraction)
    : inputArrayToSmooth(std::move(values)) {
  const auto n = static_cast<int64_t>(inputArrayToSmooth.size());
  if (n == 0) return;
  nPointsToSpline = pointsToSpline(n, fraction);
  inputYPoints = decimate();
  const auto m = static_cast<int64_t>(inputYPoints.size());
  if (m < 2) {
    // One thinned point (fewer than 3 values): nothing to bend, a flat line.
    inputXPoints = {0.0};
    smoothedValues.assign(kSmoothedCount, inputYPoints.front());
  } else {
    inputXPoints = makeRamp(m, 0.0, 1.0);
    smoothedValues = RBInterpolateD(inputXPoints, inputYPoints, "Spline", kSmoothedCount).outputArray;
  }
  smoothedValues.back() = inputArrayToSmooth.back();
}

std::vector<double> v2SplineSmoother::decimate() {
  const std::vector<double>& x = inputArrayToSmooth;
  const auto n = static_cast<int64_t>(x.size());
  std::vector<double> thinned;
  if (n == 0) return thinned;
  // A stride of at least 1, whatever the field holds, so the thinning ends.
  const int64_t stride = std::max<int64_t>(1, nPointsToSpline >= 1 ? n / nPointsToSpline : n);
  thinned.push_back(x[0]);
  for (int64_t i = 0; i + 1 < n - 1; i += stride) {
    const auto at = static_cast<std::size_t>(i);
    thinned.push_back((x[at] + x[at + 1] + x[at + 2]) / 3.0);
  }
  return thinned;
}

}  // namespace linearization
