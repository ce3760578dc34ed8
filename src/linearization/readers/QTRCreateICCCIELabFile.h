#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads the measurement files of QTR-Create-ICC: three header rows, then rows
// with L*, a* and b* in fields 2, 3 and 4, up to the first row whose first
// field begins "Created".
class QTRCreateICCCIELabFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;
};

}  // namespace linearization
