#pragma once

#include <string_view>

namespace platform {

// Stops the program: writes the message (if any) to stderr and aborts. Used
// where a caller broke a precondition that no result could express.
[[noreturn]] void fatalError(std::string_view message = {});

}  // namespace platform
