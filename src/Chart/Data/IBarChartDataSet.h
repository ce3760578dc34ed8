#pragma once

#include <string>
#include <vector>

#include "Chart/Data/IBarLineScatterCandleBubbleChartDataSet.h"

namespace chart {

// What the bar renderers, the bar highlighters and the legend ask of a bar
// data set: how many values its stacks hold and how its bars look.
struct IBarChartDataSet : virtual IBarLineScatterCandleBubbleChartDataSet {
  // Whether some entry held more than one stack value at construction.
  virtual bool isStacked() const = 0;
  // The most stack values any entry held at construction (at least 1).
  virtual int64_t stackSize() const = 0;
  virtual Color barShadowColor() const = 0;
  virtual void setBarShadowColor(const Color& color) = 0;
  virtual double barBorderWidth() const = 0;
  virtual void setBarBorderWidth(double width) = 0;
  virtual Color barBorderColor() const = 0;
  virtual void setBarBorderColor(const Color& color) = 0;
  // The opacity of a highlighted bar.
  virtual double highlightAlpha() const = 0;
  virtual void setHighlightAlpha(double alpha) = 0;
  // The labels of the stack positions, bottom first, for the legend.
  virtual const std::vector<std::string>& stackLabels() const = 0;
  virtual void setStackLabels(std::vector<std::string> labels) = 0;
};

}  // namespace chart
