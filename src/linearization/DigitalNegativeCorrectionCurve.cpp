#include "linearization/DigitalNegativeCorrectionCurve.h"

#include <algorithm>
#include <cmath>

namespace linearization {

std::vector<double> DigitalNegativeCorrectionCurve::makeLinearTarget() {
  const auto& d = densitiesToCorrect;
  linearTargetArray.clear();
  if (d.empty()) return linearTargetArray;
  const int64_t n = static_cast<int64_t>(d.size());
  intercept = d[0];
  slope = (d[n - 1] - d[0]) / 100.0;
  const double step = 100.0 / static_cast<double>(n - 1);
  linearTargetArray.reserve(d.size());
  for (int64_t i = 0; i < n; ++i) {
    const double along = step * static_cast<double>(i);
    linearTargetArray.push_back(d[0] + slope * along);
  }
  // The last entry is the last measured value exactly, not a rounded sum.
  linearTargetArray[n - 1] = d[n - 1];
  return linearTargetArray;
}

std::optional<double> DigitalNegativeCorrectionCurve::nearestDensity(double x) const {
  if (densitiesToCorrect.empty()) return std::nullopt;
  double best = densitiesToCorrect.front();
  double bestDistance = std::fabs(best - x);
  for (double v : densitiesToCorrect) {
    const double distance = std::fabs(v - x);
    if (distance < bestDistance) {
      best = v;
      bestDistance = distance;
    }
  }
  return best;
}

std::optional<DensityBracket> DigitalNegativeCorrectionCurve::bracketDensity(double x) const {
  const auto& d = densitiesToCorrect;
  if (d.empty() || std::isnan(x)) return std::nullopt;
  // A measured value that is not a number can be neither nearest nor a
  // bracket end; the whole response is unusable then.
  if (std::any_of(d.begin(), d.end(), [](double v) { return std::isnan(v); })) return std::nullopt;

  const auto nearest = nearestDensity(x);
  const int64_t n = static_cast<int64_t>(d.size());
  auto firstIndexOf = [&](double value) {
    return static_cast<int64_t>(std::find(d.begin(), d.end(), value) - d.begin());
  };
  const int64_t k = firstIndexOf(*nearest);

  if (*nearest > x) {
    if (k + 1 >= n) return std::nullopt;
    return DensityBracket{d[k + 1], d[k], k};
  }
  double earlier;
  if (d[k] == d[n - 1]) {
    earlier = d[n - 1];
  } else {
    if (k == 0) return std::nullopt;
    earlier = d[k - 1];
  }
  return DensityBracket{*nearest, earlier, firstIndexOf(earlier)};
}

void DigitalNegativeCorrectionCurve::buildCorrectionCurve() {
  const auto& t = finalTargetArray;
  const auto& d = densitiesToCorrect;
  const int64_t m = static_cast<int64_t>(t.size());
  // A response that does not fall from paper white to its darkest step (flat
  // or rising) has nothing to invert: every target would meet the same
  // bracket and come out as 99.9, which empties every channel it corrects.
  if (m < 2 || d.empty() || !(d.front() - d.back() > kLeastFall)) {
    correctionCurveArray.reset();
    return;
  }
  const double c = 100.0 / 255.0;
  std::vector<double> curve{0.0};
  curve.reserve(t.size());
  for (int64_t j = 1; j <= m - 2; ++j) {
    const double x = t[j];
    const auto b = bracketDensity(x);
    if (!b) {
      correctionCurveArray.reset();
      return;
    }
    double value;
    if (b->later == b->earlier && x < b->earlier) {
      // A flat stretch of the response with the target below it: the formula
      // would divide by zero towards minus infinity. Take the end of the
      // stretch's step instead.
      value = static_cast<double>(b->index + 1) * 100.0 / 255.0;
    } else {
      value = static_cast<double>(b->index) * c + ((x - b->earlier) * c) / (b->later - b->earlier);
    }
    if (value <= 100.0) {
      // A bracket on the wrong side of its target (non-monotone readings)
      // can give a position below 0 percent, which has no meaning.
      curve.push_back(value < 0.0 ? 0.0 : value);
    } else {
      curve.push_back(99.9);  // beyond the last step, +inf, and 0/0 alike
    }
  }
  curve.push_back(100.0);
  std::reverse(curve.begin(), curve.end());
  correctionCurveArray = std::move(curve);
}

}  // namespace linearization
