#include "support/scenes/ChartScenes.h"

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Components/MarkerImage.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Utils/IndexAxisValueFormatter.h"
#include "linearization/InkColors.h"
#include "starter_curves/StarterCurveTables.h"

namespace scenes {

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Font;

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
    context.saveGState();
    context.setStrokeColor(set->color(0));
    context.setLineWidth(1.5);
    context.beginPath();
    context.moveTo(points[0]);
    for (size_t i = 1; i < points.size(); ++i) context.addLineTo(points[i]);
    context.strokePath();
    context.restoreGState();
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

}  // namespace

std::shared_ptr<LineChartView> makeMainScene() {
  auto view = makeView();
  const Color gridColor = Color::rgb(0.55, 0.55, 0.6);

  XAxis& x = *view->xAxis();
  x.setGranularity(25.5);
  x.setGridLineDashLengths(std::vector<double>{4, 3});
  x.setGridColor(gridColor);
  x.setGridLineWidth(1);
  x.setGridAntialiasEnabled(false);
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
  left.setGridLineDashLengths(std::vector<double>{4, 3});
  left.setGridColor(gridColor);
  left.setGridLineWidth(1);
  left.setGridAntialiasEnabled(false);
  left.setDrawZeroLineEnabled(true);
  left.setZeroLineColor(Color::rgb(0.1, 0.1, 0.1));
  left.setZeroLineWidth(1.5);
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

}  // namespace scenes
