#pragma once

#include <string>

#include "platform/host/Host.h"

namespace linearization {

// Begins a save panel (new folders allowed, exactly `fileType` allowed) and,
// when the user confirms a location, replaces the file there with `text`
// byte for byte (UTF-8 text, or the bytes of a binary file such as an .acv).
// The text is fixed now, before the panel opens. A failed write is logged and
// reported as a failure; a cancel writes nothing.
void saveTextThroughPanel(platform::Host& host, const std::string& fileType, std::string text);

}  // namespace linearization
