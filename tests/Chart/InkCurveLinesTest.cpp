#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Data/LineChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Utils/Transformer.h"
#include "starter_curves/StarterCurveTables.h"

using namespace chart;

namespace {

// The application's road for ink curves: each channel's 256 levels become a
// line in percent (level / 655.35) against input step / 2.55, the eight lines
// are gathered in one line chart data, and a transformer prepared from the
// data's extremes maps them into a 600 × 400 chart.
TEST(InkCurveLines, EightChannelsMapInsideTheContentRectangle) {
  const auto& curves = starter_curves::starterCurveTables().k8Standard;
  ASSERT_EQ(curves.size(), 8u);
  std::vector<DataSetPtr> sets;
  for (size_t channel = 0; channel < curves.size(); ++channel) {
    ASSERT_EQ(curves[channel].size(), 256u);
    std::vector<EntryPtr> entries;
    for (size_t step = 0; step < 256; ++step) {
      entries.push_back(std::make_shared<ChartDataEntry>(double(step) / 2.55, curves[channel][step] / 655.35));
    }
    sets.push_back(std::make_shared<LineChartDataSet>(entries, "channel " + std::to_string(channel)));
  }
  const LineChartData data(sets);
  EXPECT_EQ(data.entryCount(), 8 * 256);
  EXPECT_EQ(data.xMin(), 0);
  EXPECT_EQ(data.xMax(), 100);
  EXPECT_GE(data.yMin(), 0);
  EXPECT_LE(data.yMax(), 100);
  EXPECT_LT(data.yMin(), data.yMax());

  for (const bool inverted : {false, true}) {
    auto handler = std::make_shared<ViewPortHandler>(600, 400);
    handler->restrainViewPort(40, 10, 20, 50);
    const Rect content = handler->contentRect();
    Transformer transformer(handler);
    transformer.prepareMatrixValuePx(data.xMin(), data.xMax() - data.xMin(), data.yMax() - data.yMin(), data.yMin());
    transformer.prepareMatrixOffset(inverted);

    // Inside, edges included, and together the points span the rectangle.
    constexpr double tolerance = 1e-9;
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const auto& set : data.dataSets()) {
      std::vector<Point> points;
      for (int64_t i = 0; i < set->entryCount(); ++i) {
        const auto e = set->entryForIndex(i);
        points.push_back({e->x(), e->y()});
      }
      transformer.pointValuesToPixel(points);
      for (const Point& p : points) {
        ASSERT_GE(p.x, content.minX() - tolerance) << *set->label() << (inverted ? " inverted" : "");
        ASSERT_LE(p.x, content.maxX() + tolerance) << *set->label() << (inverted ? " inverted" : "");
        ASSERT_GE(p.y, content.minY() - tolerance) << *set->label() << (inverted ? " inverted" : "");
        ASSERT_LE(p.y, content.maxY() + tolerance) << *set->label() << (inverted ? " inverted" : "");
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
      }
    }
    EXPECT_NEAR(left, content.minX(), tolerance);
    EXPECT_NEAR(right, content.maxX(), tolerance);
    EXPECT_NEAR(top, content.minY(), tolerance);
    EXPECT_NEAR(bottom, content.maxY(), tolerance);
  }
}

}  // namespace
