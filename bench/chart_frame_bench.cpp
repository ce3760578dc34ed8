// The main line chart frame (axes, grid, limit lines, labels, legend,
// description, marker and eight ink curves of 256 points) drawn into a 600 ×
// 400 Cairo image surface once per frame through the chart view, next to a
// plain Cairo program that draws the same lines, rectangles, ellipses, images
// and texts with direct Cairo calls. The plain program's primitives are taken
// once, untimed, from a recording of the view's frame. After the runs a
// summary prints the time per frame of both and their ratio with the goal
// (1.5). Then the main frame zoomed 2×, drawn as it is and after one moved
// event of a drag each (a touch-move frame), with their ratio and its goal
// (1.2).

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoImages.h"
#include "platform/cairo/CairoTextMetrics.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TextMetrics.h"
#include "support/scenes/ChartScenes.h"

namespace {

using platform::graphics::Color;
using platform::graphics::GraphicsState;
using platform::graphics::Point;
using platform::graphics::RecordingContext;
using platform::graphics::Rect;
using Op = RecordingContext::Op;

constexpr int kWidth = 600;
constexpr int kHeight = 400;

// One thing the frame paints, with the state it is painted in.
struct Primitive {
  enum class Kind { stroke, fill, ellipse, image, text } kind = Kind::stroke;
  std::vector<Point> points;  // stroke: a polyline, or segments when `segments`
  bool segments = false;
  Rect rect;                  // fill, ellipse (inscribed), image
  std::shared_ptr<cairo_surface_t> image;  // made once, as a plain program keeps its pictures
  double imageScale = 1;      // points of `rect` per pixel of the image
  std::string text;           // text: one line, its baseline's start in `points`
  std::string family;
  double fontSize = 0;
  GraphicsState state;
};

Primitive fromState(Primitive::Kind kind, const GraphicsState& state) {
  Primitive p;
  p.kind = kind;
  p.state = state;
  return p;
}

// The frame's primitives, from a recording of the view drawing it. The
// main frame draws no turned text, no clip other than rectangles, and its
// one image unstretched in height as in width.
std::vector<Primitive> primitivesOf(chart::LineChartView& view) {
  RecordingContext recording;
  view.draw(recording);
  const auto& metrics = dynamic_cast<const platform::cairo::CairoTextMetrics&>(platform::graphics::currentTextMetrics());
  std::vector<Primitive> list;
  for (const auto& o : recording.operations()) {
    if (o.op == Op::strokePath) {
      Primitive p = fromState(Primitive::Kind::stroke, o.state);
      for (const auto& e : o.path) p.points.push_back(e.point);
      list.push_back(std::move(p));
    } else if (o.op == Op::strokeLineSegments) {
      Primitive p = fromState(Primitive::Kind::stroke, o.state);
      p.points = o.points;
      p.segments = true;
      list.push_back(std::move(p));
    } else if (o.op == Op::fillRect || o.op == Op::fillEllipseInRect) {
      Primitive p = fromState(o.op == Op::fillRect ? Primitive::Kind::fill : Primitive::Kind::ellipse, o.state);
      p.rect = o.rect;
      list.push_back(std::move(p));
    } else if (o.op == Op::drawImage) {
      Primitive p = fromState(Primitive::Kind::image, o.state);
      p.rect = o.rect;
      const auto width = static_cast<int>(o.image->width());
      // Cairo only reads the pixels of a source surface; the scene keeps the
      // image alive.
      auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(o.image->pixels().data()));
      p.image.reset(cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, width,
                                                        static_cast<int>(o.image->height()),
                                                        cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width)),
                    cairo_surface_destroy);
      p.imageScale = o.rect.size.width / static_cast<double>(width);
      list.push_back(std::move(p));
    } else if (o.op == Op::drawText || o.op == Op::drawTextInRect) {
      Primitive p = fromState(Primitive::Kind::text, o.state);
      const auto font = o.attributes.resolvedFont();
      p.text = o.text;
      p.family = font.family;
      p.fontSize = font.pointSize;
      p.state.fillColor = o.attributes.resolvedColor();
      Point start = o.op == Op::drawText ? o.points[0] : o.rect.origin;
      if (o.op == Op::drawTextInRect &&
          o.attributes.resolvedAlignment() == platform::graphics::TextAlignment::center) {
        start.x += (o.rect.size.width - metrics.advance(o.text, font)) / 2;
      }
      start.y += metrics.ascent(font);
      p.points = {start};
      list.push_back(std::move(p));
    }
  }
  return list;
}

void setSource(cairo_t* cr, const Color& c) { cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha); }

