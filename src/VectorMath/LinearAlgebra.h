#pragma once

// Matrix algebra: sums, products, scaling, division, inverse, element-wise
// power and exponential, axis sums, transpose, determinant and eigen
// decomposition. Every operation returns a new value and leaves its operands
// alone, except addInPlace and subInPlace (and += and -=), which update the
// left matrix. Mismatched sizes and sizes beyond the 32-bit range of the
// BLAS and LAPACK routines stop the program, naming what should have held.
//
// LAPACK reads column-major storage, so it sees a row-major grid as the
// transpose of the matrix; the inverse of the transpose, read back row by
// row, is the inverse of the matrix. Empty matrices are answered here and
// never reach LAPACK.
//
//   inv(m)               the inverse; an n x n matrix of NaN when m is singular
//   det(m)               the determinant; nothing when m is singular or not square
//   eigenDecompose(m)    eigenvalues and left and right eigenvectors; throws
//                        EigenDecompositionError

#include <cmath>
#include <complex>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <type_traits>
#include <vector>

#include "VectorMath/Arithmetic.h"
#include "VectorMath/Matrix.h"
#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Precision.h"
#include "VectorMath/Vector.h"
#include "platform/accelerate/Accelerate.h"
#include "platform/accelerate/LinearAlgebra.h"
#include "platform/accelerate/VectorFunctions.h"

namespace VectorMath {

// Eigenvalues in LAPACK's order (a complex-conjugate pair with the positive
// imaginary part first); eigenvector element [i][j] is component i of the
// eigenvector of eigenvalue j.
template <Real Scalar>
struct MatrixEigenDecompositionResult {
  std::vector<std::complex<Scalar>> eigenValues;
  std::vector<std::vector<std::complex<Scalar>>> leftEigenVectors;
  std::vector<std::vector<std::complex<Scalar>>> rightEigenVectors;
};

class EigenDecompositionError : public std::exception {
 public:
  enum class Kind { matrixNotSquare, matrixNotDecomposable };
  explicit EigenDecompositionError(Kind kind) : kind_(kind) {}
  Kind kind() const { return kind_; }
  const char* what() const noexcept override {
    return kind_ == Kind::matrixNotSquare ? "matrixNotSquare" : "matrixNotDecomposable";
  }

