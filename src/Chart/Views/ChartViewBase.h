#pragma once

#include <memory>
#include <vector>

#include "Chart/Components/Description.h"
#include "Chart/Components/IChartMarker.h"
#include "Chart/Components/XAxis.h"
#include "Chart/Renderers/DataRenderer.h"
#include "Chart/Utils/DefaultValueFormatter.h"
#include "Chart/Utils/Highlight.h"
#include "Chart/Utils/NSUIView.h"
#include "Chart/Utils/ViewPortHandler.h"
#include "Chart/Views/ChartDataProvider.h"
#include "platform/graphics/DrawingContext.h"

namespace chart {

using platform::graphics::DrawingContext;
using platform::graphics::Point;
using platform::graphics::Rect;

// The base of every chart view: it owns the view-port handler (made from its
// bounds and kept to its size), the data, the x axis, the description, a
// default value formatter for the data sets, the data renderer, the marker
// and the highlighted values. Subclasses lay the chart out and draw it.
//
// Still to come here: the animator (its x and y phases read as 1 meanwhile)
// and the legend with its renderer.
class ChartViewBase : public NSUIView, public virtual ChartDataProvider {
 public:
  explicit ChartViewBase(const Rect& frame);

  // A new size reaches the view-port handler, then the layout is computed
  // again (calculateOffsets).
  void setFrame(const Rect& frame) override;
  void setBounds(const Rect& bounds) override;

  std::shared_ptr<ChartData> data() const override { return data_; }
  // Stores the data. The view's default formatter takes the decimals of the
  // data's y range (of its larger y magnitude when it holds fewer than two
  // entries) and goes to every data set that needs a formatter or still
  // holds it; then notifyDataSetChanged.
  virtual void setData(std::shared_ptr<ChartData> data);
  // Lays the chart out for its current data; every chart kind gives it a
  // body (here it stops the program).
  virtual void notifyDataSetChanged();

  const std::shared_ptr<ViewPortHandler>& viewPortHandler() const { return viewPortHandler_; }
  virtual const std::shared_ptr<XAxis>& xAxis() const { return xAxis_; }
  virtual const std::shared_ptr<Description>& chartDescription() const { return description_; }
  // The formatter the view hands to data sets without one of their own; made
  // with 0 decimals.
  virtual const std::shared_ptr<DefaultValueFormatter>& defaultValueFormatter() const {
    return defaultValueFormatter_;
  }
  // The centre of the content rectangle.
  virtual Point centerOffsets() const;

  // The renderer of the chart kind's data; may be absent (then nothing is
  // drawn).
  virtual const std::shared_ptr<DataRenderer>& renderer() const { return renderer_; }
  virtual void setRenderer(std::shared_ptr<DataRenderer> renderer) { renderer_ = std::move(renderer); }

  // Markers: drawn last, one per highlighted value that is shown.
  virtual const std::shared_ptr<IChartMarker>& marker() const { return marker_; }
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

  // Draws the chart; this base draws nothing.
  virtual void draw(DrawingContext& context);
  // The description, when enabled and not empty, with its font, colour and
  // alignment, at its position or else at the content's bottom-right corner
  // moved in by its offsets (its text's bottom one font line height above
  // that corner's y).
  virtual void drawDescription(DrawingContext& context);
  // For each highlight whose entry exists, is within the shown part of its
  // set and whose position lies in the content: the marker's refreshContent,
  // then its draw at that position.
  virtual void drawMarkers(DrawingContext& context);

 protected:
  // Reserves the room around the content; this base reserves none.
  virtual void calculateOffsets() {}

 private:
  void sizeChanged();

  std::shared_ptr<ViewPortHandler> viewPortHandler_;
  std::shared_ptr<ChartData> data_;
  std::shared_ptr<XAxis> xAxis_ = std::make_shared<XAxis>();
  std::shared_ptr<Description> description_ = std::make_shared<Description>();
  std::shared_ptr<DefaultValueFormatter> defaultValueFormatter_ = std::make_shared<DefaultValueFormatter>(0);
  std::shared_ptr<DataRenderer> renderer_;
  std::shared_ptr<IChartMarker> marker_;
  bool drawMarkers_ = true;
  std::vector<std::shared_ptr<Highlight>> highlighted_;
};

}  // namespace chart
