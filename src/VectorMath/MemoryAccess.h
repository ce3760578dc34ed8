#pragma once

// The memory frame of VectorMath (see VectorMath.h for how callers pass
// collections). A collection of contiguous storage (vector, array, span; the
// span plays the array slice and lends from its own first element) lends a
// view (pointer, stride, count) to a body through withUnsafeMemory /
// withUnsafeMutableMemory; the family workers at the end of this file hand a
// view to one routine of platform::accelerate. Read-only operands are taken
// as `const C&`, in-place targets as `C&&` with writable elements. A broken
// precondition stops the program with a line that names the operation that
// checked it and what should have held; storage without an address stops it
// with "Array is missing its pointer" or "ArraySlice is missing its pointer".

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <ranges>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <version>
#include <vector>

#if __has_include(<source_location>)
#include <source_location>
#endif

#include "platform/Fatal.h"

namespace VectorMath {

namespace detail {

#if defined(__cpp_lib_source_location)
using SourceLocation = std::source_location;
#else
// libstdc++ defines std::source_location only for compilers with
// __builtin_source_location (not clang 14). The older builtins give the
// caller's file and line, but the function's bare name ("fromRows"): every
// check is made inside VectorMath, so the name is put in it (a member
// function is named without its class), and a check made inside a lambda
// ("operator()") names the module alone.
class SourceLocation {
 public:
  static constexpr SourceLocation current(const char* file = __builtin_FILE(), unsigned line = __builtin_LINE(),
                                          const char* function = __builtin_FUNCTION()) noexcept {
    return SourceLocation(file, line, function);
  }
  constexpr const char* file_name() const noexcept { return file_; }
  constexpr unsigned line() const noexcept { return line_; }
  std::string function_name() const {
    return std::string_view(function_) == "operator()" ? "VectorMath" : std::string("VectorMath::") + function_;
  }

 private:
  constexpr SourceLocation(const char* file, unsigned line, const char* function)
      : file_(file), line_(line), function_(function) {}
  const char* file_;
  unsigned line_;
  const char* function_;
};
#endif

// "VectorMath::dot: precondition failed: both collections hold as many
// elements (Arithmetic.h:361)": the operation is the name of the function
// that checked, without its return type, template arguments, parameters or
// the lambdas inside it.
[[noreturn]] inline void preconditionFailed(std::string_view holds, const SourceLocation& where) {
  const auto functionName = where.function_name();
  std::string_view function = functionName;
  function = function.substr(0, function.find('('));
  int depth = 0;
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < function.size(); ++i) {
    if (function[i] == '<') ++depth;
    if (function[i] == '>') --depth;
    if (function[i] == ' ' && depth == 0) nameStart = i + 1;
  }
  function = function.substr(nameStart);
  function = function.substr(0, function.find('<'));
  std::string_view file = where.file_name();
  if (const auto slash = file.rfind('/'); slash != std::string_view::npos) file.remove_prefix(slash + 1);
  platform::fatalError(std::string(function) + ": precondition failed: " + std::string(holds) + " (" +
                       std::string(file) + ":" + std::to_string(where.line()) + ")");
}

}  // namespace detail

// Stops the program when a caller broke a precondition, naming the
// operation that checked it and `holds`, what should have held. Every stop
// of the module goes through platform::fatalError, the one place to break.
inline void precondition(bool holds, std::string_view whatHolds,
                         const detail::SourceLocation& where = detail::SourceLocation::current()) {
  if (!holds) detail::preconditionFailed(whatHolds, where);
}

// A count handed to a routine whose count is a signed 32-bit integer.
inline int int32Count(std::int64_t count) {
  precondition(count >= std::numeric_limits<int>::min() && count <= std::numeric_limits<int>::max(),
               "the count fits a signed 32-bit integer");
  return static_cast<int>(count);
}

namespace detail {

// Range-for support shared by the view iterators: pulls items with next().
template <class Iterator>
class SequenceCursor {
 public:
  using value_type = typename Iterator::Item;
  using difference_type = std::ptrdiff_t;

  SequenceCursor() = default;
  explicit SequenceCursor(Iterator it) : it_(std::move(it)) { current_ = it_.next(); }
  const value_type& operator*() const { return *current_; }
  SequenceCursor& operator++() {
    current_ = it_.next();
    return *this;
  }
  void operator++(int) { ++*this; }
  bool operator==(std::default_sentinel_t) const { return !current_.has_value(); }

 private:
  Iterator it_{};
  std::optional<value_type> current_;
};

// Offset of item `index` for `stride`; an overflow stops the program.
inline std::int64_t itemOffset(std::int64_t index, std::int64_t stride) {
  std::int64_t offset = 0;
  precondition(!__builtin_mul_overflow(index, stride, &offset), "index x stride fits a signed 64-bit integer");
  return offset;
}

}  // namespace detail

