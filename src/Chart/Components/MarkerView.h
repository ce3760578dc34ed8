#pragma once

#include <filesystem>
#include <memory>

#include "Chart/Components/IChartMarker.h"
#include "Chart/Utils/WeakReference.h"
#include "Chart/Utils/NSUIView.h"

namespace chart {

// A marker that is a view: its content, as big as its bounds, is drawn with
// its top-left corner at the drawing position moved by `offset`, shifted
// back inside the chart view's bounds where it would stick out. Subclasses
// fill it in refreshContent and draw it in drawContent over the layer's
// background; this base draws only the background.
//
// The chart view is held weakly (the view owns its marker): its owner must
// keep it alive, or the marker silently stops keeping inside the view. A
// temporary does not compile where a view is given, and a view already gone
// is refused with a line through the log sink.
class MarkerView : public NSUIView, public IChartMarker {
 public:
  explicit MarkerView(const Rect& frame);

  // There are no interface files to load a marker view from: always none.
  static std::shared_ptr<MarkerView> viewFromXib(const std::filesystem::path& bundle);

  Point offset() const override { return offset_; }
  virtual void setOffset(Point offset) { offset_ = offset; }
  // The chart view whose bounds keep the marker in, held weakly; the owner
  // that installs the marker sets it.
  virtual std::weak_ptr<platform::view::View> chartView() const { return chartView_; }
  virtual void setChartView(std::weak_ptr<platform::view::View> view) {
    storeWeakly(chartView_, std::move(view), "MarkerView.setChartView()", "chart view");
  }
  template <class T>
  void setChartView(std::shared_ptr<T>&& temporaryView) = delete;

  // Without a chart view the offset as it is, uncorrected; with one,
  // corrected as an image marker's is, for the size of this view's bounds.
  Point offsetForDrawing(Point point) override;
  // Does nothing here.
  void refreshContent(const ChartDataEntry& entry, const Highlight& highlight) override;
  // Moves the context to the point plus offsetForDrawing and draws there,
  // in a saved graphics state, the view's layer (its background colour over
  // the bounds, when it has one) and then the content.
  void draw(platform::graphics::DrawingContext& context, Point point) override;

 protected:
  // Draws the content with the bounds' top-left corner at the context's
  // origin. Draws nothing here.
  virtual void drawContent(platform::graphics::DrawingContext& context);

 private:
  Point offset_;
  std::weak_ptr<platform::view::View> chartView_;
};

}  // namespace chart
