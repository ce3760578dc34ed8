#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace linearization {

// The two measured values around a target and the index of the earlier one.
struct DensityBracket {
  double later;
  double earlier;
  int64_t index;
};

// The targets and the correction curve of one linearization. The measured
// response (smoothed L*, falling from paper white) is inverted: for every
// target value the curve holds the input position, in percent, at which the
// print reaches it.
class DigitalNegativeCorrectionCurve {
 public:
  virtual ~DigitalNegativeCorrectionCurve() = default;

  double dmax = 0;
  std::vector<double> densitiesToCorrect;
  std::vector<double> linearTargetArray;
  std::vector<double> finalTargetArray;
  std::optional<std::vector<double>> correctionCurveArray;
  double stepValue = 100.0 / 255.0;
  double slope = 0;
  double intercept = 0;

  // The straight line from the first to the last measured value, one entry
  // per measured value; sets slope and intercept. Also left in linearTargetArray.
  virtual std::vector<double> makeLinearTarget();

  // The measured value nearest to x; the first of equally near values wins.
  virtual std::optional<double> nearestDensity(double x) const;

  // The measured values on either side of x, or nothing when a neighbour
  // would lie outside the list (or x or a measured value is not a number).
  virtual std::optional<DensityBracket> bracketDensity(double x) const;

  // Rebuilds correctionCurveArray from finalTargetArray: 100 at entry 0 down
  // to 0 at entry 255, or nothing when some target has no bracket or when the
  // response falls by no more than kLeastFall from its first to its last value.
  virtual void buildCorrectionCurve();

  // The least fall in L*, from the first measured value to the last, that a
  // response needs to give a correction curve.
  static constexpr double kLeastFall = 0.01;
};

}  // namespace linearization
