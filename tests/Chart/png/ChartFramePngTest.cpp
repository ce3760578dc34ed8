#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Chart/Components/MarkerImage.h"
#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Renderers/BarsRenderer.h"
#include "Chart/Renderers/CombinedRenderer.h"
#include "Chart/Renderers/LinePointsRenderer.h"
#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoImages.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TextMetrics.h"
#include "platform/runloop/Clock.h"
#include "platform/runloop/DisplayLinkSource.h"
#include "platform/runloop/RunLoop.h"
#include "support/FakeHost.h"
#include "support/GeometryExpectations.h"
#include "support/PixelSupport.h"
#include "support/scenes/ChartScenes.h"

using namespace chart;
using platform::cairo::CairoContext;
using platform::graphics::Image;
using pixels::pixelAt;

namespace {

void drawOnWhite(ChartViewBase& view, DrawingContext& context) {
  context.setFillColor(platform::graphics::Color::white());
  context.fillRect(Rect(0, 0, 600, 400));
  view.draw(context);
}

// The four scenes drawn without touches.
std::vector<std::shared_ptr<ChartViewBase>> untouchedScenes() {
  return {scenes::makeMainScene(), scenes::makeTurnedLabelsScene(), scenes::makeHorizontalBarScene(),
          scenes::makeRadarScene()};
}

// Draws the scenes with Cairo's text metrics (the views lay themselves out
// with the metrics in force when their data is set).
class ChartFrames : public testing::Test {
 protected:
  const platform::cairo::ScopedCairoBackend cairo;

