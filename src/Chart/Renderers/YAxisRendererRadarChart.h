#pragma once

#include <memory>

#include "Chart/Renderers/YAxisRenderer.h"
#include "Chart/Interfaces/RadarChartDataProvider.h"
#include "Chart/Utils/WeakReference.h"

namespace chart {

// The value steps of a radar chart's web: the y axis's entries, which reach
// one step beyond the data (unless the label count is forced) so that the
// outermost ring lies beyond every value, their labels along the first
// spoke, and the limit lines as polygons around the centre. It has no
// transformer: the chart gives the polar geometry.
//
// The chart is held weakly (the chart view owns this renderer): its owner
// must keep it alive, or the labels and limit polygons silently stop. A
// temporary does not compile where a chart is given, and a chart already
// gone is refused with a line through the log sink.
class YAxisRendererRadarChart : public YAxisRenderer {
 public:
  YAxisRendererRadarChart(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<YAxis> yAxis,
                          std::weak_ptr<RadarChartDataProvider> chart);
  template <class T>
  YAxisRendererRadarChart(std::shared_ptr<ViewPortHandler>, std::shared_ptr<YAxis>,
                          std::shared_ptr<T>&& temporaryChart) = delete;

  // nullptr once the chart is gone.
  virtual std::shared_ptr<RadarChartDataProvider> chart() const { return chart_.lock(); }
  virtual void setChart(std::weak_ptr<RadarChartDataProvider> chart) {
    storeWeakly(chart_, std::move(chart), "YAxisRendererRadarChart.setChart()", "chart");
  }
  template <class T>
  void setChart(std::shared_ptr<T>&& temporaryChart) = delete;

  // As the axis renderer base computes them, with these differences: the
  // interval's power of ten is floored; centring is read once, before the
  // entries are rebuilt; one entry more than the range needs is added
  // (forced labels excepted); the centred entries lie half the first step
  // on (none for a single entry); and the axis's minimum and maximum become
  // the first and last entry (not marked custom), its range their distance.
  // An interval of 0 keeps the decimals; a range without labels, or an
  // interval that is not finite, empties both lists and leaves the ends.
  void computeAxisValues(double min, double max) override;
  // The labels along the spoke at the chart's rotation, from the centre
  // outward, each a line height above its point.
  void renderAxisLabels(DrawingContext& context) override;
  // Each enabled limit line as a closed polygon through the spokes at its
  // value's distance; no labels.
  void renderLimitLines(DrawingContext& context) override;

 private:
  std::weak_ptr<RadarChartDataProvider> chart_;
};

}  // namespace chart
