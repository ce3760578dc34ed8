#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "Chart/Components/MarkerImage.h"
#include "Chart/Components/MarkerView.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/RecordingContext.h"

using namespace chart;
using platform::graphics::Image;
using platform::graphics::Point;
using platform::graphics::Rect;
using platform::graphics::RecordingContext;
using platform::graphics::Size;
using Op = RecordingContext::Op;

namespace {

// A 20 × 10 point image (40 × 20 pixels at scale 2).
std::shared_ptr<const Image> image20x10() { return Image::make(40, 20, std::vector<uint32_t>(800, 0xFF000000u), 2); }

// A marker view whose content is its bounds, filled.
class FilledMarkerView : public MarkerView {
 public:
  using MarkerView::MarkerView;

 protected:
  void drawContent(platform::graphics::DrawingContext& context) override {
    context.fillRect(Rect(Point{}, bounds().size));
  }
};

}  // namespace

// Both markers, 20 × 10, in a 100 × 50 chart view and without one. Only the
// image marker corrects without a view, and then only at 0.
TEST(Markers, OffsetsKeepTheMarkerInsideTheChartViewAtEachEdge) {
  const auto chartView = std::make_shared<platform::view::View>(Rect(0, 0, 100, 50));
  const struct {
    const char* name;
    Point point;
    Point offset;
    Point withView;
    Point imageWithoutView;
  } table[] = {
      {"inside", {40, 20}, {-10, -5}, {-10, -5}, {-10, -5}},
      {"left edge", {3, 20}, {-10, -5}, {-3, -5}, {-3, -5}},
      {"left of the view", {-3, 10}, {0, 0}, {3, 0}, {3, 0}},
      {"top edge", {40, 2}, {-10, -5}, {-10, -2}, {-10, -2}},
      {"right edge", {95, 20}, {0, 0}, {-15, 0}, {0, 0}},
      {"bottom edge", {40, 45}, {0, 0}, {0, -5}, {0, 0}},
      {"bottom-right corner", {98, 48}, {-2, -2}, {-18, -8}, {-2, -2}},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    MarkerImage image;
    image.setImage(image20x10());
    image.setOffset(row.offset);
    FilledMarkerView view(Rect(7, 7, 20, 10));
    view.setOffset(row.offset);
    EXPECT_EQ(image.offsetForDrawing(row.point), row.imageWithoutView);
    EXPECT_EQ(view.offsetForDrawing(row.point), row.offset) << "a marker view without a chart view";
    image.setChartView(chartView);
    view.setChartView(chartView);
    EXPECT_EQ(image.offsetForDrawing(row.point), row.withView);
    EXPECT_EQ(view.offsetForDrawing(row.point), row.withView);
  }

  // A set size replaces the image's own, side by side.
  MarkerImage sized;
  sized.setImage(image20x10());
  sized.setChartView(chartView);
  sized.setSize(Size{30, 0});
  EXPECT_EQ(sized.offsetForDrawing(Point{95, 45}), (Point{-25, -5}));
  // A chart view that is gone no longer limits the marker.
  sized.setChartView(std::make_shared<platform::view::View>(Rect(0, 0, 10, 10)));
  EXPECT_EQ(sized.offsetForDrawing(Point{95, 45}), (Point{0, 0}));
}

// The rectangle drawn, each in a graphics state of its own that is given
// back; nothing at all for an image marker without an image.
TEST(Markers, DrawAtTheCorrectedRectangleInABalancedState) {
  const auto chartView = std::make_shared<platform::view::View>(Rect(0, 0, 100, 50));
  const struct {
    const char* name;
    Size size;
    Rect expected;
  } images[] = {
      {"own size", {0, 0}, Rect(80, 40, 20, 10)},
      {"set size", {16, 12}, Rect(84, 38, 16, 12)},
      {"set height only, which fits", {0, 4}, Rect(80, 45, 20, 4)},
  };
  for (const auto& row : images) {
    SCOPED_TRACE(row.name);
    MarkerImage marker;
    marker.setImage(image20x10());
    marker.setSize(row.size);
    marker.setOffset(Point{5, 5});
    marker.setChartView(chartView);
    RecordingContext context;
    marker.draw(context, Point{90, 40});
    const auto drawn = context.operations(Op::drawImage);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].rect, row.expected);
    EXPECT_EQ(drawn[0].state.saveDepth, 1);
    EXPECT_EQ(context.state().saveDepth, 0);
  }

  RecordingContext none;
  MarkerImage().draw(none, Point{10, 10});
  EXPECT_TRUE(none.operations().empty());

  // The view's content lands at the point plus the corrected offset.
  FilledMarkerView view(Rect(0, 0, 20, 10));
  view.setOffset(Point{5, 5});
  view.setChartView(chartView);
  RecordingContext context;
  view.draw(context, Point{90, 40});
  const auto filled = context.operations(Op::fillRect);
  ASSERT_EQ(filled.size(), 1u);
  EXPECT_EQ(filled[0].state.transform.apply(filled[0].rect), Rect(80, 40, 20, 10));
  EXPECT_EQ(context.state(), platform::graphics::GraphicsState{});
  // The base view draws no content, and no marker view comes from a file.
  RecordingContext empty;
  MarkerView(Rect(0, 0, 20, 10)).draw(empty, Point{1, 1});
  EXPECT_TRUE(empty.operations(Op::fillRect).empty());
  EXPECT_EQ(empty.state(), platform::graphics::GraphicsState{});
  EXPECT_EQ(MarkerView::viewFromXib("Markers"), nullptr);
}
