#pragma once

// Element-wise logarithms, trigonometric and hyperbolic functions. Each
// returns a new array of the input's length (the input is not changed);
// sincos returns the pair (sines, cosines). logInPlace and cosInPlace
// overwrite a writable view, as the normal random arrays need.
//
// No domain test is made: log of a negative number or asin(2) gives NaN,
// log(0) gives -infinity, and the operation carries on.

#include <utility>
#include <vector>

#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Precision.h"
#include "platform/accelerate/VectorFunctions.h"

namespace VectorMath {

// One returning operation per routine pair.
#define INKCURVE_ELEMENTWISE(name, floatRoutine, doubleRoutine)                                        \
  template <RealCollection C>                                                                          \
  std::vector<ElementOf<C>> name(const C& lhs) {                                                       \
    return mapToNewArray(lhs, byPrecision<ElementOf<C>>(platform::accelerate::floatRoutine,            \
                                                        platform::accelerate::doubleRoutine));         \
  }

INKCURVE_ELEMENTWISE(log, vvlogf, vvlog)
INKCURVE_ELEMENTWISE(log2, vvlog2f, vvlog2)
INKCURVE_ELEMENTWISE(log10, vvlog10f, vvlog10)
INKCURVE_ELEMENTWISE(logb, vvlogbf, vvlogb)
INKCURVE_ELEMENTWISE(sin, vvsinf, vvsin)
INKCURVE_ELEMENTWISE(cos, vvcosf, vvcos)
INKCURVE_ELEMENTWISE(tan, vvtanf, vvtan)
INKCURVE_ELEMENTWISE(asin, vvasinf, vvasin)
INKCURVE_ELEMENTWISE(acos, vvacosf, vvacos)
INKCURVE_ELEMENTWISE(atan, vvatanf, vvatan)
INKCURVE_ELEMENTWISE(sinh, vvsinhf, vvsinh)
INKCURVE_ELEMENTWISE(cosh, vvcoshf, vvcosh)
INKCURVE_ELEMENTWISE(tanh, vvtanhf, vvtanh)
INKCURVE_ELEMENTWISE(asinh, vvasinhf, vvasinh)
INKCURVE_ELEMENTWISE(acosh, vvacoshf, vvacosh)
INKCURVE_ELEMENTWISE(atanh, vvatanhf, vvatanh)

#undef INKCURVE_ELEMENTWISE

namespace detail {

// In place on a writable view: stride 1, count within 32 bits.
template <Real T>
void onView(UnsafeMutableMemory<T> m, ElementwiseRoutine<T> routine) {
  precondition(m.stride == 1, "the collection written in place is contiguous (stride 1)");
  int n = int32Count(m.count);
  routine(m.pointer, m.pointer, n);
}

}  // namespace detail

// Each element becomes its natural logarithm.
template <Real T>
void logInPlace(UnsafeMutableMemory<T> m) {
  detail::onView(m, byPrecision<T>(platform::accelerate::vvlogf, platform::accelerate::vvlog));
}

// Each element becomes its cosine.
template <Real T>
void cosInPlace(UnsafeMutableMemory<T> m) {
  detail::onView(m, byPrecision<T>(platform::accelerate::vvcosf, platform::accelerate::vvcos));
}

// (sines, cosines) of the elements, both of the input's length.
template <RealCollection C>
std::pair<std::vector<ElementOf<C>>, std::vector<ElementOf<C>>> sincos(const C& lhs) {
  using T = ElementOf<C>;
  return withUnsafeMemory(lhs, [](UnsafeMemory<T> m) {
    precondition(m.stride == 1, "the collection written in place is contiguous (stride 1)");
    precondition(m.count >= 0, "the element count is not negative");
    std::vector<T> sines, cosines;
    if (m.count > 0) {
      sines.assign(static_cast<std::size_t>(m.count), T(0));
      cosines.assign(static_cast<std::size_t>(m.count), T(0));
      int n = int32Count(m.count);
      byPrecision<T>(platform::accelerate::vvsincosf, platform::accelerate::vvsincos)(sines.data(), cosines.data(),
                                                                                        m.pointer, n);
    }
    return std::pair{std::move(sines), std::move(cosines)};
  });
}

}  // namespace VectorMath
