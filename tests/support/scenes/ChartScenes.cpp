#include "support/scenes/ChartScenes.h"

#include <string>
#include <vector>

#include "Chart/Components/ChartLimitLine.h"
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
// xPerStep, each in its ink's display colour.
std::shared_ptr<LineChartData> inkCurveLines(double xPerStep) {
  const auto& curves = starter_curves::starterCurveTables().k8Standard;
  std::vector<DataSetPtr> sets;
  for (size_t channel = 0; channel < curves.size(); ++channel) {
    std::vector<EntryPtr> entries;
    for (size_t step = 0; step < curves[channel].size(); ++step) {
      entries.push_back(std::make_shared<ChartDataEntry>(static_cast<double>(step) * xPerStep,
                                                         curves[channel][step] / 655.35));
    }
    auto set = std::make_shared<LineChartDataSet>(entries, "channel " + std::to_string(channel));
    set->setColor(linearization::inkChannelColorAt(static_cast<int64_t>(channel)));
    sets.push_back(set);
  }
  return std::make_shared<LineChartData>(sets);
}

std::shared_ptr<LineChartView> makeView() {
  auto view = std::make_shared<LineChartView>(Rect(0, 0, 600, 400));
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

  view->chartDescription()->setText("K8 standard starter curve");
  view->setData(inkCurveLines(1 / 2.55));
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
  view->chartDescription()->setText("patches");
  view->setData(inkCurveLines(10 / 255.0));
  return view;
}

}  // namespace scenes
