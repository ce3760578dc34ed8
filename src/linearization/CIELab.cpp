#include "linearization/CIELab.h"

#include "platform/text/Text.h"

namespace linearization {

std::string CIELab::description() const {
  using platform::text::shortestDescription;
  return "CIELab(L:" + shortestDescription(L) + ", a:" + shortestDescription(a) + ", b:" + shortestDescription(b) +
         ")";
}

std::string describe(const std::vector<CIELab>& readings) {
  constexpr std::size_t kShownAtEachEnd = 5;
  const std::size_t n = readings.size();
  const bool cut = n > kReadingsDescribedInFull;
  std::string text = "[";
  for (std::size_t k = 0; k < n; ++k) {
    if (cut && k == kShownAtEachEnd) {
      text += ", ... (" + std::to_string(n) + " readings) ...";
      k = n - kShownAtEachEnd;
    }
    if (k > 0) text += ", ";
    text += readings[k].description();
  }
  return text + "]";
}

}  // namespace linearization
