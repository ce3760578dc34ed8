#include "Chart/Data/ChartDataSet.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace chart {

namespace {

constexpr double noY = std::numeric_limits<double>::quiet_NaN();

void requireEntry(const EntryPtr& entry) {
  if (!entry) throw std::invalid_argument("ChartDataSet: null entry");
}

void requireEntries(const std::vector<EntryPtr>& entries) {
  for (const auto& e : entries) requireEntry(e);
}

}  // namespace

ChartDataSet::ChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label)
    : ChartBaseDataSet(std::move(label)) {
  requireEntries(entries);
  entries_ = std::move(entries);
  calcMinMax();
}

std::shared_ptr<ChartDataSet> ChartDataSet::repeating(const EntryPtr& entry, int64_t count) {
  if (count < 0) throw std::out_of_range("ChartDataSet: negative count");
  requireEntry(entry);
  auto set = std::make_shared<ChartDataSet>();
  for (int64_t i = 0; i < count; ++i) set->append(entry);
  return set;
}

void ChartDataSet::setEntries(std::vector<EntryPtr> entries) {
  requireEntries(entries);
  entries_ = std::move(entries);
}

void ChartDataSet::replaceEntries(std::vector<EntryPtr> entries) {
  setEntries(std::move(entries));
  notifyDataSetChanged();
}

// Two separate tests, not else-if: the first entry after a reset sets both
// ends. Strict comparisons keep NaN out.
void ChartDataSet::calcMinMaxXForEntry(const ChartDataEntry& entry) {
  const double x = entry.x();
  if (x < xMin_) xMin_ = x;
  if (x > xMax_) xMax_ = x;
}

void ChartDataSet::calcMinMaxYForEntry(const ChartDataEntry& entry) { widenYExtremes(entry.y(), entry.y()); }

void ChartDataSet::widenYExtremes(double low, double high) {
  if (low < yMin_) yMin_ = low;
  if (high > yMax_) yMax_ = high;
}

double ChartDataSet::clampedSpacing(double value, double highest) {
  if (value > highest) return highest;
  if (value <= 0) return 0;  // -0 compares equal to 0 and is stored as +0
  return value;
}

void ChartDataSet::calcMinMaxForEntry(const ChartDataEntry& entry) {
  calcMinMaxXForEntry(entry);
  calcMinMaxYForEntry(entry);
}

void ChartDataSet::calcMinMax() {
  yMax_ = xMax_ = unsetMaximum;
  yMin_ = xMin_ = unsetMinimum;
  for (const auto& e : entries()) calcMinMaxForEntry(*e);
}

void ChartDataSet::calcMinMaxY(double fromX, double toX) {
  yMax_ = unsetMaximum;
  yMin_ = unsetMinimum;
  const auto& list = entries();
  if (list.empty()) return;
  const int64_t from = entryIndex(fromX, noY, ChartDataSetRounding::down);
  const int64_t to = entryIndex(toX, noY, ChartDataSetRounding::up);
  if (from < 0 || to < from) return;
  const int64_t last = std::min(to, static_cast<int64_t>(list.size()) - 1);
  for (int64_t i = from; i <= last; ++i) calcMinMaxYForEntry(*list[static_cast<size_t>(i)]);
}

EntryPtr ChartDataSet::entryForIndex(int64_t index) const {
  if (index < 0 || index >= entryCount()) return nullptr;
  return entries()[static_cast<size_t>(index)];
}

EntryPtr ChartDataSet::entryForXValue(double x, double closestToY, ChartDataSetRounding rounding) const {
  return entryForIndex(entryIndex(x, closestToY, rounding));
}

EntryPtr ChartDataSet::entryForXValue(double x, double closestToY) const {
  return entryForXValue(x, closestToY, ChartDataSetRounding::closest);
}

std::vector<EntryPtr> ChartDataSet::entriesForXValue(double x) const {
  const auto& list = entries();
  auto xAt = [&list](int64_t i) { return list[static_cast<size_t>(i)]->x(); };
  int64_t low = 0;
  int64_t high = static_cast<int64_t>(list.size()) - 1;
  while (low <= high) {
    int64_t m = (low + high) / 2;
    const double mx = xAt(m);
    if (mx == x) {
      while (m > 0 && xAt(m - 1) == x) --m;
      std::vector<EntryPtr> found;
      for (auto i = static_cast<size_t>(m); i < list.size() && list[i]->x() == x; ++i) found.push_back(list[i]);
      return found;
    }
    if (mx < x) {
      low = m + 1;
    } else {
      high = m - 1;
    }
  }
  return {};
}

