#include "Chart/Views/RadarChartView.h"

#include <algorithm>
#include <cmath>

#include "Chart/Data/ChartData.h"
#include "Chart/Views/LegendRoom.h"

namespace chart {

RadarChartView::RadarChartView(const Rect& frame) : PieRadarChartViewBase(frame) {
  setRenderer(std::make_shared<DataRenderer>(viewPortHandler()));
}

std::shared_ptr<RadarChartView> RadarChartView::create(const Rect& frame) {
  std::shared_ptr<RadarChartView> view(new RadarChartView(frame));
  view->setup();
  return view;
}

void RadarChartView::setup() {
  PieRadarChartViewBase::setup();
  // Both axis renderers hold the view weakly, so they can only be made once
  // the view is owned.
  const auto self = std::static_pointer_cast<RadarChartView>(shared_from_this());
  yAxisRenderer_ = std::make_shared<YAxisRendererRadarChart>(viewPortHandler(), yAxis_, self);
  xAxisRenderer_ = std::make_shared<XAxisRendererRadarChart>(viewPortHandler(), xAxis(), self);
}

void RadarChartView::notifyDataSetChanged() {
  if (const auto chartData = data()) {
    chartData->notifyDataChanged();
    keepHighlightsNamingEntries();
  }
  layOutWithOwnMetrics();
}

void RadarChartView::layOut() {
  if (const auto chartData = data()) {
    const DataSetPtr largest = chartData->maxEntryCountSet();
    yAxis()->calculate(chartData->getYMin(AxisDependency::left), chartData->getYMax(AxisDependency::left));
    xAxis()->calculate(0, largest ? static_cast<double>(largest->entryCount()) : 0);
  }
  const YAxis& y = *yAxis();
  const XAxis& x = *xAxis();
  if (const auto& renderer = yAxisRenderer()) renderer->computeAxis(y.axisMinimum(), y.axisMaximum(), y.isInverted());
  if (const auto& renderer = xAxisRenderer()) renderer->computeAxis(x.axisMinimum(), x.axisMaximum(), false);
  // The legend's entries come before the offsets that make room for it;
  // without data it keeps only the entries that are not the data's.
  if (const auto& renderer = legendRenderer()) {
    const auto chartData = data();
    const ChartData none;
    renderer->computeLegend(chartData ? *chartData : none);
  }
  calculateOffsets();
}

void RadarChartView::relayOutForMetrics() {
  if (const auto& renderer = xAxisRenderer()) renderer->computeSize();
  ChartViewBase::relayOutForMetrics();
}

void RadarChartView::calculateOffsets() {
  const XAxis& x = *xAxis();
  if (!x.isEnabled() || !x.isDrawLabelsEnabled()) {
    LegendRoom::restrainWithLegend(legend().get(), *viewPortHandler(), 10, 10, 10, 10);
    return;
  }
  // The renderer centres each label's turned box half the turned width w
  // beyond the outermost ring, then raises it by half the turned height h
  // and hangs the box from a quarter of its height: beyond the ring a label
  // reaches at most w across, w / 2 + 3h / 4 up and w / 2 + h / 4 down. The
  // axis's offsets keep the labels off the view's edge.
  const double w = x.labelRotatedWidth();
  const double h = x.labelRotatedHeight();
  const double across = w + x.xOffset();
  LegendRoom::restrainWithLegend(legend().get(), *viewPortHandler(), across, w / 2 + 0.75 * h + x.yOffset(), across,
                                 w / 2 + 0.25 * h + x.yOffset());
}

void RadarChartView::draw(DrawingContext& context) {
  ChartViewBase::draw(context);
  const auto& dataRenderer = renderer();
  const auto& xRenderer = xAxisRenderer();
  const auto& yRenderer = yAxisRenderer();
  if (!data() || !dataRenderer || !xRenderer || !yRenderer) return;
  const auto metrics = drawingMetrics(context);
  const XAxis& x = *xAxis();
  const YAxis& y = *yAxis();

  if (x.isEnabled()) xRenderer->computeAxis(x.axisMinimum(), x.axisMaximum(), false);
  xRenderer->renderAxisLabels(context);
  dataRenderer->drawExtras(context);
  if (y.isEnabled() && y.isDrawLimitLinesBehindDataEnabled()) yRenderer->renderLimitLines(context);
  dataRenderer->drawData(context);
  if (valuesToHighlight()) dataRenderer->drawHighlighted(context, highlighted());
  if (y.isEnabled() && !y.isDrawLimitLinesBehindDataEnabled()) yRenderer->renderLimitLines(context);
  yRenderer->renderAxisLabels(context);
  dataRenderer->drawValues(context);
  if (legendRenderer()) legendRenderer()->renderLegend(context);
  drawDescription(context);
  renderMarkers(context);
}

double RadarChartView::sliceAngle() const {
  const auto chartData = data();
  const DataSetPtr largest = chartData ? chartData->maxEntryCountSet() : nullptr;
  return 360.0 / static_cast<double>(largest ? largest->entryCount() : 0);
}

double RadarChartView::factor() const {
  const Rect content = viewPortHandler()->contentRect();
  const double f = std::min(content.width() / 2, content.height() / 2) / yAxis()->axisRange();
  return std::isfinite(f) ? f : 0;
}

}  // namespace chart
