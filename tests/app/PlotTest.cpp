#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliHost.h"
#include "LinearizeWarnings.h"
#include "Plot.h"
#include "RunCli.h"
#include "linearization/QuadDataFile.h"
#include "linearization/v2LinearizationDataModel.h"
#include "linearization/InkColors.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"
#include "support/SampleFiles.h"

using cli::PlotFigure;
using Graph = PlotFigure::Graph;
using platform::graphics::Color;
using platform::graphics::Point;
using platform::graphics::Rect;
using testsupport::slurp;
using testsupport::TempDir;

namespace {

testsupport::CliRun inkcurve(const std::vector<std::string>& args) { return testsupport::runInkcurve(args); }

// A PNG file as Cairo's PNG reader reads it: its size and its pixels as
// 0xAARRGGBB (premultiplied; the plots are opaque).
struct Png {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(double x, double y) const {
    return pixels[static_cast<size_t>(std::floor(y)) * static_cast<size_t>(width) + static_cast<size_t>(std::floor(x))];
  }
};

Png readPng(const std::filesystem::path& path) {
  Png png;
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(surface);
    png.width = cairo_image_surface_get_width(surface);
    png.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const bool opaque = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24;
    for (int y = 0; y < png.height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
      for (int x = 0; x < png.width; ++x) png.pixels.push_back(opaque ? row[x] | 0xFF000000u : row[x]);
    }
  }
  cairo_surface_destroy(surface);
  return png;
}

int channel(uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

// The pixel is the colour, each component within `tolerance` of 255 steps.
bool isColor(uint32_t p, const Color& c, int tolerance = 6) {
  const auto near = [&](int value, double expected) {
    return std::abs(value - std::lround(expected * 255)) <= tolerance;
  };
  return channel(p, 24) == 255 && near(channel(p, 16), c.red) && near(channel(p, 8), c.green) &&
         near(channel(p, 0), c.blue);
}

std::string describe(uint32_t p) {
  return "rgb(" + std::to_string(channel(p, 16)) + ", " + std::to_string(channel(p, 8)) + ", " +
         std::to_string(channel(p, 0)) + ")";
}

const Color kSmoothed = Color::rgb(0.12, 0.4, 0.8);
const Color kSamples = Color::rgb(0.5, 0.5, 0.5);
const Color kExpected = Color::rgb(0.1, 0.55, 0.25);
const Color kWhite = Color::white();

// The pictures are kept for looking at, beside the other tests' pictures.
void keep(const std::filesystem::path& png, const std::string& name) {
  const char* folder = std::getenv("INKCURVE_TEST_OUTPUT");
  if (!folder) return;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::filesystem::copy_file(png, std::filesystem::path(folder) / name,
                             std::filesystem::copy_options::overwrite_existing, ec);
}

// The document and the corrected .quad of a run, made in this process the
// way `inkcurve linearize WEDGE QUAD` makes them.
struct Linearized {
  linearization::v2LinearizationDataModel document;
  std::shared_ptr<linearization::QuadDataFile> quad;
};

std::unique_ptr<Linearized> linearizeHere(const std::filesystem::path& wedge,
                                          const std::optional<std::filesystem::path>& quadPath) {
  std::ostringstream out, err;
  cli::CliHost host(out, err);
  host.setOpenAnswer("txt", wedge);
  if (quadPath) host.setOpenAnswer("quad", *quadPath);
  auto run = std::make_unique<Linearized>();
  auto& document = run->document;
  linearization::prepareLikeMainWindow(document);
  const auto file = linearization::openMeasurementFile(host);
  if (!file || !document.readMeasurementFile(*file, host)) return nullptr;
  document.avgWindowSize = linearization::avgWindowSizeForControl(linearization::kDefaultSmoothingControl);
  document.splinePercent = linearization::splinePercentForControl(linearization::kDefaultSmoothingControl);
  document.resetLinearization();
  document.updateLinearization();
  if (!quadPath) return run;
  auto& quad = run->quad;
  quad = linearization::openQuadFile(host);
  if (!quad || !quad->readQuadFile(quad->rawQuadData, &host)) return nullptr;
  quad->quadHeaders = quad->inkList;
  document.quadData = quad;
  const auto corrected = document.linearizeQuad(&host);
  if (!corrected) return nullptr;
  quad->outputQuadCurveArray = corrected->linearizedOutputQuadArray;
  return run;
}

// Ink in all eight channels, in proportion to the input, K the most (10 %
// above the top of a .quad's levels at the darkest step, so that the curve
// as read leaves the graph), LLK the least: the corrected curves keep the
// channels apart everywhere but at 0.
const double kChannelScale[] = {1.1, 0.85, 0.72, 0.6, 0.48, 0.37, 0.26, 0.15};
std::string eightInkedChannels() {
  return testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", testsupport::eightChannelMarkers(),
                                   [](int c, int i) { return std::round(65535 * kChannelScale[c] * i / 255.0); });
}

// L* of 21 steps, t = 0 at paper white to 1 at the darkest.
std::vector<double> wedgeShape(const std::function<double(double)>& lightness) {
  std::vector<double> Ls;
  for (int k = 0; k < 21; ++k) Ls.push_back(std::round(100 * lightness(k / 20.0)) / 100);
  return Ls;
}

// Nothing but the white background in the band.
void expectBlank(const Png& png, const Rect& band, const std::string& where) {
  int drawn = 0;
  std::string first;
  for (double y = std::ceil(band.minY()); y < band.maxY(); ++y)
    for (double x = std::ceil(band.minX()); x < band.maxX(); ++x)
      if (!isColor(png.at(x, y), kWhite, 0) && drawn++ == 0)
        first = describe(png.at(x, y)) + " at (" + std::to_string(int(x)) + ", " + std::to_string(int(y)) + ")";
  EXPECT_EQ(drawn, 0) << where << ": first " << first;
}

