#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Chart/Data/IChartDataSet.h"
#include "Chart/Utils/Highlight.h"

namespace chart {

// Everything one chart shows: its data sets in drawing order, with the
// extremes over all of them, overall and for each y-axis side.
//
// The extremes are a cache: the chart data reads the data sets' own cached
// extremes and never has a set rescan its entries. They are recomputed in
// full by notifyDataChanged() (and so by the constructors, setDataSets,
// clearValues, the data-set removals and a successful entry removal) and only
// widened by addDataSet and addEntry. Whoever edits a data set's entries
// directly calls the set's notifyDataSetChanged() and then this data's
// notifyDataChanged().
//
// Some operations read the stored list, others the virtual dataSets()
// accessor (each says which), so a subclass that presents its sets
// differently through dataSets() changes exactly those. Every member is
// virtual and internal calls go through the virtual.
class ChartData {
 public:
  using Color = platform::graphics::Color;
  using Font = platform::graphics::Font;

  // An unset minimum is the largest finite double, an unset maximum its
  // negative.
  static constexpr double unsetMinimum = std::numeric_limits<double>::max();
  static constexpr double unsetMaximum = -std::numeric_limits<double>::max();

  // No data sets; every extreme unset.
  ChartData() = default;
  // Stores the sets and computes the extremes. A list that holds a null set
  // (here and in setDataSets) throws std::invalid_argument.
  explicit ChartData(std::vector<DataSetPtr> dataSets);
  // One set; nullptr gives no sets.
  explicit ChartData(DataSetPtr dataSet);

  ChartData(const ChartData&) = delete;
  ChartData& operator=(const ChartData&) = delete;
  virtual ~ChartData() = default;

  // Recomputes the extremes: calcMinMax().
  virtual void notifyDataChanged();
  // Every set (stored list) recomputes its y extremes over [fromX, toX],
  // then calcMinMax().
  virtual void calcMinMaxY(double fromX, double toX);
  // Recomputes all eight extremes from the sets' cached ones (stored list;
  // the first set of each side is looked for through dataSets()).
  virtual void calcMinMax();
  // Widen the extremes by one entry on the given side (left, or else right),
  // or by one data set on its own side.
  virtual void calcMinMaxForEntry(const ChartDataEntry& entry, AxisDependency axis);
  virtual void calcMinMaxForDataSet(const IChartDataSet& dataSet);

  // Stored list.
  virtual int64_t dataSetCount() const;
  virtual double yMin() const { return yMin_; }
  virtual double getYMin() const { return yMin(); }
  // The side's smallest y, or the other side's when nothing lies on this
  // side; unsetMinimum when there are no sets at all.
  virtual double getYMin(AxisDependency axis) const;
  virtual double yMax() const { return yMax_; }
  virtual double getYMax() const { return yMax(); }
  virtual double getYMax(AxisDependency axis) const;
  virtual double xMin() const { return xMin_; }
  virtual double xMax() const { return xMax_; }

  // The accessor: the stored list. Assigning stores the list and recomputes.
  virtual const std::vector<DataSetPtr>& dataSets() const { return dataSets_; }
  virtual void setDataSets(std::vector<DataSetPtr> dataSets);

