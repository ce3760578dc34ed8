#pragma once

#include <memory>

#include "Chart/Components/YAxis.h"
#include "Chart/Renderers/XAxisRendererRadarChart.h"
#include "Chart/Renderers/YAxisRendererRadarChart.h"
#include "Chart/Views/PieRadarChartViewBase.h"
#include "Chart/Interfaces/RadarChartDataProvider.h"

namespace chart {

// A radar chart: one spoke per entry index around the content's centre, the
// values along the spokes scaled so that the y axis's range fills the
// smaller half of the content, a web of rings at the y axis's entries. It
// owns a y axis (on the left side) and the radar axis renderers, which
// hold it weakly and read its geometry.
//
// The room around the content (calculateOffsets), which the web fills on
// its shorter side: while the x labels are drawn, as far as they can reach
// beyond the outermost ring (their turned width beside it; half that plus
// three quarters of their turned height above it, plus a quarter below)
// and the x axis's xOffset beside and yOffset above and below; else 10
// points on every side. Outside it lies the legend's room (LegendRoom) at
// the view's edge. The radar view takes no touches: it draws, and
// highlights from code.
class RadarChartView : public PieRadarChartViewBase, public RadarChartDataProvider {
 public:
  // The view, with its axis renderers holding it as their chart.
  static std::shared_ptr<RadarChartView> create(const Rect& frame);

  virtual std::shared_ptr<YAxis> yAxis() const { return yAxis_; }
  virtual std::shared_ptr<YAxisRendererRadarChart> yAxisRenderer() const { return yAxisRenderer_; }
  virtual void setYAxisRenderer(std::shared_ptr<YAxisRendererRadarChart> renderer) {
    yAxisRenderer_ = std::move(renderer);
  }
  virtual std::shared_ptr<XAxisRendererRadarChart> xAxisRenderer() const { return xAxisRenderer_; }
  virtual void setXAxisRenderer(std::shared_ptr<XAxisRendererRadarChart> renderer) {
    xAxisRenderer_ = std::move(renderer);
  }

  // The data's extremes recomputed; the y axis's range from the data's
  // left-side extremes and the x axis's from 0 to the largest set's entry
  // count (nothing without data); then the y axis's values, the x axis's,
  // the legend's entries and the room around the content.
  void notifyDataSetChanged() override;

  // With data and a data renderer: the x axis's values (while enabled); the
  // x labels; the web (the data renderer's extras); the y limit lines when
  // they lie behind the data; the data; the highlights; the y limit lines in
  // front; the y labels; the value labels; the legend; the description;
  // the markers.
  void draw(DrawingContext& context) override;

  // 360 over the largest data set's entry count: infinite without data or
  // sets, when there is no spoke to draw.
  double sliceAngle() const override;
  // Half the content's smaller side over the y axis's range; 0 when that is
  // not a finite number (a range of 0), so every point lies on the centre.
  double factor() const override;
  double yRange() const override { return yAxis()->axisRange(); }
  double chartYMin() const override { return yAxis()->axisMinimum(); }
  double chartYMax() const override { return yAxis()->axisMaximum(); }
  double rotationAngle() const override { return PieRadarChartViewBase::rotationAngle(); }
  Point centerOffsets() const override { return PieRadarChartViewBase::centerOffsets(); }

 protected:
  explicit RadarChartView(const Rect& frame);
  void setup() override;

  void calculateOffsets() override;
  // What notifyDataSetChanged does after the data's extremes and the
  // highlights.
  void layOut() override;
  // The x labels' size, then ChartViewBase's (the legend's size, the room).
  void relayOutForMetrics() override;

 private:
  std::shared_ptr<YAxis> yAxis_ = std::make_shared<YAxis>(AxisDependency::left);
  std::shared_ptr<YAxisRendererRadarChart> yAxisRenderer_;
  std::shared_ptr<XAxisRendererRadarChart> xAxisRenderer_;
};

}  // namespace chart
