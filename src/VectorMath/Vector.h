#pragma once

// Vector: a mathematical vector of float or double with a fixed number of
// dimensions. Its scalars always number exactly `dimensions`; replacing
// them with another count, an index outside 0 ..< dimensions and operations
// on vectors of different dimensions stop the program, naming what should
// have held.
//
//   Vector<double> v{1, 2.5};                       // the listed values
//   Vector<double> zeros(3, 0.0);                   // 3 copies of 0
//   Vector<double>::generate(4, [](auto i) { return i * 0.5; });
//   Vector<double>::randomNormal(8, 0.0, 1.0, generator);
//   v + w, v - w, v * 2.0, v / 2.0, v + 1.0, v - 1.0
//   v * w (component-wise), v / w (component-wise), v | w (dot product)
//   v * m (times a Matrix: one component per matrix column)
//   dist(v, w), distSq(v, w) (Euclidean distance and its square)
//
// Copies are independent: writing a component of one leaves the other alone.

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <ranges>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "VectorMath/Arithmetic.h"
#include "VectorMath/Matrix.h"
#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Precision.h"
#include "VectorMath/Random.h"
#include "VectorMath/ScalarText.h"
#include "platform/accelerate/Accelerate.h"
#include "platform/accelerate/LinearAlgebra.h"

namespace VectorMath {

template <Real Scalar>
class Vector {
 public:
  // `dimensions` copies of value.
  Vector(std::int64_t dimensions, Scalar value) : dimensions_(dimensions) {
    precondition(dimensions >= 0, "the dimensions are not negative");
    scalars_.assign(static_cast<std::size_t>(dimensions), value);
  }

  // The array itself (moved in, not copied).
  explicit Vector(std::vector<Scalar> scalars)
      : dimensions_(static_cast<std::int64_t>(scalars.size())), scalars_(std::move(scalars)) {}

  // Any other sequence of scalars, copied in order.
  template <std::ranges::input_range Sequence>
    requires std::same_as<std::remove_cv_t<std::ranges::range_value_t<Sequence>>, Scalar> &&
             (!std::same_as<std::remove_cvref_t<Sequence>, std::vector<Scalar>>) &&
             (!std::same_as<std::remove_cvref_t<Sequence>, Vector>)
  explicit Vector(const Sequence& sequence) : Vector(std::vector<Scalar>(std::ranges::begin(sequence),
                                                                         std::ranges::end(sequence))) {}

  Vector(std::initializer_list<Scalar> values) : Vector(std::vector<Scalar>(values)) {}

  // f(0), f(1), ..., f(dimensions - 1), called in that order; an exception
  // from f ends the construction and passes on.
  template <class F>
  static Vector generate(std::int64_t dimensions, F&& f) {
    precondition(dimensions >= 0, "the dimensions are not negative");
    std::vector<Scalar> scalars;
    scalars.reserve(static_cast<std::size_t>(dimensions));
    for (std::int64_t i = 0; i < dimensions; ++i) scalars.push_back(static_cast<Scalar>(f(i)));
    return Vector(std::move(scalars));
  }

  // Uniform draws over [lower, upper].
  static Vector randomUniform(std::int64_t dimensions, Scalar lower, Scalar upper) {
    return Vector(VectorMath::randomUniform(dimensions, lower, upper));
  }
  template <RandomNumberGenerator G>
  static Vector randomUniform(std::int64_t dimensions, Scalar lower, Scalar upper, G& generator) {
    return Vector(VectorMath::randomUniform(dimensions, lower, upper, generator));
  }

  // Normal draws with the given mean and standard deviation.
  static Vector randomNormal(std::int64_t dimensions, Scalar mean, Scalar deviation) {
    return Vector(VectorMath::randomNormal(dimensions, mean, deviation));
  }
  template <RandomNumberGenerator G>
  static Vector randomNormal(std::int64_t dimensions, Scalar mean, Scalar deviation, G& generator) {
    return Vector(VectorMath::randomNormal(dimensions, mean, deviation, generator));
  }