namespace detail {
template <class View>
struct MemoryIterator;
}  // namespace detail

template <class Element>
struct UnsafeMemory;
template <class Element>
struct UnsafeMutableMemory;

// The iterators of the two views walk them alike.
template <class Element>
using UnsafeMemoryIterator = detail::MemoryIterator<UnsafeMemory<Element>>;
template <class Element>
using UnsafeMutableMemoryIterator = detail::MemoryIterator<UnsafeMutableMemory<Element>>;

// A read-only view of `count` elements lying `stride` elements apart, item i
// at pointer + i * stride. It does not own the elements and is valid only
// inside the body it was lent to.
template <class Element>
struct UnsafeMemory {
  const Element* pointer = nullptr;
  std::int64_t stride = 1;
  std::int64_t count = 0;

  UnsafeMemory() = default;
  UnsafeMemory(const Element* pointer, std::int64_t stride, std::int64_t count)
      : pointer(pointer), stride(stride), count(count) {}

  UnsafeMemoryIterator<Element> makeIterator() const { return UnsafeMemoryIterator<Element>{*this, std::nullopt}; }
  detail::SequenceCursor<UnsafeMemoryIterator<Element>> begin() const {
    return detail::SequenceCursor<UnsafeMemoryIterator<Element>>(makeIterator());
  }
  std::default_sentinel_t end() const { return {}; }
};

// The same view with a writable pointer.
template <class Element>
struct UnsafeMutableMemory {
  Element* pointer = nullptr;
  std::int64_t stride = 1;
  std::int64_t count = 0;

  UnsafeMutableMemory() = default;
  UnsafeMutableMemory(Element* pointer, std::int64_t stride, std::int64_t count)
      : pointer(pointer), stride(stride), count(count) {}

  UnsafeMutableMemoryIterator<Element> makeIterator() const {
    return UnsafeMutableMemoryIterator<Element>{*this, std::nullopt};
  }
  detail::SequenceCursor<UnsafeMutableMemoryIterator<Element>> begin() const {
    return detail::SequenceCursor<UnsafeMutableMemoryIterator<Element>>(makeIterator());
  }
  std::default_sentinel_t end() const { return {}; }
};

namespace detail {

// Walks a view: `index` is absent before the first item, then the index of
// the item last returned. Past the end, next() keeps returning nothing.
template <class View>
struct MemoryIterator {
  using Item = std::remove_cv_t<std::remove_pointer_t<decltype(View::pointer)>>;
  View base;
  std::optional<std::int64_t> index;

  std::optional<Item> next() {
    std::int64_t candidate = index ? *index + 1 : 0;
    if (candidate >= base.count) return std::nullopt;
    index = candidate;
    return base.pointer[itemOffset(candidate, base.stride)];
  }
};

}  // namespace detail

// ---- Collections that can lend their storage.

// Element type of a collection (without const).
template <class C>
using ElementOf = std::remove_cv_t<std::ranges::range_value_t<C>>;

// A contiguous, sized collection: vector, array, span (the slice).
template <class C>
concept UnsafeMemoryAccessible = std::ranges::contiguous_range<C> && std::ranges::sized_range<C>;

// ... whose elements may be written through it.
template <class C>
concept UnsafeMutableMemoryAccessible =
    UnsafeMemoryAccessible<C> && !std::is_const_v<std::remove_reference_t<std::ranges::range_reference_t<C>>>;

// The element types the operations work on.
template <class T>
concept Real = std::same_as<T, float> || std::same_as<T, double>;

// Collections of float or double.
template <class C>
concept RealCollection = UnsafeMemoryAccessible<C> && Real<ElementOf<C>>;
template <class C>
concept MutableRealCollection = UnsafeMutableMemoryAccessible<C> && Real<ElementOf<C>>;

namespace detail {

template <class C>
inline constexpr bool isSlice = false;
template <class T, std::size_t E>
inline constexpr bool isSlice<std::span<T, E>> = true;

// "Storage without an address": a non-empty collection whose data pointer is
// null. An empty collection may have no address; it lends a harmless one that
// is never read.
template <class C, class Pointer>
Pointer checkedAddress(Pointer p, std::size_t count) {
  if (p != nullptr) return p;
  if (count > 0) {
    if constexpr (isSlice<std::remove_cvref_t<C>>)
      platform::fatalError("ArraySlice is missing its pointer");
    else
      platform::fatalError("Array is missing its pointer");
  }
  using Element = std::remove_const_t<std::remove_pointer_t<Pointer>>;
  alignas(Element) static unsigned char noItems[sizeof(Element)];
  return reinterpret_cast<Pointer>(noItems);
}

template <class C>
auto readView(const C& c) {
  using Element = ElementOf<C>;
  std::size_t count = std::ranges::size(c);
  const Element* p = checkedAddress<C>(static_cast<const Element*>(std::ranges::data(c)), count);
  return UnsafeMemory<Element>(p, 1, static_cast<std::int64_t>(count));
}

template <class C>
auto writeView(C&& c) {
  using Element = ElementOf<C>;
  std::size_t count = std::ranges::size(c);
  Element* p = checkedAddress<C>(static_cast<Element*>(std::ranges::data(c)), count);
  return UnsafeMutableMemory<Element>(p, 1, static_cast<std::int64_t>(count));
}

}  // namespace detail

