#pragma once

#include "Chart/Data/BarLineScatterCandleBubbleChartDataSet.h"
#include "Chart/Data/BubbleChartDataEntry.h"
#include "Chart/Data/IBubbleChartDataSet.h"

namespace chart {

// The bubbles of a bubble chart. Entries that are not bubbles count for
// nothing in its extremes.
//
// maxSize only grows: recomputing the extremes leaves it alone, so after the
// largest bubble is removed it still reports that bubble's size.
class BubbleChartDataSet : public BarLineScatterCandleBubbleChartDataSet, public virtual IBubbleChartDataSet {
 public:
  // No entries, label "DataSet".
  BubbleChartDataSet() = default;
  explicit BubbleChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label = "DataSet");

  std::string className() const override { return "BubbleChartDataSet"; }

  // x, then y, then maxSize when the bubble is larger.
  void calcMinMaxForEntry(const ChartDataEntry& entry) override;

  double maxSize() const override { return maxSize_; }
  virtual bool normalizeSizeEnabled() const { return normalizeSizeEnabled_; }
  virtual void setNormalizeSizeEnabled(bool enabled) { normalizeSizeEnabled_ = enabled; }
  bool isNormalizeSizeEnabled() const override { return normalizeSizeEnabled(); }
  double highlightCircleWidth() const override { return highlightCircleWidth_; }
  void setHighlightCircleWidth(double width) override { highlightCircleWidth_ = width; }

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<BubbleChartDataSet>(); }
  // Adds maxSize, the normalising switch and the circle width.
  void copyInto(ChartBaseDataSet& target) const override;

 private:
  double maxSize_ = 0;
  bool normalizeSizeEnabled_ = true;
  double highlightCircleWidth_ = 2.5;
};

}  // namespace chart
