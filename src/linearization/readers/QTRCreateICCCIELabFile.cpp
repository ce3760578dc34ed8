#include "linearization/readers/QTRCreateICCCIELabFile.h"

namespace linearization {

void QTRCreateICCCIELabFile::readMeasurements() {
  measuredLab = parseRows(measurementData2DArray);
  finishRead(false);
}

std::vector<CIELab> QTRCreateICCCIELabFile::parseRows(const Rows& rows) {
  labLIndex = 2;
  std::vector<CIELab> readings;
  // Rows 0 to 2 are the file's header; the data end at the "Created" line.
  for (std::size_t r = 3; r < rows.size(); ++r) {
    if (rows[r][0].starts_with("Created")) break;
    if (repeatsHeader(rows[r]) || rows[r].size() < 2 || fieldIsEmpty(rows[r], labLIndex)) continue;
    if (const auto reading = readingAt(rows[r], labLIndex, 50.0)) readings.push_back(*reading);
  }
  return readings;
}

}  // namespace linearization
