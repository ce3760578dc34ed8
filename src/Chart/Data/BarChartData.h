#pragma once

#include "Chart/Data/BarLineScatterCandleBubbleChartData.h"

namespace chart {

// The chart data of a bar chart: its bar data sets and the width of one bar
// in x units (0.85 at first). It can lay the bars of several sets side by
// side in groups.
class BarChartData : public BarLineScatterCandleBubbleChartData {
 public:
  using BarLineScatterCandleBubbleChartData::BarLineScatterCandleBubbleChartData;

  virtual double barWidth() const { return barWidth_; }
  virtual void setBarWidth(double width) { barWidth_ = width; }

  // Gives the i-th entry of every set an x side by side with the others,
  // group i starting at fromX + i * groupWidth: half a group space, then per
  // set half a bar space, the bar (its entry's x at the bar's centre) and
  // half a bar space, then half a group space. The sets whose entries moved
  // and then this data recompute their extremes; a copy of one of the sets
  // shares its entries, so they move there too while its extremes do not
  // notice (see ChartBaseDataSet::copy).
  //
  // With fewer than two sets it logs
  // "BarData needs to hold at least 2 BarDataSets to allow grouping."
  // and changes nothing. When a set is not a bar data set no entry moves,
  // though the extremes are still recomputed.
  virtual void groupBars(double fromX, double groupSpace, double barSpace);
  // (barWidth + barSpace) * number of sets + groupSpace.
  virtual double groupWidth(double groupSpace, double barSpace) const;

 private:
  double barWidth_ = 0.85;
};

}  // namespace chart
