#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/host/Host.h"

namespace linearization {

// A one-dimensional Adobe .cube lookup table of one curve, the same values for
// red, green and blue.
class PhotoshopCubeLUT {
 public:
  virtual ~PhotoshopCubeLUT() = default;

  // The curve to write, in percent (0..100); the correction curve reversed.
  std::vector<double> curve;
  // The .cube text once made.
  std::optional<std::string> outputCube;

  // The five header lines, each ended by "\n", for as many entries as
  // `curve` holds; nothing when `curve` is empty.
  virtual std::optional<std::string> makeCubeHeader() const;
  // The header, then one line per value: value / 100 three times. Nothing
  // when there is no header.
  virtual std::optional<std::string> makeCube(const std::vector<double>& values) const;
  // Lets the user choose where to save `outputCube` (type "cube") and writes
  // it there. Does nothing while there is no text.
  virtual void saveCubeFile(platform::Host& host) const;
};

}  // namespace linearization
