#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads the system's own measurement data file: the title line
// "Halvorin Measurement Data File", the column line
// "Step\tLab_L\tLab_A\tLab_B", then one row per step (step number, L*, a*,
// b*). It already holds one reading per step, so it is never averaged.
class HLVCIELabFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  std::vector<CIELab> parseRows(const Rows& rows) override;
  void readMeasurements() override;
};

}  // namespace linearization
