#pragma once

// Full linear convolution, cross-correlation, autocorrelation and the scaled
// magnitude spectrum. Each returns a new array and changes no input.
//
//   conv(x, k)     count(x) + count(k) - 1 values: sum over q of x[i - q] * k[q]
//   xcorr(x, y)    2 count(x) - 1 values, element i at lag i - (count(x) - 1);
//                  y shorter than x is padded with zeros at its end
//   xcorr(x)       the same with y = x
//   fft(x)         n values: (2 / n) * |X[i]|, X the unnormalised forward
//                  transform of all n samples, for any n >= 1 (every bin kept)
//
// A signal shorter than the kernel or second signal, an empty kernel and an
// empty signal to fft or to the one-argument xcorr stop the program.

#include <cstdint>
#include <vector>

#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Precision.h"
#include "platform/accelerate/Accelerate.h"
#include "platform/accelerate/Fourier.h"
#include "platform/accelerate/VectorFunctions.h"

namespace VectorMath {

namespace detail {

// Sum of two counts minus one; an overflow or a negative total stops.
inline std::int64_t fullLength(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  precondition(!__builtin_add_overflow(a, b, &sum), "the sum of both counts fits a signed 64-bit integer");
  precondition(!__builtin_sub_overflow(sum, 1, &sum), "the full length fits a signed 64-bit integer");
  precondition(sum >= 0, "the full length (sum of both counts less one) is not negative");
  return sum;
}

// pad zeros, the signal, pad zeros again.
template <RealCollection C>
std::vector<ElementOf<C>> padded(const C& signal, std::int64_t pad) {
  std::vector<ElementOf<C>> out;
  out.reserve(std::ranges::size(signal) + 2 * static_cast<std::size_t>(pad));
  out.insert(out.end(), static_cast<std::size_t>(pad), ElementOf<C>(0));
  out.insert(out.end(), std::ranges::begin(signal), std::ranges::end(signal));
  out.insert(out.end(), static_cast<std::size_t>(pad), ElementOf<C>(0));
  return out;
}

template <Real T>
constexpr auto convRoutine() {
  return byPrecision<T>(platform::accelerate::conv, platform::accelerate::convD);
}

}  // namespace detail

template <RealCollection X, RealCollection K>
  requires std::same_as<ElementOf<X>, ElementOf<K>>
std::vector<ElementOf<X>> conv(const X& x, const K& k) {
  using T = ElementOf<X>;
  auto xCount = static_cast<std::int64_t>(std::ranges::size(x));
  auto kCount = static_cast<std::int64_t>(std::ranges::size(k));
  precondition(xCount >= kCount, "the signal is at least as long as the kernel");
  std::int64_t n = detail::fullLength(xCount, kCount);
  std::vector<T> result(static_cast<std::size_t>(n), T(0));
  withUnsafeMemory(k, [&](UnsafeMemory<T> km) {
    std::int64_t span = 0;
    precondition(!__builtin_mul_overflow(km.count, km.stride, &span), "the kernel's span fits a signed 64-bit integer");
    precondition(km.count - 1 >= 0, "the kernel is not empty");
    auto signal = detail::padded(x, km.count - 1);
    // The kernel read backwards from its last element: a convolution.
    const T* last = km.pointer + (km.count - 1) * km.stride;
    detail::convRoutine<T>()(signal.data(), 1, last, -km.stride, result.data(), 1, static_cast<std::size_t>(n),
                             static_cast<std::size_t>(km.count));
  });
  return result;
}

template <RealCollection X, RealCollection Y>
  requires std::same_as<ElementOf<X>, ElementOf<Y>>
std::vector<ElementOf<X>> xcorr(const X& x, const Y& y) {
  using T = ElementOf<X>;
  auto xCount = static_cast<std::int64_t>(std::ranges::size(x));
  precondition(xCount >= static_cast<std::int64_t>(std::ranges::size(y)),
               "the first signal is at least as long as the second");
  std::vector<T> second = copyOf(y);
  second.resize(static_cast<std::size_t>(xCount), T(0));
  auto m = static_cast<std::int64_t>(second.size());
  std::int64_t n = detail::fullLength(xCount, m);
  std::vector<T> result(static_cast<std::size_t>(n), T(0));
  precondition(m > 0, "the second signal is not empty");
  auto signal = detail::padded(x, m - 1);
  // The second signal read forwards: a correlation.
  detail::convRoutine<T>()(signal.data(), 1, second.data(), 1, result.data(), 1, static_cast<std::size_t>(n),
                           static_cast<std::size_t>(m));
  return result;
}

template <RealCollection X>
std::vector<ElementOf<X>> xcorr(const X& x) {
  using T = ElementOf<X>;
  auto count = static_cast<std::int64_t>(std::ranges::size(x));
  std::int64_t n = detail::fullLength(count, count);
  std::vector<T> result(static_cast<std::size_t>(n), T(0));
  auto signal = detail::padded(x, count - 1);
  withUnsafeMemory(x, [&](UnsafeMemory<T> xm) {
    detail::convRoutine<T>()(signal.data(), 1, xm.pointer, xm.stride, result.data(), 1, static_cast<std::size_t>(n),
                             static_cast<std::size_t>(xm.count));
  });
  return result;
}

template <Real T>
std::vector<T> fft(const std::vector<T>& x) {
  namespace a = platform::accelerate;
  const std::size_t n = x.size();
  precondition(n >= 1, "there is at least one sample");
  std::vector<T> real = x;  // the caller's samples are never transformed
  std::vector<T> imag(n, T(0));
  auto setup = a::FFTSetup::create(n);
  precondition(setup != nullptr, "an FFT set-up can be made for this length");
  setup->forward(real.data(), imag.data());

  std::vector<T> magnitudes(n, T(0));
  byPrecision<T>(a::zvmags, a::zvmagsD)(real.data(), imag.data(), 1, magnitudes.data(), 1, n);
  std::vector<T> result(n, T(0));
  int count = int32Count(static_cast<std::int64_t>(n));
  byPrecision<T>(a::vvsqrtf, a::vvsqrt)(magnitudes.data(), magnitudes.data(), count);
  T factor = T(2) / static_cast<T>(n);
  byPrecision<T>(a::vsmul, a::vsmulD)(magnitudes.data(), 1, factor, result.data(), 1, n);
  return result;
}

}  // namespace VectorMath
