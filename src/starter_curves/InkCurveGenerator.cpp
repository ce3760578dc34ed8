#include "starter_curves/InkCurveGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/Fatal.h"

namespace starter_curves {
namespace {

constexpr int64_t kSteps = 256;

double sign(double v) { return v > 0.0 ? 1.0 : (v < 0.0 ? -1.0 : 0.0); }

// The slope at an end of the curve: a three-point estimate that is cut back
// so the end segment cannot overshoot.
double endSlope(double h0, double h1, double d0, double d1) {
  double slope = ((2.0 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
  if (sign(slope) != sign(d0)) return 0.0;
  if (sign(d0) != sign(d1) && std::fabs(slope) > std::fabs(3.0 * d0)) return 3.0 * d0;
  return slope;
}

// Slopes at every anchor (Fritsch-Carlson): 0 at a local extreme or next to a
// flat run, else a weighted harmonic mean of the neighbouring secants.
std::vector<double> anchorSlopes(const std::vector<CurveAnchor>& a) {
  const size_t n = a.size();
  std::vector<double> h(n - 1), delta(n - 1), slopes(n, 0.0);
  for (size_t k = 0; k + 1 < n; ++k) {
    h[k] = static_cast<double>(a[k + 1].step - a[k].step);
    delta[k] = (a[k + 1].level - a[k].level) / h[k];
  }
  if (n == 2) {
    slopes[0] = slopes[1] = delta[0];
    return slopes;
  }
  for (size_t k = 1; k + 1 < n; ++k) {
    if (delta[k - 1] * delta[k] <= 0.0) continue;
    const double w1 = 2.0 * h[k] + h[k - 1];
    const double w2 = h[k] + 2.0 * h[k - 1];
    slopes[k] = (w1 + w2) / (w1 / delta[k - 1] + w2 / delta[k]);
  }
  slopes[0] = endSlope(h[0], h[1], delta[0], delta[1]);
  slopes[n - 1] = endSlope(h[n - 2], h[n - 3], delta[n - 2], delta[n - 3]);
  return slopes;
}

}  // namespace

std::vector<double> inkCurveThrough(const std::vector<CurveAnchor>& anchors) {
  if (anchors.size() < 2 || anchors.front().step != 0 || anchors.back().step != kSteps - 1) {
    platform::fatalError("ink curve anchors must run from step 0 to step 255");
  }
  for (size_t k = 0; k + 1 < anchors.size(); ++k) {
    if (anchors[k + 1].step <= anchors[k].step) platform::fatalError("ink curve anchors out of order");
  }

  const std::vector<double> slopes = anchorSlopes(anchors);
  std::vector<double> levels(kSteps, 0.0);
  size_t k = 0;
  for (int64_t step = 0; step < kSteps; ++step) {
    while (anchors[k + 1].step < step) ++k;
    const CurveAnchor& lo = anchors[k];
    const CurveAnchor& hi = anchors[k + 1];
    if (step == lo.step) {
      levels[step] = lo.level;
      continue;
    }
    if (step == hi.step) {
      levels[step] = hi.level;
      continue;
    }
    const double h = static_cast<double>(hi.step - lo.step);
    const double t = static_cast<double>(step - lo.step) / h;
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double value = (2.0 * t3 - 3.0 * t2 + 1.0) * lo.level + (t3 - 2.0 * t2 + t) * h * slopes[k] +
                         (-2.0 * t3 + 3.0 * t2) * hi.level + (t3 - t2) * h * slopes[k + 1];
    // The cubic stays between its two anchors; the clamp only absorbs
    // floating-point rounding (and turns -0.0 into 0.0).
    const double low = std::min(lo.level, hi.level);
    const double high = std::max(lo.level, hi.level);
    levels[step] = std::round(std::clamp(value, low, high)) + 0.0;
  }

  // Keep a single highest anchor the only step at its level.
  size_t top = 0;
  int64_t atTop = 0;
  for (size_t j = 0; j < anchors.size(); ++j) {
    if (anchors[j].level > anchors[top].level) top = j;
  }
  for (const auto& anchor : anchors) atTop += anchor.level == anchors[top].level ? 1 : 0;
  if (atTop == 1) {
    const double peak = anchors[top].level;
    for (int64_t step = 0; step < kSteps; ++step) {
      if (step != anchors[top].step && levels[step] >= peak) levels[step] = peak - 1.0;
    }
  }
  return levels;
}

}  // namespace starter_curves
