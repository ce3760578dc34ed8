#pragma once

#include <string_view>

namespace platform {

// Stops the program: writes the message to stderr and aborts. Used where a
// caller broke a precondition that no result could express; the message
// names the operation and what should have held, so there is no form
// without one. The one place to break on every stop of the system.
[[noreturn]] void fatalError(std::string_view message);

}  // namespace platform
