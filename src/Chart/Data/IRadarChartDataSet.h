#pragma once

#include <optional>

#include "Chart/Data/ILineRadarChartDataSet.h"

namespace chart {

// What the radar renderer asks of a radar data set beyond the filled line:
// the circle drawn around a highlighted value.
struct IRadarChartDataSet : virtual ILineRadarChartDataSet {
  virtual bool drawHighlightCircleEnabled() const = 0;
  virtual void setDrawHighlightCircleEnabled(bool enabled) = 0;
  virtual bool isDrawHighlightCircleEnabled() const = 0;
  virtual std::optional<Color> highlightCircleFillColor() const = 0;
  virtual void setHighlightCircleFillColor(std::optional<Color> color) = 0;
  // None takes the set's colour.
  virtual std::optional<Color> highlightCircleStrokeColor() const = 0;
  virtual void setHighlightCircleStrokeColor(std::optional<Color> color) = 0;
  virtual double highlightCircleStrokeAlpha() const = 0;
  virtual void setHighlightCircleStrokeAlpha(double alpha) = 0;
  virtual double highlightCircleInnerRadius() const = 0;
  virtual void setHighlightCircleInnerRadius(double radius) = 0;
  virtual double highlightCircleOuterRadius() const = 0;
  virtual void setHighlightCircleOuterRadius(double radius) = 0;
  virtual double highlightCircleStrokeWidth() const = 0;
  virtual void setHighlightCircleStrokeWidth(double width) = 0;
};

}  // namespace chart
