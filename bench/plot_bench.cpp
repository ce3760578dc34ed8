// The program as a shell starts it, on the bundled example
// (examples/wedge-21.txt and examples/pt-pd-8ch.quad) as the README runs it,
// every output written, with `--plot` and without: the summary prints both
// times and their ratio, with its goal (3). For the record, the same with
// `--out` alone, whose run is a third as long, so that the plot's fixed
// costs (the fonts, a picture of 6 MB and its compression) weigh three
// times as much.
//
// The whole `linearize` command, in-process, with `--plot`: the two graphs
// drawn through the chart library (views, axes, labels, legends, the
// line-and-points renderer) and written as a PNG. Next to it, the floor
// under any plot on Cairo: the same command without --plot, then the same
// lines and points drawn on a 1600 × 1000 surface with direct Cairo calls
// (the data taken once, untimed, from the run's own picture) and the PNG
// written the same way (by the project's PNG writer, replacing its file);
// the summary gives their ratio, with its goal (1.5), and the command's time
// without --plot.
//
// The example's picture encoded as PNG, from its pixels (read back once from
// its PNG), by the project's writer and, for the record, by Cairo's own
// (libpng's defaults); the summary gives both times and file sizes.
//
// Then the picture alone (the figure laid out, drawn and encoded as PNG) of
// a long list: the example's picture with 720,720 single readings in the
// place of its 21 steps (a noisy fall, with three readings that stand out),
// whose marks are thinned to what the pixels show, against the same fall in
// a hundred times fewer readings, 7,208 (thinned too): the goal, the long
// list's within 2.5 times, a list that costs what its pixels show rather
// than what it holds. For the record, both against the example's picture. Beside them, for the record and without a goal, 720,720
// readings strewn over the whole graph: the most marks the pixels let through.
// On a busy machine, interleave repeated runs:
//   plot_bench --benchmark_repetitions=15 --benchmark_min_time=0.2
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "Cli.h"
#include "CliHost.h"
#include "Plot.h"
#include "ProgramRuns.h"
#include "RatioReporter.h"
#include "linearization/InkColors.h"
#include "platform/cairo/CairoImages.h"
#include "platform/files/Files.h"