// The target's pixels from 15 % to 85 % input, each painted (its colour) or
// a gap (white or a grid line), where the smoothed response lies at least 8
// pixels away: both must be seen, several times each. False when the target
// hides under the response, too much to tell.
bool expectDashedTarget(const Png& png, const PlotFigure& figure, const std::vector<double>& target,
                        const std::vector<double>& smoothed) {
  int painted = 0, gaps = 0, changes = 0, looked = 0;
  bool last = false;
  for (size_t i = 38; i <= 217; ++i) {
    const double x = 100.0 * static_cast<double>(i) / 255;
    const Point at = figure.pixelFor(Graph::measurements, x, target[i]);
    const Point response = figure.pixelFor(Graph::measurements, x, smoothed[i]);
    if (std::fabs(at.y - response.y) < 8) continue;
    ++looked;
    // A grey: the dash's (rgb(89, 89, 89), lighter where the line crosses a
    // pixel's edge), white or a grid line; where a reading's ring crosses
    // the target, it is not looked at.
    const uint32_t p = png.at(at.x, at.y);
    // The response the correction should give lies on the target: it
    // shows in the dashes' gaps.
    if (isColor(p, kExpected, 40)) {
      ++gaps;
      if (looked > 1 && last) ++changes;
      last = false;
      continue;
    }
    const int grey = channel(p, 8);
    if (std::abs(channel(p, 16) - grey) > 4 || std::abs(channel(p, 0) - grey) > 4) continue;
    if (grey > 150 && grey < 200) continue;
    const bool paint = grey <= 150;
    (paint ? painted : gaps)++;
    if (looked > 1 && paint != last) ++changes;
    last = paint;
  }
  if (looked < 40) return false;
  EXPECT_GT(painted, 10);
  EXPECT_GT(gaps, 5);
  EXPECT_GE(changes, 6);
  return true;
}

TEST(Plot, LinearizeDrawsTheReadingsTheResponseTheTargetAndEveryInkedChannel) {
  TempDir dir;
  const auto quad = dir.write("eight.quad", eightInkedChannels());
  struct Shape {
    std::string name;
    std::string wedgeText;
  };
  const std::vector<Shape> shapes = {
      {"example", slurp(std::filesystem::path(INKCURVE_EXAMPLES) / "wedge-21.txt")},
      {"linear", testsupport::cgatsWedge(wedgeShape([](double t) { return 94 - 88 * t; }))},
      {"steep", testsupport::cgatsWedge(wedgeShape([](double t) { return 6 + 88 * std::pow(1 - t, 3); }))},
      // Paper white held over the first 30 % of the wedge, then a straight fall.
      {"flat", testsupport::cgatsWedge(wedgeShape([](double t) { return 92 - 84 * std::max(0.0, t - 0.3) / 0.7; }))},
      {"dip", testsupport::cgatsWedge(wedgeShape([](double t) {
         return 94 - 88 * t - 9 * std::exp(-std::pow((t - 0.3) / 0.06, 2));
       }))},
  };
  std::vector<std::string> dashesSeen;
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.name);
    const auto wedge = dir.write(shape.name + ".txt", shape.wedgeText);
    const auto plot = dir / (shape.name + ".png"), corrected = dir / (shape.name + ".quad");
    const auto r = inkcurve({"linearize", wedge.string(), quad.string(), "--out", corrected.string(), "--plot",
                             plot.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("wrote " + corrected.string() + "\nwrote " + plot.string() + "\n"), std::string::npos)
        << r.out;
    keep(plot, "plot-" + shape.name + ".png");

    // The command drew the figure of its run: the same one, made here.
    const auto run = linearizeHere(wedge, quad);
    ASSERT_TRUE(run);
    const PlotFigure figure(cli::linearizePicture(run->document, wedge.string(), run->quad.get(), quad.string()));
    const auto encoded = figure.png();
    ASSERT_TRUE(encoded);
    EXPECT_TRUE(slurp(plot) == std::string(encoded->begin(), encoded->end()));

    const Png png = readPng(plot);
    ASSERT_EQ(png.width, 1600);
    ASSERT_EQ(png.height, 1000);

    // The smoothed response at 0 %, 50 % and 100 % input.
    std::vector<double> smoothed, target = run->document.correctionCurve->finalTargetArray;
    for (const auto& reading : run->document.smoothedMeasurements) smoothed.push_back(reading.L);
    ASSERT_EQ(smoothed.size(), 256u);
    for (const size_t i : {size_t{0}, size_t{128}, size_t{255}}) {
      const Point at = figure.pixelFor(Graph::measurements, 100.0 * static_cast<double>(i) / 255, smoothed[i]);
      EXPECT_TRUE(isColor(png.at(at.x, at.y), kSmoothed)) << "the response at step " << i << ": "
                                                           << describe(png.at(at.x, at.y));
    }
    if (expectDashedTarget(png, figure, target, smoothed)) dashesSeen.push_back(shape.name);

    // Each channel's corrected curve at 25 %, 50 % and 75 % input, in its
    // ink's colour.
    const auto& channels = run->quad->outputQuadCurveArray;
    ASSERT_EQ(channels.size(), 8u);
    std::vector<Color> inks;
    for (int64_t c = 0; c < 8; ++c) inks.push_back(linearization::inkChannelColorAt(c));
    const auto drawn = cli::plotColors(inks);
    for (size_t c = 0; c < 8; ++c)
      for (const size_t i : {size_t{64}, size_t{128}, size_t{191}}) {
        // Drawn as written: whole, held to 0...65535.
        const double written = std::clamp(std::trunc(channels[c][i]), 0.0, 65535.0);
        const Point at = figure.pixelFor(Graph::inkCurves, static_cast<double>(i) / 2.55, written / 655.35);
        const Color ink = drawn[c];
        EXPECT_TRUE(isColor(png.at(at.x, at.y), ink)) << run->quad->inkList[c] << " at step " << i << ": "
                                                      << describe(png.at(at.x, at.y));
      }

    // Nothing of the data outside the content: a band along each side of
    // each graph, between the content's frame and the labels and legend.
    for (const Graph graph : {Graph::measurements, Graph::inkCurves}) {
      const Rect c = figure.contentRect(graph);
      const std::string name = graph == Graph::measurements ? "measurements" : "ink curves";
      if (graph == Graph::inkCurves) {
        expectBlank(png, Rect(c.maxX() + 2, c.minY() - 6, 20, c.height() + 8), name + ", right of the content");
      } else {
        // Between the density scale's ticks and labels.
        double top = c.minY() - 6;
        for (const double density : {0.0, 0.1, 0.2, 0.3, 0.5, 0.7, 1.0, 1.5, 2.0}) {
          const double Y = std::pow(10.0, -density), tick =
              figure.pixelFor(graph, 0, Y < 0.008856 ? Y * 903.3 : 116 * std::cbrt(Y) - 16).y;
          if (tick - 12 > top) expectBlank(png, Rect(c.maxX() + 2, top, 20, tick - 12 - top), name + ", right");
          top = tick + 12;
        }
      }
      expectBlank(png, Rect(c.minX(), c.minY() - 8, c.width(), 6), name + ", above the content");
      expectBlank(png, Rect(c.minX(), c.maxY() + 2, c.width(), 4), name + ", below the content");
      expectBlank(png, Rect(c.minX() - 7, c.minY(), 5, c.height()), name + ", left of the content");
    }
  }
  // The linear wedge's response lies on its target.
  EXPECT_EQ(dashesSeen, (std::vector<std::string>{"example", "steep", "flat", "dip"}));
}

