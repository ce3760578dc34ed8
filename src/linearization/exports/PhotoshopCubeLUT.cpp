#include "linearization/exports/PhotoshopCubeLUT.h"

#include "linearization/SaveText.h"
#include "platform/text/Text.h"

namespace linearization {

std::optional<std::string> PhotoshopCubeLUT::makeCubeHeader() const {
  if (curve.empty()) return std::nullopt;
  return "#Color Lookup Table \n"
         "TITLE \"Halvorin Color Lookup Table for 21-step Linearity Correction\"\n"
         "LUT_1D_SIZE " + std::to_string(curve.size()) + "\n"
         "DOMAIN_MIN 0.0 0.0 0.0\n"
         "DOMAIN_MAX 1.0 1.0 1.0\n";
}

std::optional<std::string> PhotoshopCubeLUT::makeCube(const std::vector<double>& values) const {
  auto cube = makeCubeHeader();
  if (!cube) return std::nullopt;
  for (double value : values) {
    const std::string v = platform::text::shortestDescription(value / 100);
    *cube += v + " " + v + " " + v + "\n";
  }
  return cube;
}

void PhotoshopCubeLUT::saveCubeFile(platform::Host& host) const {
  if (!outputCube) return;
  saveTextThroughPanel(host, "cube", *outputCube);
}

}  // namespace linearization
