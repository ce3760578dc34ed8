#include "linearization/readers/QTRLinearizeDataCIELabFile.h"

#include <string>


namespace linearization {

void QTRLinearizeDataCIELabFile::readMeasurements() {
  measuredLab = parseRows(measurementData2DArray);
  finishRead(false);
}

std::vector<CIELab> QTRLinearizeDataCIELabFile::parseRows(const Rows& rows) {
  for (std::size_t r = 0; r < rows.size() && logging(); ++r) log(std::string(rows[r].line()));
  labLIndex = 2;
  std::vector<CIELab> readings;
  if (rows.size() < 10) return readings;
  // Three header rows before the data, six trailing rows after them.
  for (std::size_t r = 3; r + 6 < rows.size(); ++r) {
    if (logging()) log(std::to_string(r) + "\t" + std::string(rows[r].line()));
    if (repeatsHeader(rows[r])) continue;
    if (const auto reading = readingAt(rows[r], labLIndex, 50.0)) readings.push_back(*reading);
  }
  return readings;
}

}  // namespace linearization
