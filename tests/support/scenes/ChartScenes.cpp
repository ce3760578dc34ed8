#include "support/scenes/ChartScenes.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Components/MarkerImage.h"
#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Data/RadarChartData.h"
#include "Chart/Data/RadarChartDataSet.h"
#include "Chart/Utils/IndexAxisValueFormatter.h"
#include "linearization/InkColors.h"
#include "platform/graphics/SavedGraphicsState.h"
#include "starter_curves/StarterCurveTables.h"

namespace scenes {

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Font;
using platform::graphics::SavedGraphicsState;

PolylineRenderer::PolylineRenderer(const BarLineChartViewBase& view)
    : DataRenderer(view.viewPortHandler()), view_(view) {}

void PolylineRenderer::drawData(platform::graphics::DrawingContext& context) {
  const auto data = view_.data();
  if (!data) return;
  for (const auto& set : data->dataSets()) {
    std::vector<Point> points;
    points.reserve(static_cast<size_t>(set->entryCount()));
    for (int64_t i = 0; i < set->entryCount(); ++i) {
      const auto entry = set->entryForIndex(i);
      points.push_back(Point{entry->x(), entry->y()});
    }
    if (points.empty()) continue;
    view_.getTransformer(set->axisDependency())->pointValuesToPixel(points);
    const SavedGraphicsState saved(context);
    context.setStrokeColor(set->color(0));
    context.setLineWidth(1.5);
    context.beginPath();
    context.moveTo(points[0]);
    for (size_t i = 1; i < points.size(); ++i) context.addLineTo(points[i]);
    context.strokePath();
  }
}

void PolylineRenderer::drawHighlighted(platform::graphics::DrawingContext& context,
                                       const std::vector<std::shared_ptr<Highlight>>& highlights) {
  const auto data = view_.data();
  if (!data) return;
  const ViewPortHandler& h = *viewPortHandler();
  for (const auto& highlight : highlights) {
    const auto set = data->getDataSetByIndex(highlight->dataSetIndex());
    const auto entry = data->entryForHighlight(*highlight);
    if (!set || !entry) continue;
    const Point at = view_.getTransformer(set->axisDependency())->pixelForValues(entry->x(), entry->y());
    if (!h.isInBoundsX(at.x)) continue;
    context.saveGState();
    context.setStrokeColor(Color::rgb(0.2, 0.2, 0.25));
    context.setLineWidth(1);
    context.beginPath();
    context.moveTo(Point{at.x, h.contentTop()});
    context.addLineTo(Point{at.x, h.contentBottom()});
    context.strokePath();
    context.restoreGState();
    highlight->setDraw(at);
  }
}

namespace {

// The K8 standard channels as lines of ink percent against x = step ·
// xPerStep, each named after its ink and in its ink's display colour.
std::shared_ptr<LineChartData> inkCurveLines(double xPerStep) {
  static const char* const names[] = {"K", "C", "M", "Y", "LC", "LM", "LK", "LLK"};
  const auto& curves = starter_curves::starterCurveTables().k8Standard;
  std::vector<DataSetPtr> sets;
  for (size_t channel = 0; channel < curves.size(); ++channel) {
    std::vector<EntryPtr> entries;
    for (size_t step = 0; step < curves[channel].size(); ++step) {
      entries.push_back(std::make_shared<ChartDataEntry>(static_cast<double>(step) * xPerStep,
                                                         curves[channel][step] / 655.35));
    }
    auto set = std::make_shared<LineChartDataSet>(
        entries, channel < std::size(names) ? names[channel] : "channel " + std::to_string(channel));
    set->setColor(linearization::inkChannelColorAt(static_cast<int64_t>(channel)));
    sets.push_back(set);
  }
  return std::make_shared<LineChartData>(sets);
}

// A 48 × 26 callout: a pale box with a dark frame and a dark notch at its
// bottom-left corner.
std::shared_ptr<const platform::graphics::Image> markerImage() {
  constexpr int64_t width = 48;
  constexpr int64_t height = 26;
  std::vector<uint32_t> pixels(static_cast<size_t>(width * height), 0xFFFFF4C8u);
  for (int64_t y = 0; y < height; ++y) {
    for (int64_t x = 0; x < width; ++x) {
      const bool frame = x < 2 || y < 2 || x >= width - 2 || y >= height - 2;
      const bool notch = y >= height - 8 && x < 8 - (height - 1 - y);
      if (frame || notch) pixels[static_cast<size_t>(y * width + x)] = 0xFF3A3A4Au;
    }
  }
  return platform::graphics::Image::make(width, height, std::move(pixels));
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A legend entry of the legend's form size.
LegendEntryPtr legendEntry(std::string label, LegendForm form, Color color, double lineWidth = kNaN,
                           std::optional<std::vector<double>> dash = std::nullopt) {
  return std::make_shared<LegendEntry>(std::move(label), form, kNaN, lineWidth, 0, std::move(dash), color);
}

std::shared_ptr<LineChartView> makeView() {
  auto view = LineChartView::create(Rect(0, 0, 600, 400));
  view->setRenderer(std::make_shared<PolylineRenderer>(*view));
  for (const auto& axis : {view->leftAxis(), view->rightAxis()}) {
    axis->setAxisMinimum(0);
    axis->setAxisMaximum(100);
  }
  view->xAxis()->setLabelPosition(XAxis::LabelPosition::bottom);
  return view;
}

const Color kGridColor = Color::rgb(0.55, 0.55, 0.6);

// Grid lines dashed 4 on 3 off, one point wide, not antialiased.
void dashedGrid(AxisBase& axis) {
  axis.setGridLineDashLengths(std::vector<double>{4, 3});
  axis.setGridColor(kGridColor);
  axis.setGridLineWidth(1);
  axis.setGridAntialiasEnabled(false);
}

void darkZeroLine(YAxis& axis) {
  axis.setDrawZeroLineEnabled(true);
  axis.setZeroLineColor(Color::rgb(0.1, 0.1, 0.1));
  axis.setZeroLineWidth(1.5);
}

}  // namespace

std::shared_ptr<LineChartView> makeMainScene() {
  auto view = makeView();

  XAxis& x = *view->xAxis();
  x.setGranularity(25.5);
  dashedGrid(x);
  auto step = std::make_shared<ChartLimitLine>(25.5, "Step 65");
  step->setLabelPosition(ChartLimitLine::LabelPosition::bottomLeft);
  step->setLineColor(Color::rgb(0.2, 0.45, 0.8));
  step->setLineWidth(1);
  step->setValueFont(Font::systemFont(11));
  x.addLimitLine(step);

  YAxis& left = *view->leftAxis();
  left.setLabelCount(11, true);
  left.setDrawTopYLabelEntryEnabled(false);
  left.setDrawBottomYLabelEntryEnabled(false);
  dashedGrid(left);
  darkZeroLine(left);
  left.addLimitLine(std::make_shared<ChartLimitLine>(50, "Target"));

  YAxis& right = *view->rightAxis();
  right.setLabelPosition(YAxis::LabelPosition::inside);
  right.setDrawTopYLabelEntryEnabled(false);
  right.setDrawBottomYLabelEntryEnabled(false);  // the description stands there
  right.setDrawGridLinesEnabled(false);
  right.setLabelTextColor(Color::rgb(0.35, 0.35, 0.6));
  // Inside the content the labels sit just above their rows, clear of the
  // grid lines.
  right.setYOffset(-8);

  // The legend at the bottom: the three forms, the last a thin dashed line
  // in the limit line's colour.
  view->legend()->setCustom({legendEntry("starter curve", LegendForm::square, linearization::inkChannelColorAt(0)),
                             legendEntry("readings", LegendForm::circle, linearization::inkChannelColorAt(1)),
                             legendEntry("target", LegendForm::line, ChartLimitLine::defaultLineColor, 1.5,
                                         std::vector<double>{3, 2})});

  view->chartDescription()->setText("K8 standard starter curve");
  view->setData(inkCurveLines(1 / 2.55));

  // The marker at the black channel's value at step 250, near the right
  // edge: asked to stand right of and above the value, it is moved back
  // inside the view.
  const auto value = view->data()->getDataSetByIndex(0)->entryForIndex(250);
  const auto highlight = std::make_shared<Highlight>(value->x(), value->y(), 0, -1);
  const Point at = view->getTransformer(AxisDependency::left)->pixelForValues(highlight->x(), highlight->y());
  highlight->setDraw(at);
  view->setHighlighted({highlight});
  auto marker = std::make_shared<MarkerImage>();
  marker->setImage(markerImage());
  marker->setOffset(Point{4, -30});
  marker->setChartView(view);
  view->setMarker(marker);
  return view;
}

std::shared_ptr<LineChartView> makeTouchedMainScene() {
  auto view = makeMainScene();
  view->setDragDecelerationFrictionCoef(0);
  const auto send = [&view](void (NSUIView::*phase)(const TouchEvent&), std::vector<Point> points) {
    TouchEvent event;
    for (const Point p : points) event.touches.push_back(Touch{p, view.get()});
    ((*view).*phase)(event);
  };
  const Point c = view->viewPortHandler()->contentCenter();
  const Point about{c.x - 100, c.y};
  send(&NSUIView::touchesBeganWithEvent, {Point{about.x - 30, about.y - 20}, Point{about.x + 30, about.y + 20}});
  send(&NSUIView::touchesMovedWithEvent, {Point{about.x - 60, about.y - 40}, Point{about.x + 60, about.y + 40}});
  send(&NSUIView::touchesEndedWithEvent, {Point{about.x - 60, about.y - 40}, Point{about.x + 60, about.y + 40}});
  send(&NSUIView::touchesBeganWithEvent, {c});
  for (int i = 1; i <= 4; ++i) send(&NSUIView::touchesMovedWithEvent, {Point{c.x - 30 * i, c.y - 10 * i}});
  send(&NSUIView::touchesEndedWithEvent, {Point{c.x - 120, c.y - 40}});
  for (const auto& set : view->data()->dataSets()) {
    const auto entry = set->entryForIndex(150);
    const Point value = view->getTransformer(AxisDependency::left)->pixelForValues(entry->x(), entry->y());
    if (!view->viewPortHandler()->isInBounds(value)) continue;
    send(&NSUIView::touchesBeganWithEvent, {value});
    send(&NSUIView::touchesEndedWithEvent, {value});
    break;
  }
  return view;
}

std::shared_ptr<LineChartView> makeTurnedLabelsScene() {
  auto view = makeView();
  XAxis& x = *view->xAxis();
  x.setValueFormatter(std::make_shared<IndexAxisValueFormatter>(std::vector<std::string>{
      "paper white", "light highlights", "highlights", "quarter tones", "light mid tones", "mid tones",
      "dark mid tones", "three quarter tones", "shadows", "deep shadows", "maximum black"}));
  x.setGranularity(1);
  x.setLabelCount(11);
  x.setLabelRotationAngle(45);
  x.setWordWrapEnabled(true);
  view->rightAxis()->setEnabled(false);
  // The channels' legend, built from the data, one under another at the
  // right edge, each label left of its form.
  Legend& legend = *view->legend();
  legend.setOrientation(Legend::Orientation::vertical);
  legend.setHorizontalAlignment(Legend::HorizontalAlignment::right);
  legend.setVerticalAlignment(Legend::VerticalAlignment::center);
  legend.setDirection(Legend::Direction::rightToLeft);
  view->chartDescription()->setText("patches");
  view->setData(inkCurveLines(10 / 255.0));
  return view;
}

namespace {

const std::vector<std::string> kChannelNames = {"K", "C", "M", "Y", "LC", "LM", "LK", "LLK"};

// The peak of each channel of the curves in percent.
std::vector<double> peakInk(const starter_curves::InkCurves& curves) {
  std::vector<double> peaks;
  for (const auto& channel : curves) peaks.push_back(*std::max_element(channel.begin(), channel.end()) / 655.35);
  return peaks;
}

std::vector<EntryPtr> radarEntries(const std::vector<double>& values) {
  std::vector<EntryPtr> entries;
  for (const double value : values) entries.push_back(std::make_shared<RadarChartDataEntry>(value));
  return entries;
}

// Strokes the current path through the points, closed.
void strokePolygon(platform::graphics::DrawingContext& context, const std::vector<Point>& points) {
  if (points.empty()) return;
  context.beginPath();
  context.moveTo(points[0]);
  for (size_t i = 1; i < points.size(); ++i) context.addLineTo(points[i]);
  context.closePath();
  context.strokePath();
}

// Draws each bar as a rectangle from 0 to its value, in the channel's ink
// colour, through the transformer of the set's axis.
class BarRectRenderer : public DataRenderer {
 public:
  explicit BarRectRenderer(const BarLineChartViewBase& view) : DataRenderer(view.viewPortHandler()), view_(view) {}
  void drawData(platform::graphics::DrawingContext& context) override {
    const auto data = std::dynamic_pointer_cast<BarChartData>(view_.data());
    if (!data) return;
    const double half = data->barWidth() / 2;
    for (const auto& set : data->dataSets()) {
      const auto& transformer = *view_.getTransformer(set->axisDependency());
      for (int64_t i = 0; i < set->entryCount(); ++i) {
        const auto entry = set->entryForIndex(i);
        // Turned: the value runs across, the category up.
        Rect bar(0, entry->x() - half, entry->y(), 2 * half);
        transformer.rectValueToPixel(bar);
        const SavedGraphicsState saved(context);
        context.setFillColor(linearization::inkChannelColorAt(i));
        context.fillRect(bar);
      }
    }
  }

