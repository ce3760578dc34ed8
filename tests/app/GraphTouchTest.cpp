#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Plot.h"
#include "WebDocument.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"

using cli::PlotFigure;
using cli::WebDocument;
using Graph = PlotFigure::Graph;
using platform::graphics::Point;

namespace {

// 21 steps from L* 94 down to 6 (a little off a straight line), the
// smoothed response and a straight target; and one ink channel, K, whose
// corrected curve lies below its curve as read.
cli::PlotPicture wedgePicture() {
  cli::PlotPicture picture;
  cli::MeasurementGraph m;
  m.file = "wedge.txt";
  for (int i = 0; i < 21; ++i) m.stepL.push_back(94 - 4.4 * i + (i % 3 == 0 ? 1.5 : -0.5));
  for (int i = 0; i < 256; ++i) {
    m.smoothedL.push_back(94 - 88.0 * i / 255);
    m.targetL.push_back(94 - 88.0 * i / 255);
  }
  m.paperWhiteL = 94, m.darkestL = 6, m.dmax = 2;
  picture.measurements = m;
  cli::InkChannelGraph k{"K", platform::graphics::Color::rgb(0, 0, 0), {}, {}};
  for (int i = 0; i < 256; ++i) {
    k.inputLevels.push_back(std::round(65535.0 * 0.8 * i / 255));
    k.correctedLevels.push_back(std::round(65535.0 * 0.5 * i / 255));
  }
  picture.ink.title = "Ink curves: k.quad";
  picture.ink.channels = {k};
  return picture;
}

// Where the value (x, y) lies in the graph's own pixels.
Point onGraph(const PlotFigure& figure, Graph graph, double x, double y) {
  const Point p = figure.pixelFor(graph, x, y);
  return Point{p.x - figure.graphArea(graph).minX(), p.y - figure.graphArea(graph).minY()};
}

}  // namespace

TEST(GraphTouch, ATapHighlightsWhatTheViewsHighlighterFindsAndTheGraphDrawsIt) {
  const auto picture = wedgePicture();
  const auto& steps = picture.measurements->stepL;
  auto figure = PlotFigure::laidOut(picture);
  // Cairo numbers its surfaces: each drawing's differs.
  const auto svg = [&] {
    return std::regex_replace(cli::graphSVG(*figure, Graph::measurements), std::regex("surface[0-9]+"), "surface");
  };
  const std::string plain = svg();
  // Each row taps near a step's ring (pixels off its centre) or far from
  // every one; a second tap on the value highlighted clears it.
  struct Row {
    int step;  // from 1; 0: a tap on no ring (at the graph's top-right corner)
    double dx, dy;
    int found;  // 0: nothing highlighted after the tap
  };
  const Row rows[] = {{1, 0, 0, 1}, {11, 3, -2, 11}, {21, -2, 4, 21}, {8, 0, 0, 8}, {8, 1, 1, 0},
                      {5, 6, 0, 5}, {0, 0, 0, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE("step " + std::to_string(row.step) + " found " + std::to_string(row.found));
    Point at{780, 100};
    if (row.step > 0) {
      at = onGraph(*figure, Graph::measurements, 5.0 * (row.step - 1), steps[static_cast<size_t>(row.step - 1)]);
      at = Point{at.x + row.dx, at.y + row.dy};
    }
    const auto reading = figure->tap(Graph::measurements, at);
    ASSERT_EQ(reading.has_value(), row.found > 0);
    if (!reading) continue;
    EXPECT_EQ(reading->curve, "steps");
    EXPECT_EQ(reading->step, row.found);
    EXPECT_EQ(reading->x, 5.0 * (row.found - 1));
    EXPECT_EQ(reading->y, steps[static_cast<size_t>(row.found - 1)]);
  }
  // Highlighted, the graph is drawn with it; cleared, as before.
  figure->tap(Graph::measurements, onGraph(*figure, Graph::measurements, 50, steps[10]));
  EXPECT_TRUE(svg() != plain);
  figure->tap(Graph::measurements, onGraph(*figure, Graph::measurements, 50, steps[10]));
  EXPECT_TRUE(svg() == plain);

  // On the ink graph, the curve under the finger: corrected or as read.
  const auto& k = picture.ink.channels[0];
  for (const auto& [levels, curve] : {std::pair{&k.correctedLevels, "K"}, std::pair{&k.inputLevels, "K as read"}}) {
    const double x = 100.0 * 128 / 255, y = (*levels)[128] / 655.35;
    const auto reading = figure->tap(Graph::inkCurves, onGraph(*figure, Graph::inkCurves, x, y));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->curve, curve);
    EXPECT_EQ(reading->x, x);
    EXPECT_NEAR(reading->y, y, 1e-12);
    EXPECT_EQ(reading->step, 0);
  }
}