  // The scene drawn on white, written under the test-output folder.
  static std::shared_ptr<const Image> render(ChartViewBase& view, const std::string& name) {
    auto context = CairoContext::create(600, 400, true);
    drawOnWhite(view, *context);
    EXPECT_FALSE(context->isInErrorState()) << name;
    EXPECT_EQ(context->firstDrop(), std::nullopt) << name << ": " << context->firstDrop()->description();
    auto image = context->makeImage(1);
    const auto path = testsupport::testOutputFolder() / name;
    EXPECT_TRUE(platform::cairo::writePNG(*image, path));
    std::printf("%s written to %s\n", name.c_str(), path.c_str());
    return image;
  }
};

uint32_t opaque(const platform::graphics::Color& c) {
  const auto byte = [](double v) { return static_cast<uint32_t>(std::lround(v * 255)); };
  return 0xFF000000u | byte(c.red) << 16 | byte(c.green) << 8 | byte(c.blue);
}

constexpr uint32_t kWhite = 0xFFFFFFFFu;

// The main frame: the "Target" limit line fills its row in its colour, the
// dashed grid lines lie on the rows and columns of the axis values, with
// white between them, and the marker lies inside the view.
TEST_F(ChartFrames, MainSceneDrawsGridLimitLinesAndMarkerWhereTheViewSays) {
  const auto view = scenes::makeMainScene();
  const auto image = render(*view, "chart-main-scene.png");
  const ViewPortHandler& h = *view->viewPortHandler();
  const Transformer& left = *view->getTransformer(AxisDependency::left);

  // Limit lines are drawn over the data: the whole left half of the row.
  const double target = left.pixelForValues(0, 50).y;
  const uint32_t limitColour = opaque(ChartLimitLine::defaultLineColor);
  for (double x = h.contentLeft() + 2; x < h.contentLeft() + h.contentWidth() / 2; x += 5)
    EXPECT_EQ(pixelAt(*image, x, target), limitColour) << "x " << x;

  // The left axis's forced labels are every 10; at the content's left edge
  // the curves lie at the bottom, and a dash starts at the edge.
  const uint32_t gridColour = opaque(view->leftAxis()->gridColor());
  ASSERT_EQ(view->leftAxis()->entries().size(), 11u);
  const double column = std::floor(h.contentLeft()) + 3.5;
  for (const double value : {10, 20, 30, 40, 60, 70, 80, 90}) {
    const double y = left.pixelForValues(0, value).y;
    const bool painted = pixelAt(*image, column, y - 1) == gridColour || pixelAt(*image, column, y) == gridColour ||
                         pixelAt(*image, column, y + 1) == gridColour;
    EXPECT_TRUE(painted) << "grid line at " << value;
    EXPECT_EQ(pixelAt(*image, column, left.pixelForValues(0, value + 5).y), kWhite) << "between " << value;
  }
  // The x axis's granularity 25.5: lines at 51 and 76.5 (the one at 25.5 lies
  // under its limit line).
  EXPECT_EQ(view->xAxis()->entries(), (std::vector<double>{0, 25.5, 51, 76.5}));
  const double row = std::floor(h.contentTop()) + 2.5;
  for (const double value : {51.0, 76.5}) {
    const double x = left.pixelForValues(value, 0).x;
    const bool painted = pixelAt(*image, x - 1, row) == gridColour || pixelAt(*image, x, row) == gridColour ||
                         pixelAt(*image, x + 1, row) == gridColour;
    EXPECT_TRUE(painted) << "grid line at x " << value;
    EXPECT_EQ(pixelAt(*image, left.pixelForValues(value - 12, 0).x, row), kWhite) << "before x " << value;
  }

  // The marker would reach past the right edge: it ends on the view's last
  // column instead, its frame there and its pale inside just left of it.
  auto& marker = dynamic_cast<MarkerImage&>(*view->marker());
  const Point at = view->getMarkerPosition(*view->highlighted().at(0));
  const Point offset = marker.offsetForDrawing(at);
  EXPECT_DOUBLE_EQ(at.x + offset.x + 48, 600);
  EXPECT_EQ(pixelAt(*image, 599, at.y + offset.y + 13), 0xFF3A3A4Au);
  EXPECT_EQ(pixelAt(*image, 590, at.y + offset.y + 13), 0xFFFFF4C8u);
}

// After a pinch, a drag and a tap: twice the scale, the x labels of the
// part shown, the tapped value with its highlight line down the content
// and the marker at the value.
TEST_F(ChartFrames, TouchedMainSceneZoomsPansAndMarksTheTappedValue) {
  const auto view = scenes::makeTouchedMainScene();
  const auto image = render(*view, "chart-main-after-touches.png");
  const ViewPortHandler& h = *view->viewPortHandler();
  const Transformer& left = *view->getTransformer(AxisDependency::left);
  EXPECT_EQ((std::pair(h.scaleX(), h.scaleY())), std::pair(2.0, 2.0));
  EXPECT_LT(h.transX(), -h.contentWidth() / 2) << "dragged left";

  const double shownFrom = left.valueForTouchPoint(h.contentLeft(), 0).x;
  const double shownTo = left.valueForTouchPoint(h.contentRight(), 0).x;
  const auto& entries = view->xAxis()->entries();
  ASSERT_FALSE(entries.empty());
  for (const double x : entries) EXPECT_TRUE(x >= shownFrom - 25.5 && x <= shownTo + 25.5) << x;
  EXPECT_GT(entries.front(), 0);

  ASSERT_EQ(view->highlighted().size(), 1u);
  const Highlight& tapped = *view->highlighted()[0];
  EXPECT_DOUBLE_EQ(tapped.x(), 150 / 2.55);
  const Point at = view->getMarkerPosition(tapped);
  EXPECT_TRUE(h.isInBounds(at));
  testsupport::expectNear(at, left.pixelForValues(tapped.x(), tapped.y()), "marker at the value");
  auto& marker = dynamic_cast<MarkerImage&>(*view->marker());
  const Point offset = marker.offsetForDrawing(at);
  EXPECT_EQ(pixelAt(*image, at.x + offset.x + 1, at.y + offset.y + 13), 0xFF3A3A4Au);
  EXPECT_EQ(pixelAt(*image, at.x + offset.x + 24, at.y + offset.y + 13), 0xFFFFF4C8u);
  EXPECT_NE(pixelAt(*image, at.x, h.contentBottom() - 4), kWhite) << "the highlight line";
}

TEST_F(ChartFrames, TurnedAndWrappedLabelsSceneIsWritten) {
  const auto view = scenes::makeTurnedLabelsScene();
  const auto image = render(*view, "chart-turned-labels.png");
  EXPECT_EQ(view->xAxis()->entryCount(), 11);
  // The turned labels need more room below the content than one line.
  EXPECT_GT(view->viewPortHandler()->offsetBottom(), 40);
  EXPECT_EQ(image->width(), 600);
}

// The turned frame: the x labels stand left of the content and the y labels
// in rows above and below it; the "Target" limit line runs down the column
// of 50 and the x limit line across the row of 3.5.
TEST_F(ChartFrames, HorizontalBarSceneTurnsTheAxes) {
  const auto view = scenes::makeHorizontalBarScene();
  const auto image = render(*view, "chart-horizontal-bar.png");
  const ViewPortHandler& h = *view->viewPortHandler();
  const Transformer& left = *view->getTransformer(AxisDependency::left);
  EXPECT_EQ(view->xAxis()->entryCount(), 8);
  EXPECT_EQ(view->leftAxis()->entries(), (std::vector<double>{0, 20, 40, 60, 80, 100}));
  EXPECT_GT(h.offsetLeft(), view->xAxis()->labelWidth() - 1) << "room for the channel names";

  const double target = left.pixelForValues(50, 0).x;
  for (double y = h.contentTop() + 2; y < h.contentTop() + 30; y += 5)
    EXPECT_EQ(pixelAt(*image, target, y), opaque(ChartLimitLine::defaultLineColor)) << "y " << y;
  // One point wide between two rows: blended, but blue.
  const uint32_t light = pixelAt(*image, h.contentRight() - 3, left.pixelForValues(0, 3.5).y);
  EXPECT_GT(pixels::blue(light), pixels::red(light) + 60);
  // The bar of channel 0 (K, 100 %) fills its row from the left edge.
  EXPECT_NE(pixelAt(*image, left.pixelForValues(20, 0).x, left.pixelForValues(0, 0).y), kWhite);
}

// The radar frame: the limit line's polygon crosses the upward spoke at 50,
// the y labels run up that spoke from the centre, and the x labels stand
// outside the outermost ring.
TEST_F(ChartFrames, RadarSceneDrawsAroundTheWeb) {
  const auto view = scenes::makeRadarScene();
  const auto image = render(*view, "chart-radar.png");
  const YAxis& y = *view->yAxis();
  ASSERT_GE(y.entryCount(), 3);
  EXPECT_EQ(y.axisMinimum(), 0);
  EXPECT_EQ(view->sliceAngle(), 45);
  // Halfway between the polygon's corners on two neighbouring spokes.
  const Point centre = view->centerOffsets();
  for (const double degrees : {0.0, 90.0, 180.0}) {
    const Point a = radarPoint(centre, 50 * view->factor(), degrees);
    const Point b = radarPoint(centre, 50 * view->factor(), degrees + 45);
    const uint32_t side = pixelAt(*image, (a.x + b.x) / 2, (a.y + b.y) / 2);
    EXPECT_GT(pixels::red(side), pixels::green(side) + 60) << degrees;
  }
  const double outer = y.axisRange() * view->factor();
  EXPECT_LT(outer + view->xAxis()->labelRotatedWidth(), centre.x) << "the labels fit left and right";
}

// Every frame recorded and then replayed onto a Cairo context has the
// pixels of the frame drawn there directly: the recording keeps all a
// frame draws.
TEST_F(ChartFrames, RecordedFramesReplayToTheSamePixels) {
  for (const auto& view : untouchedScenes()) {
    auto direct = CairoContext::create(600, 400, true);
    drawOnWhite(*view, *direct);
    platform::graphics::RecordingContext recording;
    drawOnWhite(*view, recording);
    EXPECT_FALSE(recording.hasDropped());
    auto replayed = CairoContext::create(600, 400, true);
    recording.replay(*replayed);
    EXPECT_GT(recording.operations().size(), 100u);
    EXPECT_TRUE(direct->makeImage(1)->pixels() == replayed->makeImage(1)->pixels());
  }
}

// A chart drawn into a Cairo context is measured with the fonts it is drawn
// with: laid out and drawn with no back end installed (the fixed stand-in
// metrics in force), every frame has the pixels of the one laid out and drawn
// with Cairo's metrics in force, the second draw too.
TEST(ChartFramesWithoutBackEnd, AreMeasuredWithTheFontsTheyAreDrawnWith) {
  const auto frame = [](ChartViewBase& view) {
    auto context = CairoContext::create(600, 400, true);
    drawOnWhite(view, *context);
    return context->makeImage(1);
  };
  std::vector<std::shared_ptr<const Image>> expected;
  {
    const platform::cairo::ScopedCairoBackend cairo;
    for (const auto& view : untouchedScenes()) expected.push_back(frame(*view));
  }
  const auto views = untouchedScenes();
  for (size_t i = 0; i < views.size(); ++i) {
    EXPECT_TRUE(frame(*views[i])->pixels() == expected[i]->pixels()) << "scene " << i;
    EXPECT_TRUE(frame(*views[i])->pixels() == expected[i]->pixels()) << "scene " << i << ", drawn again";
  }
  // Made before a back end was installed, drawn while one is.
  const auto early = untouchedScenes();
  const platform::cairo::ScopedCairoBackend cairo;
  for (size_t i = 0; i < early.size(); ++i)
    EXPECT_TRUE(frame(*early[i])->pixels() == expected[i]->pixels()) << "scene " << i << ", back end installed later";
}

// A line view that counts its layouts (reckonings of the room around the content).
struct CountingLineView : LineChartView {
  explicit CountingLineView(const Rect& frame) : LineChartView(frame) {}
  using LineChartView::setup;
  void calculateOffsets() override { ++layouts, LineChartView::calculateOffsets(); }
  int layouts = 0;
};

// Two curves of `points` points each (the second raised by `lift`), their
// legend and x labels below the content.
std::shared_ptr<CountingLineView> curvesView(const Rect& frame, int points, double lift = 0) {
  const auto view = std::make_shared<CountingLineView>(frame);
  view->setup();
  view->setRenderer(std::make_shared<scenes::PolylineRenderer>(*view));
  view->xAxis()->setLabelPosition(XAxis::LabelPosition::bottom);
  std::vector<EntryPtr> square, wave;
  for (double x = 0; x < 100; x += 100.0 / points) {
    square.push_back(std::make_shared<ChartDataEntry>(x, x * x / 100));
    wave.push_back(std::make_shared<ChartDataEntry>(x, lift + 50 + 40 * std::sin(x / 7)));
  }
  view->setData(std::make_shared<LineChartData>(std::vector<DataSetPtr>{
      std::make_shared<LineChartDataSet>(square, "square"), std::make_shared<LineChartDataSet>(wave, "wave")}));
  return view;
}

std::vector<uint32_t> pixelsOf(ChartViewBase& view) {
  auto context = CairoContext::create(std::lround(view.bounds().size.width), std::lround(view.bounds().size.height));
  view.draw(*context);
  return context->makeImage(1)->pixels();
}

// A program's 400 × 300 line view of 2,000 points, each step of a sequence
// ending with a frame.
struct Sequence {
  std::shared_ptr<CountingLineView> view = curvesView(Rect(0, 0, 400, 300), 1000);
  std::vector<std::vector<uint32_t>> frames;
  void frame() { frames.push_back(pixelsOf(*view)); }
  // `acting`, then a frame: the value that lay at `at` before lies there still.
  void frameKeeping(Point at, const char* act, const std::function<void()>& acting) {
    const Transformer& t = *view->getTransformer(AxisDependency::left);
    const Point value = t.valueForTouchPoint(at);
    acting();
    frame();
    testsupport::expectNear(t.pixelForValues(value.x, value.y), at, std::string("the value under the fingers, ") + act);
  }
  void touch(void (BarLineChartViewBase::*phase)(const TouchEvent&), std::vector<Point> at) {
    TouchEvent event;
    for (const Point p : at) event.touches.push_back(Touch{p, view.get()});
    ((*view).*phase)(event);
  }
};

}  // namespace

