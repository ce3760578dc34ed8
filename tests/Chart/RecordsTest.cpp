// Entries, highlights and ranges: the chart's small reference records.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <type_traits>
#include <limits>

#include "Chart/ChartExternalNames.h"
#include "Chart/Data/ChartDataEntry.h"

using namespace chart;

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(ChartDataEntry, EqualityIsByValueAndNotSymmetricAcrossClasses) {
  const auto payload = std::make_shared<int>(7);
  const auto icon = platform::graphics::Image::make(1, 1, {0xFFFFFFFFu});
  ChartDataEntry a(1, 2);
  ChartDataEntry sameValues(1, 2, icon, payload);  // icon and payload take no part
  ChartDataEntry otherX(3, 2);
  ChartDataEntry nanY(1, nan);
  ChartDataEntry otherNanY(1, nan);
  ChartDataEntryBase base(2);

  EXPECT_TRUE(a.isEqual(&sameValues));
  EXPECT_FALSE(a.isEqual(&otherX));
  EXPECT_FALSE(a.isEqual(nullptr));
  EXPECT_TRUE(nanY.isEqual(&nanY));
  EXPECT_FALSE(nanY.isEqual(&otherNanY));
  // The base entry asks only for a base entry with the same y; the x entry
  // asks for an x entry.
  EXPECT_TRUE(base.isEqual(&a));
  EXPECT_TRUE(base.isEqual(&otherX));
  EXPECT_FALSE(a.isEqual(&base));
}

TEST(ChartDataEntry, Descriptions) {
  EXPECT_EQ(ChartDataEntry(0, 100).description(), "ChartDataEntry, x: 0.0, y 100.0");
  EXPECT_EQ(ChartDataEntry(3, 0.5).description(), "ChartDataEntry, x: 3.0, y 0.5");
  EXPECT_EQ(ChartDataEntry(-2, 0.1 + 0.2).description(), "ChartDataEntry, x: -2.0, y 0.30000000000000004");
  EXPECT_EQ(ChartDataEntry(nan, -INFINITY).description(), "ChartDataEntry, x: nan, y -inf");
  EXPECT_EQ(ChartDataEntryBase(0.5).description(), "ChartDataEntryBase, y 0.5");
  EXPECT_EQ(ChartDataEntryBase().description(), "ChartDataEntryBase, y 0.0");
}

// A derived entry: copies as itself and carries its own field.
class LabelledEntry : public ChartDataEntry {
 public:
  using ChartDataEntry::ChartDataEntry;
  std::string tag;

 protected:
  std::shared_ptr<ChartDataEntry> makeEmpty() const override { return std::make_shared<LabelledEntry>(); }
  void copyInto(ChartDataEntry& target) const override {
    ChartDataEntry::copyInto(target);
    dynamic_cast<LabelledEntry&>(target).tag = tag;
  }
};

TEST(ChartDataEntry, CopySharesThePayloadAndDropsTheIcon) {
  const auto payload = std::make_shared<std::string>("note");
  LabelledEntry original(4, 5, platform::graphics::Image::make(1, 1, {0u}), payload);
  original.tag = "K";
  const auto copied = original.copy();
  ASSERT_EQ(typeid(*copied), typeid(LabelledEntry));
  EXPECT_EQ(copied->x(), 4);
  EXPECT_EQ(copied->y(), 5);
  EXPECT_EQ(std::any_cast<std::shared_ptr<std::string>>(copied->data()), payload);
  EXPECT_EQ(copied->icon(), nullptr);
  EXPECT_EQ(static_cast<LabelledEntry&>(*copied).tag, "K");
  EXPECT_TRUE(copied->isEqual(&original));
  EXPECT_NE(copied.get(), &original);
}