TEST(Plot, AStepWithAStrayReadingShowsItsSamplesAwayFromItsMean) {
  TempDir dir;
  const auto quad = dir.write("eight.quad", eightInkedChannels());
  // 21 steps, each measured three times in a row; the last sample of step
  // 11 (50 % input) reads 15 L* lighter.
  std::vector<double> Ls;
  for (int k = 0; k < 21; ++k)
    for (int s = 0; s < 3; ++s) Ls.push_back(94 - 4.4 * k + (k == 10 && s == 2 ? 15 : 0));
  const auto wedge = dir.write("stray.txt", testsupport::cgatsWedge(Ls));
  const auto plot = dir / "stray.png";
  const auto r = inkcurve({"linearize", wedge.string(), quad.string(), "--plot", plot.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("readings: 63, a 21-step wedge measured 3 times"), std::string::npos) << r.out;
  // The stray sample is left out of its step's mean, and drawn where it lies.
  EXPECT_NE(r.err.find("line 41: sample 3 of step 11 (L* 65.00) lies 15.0 L* from its 2 other samples (L* 50.00 on "
                       "average): it was left out of the step's mean"),
            std::string::npos)
      << r.err;
  keep(plot, "plot-stray-reading.png");

  const auto run = linearizeHere(wedge, quad);
  ASSERT_TRUE(run);
  const auto& samples = run->document.measurementSamples;
  ASSERT_EQ(samples.steps(), 21);
  EXPECT_EQ(std::vector<double>(samples.L.begin() + samples.starts[10], samples.L.begin() + samples.starts[11]),
            (std::vector<double>{50, 50, 65}));
  EXPECT_EQ(run->document.rawMeasurements[10].L, 50);
  const PlotFigure figure(cli::linearizePicture(run->document, wedge.string(), run->quad.get(), quad.string()));
  const Png png = readPng(plot);
  // The stray sample, 15 L* above its step's mean, which the two others
  // make.
  const Point stray = figure.pixelFor(Graph::measurements, 50, 65), mean = figure.pixelFor(Graph::measurements, 50, 50);
  EXPECT_GT(mean.y - stray.y, 60);
  EXPECT_TRUE(isColor(png.at(stray.x, stray.y), kSamples)) << describe(png.at(stray.x, stray.y));
  // A step whose samples agree shows them under its mean's ring: none
  // stands apart.
  const Point calm = figure.pixelFor(Graph::measurements, 25, 94 - 4.4 * 5 + 6);
  EXPECT_FALSE(isColor(png.at(calm.x, calm.y), kSamples, 30));
}

// The measurement graph's marks as drawn: each ring of a step's mean and
// each sample's dot inside the content, by its centre on the picture; and
// the picture's texts.
struct Marks {
  std::vector<Point> rings, samples;
  std::vector<std::string> texts;
};
const Color kMeans = Color::rgb(0.85, 0.33, 0.1);

Marks marksDrawn(const PlotFigure& figure) {
  platform::graphics::RecordingContext recording;
  figure.draw(recording);
  const Rect content = figure.contentRect(Graph::measurements);
  Marks marks;
  using Op = platform::graphics::RecordingContext::Op;
  for (const auto& op : recording.operations()) {
    if (!op.text.empty()) marks.texts.push_back(op.text);
    if (op.op != Op::strokeEllipseInRect && op.op != Op::fillEllipseInRect) continue;
    const Point at = op.state.transform.apply(Point{op.rect.midX(), op.rect.midY()});
    if (at.x < content.minX() - 8 || at.x > content.maxX() + 8 || at.y < content.minY() - 8) continue;
    // A step's mark: a ring, or a dot where the steps crowd.
    if ((op.op == Op::strokeEllipseInRect && op.state.strokeColor == kMeans) ||
        (op.op == Op::fillEllipseInRect && op.state.fillColor == kMeans))
      marks.rings.push_back(at);
    if (op.op == Op::fillEllipseInRect && op.state.fillColor == kSamples) marks.samples.push_back(at);
  }
  return marks;
}

TEST(Plot, ALongListDrawsWhatItsPixelsShowAndEveryReadingThatStandsOut) {
  // A noisy fall of single readings with one reading 30 L* above its
  // neighbours; and a 1000-step wedge measured 100 times, one sample of
  // step 600 12 L* below its step; and short lists, drawn whole.
  struct Case {
    std::string name;
    int64_t steps, samplesPerStep;
    int64_t stray;     // the reading (or sample) that stands out
    double strayBy;
    size_t mostMarks;  // rings and dots drawn, at most
  };
  const std::vector<Case> cases = {
      {"720720 single readings", 720720, 1, 360360, 30, 6000},
      {"1000 steps measured 100 times", 1000, 100, 60042, -12, 7000},
      {"2000 single readings", 2000, 1, 1000, 30, 2000},
      {"128 steps measured 5 times", 128, 5, 302, -12, 128 + 640},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // L* falls from 94 to 6, each reading off by up to 1 L* (the same
    // pseudo-random run every time).
    uint32_t seed = 12345;
    const auto noise = [&] { return (seed = seed * 1664525u + 1013904223u) / 4294967296.0 * 2 - 1; };
    cli::PlotPicture picture;
    picture.ink.withQuad = false;
    cli::MeasurementGraph m;
    m.file = "long.txt";
    std::vector<double> readings;
    for (int64_t step = 0; step < c.steps; ++step) {
      const double L = 94 - 88.0 * static_cast<double>(step) / static_cast<double>(c.steps - 1);
      double sum = 0;
      for (int64_t k = 0; k < c.samplesPerStep; ++k) {
        const auto index = static_cast<int64_t>(readings.size());
        readings.push_back(L + noise() + (index == c.stray ? c.strayBy : 0));
        sum += readings.back();
      }
      m.stepL.push_back(sum / static_cast<double>(c.samplesPerStep));
      if (c.samplesPerStep > 1) m.samples.starts.push_back(step * c.samplesPerStep);
    }
    if (c.samplesPerStep > 1) {
      m.samples.starts.push_back(static_cast<int64_t>(readings.size()));
      m.samples.L = readings;
    }
    picture.measurements = m;
    const PlotFigure figure(picture);
    if (std::getenv("INKCURVE_TEST_OUTPUT")) {
      TempDir dir;
      const auto png = figure.png();
      ASSERT_TRUE(png);
      keep(dir.write("long.png", std::string(png->begin(), png->end())),
           "plot-long-" + std::to_string(c.steps) + "x" + std::to_string(c.samplesPerStep) + ".png");
    }
    const Marks drawn = marksDrawn(figure);
    const auto& marks = c.samplesPerStep > 1 ? drawn.samples : drawn.rings;
    EXPECT_LE(drawn.rings.size() + drawn.samples.size(), c.mostMarks);
    // The legend counts what was read, not what was drawn.
    EXPECT_NE(std::find(drawn.texts.begin(), drawn.texts.end(), "readings: " + std::to_string(c.steps) + " steps"),
              drawn.texts.end());

    // The stray reading, and in each pixel column of the picture the
    // highest and the lowest reading, the first and the last: each is drawn
    // where it lies, so that the marks reach exactly as far as the readings.
    const auto placeOf = [&](size_t i) {
      const auto step = static_cast<int64_t>(i) / c.samplesPerStep;
      return figure.pixelFor(Graph::measurements, 100.0 * static_cast<double>(step) / static_cast<double>(c.steps - 1),
                             readings[i]);
    };
    std::vector<Point> sorted = marks;
    const auto byXY = [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); };
    std::sort(sorted.begin(), sorted.end(), byXY);
    const auto isDrawn = [&](Point p) {
      for (auto q = std::lower_bound(sorted.begin(), sorted.end(), Point{p.x - 1e-6, 0}, byXY);
           q != sorted.end() && q->x < p.x + 1e-6; ++q)
        if (std::fabs(q->y - p.y) < 1e-6) return true;
      return false;
    };
    EXPECT_TRUE(isDrawn(placeOf(static_cast<size_t>(c.stray))));
    struct Column {
      Point first, last, highest, lowest;
    };
    std::map<int64_t, Column> columns;
    for (size_t i = 0; i < readings.size(); ++i) {
      const Point p = placeOf(i);
      Column& column = columns.try_emplace(static_cast<int64_t>(std::floor(p.x)), Column{p, p, p, p}).first->second;
      column.last = p;
      if (p.y < column.highest.y) column.highest = p;
      if (p.y > column.lowest.y) column.lowest = p;
    }
    int missing = 0;
    for (const auto& [x, column] : columns)
      for (const Point p : {column.first, column.last, column.highest, column.lowest})
        if (!isDrawn(p) && missing++ < 5) ADD_FAILURE() << "column " << x << ": nothing drawn at y " << p.y;
    EXPECT_EQ(missing, 0);
    // A list no longer than the marks allowed is drawn whole.
    if (readings.size() <= c.mostMarks) {
      EXPECT_EQ(marks.size(), readings.size());
    }
  }
}

