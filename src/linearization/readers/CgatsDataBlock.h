#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// What the CGATS reader and the Argyll ".ti3" reader share: the CGATS data
// block. Its header names the count of readings ("NUMBER_OF_SETS") and the
// columns; that many data lines follow "BEGIN_DATA"; and when the columns
// include "RGB_R" the lines are put in falling order of their third field
// (paper white first) and read again, decimal commas accepted, before they are
// averaged. The two formats differ only in how a line splits into fields and
// how the keywords are found, which each reader supplies.
class CgatsDataBlock : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  std::string numOfFields;   // "NUMBER_OF_FIELDS" as written; recorded only
  int64_t totalSamples = 0;  // "NUMBER_OF_SETS"
  int64_t lumIndex = -1;     // position of "RGB_R", -1 when there is none
  Rows dataSets;             // the data lines, split into fields (views into rawData)

  // Each returns nothing (after recording the failure) when the file does not
  // hold what it needs.
  virtual std::optional<int64_t> readNumberOfSets() = 0;
  virtual std::optional<Rows> readDataSets();
  virtual std::optional<std::vector<CIELab>> parseDataSets(const Rows& sets);
  // Falling order of the third field, ties in file order; false (after
  // recording the failure) when a set has no third field that is a number.
  virtual bool sortDataSets();

 protected:
  // The walk both readers take once they have the column names: find the
  // LAB_L and RGB_R columns, count the sets, take the data lines, read the
  // rows in file order and, for linearization, sort and read again when there
  // is an RGB_R column, then average and resample.
  void readDataBlock(const Fields& columnNames);

  // The line that holds "BEGIN_DATA" (not "BEGIN_DATA_FORMAT"), by its index
  // in rawData.
  virtual std::optional<std::size_t> beginDataLine() const = 0;
  // What separates the fields of a data line.
  virtual char fieldSeparator() const = 0;
  // Why `row` gives no reading: it ends before L*, a* and b*.
  std::string missingFields(const Fields& row) const;

  int64_t numberOfSetsLine = 0;  // the file line "NUMBER_OF_SETS" was read from

  // Steps a reader adds to the walk: after the data lines are taken, after
  // the rows are read, and in place of averaging when the file is read for
  // partitioning.
  virtual void dataSetsRead() {}
  virtual void rowsRead() {}
  virtual void readForPartitioning() {}
};

}  // namespace linearization
