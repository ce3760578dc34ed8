#include "linearization/exports/Exports.h"

namespace linearization {

ExportType exportTypeForPopupItem(int64_t item) {
  switch (item) {
    case 1: return ExportType::acv;
    case 2: return ExportType::lut;
    case 3: return ExportType::measurementsOnly;
    case 4: return ExportType::xml;
    default: return ExportType::quad;
  }
}

bool showLinearizeFailedAlert(platform::Host& host) {
  platform::AlertRequest alert;
  alert.style = platform::AlertStyle::warning;
  alert.messageText = "Failed to Linearize";
  alert.informativeText = "Please load a valid quad curve file and measurement data file and try again";
  alert.buttons = {"OK"};
  return host.runAlert(alert) == 0;
}

}  // namespace linearization
