#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "VectorMath/Auxiliary.h"

namespace {

using namespace VectorMath;

template <class T>
class Auxiliary : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(Auxiliary, Precisions);

TYPED_TEST(Auxiliary, RoundingSignAndRangeFunctions) {
  using V = std::vector<TypeParam>;
  const V x{-1.5, 1.5};
  EXPECT_EQ(VectorMath::floor(x), (V{-2, 1}));
  EXPECT_EQ(VectorMath::ceil(x), (V{-1, 2}));
  EXPECT_EQ(VectorMath::trunc(x), (V{-1, 1}));
  EXPECT_EQ(VectorMath::abs(x), (V{1.5, 1.5}));
  EXPECT_EQ(neg(x), (V{1.5, -1.5}));
  EXPECT_EQ(x, (V{-1.5, 1.5}));  // returning forms leave their input alone
  // Halfway cases go to the even neighbour.
  EXPECT_EQ(VectorMath::round(V{0.5, 1.5, 2.5, -2.5, 2.6}), (V{0, 2, 2, -2, 3}));
  EXPECT_EQ(clip(V{-2, 0.5, 3}, 0, 1), (V{0, 0.5, 1}));
  EXPECT_TRUE(std::isnan(clip(V{NAN}, 0, 1)[0]));
  EXPECT_EQ(rec(V{2, 4, 0}), (V{0.5, 0.25, std::numeric_limits<TypeParam>::infinity()}));
  // A slice gives a result of its own length.
  EXPECT_EQ(VectorMath::floor(std::span(x).subspan(1)), (V{1}));

  const V empty;
  for (const V& r : {VectorMath::abs(empty), VectorMath::floor(empty), VectorMath::ceil(empty), clip(empty, 0, 1),
                     neg(empty), rec(empty), VectorMath::round(empty), VectorMath::trunc(empty)})
    EXPECT_TRUE(r.empty());
}

TYPED_TEST(Auxiliary, CopysignTakesTheSignSourceFirst) {
  using V = std::vector<TypeParam>;
  const V signs{-1, 1};
  const V magnitudes{3, -4};
  EXPECT_EQ(VectorMath::copysign(signs, magnitudes), (V{-3, 4}));

  V target{3, -4};
  copysignInPlace(target, signs);
  EXPECT_EQ(target, (V{-3, 4}));
  // A longer sign collection is fine; only the first signs are used.
  V slice{5, 5, 5};
  copysignInPlace(std::span(slice).subspan(1), V{-1, 1, -1, -1});
  EXPECT_EQ(slice, (V{5, -5, 5}));
}

TEST(AuxiliaryDeathTest, SignsShorterThanTheMagnitudesStop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::vector<double> magnitudes{1, 2, 3};
  EXPECT_DEATH(VectorMath::copysign(std::vector<double>{-1, -1}, magnitudes), "");
  EXPECT_DEATH(copysignInPlace(magnitudes, std::vector<double>{}), "");
  std::vector<float> floats{1, 2};
  EXPECT_DEATH(copysignInPlace(floats, std::vector<float>{-1}), "");
}

}  // namespace
