#include "platform/accelerate/Accelerate.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace platform::accelerate {

namespace {

// Width of the blocks the loops below work in. The main loop of every kernel
// handles whole blocks of this many elements with a fixed-count inner loop,
// unrolled by pragma so that g++ vectorises the block as straight-line code
// at -O2 (its default cost model there only vectorises loops that need no
// scalar epilogue and no run-time alias checks, and without the unrolling the
// vectorised block keeps a loop of its own); the few elements after the last
// whole block run one by one.
constexpr std::int64_t kBlock = 8;

std::int64_t signedCount(Length n) {
  // No real buffer holds more than INT64_MAX elements; clamp so the loops
  // below never see a negative count.
  constexpr auto most = static_cast<Length>(std::numeric_limits<std::int64_t>::max());
  return static_cast<std::int64_t>(n < most ? n : most);
}

template <class T>
bool disjoint(const T* p, const T* q, std::int64_t n) {
  auto a = reinterpret_cast<std::uintptr_t>(p);
  auto b = reinterpret_cast<std::uintptr_t>(q);
  auto bytes = static_cast<std::uintptr_t>(n) * sizeof(T);
  return a + bytes <= b || b + bytes <= a;
}

// ---- element-wise kernels (contiguous; __restrict promises what the
// dispatchers below have checked).

template <class T, class Op>
void kernel1(const T* __restrict a, T* __restrict c, std::int64_t n, Op op) {
  std::int64_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
#pragma GCC unroll 8
    for (std::int64_t k = 0; k < kBlock; ++k) c[i + k] = op(a[i + k]);
  for (; i < n; ++i) c[i] = op(a[i]);
}

template <class T, class Op>
void kernel1InPlace(T* __restrict c, std::int64_t n, Op op) {
  std::int64_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
#pragma GCC unroll 8
    for (std::int64_t k = 0; k < kBlock; ++k) c[i + k] = op(c[i + k]);
  for (; i < n; ++i) c[i] = op(c[i]);
}

template <class T, class Op>
void kernel2(const T* __restrict a, const T* __restrict b, T* __restrict c, std::int64_t n, Op op) {
  std::int64_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
#pragma GCC unroll 8
    for (std::int64_t k = 0; k < kBlock; ++k) c[i + k] = op(a[i + k], b[i + k]);
  for (; i < n; ++i) c[i] = op(a[i], b[i]);
}

// c is the first operand and is overwritten.
template <class T, class Op>
void kernel2IntoFirst(T* __restrict c, const T* __restrict b, std::int64_t n, Op op) {
  std::int64_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
#pragma GCC unroll 8
    for (std::int64_t k = 0; k < kBlock; ++k) c[i + k] = op(c[i + k], b[i + k]);
  for (; i < n; ++i) c[i] = op(c[i], b[i]);
}

// c is the second operand and is overwritten.
template <class T, class Op>
void kernel2IntoSecond(const T* __restrict a, T* __restrict c, std::int64_t n, Op op) {
  std::int64_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
#pragma GCC unroll 8
    for (std::int64_t k = 0; k < kBlock; ++k) c[i + k] = op(a[i + k], c[i + k]);
  for (; i < n; ++i) c[i] = op(a[i], c[i]);
}

// c[i] = op(a[i])
template <class T, class Op>
void map1(const T* a, Stride ia, T* c, Stride ic, std::int64_t n, Op op) {
  if (n <= 0) return;
  if (ia == 1 && ic == 1) {
    if (a == c) return kernel1InPlace(c, n, op);
    if (disjoint(a, c, n)) return kernel1(a, c, n, op);
  }
  for (std::int64_t i = 0; i < n; ++i) c[i * ic] = op(a[i * ia]);
}

// c[i] = op(a[i], b[i])
template <class T, class Op>
void map2(const T* a, Stride ia, const T* b, Stride ib, T* c, Stride ic, std::int64_t n, Op op) {
  if (n <= 0) return;
  if (ia == 1 && ib == 1 && ic == 1) {
    if (disjoint(a, c, n) && disjoint(b, c, n)) return kernel2(a, b, c, n, op);
    if (c == a && c == b) return kernel1InPlace(c, n, [op](T x) { return op(x, x); });
    if (c == a && disjoint(b, c, n)) return kernel2IntoFirst(c, b, n, op);
    if (c == b && disjoint(a, c, n)) return kernel2IntoSecond(a, c, n, op);
  }
  for (std::int64_t i = 0; i < n; ++i) c[i * ic] = op(a[i * ia], b[i * ib]);
}

// ---- sums in the fixed eight-lane order described in the header.

// term(i) is the value of element i. The eight partial sums are named
// variables rather than an array so that they stay in registers.
template <class T, class Term>
T laneSum(std::int64_t n, Term term) {
  static_assert(kBlock == 8);
  T s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0, s6 = 0, s7 = 0;
  std::int64_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    s0 += term(i);
    s1 += term(i + 1);
    s2 += term(i + 2);
    s3 += term(i + 3);
    s4 += term(i + 4);
    s5 += term(i + 5);
    s6 += term(i + 6);
    s7 += term(i + 7);
  }
  T lane[kBlock] = {s0, s1, s2, s3, s4, s5, s6, s7};
  for (std::int64_t k = 0; i < n; ++i, ++k) lane[k] += term(i);
  T total = 0;
  for (std::int64_t k = 0; k < kBlock; ++k) total += lane[k];
  return total;
}

