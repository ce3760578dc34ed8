#pragma once

#include <deque>
#include <memory>

#include "Chart/Components/YAxis.h"
#include "Chart/Renderers/XAxisRenderer.h"
#include "Chart/Renderers/YAxisRenderer.h"
#include "Chart/Interfaces/BarLineScatterCandleBubbleChartDataProvider.h"
#include "Chart/Utils/AxisDependency.h"
#include "Chart/Utils/ChartAnimationEasing.h"
#include "Chart/Utils/Transformer.h"
#include "Chart/Views/ChartViewBase.h"
#include "Chart/Views/ViewPortJob.h"

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
// The legend's room (LegendRoom) lies outside all of that, at the view's
// edge. Room that is not a finite number counts as none, and room wider or
// taller than the view is cut (restrainInView), so the content is never
// less than empty.
//
// Interaction. The view takes touches (nsuiTouches...): one finger dragging
// pans by the finger's movement; two fingers pinching zoom, about their
// centre, by the change of their distance (on x, y or both as the scale
// switches allow; the fingers are the first two of the event's touches in
// the view); a
// tap (one finger down and up within tapSlop points) highlights the value
// the highlighter finds there, and a tap on nothing, or on the value already
// highlighted, clears; a drag while the content cannot pan (fully zoomed
// out, no drag offset, or dragging off) moves the highlight with the
// finger. A released pan goes on, slowed by the friction coefficient each
// 1/60 s; a new touch, move or zoom stops it. A cancelled gesture keeps the
// matrix of its last move, goes on with nothing and takes back the
// highlight a drag moved.
//
// The speed of a released pan is the finger's way over the moves of the
// last flingWindow before its last move, divided by the time they took
// (the run loop's clock at each moved event). Moves handled less than
// handledTogether apart were queued and handled together (after a slow
// frame), so they cannot set the speed alone: when the moves of the window
// are all such, their way took the time since the move before them, and a
// drag whose every move was handled together with its touch-down throws
// nothing.
//
// Every zoom, pan and move builds its matrix with the view-port handler's
// builders and hands it to refresh(), so the handler's limits hold; a
// factor, point, value or duration that is not a finite number changes
// nothing. A zoom factor is first cut to what the handler's minimum and
// maximum scales allow, so the value under the zoom's point stays there and
// a zoom at a limit changes nothing. A change of scale recomputes the room
// around the content: at once after a zoom call, at the end of a pinch (the
// content keeps its place while the fingers are down); when the room
// changes, the value at the zoom's point or the pinch's last centre is
// panned back onto it. Pans and moves never change the scale.
class BarLineChartViewBase : public ChartViewBase, public virtual BarLineScatterCandleBubbleChartDataProvider {
 public:
  // How far (points) a finger may move and still tap.
  static constexpr double tapSlop = 8;
  // A finger that rested longer (seconds) before it let go throws nothing;
  // the release speed is taken over the moves of this last stretch.
  static constexpr double flingWindow = 0.1;
  // Moves handled closer together (seconds) were queued, not made so fast.
  static constexpr double handledTogether = 0.005;

  // Stops a running animated move or deceleration.
  ~BarLineChartViewBase() override;

  virtual std::shared_ptr<YAxis> leftAxis() const { return leftAxis_; }
  virtual std::shared_ptr<YAxis> rightAxis() const { return rightAxis_; }
  virtual std::shared_ptr<YAxis> getAxis(AxisDependency axis) const;
  // The transformer of that y axis; renderers get their transformers only
  // this way.
  std::shared_ptr<Transformer> getTransformer(AxisDependency axis) const override;

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
  // Clears the highlights (ChartViewBase) and what a running drag
  // highlight would put back when cancelled.
  void setData(std::shared_ptr<ChartData> data) override;
  // The data's extremes recomputed, the highlights that name no entry
  // dropped, then layOut: calcMinMax, the label positions of the enabled
  // axes, the legend's entries, the room around the content and the
  // transformers.
  void notifyDataSetChanged() override;