TEST(Highlight, InitialisersFillTheRestWithDefaults) {
  const auto L = AxisDependency::left, R = AxisDependency::right;
  using DI = Highlight::DataIndex;
  using DSI = Highlight::DataSetIndex;
  using SI = Highlight::StackIndex;
  // Each row: the highlight, then x, y, xPx, yPx, dataIndex, dataSetIndex, stackIndex, axis.
  const std::tuple<std::shared_ptr<Highlight>, std::array<double, 7>, AxisDependency> rows[] = {
      {std::make_shared<Highlight>(), {nan, nan, nan, nan, -1, 0, -1}, L},
      {std::make_shared<Highlight>(3, 4, 10, 20, 5, 1, 2, R), {3, 4, 10, 20, 5, 1, 2}, R},
      // The seven-argument form sets dataIndex 0, its siblings -1.
      {std::make_shared<Highlight>(3, 4, 10, 20, 1, 2, R), {3, 4, 10, 20, 0, 1, 2}, R},
      {std::make_shared<Highlight>(3, 4, 10, 20, 1, R), {3, 4, 10, 20, -1, 1, -1}, R},
      {std::make_shared<Highlight>(3, 4, 1, 6), {3, 4, nan, nan, 6, 1, -1}, L},
      {std::make_shared<Highlight>(3, int64_t{1}, int64_t{2}), {3, nan, nan, nan, -1, 1, 2}, L},
      // The typed twins.
      {std::make_shared<Highlight>(3, 4, 10, 20, DI{5}, DSI{1}, SI{2}, R), {3, 4, 10, 20, 5, 1, 2}, R},
      {std::make_shared<Highlight>(3, 4, 10, 20, DSI{1}, SI{2}, R), {3, 4, 10, 20, 0, 1, 2}, R},
      {std::make_shared<Highlight>(3, 4, DSI{1}, DI{6}), {3, 4, nan, nan, 6, 1, -1}, L},
      {std::make_shared<Highlight>(3, DSI{1}, SI{2}), {3, nan, nan, nan, -1, 1, 2}, L},
  };
  // A swapped pair of typed indices does not compile.
  static_assert(!std::is_constructible_v<Highlight, double, double, DI, DSI>);
  static_assert(!std::is_constructible_v<Highlight, double, double, double, double, DSI, DI, SI, AxisDependency>);
  static_assert(!std::is_constructible_v<Highlight, double, SI, DSI>);
  for (const auto& [h, v, axis] : rows) {
    const std::array<double, 7> got = {h->x(), h->y(), h->xPx(), h->yPx(), double(h->dataIndex()),
                                       double(h->dataSetIndex()), double(h->stackIndex())};
    for (size_t i = 0; i < 7; ++i) EXPECT_TRUE(got[i] == v[i] || (std::isnan(got[i]) && std::isnan(v[i]))) << i;
    EXPECT_EQ(h->isStacked(), v[6] >= 0);
    EXPECT_EQ(h->axis(), axis);
    EXPECT_EQ(std::pair(h->drawX(), h->drawY()), std::pair(0.0, 0.0));
  }
  Highlight h;
  h.setDraw(platform::graphics::Point{7, 8});
  EXPECT_EQ(std::pair(h.drawX(), h.drawY()), std::pair(7.0, 8.0));
}

TEST(Highlight, EqualityIgnoresPixelsAxisAndDrawPosition) {
  Highlight a(1, 2, 10, 20, -1, 0, -1, AxisDependency::left);
  Highlight b(1, 2, 99, 98, -1, 0, -1, AxisDependency::right);
  b.setDraw(5, 6);
  EXPECT_TRUE(a.isEqual(&b));
  Highlight otherSet(1, 2, 10, 20, -1, 1, -1, AxisDependency::left);
  EXPECT_FALSE(a.isEqual(&otherSet));
  const Highlight stack0(1, 2, 10, 20, -1, 0, 0, AxisDependency::left);
  const Highlight stack0Too(1, 2, 0, 0, -1, 0, 0, AxisDependency::right);
  const Highlight stack2(1, 2, 10, 20, -1, 0, 2, AxisDependency::left);
  EXPECT_TRUE(stack0.isEqual(&stack0Too));
  EXPECT_FALSE(a.isEqual(&stack0) || stack0.isEqual(&stack2)) << "stack indices -1, 0 and 2 differ";
  b.setDataIndex(3);
  EXPECT_FALSE(a.isEqual(&b));
  EXPECT_FALSE(a.isEqual(nullptr));

  Highlight stacked(1, int64_t{0}, int64_t{2});  // y is not-a-number
  Highlight stackedToo(1, int64_t{0}, int64_t{2});
  EXPECT_TRUE(stacked.isEqual(&stacked));
  EXPECT_FALSE(stacked.isEqual(&stackedToo));
}

TEST(Highlight, Description) {
  EXPECT_EQ(Highlight().description(),
            "Highlight, x: nan, y: nan, dataIndex (combined charts): -1, dataSetIndex: 0, "
            "stackIndex (only stacked barentry): -1");
  EXPECT_EQ(Highlight(3, -std::numeric_limits<double>::quiet_NaN(), 2, 5).description(),
            "Highlight, x: 3.0, y: nan, dataIndex (combined charts): 5, dataSetIndex: 2, "
            "stackIndex (only stacked barentry): -1");
}

TEST(Range, HoldsItsUpperEndButNotItsLowerOne) {
  struct Case {
    double from, to, value;
    bool contains, larger, smaller;
  };
  const Case cases[] = {
      {0, 2, 0, false, false, false}, {0, 2, 1, true, false, false},   {0, 2, 2, true, false, false},
      {0, 2, 2.5, false, true, false}, {0, 2, -0.1, false, false, true}, {0, 2, nan, false, false, false},
      {3, 1, 2, false, true, true},  // reversed ends: contains nothing
  };
  for (const auto& c : cases) {
    const ChartRange r(c.from, c.to);
    EXPECT_EQ(r.contains(c.value), c.contains) << c.from << ".." << c.to << " " << c.value;
    EXPECT_EQ(r.isLarger(c.value), c.larger) << c.from << ".." << c.to << " " << c.value;
    EXPECT_EQ(r.isSmaller(c.value), c.smaller) << c.from << ".." << c.to << " " << c.value;
  }
}

}  // namespace
