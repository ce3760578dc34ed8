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
  measuredLab = parseRows(measurementData2DArray);
  // A file as the program writes it (its 256 smoothed readings, numbered 1
  // to 256) names each reading's step by its number: one reading a step,
  // however its smoothing left them, so that whatever the program writes it
  // reads back. Any other file of this format is read as every other file
  // is, so that repeated readings in it are found out.
  if (!failed() && forLinearization && writtenByTheProgram()) {
    StepNames names;
    names.namedBy = "step number";
    names.steps = kWrittenReadings;
    for (int32_t step = 0; step < kWrittenReadings; ++step) names.stepOf.push_back(step);
    averageAndInterpolate(false, &names);
    return;
  }
  finishRead(false);
}

bool HLVCIELabFile::writtenByTheProgram() const {
  const Rows& rows = measurementData2DArray;
  if (measuredLab.size() != static_cast<std::size_t>(kWrittenReadings) || rows.size() != measuredLab.size() + 2)
    return false;
  for (std::size_t r = 2; r < rows.size(); ++r)
    if (rows[r][0] != std::to_string(r - 1)) return false;
  return true;
}

}  // namespace linearization
