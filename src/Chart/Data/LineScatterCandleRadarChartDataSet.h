#pragma once

#include "Chart/Data/BarLineScatterCandleBubbleChartDataSet.h"
#include "Chart/Data/ILineScatterCandleRadarChartDataSet.h"

namespace chart {

// Adds the switches for the horizontal and the vertical highlight line, both
// on at first: the base of the line, radar, scatter and candle data sets.
class LineScatterCandleRadarChartDataSet : public BarLineScatterCandleBubbleChartDataSet,
                                           public virtual ILineScatterCandleRadarChartDataSet {
 public:
  using BarLineScatterCandleBubbleChartDataSet::BarLineScatterCandleBubbleChartDataSet;

  std::string className() const override { return "LineScatterCandleRadarChartDataSet"; }

  bool drawHorizontalHighlightIndicatorEnabled() const override { return drawHorizontalHighlightIndicatorEnabled_; }
  void setDrawHorizontalHighlightIndicatorEnabled(bool enabled) override {
    drawHorizontalHighlightIndicatorEnabled_ = enabled;
  }
  bool drawVerticalHighlightIndicatorEnabled() const override { return drawVerticalHighlightIndicatorEnabled_; }
  void setDrawVerticalHighlightIndicatorEnabled(bool enabled) override {
    drawVerticalHighlightIndicatorEnabled_ = enabled;
  }
  bool isHorizontalHighlightIndicatorEnabled() const override { return drawHorizontalHighlightIndicatorEnabled(); }
  bool isVerticalHighlightIndicatorEnabled() const override { return drawVerticalHighlightIndicatorEnabled(); }
  void setDrawHighlightIndicators(bool enabled) override;

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override {
    return std::make_shared<LineScatterCandleRadarChartDataSet>();
  }
  // Adds both switches.
  void copyInto(ChartBaseDataSet& target) const override;

 private:
  bool drawHorizontalHighlightIndicatorEnabled_ = true;
  bool drawVerticalHighlightIndicatorEnabled_ = true;
};

}  // namespace chart
