#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads the exports of a step-wedge measuring tool: a header row ("Patch"...)
// and then one row per patch with L*, a* and b* in fields 2, 3 and 4. Rows
// without an L* value, or too short to hold the three fields, are passed over.
class RibbonmeterCIELabFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;
};

}  // namespace linearization
