#include "linearization/readers/CgatsDataBlock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {

// Where a field of the sorted sets is not a number, L* reads as 1.0.
constexpr double kDefaultL = 1.0;

// The largest device value a patch may be named by (16 bits), and the
// places after the point that tell two values apart.
constexpr double kLargestDeviceValue = 65535.0;
constexpr double kDeviceValueScale = 1e6;

std::string rowsFollow(int64_t count) {
  if (count == 0) return "no rows follow";
  return std::to_string(count) + (count == 1 ? " row follows" : " rows follow");
}

}  // namespace

void CgatsDataBlock::readDataBlock(const Fields& columnNames) {
  const auto column = [&](std::string_view name) {
    const auto found = columnNames.find(name);
    return found ? static_cast<int64_t>(*found) : int64_t{-1};
  };
  lumIndex = column("RGB_R");
  labLIndex = column("LAB_L");
  // GRAY_K (or RGB_B) may be the last name, its line's carriage return still
  // on it.
  const auto lastColumn = [&](std::string_view wanted) {
    int64_t at = 0;
    for (const std::string_view name : columnNames) {
      if (text::trimNewlinesView(name) == wanted) return at;
      ++at;
    }
    return int64_t{-1};
  };
  grayIndex = lastColumn("GRAY_K");
  greenIndex = lastColumn("RGB_G");
  blueIndex = lastColumn("RGB_B");
  if (labLIndex < 0) {
    // The caller shows the load-error alert, once, for every failed read.
    fail("no LAB_L column among the field names", columnNames.lineNumber());
    return;
  }

  const std::optional<int64_t> sets = readNumberOfSets();
  if (!sets) return;
  totalSamples = *sets;

  std::optional<Rows> data = readDataSets();
  if (!data) return;
  dataSets = std::move(*data);
  dataSetsRead();
  if (!refuseSecondFile()) return;

  measuredLab = parseRows(measurementData2DArray);
  if (failed()) return;
  rowsRead();

  if (!forLinearization) {
    log("For Partitioning.\nReturning measurements without averaging");
    readForPartitioning();
    return;
  }

  if (lumIndex >= 0) {
    if (!sortDataSets()) return;
    // The sorted rows are read again, decimal commas and all: what was noted
    // of the first reading no longer holds.
    forgetDefaults();
    const std::optional<std::vector<CIELab>> sorted = parseDataSets(dataSets);
    if (!sorted) return;
    measuredLab = *sorted;
  } else if (grayIndex >= 0 && !sortByGray()) {
    return;
  }
  const std::optional<StepNames> names = namedSteps();
  if (failed()) return;
  setOfReading = {};
  averageAndInterpolate(true, names ? &*names : nullptr);
}

bool CgatsDataBlock::refuseSecondFile() {
  // Two exports joined ("cat pass1.txt pass2.txt"): the second begins after
  // the first one's data with the first line again. Its readings would be
  // left out without a word.
  const std::vector<std::string>& lines = *rawData;
  const std::optional<std::size_t> begin = beginDataLine();
  if (lines.empty() || !begin) return true;
  const std::string_view first = text::trimWhitespaceAndNewlinesView(lines[0]);
  for (std::size_t at = *begin + 1; at < lines.size(); ++at) {
    if (text::trimWhitespaceAndNewlinesView(lines[at]) != first) continue;
    fail("a second file begins here (the file's first line again, " + quotedField(first) +
             "): two files joined? Read one file at a time, or join their readings in one data block",
         lineNumberOf(at));
    return false;
  }
  return true;
}

std::optional<Rows> CgatsDataBlock::readDataSets() {
  const std::optional<std::size_t> begin = beginDataLine();
  if (!begin) {
    fail("no BEGIN_DATA line");
    return std::nullopt;
  }
  // The count is compared as a difference, so no sum can overflow.
  const std::vector<std::string>& lines = *rawData;
  const auto following = static_cast<int64_t>(lines.size() - (*begin + 1));
  if (totalSamples > following) {
    // The message counts the data rows, not the END_DATA line that closes
    // them, so that it agrees with what the user sees in the file.
    int64_t dataRows = 0;
    for (std::size_t at = *begin + 1; at < lines.size(); ++at, ++dataRows) {
      if (text::trimWhitespaceAndNewlinesView(lines[at]) == "END_DATA") break;
    }
    fail("NUMBER_OF_SETS is " + std::to_string(totalSamples) + " but " + rowsFollow(dataRows) +
             " BEGIN_DATA at line " + std::to_string(lineNumberOf(*begin)),
         numberOfSetsLine);
    return std::nullopt;
  }
  Rows sets;
  sets.reserve(static_cast<std::size_t>(std::max<int64_t>(totalSamples, 0)));
  for (int64_t k = 0; k < totalSamples; ++k) {
    const std::size_t at = *begin + 1 + static_cast<std::size_t>(k);
    sets.emplace_back(lines[at], fieldSeparator(), lineNumberOf(at));
  }
  return sets;
}

