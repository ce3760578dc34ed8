#pragma once

#include <memory>
#include <vector>

#include "Chart/Renderers/YAxisRenderer.h"

namespace chart {

// A y axis of a horizontal bar chart, turned by a quarter: the values run
// along the content from left to right, the left axis's labels in a row
// above the content and the right axis's in a row below it (whatever the
// axis's label position), the grid, zero and limit lines run down the
// content and the axis line lies along its top or bottom edge.
class YAxisRendererHorizontalBarChart : public YAxisRenderer {
 public:
  YAxisRendererHorizontalBarChart(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<YAxis> yAxis,
                                  std::shared_ptr<Transformer> transformer);

  // Nothing at all without a transformer (the entries stay as they are).
  // While the chart is zoomed in horizontally (and its content is taller
  // than 10 points) the values at the content's left and right edge replace
  // min and max (swapped when inverted); then the values.
  void computeAxis(double min, double max, bool inverted) override;

  void renderAxisLabels(DrawingContext& context) override;
  void renderAxisLine(DrawingContext& context) override;
  void renderLimitLines(DrawingContext& context) override;

  using YAxisRenderer::drawYLabels;
  // The labels centred on their positions' columns, their tops at
  // fixedPosition - offset + the axis's labelXOffset; only indexes that have
  // a position are drawn.
  virtual void drawYLabels(DrawingContext& context, double fixedPosition, const std::vector<Point>& positions,
                           double offset);
  // The content rectangle grown by the grid line width left and right.
  Rect gridClippingRect() const override;
  // A line down the content at the position's column.
  void drawGridLine(DrawingContext& context, Point position) override;
  // (entry, 0) for every entry, in pixels; empty without a transformer.
  std::vector<Point> transformedPositions() const override;
  // Down the content one pixel left of the value 0.
  void drawZeroLine(DrawingContext& context) override;
};

}  // namespace chart