// What a program does between frames draws the same pixels with no back end
// (the fixed metrics installed) as with Cairo's: laid out with the fonts it is
// drawn with, the view keeps the value under the fingers of a zoom or a pinch
// on its pixel at the next frame, lays nothing out in a draw in the middle of
// a pinch (measuring again at the gesture's end), nor in a frame that changes
// nothing, which repeats the last. A zoom or a gesture begun on the layout of
// the metrics installed draws otherwise until it is measured again; a layout
// for data keeps no zoom's point, so the measuring after it pans nothing.
TEST(ChartFramesWithoutBackEnd, SequencesDrawAsWithCairosMetricsInstalled) {
  const auto clock = std::make_shared<platform::runloop::ManualClock>(100);
  const platform::runloop::ScopedDisplaysAvailable headless{false};
  const platform::runloop::ScopedClock installed{clock};
  using B = BarLineChartViewBase;
  const auto pinch = [](bool drawnBefore) {
    return [drawnBefore](Sequence& s) {
      if (drawnBefore) s.frame();
      s.touch(&B::touchesBeganWithEvent, {{180, 140}, {220, 160}});
      s.touch(&B::touchesMovedWithEvent, {{140, 120}, {260, 180}});
      const int layouts = s.view->layouts;
      s.frame();
      EXPECT_EQ(s.view->layouts, layouts) << "a draw in the middle of a pinch";
      s.touch(&B::touchesMovedWithEvent, {{40, 70}, {360, 230}});
      s.frameKeeping({200, 150}, "the pinch's end", [&] { s.touch(&B::touchesEndedWithEvent, {}); });
    };
  };
  const struct {
    const char* name;
    std::function<void(Sequence&)> steps;
    size_t sameFrom = 0;  // the first frame drawn alike both ways (past the last: none is)
  } table[] = {
      {"first frame", [](Sequence& s) { s.frame(); }},
      {"late settings", [](Sequence& s) {
         s.view->leftAxis()->setAxisMaximum(400);
         s.frame();
         s.view->leftAxis()->setAxisMinimum(-50);
         s.frame();
       }},
      {"zooms", [](Sequence& s) {
         s.frame();
         s.frameKeeping({300, 120}, "zoom", [&] { s.view->zoom(3, 2, 300, 120); });
         const Point centre = s.view->viewPortHandler()->contentCenter();
         s.frameKeeping(centre, "zoomIn", [&] { s.view->zoomIn(); });
         s.frameKeeping(centre, "zoomOut", [&] { s.view->zoomOut(); });
         s.view->fitScreen();
         s.frameKeeping(centre, "the frame after fitScreen", [] {});
       }},
      {"pinch drawn halfway", pinch(true)},
      // Its fingers came down on a layout measured with the metrics
      // installed: the frames differ, but the first lays nothing out either.
      {"pinch before the first frame", pinch(false), 2},
      {"pinch before the first frame, given a context's metrics first", [&](Sequence& s) {
         s.view->setTextMetrics(CairoContext::create(1, 1)->ownTextMetrics());
         pinch(false)(s);
       }},
      {"drag and fling", [&](Sequence& s) {
         s.frame();
         s.view->zoom(4, 4, 200, 150);
         s.touch(&B::touchesBeganWithEvent, {{200, 150}});
         for (int i = 1; i <= 6; ++i) {
           clock->advance(1.0 / 60);
           s.touch(&B::touchesMovedWithEvent, {{200.0 - 15 * i, 150.0 + 5 * i}});
         }
         s.frame();
         s.touch(&B::touchesEndedWithEvent, {});
         const auto fling = s.view->viewPortJob();
         for (int tick = 0; fling && fling->isRunning() && tick < 300; ++tick, clock->advance(1.0 / 60)) {
           platform::runloop::RunLoop::main().runOnce();
           if (tick % 20 == 0) s.frame();
         }
         EXPECT_TRUE(fling && !fling->isRunning()) << "a fling that ended";
         s.frame();
       }},
      {"given the installed metrics, then drawn", [](Sequence& s) {
         s.view->setTextMetrics(nullptr);
         s.frame();
       }},
      {"a data change between frames", [](Sequence& s) {
         s.frame();
         s.view->data()->addEntry(std::make_shared<ChartDataEntry>(100, 2500), 0);
         s.view->notifyDataSetChanged();
         s.frame();
       }},
      {"zoom before the first frame",
       [](Sequence& s) { s.frameKeeping({300, 120}, "a zoom", [&] { s.view->zoom(3, 2, 300, 120); }); }, 1},
      {"zoom and data change before the first frame: the measuring pans nothing", [](Sequence& s) {
         s.view->zoom(3, 2, 300, 120);
         s.view->notifyDataSetChanged();
         const AffineTransform matrix = s.view->viewPortHandler()->touchMatrix();
         s.frame();
         EXPECT_EQ(s.view->viewPortHandler()->touchMatrix(), matrix);
       }, 1},
      {"two-finger pan without scaling, drawn halfway", [](Sequence& s) {
         s.touch(&B::touchesBeganWithEvent, {{180, 140}, {220, 160}});
         s.touch(&B::touchesMovedWithEvent, {{200, 150}, {240, 170}});
         s.frame();
         s.touch(&B::touchesMovedWithEvent, {{230, 160}, {270, 180}});
         s.touch(&B::touchesEndedWithEvent, {});
         s.frame();
       }, 1},
      {"resized away and back", [](Sequence& s) {
         s.frame();
         s.view->setFrame(Rect(0, 0, 250, 200));
         s.frame();
         s.view->setFrame(Rect(0, 0, 400, 300));
         s.frame();
       }},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    Sequence bare, cairo;
    row.steps(bare);
    {
      const platform::cairo::ScopedCairoBackend backEnd;
      cairo.view = curvesView(Rect(0, 0, 400, 300), 1000);
      row.steps(cairo);
    }
    ASSERT_EQ(bare.frames.size(), cairo.frames.size());
    for (size_t i = row.sameFrom; i < bare.frames.size(); ++i)
      EXPECT_TRUE(bare.frames[i] == cairo.frames[i]) << "frame " << i;
    for (Sequence* s : {&bare, &cairo}) {
      const int layouts = s->view->layouts;
      s->frame();
      EXPECT_EQ(s->view->layouts, layouts) << "a frame that changes nothing";
      EXPECT_TRUE(s->frames.back() == s->frames[s->frames.size() - 2]);
    }
  }
}

