#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linearization/readers/CgatsDataBlock.h"

namespace linearization {

// Reads TAB-separated CGATS files. The columns are found by name in the
// header ("LAB_L", with a* and b* the two fields after it), the number of
// readings is the header's "NUMBER_OF_SETS", and when the names include
// "RGB_R" the data rows are put in falling order of their third field (paper
// white first) and read again with decimal commas accepted.
//
// A file that cannot be read as described (a header keyword or the LAB_L
// column missing, a set count that is not a count or exceeds the lines that
// follow, rows too short) fails the read at the first line to blame: the
// lists of readings stay empty and the caller shows the one load-error alert.
class CgatsCIELab : public CgatsDataBlock {
 public:
  using CgatsDataBlock::CgatsDataBlock;

  void readMeasurements() override;
  std::vector<CIELab> parseRows(const Rows& rows) override;

  // Each returns nothing (after recording the failure) when the header does
  // not hold what it needs.
  virtual std::optional<std::string> readNumberOfFields();
  std::optional<int64_t> readNumberOfSets() override;

 protected:
  std::optional<std::size_t> beginDataLine() const override;
  char fieldSeparator() const override { return '\t'; }

 private:
  std::optional<std::size_t> lineBeginningWith(const std::string& keyword) const;
};

}  // namespace linearization
