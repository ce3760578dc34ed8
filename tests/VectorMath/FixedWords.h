#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

namespace testsupport {

// A random generator that hands out a fixed list of 64-bit words, so that
// tests can pin the exact values a draw makes. Running out throws.
class FixedWords {
 public:
  using result_type = std::uint64_t;
  static constexpr result_type min() { return 0; }
  static constexpr result_type max() { return std::numeric_limits<result_type>::max(); }

  explicit FixedWords(std::vector<result_type> words) : words_(std::move(words)) {}
  result_type operator()() {
    if (next_ >= words_.size()) throw std::out_of_range("FixedWords ran out of words");
    return words_[next_++];
  }
  std::size_t used() const { return next_; }

 private:
  std::vector<result_type> words_;
  std::size_t next_ = 0;
};

// The word that a uniform draw over [0, 1] turns into `fraction` (a multiple
// of the grid step): the low 32 bits carry it in single precision, the whole
// word in double precision.
template <class T>
std::uint64_t wordFor(double fraction) {
  if constexpr (sizeof(T) == 4)
    return static_cast<std::uint64_t>(fraction * 0x1p32);
  else
    return static_cast<std::uint64_t>(fraction * 0x1p64);
}

}  // namespace testsupport
