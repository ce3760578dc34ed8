#include "linearization/readers/DensityMeasurementFile.h"

#include <cmath>

#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

void DensityMeasurementFile::readMeasurements() {
  measuredLab = parseRows(measurementData2DArray);
  finishRead(false);
}

std::vector<CIELab> DensityMeasurementFile::parseRows(const Rows& rows) {
  std::vector<CIELab> readings;
  for (const auto& row : rows) {
    if (repeatsHeader(row)) continue;
    const std::string field = text::replaceAll(text::removeAll(row[0], '\r'), ",", ".");
    const std::optional<double> density = text::parseDouble(field);
    if (!density) continue;
    readings.push_back(CIELab{densityToLstar(*density), 0.0, 0.0});
    noteReadingLine(row.lineNumber());
  }
  return readings;
}

double densityToLstar(double density) {
  const double y = std::pow(10.0, -density);
  const double f = y < 216.0 / 24389.0 ? y * 841.0 / 108.0 + 4.0 / 29.0 : std::cbrt(y);
  return 116.0 * f - 16.0;
}

}  // namespace linearization
