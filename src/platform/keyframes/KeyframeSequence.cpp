#include "platform/keyframes/KeyframeSequence.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace platform::keyframes {

KeyframeSequence::KeyframeSequence(const std::vector<double>& values, const std::vector<double>& times) {
  const std::size_t n = std::min(values.size(), times.size());
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Times that are not numbers go last, so the comparison stays a strict weak
  // order and those keyframes fall outside the sampled range.
  const auto earlier = [&](std::size_t a, std::size_t b) {
    const bool aNaN = std::isnan(times[a]);
    const bool bNaN = std::isnan(times[b]);
    if (aNaN || bNaN) return !aNaN && bNaN;
    return times[a] < times[b];
  };
  // Times given in order (the usual case, and millions of them for a long
  // list of readings) keep it without a sort.
  if (!std::is_sorted(order.begin(), order.end(), earlier)) std::stable_sort(order.begin(), order.end(), earlier);
  values_.reserve(n);
  times_.reserve(n);
  for (std::size_t k : order) {
    values_.push_back(values[k]);
    times_.push_back(times[k]);
    if (!std::isnan(times[k])) ++usable_;
  }
  // With no usable time at all the sequence answers with the value that was
  // given first, whatever the time.
  if (usable_ == 0 && n > 0) {
    values_.assign(1, values[0]);
    times_.assign(1, 0.0);
  }
}

double KeyframeSequence::tangent(std::size_t j) const {
  const std::size_t last = usable_ - 1;
  const std::size_t before = j == 0 ? 0 : j - 1;
  const std::size_t after = j == last ? last : j + 1;
  const double span = times_[after] - times_[before];
  if (span == 0.0) return 0.0;
  return (values_[after] - values_[before]) / span;
}

std::optional<double> KeyframeSequence::sampleAtTime(double time) const {
  if (values_.empty()) return std::nullopt;
  if (usable_ == 0) return values_[0];
  if (std::isnan(time)) return std::numeric_limits<double>::quiet_NaN();

  const std::size_t last = usable_ - 1;
  if (time < times_[0]) return values_[0];
  if (time >= times_[last]) return values_[last];

  // times_[j] <= time < times_[j + 1], a segment of positive length; of
  // keyframes sharing a time, the one given last starts the segment.
  const auto end = times_.begin() + static_cast<std::ptrdiff_t>(usable_);
  const std::size_t j = static_cast<std::size_t>(std::upper_bound(times_.begin(), end, time) - times_.begin()) - 1;
  const double t0 = times_[j];
  const double t1 = times_[j + 1];
  const double y0 = values_[j];
  const double y1 = values_[j + 1];
  if (time == t0) return y0;
  const double h = t1 - t0;
  const double s = (time - t0) / h;

  if (mode_ == InterpolationMode::linear) return y0 + (y1 - y0) * s;

  const double s2 = s * s;
  const double s3 = s2 * s;
  const double h00 = 2.0 * s3 - 3.0 * s2 + 1.0;
  const double h10 = s3 - 2.0 * s2 + s;
  const double h01 = -2.0 * s3 + 3.0 * s2;
  const double h11 = s3 - s2;
  return h00 * y0 + h10 * h * tangent(j) + h01 * y1 + h11 * h * tangent(j + 1);
}

}  // namespace platform::keyframes