 private:
  Kind kind_;
};

namespace detail {

template <Real T>
int elementCount32(const Matrix<T>& m) {
  return int32Count(static_cast<std::int64_t>(m.grid().size()));
}

template <Real T>
std::vector<T> combined(const Matrix<T>& lhs, const Matrix<T>& rhs, T alpha) {
  namespace a = platform::accelerate;
  precondition(lhs.rows() == rhs.rows() && lhs.columns() == rhs.columns(),
               "both matrices have the same rows and columns");
  std::vector<T> grid = lhs.grid();
  int n = elementCount32(lhs);
  byPrecision<T>(a::saxpy, a::daxpy)(n, alpha, rhs.grid().data(), 1, grid.data(), 1);
  return grid;
}

}  // namespace detail

// ---- Sums and differences.

template <Real T>
Matrix<T> add(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  return Matrix<T>(lhs.rows(), lhs.columns(), detail::combined(lhs, rhs, T(1)));
}
template <Real T>
Matrix<T> sub(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  return Matrix<T>(lhs.rows(), lhs.columns(), detail::combined(lhs, rhs, T(-1)));
}
template <Real T>
void addInPlace(Matrix<T>& lhs, const Matrix<T>& rhs) {
  lhs = add(lhs, rhs);
}
template <Real T>
void subInPlace(Matrix<T>& lhs, const Matrix<T>& rhs) {
  lhs = sub(lhs, rhs);
}

// ---- Products.

// lhs.rows x rhs.columns; a zero size gives zeros without calling BLAS.
template <Real T>
Matrix<T> mul(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  namespace a = platform::accelerate;
  precondition(lhs.columns() == rhs.rows(), "the left matrix's columns equal the right matrix's rows");
  std::int64_t m = lhs.rows(), k = lhs.columns(), n = rhs.columns();
  std::vector<T> grid(static_cast<std::size_t>(detail::elementCount(m, n)), T(0));
  if (m != 0 && k != 0 && n != 0) {
    int m32 = int32Count(m), n32 = int32Count(n), k32 = int32Count(k);
    byPrecision<T>(a::sgemm, a::dgemm)(a::Order::rowMajor, a::Transpose::noTrans, a::Transpose::noTrans, m32, n32,
                                       k32, T(1), lhs.grid().data(), k32, rhs.grid().data(), n32, T(0), grid.data(),
                                       n32);
  }
  return Matrix<T>(m, n, std::move(grid));
}

template <Real T>
Matrix<T> mul(const Matrix<T>& lhs, std::type_identity_t<T> scalar) {
  namespace a = platform::accelerate;
  std::vector<T> grid = lhs.grid();
  byPrecision<T>(a::sscal, a::dscal)(detail::elementCount32(lhs), scalar, grid.data(), 1);
  return Matrix<T>(lhs.rows(), lhs.columns(), std::move(grid));
}

template <Real T>
Matrix<T> elmul(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  namespace a = platform::accelerate;
  precondition(lhs.rows() == rhs.rows() && lhs.columns() == rhs.columns(),
               "both matrices have the same rows and columns");
  std::vector<T> grid = lhs.grid();
  precondition(grid.size() == rhs.grid().size(), "both grids hold as many elements");
  byPrecision<T>(a::vmul, a::vmulD)(grid.data(), 1, rhs.grid().data(), 1, grid.data(), 1, grid.size());
  return Matrix<T>(lhs.rows(), lhs.columns(), std::move(grid));
}

// Matrix times vector: one component per matrix row; a zero size gives
// zeros without calling BLAS.
template <Real T>
Vector<T> mul(const Matrix<T>& lhs, const Vector<T>& rhs) {
  namespace a = platform::accelerate;
  precondition(lhs.columns() == rhs.dimensions(), "the matrix's columns equal the vector's dimensions");
  if (lhs.rows() == 0 || lhs.columns() == 0) return Vector<T>(lhs.rows(), T(0));
  int rows = int32Count(lhs.rows());
  int columns = int32Count(lhs.columns());
  std::vector<T> result(static_cast<std::size_t>(rows), T(0));
  byPrecision<T>(a::sgemv, a::dgemv)(a::Order::rowMajor, a::Transpose::noTrans, rows, columns, T(1),
                                     lhs.grid().data(), columns, rhs.scalars().data(), 1, T(0), result.data(), 1);
  return Vector<T>(std::move(result));
}

// Scalar times vector: every component times the scalar.
template <Real T>
Vector<T> mul(std::type_identity_t<T> scalar, const Vector<T>& rhs) {
  namespace a = platform::accelerate;
  std::vector<T> result(rhs.scalars().size(), scalar);
  byPrecision<T>(a::vmul, a::vmulD)(result.data(), 1, rhs.scalars().data(), 1, result.data(), 1, result.size());
  return Vector<T>(std::move(result));
}

// ---- Division and inverse.

template <Real T>
Matrix<T> div(const Matrix<T>& lhs, std::type_identity_t<T> scalar) {
  namespace a = platform::accelerate;
  std::vector<T> grid = lhs.grid();
  byPrecision<T>(a::vsdiv, a::vsdivD)(grid.data(), 1, scalar, grid.data(), 1, grid.size());
  return Matrix<T>(lhs.rows(), lhs.columns(), std::move(grid));
}

// The inverse of a square matrix. A singular matrix (LAPACK reports a zero
// pivot) gives the n x n matrix of NaN, never a partial factorisation.
template <Real T>
Matrix<T> inv(const Matrix<T>& matrix) {
  namespace a = platform::accelerate;
  precondition(matrix.rows() == matrix.columns(), "the matrix is square");
  const std::int64_t n = matrix.rows();
  const std::int64_t squared = detail::elementCount(n, n);
  if (squared == 0) return Matrix<T>(0, 0, T(0));
  const int workspace = int32Count(squared);
  const int order = int32Count(n);
  std::vector<int> pivots(static_cast<std::size_t>(n), 0);
  std::vector<T> work(static_cast<std::size_t>(squared), T(0));
  std::vector<T> grid = matrix.grid();
  int status = byPrecision<T>(a::sgetrf, a::dgetrf)(order, order, grid.data(), order, pivots.data());
  if (status == 0)
    status = byPrecision<T>(a::sgetri, a::dgetri)(order, grid.data(), order, pivots.data(), work.data(), workspace);
  if (status != 0) return Matrix<T>(n, n, std::numeric_limits<T>::quiet_NaN());
  return Matrix<T>(n, n, std::move(grid));
}

// lhs times the inverse of rhs.
template <Real T>
Matrix<T> div(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  Matrix<T> inverse = inv(rhs);
  precondition(lhs.columns() == inverse.rows(), "the left matrix's columns equal the right matrix's rows");
  return mul(lhs, inverse);
}

// ---- Element-wise power and exponential.

template <Real T>
Matrix<T> pow(const Matrix<T>& matrix, std::type_identity_t<T> exponent) {
  std::vector<T> grid = matrix.grid();
  std::vector<T> exponents(grid.size(), exponent);
  powInPlace(grid, exponents);
  return Matrix<T>(matrix.rows(), matrix.columns(), std::move(grid));
}

template <Real T>
Matrix<T> exp(const Matrix<T>& matrix) {
  namespace a = platform::accelerate;
  std::vector<T> grid = matrix.grid();
  byPrecision<T>(a::vvexpf, a::vvexp)(grid.data(), grid.data(), detail::elementCount32(matrix));
  return Matrix<T>(matrix.rows(), matrix.columns(), std::move(grid));
}

// ---- Axis sums and transpose.

// column: the 1 x columns matrix of column sums; row: the rows x 1 matrix of
// row sums.
template <Real T>
Matrix<T> sum(const Matrix<T>& matrix, MatrixAxies axis) {
  namespace a = platform::accelerate;
  const auto sve = byPrecision<T>(a::sve, a::sveD);
  const std::int64_t rows = matrix.rows(), columns = matrix.columns();
  const T* grid = matrix.grid().data();
  std::vector<T> sums;
  if (axis == MatrixAxies::column) {
    std::vector<T> column(static_cast<std::size_t>(rows));
    for (std::int64_t j = 0; j < columns; ++j) {
      for (std::int64_t i = 0; i < rows; ++i) column[static_cast<std::size_t>(i)] = grid[i * columns + j];
      T total = 0;
      sve(column.data(), 1, &total, column.size());
      sums.push_back(total);
    }
    return Matrix<T>(1, columns, std::move(sums));
  }
  for (std::int64_t i = 0; i < rows; ++i) {
    T total = 0;
    sve(grid + i * columns, 1, &total, static_cast<std::size_t>(columns));
    sums.push_back(total);
  }
  return Matrix<T>(rows, 1, std::move(sums));
}

template <Real T>
Matrix<T> transpose(const Matrix<T>& matrix) {
  namespace a = platform::accelerate;
  std::vector<T> grid(matrix.grid().size(), T(0));
  byPrecision<T>(a::mtrans, a::mtransD)(matrix.grid().data(), 1, grid.data(), 1,
                                        static_cast<std::size_t>(matrix.columns()),
                                        static_cast<std::size_t>(matrix.rows()));
  return Matrix<T>(matrix.columns(), matrix.rows(), std::move(grid));
}

// ---- Determinant.

// Nothing for a matrix that is not square or is singular; 1 for the 0 x 0
// matrix (the empty product).
template <Real T>
std::optional<T> det(const Matrix<T>& matrix) {
  namespace a = platform::accelerate;
  const int rows = int32Count(matrix.rows());
  const int columns = int32Count(matrix.columns());
  if (rows != columns) return std::nullopt;
  if (rows == 0) return T(1);
  std::vector<int> pivots(static_cast<std::size_t>(rows), 0);
  std::vector<T> grid = matrix.grid();
  int status = byPrecision<T>(a::sgetrf, a::dgetrf)(rows, columns, grid.data(), rows, pivots.data());
  if (status != 0) return std::nullopt;
  // The product of the factor's diagonal, its sign flipped for every row
  // interchange (LAPACK counts pivot rows from 1).
  T d = 1;
  for (int i = 0; i < rows; ++i) {
    T u = grid[static_cast<std::size_t>(i) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(i)];
    if (pivots[static_cast<std::size_t>(i)] == i + 1)
      d = d * u;
    else
      d = u * (-d);
  }
  return d;
}

// ---- Eigen decomposition.

namespace detail {

// Column-major V (element (i, j) at v[i + n j]) into [component][eigenvalue]
// pairs; a conjugate pair of eigenvalues keeps its eigenvector's real and
// imaginary parts in columns j and j + 1.
inline std::vector<std::vector<std::complex<double>>> unpackEigenvectors(const std::vector<double>& v,
                                                                         const std::vector<double>& wi,
                                                                         std::size_t n) {
  std::vector<std::vector<std::complex<double>>> vectors(n, std::vector<std::complex<double>>(n));
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t j = 0;
    while (j < n) {
      if (wi[j] == 0) {
        vectors[i][j] = {v[i + n * j], 0};
        j += 1;
      } else {
        // Guarded: a conjugate pair always fills two columns, but the last
        // column never reads beyond V.
        double imaginary = j + 1 < n ? v[i + n * (j + 1)] : 0;
        vectors[i][j] = {v[i + n * j], imaginary};
        if (j + 1 < n) vectors[i][j + 1] = {v[i + n * j], -imaginary};
        j += 2;
      }
    }
  }
  return vectors;
}

}  // namespace detail

