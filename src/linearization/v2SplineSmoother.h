#pragma once

#include <cstdint>
#include <vector>

namespace linearization {

// Thins a channel to a fraction of its points by three-value means and
// splines the thinned points back to 256 values; the last value is set to the
// input's last value. The constructor does the whole work.
class v2SplineSmoother {
 public:
  v2SplineSmoother(std::vector<double> values, double fraction);
  virtual ~v2SplineSmoother() = default;

  std::vector<double> inputArrayToSmooth;
  // Points the thinned channel aims at: the integer part of n * fraction,
  // held between 1 and n so the thinning stride is at least 1 (a fraction of
  // 0, which the main window's spline control gives at its top, then means
  // the coarsest thinning).
  int64_t nPointsToSpline = 0;
  std::vector<double> inputXPoints;  // 0...1
  std::vector<double> inputYPoints;
  std::vector<double> smoothedValues;  // 256 values; none for an empty channel

  // The thinned list: the first value, then the means of x[i...i+2] for
  // i = 0, s, 2s, ... while i + 1 < n - 1.
  virtual std::vector<double> decimate();
};

}  // namespace linearization
