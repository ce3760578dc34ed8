#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads the exports of a data tool: a header row ("GRAY"...) and then one row
// per patch with L*, a* and b* in fields 1, 2 and 3. Rows without an L*
// value, or too short to hold the three fields, are passed over.
class TallyframeCIELabFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  std::vector<CIELab> parseRows(const Rows& rows) override;
  void readMeasurements() override;
};

}  // namespace linearization
