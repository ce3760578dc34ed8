#include "Chart/Utils/ChartAnimationEasing.h"

#include <cmath>
#include <iterator>
#include <numbers>

namespace chart {
namespace {

// t is the elapsed time, d the duration, p = t / d the plain progress and
// q = t / (d / 2) the progress counted in half durations, for the in-out
// curves that run the "in" curve over the first half and the "out" curve over
// the second. The curves with a special start or end test t, p or q for
// exact equality: their formulas do not land on 0 or 1 there by themselves.

constexpr double pi = std::numbers::pi;

// The overshoot of the back curves, and the larger one of the in-out curve
// (1.70158 x 1.525).
constexpr double backOvershoot = 1.70158;
constexpr double backOvershootInOut = 2.5949095;

double linear(double t, double d) { return t / d; }

double easeInQuad(double t, double d) {
  const double p = t / d;
  return p * p;
}

double easeOutQuad(double t, double d) {
  const double p = t / d;
  return -p * (p - 2.0);
}

double easeInOutQuad(double t, double d) {
  const double q = t / (d / 2.0);
  if (q < 1.0) return q * q / 2.0;
  const double r = q - 1.0;
  return -(r * (r - 2.0) - 1.0) / 2.0;
}

double easeInCubic(double t, double d) {
  const double p = t / d;
  return p * p * p;
}

double easeOutCubic(double t, double d) {
  const double r = t / d - 1.0;
  return r * r * r + 1.0;
}

double easeInOutCubic(double t, double d) {
  const double q = t / (d / 2.0);
  if (q < 1.0) return q * q * q / 2.0;
  const double r = q - 2.0;
  return (r * r * r + 2.0) / 2.0;
}

double easeInQuart(double t, double d) {
  const double p = t / d;
  return p * p * p * p;
}

double easeOutQuart(double t, double d) {
  const double r = t / d - 1.0;
  return -(r * r * r * r - 1.0);
}

double easeInOutQuart(double t, double d) {
  const double q = t / (d / 2.0);
  if (q < 1.0) return q * q * q * q / 2.0;
  const double r = q - 2.0;
  return -(r * r * r * r - 2.0) / 2.0;
}

double easeInQuint(double t, double d) {
  const double p = t / d;
  return p * p * p * p * p;
}

double easeOutQuint(double t, double d) {
  const double r = t / d - 1.0;
  return r * r * r * r * r + 1.0;
}

double easeInOutQuint(double t, double d) {
  const double q = t / (d / 2.0);
  if (q < 1.0) return q * q * q * q * q / 2.0;
  const double r = q - 2.0;
  return (r * r * r * r * r + 2.0) / 2.0;
}

double easeInSine(double t, double d) { return 1.0 - std::cos(t / d * pi / 2.0); }

double easeOutSine(double t, double d) { return std::sin(t / d * pi / 2.0); }

double easeInOutSine(double t, double d) { return -(std::cos(t / d * pi) - 1.0) / 2.0; }

double easeInExpo(double t, double d) { return t == 0.0 ? 0.0 : std::pow(2.0, 10.0 * (t / d - 1.0)); }

double easeOutExpo(double t, double d) { return t == d ? 1.0 : 1.0 - std::pow(2.0, -10.0 * t / d); }

double easeInOutExpo(double t, double d) {
  if (t == 0.0) return 0.0;
  if (t == d) return 1.0;
  const double q = t / (d / 2.0);
  if (q < 1.0) return std::pow(2.0, 10.0 * (q - 1.0)) / 2.0;
  return (2.0 - std::pow(2.0, -10.0 * (q - 1.0))) / 2.0;
}

double easeInCirc(double t, double d) {
  const double p = t / d;
  return -(std::sqrt(1.0 - p * p) - 1.0);
}

double easeOutCirc(double t, double d) {
  const double r = t / d - 1.0;
  return std::sqrt(1.0 - r * r);
}

double easeInOutCirc(double t, double d) {
  const double q = t / (d / 2.0);
  if (q < 1.0) return -(std::sqrt(1.0 - q * q) - 1.0) / 2.0;
  const double r = q - 2.0;
  return (std::sqrt(1.0 - r * r) + 1.0) / 2.0;
}

// The swing of the elastic curves at x durations: a sine of period P =
// periodFraction x d seconds, shifted by a quarter period s so that it
// crosses zero where x = 0.
double elasticSwing(double x, double d, double periodFraction) {
  const double period = d * periodFraction;
  const double s = period / (2.0 * pi) * (pi / 2.0);
  return std::sin((x * d - s) * (2.0 * pi) / period);
}

double easeInElastic(double t, double d) {
  if (t == 0.0) return 0.0;
  const double p = t / d;
  if (p == 1.0) return 1.0;
  const double r = p - 1.0;
  return -(std::pow(2.0, 10.0 * r) * elasticSwing(r, d, 0.3));
}

double easeOutElastic(double t, double d) {
  if (t == 0.0) return 0.0;
  const double p = t / d;
  if (p == 1.0) return 1.0;
  return std::pow(2.0, -10.0 * p) * elasticSwing(p, d, 0.3) + 1.0;
}

double easeInOutElastic(double t, double d) {
  if (t == 0.0) return 0.0;
  const double q = t / (d / 2.0);
  if (q == 2.0) return 1.0;
  const double r = q - 1.0;
  const double swing = elasticSwing(r, d, 0.3 * 1.5);
  if (q < 1.0) return -std::pow(2.0, 10.0 * r) * swing / 2.0;
  return std::pow(2.0, -10.0 * r) * swing / 2.0 + 1.0;
}

double easeInBack(double t, double d) {
  const double p = t / d;
  return p * p * ((backOvershoot + 1.0) * p - backOvershoot);
}

double easeOutBack(double t, double d) {
  const double r = t / d - 1.0;
  return r * r * ((backOvershoot + 1.0) * r + backOvershoot) + 1.0;
}

double easeInOutBack(double t, double d) {
  const double q = t / (d / 2.0);
  if (q < 1.0) return q * q * ((backOvershootInOut + 1.0) * q - backOvershootInOut) / 2.0;
  const double r = q - 2.0;
  return (r * r * ((backOvershootInOut + 1.0) * r + backOvershootInOut) + 2.0) / 2.0;
}

// A ball dropped from 1 that bounces three times, each bounce lower, on its
// way to rest at 1; x in [0, 1].
double bounce(double x) {
  if (x < 1.0 / 2.75) return 7.5625 * x * x;
  if (x < 2.0 / 2.75) {
    const double u = x - 1.5 / 2.75;
    return 7.5625 * u * u + 0.75;
  }
  if (x < 2.5 / 2.75) {
    const double u = x - 2.25 / 2.75;
    return 7.5625 * u * u + 0.9375;
  }
  const double u = x - 2.625 / 2.75;
  return 7.5625 * u * u + 0.984375;
}

double easeInBounce(double t, double d) { return 1.0 - bounce((d - t) / d); }

double easeOutBounce(double t, double d) { return bounce(t / d); }

double easeInOutBounce(double t, double d) {
  if (t < d / 2.0) return (1.0 - bounce((d - 2.0 * t) / d)) / 2.0;
  return bounce((2.0 * t - d) / d) / 2.0 + 0.5;
}

using Curve = double (*)(double, double);

// In the options' raw order.
constexpr Curve curves[] = {
    linear,        easeInQuad,     easeOutQuad,    easeInOutQuad,  easeInCubic,     easeOutCubic,
    easeInOutCubic, easeInQuart,   easeOutQuart,   easeInOutQuart, easeInQuint,     easeOutQuint,
    easeInOutQuint, easeInSine,    easeOutSine,    easeInOutSine,  easeInExpo,      easeOutExpo,
    easeInOutExpo, easeInCirc,     easeOutCirc,    easeInOutCirc,  easeInElastic,   easeOutElastic,
    easeInOutElastic, easeInBack,  easeOutBack,    easeInOutBack,  easeInBounce,    easeOutBounce,
    easeInOutBounce,
};
static_assert(std::size(curves) == 31);

}  // namespace

EasingFunction easingFunctionFromOption(ChartEasingOption option) {
  const auto raw = static_cast<int>(option);
  if (raw < 0 || raw >= static_cast<int>(std::size(curves))) return linear;
  return curves[raw];
}

}  // namespace chart
