#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "CliHost.h"
#include "linearization/MeasurementData.h"
#include "linearization/QuadDataFile.h"
#include "linearization/v2LinearizationDataModel.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/DrawingContext.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextAttributes.h"
#include "platform/graphics/TextMetrics.h"

namespace platform::cairo {
class CairoContext;
}

namespace cli {

// `--plot FILE`: the graphs of a run as one PNG, drawn with the chart
// library (a LineChartView each, its data drawn by chart::LinePointsRenderer)
// into Cairo. `linearize` draws two graphs side by side, the measurements and
// the ink curves (1600 × 1000 pixels); `starter` draws the ink curves alone
// (1000 × 1000). Input is in percent on every x axis.

// The measurement graph: L* (0 to 100) against input percent, the wedge's
// steps from paper white (0 %) to the darkest (100 %), each where the wedge
// places it: evenly, or where the values that name the steps put them.
//
// The steps' marks are rings of 7 pixels where the steps stand well apart,
// smaller as they crowd, and dots where a ring has no room for its hole (of
// 3.5 pixels where more than four steps share a pixel column); a
// bar from the target to each step shows how far it is off, where the steps
// stand 5 pixels apart or more. A density scale stands on the right.
//
// Readings by the hundred thousand are drawn as many marks as the graph's
// pixels can show apart: a list of more than four marks a pixel column keeps,
// in each column, the marks of its highest and lowest reading, its first and
// its last, and inside them one mark for each small square (0.7 of a mark's
// radius, at least 1.75 pixels) its readings fall in. What is drawn reaches
// exactly as far as the readings do, and a reading that stands out is drawn
// where it lies; a shorter list is drawn whole.
struct MeasurementGraph {
  std::string file;                    // named in the title
  std::vector<double> stepL;           // each step's mean L*, paper white first
  std::vector<double> stepPositions;   // where each step lies, 0 (paper white) to 1; empty: evenly
  linearization::StepSamples samples;  // each step's samples, where averaged
  std::vector<std::pair<double, double>> leftOut;  // readings left out of the curve: input %, L*
  int64_t steps = 0;                   // the wedge's steps (a step left out has no mean); 0: stepL's
  std::vector<double> smoothedL;       // the smoothed response, evenly over 0...100 %
  std::vector<double> targetL;         // the straight target the correction aims at, the same way
  std::vector<double> correctedL;      // the response the correction should give, the same way; empty: none
  double paperWhiteL = 0, darkestL = 0, dmax = 0;
};

// One channel of the ink-curve graph: ink percent (level / 655.35) against
// input percent (step / 2.55). The levels are drawn as the .quad writes them:
// whole, and held to 0...65535.
struct InkChannelGraph {
  std::string name;                   // "K", "LLK"
  platform::graphics::Color color;    // from the ink-colour table
  std::vector<double> inputLevels;    // as read, 0...65535; empty: not drawn
  std::vector<double> correctedLevels;  // the curve written; empty: not drawn
};

// The ink-curve graph: the channels that have ink; or, where there is no
// .quad, the correction curve itself (output percent against input percent).
struct InkGraph {
  std::string title;
  std::string note;
  std::vector<InkChannelGraph> channels;
  std::vector<double> correction;  // percent, in input order; drawn when there are no channels
  bool withQuad = true;            // false: the graph is the correction curve's
};

struct PlotPicture {
  std::optional<MeasurementGraph> measurements;
  InkGraph ink;
};

// What a linearize run shows: `document` after its correction was built,
// and the corrected `.quad` (nullptr without one).
PlotPicture linearizePicture(const linearization::v2LinearizationDataModel& document,
                             const std::string& measurementsPath, const linearization::QuadDataFile* quad,
                             const std::optional<std::string>& quadPath);
// What a starter run shows: the boosted curve's channels (levels), named by
// their marker lines; `note` says which curve it is.
PlotPicture starterPicture(const std::vector<std::vector<double>>& curves, const std::vector<std::string>& markers,
                           const std::string& note);

// The graphs of a picture, laid out and drawn on a white picture of their
// size when made. Where a value lands is asked of the view of its graph.
class PlotFigure {
 public:
  enum class Graph { measurements, inkCurves };

  explicit PlotFigure(const PlotPicture& picture);
  // Drawn on `surface` where it is the picture's size (see PlotWarmUp).
  PlotFigure(const PlotPicture& picture, std::unique_ptr<platform::cairo::CairoContext> surface);
  // Laid out as for the PNG, its texts measured as there, but drawn on no
  // pixels: each graph is drawn with drawGraph, into an SVG document, say.
  static std::unique_ptr<PlotFigure> laidOut(const PlotPicture& picture);
  ~PlotFigure();
  PlotFigure(const PlotFigure&) = delete;
  PlotFigure& operator=(const PlotFigure&) = delete;

  platform::graphics::Size size() const;
  bool has(Graph graph) const;
  // The graph's content rectangle on the picture (what its data is clipped to).
  platform::graphics::Rect contentRect(Graph graph) const;
  // The pixel position of the value (x, y) of the graph on the picture.
  platform::graphics::Point pixelFor(Graph graph, double x, double y) const;
  // The picture as PNG; nothing when it could not be encoded.
  std::optional<platform::graphics::EncodedImage> png() const;
  // Draws the picture (its white ground, the graphs and their texts) into
  // `context`, as it was drawn for the PNG; the graphs keep the text metrics
  // of the PNG's surface.
  void draw(platform::graphics::DrawingContext& context) const;
  // The graph's part of the picture (its texts and its density scale
  // included); an empty rectangle for a graph the picture does not have.
  platform::graphics::Rect graphArea(Graph graph) const;
  // Draws one graph as draw() draws it, its part's top-left corner at the
  // origin of `context`.
  void drawGraph(platform::graphics::DrawingContext& context, Graph graph) const;

