#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "Chart/Components/Description.h"
#include "Chart/Components/IChartMarker.h"
#include "Chart/Components/Legend.h"
#include "Chart/Components/XAxis.h"
#include "Chart/Highlight/IHighlighter.h"
#include "Chart/Renderers/DataRenderer.h"
#include "Chart/Renderers/LegendRenderer.h"
#include "Chart/Utils/Animator.h"
#include "Chart/Utils/DefaultValueFormatter.h"
#include "Chart/Utils/Highlight.h"
#include "Chart/Utils/NSUIView.h"
#include "Chart/Utils/ViewPortHandler.h"
#include "Chart/Interfaces/ChartDataProvider.h"
#include "Chart/Views/ChartViewDelegate.h"
#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/TextMetrics.h"

namespace chart {

using platform::graphics::DrawingContext;
using platform::graphics::Point;
using platform::graphics::Rect;

// The base of every chart view: it owns the view-port handler (made from its
// bounds and kept to its size), the data, the x axis, the description, the
// legend and its renderer, the animator, a default value formatter for the
// data sets, the data renderer, the marker and the highlighted values.
// Subclasses lay the chart out and draw it.
//
// The view is its animator's delegate: every change of the phases marks the
// whole view for redrawing, and the end of an animation is passed on to the
// view's own delegate. The animator holds the view weakly, so views are
// made by their class's create() (shared ownership), whose setup() wires
// them. A subclass that constructs itself directly still gets an animator:
// the view makes it on first use (its delegate when the view is shared by
// then). A view stops its animator when it is destroyed: a running animation
// (which its display link keeps alive) ends with it.
//
// A view, with its data, components, renderers and marker, is used by one
// thread at a time, and takes no locks. Views of different threads may be
// made, laid out, touched and drawn at the same time, each into contexts of
// its own: a layout or a draw measures with the view's own text metrics
// (textMetrics) and changes nothing process-wide. What is process-wide (the
// installed text metrics and image back end, the clock, the log sink) is
// installed before such threads start. Animations, flings and animated
// moves tick on the main run loop: only views of the main thread start
// them.
class ChartViewBase : public NSUIView,
                      public virtual ChartDataProvider,
                      public ChartAnimatorDelegate,
                      public std::enable_shared_from_this<ChartViewBase> {
 public:
  ~ChartViewBase() override;

  // A new size reaches the view-port handler, then the layout is computed
  // again (calculateOffsets).
  void setFrame(const Rect& frame) override;
  void setBounds(const Rect& bounds) override;

  // The metrics the view measures its text with, in every layout and every
  // frame: the installed metrics when the view was made (FixedTextMetrics,
  // or Cairo's while a platform::cairo::ScopedCairoBackend lives), until the
  // view is given others, or is drawn into a context with metrics of its
  // own (a Cairo context), which it then keeps. Never null.
  std::shared_ptr<const platform::graphics::TextMetrics> textMetrics() const { return textMetrics_; }
  // Gives the view the metrics of what it will be drawn into, so that its
  // first layout is already the one its frames show
  // (`view->setTextMetrics(context->ownTextMetrics())` before setData);
  // nullptr stands for the installed metrics. Metrics that measure
  // otherwise than the view's lay the chart out again with them.
  void setTextMetrics(std::shared_ptr<const platform::graphics::TextMetrics> metrics);

  std::shared_ptr<ChartData> data() const override { return data_; }
  // Stores the data, with nothing highlighted (the highlights, the last
  // highlighted value and what a drag would put back are dropped, even when
  // the data is the same object). The view's default formatter takes the
  // decimals of the data's y range (of its larger y magnitude when it holds
  // fewer than two entries) and goes to every data set that needs a
  // formatter or still holds it; then notifyDataSetChanged.
  virtual void setData(std::shared_ptr<ChartData> data);
  // Lays the chart out for its current data (the legend's entries first,
  // then the room around the content); every chart kind gives it a body
  // (here it stops the program). After an edit of the data in place, the
  // highlights that still name an entry stay and the others go.
  virtual void notifyDataSetChanged();

  const std::shared_ptr<ViewPortHandler>& viewPortHandler() const { return viewPortHandler_; }
  virtual std::shared_ptr<XAxis> xAxis() const { return xAxis_; }
  virtual std::shared_ptr<Description> chartDescription() const { return description_; }
  // The formatter the view hands to data sets without one of their own; made
  // with 0 decimals.
  virtual std::shared_ptr<DefaultValueFormatter> defaultValueFormatter() const {
    return defaultValueFormatter_;
  }
  // The centre of the content rectangle.
  virtual Point centerOffsets() const;

  // The legend, made with the view; its renderer builds its entries from the
  // data on every data change and draws it after the value labels.
  virtual std::shared_ptr<Legend> legend() const { return legend_; }
  virtual std::shared_ptr<LegendRenderer> legendRenderer() const { return legendRenderer_; }
  // The view takes its legend from the renderer, so that the legend it makes
  // room for is the one drawn; a renderer without a legend is refused (a
  // line through the log sink, nothing changes). nullptr: no legend is
  // computed or drawn.
  virtual void setLegendRenderer(std::shared_ptr<LegendRenderer> renderer);

  // The animator whose phases the view draws with (both 1 while nothing
  // animates), never absent; and the view's own delegate, held weakly.
  virtual std::shared_ptr<Animator> animator() const;
  virtual std::weak_ptr<ChartViewDelegate> delegate() const { return delegate_; }
  virtual void setDelegate(std::weak_ptr<ChartViewDelegate> delegate) { delegate_ = std::move(delegate); }
  // Marks the whole view for redrawing.
  void animatorUpdated(Animator& animator) override;
  // Tells the view's delegate, if there is one.
  void animatorStopped(Animator& animator) override;

  // The renderer of the chart kind's data; may be absent (then nothing is
  // drawn).
  virtual std::shared_ptr<DataRenderer> renderer() const { return renderer_; }
  virtual void setRenderer(std::shared_ptr<DataRenderer> renderer) { renderer_ = std::move(renderer); }

  // Markers: drawn last, one per highlighted value that is shown.
  virtual std::shared_ptr<IChartMarker> marker() const { return marker_; }
  virtual void setMarker(std::shared_ptr<IChartMarker> marker) { marker_ = std::move(marker); }
  virtual bool drawMarkers() const { return drawMarkers_; }
  virtual void setDrawMarkers(bool enabled) { drawMarkers_ = enabled; }
  virtual const std::vector<std::shared_ptr<Highlight>>& highlighted() const { return highlighted_; }
  virtual void setHighlighted(std::vector<std::shared_ptr<Highlight>> highlights) {
    highlighted_ = std::move(highlights);
  }
  virtual bool valuesToHighlight() const { return !highlighted().empty(); }
  // Where the marker of the highlight is drawn: its draw position.
  virtual Point getMarkerPosition(const Highlight& highlight) const;

  // Highlighting from code and from touches. Each change of the highlighted
  // values marks the whole view for redrawing; the marker pass shows them.
  // The highlighter that turns a touch point into a highlight; the bar-line
  // views make theirs when they are set up, other views have none.
  virtual std::shared_ptr<IHighlighter> highlighter() const { return highlighter_; }
  virtual void setHighlighter(std::shared_ptr<IHighlighter> highlighter) { highlighter_ = std::move(highlighter); }
  // The highlight last made by a tap, a drag or a call below; nullptr after
  // a clear.
  virtual std::shared_ptr<Highlight> lastHighlighted() const { return lastHighlighted_; }
  virtual void setLastHighlighted(std::shared_ptr<Highlight> highlight) { lastHighlighted_ = std::move(highlight); }
  // Highlights the entry of the data set at dataSetIndex whose x is closest
  // to xValue (for a stacked bar, the stack value at stackIndex). Without
  // data, with no set at that index, with an x that is not a number, or
  // with a stack index other than -1 that names no value of a stacked
  // entry, nothing is highlighted any more. In CombinedChartData the index
  // counts through the sets of all its sub-data in the order allData()
  // gives (its dataSets()); the highlight names the sub-data by its
  // dataIndex, the set by its index there and the entry by that entry's x.
  virtual void highlightValue(double xValue, int64_t dataSetIndex, int64_t stackIndex = -1);
  // Highlights exactly that value; nullptr, or a highlight that names no
  // entry of the data (as namesEntry() judges), clears.
  virtual void highlightValue(std::shared_ptr<Highlight> highlight);
  // Highlights every value of the list that names an entry; the first of
  // them becomes the last highlighted.
  virtual void highlightValues(std::vector<std::shared_ptr<Highlight>> highlights);
  // Nothing highlighted.
  virtual void clearHighlights();
  // The highlighter's highlight for a point of the view, or nullptr; without
  // data it logs "Can't select by touch. No data set." and gives nullptr.
  virtual std::shared_ptr<Highlight> getHighlightByTouchPoint(Point point) const;

  // Draws the chart; this base only forgets the rectangles marked for
  // redrawing, and every view kind's draw begins with it.
  virtual void draw(DrawingContext& context);
  // The description, when enabled and not empty, with its font, colour and
  // alignment, at its position or else at the content's bottom-right corner
  // moved in by its offsets (its text's bottom one font line height above
  // that corner's y). Called alone, it measures as draw does: with the
  // view's metrics (taking a Cairo context's first, as draw would).
  virtual void drawDescription(DrawingContext& context);
  // The markers' pass of a draw (drawMarkers() is the switch that turns it
  // on): for each highlight whose entry exists, is within the shown part of
  // its set (its index at most the entry count times the animator's x phase)
  // and whose position lies in the content, the marker's refreshContent, then
  // its draw at that position, with the view's metrics in force, as in
  // draw. A marker that changes the highlights there changes what the next
  // pass shows.
  virtual void renderMarkers(DrawingContext& context);

 protected:
  explicit ChartViewBase(const Rect& frame);
  // The set-up that needs the view shared: makes the animator now, with
  // this view as its delegate. Each view class's create() calls it once,
  // right after construction.
  virtual void setup();

  // Reserves the room around the content; this base reserves none. Every
  // view restrains its view port with restrainInView (LegendRoom.h), so that
  // room that is not a number, or wider or taller than the view, leaves the
  // content empty, never less.
  virtual void calculateOffsets() {}
  // Lays the chart out for its data as last notified: the axes' ranges and
  // labels, the legend's entries, then the room around the content
  // (calculateOffsets). Every chart kind's notifyDataSetChanged ends with it
  // (through layOutWithOwnMetrics); this base lays out nothing.
  virtual void layOut() {}
  // layOut with the view's metrics in force.
  void layOutWithOwnMetrics();
  // calculateOffsets with the view's metrics in force.
  void calculateOffsetsWithOwnMetrics();
  // The view's metrics in force on this thread for one scope: every layout
  // and every draw of the view holds it, so that what they call measures
  // with them.
  platform::graphics::ScopedThreadTextMetrics ownMetricsInForce() const;
  // Held from its start by every public drawing call (draw, drawDescription,
  // renderMarkers; within draw, the calls it makes find it done). A context
  // with metrics of its own (a Cairo context's real fonts) gives the view
  // its metrics at the view's first draw into such a context (unless
  // setTextMetrics came first), and later when they measure otherwise than
  // the view's; the chart is then measured again with them
  // (relayOutForMetrics) before anything is drawn: the room made for each
  // label is the room its glyphs take, and the first frame is the same
  // whichever metrics were installed. Any other draw lays nothing out.
  platform::graphics::ScopedThreadTextMetrics drawingMetrics(const DrawingContext& context);
  // Lays the chart out again for metrics that measure otherwise, from what
  // its last layout computed: the axes' ranges and labels and the legend's
  // entries stay, their sizes and the room around the content are measured
  // again (here: the legend's size, then calculateOffsets). Called with the
  // new metrics in force.
  virtual void relayOutForMetrics();
  // The legend's size measured again, when the view has a legend renderer.
  void measureLegend();
  // The point of the view whose value the last layout kept in place (a
  // zoom's or a pinch's), if it kept one: a layout for other metrics keeps
  // it too.
  const std::optional<Point>& keptInPlace() const { return keptInPlace_; }
  void setKeptInPlace(std::optional<Point> at) { keptInPlace_ = at; }

  // Whether the highlight names an entry of the data: a set at its index,
  // an x that is a number, an entry found for it and, unless its stack index
  // is -1, a stacked entry holding a value at that index.
  bool namesEntry(const Highlight& highlight) const;
  // Drops the highlights that name no entry any more (the last highlighted
  // goes to the first that stays, or to none, when it is dropped); each
  // chart kind's notifyDataSetChanged calls it.
  void keepHighlightsNamingEntries();

 private:
  void sizeChanged();
  // Makes the metrics the view's, known to be those of what it is drawn
  // into, and measures the chart again with them when `measure` says so.
  void takeTextMetrics(std::shared_ptr<const platform::graphics::TextMetrics> metrics, bool measure);

  std::shared_ptr<ViewPortHandler> viewPortHandler_;
  std::shared_ptr<const platform::graphics::TextMetrics> textMetrics_ = platform::graphics::installedTextMetrics();
  // Whether textMetrics_ are those of what the view is drawn into: given by
  // setTextMetrics, or taken at a draw into a context with metrics of its own.
  bool metricsKnown_ = false;
  std::optional<Point> keptInPlace_;
  std::shared_ptr<ChartData> data_;
  std::shared_ptr<XAxis> xAxis_ = std::make_shared<XAxis>();
  std::shared_ptr<Description> description_ = std::make_shared<Description>();
  std::shared_ptr<Legend> legend_ = std::make_shared<Legend>();
  std::shared_ptr<LegendRenderer> legendRenderer_;
  mutable std::shared_ptr<Animator> animator_;
  std::weak_ptr<ChartViewDelegate> delegate_;
  std::shared_ptr<DefaultValueFormatter> defaultValueFormatter_ = std::make_shared<DefaultValueFormatter>(0);
  std::shared_ptr<DataRenderer> renderer_;
  std::shared_ptr<IChartMarker> marker_;
  bool drawMarkers_ = true;
  std::vector<std::shared_ptr<Highlight>> highlighted_;
  std::shared_ptr<IHighlighter> highlighter_;
  std::shared_ptr<Highlight> lastHighlighted_;
};

}  // namespace chart
