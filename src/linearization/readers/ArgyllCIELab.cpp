#include "linearization/readers/ArgyllCIELab.h"

#include <algorithm>
#include <utility>

#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {

constexpr double kDefaultL = 1.0;

// The first row having a field that begins with `keyword`.
std::optional<std::size_t> rowWithFieldBeginning(const Rows& rows, std::string_view keyword) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (const std::string_view field : rows[r]) {
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
  bool passedOver = false;
  for (std::size_t r = 0; r < rows.size() && !format; ++r) {
    for (const std::string_view field : rows[r]) {
      if (field.starts_with("BEGIN_DATA_FORMAT")) {
        format = r;
        break;
      }
      passedOver = true;
    }
  }
  // Once, however many fields were passed over: a line of millions of fields
  // would otherwise log millions of lines.
  if (passedOver) log("Finding Data Format Index");
  if (!format) {
    fail("no BEGIN_DATA_FORMAT line");
    return;
  }
  if (*format + 1 >= rows.size()) {
    fail("no field names after BEGIN_DATA_FORMAT", rows[*format].lineNumber());
    return;
  }
  readDataBlock(rows[*format + 1]);
}

void ArgyllCIELab::dataSetsRead() { beginDataRowIndex = static_cast<int64_t>(*beginDataLine()) + 1; }

void ArgyllCIELab::rowsRead() {
  // Read for linearization, the readings are listed as every reader's are,
  // once they are in the order the steps are found in.
  if (!forLinearization && logging()) log("Measured CIELab: " + describe(measuredLab));
}

void ArgyllCIELab::readForPartitioning() { measuredLab = regroupTwentyOneSteps(measuredLab); }

std::optional<int64_t> ArgyllCIELab::readNumberOfSets() {
  const Rows& rows = measurementData2DArray;
  const std::optional<std::size_t> at = rowWithFieldBeginning(rows, "NUMBER_OF_SETS");
  if (!at) {
    fail("no NUMBER_OF_SETS line");
    return std::nullopt;
  }
  const Fields& row = rows[*at];
  numberOfSetsLine = row.lineNumber();
  if (row.size() < 2) {
    fail("no value after NUMBER_OF_SETS", numberOfSetsLine);
    return std::nullopt;
  }
  const std::optional<int64_t> count = text::parseInt(row[1]);
  if (!count || *count < 0) {
    fail("NUMBER_OF_SETS " + quotedField(row[1]) + " is not a count of readings", numberOfSetsLine);
    return std::nullopt;
  }
  return count;
}

std::vector<CIELab> ArgyllCIELab::parseRows(const Rows& rows) {
  std::vector<CIELab> readings;
  readings.reserve(static_cast<std::size_t>(std::max<int64_t>(totalSamples, 0)));
  for (int64_t k = 0; k < totalSamples; ++k) {
    const auto at = static_cast<std::size_t>(beginDataRowIndex + k);
    if (beginDataRowIndex < 0 || at >= rows.size()) {
      fail("NUMBER_OF_SETS asks for more rows than follow BEGIN_DATA", numberOfSetsLine);
      return {};
    }
    // The first row without the fields the names declare stops the read.
    const std::optional<CIELab> reading = readingAt(rows[at], labLIndex, kDefaultL);
    if (!reading) {
      fail(missingFields(rows[at]), rows[at].lineNumber());
      return {};
    }
    readings.push_back(*reading);
  }
  return readings;
}

Rows ArgyllCIELab::splitRowsOnSpaces(const std::vector<std::string>& lines) const {
  const bool fromRawData = rawData && &lines == &*rawData;
  Rows rows;
  rows.reserve(lines.size());
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const int64_t number = fromRawData ? lineNumberOf(k) : static_cast<int64_t>(k) + 1;
    rows.emplace_back(text::trimNewlinesView(lines[k]), ' ', number);
  }
  return rows;
}

std::optional<std::size_t> ArgyllCIELab::beginDataLine() const {
  const Rows& rows = measurementData2DArray;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string_view first = rows[r][0];
    if (first.starts_with("BEGIN_DATA") && !first.starts_with("BEGIN_DATA_FORMAT")) return r;
  }
  return std::nullopt;
}

}  // namespace linearization
