#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <optional>
#include <vector>

#include "VectorMath/LinearAlgebra.h"

namespace {

using namespace VectorMath;

template <class T>
class MatrixAlgebra : public testing::Test {};
using Precisions = testing::Types<float, double>;
TYPED_TEST_SUITE(MatrixAlgebra, Precisions);

template <class T>
void expectNear(const Matrix<T>& actual, const Matrix<T>& expected, double tolerance) {
  ASSERT_EQ(actual.rows(), expected.rows());
  ASSERT_EQ(actual.columns(), expected.columns());
  for (std::size_t i = 0; i < expected.grid().size(); ++i)
    EXPECT_NEAR(actual.grid()[i], expected.grid()[i], tolerance) << "element " << i;
}

TYPED_TEST(MatrixAlgebra, SumsProductsAndScaling) {
  using T = TypeParam;
  using M = Matrix<T>;
  const M a{{1, 2}, {3, 4}};
  const M b{{10, 20}, {30, 40}};
  EXPECT_EQ(a + b, (M{{11, 22}, {33, 44}}));
  EXPECT_EQ(sub(a, b), (M{{-9, -18}, {-27, -36}}));
  M c = a;
  c += b;
  c -= a;
  EXPECT_EQ(c, b);
  addInPlace(c, b);
  EXPECT_EQ(c, (M{{20, 40}, {60, 80}}));
  EXPECT_EQ(a, (M{{1, 2}, {3, 4}}));

  EXPECT_EQ((M{{1, 2, 3}, {4, 5, 6}} * M{{7, 8}, {9, 10}, {11, 12}}), (M{{58, 64}, {139, 154}}));
  // Zero sizes give zeros of the product's shape without calling BLAS.
  EXPECT_EQ(mul(M(2, 0, T(0)), M(0, 3, T(0))), M(2, 3, T(0)));
  EXPECT_EQ(mul(M(0, 3, T(0)), M(3, 2, T(1))), M(0, 2, T(0)));

  EXPECT_EQ(a * 2, (M{{2, 4}, {6, 8}}));
  EXPECT_TRUE(std::isnan(mul(M{{NAN}}, 0)(0, 0)));
  EXPECT_EQ(elmul(a, b), (M{{10, 40}, {90, 160}}));
  EXPECT_EQ(M{{49}} / 49, M{{1}});  // a true division
  EXPECT_EQ(pow(M{{2, 3}}, 2), (M{{4, 9}}));
  EXPECT_EQ(VectorMath::exp(M{{0}}), M{{1}});
}

TYPED_TEST(MatrixAlgebra, AxisSumsAndTranspose) {
  using T = TypeParam;
  using M = Matrix<T>;
  const M a{{1, 2}, {3, 4}};
  EXPECT_EQ(sum(a, MatrixAxies::column), (M{{4, 6}}));
  EXPECT_EQ(sum(a, MatrixAxies::row), (M{{3}, {7}}));
  EXPECT_EQ(sum(M(0, 3, T(0)), MatrixAxies::column), M(1, 3, T(0)));
  EXPECT_EQ(sum(M(3, 0, T(0)), MatrixAxies::row), M(3, 1, T(0)));
  EXPECT_EQ(transpose(M{{1, 2, 3}, {4, 5, 6}}), (M{{1, 4}, {2, 5}, {3, 6}}));
  EXPECT_EQ(transpose(M(0, 2, T(0))), M(2, 0, T(0)));
}

TYPED_TEST(MatrixAlgebra, InverseAndDivision) {
  using T = TypeParam;
  using M = Matrix<T>;
  const double tolerance = std::is_same_v<T, float> ? 1e-5 : 1e-12;
  EXPECT_EQ(inv(M{{4}}), M{{0.25}});
  // Not symmetric, so a transposed inverse would show.
  const M a{{1, 2}, {3, 5}};
  expectNear(inv(a), M{{-5, 2}, {3, -1}}, tolerance);
  expectNear(a * inv(a), M::identity(2), tolerance);
  expectNear(a / a, M::identity(2), tolerance);
  EXPECT_EQ(div(a, M::identity(2)), a);
  expectNear(M{{1, 2, 3}} / M{{2, 0, 0}, {0, 4, 0}, {0, 0, 1}}, M{{0.5, 0.5, 3}}, tolerance);
  EXPECT_EQ(inv(M(0, 0, T(0))), M(0, 0, T(0)));

  // A singular matrix has no inverse: every element is NaN.
  for (const M& singular : {M{{1, 2}, {2, 4}}, M{{0}}}) {
    M result = inv(singular);
    EXPECT_EQ(result.rows(), singular.rows());
    for (T v : result.grid()) EXPECT_TRUE(std::isnan(v));
  }
  for (T v : div(M{{1, 1}}, M{{1, 2}, {2, 4}}).grid()) EXPECT_TRUE(std::isnan(v));
}

TYPED_TEST(MatrixAlgebra, Determinant) {
  using T = TypeParam;
  using M = Matrix<T>;
  EXPECT_EQ(det(M{{1, 2}, {3, 4}}), std::optional<T>(-2));  // one row interchange
  auto d3 = det(M{{2, 0, 1}, {1, 3, 2}, {1, 1, 2}});
  ASSERT_TRUE(d3.has_value());
  EXPECT_NEAR(*d3, 6, 1e-5);
  EXPECT_EQ(det(M{{1, 2}, {2, 4}}), std::nullopt);
  EXPECT_EQ(det(M(0, 0, T(0))), std::optional<T>(1));
  EXPECT_EQ(det(M{{1, 2, 3}, {4, 5, 6}}), std::nullopt);
  EXPECT_EQ(det(M(2, 0, T(0))), std::nullopt);
}

// A v = lambda v for every eigenpair (v column j of the right eigenvectors).
void expectEigenpairs(const Matrix<double>& a, const MatrixEigenDecompositionResult<double>& r) {
  const auto n = static_cast<std::size_t>(a.rows());
  for (std::size_t j = 0; j < n; ++j)
    for (std::size_t i = 0; i < n; ++i) {
      std::complex<double> av = 0;
      for (std::size_t k = 0; k < n; ++k)
        av += a(static_cast<std::int64_t>(i), static_cast<std::int64_t>(k)) * r.rightEigenVectors[k][j];
      EXPECT_NEAR(std::abs(av - r.eigenValues[j] * r.rightEigenVectors[i][j]), 0, 1e-12);
    }
}

TEST(MatrixEigenDecomposition, RealAndComplexEigenpairs) {
  using C = std::complex<double>;
  const double h = std::sqrt(0.5);

  auto diagonal = eigenDecompose(Matrix<double>{{2, 0}, {0, 3}});
  EXPECT_EQ(diagonal.eigenValues, (std::vector<C>{{2, 0}, {3, 0}}));
  for (const auto& vectors : {diagonal.leftEigenVectors, diagonal.rightEigenVectors}) {
    EXPECT_NEAR(std::abs(vectors[0][0]), 1, 1e-15);
    EXPECT_NEAR(std::abs(vectors[1][1]), 1, 1e-15);
    EXPECT_EQ(vectors[1][0], C(0, 0));
    EXPECT_EQ(vectors[0][1], C(0, 0));
  }

  // Upper triangular: left and right eigenvectors differ, so a transposed
  // matrix would swap them.
  const Matrix<double> triangular{{1, 2}, {0, 3}};
  auto t = eigenDecompose(triangular);
  EXPECT_EQ(t.eigenValues, (std::vector<C>{{1, 0}, {3, 0}}));
  EXPECT_NEAR(std::abs(t.rightEigenVectors[0][0]), 1, 1e-12);
  EXPECT_NEAR(std::abs(t.rightEigenVectors[1][0]), 0, 1e-12);
  EXPECT_NEAR(std::abs(t.rightEigenVectors[0][1]), h, 1e-12);
  EXPECT_NEAR(std::abs(t.rightEigenVectors[1][1]), h, 1e-12);
  EXPECT_NEAR(std::abs(t.leftEigenVectors[0][0]), h, 1e-12);
  EXPECT_NEAR((t.leftEigenVectors[0][0] + t.leftEigenVectors[1][0]).real(), 0, 1e-12);
  EXPECT_NEAR(std::abs(t.leftEigenVectors[0][1]), 0, 1e-12);
  expectEigenpairs(triangular, t);

  // A rotation: the conjugate pair, positive imaginary part first, with
  // conjugate eigenvectors.
  const Matrix<double> rotation{{0, -1}, {1, 0}};
  auto r = eigenDecompose(rotation);
  ASSERT_EQ(r.eigenValues.size(), 2u);
  EXPECT_NEAR(std::abs(r.eigenValues[0] - C(0, 1)), 0, 1e-15);
  EXPECT_NEAR(std::abs(r.eigenValues[1] - C(0, -1)), 0, 1e-15);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(r.rightEigenVectors[i][1], std::conj(r.rightEigenVectors[i][0]));
  expectEigenpairs(rotation, r);

  auto empty = eigenDecompose(Matrix<double>(0, 0, 0.0));
  EXPECT_TRUE(empty.eigenValues.empty());
  EXPECT_TRUE(empty.rightEigenVectors.empty());
}

TEST(MatrixEigenDecomposition, SinglePrecisionIsTheDoubleResultRounded) {
  const Matrix<double> a{{4, 1, 0}, {2, 3, 1}, {0, 1, 2}};
  const Matrix<float> f{{4, 1, 0}, {2, 3, 1}, {0, 1, 2}};
  auto d = eigenDecompose(a);
  auto s = eigenDecompose(f);
  ASSERT_EQ(s.eigenValues.size(), 3u);
  for (std::size_t j = 0; j < 3; ++j) {
    EXPECT_EQ(s.eigenValues[j].real(), static_cast<float>(d.eigenValues[j].real()));
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(s.rightEigenVectors[i][j].real(), static_cast<float>(d.rightEigenVectors[i][j].real()));
      EXPECT_EQ(s.leftEigenVectors[i][j].imag(), static_cast<float>(d.leftEigenVectors[i][j].imag()));
    }
  }
}

