#pragma once

#include <memory>
#include <optional>

#include "Chart/Data/ILineScatterCandleRadarChartDataSet.h"
#include "Chart/Data/IShapeRenderer.h"

namespace chart {

// What the scatter renderer asks of a scatter data set: the shape drawn at
// every entry.
struct IScatterChartDataSet : virtual ILineScatterCandleRadarChartDataSet {
  // The side of the square, the diameter of the circle, and so on.
  virtual double scatterShapeSize() const = 0;
  // A hole is drawn only when this is above 0.
  virtual double scatterShapeHoleRadius() const = 0;
  // None leaves the hole unfilled.
  virtual std::optional<Color> scatterShapeHoleColor() const = 0;
  // None draws nothing.
  virtual std::shared_ptr<IShapeRenderer> shapeRenderer() const = 0;
};

}  // namespace chart
