#pragma once

#include <optional>
#include <vector>

#include "Chart/Data/IChartDataSet.h"

namespace chart {

// What the bar, line, scatter, candle and bubble data sets share: the look of
// the lines that mark a highlighted value.
struct IBarLineScatterCandleBubbleChartDataSet : virtual IChartDataSet {
  virtual Color highlightColor() const = 0;
  virtual void setHighlightColor(const Color& color) = 0;
  virtual double highlightLineWidth() const = 0;
  virtual void setHighlightLineWidth(double width) = 0;
  virtual double highlightLineDashPhase() const = 0;
  virtual void setHighlightLineDashPhase(double phase) = 0;
  // None draws the highlight lines solid.
  virtual const std::optional<std::vector<double>>& highlightLineDashLengths() const = 0;
  virtual void setHighlightLineDashLengths(std::optional<std::vector<double>> lengths) = 0;
};

}  // namespace chart