// Two threads, each making its own view and drawing it into contexts of its
// own, 500 frames with no back end and then 500 with Cairo's installed, each
// frame at one of four widths and places: every frame has the pixels of the
// same view drawn on one thread. Given the installed metrics, the views of
// the second pass measure every layout and frame with the one
// CairoTextMetrics of the back end, from both threads at once.
TEST(ChartFramesOnThreads, DrawAsOnOneThread) {
  const auto draw = [](int thread, int frames, const auto& seen) {
    const auto view = curvesView(Rect(0, 0, 160, 120), 50, 10.0 * thread);
    view->setTextMetrics(nullptr);
    view->zoom(2, 1, 80, 60);
    for (int i = 0; i < frames; ++i) {
      view->setFrame(Rect(0, 0, 160 + 20 * (i % 4), 120));
      view->moveViewToX(20 * (i % 4));
      seen(i, pixelsOf(*view));
    }
  };
  std::vector<std::vector<uint32_t>> expected[2];
  for (const int thread : {0, 1}) draw(thread, 4, [&](int, auto pixels) { expected[thread].push_back(pixels); });
  for (const bool backEnd : {false, true}) {
    std::optional<platform::cairo::ScopedCairoBackend> cairo;
    if (backEnd) cairo.emplace();
    int differing[2] = {0, 0};
    const auto on = [&](int thread) {
      return std::thread(draw, thread, 500, [&, thread](int i, const std::vector<uint32_t>& pixels) {
        differing[thread] += pixels != expected[thread][i % 4];
      });
    };
    std::thread threads[] = {on(0), on(1)};
    for (auto& t : threads) t.join();
    EXPECT_EQ(differing[0] + differing[1], 0) << (backEnd ? "with Cairo's metrics installed" : "with no back end");
  }
}

