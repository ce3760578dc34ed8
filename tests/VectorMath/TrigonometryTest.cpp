#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <span>
#include <vector>

#include "VectorMath/Trigonometry.h"

namespace {

using namespace VectorMath;

template <class T>
class Trigonometry : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(Trigonometry, Precisions);

template <class T>
void expectNear(const std::vector<T>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  double tolerance = std::is_same_v<T, float> ? 1e-5 : 1e-13;
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], tolerance * std::max(1.0, std::fabs(expected[i]))) << "element " << i;
}

TYPED_TEST(Trigonometry, FunctionsTakeEveryElement) {
  using T = TypeParam;
  using V = std::vector<T>;
  const double pi = std::numbers::pi;
  const V x{1, static_cast<T>(std::numbers::e), 100};
  expectNear(VectorMath::log(x), {0, 1, 4.605170185988092});
  EXPECT_EQ(x[2], T(100));
  expectNear(VectorMath::log10(V{1, 10, 1000}), {0, 1, 3});
  expectNear(VectorMath::log2(V{8}), {3});
  // logb is the binary exponent, not log2.
  EXPECT_EQ(logb(V{8, 0.75}), (V{3, -1}));

  expectNear(VectorMath::sin(V{0, T(pi / 2)}), {0, 1});
  expectNear(VectorMath::cos(V{0, T(pi)}), {1, -1});
  expectNear(VectorMath::tan(V{T(pi / 4)}), {1});
  expectNear(VectorMath::asin(V{1}), {pi / 2});
  expectNear(VectorMath::acos(V{-1}), {pi});
  expectNear(VectorMath::atan(V{1}), {pi / 4});
  expectNear(VectorMath::sinh(V{1}), {1.1752011936438014});
  expectNear(VectorMath::cosh(V{1}), {1.5430806348152437});
  expectNear(VectorMath::tanh(V{1}), {0.7615941559557649});
  expectNear(VectorMath::asinh(V{1.1752011936438014}), {1});
  expectNear(VectorMath::acosh(V{1.5430806348152437}), {1});
  expectNear(VectorMath::atanh(V{0.7615941559557649}), {1});

  // No domain test: out-of-domain elements give NaN or an infinity.
  auto logs = VectorMath::log(V{-1, 0});
  EXPECT_TRUE(std::isnan(logs[0]));
  EXPECT_EQ(logs[1], -std::numeric_limits<T>::infinity());
  EXPECT_TRUE(std::isnan(VectorMath::asin(V{2})[0]));

  const V empty;
  EXPECT_TRUE(VectorMath::atanh(empty).empty());
  auto [noSines, noCosines] = sincos(empty);
  EXPECT_TRUE(noSines.empty());
  EXPECT_TRUE(noCosines.empty());
}

TYPED_TEST(Trigonometry, SincosGivesSinesFirst) {
  using T = TypeParam;
  const std::vector<T> x{T(std::numbers::pi / 2), 0};
  auto [sines, cosines] = sincos(std::span(x));
  expectNear(sines, {1, 0});
  expectNear(cosines, {0, 1});
}

TYPED_TEST(Trigonometry, InPlaceFormsChangeOnlyTheViewTheyAreLent) {
  using T = TypeParam;
  std::vector<T> x{1, 1, 0, 7};
  withUnsafeMutableMemory(std::span(x).subspan(1, 1), [](UnsafeMutableMemory<T> m) { logInPlace(m); });
  withUnsafeMutableMemory(std::span(x).subspan(2, 1), [](UnsafeMutableMemory<T> m) { cosInPlace(m); });
  EXPECT_EQ(x, (std::vector<T>{1, 0, 1, 7}));
}

TEST(TrigonometryDeathTest, InPlaceFormsNeedStrideOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  double values[4] = {1, 2, 3, 4};
  EXPECT_DEATH(logInPlace(UnsafeMutableMemory<double>(values, 2, 2)), "");
  EXPECT_DEATH(cosInPlace(UnsafeMutableMemory<double>(values, -1, 1)), "");
}

}  // namespace