namespace {

namespace fs = std::filesystem;

const std::string kWedge = INKCURVE_SOURCE_DIR "/examples/wedge-21.txt";
const std::string kQuad = INKCURVE_SOURCE_DIR "/examples/pt-pd-8ch.quad";

BenchFolder& folder() {
  static BenchFolder f("plot_bench");
  return f;
}

// What the raw program draws: polylines and circles, in pixels, with their
// colours, widths and dashes.
struct Line {
  std::vector<platform::graphics::Point> points;
  platform::graphics::Color color;
  double width = 1;
  std::vector<double> dash;
};
struct Dots {
  std::vector<platform::graphics::Point> centres;
  platform::graphics::Color color;
  double radius = 3, hole = 0;
};
struct RawPicture {
  std::vector<Line> lines;
  std::vector<Dots> dots;
  std::vector<platform::graphics::Rect> contents;
};

// The example's picture, as the run draws it.
const cli::PlotPicture& examplePicture() {
  static const cli::PlotPicture picture = [] {
    std::ostringstream out, err;
    cli::CliHost host(out, err);
    host.setOpenAnswer("txt", kWedge);
    host.setOpenAnswer("quad", kQuad);
    linearization::v2LinearizationDataModel document;
    linearization::prepareLikeMainWindow(document);
    document.readMeasurementFile(*linearization::openMeasurementFile(host), host);
    document.avgWindowSize = linearization::avgWindowSizeForControl(linearization::kDefaultSmoothingControl);
    document.splinePercent = linearization::splinePercentForControl(linearization::kDefaultSmoothingControl);
    document.resetLinearization();
    document.updateLinearization();
    auto quad = linearization::openQuadFile(host);
    quad->readQuadFile(quad->rawQuadData, &host);
    quad->quadHeaders = quad->inkList;
    document.quadData = quad;
    quad->outputQuadCurveArray = document.linearizeQuad(&host)->linearizedOutputQuadArray;
    return cli::linearizePicture(document, kWedge, quad.get(), kQuad);
  }();
  return picture;
}

// The example's picture with `count` single readings as its steps, L*
// from `lightness(t, noise)` for t from 0 (paper white) to 1 and noise
// between -1 and 1.
cli::PlotPicture longListPicture(size_t count, double (*lightness)(double t, double noise)) {
  cli::PlotPicture picture = examplePicture();
  auto& m = *picture.measurements;
  m.samples = {};
  m.stepPositions.clear();
  m.stepL.resize(count);
  uint32_t seed = 2024;
  for (size_t i = 0; i < count; ++i) {
    seed = seed * 1664525u + 1013904223u;
    m.stepL[i] = lightness(static_cast<double>(i) / static_cast<double>(count - 1), seed / 4294967296.0 * 2 - 1);
  }
  return picture;
}

// The lines and points of the example's plot, placed as the figure places
// them: taken from the run's own picture once.
RawPicture rawPicture() {
  const cli::PlotPicture& picture = examplePicture();
  const cli::PlotFigure figure(picture);
  using Graph = cli::PlotFigure::Graph;

  RawPicture raw;
  raw.contents = {figure.contentRect(Graph::measurements), figure.contentRect(Graph::inkCurves)};
  const auto even = [&](Graph graph, const std::vector<double>& values, double scale) {
    std::vector<platform::graphics::Point> points;
    for (size_t i = 0; i < values.size(); ++i)
      points.push_back(figure.pixelFor(graph, 100.0 * i / (values.size() - 1), values[i] * scale));
    return points;
  };
  const auto& m = *picture.measurements;
  const auto means = platform::graphics::Color::rgb(0.85, 0.33, 0.1);
  raw.lines.push_back({even(Graph::measurements, m.correctedL, 1), platform::graphics::Color::rgb(0.1, 0.55, 0.25), 2,
                       {}});
  raw.lines.push_back({even(Graph::measurements, m.targetL, 1), platform::graphics::Color::rgb(0.35, 0.35, 0.35), 2,
                       {12, 8}});
  // Each step's bar from the target.
  for (size_t i = 0; i < m.stepL.size(); ++i) {
    const double x = 100.0 * i / (m.stepL.size() - 1), at = x / 100 * (m.targetL.size() - 1);
    const auto k = std::min(static_cast<size_t>(at), m.targetL.size() - 2);
    const double target = m.targetL[k] + (m.targetL[k + 1] - m.targetL[k]) * (at - k);
    raw.lines.push_back({{figure.pixelFor(Graph::measurements, x, target), figure.pixelFor(Graph::measurements, x, m.stepL[i])},
                         means, 1.5, {}});
  }
  raw.dots.push_back({even(Graph::measurements, m.stepL, 1), means, 7, 4.5});
  raw.lines.push_back({even(Graph::measurements, m.smoothedL, 1), platform::graphics::Color::rgb(0.12, 0.4, 0.8), 3,
                       {}});
  std::vector<platform::graphics::Color> inks;
  for (const auto& channel : picture.ink.channels) inks.push_back(channel.color);
  const auto colors = cli::plotColors(inks);
  // The levels as written: whole, within 0...65535.
  const auto written = [](std::vector<double> levels) {
    for (double& level : levels) level = std::clamp(std::trunc(level), 0.0, 65535.0);
    return levels;
  };
  for (size_t c = 0; c < picture.ink.channels.size(); ++c)
    raw.lines.push_back(
        {even(Graph::inkCurves, written(picture.ink.channels[c].inputLevels), 1 / 655.35), colors[c], 2, {8, 5}});
  for (size_t c = 0; c < picture.ink.channels.size(); ++c)
    raw.lines.push_back(
        {even(Graph::inkCurves, written(picture.ink.channels[c].correctedLevels), 1 / 655.35), colors[c], 3, {}});
  return raw;
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* rest = static_cast<std::string_view*>(closure);
  if (rest->size() < length) return CAIRO_STATUS_READ_ERROR;
  rest->copy(reinterpret_cast<char*>(data), length);
  rest->remove_prefix(length);
  return CAIRO_STATUS_SUCCESS;
}

void drawRaw(const RawPicture& picture, const fs::path& path) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1600, 1000);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  // Each graph's lines and points clipped to its content, as the chart's are.
  const auto clipTo = [&](const platform::graphics::Point& p) {
    for (const auto& c : picture.contents)
      if (p.x >= c.minX() - 1 && p.x <= c.maxX() + 1) {
        cairo_reset_clip(cr);
        cairo_rectangle(cr, c.minX(), c.minY(), c.width(), c.height());
        cairo_clip(cr);
        return;
      }
  };
  for (const Line& line : picture.lines) {
    if (line.points.empty()) continue;
    clipTo(line.points.front());
    cairo_set_source_rgb(cr, line.color.red, line.color.green, line.color.blue);
    cairo_set_line_width(cr, line.width);
    cairo_set_dash(cr, line.dash.data(), static_cast<int>(line.dash.size()), 0);
    cairo_move_to(cr, line.points[0].x, line.points[0].y);
    for (const auto& p : line.points) cairo_line_to(cr, p.x, p.y);
    cairo_stroke(cr);
  }
  for (const Dots& dots : picture.dots) {
    if (dots.centres.empty()) continue;
    clipTo(dots.centres.front());
    cairo_set_source_rgb(cr, dots.color.red, dots.color.green, dots.color.blue);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_line_width(cr, dots.radius - dots.hole);
    for (const auto& c : dots.centres) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, c.x, c.y, (dots.radius + dots.hole) / 2, 0, 6.283185307179586);
    }
    cairo_stroke(cr);
  }
  cairo_destroy(cr);
  const auto png = platform::cairo::encodeSurfacePNG(surface);
  cairo_surface_destroy(surface);
  if (png)
    platform::files::writeFileReplacing(path, std::string_view(reinterpret_cast<const char*>(png->data()), png->size()));
}