TEST(GraphTouch, ZoomKeepsTheValueUnderThePointerPanMovesItAndResetShowsTheWhole) {
  const auto picture = wedgePicture();
  auto figure = PlotFigure::laidOut(picture);
  const Point ring = onGraph(*figure, Graph::measurements, 35, picture.measurements->stepL[7]);
  const Point whole = figure->valueAt(Graph::measurements, Point{300, 400});
  // Zoom steps in turn, each about its point: the value there stays there
  // (to a billionth of a pixel), within the view's scale limits; zoomed
  // out all the way, the whole graph is shown, wherever the pointer.
  struct Step {
    double factor;
    Point at;
    bool zoomed;
  };
  const Step zooms[] = {{2, ring, true},     {1.5, {200, 700}, true}, {0.8, {600, 300}, true},
                        {1e9, ring, true},   {1e-9, {150, 250}, false}, {3, ring, true}};
  for (const Step& step : zooms) {
    SCOPED_TRACE(step.factor);
    const Point before = step.zoomed ? figure->valueAt(Graph::measurements, step.at)
                                     : PlotFigure::laidOut(picture)->valueAt(Graph::measurements, step.at);
    figure->zoom(Graph::measurements, step.factor, step.at);
    const Point after = figure->valueAt(Graph::measurements, step.at);
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
    const Point back = onGraph(*figure, Graph::measurements, before.x, before.y);
    EXPECT_NEAR(back.x, step.at.x, 1e-9);
    EXPECT_NEAR(back.y, step.at.y, 1e-9);
    EXPECT_EQ(figure->zoomed(Graph::measurements), step.zoomed);
  }
  // The ring zoomed about is still under the finger: a tap there names it.
  const auto reading = figure->tap(Graph::measurements, ring);
  ASSERT_TRUE(reading);
  EXPECT_EQ(reading->step, 8);

  // A pan brings what lay at `from` to `to`; a laid-out figure given the
  // view's state shows the same.
  const Point from{400, 500}, to{330, 560};
  const Point value = figure->valueAt(Graph::measurements, from);
  figure->pan(Graph::measurements, from, to);
  const Point moved = figure->valueAt(Graph::measurements, to);
  EXPECT_NEAR(moved.x, value.x, 1e-9);
  EXPECT_NEAR(moved.y, value.y, 1e-9);
  const auto centreOf = [](const PlotFigure& f) {
    const auto content = f.contentRect(Graph::measurements);
    return f.valueAt(Graph::measurements, Point{content.midX() - f.graphArea(Graph::measurements).minX(),
                                                 content.midY() - f.graphArea(Graph::measurements).minY()});
  };
  auto again = PlotFigure::laidOut(picture);
  again->setViewState(Graph::measurements, figure->viewState(Graph::measurements));
  const Point centre = centreOf(*figure), same = centreOf(*again);
  EXPECT_NEAR(same.x, centre.x, 1e-9);
  EXPECT_NEAR(same.y, centre.y, 1e-9);
  ASSERT_TRUE(again->highlighted(Graph::measurements));
  EXPECT_EQ(again->highlighted(Graph::measurements)->step, 8);

  // Reset: the whole graph, where nothing pans.
  figure->resetZoom(Graph::measurements);
  EXPECT_FALSE(figure->zoomed(Graph::measurements));
  figure->pan(Graph::measurements, from, to);
  for (const auto* f : {figure.get()}) {
    const Point now = f->valueAt(Graph::measurements, Point{300, 400});
    EXPECT_NEAR(now.x, whole.x, 1e-9);
    EXPECT_NEAR(now.y, whole.y, 1e-9);
  }
}

