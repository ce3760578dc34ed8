#pragma once

#include "Chart/Data/IScatterChartDataSet.h"
#include "Chart/Data/LineScatterCandleRadarChartDataSet.h"

namespace chart {

// The shapes a scatter data set can be given by name.
enum class ScatterShape : int {
  square = 0,
  circle = 1,
  triangle = 2,
  cross = 3,
  x = 4,
  chevronUp = 5,
  chevronDown = 6
};

constexpr std::optional<ScatterShape> scatterShapeFromRaw(int raw) {
  if (raw >= 0 && raw <= 6) return static_cast<ScatterShape>(raw);
  return std::nullopt;
}

// The points of a scatter chart, each drawn as a shape: a square of size 10
// without a hole at first.
class ScatterChartDataSet : public LineScatterCandleRadarChartDataSet, public virtual IScatterChartDataSet {
 public:
  using Shape = ScatterShape;

  // No entries, label "DataSet".
  ScatterChartDataSet();
  explicit ScatterChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label = "DataSet");

  std::string className() const override { return "ScatterChartDataSet"; }

  double scatterShapeSize() const override { return scatterShapeSize_; }
  virtual void setScatterShapeSize(double size) { scatterShapeSize_ = size; }
  double scatterShapeHoleRadius() const override { return scatterShapeHoleRadius_; }
  virtual void setScatterShapeHoleRadius(double radius) { scatterShapeHoleRadius_ = radius; }
  std::optional<Color> scatterShapeHoleColor() const override { return scatterShapeHoleColor_; }
  virtual void setScatterShapeHoleColor(std::optional<Color> color) { scatterShapeHoleColor_ = color; }
  // A new renderer for the shape.
  virtual void setScatterShape(Shape shape);
  std::shared_ptr<IShapeRenderer> shapeRenderer() const override { return shapeRenderer_; }
  virtual void setShapeRenderer(std::shared_ptr<IShapeRenderer> renderer) { shapeRenderer_ = std::move(renderer); }

  // A new renderer of the shape's class; nullptr for a value that names no
  // shape.
  static std::shared_ptr<IShapeRenderer> rendererForShape(Shape shape);

 protected:
  std::shared_ptr<ChartBaseDataSet> makeEmpty() const override { return std::make_shared<ScatterChartDataSet>(); }
  // Adds the shape size and hole settings and the same renderer object.
  void copyInto(ChartBaseDataSet& target) const override;

 private:
  double scatterShapeSize_ = 10.0;
  double scatterShapeHoleRadius_ = 0;
  std::optional<Color> scatterShapeHoleColor_;
  std::shared_ptr<IShapeRenderer> shapeRenderer_;
};

}  // namespace chart
