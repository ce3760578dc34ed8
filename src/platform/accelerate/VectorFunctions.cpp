#include "platform/accelerate/VectorFunctions.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace platform::accelerate {

namespace {

std::int64_t signedCount(Length n) {
  constexpr auto most = static_cast<Length>(std::numeric_limits<std::int64_t>::max());
  return static_cast<std::int64_t>(n < most ? n : most);
}

// out[i] = f(in[i]); element by element, so out == in is fine.
template <class T, class F>
void each(T* out, const T* in, int n, F f) {
  for (int i = 0; i < n; ++i) out[i] = f(in[i]);
}

template <class T, class F>
void eachStrided(const T* a, Stride ia, T* c, Stride ic, Length length, F f) {
  auto n = signedCount(length);
  for (std::int64_t i = 0; i < n; ++i) c[i * ic] = f(a[i * ia]);
}

template <class T>
void convolve(const T* a, Stride ia, const T* f, Stride if_, T* c, Stride ic, Length length, Length taps) {
  auto n = signedCount(length);
  auto p = signedCount(taps);
  for (std::int64_t i = 0; i < n; ++i) {
    T sum = 0;
    for (std::int64_t j = 0; j < p; ++j) sum += a[(i + j) * ia] * f[j * if_];
    c[i * ic] = sum;
  }
}

template <class T>
void transpose(const T* a, Stride ia, T* c, Stride ic, Length rows, Length columns) {
  auto m = signedCount(rows);
  auto n = signedCount(columns);
  for (std::int64_t i = 0; i < m; ++i)
    for (std::int64_t j = 0; j < n; ++j) c[(i * n + j) * ic] = a[(j * m + i) * ia];
}

}  // namespace

// Each pair binds the float and the double routine to one element function.
#define INKCURVE_UNARY(floatName, doubleName, expression)                                             \
  void floatName(float* out, const float* in, int n) { each(out, in, n, [](float x) { return expression; }); } \
  void doubleName(double* out, const double* in, int n) {                                            \
    each(out, in, n, [](double x) { return expression; });                                           \
  }

INKCURVE_UNARY(vvfabsf, vvfabs, std::fabs(x))
INKCURVE_UNARY(vvfloorf, vvfloor, std::floor(x))
INKCURVE_UNARY(vvceilf, vvceil, std::ceil(x))
INKCURVE_UNARY(vvrecf, vvrec, 1 / x)
// nearbyint rounds in the current mode, which nothing here changes from the
// IEEE default (to nearest, ties to even).
INKCURVE_UNARY(vvnintf, vvnint, std::nearbyint(x))
INKCURVE_UNARY(vvintf, vvint, std::trunc(x))
INKCURVE_UNARY(vvlogf, vvlog, std::log(x))
INKCURVE_UNARY(vvlog2f, vvlog2, std::log2(x))
INKCURVE_UNARY(vvlog10f, vvlog10, std::log10(x))
INKCURVE_UNARY(vvlogbf, vvlogb, std::logb(x))
INKCURVE_UNARY(vvsinf, vvsin, std::sin(x))
INKCURVE_UNARY(vvcosf, vvcos, std::cos(x))
INKCURVE_UNARY(vvtanf, vvtan, std::tan(x))
INKCURVE_UNARY(vvasinf, vvasin, std::asin(x))
INKCURVE_UNARY(vvacosf, vvacos, std::acos(x))
INKCURVE_UNARY(vvatanf, vvatan, std::atan(x))
INKCURVE_UNARY(vvsinhf, vvsinh, std::sinh(x))
INKCURVE_UNARY(vvcoshf, vvcosh, std::cosh(x))
INKCURVE_UNARY(vvtanhf, vvtanh, std::tanh(x))
INKCURVE_UNARY(vvasinhf, vvasinh, std::asinh(x))
INKCURVE_UNARY(vvacoshf, vvacosh, std::acosh(x))
INKCURVE_UNARY(vvatanhf, vvatanh, std::atanh(x))

#undef INKCURVE_UNARY

void vvcopysignf(float* out, const float* magnitudes, const float* signs, int n) {
  for (int i = 0; i < n; ++i) out[i] = std::copysign(magnitudes[i], signs[i]);
}
void vvcopysign(double* out, const double* magnitudes, const double* signs, int n) {
  for (int i = 0; i < n; ++i) out[i] = std::copysign(magnitudes[i], signs[i]);
}

void vvsincosf(float* sines, float* cosines, const float* in, int n) {
  for (int i = 0; i < n; ++i) {
    float x = in[i];  // read first: either output may be the input
    sines[i] = std::sin(x);
    cosines[i] = std::cos(x);
  }
}
void vvsincos(double* sines, double* cosines, const double* in, int n) {
  for (int i = 0; i < n; ++i) {
    double x = in[i];
    sines[i] = std::sin(x);
    cosines[i] = std::cos(x);
  }
}

void vclip(const float* a, Stride ia, float low, float high, float* c, Stride ic, Length n) {
  eachStrided(a, ia, c, ic, n, [low, high](float x) { return x < low ? low : x > high ? high : x; });
}
void vclipD(const double* a, Stride ia, double low, double high, double* c, Stride ic, Length n) {
  eachStrided(a, ia, c, ic, n, [low, high](double x) { return x < low ? low : x > high ? high : x; });
}
void vneg(const float* a, Stride ia, float* c, Stride ic, Length n) {
  eachStrided(a, ia, c, ic, n, [](float x) { return -x; });
}
void vnegD(const double* a, Stride ia, double* c, Stride ic, Length n) {
  eachStrided(a, ia, c, ic, n, [](double x) { return -x; });
}

void conv(const float* a, Stride ia, const float* f, Stride if_, float* c, Stride ic, Length n, Length p) {
  convolve(a, ia, f, if_, c, ic, n, p);
}
void convD(const double* a, Stride ia, const double* f, Stride if_, double* c, Stride ic, Length n, Length p) {
  convolve(a, ia, f, if_, c, ic, n, p);
}

void zvmags(const float* re, const float* im, Stride ia, float* c, Stride ic, Length length) {
  auto n = signedCount(length);
  for (std::int64_t i = 0; i < n; ++i) c[i * ic] = re[i * ia] * re[i * ia] + im[i * ia] * im[i * ia];
}
void zvmagsD(const double* re, const double* im, Stride ia, double* c, Stride ic, Length length) {
  auto n = signedCount(length);
  for (std::int64_t i = 0; i < n; ++i) c[i * ic] = re[i * ia] * re[i * ia] + im[i * ia] * im[i * ia];
}

void mtrans(const float* a, Stride ia, float* c, Stride ic, Length m, Length n) { transpose(a, ia, c, ic, m, n); }
void mtransD(const double* a, Stride ia, double* c, Stride ic, Length m, Length n) { transpose(a, ia, c, ic, m, n); }

}  // namespace platform::accelerate
