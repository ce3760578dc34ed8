#include "Chart/Highlight/BarHighlighter.h"

#include <cmath>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataEntry.h"
#include "Chart/Data/CombinedChartData.h"

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

ChartHighlighter::Candidate BarHighlighter::candidate(const Provider& chart, const ChartData& data,
                                                      const IChartDataSet& set, const ChartDataEntry& entry,
                                                      int64_t dataSetIndex, Point touch, Point value) const {
  Candidate c = ChartHighlighter::candidate(chart, data, set, entry, dataSetIndex, touch, value);
  const auto* bars = dynamic_cast<const BarChartData*>(&data);
  if (!bars) return c;
  // The distance to the bar's column: to the bar's x at the touch's height.
  const AxisDependency axis = set.axisDependency();
  const Point column = pixelForValues(chart, entry.x(), value.y, axis);
  c.distance = std::hypot(column.x - touch.x, column.y - touch.y);
  c.limited = false;
  c.holdsTouch = std::fabs(value.x - entry.x()) <= bars->barWidth() / 2;

  const auto* bar = dynamic_cast<const BarChartDataEntry*>(&entry);
  if (!bar || !bar->yValues() || !bar->ranges()) return c;
  // Ranges outlive a change to no values; they count only while each stack
  // value has one.
  const auto& ranges = *bar->ranges();
  const int64_t index = stackIndex(ranges, value.y);
  if (index < 0 || static_cast<size_t>(index) >= bar->yValues()->size()) return c;
  const Point top = pixelForValues(chart, entry.x(), ranges[static_cast<size_t>(index)]->to(), axis);
  c.highlight = std::make_shared<Highlight>(entry.x(), entry.y(), top.x, top.y, -1, dataSetIndex, index, axis);
  return c;
}

Point HorizontalBarHighlighter::valueForTouchPoint(const Provider& chart, Point touch) const {
  const Point turned = BarHighlighter::valueForTouchPoint(chart, touch);
  return Point{turned.y, turned.x};
}

Point HorizontalBarHighlighter::pixelForValues(const Provider& chart, double x, double y, AxisDependency axis) const {
  return BarHighlighter::pixelForValues(chart, y, x, axis);
}

}  // namespace chart
