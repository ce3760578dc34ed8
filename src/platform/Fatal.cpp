#include "platform/Fatal.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void fatalError(std::string_view message) {
  if (!message.empty()) {
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
  }
  std::fflush(stderr);
  std::abort();
}

}  // namespace platform
