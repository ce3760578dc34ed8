#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <list>
#include <stdexcept>
#include <vector>

#include "FixedWords.h"
#include "VectorMath/LinearAlgebra.h"
#include "VectorMath/Vector.h"

namespace {

using namespace VectorMath;
using testsupport::FixedWords;
using testsupport::wordFor;

template <class T>
class VectorType : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(VectorType, Precisions);

TYPED_TEST(VectorType, InitialisersAndText) {
  using T = TypeParam;
  using V = Vector<T>;
  using A = std::vector<T>;
  EXPECT_EQ(V(3, T(2)).scalars(), (A{2, 2, 2}));
  EXPECT_EQ(V(A{1, 2}).scalars(), (A{1, 2}));
  EXPECT_EQ(V(std::list<T>{4, 5, 6}).dimensions(), 3);
  EXPECT_EQ(V(std::array<T, 2>{7, 8}), (V{7, 8}));  // equal however they were made
  EXPECT_EQ(V::generate(4, [](std::int64_t i) { return T(i) / 2; }), (V{0, 0.5, 1, 1.5}));
  EXPECT_EQ(V(0, T(1)).dimensions(), 0);

  EXPECT_EQ((V{1, 2.5}).description(), "1.0\t2.5");
  EXPECT_EQ(V(0, T(1)).description(), "");
  EXPECT_EQ((V{T(0.1), -3}).description(), "0.1\t-3.0");

  FixedWords words({wordFor<T>(0.5), wordFor<T>(0.25)});
  EXPECT_EQ(V::randomUniform(2, T(0), T(8), words), (V{4, 2}));
  FixedWords normalWords({wordFor<T>(0.5), wordFor<T>(0.5)}), same({wordFor<T>(0.5), wordFor<T>(0.5)});
  EXPECT_EQ(V::randomNormal(1, T(10), T(2), normalWords).scalars(), randomNormal(1, T(10), T(2), same));
  EXPECT_EQ(V::randomUniform(3, T(1), T(1)), (V{1, 1, 1}));
  EXPECT_EQ(V::randomNormal(5, T(0), T(1)).dimensions(), 5);
}

TYPED_TEST(VectorType, ComponentsAreIndexedAndCopiesAreIndependent) {
  using T = TypeParam;
  const Vector<T> original{1, 2, 3};
  Vector<T> copy = original;
  copy[1] = 9;
  EXPECT_EQ(copy, (Vector<T>{1, 9, 3}));
  EXPECT_EQ(original[1], T(2));
  copy.setScalars({4, 5, 6});
  EXPECT_EQ(copy.scalars(), (std::vector<T>{4, 5, 6}));
  std::vector<T> seen(original.begin(), original.end());
  EXPECT_EQ(seen, original.scalars());
  EXPECT_EQ(original.size(), 3);
}

TYPED_TEST(VectorType, Arithmetic) {
  using T = TypeParam;
  using V = Vector<T>;
  const V a{1, 2}, b{3, 4};
  EXPECT_EQ(a + b, (V{4, 6}));
  EXPECT_EQ(add(a, b), (V{4, 6}));
  EXPECT_EQ(a - b, (V{-2, -2}));
  EXPECT_EQ(a + 1, (V{2, 3}));
  EXPECT_EQ(sub(a, 5), add(a, -5));
  EXPECT_EQ(a * 3, (V{3, 6}));
  EXPECT_EQ(V{49} / 49, V{1});  // a true division
  EXPECT_EQ(a * b, (V{3, 8}));
  EXPECT_EQ((V{6, 8}) / (V{3, 2}), (V{2, 4}));  // lhs is the dividend
  EXPECT_EQ((V{1, 2, 3} | V{4, 5, 6}), T(32));
  EXPECT_EQ(pow(V{2, 3}, 2), (V{4, 9}));
  EXPECT_EQ(VectorMath::exp(V{0}), V{1});
  EXPECT_EQ(dist(V{0, 0}, V{3, 4}), T(5));
  EXPECT_EQ(distSq(V{0, 0}, V{3, 4}), T(25));
  EXPECT_EQ(distSq(V(0, T(0)), V(0, T(0))), T(0));
  EXPECT_EQ(a, (V{1, 2}));

  V c{1, 2};
  c += b;
  c -= a;
  EXPECT_EQ(c, b);
  c *= 2;
  c /= 4;
  c += 1;
  c -= 0.5;
  EXPECT_EQ(c, (V{2, 2.5}));
  c *= V{2, 2};
  c /= V{4, 5};
  EXPECT_EQ(c, (V{1, 1}));
}

TYPED_TEST(VectorType, ProductsWithMatrices) {
  using T = TypeParam;
  using V = Vector<T>;
  using M = Matrix<T>;
  const M m{{1, 2, 3}, {4, 5, 6}};
  EXPECT_EQ((V{1, 2} * m), (V{9, 12, 15}));  // sum over rows: the matrix read transposed
  EXPECT_EQ(V(0, T(0)) * M(0, 3, T(0)), (V{0, 0, 0}));
  EXPECT_EQ((m * V{1, 0, -1}), (V{-2, -2}));
  EXPECT_EQ((M(0, 3, T(0)) * V{1, 2, 3}), V(0, T(0)));
  EXPECT_EQ(M(3, 0, T(0)) * V(0, T(0)), (V{0, 0, 0}));
  EXPECT_EQ((T(2) * V{1, 2, 3}), (V{2, 4, 6}));
  EXPECT_EQ(mul(T(2), V(0, T(0))).dimensions(), 0);
}

TEST(VectorGenerate, CallsInIndexOrderAndPassesErrorsOn) {
  std::vector<std::int64_t> calls;
  Vector<double>::generate(3, [&](std::int64_t i) {
    calls.push_back(i);
    return 0.0;
  });
  EXPECT_EQ(calls, (std::vector<std::int64_t>{0, 1, 2}));
  EXPECT_THROW(Vector<float>::generate(3,
                                       [](std::int64_t i) -> float {
                                         if (i == 2) throw std::runtime_error("no component");
                                         return 0;
                                       }),
               std::runtime_error);
}

TEST(VectorDeathTest, MismatchedDimensionsAndIndexesStop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  using V = Vector<double>;
  V two{1, 2}, three{1, 2, 3};
  EXPECT_DEATH(two + three, "");
  EXPECT_DEATH(two - three, "");
  EXPECT_DEATH(elmul(two, three), "");
  EXPECT_DEATH(eldiv(two, three), "");
  EXPECT_DEATH(dot(two, three), "");
  EXPECT_DEATH(dist(two, three), "");
  EXPECT_DEATH(two += three, "");
  EXPECT_DEATH(two[2], "");
  EXPECT_DEATH(two[-1] = 0, "");
  EXPECT_DEATH(two.setScalars({1, 2, 3}), "");
  EXPECT_DEATH(V(-1, 0.0), "");
  EXPECT_DEATH(V::generate(-1, [](std::int64_t) { return 0.0; }), "");
  EXPECT_DEATH(three * Matrix<double>(2, 2, 1.0), "");
  EXPECT_DEATH(Matrix<double>(2, 2, 1.0) * three, "");
}

}  // namespace
