#pragma once

// Random scalars and arrays, uniform over a closed range and normally
// distributed, and the product of a scalar with a collection.
//
// Every draw comes either from the system's random source (eight fresh
// kernel bytes per 64-bit word) or from a generator the caller passes by
// reference: any std::uniform_random_bit_generator of 64-bit words over the
// full range (std::mt19937_64, or a fixed list of words in tests). The same
// words give the same values:
//
//   uniform over [lower, upper], single precision: r = low 32 bits of a word,
//     m = r * (2^24 + 1); words whose low half of m is below 2^24 - 255 are
//     rejected and another is drawn; k = m >> 32 in 0 ... 2^24; the value is
//     upper when k = 2^24, else (upper - lower) * (k * 2^-24) + lower.
//   double precision: the same with the whole word, 2^53 + 1, a 128-bit
//     product, the threshold 2^53 - 2047 and the scale 2^-53.
//   normal: u1, then u2, uniform over [0, 1];
//     ((sqrt(-2 ln u1) * cos(2 pi u2)) * deviation) + mean, where a u1 of
//     exactly 0 counts as the smallest step of its grid (2^-24 or 2^-53), so
//     that every normal value is finite.
//
// Arrays draw their values in order; a normal array draws all of u1 before
// any of u2. A range with lower > upper, or whose width is not finite (tested
// only when something is drawn), stops the program, as does a negative count.

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <random>
#include <type_traits>
#include <vector>

#include "VectorMath/Arithmetic.h"
#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Precision.h"
#include "VectorMath/Trigonometry.h"
#include "platform/accelerate/Accelerate.h"
#include "platform/random/SystemRandomNumberGenerator.h"

