#pragma once

#include <functional>
#include <optional>

namespace chart {

// Eased progress of an animation after `elapsed` of `duration` seconds:
// 0 at the start and 1 at the end; the back and elastic curves overshoot on
// the way. Called with elapsed in [0, duration] and a positive duration.
using EasingFunction = std::function<double(double elapsed, double duration)>;

// The named easing curves.
enum class ChartEasingOption : int {
  linear = 0,
  easeInQuad = 1,
  easeOutQuad = 2,
  easeInOutQuad = 3,
  easeInCubic = 4,
  easeOutCubic = 5,
  easeInOutCubic = 6,
  easeInQuart = 7,
  easeOutQuart = 8,
  easeInOutQuart = 9,
  easeInQuint = 10,
  easeOutQuint = 11,
  easeInOutQuint = 12,
  easeInSine = 13,
  easeOutSine = 14,
  easeInOutSine = 15,
  easeInExpo = 16,
  easeOutExpo = 17,
  easeInOutExpo = 18,
  easeInCirc = 19,
  easeOutCirc = 20,
  easeInOutCirc = 21,
  easeInElastic = 22,
  easeOutElastic = 23,
  easeInOutElastic = 24,
  easeInBack = 25,
  easeOutBack = 26,
  easeInOutBack = 27,
  easeInBounce = 28,
  easeOutBounce = 29,
  easeInOutBounce = 30,
};

constexpr std::optional<ChartEasingOption> chartEasingOptionFromRaw(int raw) {
  if (raw >= 0 && raw <= 30) return static_cast<ChartEasingOption>(raw);
  return std::nullopt;
}

// The curve of an option. A value cast from a raw number outside 0...30 is
// no option at all and gets the linear curve rather than undefined behaviour.
EasingFunction easingFunctionFromOption(ChartEasingOption option);

}  // namespace chart
