#include "Chart/Highlight/BarHighlighter.h"

#include <algorithm>
#include <cmath>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataEntry.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Renderers/BarsRenderer.h"
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

// How far (points) `p` lies from the rectangle: 0 on it, edges included.
double gapTo(const Rect& rect, Point p) {
  const double dx = std::max({rect.minX() - p.x, 0.0, p.x - rect.maxX()});
  const double dy = std::max({rect.minY() - p.y, 0.0, p.y - rect.maxY()});
  return std::hypot(dx, dy);
}

}  // namespace

ChartHighlighter::Candidate BarHighlighter::candidate(const Provider& chart, const ChartData& data,
                                                      const IChartDataSet& set, const ChartDataEntry& entry,
                                                      int64_t dataSetIndex, Point touch, Point value) const {
  Candidate c = ChartHighlighter::candidate(chart, data, set, entry, dataSetIndex, touch, value);
  const AxisDependency axis = set.axisDependency();
  const auto& transformer = chart.getTransformer(axis);
  const ViewPortHandler* port = transformer ? transformer->viewPortHandler().get() : nullptr;
  const auto* bars = dynamic_cast<const BarChartData*>(&data);
  if (!bars) {
    // A point of other sub-data beyond the content is not drawn (nor would
    // its marker be).
    if (!port || !port->isInBounds(c.highlight->xPx(), c.highlight->yPx())) c.highlight = nullptr;
    return c;
  }
  const auto* bar = dynamic_cast<const BarChartDataEntry*>(&entry);
  const bool stacked = bar && bar->yValues() && bar->ranges();
  // A stack whose values were all taken away, and a plain bar whose value
  // is not a number, are drawn as nothing and have no value to name.
  if ((bar && bar->yValues() && bar->yValues()->empty()) || (!stacked && std::isnan(entry.y()))) {
    c.highlight = nullptr;
    return c;
  }
  // The touch read on the bar's own axis: the distance to the bar's column
  // (to its x at the touch's height) and the stack value it lies in.
  const Point own = valueForTouchPoint(chart, touch, axis);
  const Point column = pixelForValues(chart, entry.x(), own.y, axis);
  c.distance = std::hypot(column.x - touch.x, column.y - touch.y);
  c.limited = false;
  c.holdsTouch = std::fabs(own.x - entry.x()) <= bars->barWidth() / 2;

  int64_t index = -1;
  if (stacked) {
    // Ranges outlive a change to fewer values; they count only while each
    // stack value has one.
    const auto& ranges = *bar->ranges();
    index = stackIndex(ranges, own.y);
    if (index >= 0 && static_cast<size_t>(index) < bar->yValues()->size()) {
      const Point top = pixelForValues(chart, entry.x(), ranges[static_cast<size_t>(index)]->to(), axis);
      c.highlight = std::make_shared<Highlight>(entry.x(), entry.y(), top.x, top.y, -1, dataSetIndex, index, axis);
    } else {
      index = -1;
    }
  }
  // The rectangles the renderer fills for the entry: the touch on one (the
  // stack value named, at a shared edge), or how far from the nearest.
  if (!transformer || !port) return c;
  for (const auto& part : BarsRenderer::drawnParts(entry, *transformer, bars->barWidth(), port->contentRect())) {
    const double gap = gapTo(part.rect, touch);
    c.gap = std::min(c.gap, gap);
    if (gap == 0 && (!c.drawnUnderTouch || part.stackIndex == index)) {
      c.drawnUnderTouch = true;
      c.drawn = part.rect;
    }
  }
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
