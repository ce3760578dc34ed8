#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// Reads TAB-separated CGATS files. The columns are found by name in the
// header ("LAB_L", with a* and b* the two fields after it), the number of
// readings is the header's "NUMBER_OF_SETS", and when the names include
// "RGB_R" the data rows are put in falling order of their third field (paper
// white first) and read again with decimal commas accepted.
//
// A file that cannot be read as described (a header keyword or the LAB_L
// column missing, a set count that is not a count or exceeds the lines that
// follow, rows too short) fails the read: the lists of readings stay empty
// and the caller shows the one load-error alert.
class CgatsCIELab : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  std::string numOfFields;   // "NUMBER_OF_FIELDS" as written; recorded only
  int64_t totalSamples = 0;  // "NUMBER_OF_SETS"
  Rows dataSets;             // the data lines, split on TAB
  int64_t lumIndex = -1;     // position of "RGB_R", -1 when there is none

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;

  // Each returns nothing (after recording the failure) when the header does
  // not hold what it needs.
  virtual std::optional<std::string> readNumberOfFields();
  virtual std::optional<int64_t> readNumberOfSets();
  virtual std::optional<Rows> readDataSets();
  virtual std::optional<std::vector<CIELab>> parseDataSets(const Rows& sets);
  // Falling order of the third field, ties in file order; false (after
  // recording the failure) when a set has no third field that is a number.
  virtual bool sortDataSets();

 private:
  std::optional<std::size_t> beginDataLine() const;
  std::optional<std::size_t> lineBeginningWith(const std::string& keyword) const;
};

// Shared by the CGATS and Argyll readers.
namespace cgats {

// Position of the first name equal to `name`, or -1.
int64_t indexOfName(const std::vector<std::string>& names, const std::string& name);

// Stable sort by the number in the third field, largest first. The field is
// read whole, untrimmed. Nothing is sorted, and false returned, when a set
// has no third field or it is not a number (a NaN would leave no order).
bool sortByThirdFieldDescending(Rows& sets);

// One reading per set from the fields at `labLIndex`, decimal commas read as
// points, L* 1.0 and a*, b* 0.0 where a field is not a number. Nothing when a
// set is too short.
std::optional<std::vector<CIELab>> readingsOfDataSets(const Rows& sets, int64_t labLIndex);

// The `count` lines after the line at `begin`, each split on `separator`;
// nothing when fewer lines follow. The count is compared as a difference, so
// no sum can overflow.
std::optional<Rows> dataSetsAfter(const std::vector<std::string>& lines, std::size_t begin, int64_t count,
                                  const std::string& separator);

}  // namespace cgats

}  // namespace linearization
