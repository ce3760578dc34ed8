#include "linearization/readers/HLVCIELabFile.h"

namespace linearization {

std::vector<CIELab> HLVCIELabFile::parseRows(const Rows& rows) {
  labLIndex = 1;
  std::vector<CIELab> readings;
  // Rows 0 and 1 are the title and the column titles.
  for (std::size_t r = 2; r < rows.size(); ++r) {
    if (repeatsHeader(rows[r])) continue;
    if (rows[r].size() < 2 || fieldIsEmpty(rows[r], labLIndex)) continue;
    if (const auto reading = readingAt(rows[r], labLIndex, 50.0)) readings.push_back(*reading);
  }
  return readings;
}

void HLVCIELabFile::readMeasurements() {
  // The program's own files hold one reading a step; read as every other
  // file is, so that a file of repeated readings in this format is found out
  // too.
  measuredLab = parseRows(measurementData2DArray);
  finishRead(false);
}

}  // namespace linearization
