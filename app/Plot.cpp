#include "Plot.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>
#include <system_error>

#include "Args.h"
#include "LinearizeWarnings.h"
#include "Chart/Components/Legend.h"
#include "Chart/Components/LegendEntry.h"
#include "Chart/Components/XAxis.h"
#include "Chart/Components/YAxis.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Renderers/LegendRenderer.h"
#include "Chart/Renderers/LinePointsRenderer.h"
#include "Chart/Views/LineChartView.h"
#include "linearization/InkColors.h"
#include "linearization/QuadDataFile.h"
#include "linearization/readers/DensityMeasurementFile.h"
#include "linearization/SaveText.h"
#include "platform/cairo/CairoContext.h"
#include "platform/graphics/SavedGraphicsState.h"
#include "platform/text/Text.h"

namespace cli {

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Font;
using platform::graphics::Point;
using platform::graphics::Rect;
using platform::graphics::SavedGraphicsState;
using platform::graphics::Size;
using platform::graphics::TextAlignment;
using platform::graphics::TextAttributes;

namespace {

// The picture sizes.
constexpr Size kTwoGraphs{1600, 1000};
constexpr Size kOneGraph{1000, 1000};

// Each graph's axes run a little beyond 0...100, so that a point or a line
// at either end is drawn whole.
constexpr double kAxisLow = -2, kAxisHigh = 102;

const Color kText = Color::rgb(0.1, 0.1, 0.1);
const Color kNoteText = Color::rgb(0.3, 0.3, 0.3);
const Color kAxisLine = Color::rgb(0.3, 0.3, 0.3);
const Color kGrid = Color::rgb(0.86, 0.86, 0.86);
const Color kTarget = Color::rgb(0.35, 0.35, 0.35);
const Color kSmoothed = Color::rgb(0.12, 0.4, 0.8);
const Color kMeans = Color::rgb(0.85, 0.33, 0.1);
const Color kSamples = Color::rgb(0.5, 0.5, 0.5);
// A reading left out of the curve (a smudge, a stray sample): a dark red
// that stands apart from the steps' rings and the grey samples.
const Color kLeftOut = Color::rgb(0.6, 0.0, 0.15);
// The response the corrected print should have.
const Color kExpected = Color::rgb(0.1, 0.55, 0.25);
const std::vector<double> kTargetDash{12, 8};
const std::vector<double> kInputDash{8, 5};

constexpr double kLabelSize = 16, kLegendSize = 16, kTitleSize = 24, kNoteSize = 16, kAxisTitleSize = 18;
constexpr double kCorrectedWidth = 3, kInputWidth = 2, kDeviationWidth = 1.5;
constexpr double kLegendFormSize = 28;
// The run of one colour where channels share a curve and take turns along it.
constexpr double kSharedTile = 10;
// The least contrast against white a curve, a mark or a text is drawn with:
// 3:1 and a margin for the soft edges of a line.
constexpr double kLeastContrast = 3.4;
// A step's deviation from the target is drawn where the steps stand this
// many pixels apart or more: closer, the bars would fill the graph.
constexpr double kLeastDeviationGap = 5;
// The room on the right of the measurement graph for its density scale.
constexpr double kDensityRoom = 64;

std::string fixed(double v, int decimals) { return platform::text::fixedDecimal(v, decimals); }

// The colour's components times `part` (0 black ... 1 the colour): darker,
// its hue and saturation kept.
Color darkened(const Color& c, double part) { return Color::rgb(c.red * part, c.green * part, c.blue * part); }

double luminance(const Color& c) {
  const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

// A level as the .quad writes it (whole, held to 0...65535), in percent.
double writtenPercent(double level) {
  int64_t clamped = 0;
  return std::stod(linearization::quadLevelText(level, clamped)) / 655.35;
}

// x = 100 · i / (n - 1) for each of n values (0 for a single value).
double evenPercent(size_t i, size_t n) {
  return n < 2 ? 0 : 100.0 * static_cast<double>(i) / static_cast<double>(n - 1);
}

std::shared_ptr<LineChartDataSet> lineSet(std::vector<EntryPtr> entries, const std::string& label, Color color,
                                          double width, std::optional<std::vector<double>> dash = std::nullopt) {
  auto set = std::make_shared<LineChartDataSet>(std::move(entries), label);
  set->setColor(color);
  set->setLineWidth(width);
  // Solid lines end round, so that their ends are drawn whole.
  if (!dash) set->setLineCapType(platform::graphics::LineCap::round);
  set->setLineDashLengths(std::move(dash));
  set->setDrawCirclesEnabled(false);
  set->setDrawValuesEnabled(false);
  set->setHighlightEnabled(false);
  return set;
}

// Points alone: circles of the radius, no line.
std::shared_ptr<LineChartDataSet> pointSet(std::vector<EntryPtr> entries, const std::string& label, Color color,
                                           double radius) {
  auto set = lineSet(std::move(entries), label, color, 0);
  set->setDrawCirclesEnabled(true);
  set->setCircleRadius(radius);
  set->setCircleColor(color);
  set->setDrawCircleHoleEnabled(false);
  return set;
}

// Where step i of the graph lies on the input axis, in percent: at its
// position where the graph has one for every step, evenly otherwise.
double stepPercent(const MeasurementGraph& m, size_t i) {
  return m.stepPositions.size() == m.stepL.size() ? 100.0 * m.stepPositions[i] : evenPercent(i, m.stepL.size());
}

// Which of `count` marks of `radius` pixels, the i-th at pixelAt(i) on the
// picture (`content` is on the picture too), are drawn, in their order. A
// list of at most four marks a pixel column of the content is drawn whole. A
// longer one keeps, in each pixel column, the marks of the highest and the
// lowest point and the first and the last mark, so that what is drawn reaches
// exactly as far as the marks do; and inside that, the first mark in each
// square of 0.7 of the radius, which a dot anywhere in it covers whole (at
// least 1.75 pixels, so that small marks cost no more than the samples'
// dots): a mark alone in its square is drawn where it
// lies, and marks that crowd a square are drawn as one of them, which covers
// what they cover but for a sliver at the edge. However long the list, the
// marks drawn are at most four a column and one a square. A mark the renderer
// would not draw (wholly outside the content, or not a number) is not kept.
// On an empty content, where nothing shows, the list is left whole.
template <typename PixelAt>
std::vector<size_t> marksToDraw(size_t count, const PixelAt& pixelAt, const Rect& content, double radius) {
  std::vector<size_t> kept;
  if (static_cast<double>(count) <= 4 * content.width() || !(content.width() > 0 && content.height() > 0)) {
    kept.resize(count);
    for (size_t i = 0; i < count; ++i) kept[i] = i;
    return kept;
  }
  // Where a drawn mark's centre can lie: the content with a margin of the
  // radius, in pixel columns and in squares.
  const double left = content.minX() - radius, top = content.minY() - radius;
  const double width = content.width() + 2 * radius, height = content.height() + 2 * radius;
  const double square = std::max(1.75, 0.7 * radius);
  const double firstColumn = std::floor(left);
  const auto columns = static_cast<int64_t>(std::floor(left + width) - firstColumn) + 1;
  const auto squaresAcross = static_cast<int64_t>(std::floor(width / square)) + 1;
  const auto squaresDown = static_cast<int64_t>(std::floor(height / square)) + 1;
  struct Column {
    int64_t first = -1, last = -1, highest = -1, lowest = -1;
    double highestY = 0, lowestY = 0;
  };
  std::vector<Column> byColumn(static_cast<size_t>(columns));
  std::vector<uint8_t> squareTaken(static_cast<size_t>(squaresAcross * squaresDown), 0);
  std::vector<uint8_t> keep(count, 0);
  const auto index = [](double at, int64_t count) {
    return std::clamp(static_cast<int64_t>(at), int64_t{0}, count - 1);
  };
  const double minX = content.minX() - radius, maxX = content.maxX() + radius;
  const double minY = content.minY() - radius, maxY = content.maxY() + radius;
  const double perSquare = 1 / square;
  for (size_t i = 0; i < count; ++i) {
    const Point p = pixelAt(i);
    if (!(p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY)) continue;
    const auto at = static_cast<int64_t>(i);
    Column& column = byColumn[static_cast<size_t>(index(std::floor(p.x) - firstColumn, columns))];
    if (column.first < 0) {
      column = {at, at, at, at, p.y, p.y};
    } else {
      column.last = at;
      // Pixels run down: the highest point has the least y.
      if (p.y < column.highestY) column.highest = at, column.highestY = p.y;
      if (p.y > column.lowestY) column.lowest = at, column.lowestY = p.y;
    }
    const auto taken = static_cast<size_t>(index((p.x - left) * perSquare, squaresAcross) * squaresDown +
                                           index((p.y - top) * perSquare, squaresDown));
    if (!squareTaken[taken]) squareTaken[taken] = keep[i] = 1;
  }
  for (const Column& column : byColumn)
    if (column.first >= 0)
      for (const int64_t i : {column.first, column.last, column.highest, column.lowest})
        keep[static_cast<size_t>(i)] = 1;
  for (size_t i = 0; i < count; ++i)
    if (keep[i]) kept.push_back(i);
  return kept;
}

std::vector<EntryPtr> evenEntries(const std::vector<double>& values, double scale = 1) {
  std::vector<EntryPtr> entries;
  entries.reserve(values.size());
  for (size_t i = 0; i < values.size(); ++i)
    entries.push_back(std::make_shared<ChartDataEntry>(evenPercent(i, values.size()), values[i] * scale));
  return entries;
}

// A legend entry drawn as its graph draws what it names: a mark of the
// graph's size, ring or dot, or a line in the colours of the channels that
// share it, taking turns.
struct PlotLegendEntry : LegendEntry {
  using LegendEntry::LegendEntry;
  double markRadius = 0, markHole = 0;  // a mark where markRadius > 0; a dot where markHole is 0
  std::vector<Color> colors;            // a shared line's colours, in turn
};

class PlotLegendRenderer : public LegendRenderer {
 public:
  using LegendRenderer::LegendRenderer;
  void drawForm(DrawingContext& context, double x, double y, const LegendEntry& entry,
                const Legend& legend) override {
    const auto* own = dynamic_cast<const PlotLegendEntry*>(&entry);
    if (!own || !entry.formColor()) return LegendRenderer::drawForm(context, x, y, entry, legend);
    const SavedGraphicsState saved(context);
    if (own->markRadius > 0) {
      const double r = own->markRadius, hole = own->markHole;
      const Point centre{x + r, y};
      if (hole > 0) {
        const double middle = (r + hole) / 2;
        context.setLineWidth(r - hole);
        context.setStrokeColor(*entry.formColor());
        context.strokeEllipseInRect(Rect(centre.x - middle, centre.y - middle, 2 * middle, 2 * middle));
      } else {
        context.setFillColor(*entry.formColor());
        context.fillEllipseInRect(Rect(centre.x - r, centre.y - r, 2 * r, 2 * r));
      }
      return;
    }
    if (own->colors.size() < 2) return LegendRenderer::drawForm(context, x, y, entry, legend);
    const double size = std::isnan(entry.formSize()) ? legend.formSize() : entry.formSize();
    const auto k = static_cast<double>(own->colors.size());
    const double tile = size / (2 * k);
    context.setLineWidth(entry.formLineWidth());
    for (size_t j = 0; j < own->colors.size(); ++j) {
      context.setLineDash((k - static_cast<double>(j)) * tile, {tile, (k - 1) * tile});
      context.setStrokeColor(own->colors[j]);
      context.strokeLineSegments({Point{x, y}, Point{x + size, y}});
    }
  }
};

// The data as LinePointsRenderer draws it, and the highlighted value over
// it, where the view's draw draws highlights: a thin cross through the
// value across the content, and a ring around it in its curve's colour on a
// white halo, so that it shows on any curve.
class PlotPointsRenderer : public LinePointsRenderer {
 public:
  PlotPointsRenderer(const LineChartView& view, std::shared_ptr<ViewPortHandler> handler)
      : LinePointsRenderer(view, std::move(handler)), view_(view) {}

  void drawHighlighted(DrawingContext& context, const std::vector<std::shared_ptr<Highlight>>& highlights) override {
    const auto data = view_.data();
    if (!data) return;
    const Rect content = viewPortHandler()->contentRect();
    for (const auto& highlight : highlights) {
      const EntryPtr entry = highlight ? data->entryForHighlight(*highlight) : nullptr;
      const auto set = entry ? std::dynamic_pointer_cast<ILineChartDataSet>(
                                   data->getDataSetByIndex(highlight->dataSetIndex()))
                             : nullptr;
      if (!set) continue;
      const Point at = view_.getTransformer(set->axisDependency())->pixelForValues(entry->x(), entry->y());
      highlight->setDraw(at);
      if (!(std::isfinite(at.x) && std::isfinite(at.y))) continue;
      const SavedGraphicsState saved(context);
      context.clipToRect(content);
      context.setStrokeColor(kText);
      context.setLineWidth(1);
      context.setLineDash(0, {4, 4});
      context.strokeLineSegments({Point{at.x, content.minY()}, Point{at.x, content.maxY()},
                                  Point{content.minX(), at.y}, Point{content.maxX(), at.y}});
      context.setLineDash(0, {});
      const double r = std::max(set->isDrawCirclesEnabled() ? set->circleRadius() : 0.0, 3.0) + 4;
      const Rect ring(at.x - r, at.y - r, 2 * r, 2 * r);
      context.setStrokeColor(Color::white());
      context.setLineWidth(6);
      context.strokeEllipseInRect(ring);
      context.setStrokeColor(set->color(0));
      context.setLineWidth(3);
      context.strokeEllipseInRect(ring);
    }
  }

 private:
  const LineChartView& view_;
};

std::shared_ptr<PlotLegendEntry> legendEntry(const std::string& label, LegendForm form, Color color,
                                             double lineWidth = 3,
                                             std::optional<std::vector<double>> dash = std::nullopt) {
  // A line's form takes the legend's form size, which the legend lays its
  // rows out with; a circle is drawn smaller.
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  return std::make_shared<PlotLegendEntry>(label, form, form == LegendForm::line ? kNaN : 12.0, lineWidth, 0,
                                           std::move(dash), color);
}

// The legend entry of a mark drawn `radius` wide with a hole of `hole` (0:
// a dot).
LegendEntryPtr markEntry(const std::string& label, Color color, double radius, double hole) {
  auto entry = legendEntry(label, LegendForm::circle, color);
  entry->setFormSize(2 * radius);
  entry->markRadius = radius;
  entry->markHole = hole;
  return entry;
}

TextAttributes attributes(double size, Color color, TextAlignment alignment = TextAlignment::center) {
  TextAttributes a;
  a.font = Font::systemFont(size);
  a.foregroundColor = color;
  a.paragraphStyle = platform::graphics::ParagraphStyle{alignment};
  return a;
}

// An axis from a little below 0 to a little above `top`, labelled every
// `every`.
void styleAxis(AxisBase& axis, double top = 100, double every = 10) {
  axis.setAxisMinimum(kAxisLow * top / 100);
  axis.setAxisMaximum(kAxisHigh * top / 100);
  axis.setGranularity(every);
  axis.setLabelCount(static_cast<int>(std::lround(top / every)) + 1);
  axis.setLabelFont(Font::systemFont(kLabelSize));
  axis.setLabelTextColor(kText);
  axis.setGridColor(kGrid);
  axis.setGridLineWidth(1);
  axis.setAxisLineColor(kAxisLine);
  axis.setAxisLineWidth(1.5);
}

// The measurement graph's sets of marks. They are made empty, and given
// their entries once the graph is laid out, so that a long list is thinned
// by the pixels it lands on (placeMarks).
struct MeasurementMarks {
  std::shared_ptr<LineChartDataSet> samples, steps;  // samples: null where none are drawn
  std::shared_ptr<LineChartDataSet> deviations;      // null where the steps stand too close
};

// The radius of the steps' marks: rings of 7 pixels where the steps stand
// well apart, smaller as they crowd, so that neighbours stay apart and a
// reading off its neighbours' line shows; dots where a ring would have no
// room for its hole. Steps that crowd more than four to a pixel column are a
// cloud, whose marks are thinned (marksToDraw): dots of 3.5 pixels there,
// each standing for the steps of a larger square. `gap` is the pixels
// between neighbouring steps.
double stepMarkRadius(double gap) { return gap < 0.25 ? 3.5 : std::clamp(0.4 * gap, 2.5, 7.0); }
double stepMarkHole(double radius) { return radius >= 4 ? radius - 2.5 : 0; }

}  // namespace

// One graph: its view, where the view stands on the picture, and the texts
// around it.
struct PlotFigure::Panel {
  Graph graph;
  Rect area;  // the panel's part of the picture
  Rect frame;  // the view's frame on the picture
  std::shared_ptr<LineChartView> view;
  std::string title, note, xTitle, yTitle;
  MeasurementMarks marks;
  bool densityScale = false;  // the density scale on the right of the content
  std::optional<double> dmaxL;  // where the scale marks Dmax: the darkest L*
  std::vector<Point> steps;  // the measurement graph's steps (input %, L*), paper white first
};

namespace {

// A view of a panel: both axes from a little below 0 to a little above 100,
// the legend along the top, no right axis and no description.
std::shared_ptr<LineChartView> makeView(const Size& size,
                                        const std::shared_ptr<const platform::graphics::TextMetrics>& metrics) {
  auto view = LineChartView::create(Rect(0, 0, size.width, size.height));
  view->setTextMetrics(metrics);
  view->setRenderer(std::make_shared<PlotPointsRenderer>(*view, view->viewPortHandler()));
  // Zoomed in no further than a few steps across the graph; a finger's
  // drag moves at once and throws nothing (no run loop turns on a server).
  view->viewPortHandler()->setMaximumScaleX(PlotFigure::kMaxZoom);
  view->viewPortHandler()->setMaximumScaleY(PlotFigure::kMaxZoom);
  view->setDragDecelerationFrictionCoef(0);
  XAxis& x = *view->xAxis();
  x.setLabelPosition(XAxis::LabelPosition::bottom);
  x.setYOffset(8);
  styleAxis(x);
  styleAxis(*view->leftAxis());
  view->leftAxis()->setXOffset(10);
  // The labels' digits centred on their grid lines.
  view->leftAxis()->setYOffset(5);
  view->rightAxis()->setEnabled(false);
  Legend& legend = *view->legend();
  legend.setVerticalAlignment(Legend::VerticalAlignment::top);
  legend.setHorizontalAlignment(Legend::HorizontalAlignment::center);
  legend.setOrientation(Legend::Orientation::horizontal);
  legend.setDrawInside(false);
  legend.setWordWrapEnabled(true);
  legend.setFont(Font::systemFont(kLegendSize));
  legend.setTextColor(kText);
  legend.setXEntrySpace(24);
  legend.setYEntrySpace(6);
  legend.setFormToTextSpace(8);
  legend.setFormSize(kLegendFormSize);
  legend.setYOffset(4);
  return view;
}

// Drawn in order: the response the correction should give, the target, the
// steps' deviations from it, the samples and the step means, and the
// smoothed response over them. The sets of marks and deviations are left
// empty in `marks`, for placeMeasurementMarks. `contentWidth`: about how wide
// the graph's content will be, in pixels.
std::shared_ptr<LineChartData> measurementData(const MeasurementGraph& m, double contentWidth,
                                               std::vector<LegendEntryPtr>& legend, MeasurementMarks& marks) {
  std::vector<DataSetPtr> sets;
  if (!m.correctedL.empty())
    sets.push_back(lineSet(evenEntries(m.correctedL), "expected", kExpected, 2));
  sets.push_back(lineSet(evenEntries(m.targetL), "target", kTarget, 2, kTargetDash));
  const size_t steps = m.stepL.size();
  const double gap = steps < 2 ? contentWidth : contentWidth / static_cast<double>(steps - 1);
  const double radius = stepMarkRadius(gap), hole = stepMarkHole(radius);
  const bool withDeviations = gap >= kLeastDeviationGap && m.targetL.size() >= 2;
  if (withDeviations) {
    marks.deviations = lineSet({}, "deviation", kMeans, kDeviationWidth);
    marks.deviations->setLineCapType(platform::graphics::LineCap::butt);
    sets.push_back(marks.deviations);
  }
  const bool withSamples = !m.samples.empty() && static_cast<size_t>(m.samples.steps()) == steps;
  // The readings left out of the curve, where they lie: few, drawn whole.
  if (!m.leftOut.empty()) {
    std::vector<EntryPtr> entries;
    for (const auto& [x, L] : m.leftOut) entries.push_back(std::make_shared<ChartDataEntry>(x, L));
    sets.push_back(pointSet(entries, "left out", kLeftOut, 5));
  }
  const double sampleRadius = std::min(3.5, std::max(1.5, 0.5 * radius));
  if (withSamples) {
    marks.samples = pointSet({}, "samples", kSamples, sampleRadius);
    sets.push_back(marks.samples);
  }
  // Rings, open in the middle: where a reading lies on the smoothed
  // response, the line shows through.
  auto means = pointSet({}, "steps", kMeans, radius);
  means->setDrawCircleHoleEnabled(hole > 0);
  means->setCircleHoleRadius(hole);
  means->setCircleHoleColor(std::nullopt);
  // A tap names a step: the steps' rings are what the graph's highlighter finds.
  means->setHighlightEnabled(true);
  marks.steps = means;
  sets.push_back(means);
  sets.push_back(lineSet(evenEntries(m.smoothedL), "smoothed", kSmoothed, kCorrectedWidth));

  const auto wedgeSteps = static_cast<size_t>(m.steps > 0 ? m.steps : static_cast<int64_t>(steps));
  legend.push_back(markEntry("readings: " + std::to_string(wedgeSteps) + (wedgeSteps == 1 ? " step" : " steps"),
                             kMeans, radius, hole));
  if (!m.leftOut.empty()) legend.push_back(markEntry("left out", kLeftOut, 5, 0));
  if (withSamples) legend.push_back(markEntry("each step's samples", kSamples, sampleRadius, 0));
  if (withDeviations)
    legend.push_back(legendEntry("off the target", LegendForm::line, kMeans, kDeviationWidth));
  legend.push_back(legendEntry("smoothed response", LegendForm::line, kSmoothed, kCorrectedWidth));
  legend.push_back(legendEntry("target", LegendForm::line, kTarget, 2, kTargetDash));
  if (!m.correctedL.empty()) legend.push_back(legendEntry("expected after correction", LegendForm::line, kExpected, 2));
  return std::make_shared<LineChartData>(sets);
}

// The groups of curves that are the same level for level, each in the order
// of `curves`; an empty curve is in no group.
std::vector<std::vector<size_t>> sameCurves(const std::vector<const std::vector<double>*>& curves) {
  std::vector<std::vector<size_t>> groups;
  for (size_t c = 0; c < curves.size(); ++c) {
    if (curves[c]->empty()) continue;
    const auto same = std::find_if(groups.begin(), groups.end(),
                                   [&](const std::vector<size_t>& group) { return *curves[group[0]] == *curves[c]; });
    if (same == groups.end())
      groups.push_back({c});
    else
      same->push_back(c);
  }
  return groups;
}

// The top of the ink axis: the highest ink drawn and a twentieth more,
// rounded up to a step of 1, 2 or 5 times a power of ten that labels it in at
// most ten steps; at most 100 %. `every` is set to that step.
double inkAxisTop(double highest, double& every) {
  every = 10;
  const double wanted = highest * 1.05;
  if (!(wanted > 0) || wanted >= 100) return 100;
  for (const double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0}) {
    const double top = std::ceil(wanted / step - 1e-9) * step;
    if (top / step <= 10 + 1e-9) {
      every = step;
      return std::min(top, 100.0);
    }
  }
  return 100;
}

// The ink graph's curves: the curves as read, dashed, under the corrected
// ones, solid, each in its channel's colour darkened to be seen. Channels
// that share a curve level for level are drawn as one line whose colours
// take turns along it, and named together ("C = LC"). `top` and `every`
// are set to the ink axis's top and label step, in percent (inkAxisTop).
std::shared_ptr<LineChartData> inkData(const InkGraph& ink, std::vector<LegendEntryPtr>& legend, double& top,
                                       double& every) {
  std::vector<DataSetPtr> sets;
  top = 100;
  every = 10;
  if (!ink.withQuad) {
    sets.push_back(lineSet({std::make_shared<ChartDataEntry>(0, 0), std::make_shared<ChartDataEntry>(100, 100)},
                           "unchanged", kTarget, 2, kTargetDash));
    if (!ink.correction.empty()) {
      sets.push_back(lineSet(evenEntries(ink.correction), "correction", kSmoothed, kCorrectedWidth));
      sets.back()->setHighlightEnabled(true);
      legend.push_back(legendEntry("correction", LegendForm::line, kSmoothed, kCorrectedWidth));
    }
    legend.push_back(legendEntry("unchanged (output = input)", LegendForm::line, kTarget, 2, kTargetDash));
    return std::make_shared<LineChartData>(sets);
  }
  // The levels as the .quad writes them, in percent.
  std::vector<std::vector<double>> asRead, corrected;
  std::vector<Color> colors;
  double highest = 0;
  for (const auto& channel : ink.channels) colors.push_back(channel.color);
  colors = plotColors(colors);
  for (const auto& channel : ink.channels) {
    for (const auto& [from, to] :
         {std::pair{&channel.inputLevels, &asRead}, std::pair{&channel.correctedLevels, &corrected}}) {
      std::vector<double> percent;
      percent.reserve(from->size());
      for (const double level : *from) percent.push_back(writtenPercent(level));
      for (const double p : percent) highest = std::max(highest, p);
      to->push_back(std::move(percent));
    }
  }
  top = inkAxisTop(highest, every);

  const auto pointers = [](const std::vector<std::vector<double>>& curves) {
    std::vector<const std::vector<double>*> out;
    for (const auto& curve : curves) out.push_back(&curve);
    return out;
  };
  const auto names = [&](const std::vector<size_t>& group) {
    std::string joined;
    for (const size_t c : group) joined += (joined.empty() ? "" : " = ") + ink.channels[c].name;
    return joined;
  };
  // Each member of a group drawn in its turns: `on` pixels of every
  // `on + off` times the group's size.
  const auto addGroup = [&](const std::vector<std::vector<double>>& curves, const std::vector<size_t>& group,
                            double width, double on, double off, bool dashed, const std::string& suffix) {
    const auto k = static_cast<double>(group.size());
    const double period = on + off;
    for (size_t j = 0; j < group.size(); ++j) {
      const size_t c = group[j];
      std::optional<std::vector<double>> dash;
      if (dashed || group.size() > 1) dash = std::vector<double>{on, period * k - on};
      auto set = lineSet(evenEntries(curves[c]), ink.channels[c].name + suffix, colors[c], width, dash);
      set->setLineDashPhase(std::fmod((k - static_cast<double>(j)) * period, period * k));
      set->setHighlightEnabled(true);
      sets.push_back(set);
    }
    std::vector<Color> turns;
    for (const size_t c : group) turns.push_back(colors[c]);
    auto entry = legendEntry(names(group) + suffix, LegendForm::line, colors[group[0]], width,
                             dashed ? std::optional<std::vector<double>>(kInputDash) : std::nullopt);
    if (turns.size() > 1) entry->colors = std::move(turns);
    return entry;
  };
  std::vector<LegendEntryPtr> readEntries;
  for (const auto& group : sameCurves(pointers(asRead)))
    readEntries.push_back(addGroup(asRead, group, kInputWidth, kInputDash[0], kInputDash[1], true, " as read"));
  for (const auto& group : sameCurves(pointers(corrected)))
    legend.push_back(addGroup(corrected, group, kCorrectedWidth, kSharedTile, 0, false, ""));
  legend.insert(legend.end(), readEntries.begin(), readEntries.end());
  return std::make_shared<LineChartData>(sets);
}

// The title and note above the graph, the x title below it and the y title
// turned along its left side, each centred on the content. Each fits its
// line (fittedText).
void drawTitles(platform::graphics::DrawingContext& context, const Rect& area, const Rect& content,
                const std::string& title, const std::string& note, const std::string& xTitle,
                const std::string& yTitle) {
  context.drawTextInRect(title, Rect(content.minX(), area.minY() + 16, content.width(), 40),
                         attributes(kTitleSize, kText));
  context.drawTextInRect(note, Rect(content.minX(), area.minY() + 52, content.width(), 30),
                         attributes(kNoteSize, kNoteText));
  context.drawTextInRect(xTitle, Rect(content.minX(), area.maxY() - 44, content.width(), 30),
                         attributes(kAxisTitleSize, kText));
  const SavedGraphicsState saved(context);
  context.translateBy(area.minX() + 16, content.midY());
  context.rotateBy(-std::numbers::pi / 2);
  context.drawTextInRect(yTitle, Rect(-content.height() / 2, 0, content.height(), 30),
                         attributes(kAxisTitleSize, kText));
}

// The density scale on the right of the measurement graph: a tick and a
// label at each of a few densities, where their L* lie on the graph, and the
// scale's title turned along the right side. Where the note gives Dmax, a
// longer tick at the darkest L* says "Dmax" there, in the place of the
// labels beside it.
void drawDensityScale(platform::graphics::DrawingContext& context, const Rect& area, const Rect& content,
                      const std::function<double(double L)>& pixelY, std::optional<double> darkestL) {
  const SavedGraphicsState saved(context);
  context.setStrokeColor(kAxisLine);
  context.setLineWidth(1.5);
  const TextAttributes label = attributes(kLabelSize, kText, TextAlignment::left);
  const double dmaxY = darkestL ? pixelY(*darkestL) : std::numeric_limits<double>::quiet_NaN();
  const bool withDmax = dmaxY >= content.minY() && dmaxY <= content.maxY();
  if (withDmax) {
    const SavedGraphicsState mark(context);
    context.setStrokeColor(kText);
    context.setLineWidth(2.5);
    context.strokeLineSegments({Point{content.maxX() - 8, dmaxY}, Point{content.maxX() + 8, dmaxY}});
    context.drawTextInRect("Dmax", Rect(content.maxX() + 10, dmaxY - 10, 50, 22), label);
  }
  double lastY = -1e9;
  for (const double density : {0.0, 0.1, 0.2, 0.3, 0.5, 0.7, 1.0, 1.5, 2.0, 2.5, 3.0}) {
    const double y = pixelY(linearization::densityToLstar(density));
    // The dense end of the scale keeps the labels that stand apart.
    if (!(y >= content.minY() - 0.5 && y <= content.maxY() + 0.5) || y - lastY < 20) continue;
    if (withDmax && std::fabs(y - dmaxY) < 20) continue;
    lastY = y;
    context.strokeLineSegments({Point{content.maxX(), y}, Point{content.maxX() + 6, y}});
    context.drawTextInRect(fixed(density, 1), Rect(content.maxX() + 10, y - 10, 40, 22), label);
  }
  context.translateBy(area.maxX() - 16, content.midY());
  context.rotateBy(std::numbers::pi / 2);
  context.drawTextInRect("density", Rect(-content.height() / 2, 0, content.height(), 30),
                         attributes(kAxisTitleSize, kText));
}

// Gives the set of marks the entries `values` (count of them, the i-th
// valueAt(i)), as many as the view, laid out and drawn at `origin` on the
// picture, draws apart (marksToDraw): by the picture's pixels.
template <typename ValueAt>
void placeMarks(LineChartDataSet& set, const LineChartView& view, Point origin, size_t count, const ValueAt& valueAt) {
  const auto matrix = view.getTransformer(AxisDependency::left)->valueToPixelMatrix();
  const Rect content = view.viewPortHandler()->contentRect();
  const auto kept = marksToDraw(
      count,
      [&](size_t i) {
        const Point at = matrix.apply(valueAt(i));
        return Point{at.x + origin.x, at.y + origin.y};
      },
      Rect(content.minX() + origin.x, content.minY() + origin.y, content.width(), content.height()),
      set.circleRadius());
  std::vector<EntryPtr> entries;
  entries.reserve(kept.size());
  for (const size_t i : kept) {
    const Point value = valueAt(i);
    entries.push_back(std::make_shared<ChartDataEntry>(value.x, value.y));
  }
  set.replaceEntries(std::move(entries));
}

// The measurement graph's samples and step means, each at its step's input.
void placeMeasurementMarks(const MeasurementGraph& m, const MeasurementMarks& marks, const LineChartView& view,
                           Point origin) {
  if (marks.samples) {
    std::vector<Point> samples;
    samples.reserve(m.samples.L.size());
    for (size_t step = 0; step < m.stepL.size(); ++step)
      for (int64_t k = m.samples.starts[step]; k < m.samples.starts[step + 1]; ++k)
        samples.push_back(Point{stepPercent(m, step), m.samples.L[static_cast<size_t>(k)]});
    placeMarks(*marks.samples, view, origin, samples.size(), [&](size_t i) { return samples[i]; });
  }
  placeMarks(*marks.steps, view, origin, m.stepL.size(),
             [&](size_t i) { return Point{stepPercent(m, i), m.stepL[i]}; });
  if (marks.deviations) {
    // From the target, where the step lies, to the step's mean; each bar
    // ends the line (a value that is not a number parts them).
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const auto targetAt = [&](double percent) {
      const double at = std::clamp(percent / 100, 0.0, 1.0) * static_cast<double>(m.targetL.size() - 1);
      const auto i = std::min(static_cast<size_t>(at), m.targetL.size() - 2);
      return m.targetL[i] + (m.targetL[i + 1] - m.targetL[i]) * (at - static_cast<double>(i));
    };
    std::vector<EntryPtr> entries;
    for (size_t i = 0; i < m.stepL.size(); ++i) {
      const double x = stepPercent(m, i);
      for (const double y : {targetAt(x), m.stepL[i], kNaN}) entries.push_back(std::make_shared<ChartDataEntry>(x, y));
    }
    marks.deviations->replaceEntries(std::move(entries));
  }
}

}  // namespace

PlotPicture linearizePicture(const linearization::v2LinearizationDataModel& document,
                             const std::string& measurementsPath, const linearization::QuadDataFile* quad,
                             const std::optional<std::string>& quadPath) {
  PlotPicture picture;
  MeasurementGraph m;
  m.file = std::filesystem::path(measurementsPath).filename().string();
  for (const auto& reading : document.rawMeasurements) m.stepL.push_back(reading.L);
  if (document.rawPositions.size() == m.stepL.size()) m.stepPositions = document.rawPositions;
  m.samples = document.measurementSamples;
  m.steps = document.measurementLayout.steps;
  for (const auto& out : document.measurementLeftOut) m.leftOut.emplace_back(100.0 * out.position, out.L);
  for (const auto& reading : document.smoothedMeasurements) m.smoothedL.push_back(reading.L);
  m.targetL = document.correctionCurve->finalTargetArray;
  // The prediction follows the correction curve, which runs from the
  // darkest step to paper white.
  if (document.correctionCurve->correctionCurveArray && document.correctedMeasurements.size() == m.smoothedL.size())
    for (auto it = document.correctedMeasurements.rbegin(); it != document.correctedMeasurements.rend(); ++it)
      m.correctedL.push_back(it->L);
  const auto& readings = document.interpolatedMeasurements;
  if (!readings.empty()) {
    m.paperWhiteL = readings.front().L;
    m.darkestL = readings.back().L;
  }
  m.dmax = document.dmax;
  picture.measurements = std::move(m);

  InkGraph& ink = picture.ink;
  const auto& correction = document.correctionCurve->correctionCurveArray;
  const bool corrected = quad && quad->outputQuadCurveArray.size() >= quad->inkList.size() && !quad->inkList.empty();
  if (quad && quad->inputQuadCurveArray) {
    ink.title = "Ink curves: " + std::filesystem::path(quadPath.value_or("")).filename().string();
    const auto& input = *quad->inputQuadCurveArray;
    for (size_t c = 0; c < quad->inkList.size() && c < input.size(); ++c) {
      const auto& output = corrected ? quad->outputQuadCurveArray[c] : std::vector<double>{};
      const auto inked = [](const std::vector<double>& levels) {
        return std::any_of(levels.begin(), levels.end(), [](double level) { return level >= 1; });
      };
      if (!inked(input[c]) && !inked(output)) continue;
      ink.channels.push_back({channelLabel(quad->inkList[c]), linearization::inkColorForCurveName(quad->inkList[c]),
                              input[c], output});
    }
    ink.note = !corrected                ? "as read: no correction could be built from these readings"
               : ink.channels.empty()    ? "no channel of the .quad has ink"
                                         : "solid: corrected; dashed: as read";
  } else {
    ink.withQuad = false;
    ink.title = "Correction curve";
    if (correction && !correction->empty()) {
      ink.correction.assign(correction->rbegin(), correction->rend());
      ink.note = "output against input, without a .quad";
    } else {
      ink.note = "no correction could be built from these readings";
    }
  }
  return picture;
}

PlotPicture starterPicture(const std::vector<std::vector<double>>& curves, const std::vector<std::string>& markers,
                           const std::string& note) {
  PlotPicture picture;
  InkGraph& ink = picture.ink;
  ink.title = "Ink curves: starter curve";
  ink.note = note;
  for (size_t c = 0; c < curves.size() && c < markers.size(); ++c) {
    if (std::none_of(curves[c].begin(), curves[c].end(), [](double level) { return level >= 1; })) continue;
    ink.channels.push_back({channelLabel(markers[c]), linearization::inkColorForCurveName(markers[c]), {}, curves[c]});
  }
  if (ink.channels.empty()) ink.note += "; no channel has ink";
  return picture;
}

PlotFigure::PlotFigure(const PlotPicture& picture) : PlotFigure(picture, nullptr) {}

PlotFigure::PlotFigure(const PlotPicture& picture, std::unique_ptr<platform::cairo::CairoContext> surface)
    : PlotFigure(picture, std::move(surface), true) {}

std::unique_ptr<PlotFigure> PlotFigure::laidOut(const PlotPicture& picture) {
  return std::unique_ptr<PlotFigure>(new PlotFigure(picture, nullptr, false));
}

PlotFigure::PlotFigure(const PlotPicture& picture, std::unique_ptr<platform::cairo::CairoContext> surface,
                       bool drawn) {
  const Size size = picture.measurements ? kTwoGraphs : kOneGraph;
  std::shared_ptr<const platform::graphics::TextMetrics> metrics;
  if (drawn) {
    if (surface && surface->pixelWidth() == static_cast<int64_t>(size.width) &&
        surface->pixelHeight() == static_cast<int64_t>(size.height))
      context_ = std::move(surface);
    else
      context_ = platform::cairo::CairoContext::create(static_cast<int64_t>(size.width),
                                                       static_cast<int64_t>(size.height), /*opaque=*/true);
    if (!context_) return;
    metrics = context_->ownTextMetrics();
  } else {
    // Every Cairo surface measures alike (CairoTextMetrics::measuresLike).
    static const auto cairoMetrics = std::make_shared<const platform::cairo::CairoTextMetrics>();
    metrics = cairoMetrics;
  }
  size_ = size;

  std::vector<Rect> areas;
  if (picture.measurements)
    areas = {Rect(0, 0, size.width / 2, size.height), Rect(size.width / 2, 0, size.width / 2, size.height)};
  else
    areas = {Rect(0, 0, size.width, size.height)};
  for (size_t i = 0; i < areas.size(); ++i) {
    auto panel = std::make_unique<Panel>();
    panel->graph = picture.measurements && i == 0 ? Graph::measurements : Graph::inkCurves;
    panel->area = areas[i];
    // Room for the title and note above, the y title on the left, the x
    // title below.
    // title and note above, the y title on the left, the x title below;
    // the measurement graph's density scale on its right.
    panel->densityScale = panel->graph == Graph::measurements;
    const double right = panel->densityScale ? kDensityRoom : 36;
    panel->frame = Rect(areas[i].minX() + 52, areas[i].minY() + 88, areas[i].width() - 52 - right,
                        areas[i].height() - 88 - 52);
    panel->view = makeView(panel->frame.size, metrics);
    panel->view->setLegendRenderer(
        std::make_shared<PlotLegendRenderer>(panel->view->viewPortHandler(), panel->view->legend()));
    std::vector<LegendEntryPtr> legend;
    if (panel->graph == Graph::measurements) {
      const MeasurementGraph& m = *picture.measurements;
      panel->view->setData(measurementData(m, panel->frame.width() - 60, legend, panel->marks));
      panel->title = "Measurements: " + platform::text::printable(m.file);
      panel->note = "paper white L* " + fixed(m.paperWhiteL, 2) + ", darkest L* " + fixed(m.darkestL, 2) +
                    (std::isfinite(m.dmax) ? ", Dmax " + fixed(m.dmax, 2) : std::string(": no Dmax below L* 0"));
      panel->xTitle = "input (%): 0 = paper white, 100 = the darkest step";
      panel->yTitle = "L*";
      if (std::isfinite(m.dmax)) panel->dmaxL = m.darkestL;
      for (size_t step = 0; step < m.stepL.size(); ++step) panel->steps.push_back(Point{stepPercent(m, step), m.stepL[step]});
    } else {
      double top = 100, every = 10;
      panel->view->setData(inkData(picture.ink, legend, top, every));
      if (picture.ink.withQuad && top < 100) styleAxis(*panel->view->leftAxis(), top, every);
      panel->title = platform::text::printable(picture.ink.title);
      panel->note = picture.ink.note;
      // A digital negative holds the most ink where the print is paper white.
      panel->xTitle = picture.ink.withQuad ? "input of the .quad (%): 0 = darkest in the print, 100 = paper white"
                                           : "input (%): 0 = paper white, 100 = the darkest step";
      panel->yTitle = !picture.ink.withQuad ? "output (%)"
                      : top < 100           ? "ink (%), shown up to " + fixed(top, every < 1 ? 1 : 0) + " %"
                                            : "ink (%)";
    }
    panel->view->legend()->setCustom(legend);
    panel->view->notifyDataSetChanged();
    panels_.push_back(std::move(panel));
  }
  // Side by side, the contents start at one height: a graph whose legend
  // takes fewer rows starts lower, its bottom where it was.
  double top = 0;
  for (const auto& panel : panels_) top = std::max(top, contentRect(panel->graph).minY());
  for (const auto& panel : panels_) {
    const double lower = top - contentRect(panel->graph).minY();
    if (!(lower > 0)) continue;
    panel->frame = Rect(panel->frame.minX(), panel->frame.minY() + lower, panel->frame.width(),
                        panel->frame.height() - lower);
    panel->view->setFrame(Rect(0, 0, panel->frame.width(), panel->frame.height()));
  }

  // Every text on one line over the content, shortened where it would not
  // fit.
  for (const auto& panel : panels_) {
    const double width = contentRect(panel->graph).width();
    panel->title = fittedText(panel->title, width, attributes(kTitleSize, kText), *metrics);
    panel->note = fittedText(panel->note, width, attributes(kNoteSize, kNoteText), *metrics);
    panel->xTitle = fittedText(panel->xTitle, width, attributes(kAxisTitleSize, kText), *metrics);
  }

  // The marks placed by the pixels they land on, now that the graphs stand
  // where they are drawn; the data handed over again, so that the view takes
  // it whole.
  for (const auto& panel : panels_) {
    if (panel->graph != Graph::measurements) continue;
    placeMeasurementMarks(*picture.measurements, panel->marks, *panel->view, panel->frame.origin);
    panel->view->setData(panel->view->data());
  }
  if (context_) drawOnThreads();
}

void PlotFigure::drawOnThreads() {
  // Each graph on its own part of the pixels, all but the first on threads
  // of their own; all on this thread where parts or threads cannot be had,
  // or a part could not be drawn.
  std::vector<std::unique_ptr<platform::cairo::CairoContext>> parts;
  for (const auto& panel : panels_)
    if (auto part = context_->part(panel->area)) parts.push_back(std::move(part));
  std::atomic<bool> failed = parts.size() != panels_.size() || parts.size() < 2;
  const auto drawPart = [this, &parts, &failed](size_t i) {
    try {
      platform::cairo::CairoContext& part = *parts[i];
      part.translateBy(-panels_[i]->area.minX(), -panels_[i]->area.minY());
      drawPanel(part, *panels_[i]);
    } catch (const std::bad_alloc&) {
      failed = true;
    }
  };
  if (!failed) {
    std::vector<std::jthread> threads;
    try {
      for (size_t i = 1; i < parts.size(); ++i) threads.emplace_back(drawPart, i);
    } catch (const std::system_error&) {
    }
    for (size_t i = threads.size() + 1; i < parts.size(); ++i) drawPart(i);
    drawPart(0);
  }
  parts.clear();
  if (failed) draw(*context_);
}

void PlotFigure::draw(platform::graphics::DrawingContext& context) const {
  for (const auto& panel : panels_) drawPanel(context, *panel);
}

void PlotFigure::drawPanel(platform::graphics::DrawingContext& context, const Panel& panel) const {
  context.setFillColor(Color::white());
  context.fillRect(panel.area);
  {
    const SavedGraphicsState saved(context);
    context.translateBy(panel.frame.minX(), panel.frame.minY());
    panel.view->draw(context);
  }
  const Rect content = contentRect(panel.graph);
  // The content's frame, over the ends of the grid lines.
  {
    const SavedGraphicsState saved(context);
    context.setStrokeColor(kAxisLine);
    context.setLineWidth(1);
    context.strokeRect(content);
  }
  drawTitles(context, panel.area, content, panel.title, panel.note, panel.xTitle, panel.yTitle);
  if (panel.densityScale)
    drawDensityScale(
        context, panel.area, content, [&](double L) { return pixelFor(panel.graph, 0, L).y; }, panel.dmaxL);
}

void PlotFigure::drawGraph(platform::graphics::DrawingContext& context, Graph graph) const {
  const Panel* p = panel(graph);
  if (!p) return;
  const SavedGraphicsState saved(context);
  context.translateBy(-p->area.minX(), -p->area.minY());
  drawPanel(context, *p);
}

Rect PlotFigure::graphArea(Graph graph) const {
  const Panel* p = panel(graph);
  return p ? p->area : Rect();
}

namespace {

// A point of a graph's own pixels in its view's coordinates.
Point inView(const Rect& area, const Rect& frame, Point at) {
  return Point{at.x + area.minX() - frame.minX(), at.y + area.minY() - frame.minY()};
}

}  // namespace

std::optional<PlotFigure::Reading> PlotFigure::tap(Graph graph, Point at) {
  const Panel* p = panel(graph);
  if (!p) return std::nullopt;
  const platform::view::Touch touch{inView(p->area, p->frame, at), p->view.get()};
  const platform::view::TouchEvent event{{touch}};
  p->view->touchesBeganWithEvent(event);
  p->view->touchesEndedWithEvent(event);
  return highlighted(graph);
}

std::optional<PlotFigure::Reading> PlotFigure::highlighted(Graph graph) const {
  const Panel* p = panel(graph);
  const auto highlight = p ? p->view->lastHighlighted() : nullptr;
  const auto data = p ? p->view->data() : nullptr;
  if (!highlight || !data) return std::nullopt;
  const EntryPtr entry = data->entryForHighlight(*highlight);
  const DataSetPtr set = data->getDataSetByIndex(highlight->dataSetIndex());
  if (!entry || !set) return std::nullopt;
  Reading reading{set->label().value_or(""), entry->x(), entry->y(), 0};
  if (graph == Graph::measurements)
    for (size_t i = 0; i < p->steps.size() && reading.step == 0; ++i)
      if (p->steps[i].x == entry->x() && p->steps[i].y == entry->y()) reading.step = static_cast<int64_t>(i + 1);
  return reading;
}

void PlotFigure::zoom(Graph graph, double factor, Point at) {
  const Panel* p = panel(graph);
  if (!p) return;
  const Point about = inView(p->area, p->frame, at);
  p->view->zoom(factor, factor, about.x, about.y);
}

void PlotFigure::pan(Graph graph, Point from, Point to) {
  const Panel* p = panel(graph);
  if (!p) return;
  // The value that lies as far from the content's centre as `to` from
  // `from`, the other way, is brought to the centre: everything moves by
  // to - from.
  const Point centre = p->view->viewPortHandler()->contentCenter();
  const Point value = p->view->getTransformer(AxisDependency::left)->valueForTouchPoint(
      Point{centre.x - (to.x - from.x), centre.y - (to.y - from.y)});
  p->view->centerViewTo(value.x, value.y, AxisDependency::left);
}

void PlotFigure::resetZoom(Graph graph) {
  if (const Panel* p = panel(graph)) p->view->fitScreen();
}

bool PlotFigure::zoomed(Graph graph) const {
  const Panel* p = panel(graph);
  return p && !p->view->viewPortHandler()->isFullyZoomedOut();
}

Point PlotFigure::valueAt(Graph graph, Point at) const {
  const Panel* p = panel(graph);
  if (!p) return Point{};
  return p->view->getTransformer(AxisDependency::left)->valueForTouchPoint(inView(p->area, p->frame, at));
}

PlotFigure::ViewState PlotFigure::viewState(Graph graph) const {
  ViewState state;
  const Panel* p = panel(graph);
  if (!p) return state;
  state.matrix = p->view->viewPortHandler()->touchMatrix();
  state.centre = p->view->getTransformer(AxisDependency::left)->valueForTouchPoint(
      p->view->viewPortHandler()->contentCenter());
  if (const auto reading = highlighted(graph)) state.highlight = std::pair{reading->curve, reading->x};
  return state;
}

void PlotFigure::setViewState(Graph graph, const ViewState& state) {
  const Panel* p = panel(graph);
  if (!p) return;
  LineChartView& view = *p->view;
  // The room around the content as the zoom's labels need it, then the
  // matrix again: the handler holds a matrix to the content it is given.
  view.viewPortHandler()->refresh(state.matrix, view, false);
  view.notifyDataSetChanged();
  view.viewPortHandler()->refresh(state.matrix, view, false);
  if (!view.viewPortHandler()->isFullyZoomedOut()) view.centerViewTo(state.centre.x, state.centre.y, AxisDependency::left);
  view.clearHighlights();
  const auto data = view.data();
  if (!state.highlight || !data) return;
  for (int64_t i = 0; i < data->dataSetCount(); ++i) {
    const DataSetPtr set = data->getDataSetByIndex(i);
    if (set && set->isHighlightEnabled() && set->label() == state.highlight->first) {
      view.highlightValue(state.highlight->second, i);
      return;
    }
  }
}

std::string graphSVG(const PlotFigure& figure, PlotFigure::Graph graph) {
  const Rect area = figure.graphArea(graph);
  auto svg = platform::cairo::CairoContext::createSVG(static_cast<int64_t>(area.width()),
                                                      static_cast<int64_t>(area.height()));
  if (!svg) return {};
  figure.drawGraph(*svg, graph);
  return svg->finishSVG().value_or("");
}

PlotFigure::~PlotFigure() = default;

Size PlotFigure::size() const { return size_; }

const PlotFigure::Panel* PlotFigure::panel(Graph graph) const {
  for (const auto& panel : panels_)
    if (panel->graph == graph) return panel.get();
  return nullptr;
}

bool PlotFigure::has(Graph graph) const { return panel(graph) != nullptr; }

Rect PlotFigure::contentRect(Graph graph) const {
  const Panel* p = panel(graph);
  if (!p) return Rect();
  const Rect content = p->view->viewPortHandler()->contentRect();
  return Rect(content.minX() + p->frame.minX(), content.minY() + p->frame.minY(), content.width(), content.height());
}

Point PlotFigure::pixelFor(Graph graph, double x, double y) const {
  const Panel* p = panel(graph);
  if (!p) return Point{};
  const Point at = p->view->getTransformer(AxisDependency::left)->pixelForValues(x, y);
  return Point{at.x + p->frame.minX(), at.y + p->frame.minY()};
}

std::optional<platform::graphics::EncodedImage> PlotFigure::png() const {
  if (!context_) return std::nullopt;
  return context_->encodePNG();
}

std::vector<Color> plotColors(const std::vector<Color>& inks) {
  // Lightness above the knee is pressed into what stands out enough against
  // white, keeping its order among the inks of one hue (the greys are one)
  // and spreading them as far as the lightest of them allows: K, LK and LLK,
  // or C and LC, stay apart.
  constexpr double kKnee = 20;
  const auto lightnessOf = [](double Y) { return Y > 216.0 / 24389.0 ? 116 * std::cbrt(Y) - 16 : Y * 24389.0 / 27.0; };
  const auto lightness = [&](const Color& c) { return lightnessOf(luminance(c)); };
  const double lightest = lightnessOf(1.05 / kLeastContrast - 0.05);
  // The hue in tens of degrees; -1 for a grey.
  const auto hue = [](const Color& c) {
    const double high = std::max({c.red, c.green, c.blue}), low = std::min({c.red, c.green, c.blue});
    if (high - low < 0.02) return -1L;
    const double d = high - low;
    double h = high == c.red ? std::fmod((c.green - c.blue) / d + 6, 6) : high == c.green ? (c.blue - c.red) / d + 2
                                                                                          : (c.red - c.green) / d + 4;
    return std::lround(h * 6) % 36;
  };
  std::vector<Color> drawn;
  for (const Color& ink : inks) {
    double highest = lightest;
    for (const Color& other : inks)
      if (hue(other) == hue(ink)) highest = std::max(highest, lightness(other));
    const double L = lightness(ink);
    if (!(L > kKnee) || highest <= lightest) {
      drawn.push_back(ink);
      continue;
    }
    const double wanted = kKnee + (L - kKnee) * (lightest - kKnee) / (highest - kKnee);
    // The part of the colour's components that gives that lightness.
    double dark = 0, light = 1;
    for (int i = 0; i < 30; ++i) {
      const double part = (dark + light) / 2;
      (lightness(darkened(ink, part)) <= wanted ? dark : light) = part;
    }
    drawn.push_back(darkened(ink, dark));
  }
  return drawn;
}

double contrastOnWhite(const Color& color) { return 1.05 / (luminance(color) + 0.05); }

std::string fittedText(const std::string& text, double width, const TextAttributes& attributes,
                       const platform::graphics::TextMetrics& metrics) {
  if (metrics.size(text, attributes).width <= width) return text;
  // The code points' starts, so that the cut never splits one.
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  const size_t n = starts.size();
  const auto shortened = [&](size_t kept) {
    const size_t head = (kept + 1) / 2, tail = kept / 2;
    return text.substr(0, head < n ? starts[head] : text.size()) + "\u2026" +
           text.substr(tail == 0 ? text.size() : starts[n - tail]);
  };
  // The most code points kept (half from each end) that fit.
  size_t fits = 0, fitsNot = n;
  while (fitsNot - fits > 1) {
    const size_t kept = (fits + fitsNot) / 2;
    (metrics.size(shortened(kept), attributes).width <= width ? fits : fitsNot) = kept;
  }
  return shortened(fits);
}

PlotWarmUp::PlotWarmUp(bool withMeasurements) {
  const Size size = withMeasurements ? kTwoGraphs : kOneGraph;
  try {
    // What fails here is left to the plot, which does it again.
    fonts_ = std::jthread([] {
      try {
        if (const auto context = platform::cairo::CairoContext::create(1, 1, /*opaque=*/true))
          context->ownTextMetrics()->size("0", attributes(kLabelSize, kText));
      } catch (const std::bad_alloc&) {
      }
    });
    // The picture's ground laid white here: each page of it is taken from
    // the system as it is first written, which costs more than the drawing.
    pixels_ = std::jthread([this, size] {
      try {
        auto surface = platform::cairo::CairoContext::create(static_cast<int64_t>(size.width),
                                                             static_cast<int64_t>(size.height), /*opaque=*/true);
        if (!surface) return;
        surface->setFillColor(Color::white());
        surface->fillRect(Rect(0, 0, size.width, size.height));
        surface_ = std::move(surface);
      } catch (const std::bad_alloc&) {
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had: the plot does it itself.
  }
}

PlotWarmUp::~PlotWarmUp() { wait(); }

std::unique_ptr<platform::cairo::CairoContext> PlotWarmUp::wait() {
  for (std::jthread* thread : {&fonts_, &pixels_})
    if (thread->joinable()) thread->join();
  return std::move(surface_);
}

std::optional<std::string> plotOutputError(const std::string& plot, const std::string& out) {
  if (auto problem = outputFileError("plot", plot)) return problem;
  const auto plotFile = CliHost::savedPath(plot, "png"), outFile = CliHost::savedPath(out, "quad");
  std::error_code ec;
  if (plotFile.lexically_normal() == outFile.lexically_normal() || std::filesystem::equivalent(plotFile, outFile, ec))
    return "--plot would write " + plotFile.string() + ", which --out writes too (" + outFile.string() + ")";
  return std::nullopt;
}

std::optional<platform::graphics::EncodedImage> renderPlot(const PlotPicture& picture, PlotWarmUp* warmUp) {
  try {
    return PlotFigure(picture, warmUp ? warmUp->wait() : nullptr).png();
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void savePlot(const PlotPicture& picture, CliHost& host, PlotWarmUp* warmUp) {
  savePlot(renderPlot(picture, warmUp), host);
}

void savePlot(const std::optional<platform::graphics::EncodedImage>& png, CliHost& host) {
  if (!png) {
    host.reportFailure("the plot could not be drawn");
    return;
  }
  linearization::saveTextThroughPanel(host, "png", std::string(png->begin(), png->end()));
}

}  // namespace cli