std::optional<std::vector<CIELab>> CgatsDataBlock::parseDataSets(const Rows& sets) {
  std::vector<CIELab> readings;
  readings.reserve(sets.size());
  for (const auto& set : sets) {
    const std::optional<CIELab> reading = readingAt(set, labLIndex, kDefaultL, true);
    if (!reading) {
      fail(missingFields(set), set.lineNumber());
      return std::nullopt;
    }
    readings.push_back(*reading);
  }
  return readings;
}

std::optional<std::vector<std::size_t>> CgatsDataBlock::orderOfSets(std::size_t count, const SortKey& key) {
  // A NaN would leave no order.
  std::vector<std::pair<double, std::size_t>> keys;
  keys.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    const Fields& set = dataSets[k];
    if (set.size() <= key.field) {
      fail("the row has no " + key.name + " to sort the rows by" + key.why, set.lineNumber());
      return std::nullopt;
    }
    const std::string_view field = set[key.field];
    const std::optional<double> value =
        text::parseDouble(key.trimmed ? text::trimWhitespaceAndNewlinesView(field) : field);
    if (!value || std::isnan(*value)) {
      fail("the " + key.name + " " + quotedField(field) + " is not a number to sort the rows by" + key.why,
           set.lineNumber());
      return std::nullopt;
    }
    keys.emplace_back(*value, k);
  }
  std::stable_sort(keys.begin(), keys.end(), [&key](const auto& x, const auto& y) {
    return key.falling ? x.first > y.first : x.first < y.first;
  });
  std::vector<std::size_t> order;
  order.reserve(count);
  for (const auto& k : keys) order.push_back(k.second);
  return order;
}

bool CgatsDataBlock::sortDataSets() {
  // The third field is read whole, untrimmed.
  const auto order = orderOfSets(dataSets.size(), {2, false, true, "third field", " (RGB_R is named)"});
  if (!order) return false;
  Rows sorted;
  sorted.reserve(dataSets.size());
  for (const std::size_t k : *order) sorted.push_back(dataSets[k]);
  dataSets = std::move(sorted);
  return true;
}

bool CgatsDataBlock::sortByGray() {
  // The readings stay as the rows gave them (a CGATS read may have stopped at
  // END_DATA, before the last set); only their order changes. Trimmed, as
  // GRAY_K may be the last field of a line that ends in a carriage return.
  const auto order =
      orderOfSets(measuredLab.size(), {static_cast<std::size_t>(grayIndex), true, false, "GRAY_K field", ""});
  if (!order) return false;
  std::vector<CIELab> sorted;
  sorted.reserve(measuredLab.size());
  for (const std::size_t k : *order) sorted.push_back(measuredLab[k]);
  measuredLab = std::move(sorted);
  setOfReading = std::move(*order);
  return true;
}

namespace {

// The device values that name a reading's step: RGB_R, RGB_G and RGB_B (those
// the file has), or GRAY_K; signed so that paper white is the largest.
using StepKey = std::array<double, 3>;

// Reads the keys of a data block's sets and tells what they name.
class StepKeys {
 public:
  StepKeys(std::vector<std::size_t> columns, std::vector<const char*> names, double toWhite)
      : columns_(std::move(columns)), names_(std::move(names)), toWhite_(toWhite) {}

  std::size_t size() const { return columns_.size(); }
  const std::vector<std::size_t>& columns() const { return columns_; }

  // The key of a set; nothing where a value is missing, not a number, or
  // outside the device values (`outside` then says which, and its line).
  std::optional<StepKey> of(const Fields& set) {
    StepKey key{};
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      if (columns_[c] >= set.size()) return std::nullopt;
      const std::string field = text::replaceAll(text::trimWhitespaceAndNewlinesView(set[columns_[c]]), ",", ".");
      const std::optional<double> value = text::parseDouble(field);
      if (!value || std::isnan(*value)) return std::nullopt;
      if (!(*value >= 0 && *value <= kLargestDeviceValue)) {
        if (!outside) {
          outside = "the " + std::string(names_[c]) + " value " + quotedField(field) +
                    " lies outside the device values 0 to 65535 that name a patch";
          outsideLine = set.lineNumber();
        }
        return std::nullopt;
      }
      // Values that differ only by the rounding of their text (1e-12) name
      // one patch.
      key[c] = toWhite_ * std::round(*value * kDeviceValueScale) / kDeviceValueScale;
    }
    return key;
  }