// Two threads drawing views with their axes' labels into SVG documents, 100
// each: the glyph outlines the documents share, made once for the process,
// are made and read from both threads at once, and every document is the one
// its view gives on one thread.
TEST(ChartFramesOnThreads, SvgDocumentsDrawAsOnOneThread) {
  const platform::cairo::ScopedCairoBackend cairo;
  const auto document = [](ChartViewBase& view) {
    auto svg = CairoContext::createSVG(std::lround(view.bounds().size.width), std::lround(view.bounds().size.height));
    view.draw(*svg);
    // Cairo numbers its surfaces across documents; the rest is the drawing.
    return std::regex_replace(svg->finishSVG().value_or(""), std::regex("surface[0-9]+"), "surface");
  };
  std::shared_ptr<CountingLineView> views[] = {curvesView(Rect(0, 0, 160, 120), 50),
                                               curvesView(Rect(0, 0, 200, 150), 60, 10)};
  const std::string expected[] = {document(*views[0]), document(*views[1])};
  ASSERT_NE(expected[0].find("#inkcurve-glyph"), std::string::npos) << "the axes' labels, written as glyphs";
  int differing[2] = {0, 0};
  const auto on = [&](int thread) {
    return std::thread([&, thread] {
      for (int i = 0; i < 100; ++i) differing[thread] += document(*views[thread]) != expected[thread];
    });
  };
  std::thread threads[] = {on(0), on(1)};
  for (auto& t : threads) t.join();
  EXPECT_EQ(differing[0] + differing[1], 0);
}

