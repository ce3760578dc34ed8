#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "Chart/Components/AxisBase.h"
#include "Chart/Renderers/Renderer.h"
#include "Chart/Utils/Transformer.h"
#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/TextAttributes.h"

namespace chart {

using platform::graphics::DrawingContext;

// The base of the axis renderers: it holds the axis and the transformer of
// that axis, declares the four drawing hooks, and turns a value range into
// the axis's label positions and decimals. The chart view calls the hooks
// in a fixed order on every draw; each concrete renderer gives all four a
// body (here they stop the program).
class AxisRendererBase : public Renderer {
 public:
  // The axis and the transformer may be absent; the renderer then draws
  // nothing that needs them.
  AxisRendererBase(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<Transformer> transformer,
                   std::shared_ptr<AxisBase> axis);

  virtual const std::shared_ptr<AxisBase>& axis() const { return axis_; }
  virtual void setAxis(std::shared_ptr<AxisBase> axis) { axis_ = std::move(axis); }
  virtual const std::shared_ptr<Transformer>& transformer() const { return transformer_; }
  virtual void setTransformer(std::shared_ptr<Transformer> transformer) { transformer_ = std::move(transformer); }

  virtual void renderAxisLabels(DrawingContext& context);
  virtual void renderGridLines(DrawingContext& context);
  virtual void renderAxisLine(DrawingContext& context);
  virtual void renderLimitLines(DrawingContext& context);

  // The label positions for the visible part of the range: while the chart
  // is zoomed in vertically (and its content is wider than 10 points) the
  // values at the content's top and bottom edge replace min and max
  // (swapped when inverted). Then computeAxisValues.
  virtual void computeAxis(double min, double max, bool inverted);
  // Writes the axis's entries, centred entries and decimals for the range:
  // a round interval (1, 2, 2.5, 5 or 10 times a power of ten, or the
  // granularity when larger) and the multiples of it within the range, or
  // labelCount values evenly spread when labels are forced. A range that is
  // empty, or a bound, range or interval that is not a finite number, leaves
  // both lists empty and the decimals as they were; an interval of 0 gives
  // the one entry 0.
  virtual void computeAxisValues(double min, double max);

 protected:
  // The dash pattern when there is one, else a solid line (phase 0, no
  // lengths).
  static void setLineDash(DrawingContext& context, double phase, const std::optional<std::vector<double>>& lengths);
  // A new path from one point to the other, stroked with the context's
  // current settings.
  static void strokeLine(DrawingContext& context, Point from, Point to);
  // The axis line's colour, width and dash.
  static void setAxisLineStyle(DrawingContext& context, const AxisBase& axis);
  // The grid lines' antialiasing, colour, width, cap and dash.
  static void setGridLineStyle(DrawingContext& context, const AxisBase& axis);
  // The limit line's colour, width and dash.
  static void setLimitLineStyle(DrawingContext& context, const ChartLimitLine& line);
  // The rectangle grown by `width`, half on each side: above and below, or
  // left and right.
  static Rect grownVertically(Rect rect, double width);
  static Rect grownHorizontally(Rect rect, double width);

  // A limit line across the content at pixel row y, with its label 4 +
  // xOffset in from the content's edge and its text's top line width + line
  // height + yOffset above the line (below it, its bottom that far below);
  // clipped to the content grown by the line width.
  void renderHorizontalLimitLine(DrawingContext& context, const ChartLimitLine& line, double y);
  // The label of a limit line down the content at pixel column x: line width
  // + xOffset beside it, `yOffset` in from the content's top or bottom edge.
  void drawVerticalLimitLineLabel(DrawingContext& context, const ChartLimitLine& line, double x, double yOffset);
  // A limit line's label font and colour.
  static platform::graphics::TextAttributes limitLabelAttributes(const ChartLimitLine& line);

  // The steps of the value computation that the axis renderers share.
  // The label count the values are computed for: the axis's, at most
  // AxisBase::maxComputedLabels.
  static int64_t computedLabelCount(const AxisBase& axis);
  // Whether a range has no labels at all: no label count, an empty range,
  // or a bound or range that is not a finite number.
  static bool hasNoLabels(int64_t labelCount, double min, double max);
  // range / computedLabelCount rounded to one significant digit, raised to the
  // granularity when that is larger, and a digit above 5 raised to the next
  // power of ten (unless that power floors to 0). The power of ten is the
  // interval's exponent truncated toward zero, or floored when
  // `flooredMagnitude`. An interval of 0 or one that is not finite comes
  // back as it is.
  static double roundedInterval(const AxisBase& axis, double range, bool flooredMagnitude);
  // How many of first, first + interval, first + 2 · interval, … lie below
  // `last`, plus one when the next equals it; each value is computed from
  // its multiple directly (one fused multiply-add when `fused`), so an
  // interval below the first value's resolution still ends.
  static int64_t countSteps(double first, double last, double interval, bool fused);
  // Empties both entry lists (keeping their storage).
  static void clearEntries(AxisBase& axis);
  // Replaces the entries (keeping their storage) with n values from `first`,
  // each the previous plus `interval`; a zero is stored as positive zero.
  // Callers bring n to at most AxisBase::maxComputedLabels first.
  static void fillEntries(std::vector<double>& entries, double first, double interval, int64_t n);
  // The decimals an interval shows: ceil(-log10(interval)) below 1, else 0
  // (an infinite one included). An interval of 0, or not a number, keeps the
  // axis's decimals.
  static void setDecimalsForInterval(AxisBase& axis, double interval);

 private:
  std::shared_ptr<AxisBase> axis_;
  std::shared_ptr<Transformer> transformer_;
};

}  // namespace chart