  std::int64_t dimensions() const { return dimensions_; }
  const std::vector<Scalar>& scalars() const& { return scalars_; }
  std::vector<Scalar> scalars() && { return std::move(scalars_); }
  // The replacement must hold exactly `dimensions` scalars.
  void setScalars(std::vector<Scalar> scalars) {
    precondition(static_cast<std::int64_t>(scalars.size()) == dimensions_,
                 "the new scalars hold one value per dimension");
    scalars_ = std::move(scalars);
  }

  // ---- Collection of the components, indices 0 ..< dimensions.
  std::int64_t size() const { return dimensions_; }
  auto begin() const { return scalars_.cbegin(); }
  auto end() const { return scalars_.cend(); }
  Scalar& operator[](std::int64_t i) {
    precondition(i >= 0 && i < dimensions_, "the index lies within the vector's dimensions");
    return scalars_[static_cast<std::size_t>(i)];
  }
  Scalar operator[](std::int64_t i) const {
    precondition(i >= 0 && i < dimensions_, "the index lies within the vector's dimensions");
    return scalars_[static_cast<std::size_t>(i)];
  }

  // The components' texts joined by tabs ("1.0\t2.5"); empty for no components.
  std::string description() const {
    std::string text;
    for (std::size_t i = 0; i < scalars_.size(); ++i) {
      if (i > 0) text += '\t';
      text += scalarText(scalars_[i]);
    }
    return text;
  }
  friend std::ostream& operator<<(std::ostream& out, const Vector& v) { return out << v.description(); }

  // Equal when the scalars are equal.
  bool operator==(const Vector& other) const { return scalars_ == other.scalars_; }

