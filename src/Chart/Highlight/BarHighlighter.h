#pragma once

#include <memory>
#include <vector>

#include "Chart/Highlight/ChartHighlighter.h"
#include "Chart/Interfaces/BarChartDataProvider.h"
#include "Chart/Utils/Range.h"

namespace chart {

// The highlighter of the bar charts. A bar is found by its column: of the
// bars closest to the touch's x value, the one whose column lies nearest
// the touch wins, however far up or down the column the touch is (no
// maxHighlightDistance). In a stacked bar the touch's y value, read on the
// bar's own axis, picks the stack value whose range holds it; above the
// stack the topmost value, below it the lowest. The highlight of a stacked
// value keeps the bar's y (the stack's sum), so the chart data finds the
// entry from it, and lies in pixels at the top of that value's range.
//
// A bar view given combined data finds the bars of its bar data by these
// rules and the values of its other sub-data (line, scatter, candle and
// bubble points) by their points, as the bar-line highlighter does, and
// shares a tap between them so that every drawn bar can be tapped and a
// point keeps a finger-sized target:
//  - on a drawn bar (a rectangle BarsRenderer::drawnParts gives for it, the
//    one its renderer fills: the bar, or one stack value, within the
//    content; where bars overlap, the one drawn last, which lies on top)
//    the bar, or its stack value, unless a point lies within fingerReach
//    (22 points, or maxHighlightDistance if smaller) of the touch and no
//    farther from it than halfway to the rectangle's farthest corner: then
//    the nearest such point. A bar too short for the finger's reach keeps
//    its pixels beyond halfway, which name it;
//  - elsewhere in a bar's column (beyond its end, as above a short bar)
//    the nearest point within maxHighlightDistance, else the bar; of bars
//    equally near by their column (sets at the same x, not grouped), the
//    one drawn nearer the touch, then the one drawn last;
//  - a point whose pixel lies outside the content rectangle is not drawn,
//    and a tap never names it.
// A stack whose values were all taken away and a plain bar whose value is
// not a number are not drawn, and a tap never names them. The bar is taken
// as drawn once an animation of its height has ended.
class BarHighlighter : public ChartHighlighter {
 public:
  explicit BarHighlighter(std::weak_ptr<BarChartDataProvider> chart)
      : ChartHighlighter(chart), barChart_(std::move(chart)) {}

  // The index of the range that holds y (from < y <= to); when none does,
  // the range y lies nearest to: above the stack the one with the largest
  // upper end, below it the one with the smallest lower end. -1 without
  // ranges or for a y that is not a number.
  static int64_t stackIndex(const std::vector<std::shared_ptr<Range>>& ranges, double y);

 protected:
  std::shared_ptr<ChartData> dataOf(const Provider& chart) const override;
  Candidate candidate(const Provider& chart, const ChartData& data, const IChartDataSet& set,
                      const ChartDataEntry& entry, int64_t dataSetIndex, Point touch, Point value) const override;

 private:
  std::weak_ptr<BarChartDataProvider> barChart_;
};

// The highlighter of the horizontal-bar chart: the bar rules through its
// turned transformers, whose values are (y, x) — the value across the
// content, the category up it.
class HorizontalBarHighlighter : public BarHighlighter {
 public:
  using BarHighlighter::BarHighlighter;

 protected:
  Point valueForTouchPoint(const Provider& chart, Point touch, AxisDependency axis) const override;
  Point pixelForValues(const Provider& chart, double x, double y, AxisDependency axis) const override;
};

}  // namespace chart