// Sum of f(a[i]); the contiguous case gets its own instantiation so that it
// vectorises, the order of additions is the same in both.
template <class T, class F>
T sumOf(const T* a, Stride ia, Length length, F f) {
  auto n = signedCount(length);
  if (ia == 1) return laneSum<T>(n, [a, f](std::int64_t i) { return f(a[i]); });
  return laneSum<T>(n, [a, ia, f](std::int64_t i) { return f(a[i * ia]); });
}

// Function objects rather than function pointers, so that each reduction
// gets its own (inlined, vectorised) copy of the summing loop.
struct Identity {
  template <class T>
  T operator()(T x) const { return x; }
};
struct Square {
  template <class T>
  T operator()(T x) const { return x * x; }
};
struct Magnitude {
  template <class T>
  T operator()(T x) const { return std::fabs(x); }
};

template <class T>
T meanOf(T sum, Length n) {
  // An empty input gives 0/0: not a number.
  return sum / static_cast<T>(n);
}

template <class T>
T largest(const T* a, Stride ia, Length length) {
  T m = -std::numeric_limits<T>::infinity();
  auto n = signedCount(length);
  for (std::int64_t i = 0; i < n; ++i)
    if (a[i * ia] > m) m = a[i * ia];
  return m;
}

template <class T>
T smallest(const T* a, Stride ia, Length length) {
  T m = std::numeric_limits<T>::infinity();
  auto n = signedCount(length);
  for (std::int64_t i = 0; i < n; ++i)
    if (a[i * ia] < m) m = a[i * ia];
  return m;
}

template <class T>
T dot(const T* a, Stride ia, const T* b, Stride ib, Length length) {
  auto n = signedCount(length);
  if (ia == 1 && ib == 1) return laneSum<T>(n, [a, b](std::int64_t i) { return a[i] * b[i]; });
  return laneSum<T>(n, [a, ia, b, ib](std::int64_t i) { return a[i * ia] * b[i * ib]; });
}

template <class T>
void ramp(T start, T step, T* c, Stride ic, Length length) {
  auto n = signedCount(length);
  if (ic == 1) {
    for (std::int64_t i = 0; i < n; ++i) c[i] = start + static_cast<T>(i) * step;
    return;
  }
  for (std::int64_t i = 0; i < n; ++i) c[i * ic] = start + static_cast<T>(i) * step;
}

// Offset of logical element i of a BLAS vector of n elements.
std::int64_t blasOffset(std::int64_t i, std::int64_t n, int inc) {
  return inc >= 0 ? i * inc : (n - 1 - i) * -static_cast<std::int64_t>(inc);
}

template <class T>
void axpy(int n, T alpha, const T* x, int incx, T* y, int incy) {
  if (n <= 0) return;
  if (incx == 1 && incy == 1) {
    // alpha * x is exactly x or -x for alpha 1 or -1 (NaN, infinities and
    // signed zeros included), so the plain sum or difference gives the same
    // values without a multiplication per element.
    if (alpha == T(1)) return map2(y, 1, x, 1, y, 1, n, [](T yi, T xi) { return yi + xi; });
    if (alpha == T(-1)) return map2(y, 1, x, 1, y, 1, n, [](T yi, T xi) { return yi - xi; });
    return map2(y, 1, x, 1, y, 1, n, [alpha](T yi, T xi) { return yi + alpha * xi; });
  }
  for (std::int64_t i = 0; i < n; ++i) {
    T& yi = y[blasOffset(i, n, incy)];
    yi = yi + alpha * x[blasOffset(i, n, incx)];
  }
}