template <class T>
std::optional<EigenDecompositionError::Kind> eigenErrorOf(const Matrix<T>& m) {
  try {
    eigenDecompose(m);
  } catch (const EigenDecompositionError& e) {
    return e.kind();
  }
  return std::nullopt;
}

// A NaN or an infinity anywhere is refused before LAPACK sees it (an infinity
// used to reach the balancing step, which rejects it as an argument).
TEST(MatrixEigenDecomposition, NonSquareAndNonFiniteMatricesThrow) {
  using Kind = EigenDecompositionError::Kind;
  for (const Matrix<double>& m : {Matrix<double>(2, 3, 1.0), Matrix<double>(0, 1, 1.0)})
    EXPECT_EQ(eigenErrorOf(m), Kind::matrixNotSquare);
  EXPECT_EQ(eigenErrorOf(Matrix<float>(3, 2, 1.0f)), Kind::matrixNotSquare);

  const double inf = INFINITY;
  const std::vector<Matrix<double>> nonFinite{
      {{NAN, 1, 2}, {1, 1, 3}, {2, 5, 1}}, {{inf, inf}, {inf, inf}}, {{0, inf}, {inf, 0}}, {{1, 2}, {3, -inf}}};
  for (const Matrix<double>& m : nonFinite) {
    EXPECT_EQ(eigenErrorOf(m), Kind::matrixNotDecomposable) << m.grid()[0];
    Matrix<float> f(m.rows(), m.columns(), std::vector<float>(m.grid().begin(), m.grid().end()));
    EXPECT_EQ(eigenErrorOf(f), Kind::matrixNotDecomposable) << m.grid()[0];
  }
}

TEST(MatrixAlgebraDeathTest, MismatchedShapesStop) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  using M = Matrix<double>;
  const M wide(2, 3, 1.0), tall(3, 2, 1.0), square(2, 2, 1.0);
  EXPECT_DEATH(add(wide, tall), "");  // both hold 6 elements
  EXPECT_DEATH(sub(wide, tall), "");
  M target = wide;
  EXPECT_DEATH(addInPlace(target, tall), "");
  EXPECT_DEATH(elmul(wide, tall), "");
  EXPECT_DEATH(mul(wide, square), "VectorMath::mul: .*the left matrix's columns equal the right matrix's rows");
  EXPECT_DEATH(inv(wide), "");
  EXPECT_DEATH(div(wide, square), "");
  EXPECT_DEATH(div(square, wide), "");
}

}  // namespace
