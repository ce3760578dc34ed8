#pragma once

#include <cstdint>
#include <limits>

namespace platform::random {

// The system's random source: each draw is eight fresh bytes from the
// kernel's random generator (getrandom), read as one 64-bit word. It keeps no
// state, so any number of them may exist. Satisfies
// std::uniform_random_bit_generator over the full 64-bit range. A kernel that
// cannot deliver random bytes stops the program.
class SystemRandomNumberGenerator {
 public:
  using result_type = std::uint64_t;
  static constexpr result_type min() { return 0; }
  static constexpr result_type max() { return std::numeric_limits<result_type>::max(); }
  result_type operator()();
};

}  // namespace platform::random
