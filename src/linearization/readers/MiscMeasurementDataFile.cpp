#include "linearization/readers/MiscMeasurementDataFile.h"

#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {
// What a single-column value that is not a number reads as.
constexpr double kSingleColumnDefault = 0.02;
}  // namespace

void MiscMeasurementDataFile::readMeasurements() {
  labLIndex = 0;
  const Rows& rows = measurementData2DArray;
  if (!rows.empty() && rows[0].size() >= 2) {
    measuredLab = parseRows(rows);
  } else {
    temp = readSingleColumn();
    measuredLab.clear();
    for (double value : temp) measuredLab.push_back(CIELab{value, 0.0, 0.0});
  }
  finishRead(false);
}

std::vector<CIELab> MiscMeasurementDataFile::parseRows(const Rows& rows) {
  std::vector<CIELab> readings;
  // The header is row 0; every row after it holds a reading, the darkest
  // patch in the last one. Blank lines are gone already, so a final line
  // break leaves no empty row to pass over. A last row whose L* is not a
  // number (a closing note, a total) holds no reading.
  for (std::size_t r = 1; r < rows.size(); ++r) {
    if (repeatsHeader(rows[r]) || fieldIsEmpty(rows[r], 0)) continue;
    if (r + 1 == rows.size() && !text::parseDouble(text::trimWhitespaceAndNewlinesView(rows[r][0]))) continue;
    if (const auto reading = readingAt(rows[r], labLIndex, 50.0)) readings.push_back(*reading);
  }
  return readings;
}

std::vector<double> MiscMeasurementDataFile::readSingleColumn() {
  std::vector<double> values;
  const Rows& rows = measurementData2DArray;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    if (repeatsHeader(rows[r])) continue;
    // Trimmed, so the carriage return a CR LF file leaves at each line's end
    // does not turn every value into the default.
    const std::string_view field = rows[r][0];
    const std::optional<double> value = text::parseDouble(text::trimWhitespaceAndNewlinesView(field));
    if (!value) noteDefault(rows[r].lineNumber(), 0, "L*", field, kSingleColumnDefault);
    values.push_back(value.value_or(kSingleColumnDefault));
    noteReadingLine(rows[r].lineNumber());
  }
  return values;
}

}  // namespace linearization
