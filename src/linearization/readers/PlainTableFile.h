#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// The columns a plain table's header row names, found by name (letter case,
// white space and surrounding quotes aside): L* ("L*", "L", "LAB_L"), a* and
// b* ("a*", "a", "LAB_A", ...), a density ("D", "Density", "OD"), and the
// input of each reading on the 0-100 % axis, paper white 0 ("Input",
// "GRAY"). Every other column ("Step", "Sample", "Patch", a name) is left
// alone: the rows are read in file order.
struct PlainTableColumns {
  char separator = ',';       // TAB, ';' or ','
  bool decimalComma = false;  // with ';': "95,1" reads 95.1
  std::optional<std::size_t> L, a, b, density, input;
  std::string inputName;  // "Input value", "GRAY value": how the summary names the steps

  // The header's columns, or nothing when it names no L* and no density
  // column. The separator is the first of TAB, ';' and ',' the line holds.
  static std::optional<PlainTableColumns> of(std::string_view header);
  // The header, on the first line of a file, is one a plain table's rather
  // than the format an existing pattern names: no TAB, fields separated by ';'
  // or ',', at least two named, L* or a density among them, and a second line
  // (`next`, when there is one) without a TAB either.
  static bool separatedHeader(std::string_view header, std::optional<std::string_view> next);
};

// Reads a table of readings with a header row naming its columns (see
// PlainTableColumns), separated by commas, semicolons or TABs, as the CGATS
// file of the same readings is read: a field that is not a number reads as
// L* 1.0 (a density as the same L*), a* and b* 0, and is noted; a table
// without a* and b* reads them as 0; a density-only table reads L* from each
// density as the density reader does. With an input column whose every value
// is a number the readings are the steps those values name, placed at their
// labels where they are uneven. A row too short for the header's columns
// fails the read at its line; a row repeating the header (two exports
// joined) is skipped with a warning.
class PlainTableFile : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  void readMeasurements() override;

  // Each reading's input, in reading order, while every one is a number.
  std::vector<double> inputs;
};

}  // namespace linearization