int64_t ChartDataSet::entryIndex(double x, double closestToY, ChartDataSetRounding rounding) const {
  if (std::isnan(x)) return -1;
  const auto& list = entries();
  const auto count = static_cast<int64_t>(list.size());
  auto xAt = [&list](int64_t i) { return list[static_cast<size_t>(i)]->x(); };

  int64_t low = 0;
  int64_t high = count - 1;
  while (low < high) {
    const int64_t m = (low + high) / 2;
    const double d1 = std::fabs(xAt(m) - x);
    const double d2 = std::fabs(xAt(m + 1) - x);
    if (d2 < d1) {
      low = m + 1;
    } else if (d1 < d2) {
      high = m;
    } else if (xAt(m) - x >= 0) {  // a tie goes left only when the left entry is not below x
      high = m;
    } else {
      low = m + 1;
    }
  }
  if (high == -1) return -1;

  int64_t closest = high;
  const double foundX = xAt(closest);
  if (rounding == ChartDataSetRounding::up) {
    if (foundX < x && closest < count - 1) ++closest;
  } else if (rounding == ChartDataSetRounding::down) {
    if (foundX > x && closest > 0) --closest;
  }
  if (std::isnan(closestToY)) return closest;

  // The y tie-break works on the entries at the x the search found, also
  // when the rounding has moved the index off them.
  while (closest > 0 && xAt(closest - 1) == foundX) --closest;
  double bestY = list[static_cast<size_t>(closest)]->y();
  int64_t best = closest;
  for (int64_t i = closest + 1; i < count && xAt(i) == foundX; ++i) {
    const double y = list[static_cast<size_t>(i)]->y();
    if (std::fabs(y - closestToY) <= std::fabs(bestY - closestToY)) {
      best = i;
      bestY = y;
    }
  }
  return best;
}

int64_t ChartDataSet::entryIndex(const EntryPtr& entry) const {
  const auto& list = entries();
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i]->isEqual(entry.get())) return static_cast<int64_t>(i);
  }
  return -1;
}

bool ChartDataSet::addEntry(const EntryPtr& entry) {
  if (!entry) return false;
  append(entry);
  return true;
}

bool ChartDataSet::addEntryOrdered(const EntryPtr& entry) {
  if (!entry) return false;
  calcMinMaxForEntry(*entry);
  const double x = entry->x();
  const auto count = static_cast<int64_t>(entries_.size());
  if (count > 0 && entries_.back()->x() > x) {
    auto xAt = [this](int64_t i) { return entries_[static_cast<size_t>(i)]->x(); };
    int64_t i = std::max<int64_t>(0, entryIndex(x, entry->y(), ChartDataSetRounding::up));
    while (i < count && xAt(i) < x) ++i;
    // The y tie-break can land past entries whose x is larger than the new
    // one's; step back over them so the list stays sorted.
    while (i > 0 && xAt(i - 1) > x) --i;
    entries_.insert(entries_.begin() + i, entry);
  } else {
    append(entry);
  }
  return true;
}

bool ChartDataSet::removeEntry(const EntryPtr& entry) { return remove(entry); }

bool ChartDataSet::remove(const EntryPtr& entry) {
  const int64_t index = entryIndex(entry);
  if (index < 0) return false;
  entries_.erase(entries_.begin() + index);
  notifyDataSetChanged();
  return true;
}

bool ChartDataSet::removeFirst() { return popFirst() != nullptr; }

bool ChartDataSet::removeLast() { return popLast() != nullptr; }

void ChartDataSet::checkIndex(int64_t index) const {
  if (index < 0 || index >= static_cast<int64_t>(entries_.size())) {
    throw std::out_of_range("ChartDataSet: index " + std::to_string(index) + " outside 0..<" +
                            std::to_string(entries_.size()));
  }
}

