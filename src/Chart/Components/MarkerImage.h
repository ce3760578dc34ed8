#pragma once

#include <memory>

#include "Chart/Components/IChartMarker.h"
#include "Chart/Utils/WeakReference.h"
#include "platform/graphics/Image.h"
#include "platform/view/View.h"

namespace chart {

// A marker that draws an image with its top-left corner at the drawing
// position moved by `offset`, shifted back inside the chart view's bounds
// where it would stick out. A zero width or height of `size` means the
// image's own. Without an image nothing is drawn.
//
// The chart view is held weakly (the view owns its marker): its owner must
// keep it alive, or the marker silently stops keeping inside the view's far
// edges. A temporary does not compile where a view is given, and a view
// already gone is refused with a line through the log sink.
class MarkerImage : public IChartMarker {
 public:
  using Image = platform::graphics::Image;
  using Size = platform::graphics::Size;

  MarkerImage() = default;

  virtual std::shared_ptr<const Image> image() const { return image_; }
  virtual void setImage(std::shared_ptr<const Image> image) { image_ = std::move(image); }
  Point offset() const override { return offset_; }
  virtual void setOffset(Point offset) { offset_ = offset; }
  // The chart view whose bounds keep the image in, held weakly; the owner
  // that installs the marker sets it.
  virtual std::weak_ptr<platform::view::View> chartView() const { return chartView_; }
  virtual void setChartView(std::weak_ptr<platform::view::View> view) {
    storeWeakly(chartView_, std::move(view), "MarkerImage.setChartView()", "chart view");
  }
  template <class T>
  void setChartView(std::shared_ptr<T>&& temporaryView) = delete;
  virtual Size size() const { return size_; }
  virtual void setSize(Size size) { size_ = size; }

  // The offset, corrected so that the image stays inside: a corner left of
  // or above the view's origin moves to it; otherwise, with a chart view, an
  // image that reaches past its bounds' width or height moves back to end
  // there. Without a chart view only the first correction applies.
  Point offsetForDrawing(Point point) override;
  // Does nothing here.
  void refreshContent(const ChartDataEntry& entry, const Highlight& highlight) override;
  // The image, stretched to the drawing size, at the point moved by
  // offsetForDrawing.
  void draw(platform::graphics::DrawingContext& context, Point point) override;

 private:
  // `size` with a zero side taken from the image.
  Size drawingSize() const;

  std::shared_ptr<const Image> image_;
  Point offset_;
  std::weak_ptr<platform::view::View> chartView_;
  Size size_;
};

}  // namespace chart
