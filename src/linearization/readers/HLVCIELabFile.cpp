#include "linearization/readers/HLVCIELabFile.h"

namespace linearization {

std::vector<CIELab> HLVCIELabFile::parseRows(const Rows& rows) {
  labLIndex = 1;
  std::vector<CIELab> readings;
  // Rows 0 and 1 are the title and the column titles.
  for (std::size_t r = 2; r < rows.size(); ++r) {
    if (rows[r].size() < 2 || fieldIsEmpty(rows[r], labLIndex)) continue;
    if (const auto reading = readingAt(rows[r], labLIndex, 50.0)) readings.push_back(*reading);
  }
  return readings;
}

void HLVCIELabFile::readMeasurements() {
  measuredLab = parseRows(measurementData2DArray);
  if (!forLinearization) return;
  // The file holds one reading per step already.
  samplesPerStep = 1;
  layout = WedgeLayout::oneReadingAStep(static_cast<int64_t>(measuredLab.size()));
  averagedMeasurements = measuredLab;
  interpolateAveraged();
}

}  // namespace linearization