  // The entry a highlight names (its data set by index in dataSets(), then
  // the entry at the closest x, and among those at that x the one nearest
  // its y); nullptr when there is none.
  virtual EntryPtr entryForHighlight(const Highlight& highlight) const;
  // The first set whose label is the text (with ignoreCase, apart from the
  // letter case of ASCII letters); sets without a label never match. The
  // search runs over dataSets(); the set answered is the stored list's at
  // the index found.
  virtual DataSetPtr getDataSetByLabel(std::string_view label, bool ignoreCase) const;
  // Stored list; nullptr outside 0..<dataSetCount.
  virtual DataSetPtr getDataSetByIndex(int64_t index) const;
  // Widens by the set, then appends it (stored list). nullptr is ignored.
  virtual void addDataSet(DataSetPtr dataSet);
  // That very set object (stored list); false when it is not held.
  virtual bool removeDataSet(const DataSetPtr& dataSet);
  virtual bool removeDataSetByIndex(int64_t index);
  // Adds the entry to the set at the index (stored list) and widens the
  // extremes by the set's, which count the entry as the set's kind does.
  // An index out of range logs
  // "ChartData.addEntry() - Cannot add Entry because dataSetIndex too high or too low."
  // and changes nothing.
  virtual void addEntry(const EntryPtr& entry, int64_t dataSetIndex);
  // Removes the entry from the set at the index and recomputes; false when
  // the index is out of range or the set holds no such entry.
  virtual bool removeEntry(const EntryPtr& entry, int64_t dataSetIndex);
  // The set's entry closest to xValue, removed as above.
  virtual bool removeEntryWithXValue(double xValue, int64_t dataSetIndex);
  // The first set (stored list) whose search for the entry's x and y finds
  // that very entry object.
  virtual DataSetPtr getDataSetForEntry(const EntryPtr& entry) const;
  // Index of that very set object in the stored list, or -1.
  virtual int64_t indexOfDataSet(const DataSetPtr& dataSet) const;
  // The first set of the list plotted against the left (right) axis.
  virtual DataSetPtr getFirstLeft(const std::vector<DataSetPtr>& dataSets) const;
  virtual DataSetPtr getFirstRight(const std::vector<DataSetPtr>& dataSets) const;
  // Every set's colours, set after set (stored list).
  virtual std::vector<Color> getColors() const;

  // Assign the value to every set of dataSets().
  virtual void setValueFormatter(std::shared_ptr<IValueFormatter> formatter);
  virtual void setValueTextColor(const Color& color);
  virtual void setValueFont(const Font& font);
  virtual void setDrawValues(bool enabled);
  // True when dataSets() is empty or every set in it is highlight-enabled.
  virtual bool highlightEnabled() const;
  virtual void setHighlightEnabled(bool enabled);
  virtual bool isHighlightEnabled() const { return highlightEnabled(); }

  // Assigns an empty list (which recomputes), then recomputes once more.
  virtual void clearValues();
  // Whether dataSets() holds that very set object.
  virtual bool contains(const DataSetPtr& dataSet) const;
  // The sum of the sets' entry counts (stored list).
  virtual int64_t entryCount() const;
  // The first set of dataSets() with the most entries; nullptr when there
  // are none.
  virtual DataSetPtr maxEntryCountSet() const;

  // Settings kept for the data renderers' accessibility labels.
  virtual const std::optional<std::string>& accessibilityEntryLabelPrefix() const {
    return accessibilityEntryLabelPrefix_;
  }
  virtual void setAccessibilityEntryLabelPrefix(std::optional<std::string> text) {
    accessibilityEntryLabelPrefix_ = std::move(text);
  }
  virtual const std::optional<std::string>& accessibilityEntryLabelSuffix() const {
    return accessibilityEntryLabelSuffix_;
  }
  virtual void setAccessibilityEntryLabelSuffix(std::optional<std::string> text) {
    accessibilityEntryLabelSuffix_ = std::move(text);
  }
  virtual bool accessibilityEntryLabelSuffixIsCount() const { return accessibilityEntryLabelSuffixIsCount_; }
  virtual void setAccessibilityEntryLabelSuffixIsCount(bool isCount) {
    accessibilityEntryLabelSuffixIsCount_ = isCount;
  }

 protected:
  // The entry index that a highlight of a pie or radar chart carries as its
  // x: x truncated toward zero. -1 when x is not a number, infinite or
  // beyond the integer range, which no entry index can be.
  static int64_t entryIndexFromHighlightX(double x);

  double yMax_ = unsetMaximum;
  double yMin_ = unsetMinimum;
  double xMax_ = unsetMaximum;
  double xMin_ = unsetMinimum;
  double leftAxisMax_ = unsetMaximum;
  double leftAxisMin_ = unsetMinimum;
  double rightAxisMax_ = unsetMaximum;
  double rightAxisMin_ = unsetMinimum;
  std::vector<DataSetPtr> dataSets_;

 private:
  // Within the stored list.
  bool isValidIndex(int64_t index) const;

  std::optional<std::string> accessibilityEntryLabelPrefix_;
  std::optional<std::string> accessibilityEntryLabelSuffix_;
  bool accessibilityEntryLabelSuffixIsCount_ = false;
};

}  // namespace chart
