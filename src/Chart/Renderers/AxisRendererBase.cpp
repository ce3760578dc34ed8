#include "Chart/Renderers/AxisRendererBase.h"

#include <cmath>
#include <limits>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Utils/ChartUtils.h"
#include "Chart/Utils/Diagnostics.h"

namespace chart {

AxisRendererBase::AxisRendererBase(std::shared_ptr<ViewPortHandler> viewPortHandler,
                                   std::shared_ptr<Transformer> transformer, std::shared_ptr<AxisBase> axis)
    : Renderer(std::move(viewPortHandler)), axis_(std::move(axis)), transformer_(std::move(transformer)) {}

void AxisRendererBase::renderAxisLabels(DrawingContext&) {
  cannotBeCalled("renderAxisLabels()", "AxisRendererBase");
}

void AxisRendererBase::renderGridLines(DrawingContext&) { cannotBeCalled("renderGridLines()", "AxisRendererBase"); }

void AxisRendererBase::renderAxisLine(DrawingContext&) { cannotBeCalled("renderAxisLine()", "AxisRendererBase"); }

void AxisRendererBase::renderLimitLines(DrawingContext&) {
  cannotBeCalled("renderLimitLines()", "AxisRendererBase");
}

void AxisRendererBase::setLineDash(DrawingContext& context, double phase,
                                   const std::optional<std::vector<double>>& lengths) {
  if (lengths) {
    context.setLineDash(phase, *lengths);
  } else {
    context.setLineDash(0, {});
  }
}

void AxisRendererBase::strokeLine(DrawingContext& context, Point from, Point to) {
  context.beginPath();
  context.moveTo(from);
  context.addLineTo(to);
  context.strokePath();
}

void AxisRendererBase::setAxisLineStyle(DrawingContext& context, const AxisBase& axis) {
  context.setStrokeColor(axis.axisLineColor());
  context.setLineWidth(axis.axisLineWidth());
  setLineDash(context, axis.axisLineDashPhase(), axis.axisLineDashLengths());
}

void AxisRendererBase::setGridLineStyle(DrawingContext& context, const AxisBase& axis) {
  context.setShouldAntialias(axis.gridAntialiasEnabled());
  context.setStrokeColor(axis.gridColor());
  context.setLineWidth(axis.gridLineWidth());
  context.setLineCap(axis.gridLineCap());
  setLineDash(context, axis.gridLineDashPhase(), axis.gridLineDashLengths());
}

void AxisRendererBase::setLimitLineStyle(DrawingContext& context, const ChartLimitLine& line) {
  context.setStrokeColor(line.lineColor());
  context.setLineWidth(line.lineWidth());
  setLineDash(context, line.lineDashPhase(), line.lineDashLengths());
}

void AxisRendererBase::computeAxis(double min, double max, bool inverted) {
  const ViewPortHandler& handler = *viewPortHandler();
  if (const auto& t = transformer(); t && handler.contentWidth() > 10 && !handler.isFullyZoomedOutY()) {
    const Point top = t->valueForTouchPoint(handler.contentLeft(), handler.contentTop());
    const Point bottom = t->valueForTouchPoint(handler.contentLeft(), handler.contentBottom());
    min = inverted ? top.y : bottom.y;
    max = inverted ? bottom.y : top.y;
  }
  computeAxisValues(min, max);
}

void AxisRendererBase::computeAxisValues(double min, double max) {
  const std::shared_ptr<AxisBase>& axisRef = axis();
  if (!axisRef) return;
  AxisBase& axis = *axisRef;
  std::vector<double>& entries = axis.entries();
  const auto clearEntries = [&] {
    entries.clear();
    axis.centeredEntries().clear();
  };

  const double yMin = min;
  const double yMax = max;
  const int64_t labelCount = axis.labelCount();
  const double range = std::fabs(yMax - yMin);
  // A count below one would count downward for ever; bounds that are not
  // numbers have no labels (and must never reach an integer conversion).
  if (labelCount <= 0 || yMax - yMin == 0 || !std::isfinite(range) || !std::isfinite(yMin) ||
      !std::isfinite(yMax)) {
    clearEntries();
    return;
  }

  double interval = ChartUtils::roundToNextSignificant(range / static_cast<double>(labelCount));
  if (axis.granularityEnabled() && interval < axis.granularity()) interval = axis.granularity();
  if (interval != 0) {
    // Truncated, not floored: intervals between 0.1 and 1 get magnitude 1.
    const double magnitude = ChartUtils::roundToNextSignificant(std::pow(10.0, std::trunc(std::log10(interval))));
    const double digit = std::trunc(interval / magnitude);
    if (digit > 5 && std::floor(10 * magnitude) != 0) interval = std::floor(10 * magnitude);
  }
  if (!std::isfinite(interval)) {
    clearEntries();
    return;
  }

  int64_t n = axis.centerAxisLabelsEnabled() ? 1 : 0;

  if (axis.isForceLabelsEnabled()) {
    // With a single label the interval is infinite and only the first value
    // is kept.
    interval = range / static_cast<double>(labelCount - 1);
    entries.clear();
    entries.reserve(static_cast<size_t>(labelCount));
    double v = yMin;
    for (int64_t i = 0; i < labelCount; ++i) {
      entries.push_back(v == 0 ? 0.0 : v);
      v += interval;
    }
    n = labelCount;
  } else {
    double first = 0;
    double last = 0;
    if (interval != 0) {
      first = interval * std::ceil(yMin / interval);
      if (axis.centerAxisLabelsEnabled()) first -= interval;
      double top = interval * std::floor(yMax / interval);
      if (top == 0) top = 0.0;  // no negative zero
      last = std::nextafter(top, std::numeric_limits<double>::infinity());
    }
    if (!std::isfinite(first) || !std::isfinite(last)) {
      clearEntries();
      return;
    }
    if (last != first) {
      // Counted by k, each value one fused multiply-add away from the first:
      // adding the interval up instead never passes the end when the interval
      // is below half a unit in the last place of the first value.
      int64_t count = 0;
      for (double k = 0;; k += 1) {
        const double value = std::fma(k, interval, first);
        if (value < last) {
          ++count;
        } else {
          if (value == last) ++count;
          break;
        }
      }
      n += count;
    } else {
      n = 1;
    }
    entries.clear();
    entries.reserve(static_cast<size_t>(n));
    double f = first;
    for (int64_t i = 0; i < n; ++i) {
      entries.push_back(f == 0 ? 0.0 : f);
      f = f + interval;
    }
  }

  // An interval of 0 has no decimals to show; the old ones stay.
  if (interval > 0 && interval < 1) {
    axis.setDecimals(static_cast<int>(std::ceil(-std::log10(interval))));
  } else if (interval >= 1) {
    axis.setDecimals(0);
  }

  if (axis.centerAxisLabelsEnabled()) {
    std::vector<double>& centered = axis.centeredEntries();
    centered.clear();
    centered.reserve(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) centered.push_back(entries[static_cast<size_t>(i)] + interval / 2);
  }
}

}  // namespace chart