inline MatrixEigenDecompositionResult<double> eigenDecompose(const Matrix<double>& matrix) {
  namespace a = platform::accelerate;
  using Error = EigenDecompositionError;
  if (matrix.rows() != matrix.columns()) throw Error(Error::Kind::matrixNotSquare);
  const std::int64_t n = matrix.rows();
  const std::int64_t squared = detail::elementCount(n, n);
  const int order = int32Count(n);
  int32Count(squared);
  if (n == 0) return {};
  // LAPACK takes a NaN or an infinity in the matrix for an illegal argument.
  for (double x : matrix.grid())
    if (!std::isfinite(x)) throw Error(Error::Kind::matrixNotDecomposable);

  std::vector<double> work1(1, 0.0);
  std::vector<double> columnMajor = transpose(matrix).grid();  // LAPACK's view of the matrix itself
  std::vector<double> wr(static_cast<std::size_t>(n)), wi(static_cast<std::size_t>(n));
  std::vector<double> vl(static_cast<std::size_t>(squared)), vr(static_cast<std::size_t>(squared));
  int status = a::dgeev('V', 'V', order, columnMajor.data(), order, wr.data(), wi.data(), vl.data(), order,
                        vr.data(), order, work1.data(), -1);
  if (status != 0) throw Error(Error::Kind::matrixNotDecomposable);
  const double best = work1[0];
  precondition(std::isfinite(best) && best >= 0 && best < 0x1p63, "LAPACK's work size is a finite count");
  const int lwork = int32Count(static_cast<std::int64_t>(best));
  std::vector<double> work(static_cast<std::size_t>(lwork), 0.0);
  status = a::dgeev('V', 'V', order, columnMajor.data(), order, wr.data(), wi.data(), vl.data(), order, vr.data(),
                    order, work.data(), lwork);
  if (status != 0) throw Error(Error::Kind::matrixNotDecomposable);

  MatrixEigenDecompositionResult<double> result;
  for (std::size_t j = 0; j < wr.size(); ++j) result.eigenValues.emplace_back(wr[j], wi[j]);
  result.leftEigenVectors = detail::unpackEigenvectors(vl, wi, static_cast<std::size_t>(n));
  result.rightEigenVectors = detail::unpackEigenvectors(vr, wi, static_cast<std::size_t>(n));
  return result;
}