TEST(Plot, StepsLieWhereTheirLabelsPlaceThem) {
  // Steps named by GRAY_K, closer at both ends; each measured twice. And an
  // even wedge, whose steps lie evenly.
  const std::vector<double> uneven = {0,  2.5, 5,  7.5, 10, 15, 20, 25, 30, 35, 40, 45,  50,
                                      55, 60,  65, 70,  75, 80, 85, 90, 92.5, 95, 97.5, 100};
  std::string named = "CGATS.17\nNUMBER_OF_FIELDS\t5\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tLAB_L\tLAB_A\tLAB_B\tGRAY_K\n"
                      "END_DATA_FORMAT\nNUMBER_OF_SETS\t50\nBEGIN_DATA\n";
  for (size_t i = 0; i < 2 * uneven.size(); ++i) {
    const double gray = uneven[i / 2], L = 94 - 88 * std::pow(gray / 100, 0.8) + (i % 2 ? 0.6 : -0.6);
    named += std::to_string(i + 1) + "\t" + platform::text::fixedDecimal(L, 2) + "\t0.1\t-0.2\t" +
             platform::text::fixedDecimal(gray, 1) + "\n";
  }
  named += "END_DATA\n";
  std::vector<double> even;
  for (int k = 0; k < 21; ++k) even.push_back(5.0 * k);
  struct Case {
    std::string name, text;
    std::vector<double> x;  // each step's input percent
  };
  const std::vector<Case> cases = {
      {"uneven", named, uneven},
      {"even", testsupport::cgatsWedge(testsupport::evenLstar(21, 94, 6)), even},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto wedge = dir.write(c.name + ".txt", c.text);
    const auto run = linearizeHere(wedge, std::nullopt);
    ASSERT_TRUE(run);
    const auto& document = run->document;
    ASSERT_EQ(document.rawMeasurements.size(), c.x.size());
    const PlotFigure figure(cli::linearizePicture(document, wedge.string(), nullptr, std::nullopt));
    const Marks drawn = marksDrawn(figure);
    ASSERT_EQ(drawn.rings.size(), c.x.size());
    const auto& samples = document.measurementSamples;
    ASSERT_EQ(samples.L.size(), c.name == "uneven" ? 50u : 0u);
    ASSERT_EQ(drawn.samples.size(), samples.L.size());
    for (size_t i = 0; i < c.x.size(); ++i) {
      const Point ring = figure.pixelFor(Graph::measurements, c.x[i], document.rawMeasurements[i].L);
      EXPECT_NEAR(drawn.rings[i].x, ring.x, 1e-9) << "step " << i;
      EXPECT_NEAR(drawn.rings[i].y, ring.y, 1e-9) << "step " << i;
      if (samples.empty()) continue;
      for (int64_t k = samples.starts[i]; k < samples.starts[i + 1]; ++k)
        EXPECT_NEAR(drawn.samples[static_cast<size_t>(k)].x, ring.x, 1e-9) << "step " << i;
    }
  }
}

