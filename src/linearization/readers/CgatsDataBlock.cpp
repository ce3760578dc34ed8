#include "linearization/readers/CgatsDataBlock.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {

// Where a field of the sorted sets is not a number, L* reads as 1.0.
constexpr double kDefaultL = 1.0;

}  // namespace

void CgatsDataBlock::readDataBlock(const std::vector<std::string>& columnNames) {
  const auto column = [&](const std::string& name) {
    const auto found = std::find(columnNames.begin(), columnNames.end(), name);
    return found == columnNames.end() ? int64_t{-1} : static_cast<int64_t>(found - columnNames.begin());
  };
  lumIndex = column("RGB_R");
  labLIndex = column("LAB_L");
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
  dataSetsRead();

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
    const std::optional<std::vector<CIELab>> sorted = parseDataSets(dataSets);
    if (!sorted) return;
    measuredLab = *sorted;
  }
  averageAndInterpolate(true);
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
    fail("NUMBER_OF_SETS asks for more lines than follow BEGIN_DATA");
    return std::nullopt;
  }
  Rows sets;
  sets.reserve(static_cast<std::size_t>(std::max<int64_t>(totalSamples, 0)));
  for (int64_t k = 0; k < totalSamples; ++k) {
    sets.push_back(text::split(lines[*begin + 1 + static_cast<std::size_t>(k)], fieldSeparator()));
  }
  return sets;
}

std::optional<std::vector<CIELab>> CgatsDataBlock::parseDataSets(const Rows& sets) {
  std::vector<CIELab> readings;
  for (const auto& set : sets) {
    const std::optional<CIELab> reading = readingFromFields(set, labLIndex, kDefaultL, true);
    if (!reading) {
      fail("a data set holds no L*, a* and b* at the LAB_L column");
      return std::nullopt;
    }
    readings.push_back(*reading);
  }
  return readings;
}

bool CgatsDataBlock::sortDataSets() {
  // The third field is read whole, untrimmed; a NaN would leave no order.
  std::vector<std::pair<double, std::size_t>> keys;
  for (std::size_t k = 0; k < dataSets.size(); ++k) {
    const std::optional<double> key =
        dataSets[k].size() < 3 ? std::nullopt : text::parseDouble(dataSets[k][2]);
    if (!key || std::isnan(*key)) {
      fail("a data set has no number in its third field to sort by");
      return false;
    }
    keys.emplace_back(*key, k);
  }
  std::stable_sort(keys.begin(), keys.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
  Rows sorted;
  sorted.reserve(dataSets.size());
  for (const auto& key : keys) sorted.push_back(std::move(dataSets[key.second]));
  dataSets = std::move(sorted);
  return true;
}

}  // namespace linearization