// What a hand-written Cairo program does for each primitive.
void drawPlain(cairo_t* cr, const std::vector<Primitive>& list) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, 0, 0, kWidth, kHeight);
  cairo_fill(cr);
  for (const Primitive& p : list) {
    cairo_save(cr);
    for (const auto& clip : p.state.clip) cairo_rectangle(cr, clip.rect.origin.x, clip.rect.origin.y,
                                                          clip.rect.size.width, clip.rect.size.height);
    if (!p.state.clip.empty()) cairo_clip(cr);
    switch (p.kind) {
      case Primitive::Kind::stroke:
        setSource(cr, p.state.strokeColor);
        cairo_set_line_width(cr, p.state.lineWidth);
        cairo_set_antialias(cr, p.state.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
        cairo_set_dash(cr, p.state.dash.lengths.data(), static_cast<int>(p.state.dash.lengths.size()),
                       p.state.dash.phase);
        for (size_t i = 0; i < p.points.size(); ++i) {
          if (i == 0 || (p.segments && i % 2 == 0)) {
            cairo_move_to(cr, p.points[i].x, p.points[i].y);
          } else {
            cairo_line_to(cr, p.points[i].x, p.points[i].y);
          }
        }
        cairo_stroke(cr);
        break;
      case Primitive::Kind::fill:
        setSource(cr, p.state.fillColor);
        cairo_rectangle(cr, p.rect.origin.x, p.rect.origin.y, p.rect.size.width, p.rect.size.height);
        cairo_fill(cr);
        break;
      case Primitive::Kind::ellipse:
        setSource(cr, p.state.fillColor);
        cairo_translate(cr, p.rect.origin.x + p.rect.size.width / 2, p.rect.origin.y + p.rect.size.height / 2);
        cairo_scale(cr, p.rect.size.width / 2, p.rect.size.height / 2);
        cairo_arc(cr, 0, 0, 1, 0, 2 * 3.141592653589793);
        cairo_fill(cr);
        break;
      case Primitive::Kind::image:
        cairo_translate(cr, p.rect.origin.x, p.rect.origin.y);
        cairo_scale(cr, p.imageScale, p.imageScale);
        cairo_set_source_surface(cr, p.image.get(), 0, 0);
        cairo_paint(cr);
        break;
      case Primitive::Kind::text:
        cairo_select_font_face(cr, p.family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, p.fontSize);
        setSource(cr, p.state.fillColor);
        cairo_move_to(cr, p.points[0].x, p.points[0].y);
        cairo_show_text(cr, p.text.c_str());
        break;
    }
    cairo_restore(cr);
  }
}

struct Scene {
  Scene() {
    platform::cairo::installCairoBackend();
    view = scenes::makeMainScene();
  }
  std::shared_ptr<chart::LineChartView> view;
};

Scene& scene() {
  static Scene s;
  return s;
}

// Frames of the view on white, each after `beforeEach` when there is one.
void frames(benchmark::State& state, chart::LineChartView& view, const std::function<void()>& beforeEach = {}) {
  auto context = platform::cairo::CairoContext::create(kWidth, kHeight, true);
  for (auto _ : state) {
    if (beforeEach) beforeEach();
    context->setFillColor(Color::white());
    context->fillRect(Rect(0, 0, kWidth, kHeight));
    view.draw(*context);
  }
  if (context->isInErrorState()) state.SkipWithError("the context refused an operation");
}

void BM_chartViewFrame(benchmark::State& state) { frames(state, *scene().view); }

void BM_plainCairoFrame(benchmark::State& state) {
  const std::vector<Primitive> list = primitivesOf(*scene().view);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  for (auto _ : state) drawPlain(cr, list);
  state.counters["primitives"] = static_cast<double>(list.size());
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

// The main scene zoomed 2× with a finger down on it: the frame as it is, and
// the frame after one moved event of the drag (2 points one way, then back,
// so the pan stays inside the limits).
struct TouchedScene {
  TouchedScene() {
    platform::cairo::installCairoBackend();
    view = scenes::makeMainScene();
    view->setDragDecelerationFrictionCoef(0);
    const Point c = view->viewPortHandler()->contentCenter();
    view->zoom(2, 2, c.x, c.y);
    finger = c;
    send(&chart::NSUIView::touchesBeganWithEvent, finger);
    finger.x -= 20;  // past the tap slop: a drag from here on
    send(&chart::NSUIView::touchesMovedWithEvent, finger);
  }
  void send(void (chart::NSUIView::*phase)(const platform::view::TouchEvent&), Point at) {
    ((*view).*phase)(platform::view::TouchEvent{{platform::view::Touch{at, view.get()}}});
  }
  std::shared_ptr<chart::LineChartView> view;
  Point finger;
};

TouchedScene& touchedScene() {
  static TouchedScene s;
  return s;
}

void BM_zoomedFrame(benchmark::State& state) { frames(state, *touchedScene().view); }

void BM_touchMoveFrame(benchmark::State& state) {
  TouchedScene& scene = touchedScene();
  double step = 2;
  frames(state, *scene.view, [&] {
    scene.finger.x += step;
    step = -step;
    scene.send(&chart::NSUIView::touchesMovedWithEvent, scene.finger);
  });
}

BENCHMARK(BM_chartViewFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_plainCairoFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_zoomedFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_touchMoveFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;

  auto ours = reporter.times.find("BM_chartViewFrame");
  auto plain = reporter.times.find("BM_plainCairoFrame");
  if (ours != reporter.times.end() && plain != reporter.times.end()) {
    const double ratio = ours->second / plain->second;
    std::printf("\nchart view frame: %.1f us; plain Cairo frame: %.1f us\n", ours->second, plain->second);
    std::printf("chart view / plain Cairo: %.2f  (goal 1.5)%s\n", ratio, ratio <= 1.5 ? "" : "  over the goal");
  }

  auto zoomed = reporter.times.find("BM_zoomedFrame");
  auto moved = reporter.times.find("BM_touchMoveFrame");
  if (zoomed == reporter.times.end() || moved == reporter.times.end()) return 0;
  const double moveRatio = moved->second / zoomed->second;
  std::printf("\ntouch-move frame (pan + draw): %.1f us; the same frame without the move: %.1f us\n", moved->second,
              zoomed->second);
  std::printf("touch-move / plain frame: %.2f  (goal 1.2)%s\n", moveRatio, moveRatio <= 1.2 ? "" : "  over the goal");
  return 0;
}
