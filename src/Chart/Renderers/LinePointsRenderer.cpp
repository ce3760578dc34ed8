#include "Chart/Renderers/LinePointsRenderer.h"

#include <cmath>
#include <limits>

#include "Chart/Data/ChartData.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Utils/Transformer.h"
#include "platform/graphics/SavedGraphicsState.h"

namespace chart {

using platform::graphics::Color;
using platform::graphics::SavedGraphicsState;
using platform::graphics::Size;

namespace {

bool isFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The set's line is drawn, the set's circles are drawn: a set that is
// hidden or has no entries draws neither.
bool drawable(const ILineChartDataSet& set) { return set.isVisible() && set.entryCount() > 0; }

}  // namespace

LinePointsRenderer::LinePointsRenderer(const BarLineScatterCandleBubbleChartDataProvider& provider,
                                       std::shared_ptr<ViewPortHandler> viewPortHandler)
    : DataRenderer(std::move(viewPortHandler)), provider_(provider) {}

std::vector<std::shared_ptr<ILineChartDataSet>> LinePointsRenderer::lineDataSets() const {
  std::vector<std::shared_ptr<ILineChartDataSet>> sets;
  std::shared_ptr<ChartData> data = provider_.data();
  if (const auto combined = std::dynamic_pointer_cast<CombinedChartData>(data)) data = combined->lineData();
  if (!data) return sets;
  for (const auto& set : data->dataSets())
    if (auto line = std::dynamic_pointer_cast<ILineChartDataSet>(set)) sets.push_back(std::move(line));
  return sets;
}

std::vector<Point> LinePointsRenderer::pixelsOf(const ILineChartDataSet& set) const {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  std::vector<Point> points;
  points.reserve(static_cast<size_t>(set.entryCount()));
  for (int64_t i = 0; i < set.entryCount(); ++i) {
    const auto entry = set.entryForIndex(i);
    points.push_back(entry ? Point{entry->x(), entry->y()} : Point{kNaN, kNaN});
  }
  const auto transformer = provider_.getTransformer(set.axisDependency());
  if (!transformer) return points;
  if (isTurned(transformer.get()))
    for (Point& p : points) p = Point{p.y, p.x};
  transformer->pointValuesToPixel(points);
  return points;
}

void LinePointsRenderer::drawData(DrawingContext& context) {
  const auto sets = lineDataSets();
  const SavedGraphicsState clipped(context);
  context.clipToRect(viewPortHandler()->contentRect());
  for (const auto& set : sets) {
    if (!drawable(*set)) continue;
    if (set->lineWidth() > 0) drawLine(context, *set);
    if (set->isDrawCirclesEnabled() && set->circleRadius() > 0) drawCircles(context, *set);
  }
}

void LinePointsRenderer::drawLine(DrawingContext& context, const ILineChartDataSet& set) {
  const std::vector<Point> points = pixelsOf(set);
  const SavedGraphicsState saved(context);
  context.setLineWidth(set.lineWidth());
  context.setLineCap(set.lineCapType());
  const auto& dash = set.lineDashLengths();
  context.setLineDash(set.lineDashPhase(), dash ? *dash : std::vector<double>{});
  const bool stepped = set.mode() == LineChartDataSetMode::stepped;
  const bool turned = isTurned(provider_.getTransformer(set.axisDependency()).get());
  // From `from` to `to`: straight, or in stepped mode along x to the next
  // entry's x, then along y to its value (in pixels across then up or down;
  // on a turned view up or down, then across).
  const auto segment = [&](Point from, Point to) {
    if (stepped) context.addLineTo(turned ? Point{from.x, to.y} : Point{to.x, from.y});
    context.addLineTo(to);
  };

  if (set.colors().size() > 1) {
    // Segment i in colour i: each stroked alone.
    for (size_t i = 1; i < points.size(); ++i) {
      if (!isFinite(points[i - 1]) || !isFinite(points[i])) continue;
      context.setStrokeColor(set.color(static_cast<int64_t>(i - 1)));
      context.beginPath();
      context.moveTo(points[i - 1]);
      segment(points[i - 1], points[i]);
      context.strokePath();
    }
    return;
  }
  // One path of runs between the gaps, stroked once, so that the dash runs on
  // from segment to segment.
  context.setStrokeColor(set.color(0));
  context.beginPath();
  bool open = false;
  for (size_t i = 0; i < points.size(); ++i) {
    if (!isFinite(points[i])) {
      open = false;
      continue;
    }
    if (open) {
      segment(points[i - 1], points[i]);
    } else {
      context.moveTo(points[i]);
      open = true;
    }
  }
  context.strokePath();
}

void LinePointsRenderer::drawCircles(DrawingContext& context, const ILineChartDataSet& set) {
  const std::vector<Point> points = pixelsOf(set);
  const double radius = set.circleRadius();
  const double hole = set.circleHoleRadius();
  const bool withHole = set.isDrawCircleHoleEnabled() && hole > 0 && hole < radius;
  const auto holeColor = set.circleHoleColor();
  const Rect content = viewPortHandler()->contentRect();
  const SavedGraphicsState saved(context);
  if (withHole && !holeColor) {
    // An open hole: a ring between the hole and the circle.
    context.setLineWidth(radius - hole);
    context.setLineDash(0, {});
  }
  for (size_t i = 0; i < points.size(); ++i) {
    const Point p = points[i];
    // A circle wholly outside the content is not drawn (nor one whose
    // value is not a number).
    if (!(p.x + radius >= content.minX() && p.x - radius <= content.maxX() && p.y + radius >= content.minY() &&
          p.y - radius <= content.maxY()))
      continue;
    const auto index = static_cast<int64_t>(i);
    const Color color = set.getCircleColor(index).value_or(set.color(index));
    if (withHole && !holeColor) {
      const double middle = (radius + hole) / 2;
      context.setStrokeColor(color);
      context.strokeEllipseInRect(Rect(p.x - middle, p.y - middle, 2 * middle, 2 * middle));
      continue;
    }
    context.setFillColor(color);
    context.fillEllipseInRect(Rect(p.x - radius, p.y - radius, 2 * radius, 2 * radius));
    if (withHole) {
      context.setFillColor(*holeColor);
      context.fillEllipseInRect(Rect(p.x - hole, p.y - hole, 2 * hole, 2 * hole));
    }
  }
}

}  // namespace chart
