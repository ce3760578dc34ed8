#pragma once

#include "Chart/Data/ChartData.h"
#include "Chart/Data/IPieChartDataSet.h"

namespace chart {

// The chart data of a pie chart. A pie draws one data set: the look-ups
// below answer from the first set only, and sets cannot be removed by index.
class PieChartData : public ChartData {
 public:
  using ChartData::ChartData;

  // The first set when it is a pie data set, else nullptr.
  virtual std::shared_ptr<IPieChartDataSet> dataSet() const;
  // The list becomes this one set (none for nullptr), recomputing.
  virtual void setDataSet(std::shared_ptr<IPieChartDataSet> dataSet);
  // The sum of y over the first set's entries; 0 unless it is a pie set.
  virtual double yValueSum() const;

  // Index 0 gives the first set; every other index gives nullptr.
  DataSetPtr getDataSetByIndex(int64_t index) const override;
  // The first set when it has a label that matches; later sets are never
  // looked at.
  DataSetPtr getDataSetByLabel(std::string_view label, bool ignoreCase) const override;
  // The first set's entry at the index that the highlight carries as its x
  // (truncated toward zero); the highlight's data-set index is not read.
  // nullptr when the first set is not a pie set, and for an x that is not
  // a number, infinite or beyond the integer range.
  EntryPtr entryForHighlight(const Highlight& highlight) const override;
  // Removes nothing: false.
  bool removeDataSetByIndex(int64_t index) override;
};

}  // namespace chart
