#pragma once

#include "Chart/Data/IBarLineScatterCandleBubbleChartDataSet.h"

namespace chart {

// Adds the switches for the horizontal and the vertical highlight line.
struct ILineScatterCandleRadarChartDataSet : virtual IBarLineScatterCandleBubbleChartDataSet {
  virtual bool drawHorizontalHighlightIndicatorEnabled() const = 0;
  virtual void setDrawHorizontalHighlightIndicatorEnabled(bool enabled) = 0;
  virtual bool drawVerticalHighlightIndicatorEnabled() const = 0;
  virtual void setDrawVerticalHighlightIndicatorEnabled(bool enabled) = 0;
  virtual bool isHorizontalHighlightIndicatorEnabled() const = 0;
  virtual bool isVerticalHighlightIndicatorEnabled() const = 0;
  // Sets both switches.
  virtual void setDrawHighlightIndicators(bool enabled) = 0;
};

}  // namespace chart