// ---- Lending: one collection, or several nested in argument order.

// Calls body(view) once with a read-only view of the collection's storage
// (from its first element, stride 1) and returns what the body returns.
template <UnsafeMemoryAccessible C, class Body>
decltype(auto) withUnsafeMemory(const C& lhs, Body&& body) {
  return std::forward<Body>(body)(detail::readView(lhs));
}

template <UnsafeMemoryAccessible A, UnsafeMemoryAccessible B, class Body>
decltype(auto) withUnsafeMemory(const A& lhs, const B& rhs, Body&& body) {
  return withUnsafeMemory(lhs, [&](auto l) -> decltype(auto) {
    return withUnsafeMemory(rhs, [&](auto r) -> decltype(auto) { return std::forward<Body>(body)(l, r); });
  });
}

template <UnsafeMemoryAccessible A, UnsafeMemoryAccessible B, UnsafeMemoryAccessible C, class Body>
decltype(auto) withUnsafeMemory(const A& a, const B& b, const C& c, Body&& body) {
  return withUnsafeMemory(a, b, [&](auto va, auto vb) -> decltype(auto) {
    return withUnsafeMemory(c, [&](auto vc) -> decltype(auto) { return std::forward<Body>(body)(va, vb, vc); });
  });
}

// Calls body(view) once with a writable view; the body may overwrite
// elements in place (a std::vector is never shared, so this copies nothing).
template <UnsafeMutableMemoryAccessible C, class Body>
decltype(auto) withUnsafeMutableMemory(C&& lhs, Body&& body) {
  return std::forward<Body>(body)(detail::writeView(lhs));
}

template <UnsafeMutableMemoryAccessible A, UnsafeMutableMemoryAccessible B, class Body>
decltype(auto) withUnsafeMutableMemory(A&& lhs, B&& rhs, Body&& body) {
  return withUnsafeMutableMemory(lhs, [&](auto l) -> decltype(auto) {
    return withUnsafeMutableMemory(rhs, [&](auto r) -> decltype(auto) { return std::forward<Body>(body)(l, r); });
  });
}

template <UnsafeMutableMemoryAccessible A, UnsafeMutableMemoryAccessible B, UnsafeMutableMemoryAccessible C,
          class Body>
decltype(auto) withUnsafeMutableMemory(A&& a, B&& b, C&& c, Body&& body) {
  return withUnsafeMutableMemory(a, b, [&](auto va, auto vb) -> decltype(auto) {
    return withUnsafeMutableMemory(c, [&](auto vc) -> decltype(auto) { return std::forward<Body>(body)(va, vb, vc); });
  });
}

// Single values passed by reference: the body gets a pointer to each.
template <class A, class B, class Body>
decltype(auto) withUnsafePointers(const A& a, const B& b, Body&& body) {
  return std::forward<Body>(body)(&a, &b);
}
template <class A, class B, class C, class Body>
decltype(auto) withUnsafePointers(const A& a, const B& b, const C& c, Body&& body) {
  return std::forward<Body>(body)(&a, &b, &c);
}
template <class A, class B, class Body>
decltype(auto) withUnsafeMutablePointers(A& a, B& b, Body&& body) {
  return std::forward<Body>(body)(&a, &b);
}
template <class A, class B, class C, class Body>
decltype(auto) withUnsafeMutablePointers(A& a, B& b, C& c, Body&& body) {
  return std::forward<Body>(body)(&a, &b, &c);
}

// ---- Family workers: how an operation reaches its routine. Each operation
// binds one routine of platform::accelerate (with the routine's own
// signature) to one of these shapes.

// vDSP reduction: routine(pointer, stride, &result, count).
template <class T>
using ReductionRoutine = void (*)(const T*, std::ptrdiff_t, T*, std::size_t);

// vForce element-wise: routine(out, in, count).
template <class T>
using ElementwiseRoutine = void (*)(T*, const T*, int);

