#pragma once

#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads files whose first line begins "L*". A header of two fields or more
// marks the three-field form (L*, a*, b* in fields 0, 1 and 2, every row
// after the header read, a last row whose L* is not a number passed over); a
// header of one field marks the single-column form, one L* per row with
// a* = b* = 0.
class MiscMeasurementDataFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  std::vector<double> temp;  // the values of a single-column file, in row order

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;
  // The first field of every row after the header, trimmed and read as a
  // number, 0.02 where it is not one.
  virtual std::vector<double> readSingleColumn();
};

}  // namespace linearization
