#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "Chart/Components/YAxis.h"
#include "Chart/Renderers/AxisRendererBase.h"
#include "platform/graphics/TextAttributes.h"

namespace chart {

using platform::graphics::TextAlignment;

// Draws one y axis of a bar-line chart: the labels beside (or inside) the
// content, the vertical axis line, the horizontal grid lines, the zero line
// and the limit lines with their labels. Every operation does nothing unless
// the axis is a YAxis; the label, axis-line and grid hooks also skip a
// disabled axis, while the limit-line hook leaves that to the chart view.
class YAxisRenderer : public AxisRendererBase {
 public:
  YAxisRenderer(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<YAxis> yAxis,
                std::shared_ptr<Transformer> transformer);

  void renderAxisLabels(DrawingContext& context) override;
  void renderAxisLine(DrawingContext& context) override;
  void renderGridLines(DrawingContext& context) override;
  void renderLimitLines(DrawingContext& context) override;

  // The labels at x = fixedPosition (plus the axis's labelXOffset), each
  // `offset` below its position's row; the first and last are left out when
  // the axis says so. Only indexes that have a position are drawn.
  virtual void drawYLabels(DrawingContext& context, double fixedPosition, const std::vector<Point>& positions,
                           double offset, TextAlignment textAlign);
  // The content rectangle grown by the grid line width, half above and half
  // below, so that lines on the edges are drawn whole.
  virtual Rect gridClippingRect() const;
  // A horizontal line across the content at the position's row.
  virtual void drawGridLine(DrawingContext& context, Point position);
  // (0, entry) for every entry, in pixels; empty without a transformer.
  virtual std::vector<Point> transformedPositions() const;
  virtual void drawZeroLine(DrawingContext& context);

 protected:
  // The axis when it is a YAxis.
  std::shared_ptr<YAxis> yAxis() const { return std::dynamic_pointer_cast<YAxis>(axis()); }
  // The indexes of the labels to draw, [from, to): the first and last entry
  // left out when the axis says so, and none beyond `positionCount`.
  static std::pair<int64_t, int64_t> labelIndexRange(const YAxis& axis, int64_t positionCount);
  // The axis's label font and colour.
  static platform::graphics::TextAttributes labelAttributes(const AxisBase& axis);
  // Every entry in pixels, as the point (entry, 0) when the values run
  // `across` the content, else (0, entry); empty without a transformer.
  std::vector<Point> entriesInPixels(bool across) const;
  // The zero line's colour, width and dash.
  static void setZeroLineStyle(DrawingContext& context, const YAxis& axis);
};

}  // namespace chart
