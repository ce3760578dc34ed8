#pragma once

// Matrix: a dense block of rows x columns scalars (float or double) kept row
// by row in one contiguous grid, element (r, c) at grid[r * columns + c], so
// that row-major BLAS calls take the grid with leading dimension `columns`
// and column-major LAPACK sees the same storage as the transpose.
//
// The grid always holds exactly rows x columns values: every constructor
// checks it, and row and column writes must have exactly the length of a row
// or a column. Negative sizes, size products that overflow and out-of-range
// indexes stop the program, naming what should have held.
//
//   Matrix<double> m{{1, 2}, {3, 4}};
//   m(1, 0) = 5;                          // element access
//   m.row(0);                             // {1, 2}
//   for (std::span<const double> r : m)   // the rows, in order
//   Matrix<double>::identity(3);
//   Matrix<double>::random(2, 2, 0.0, 1.0, generator);

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <ranges>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "VectorMath/MemoryAccess.h"
#include "VectorMath/Random.h"
#include "VectorMath/ScalarText.h"

namespace VectorMath {

// The direction of an axis sum.
enum class MatrixAxies { row, column };

namespace detail {

// rows x columns; a negative size or an overflow stops.
inline std::int64_t elementCount(std::int64_t rows, std::int64_t columns) {
  precondition(rows >= 0 && columns >= 0, "rows and columns are not negative");
  std::int64_t count = 0;
  precondition(!__builtin_mul_overflow(rows, columns, &count), "rows x columns fits a signed 64-bit integer");
  return count;
}

}  // namespace detail

template <Real Scalar>
class Matrix {
 public:
  enum class Shape { wide, tall, square };

  // ---- Construction.

  // rows x columns copies of value.
  Matrix(std::int64_t rows, std::int64_t columns, Scalar value)
      : rows_(rows), columns_(columns), grid_(static_cast<std::size_t>(detail::elementCount(rows, columns)), value) {}

  // The three fields as given; the grid must hold rows x columns values.
  Matrix(std::int64_t rows, std::int64_t columns, std::vector<Scalar> grid)
      : rows_(rows), columns_(columns), grid_(std::move(grid)) {
    precondition(detail::elementCount(rows, columns) == static_cast<std::int64_t>(grid_.size()),
                 "the grid holds rows x columns elements");
  }

  // From rows: at least one, all as long as the first.
  Matrix(std::initializer_list<std::initializer_list<Scalar>> rows) : Matrix(fromRows(rows)) {}

  template <std::ranges::input_range Rows>
    requires std::ranges::sized_range<std::ranges::range_value_t<Rows>>
  static Matrix fromRows(const Rows& rows) {
    auto first = std::ranges::begin(rows);
    precondition(first != std::ranges::end(rows), "there is at least one row");
    auto columns = static_cast<std::int64_t>(std::ranges::size(*first));
    auto count = static_cast<std::int64_t>(std::ranges::distance(rows));
    std::vector<Scalar> grid(static_cast<std::size_t>(detail::elementCount(count, columns)), Scalar(0));
    std::int64_t i = 0;
    for (const auto& row : rows) {
      precondition(static_cast<std::int64_t>(std::ranges::size(row)) == columns,
                   "every row holds as many values as the first");
      std::ranges::copy(row, grid.begin() + i * columns);
      ++i;
    }
    return Matrix(count, columns, std::move(grid));
  }

  // 1 x n and n x 1 matrices over the given scalars.
  static Matrix singleRow(std::vector<Scalar> scalars) {
    auto n = static_cast<std::int64_t>(scalars.size());
    return Matrix(1, n, std::move(scalars));
  }
  static Matrix singleColumn(std::vector<Scalar> scalars) {
    auto n = static_cast<std::int64_t>(scalars.size());
    return Matrix(n, 1, std::move(scalars));
  }

  // f(row, column) for each position in row order: (0, 0), (0, 1), ...,
  // (1, 0), ... An exception from f ends the construction and passes on.
  template <class F>
  static Matrix generate(std::int64_t rows, std::int64_t columns, F&& f) {
    std::vector<Scalar> grid;
    grid.reserve(static_cast<std::size_t>(detail::elementCount(rows, columns)));
    for (std::int64_t r = 0; r < rows; ++r)
      for (std::int64_t c = 0; c < columns; ++c) grid.push_back(static_cast<Scalar>(f(r, c)));
    return Matrix(rows, columns, std::move(grid));
  }

