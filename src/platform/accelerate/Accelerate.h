#pragma once

// Plain-loop stand-ins for the vector routines of the platform's vector
// library: the vDSP family (strided, unsigned count), the vForce family
// (contiguous, signed 32-bit count) and level-1 BLAS (signed 32-bit count and
// increments). Names drop the library prefix (vDSP_vsaddD -> vsaddD,
// cblas_daxpy -> daxpy); arguments keep the library's order, so the
// surprising ones stay visible at the call site:
//   vdiv(B, IB, A, IA, C, IC, N)   C[i] = A[i] / B[i]   (divisor first)
//   vvpow(out, exponents, bases, n) out[i] = pow(bases[i], exponents[i])
//   vvfmod / vvremainder(out, dividends, divisors, n)
// Scalars are passed by value rather than by address.
//
// Element-wise routines accept an output that is exactly one of their inputs
// (in-place use) or that does not overlap the inputs at all; both run as
// vectorisable loops when the strides are 1. Any other overlap falls back to
// a plain element-by-element loop in index order.
//
// Sums. Every routine that adds up many values (sve, svesq, meanv, meamgv,
// measqv, rmsqv, dotpr, asum) adds in one fixed order: element i goes to
// partial sum i mod 8, each partial sum runs left to right from 0, and the
// eight partial sums are then added left to right. Up to eight elements this
// is exactly the left-to-right sum; beyond that it is still one fixed order,
// the same on every run, input alignment and machine, and it lets the
// compiler keep the partial sums in vector registers without reassociating
// anything (a single running sum cannot be vectorised without -ffast-math).
// The library these routines stand in for promises no particular order
// either, and its callers only rely on the value of a sum, not on its order.

#include <cstddef>
#include <cstdint>

namespace platform::accelerate {

using Stride = std::ptrdiff_t;  // vDSP stride, in elements
using Length = std::size_t;     // vDSP count

// ---- vDSP: reductions. C receives the result; an empty input gives 0 for
// the sums, -infinity for maxv, +infinity for minv and 0/0 (NaN) for the means.
void sve(const float* a, Stride ia, float* c, Length n);
void sveD(const double* a, Stride ia, double* c, Length n);
void svesq(const float* a, Stride ia, float* c, Length n);
void svesqD(const double* a, Stride ia, double* c, Length n);
void maxv(const float* a, Stride ia, float* c, Length n);
void maxvD(const double* a, Stride ia, double* c, Length n);
void minv(const float* a, Stride ia, float* c, Length n);
void minvD(const double* a, Stride ia, double* c, Length n);
void meanv(const float* a, Stride ia, float* c, Length n);
void meanvD(const double* a, Stride ia, double* c, Length n);
void meamgv(const float* a, Stride ia, float* c, Length n);
void meamgvD(const double* a, Stride ia, double* c, Length n);
void measqv(const float* a, Stride ia, float* c, Length n);
void measqvD(const double* a, Stride ia, double* c, Length n);
void rmsqv(const float* a, Stride ia, float* c, Length n);
void rmsqvD(const double* a, Stride ia, double* c, Length n);
// *c = sum of a[i] * b[i]
void dotpr(const float* a, Stride ia, const float* b, Stride ib, float* c, Length n);
void dotprD(const double* a, Stride ia, const double* b, Stride ib, double* c, Length n);

// ---- vDSP: element-wise.
// c[i] = a[i] + s
void vsadd(const float* a, Stride ia, float s, float* c, Stride ic, Length n);
void vsaddD(const double* a, Stride ia, double s, double* c, Stride ic, Length n);
// c[i] = a[i] * s
void vsmul(const float* a, Stride ia, float s, float* c, Stride ic, Length n);
void vsmulD(const double* a, Stride ia, double s, double* c, Stride ic, Length n);
// c[i] = a[i] / s, a true division (never a multiplication by 1/s)
void vsdiv(const float* a, Stride ia, float s, float* c, Stride ic, Length n);
void vsdivD(const double* a, Stride ia, double s, double* c, Stride ic, Length n);
// c[i] = a[i] + b[i]
void vadd(const float* a, Stride ia, const float* b, Stride ib, float* c, Stride ic, Length n);
void vaddD(const double* a, Stride ia, const double* b, Stride ib, double* c, Stride ic, Length n);
// c[i] = a[i] * b[i]
void vmul(const float* a, Stride ia, const float* b, Stride ib, float* c, Stride ic, Length n);
void vmulD(const double* a, Stride ia, const double* b, Stride ib, double* c, Stride ic, Length n);
// c[i] = a[i] / b[i]; the DIVISOR b comes first
void vdiv(const float* b, Stride ib, const float* a, Stride ia, float* c, Stride ic, Length n);
void vdivD(const double* b, Stride ib, const double* a, Stride ia, double* c, Stride ic, Length n);
// c[i] = a[i] * a[i]
void vsq(const float* a, Stride ia, float* c, Stride ic, Length n);
void vsqD(const double* a, Stride ia, double* c, Stride ic, Length n);
// c[i] = start + i * step (a product, not a running sum, so no drift)
void vramp(float start, float step, float* c, Stride ic, Length n);
void vrampD(double start, double step, double* c, Stride ic, Length n);

// ---- vForce: contiguous, n elements; n <= 0 does nothing.
// out[i] = pow(bases[i], exponents[i]) with the C library's special cases
void vvpowf(float* out, const float* exponents, const float* bases, int n);
void vvpow(double* out, const double* exponents, const double* bases, int n);
// out[i] = fmod(dividends[i], divisors[i])
void vvfmodf(float* out, const float* dividends, const float* divisors, int n);
void vvfmod(double* out, const double* dividends, const double* divisors, int n);
// out[i] = remainder(dividends[i], divisors[i]) (IEEE remainder)
void vvremainderf(float* out, const float* dividends, const float* divisors, int n);
void vvremainder(double* out, const double* dividends, const double* divisors, int n);
void vvexpf(float* out, const float* in, int n);
void vvexp(double* out, const double* in, int n);
void vvexp2f(float* out, const float* in, int n);
void vvexp2(double* out, const double* in, int n);
void vvsqrtf(float* out, const float* in, int n);
void vvsqrt(double* out, const double* in, int n);

// ---- Level-1 BLAS. n <= 0 does nothing (or gives 0). A negative increment
// walks the vector from its far end, as in the reference BLAS: logical element
// i lies at x + (n - 1 - i) * |incx|.
// y[i] = y[i] + alpha * x[i]
void saxpy(int n, float alpha, const float* x, int incx, float* y, int incy);
void daxpy(int n, double alpha, const double* x, int incx, double* y, int incy);
// sum of |x[i]|; an increment <= 0 gives 0, as in the reference BLAS
float sasum(int n, const float* x, int incx);
double dasum(int n, const double* x, int incx);
// x[i] = alpha * x[i]; an increment <= 0 does nothing. Every element is
// multiplied, also for alpha 0, so NaN and infinity stay NaN.
void sscal(int n, float alpha, float* x, int incx);
void dscal(int n, double alpha, double* x, int incx);

}  // namespace platform::accelerate
