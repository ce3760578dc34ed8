#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linearization/readers/CgatsDataBlock.h"

namespace linearization {

// Reads the ".ti3" files of the Argyll tools: the CGATS layout with fields
// separated by single spaces (two spaces in a row make an empty field). The
// columns are found by name ("LAB_L"), the count of readings is
// "NUMBER_OF_SETS", and with an "RGB_R" column the data rows are put in
// falling order of their third field and read again with decimal commas
// accepted. Unlike the CGATS reader it does not stop at "END_DATA"; read for
// partitioning, it regroups 21 steps measured pass after pass. It never sets
// numOfFields.
//
// A file that cannot be read as described fails the read; the lists of
// readings stay empty and the caller shows the one load-error alert.
class ArgyllCIELab : public CgatsDataBlock {
 public:
  using CgatsDataBlock::CgatsDataBlock;

  int64_t beginDataRowIndex = 0;  // the row after "BEGIN_DATA"

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;

  // Returns nothing (after recording the failure) when the rows do not hold
  // a count.
  std::optional<int64_t> readNumberOfSets() override;
  // Each line with its line-break characters removed from both ends, split
  // on every space. The rows view `lines`, which must outlive them; split
  // from rawData they keep its file line numbers.
  virtual Rows splitRowsOnSpaces(const std::vector<std::string>& lines) const;

 protected:
  std::optional<std::size_t> beginDataLine() const override;
  char fieldSeparator() const override { return ' '; }
  void dataSetsRead() override;
  void rowsRead() override;
  void readForPartitioning() override;
};

}  // namespace linearization
