#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "Chart/Data/BubbleChartData.h"
#include "Chart/Data/BubbleChartDataSet.h"
#include "Chart/Data/CandleChartData.h"
#include "Chart/Data/CandleChartDataSet.h"
#include "Chart/Data/LineChartDataSet.h"

using namespace chart;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

std::shared_ptr<CandleChartDataEntry> candle(double x, double high, double low) {
  return std::make_shared<CandleChartDataEntry>(x, high, low, low, high);
}

std::shared_ptr<BubbleChartDataSet> bubbles(std::vector<double> sizes) {
  std::vector<EntryPtr> entries;
  for (size_t i = 0; i < sizes.size(); ++i) {
    entries.push_back(std::make_shared<BubbleChartDataEntry>(double(i), double(i) * 2, sizes[i]));
  }
  return std::make_shared<BubbleChartDataSet>(entries);
}

// y is the middle of the shadow, whatever is assigned to it.
TEST(CandleChartDataEntry, YIsTheShadowMiddle) {
  CandleChartDataEntry e(2, 10, 4, 5, 8);
  EXPECT_EQ(e.x(), 2);
  EXPECT_EQ(e.y(), 7);
  EXPECT_EQ(e.shadowRange(), 6);
  EXPECT_EQ(e.bodyRange(), 3);
  e.setY(100);
  EXPECT_EQ(e.y(), 7);
  e.setHigh(20);
  EXPECT_EQ(e.y(), 7);
  e.setY(0);
  EXPECT_EQ(e.y(), 12);
  e.setOpen(9);
  e.setClose(1);
  EXPECT_EQ(e.bodyRange(), 8);
  EXPECT_EQ(e.shadowRange(), 16);
}

TEST(CandleChartDataSet, ExtremesByHighAndLowAndTheBarSpaceClamp) {
  // A plain entry among the candles counts for nothing, x included.
  const auto set = std::make_shared<CandleChartDataSet>(
      std::vector<EntryPtr>{candle(0, 10, 4), candle(1, 12, 6), std::make_shared<ChartDataEntry>(2, 50)});
  EXPECT_EQ(set->yMin(), 4);
  EXPECT_EQ(set->yMax(), 12);
  EXPECT_EQ(set->xMin(), 0);
  EXPECT_EQ(set->xMax(), 1);
  EXPECT_EQ(CandleChartData(DataSetPtr(set)).yMin(), 4);
  set->calcMinMaxY(1, 1);
  EXPECT_EQ(set->yMin(), 6);
  EXPECT_EQ(set->yMax(), 12);

  const CandleChartDataSet fresh;
  EXPECT_EQ(fresh.barSpace(), 0.1);
  EXPECT_TRUE(fresh.showCandleBar());
  EXPECT_EQ(fresh.shadowWidth(), 1.5);
  EXPECT_FALSE(fresh.isShadowColorSameAsCandle());
  EXPECT_FALSE(fresh.shadowColor() || fresh.neutralColor() || fresh.increasingColor() || fresh.decreasingColor());
  EXPECT_FALSE(fresh.isIncreasingFilled());
  EXPECT_TRUE(fresh.isDecreasingFilled());

  const std::pair<double, double> spaces[] = {{0.7, 0.45}, {-1, 0}, {-0.0, 0}, {0.2, 0.2}, {0.45, 0.45}};
  for (const auto& [given, stored] : spaces) {
    set->setBarSpace(given);
    EXPECT_EQ(set->barSpace(), stored) << given;
    EXPECT_FALSE(std::signbit(set->barSpace())) << given;
  }
  set->setBarSpace(nan);
  EXPECT_TRUE(std::isnan(set->barSpace()));
}

// maxSize only grows: recomputing the extremes leaves it alone.
TEST(BubbleChartDataSet, MaxSizeOnlyGrows) {
  const auto set = bubbles({3, 9, 4});
  EXPECT_EQ(set->maxSize(), 9);
  EXPECT_EQ(set->yMax(), 4);
  ASSERT_TRUE(set->removeEntryWithIndex(1));
  EXPECT_EQ(set->entryCount(), 2);
  set->calcMinMax();
  EXPECT_EQ(set->maxSize(), 9);
  EXPECT_EQ(set->xMax(), 2);
  set->addEntry(std::make_shared<BubbleChartDataEntry>(3, 1, 12));
  EXPECT_EQ(set->maxSize(), 12);
  // Entries that are not bubbles count for nothing.
  set->addEntry(std::make_shared<ChartDataEntry>(9, 99));
  EXPECT_EQ(set->xMax(), 3);

  EXPECT_EQ(bubbles({-3, -1})->maxSize(), 0);
  const BubbleChartDataSet fresh;
  EXPECT_EQ(fresh.maxSize(), 0);
  EXPECT_TRUE(fresh.isNormalizeSizeEnabled());
  EXPECT_EQ(fresh.highlightCircleWidth(), 2.5);
}

TEST(BubbleChartData, HighlightCircleWidthOnlyWhenEverySetIsABubbleSet) {
  const auto a = bubbles({1});
  const auto b = bubbles({2});
  BubbleChartData both({a, b});
  both.setHighlightCircleWidth(4);
  EXPECT_EQ(a->highlightCircleWidth(), 4);
  EXPECT_EQ(b->highlightCircleWidth(), 4);

  const auto c = bubbles({1});
  BubbleChartData mixed({c, std::make_shared<LineChartDataSet>()});
  mixed.setHighlightCircleWidth(4);
  EXPECT_EQ(c->highlightCircleWidth(), 2.5);
}

}  // namespace
