#include "platform/random/SystemRandomNumberGenerator.h"

#include <sys/random.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/Fatal.h"

namespace platform::random {

SystemRandomNumberGenerator::result_type SystemRandomNumberGenerator::operator()() {
  unsigned char bytes[sizeof(result_type)];
  std::size_t filled = 0;
  // Short reads and interruptions by a signal are retried.
  while (filled < sizeof bytes) {
    ssize_t got = getrandom(bytes + filled, sizeof bytes - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      platform::fatalError("The system's random source failed");
    }
    filled += static_cast<std::size_t>(got);
  }
  result_type word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

}  // namespace platform::random