 private:
  std::int64_t dimensions_;
  std::vector<Scalar> scalars_;
};

namespace detail {

template <Real T>
void requireSameDimensions(const Vector<T>& lhs, const Vector<T>& rhs) {
  precondition(lhs.dimensions() == rhs.dimensions(), "both vectors have the same dimensions");
  precondition(lhs.scalars().size() == rhs.scalars().size(), "both vectors hold as many scalars");
}

// lhs + alpha * rhs by the BLAS axpy step.
template <Real T>
Vector<T> vectorAxpy(const Vector<T>& lhs, const Vector<T>& rhs, T alpha) {
  namespace a = platform::accelerate;
  requireSameDimensions(lhs, rhs);
  std::vector<T> result = lhs.scalars();
  int n = int32Count(static_cast<std::int64_t>(result.size()));
  byPrecision<T>(a::saxpy, a::daxpy)(n, alpha, rhs.scalars().data(), 1, result.data(), 1);
  return Vector<T>(std::move(result));
}

template <Real T>
using ScalarStep = void (*)(const T*, std::ptrdiff_t, T, T*, std::ptrdiff_t, std::size_t);

// The scalar applied to every component by a vDSP routine, in place on a copy.
template <Real T>
Vector<T> vectorWithScalar(const Vector<T>& lhs, T s, ScalarStep<T> routine) {
  std::vector<T> result = lhs.scalars();
  routine(result.data(), 1, s, result.data(), 1, result.size());
  return Vector<T>(std::move(result));
}

}  // namespace detail

// ---- Vector with vector.

template <Real T>
Vector<T> add(const Vector<T>& lhs, const Vector<T>& rhs) {
  return detail::vectorAxpy(lhs, rhs, T(1));
}
template <Real T>
Vector<T> sub(const Vector<T>& lhs, const Vector<T>& rhs) {
  return detail::vectorAxpy(lhs, rhs, T(-1));
}

// Component-wise product and quotient lhs / rhs.
template <Real T>
Vector<T> elmul(const Vector<T>& lhs, const Vector<T>& rhs) {
  namespace a = platform::accelerate;
  detail::requireSameDimensions(lhs, rhs);
  std::vector<T> result = lhs.scalars();
  byPrecision<T>(a::vmul, a::vmulD)(result.data(), 1, rhs.scalars().data(), 1, result.data(), 1, result.size());
  return Vector<T>(std::move(result));
}
template <Real T>
Vector<T> eldiv(const Vector<T>& lhs, const Vector<T>& rhs) {
  namespace a = platform::accelerate;
  detail::requireSameDimensions(lhs, rhs);
  std::vector<T> result = lhs.scalars();
  // The routine takes the divisor first.
  byPrecision<T>(a::vdiv, a::vdivD)(rhs.scalars().data(), 1, result.data(), 1, result.data(), 1, result.size());
  return Vector<T>(std::move(result));
}

template <Real T>
T dot(const Vector<T>& lhs, const Vector<T>& rhs) {
  namespace a = platform::accelerate;
  detail::requireSameDimensions(lhs, rhs);
  T result = 0;
  byPrecision<T>(a::dotpr, a::dotprD)(lhs.scalars().data(), 1, rhs.scalars().data(), 1, &result,
                                      lhs.scalars().size());
  return result;
}

// ---- Vector with scalar.

template <Real T>
Vector<T> add(const Vector<T>& lhs, std::type_identity_t<T> s) {
  return detail::vectorWithScalar(lhs, s, byPrecision<T>(platform::accelerate::vsadd, platform::accelerate::vsaddD));
}
template <Real T>
Vector<T> sub(const Vector<T>& lhs, std::type_identity_t<T> s) {
  return detail::vectorWithScalar(lhs, T(-s), byPrecision<T>(platform::accelerate::vsadd, platform::accelerate::vsaddD));
}
template <Real T>
Vector<T> mul(const Vector<T>& lhs, std::type_identity_t<T> s) {
  return detail::vectorWithScalar(lhs, s, byPrecision<T>(platform::accelerate::vsmul, platform::accelerate::vsmulD));
}
template <Real T>
Vector<T> div(const Vector<T>& lhs, std::type_identity_t<T> s) {
  return detail::vectorWithScalar(lhs, s, byPrecision<T>(platform::accelerate::vsdiv, platform::accelerate::vsdivD));
}

// ---- In place: the left vector takes the result.

template <Real T>
void addInPlace(Vector<T>& lhs, const Vector<T>& rhs) {
  lhs.setScalars(add(lhs, rhs).scalars());
}
template <Real T>
void subInPlace(Vector<T>& lhs, const Vector<T>& rhs) {
  lhs.setScalars(sub(lhs, rhs).scalars());
}
template <Real T>
void elmulInPlace(Vector<T>& lhs, const Vector<T>& rhs) {
  lhs.setScalars(elmul(lhs, rhs).scalars());
}
template <Real T>
void eldivInPlace(Vector<T>& lhs, const Vector<T>& rhs) {
  lhs.setScalars(eldiv(lhs, rhs).scalars());
}
template <Real T>
void addInPlace(Vector<T>& lhs, std::type_identity_t<T> s) {
  lhs.setScalars(add(lhs, s).scalars());
}
template <Real T>
void subInPlace(Vector<T>& lhs, std::type_identity_t<T> s) {
  lhs.setScalars(sub(lhs, s).scalars());
}
template <Real T>
void mulInPlace(Vector<T>& lhs, std::type_identity_t<T> s) {
  lhs.setScalars(mul(lhs, s).scalars());
}
template <Real T>
void divInPlace(Vector<T>& lhs, std::type_identity_t<T> s) {
  lhs.setScalars(div(lhs, s).scalars());
}

// ---- Vector times matrix: component j = sum over i of v[i] * m(i, j).

template <Real T>
Vector<T> mul(const Vector<T>& lhs, const Matrix<T>& rhs) {
  namespace a = platform::accelerate;
  precondition(lhs.dimensions() == rhs.rows(), "the vector's dimensions equal the matrix's rows");
  if (rhs.rows() == 0 || rhs.columns() == 0) return Vector<T>(rhs.columns(), T(0));
  int rows = int32Count(rhs.rows());
  int columns = int32Count(rhs.columns());
  std::vector<T> result(static_cast<std::size_t>(columns), T(0));
  byPrecision<T>(a::sgemv, a::dgemv)(a::Order::rowMajor, a::Transpose::trans, rows, columns, T(1),
                                     rhs.grid().data(), columns, lhs.scalars().data(), 1, T(0), result.data(), 1);
  return Vector<T>(std::move(result));
}

// ---- Element-wise power and exponential.

template <Real T>
Vector<T> pow(const Vector<T>& lhs, std::type_identity_t<T> exponent) {
  std::vector<T> result = lhs.scalars();
  std::vector<T> exponents(static_cast<std::size_t>(lhs.dimensions()), exponent);
  powInPlace(result, exponents);
  return Vector<T>(std::move(result));
}

template <Real T>
Vector<T> exp(const Vector<T>& lhs) {
  namespace a = platform::accelerate;
  std::vector<T> result = lhs.scalars();
  int n = int32Count(static_cast<std::int64_t>(result.size()));
  byPrecision<T>(a::vvexpf, a::vvexp)(result.data(), result.data(), n);
  return Vector<T>(std::move(result));
}

// ---- Distances.

// Squared Euclidean distance: the sum of (lhs[i] - rhs[i])^2.
template <Real T>
T distSq(const Vector<T>& lhs, const Vector<T>& rhs) {
  precondition(lhs.dimensions() == rhs.dimensions(), "both vectors have the same dimensions");
  return VectorMath::distSq(lhs.scalars(), rhs.scalars());
}

// Euclidean distance.
template <Real T>
T dist(const Vector<T>& lhs, const Vector<T>& rhs) {
  return std::sqrt(distSq(lhs, rhs));
}

// ---- Operators.

template <Real T>
Vector<T> operator+(const Vector<T>& lhs, const Vector<T>& rhs) {
  return add(lhs, rhs);
}
template <Real T>
Vector<T> operator-(const Vector<T>& lhs, const Vector<T>& rhs) {
  return sub(lhs, rhs);
}
template <Real T>
Vector<T> operator*(const Vector<T>& lhs, const Vector<T>& rhs) {
  return elmul(lhs, rhs);
}
template <Real T>
Vector<T> operator/(const Vector<T>& lhs, const Vector<T>& rhs) {
  return eldiv(lhs, rhs);
}
template <Real T>
T operator|(const Vector<T>& lhs, const Vector<T>& rhs) {
  return dot(lhs, rhs);
}
template <Real T>
Vector<T> operator+(const Vector<T>& lhs, std::type_identity_t<T> s) {
  return add(lhs, s);
}
template <Real T>
Vector<T> operator-(const Vector<T>& lhs, std::type_identity_t<T> s) {
  return sub(lhs, s);
}
template <Real T>
Vector<T> operator*(const Vector<T>& lhs, std::type_identity_t<T> s) {
  return mul(lhs, s);
}
template <Real T>
Vector<T> operator/(const Vector<T>& lhs, std::type_identity_t<T> s) {
  return div(lhs, s);
}
template <Real T>
Vector<T> operator*(const Vector<T>& lhs, const Matrix<T>& rhs) {
  return mul(lhs, rhs);
}
template <Real T>
Vector<T>& operator+=(Vector<T>& lhs, const Vector<T>& rhs) {
  addInPlace(lhs, rhs);
  return lhs;
}
template <Real T>
Vector<T>& operator-=(Vector<T>& lhs, const Vector<T>& rhs) {
  subInPlace(lhs, rhs);
  return lhs;
}
template <Real T>
Vector<T>& operator*=(Vector<T>& lhs, const Vector<T>& rhs) {
  elmulInPlace(lhs, rhs);
  return lhs;
}
template <Real T>
Vector<T>& operator/=(Vector<T>& lhs, const Vector<T>& rhs) {
  eldivInPlace(lhs, rhs);
  return lhs;
}
template <Real T>
Vector<T>& operator+=(Vector<T>& lhs, std::type_identity_t<T> s) {
  addInPlace(lhs, s);
  return lhs;
}
template <Real T>
Vector<T>& operator-=(Vector<T>& lhs, std::type_identity_t<T> s) {
  subInPlace(lhs, s);
  return lhs;
}
template <Real T>
Vector<T>& operator*=(Vector<T>& lhs, std::type_identity_t<T> s) {
  mulInPlace(lhs, s);
  return lhs;
}
template <Real T>
Vector<T>& operator/=(Vector<T>& lhs, std::type_identity_t<T> s) {
  divInPlace(lhs, s);
  return lhs;
}

}  // namespace VectorMath
