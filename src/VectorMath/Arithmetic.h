#pragma once

// Element-wise arithmetic on collections of float or double (see
// VectorMath.h for how collections are passed). Returning forms give a new
// array with the values of copying `lhs` (a slice's elements only) and
// working on the copy in place (produceByBlocks in MemoryAccess.h); `lhs` and
// `rhs` never change. In-place forms (…InPlace) overwrite `lhs`.
// Operations on two collections require equal counts; every check runs
// before any element is written.
//
// Operator forms live in VectorMath::Operators (bring them in with
// `using namespace VectorMath::Operators;`):
//   lhs + s, lhs - s, lhs * s, lhs / s   and += -= *= /=     (scalar forms)
//   lhs + rhs, lhs - rhs                 and += -=           (collection add, sub)
//   lhs * rhs, lhs / rhs                 and *= /=           (elmul, eldiv)
//   lhs % s, lhs % rhs                   and %=              (fmod)
//   lhs ^ s, lhs ^ rhs                   and ^=              (pow; mind that ^
//                                                             binds looser than + and *)
//   lhs | rhs                                                (dot)

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Routines.h"

namespace VectorMath {

template <class C, class R>
concept SameElements = std::same_as<ElementOf<C>, ElementOf<R>>;

// The last step of the collection add and sub on views: m[i] += alpha * r[i]
// over m.count elements (the caller has matched the counts).
template <Real T>
void axpyStep(UnsafeMemory<T> r, UnsafeMutableMemory<T> m, T alpha) {
  int n = int32Count(m.count);
  int incX = int32Count(r.stride);
  int incY = int32Count(m.stride);
  Routines<T>::axpy(n, alpha, r.pointer, incX, m.pointer, incY);
}

namespace detail {

template <class T>
using ScalarRoutine = void (*)(const T*, std::ptrdiff_t, T, T*, std::ptrdiff_t, std::size_t);

template <class T>
void scalarInPlace(UnsafeMutableMemory<T> m, T s, ScalarRoutine<T> routine) {
  precondition(m.count >= 0, "the element count is not negative");
  routine(m.pointer, m.stride, s, m.pointer, m.stride, static_cast<std::size_t>(m.count));
}

template <MutableRealCollection C>
void scalarInPlace(C&& lhs, ElementOf<C> s, ScalarRoutine<ElementOf<C>> routine) {
  withUnsafeMutableMemory(lhs, [&](auto m) { scalarInPlace(m, s, routine); });
}

template <RealCollection C>
std::vector<ElementOf<C>> scalarReturning(const C& lhs, ElementOf<C> s, ScalarRoutine<ElementOf<C>> routine) {
  return produceByBlocks(lhs, [&](auto in, auto out) { routine(in.data(), 1, s, out.data(), 1, out.size()); });
}

// lhs[i] = lhs[i] + alpha * rhs[i] (BLAS axpy); add and sub share it.
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void axpyInPlace(L&& lhs, const R& rhs, ElementOf<L> alpha) {
  using T = ElementOf<L>;
  withEqualCounts(lhs, rhs, [&](UnsafeMutableMemory<T> m, UnsafeMemory<T> r) { axpyStep(r, m, alpha); });
}

// lhs[i] = lhs[i] * rhs[i] or lhs[i] / rhs[i] (vDSP vmul, vdiv).
enum class ElementStep { multiply, divide };

template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void elementInPlace(L&& lhs, const R& rhs, ElementStep step) {
  using T = ElementOf<L>;
  withEqualCounts(lhs, rhs, [&](UnsafeMutableMemory<T> m, UnsafeMemory<T> r) {
    precondition(m.count >= 0, "the element count is not negative");
    auto n = static_cast<std::size_t>(m.count);
    if (step == ElementStep::multiply)
      Routines<T>::vmul(m.pointer, m.stride, r.pointer, r.stride, m.pointer, m.stride, n);
    else
      Routines<T>::vdiv(r.pointer, r.stride, m.pointer, m.stride, m.pointer, m.stride, n);
  });
}

// vForce with a second collection: fmod and remainder take (out, dividends,
// divisors); pow takes (out, exponents, bases) and needs stride 1 on both.
enum class PairKind { fmod, remainder, pow };

template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void pairInPlace(L&& lhs, const R& rhs, PairKind kind) {
  using T = ElementOf<L>;
  precondition(std::ranges::size(lhs) == std::ranges::size(rhs), "both collections hold as many elements");
  int n = int32Count(static_cast<std::int64_t>(std::ranges::size(lhs)));
  withUnsafeMutableMemory(lhs, [&](UnsafeMutableMemory<T> m) {
    if (kind == PairKind::pow) precondition(m.stride == 1, "the collection written in place is contiguous (stride 1)");
    withUnsafeMemory(rhs, [&](UnsafeMemory<T> r) {
      switch (kind) {
        case PairKind::fmod:
          Routines<T>::vvfmod(m.pointer, m.pointer, r.pointer, n);
          break;
        case PairKind::remainder:
          Routines<T>::vvremainder(m.pointer, m.pointer, r.pointer, n);
          break;
        case PairKind::pow:
          precondition(r.stride == 1, "the second collection is contiguous (stride 1)");
          Routines<T>::vvpow(m.pointer, r.pointer, m.pointer, n);
          break;
      }
    });
  });
}

// The same with a scalar: an array of count copies of s stands in for rhs.
template <MutableRealCollection C>
void pairInPlace(C&& lhs, ElementOf<C> s, PairKind kind) {
  auto c = static_cast<std::int64_t>(std::ranges::size(lhs));
  precondition(c >= 0, "the element count is not negative");
  std::vector<ElementOf<C>> e(static_cast<std::size_t>(c), s);
  pairInPlace(lhs, e, kind);
}

// vForce routine of `kind` writing a separate output: out[i] from lhs[i] and
// rhs[i] (exponents for pow, divisors for fmod and remainder).
template <Real T>
void pairInto(std::span<T> out, std::span<const T> lhs, std::span<const T> rhs, PairKind kind) {
  int n = static_cast<int>(out.size());
  switch (kind) {
    case PairKind::fmod:
      Routines<T>::vvfmod(out.data(), lhs.data(), rhs.data(), n);
      break;
    case PairKind::remainder:
      Routines<T>::vvremainder(out.data(), lhs.data(), rhs.data(), n);
      break;
    case PairKind::pow:
      Routines<T>::vvpow(out.data(), rhs.data(), lhs.data(), n);
      break;
  }
}

template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> pairReturning(const L& lhs, const R& rhs, PairKind kind) {
  using T = ElementOf<L>;
  int32Count(static_cast<std::int64_t>(std::ranges::size(lhs)));
  return produceByBlocks(lhs, rhs, [&](auto l, auto r, auto out) { pairInto<T>(out, l, r, kind); });
}

// With a scalar: the array of copies of s need only be as long as a block.
template <RealCollection C>
std::vector<ElementOf<C>> pairReturning(const C& lhs, ElementOf<C> s, PairKind kind) {
  using T = ElementOf<C>;
  auto c = int32Count(static_cast<std::int64_t>(std::ranges::size(lhs)));
  const std::vector<T> e(static_cast<std::size_t>(std::min<std::int64_t>(c, kReturningBlock)), s);
  return produceByBlocks(lhs, [&](auto l, auto out) { pairInto<T>(out, l, std::span(e).first(out.size()), kind); });
}

}  // namespace detail

// ---- add, sub, mul, div by a scalar (vDSP); sub adds -s.

template <RealCollection C>
std::vector<ElementOf<C>> add(const C& lhs, ElementOf<C> s) {
  return detail::scalarReturning(lhs, s, Routines<ElementOf<C>>::vsadd);
}
template <MutableRealCollection C>
void addInPlace(C&& lhs, ElementOf<C> s) {
  detail::scalarInPlace(lhs, s, Routines<ElementOf<C>>::vsadd);
}
template <RealCollection C>
std::vector<ElementOf<C>> sub(const C& lhs, ElementOf<C> s) {
  return detail::scalarReturning(lhs, -s, Routines<ElementOf<C>>::vsadd);
}
template <MutableRealCollection C>
void subInPlace(C&& lhs, ElementOf<C> s) {
  detail::scalarInPlace(lhs, -s, Routines<ElementOf<C>>::vsadd);
}
template <RealCollection C>
std::vector<ElementOf<C>> mul(const C& lhs, ElementOf<C> s) {
  return detail::scalarReturning(lhs, s, Routines<ElementOf<C>>::vsmul);
}
template <MutableRealCollection C>
void mulInPlace(C&& lhs, ElementOf<C> s) {
  detail::scalarInPlace(lhs, s, Routines<ElementOf<C>>::vsmul);
}
// A true division, lhs[i] / s.
template <RealCollection C>
std::vector<ElementOf<C>> div(const C& lhs, ElementOf<C> s) {
  return detail::scalarReturning(lhs, s, Routines<ElementOf<C>>::vsdiv);
}
template <MutableRealCollection C>
void divInPlace(C&& lhs, ElementOf<C> s) {
  detail::scalarInPlace(lhs, s, Routines<ElementOf<C>>::vsdiv);
}

// ---- add, sub of two collections (BLAS axpy with alpha 1 / -1).


template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> add(const L& lhs, const R& rhs) {
  return produceByBlocks(lhs, rhs, [](auto l, auto r, auto out) {
    Routines<ElementOf<L>>::vadd(l.data(), 1, r.data(), 1, out.data(), 1, out.size());
  });
}
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void addInPlace(L&& lhs, const R& rhs) {
  detail::axpyInPlace(lhs, rhs, ElementOf<L>(1));
}
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> sub(const L& lhs, const R& rhs) {
  // No routine subtracts into a separate output: copy the block, then axpy.
  return produceByBlocks(lhs, rhs, [](auto l, auto r, auto out) {
    std::ranges::copy(l, out.begin());
    detail::axpyInPlace(out, r, ElementOf<L>(-1));
  });
}
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void subInPlace(L&& lhs, const R& rhs) {
  detail::axpyInPlace(lhs, rhs, ElementOf<L>(-1));
}

// ---- element-wise product and quotient (vDSP): lhs[i] * rhs[i], lhs[i] / rhs[i].

template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> elmul(const L& lhs, const R& rhs) {
  return produceByBlocks(lhs, rhs, [](auto l, auto r, auto out) {
    Routines<ElementOf<L>>::vmul(l.data(), 1, r.data(), 1, out.data(), 1, out.size());
  });
}
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void elmulInPlace(L&& lhs, const R& rhs) {
  detail::elementInPlace(lhs, rhs, detail::ElementStep::multiply);
}
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> eldiv(const L& lhs, const R& rhs) {
  return produceByBlocks(lhs, rhs, [](auto l, auto r, auto out) {
    Routines<ElementOf<L>>::vdiv(r.data(), 1, l.data(), 1, out.data(), 1, out.size());
  });
}
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void eldivInPlace(L&& lhs, const R& rhs) {
  detail::elementInPlace(lhs, rhs, detail::ElementStep::divide);
}

// ---- fmod, remainder, pow (vForce). fmod keeps the dividend's sign;
// remainder is the IEEE remainder; pow(lhs, s)[i] = lhs[i] raised to s, with
// the C library's special cases.

template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> fmod(const L& lhs, const R& rhs) {
  return detail::pairReturning(lhs, rhs, detail::PairKind::fmod);
}
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void fmodInPlace(L&& lhs, const R& rhs) {
  detail::pairInPlace(lhs, rhs, detail::PairKind::fmod);
}
template <RealCollection C>
std::vector<ElementOf<C>> fmod(const C& lhs, ElementOf<C> s) {
  return detail::pairReturning(lhs, s, detail::PairKind::fmod);
}
template <MutableRealCollection C>
void fmodInPlace(C&& lhs, ElementOf<C> s) {
  detail::pairInPlace(lhs, s, detail::PairKind::fmod);
}

template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> remainder(const L& lhs, const R& rhs) {
  return detail::pairReturning(lhs, rhs, detail::PairKind::remainder);
}
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void remainderInPlace(L&& lhs, const R& rhs) {
  detail::pairInPlace(lhs, rhs, detail::PairKind::remainder);
}

template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> pow(const L& lhs, const R& rhs) {
  return detail::pairReturning(lhs, rhs, detail::PairKind::pow);
}
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void powInPlace(L&& lhs, const R& rhs) {
  detail::pairInPlace(lhs, rhs, detail::PairKind::pow);
}
// The gamma curve's operation: a new array, element i = lhs[i] raised to s.
template <RealCollection C>
std::vector<ElementOf<C>> pow(const C& lhs, ElementOf<C> s) {
  return detail::pairReturning(lhs, s, detail::PairKind::pow);
}
template <MutableRealCollection C>
void powInPlace(C&& lhs, ElementOf<C> s) {
  detail::pairInPlace(lhs, s, detail::PairKind::pow);
}

// ---- unary: e^x, 2^x, x*x, square root.

template <RealCollection C>
std::vector<ElementOf<C>> exp(const C& lhs) {
  return mapToNewArray(lhs, Routines<ElementOf<C>>::vvexp);
}
template <RealCollection C>
std::vector<ElementOf<C>> exp2(const C& lhs) {
  return mapToNewArray(lhs, Routines<ElementOf<C>>::vvexp2);
}
template <RealCollection C>
std::vector<ElementOf<C>> sq(const C& lhs) {
  return produceByBlocks(lhs, [](auto in, auto out) {
    Routines<ElementOf<C>>::vsq(in.data(), 1, out.data(), 1, out.size());
  });
}
template <RealCollection C>
std::vector<ElementOf<C>> sqrt(const C& lhs) {
  return mapToNewArray(lhs, Routines<ElementOf<C>>::vvsqrt);
}
template <MutableRealCollection C>
void sqrtInPlace(C&& lhs) {
  mapInPlace(lhs, Routines<ElementOf<C>>::vvsqrt);
}
// Square roots of lhs into the first count(lhs) elements of results; the
// other elements of results keep their values. results must be at least as
// long as lhs.
template <RealCollection C, MutableRealCollection Out>
  requires SameElements<C, Out>
void sqrt(const C& lhs, Out&& results) {
  using T = ElementOf<C>;
  withUnsafeMemory(lhs, [&](UnsafeMemory<T> l) {
    withUnsafeMutableMemory(results, [&](UnsafeMutableMemory<T> o) {
      precondition(o.stride == 1, "the output collection is contiguous (stride 1)");
      precondition(l.stride == 1, "the input collection is contiguous (stride 1)");
      precondition(o.count >= l.count, "the output collection is at least as long as the input");
      int n = int32Count(l.count);
      Routines<T>::vvsqrt(o.pointer, l.pointer, n);
    });
  });
}

// ---- reductions of two collections.

template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
ElementOf<L> dot(const L& lhs, const R& rhs) {
  using T = ElementOf<L>;
  return withUnsafeMemory(lhs, rhs, [](UnsafeMemory<T> l, UnsafeMemory<T> r) {
    precondition(l.count == r.count, "both collections hold as many elements");
    precondition(l.count >= 0, "the element count is not negative");
    T result = 0;
    Routines<T>::dotpr(l.pointer, l.stride, r.pointer, r.stride, &result, static_cast<std::size_t>(l.count));
    return result;
  });
}

// Sum of (lhs[i] - rhs[i])^2.
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
ElementOf<L> distSq(const L& lhs, const R& rhs) {
  using T = ElementOf<L>;
  precondition(std::ranges::size(lhs) == std::ranges::size(rhs), "both collections hold as many elements");
  auto d = sub(lhs, rhs);
  Routines<T>::vsq(d.data(), 1, d.data(), 1, d.size());
  T sum = 0;
  Routines<T>::sve(d.data(), 1, &sum, d.size());
  return sum;
}

template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
ElementOf<L> dist(const L& lhs, const R& rhs) {
  return std::sqrt(distSq(lhs, rhs));
}

// ---- operator forms.
namespace Operators {

template <RealCollection C>
std::vector<ElementOf<C>> operator+(const C& lhs, ElementOf<C> s) { return add(lhs, s); }
template <RealCollection C>
std::vector<ElementOf<C>> operator-(const C& lhs, ElementOf<C> s) { return sub(lhs, s); }
template <RealCollection C>
std::vector<ElementOf<C>> operator*(const C& lhs, ElementOf<C> s) { return mul(lhs, s); }
template <RealCollection C>
std::vector<ElementOf<C>> operator/(const C& lhs, ElementOf<C> s) { return div(lhs, s); }
template <RealCollection C>
std::vector<ElementOf<C>> operator%(const C& lhs, ElementOf<C> s) { return fmod(lhs, s); }
template <RealCollection C>
std::vector<ElementOf<C>> operator^(const C& lhs, ElementOf<C> s) { return pow(lhs, s); }

template <MutableRealCollection C>
void operator+=(C&& lhs, ElementOf<C> s) { addInPlace(lhs, s); }
template <MutableRealCollection C>
void operator-=(C&& lhs, ElementOf<C> s) { subInPlace(lhs, s); }
template <MutableRealCollection C>
void operator*=(C&& lhs, ElementOf<C> s) { mulInPlace(lhs, s); }
template <MutableRealCollection C>
void operator/=(C&& lhs, ElementOf<C> s) { divInPlace(lhs, s); }
template <MutableRealCollection C>
void operator%=(C&& lhs, ElementOf<C> s) { fmodInPlace(lhs, s); }
template <MutableRealCollection C>
void operator^=(C&& lhs, ElementOf<C> s) { powInPlace(lhs, s); }

template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> operator+(const L& lhs, const R& rhs) { return add(lhs, rhs); }
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> operator-(const L& lhs, const R& rhs) { return sub(lhs, rhs); }
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> operator*(const L& lhs, const R& rhs) { return elmul(lhs, rhs); }
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> operator/(const L& lhs, const R& rhs) { return eldiv(lhs, rhs); }
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> operator%(const L& lhs, const R& rhs) { return fmod(lhs, rhs); }
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
std::vector<ElementOf<L>> operator^(const L& lhs, const R& rhs) { return pow(lhs, rhs); }
template <RealCollection L, RealCollection R>
  requires SameElements<L, R>
ElementOf<L> operator|(const L& lhs, const R& rhs) { return dot(lhs, rhs); }

template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void operator+=(L&& lhs, const R& rhs) { addInPlace(lhs, rhs); }
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void operator-=(L&& lhs, const R& rhs) { subInPlace(lhs, rhs); }
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void operator*=(L&& lhs, const R& rhs) { elmulInPlace(lhs, rhs); }
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void operator/=(L&& lhs, const R& rhs) { eldivInPlace(lhs, rhs); }
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void operator%=(L&& lhs, const R& rhs) { fmodInPlace(lhs, rhs); }
template <MutableRealCollection L, RealCollection R>
  requires SameElements<L, R>
void operator^=(L&& lhs, const R& rhs) { powInPlace(lhs, rhs); }

}  // namespace Operators

}  // namespace VectorMath
