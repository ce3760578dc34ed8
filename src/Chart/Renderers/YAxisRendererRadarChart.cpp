#include "Chart/Renderers/YAxisRendererRadarChart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Data/ChartData.h"
#include "Chart/Utils/ChartUtils.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::currentTextMetrics;

YAxisRendererRadarChart::YAxisRendererRadarChart(std::shared_ptr<ViewPortHandler> viewPortHandler,
                                                 std::shared_ptr<YAxis> yAxis,
                                                 std::weak_ptr<RadarChartDataProvider> chart)
    : YAxisRenderer(std::move(viewPortHandler), std::move(yAxis), nullptr), chart_(std::move(chart)) {}

void YAxisRendererRadarChart::computeAxisValues(double yMin, double yMax) {
  const auto y = yAxis();
  if (!y) return;
  YAxis& axis = *y;
  std::vector<double>& entries = axis.entries();
  const int64_t labelCount = computedLabelCount(axis);
  const double range = std::fabs(yMax - yMin);
  if (hasNoLabels(labelCount, yMin, yMax)) {
    clearEntries(axis);
    return;
  }
  const double interval = roundedInterval(axis, range, true);
  if (!std::isfinite(interval)) {
    clearEntries(axis);
    return;
  }

  const bool centering = axis.isCenterAxisLabelsEnabled();
  int64_t n = centering ? 1 : 0;
  if (axis.isForceLabelsEnabled()) {
    n = labelCount;
    fillEntries(entries, yMin, range / static_cast<double>(labelCount - 1), n);
  } else {
    double first = 0;
    if (interval != 0) {
      first = interval * std::ceil(yMin / interval);
      if (centering) first -= interval;
      double top = interval * std::floor(yMax / interval);
      if (top == 0) top = 0.0;  // no negative zero
      const double last = std::nextafter(top, std::numeric_limits<double>::infinity());
      // Multiples beyond the largest double have no entry.
      if (!std::isfinite(first) || !std::isfinite(last)) {
        clearEntries(axis);
        return;
      }
      n += countSteps(first, last, interval, false);
    }
    // The outermost ring lies one step beyond the data.
    n = std::min(n + 1, AxisBase::maxComputedLabels);
    fillEntries(entries, first, interval, n);
  }

  // Forced labels too show the decimals of the rounded interval.
  setDecimalsForInterval(axis, interval);

  if (centering) {
    std::vector<double>& centered = axis.centeredEntries();
    centered.clear();
    // A single entry has no step to centre on.
    if (entries.size() >= 2) {
      const double half = (entries[1] - entries[0]) / 2;
      for (const double entry : entries) centered.push_back(entry + half);
    }
  }

  if (!entries.empty()) {
    axis.storeAxisMinimum(entries.front());
    axis.storeAxisMaximum(entries.back());
    axis.setAxisRange(std::fabs(axis.axisMaximum() - axis.axisMinimum()));
  }
}

void YAxisRendererRadarChart::renderAxisLabels(DrawingContext& context) {
  const auto y = yAxis();
  const auto view = chart();
  if (!y || !view || !y->isEnabled() || !y->isDrawLabelsEnabled()) return;
  const TextAttributes attributes = labelAttributes(*y);
  const Point centre = view->centerOffsets();
  const double factor = view->factor();
  const double lineHeight = currentTextMetrics().fontLineHeight(y->labelFont());
  const auto [from, to] = labelIndexRange(*y, y->entryCount());
  for (int64_t j = from; j < to; ++j) {
    const double r = (y->entries()[static_cast<size_t>(j)] - y->axisMinimum()) * factor;
    const Point p = radarPoint(centre, r, view->rotationAngle());
    ChartUtils::drawText(context, y->getFormattedLabel(j), Point{p.x + y->labelXOffset(), p.y - lineHeight},
                         y->labelAlignment(), attributes);
  }
}

void YAxisRendererRadarChart::renderLimitLines(DrawingContext& context) {
  const auto y = yAxis();
  const auto view = chart();
  if (!y || !view) return;
  const auto data = view->data();
  if (!data) return;
  const auto limitLines = y->limitLines();
  if (limitLines.empty()) return;

  context.saveGState();
  const double sliceAngle = view->sliceAngle();
  const double factor = view->factor();
  const Point centre = view->centerOffsets();
  const DataSetPtr largest = data->maxEntryCountSet();
  const int64_t count = largest ? largest->entryCount() : 0;
  for (const auto& line : limitLines) {
    if (!line || !line->isEnabled()) continue;
    setLimitLineStyle(context, *line);
    const double r = (line->limit() - view->chartYMin()) * factor;
    context.beginPath();
    for (int64_t j = 0; j < count; ++j) {
      const Point p = radarPoint(centre, r, sliceAngle * static_cast<double>(j) + view->rotationAngle());
      if (j == 0) {
        context.moveTo(p);
      } else {
        context.addLineTo(p);
      }
    }
    context.closePath();
    context.strokePath();
  }
  context.restoreGState();
}

}  // namespace chart
