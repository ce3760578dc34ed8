#include "linearization/CIELab.h"

#include "platform/text/Text.h"

namespace linearization {

std::string CIELab::description() const {
  using platform::text::shortestDescription;
  return "CIELab(L:" + shortestDescription(L) + ", a:" + shortestDescription(a) + ", b:" + shortestDescription(b) +
         ")";
}

std::string describe(const std::vector<CIELab>& readings) {
  std::string text = "[";
  for (std::size_t k = 0; k < readings.size(); ++k) {
    if (k > 0) text += ", ";
    text += readings[k].description();
  }
  return text + "]";
}

}  // namespace linearization
