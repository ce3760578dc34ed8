// Measured values as bars with a target line over them, on a bar chart with
// its legend, written as a PNG (the file named on the command line, or
// bars.png); then a tap on a bar, and what it names.
#include <cstdio>
#include <memory>
#include <vector>

#include "Chart/Data/BarChartData.h"
#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/CombinedChartData.h"
#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Renderers/BarsRenderer.h"
#include "Chart/Renderers/CombinedRenderer.h"
#include "Chart/Renderers/LinePointsRenderer.h"
#include "Chart/Views/BarChartView.h"
#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoImages.h"

using namespace chart;
using platform::graphics::Color;

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : "bars.png";
  // At x = 0, 1, ..., 9: the bars y = 1 + x, the target y = 2 + x.
  std::vector<EntryPtr> measured, target;
  for (double x = 0; x < 10; ++x) {
    measured.push_back(std::make_shared<BarChartDataEntry>(x, 1 + x));
    target.push_back(std::make_shared<ChartDataEntry>(x, 2 + x));
  }
  const auto bars = std::make_shared<BarChartDataSet>(measured, "measured");
  bars->setColor(Color::rgb(0.3, 0.55, 0.8));
  const auto line = std::make_shared<LineChartDataSet>(target, "target");
  line->setColor(Color::rgb(0.85, 0.3, 0.15));
  line->setLineWidth(2);
  line->setCircleColor(Color::rgb(0.85, 0.3, 0.15));
  line->setCircleRadius(4);
  line->setCircleHoleRadius(2);
  const auto data = std::make_shared<CombinedChartData>();
  data->setBarData(std::make_shared<BarChartData>(std::vector<DataSetPtr>{bars}));
  data->setLineData(std::make_shared<LineChartData>(std::vector<DataSetPtr>{line}));

  const auto view = BarChartView::create(Rect(0, 0, 400, 300));
  // Each kind of data by its renderer: the bars, then the line over them.
  view->setRenderer(std::make_shared<CombinedRenderer>(
      view->viewPortHandler(),
      std::vector<std::shared_ptr<DataRenderer>>{std::make_shared<BarsRenderer>(*view, view->viewPortHandler()),
                                                 std::make_shared<LinePointsRenderer>(*view, view->viewPortHandler())}));
  view->xAxis()->setLabelPosition(XAxis::LabelPosition::bottom);
  view->xAxis()->setSpaceMin(0.5);  // room for half a bar at each end
  view->xAxis()->setSpaceMax(0.5);
  view->leftAxis()->setAxisMinimum(0);
  view->rightAxis()->setEnabled(false);
  view->setData(data);

  // An opaque context starts black: paint the background first.
  const auto context = platform::cairo::CairoContext::create(400, 300, /*opaque=*/true);
  context->setFillColor(Color::white());
  context->fillRect(Rect(0, 0, 400, 300));
  view->draw(*context);
  if (!platform::cairo::writePNG(*context->makeImage(1), path)) {
    std::fprintf(stderr, "could not write %s\n", path);
    return 1;
  }
  std::printf("wrote %s\n", path);

  // A tap halfway up bar 3 names the bar: the target's point over it lies
  // beyond a finger's reach (22 points).
  const Point halfway = view->getTransformer(AxisDependency::left)->pixelForValues(3, 2);
  const TouchEvent tap{{Touch{halfway, view.get()}}};
  view->touchesBeganWithEvent(tap);
  view->touchesEndedWithEvent(tap);
  if (const auto tapped = view->lastHighlighted()) {
    // Its set is found by its data index (the sub-data's place in allData())
    // and set index.
    const auto set = data->getDataSetByHighlight(*tapped);
    std::printf("tapped %s at x %g: %g\n", set ? set->label().value_or("").c_str() : "?", tapped->x(), tapped->y());
  }
}
