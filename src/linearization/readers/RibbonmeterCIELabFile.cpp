#include "linearization/readers/RibbonmeterCIELabFile.h"

namespace linearization {

void RibbonmeterCIELabFile::readMeasurements() {
  labLIndex = 2;
  measuredLab = parseRows(measurementData2DArray);
  finishRead(true);
}

std::vector<CIELab> RibbonmeterCIELabFile::parseRows(const Rows& rows) {
  std::vector<CIELab> readings;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    if (repeatsHeader(rows[r]) || fieldIsEmpty(rows[r], labLIndex)) continue;
    if (const auto reading = readingAt(rows[r], labLIndex, 50.0)) readings.push_back(*reading);
  }
  return readings;
}

}  // namespace linearization
