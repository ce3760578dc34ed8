#include "linearization/readers/QTRLinearizeDataCIELabFile.h"

#include <string>

#include "platform/text/Text.h"

namespace linearization {

void QTRLinearizeDataCIELabFile::readMeasurements() {
  measuredLab = parseRows(measurementData2DArray);
  finishRead(false);
}

std::vector<CIELab> QTRLinearizeDataCIELabFile::parseRows(const Rows& rows) {
  for (const auto& row : rows) log(platform::text::join(row, "\t"));
  labLIndex = 2;
  std::vector<CIELab> readings;
  if (rows.size() < 10) return readings;
  // Three header rows before the data, six trailing rows after them.
  for (std::size_t r = 3; r + 6 < rows.size(); ++r) {
    log(std::to_string(r) + "\t" + platform::text::join(rows[r], "\t"));
    if (const auto reading = readingFromFields(rows[r], labLIndex, 50.0)) readings.push_back(*reading);
  }
  return readings;
}

}  // namespace linearization
