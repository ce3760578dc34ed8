#pragma once

#include <memory>
#include <vector>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/IBarChartDataSet.h"
#include "Chart/Interfaces/BarLineScatterCandleBubbleChartDataProvider.h"
#include "Chart/Renderers/DataRenderer.h"
#include "platform/graphics/DrawingContext.h"

namespace chart {

// Draws the bar data sets of a bar view (upright or horizontal) as filled
// rectangles. It is the data renderer of a bar view given BarChartData, and,
// with the line-and-points renderer in a CombinedRenderer, of a bar view
// whose CombinedChartData holds bars and a line over them:
//
//   view->setRenderer(std::make_shared<BarsRenderer>(*view, view->viewPortHandler()));
//
// The data is read at every draw from `provider` (the view itself): the bar
// data sets of its BarChartData, or of the bar data of its
// CombinedChartData; sets of other kinds are left alone. The provider must
// outlive the renderer, as a view that owns its renderer does. Each set is
// placed through the transformer of its own axis (`axisDependency`).
//
// drawData draws the sets in their order, each over the ones before it. For
// each set that is visible and has entries (a hidden or empty set draws
// nothing), each entry's bar is the bar data's barWidth wide about its x
// and runs from 0 to its y, down from 0 for a negative y. A stacked entry
// is one rectangle per stack value, over that value's range (the positive
// values stacked up from 0 in their order, the negative ones down), value k
// in the set's colour k; a plain entry i is in the set's colour i (so with
// one colour every bar is in it; in a stacked set a plain entry is in the
// first stack value's colour, as the legend shows). The colours are used in
// turn. On a horizontal-bar view the bars run across the content from the
// value axis's 0, the categories up it.
//
// An entry whose value is not a number, a stack without values (one whose
// values were all taken away in place) and a bar width that is not above 0
// draw nothing. Each bar is filled as far as it lies within the view-port
// handler's content rectangle (with the context clipped to it): a bar
// wholly outside is not drawn at all. drawnParts() says what is filled, and
// the bar highlighter asks it what a tap lands on, so what is drawn and
// what is tapped cannot disagree. Borders, shadows, values and highlights
// are not drawn, and the bars are drawn at full height whatever the
// animator's phase.
class BarsRenderer : public DataRenderer {
 public:
  using DrawingContext = platform::graphics::DrawingContext;

  BarsRenderer(const BarLineScatterCandleBubbleChartDataProvider& provider,
               std::shared_ptr<ViewPortHandler> viewPortHandler);

  void drawData(DrawingContext& context) override;

  // The bar data drawn: the provider's BarChartData, or the bar data of its
  // CombinedChartData; nullptr when it has none.
  virtual std::shared_ptr<BarChartData> barData() const;

  // One rectangle filled for an entry: the whole bar (stackIndex -1) or the
  // stack value at stackIndex, in pixels, cut to the content.
  struct DrawnPart {
    int64_t stackIndex = -1;
    Rect rect;
  };
  // What drawData fills for `entry` in a set placed through `transformer`
  // (turned on a horizontal-bar view), bars `barWidth` wide, within
  // `content`: its stack values in their order, or the bar as a whole; a
  // part with nothing inside the content is left out.
  static std::vector<DrawnPart> drawnParts(const ChartDataEntry& entry, const Transformer& transformer,
                                           double barWidth, const Rect& content);

 protected:
  // One set's bars, each `barWidth` wide; only called for a visible set
  // with entries and a bar width above 0. The context is clipped to the
  // content already.
  virtual void drawBars(DrawingContext& context, const IBarChartDataSet& set, double barWidth);

 private:
  const BarLineScatterCandleBubbleChartDataProvider& provider_;
};

}  // namespace chart
