#pragma once

#include <cstdint>

#include "platform/host/Host.h"

namespace linearization {

// What the main window's Save button writes.
enum class ExportType {
  quad,              // the corrected .quad
  acv,               // Photoshop curve file
  lut,               // one-dimensional .cube lookup table
  xml,               // per-channel XML curves and the reference .quad
  measurementsOnly,  // the measurement data text file
};

// The export pop-up lists quad, acv, lut, measurementsOnly, xml (items 0..4);
// any other item means quad.
ExportType exportTypeForPopupItem(int64_t item);

// The modal "Failed to Linearize" alert shown when an export has nothing to
// write. Returns whether its first button closed it.
bool showLinearizeFailedAlert(platform::Host& host);

}  // namespace linearization
