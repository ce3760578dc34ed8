// Two curves on a line chart with their legend, written as a PNG: the file
// named on the command line, or chart.png.
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Renderers/LinePointsRenderer.h"
#include "Chart/Views/LineChartView.h"
#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoImages.h"

using namespace chart;
using platform::graphics::Color;

// y = f(x) for x = 0, 5, ..., 100: a line 2 points wide in the colour
// given, without circles at the entries.
DataSetPtr curve(const char* label, Color color, double (*f)(double)) {
  std::vector<EntryPtr> entries;
  for (double x = 0; x <= 100; x += 5) entries.push_back(std::make_shared<ChartDataEntry>(x, f(x)));
  auto set = std::make_shared<LineChartDataSet>(entries, label);
  set->setColor(color);
  set->setLineWidth(2);
  set->setDrawCirclesEnabled(false);
  return set;
}

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "chart.png";
  const auto view = LineChartView::create(Rect(0, 0, 640, 400));
  // The view draws the axes, grid, labels and legend; the data is drawn by
  // its data renderer: the library's line-and-points renderer.
  view->setRenderer(std::make_shared<LinePointsRenderer>(*view, view->viewPortHandler()));
  view->xAxis()->setLabelPosition(XAxis::LabelPosition::bottom);
  view->leftAxis()->setAxisMinimum(0);
  view->rightAxis()->setEnabled(false);
  view->setData(std::make_shared<LineChartData>(std::vector<DataSetPtr>{
      curve("linear", Color::rgb(0.8, 0.25, 0.2), [](double x) { return x; }),
      curve("gamma 2.2", Color::rgb(0.2, 0.4, 0.8), [](double x) { return 100 * std::pow(x / 100, 2.2); })}));

  // An opaque context starts black: paint the background first.
  const auto context = platform::cairo::CairoContext::create(640, 400, /*opaque=*/true);
  context->setFillColor(Color::white());
  context->fillRect(Rect(0, 0, 640, 400));
  view->draw(*context);
  if (!platform::cairo::writePNG(*context->makeImage(1), path)) {
    std::fprintf(stderr, "could not write %s\n", path);
    return 1;
  }
  std::printf("wrote %s\n", path);
}
