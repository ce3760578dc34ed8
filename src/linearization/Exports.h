#pragma once

#include "platform/host/Host.h"

namespace linearization {

// The modal "Failed to Linearize" alert shown when an export has nothing to
// write. Returns whether its first button closed it.
bool showLinearizeFailedAlert(platform::Host& host);

}  // namespace linearization