  static Matrix identity(std::int64_t size) { return diagonal(size, size, Scalar(1)); }
  static Matrix identity(std::int64_t rows, std::int64_t columns) { return diagonal(rows, columns, Scalar(1)); }

  // value at (i, i) for i < min(rows, columns), 0 elsewhere.
  static Matrix diagonal(std::int64_t rows, std::int64_t columns, Scalar value) {
    detail::elementCount(rows, columns);
    return diagonal(rows, columns, std::vector<Scalar>(static_cast<std::size_t>(std::min(rows, columns)), value));
  }

  // scalars[i] at (i, i); there must be exactly min(rows, columns) of them.
  template <RealCollection C>
    requires std::same_as<ElementOf<C>, Scalar>
  static Matrix diagonal(std::int64_t rows, std::int64_t columns, const C& scalars) {
    Matrix m(rows, columns, Scalar(0));
    precondition(static_cast<std::int64_t>(std::ranges::size(scalars)) == std::min(rows, columns),
                 "the diagonal holds min(rows, columns) values");
    std::int64_t i = 0;
    for (Scalar s : scalars) {
      m.grid_[static_cast<std::size_t>(i * columns + i)] = s;
      ++i;
    }
    return m;
  }

  // Independent uniform draws over [lower, upper], in grid order.
  static Matrix random(std::int64_t rows, std::int64_t columns, Scalar lower, Scalar upper) {
    std::int64_t count = detail::elementCount(rows, columns);
    return Matrix(rows, columns, randomUniformArray(0, count, lower, upper));
  }
  template <RandomNumberGenerator G>
  static Matrix random(std::int64_t rows, std::int64_t columns, Scalar lower, Scalar upper, G& generator) {
    std::int64_t count = detail::elementCount(rows, columns);
    return Matrix(rows, columns, randomUniform(count, lower, upper, generator));
  }

  // Normal draws (the normal random array of rows x columns values).
  static Matrix randomNormal(std::int64_t rows, std::int64_t columns, Scalar mean, Scalar deviation) {
    std::int64_t count = detail::elementCount(rows, columns);
    return Matrix(rows, columns, VectorMath::randomNormal(count, mean, deviation));
  }
  template <RandomNumberGenerator G>
  static Matrix randomNormal(std::int64_t rows, std::int64_t columns, Scalar mean, Scalar deviation, G& generator) {
    std::int64_t count = detail::elementCount(rows, columns);
    return Matrix(rows, columns, VectorMath::randomNormal(count, mean, deviation, generator));
  }

  // ---- Fields.

  std::int64_t rows() const { return rows_; }
  std::int64_t columns() const { return columns_; }
  const std::vector<Scalar>& grid() const& { return grid_; }
  // A temporary matrix hands its grid over, so that `for (x : f().grid())`
  // never walks freed storage.
  std::vector<Scalar> grid() && { return std::move(grid_); }

  Shape shape() const { return rows_ < columns_ ? Shape::wide : rows_ > columns_ ? Shape::tall : Shape::square; }

  // ---- Element, row and column access.

  // grid[row * columns + column]: only the flat index is checked, so
  // (0, columns) names (1, 0) in a matrix of two rows or more.
  Scalar& operator()(std::int64_t row, std::int64_t column) { return grid_[flatIndex(row, column)]; }
  Scalar operator()(std::int64_t row, std::int64_t column) const { return grid_[flatIndex(row, column)]; }

  std::vector<Scalar> row(std::int64_t r) const {
    std::size_t start = rowStart(r);
    return std::vector<Scalar>(grid_.begin() + static_cast<std::ptrdiff_t>(start),
                               grid_.begin() + static_cast<std::ptrdiff_t>(start) + columns_);
  }
  // The values must be exactly one row long.
  void setRow(std::int64_t r, const std::vector<Scalar>& values) {
    precondition(static_cast<std::int64_t>(values.size()) == columns_, "the new row holds one value per column");
    std::ranges::copy(values, grid_.begin() + static_cast<std::ptrdiff_t>(rowStart(r)));
  }

