#include "Plot.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>

#include "Args.h"
#include "LinearizeWarnings.h"
#include "Chart/Components/Legend.h"
#include "Chart/Components/LegendEntry.h"
#include "Chart/Components/XAxis.h"
#include "Chart/Components/YAxis.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Renderers/LinePointsRenderer.h"
#include "Chart/Views/LineChartView.h"
#include "linearization/InkColors.h"
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
const std::vector<double> kTargetDash{12, 8};
const std::vector<double> kInputDash{8, 5};

constexpr double kLabelSize = 16, kLegendSize = 16, kTitleSize = 24, kNoteSize = 16, kAxisTitleSize = 18;
constexpr double kCorrectedWidth = 3, kInputWidth = 1.5;
constexpr double kLegendFormSize = 28;

std::string fixed(double v, int decimals) { return platform::text::fixedDecimal(v, decimals); }

// The colour a part of the way to white.
Color lightened(const Color& c, double part) {
  return Color::rgb(c.red + (1 - c.red) * part, c.green + (1 - c.green) * part, c.blue + (1 - c.blue) * part);
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
// square of half the radius: a mark alone in its square is drawn where it
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
  const double square = std::max(1.0, radius / 2);
  const double firstColumn = std::floor(left);
  const auto columns = static_cast<int64_t>(std::floor(left + width) - firstColumn) + 1;
  const auto squaresAcross = static_cast<int64_t>(std::floor(width / square)) + 1;
  const auto squaresDown = static_cast<int64_t>(std::floor(height / square)) + 1;
  struct Column {
    int64_t first = -1, last = -1, highest = -1, lowest = -1;
    double highestY = 0, lowestY = 0;
  };
  std::vector<Column> byColumn(static_cast<size_t>(columns));
  std::vector<bool> squareTaken(static_cast<size_t>(squaresAcross * squaresDown), false);
  std::vector<bool> keep(count, false);
  const auto index = [](double at, int64_t count) {
    return std::clamp(static_cast<int64_t>(at), int64_t{0}, count - 1);
  };
  for (size_t i = 0; i < count; ++i) {
    const Point p = pixelAt(i);
    if (!(p.x + radius >= content.minX() && p.x - radius <= content.maxX() && p.y + radius >= content.minY() &&
          p.y - radius <= content.maxY()))
      continue;
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
    const auto taken = static_cast<size_t>(index((p.x - left) / square, squaresAcross) * squaresDown +
                                           index((p.y - top) / square, squaresDown));
    if (!squareTaken[taken]) squareTaken[taken] = keep[i] = true;
  }
  for (const Column& column : byColumn)
    if (column.first >= 0)
      for (const int64_t i : {column.first, column.last, column.highest, column.lowest})
        keep[static_cast<size_t>(i)] = true;
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

LegendEntryPtr legendEntry(const std::string& label, LegendForm form, Color color, double lineWidth = 3,
                           std::optional<std::vector<double>> dash = std::nullopt) {
  // A line's form takes the legend's form size, which the legend lays its
  // rows out with; a circle is drawn smaller.
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  return std::make_shared<LegendEntry>(label, form, form == LegendForm::line ? kNaN : 12.0, lineWidth, 0,
                                       std::move(dash), color);
}

TextAttributes attributes(double size, Color color, TextAlignment alignment = TextAlignment::center) {
  TextAttributes a;
  a.font = Font::systemFont(size);
  a.foregroundColor = color;
  a.paragraphStyle = platform::graphics::ParagraphStyle{alignment};
  return a;
}

void styleAxis(AxisBase& axis) {
  axis.setAxisMinimum(kAxisLow);
  axis.setAxisMaximum(kAxisHigh);
  axis.setGranularity(10);
  axis.setLabelCount(11);
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
};

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
};

