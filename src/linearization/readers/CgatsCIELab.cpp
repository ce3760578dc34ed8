#include "linearization/readers/CgatsCIELab.h"

#include <algorithm>
#include <cmath>

#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {

constexpr double kDefaultL = 1.0;

std::string_view trimSpacesAndTabs(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void CgatsCIELab::readMeasurements() {
  const std::optional<std::string> fields = readNumberOfFields();
  if (!fields) return;
  numOfFields = *fields;

  const std::optional<std::size_t> format = lineBeginningWith("BEGIN_DATA_FORMAT");
  const std::vector<std::string>& lines = *rawData;
  if (!format) {
    fail("no BEGIN_DATA_FORMAT line");
    return;
  }
  if (*format + 1 >= lines.size()) {
    fail("no field names after BEGIN_DATA_FORMAT", lineNumberOf(*format));
    return;
  }
  readDataBlock(Fields(lines[*format + 1], '\t', lineNumberOf(*format + 1)));
}

std::optional<std::string> CgatsCIELab::readNumberOfFields() {
  const std::optional<std::size_t> at = lineBeginningWith("NUMBER_OF_FIELDS");
  if (!at) {
    fail("no NUMBER_OF_FIELDS line");
    return std::nullopt;
  }
  const Fields fields((*rawData)[*at], '\t', lineNumberOf(*at));
  if (fields.size() < 2) {
    fail("no value after NUMBER_OF_FIELDS", fields.lineNumber());
    return std::nullopt;
  }
  return std::string(fields[1]);
}

std::optional<int64_t> CgatsCIELab::readNumberOfSets() {
  const std::optional<std::size_t> at = lineBeginningWith("NUMBER_OF_SETS");
  if (!at) {
    fail("no NUMBER_OF_SETS line");
    return std::nullopt;
  }
  const Fields fields((*rawData)[*at], '\t', lineNumberOf(*at));
  numberOfSetsLine = fields.lineNumber();
  if (fields.size() < 2) {
    fail("no value after NUMBER_OF_SETS", numberOfSetsLine);
    return std::nullopt;
  }
  const std::optional<int64_t> count = text::parseInt(text::removeAll(text::removeAll(fields[1], ' '), '\r'));
  if (!count || *count < 0) {
    fail("NUMBER_OF_SETS " + quotedField(fields[1]) + " is not a count of readings", numberOfSetsLine);
    return std::nullopt;
  }
  return count;
}

std::vector<CIELab> CgatsCIELab::parseRows(const Rows& rows) {
  std::vector<CIELab> readings;
  const std::optional<std::size_t> begin = beginDataLine();
  if (!begin) {
    fail("no BEGIN_DATA line");
    return readings;
  }
  readings.reserve(static_cast<std::size_t>(std::max<int64_t>(totalSamples, 0)));
  for (int64_t k = 0; k < totalSamples; ++k) {
    const std::size_t at = *begin + 1 + static_cast<std::size_t>(k);
    if (at >= rows.size()) {
      fail("NUMBER_OF_SETS asks for more rows than follow BEGIN_DATA", numberOfSetsLine);
      return {};
    }
    const Fields& row = rows[at];
    if (row.line() == "END_DATA") break;
    // The first row without the fields the names declare stops the read, so
    // no later row is looked at.
    const std::optional<CIELab> reading = readingAt(row, labLIndex, kDefaultL);
    if (!reading) {
      fail(missingFields(row), row.lineNumber());
      return {};
    }
    readings.push_back(*reading);
  }
  return readings;
}

std::optional<std::size_t> CgatsCIELab::lineBeginningWith(const std::string& keyword) const {
  const std::vector<std::string>& lines = *rawData;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].starts_with(keyword)) return k;
  }
  return std::nullopt;
}

std::optional<std::size_t> CgatsCIELab::beginDataLine() const {
  const std::vector<std::string>& lines = *rawData;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string_view line = trimSpacesAndTabs(lines[k]);
    if (line.starts_with("BEGIN_DATA") && !line.starts_with("BEGIN_DATA_FORMAT")) return k;
  }
  return std::nullopt;
}

}  // namespace linearization
