#include "Chart/Highlight/BarHighlighter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataEntry.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Utils/Transformer.h"
#include "Chart/Utils/ViewPortHandler.h"

namespace chart {

int64_t BarHighlighter::stackIndex(const std::vector<std::shared_ptr<Range>>& ranges, double y) {
  if (std::isnan(y)) return -1;
  for (size_t i = 0; i < ranges.size(); ++i) {
    if (ranges[i] && ranges[i]->contains(y)) return static_cast<int64_t>(i);
  }
  // Outside every range: the nearest one. A value at the very bottom of a
  // stack (equal to its lowest `from`) is in none of them, nor below them.
  int64_t best = -1;
  double bestGap = 0;
  for (size_t i = 0; i < ranges.size(); ++i) {
    if (!ranges[i]) continue;
    const Range& range = *ranges[i];
    const double gap = range.isLarger(y) ? y - range.to() : range.isSmaller(y) ? range.from() - y : 0;
    if (best < 0 || gap < bestGap) {
      best = static_cast<int64_t>(i);
      bestGap = gap;
    }
  }
  return best;
}

std::shared_ptr<ChartData> BarHighlighter::dataOf(const Provider&) const {
  const auto chart = barChart_.lock();
  if (!chart) return nullptr;
  if (auto bars = chart->barData()) return bars;
  // Combined data in a bar view: its bar data by the bar rules.
  return std::dynamic_pointer_cast<CombinedChartData>(chart->data());
}

namespace {

// The view port of the chart's transformer for `axis`; nullptr without one.
const ViewPortHandler* viewPortOf(const ChartHighlighter::Provider& chart, AxisDependency axis) {
  const auto& transformer = chart.getTransformer(axis);
  return transformer ? transformer->viewPortHandler().get() : nullptr;
}

bool between(double v, double p, double q) { return std::min(p, q) <= v && v <= std::max(p, q); }

// The values a bar's drawn rectangle spans: from 0 to its y, or over its
// stack's ranges, from the lowest foot to the highest top. Not numbers when
// nothing is drawn.
std::pair<double, double> drawnSpan(const ChartDataEntry& entry) {
  constexpr double none = std::numeric_limits<double>::quiet_NaN();
  const auto* bar = dynamic_cast<const BarChartDataEntry*>(&entry);
  if (!bar || !bar->yValues() || !bar->ranges()) {
    if (std::isnan(entry.y())) return {none, none};
    return {std::min(0.0, entry.y()), std::max(0.0, entry.y())};
  }
  double from = none;
  double to = none;
  for (const auto& range : *bar->ranges()) {
    if (!range) continue;
    if (!(range->from() >= from)) from = range->from();
    if (!(range->to() <= to)) to = range->to();
  }
  return {from, to};
}

}  // namespace

ChartHighlighter::Candidate BarHighlighter::candidate(const Provider& chart, const ChartData& data,
                                                      const IChartDataSet& set, const ChartDataEntry& entry,
                                                      int64_t dataSetIndex, Point touch, Point value) const {
  Candidate c = ChartHighlighter::candidate(chart, data, set, entry, dataSetIndex, touch, value);
  const AxisDependency axis = set.axisDependency();
  const ViewPortHandler* port = viewPortOf(chart, axis);
  const auto* bars = dynamic_cast<const BarChartData*>(&data);
  if (!bars) {
    // A point of other sub-data beyond the content is not drawn (nor would
    // its marker be).
    if (!port || !port->isInBounds(c.highlight->xPx(), c.highlight->yPx())) c.highlight = nullptr;
    return c;
  }
  // The touch read on the bar's own axis: the distance to the bar's column
  // (to its x at the touch's height) and the stack value it lies in.
  const Point own = valueForTouchPoint(chart, touch, axis);
  const Point column = pixelForValues(chart, entry.x(), own.y, axis);
  c.distance = std::hypot(column.x - touch.x, column.y - touch.y);
  c.limited = false;
  const double half = bars->barWidth() / 2;
  c.holdsTouch = std::fabs(own.x - entry.x()) <= half;
  if (c.holdsTouch && port) {
    // The rectangle the renderer fills, clipped to the content.
    const auto [from, to] = drawnSpan(entry);
    const Point corner = pixelForValues(chart, entry.x() - half, from, axis);
    const Point opposite = pixelForValues(chart, entry.x() + half, to, axis);
    const Rect content = port->contentRect();
    c.drawnUnderTouch = between(touch.x, corner.x, opposite.x) && between(touch.y, corner.y, opposite.y) &&
                        between(touch.x, content.minX(), content.maxX()) &&
                        between(touch.y, content.minY(), content.maxY());
  }

  const auto* bar = dynamic_cast<const BarChartDataEntry*>(&entry);
  if (!bar || !bar->yValues() || !bar->ranges()) return c;
  // Ranges outlive a change to no values; they count only while each stack
  // value has one.
  const auto& ranges = *bar->ranges();
  const int64_t index = stackIndex(ranges, own.y);
  if (index < 0 || static_cast<size_t>(index) >= bar->yValues()->size()) return c;
  const Point top = pixelForValues(chart, entry.x(), ranges[static_cast<size_t>(index)]->to(), axis);
  c.highlight = std::make_shared<Highlight>(entry.x(), entry.y(), top.x, top.y, -1, dataSetIndex, index, axis);
  return c;
}

Point HorizontalBarHighlighter::valueForTouchPoint(const Provider& chart, Point touch, AxisDependency axis) const {
  const Point turned = BarHighlighter::valueForTouchPoint(chart, touch, axis);
  return Point{turned.y, turned.x};
}

Point HorizontalBarHighlighter::pixelForValues(const Provider& chart, double x, double y, AxisDependency axis) const {
  return BarHighlighter::pixelForValues(chart, y, x, axis);
}

}  // namespace chart