// Single precision: decomposed in double precision, every part then rounded
// to the nearest float.
inline MatrixEigenDecompositionResult<float> eigenDecompose(const Matrix<float>& matrix) {
  Matrix<double> wide(matrix.rows(), matrix.columns(),
                      std::vector<double>(matrix.grid().begin(), matrix.grid().end()));
  MatrixEigenDecompositionResult<double> d = eigenDecompose(wide);
  auto narrow = [](std::complex<double> z) {
    return std::complex<float>(static_cast<float>(z.real()), static_cast<float>(z.imag()));
  };
  auto narrowVectors = [&](const std::vector<std::vector<std::complex<double>>>& vectors) {
    std::vector<std::vector<std::complex<float>>> out;
    for (const auto& v : vectors) {
      out.emplace_back();
      for (auto z : v) out.back().push_back(narrow(z));
    }
    return out;
  };
  MatrixEigenDecompositionResult<float> result;
  for (auto z : d.eigenValues) result.eigenValues.push_back(narrow(z));
  result.leftEigenVectors = narrowVectors(d.leftEigenVectors);
  result.rightEigenVectors = narrowVectors(d.rightEigenVectors);
  return result;
}

// ---- Operators.

template <Real T>
Matrix<T> operator+(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  return add(lhs, rhs);
}
template <Real T>
Matrix<T> operator-(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  return sub(lhs, rhs);
}
template <Real T>
Matrix<T>& operator+=(Matrix<T>& lhs, const Matrix<T>& rhs) {
  addInPlace(lhs, rhs);
  return lhs;
}
template <Real T>
Matrix<T>& operator-=(Matrix<T>& lhs, const Matrix<T>& rhs) {
  subInPlace(lhs, rhs);
  return lhs;
}
template <Real T>
Matrix<T> operator*(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  return mul(lhs, rhs);
}
template <Real T>
Matrix<T> operator*(const Matrix<T>& lhs, std::type_identity_t<T> scalar) {
  return mul(lhs, scalar);
}
template <Real T>
Vector<T> operator*(const Matrix<T>& lhs, const Vector<T>& rhs) {
  return mul(lhs, rhs);
}
template <Real T>
Vector<T> operator*(std::type_identity_t<T> scalar, const Vector<T>& rhs) {
  return mul(scalar, rhs);
}
template <Real T>
Matrix<T> operator/(const Matrix<T>& lhs, std::type_identity_t<T> scalar) {
  return div(lhs, scalar);
}
template <Real T>
Matrix<T> operator/(const Matrix<T>& lhs, const Matrix<T>& rhs) {
  return div(lhs, rhs);
}

}  // namespace VectorMath