TEST(Plot, ThePngIsAnOrdinaryPngFile) {
  if (std::system("command -v pngcheck >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "not run: pngcheck is not installed (scripts/install-deps installs it)";
  TempDir dir;
  const auto wedge = dir.write("w.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  const auto quad = dir.write("q.quad", eightInkedChannels());
  ASSERT_EQ(inkcurve({"linearize", wedge.string(), quad.string(), "--plot", (dir / "p.png").string()}).status, 0);
  ASSERT_EQ(inkcurve({"starter", "--printer", "P5000/P7000/P9000", "--process", "Carbon Transfer", "--out",
                      (dir / "s.quad").string(), "--plot", (dir / "s.png").string()})
                .status,
            0);
  for (const char* name : {"p.png", "s.png"}) {
    const std::string command = "pngcheck -q '" + (dir / name).string() + "' >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << name;
  }
}

TEST(Plot, WithoutAQuadTheCorrectionCurveIsDrawn) {
  TempDir dir;
  const auto wedge =
      dir.write("w.txt", testsupport::cgatsWedge(wedgeShape([](double t) { return 6 + 88 * std::pow(1 - t, 2); })));
  // A name without .png gets it, as the other outputs get theirs.
  const auto r = inkcurve({"linearize", wedge.string(), "--plot", (dir / "curve").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(r.out.rfind("wrote ")), "wrote " + (dir / "curve.png").string() + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "curve"));
  keep(dir / "curve.png", "plot-correction-curve.png");

  const auto run = linearizeHere(wedge, std::nullopt);
  ASSERT_TRUE(run);
  const auto& document = run->document;
  const PlotFigure figure(cli::linearizePicture(document, wedge.string(), nullptr, std::nullopt));
  const auto encoded = figure.png();
  ASSERT_TRUE(encoded);
  EXPECT_TRUE(slurp(dir / "curve.png") == std::string(encoded->begin(), encoded->end()));
  const Png png = readPng(dir / "curve.png");
  const auto& correction = *document.correctionCurve->correctionCurveArray;
  for (const size_t i : {size_t{64}, size_t{128}, size_t{191}}) {
    // In input order: the curve's entries run from 100 % down.
    const Point at = figure.pixelFor(Graph::inkCurves, static_cast<double>(i) / 2.55, correction[255 - i]);
    EXPECT_TRUE(isColor(png.at(at.x, at.y), kSmoothed)) << i << ": " << describe(png.at(at.x, at.y));
  }
}

TEST(Plot, StarterDrawsItsBoostedInkCurves) {
  TempDir dir;
  const auto out = dir / "carbon.quad", plot = dir / "carbon.png";
  const auto r = inkcurve({"starter", "--printer", "P5000/P7000/P9000", "--process", "Carbon Transfer", "--ink-limit",
                           "10", "--out", out.string(), "--plot", plot.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "starter curve: P5000/P7000/P9000, Carbon Transfer, --ink-limit 10; channels K, C, M, Y, LC, LM, LK, LLK, OR, GR\n"
                   "wrote " + out.string() + "\nwrote " + plot.string() + "\n");
  keep(plot, "plot-starter.png");
  const auto quad = linearization::QuadDataFile::fromFile(out);
  ASSERT_TRUE(quad && quad->readQuadFile(quad->rawQuadData));
  const auto& curves = *quad->inputQuadCurveArray;
  const PlotFigure figure(
      cli::starterPicture(curves, quad->inkList, "P5000/P7000/P9000, Carbon Transfer, --ink-limit 10"));
  EXPECT_FALSE(figure.has(Graph::measurements));
  const Png png = readPng(plot);
  ASSERT_EQ(png.width, 1000);
  ASSERT_EQ(png.height, 1000);
  // The channels that lie apart from the others there (C and LC, M and LM
  // share their curves here and take turns) in their colours; written levels are whole,
  // so the curve drawn from the model's levels lies within half a pixel.
  std::map<std::string, int> seen;
  std::vector<Color> inks;
  for (const auto& marker : quad->inkList) inks.push_back(linearization::inkColorForCurveName(marker));
  const auto drawn = cli::plotColors(inks);
  for (size_t c = 0; c < curves.size(); ++c)
    for (const size_t i : {size_t{64}, size_t{128}, size_t{191}}) {
      if (std::none_of(curves[c].begin(), curves[c].end(), [](double level) { return level >= 1; })) continue;
      const Point at = figure.pixelFor(Graph::inkCurves, static_cast<double>(i) / 2.55, curves[c][i] / 655.35);
      bool alone = true;
      for (size_t other = 0; other < curves.size(); ++other)
        alone = alone && (other == c || std::fabs(figure.pixelFor(Graph::inkCurves, 0, curves[other][i] / 655.35).y - at.y) > 5);
      if (!alone) continue;
      const Color ink = drawn[c];
      EXPECT_TRUE(isColor(png.at(at.x, at.y), ink)) << quad->inkList[c] << " at step " << i << ": "
                                                    << describe(png.at(at.x, at.y));
      ++seen[quad->inkList[c]];
    }
  EXPECT_GE(seen.size(), 4u);
}

// What the figure strokes, in picture pixels: each path with its colour,
// width and dash; and every text with its colour.
struct Stroke {
  Color color;
  double width = 0;
  std::vector<double> dash;
  std::vector<Point> points;
};
struct Drawn {
  std::vector<Stroke> strokes;
  std::vector<std::pair<std::string, Color>> texts;
  std::vector<Point> textPlaces;  // where each text's box starts
  std::vector<Color> marks;  // the colours of circles, rings and dots
  bool hasText(const std::string& text) const {
    return std::any_of(texts.begin(), texts.end(), [&](const auto& t) { return t.first == text; });
  }
  // The strokes inside the graph's content, in the colour.
  std::vector<const Stroke*> inside(const Rect& content, const Color& color) const {
    std::vector<const Stroke*> found;
    for (const auto& stroke : strokes)
      if (stroke.color == color && stroke.points.size() > 2) {
        const Point middle = stroke.points[stroke.points.size() / 2];
        if (middle.x >= content.minX() && middle.x <= content.maxX()) found.push_back(&stroke);
      }
    return found;
  }
};

Drawn drawnBy(const PlotFigure& figure) {
  platform::graphics::RecordingContext recording;
  figure.draw(recording);
  Drawn drawn;
  using Op = platform::graphics::RecordingContext::Op;
  for (const auto& op : recording.operations()) {
    if (op.op == Op::drawTextInRect || op.op == Op::drawText)
    {
      drawn.texts.emplace_back(op.text, op.attributes.foregroundColor.value_or(Color::black()));
      drawn.textPlaces.push_back(op.state.transform.apply(op.op == Op::drawText ? op.points[0] : op.rect.origin));
    }
    if (op.op == Op::strokeEllipseInRect) drawn.marks.push_back(op.state.strokeColor);
    if (op.op == Op::fillEllipseInRect) drawn.marks.push_back(op.state.fillColor);
    if (op.op != Op::strokePath && op.op != Op::strokeLineSegments) continue;
    Stroke stroke{op.state.strokeColor, op.state.lineWidth, op.state.dash.lengths, {}};
    if (op.op == Op::strokeLineSegments)
      for (const Point p : op.points) stroke.points.push_back(op.state.transform.apply(p));
    for (const auto& element : op.path)
      if (element.kind == platform::graphics::PathElement::Kind::moveTo ||
          element.kind == platform::graphics::PathElement::Kind::lineTo)
        stroke.points.push_back(op.state.transform.apply(element.point));
    drawn.strokes.push_back(std::move(stroke));
  }
  return drawn;
}

// The y of the stroke at the pixel column x: its point nearest x.
double strokeYAt(const Stroke& stroke, double x) {
  const auto nearest = std::min_element(stroke.points.begin(), stroke.points.end(), [&](Point a, Point b) {
    return std::fabs(a.x - x) < std::fabs(b.x - x);
  });
  return nearest->y;
}

// The inked rows of the band: runs of rows with a pixel not white between
// left and right.
std::vector<std::pair<int, int>> inkedRows(const Png& png, double left, double right, int from, int to) {
  std::vector<std::pair<int, int>> runs;
  for (int y = from; y < to; ++y) {
    bool inked = false;
    for (double x = std::max(0.0, left); x < std::min<double>(png.width, right) && !inked; ++x)
      inked = !isColor(png.at(x, y), kWhite, 0);
    if (!inked) continue;
    if (!runs.empty() && runs.back().second == y) ++runs.back().second;
    else runs.emplace_back(y, y + 1);
  }
  return runs;
}

// Titles of every length stay on their line, over their graph: the title and
// the note two runs of inked rows with white between them, nothing beyond
// the graph's content, and the note's numbers whole.
TEST(Plot, TitlesNeverOverprint) {
  TempDir dir;
  const std::string wedgeText = slurp(std::filesystem::path(INKCURVE_EXAMPLES) / "wedge-21.txt");
  const std::string quadText = slurp(std::filesystem::path(INKCURVE_EXAMPLES) / "pt-pd-8ch.quad");
  for (const size_t length : {20u, 36u, 43u, 120u, 200u}) {
    SCOPED_TRACE(std::to_string(length) + " characters");
    // "wedge-...-é.txt": the name cut in the middle keeps whole characters.
    const std::string stem = "wedge-" + std::string(length - 12, 'n') + "-\xC3\xA9";
    const auto wedge = dir.write(stem + ".txt", wedgeText);
    const auto quad = dir.write(stem.substr(0, stem.size() - 1) + "k.quad", quadText);
    const auto plot = dir / ("titles-" + std::to_string(length) + ".png");
    const auto r = inkcurve({"linearize", wedge.string(), quad.string(), "--out", (dir / "o.quad").string(),
                             "--plot", plot.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    keep(plot, "plot-titles-" + std::to_string(length) + ".png");
    const Png png = readPng(plot);
    const auto run = linearizeHere(wedge, quad);
    ASSERT_TRUE(run);
    const PlotFigure figure(cli::linearizePicture(run->document, wedge.string(), run->quad.get(), quad.string()));
    for (const Graph graph : {Graph::measurements, Graph::inkCurves}) {
      const Rect c = figure.contentRect(graph);
      const double half = graph == Graph::measurements ? 0 : 800;
      EXPECT_EQ(inkedRows(png, c.minX(), c.maxX(), 0, 86).size(), 2u);
      EXPECT_TRUE(inkedRows(png, half, c.minX() - 2, 0, 86).empty());
      EXPECT_TRUE(inkedRows(png, c.maxX() + 2, half + 800, 0, 86).empty());
    }
    const Drawn drawn = drawnBy(figure);
    EXPECT_TRUE(drawn.hasText("paper white L* 94.80, darkest L* 5.26, Dmax 2.24"));
    const bool shortened = std::none_of(drawn.texts.begin(), drawn.texts.end(), [&](const auto& t) {
      return t.first == "Measurements: " + wedge.filename().string();
    });
    EXPECT_EQ(shortened, length > 20);
    for (const auto& [text, color] : drawn.texts) EXPECT_TRUE(platform::text::isValidUtf8(text)) << text;
  }
}

// The ink graph draws the levels the .quad holds, on an axis fitted to the
// highest; channels that share a curve both show; every curve, mark and text
// stands at least 3:1 against white (the grid aside).
TEST(Plot, TheInkDrawnIsTheInkWritten) {
  TempDir dir;
  const auto wedge = std::filesystem::path(INKCURVE_EXAMPLES) / "wedge-21.txt";
  const auto levels = [](double scale, int only) {
    return testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", testsupport::eightChannelMarkers(),
                                     [=](int c, int i) { return c == only ? std::round(65535 * scale * i / 255.0) : 0; });
  };
  struct Case {
    std::string name;
    std::vector<std::string> args;  // the run; its --out and --plot added
    std::string axisTitle;          // the ink axis's title
    std::string topLabel;           // its highest label
    std::vector<std::string> shared;  // legend entries of channels drawn as one
  };
  const std::vector<Case> cases = {
      // K 20 % past the top of a .quad's levels: held to 65535 as written.
      {"over-range", {"linearize", wedge.string(), dir.write("over.quad", levels(1.2, 0)).string()}, "ink (%)", "100", {}},
      {"limited to 8 %", {"linearize", wedge.string(), dir.write("eight.quad", levels(0.08, 0)).string()},
       "ink (%), shown up to 9 %", "9", {}},
      // Yellow boosted below 0 in places: held to 0 as written; C and LC, M
      // and LM level for level the same.
      {"starter", {"starter", "--printer", "P600/P800", "--process", "Standard Starter Curve", "--yellow", "-50"},
       "ink (%), shown up to 60 %", "60", {"C = LC", "M = LM"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto out = dir / (c.name + ".quad"), plot = dir / (c.name + ".png");
    auto args = c.args;
    for (const std::string& arg : {std::string("--out"), out.string(), std::string("--plot"), plot.string()})
      args.push_back(arg);
    const auto r = inkcurve(args);
    ASSERT_EQ(r.status, 0) << r.err;
    keep(plot, "plot-ink-" + std::to_string(&c - cases.data()) + ".png");
    const auto written = linearization::QuadDataFile::fromFile(out);
    ASSERT_TRUE(written && written->readQuadFile(written->rawQuadData));
    const auto& curves = *written->inputQuadCurveArray;
    std::unique_ptr<Linearized> run;
    cli::PlotPicture picture;
    if (c.args[0] == "starter") {
      picture = cli::starterPicture(curves, written->inkList, "starter");
    } else {
      run = linearizeHere(wedge, c.args[2]);
      ASSERT_TRUE(run);
      picture = cli::linearizePicture(run->document, wedge.string(), run->quad.get(), c.args[2]);
    }
    const PlotFigure figure(picture);
    const Drawn drawn = drawnBy(figure);
    const Rect content = figure.contentRect(Graph::inkCurves);
    std::vector<Color> inks;
    for (const auto& channel : picture.ink.channels) inks.push_back(channel.color);
    const auto colors = cli::plotColors(inks);

    // Each channel's curve as written, at every fifth input.
    for (size_t k = 0; k < picture.ink.channels.size(); ++k) {
      const size_t c8 = static_cast<size_t>(
          std::find_if(written->inkList.begin(), written->inkList.end(),
                       [&](const std::string& m) { return cli::channelLabel(m) == picture.ink.channels[k].name; }) -
          written->inkList.begin());
      ASSERT_LT(c8, curves.size());
      std::vector<const Stroke*> solid;
      for (const Stroke* stroke : drawn.inside(content, colors[k]))
        if (stroke->width == 3) solid.push_back(stroke);
      ASSERT_EQ(solid.size(), 1u) << picture.ink.channels[k].name;
      for (size_t i = 0; i < 256; i += 5) {
        const Point at = figure.pixelFor(Graph::inkCurves, static_cast<double>(i) / 2.55, curves[c8][i] / 655.35);
        EXPECT_NEAR(strokeYAt(*solid[0], at.x), at.y, 0.01) << picture.ink.channels[k].name << " at " << i;
        EXPECT_GE(at.y, content.minY());
        EXPECT_LE(at.y, content.maxY());
      }
    }
    EXPECT_TRUE(drawn.hasText(c.axisTitle));
    // The highest label left of the content: the axis's top.
    std::optional<std::pair<double, std::string>> highest;
    for (size_t t = 0; t < drawn.texts.size(); ++t) {
      const Point at = drawn.textPlaces[t];
      if (at.x < content.minX() && at.x > content.minX() - 60 && (!highest || at.y < highest->first))
        highest = std::pair{at.y, drawn.texts[t].first};
    }
    ASSERT_TRUE(highest);
    EXPECT_EQ(highest->second, c.topLabel);
    // Channels drawn as one: named together, and in the picture both
    // colours along the line.
    const Png png = readPng(plot);
    for (const std::string& pair : c.shared) {
      EXPECT_TRUE(drawn.hasText(pair));
      const std::string first = pair.substr(0, pair.find(' ')), second = pair.substr(pair.rfind(' ') + 1);
      std::map<std::string, int> seen;
      for (size_t k = 0; k < picture.ink.channels.size(); ++k) {
        const auto& channel = picture.ink.channels[k];
        if (channel.name != first && channel.name != second) continue;
        for (size_t i = 20; i < 250; ++i) {
          const Point at =
              figure.pixelFor(Graph::inkCurves, static_cast<double>(i) / 2.55, channel.correctedLevels[i] / 655.35);
          if (isColor(png.at(at.x, at.y), colors[k], 12)) ++seen[channel.name];
        }
      }
      EXPECT_GT(seen[first], 20) << pair;
      EXPECT_GT(seen[second], 20) << pair;
    }
    // Everything drawn stands out but the grid and the white ground.
    const Color grid = Color::rgb(0.86, 0.86, 0.86);
    for (const auto& stroke : drawn.strokes)
      if (!(stroke.color == grid)) {
        EXPECT_GE(cli::contrastOnWhite(stroke.color), 3.0);
      }
    for (const auto& mark : drawn.marks) EXPECT_GE(cli::contrastOnWhite(mark), 3.0);
    for (const auto& [text, color] : drawn.texts) EXPECT_GE(cli::contrastOnWhite(color), 3.0) << text;
  }
}

// What users rely on in the picture, one row each.
TEST(Plot, WhatUsersRelyOnIsPinned) {
  TempDir dir;
  const auto examples = std::filesystem::path(INKCURVE_EXAMPLES);
  const auto wedge = examples / "wedge-21.txt", quad = examples / "pt-pd-8ch.quad";
  const auto example = linearizeHere(wedge, quad);
  ASSERT_TRUE(example);
  const PlotFigure figure(cli::linearizePicture(example->document, wedge.string(), example->quad.get(), quad.string()));
  const Drawn drawn = drawnBy(figure);
  const Rect ink = figure.contentRect(Graph::inkCurves);
  // Readings that do not fall give no correction; the .quad is drawn as read.
  const auto flat = dir.write("flat.txt", testsupport::cgatsWedge(std::vector<double>(21, 50)));
  const auto uncorrected = linearizeHere(flat, std::nullopt);
  ASSERT_TRUE(uncorrected);
  const auto asRead = linearization::QuadDataFile::fromFile(quad);
  ASSERT_TRUE(asRead && asRead->readQuadFile(asRead->rawQuadData));
  const PlotFigure flatFigure(cli::linearizePicture(uncorrected->document, flat.string(), asRead.get(), quad.string()));
  const Drawn flatDrawn = drawnBy(flatFigure);

  const auto colorOf = [](const std::string& channel) {
    std::vector<Color> inks;
    for (const std::string name : {"K", "LK", "LLK"})
      inks.push_back(linearization::inkColorForCurveName("# " + name + " Curve"));
    return cli::plotColors(inks)[channel == "K" ? 0 : channel == "LK" ? 1 : 2];
  };
  const auto strokesOf = [&](const Drawn& d, const std::string& channel, bool dashed) {
    int64_t n = 0;
    for (const Stroke* stroke : d.inside(ink, colorOf(channel))) n += stroke->dash.empty() != dashed;
    return n;
  };
  const Color means = Color::rgb(0.85, 0.33, 0.1);
  struct Row {
    std::string what;
    std::function<bool()> holds;
  };
  const std::vector<Row> rows = {
      {"each inked channel: one solid corrected curve and one dashed curve as read",
       [&] {
         const std::vector<std::string> inked{"K", "LK", "LLK"};
         return std::all_of(inked.begin(), inked.end(), [&](const std::string& c) {
           return strokesOf(drawn, c, false) == 1 && strokesOf(drawn, c, true) == 1;
         });
       }},
      {"channels without ink neither drawn nor in the legend",
       [&] {
         for (const auto& [text, color] : drawn.texts)
           for (const std::string& word : platform::text::split(text, " "))
             for (const std::string c : {"C", "M", "Y", "LC", "LM"})
               if (word == c) return false;
         return drawn.hasText("K") && drawn.hasText("LLK as read");
       }},
      {"no correction: the inked channels drawn as read, and the note says why",
       [&] {
         return strokesOf(flatDrawn, "K", true) == 1 && strokesOf(flatDrawn, "K", false) == 0 &&
                strokesOf(flatDrawn, "LLK", true) == 1 &&
                flatDrawn.hasText("as read: no correction could be built from these readings");
       }},
      {"21 steps: 21 rings, 7 pixels, open in the middle",
       [&] {
         platform::graphics::RecordingContext recording;
         figure.draw(recording);
         int64_t rings = 0;
         for (const auto& op : recording.operations(platform::graphics::RecordingContext::Op::strokeEllipseInRect))
           rings += op.state.strokeColor == means && op.rect.width() == 11.5 && op.state.lineWidth == 2.5;
         return rings == 21 + 1;  // and the legend's
       }},
      {"the summary as the command prints it",
       [&] { return drawn.hasText("paper white L* 94.80, darkest L* 5.26, Dmax 2.24"); }},
      {"the inputs' meaning on both graphs",
       [&] {
         return drawn.hasText("input (%): 0 = paper white, 100 = the darkest step") &&
                drawn.hasText("input of the .quad (%): 0 = darkest in the print, 100 = paper white");
       }},
  };
  for (const auto& row : rows) EXPECT_TRUE(row.holds()) << row.what;
}

TEST(Plot, AFailedRunLeavesNoPlot) {
  TempDir dir;
  const auto quad = dir.write("q.quad", eightInkedChannels());
  // Readings that do not fall give no correction: --out fails, and the plot
  // waits in vain for it.
  const auto flat = dir.write("flat.txt", testsupport::cgatsWedge(std::vector<double>(21, 50)));
  const auto good = dir.write("good.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8)));
  const auto plot = dir / "p.png";
  auto r = inkcurve({"linearize", flat.string(), quad.string(), "--out", (dir / "o.quad").string(), "--plot",
                     plot.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.find("wrote"), std::string::npos) << r.out;
  // An old plot stays as it was.
  dir.write("p.png", "old plot");
  r = inkcurve({"linearize", flat.string(), "--acv", (dir / "c.acv").string(), "--plot", plot.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(slurp(plot), "old plot");
  // A plot whose folder is missing stops the run before anything is read.
  r = inkcurve({"linearize", good.string(), quad.string(), "--out", (dir / "o.quad").string(), "--plot",
                (dir / "none" / "p.png").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty()) << r.out;
  r = inkcurve({"starter", "--printer", "P5000/P7000/P9000", "--process", "Carbon Transfer", "--out",
                (dir / "s.quad").string(), "--plot", (dir / "none" / "s.png").string()});
  EXPECT_EQ(r.status, 1);
  // Only the files made here: no plot, no temporary file.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"flat.txt", "good.txt", "p.png", "q.quad"}));
}

TEST(Plot, StarterPlotNamesAreCheckedFirst) {
  TempDir dir;
  const auto out = dir.write("kept.quad", "kept");
  std::filesystem::create_symlink(out, dir / "link.png");
  std::filesystem::create_directory(dir / "sub");
  const std::vector<std::string> base{"starter", "--printer", "P5000/P7000/P9000", "--process", "Carbon Transfer",
                                      "--out", out.string()};
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "--plot needs a file name"},
      {(dir / "sub").string() + "/", "names a folder"},
      {(dir / "link.png").string(), "--plot would write " + (dir / "link.png").string() + ", which --out writes too"},
      {(dir / "link").string(), "which --out writes too"},
  };
  for (const auto& [name, message] : cases) {
    auto args = base;
    args.insert(args.end(), {"--plot", name});
    const auto r = inkcurve(args);
    EXPECT_EQ(r.status, 2) << name;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(slurp(out), "kept");
  }
}

TEST(Plot, HelpNamesIt) {
  EXPECT_NE(inkcurve({"linearize", "--help"}).out.find("--plot FILE"), std::string::npos);
  EXPECT_NE(inkcurve({"starter", "--help"}).out.find("[--plot FILE]"), std::string::npos);
}

}  // namespace

// Fontconfig keeps its font caches for the life of the process and never frees
// them; the leak checker is told so, and nothing else.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
