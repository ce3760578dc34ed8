#include "linearization/Exports.h"

namespace linearization {

bool showLinearizeFailedAlert(platform::Host& host) {
  platform::AlertRequest alert;
  alert.style = platform::AlertStyle::warning;
  alert.messageText = "Failed to Linearize";
  alert.informativeText = "Please load a valid quad curve file and measurement data file and try again";
  alert.buttons = {"OK"};
  return host.runAlert(alert) == 0;
}

}  // namespace linearization