bool run(benchmark::State& state, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  if (cli::run(args, out, err) == cli::kExitOk) return true;
  state.SkipWithError(("linearize failed:\n" + err.str()).c_str());
  return false;
}

void BM_linearizeWithPlot(benchmark::State& state) {
  const std::vector<std::string> args{"linearize", kWedge, kQuad, "--plot", (folder().path / "plot.png").string()};
  for (auto _ : state)
    if (!run(state, args)) break;
}

void BM_linearizeWithoutPlot(benchmark::State& state) {
  const std::vector<std::string> args{"linearize", kWedge, kQuad};
  for (auto _ : state)
    if (!run(state, args)) break;
}

// The program as a shell starts it, on the example as the README runs it:
// every output, with or without --plot; and with --out alone. Each run
// replaces the files of the one before.
std::vector<std::string> exampleRun(bool everyOutput, bool plot) {
  const fs::path out = folder().path;
  std::vector<std::string> args{INKCURVE_PROGRAM, "linearize", kWedge, kQuad, "--out",
                                (out / "pt-pd-8ch-corrected.quad").string()};
  if (everyOutput)
    for (const std::string& arg :
         {std::string("--measurements-out"), (out / "wedge-21-smoothed.txt").string(), std::string("--acv"),
          (out / "pt-pd-correction.acv").string(), std::string("--cube"), (out / "pt-pd-correction.cube").string(),
          std::string("--xml-dir"), (out / "xml").string(), std::string("--notes"),
          std::string("Pt/Pd on Arches Platine, corrected from wedge-21.txt")})
      args.push_back(arg);
  if (plot)
    for (const std::string& arg : {std::string("--plot"), (out / "pt-pd-8ch.png").string()}) args.push_back(arg);
  return args;
}

void BM_exampleRunWithPlot(benchmark::State& state) { runProgram(state, exampleRun(true, true)); }
void BM_exampleRunWithoutPlot(benchmark::State& state) { runProgram(state, exampleRun(true, false)); }
void BM_outRunWithPlot(benchmark::State& state) { runProgram(state, exampleRun(false, true)); }
void BM_outRunWithoutPlot(benchmark::State& state) { runProgram(state, exampleRun(false, false)); }

void BM_linearizeThenRawCairo(benchmark::State& state) {
  const RawPicture picture = rawPicture();
  const std::vector<std::string> args{"linearize", kWedge, kQuad};
  const fs::path path = folder().path / "raw.png";
  for (auto _ : state) {
    if (!run(state, args)) break;
    drawRaw(picture, path);
  }
}

void drawPicture(benchmark::State& state, const cli::PlotPicture& picture) {
  for (auto _ : state) {
    const auto png = cli::PlotFigure(picture).png();
    if (!png) {
      state.SkipWithError("the picture could not be encoded");
      break;
    }
    benchmark::DoNotOptimize(png->data());
  }
}

void BM_pictureOfTheExample(benchmark::State& state) { drawPicture(state, examplePicture()); }

// A noisy fall of `count` single readings, three of them (at a quarter, half
// and three quarters) 20 L* above the others.
cli::PlotPicture fallOf(size_t count) {
  cli::PlotPicture picture =
      longListPicture(count, [](double t, double noise) { return 94 - 88 * std::pow(t, 0.9) + noise; });
  for (const size_t quarter : {1, 2, 3}) picture.measurements->stepL[count * quarter / 4] += 20;
  return picture;
}

void BM_pictureOf720720Readings(benchmark::State& state) { drawPicture(state, fallOf(720720)); }
void BM_pictureOf7208Readings(benchmark::State& state) { drawPicture(state, fallOf(7208)); }

void BM_pictureOf720720StrewnReadings(benchmark::State& state) {
  const cli::PlotPicture picture = longListPicture(720720, [](double, double noise) { return 50 + 50 * noise; });
  drawPicture(state, picture);
}

// The example's picture as pixels on an opaque surface, read back from its
// PNG once; the sizes of the two writers' files.
cairo_surface_t* exampleSurface() {
  static cairo_surface_t* const surface = [] {
    const auto png = cli::PlotFigure(examplePicture()).png();
    if (!png) {
      std::fputs("plot_bench: the example's picture could not be encoded\n", stderr);
      std::exit(1);
    }
    std::string_view rest(reinterpret_cast<const char*>(png->data()), png->size());
    return cairo_image_surface_create_from_png_stream(readBytes, &rest);
  }();
  return surface;
}
size_t ourPngSize = 0, cairoPngSize = 0;

