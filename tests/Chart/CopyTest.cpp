#include <gtest/gtest.h>

#include <any>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <typeinfo>
#include <vector>

#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/BubbleChartDataSet.h"
#include "Chart/Data/CandleChartDataSet.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Data/PieChartDataSet.h"
#include "Chart/Data/RadarChartDataSet.h"
#include "Chart/Data/ScatterChartDataSet.h"
#include "Chart/Utils/DefaultValueFormatter.h"

// One sweep over every concrete entry and data-set class: a copy is a new
// object of the source's own class that reads the same values, except what a
// copy leaves out (an entry's icon, a bar entry's ranges, a candle set's and
// a radar set's own settings, which start at their defaults).
using namespace chart;
using platform::graphics::Color;
using platform::graphics::Font;
using platform::graphics::Image;

namespace {

const Color kRed = Color::rgb(1, 0, 0);
const Color kGreen = Color::rgb(0, 1, 0);
const Color kBlue = Color::rgb(0, 0, 1);

template <typename T>
const T& as(const ChartDataEntry& e) {
  return dynamic_cast<const T&>(e);
}
template <typename T>
const T& as(const ChartBaseDataSet& s) {
  return dynamic_cast<const T&>(s);
}

bool sameNumber(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

TEST(Copies, EveryEntryClass) {
  using Make = std::function<std::shared_ptr<ChartDataEntry>(std::shared_ptr<const Image>, std::any)>;
  using Same = std::function<void(const ChartDataEntry&, const ChartDataEntry&)>;
  struct Case {
    const char* name;
    Make make;
    Same same;
  };
  const Case cases[] = {
      {"ChartDataEntry", [](auto icon, auto data) { return std::make_shared<ChartDataEntry>(3, 4, icon, data); },
       [](const auto&, const auto&) {}},
      {"BarChartDataEntry",
       [](auto icon, auto data) {
         return std::make_shared<BarChartDataEntry>(2, std::vector<double>{2, -3, 4, -1}, icon, data);
       },
       [](const auto& source, const auto& copy) {
         const auto& s = as<BarChartDataEntry>(source);
         const auto& c = as<BarChartDataEntry>(copy);
         EXPECT_EQ(c.yValues(), s.yValues());
         EXPECT_EQ(c.positiveSum(), 6);
         EXPECT_EQ(c.negativeSum(), 4);
         EXPECT_TRUE(s.ranges().has_value());
         EXPECT_EQ(c.ranges(), std::nullopt);
       }},
      {"BubbleChartDataEntry",
       [](auto icon, auto data) { return std::make_shared<BubbleChartDataEntry>(1, 2, 7, icon, data); },
       [](const auto&, const auto& copy) { EXPECT_EQ(as<BubbleChartDataEntry>(copy).size(), 7); }},
      {"CandleChartDataEntry",
       [](auto icon, auto data) {
         auto e = std::make_shared<CandleChartDataEntry>(2, 10, 4, 5, 8, icon, data);
         e->setHigh(20);  // y stays 7 until it is next assigned
         return e;
       },
       [](const auto&, const auto& copy) {
         const auto& c = as<CandleChartDataEntry>(copy);
         EXPECT_EQ(c.y(), 7);
         EXPECT_EQ(c.high(), 20);
         EXPECT_EQ(c.low(), 4);
         EXPECT_EQ(c.open(), 5);
         EXPECT_EQ(c.close(), 8);
       }},
      {"PieChartDataEntry",
       [](auto icon, auto data) { return std::make_shared<PieChartDataEntry>(30, "Cyan", icon, data); },
       [](const auto&, const auto& copy) { EXPECT_EQ(as<PieChartDataEntry>(copy).label(), "Cyan"); }},
      {"RadarChartDataEntry",
       [](auto icon, auto data) {
         auto e = std::make_shared<RadarChartDataEntry>(4.5, data);
         e->setIcon(icon);
         return e;
       },
       [](const auto&, const auto&) {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto payload = std::make_shared<std::string>("note");
    const auto source = c.make(Image::make(1, 1, {0u}), payload);
    const auto copy = source->copy();
    ASSERT_EQ(typeid(*copy), typeid(*source));
    EXPECT_NE(copy, source);
    EXPECT_TRUE(sameNumber(copy->x(), source->x()));
    EXPECT_EQ(copy->y(), source->y());
    EXPECT_EQ(std::any_cast<std::shared_ptr<std::string>>(copy->data()), payload);
    EXPECT_NE(source->icon(), nullptr);
    EXPECT_EQ(copy->icon(), nullptr);
    c.same(*source, *copy);
  }
}

TEST(Copies, EveryDataSetClass) {
  using Make = std::function<std::shared_ptr<ChartBaseDataSet>()>;
  using Same = std::function<void(const ChartBaseDataSet&, const ChartBaseDataSet&)>;
  struct Case {
    const char* name;
    Make make;
    Same same;
  };
  const auto points = [] {
    return std::vector<EntryPtr>{std::make_shared<ChartDataEntry>(0, 2), std::make_shared<ChartDataEntry>(3, 8)};
  };
  const auto highlighted = [](auto set) {
    set->setHighlightColor(kGreen);
    set->setHighlightLineWidth(3);
    set->setHighlightLineDashLengths(std::vector<double>{2, 1});
    set->setHighlightLineDashPhase(0.5);
    return set;
  };
  const auto sameHighlight = [](const ChartBaseDataSet& copy) {
    const auto& c = as<IBarLineScatterCandleBubbleChartDataSet>(copy);
    EXPECT_EQ(c.highlightColor(), kGreen);
    EXPECT_EQ(c.highlightLineWidth(), 3);
    EXPECT_EQ(c.highlightLineDashLengths(), (std::vector<double>{2, 1}));
    EXPECT_EQ(c.highlightLineDashPhase(), 0.5);
  };
  const Case cases[] = {
      {"ChartDataSet", [&] { return std::make_shared<ChartDataSet>(points()); }, [](const auto&, const auto&) {}},
      {"BarLineScatterCandleBubbleChartDataSet",
       [&] { return highlighted(std::make_shared<BarLineScatterCandleBubbleChartDataSet>(points())); },
       [&](const auto&, const auto& copy) { sameHighlight(copy); }},
      {"LineScatterCandleRadarChartDataSet",
       [&] { return highlighted(std::make_shared<LineScatterCandleRadarChartDataSet>(points())); },
       [&](const auto&, const auto& copy) { sameHighlight(copy); }},
      {"LineRadarChartDataSet", [&] { return highlighted(std::make_shared<LineRadarChartDataSet>(points())); },
       [&](const auto&, const auto& copy) { sameHighlight(copy); }},
      {"LineChartDataSet", [&] { return highlighted(std::make_shared<LineChartDataSet>(points())); },
       [&](const auto&, const auto& copy) { sameHighlight(copy); }},
      {"BarChartDataSet",
       [&] {
         auto set = highlighted(std::make_shared<BarChartDataSet>(
             std::vector<EntryPtr>{std::make_shared<BarChartDataEntry>(0, std::vector<double>{1, -2, 3}),
                                   std::make_shared<BarChartDataEntry>(1, 5)}));
         set->setStackLabels({"K", "C", "M"});
         set->setBarBorderColor(kBlue);
         set->setHighlightAlpha(0.9);
         return set;
       },
       [&](const auto&, const auto& copy) {
         sameHighlight(copy);
         const auto& c = as<BarChartDataSet>(copy);
         EXPECT_EQ(c.stackSize(), 3);
         EXPECT_EQ(c.entryCountStacks(), 4);
         EXPECT_EQ(c.stackLabels(), (std::vector<std::string>{"K", "C", "M"}));
         EXPECT_EQ(c.barBorderColor(), kBlue);
         EXPECT_EQ(c.highlightAlpha(), 0.9);
       }},
      {"BubbleChartDataSet",
       [&] {
         auto set = highlighted(std::make_shared<BubbleChartDataSet>(std::vector<EntryPtr>{
             std::make_shared<BubbleChartDataEntry>(0, 1, 9), std::make_shared<BubbleChartDataEntry>(2, 1, 3)}));
         set->removeEntryWithIndex(0);  // maxSize stays 9
         set->setNormalizeSizeEnabled(false);
         set->setHighlightCircleWidth(4);
         return set;
       },
       [&](const auto&, const auto& copy) {
         sameHighlight(copy);
         const auto& c = as<BubbleChartDataSet>(copy);
         EXPECT_EQ(c.maxSize(), 9);
         EXPECT_FALSE(c.isNormalizeSizeEnabled());
         EXPECT_EQ(c.highlightCircleWidth(), 4);
       }},
      {"CandleChartDataSet",
       [&] {
         auto set = highlighted(std::make_shared<CandleChartDataSet>(
             std::vector<EntryPtr>{std::make_shared<CandleChartDataEntry>(0, 10, 4, 5, 8)}));
         set->setDrawHighlightIndicators(false);
         set->setBarSpace(0.3);
         set->setShadowColor(kRed);
         set->setDecreasingFilled(false);
         return set;
       },
       [&](const auto&, const auto& copy) {
         sameHighlight(copy);
         const auto& c = as<CandleChartDataSet>(copy);
         EXPECT_FALSE(c.isHorizontalHighlightIndicatorEnabled());
         // Its own settings start afresh.
         EXPECT_EQ(c.barSpace(), 0.1);
         EXPECT_EQ(c.shadowColor(), std::nullopt);
         EXPECT_TRUE(c.isDecreasingFilled());
       }},
      {"PieChartDataSet",
       [&] {
         auto set = std::make_shared<PieChartDataSet>(std::vector<EntryPtr>{std::make_shared<PieChartDataEntry>(5)});
         set->setSliceSpace(4);
         set->setYValuePosition(PieChartDataSet::ValuePosition::outsideSlice);
         set->setValueLineColor(std::nullopt);
         set->setValueLinePart2Length(0.2);
         set->setValueLineVariableLength(false);
         set->setEntryLabelFont(Font::systemFont(9));
         return set;
       },
       [&](const auto&, const auto& copy) {
         const auto& c = as<PieChartDataSet>(copy);
         EXPECT_EQ(c.sliceSpace(), 4);
         EXPECT_EQ(c.yValuePosition(), PieChartDataSet::ValuePosition::outsideSlice);
         EXPECT_EQ(c.valueLineColor(), std::nullopt);
         EXPECT_EQ(c.valueLinePart2Length(), 0.2);
         EXPECT_FALSE(c.valueLineVariableLength());
         EXPECT_EQ(c.entryLabelFont(), Font::systemFont(9));
       }},
      {"RadarChartDataSet",
       [&] {
         auto set = std::make_shared<RadarChartDataSet>(
             std::vector<EntryPtr>{std::make_shared<RadarChartDataEntry>(1), std::make_shared<RadarChartDataEntry>(2)});
         set->setLineWidth(3);
         set->setDrawHighlightCircleEnabled(true);
         set->setHighlightCircleFillColor(kRed);
         set->setHighlightCircleOuterRadius(9);
         return set;
       },
       [&](const auto&, const auto& copy) {
         const auto& c = as<RadarChartDataSet>(copy);
         EXPECT_EQ(c.lineWidth(), 3);
         // Its own settings start afresh.
         EXPECT_FALSE(c.isDrawHighlightCircleEnabled());
         EXPECT_EQ(c.highlightCircleFillColor(), Color::white());
         EXPECT_EQ(c.highlightCircleOuterRadius(), 4);
       }},
      {"ScatterChartDataSet",
       [&] {
         auto set = highlighted(std::make_shared<ScatterChartDataSet>(points()));
         set->setScatterShape(ScatterChartDataSet::Shape::circle);
         set->setScatterShapeSize(15);
         set->setScatterShapeHoleRadius(2);
         set->setScatterShapeHoleColor(kBlue);
         return set;
       },
       [&](const auto& source, const auto& copy) {
         sameHighlight(copy);
         const auto& c = as<ScatterChartDataSet>(copy);
         EXPECT_EQ(c.scatterShapeSize(), 15);
         EXPECT_EQ(c.scatterShapeHoleRadius(), 2);
         EXPECT_EQ(c.scatterShapeHoleColor(), kBlue);
         EXPECT_EQ(c.shapeRenderer(), as<ScatterChartDataSet>(source).shapeRenderer());
       }},
  };
  const auto formatter = std::make_shared<DefaultValueFormatter>(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto source = c.make();
    source->setLabel("copied");
    source->setColors({kRed, kGreen});
    source->setAxisDependency(AxisDependency::right);
    source->setValueFormatter(formatter);
    source->setValueFont(Font::systemFont(11));
    source->setDrawValuesEnabled(false);
    source->setFormSize(12);
    source->setHighlightEnabled(false);
    source->setValueColors({kBlue});
    source->setIconsOffset({3, 4});
    source->setVisible(false);
    source->setDrawIconsEnabled(false);
    source->setForm(LegendForm::line);
    source->setFormLineWidth(2.5);
    source->setFormLineDashPhase(1.5);
    source->setFormLineDashLengths(std::vector<double>{4, 4});
    const auto copy = source->copy();
    ASSERT_EQ(typeid(*copy), typeid(*source));
    EXPECT_EQ(copy->className(), c.name);
    EXPECT_NE(copy, source);
    EXPECT_EQ(copy->label(), "copied");
    EXPECT_EQ(copy->colors(), (std::vector<Color>{kRed, kGreen}));
    EXPECT_EQ(copy->axisDependency(), AxisDependency::right);
    EXPECT_EQ(copy->valueFormatter(), formatter);
    EXPECT_EQ(copy->valueFont(), Font::systemFont(11));
    EXPECT_FALSE(copy->isDrawValuesEnabled());
    EXPECT_EQ(copy->formSize(), 12);
    EXPECT_FALSE(copy->isHighlightEnabled() || copy->isVisible() || copy->isDrawIconsEnabled());
    EXPECT_EQ(copy->valueColors(), std::vector<Color>{kBlue});
    EXPECT_EQ(copy->iconsOffset(), (platform::graphics::Point{3, 4}));
    EXPECT_EQ(std::tuple(copy->form(), copy->formLineWidth(), copy->formLineDashPhase(), copy->formLineDashLengths()),
              std::tuple(LegendForm::line, 2.5, 1.5, std::optional<std::vector<double>>{{4, 4}}));
    const auto& s = as<ChartDataSet>(*source);
    const auto& d = as<ChartDataSet>(*copy);
    EXPECT_EQ(d.entries(), s.entries());
    EXPECT_EQ(d.xMin(), s.xMin());
    EXPECT_EQ(d.xMax(), s.xMax());
    EXPECT_EQ(d.yMin(), s.yMin());
    EXPECT_EQ(d.yMax(), s.yMax());
    c.same(*source, *copy);
  }
}

}  // namespace
