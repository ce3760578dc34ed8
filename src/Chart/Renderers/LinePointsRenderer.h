#pragma once

#include <memory>
#include <vector>

#include "Chart/Data/ILineChartDataSet.h"
#include "Chart/Interfaces/BarLineScatterCandleBubbleChartDataProvider.h"
#include "Chart/Renderers/DataRenderer.h"
#include "platform/graphics/DrawingContext.h"

namespace chart {

// Draws the line data sets of a chart on an x axis and two y axes: each one
// as a line through its entries and a circle at each entry, as the set's
// settings say. It is the data renderer of a line chart view, and of a bar
// or line view whose CombinedChartData holds line data (a bar chart with a
// target line: the bars are another renderer's, the lines this one's):
//
//   view->setRenderer(std::make_shared<LinePointsRenderer>(*view, view->viewPortHandler()));
//
// The data is read at every draw from `provider` (the view itself): the line
// data sets of its LineChartData, or of the line data of its
// CombinedChartData; sets of other kinds are left alone. The provider must
// outlive the renderer, as a view that owns its renderer does. Each set is
// placed through the transformer of its own axis (`axisDependency`); on a
// horizontal-bar view, whose transformers take the y value across the
// content and x up it, an entry (x, y) lies where the view's highlighter
// finds it: y across, x up.
//
// drawData draws the sets in their order, each over the ones before it: its
// line, then its circles. For each set that is visible and has entries (a
// hidden or empty set draws nothing):
// - the line, from entry to entry in their order, in the set's colour (with
//   several colours, segment i in colour i, in turn), its line width, cap
//   and dash (phase and lengths; none is solid). `stepped` mode draws a
//   run along x, then one along y to each entry; the other modes draw
//   straight segments (the drawing context draws no curves). A line width of
//   0 draws no line: a set of points alone. An entry whose value is not a
//   number leaves a gap: the line breaks there.
// - with circles enabled and a radius above 0, a circle of that radius at
//   each entry in the circle colour of its index (the circle colours in
//   turn; the set's colour when it has none). With a hole enabled and a hole
//   radius above 0 and below the radius, the hole is filled with the hole
//   colour, or left open (a ring, through which what lies below shows) when
//   the set has no hole colour.
// Everything is clipped to the view-port handler's content rectangle, so
// nothing of the data is drawn outside it, whatever the values; a circle
// wholly outside it is not drawn at all. Values, fills and highlights are
// not drawn.
class LinePointsRenderer : public DataRenderer {
 public:
  using DrawingContext = platform::graphics::DrawingContext;

  LinePointsRenderer(const BarLineScatterCandleBubbleChartDataProvider& provider,
                     std::shared_ptr<ViewPortHandler> viewPortHandler);

  void drawData(DrawingContext& context) override;

  // The line data sets drawn: those of the provider's data, visible or not.
  virtual std::vector<std::shared_ptr<ILineChartDataSet>> lineDataSets() const;

 protected:
  // One set's line, and its circles; only called for a visible set with
  // entries. The context is clipped to the content already.
  virtual void drawLine(DrawingContext& context, const ILineChartDataSet& set);
  virtual void drawCircles(DrawingContext& context, const ILineChartDataSet& set);

  // The entries of the set as pixels, in order (turned on a horizontal-bar
  // view); an entry that is not a number (or has no entry object) gives a
  // point that is not finite.
  std::vector<Point> pixelsOf(const ILineChartDataSet& set) const;

 private:
  const BarLineScatterCandleBubbleChartDataProvider& provider_;
};

}  // namespace chart