template <class T>
T asum(int n, const T* x, int incx) {
  if (n <= 0 || incx <= 0) return 0;
  return sumOf(x, incx, static_cast<Length>(n), Magnitude{});
}

template <class T>
void scal(int n, T alpha, T* x, int incx) {
  if (n <= 0 || incx <= 0) return;
  map1(x, incx, x, incx, n, [alpha](T v) { return alpha * v; });
}

}  // namespace

// ---- vDSP reductions

void sve(const float* a, Stride ia, float* c, Length n) { *c = sumOf(a, ia, n, Identity{}); }
void sveD(const double* a, Stride ia, double* c, Length n) { *c = sumOf(a, ia, n, Identity{}); }
void svesq(const float* a, Stride ia, float* c, Length n) { *c = sumOf(a, ia, n, Square{}); }
void svesqD(const double* a, Stride ia, double* c, Length n) { *c = sumOf(a, ia, n, Square{}); }
void maxv(const float* a, Stride ia, float* c, Length n) { *c = largest(a, ia, n); }
void maxvD(const double* a, Stride ia, double* c, Length n) { *c = largest(a, ia, n); }
void minv(const float* a, Stride ia, float* c, Length n) { *c = smallest(a, ia, n); }
void minvD(const double* a, Stride ia, double* c, Length n) { *c = smallest(a, ia, n); }
void meanv(const float* a, Stride ia, float* c, Length n) { *c = meanOf(sumOf(a, ia, n, Identity{}), n); }
void meanvD(const double* a, Stride ia, double* c, Length n) { *c = meanOf(sumOf(a, ia, n, Identity{}), n); }
void meamgv(const float* a, Stride ia, float* c, Length n) { *c = meanOf(sumOf(a, ia, n, Magnitude{}), n); }
void meamgvD(const double* a, Stride ia, double* c, Length n) { *c = meanOf(sumOf(a, ia, n, Magnitude{}), n); }
void measqv(const float* a, Stride ia, float* c, Length n) { *c = meanOf(sumOf(a, ia, n, Square{}), n); }
void measqvD(const double* a, Stride ia, double* c, Length n) { *c = meanOf(sumOf(a, ia, n, Square{}), n); }
void rmsqv(const float* a, Stride ia, float* c, Length n) { *c = std::sqrt(meanOf(sumOf(a, ia, n, Square{}), n)); }
void rmsqvD(const double* a, Stride ia, double* c, Length n) { *c = std::sqrt(meanOf(sumOf(a, ia, n, Square{}), n)); }
void dotpr(const float* a, Stride ia, const float* b, Stride ib, float* c, Length n) { *c = dot(a, ia, b, ib, n); }
void dotprD(const double* a, Stride ia, const double* b, Stride ib, double* c, Length n) { *c = dot(a, ia, b, ib, n); }

// ---- vDSP element-wise

