#include "linearization/readers/SpyderPrintFile.h"

#include <string>

namespace linearization {

void SpyderPrintFile::readMeasurements() {
  detectRowIndex();
  chooseLabLIndex();
  measuredLab = parseRows(measurementData2DArray);
  finishRead(true);
  if (forLinearization) log("measuredSamplesPerStep " + std::to_string(samplesPerStep));
}

std::vector<CIELab> SpyderPrintFile::parseRows(const Rows& rows) {
  std::vector<CIELab> readings;
  for (const auto& row : rows) {
    if (repeatsHeader(row) || fieldIsEmpty(row, 0)) continue;
    const auto reading = readingAt(row, labLIndex, 50.0);
    if (!reading) continue;
    if (logging()) log(std::string(row[static_cast<std::size_t>(labLIndex)]));
    readings.push_back(*reading);
  }
  return readings;
}

void SpyderPrintFile::detectRowIndex() {
  const Rows& rows = measurementData2DArray;
  numColumns = rows.empty() ? 0 : static_cast<int64_t>(rows[0].size());
  hasRowIndex = rows.size() >= 2 && rows[0][0].starts_with("1") && rows[1][0].starts_with("2");
}

void SpyderPrintFile::chooseLabLIndex() { labLIndex = hasRowIndex && numColumns == 4 ? 1 : 0; }

}  // namespace linearization
