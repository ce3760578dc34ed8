#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <span>
#include <stdexcept>
#include <vector>

#include "VectorMath/MemoryAccess.h"
#include "platform/accelerate/Accelerate.h"

namespace {

using namespace VectorMath;

// A collection whose storage has no address although it claims elements.
struct NoStorage {
  const double* begin() const { return nullptr; }
  const double* end() const { return nullptr; }
  const double* data() const { return nullptr; }
  std::size_t size() const { return 3; }
};

template <class Element>
std::vector<Element> collect(UnsafeMemoryIterator<Element> it) {
  std::vector<Element> out;
  while (auto item = it.next()) out.push_back(*item);
  return out;
}

TEST(MemoryAccess, CollectionsLendTheirOwnStorage) {
  std::vector<double> v(30);
  for (int i = 0; i < 30; ++i) v[i] = i;
  std::array<float, 4> a{1, 2, 3, 4};
  std::vector<double> empty;

  withUnsafeMemory(v, [&](UnsafeMemory<double> m) {
    EXPECT_EQ(m.pointer, v.data());
    EXPECT_EQ(m.stride, 1);
    EXPECT_EQ(m.count, 30);
  });
  // A slice lends from its own first element, not from the array's.
  withUnsafeMemory(std::span(v).subspan(10, 10), [&](UnsafeMemory<double> m) {
    EXPECT_EQ(m.pointer, v.data() + 10);
    EXPECT_EQ(m.count, 10);
    EXPECT_EQ(m.pointer[0], 10.0);
  });
  withUnsafeMemory(a, [&](UnsafeMemory<float> m) { EXPECT_EQ(m.count, 4); });
  // Empty storage is lent without a stop, with an address that is not null.
  withUnsafeMemory(empty, [](UnsafeMemory<double> m) {
    EXPECT_EQ(m.count, 0);
    EXPECT_NE(m.pointer, nullptr);
  });
  // ... and a routine runs over it with a count of 0.
  EXPECT_EQ(reduceWith(empty, platform::accelerate::sveD), 0.0);
  EXPECT_EQ(reduceWith(std::span(v).subspan(30), platform::accelerate::sveD), 0.0);

  // Writing through a slice's view reaches the array it was cut from; writing
  // through a copy's view leaves the original alone.
  std::vector<double> copy = v;
  withUnsafeMutableMemory(std::span(v).subspan(2, 2), [](UnsafeMutableMemory<double> m) { m.pointer[0] = -1; });
  withUnsafeMutableMemory(copy, [](UnsafeMutableMemory<double> m) { m.pointer[3] = -3; });
  EXPECT_EQ(v[2], -1.0);
  EXPECT_EQ(v[3], 3.0);
  EXPECT_EQ(copy[2], 2.0);
  EXPECT_EQ(copy[3], -3.0);
}

TEST(MemoryAccess, ForwardersLendInArgumentOrderAndPassResultsAndErrorsThrough) {
  std::vector<double> a{1}, b{2, 2}, c{3, 3, 3};
  auto counts = withUnsafeMemory(a, b, c, [](auto x, auto y, auto z) { return x.count * 100 + y.count * 10 + z.count; });
  EXPECT_EQ(counts, 123);
  EXPECT_EQ(withUnsafeMemory(c, a, [](auto x, auto y) { return x.pointer[0] - y.pointer[0]; }), 2.0);
  withUnsafeMutableMemory(a, b, c, [](auto x, auto y, auto z) { x.pointer[0] = y.pointer[1] + z.pointer[2]; });
  EXPECT_EQ(a[0], 5.0);

  EXPECT_THROW(withUnsafeMemory(a, [](auto) -> int { throw std::runtime_error("from the body"); }), std::runtime_error);
  EXPECT_THROW(withUnsafeMutableMemory(a, [](auto) { throw std::out_of_range("x"); }), std::out_of_range);
}

TEST(MemoryAccess, IteratorWalksByStride) {
  const double values[] = {0, 1, 2, 3, 4, 5};
  struct Case {
    const double* pointer;
    std::int64_t stride;
    std::int64_t count;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {values, 1, 0, {}},
      {values, 1, 3, {0, 1, 2}},
      {values, 2, 3, {0, 2, 4}},
      {values + 5, -1, 3, {5, 4, 3}},
      {values + 5, -2, 3, {5, 3, 1}},
  };
  for (const auto& c : cases) {
    UnsafeMemory<double> m(c.pointer, c.stride, c.count);
    EXPECT_EQ(collect(m.makeIterator()), c.expected) << "stride " << c.stride << " count " << c.count;
    std::vector<double> viaFor;
    for (double x : m) viaFor.push_back(x);
    EXPECT_EQ(viaFor, c.expected);
  }

  auto it = UnsafeMemory<double>(values, 1, 2).makeIterator();
  EXPECT_FALSE(it.index.has_value());
  it.next();
  it.next();
  EXPECT_EQ(it.index, 1);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(it.next().has_value());
  EXPECT_EQ(it.index, 1);  // unchanged past the end

  double writable[] = {7, 8, 9};
  UnsafeMutableMemory<double> w(writable, 2, 2);
  std::vector<double> seen;
  for (double x : w) seen.push_back(x);
  EXPECT_EQ(seen, (std::vector<double>{7, 9}));
}

TEST(MemoryAccessDeathTest, BrokenPreconditionsStopTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(withUnsafeMemory(NoStorage{}, [](auto) {}), "^Array is missing its pointer\n");
  EXPECT_DEATH(withUnsafeMemory(std::span<const double>(static_cast<const double*>(nullptr), 3), [](auto) {}),
               "^ArraySlice is missing its pointer\n");
  // index x stride overflowing 64 bits while iterating.
  const double one = 1;
  UnsafeMemoryIterator<double> far{UnsafeMemory<double>(&one, INT64_MAX, 3), 1};
  EXPECT_DEATH(far.next(), "");
  EXPECT_DEATH(int32Count(int64_t{INT_MAX} + 1), "");
  EXPECT_DEATH(int32Count(int64_t{INT_MIN} - 1), "");
  std::vector<double> three(3), four(4);
  EXPECT_DEATH(withEqualCounts(three, four, [](auto, auto) {}), "");
}

}  // namespace
