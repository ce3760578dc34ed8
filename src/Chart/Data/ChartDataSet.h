#pragma once

#include <functional>

#include "Chart/Data/ChartBaseDataSet.h"

namespace chart {

// A data set that holds its entries in a list in ascending x, caches the
// smallest and largest x and y of its entries, and finds entries by x with
// binary searches. Every concrete data set derives from it.
//
// The order is expected, not enforced: only addEntryOrdered places an entry
// by its x; addEntry, append, writes by index and the list setters store what
// they are given. Entries are never null: addEntry and addEntryOrdered refuse
// a null entry (false), the other edits throw std::invalid_argument.
//
// The extremes are a cache. Edits that remove or replace entries recompute
// them (they notify); edits that add or overwrite only widen them, so an
// overwritten entry's values stay counted until the next notify. Changing an
// entry's x or y in place goes unseen until notifyDataSetChanged().
class ChartDataSet : public ChartBaseDataSet {
 public:
  static constexpr double unsetMinimum = std::numeric_limits<double>::max();
  static constexpr double unsetMaximum = -std::numeric_limits<double>::max();

  // No entries, label "DataSet".
  ChartDataSet() = default;
  explicit ChartDataSet(std::optional<std::string> label) : ChartDataSet(std::vector<EntryPtr>{}, std::move(label)) {}
  explicit ChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label = "DataSet");
  // `count` times the same entry object (a negative count throws
  // std::out_of_range).
  static std::shared_ptr<ChartDataSet> repeating(const EntryPtr& entry, int64_t count);

  std::string className() const override { return "ChartDataSet"; }

  virtual const std::vector<EntryPtr>& values() const { return entries(); }
  virtual const std::vector<EntryPtr>& entries() const { return entries_; }
  // Stores the list; the extremes stay as they were.
  virtual void setEntries(std::vector<EntryPtr> entries);
  // Stores the list and recomputes the extremes.
  virtual void replaceEntries(std::vector<EntryPtr> entries);

  // Widen the extremes by one entry. Derived sets override them to count
  // more than x and y (stacks, high and low).
  virtual void calcMinMaxXForEntry(const ChartDataEntry& entry);
  virtual void calcMinMaxYForEntry(const ChartDataEntry& entry);
  virtual void calcMinMaxForEntry(const ChartDataEntry& entry);

  void calcMinMax() override;
  // Resets the y extremes only and widens them by the entries from the last
  // one at or before fromX to the first one at or after toX.
  void calcMinMaxY(double fromX, double toX) override;
  double yMin() const override { return yMin_; }
  double yMax() const override { return yMax_; }
  double xMin() const override { return xMin_; }
  double xMax() const override { return xMax_; }

  int64_t entryCount() const override { return static_cast<int64_t>(entries().size()); }
  EntryPtr entryForIndex(int64_t index) const override;
  EntryPtr entryForXValue(double x, double closestToY, ChartDataSetRounding rounding) const override;
  // Rounding `closest`.
  EntryPtr entryForXValue(double x, double closestToY) const override;
  // Every entry exactly at x, in list order.
  std::vector<EntryPtr> entriesForXValue(double x) const override;
  // The binary search of the x searches: the entry nearest x (between two
  // at equal distance, the left one unless it lies below x), moved by the
  // rounding; then, when closestToY is a number, among the entries sharing
  // the x found, the one whose y is nearest (the later one on a tie).
  // -1 for an empty set and for a NaN x.
  int64_t entryIndex(double x, double closestToY, ChartDataSetRounding rounding) const override;
  // The first stored entry equal to the given one (the same object, or the
  // same x and y); -1 when none is.
  int64_t entryIndex(const EntryPtr& entry) const override;

  // Widens, then appends (the order is not checked).
  bool addEntry(const EntryPtr& entry) override;
  // Widens, then inserts the entry at its place by x, so a sorted list stays
  // sorted; among entries with its x it goes next to the one whose y is
  // nearest.
  bool addEntryOrdered(const EntryPtr& entry) override;
  // Removes the first stored entry equal to the given one and recomputes.
  bool removeEntry(const EntryPtr& entry) override;
  bool removeFirst() override;
  bool removeLast() override;
  bool contains(const EntryPtr& entry) const override { return entryIndex(entry) >= 0; }
  // Empties the list (keeping its storage) and recomputes.
  void clear() override { removeAll(true); }

  // The collection face. Indexes run over 0..<entryCount; one outside that
  // throws std::out_of_range and changes nothing.
  const EntryPtr& operator[](int64_t index) const;
  std::vector<EntryPtr>::const_iterator begin() const { return entries().begin(); }
  std::vector<EntryPtr>::const_iterator end() const { return entries().end(); }
  // Widens by the new entry, then overwrites the one at the index.
  void setEntry(int64_t index, const EntryPtr& entry);
  // Overwrites entries lower..<upper one by one with as many new entries
  // (a count that differs throws std::invalid_argument).
  // The list edits take their list by value, so a set may be handed its own
  // entries (set.appendEntries(set.entries()) doubles it).
  void setEntriesInRange(int64_t lower, int64_t upper, std::vector<EntryPtr> newEntries);
  void swapAt(int64_t i, int64_t j);
  // Reorders by writes so that the entries that satisfy the predicate come
  // last; returns the index of the first of them.
  int64_t partition(const std::function<bool(const ChartDataEntry&)>& belongsInSecondPartition);
  void append(const EntryPtr& entry);
  void appendEntries(std::vector<EntryPtr> newEntries);
  // The removals recompute the extremes, also when they remove nothing.
  EntryPtr removeAt(int64_t index);
  // nullptr when the set is empty.
  EntryPtr popFirst();
  EntryPtr popLast();
  void removeFirstEntries(int64_t count);
  void removeLastEntries(int64_t count);
  void removeSubrange(int64_t lower, int64_t upper);
  void removeAll(bool keepingCapacity = false);
  // Storage is the list's own business: nothing happens.
  void reserveCapacity(int64_t) {}

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<ChartDataSet>(); }
  // The settings, then the list (a new list of the same entry objects) and
  // the four extremes.
  void copyInto(ChartBaseDataSet& target) const override;

  // Removes the first stored entry equal to the given one and recomputes;
  // false when none is equal.
  virtual bool remove(const EntryPtr& entry);

  // Lowers the y minimum to `low` and raises the y maximum to `high` where
  // they pass the current ones, for sets whose entries reach further than
  // their y (a stack's sums, a candle's shadow). Strict comparisons keep NaN
  // out.
  void widenYExtremes(double low, double high);

  // A spacing setting clamped into [0, highest]: above highest gives
  // highest, below 0 and -0 give +0, NaN is kept.
  static double clampedSpacing(double value, double highest);

 private:
  void checkIndex(int64_t index) const;
  void checkRange(int64_t lower, int64_t upper) const;
  void checkCount(int64_t count) const;

  std::vector<EntryPtr> entries_;
  double yMax_ = unsetMaximum;
  double yMin_ = unsetMinimum;
  double xMax_ = unsetMaximum;
  double xMin_ = unsetMinimum;
};

}  // namespace chart
