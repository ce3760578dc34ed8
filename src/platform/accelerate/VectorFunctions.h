#pragma once

// Plain-loop stand-ins for the rest of the element-wise routines of the
// platform's vector library: the vForce rounding, sign, logarithmic,
// trigonometric and hyperbolic functions, and the vDSP clip, negation,
// convolution, squared-magnitude and transpose routines. Naming and argument
// order follow Accelerate.h: the library prefix is dropped (vDSP_vclipD ->
// vclipD), scalars are passed by value, and the vForce routines take
// (out, in, n) with n <= 0 doing nothing. Output and input may be the same
// storage (in-place use).

#include "platform/accelerate/Accelerate.h"

namespace platform::accelerate {

// ---- vForce: out[i] = f(in[i]).
void vvfabsf(float* out, const float* in, int n);
void vvfabs(double* out, const double* in, int n);
void vvfloorf(float* out, const float* in, int n);
void vvfloor(double* out, const double* in, int n);
void vvceilf(float* out, const float* in, int n);
void vvceil(double* out, const double* in, int n);
// 1 / in[i]
void vvrecf(float* out, const float* in, int n);
void vvrec(double* out, const double* in, int n);
// Nearest integer; a value halfway between two integers goes to the even one
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), the IEEE default rounding.
void vvnintf(float* out, const float* in, int n);
void vvnint(double* out, const double* in, int n);
// Toward zero.
void vvintf(float* out, const float* in, int n);
void vvint(double* out, const double* in, int n);
// out[i] = |magnitudes[i]| with the sign of signs[i]
void vvcopysignf(float* out, const float* magnitudes, const float* signs, int n);
void vvcopysign(double* out, const double* magnitudes, const double* signs, int n);

void vvlogf(float* out, const float* in, int n);
void vvlog(double* out, const double* in, int n);
void vvlog2f(float* out, const float* in, int n);
void vvlog2(double* out, const double* in, int n);
void vvlog10f(float* out, const float* in, int n);
void vvlog10(double* out, const double* in, int n);
// The binary exponent of in[i] (logb: 8 -> 3, 0.75 -> -1).
void vvlogbf(float* out, const float* in, int n);
void vvlogb(double* out, const double* in, int n);
void vvsinf(float* out, const float* in, int n);
void vvsin(double* out, const double* in, int n);
void vvcosf(float* out, const float* in, int n);
void vvcos(double* out, const double* in, int n);
void vvtanf(float* out, const float* in, int n);
void vvtan(double* out, const double* in, int n);
void vvasinf(float* out, const float* in, int n);
void vvasin(double* out, const double* in, int n);
void vvacosf(float* out, const float* in, int n);
void vvacos(double* out, const double* in, int n);
void vvatanf(float* out, const float* in, int n);
void vvatan(double* out, const double* in, int n);
void vvsinhf(float* out, const float* in, int n);
void vvsinh(double* out, const double* in, int n);
void vvcoshf(float* out, const float* in, int n);
void vvcosh(double* out, const double* in, int n);
void vvtanhf(float* out, const float* in, int n);
void vvtanh(double* out, const double* in, int n);
void vvasinhf(float* out, const float* in, int n);
void vvasinh(double* out, const double* in, int n);
void vvacoshf(float* out, const float* in, int n);
void vvacosh(double* out, const double* in, int n);
void vvatanhf(float* out, const float* in, int n);
void vvatanh(double* out, const double* in, int n);
// sines[i] = sin(in[i]), cosines[i] = cos(in[i])
void vvsincosf(float* sines, float* cosines, const float* in, int n);
void vvsincos(double* sines, double* cosines, const double* in, int n);

// ---- vDSP.
// c[i] = low if a[i] < low, high if a[i] > high, else a[i] (low and high are
// not compared with each other; NaN passes through)
void vclip(const float* a, Stride ia, float low, float high, float* c, Stride ic, Length n);
void vclipD(const double* a, Stride ia, double low, double high, double* c, Stride ic, Length n);
// c[i] = -a[i]
void vneg(const float* a, Stride ia, float* c, Stride ic, Length n);
void vnegD(const double* a, Stride ia, double* c, Stride ic, Length n);
// c[i] = sum for j = 0 .. p-1 of a[(i + j) * ia] * f[j * if_], added in order
// of j; n outputs, p filter taps. A negative filter stride reads the filter
// backwards from the element f points at (a convolution rather than a
// correlation). a must hold n + p - 1 elements.
void conv(const float* a, Stride ia, const float* f, Stride if_, float* c, Stride ic, Length n, Length p);
void convD(const double* a, Stride ia, const double* f, Stride if_, double* c, Stride ic, Length n, Length p);
// c[i] = re[i]^2 + im[i]^2 of a split-complex vector
void zvmags(const float* re, const float* im, Stride ia, float* c, Stride ic, Length n);
void zvmagsD(const double* re, const double* im, Stride ia, double* c, Stride ic, Length n);
// Transpose: c is m x n (row-major), a is n x m; c[i][j] = a[j][i].
void mtrans(const float* a, Stride ia, float* c, Stride ic, Length m, Length n);
void mtransD(const double* a, Stride ia, double* c, Stride ic, Length m, Length n);

}  // namespace platform::accelerate