void ChartDataSet::checkRange(int64_t lower, int64_t upper) const {
  if (lower < 0 || lower > upper || upper > static_cast<int64_t>(entries_.size())) {
    throw std::out_of_range("ChartDataSet: range " + std::to_string(lower) + "..<" + std::to_string(upper) +
                            " outside 0..<" + std::to_string(entries_.size()));
  }
}

void ChartDataSet::checkCount(int64_t count) const {
  if (count < 0 || count > static_cast<int64_t>(entries_.size())) {
    throw std::out_of_range("ChartDataSet: cannot remove " + std::to_string(count) + " of " +
                            std::to_string(entries_.size()) + " entries");
  }
}

const EntryPtr& ChartDataSet::operator[](int64_t index) const {
  checkIndex(index);
  return entries_[static_cast<size_t>(index)];
}

void ChartDataSet::setEntry(int64_t index, const EntryPtr& entry) {
  checkIndex(index);
  requireEntry(entry);
  calcMinMaxForEntry(*entry);
  entries_[static_cast<size_t>(index)] = entry;
}

void ChartDataSet::setEntriesInRange(int64_t lower, int64_t upper, std::vector<EntryPtr> newEntries) {
  checkRange(lower, upper);
  if (static_cast<int64_t>(newEntries.size()) != upper - lower) {
    throw std::invalid_argument("ChartDataSet: the new entries are not as many as the range holds");
  }
  requireEntries(newEntries);
  for (int64_t i = lower; i < upper; ++i) setEntry(i, newEntries[static_cast<size_t>(i - lower)]);
}

void ChartDataSet::swapAt(int64_t i, int64_t j) {
  checkIndex(i);
  checkIndex(j);
  const EntryPtr first = entries_[static_cast<size_t>(i)];
  setEntry(i, entries_[static_cast<size_t>(j)]);
  setEntry(j, first);
}

int64_t ChartDataSet::partition(const std::function<bool(const ChartDataEntry&)>& belongsInSecondPartition) {
  const auto count = static_cast<int64_t>(entries_.size());
  int64_t i = 0;
  while (i < count && !belongsInSecondPartition(*entries_[static_cast<size_t>(i)])) ++i;
  for (int64_t j = i + 1; j < count; ++j) {
    if (!belongsInSecondPartition(*entries_[static_cast<size_t>(j)])) swapAt(i++, j);
  }
  return i;
}

void ChartDataSet::append(const EntryPtr& entry) {
  requireEntry(entry);
  calcMinMaxForEntry(*entry);
  entries_.push_back(entry);
}

void ChartDataSet::appendEntries(std::vector<EntryPtr> newEntries) {
  requireEntries(newEntries);
  for (const auto& e : newEntries) append(e);
}

EntryPtr ChartDataSet::removeAt(int64_t index) {
  checkIndex(index);
  EntryPtr removed = std::move(entries_[static_cast<size_t>(index)]);
  entries_.erase(entries_.begin() + index);
  notifyDataSetChanged();
  return removed;
}

EntryPtr ChartDataSet::popFirst() { return entries_.empty() ? nullptr : removeAt(0); }

EntryPtr ChartDataSet::popLast() {
  return entries_.empty() ? nullptr : removeAt(static_cast<int64_t>(entries_.size()) - 1);
}

void ChartDataSet::removeFirstEntries(int64_t count) {
  checkCount(count);
  removeSubrange(0, count);
}

void ChartDataSet::removeLastEntries(int64_t count) {
  checkCount(count);
  const auto size = static_cast<int64_t>(entries_.size());
  removeSubrange(size - count, size);
}

void ChartDataSet::removeSubrange(int64_t lower, int64_t upper) {
  checkRange(lower, upper);
  entries_.erase(entries_.begin() + lower, entries_.begin() + upper);
  notifyDataSetChanged();
}

void ChartDataSet::removeAll(bool keepingCapacity) {
  if (keepingCapacity) {
    entries_.clear();
  } else {
    std::vector<EntryPtr>().swap(entries_);
  }
  notifyDataSetChanged();
}

void ChartDataSet::copyInto(ChartBaseDataSet& target) const {
  ChartBaseDataSet::copyInto(target);
  auto& set = dynamic_cast<ChartDataSet&>(target);
  set.setEntries(entries());
  set.yMax_ = yMax();
  set.yMin_ = yMin();
  set.xMax_ = xMax();
  set.xMin_ = xMin();
}

}  // namespace chart
