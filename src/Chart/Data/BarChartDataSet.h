#pragma once

#include "Chart/Data/BarChartDataEntry.h"
#include "Chart/Data/BarLineScatterCandleBubbleChartDataSet.h"
#include "Chart/Data/IBarChartDataSet.h"

namespace chart {

// The bars of a bar chart: plain or stacked bar entries. Its y extremes
// reach from the deepest negative stack sum to the highest positive one.
//
// The stack size and the count of bars (every stack value counted as one)
// are taken once, at construction; entries added later change neither. An
// entry that is not a bar entry counts as a plain bar.
class BarChartDataSet : public BarLineScatterCandleBubbleChartDataSet, public virtual IBarChartDataSet {
 public:
  // No entries, label "DataSet".
  BarChartDataSet();
  explicit BarChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label = "DataSet");

  std::string className() const override { return "BarChartDataSet"; }

  // A bar whose y is NaN counts for nothing, x included. A stacked bar
  // widens the y extremes by minus its negative sum and by its positive sum,
  // a plain bar by its y; then x widens. Recomputing over an x range
  // (calcMinMaxY) counts each bar the same way.
  void calcMinMaxForEntry(const ChartDataEntry& entry) override;
  void calcMinMaxYForEntry(const ChartDataEntry& entry) override;

  int64_t stackSize() const override { return stackSize_; }
  bool isStacked() const override { return stackSize() > 1; }
  virtual int64_t entryCountStacks() const { return entryCountStacks_; }
  const std::vector<std::string>& stackLabels() const override { return stackLabels_; }
  void setStackLabels(std::vector<std::string> labels) override { stackLabels_ = std::move(labels); }
  Color barShadowColor() const override { return barShadowColor_; }
  void setBarShadowColor(const Color& color) override { barShadowColor_ = color; }
  double barBorderWidth() const override { return barBorderWidth_; }
  void setBarBorderWidth(double width) override { barBorderWidth_ = width; }
  Color barBorderColor() const override { return barBorderColor_; }
  void setBarBorderColor(const Color& color) override { barBorderColor_ = color; }
  double highlightAlpha() const override { return highlightAlpha_; }
  void setHighlightAlpha(double alpha) override { highlightAlpha_ = alpha; }

 protected:
  // Takes the stack size and the count of bars from the entries.
  virtual void calcStackSize();

  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<BarChartDataSet>(); }
  // Adds both counts, the stack labels and the bar styling.
  void copyInto(ChartBaseDataSet& target) const override;

 private:
  // The construction steps that follow the inherited one: a black highlight,
  // the extremes again under this class's rule (the base constructor could
  // only apply its own), then the stack scan.
  void finishConstruction();

  int64_t stackSize_ = 1;
  int64_t entryCountStacks_ = 0;
  std::vector<std::string> stackLabels_;
  Color barShadowColor_ = Color::rgb(215.0 / 255.0, 215.0 / 255.0, 215.0 / 255.0);
  double barBorderWidth_ = 0;
  Color barBorderColor_ = Color::black();
  double highlightAlpha_ = 120.0 / 255.0;
};

}  // namespace chart
