#include "linearization/v2MovingAverager.h"

#include <algorithm>
#include <span>
#include <utility>

#include "VectorMath/Statistics.h"

namespace linearization {

v2MovingAverager::v2MovingAverager(std::vector<double> input, int64_t window)
    : inputMeausurements(std::move(input)), windowSize(window) {}

std::vector<double> v2MovingAverager::average() const {
  const std::vector<double>& x = inputMeausurements;
  const auto n = static_cast<int64_t>(x.size());
  const int64_t w = windowSize;
  if (w < 2 || n == 0) return x;
  const int64_t h = w / 2;
  // The growing phase reads up to x[h - 1] and starts with x[0...1].
  if (w >= 4 && (n < 2 || n < h)) return x;

  // Mean of the closed slice x[lo...hi].
  const auto meanOf = [&x](int64_t lo, int64_t hi) {
    return VectorMath::mean(std::span<const double>(x).subspan(static_cast<std::size_t>(lo),
                                                                 static_cast<std::size_t>(hi - lo + 1)));
  };

  std::vector<double> result{x[0]};
  int64_t lo = 0;
  int64_t hi = 1;
  if (w >= 4) {
    do {
      result.push_back(meanOf(lo, hi));
      lo += 1;
      hi += 2;
    } while (hi < h);
  }
  while (hi < n - h) {
    result.push_back(meanOf(lo, hi));
    lo += 1;
    hi += 1;
  }
  while (lo < n - 2) {
    const int64_t top = std::min(hi, n - 1);
    result.push_back(meanOf(lo, top));
    lo += 1;
    hi = top + 1;
  }
  return result;
}

}  // namespace linearization
