#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <span>
#include <vector>

#include "VectorMath/Convolution.h"

namespace {

using namespace VectorMath;

template <class T>
class Convolution : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(Convolution, Precisions);

template <class T>
void expectNear(const std::vector<T>& actual, const std::vector<double>& expected, double tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

// (2 / n) |X[k]| by the defining sum, for comparison.
std::vector<double> scaledSpectrum(const std::vector<double>& x) {
  const std::size_t n = x.size();
  std::vector<double> out(n);
  for (std::size_t k = 0; k < n; ++k) {
    std::complex<double> sum = 0;
    for (std::size_t t = 0; t < n; ++t)
      sum += x[t] * std::polar(1.0, -2 * std::numbers::pi * static_cast<double>((k * t) % n) / static_cast<double>(n));
    out[k] = 2.0 / static_cast<double>(n) * std::abs(sum);
  }
  return out;
}

TYPED_TEST(Convolution, ConvolutionAndCorrelation) {
  using V = std::vector<TypeParam>;
  const V x{1, 2, 3};
  // The kernel is applied reversed (a forward read would give 0.5, 2, 3.5, 3, 0).
  EXPECT_EQ(conv(x, V{0, 1, 0.5}), (V{0, 1, 2.5, 4, 1.5}));
  EXPECT_EQ(conv(x, V{2}), (V{2, 4, 6}));
  EXPECT_EQ(conv(std::span(x).subspan(1), V{1, 1}), (V{2, 5, 3}));
  // Element i is the lag i - 2; the short second signal is padded at its end.
  EXPECT_EQ(xcorr(x, x), (V{3, 8, 14, 8, 3}));
  EXPECT_EQ(xcorr(x), (V{3, 8, 14, 8, 3}));
  EXPECT_EQ(xcorr(x, V{1}), (V{0, 0, 1, 2, 3}));
  EXPECT_EQ(xcorr(x, V{0, 1}), (V{0, 1, 2, 3, 0}));
  EXPECT_EQ(xcorr(V{5}), (V{25}));
  EXPECT_EQ(x, (V{1, 2, 3}));
}

TYPED_TEST(Convolution, FftGivesTheScaledMagnitudeOfEveryBin) {
  using T = TypeParam;
  using V = std::vector<T>;
  EXPECT_EQ(fft(V{1, 1, 1, 1}), (V{2, 0, 0, 0}));
  EXPECT_EQ(fft(V{3}), (V{6}));
  expectNear(fft(V{0, 1, 0, -1}), {0, 1, 0, 1}, 1e-6);
  const V samples{1, 2, 3, 4, 5, 6};
  auto spectrum = fft(samples);
  EXPECT_EQ(samples, (V{1, 2, 3, 4, 5, 6}));
  // A length that is not a power of two gets its true transform.
  expectNear(spectrum, {7, 2, 1.1547005383792515, 1, 1.1547005383792515, 2}, 1e-5);
}

TEST(ConvolutionFft, MatchesTheDefiningSumForManyLengths) {
  for (std::size_t n : {2u, 3u, 5u, 7u, 8u, 12u, 31u, 64u, 100u, 257u}) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = std::sin(0.7 * static_cast<double>(i * i)) + 0.25;
    expectNear(fft(x), scaledSpectrum(x), 1e-12);
  }
}

TEST(ConvolutionDeathTest, ShortSignalsAndEmptyInputsStop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  using V = std::vector<double>;
  EXPECT_DEATH(conv(V{1, 2}, V{1, 1, 1}), "VectorMath::conv: .*the signal is at least as long as the kernel");
  EXPECT_DEATH(conv(V{1, 2}, V{}), "");
  EXPECT_DEATH(conv(V{}, V{}), "");
  EXPECT_DEATH(xcorr(V{1}, V{1, 2}), "");
  EXPECT_DEATH(xcorr(V{}, V{}), "");
  EXPECT_DEATH(xcorr(V{}), "");
  EXPECT_DEATH(fft(V{}), "");
  EXPECT_DEATH(fft(std::vector<float>{}), "");
}

}  // namespace
