#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "FixedWords.h"
#include "VectorMath/Matrix.h"

namespace {

using namespace VectorMath;
using testsupport::FixedWords;
using testsupport::wordFor;

template <class T>
class MatrixType : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(MatrixType, Precisions);

TYPED_TEST(MatrixType, EveryConstructorFillsTheGridRowByRow) {
  using T = TypeParam;
  using M = Matrix<T>;
  using V = std::vector<T>;
  struct Case {
    const char* name;
    M matrix;
    std::int64_t rows, columns;
    V grid;
  };
  const Case cases[] = {
      {"repeated", M(2, 3, T(7)), 2, 3, V(6, 7)},
      {"literal rows", M{{1, 2}, {3, 4}}, 2, 2, {1, 2, 3, 4}},
      {"rows", M::fromRows(std::vector<V>{{1, 2, 3}}), 1, 3, {1, 2, 3}},
      {"single row", M::singleRow({1, 2, 3}), 1, 3, {1, 2, 3}},
      {"single column", M::singleColumn({1, 2, 3}), 3, 1, {1, 2, 3}},
      {"explicit", M(3, 2, V{1, 2, 3, 4, 5, 6}), 3, 2, {1, 2, 3, 4, 5, 6}},
      {"generated", M::generate(2, 2, [](std::int64_t r, std::int64_t c) { return T(10 * r + c); }), 2, 2,
       {0, 1, 10, 11}},
      {"identity", M::identity(2), 2, 2, {1, 0, 0, 1}},
      {"wide identity", M::identity(2, 3), 2, 3, {1, 0, 0, 0, 1, 0}},
      {"diagonal value", M::diagonal(3, 2, T(4)), 3, 2, {4, 0, 0, 4, 0, 0}},
      {"diagonal scalars", M::diagonal(3, 2, V{5, 6}), 3, 2, {5, 0, 0, 6, 0, 0}},
      {"empty", M(0, 0, T(1)), 0, 0, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.matrix.rows(), c.rows) << c.name;
    EXPECT_EQ(c.matrix.columns(), c.columns) << c.name;
    EXPECT_EQ(c.matrix.grid(), c.grid) << c.name;
  }
  EXPECT_EQ(M(0, 0, T(1)).shape(), M::Shape::square);
  EXPECT_EQ(M(2, 3, T(1)).shape(), M::Shape::wide);
  EXPECT_EQ(M(3, 2, T(1)).shape(), M::Shape::tall);
}

TYPED_TEST(MatrixType, ElementsRowsAndColumns) {
  using T = TypeParam;
  using V = std::vector<T>;
  Matrix<T> m{{1, 2}, {3, 4}};
  EXPECT_EQ(m(1, 0), T(3));
  EXPECT_EQ(m(0, 2), T(3));  // only the flat index is checked
  EXPECT_EQ(m.row(1), (V{3, 4}));
  EXPECT_EQ(m.column(1), (V{2, 4}));

  Matrix<T> copy = m;
  copy(0, 0) = 9;
  copy.setRow(1, {7, 8});
  copy.setColumn(1, {5, 6});
  EXPECT_EQ(copy.grid(), (V{9, 5, 7, 6}));
  EXPECT_EQ(m.grid(), (V{1, 2, 3, 4}));  // the copy was written, not the original
  EXPECT_NE(copy, m);
  EXPECT_EQ(m, (Matrix<T>(2, 2, V{1, 2, 3, 4})));
  EXPECT_NE(Matrix<T>(1, 4, V{1, 2, 3, 4}), m);
}

TYPED_TEST(MatrixType, RowsIterateAsViewsIntoTheGrid) {
  using T = TypeParam;
  Matrix<T> m{{1, 2, 3}, {4, 5, 6}};
  std::vector<std::vector<T>> seen;
  for (std::span<const T> r : m) seen.emplace_back(r.begin(), r.end());
  EXPECT_EQ(seen, (std::vector<std::vector<T>>{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(m.size(), 2);
  EXPECT_EQ(m[1].data(), m.grid().data() + 3);

  // Three rows without columns: count 3, but iteration yields nothing.
  Matrix<T> noColumns(3, 0, T(0));
  EXPECT_EQ(noColumns.size(), 3);
  EXPECT_EQ(noColumns.begin(), noColumns.end());
  Matrix<T> none(0, 0, T(0));
  EXPECT_EQ(none.begin(), none.end());
}

TEST(MatrixDescription, HooksExtensionsAndParentheses) {
  struct Case {
    Matrix<double> matrix;
    std::string text;
  };
  const Case cases[] = {
      {Matrix<double>{{1, 2}, {3, 4}}, "\u239B\t1.0\t2.0\t\u239E\n\u239D\t3.0\t4.0\t\u23A0\n"},
      {Matrix<double>{{1, 2.5, -3}}, "(\t1.0\t2.5\t-3.0\t)\n"},
      {Matrix<double>::singleColumn({1, 2, 3}),
       "\u239B\t1.0\t\u239E\n\u239C\t2.0\t\u23A5\n\u239D\t3.0\t\u23A0\n"},
      {Matrix<double>(3, 0, 0.0), "\u239B\t\t\u239E\n\u239C\t\t\u23A5\n\u239D\t\t\u23A0\n"},
      {Matrix<double>(0, 0, 0.0), ""},
      {Matrix<double>{{1e16, 0.1, 1.5e-5}}, "(\t1e+16\t0.1\t1.5e-05\t)\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.matrix.description(), c.text);
  // Each precision writes its own shortest text.
  EXPECT_EQ((Matrix<float>{{0.1f, 16777216.0f}}).description(), "(\t0.1\t1.6777216e+07\t)\n");
}

TYPED_TEST(MatrixType, RandomMatricesDrawInGridOrder) {
  using T = TypeParam;
  FixedWords words({wordFor<T>(0.5), wordFor<T>(0.25), wordFor<T>(0.75)});
  EXPECT_EQ((Matrix<T>::random(1, 3, T(0), T(4), words).grid()), (std::vector<T>{2, 1, 3}));
  EXPECT_EQ((Matrix<T>::random(2, 2, T(3), T(3)).grid()), (std::vector<T>(4, T(3))));
  // Nothing to draw: the infinitely wide range is never tested.
  const T lowest = std::numeric_limits<T>::lowest(), highest = std::numeric_limits<T>::max();
  EXPECT_TRUE((Matrix<T>::random(0, 5, lowest, highest).grid().empty()));

  // u1 = (0.5, 0.5) before u2 = (0.25, 0.5): the standard values are about
  // 0 and -sqrt(2 ln 2), then scaled by 2 and moved by 1.
  FixedWords normalWords({wordFor<T>(0.5), wordFor<T>(0.5), wordFor<T>(0.25), wordFor<T>(0.5)});
  auto normal = Matrix<T>::randomNormal(2, 1, T(1), T(2), normalWords);
  EXPECT_EQ(normal.rows(), 2);
  ASSERT_EQ(normal.grid().size(), 2u);
  const double tolerance = std::is_same_v<T, float> ? 1e-5 : 1e-14;
  EXPECT_NEAR(normal.grid()[0], 1.0, tolerance);
  EXPECT_NEAR(normal.grid()[1], 1.0 - 2 * 1.1774100225154747, tolerance);
  EXPECT_EQ((Matrix<T>::randomNormal(3, 2, T(0), T(1)).grid().size()), 6u);
}

TEST(MatrixGenerate, CallsInRowOrderAndPassesErrorsOn) {
  std::vector<std::pair<std::int64_t, std::int64_t>> calls;
  Matrix<double>::generate(2, 2, [&](std::int64_t r, std::int64_t c) {
    calls.emplace_back(r, c);
    return 0.0;
  });
  EXPECT_EQ(calls, (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
  EXPECT_THROW(Matrix<float>::generate(2, 2,
                                       [](std::int64_t r, std::int64_t) -> float {
                                         if (r == 1) throw std::runtime_error("no value");
                                         return 1;
                                       }),
               std::runtime_error);
}

TEST(MatrixDeathTest, BrokenShapesAndIndexesStop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  using M = Matrix<double>;
  using V = std::vector<double>;
  M m{{1, 2}, {3, 4}};
#if defined(__cpp_lib_source_location)
  const std::string fromRowsCheck = "VectorMath::Matrix: ";
#else  // clang 14: the function's bare name
  const std::string fromRowsCheck = "VectorMath::fromRows: ";
#endif
  EXPECT_DEATH((M{{1, 2}, {3, 4, 5}}),
               fromRowsCheck + "precondition failed: every row holds as many values as the first");
  EXPECT_DEATH(M::fromRows(std::vector<V>{}), "");
  EXPECT_DEATH(M(2, 2, V{1, 2, 3}), "");
  EXPECT_DEATH(M(-2, -3, 0.0), "");
  EXPECT_DEATH(M(-2, -3, V(6)), "");
  EXPECT_DEATH(M::identity(-1), "");
  EXPECT_DEATH(M::generate(-1, 2, [](auto, auto) { return 0.0; }), "");
  EXPECT_DEATH(M(std::int64_t{1} << 40, std::int64_t{1} << 40, 0.0), "");
  EXPECT_DEATH(M::diagonal(3, 2, V{1, 2, 3}), "");
  EXPECT_DEATH(m(1, 2), "");
  EXPECT_DEATH(m(-1, 0), "");
  EXPECT_DEATH(m.column(2), "");
  EXPECT_DEATH(m.row(2), "");
  EXPECT_DEATH(m[2], "");
  EXPECT_DEATH(m.setRow(0, {1, 2, 3}), "");
  EXPECT_DEATH(m.setRow(0, {1}), "");
  EXPECT_DEATH(m.setColumn(0, {1, 2, 3}), "");
  EXPECT_DEATH(m.setColumn(0, {1}), "");
  EXPECT_DEATH(M::random(2, 2, 1.0, 0.0), "");
  EXPECT_DEATH(M::random(1, 1, std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max()), "");
  EXPECT_DEATH(M::randomNormal(-1, 2, 0.0, 1.0), "");
}

}  // namespace
