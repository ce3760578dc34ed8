#include "Chart/Renderers/XAxisRendererRadarChart.h"

#include <cmath>
#include <numbers>
#include <string>

#include "Chart/Data/ChartData.h"
#include "Chart/Utils/ChartUtils.h"

namespace chart {

XAxisRendererRadarChart::XAxisRendererRadarChart(std::shared_ptr<ViewPortHandler> viewPortHandler,
                                                 std::shared_ptr<XAxis> xAxis,
                                                 std::weak_ptr<RadarChartDataProvider> chart)
    : XAxisRenderer(std::move(viewPortHandler), std::move(xAxis), nullptr) {
  storeWeakly(chart_, std::move(chart), "XAxisRendererRadarChart", "chart");
}

void XAxisRendererRadarChart::renderAxisLabels(DrawingContext& context) {
  const auto x = xAxis();
  const auto view = chart();
  if (!x || !view || !x->isEnabled() || !x->isDrawLabelsEnabled()) return;
  const auto data = view->data();
  const DataSetPtr largest = data ? data->maxEntryCountSet() : nullptr;
  if (!largest) return;

  TextAttributes attributes;
  attributes.font = x->labelFont();
  attributes.foregroundColor = x->labelTextColor();
  const double rotation = x->labelRotationAngle() * std::numbers::pi / 180.0;
  const Point anchor{0.5, 0.25};
  const double sliceAngle = view->sliceAngle();
  const double factor = view->factor();
  const Point centre = view->centerOffsets();
  const double distance = view->yRange() * factor + x->labelRotatedWidth() / 2;
  const int64_t count = largest->entryCount();
  for (int64_t i = 0; i < count; ++i) {
    const std::string label = x->valueFormatter()->stringForValue(static_cast<double>(i), x.get());
    const double angle = std::fmod(sliceAngle * static_cast<double>(i) + view->rotationAngle(), 360.0);
    const Point p = radarPoint(centre, distance, angle);
    drawLabel(context, label, p.x, p.y - x->labelRotatedHeight() / 2, attributes, anchor, rotation);
  }
}

void XAxisRendererRadarChart::renderLimitLines(DrawingContext&) {}

void XAxisRendererRadarChart::drawLabel(DrawingContext& context, std::string_view formattedLabel, double x, double y,
                                        const TextAttributes& attributes, Point anchor, double angleRadians) {
  ChartUtils::drawText(context, formattedLabel, Point{x, y}, attributes, anchor, angleRadians);
}

}  // namespace chart
