#pragma once

#include "Chart/Data/IScatterChartDataSet.h"
#include "platform/graphics/DrawingContext.h"

// What the shape renderers share. Not part of the library's interface.
namespace chart::shape_rendering {

using platform::graphics::Color;
using platform::graphics::DrawingContext;
using platform::graphics::Point;
using platform::graphics::Rect;

// A set's shape measures: s, s / 2, the hole's radius r and diameter d = 2r,
// and the width (s - d) / 2 of the ring around the hole, negative when the
// hole is wider than the shape.
struct Measures {
  double size;
  double half;
  double holeRadius;
  double holeDiameter;
  double ringWidth;
};
Measures measure(const IScatterChartDataSet& dataSet);

// The square and the circle: with a hole, the ring stroked in `color` (its
// inner edge on the hole) and the hole filled when the set has a hole
// colour; without one, the whole shape filled in `color`. `stroke` and
// `fill` draw the outline inside a rectangle.
void drawRingOrBlock(DrawingContext& context, const IScatterChartDataSet& dataSet, Point point, Color color,
                     void (DrawingContext::*stroke)(const Rect&), void (DrawingContext::*fill)(const Rect&));

// One path of two separate lines around `centre`, stroked 1 wide in
// `color`; the ends are given as offsets from the centre.
void strokeTwoLines(DrawingContext& context, Color color, Point centre, Point firstFrom, Point firstTo,
                    Point secondFrom, Point secondTo);

}  // namespace chart::shape_rendering