  // `later` lies at or past `earlier` on the way from paper white: no value
  // comes back toward white.
  bool darkerOrSame(const StepKey& later, const StepKey& earlier) const {
    for (std::size_t c = 0; c < columns_.size(); ++c)
      if (later[c] > earlier[c]) return false;
    return true;
  }

  // Where the key places its step on the input axis: the mean of its values
  // (R, G and B are equal on a wedge of greys).
  double label(const StepKey& key) const {
    double sum = 0;
    for (std::size_t c = 0; c < columns_.size(); ++c) sum += key[c];
    return sum / static_cast<double>(columns_.size());
  }

  std::optional<std::string> outside;
  int64_t outsideLine = 0;

 private:
  std::vector<std::size_t> columns_;
  std::vector<const char*> names_;
  double toWhite_;
};

}  // namespace

std::optional<StepNames> CgatsDataBlock::namedSteps() {
  // The columns that name the steps, with their names for the messages.
  std::vector<std::size_t> columns;
  std::vector<const char*> columnNames;
  const auto name = [&](int64_t at, const char* columnName) {
    if (at < 0) return;
    columns.push_back(static_cast<std::size_t>(at));
    columnNames.push_back(columnName);
  };
  if (lumIndex >= 0) {
    name(lumIndex, "RGB_R");
    name(greenIndex, "RGB_G");
    name(blueIndex, "RGB_B");
  } else {
    name(grayIndex, "GRAY_K");
  }
  if (columns.empty()) return std::nullopt;
  // Paper white has the highest RGB values, and GRAY_K 0.
  StepKeys keys(std::move(columns), std::move(columnNames), lumIndex >= 0 ? 1.0 : -1.0);
  const std::size_t n = measuredLab.size();
  std::vector<StepKey> keyOfReading;
  keyOfReading.reserve(n);
  for (std::size_t k = 0; k < n; ++k) {
    const std::optional<StepKey> key = keys.of(setOf(k));
    if (keys.outside) {
      fail(*keys.outside, keys.outsideLine);
      return std::nullopt;
    }
    if (!key) return std::nullopt;
    keyOfReading.push_back(*key);
  }
  StepNames names;
  names.namedBy = lumIndex < 0 ? "GRAY_K value" : keys.size() == 1 ? "RGB_R value" : "RGB values";
  // The distinct keys from paper white on, which must lie on one ramp from
  // white to black, each darker in every value than the one before.
  // Rows in the order of one of the values already need no sort.
  std::vector<StepKey> distinct = keyOfReading;
  if (!std::is_sorted(distinct.begin(), distinct.end(), std::greater<>()))
    std::sort(distinct.begin(), distinct.end(), std::greater<>());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  for (std::size_t d = 1; d < distinct.size(); ++d)
    if (!keys.darkerOrSame(distinct[d], distinct[d - 1])) {
      refuseColourChart(keys.columns(), keyOfReading);
      return std::nullopt;
    }
  names.steps = static_cast<int64_t>(distinct.size());
  if (names.steps < 2) return std::nullopt;
  names.stepOf.reserve(n);
  for (const StepKey& key : keyOfReading)
    names.stepOf.push_back(static_cast<int32_t>(
        std::lower_bound(distinct.begin(), distinct.end(), key, std::greater<>()) - distinct.begin()));
  std::vector<double> labels;
  for (const StepKey& key : distinct) labels.push_back(keys.label(key));
  names.positions = positionsOfLabels(labels);
  return names;
}

const Fields& CgatsDataBlock::setOf(std::size_t reading) const {
  return dataSets[setOfReading.empty() ? reading : setOfReading[reading]];
}

void CgatsDataBlock::refuseColourChart(const std::vector<std::size_t>& columns, const std::vector<std::array<double, 3>>& keys) {
  // A colour chart: name the first patch whose values differ.
  std::size_t colour = 0;
  while (colour + 1 < keys.size() &&
         std::equal(keys[colour].begin() + 1, keys[colour].begin() + static_cast<std::ptrdiff_t>(columns.size()),
                    keys[colour].begin()))
    ++colour;
  std::string values;
  for (const std::size_t c : columns)
    values += (values.empty() ? "" : ", ") + std::string(text::trimWhitespaceAndNewlinesView(setOf(colour)[c]));
  fail("no wedge layout fits " + std::to_string(keys.size()) +
           " readings: their RGB values name colour patches, not the steps of one wedge (" + values + ")",
       setOf(colour).lineNumber());
}

std::string CgatsDataBlock::missingFields(const Fields& row) const {
  const std::size_t count = row.size();
  return "the row has " + std::to_string(count) + (count == 1 ? " field" : " fields") +
         ", but L*, a* and b* are fields " + std::to_string(labLIndex + 1) + " to " + std::to_string(labLIndex + 3) +
         " (LAB_L and the two after it)";
}

}  // namespace linearization
