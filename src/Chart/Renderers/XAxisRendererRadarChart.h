#pragma once

#include <memory>
#include <string_view>

#include "Chart/Renderers/XAxisRenderer.h"
#include "Chart/Interfaces/RadarChartDataProvider.h"
#include "Chart/Utils/WeakReference.h"

namespace chart {

// The category labels of a radar chart, one per spoke, just outside the
// outermost ring. It has no transformer: the chart gives the polar geometry.
// Radar x axes have no limit lines.
//
// The chart is held weakly (the chart view owns this renderer): its owner
// must keep it alive, or the labels silently stop. A temporary does not
// compile where a chart is given, and a chart already gone is refused with a
// line through the log sink.
class XAxisRendererRadarChart : public XAxisRenderer {
 public:
  XAxisRendererRadarChart(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<XAxis> xAxis,
                          std::weak_ptr<RadarChartDataProvider> chart);
  template <class T>
  XAxisRendererRadarChart(std::shared_ptr<ViewPortHandler>, std::shared_ptr<XAxis>,
                          std::shared_ptr<T>&& temporaryChart) = delete;

  // nullptr once the chart is gone.
  virtual std::shared_ptr<RadarChartDataProvider> chart() const { return chart_.lock(); }
  virtual void setChart(std::weak_ptr<RadarChartDataProvider> chart) {
    storeWeakly(chart_, std::move(chart), "XAxisRendererRadarChart.setChart()", "chart");
  }
  template <class T>
  void setChart(std::shared_ptr<T>&& temporaryChart) = delete;

  // The label of entry index i (the index, not a value, goes to the
  // formatter) on spoke i, half the widest turned label beyond the outermost
  // ring. Nothing without chart data or a data set.
  void renderAxisLabels(DrawingContext& context) override;
  // Draws nothing.
  void renderLimitLines(DrawingContext& context) override;

  using XAxisRenderer::drawLabel;
  // One label on one line, placed by the anchor and turned by the angle.
  virtual void drawLabel(DrawingContext& context, std::string_view formattedLabel, double x, double y,
                         const TextAttributes& attributes, Point anchor, double angleRadians);

 private:
  std::weak_ptr<RadarChartDataProvider> chart_;
};

}  // namespace chart
