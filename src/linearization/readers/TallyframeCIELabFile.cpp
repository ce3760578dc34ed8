#include "linearization/readers/TallyframeCIELabFile.h"

namespace linearization {

std::vector<CIELab> TallyframeCIELabFile::parseRows(const Rows& rows) {
  labLIndex = 1;
  std::vector<CIELab> readings;
  // Row 0 is the tool's "GRAY" header.
  for (std::size_t r = 1; r < rows.size(); ++r) {
    if (repeatsHeader(rows[r]) || rows[r].size() < 2 || fieldIsEmpty(rows[r], labLIndex)) continue;
    if (const auto reading = readingAt(rows[r], labLIndex, 50.0)) readings.push_back(*reading);
  }
  return readings;
}

void TallyframeCIELabFile::readMeasurements() {
  measuredLab = parseRows(measurementData2DArray);
  finishRead(true);
}

}  // namespace linearization
