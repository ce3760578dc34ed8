#pragma once

#include <memory>

#include "Chart/Components/YAxis.h"
#include "Chart/Renderers/XAxisRenderer.h"
#include "Chart/Renderers/YAxisRenderer.h"
#include "Chart/Utils/AxisDependency.h"
#include "Chart/Utils/Transformer.h"
#include "Chart/Views/ChartViewBase.h"

namespace chart {

// The base of the charts drawn on an x axis and two y axes (line, bar,
// scatter, candle, bubble, combined). It owns a left and a right y axis, one
// transformer each, and the three axis renderers (the x axis renderer maps
// through the left transformer), computes the axes' ranges from the data,
// reserves room for their labels, and draws the axes around the data
// renderer's output.
//
// The room around the content (calculateOffsets), in points:
// - left and right: the y axis's requiredSize() width when it needsOffset,
//   else 0; at least half the x labels' turned width when x labels are drawn,
//   so the first and last label stay inside;
// - top and bottom: the x labels' turned height plus the x axis's yOffset on
//   each side the x labels are drawn outside; at least what the y labels
//   reach beyond their top and bottom rows (a label's top lies lh - (lh / 2.5
//   + yOffset) above its row, lh being the label font's line height).
// The x labels' turned size is the longest label's (labelRotatedWidth and
// labelRotatedHeight); with word wrap on, the larger of that and the box of
// each label wrapped at the width one x unit takes between the y labels.
//
// The legend's room (calculateLegendOffsets) lies outside all of that, at the
// view's edge: a vertical legend aligned left or right takes its needed width
// (at most maxSizePercent of the chart's width) plus its xOffset on that
// side; any other legend takes its needed height (at most maxSizePercent of
// the chart's height) plus its yOffset above or below the content, by its
// vertical alignment. The needed sizes already hold one offset; the second
// is the gap the legend renderer leaves between the legend and the view's
// edge, so the legend lies inside the view and clear of the axis labels. A
// legend that is disabled, drawn inside or without entries takes no room,
// nor does a horizontal one centred down the view or a vertical one centred
// both ways: those lie over the content. A horizontal legend is laid out
// again at the final content width before its room is taken, so that its
// lines break where they are drawn.
class BarLineChartViewBase : public ChartViewBase {
 public:
  virtual std::shared_ptr<YAxis> leftAxis() const { return leftAxis_; }
  virtual std::shared_ptr<YAxis> rightAxis() const { return rightAxis_; }
  virtual std::shared_ptr<YAxis> getAxis(AxisDependency axis) const;
  // The transformer of that y axis; renderers get their transformers only
  // this way.
  virtual std::shared_ptr<Transformer> getTransformer(AxisDependency axis) const;

  virtual std::shared_ptr<YAxisRenderer> leftYAxisRenderer() const { return leftYAxisRenderer_; }
  virtual void setLeftYAxisRenderer(std::shared_ptr<YAxisRenderer> renderer) {
    leftYAxisRenderer_ = std::move(renderer);
  }
  virtual std::shared_ptr<YAxisRenderer> rightYAxisRenderer() const { return rightYAxisRenderer_; }
  virtual void setRightYAxisRenderer(std::shared_ptr<YAxisRenderer> renderer) {
    rightYAxisRenderer_ = std::move(renderer);
  }
  virtual std::shared_ptr<XAxisRenderer> xAxisRenderer() const { return xAxisRenderer_; }
  virtual void setXAxisRenderer(std::shared_ptr<XAxisRenderer> renderer) { xAxisRenderer_ = std::move(renderer); }

  // The content's background, filled first on every draw when enabled
  // (default off, light grey).
  virtual bool drawGridBackgroundEnabled() const { return drawGridBackgroundEnabled_; }
  virtual void setDrawGridBackgroundEnabled(bool enabled) { drawGridBackgroundEnabled_ = enabled; }
  virtual Color gridBackgroundColor() const { return gridBackgroundColor_; }
  virtual void setGridBackgroundColor(const Color& color) { gridBackgroundColor_ = color; }

  // The larger maximum and the smaller minimum of the two y axes.
  double chartYMax() const override;
  double chartYMin() const override;

  // The axes' ranges from the data: x, then left, then right (0 and 0 each
  // without data).
  virtual void calcMinMax();
  // calcMinMax, the label positions of the enabled axes, the legend's
  // entries, the room around the content and the transformers.
  void notifyDataSetChanged() override;

  // With data and a data renderer: the grid background; each enabled axis's
  // computeAxis (left, right, x); the axis lines (x, left, right); the grid
  // lines and the limit lines that lie behind the data; the data, clipped to
  // the content; the grid lines in front; the highlights; the extras; the
  // limit lines in front; the axis labels (x, left, right); the value labels;
  // the legend; the description; the markers.
  void draw(DrawingContext& context) override;

 protected:
  explicit BarLineChartViewBase(const Rect& frame);

  void calculateOffsets() override;
  // Adds the legend's room to the offset of the side where it stands.
  virtual void calculateLegendOffsets(double& offsetLeft, double& offsetTop, double& offsetRight,
                                      double& offsetBottom);
  // For the right and then the left transformer: the value matrix from the
  // x axis's minimum and range and that y axis's range and minimum, then the
  // offset matrix with that y axis's direction.
  virtual void prepareTransformers();
  virtual void drawGridBackground(DrawingContext& context);

 private:
  // The turned size of the x labels as the offsets reserve it, for a content
  // of the given width.
  platform::graphics::Size xLabelBox(double contentWidth) const;

  std::shared_ptr<YAxis> leftAxis_ = std::make_shared<YAxis>(AxisDependency::left);
  std::shared_ptr<YAxis> rightAxis_ = std::make_shared<YAxis>(AxisDependency::right);
  std::shared_ptr<Transformer> leftAxisTransformer_;
  std::shared_ptr<Transformer> rightAxisTransformer_;
  std::shared_ptr<YAxisRenderer> leftYAxisRenderer_;
  std::shared_ptr<YAxisRenderer> rightYAxisRenderer_;
  std::shared_ptr<XAxisRenderer> xAxisRenderer_;
  bool drawGridBackgroundEnabled_ = false;
  Color gridBackgroundColor_ = Color::rgb(240.0 / 255.0, 240.0 / 255.0, 240.0 / 255.0);
};

}  // namespace chart
