#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "Chart/Data/ILineRadarChartDataSet.h"
#include "platform/graphics/DrawingContext.h"

namespace chart {

struct IFillFormatter;

// The path the line renderer draws through a line data set's entries.
// LineChartDataSet names it LineChartDataSet::Mode. A value outside the
// cases can be stored; the renderer decides what it draws for one.
enum class LineChartDataSetMode : int {
  linear = 0,            // straight segments from entry to entry
  stepped = 1,           // a stepped line from entry to entry
  cubicBezier = 2,       // a cubic curve through the entries, shaped by cubicIntensity
  horizontalBezier = 3,  // a curve whose tangents at the entries are horizontal
};

constexpr std::optional<LineChartDataSetMode> lineChartDataSetModeFromRaw(int raw) {
  if (raw >= 0 && raw <= 3) return static_cast<LineChartDataSetMode>(raw);
  return std::nullopt;
}

// Adds the line's mode and look: the circles at the entries, the dash
// pattern and cap, and the fill formatter that places the fill line.
struct ILineChartDataSet : virtual ILineRadarChartDataSet {
  using LineCap = platform::graphics::LineCap;

  virtual LineChartDataSetMode mode() const = 0;
  virtual void setMode(LineChartDataSetMode mode) = 0;
  virtual double cubicIntensity() const = 0;
  // Clamped into 0.05...1.
  virtual void setCubicIntensity(double intensity) = 0;
  virtual double circleRadius() const = 0;
  virtual void setCircleRadius(double radius) = 0;
  virtual double circleHoleRadius() const = 0;
  virtual void setCircleHoleRadius(double radius) = 0;
  virtual const std::vector<Color>& circleColors() const = 0;
  virtual void setCircleColors(std::vector<Color> colors) = 0;
  // The circle colours are used in turn, like the set's colours; none when
  // there are no circle colours.
  virtual std::optional<Color> getCircleColor(int64_t index) const = 0;
  // Leaves exactly this one circle colour.
  virtual void setCircleColor(const Color& color) = 0;
  // Leaves no circle colours; the argument is not used.
  virtual void resetCircleColors(int64_t index) = 0;
  virtual bool drawCirclesEnabled() const = 0;
  virtual void setDrawCirclesEnabled(bool enabled) = 0;
  virtual bool isDrawCirclesEnabled() const = 0;
  virtual std::optional<Color> circleHoleColor() const = 0;
  virtual void setCircleHoleColor(std::optional<Color> color) = 0;
  virtual bool drawCircleHoleEnabled() const = 0;
  virtual void setDrawCircleHoleEnabled(bool enabled) = 0;
  virtual bool isDrawCircleHoleEnabled() const = 0;
  virtual double lineDashPhase() const = 0;
  // None draws the line solid.
  virtual const std::optional<std::vector<double>>& lineDashLengths() const = 0;
  virtual void setLineDashLengths(std::optional<std::vector<double>> lengths) = 0;
  virtual LineCap lineCapType() const = 0;
  virtual void setLineCapType(LineCap cap) = 0;
  // Never null.
  virtual std::shared_ptr<IFillFormatter> fillFormatter() const = 0;
  // nullptr installs a new DefaultFillFormatter.
  virtual void setFillFormatter(std::shared_ptr<IFillFormatter> formatter) = 0;
};

}  // namespace chart
