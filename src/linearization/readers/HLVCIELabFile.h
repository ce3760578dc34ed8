#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads the system's own measurement data file: the title line
// "Halvorin Measurement Data File", the column line
// "Step\tLab_L\tLab_A\tLab_B", then one row per step (step number, L*, a*,
// b*). A file as the program writes it holds one reading per step (256 of
// them, numbered from 1) and is read so; any other finds its steps as every
// other format does.
class HLVCIELabFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  // The readings the program writes.
  static constexpr int64_t kWrittenReadings = 256;

  std::vector<CIELab> parseRows(const Rows& rows) override;
  void readMeasurements() override;

 private:
  // 256 rows numbered 1 to 256, nothing else after the header.
  bool writtenByTheProgram() const;
};

}  // namespace linearization