  // Zoom and pan. zoom() scales by the factors about a point of the view,
  // so the value under it stays there; zoomIn() and zoomOut() by the
  // handler's zoomInFactor and zoomOutFactor about the content's centre.
  // resetZoom() passes the handler's resetZoom() (the matrix as it is) and
  // fitScreen() its fitScreen() (the identity, both minimum scales back to
  // 1), each with invalidate false.
  virtual void zoom(double scaleX, double scaleY, double x, double y);
  virtual void zoomIn();
  virtual void zoomOut();
  virtual void resetZoom();
  virtual void fitScreen();
  // Pans so that xValue lies where the x axis begins (xAxisStart).
  virtual void moveViewToX(double xValue);
  // Pans so that (xValue, yValue) of the axis lies where the x axis begins,
  // halfway across the content the other way.
  virtual void moveViewTo(double xValue, double yValue, AxisDependency axis);
  // Pans so that (xValue, yValue) of the axis lies at the content's centre.
  virtual void centerViewTo(double xValue, double yValue, AxisDependency axis);
  // The same two moves eased over `duration` seconds on display-link ticks,
  // landing on the move's matrix at the last tick; a new move or a touch
  // cancels one. A duration of 0 or less moves at once.
  virtual void moveViewToAnimated(double xValue, double yValue, AxisDependency axis, double duration,
                                  ChartEasingOption easing = ChartEasingOption::easeInOutQuad);
  virtual void centerViewToAnimated(double xValue, double yValue, AxisDependency axis, double duration,
                                    ChartEasingOption easing = ChartEasingOption::easeInOutQuad);
  // The running animated move or drag deceleration; after it ended by
  // itself (its last tick, or a fling slowed to a stop or at the limits)
  // the same job, whose isRunning() is then false, until another starts;
  // nullptr before any, and once stopViewPortJob, a zoom, a touch-down or a
  // move without animation stopped it. Nothing is told when a job ends: a
  // caller waiting for a move runs the main run loop and asks isRunning()
  // after each pass.
  // Jobs tick on the main run loop only (ViewPortJob).
  virtual std::shared_ptr<ViewPortJob> viewPortJob() const { return viewPortJob_; }
  // Stops it where it is.
  virtual void stopViewPortJob();

  // Gesture switches, all on at first.
  virtual bool isDragEnabled() const { return dragEnabled_; }
  virtual void setDragEnabled(bool enabled) { dragEnabled_ = enabled; }
  virtual bool isScaleXEnabled() const { return scaleXEnabled_; }
  virtual void setScaleXEnabled(bool enabled) { scaleXEnabled_ = enabled; }
  virtual bool isScaleYEnabled() const { return scaleYEnabled_; }
  virtual void setScaleYEnabled(bool enabled) { scaleYEnabled_ = enabled; }
  virtual bool isHighlightPerTapEnabled() const { return highlightPerTapEnabled_; }
  virtual void setHighlightPerTapEnabled(bool enabled) { highlightPerTapEnabled_ = enabled; }
  virtual bool isHighlightPerDragEnabled() const { return highlightPerDragEnabled_; }
  virtual void setHighlightPerDragEnabled(bool enabled) { highlightPerDragEnabled_ = enabled; }
  // The share of a released pan's speed kept each 1/60 s: 0.9 at first,
  // held within [0, 0.999]; 0 throws nothing. A value that is not a number
  // is ignored.
  virtual double dragDecelerationFrictionCoef() const { return dragDecelerationFrictionCoef_; }
  virtual void setDragDecelerationFrictionCoef(double coefficient);
  // Points between a touch and the value it highlights, at most: 100 at
  // first. (Bars are found by their column, without this limit.)
  double maxHighlightDistance() const override { return maxHighlightDistance_; }
  virtual void setMaxHighlightDistance(double distance) { maxHighlightDistance_ = distance; }

  void nsuiTouchesBegan(const std::vector<Touch>& touches, const TouchEvent& event) override;
  void nsuiTouchesMoved(const std::vector<Touch>& touches, const TouchEvent& event) override;
  void nsuiTouchesEnded(const std::vector<Touch>& touches, const TouchEvent& event) override;
  void nsuiTouchesCancelled(const std::vector<Touch>& touches, const TouchEvent& event) override;

  // With data and a data renderer: the grid background; each enabled axis's
  // computeAxis (left, right, x); the axis lines (x, left, right); the grid
  // lines and the limit lines that lie behind the data; the data, clipped to
  // the content; the grid lines in front; the highlights; the extras; the
  // limit lines in front; the axis labels (x, left, right); the value labels;
  // the legend; the description; the markers.
  void draw(DrawingContext& context) override;

 protected:
  explicit BarLineChartViewBase(const Rect& frame);

