#include "linearization/exports/PhotoshopCurve.h"

namespace linearization {

std::string acvBytes(const std::vector<uint16_t>& words) {
  std::string bytes;
  bytes.reserve(words.size() * 2);
  for (uint16_t word : words) {
    bytes.push_back(static_cast<char>(word >> 8));
    bytes.push_back(static_cast<char>(word & 0xFF));
  }
  return bytes;
}

}  // namespace linearization
