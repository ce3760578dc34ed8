#pragma once

#include <memory>
#include <string_view>

#include "Chart/Renderers/XAxisRenderer.h"
#include "Chart/Interfaces/ChartDataProvider.h"
#include "Chart/Utils/WeakReference.h"

namespace chart {

// The x axis of a horizontal bar chart, turned by a quarter: the categories
// run up the content, their labels stand beside it (`top` to its right,
// `bottom` to its left), the grid and limit lines run across it and the
// axis line stands on its right or left edge. The labels are drawn only
// while the chart (read only for its data) has data; the grid, axis line
// and limit lines do not depend on the data.
//
// The chart is held weakly (the chart view owns this renderer): its owner
// must keep it alive, or the labels silently stop. A temporary does not
// compile where a chart is given, and a chart already gone is refused with a
// line through the log sink.
class XAxisRendererHorizontalBarChart : public XAxisRenderer {
 public:
  XAxisRendererHorizontalBarChart(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<XAxis> xAxis,
                                  std::shared_ptr<Transformer> transformer, std::weak_ptr<ChartDataProvider> chart);
  template <class T>
  XAxisRendererHorizontalBarChart(std::shared_ptr<ViewPortHandler>, std::shared_ptr<XAxis>,
                                  std::shared_ptr<Transformer>, std::shared_ptr<T>&& temporaryChart) = delete;

  // nullptr once the chart is gone.
  virtual std::shared_ptr<ChartDataProvider> chart() const { return chart_.lock(); }
  virtual void setChart(std::weak_ptr<ChartDataProvider> chart) {
    storeWeakly(chart_, std::move(chart), "XAxisRendererHorizontalBarChart.setChart()", "chart");
  }
  template <class T>
  void setChart(std::shared_ptr<T>&& temporaryChart) = delete;

  // The visible part of the range runs up the content: while the chart is
  // zoomed in vertically the values at the content's bottom and top edge
  // replace min and max (swapped when inverted).
  void computeAxis(double min, double max, bool inverted) override;
  // As the x axis renderer's, the widths with 3.5 x offsets added for the
  // room beside the content: labelWidth floored, the turned sizes rounded to
  // whole points.
  void computeSize() override;

  void renderAxisLabels(DrawingContext& context) override;
  void renderAxisLine(DrawingContext& context) override;
  void renderLimitLines(DrawingContext& context) override;

  // Every label whose row lies within the content's height, at x = pos,
  // placed by the anchor; no wrap and no first/last rule.
  void drawLabels(DrawingContext& context, double pos, Point anchor) override;
  using XAxisRenderer::drawLabel;
  // One label on one line, placed by the anchor and turned by the angle.
  virtual void drawLabel(DrawingContext& context, std::string_view formattedLabel, double x, double y,
                         const TextAttributes& attributes, Point anchor, double angleRadians);
  // The content rectangle grown by the grid line width above and below.
  Rect gridClippingRect() const override;
  // A line across the content at row y, when y lies within the content's
  // height; x is not used.
  void drawGridLine(DrawingContext& context, double x, double y) override;

 private:
  std::weak_ptr<ChartDataProvider> chart_;
};

}  // namespace chart