// Two views drawn at once, each on a thread of its own, into the two halves
// of one picture (CairoContext::part), 50 times, and the picture encoded as
// PNG in bands on several threads: the pixels are those of the two views
// drawn one after the other into the halves on one thread, and the file
// reads back as those pixels.
TEST(ChartFramesOnThreads, HalvesOfOnePictureDrawAsOnOneThread) {
  const platform::cairo::ScopedCairoBackend cairo;
  const Rect halves[] = {Rect(0, 0, 320, 400), Rect(320, 0, 320, 400)};
  const auto draw = [&](CairoContext& picture, bool onThreads) {
    std::unique_ptr<CairoContext> parts[] = {picture.part(halves[0]), picture.part(halves[1])};
    ASSERT_TRUE(parts[0] && parts[1]);
    const auto half = [&](int i) {
      const auto view = curvesView(Rect(0, 0, 320, 400), 50, 10.0 * i);
      view->draw(*parts[i]);
    };
    if (onThreads) {
      std::thread other(half, 1);
      half(0);
      other.join();
    } else {
      half(0);
      half(1);
    }
  };
  const auto expected = CairoContext::create(640, 400, /*opaque=*/true);
  draw(*expected, false);
  const auto expectedPixels = expected->makeImage(1)->pixels();
  int differing = 0;
  for (int i = 0; i < 50; ++i) {
    const auto picture = CairoContext::create(640, 400, /*opaque=*/true);
    draw(*picture, true);
    differing += picture->makeImage(1)->pixels() != expectedPixels;
  }
  EXPECT_EQ(differing, 0);
  const auto png = expected->encodePNG();
  ASSERT_TRUE(png);
  std::string_view rest(reinterpret_cast<const char*>(png->data()), png->size());
  cairo_surface_t* read = cairo_image_surface_create_from_png_stream(
      [](void* closure, unsigned char* data, unsigned int length) {
        auto* bytes = static_cast<std::string_view*>(closure);
        if (bytes->size() < length) return CAIRO_STATUS_READ_ERROR;
        bytes->copy(reinterpret_cast<char*>(data), length);
        bytes->remove_prefix(length);
        return CAIRO_STATUS_SUCCESS;
      },
      &rest);
  ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS);
  int misread = 0;
  for (int y = 0; y < 400; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(read) +
                                                        y * cairo_image_surface_get_stride(read));
    for (int x = 0; x < 640; ++x) misread += (row[x] | 0xFF000000u) != (expectedPixels[y * 640 + x] | 0xFF000000u);
  }
  cairo_surface_destroy(read);
  EXPECT_EQ(misread, 0);
  // A part reaches no further than its picture.
  EXPECT_FALSE(expected->part(Rect(320, 0, 321, 400)));
  EXPECT_FALSE(expected->part(Rect(0.5, 0, 10, 10)));
}