  std::vector<Scalar> column(std::int64_t c) const {
    std::vector<Scalar> values;
    values.reserve(static_cast<std::size_t>(rows_));
    for (std::int64_t r = 0; r < rows_; ++r) values.push_back(grid_[flatIndex(r, c)]);
    return values;
  }
  // The values must be exactly one column long.
  void setColumn(std::int64_t c, const std::vector<Scalar>& values) {
    precondition(static_cast<std::int64_t>(values.size()) == rows_, "the new column holds one value per row");
    for (std::int64_t r = 0; r < rows_; ++r) flatIndex(r, c);  // every target checked before any write
    for (std::int64_t r = 0; r < rows_; ++r) grid_[flatIndex(r, c)] = values[static_cast<std::size_t>(r)];
  }

  // ---- The rows as a collection: count rows, element i a read-only view of
  // row i. Iteration walks the grid a row at a time and ends when it reaches
  // rows x columns elements, so a matrix without columns yields no rows.

  class RowIterator {
   public:
    using value_type = std::span<const Scalar>;
    using difference_type = std::ptrdiff_t;

    RowIterator() = default;
    RowIterator(const Matrix* matrix, std::int64_t offset) : matrix_(matrix), offset_(offset) {}
    value_type operator*() const {
      return value_type(matrix_->grid_.data() + offset_, static_cast<std::size_t>(matrix_->columns_));
    }
    RowIterator& operator++() {
      precondition(!__builtin_add_overflow(offset_, matrix_->columns_, &offset_),
                   "the next row's offset fits a signed 64-bit integer");
      return *this;
    }
    RowIterator operator++(int) {
      RowIterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const RowIterator& other) const { return offset_ == other.offset_; }

   private:
    const Matrix* matrix_ = nullptr;
    std::int64_t offset_ = 0;
  };

  std::int64_t size() const { return rows_; }
  RowIterator begin() const { return RowIterator(this, 0); }
  RowIterator end() const { return RowIterator(this, static_cast<std::int64_t>(grid_.size())); }
  std::span<const Scalar> operator[](std::int64_t i) const {
    precondition(i >= 0 && i < rows_, "the row index lies within the matrix");
    return std::span<const Scalar>(grid_.data() + i * columns_, static_cast<std::size_t>(columns_));
  }

  // ---- Text.

  // One line per row: a left piece, the elements joined by tabs, a right
  // piece and a line feed. A single row is wrapped in "(\t" ... "\t)";
  // several rows draw one tall parenthesis out of the hook and extension
  // glyphs (the middle rows close with U+23A5). No rows: the empty text.
  std::string description() const {
    std::string text;
    for (std::int64_t r = 0; r < rows_; ++r) {
      const char* left = "\u239C\t";
      const char* right = "\t\u23A5";
      if (rows_ == 1) {
        left = "(\t";
        right = "\t)";
      } else if (r == 0) {
        left = "\u239B\t";
        right = "\t\u239E";
      } else if (r == rows_ - 1) {
        left = "\u239D\t";
        right = "\t\u23A0";
      }
      text += left;
      for (std::int64_t c = 0; c < columns_; ++c) {
        if (c > 0) text += '\t';
        text += scalarText(grid_[static_cast<std::size_t>(r * columns_ + c)]);
      }
      text += right;
      text += '\n';
    }
    return text;
  }

  friend std::ostream& operator<<(std::ostream& out, const Matrix& m) { return out << m.description(); }

  bool operator==(const Matrix&) const = default;

 private:
  std::size_t flatIndex(std::int64_t row, std::int64_t column) const {
    std::int64_t index = 0;
    precondition(!__builtin_mul_overflow(row, columns_, &index), "the element's offset fits a signed 64-bit integer");
    precondition(!__builtin_add_overflow(index, column, &index), "the element's offset fits a signed 64-bit integer");
    precondition(index >= 0 && index < static_cast<std::int64_t>(grid_.size()),
                 "the row and column lie within the matrix");
    return static_cast<std::size_t>(index);
  }

  // First grid position of row r; the whole row must lie inside the grid.
  std::size_t rowStart(std::int64_t r) const {
    std::int64_t start = 0, end = 0;
    precondition(!__builtin_mul_overflow(r, columns_, &start), "the row's offset fits a signed 64-bit integer");
    precondition(!__builtin_add_overflow(start, columns_, &end), "the row's end fits a signed 64-bit integer");
    precondition(start >= 0 && end <= static_cast<std::int64_t>(grid_.size()), "the row lies within the grid");
    return static_cast<std::size_t>(start);
  }

  std::int64_t rows_;
  std::int64_t columns_;
  std::vector<Scalar> grid_;
};

}  // namespace VectorMath