namespace {

// A view of a panel: both axes from a little below 0 to a little above 100,
// the legend along the top, no right axis and no description.
std::shared_ptr<LineChartView> makeView(const Size& size,
                                        const std::shared_ptr<const platform::graphics::TextMetrics>& metrics) {
  auto view = LineChartView::create(Rect(0, 0, size.width, size.height));
  view->setTextMetrics(metrics);
  view->setRenderer(std::make_shared<LinePointsRenderer>(*view, view->viewPortHandler()));
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

// Drawn in order: the target, the samples and the step means, and the
// smoothed response over them. The samples' and the means' sets are left
// empty in `marks`, for placeMarks.
std::shared_ptr<LineChartData> measurementData(const MeasurementGraph& m, std::vector<LegendEntryPtr>& legend,
                                               MeasurementMarks& marks) {
  std::vector<DataSetPtr> sets;
  sets.push_back(lineSet(evenEntries(m.targetL), "target", kTarget, 2, kTargetDash));
  const size_t steps = m.stepL.size();
  const bool withSamples = !m.samples.empty() && static_cast<size_t>(m.samples.steps()) == steps;
  // The readings left out of the curve, where they lie: few, drawn whole.
  if (!m.leftOut.empty()) {
    std::vector<EntryPtr> entries;
    for (const auto& [x, L] : m.leftOut) entries.push_back(std::make_shared<ChartDataEntry>(x, L));
    sets.push_back(pointSet(entries, "left out", kLeftOut, 5));
  }
  if (withSamples) {
    marks.samples = pointSet({}, "samples", kSamples, 3.5);
    sets.push_back(marks.samples);
  }
  // Rings, open in the middle: where a reading lies on the smoothed
  // response, the line shows through.
  auto means = pointSet({}, "steps", kMeans, 7);
  means->setDrawCircleHoleEnabled(true);
  means->setCircleHoleRadius(4.5);
  means->setCircleHoleColor(std::nullopt);
  marks.steps = means;
  sets.push_back(means);
  sets.push_back(lineSet(evenEntries(m.smoothedL), "smoothed", kSmoothed, kCorrectedWidth));

  const auto wedgeSteps = static_cast<size_t>(m.steps > 0 ? m.steps : static_cast<int64_t>(steps));
  legend.push_back(legendEntry("readings: " + std::to_string(wedgeSteps) + (wedgeSteps == 1 ? " step" : " steps"),
                               LegendForm::circle, kMeans));
  if (!m.leftOut.empty()) legend.push_back(legendEntry("left out", LegendForm::circle, kLeftOut));
  if (withSamples) legend.push_back(legendEntry("each step's samples", LegendForm::circle, kSamples));
  legend.push_back(legendEntry("smoothed response", LegendForm::line, kSmoothed, kCorrectedWidth));
  legend.push_back(legendEntry("target", LegendForm::line, kTarget, 2, kTargetDash));
  return std::make_shared<LineChartData>(sets);
}

std::shared_ptr<LineChartData> inkData(const InkGraph& ink, std::vector<LegendEntryPtr>& legend) {
  std::vector<DataSetPtr> sets;
  if (!ink.withQuad) {
    sets.push_back(lineSet({std::make_shared<ChartDataEntry>(0, 0), std::make_shared<ChartDataEntry>(100, 100)},
                           "unchanged", kTarget, 2, kTargetDash));
    if (!ink.correction.empty()) {
      sets.push_back(lineSet(evenEntries(ink.correction), "correction", kSmoothed, kCorrectedWidth));
      legend.push_back(legendEntry("correction", LegendForm::line, kSmoothed, kCorrectedWidth));
    }
    legend.push_back(legendEntry("unchanged (output = input)", LegendForm::line, kTarget, 2, kTargetDash));
    return std::make_shared<LineChartData>(sets);
  }
  // The curves as read first, thin, dashed and light; the corrected ones
  // over them in the full colour.
  constexpr double kPercentOfLevel = 1 / 655.35;
  bool anyInput = false;
  for (const auto& channel : ink.channels) {
    if (channel.inputLevels.empty()) continue;
    anyInput = true;
    sets.push_back(lineSet(evenEntries(channel.inputLevels, kPercentOfLevel), channel.name + " as read",
                           lightened(channel.color, 0.35), kInputWidth, kInputDash));
  }
  for (const auto& channel : ink.channels) {
    if (!channel.correctedLevels.empty())
      sets.push_back(lineSet(evenEntries(channel.correctedLevels, kPercentOfLevel), channel.name, channel.color,
                             kCorrectedWidth));
    legend.push_back(legendEntry(channel.name, LegendForm::line, channel.color, kCorrectedWidth));
  }
  if (anyInput) legend.push_back(legendEntry("as read (dashed)", LegendForm::line, kTarget, kInputWidth, kInputDash));
  return std::make_shared<LineChartData>(sets);
}

// The title and note above the graph, the x title below it and the y title
// turned along its left side, each centred on the content.
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
                                         : "solid: corrected; thin dashed: as read";
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

PlotFigure::PlotFigure(const PlotPicture& picture) {
  const Size size = picture.measurements ? kTwoGraphs : kOneGraph;
  context_ = platform::cairo::CairoContext::create(static_cast<int64_t>(size.width),
                                                   static_cast<int64_t>(size.height), /*opaque=*/true);
  if (!context_) return;
  const auto metrics = context_->ownTextMetrics();

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
    panel->frame = Rect(areas[i].minX() + 52, areas[i].minY() + 88, areas[i].width() - 52 - 36,
                        areas[i].height() - 88 - 52);
    panel->view = makeView(panel->frame.size, metrics);
    std::vector<LegendEntryPtr> legend;
    if (panel->graph == Graph::measurements) {
      const MeasurementGraph& m = *picture.measurements;
      panel->view->setData(measurementData(m, legend, panel->marks));
      panel->title = "Measurements: " + m.file;
      panel->note = "paper white L* " + fixed(m.paperWhiteL, 2) + ", darkest L* " + fixed(m.darkestL, 2) +
                    ", Dmax " + fixed(m.dmax, 2);
      panel->xTitle = "input (%): the wedge's steps, paper white to darkest";
      panel->yTitle = "L*";
    } else {
      panel->view->setData(inkData(picture.ink, legend));
      panel->title = picture.ink.title;
      panel->note = picture.ink.note;
      panel->xTitle = "input (%)";
      panel->yTitle = picture.ink.withQuad ? "ink (%)" : "output (%)";
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

  // The marks placed by the pixels they land on, now that the graphs stand
  // where they are drawn; the data handed over again, so that the view takes
  // it whole.
  for (const auto& panel : panels_) {
    if (panel->graph != Graph::measurements) continue;
    placeMeasurementMarks(*picture.measurements, panel->marks, *panel->view, panel->frame.origin);
    panel->view->setData(panel->view->data());
  }
  draw(*context_);
}

void PlotFigure::draw(platform::graphics::DrawingContext& context) const {
  const Size size = this->size();
  context.setFillColor(Color::white());
  context.fillRect(Rect(0, 0, size.width, size.height));
  for (const auto& panel : panels_) {
    {
      const SavedGraphicsState saved(context);
      context.translateBy(panel->frame.minX(), panel->frame.minY());
      panel->view->draw(context);
    }
    const Rect content = contentRect(panel->graph);
    // The content's frame, over the ends of the grid lines.
    {
      const SavedGraphicsState saved(context);
      context.setStrokeColor(kAxisLine);
      context.setLineWidth(1);
      context.strokeRect(content);
    }
    drawTitles(context, panel->area, content, panel->title, panel->note, panel->xTitle, panel->yTitle);
  }
}

PlotFigure::~PlotFigure() = default;

Size PlotFigure::size() const {
  return context_ ? Size{static_cast<double>(context_->pixelWidth()), static_cast<double>(context_->pixelHeight())}
                  : Size{0, 0};
}

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

std::optional<std::string> plotOutputError(const std::string& plot, const std::string& out) {
  if (auto problem = outputFileError("plot", plot)) return problem;
  const auto plotFile = CliHost::savedPath(plot, "png"), outFile = CliHost::savedPath(out, "quad");
  std::error_code ec;
  if (plotFile.lexically_normal() == outFile.lexically_normal() || std::filesystem::equivalent(plotFile, outFile, ec))
    return "--plot would write " + plotFile.string() + ", which --out writes too (" + outFile.string() + ")";
  return std::nullopt;
}

void savePlot(const PlotPicture& picture, CliHost& host) {
  const auto png = PlotFigure(picture).png();
  if (!png) {
    host.reportFailure("the plot could not be drawn");
    return;
  }
  linearization::saveTextThroughPanel(host, "png", std::string(png->begin(), png->end()));
}

}  // namespace cli