// Result seeded with 0, then overwritten by the routine.
template <RealCollection C>
ElementOf<C> reduceWith(const C& collection, ReductionRoutine<ElementOf<C>> routine) {
  using T = ElementOf<C>;
  T result = 0;
  withUnsafeMemory(collection, [&](UnsafeMemory<T> m) {
    precondition(m.count >= 0, "the element count is not negative");
    routine(m.pointer, m.stride, &result, static_cast<std::size_t>(m.count));
  });
  return result;
}

// In place on a writable view (stride 1, count within 32 bits).
template <MutableRealCollection C>
void mapInPlace(C&& collection, ElementwiseRoutine<ElementOf<C>> routine) {
  using T = ElementOf<C>;
  withUnsafeMutableMemory(collection, [&](UnsafeMutableMemory<T> m) {
    precondition(m.stride == 1, "the collection written in place is contiguous (stride 1)");
    int n = int32Count(m.count);
    routine(m.pointer, m.pointer, n);
  });
}

// Two collections of equal count: the first lent for writing, the second
// read-only inside it; body(mutableView, view).
template <MutableRealCollection L, RealCollection R, class Body>
  requires std::same_as<ElementOf<L>, ElementOf<R>>
decltype(auto) withEqualCounts(L&& lhs, const R& rhs, Body&& body) {
  precondition(std::ranges::size(lhs) == std::ranges::size(rhs), "both collections hold as many elements");
  return withUnsafeMutableMemory(lhs, [&](auto m) -> decltype(auto) {
    return withUnsafeMemory(rhs, [&](auto r) -> decltype(auto) { return std::forward<Body>(body)(m, r); });
  });
}

// Copy of a collection's elements into a new array.
template <RealCollection C>
std::vector<ElementOf<C>> copyOf(const C& collection) {
  return std::vector<ElementOf<C>>(std::ranges::begin(collection), std::ranges::end(collection));
}

// Elements per block of produceByBlocks: small enough that a block of each
// operand and of the result stay in the L1 cache together.
inline constexpr std::int64_t kReturningBlock = 256;

namespace detail {

// Grows a new array of `count` elements block by block; fill(offset, block)
// overwrites each zero-filled block as soon as it exists.
template <Real T, class Fill>
std::vector<T> growByBlocks(std::int64_t count, Fill&& fill) {
  std::vector<T> out;
  out.reserve(static_cast<std::size_t>(count));
  for (std::int64_t offset = 0; offset < count; offset += kReturningBlock) {
    auto length = static_cast<std::size_t>(std::min(kReturningBlock, count - offset));
    out.resize(out.size() + length);
    fill(offset, std::span<T>(out.data() + offset, length));
  }
  return out;
}

}  // namespace detail

// The returning forms: a new array of lhs's count whose blocks
// produce(lhsBlock, outBlock) writes. Each block of the new array is
// zero-filled as the array grows and overwritten at once by the routine,
// while it is still in cache. Every routine used this way is element-wise,
// so the values are those of copying lhs into a new array and running the
// routine in place over the copy; this way a long array crosses memory once,
// and a short one needs no separate copying pass.
template <RealCollection C, class Produce>
std::vector<ElementOf<C>> produceByBlocks(const C& lhs, Produce&& produce) {
  using T = ElementOf<C>;
  return withUnsafeMemory(lhs, [&](UnsafeMemory<T> l) {
    return detail::growByBlocks<T>(l.count, [&](std::int64_t offset, std::span<T> out) {
      produce(std::span<const T>(l.pointer + offset, out.size()), out);
    });
  });
}

// The same over two collections of equal count: produce(lhsBlock, rhsBlock, outBlock).
template <RealCollection L, RealCollection R, class Produce>
  requires std::same_as<ElementOf<L>, ElementOf<R>>
std::vector<ElementOf<L>> produceByBlocks(const L& lhs, const R& rhs, Produce&& produce) {
  using T = ElementOf<L>;
  precondition(std::ranges::size(lhs) == std::ranges::size(rhs), "both collections hold as many elements");
  return withUnsafeMemory(lhs, rhs, [&](UnsafeMemory<T> l, UnsafeMemory<T> r) {
    return detail::growByBlocks<T>(l.count, [&](std::int64_t offset, std::span<T> out) {
      produce(std::span<const T>(l.pointer + offset, out.size()), std::span<const T>(r.pointer + offset, out.size()),
              out);
    });
  });
}

// vForce element-wise into a new array: element i is the routine's value for
// element i of the collection (whose count must fit 32 bits).
template <RealCollection C>
std::vector<ElementOf<C>> mapToNewArray(const C& collection, ElementwiseRoutine<ElementOf<C>> routine) {
  using T = ElementOf<C>;
  int32Count(static_cast<std::int64_t>(std::ranges::size(collection)));
  return produceByBlocks(collection, [&](std::span<const T> in, std::span<T> out) {
    routine(out.data(), in.data(), static_cast<int>(out.size()));
  });
}

}  // namespace VectorMath