  // Makes the bar-line highlighter.
  void setup() override;
  void calculateOffsets() override;
  // calcMinMax, the label positions of the enabled axes, the legend's
  // entries, the room around the content and the transformers.
  void layOut() override;
  // The x labels' size (while the x axis is enabled) and the legend's, then
  // the room around the content, keeping the value at the point the last
  // layout kept (layOutKeeping) when it kept one. In the middle of a pinch
  // it waits for the pinch's end, as the pinch's own layout does.
  void relayOutForMetrics() override;
  // For the right and then the left transformer: the value matrix from the
  // x axis's minimum and range and that y axis's range and minimum, then the
  // offset matrix with that y axis's direction.
  virtual void prepareTransformers();
  virtual void drawGridBackground(DrawingContext& context);

  // The point of the touch matrix's own space (before the offsets put the
  // content in its place) on which a point of the view lies, for the left
  // axis's direction.
  virtual Point matrixSpacePoint(Point viewPoint) const;
  // Where the value (x, y) of the axis lies in the view.
  virtual Point pixelForValue(double x, double y, AxisDependency axis) const;
  // The point where the x axis begins, level with `across`: on the
  // content's left edge, at the height of `across`.
  virtual Point xAxisStart(Point across) const;

 private:
  enum class Gesture { none, possibleTap, drag, dragHighlight, pinch };

  // The handler's translate() built so that the view point `from` lands on
  // `to`.
  AffineTransform panMatrix(Point from, Point to) const;
  // The handler's zoom() about a point of the view, each factor first cut to
  // what the handler's scale limits allow.
  AffineTransform zoomMatrix(double scaleX, double scaleY, Point about) const;
  // refresh() with invalidate false; true when the scale changed (and so
  // the room around the content may have).
  bool applyMatrix(const AffineTransform& matrix);
  // Lays the chart out again (calculateOffsets, with the view's metrics);
  // when the content moved, pans the value that was at `at` back onto it.
  void layOutKeeping(Point at);
  // The layout a pinch held back, at its end: measured again for the
  // metrics a draw brought meanwhile, or laid out again; either keeps the
  // value under the pinch's last centre.
  void layOutAfterPinch();
  // zoomMatrix through applyMatrix, laid out at once.
  void zoomAbout(double scaleX, double scaleY, Point about);
  // The pan that puts the pixel of (xValue, yValue) on `to`, at once or
  // animated.
  void moveValue(double xValue, double yValue, AxisDependency axis, Point to);
  void moveValueAnimated(double xValue, double yValue, AxisDependency axis, Point to, double duration,
                         ChartEasingOption easing);
  // A function that applies a matrix to this view while it lives.
  AnimatedViewPortJob::Apply applier();
  // This view, weakly, for the jobs that outlive a call; empty for a view
  // that no shared pointer owns (made directly, not through create()),
  // which then moves at once and throws nothing.
  std::weak_ptr<BarLineChartViewBase> weakSelf();
  bool canPan() const;
  // Notes where a drag's finger is at run-loop time `now`.
  void noteDragSample(double now, Point at);
  // Points per second, from the drag's samples (see the class comment).
  Point releaseVelocity() const;
  void startPinch(const std::vector<Touch>& touches);
  void tap(Point at);


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

  bool dragEnabled_ = true;
  bool scaleXEnabled_ = true;
  bool scaleYEnabled_ = true;
  bool highlightPerTapEnabled_ = true;
  bool highlightPerDragEnabled_ = true;
  double dragDecelerationFrictionCoef_ = 0.9;
  double maxHighlightDistance_ = 100;
  std::shared_ptr<ViewPortJob> viewPortJob_;

  // Where a drag's finger was at an event, and when (run-loop time).
  struct Sample {
    double time = 0;
    Point at;
  };
  // The gesture under way.
  struct Tracking {
    Gesture gesture = Gesture::none;
    Point start;              // where the finger came down
    Point last;               // the finger, or the pinch's centre, at the last event
    double lastTime = 0;      // run-loop time of the last event
    // A drag's touch-down and moves, oldest first: those within flingWindow
    // of the last and the one before them, of each run handled together
    // the first and the last.
    std::deque<Sample> trail;
    double pinchDistance = 0; // between the two fingers at the last event
    bool layoutPending = false; // a pinch changed the scale: lay out at its end
    bool remeasurePending = false; // a draw brought other metrics: measure again at its end
    // What was highlighted when the gesture began, for a cancelled drag
    // highlight to take back.
    std::vector<std::shared_ptr<Highlight>> highlightedBefore;
    std::shared_ptr<Highlight> lastHighlightedBefore;
  } tracking_;
};

}  // namespace chart
