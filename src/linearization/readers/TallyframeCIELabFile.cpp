#include "linearization/readers/TallyframeCIELabFile.h"

#include "linearization/WedgeLayout.h"
#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

std::vector<CIELab> TallyframeCIELabFile::parseRows(const Rows& rows) {
  labLIndex = 1;
  std::vector<CIELab> readings;
  grays.clear();
  graysNamed_ = true;
  // Row 0 is the tool's "GRAY" header.
  for (std::size_t r = 1; r < rows.size(); ++r) {
    if (repeatsHeader(rows[r]) || rows[r].size() < 2 || fieldIsEmpty(rows[r], labLIndex)) continue;
    const auto reading = readingAt(rows[r], labLIndex, 50.0);
    if (!reading) continue;
    readings.push_back(*reading);
    if (!graysNamed_) continue;
    const std::string gray = text::replaceAll(text::trimWhitespaceAndNewlinesView(rows[r][0]), ",", ".");
    if (const auto value = text::parseDouble(gray))
      grays.push_back(*value);
    else
      graysNamed_ = false;
  }
  if (!graysNamed_) grays.clear();
  return readings;
}

void TallyframeCIELabFile::readMeasurements() {
  measuredLab = parseRows(measurementData2DArray);
  if (forLinearization && graysNamed_ && !measuredLab.empty()) {
    // Steps are named by every reading's GRAY value or not at all.
    if (const auto names = stepsNamedByValues(grays, /*whiteIsLowest=*/true, "GRAY value")) {
      averageAndInterpolate(false, &*names);
      return;
    }
  }
  finishRead(true);
}

}  // namespace linearization