namespace VectorMath {

// A caller's source of 64-bit random words.
template <class G>
concept RandomNumberGenerator =
    std::uniform_random_bit_generator<G> && std::same_as<typename G::result_type, std::uint64_t> &&
    (G::min() == 0) && (G::max() == std::numeric_limits<std::uint64_t>::max());

namespace detail {

// 2 pi as the draws use it: in single precision the number 6.283185, one step
// below the float nearest to 2 pi.
template <Real T>
inline constexpr T twoPi = byPrecision<T>(6.283185f, 6.283185307179586);

// The smallest positive value a uniform draw over [0, 1] can give.
template <Real T>
inline constexpr T smallestGridStep = byPrecision<T>(0x1p-24f, 0x1p-53);

template <Real T>
void checkRange(T lower, T upper) {
  precondition(lower <= upper, "lower <= upper");
}

template <Real T>
T checkedWidth(T lower, T upper) {
  T width = upper - lower;
  precondition(std::isfinite(width), "upper - lower is a finite number");
  return width;
}

// One draw over [lower, upper] of the given (finite) width.
template <Real T, RandomNumberGenerator G>
T drawUniform(T lower, T upper, T width, G& generator) {
  if constexpr (std::same_as<T, float>) {
    constexpr std::uint64_t steps = (std::uint64_t{1} << 24) + 1;
    constexpr std::uint64_t threshold = (std::uint64_t{1} << 24) - 255;  // 2^32 mod (2^24 + 1)
    std::uint64_t m = 0;
    do {
      std::uint64_t r = generator() & 0xFFFF'FFFFu;
      m = r * steps;
    } while ((m & 0xFFFF'FFFFu) < threshold);
    std::uint64_t k = m >> 32;
    if (k == (std::uint64_t{1} << 24)) return upper;
    return width * (static_cast<float>(k) * 0x1p-24f) + lower;
  } else {
    constexpr std::uint64_t steps = (std::uint64_t{1} << 53) + 1;
    constexpr std::uint64_t threshold = (std::uint64_t{1} << 53) - 2047;  // 2^64 mod (2^53 + 1)
    unsigned __int128 m = 0;
    do {
      std::uint64_t r = generator();
      m = static_cast<unsigned __int128>(r) * steps;
    } while (static_cast<std::uint64_t>(m) < threshold);
    auto k = static_cast<std::uint64_t>(m >> 64);
    if (k == (std::uint64_t{1} << 53)) return upper;
    return width * (static_cast<double>(k) * 0x1p-53) + lower;
  }
}

}  // namespace detail

// ---- Uniform scalars.

template <Real T, RandomNumberGenerator G>
T randomUniform(T lower, T upper, G& generator) {
  detail::checkRange(lower, upper);
  T width = detail::checkedWidth(lower, upper);
  return detail::drawUniform(lower, upper, width, generator);
}

template <Real T>
T randomUniform(T lower, T upper) {
  platform::random::SystemRandomNumberGenerator system;
  return randomUniform(lower, upper, system);
}

// ---- Uniform arrays: end - start draws in order, the width tested once
// before the first (and not at all when nothing is drawn).

template <Real T, RandomNumberGenerator G>
std::vector<T> randomUniformArray(std::int64_t start, std::int64_t end, T lower, T upper, G& generator) {
  precondition(end >= start, "end >= start");
  detail::checkRange(lower, upper);
  std::vector<T> values;
  if (end == start) return values;
  T width = detail::checkedWidth(lower, upper);
  std::int64_t count = 0;
  precondition(!__builtin_sub_overflow(end, start, &count), "end - start fits a signed 64-bit integer");
  values.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) values.push_back(detail::drawUniform(lower, upper, width, generator));
  return values;
}

template <Real T>
std::vector<T> randomUniformArray(std::int64_t start, std::int64_t end, T lower, T upper) {
  platform::random::SystemRandomNumberGenerator system;
  return randomUniformArray(start, end, lower, upper, system);
}

template <Real T, RandomNumberGenerator G>
std::vector<T> randomUniform(std::int64_t count, T lower, T upper, G& generator) {
  precondition(count >= 0, "the count is not negative");
  return randomUniformArray(0, count, lower, upper, generator);
}

template <Real T>
std::vector<T> randomUniform(std::int64_t count, T lower, T upper) {
  precondition(count >= 0, "the count is not negative");
  return randomUniformArray(0, count, lower, upper);
}

// ---- Normal scalars (Box-Muller, the cosine branch).

template <Real T, RandomNumberGenerator G>
T randomNormal(T mean, T deviation, G& generator) {
  T u1 = randomUniform(T(0), T(1), generator);
  T u2 = randomUniform(T(0), T(1), generator);
  if (u1 == T(0)) u1 = detail::smallestGridStep<T>;
  return ((std::sqrt(T(-2) * std::log(u1)) * std::cos(detail::twoPi<T> * u2)) * deviation) + mean;
}

template <Real T>
T randomNormal(T mean, T deviation) {
  platform::random::SystemRandomNumberGenerator system;
  return randomNormal(mean, deviation, system);
}

// ---- Normal arrays.

// In place over whole arrays: u1[i] becomes sqrt(-2 ln u1[i]) * cos(2 pi u2[i]),
// one standard normal value per pair; u2 is used up. A u1 of exactly 0 counts
// as the smallest step of the draw grid.
template <Real T>
void boxMullerTransform(std::vector<T>& u1, std::vector<T>& u2) {
  namespace a = platform::accelerate;
  precondition(u1.size() == u2.size(), "both uniform samples hold as many elements");
  for (T& u : u1)
    if (u == T(0)) u = detail::smallestGridStep<T>;
  withUnsafeMutableMemory(u1, [](UnsafeMutableMemory<T> m) { logInPlace(m); });
  byPrecision<T>(a::vsmul, a::vsmulD)(u1.data(), 1, T(-2), u1.data(), 1, u1.size());
  sqrtInPlace(u1);
  byPrecision<T>(a::vsmul, a::vsmulD)(u2.data(), 1, detail::twoPi<T>, u2.data(), 1, u2.size());
  withUnsafeMutableMemory(u2, [](UnsafeMutableMemory<T> m) { cosInPlace(m); });
  byPrecision<T>(a::vmul, a::vmulD)(u1.data(), 1, u2.data(), 1, u1.data(), 1, u1.size());
}

template <Real T, RandomNumberGenerator G>
std::vector<T> randomNormal(std::int64_t count, T mean, T deviation, G& generator) {
  namespace a = platform::accelerate;
  precondition(count >= 0, "the count is not negative");
  std::vector<T> u1 = randomUniform(count, T(0), T(1), generator);
  std::vector<T> u2 = randomUniform(count, T(0), T(1), generator);
  boxMullerTransform(u1, u2);
  byPrecision<T>(a::vsmul, a::vsmulD)(u1.data(), 1, deviation, u1.data(), 1, u1.size());
  byPrecision<T>(a::vsadd, a::vsaddD)(u1.data(), 1, mean, u1.data(), 1, u1.size());
  return u1;
}

template <Real T>
std::vector<T> randomNormal(std::int64_t count, T mean, T deviation) {
  platform::random::SystemRandomNumberGenerator system;
  return randomNormal(count, mean, deviation, system);
}

// ---- Scalar times collection: element i is scalar * collection[i].

template <RealCollection C>
std::vector<ElementOf<C>> mul(ElementOf<C> scalar, const C& collection) {
  using T = ElementOf<C>;
  auto count = static_cast<std::int64_t>(std::ranges::size(collection));
  precondition(count >= 0, "the count is not negative");
  std::vector<T> result(static_cast<std::size_t>(count), scalar);
  elmulInPlace(result, collection);
  return result;
}

}  // namespace VectorMath
