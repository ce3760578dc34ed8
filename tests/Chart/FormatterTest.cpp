#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "Chart/ChartExternalNames.h"
#include "Chart/Data/ChartDataEntry.h"
#include "Chart/Utils/ChartUtils.h"

using namespace chart;

namespace {

TEST(IndexAxisValueFormatter, LabelsOnlyPositionsJustAboveAWholeNumber) {
  std::vector<std::string> names;
  for (int i = 0; i <= 10; ++i) names.push_back("v" + std::to_string(i));
  const auto f = IndexAxisValueFormatter::with(names);
  const std::pair<double, const char*> cases[] = {
      {0.0, "v0"},  {10.0, "v10"}, {11.0, ""},  {-1.0, ""},         {3.4, "v3"},
      {3.5, ""},    {3.7, ""},     {-0.3, "v0"}, {-0.5, ""},        {NAN, ""},
      {INFINITY, ""}, {-INFINITY, ""}, {1e300, ""}, {-9.3e18, ""},  {9.3e18, ""},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(f->stringForValue(value, nullptr), text) << value;

  IndexAxisValueFormatter empty;
  EXPECT_EQ(empty.stringForValue(0, nullptr), "");
  empty.setValues({"a", "b", "c"});
  EXPECT_EQ(empty.stringForValue(2, nullptr), "c");
  EXPECT_EQ(empty.stringForValue(3, nullptr), "");
}

TEST(DefaultValueFormatter, DecimalsBlockAndFormatterSettings) {
  const ChartDataEntry entry(4, 9);
  auto text = [&](DefaultValueFormatter& f, double v) { return f.stringForValue(v, entry, 2, nullptr); };

  DefaultValueFormatter one(1);
  EXPECT_TRUE(one.hasAutoDecimals() && one.decimals() == 1);
  EXPECT_EQ(text(one, 12.345), "12.3");
  EXPECT_EQ(text(one, 1234.5), "1,234.5");
  one.setDecimals(0);
  EXPECT_EQ(text(one, 1235.5), "1,236");  // half to even
  one.setDecimals(-1);                     // what a range from 950 up asks for
  EXPECT_EQ(text(one, 1234.56), "1,235");
  one.setDecimals(std::nullopt);  // clears the count, keeps the digits
  EXPECT_EQ(text(one, 2.25), "2");
  EXPECT_EQ(text(*std::make_shared<DefaultValueFormatter>(), 1234.5), "1234");  // plain style

  one.setFormatter(std::make_shared<platform::text::NumberFormatter>());
  EXPECT_FALSE(one.hasAutoDecimals());
  one.setDecimals(3);
  EXPECT_EQ(text(one, 0.5), "0.500");
  one.setBlock([](double v, const ChartDataEntry& e, int64_t set, const ViewPortHandler*) {
    return std::to_string(int(v)) + "@" + std::to_string(int(e.x())) + "/" + std::to_string(set);
  });
  EXPECT_EQ(text(one, 9), "9@4/2");  // the block wins

  const auto blockOnly = DefaultValueFormatter::with(
      [](double, const ChartDataEntry&, int64_t, const ViewPortHandler*) { return std::string("b"); });
  EXPECT_EQ(text(*blockOnly, 1), "b");
  blockOnly->setBlock(nullptr);
  EXPECT_EQ(text(*blockOnly, 1), "");  // neither block nor number formatter

  DefaultAxisValueFormatter axis(2);
  EXPECT_EQ(axis.stringForValue(1234.5, nullptr), "1,234.50");
  axis.setBlock([](double v, const AxisBase* a) { return a ? "" : "no axis " + std::to_string(int(v)); });
  EXPECT_EQ(axis.stringForValue(3, nullptr), "no axis 3");
}

TEST(ChartUtils, SharedDefaultValueFormatterIsMadeOnceUnderRacingFirstCalls) {
  std::vector<std::shared_ptr<IValueFormatter>> seen(8);
  std::vector<std::thread> threads;
  for (auto& slot : seen) threads.emplace_back([&slot] { slot = ChartUtils::defaultValueFormatter(); });
  for (auto& t : threads) t.join();
  for (const auto& f : seen) EXPECT_EQ(f, seen.front());
  const auto shared = std::dynamic_pointer_cast<DefaultValueFormatter>(seen.front());
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared->decimals(), 1);
  EXPECT_TRUE(shared->hasAutoDecimals());
}

}  // namespace
