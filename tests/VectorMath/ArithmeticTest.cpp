#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "VectorMath/Arithmetic.h"

namespace {

using namespace VectorMath;

template <class T>
class Arithmetic : public ::testing::Test {};
using Precisions = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Arithmetic, Precisions);

template <class T>
using Vec = std::vector<T>;

// Returning forms: exact values (every case is exact in both precisions), the
// order traps (dividend vs divisor, base vs exponent, fmod vs remainder), and
// the inputs left as they were.
TYPED_TEST(Arithmetic, ReturningFormsGiveExactValuesAndLeaveInputsAlone) {
  using T = TypeParam;
  const Vec<T> x{1, 2, 3}, y{4, 5, 6};
  struct Case {
    std::string name;
    std::function<Vec<T>()> op;
    Vec<T> expected;
  };
  const std::vector<Case> cases = {
      {"add scalar", [&] { return add(x, T(0.5)); }, {1.5, 2.5, 3.5}},
      {"sub scalar", [&] { return sub(x, T(5)); }, add(x, T(-5))},
      {"mul scalar", [&] { return mul(x, T(-2)); }, {-2, -4, -6}},
      {"div scalar", [&] { return div(Vec<T>{49, 1, -3}, T(49)); }, {1, T(1) / T(49), T(-3) / T(49)}},
      {"add", [&] { return add(x, y); }, {5, 7, 9}},
      {"sub", [&] { return sub(x, y); }, {-3, -3, -3}},
      {"elmul", [&] { return elmul(x, y); }, {4, 10, 18}},
      {"eldiv", [&] { return eldiv(Vec<T>{6, 8}, Vec<T>{3, 2}); }, {2, 4}},
      {"fmod scalar", [&] { return fmod(Vec<T>{7, -7}, T(3)); }, {1, -1}},
      {"fmod", [&] { return fmod(Vec<T>{7, -7}, Vec<T>{4, 4}); }, {3, -3}},
      {"remainder", [&] { return remainder(Vec<T>{7, 5, 7}, Vec<T>{4, 2, 2}); }, {-1, 1, -1}},
      {"pow", [&] { return pow(Vec<T>{2, 3}, Vec<T>{3, 2}); }, {8, 9}},
      {"pow scalar", [&] { return pow(Vec<T>{0, 0.25, 1}, T(0.5)); }, {0, 0.5, 1}},
      {"pow scalar 0", [&] { return pow(Vec<T>{0, 0.25, 1}, T(0)); }, {1, 1, 1}},
      {"sq", [&] { return sq(Vec<T>{-3, 0.5}); }, {9, 0.25}},
      {"sqrt", [&] { return sqrt(Vec<T>{9, 0.25}); }, {3, 0.5}},
      {"exp2", [&] { return exp2(Vec<T>{-1, 0, 3}); }, {0.5, 1, 8}},
      {"slice", [&] { return add(std::span(x).subspan(1), T(1)); }, {3, 4}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.op(), c.expected) << c.name;
  EXPECT_EQ(x, (Vec<T>{1, 2, 3}));
  EXPECT_EQ(y, (Vec<T>{4, 5, 6}));

  auto e = exp(Vec<T>{0, 1});
  EXPECT_EQ(e[0], T(1));
  EXPECT_NEAR(e[1], T(2.718281828459045), T(1e-6));
  // IEEE results pass through.
  auto inf = div(Vec<T>{1}, T(0));
  EXPECT_TRUE(std::isinf(inf[0]));
  EXPECT_TRUE(std::isnan(pow(Vec<T>{-8}, T(1.0 / 3))[0]));
}

TYPED_TEST(Arithmetic, InPlaceAndOperatorFormsMatchTheReturningForms) {
  using T = TypeParam;
  using namespace VectorMath::Operators;
  const Vec<T> x{1, 2, 4, 8}, y{2, 4, 8, 16};
  struct Case {
    std::string name;
    std::function<void(Vec<T>&)> inPlace;
    std::function<Vec<T>(const Vec<T>&)> viaOperator;
    Vec<T> expected;
  };
  const std::vector<Case> cases = {
      {"add s", [](Vec<T>& v) { addInPlace(v, T(1)); }, [](const Vec<T>& v) { return v + T(1); }, add(x, T(1))},
      {"sub s", [](Vec<T>& v) { subInPlace(v, T(1)); }, [](const Vec<T>& v) { return v - T(1); }, sub(x, T(1))},
      {"mul s", [](Vec<T>& v) { mulInPlace(v, T(3)); }, [](const Vec<T>& v) { return v * T(3); }, mul(x, T(3))},
      {"div s", [](Vec<T>& v) { divInPlace(v, T(3)); }, [](const Vec<T>& v) { return v / T(3); }, div(x, T(3))},
      {"fmod s", [](Vec<T>& v) { fmodInPlace(v, T(3)); }, [](const Vec<T>& v) { return v % T(3); }, fmod(x, T(3))},
      {"pow s", [](Vec<T>& v) { powInPlace(v, T(2)); }, [](const Vec<T>& v) { return v ^ T(2); }, pow(x, T(2))},
      {"add", [&](Vec<T>& v) { addInPlace(v, y); }, [&](const Vec<T>& v) { return v + y; }, add(x, y)},
      {"sub", [&](Vec<T>& v) { subInPlace(v, y); }, [&](const Vec<T>& v) { return v - y; }, sub(x, y)},
      {"elmul", [&](Vec<T>& v) { elmulInPlace(v, y); }, [&](const Vec<T>& v) { return v * y; }, elmul(x, y)},
      {"eldiv", [&](Vec<T>& v) { eldivInPlace(v, y); }, [&](const Vec<T>& v) { return v / y; }, eldiv(x, y)},
      {"fmod", [&](Vec<T>& v) { fmodInPlace(v, y); }, [&](const Vec<T>& v) { return v % y; }, fmod(x, y)},
      {"pow", [&](Vec<T>& v) { powInPlace(v, y); }, [&](const Vec<T>& v) { return v ^ y; }, pow(x, y)},
      {"remainder", [&](Vec<T>& v) { remainderInPlace(v, y); }, [&](const Vec<T>& v) { return remainder(v, y); },
       remainder(x, y)},
  };
  for (const auto& c : cases) {
    auto v = x;
    c.inPlace(v);
    EXPECT_EQ(v, c.expected) << c.name;
    EXPECT_EQ(c.viaOperator(x), c.expected) << c.name;
  }

  // Compound operators change their target.
  auto v = x;
  v += T(1);
  v *= y;
  v ^= T(1);
  EXPECT_EQ(v, (Vec<T>{4, 12, 40, 144}));
  EXPECT_EQ(x | y, T(2 + 8 + 32 + 128));

  // In place through a slice changes the slice's elements only.
  auto w = x;
  addInPlace(std::span(w).subspan(1, 2), Vec<T>{10, 20});
  mulInPlace(std::span(w).first(1), T(-1));
  EXPECT_EQ(w, (Vec<T>{-1, 12, 24, 8}));
  sqrtInPlace(std::span(w).subspan(1, 0));
  sqrtInPlace(std::span(w).last(1));
  EXPECT_EQ(w[3], T(std::sqrt(T(8))));
}

TYPED_TEST(Arithmetic, EmptyInputsSqrtIntoAnOutputAndDistances) {
  using T = TypeParam;
  const Vec<T> none;
  EXPECT_TRUE(add(none, T(1)).empty());
  EXPECT_TRUE(add(none, none).empty());
  EXPECT_TRUE(eldiv(none, none).empty());
  EXPECT_TRUE(pow(none, T(2)).empty());
  EXPECT_TRUE(fmod(none, T(2)).empty());
  EXPECT_TRUE(exp(none).empty());
  EXPECT_TRUE(sq(none).empty());
  EXPECT_EQ(dot(none, none), T(0));
  EXPECT_EQ(distSq(none, none), T(0));

  Vec<T> out{-1, -1, -1, -1, -1};
  sqrt(Vec<T>{1, 4, 9}, out);
  EXPECT_EQ(out, (Vec<T>{1, 2, 3, -1, -1}));

  EXPECT_EQ(dist(Vec<T>{0, 0}, Vec<T>{3, 4}), T(5));
  EXPECT_EQ(distSq(Vec<T>{0, 0}, Vec<T>{3, 4}), T(25));
  EXPECT_EQ(dot(Vec<T>{1, 2, 3}, Vec<T>{4, -5, 6}), T(12));
}

// Returning forms copy and compute block by block; arrays longer than a
// block, and slices starting inside one, come out element for element.
TYPED_TEST(Arithmetic, LongArraysComeOutElementForElement) {
  using T = TypeParam;
  const int n = 5000;
  Vec<T> x(n + 7), y(n);
  for (int i = 0; i < n + 7; ++i) x[i] = T(1) + T(i % 97) / T(8);
  for (int i = 0; i < n; ++i) y[i] = T(2) + T(i % 13);
  auto slice = std::span<const T>(x).subspan(7);
  struct Case {
    std::string name;
    Vec<T> actual;
    std::function<T(T, T)> element;
  };
  const std::vector<Case> cases = {
      {"add", add(slice, y), [](T a, T b) { return a + b; }},
      {"sub", sub(slice, y), [](T a, T b) { return a - b; }},
      {"elmul", elmul(slice, y), [](T a, T b) { return a * b; }},
      {"eldiv", eldiv(slice, y), [](T a, T b) { return a / b; }},
      {"pow", pow(slice, y), [](T a, T b) { return std::pow(a, b); }},
      {"mul scalar", mul(slice, T(3)), [](T a, T) { return a * T(3); }},
      {"pow scalar", pow(slice, T(0.45)), [](T a, T) { return std::pow(a, T(0.45)); }},
      {"fmod scalar", fmod(slice, T(1.5)), [](T a, T) { return std::fmod(a, T(1.5)); }},
      {"sq", sq(slice), [](T a, T) { return a * a; }},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(c.actual.size(), std::size_t(n)) << c.name;
    int wrong = 0;
    for (int i = 0; i < n; ++i) wrong += c.actual[i] != c.element(slice[i], y[i]);
    EXPECT_EQ(wrong, 0) << c.name;
  }
}

TEST(ArithmeticDeathTest, UnequalCountsAndShortOutputsStop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::vector<double> three{1, 2, 3}, four{1, 2, 3, 4}, two{0, 0};
  EXPECT_DEATH(addInPlace(three, four), "");
  EXPECT_DEATH(sub(three, four), "");
  EXPECT_DEATH(elmul(three, four), "");
  EXPECT_DEATH(eldivInPlace(four, three), "");
  EXPECT_DEATH(fmod(three, four), "");
  EXPECT_DEATH(remainder(three, four), "");
  EXPECT_DEATH(powInPlace(three, four), "");
#if defined(__cpp_lib_source_location)
  const std::string dotCheck = "^VectorMath::dot";
#else  // clang 14: the check is made inside a lambda, whose function has no name
  const std::string dotCheck = "^VectorMath";
#endif
  EXPECT_DEATH(dot(three, four), dotCheck + ": precondition failed: both collections hold as many elements "
                                            "\\(Arithmetic\\.h:[0-9]+\\)");
  EXPECT_DEATH(distSq(three, four), "");
  EXPECT_DEATH(dist(four, three), "");
  EXPECT_DEATH(sqrt(three, two), "");
  std::vector<float> f3(3), f4(4);
  EXPECT_DEATH(addInPlace(f3, f4), "");
  EXPECT_DEATH(pow(f4, f3), "");
}

}  // namespace