  // The graphs answer a finger as their chart views do. Every point here is
  // in the graph's own pixels: its part of the picture, its top-left corner
  // at the origin (as drawGraph and graphSVG draw it).
  //
  // The value highlighted on a graph: the curve it lies on (the set's label:
  // "steps", "K", "K as read", "correction"), its x and y, and on the
  // measurement graph the step it is (from 1).
  struct Reading {
    std::string curve;
    double x = 0, y = 0;
    int64_t step = 0;
  };
  // What a graph's view shows besides its data: its zoom and pan (the view
  // port's touch matrix) and the value highlighted (its curve and x).
  struct ViewState {
    platform::graphics::AffineTransform matrix;
    platform::graphics::Point centre;  // the value at the content's centre
    std::optional<std::pair<std::string, double>> highlight;
  };
  // A tap, as the view takes a finger down and up at `at`: its highlighter
  // picks the value there (the steps' rings on the measurement graph, the
  // curves on the ink graph) and the view highlights it; a tap on nothing,
  // or on the value already highlighted, clears.
  std::optional<Reading> tap(Graph graph, platform::graphics::Point at);
  std::optional<Reading> highlighted(Graph graph) const;
  // The view's zoom by `factor` (both ways) about `at`, whose value stays
  // there; from 1 to kMaxZoom times the whole graph.
  void zoom(Graph graph, double factor, platform::graphics::Point at);
  // The view port moved so that what lay at `from` lies at `to`, as far as
  // the zoom leaves room to move.
  void pan(Graph graph, platform::graphics::Point from, platform::graphics::Point to);
  // The whole graph again.
  void resetZoom(Graph graph);
  bool zoomed(Graph graph) const;
  // The value (x, y) under a point of the graph.
  platform::graphics::Point valueAt(Graph graph, platform::graphics::Point at) const;
  ViewState viewState(Graph graph) const;
  // The zoom and highlight of another figure of the same graph (one laid
  // out before the document changed): its scale, and its value at the
  // content's centre there (the room for the labels may differ a little);
  // a highlight whose curve this figure does not draw is dropped.
  void setViewState(Graph graph, const ViewState& state);
  static constexpr double kMaxZoom = 50;

 private:
  PlotFigure(const PlotPicture& picture, std::unique_ptr<platform::cairo::CairoContext> surface, bool drawn);
  struct Panel;
  const Panel* panel(Graph graph) const;
  void drawPanel(platform::graphics::DrawingContext& context, const Panel& panel) const;
  void drawOnThreads();

  std::unique_ptr<platform::cairo::CairoContext> context_;
  platform::graphics::Size size_{0, 0};
  std::vector<std::unique_ptr<Panel>> panels_;
};

// One graph of the figure as an SVG document of its part's size, drawn as
// the PNG draws it; empty for a graph the figure does not have or that could
// not be drawn.
std::string graphSVG(const PlotFigure& figure, PlotFigure::Graph graph);

// The colours the curves of `inks` are drawn in together: each ink's own,
// darkened (its hue kept) so that every one stands at least 3.4:1 against
// white, and lighter inks stay lighter than darker ones.
std::vector<platform::graphics::Color> plotColors(const std::vector<platform::graphics::Color>& inks);
// The contrast of a colour against white, 1 (white) to 21 (black).
double contrastOnWhite(const platform::graphics::Color& color);
// The text, shortened in the middle with an ellipsis where it is wider than
// `width` as `metrics` measure it in `attributes`.
std::string fittedText(const std::string& text, double width, const platform::graphics::TextAttributes& attributes,
                       const platform::graphics::TextMetrics& metrics);

// Gets a plot ready on threads of their own, so that a run that plots does
// it while it reads, corrects and writes its other files: loads what the
// texts are drawn with (the font configuration and faces), and makes the
// picture's surface (6 MB, every page in place). wait(), or the end of its
// life, waits for both; wait() hands over the surface (nullptr where none
// could be made).
class PlotWarmUp {
 public:
  explicit PlotWarmUp(bool withMeasurements);
  ~PlotWarmUp();
  PlotWarmUp(const PlotWarmUp&) = delete;
  PlotWarmUp& operator=(const PlotWarmUp&) = delete;
  std::unique_ptr<platform::cairo::CairoContext> wait();

 private:
  std::unique_ptr<platform::cairo::CairoContext> surface_;
  std::jthread fonts_, pixels_;
};

// Why starter's `--plot plot` cannot go with its `--out out`: the name is
// empty or names a folder, or it is the file --out writes (compared as the
// system knows the files: a link to it or a second name counts too).
std::optional<std::string> plotOutputError(const std::string& plot, const std::string& out);

// Writes the picture's PNG through the host's save panel for "png" (answered
// with the --plot name): into the open replacement batch, named in the
// "wrote" lines; a failure is reported through the host.
void savePlot(const PlotPicture& picture, CliHost& host, PlotWarmUp* warmUp = nullptr);
// The two halves of savePlot: the picture drawn and encoded (on any thread:
// it touches nothing but the picture), and its PNG written, or the failure
// reported, through the host.
std::optional<platform::graphics::EncodedImage> renderPlot(const PlotPicture& picture, PlotWarmUp* warmUp = nullptr);
void savePlot(const std::optional<platform::graphics::EncodedImage>& png, CliHost& host);

}  // namespace cli
