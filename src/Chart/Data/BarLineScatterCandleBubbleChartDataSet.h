#pragma once

#include "Chart/Data/ChartDataSet.h"
#include "Chart/Data/IBarLineScatterCandleBubbleChartDataSet.h"

namespace chart {

// The entry-list data set with the look of its highlight lines: the base of
// the bar, bubble and line-like data sets.
class BarLineScatterCandleBubbleChartDataSet : public ChartDataSet,
                                               public virtual IBarLineScatterCandleBubbleChartDataSet {
 public:
  using ChartDataSet::ChartDataSet;

  std::string className() const override { return "BarLineScatterCandleBubbleChartDataSet"; }

  Color highlightColor() const override { return highlightColor_; }
  void setHighlightColor(const Color& color) override { highlightColor_ = color; }
  double highlightLineWidth() const override { return highlightLineWidth_; }
  void setHighlightLineWidth(double width) override { highlightLineWidth_ = width; }
  double highlightLineDashPhase() const override { return highlightLineDashPhase_; }
  void setHighlightLineDashPhase(double phase) override { highlightLineDashPhase_ = phase; }
  const std::optional<std::vector<double>>& highlightLineDashLengths() const override {
    return highlightLineDashLengths_;
  }
  void setHighlightLineDashLengths(std::optional<std::vector<double>> lengths) override {
    highlightLineDashLengths_ = std::move(lengths);
  }

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override {
    return std::make_shared<BarLineScatterCandleBubbleChartDataSet>();
  }
  // Adds the four highlight-line settings.
  void copyInto(ChartBaseDataSet& target) const override;

 private:
  Color highlightColor_ = Color::rgb(1.0, 187.0 / 255.0, 115.0 / 255.0);
  double highlightLineWidth_ = 0.5;
  double highlightLineDashPhase_ = 0;
  std::optional<std::vector<double>> highlightLineDashLengths_;
};

}  // namespace chart
