#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads the ".ti3" files of the Argyll tools: the CGATS layout with fields
// separated by single spaces (two spaces in a row make an empty field). The
// columns are found by name ("LAB_L"), the count of readings is
// "NUMBER_OF_SETS", and with an "RGB_R" column the data rows are put in
// falling order of their third field and read again with decimal commas
// accepted. Unlike the CGATS reader it does not stop at "END_DATA".
//
// A file that cannot be read as described fails the read; the lists of
// readings stay empty and the caller shows the one load-error alert.
class ArgyllCIELab : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  std::string numOfFields;        // never set by this reader
  int64_t totalSamples = 0;       // "NUMBER_OF_SETS"
  int64_t beginDataRowIndex = 0;  // the row after "BEGIN_DATA"
  int64_t lumIndex = -1;          // position of "RGB_R", -1 when there is none
  Rows dataSets;                  // the data lines, split on single spaces

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;

  // Each returns nothing (after recording the failure) when the rows do not
  // hold what it needs.
  virtual std::optional<int64_t> readNumberOfSets();
  virtual std::optional<Rows> readDataSets();
  virtual std::optional<std::vector<CIELab>> parseDataSets(const Rows& sets);
  virtual bool sortDataSets();
  // Each line with its line-break characters removed from both ends, split
  // on every space.
  virtual Rows splitRowsOnSpaces(const std::vector<std::string>& lines) const;

 private:
  std::optional<std::size_t> beginDataRow() const;
};

}  // namespace linearization
