#pragma once

#include <memory>

#include "Chart/Data/ILineScatterCandleRadarChartDataSet.h"

namespace chart {

class Fill;

// Adds the filled area below a line and the line's width.
struct ILineRadarChartDataSet : virtual ILineScatterCandleRadarChartDataSet {
  virtual Color fillColor() const = 0;
  // Choosing a plain colour discards any fill.
  virtual void setFillColor(const Color& color) = 0;
  // The fill, when set, paints the area instead of the fill colour.
  virtual std::shared_ptr<const Fill> fill() const = 0;
  virtual void setFill(std::shared_ptr<const Fill> fill) = 0;
  virtual double fillAlpha() const = 0;
  virtual void setFillAlpha(double alpha) = 0;
  virtual double lineWidth() const = 0;
  // Clamped into 0...10.
  virtual void setLineWidth(double width) = 0;
  virtual bool drawFilledEnabled() const = 0;
  virtual void setDrawFilledEnabled(bool enabled) = 0;
  virtual bool isDrawFilledEnabled() const = 0;
};

}  // namespace chart
