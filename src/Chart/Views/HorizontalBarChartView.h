#pragma once

#include <memory>

#include "Chart/Views/BarChartView.h"

namespace chart {

// A bar chart turned by a quarter: the categories (x) run up the content and
// the values (y) along it. Both y axes map through horizontal-bar
// transformers, whose value matrices take the y axis's range across the
// content and the x axis's range up it, and are drawn by the turned axis
// renderers, driven like those of any bar-line chart.
//
// The room around the content (calculateOffsets), in points:
// - left and right: the x labels' turned width (which holds 3.5 x offsets)
//   on each side the x labels stand outside; at least half the widest y
//   label, whose column may lie on the content's edge;
// - top: the left axis's label row (2.5 + its label line height + its
//   yOffset - its labelXOffset) when its labels are drawn; bottom: the right
//   axis's (2.5 + line height - yOffset + labelXOffset); each at least half
//   the x labels' turned height, whose row may lie on the edge;
// - the legend's room (LegendRoom) at the view's edge, outside all of that;
// - room wider or taller than the view cut as for every bar-line view.
//
// Touches find bars through the horizontal-bar highlighter; a pinch or a
// drag across the view zooms or pans the values, up the view the
// categories.
class HorizontalBarChartView : public BarChartView {
 public:
  // The view, with its x axis renderer holding it as its chart.
  static std::shared_ptr<HorizontalBarChartView> create(const Rect& frame);

  std::shared_ptr<Transformer> getTransformer(AxisDependency axis) const override;

 protected:
  explicit HorizontalBarChartView(const Rect& frame);
  void setup() override;

  void calculateOffsets() override;
  // For an inverted left axis the matrix's x runs leftwards from the
  // content's right edge.
  Point matrixSpacePoint(Point viewPoint) const override;
  // Through the turned transformer: the value across, the category up.
  Point pixelForValue(double x, double y, AxisDependency axis) const override;
  // The categories begin at the content's bottom edge.
  Point xAxisStart(Point across) const override;
  // For the right and then the left transformer: the value matrix from that
  // y axis's minimum and range across and the x axis's range and minimum up,
  // then the offset matrix with that y axis's direction.
  void prepareTransformers() override;

 private:
  std::shared_ptr<Transformer> leftAxisTransformer_;
  std::shared_ptr<Transformer> rightAxisTransformer_;
};

}  // namespace chart