void BM_pngOfTheExample(benchmark::State& state) {
  for (auto _ : state) {
    const auto png = platform::cairo::encodeSurfacePNG(exampleSurface());
    if (!png) {
      state.SkipWithError("the picture could not be encoded");
      break;
    }
    ourPngSize = png->size();
  }
}

void BM_pngOfTheExampleByCairo(benchmark::State& state) {
  for (auto _ : state) {
    std::string png;
    if (cairo_surface_write_to_png_stream(exampleSurface(), appendBytes, &png) != CAIRO_STATUS_SUCCESS) {
      state.SkipWithError("Cairo could not encode the picture");
      break;
    }
    cairoPngSize = png.size();
  }
}

BENCHMARK(BM_exampleRunWithPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_exampleRunWithoutPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_outRunWithPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_outRunWithoutPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linearizeWithPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linearizeWithoutPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_linearizeThenRawCairo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pictureOfTheExample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pictureOf720720Readings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pictureOf7208Readings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pictureOf720720StrewnReadings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pngOfTheExample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pngOfTheExampleByCairo)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  if (!runBenchmarks(argc, argv, reporter)) return 1;
  const auto time = [&](const char* name) {
    const auto found = reporter.times.find(name);
    return found == reporter.times.end() ? std::optional<double>() : std::optional<double>(found->second);
  };
  const auto plot = time("BM_linearizeWithPlot"), raw = time("BM_linearizeThenRawCairo");
  const auto bare = time("BM_linearizeWithoutPlot");
  const auto exampleWith = time("BM_exampleRunWithPlot"), exampleWithout = time("BM_exampleRunWithoutPlot");
  const auto outWith = time("BM_outRunWithPlot"), outWithout = time("BM_outRunWithoutPlot");
  if (exampleWith && exampleWithout) {
    const double ratio = *exampleWith / *exampleWithout;
    std::printf("\nthe program on the example as the README runs it, every output: with --plot %.2f ms, without "
                "%.2f ms; ratio %.2f  (goal 3)%s\n",
                *exampleWith, *exampleWithout, ratio, ratio <= 3 ? "" : "  over the goal");
  }
  if (outWith && outWithout)
    std::printf("the program on the example with --out alone: with --plot %.2f ms, without %.2f ms; ratio %.2f  "
                "(no goal: the fonts, the 6 MB picture and its compression against a run that writes one file)\n",
                *outWith, *outWithout, *outWith / *outWithout);
  if (plot && bare)
    std::printf("linearize on the example in this process with --plot: %.2f ms; without --plot: %.2f ms; ratio %.2f  "
                "(no goal: no process is started)\n",
                *plot, *bare, *plot / *bare);
  if (plot && raw) {
    const double ratio = *plot / *raw;
    std::printf("linearize on the example with --plot: %.2f ms; the same command, then the same lines and points "
                "with direct Cairo calls and the same PNG write: %.2f ms; ratio %.2f  (goal 1.5)%s\n",
                *plot, *raw, ratio, ratio <= 1.5 ? "" : "  over the goal");
  }
  const auto example = time("BM_pictureOfTheExample"), along = time("BM_pictureOf720720Readings");
  const auto strewn = time("BM_pictureOf720720StrewnReadings"), fewer = time("BM_pictureOf7208Readings");
  if (fewer && along) {
    const double ratio = *along / *fewer;
    std::printf("the picture of 720,720 readings along a fall: %.2f ms; of the same fall in 7,208 readings: %.2f ms; "
                "ratio %.2f  (goal 2.5)%s\n",
                *along, *fewer, ratio, ratio <= 2.5 ? "" : "  over the goal");
  }
  if (example && along)
    std::printf("the picture of 720,720 readings along a fall against the example's 21 steps (%.2f ms): ratio %.2f  "
                "(no goal: the example's two graphs are drawn on two threads, and a long list's marks cost the "
                "pixels they fill)\n",
                *example, *along / *example);
  if (example && strewn)
    std::printf("the picture of 720,720 readings strewn over the whole graph: %.2f ms; ratio to the example's "
                "%.2f  (no goal: the most marks the pixels let through)\n",
                *strewn, *strewn / *example);
  const auto ours = time("BM_pngOfTheExample"), cairos = time("BM_pngOfTheExampleByCairo");
  if (ours && cairos)
    std::printf("the example's PNG: %.2f ms, %zu bytes; by Cairo's own writer (libpng's defaults): %.2f ms, %zu bytes\n",
                *ours, ourPngSize, *cairos, cairoPngSize);
  return 0;
}
