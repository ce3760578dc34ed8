#include "Chart/Data/ShapeRendering.h"

namespace chart::shape_rendering {

Measures measure(const IScatterChartDataSet& dataSet) {
  Measures m{};
  m.size = dataSet.scatterShapeSize();
  m.half = m.size / 2.0;
  m.holeRadius = dataSet.scatterShapeHoleRadius();
  m.holeDiameter = 2.0 * m.holeRadius;
  m.ringWidth = (m.size - m.holeDiameter) / 2.0;
  return m;
}

void drawRingOrBlock(DrawingContext& context, const IScatterChartDataSet& dataSet, Point point, Color color,
                     void (DrawingContext::*stroke)(const Rect&), void (DrawingContext::*fill)(const Rect&)) {
  const Measures m = measure(dataSet);
  if (m.holeDiameter > 0) {
    const double r = m.holeRadius;
    const double w = m.ringWidth;
    context.setStrokeColor(color);
    context.setLineWidth(w);
    (context.*stroke)(Rect(point.x - r - w / 2.0, point.y - r - w / 2.0, m.holeDiameter + w, m.holeDiameter + w));
    if (const auto holeColor = dataSet.scatterShapeHoleColor()) {
      context.setFillColor(*holeColor);
      (context.*fill)(Rect(point.x - r, point.y - r, m.holeDiameter, m.holeDiameter));
    }
  } else {
    context.setFillColor(color);
    (context.*fill)(Rect(point.x - m.half, point.y - m.half, m.size, m.size));
  }
}

void strokeTwoLines(DrawingContext& context, Color color, Point centre, Point firstFrom, Point firstTo,
                    Point secondFrom, Point secondTo) {
  const auto at = [centre](Point offset) { return Point{centre.x + offset.x, centre.y + offset.y}; };
  context.setLineWidth(1.0);
  context.setStrokeColor(color);
  context.beginPath();
  context.moveTo(at(firstFrom));
  context.addLineTo(at(firstTo));
  context.moveTo(at(secondFrom));
  context.addLineTo(at(secondTo));
  context.strokePath();
}

}  // namespace chart::shape_rendering
