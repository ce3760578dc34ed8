#include "Chart/Renderers/AxisRendererBase.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Utils/ChartUtils.h"
#include "Chart/Utils/Diagnostics.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::currentTextMetrics;

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

  const double yMin = min;
  const double yMax = max;
  const int64_t labelCount = computedLabelCount(axis);
  const double range = std::fabs(yMax - yMin);
  if (hasNoLabels(labelCount, yMin, yMax)) {
    clearEntries(axis);
    return;
  }
  double interval = roundedInterval(axis, range, false);
  if (!std::isfinite(interval)) {
    clearEntries(axis);
    return;
  }

  int64_t n = axis.centerAxisLabelsEnabled() ? 1 : 0;

  if (axis.isForceLabelsEnabled()) {
    // With a single label the interval is infinite and only the first value
    // is kept.
    interval = range / static_cast<double>(labelCount - 1);
    n = labelCount;
    fillEntries(entries, yMin, interval, n);
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
      clearEntries(axis);
      return;
    }
    if (last != first) {
      n += countSteps(first, last, interval, true);
    } else {
      n = 1;
    }
    // A round interval can give more values than were asked for.
    n = std::min(n, AxisBase::maxComputedLabels);
    fillEntries(entries, first, interval, n);
  }

  setDecimalsForInterval(axis, interval);

  if (axis.centerAxisLabelsEnabled()) {
    std::vector<double>& centered = axis.centeredEntries();
    centered.clear();
    centered.reserve(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) centered.push_back(entries[static_cast<size_t>(i)] + interval / 2);
  }
}

int64_t AxisRendererBase::computedLabelCount(const AxisBase& axis) {
  return std::min(axis.labelCount(), AxisBase::maxComputedLabels);
}

bool AxisRendererBase::hasNoLabels(int64_t labelCount, double min, double max) {
  // A count below one would count downward for ever; bounds that are not
  // numbers have no labels (and must never reach an integer conversion).
  return labelCount <= 0 || max - min == 0 || !std::isfinite(std::fabs(max - min)) || !std::isfinite(min) ||
         !std::isfinite(max);
}

double AxisRendererBase::roundedInterval(const AxisBase& axis, double range, bool flooredMagnitude) {
  double interval = ChartUtils::roundToNextSignificant(range / static_cast<double>(computedLabelCount(axis)));
  if (axis.granularityEnabled() && interval < axis.granularity()) interval = axis.granularity();
  if (interval == 0 || !std::isfinite(interval)) return interval;
  const double exponent = flooredMagnitude ? std::floor(std::log10(interval)) : std::trunc(std::log10(interval));
  const double magnitude = ChartUtils::roundToNextSignificant(std::pow(10.0, exponent));
  const double digit = std::trunc(interval / magnitude);
  if (digit > 5 && std::floor(10 * magnitude) != 0) interval = std::floor(10 * magnitude);
  return interval;
}

int64_t AxisRendererBase::countSteps(double first, double last, double interval, bool fused) {
  // Adding the interval up instead never passes the end when the interval is
  // below half a unit in the last place of the first value.
  int64_t count = 0;
  for (double k = 0;; k += 1) {
    const double value = fused ? std::fma(k, interval, first) : first + k * interval;
    if (value < last) {
      ++count;
    } else {
      if (value == last) ++count;
      return count;
    }
  }
}

void AxisRendererBase::clearEntries(AxisBase& axis) {
  axis.entries().clear();
  axis.centeredEntries().clear();
}

void AxisRendererBase::fillEntries(std::vector<double>& entries, double first, double interval, int64_t n) {
  entries.clear();
  entries.reserve(static_cast<size_t>(std::max<int64_t>(n, 0)));
  double f = first;
  for (int64_t i = 0; i < n; ++i) {
    entries.push_back(f == 0 ? 0.0 : f);
    f = f + interval;
  }
}

void AxisRendererBase::setDecimalsForInterval(AxisBase& axis, double interval) {
  if (interval > 0 && interval < 1) {
    axis.setDecimals(static_cast<int>(std::ceil(-std::log10(interval))));
  } else if (interval >= 1) {
    axis.setDecimals(0);
  }
}

Rect AxisRendererBase::grownVertically(Rect rect, double width) {
  rect.origin.y -= width / 2;
  rect.size.height += width;
  return rect;
}

Rect AxisRendererBase::grownHorizontally(Rect rect, double width) {
  rect.origin.x -= width / 2;
  rect.size.width += width;
  return rect;
}

void AxisRendererBase::renderHorizontalLimitLine(DrawingContext& context, const ChartLimitLine& line, double y) {
  const ViewPortHandler& handler = *viewPortHandler();
  context.saveGState();
  context.clipToRect(grownVertically(handler.contentRect(), line.lineWidth()));
  setLimitLineStyle(context, line);
  strokeLine(context, Point{handler.contentLeft(), y}, Point{handler.contentRight(), y});

  if (line.drawLabelEnabled() && !line.label().empty()) {
    const double lineHeight = currentTextMetrics().fontLineHeight(line.valueFont());
    const double xo = 4 + line.xOffset();
    const double yo = line.lineWidth() + lineHeight + line.yOffset();
    using P = ChartLimitLine::LabelPosition;
    const P where = line.labelPosition();
    const bool right = where == P::topRight || where == P::bottomRight;
    const bool top = where == P::topRight || where == P::topLeft;
    const Point point{right ? handler.contentRight() - xo : handler.contentLeft() + xo,
                      top ? y - yo : y + yo - lineHeight};
    ChartUtils::drawText(context, line.label(), point, right ? TextAlignment::right : TextAlignment::left,
                         limitLabelAttributes(line));
  }
  context.restoreGState();
}

void AxisRendererBase::drawVerticalLimitLineLabel(DrawingContext& context, const ChartLimitLine& line, double x,
                                                  double yOffset) {
  if (!line.drawLabelEnabled() || line.label().empty()) return;
  const ViewPortHandler& handler = *viewPortHandler();
  const double lineHeight = currentTextMetrics().fontLineHeight(line.valueFont());
  const double xOff = line.lineWidth() + line.xOffset();
  using P = ChartLimitLine::LabelPosition;
  const P where = line.labelPosition();
  const bool left = where == P::topLeft || where == P::bottomLeft;
  const bool top = where == P::topLeft || where == P::topRight;
  const Point point{left ? x - xOff : x + xOff,
                    top ? handler.contentTop() + yOffset : handler.contentBottom() - lineHeight - yOffset};
  // Text left of the line ends there; text right of it starts there.
  ChartUtils::drawText(context, line.label(), point, left ? TextAlignment::right : TextAlignment::left,
                       limitLabelAttributes(line));
}

platform::graphics::TextAttributes AxisRendererBase::limitLabelAttributes(const ChartLimitLine& line) {
  platform::graphics::TextAttributes attributes;
  attributes.font = line.valueFont();
  attributes.foregroundColor = line.valueTextColor();
  return attributes;
}

}  // namespace chart
