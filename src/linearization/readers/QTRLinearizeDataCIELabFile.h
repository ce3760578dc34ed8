#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads the output of QTR-Linearize-Data: three header rows, rows with L*, a*
// and b* in fields 2, 3 and 4, and six trailing rows that are not read.
class QTRLinearizeDataCIELabFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;
};

}  // namespace linearization
