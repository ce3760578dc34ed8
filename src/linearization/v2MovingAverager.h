#pragma once

#include <cstdint>
#include <vector>

namespace linearization {

// An edge-adaptive moving average over one channel of readings. The slice
// grows from the first value up to the full window, slides with a fixed
// length, and shrinks from the left once it reaches the last value, so n
// values give n - 1 values (the first value is kept as it is).
class v2MovingAverager {
 public:
  v2MovingAverager(std::vector<double> input, int64_t window);
  virtual ~v2MovingAverager() = default;

  std::vector<double> inputMeausurements;
  int64_t windowSize = 0;    // the working half-window is windowSize / 2
  std::vector<double> avg;   // left to the caller to fill from average()

  // The smoothed channel; changes no field. A window below 2 gives the input
  // unchanged, and so does a channel too short for the window's growing
  // phase (fewer than 2 values, or fewer than half the window); an empty
  // channel gives an empty result.
  virtual std::vector<double> average() const;
};

}  // namespace linearization
