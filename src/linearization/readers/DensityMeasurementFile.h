#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads one density per row (field 0, a decimal comma read as a point) and
// turns each into a reading of that lightness with a* = b* = 0. Rows whose
// field is not a number, such as the "Density" header, are passed over.
class DensityMeasurementFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;
};

// L* of a density D with a white of Y = 1: Y = 10^-D, then the CIE 1976
// lightness function (linear below Y = 216/24389, cube root above).
double densityToLstar(double density);

}  // namespace linearization
