#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "FixedWords.h"
#include "VectorMath/Random.h"

namespace {

using namespace VectorMath;
using testsupport::FixedWords;
using testsupport::wordFor;

constexpr std::uint64_t kAllOnes = std::numeric_limits<std::uint64_t>::max();

template <class T>
class Random : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(Random, Precisions);

TEST(RandomUniform, DoubleWordsMapOntoTheClosedRange) {
  struct Case {
    std::vector<std::uint64_t> words;
    double lower, upper, expected;
    std::size_t used;
  };
  const Case cases[] = {
      {{0, std::uint64_t{1} << 63}, 0, 1, 0.5, 2},  // word 0 falls in the rejected band
      {{1}, 0, 1, 0, 1},                            // the lower bound itself
      {{std::uint64_t{1} << 62}, 0, 1, 0.25, 1},
      {{kAllOnes}, 0, 1, 1, 1},                     // the upper bound itself
      {{std::uint64_t{1} << 63}, 10, 14, 12, 1},
      {{std::uint64_t{1} << 63}, 2, 2, 2, 1},
      // The rejected band ends exactly at 2^53 - 2047: the first word leaves
      // one less in the low half of the product, the second the threshold.
      {{0x1F'FFFF'FFFF'F800u, 0xFFFF'FFFF'FFFF'F801u, 0}, 0, 1, 1, 2},
  };
  for (const Case& c : cases) {
    FixedWords words(c.words);
    EXPECT_EQ(randomUniform(c.lower, c.upper, words), c.expected) << c.words.back();
    EXPECT_EQ(words.used(), c.used);
  }
}

TEST(RandomUniform, FloatUsesTheLowHalfOfEachWord) {
  FixedWords words({0xFFFF'FFFF'8000'0000u, std::uint64_t{1} << 32, 0xFFFF'FFFFu, 1u << 30});
  EXPECT_EQ(randomUniform(0.0f, 1.0f, words), 0.5f);  // the high half would give the upper bound
  EXPECT_EQ(randomUniform(0.0f, 1.0f, words), 1.0f);  // low half 0 is rejected, then all ones
  EXPECT_EQ(randomUniform(-1.0f, 3.0f, words), 0.0f);
  EXPECT_EQ(words.used(), 4u);

  // The rejected band ends exactly at 2^24 - 255 (as for double precision).
  FixedWords band({0xFF'FF00u, 0xFFFF'FF01u, 0});
  EXPECT_EQ(randomUniform(0.0f, 1.0f, band), 1.0f);
  EXPECT_EQ(band.used(), 2u);
}

TYPED_TEST(Random, SystemSourceDrawsStayInTheRange) {
  using T = TypeParam;
  for (int i = 0; i < 200; ++i) {
    T v = randomUniform(T(-1), T(3));
    EXPECT_GE(v, T(-1));
    EXPECT_LE(v, T(3));
  }
  EXPECT_EQ(randomUniform(T(2), T(2)), T(2));
  EXPECT_EQ(randomUniform(4, T(2), T(2)), (std::vector<T>(4, T(2))));
  EXPECT_EQ(randomUniformArray(3, 7, T(-5), T(-5)), (std::vector<T>(4, T(-5))));
  EXPECT_TRUE(std::isfinite(randomNormal(T(0), T(1))));
  auto normals = randomNormal(50, T(1), T(0.5));
  ASSERT_EQ(normals.size(), 50u);
  for (T v : normals) EXPECT_TRUE(std::isfinite(v));
  // Nothing drawn, nothing tested: an infinitely wide range is fine here.
  EXPECT_TRUE(randomUniformArray(5, 5, std::numeric_limits<T>::lowest(), std::numeric_limits<T>::max()).empty());
}

TYPED_TEST(Random, NormalDrawsUseTheFirstWordsForU1) {
  using T = TypeParam;
  const double tolerance = std::is_same_v<T, float> ? 2e-6 : 1e-15;
  const std::uint64_t half = wordFor<T>(0.5), quarter = wordFor<T>(0.25);

  FixedWords scalarWords({half, half});
  EXPECT_NEAR(randomNormal(T(10), T(2), scalarWords), 7.64517995496905, tolerance * 10);

  // All of u1 comes before u2: u1 = (0.5, 0.5), u2 = (0.25, 0.5). Interleaved
  // draws would give (-1.177, -1.665).
  FixedWords arrayWords({half, half, quarter, half});
  auto values = randomNormal(2, T(0), T(1), arrayWords);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_NEAR(values[0], 0.0, tolerance);
  EXPECT_NEAR(values[1], -1.1774100225154747, tolerance);

  FixedWords none({});
  EXPECT_TRUE(randomNormal(0, T(0), T(1), none).empty());
  EXPECT_EQ(none.used(), 0u);
  FixedWords flat({half, quarter, half, half});
  EXPECT_EQ(randomNormal(2, T(3), T(0), flat), (std::vector<T>{3, 3}));
}

TYPED_TEST(Random, AZeroFirstDrawStillGivesAFiniteNormalValue) {
  using T = TypeParam;
  // sqrt(-2 ln 2^-p) for the grid's smallest step, times cos(pi) = -1.
  const double tail = std::is_same_v<T, float> ? 5.768107546403532 : 8.571674348652905;
  FixedWords scalarWords({1, wordFor<T>(0.5)});
  EXPECT_NEAR(randomNormal(T(0), T(1), scalarWords), -tail, 1e-5);
  FixedWords arrayWords({1, wordFor<T>(0.5)});
  auto values = randomNormal(1, T(0), T(1), arrayWords);
  EXPECT_NEAR(values.at(0), -tail, 1e-5);

  std::vector<T> u1{0, 0.5}, u2{0.5, 0.5};
  boxMullerTransform(u1, u2);
  EXPECT_TRUE(std::isfinite(u1[0]));
  EXPECT_NEAR(u1[1], -1.1774100225154747, 1e-6);
}

// Single precision turns by 6.283185, one step below the float nearest to
// 2 pi: a quarter turn then leaves a positive cosine, where the nearest float
// would give -5.1466227e-08 here.
TEST(RandomNormal, SinglePrecisionTwoPiIsOneStepBelowTheNearestFloat) {
  std::vector<float> u1{0.5f}, u2{0.25f};
  boxMullerTransform(u1, u2);
  EXPECT_NEAR(u1[0], 8.8891987e-08, 1e-12);
  FixedWords words({wordFor<float>(0.5), wordFor<float>(0.25)});
  EXPECT_NEAR(randomNormal(0.0f, 1.0f, words), 8.8891987e-08, 1e-12);
}

TEST(RandomNormal, LargeArraysApproachTheRequestedMeanAndDeviation) {
  std::mt19937_64 generator(20240611);
  auto values = randomNormal(100000, 5.0, 2.0, generator);
  double sum = 0, squares = 0;
  for (double v : values) sum += v;
  double mean = sum / static_cast<double>(values.size());
  for (double v : values) squares += (v - mean) * (v - mean);
  EXPECT_NEAR(mean, 5.0, 0.02);
  EXPECT_NEAR(std::sqrt(squares / static_cast<double>(values.size() - 1)), 2.0, 0.02);
}

TYPED_TEST(Random, ScalarTimesCollection) {
  using V = std::vector<TypeParam>;
  EXPECT_EQ(mul(2, V{1, 2, 3}), (V{2, 4, 6}));
  EXPECT_TRUE(mul(7, V{}).empty());
}

TEST(RandomDeathTest, BadRangesCountsAndPairsStop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const double lowest = std::numeric_limits<double>::lowest(), highest = std::numeric_limits<double>::max();
  EXPECT_DEATH(randomUniform(lowest, highest), "");
  EXPECT_DEATH(randomUniform(std::numeric_limits<float>::lowest(), std::numeric_limits<float>::max()), "");
  EXPECT_DEATH(randomUniform(1.0, 0.0), "");
  EXPECT_DEATH(randomUniformArray(0, 2, lowest, highest), "");
  EXPECT_DEATH(randomUniformArray(3, 2, 0.0, 1.0), "");
  EXPECT_DEATH(randomUniform(-1, 0.0, 1.0), "");
  EXPECT_DEATH(randomNormal(-1, 0.0f, 1.0f), "");
  std::vector<double> u1{0.5, 0.5}, u2{0.5};
  EXPECT_DEATH(boxMullerTransform(u1, u2), "");
}

}  // namespace
