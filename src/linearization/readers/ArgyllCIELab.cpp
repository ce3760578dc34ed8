#include "linearization/readers/ArgyllCIELab.h"

#include <utility>

#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {

constexpr double kDefaultL = 1.0;

// The first row having a field that begins with `keyword`.
std::optional<std::size_t> rowWithFieldBeginning(const Rows& rows, const std::string& keyword) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (const std::string& field : rows[r]) {
      if (field.starts_with(keyword)) return r;
    }
  }
  return std::nullopt;
}

}  // namespace

void ArgyllCIELab::readMeasurements() {
  if (rawData->empty()) {
    log("Can not read loaded measurement data file");
    // The caller shows the load-error alert, once, for every failed read.
    fail("no lines");
    return;
  }
  measurementData2DArray = splitRowsOnSpaces(*rawData);
  const Rows& rows = measurementData2DArray;

  std::optional<std::size_t> format;
  for (std::size_t r = 0; r < rows.size() && !format; ++r) {
    for (const std::string& field : rows[r]) {
      if (field.starts_with("BEGIN_DATA_FORMAT")) {
        format = r;
        break;
      }
      log("Finding Data Format Index");
    }
  }
  if (!format || *format + 1 >= rows.size()) {
    fail("no field names after BEGIN_DATA_FORMAT");
    return;
  }
  const std::vector<std::string>& names = rows[*format + 1];
  readDataBlock(names);
}

void ArgyllCIELab::dataSetsRead() { beginDataRowIndex = static_cast<int64_t>(*beginDataLine()) + 1; }

void ArgyllCIELab::rowsRead() { log("Measured CIELab: " + describe(measuredLab)); }

void ArgyllCIELab::readForPartitioning() { measuredLab = regroupTwentyOneSteps(measuredLab); }

std::optional<int64_t> ArgyllCIELab::readNumberOfSets() {
  const Rows& rows = measurementData2DArray;
  const std::optional<std::size_t> at = rowWithFieldBeginning(rows, "NUMBER_OF_SETS");
  if (!at) {
    fail("no NUMBER_OF_SETS line");
    return std::nullopt;
  }
  if (rows[*at].size() < 2) {
    fail("no value after NUMBER_OF_SETS");
    return std::nullopt;
  }
  const std::optional<int64_t> count = text::parseInt(rows[*at][1]);
  if (!count || *count < 0) {
    fail("NUMBER_OF_SETS is not a count of readings");
    return std::nullopt;
  }
  return count;
}

std::vector<CIELab> ArgyllCIELab::parseRows(const Rows& rows) {
  std::vector<CIELab> readings;
  for (int64_t k = 0; k < totalSamples; ++k) {
    const auto at = static_cast<std::size_t>(beginDataRowIndex + k);
    if (beginDataRowIndex < 0 || at >= rows.size()) {
      fail("NUMBER_OF_SETS asks for more lines than follow BEGIN_DATA");
      return {};
    }
    const std::optional<CIELab> reading = readingFromFields(rows[at], labLIndex, kDefaultL);
    if (!reading) {
      fail("a data row holds no L*, a* and b* at the LAB_L column");
      return {};
    }
    readings.push_back(*reading);
  }
  return readings;
}

Rows ArgyllCIELab::splitRowsOnSpaces(const std::vector<std::string>& lines) const {
  Rows rows;
  for (const std::string& line : lines) rows.push_back(text::split(text::trimNewlines(line), " "));
  return rows;
}

std::optional<std::size_t> ArgyllCIELab::beginDataLine() const {
  const Rows& rows = measurementData2DArray;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string& first = rows[r][0];
    if (first.starts_with("BEGIN_DATA") && !first.starts_with("BEGIN_DATA_FORMAT")) return r;
  }
  return std::nullopt;
}

}  // namespace linearization
