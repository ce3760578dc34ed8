#include "Chart/Data/ScatterChartDataSet.h"

#include "Chart/Data/ChevronDownShapeRenderer.h"
#include "Chart/Data/ChevronUpShapeRenderer.h"
#include "Chart/Data/CircleShapeRenderer.h"
#include "Chart/Data/CrossShapeRenderer.h"
#include "Chart/Data/SquareShapeRenderer.h"
#include "Chart/Data/TriangleShapeRenderer.h"
#include "Chart/Data/XShapeRenderer.h"

namespace chart {

ScatterChartDataSet::ScatterChartDataSet() : shapeRenderer_(std::make_shared<SquareShapeRenderer>()) {}

ScatterChartDataSet::ScatterChartDataSet(std::vector<EntryPtr> entries, std::optional<std::string> label)
    : LineScatterCandleRadarChartDataSet(std::move(entries), std::move(label)),
      shapeRenderer_(std::make_shared<SquareShapeRenderer>()) {}

void ScatterChartDataSet::setScatterShape(Shape shape) { setShapeRenderer(rendererForShape(shape)); }

std::shared_ptr<IShapeRenderer> ScatterChartDataSet::rendererForShape(Shape shape) {
  switch (shape) {
    case Shape::square:
      return std::make_shared<SquareShapeRenderer>();
    case Shape::circle:
      return std::make_shared<CircleShapeRenderer>();
    case Shape::triangle:
      return std::make_shared<TriangleShapeRenderer>();
    case Shape::cross:
      return std::make_shared<CrossShapeRenderer>();
    case Shape::x:
      return std::make_shared<XShapeRenderer>();
    case Shape::chevronUp:
      return std::make_shared<ChevronUpShapeRenderer>();
    case Shape::chevronDown:
      return std::make_shared<ChevronDownShapeRenderer>();
    default:
      return nullptr;
  }
}

void ScatterChartDataSet::copyInto(ChartBaseDataSet& target) const {
  LineScatterCandleRadarChartDataSet::copyInto(target);
  auto& set = dynamic_cast<ScatterChartDataSet&>(target);
  set.setScatterShapeSize(scatterShapeSize());
  set.setScatterShapeHoleRadius(scatterShapeHoleRadius());
  set.setScatterShapeHoleColor(scatterShapeHoleColor());
  set.setShapeRenderer(shapeRenderer());
}

}  // namespace chart
