#include "linearization/readers/CgatsCIELab.h"

#include <algorithm>
#include <cmath>

#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {

constexpr double kDefaultL = 1.0;

std::string trimSpacesAndTabs(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

namespace cgats {

int64_t indexOfName(const std::vector<std::string>& names, const std::string& name) {
  const auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : static_cast<int64_t>(found - names.begin());
}

bool sortByThirdFieldDescending(Rows& sets) {
  std::vector<std::pair<double, std::size_t>> keys;
  for (std::size_t k = 0; k < sets.size(); ++k) {
    if (sets[k].size() < 3) return false;
    const std::optional<double> key = text::parseDouble(sets[k][2]);
    if (!key || std::isnan(*key)) return false;
    keys.emplace_back(*key, k);
  }
  std::stable_sort(keys.begin(), keys.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
  Rows sorted;
  sorted.reserve(sets.size());
  for (const auto& key : keys) sorted.push_back(std::move(sets[key.second]));
  sets = std::move(sorted);
  return true;
}

std::optional<std::vector<CIELab>> readingsOfDataSets(const Rows& sets, int64_t labLIndex) {
  std::vector<CIELab> readings;
  for (const auto& set : sets) {
    const std::optional<CIELab> reading = MeasurementData::readingFromFields(set, labLIndex, kDefaultL, true);
    if (!reading) return std::nullopt;
    readings.push_back(*reading);
  }
  return readings;
}

std::optional<Rows> dataSetsAfter(const std::vector<std::string>& lines, std::size_t begin, int64_t count,
                                  const std::string& separator) {
  const auto following = static_cast<int64_t>(lines.size() - (begin + 1));
  if (count > following) return std::nullopt;
  Rows sets;
  sets.reserve(static_cast<std::size_t>(std::max<int64_t>(count, 0)));
  for (int64_t k = 0; k < count; ++k) {
    sets.push_back(text::split(lines[begin + 1 + static_cast<std::size_t>(k)], separator));
  }
  return sets;
}

}  // namespace cgats

void CgatsCIELab::readMeasurements() {
  const std::optional<std::string> fields = readNumberOfFields();
  if (!fields) return;
  numOfFields = *fields;

  const std::optional<std::size_t> format = lineBeginningWith("BEGIN_DATA_FORMAT");
  const std::vector<std::string>& lines = *rawData;
  if (!format || *format + 1 >= lines.size()) {
    fail("no field names after BEGIN_DATA_FORMAT");
    return;
  }
  const std::vector<std::string> names = text::split(lines[*format + 1], "\t");
  lumIndex = cgats::indexOfName(names, "RGB_R");
  labLIndex = cgats::indexOfName(names, "LAB_L");
  if (labLIndex < 0) {
    // The caller shows the load-error alert, once, for every failed read.
    fail("no LAB_L column");
    return;
  }

  const std::optional<int64_t> sets = readNumberOfSets();
  if (!sets) return;
  totalSamples = *sets;

  std::optional<Rows> data = readDataSets();
  if (!data) return;
  dataSets = std::move(*data);

  measuredLab = parseRows(measurementData2DArray);
  if (failed()) return;

  if (!forLinearization) {
    log("For Partitioning.\nReturning measurements without averaging");
    return;
  }

  if (lumIndex >= 0) {
    if (!sortDataSets()) return;
    const std::optional<std::vector<CIELab>> sorted = parseDataSets(dataSets);
    if (!sorted) return;
    measuredLab = *sorted;
  }
  averageAndInterpolate(true);
}

std::optional<std::string> CgatsCIELab::readNumberOfFields() {
  const std::optional<std::size_t> at = lineBeginningWith("NUMBER_OF_FIELDS");
  if (!at) {
    fail("no NUMBER_OF_FIELDS line");
    return std::nullopt;
  }
  const std::vector<std::string> fields = text::split((*rawData)[*at], "\t");
  if (fields.size() < 2) {
    fail("no value after NUMBER_OF_FIELDS");
    return std::nullopt;
  }
  return fields[1];
}

std::optional<int64_t> CgatsCIELab::readNumberOfSets() {
  const std::optional<std::size_t> at = lineBeginningWith("NUMBER_OF_SETS");
  if (!at) {
    fail("no NUMBER_OF_SETS line");
    return std::nullopt;
  }
  const std::vector<std::string> fields = text::split((*rawData)[*at], "\t");
  if (fields.size() < 2) {
    fail("no value after NUMBER_OF_SETS");
    return std::nullopt;
  }
  const std::optional<int64_t> count = text::parseInt(text::removeAll(text::removeAll(fields[1], ' '), '\r'));
  if (!count || *count < 0) {
    fail("NUMBER_OF_SETS is not a count of readings");
    return std::nullopt;
  }
  return count;
}

std::optional<Rows> CgatsCIELab::readDataSets() {
  const std::optional<std::size_t> begin = beginDataLine();
  if (!begin) {
    fail("no BEGIN_DATA line");
    return std::nullopt;
  }
  auto sets = cgats::dataSetsAfter(*rawData, *begin, totalSamples, "\t");
  if (!sets) fail("NUMBER_OF_SETS asks for more lines than follow BEGIN_DATA");
  return sets;
}

std::vector<CIELab> CgatsCIELab::parseRows(const Rows& rows) {
  std::vector<CIELab> readings;
  const std::optional<std::size_t> begin = beginDataLine();
  if (!begin) {
    fail("no BEGIN_DATA line");
    return readings;
  }
  for (int64_t k = 0; k < totalSamples; ++k) {
    const std::size_t at = *begin + 1 + static_cast<std::size_t>(k);
    if (at >= rows.size()) {
      fail("NUMBER_OF_SETS asks for more lines than follow BEGIN_DATA");
      return {};
    }
    const std::vector<std::string>& row = rows[at];
    if (row.size() == 1 && row[0] == "END_DATA") break;
    const std::optional<CIELab> reading = readingFromFields(row, labLIndex, kDefaultL);
    if (!reading) {
      fail("a data row holds no L*, a* and b* at the LAB_L column");
      return {};
    }
    readings.push_back(*reading);
  }
  return readings;
}

std::optional<std::vector<CIELab>> CgatsCIELab::parseDataSets(const Rows& sets) {
  std::optional<std::vector<CIELab>> readings = cgats::readingsOfDataSets(sets, labLIndex);
  if (!readings) fail("a data set holds no L*, a* and b* at the LAB_L column");
  return readings;
}

bool CgatsCIELab::sortDataSets() {
  if (cgats::sortByThirdFieldDescending(dataSets)) return true;
  fail("a data set has no number in its third field to sort by");
  return false;
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
    const std::string line = trimSpacesAndTabs(lines[k]);
    if (line.starts_with("BEGIN_DATA") && !line.starts_with("BEGIN_DATA_FORMAT")) return k;
  }
  return std::nullopt;
}

}  // namespace linearization
