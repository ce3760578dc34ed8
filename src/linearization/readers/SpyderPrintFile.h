#pragma once

#include <cstdint>
#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads SpyderPrint exports, which have no header. When the rows begin with
// row numbers (the first row's first field begins "1" and the second's "2")
// and there are 4 columns, L* stands in field 1; otherwise in field 0.
class SpyderPrintFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  int64_t numColumns = 0;    // fields in the first row
  bool hasRowIndex = false;  // the rows begin with a row number

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;
  // From the first two rows; a file of one row has no row numbers.
  virtual void detectRowIndex();
  virtual void chooseLabLIndex();
};

}  // namespace linearization
