#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Components/XAxis.h"
#include "Chart/Renderers/AxisRendererBase.h"
#include "platform/graphics/TextAttributes.h"

namespace chart {

using platform::graphics::Size;
using platform::graphics::TextAttributes;

// Lays out and draws the x axis of a bar-line chart: the label positions for
// the visible x range and the label measurements, then the axis line, the
// vertical grid lines, the limit lines and the labels. Every operation does
// nothing unless the axis is an XAxis; those that map values also need the
// transformer.
class XAxisRenderer : public AxisRendererBase {
 public:
  XAxisRenderer(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<XAxis> xAxis,
                std::shared_ptr<Transformer> transformer);

  // The visible x range: while the chart is zoomed in horizontally (and its
  // content is wider than 10 points) the values at the content's left and
  // right edge replace min and max (swapped when inverted).
  void computeAxis(double min, double max, bool inverted) override;
  // The base computation, then computeSize().
  void computeAxisValues(double min, double max) override;
  // Measures the longest label in the label font and the box it fills once
  // turned by the rotation angle.
  virtual void computeSize();

  void renderAxisLabels(DrawingContext& context) override;
  void renderAxisLine(DrawingContext& context) override;
  void renderGridLines(DrawingContext& context) override;
  void renderLimitLines(DrawingContext& context) override;

  // Every label whose position lies within the content's width, on the row
  // `pos`, placed by the anchor.
  virtual void drawLabels(DrawingContext& context, double pos, Point anchor);
  // One label, measured within the constraining size (a width of 0 keeps it
  // on one line) and drawn by the anchor, turned by the angle.
  virtual void drawLabel(DrawingContext& context, std::string_view formattedLabel, double x, double y,
                         const TextAttributes& attributes, Size constrainedToSize, Point anchor,
                         double angleRadians);
  // The content rectangle widened by the grid line width.
  virtual Rect gridClippingRect() const;
  // A vertical line across the content at x, when x lies between the left
  // offset and the chart's width.
  virtual void drawGridLine(DrawingContext& context, double x, double y);
  virtual void renderLimitLineLine(DrawingContext& context, const ChartLimitLine& limitLine, Point position);
  virtual void renderLimitLineLabel(DrawingContext& context, const ChartLimitLine& limitLine, Point position,
                                    double yOffset);

 protected:
  // The axis when it is an XAxis.
  std::shared_ptr<XAxis> xAxis() const { return std::dynamic_pointer_cast<XAxis>(axis()); }

 private:
  // The two end points of an axis line, refilled on every use.
  std::array<Point, 2> axisLineSegmentsBuffer_{};
};

}  // namespace chart
