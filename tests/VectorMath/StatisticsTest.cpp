#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "VectorMath/Statistics.h"

namespace {

template <class T>
class Statistics : public ::testing::Test {};
using Precisions = ::testing::Types<float, double>;
TYPED_TEST_SUITE(Statistics, Precisions);

template <class T>
using Vec = std::vector<T>;

TYPED_TEST(Statistics, ValuesOfEveryReduction) {
  using T = TypeParam;
  namespace vm = VectorMath;
  const Vec<T> signs{-1, 2, -3}, quarter{1, 2, 3, 4};
  struct Case {
    std::string name;
    T actual;
    T expected;
  };
  const Case cases[] = {
      {"sum", vm::sum(Vec<T>{1.5, 2.5, -1}), 3},
      {"asum", vm::asum(signs), 6},
      {"sumsq", vm::sumsq(signs), 14},
      {"max", vm::max(signs), 2},
      {"min", vm::min(signs), -3},
      {"mean", vm::mean(quarter), 2.5},
      {"meamg", vm::meamg(signs), 2},
      {"measq", vm::measq(quarter), 7.5},
      {"rmsq", vm::rmsq(signs), std::sqrt(T(14) / T(3))},
      // population variance: 5 / 4, not 5 / 3
      {"variance", vm::variance(quarter), 1.25},
      {"variance about 0", vm::variance(quarter, T(0)), 7.5},
      {"std", vm::std(quarter), std::sqrt(T(1.25))},
      {"std about 0", vm::std(quarter, T(0)), std::sqrt(T(7.5))},
      // a slice covers only its own elements
      {"sum of a slice", vm::sum(std::span(quarter).subspan(1, 2)), 5},
      {"mean of a slice", vm::mean(std::span(quarter).last(2)), 3.5},
      {"max of a slice", vm::max(std::span(signs).first(1)), -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;

  auto [slope, intercept] = vm::linearRegression(Vec<T>{1, 2, 3}, Vec<T>{2, 4, 6});
  EXPECT_EQ(slope, T(2));
  EXPECT_EQ(intercept, T(0));
  auto fit = vm::linearRegression(Vec<T>{0, 1, 2, 3}, Vec<T>{1, 3, 5, 7});
  EXPECT_EQ(fit.first, T(2));
  EXPECT_EQ(fit.second, T(1));
  // A constant x: 0 / 0.
  auto flat = vm::linearRegression(Vec<T>{2, 2}, Vec<T>{1, 3});
  EXPECT_TRUE(std::isnan(flat.first));
}

TYPED_TEST(Statistics, EmptyCollections) {
  using T = TypeParam;
  namespace vm = VectorMath;
  const Vec<T> none;
  const T inf = std::numeric_limits<T>::infinity();
  EXPECT_EQ(vm::sum(none), T(0));
  EXPECT_EQ(vm::asum(none), T(0));
  EXPECT_EQ(vm::sumsq(none), T(0));
  EXPECT_EQ(vm::max(none), -inf);
  EXPECT_EQ(vm::min(none), inf);
  for (T v : {vm::mean(none), vm::meamg(none), vm::measq(none), vm::rmsq(none), vm::variance(none),
              vm::variance(none, T(1)), vm::std(none), vm::std(none, T(1)), vm::linearRegression(none, none).first,
              vm::linearRegression(none, none).second})
    EXPECT_TRUE(std::isnan(v));
}

TEST(StatisticsDeathTest, RegressionNeedsEqualCounts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::vector<double> three{1, 2, 3}, four{1, 2, 3, 4};
  EXPECT_DEATH(VectorMath::linearRegression(three, four), "");
  std::vector<float> f2(2), f1(1);
  EXPECT_DEATH(VectorMath::linearRegression(f1, f2), "");
}

}  // namespace
