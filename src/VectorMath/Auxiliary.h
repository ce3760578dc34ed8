#pragma once

// Element-wise rounding, sign and range functions. Each returns a new array
// of the input's length and leaves the input alone; copysignInPlace changes
// its first argument.
//
//   VectorMath::floor(std::vector<double>{-1.5, 1.5})      // {-2, 1}
//   VectorMath::clip(v, 0.0, 1.0)                          // v held in [0, 1]
//   VectorMath::copysign(signs, magnitudes)                // signs first
//
// `round` sends a value halfway between two integers to the even one
// (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2).

#include <concepts>
#include <vector>

#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Precision.h"
#include "platform/accelerate/VectorFunctions.h"

namespace VectorMath {

template <RealCollection C>
std::vector<ElementOf<C>> abs(const C& lhs) {
  namespace a = platform::accelerate;
  return mapToNewArray(lhs, byPrecision<ElementOf<C>>(a::vvfabsf, a::vvfabs));
}

template <RealCollection C>
std::vector<ElementOf<C>> floor(const C& lhs) {
  namespace a = platform::accelerate;
  return mapToNewArray(lhs, byPrecision<ElementOf<C>>(a::vvfloorf, a::vvfloor));
}

template <RealCollection C>
std::vector<ElementOf<C>> ceil(const C& lhs) {
  namespace a = platform::accelerate;
  return mapToNewArray(lhs, byPrecision<ElementOf<C>>(a::vvceilf, a::vvceil));
}

// 1 / lhs[i]; 0 gives an infinity.
template <RealCollection C>
std::vector<ElementOf<C>> rec(const C& lhs) {
  namespace a = platform::accelerate;
  return mapToNewArray(lhs, byPrecision<ElementOf<C>>(a::vvrecf, a::vvrec));
}

// Nearest integer, halfway cases to the even one.
template <RealCollection C>
std::vector<ElementOf<C>> round(const C& lhs) {
  namespace a = platform::accelerate;
  return mapToNewArray(lhs, byPrecision<ElementOf<C>>(a::vvnintf, a::vvnint));
}

// Toward zero.
template <RealCollection C>
std::vector<ElementOf<C>> trunc(const C& lhs) {
  namespace a = platform::accelerate;
  return mapToNewArray(lhs, byPrecision<ElementOf<C>>(a::vvintf, a::vvint));
}

// low where lhs[i] < low, high where lhs[i] > high; low and high are not
// compared with each other.
template <RealCollection C>
std::vector<ElementOf<C>> clip(const C& lhs, ElementOf<C> low, ElementOf<C> high) {
  namespace a = platform::accelerate;
  auto result = copyOf(lhs);
  byPrecision<ElementOf<C>>(a::vclip, a::vclipD)(result.data(), 1, low, high, result.data(), 1, result.size());
  return result;
}

template <RealCollection C>
std::vector<ElementOf<C>> neg(const C& lhs) {
  namespace a = platform::accelerate;
  auto result = copyOf(lhs);
  byPrecision<ElementOf<C>>(a::vneg, a::vnegD)(result.data(), 1, result.data(), 1, result.size());
  return result;
}

// magnitude[i] takes the sign of sign[i]. The sign collection must hold at
// least as many elements as the magnitudes (a longer one is fine; a shorter
// one stops the program rather than being read past its end).
template <MutableRealCollection M, RealCollection S>
  requires std::same_as<ElementOf<M>, ElementOf<S>>
void copysignInPlace(M&& magnitude, const S& sign) {
  using T = ElementOf<M>;
  namespace a = platform::accelerate;
  withUnsafeMutableMemory(magnitude, [&](UnsafeMutableMemory<T> m) {
    withUnsafeMemory(sign, [&](UnsafeMemory<T> s) {
      precondition(m.stride == 1, "the collection written in place is contiguous (stride 1)");
      precondition(s.count >= m.count, "the sign collection is at least as long as the magnitudes");
      int n = int32Count(m.count);
      byPrecision<T>(a::vvcopysignf, a::vvcopysign)(m.pointer, m.pointer, s.pointer, n);
    });
  });
}

// |magnitude[i]| with the sign of sign[i]; note the sign source comes first.
template <RealCollection S, RealCollection M>
  requires std::same_as<ElementOf<S>, ElementOf<M>>
std::vector<ElementOf<M>> copysign(const S& sign, const M& magnitude) {
  auto result = copyOf(magnitude);
  copysignInPlace(result, sign);
  return result;
}

}  // namespace VectorMath