// Bars, stacked on one of the views, under a target line with circles,
// drawn by the library's renderers (BarsRenderer, then LinePointsRenderer,
// in a CombinedRenderer) on two threads at once, each view of its own into
// contexts of its own, 200 frames each with Cairo's metrics installed,
// upright and turned: every frame has the pixels of the same view drawn on
// one thread.
TEST(ChartFramesOnThreads, BarsUnderALineDrawAsOnOneThread) {
  const platform::cairo::ScopedCairoBackend cairo;
  const auto barsView = [](int thread) {
    const std::shared_ptr<BarChartView> view = thread ? HorizontalBarChartView::create(Rect(0, 0, 200, 150))
                                                      : BarChartView::create(Rect(0, 0, 200, 150));
    std::vector<EntryPtr> bars, target;
    for (double x = 0; x < 8; ++x) {
      bars.push_back(thread ? std::make_shared<BarChartDataEntry>(x, std::vector<double>{1, x / 2, -0.5})
                            : std::make_shared<BarChartDataEntry>(x, 1 + x));
      target.push_back(std::make_shared<ChartDataEntry>(x, 2 + x));
    }
    auto data = std::make_shared<CombinedChartData>();
    data->setBarData(std::make_shared<BarChartData>(std::make_shared<BarChartDataSet>(bars, "measured")));
    data->setLineData(std::make_shared<LineChartData>(std::make_shared<LineChartDataSet>(target, "target")));
    view->setData(data);
    view->setRenderer(std::make_shared<CombinedRenderer>(
        view->viewPortHandler(),
        std::vector<std::shared_ptr<DataRenderer>>{std::make_shared<BarsRenderer>(*view, view->viewPortHandler()),
                                                   std::make_shared<LinePointsRenderer>(*view, view->viewPortHandler())}));
    return view;
  };
  std::vector<uint32_t> expected[2];
  for (const int thread : {0, 1}) expected[thread] = pixelsOf(*barsView(thread));
  int differing[2] = {0, 0};
  const auto draw = [&](int thread) {
    const auto view = barsView(thread);
    for (int i = 0; i < 200; ++i) differing[thread] += pixelsOf(*view) != expected[thread];
  };
  std::thread threads[] = {std::thread(draw, 0), std::thread(draw, 1)};
  for (auto& t : threads) t.join();
  EXPECT_EQ(differing[0] + differing[1], 0);
}

