#pragma once

#include "Chart/Data/IBarLineScatterCandleBubbleChartDataSet.h"

namespace chart {

// What the bubble renderer and highlighter ask of a bubble data set.
struct IBubbleChartDataSet : virtual IBarLineScatterCandleBubbleChartDataSet {
  // The largest bubble size the set has counted.
  virtual double maxSize() const = 0;
  // Whether bubble sizes are drawn relative to maxSize.
  virtual bool isNormalizeSizeEnabled() const = 0;
  // The line width of the circle around a highlighted bubble.
  virtual double highlightCircleWidth() const = 0;
  virtual void setHighlightCircleWidth(double width) = 0;
};

}  // namespace chart