void vsadd(const float* a, Stride ia, float s, float* c, Stride ic, Length n) {
  map1(a, ia, c, ic, signedCount(n), [s](float x) { return x + s; });
}
void vsaddD(const double* a, Stride ia, double s, double* c, Stride ic, Length n) {
  map1(a, ia, c, ic, signedCount(n), [s](double x) { return x + s; });
}
void vsmul(const float* a, Stride ia, float s, float* c, Stride ic, Length n) {
  map1(a, ia, c, ic, signedCount(n), [s](float x) { return x * s; });
}
void vsmulD(const double* a, Stride ia, double s, double* c, Stride ic, Length n) {
  map1(a, ia, c, ic, signedCount(n), [s](double x) { return x * s; });
}
void vsdiv(const float* a, Stride ia, float s, float* c, Stride ic, Length n) {
  map1(a, ia, c, ic, signedCount(n), [s](float x) { return x / s; });
}
void vsdivD(const double* a, Stride ia, double s, double* c, Stride ic, Length n) {
  map1(a, ia, c, ic, signedCount(n), [s](double x) { return x / s; });
}
void vadd(const float* a, Stride ia, const float* b, Stride ib, float* c, Stride ic, Length n) {
  map2(a, ia, b, ib, c, ic, signedCount(n), [](float x, float y) { return x + y; });
}
void vaddD(const double* a, Stride ia, const double* b, Stride ib, double* c, Stride ic, Length n) {
  map2(a, ia, b, ib, c, ic, signedCount(n), [](double x, double y) { return x + y; });
}
void vmul(const float* a, Stride ia, const float* b, Stride ib, float* c, Stride ic, Length n) {
  map2(a, ia, b, ib, c, ic, signedCount(n), [](float x, float y) { return x * y; });
}
void vmulD(const double* a, Stride ia, const double* b, Stride ib, double* c, Stride ic, Length n) {
  map2(a, ia, b, ib, c, ic, signedCount(n), [](double x, double y) { return x * y; });
}
void vdiv(const float* b, Stride ib, const float* a, Stride ia, float* c, Stride ic, Length n) {
  map2(a, ia, b, ib, c, ic, signedCount(n), [](float x, float y) { return x / y; });
}
void vdivD(const double* b, Stride ib, const double* a, Stride ia, double* c, Stride ic, Length n) {
  map2(a, ia, b, ib, c, ic, signedCount(n), [](double x, double y) { return x / y; });
}
void vsq(const float* a, Stride ia, float* c, Stride ic, Length n) {
  map1(a, ia, c, ic, signedCount(n), Square{});
}
void vsqD(const double* a, Stride ia, double* c, Stride ic, Length n) {
  map1(a, ia, c, ic, signedCount(n), Square{});
}
void vramp(float start, float step, float* c, Stride ic, Length n) { ramp(start, step, c, ic, n); }
void vrampD(double start, double step, double* c, Stride ic, Length n) { ramp(start, step, c, ic, n); }

// ---- vForce

void vvpowf(float* out, const float* exponents, const float* bases, int n) {
  map2(bases, 1, exponents, 1, out, 1, n, [](float b, float e) { return std::pow(b, e); });
}
void vvpow(double* out, const double* exponents, const double* bases, int n) {
  map2(bases, 1, exponents, 1, out, 1, n, [](double b, double e) { return std::pow(b, e); });
}
void vvfmodf(float* out, const float* dividends, const float* divisors, int n) {
  map2(dividends, 1, divisors, 1, out, 1, n, [](float x, float y) { return std::fmod(x, y); });
}
void vvfmod(double* out, const double* dividends, const double* divisors, int n) {
  map2(dividends, 1, divisors, 1, out, 1, n, [](double x, double y) { return std::fmod(x, y); });
}
void vvremainderf(float* out, const float* dividends, const float* divisors, int n) {
  map2(dividends, 1, divisors, 1, out, 1, n, [](float x, float y) { return std::remainder(x, y); });
}
void vvremainder(double* out, const double* dividends, const double* divisors, int n) {
  map2(dividends, 1, divisors, 1, out, 1, n, [](double x, double y) { return std::remainder(x, y); });
}
void vvexpf(float* out, const float* in, int n) {
  map1(in, 1, out, 1, n, [](float x) { return std::exp(x); });
}
void vvexp(double* out, const double* in, int n) {
  map1(in, 1, out, 1, n, [](double x) { return std::exp(x); });
}
void vvexp2f(float* out, const float* in, int n) {
  map1(in, 1, out, 1, n, [](float x) { return std::exp2(x); });
}
void vvexp2(double* out, const double* in, int n) {
  map1(in, 1, out, 1, n, [](double x) { return std::exp2(x); });
}
void vvsqrtf(float* out, const float* in, int n) {
  map1(in, 1, out, 1, n, [](float x) { return std::sqrt(x); });
}
void vvsqrt(double* out, const double* in, int n) {
  map1(in, 1, out, 1, n, [](double x) { return std::sqrt(x); });
}

// ---- BLAS

void saxpy(int n, float alpha, const float* x, int incx, float* y, int incy) { axpy(n, alpha, x, incx, y, incy); }
void daxpy(int n, double alpha, const double* x, int incx, double* y, int incy) { axpy(n, alpha, x, incx, y, incy); }
float sasum(int n, const float* x, int incx) { return asum(n, x, incx); }
double dasum(int n, const double* x, int incx) { return asum(n, x, incx); }
void sscal(int n, float alpha, float* x, int incx) { scal(n, alpha, x, incx); }
void dscal(int n, double alpha, double* x, int incx) { scal(n, alpha, x, incx); }

}  // namespace platform::accelerate