// A program's own renderer, as a developer writes one: each curve stroked
// in a graphics state it saves and restores itself.
class ProgramRenderer : public DataRenderer {
 public:
  explicit ProgramRenderer(const LineChartView& view) : DataRenderer(view.viewPortHandler()), view_(view) {}
  void drawData(DrawingContext& context) override {
    for (const auto& set : view_.data()->dataSets()) {
      std::vector<Point> points;
      for (int64_t i = 0; i < set->entryCount(); ++i) {
        points.push_back(Point{set->entryForIndex(i)->x(), set->entryForIndex(i)->y()});
      }
      view_.getTransformer(set->axisDependency())->pointValuesToPixel(points);
      context.saveGState();
      context.setStrokeColor(platform::graphics::Color::rgb(0.2, 0.4, 0.8));
      context.setLineWidth(2);
      context.beginPath();
      context.moveTo(points[0]);
      for (const Point p : points) context.addLineTo(p);
      context.strokePath();
      context.restoreGState();
    }
  }

 private:
  const LineChartView& view_;
};

// Two threads each draw frames of a view of their own through a renderer of
// the program's own into contexts of their own. Run under ThreadSanitizer
// with the suppressions installed with the package (cmake/tsan.supp), which
// leave out Cairo's pool copies whichever frame calls Cairo: no race is
// reported (halt_on_error stops the run at the first).
TEST(ChartFramesOnThreadsOfAProgram, DrawUnderTheInstalledSuppressions) {
  const auto draw = [](int thread) {
    const auto view = curvesView(Rect(0, 0, 160, 120), 50, 10.0 * thread);
    view->setRenderer(std::make_shared<ProgramRenderer>(*view));
    for (int i = 0; i < 200; ++i) pixelsOf(*view);
  };
  std::thread threads[] = {std::thread(draw, 0), std::thread(draw, 1)};
  for (auto& t : threads) t.join();
}

// Fontconfig keeps its font caches for the life of the process and never frees
// them; the leak checker is told so, and nothing else.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
