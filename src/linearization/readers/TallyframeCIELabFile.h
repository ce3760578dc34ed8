#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads the exports of a data tool: a header row ("GRAY"...) and then one row
// per patch with its GRAY value (0 is paper white) in field 0 and L*, a* and
// b* in fields 1, 2 and 3. Rows without an L* value, or too short to hold
// the three fields, are passed over. For linearization the readings are the
// steps their GRAY values name, placed at those values where they are
// uneven; where a GRAY field is not a number, or every row has the same, the
// readings are read in file order as every other format's are.
class TallyframeCIELabFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  std::vector<CIELab> parseRows(const Rows& rows) override;
  void readMeasurements() override;

  // Each reading's GRAY value, in reading order, while every one is a number.
  std::vector<double> grays;

 private:
  bool graysNamed_ = false;
};

}  // namespace linearization