TEST(GraphTouch, ThePagesDocumentKeepsEachGraphsViewUntilANewFile) {
  using Gesture = WebDocument::Gesture;
  const std::string wedge = testsupport::slurp(std::string(INKCURVE_EXAMPLES) + "/wedge-21.txt");
  const std::string quad = testsupport::slurp(std::string(INKCURVE_EXAMPLES) + "/pt-pd-8ch.quad");
  const std::vector<std::string> L{"94.80", "87.74", "80.90", "74.28", "67.90", "61.75", "55.84",
                                   "50.17", "44.77", "39.63", "34.76", "30.17", "25.88", "21.90",
                                   "18.25", "14.95", "12.02", "9.51",  "7.45",  "5.94",  "5.20"};
  WebDocument document;
  std::string error;
  const auto touch = [&](WebDocument::Graph graph, WebDocument::GraphTouch t,
                         const std::set<std::string>& hidden = {}) {
    error.clear();
    return document.touchGraph(graph, t, hidden, error).value_or("refused: " + error);
  };
  const auto M = WebDocument::Graph::measurements, ink = WebDocument::Graph::inkCurves;
  EXPECT_EQ(touch(M, {Gesture::tap, 10, 10}), "refused: there is no graph yet: open a measurement file first");
  document.openMeasurements("wedge-21.txt", wedge);
  document.openQuad("pt-pd-8ch.quad", quad);
  EXPECT_EQ(touch(M, {}), R"({"graph":"measurements","zoomed":false,"highlight":null})");

  // Down the middle of the graph until a ring answers: the step it names,
  // with the L* the file gives it.
  std::string tapped;
  double y = 100;
  for (; y < 1000 && tapped.find("\"step\":") == std::string::npos; y += 10) tapped = touch(M, {Gesture::tap, 420, y});
  const auto step = std::stoi(tapped.substr(tapped.find("\"step\":") + 7));
  ASSERT_TRUE(step >= 1 && step <= 21) << tapped;
  const std::string text = "\"text\":\"step " + std::to_string(step) + ": L* " + L[static_cast<size_t>(step - 1)] + "\"";
  EXPECT_NE(tapped.find(text), std::string::npos) << tapped;
  EXPECT_NE(tapped.find(R"("curve":"steps")"), std::string::npos) << tapped;

  // Zoomed at the ring, the document changed: zoom and highlight stay.
  EXPECT_NE(touch(M, {Gesture::zoom, 420, y - 10, 0, 0, 4}).find(R"("zoomed":true)"), std::string::npos);
  EXPECT_NE(touch(ink, {Gesture::zoom, 400, 500, 0, 0, 2}).find(R"("zoomed":true)"), std::string::npos);
  document.setSettings(60, std::nullopt, std::nullopt);
  EXPECT_NE(touch(M, {}).find(text), std::string::npos);
  EXPECT_NE(touch(M, {}).find(R"("zoomed":true)"), std::string::npos);
  // The ink graph with a channel hidden is the one zoomed too.
  EXPECT_NE(touch(ink, {}, {"K"}).find(R"("zoomed":true)"), std::string::npos);
  EXPECT_EQ(touch(ink, {Gesture::reset}, {"K"}), R"({"graph":"ink","zoomed":false,"highlight":null})");
  EXPECT_NE(touch(ink, {Gesture::zoom, 400, 500, 0, 0, 2}, {"K"}).find(R"("zoomed":true)"), std::string::npos);
  EXPECT_NE(touch(ink, {}).find(R"("zoomed":true)"), std::string::npos);

  // Refused: off the graph, a zoom factor that is not above 0.
  struct Bad {
    WebDocument::GraphTouch touch;
    std::string error;
  };
  const double nan = std::nan("");
  const Bad bad[] = {
      {{Gesture::tap, -1, 10}, "the point must lie on the graph, 0 to 800 across and 0 to 1000 down, not (-1, 10)"},
      {{Gesture::zoom, 10, 1000.5, 0, 0, 2},
       "the point must lie on the graph, 0 to 800 across and 0 to 1000 down, not (10, 1000.5)"},
      {{Gesture::tap, nan, 10}, "the point must lie on the graph, 0 to 800 across and 0 to 1000 down, not (nan, 10)"},
      {{Gesture::zoom, 10, 10, 0, 0, 0}, "the zoom factor must be a number above 0, not '0'"},
      {{Gesture::zoom, 10, 10, 0, 0, -2}, "the zoom factor must be a number above 0, not '-2'"},
      {{Gesture::zoom, 10, 10, 0, 0, INFINITY}, "the zoom factor must be a number above 0, not 'inf'"},
      {{Gesture::pan, 10, 10, nan, 0}, "a pan needs points that are numbers, not 'nan'"},
  };
  for (const Bad& row : bad) EXPECT_EQ(touch(M, row.touch), "refused: " + row.error);
  EXPECT_NE(touch(M, {}).find(R"("zoomed":true)"), std::string::npos);

  // A new .quad: the ink graph whole again; a new measurement file: both.
  document.openQuad("pt-pd-8ch.quad", quad);
  EXPECT_EQ(touch(ink, {}), R"({"graph":"ink","zoomed":false,"highlight":null})");
  EXPECT_NE(touch(M, {}).find(text), std::string::npos);
  document.openMeasurements("wedge-21.txt", wedge);
  EXPECT_EQ(touch(M, {}), R"({"graph":"measurements","zoomed":false,"highlight":null})");
}
