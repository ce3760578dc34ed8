#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Chart/Components/MarkerImage.h"
#include "Chart/Components/MarkerView.h"
#include "platform/graphics/RecordingContext.h"
#include "support/ChartDataExpectations.h"
#include "support/DrawingExpectations.h"

using namespace chart;
using platform::graphics::Point;
using platform::graphics::Rect;
using platform::graphics::RecordingContext;
using platform::graphics::Size;
using Op = RecordingContext::Op;

// A chart view held weakly cannot be handed over as a temporary.
template <class Marker>
concept TakesATemporaryView = requires(Marker m) { m.setChartView(std::make_shared<platform::view::View>()); };
template <class Marker>
concept TakesAnOwnedView = requires(Marker m, const std::shared_ptr<platform::view::View>& v) { m.setChartView(v); };
static_assert(!TakesATemporaryView<MarkerImage> && !TakesATemporaryView<MarkerView>);
static_assert(TakesAnOwnedView<MarkerImage> && TakesAnOwnedView<MarkerView>);

namespace {

// A marker view whose content is its bounds, filled.
struct FilledMarkerView : MarkerView {
  using MarkerView::MarkerView;
  void drawContent(platform::graphics::DrawingContext& context) override {
    context.fillRect(Rect(Point{}, bounds().size));
  }
};

// An image marker with a 20 × 10 point image (40 × 20 pixels at scale 2).
MarkerImage imageMarker(Point offset, Size size = {}) {
  MarkerImage marker;
  marker.setImage(platform::graphics::Image::make(40, 20, std::vector<uint32_t>(800, 0xFF000000u), 2));
  marker.setOffset(offset);
  marker.setSize(size);
  return marker;
}

}  // namespace

// Both markers, 20 × 10, in a 100 × 50 chart view and without one: only the
// image marker corrects without a view, and then only at 0. Each draws at
// the corrected rectangle in a graphics state of its own.
TEST(Markers, KeptInsideTheChartViewAtEachEdgeAndDrawnThere) {
  const auto chartView = std::make_shared<platform::view::View>(Rect(0, 0, 100, 50));
  const struct {
    Point point, offset, withView, imageWithoutView;
  } table[] = {
      {{40, 20}, {-10, -5}, {-10, -5}, {-10, -5}},  // inside
      {{3, 20}, {-10, -5}, {-3, -5}, {-3, -5}},     // left edge
      {{-3, 10}, {0, 0}, {3, 0}, {3, 0}},           // left of the view
      {{40, 2}, {-10, -5}, {-10, -2}, {-10, -2}},   // top edge
      {{95, 20}, {0, 0}, {-15, 0}, {0, 0}},         // right edge
      {{40, 45}, {0, 0}, {0, -5}, {0, 0}},          // bottom edge
      {{98, 48}, {-2, -2}, {-18, -8}, {-2, -2}},    // bottom-right corner
  };
  for (const auto& row : table) {
    SCOPED_TRACE(testing::Message() << row.point.x << ", " << row.point.y);
    MarkerImage image = imageMarker(row.offset);
    FilledMarkerView view(Rect(7, 7, 20, 10));
    view.setOffset(row.offset);
    EXPECT_EQ(image.offsetForDrawing(row.point), row.imageWithoutView);
    EXPECT_EQ(view.offsetForDrawing(row.point), row.offset) << "a marker view without a chart view";
    image.setChartView(chartView);
    view.setChartView(chartView);
    EXPECT_EQ(image.offsetForDrawing(row.point), row.withView);
    EXPECT_EQ(view.offsetForDrawing(row.point), row.withView);

    RecordingContext context;
    image.draw(context, row.point);
    view.draw(context, row.point);
    const Rect expected(row.point.x + row.withView.x, row.point.y + row.withView.y, 20, 10);
    const auto drawn = context.operations(Op::drawImage);
    const auto filled = context.operations(Op::fillRect);
    ASSERT_EQ((std::pair(drawn.size(), filled.size())), (std::pair<size_t, size_t>(1, 1)));
    EXPECT_EQ(drawn[0].rect, expected);
    EXPECT_EQ(drawn[0].state.saveDepth, 1);
    EXPECT_EQ(filled[0].state.transform.apply(filled[0].rect), expected);
    testsupport::expectFreshEnd(context, "every state given back");
  }

  // A set size replaces the image's own, side by side; a chart view that is
  // gone no longer limits the marker, and one gone before it is given is
  // refused. Nothing is drawn without an image.
  MarkerImage sized = imageMarker({}, Size{30, 0});
  sized.setChartView(chartView);
  RecordingContext context;
  sized.draw(context, Point{95, 45});
  EXPECT_EQ(context.operations(Op::drawImage).at(0).rect, Rect(70, 40, 30, 10));
  auto shortLived = std::make_shared<platform::view::View>(Rect(0, 0, 10, 10));
  const std::weak_ptr<platform::view::View> gone = shortLived;
  sized.setChartView(shortLived);
  shortLived.reset();
  EXPECT_EQ(sized.offsetForDrawing(Point{95, 45}), (Point{0, 0}));
  const testsupport::LogCapture log;
  FilledMarkerView viewMarker(Rect(0, 0, 20, 10));
  viewMarker.setChartView(chartView);
  viewMarker.setChartView(gone);
  EXPECT_EQ(viewMarker.chartView().lock(), chartView) << "the view it held is kept";
  EXPECT_EQ(log.lines, std::vector<std::string>{"MarkerView.setChartView(): refused a chart view that is already "
                                                "gone (it is held weakly: its owner must keep it alive)"});
  RecordingContext empty;
  MarkerImage().draw(empty, Point{10, 10});
  EXPECT_TRUE(empty.operations().empty());
  EXPECT_EQ(MarkerView::viewFromXib("Markers"), nullptr);

  // A marker view with a layer colour fills its bounds with it first, in a
  // state of its own, under the content.
  FilledMarkerView layered(Rect(0, 0, 20, 10));
  const auto pale = platform::graphics::Color::rgb(1, 0.9, 0.6);
  layered.setBackgroundColor(pale);
  RecordingContext withLayer;
  layered.draw(withLayer, Point{5, 6});
  const auto fills = withLayer.operations(Op::fillRect);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].state.fillColor, pale);
  EXPECT_EQ(fills[0].state.transform.apply(fills[0].rect), Rect(5, 6, 20, 10));
  EXPECT_NE(fills[1].state.fillColor, pale);
}