 private:
  const BarLineChartViewBase& view_;
};

}  // namespace

std::shared_ptr<HorizontalBarChartView> makeHorizontalBarScene() {
  auto view = HorizontalBarChartView::create(Rect(0, 0, 600, 400));
  view->setRenderer(std::make_shared<BarRectRenderer>(*view));

  XAxis& x = *view->xAxis();
  x.setLabelPosition(XAxis::LabelPosition::bottom);
  x.setValueFormatter(std::make_shared<IndexAxisValueFormatter>(kChannelNames));
  x.setGranularity(1);
  x.setLabelCount(8);
  // Room for half a bar beyond the first and the last channel.
  x.setSpaceMin(0.5);
  x.setSpaceMax(0.5);
  x.setGridColor(kGridColor);
  auto light = std::make_shared<ChartLimitLine>(3.5, "light inks");
  light->setLineColor(Color::rgb(0.2, 0.45, 0.8));
  light->setLineWidth(1);
  light->setLabelPosition(ChartLimitLine::LabelPosition::topRight);
  light->setValueFont(Font::systemFont(11));
  x.addLimitLine(light);

  YAxis& left = *view->leftAxis();
  YAxis& right = *view->rightAxis();
  for (YAxis* axis : {&left, &right}) {
    axis->setAxisMinimum(0);
    axis->setAxisMaximum(100);
  }
  dashedGrid(left);
  darkZeroLine(left);
  left.addLimitLine(std::make_shared<ChartLimitLine>(50, "Target"));
  right.setDrawGridLinesEnabled(false);
  right.setLabelTextColor(Color::rgb(0.35, 0.35, 0.6));

  view->chartDescription()->setText("K8 standard: peak ink per channel");
  std::vector<EntryPtr> bars;
  for (const double peak : peakInk(starter_curves::starterCurveTables().k8Standard)) {
    bars.push_back(std::make_shared<BarChartDataEntry>(static_cast<double>(bars.size()), peak));
  }
  auto set = std::make_shared<BarChartDataSet>(bars, "peak ink");
  view->setData(std::make_shared<BarChartData>(std::vector<DataSetPtr>{set}));
  return view;
}

RadarWebRenderer::RadarWebRenderer(const RadarChartView& view) : DataRenderer(view.viewPortHandler()), view_(view) {}

void RadarWebRenderer::drawData(platform::graphics::DrawingContext& context) {
  const auto data = view_.data();
  const DataSetPtr largest = data ? data->maxEntryCountSet() : nullptr;
  if (!largest) return;
  const int64_t spokes = largest->entryCount();
  const Point centre = view_.centerOffsets();
  const double factor = view_.factor();
  const auto spokePoint = [&](int64_t i, double value) {
    return radarPoint(centre, (value - view_.chartYMin()) * factor,
                      view_.sliceAngle() * static_cast<double>(i) + view_.rotationAngle());
  };

  const SavedGraphicsState saved(context);
  context.setStrokeColor(Color::rgb(0.6, 0.6, 0.65));
  context.setLineWidth(1);
  const double outer = view_.chartYMin() + view_.yRange();
  for (int64_t i = 0; i < spokes; ++i) {
    context.beginPath();
    context.moveTo(centre);
    context.addLineTo(spokePoint(i, outer));
    context.strokePath();
  }
  context.setStrokeColor(Color::rgb(0.75, 0.75, 0.8));
  for (const double ring : view_.yAxis()->entries()) {
    std::vector<Point> points;
    for (int64_t i = 0; i < spokes; ++i) points.push_back(spokePoint(i, ring));
    strokePolygon(context, points);
  }

  context.setLineWidth(2);
  for (const auto& set : data->dataSets()) {
    std::vector<Point> points;
    for (int64_t i = 0; i < set->entryCount(); ++i) points.push_back(spokePoint(i, set->entryForIndex(i)->y()));
    context.setStrokeColor(set->color(0));
    strokePolygon(context, points);
  }
}

std::shared_ptr<RadarChartView> makeRadarScene() {
  auto view = RadarChartView::create(Rect(0, 0, 600, 400));
  view->setRenderer(std::make_shared<RadarWebRenderer>(*view));
  view->xAxis()->setValueFormatter(std::make_shared<IndexAxisValueFormatter>(kChannelNames));
  YAxis& y = *view->yAxis();
  y.setAxisMinimum(0);
  y.setLabelCount(5);
  // The outermost label would stand on the top spoke's name.
  y.setDrawTopYLabelEntryEnabled(false);
  y.addLimitLine(std::make_shared<ChartLimitLine>(50, "Target"));

  const auto& tables = starter_curves::starterCurveTables();
  auto standard = std::make_shared<RadarChartDataSet>(radarEntries(peakInk(tables.k8Standard)), "standard");
  standard->setColor(Color::rgb(0.15, 0.35, 0.75));
  auto carbon = std::make_shared<RadarChartDataSet>(radarEntries(peakInk(tables.k8Carbon)), "carbon");
  carbon->setColor(Color::rgb(0.2, 0.2, 0.2));
  view->chartDescription()->setText("peak ink per channel");
  view->setData(std::make_shared<RadarChartData>(std::vector<DataSetPtr>{standard, carbon}));
  return view;
}

}  // namespace scenes
