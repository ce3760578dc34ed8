#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Chart/Components/Legend.h"
#include "Chart/Data/BarChartDataSet.h"
#include "Chart/Data/CandleChartDataEntry.h"
#include "Chart/Data/CandleChartDataSet.h"
#include "Chart/Data/ChartData.h"
#include "Chart/Data/LineChartDataSet.h"
#include "Chart/Data/PieChartDataEntry.h"
#include "Chart/Data/PieChartDataSet.h"
#include "Chart/Renderers/LegendRenderer.h"
#include "platform/graphics/RecordingContext.h"
#include "support/DrawingExpectations.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Font;
using platform::graphics::Point;
using platform::graphics::Rect;
using platform::graphics::RecordingContext;
using platform::graphics::TextAttributes;
using Op = RecordingContext::Op;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const Color kRed = Color::rgb(1, 0, 0);
const Color kGreen = Color::rgb(0, 1, 0);
const Color kBlue = Color::rgb(0, 0, 1);

// A bar set of `entries` bars of `stackValues` values each (plain bars for
// one value), with its stack labels and set label.
std::shared_ptr<BarChartDataSet> barSet(int64_t entries, int stackValues, std::vector<std::string> stackLabels,
                                        std::optional<std::string> label) {
  std::vector<EntryPtr> list;
  for (int64_t i = 0; i < entries; ++i) {
    list.push_back(stackValues > 1
                       ? std::make_shared<BarChartDataEntry>(double(i), std::vector<double>(stackValues, 1.0))
                       : std::make_shared<BarChartDataEntry>(double(i), 1.0));
  }
  auto set = std::make_shared<BarChartDataSet>(list, std::move(label));
  set->setStackLabels(std::move(stackLabels));
  return set;
}

std::shared_ptr<CandleChartDataSet> candleSet(std::optional<Color> decreasing, std::optional<Color> increasing) {
  auto set = std::make_shared<CandleChartDataSet>(
      std::vector<EntryPtr>{std::make_shared<CandleChartDataEntry>(0, 4, 1, 2, 3)}, "Candles");
  set->setDecreasingColor(decreasing);
  set->setIncreasingColor(increasing);
  return set;
}

std::shared_ptr<LineChartDataSet> lineSet(int64_t entries, std::vector<Color> colors,
                                          std::optional<std::string> label = "L") {
  std::vector<EntryPtr> list;
  for (int64_t i = 0; i < entries; ++i) list.push_back(std::make_shared<ChartDataEntry>(double(i), 1.0));
  auto set = std::make_shared<LineChartDataSet>(list, std::move(label));
  set->setColors(std::move(colors));
  return set;
}

template <class Set>
std::shared_ptr<Set> coloured(std::shared_ptr<Set> set, std::vector<Color> colors) {
  set->setColors(std::move(colors));
  return set;
}

// One built entry: its label, form and colour.
struct Expected {
  std::optional<std::string> label;
  LegendForm form;
  std::optional<Color> color;
};

const LegendForm kDefault = LegendForm::default_;

// A chart 600 × 400 whose content runs from (40, 20) to (570, 350).
std::shared_ptr<ViewPortHandler> chartViewPort() {
  auto viewPort = std::make_shared<ViewPortHandler>(600, 400);
  viewPort->restrainViewPort(40, 20, 30, 50);
  return viewPort;
}

LegendEntryPtr entry(std::optional<std::string> label, std::optional<Color> color = kRed,
                     LegendForm form = LegendForm::default_) {
  return std::make_shared<LegendEntry>(std::move(label), form, kNaN, kNaN, 0, std::nullopt, color);
}

// What a recording drew, in order: forms as "form" with their rectangle's
// origin (a line's start), labels as their text at their top-left corner.
struct Drawn {
  std::string what;
  Point at;
};

std::vector<Drawn> drawnItems(const RecordingContext& context) {
  std::vector<Drawn> items;
  for (const auto& op : context.operations()) {
    switch (op.op) {
      case Op::fillRect:
      case Op::fillEllipseInRect: items.push_back({"form", op.rect.origin}); break;
      case Op::strokeLineSegments: items.push_back({"form", op.points.at(0)}); break;
      case Op::drawText: items.push_back({op.text, op.points.at(0)}); break;
      default: break;
    }
  }
  return items;
}

}  // namespace

TEST(LegendRenderer, ComputeLegendBuildsEntriesByTheKindOfEachSet) {
  const std::vector<Color> three = {kRed, kGreen, kBlue};
  struct Case {
    const char* name;
    std::vector<DataSetPtr> sets;
    std::vector<Expected> expected;
  };
  auto pie = coloured(std::make_shared<PieChartDataSet>(
                          std::vector<EntryPtr>{std::make_shared<PieChartDataEntry>(10, "a"),
                                                std::make_shared<PieChartDataEntry>(20),
                                                std::make_shared<ChartDataEntry>(2, 30),
                                                std::make_shared<PieChartDataEntry>(40, "d")},
                          "Pie"),
                      three);
  const std::vector<Case> cases = {
      {"one colour: one labelled entry", {lineSet(3, {kRed})}, {{"L", kDefault, kRed}}},
      {"three colours, five entries: a stack of two, then the label",
       {lineSet(5, three)},
       {{std::nullopt, kDefault, kRed}, {std::nullopt, kDefault, kGreen}, {"L", kDefault, kBlue}}},
      {"three colours, two entries: the entries bound the forms",
       {lineSet(2, three)},
       {{std::nullopt, kDefault, kRed}, {"L", kDefault, kGreen}}},
      {"no colours, no entries from the set", {lineSet(3, {})}, {}},
      {"stacked bar: a form per stack position, then the set's label without a form",
       {coloured(barSet(2, 3, {"A", "B"}, "Bars"), three)},
       {{"A", kDefault, kRed},
        {"B", kDefault, kGreen},
        {std::nullopt, kDefault, kBlue},
        {"Bars", LegendForm::none, std::nullopt}}},
      {"stacked bar: the stack size bounds the forms; no set label, no closing entry",
       {coloured(barSet(5, 2, {}, std::nullopt), three)},
       {{std::nullopt, kDefault, kRed}, {std::nullopt, kDefault, kGreen}}},
      {"stacked bar without colours keeps its closing label",
       {coloured(barSet(2, 3, {"A"}, "Bars"), {})},
       {{"Bars", LegendForm::none, std::nullopt}}},
      {"a bar set that is not stacked is like any other",
       {coloured(barSet(2, 1, {"A"}, "Bars"), three)},
       {{std::nullopt, kDefault, kRed}, {"Bars", kDefault, kGreen}}},
      {"pie: a form per slice named by the slice's label, then the set's label",
       {pie},
       {{"a", kDefault, kRed},
        {std::nullopt, kDefault, kGreen},
        {std::nullopt, kDefault, kBlue},
        {"Pie", LegendForm::none, std::nullopt}}},
      {"candle with a decreasing colour: a pair",
       {candleSet(kRed, std::nullopt)},
       {{std::nullopt, kDefault, kRed}, {"Candles", kDefault, std::nullopt}}},
      {"candle without a decreasing colour is like any other",
       {coloured(candleSet(std::nullopt, kGreen), {kBlue})},
       {{"Candles", kDefault, kBlue}}},
      {"sets in order (the extra entry follows every list)",
       {lineSet(1, {kRed}, "First"), lineSet(1, {kGreen}, std::nullopt)},
       {{"First", kDefault, kRed}, {std::nullopt, kDefault, kGreen}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto legend = std::make_shared<Legend>();
    legend->setExtraEntries({entry("Extra", kBlue, LegendForm::line)});
    LegendRenderer renderer(chartViewPort(), legend);
    ChartData data(c.sets);
    renderer.computeLegend(data);
    std::vector<Expected> expected = c.expected;
    expected.push_back({"Extra", LegendForm::line, kBlue});
    ASSERT_EQ(legend->entries().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      const LegendEntry& e = *legend->entries()[i];
      EXPECT_EQ(e.label(), expected[i].label) << i;
      EXPECT_EQ(e.form(), expected[i].form) << i;
      EXPECT_EQ(e.formColor(), expected[i].color) << i;
    }
    EXPECT_EQ(legend->calculatedLabelSizes().size(), expected.size()) << "laid out after the entries were built";
  }
}

TEST(LegendRenderer, EntriesCarryTheSetsFormValuesAndCustomEntriesAreKept) {
  auto set = lineSet(1, {kRed});
  set->setForm(LegendForm::line);
  set->setFormSize(12);
  set->setFormLineWidth(2);
  set->setFormLineDashPhase(1);
  set->setFormLineDashLengths(std::vector<double>{4, 2});
  ChartData data{DataSetPtr(set)};

  auto legend = std::make_shared<Legend>();
  LegendRenderer renderer(chartViewPort(), legend);
  renderer.computeLegend(data);
  ASSERT_EQ(legend->entries().size(), 1u);
  const LegendEntry& built = *legend->entries()[0];
  EXPECT_EQ(built.form(), LegendForm::line);
  EXPECT_EQ((std::vector<double>{built.formSize(), built.formLineWidth(), built.formLineDashPhase()}),
            (std::vector<double>{12, 2, 1}));
  EXPECT_EQ(built.formLineDashLengths(), (std::vector<double>{4, 2}));

  // Custom entries survive a data change, get no extra entries appended, and
  // are laid out again.
  legend->setExtraEntries({entry("Extra")});
  legend->setCustom({entry("Own"), entry("Two")});
  legend->setNeededWidth(0);
  renderer.computeLegend(data);
  ASSERT_EQ(legend->entries().size(), 2u);
  EXPECT_EQ(legend->entries()[0]->label(), "Own");
  EXPECT_EQ(legend->neededWidth(), 8 + 5 + 18 + 6 + 8 + 5 + 18 + 5);
  legend->resetCustom();
  renderer.computeLegend(data);
  ASSERT_EQ(legend->entries().size(), 2u);
  EXPECT_EQ(legend->entries()[0]->label(), "L");
  EXPECT_EQ(legend->entries()[1]->label(), "Extra");

  // Without a legend nothing is computed or drawn.
  LegendRenderer bare(chartViewPort(), nullptr);
  bare.computeLegend(data);
  RecordingContext context;
  bare.renderLegend(context);
  legend->setEnabled(false);
  renderer.renderLegend(context);
  EXPECT_TRUE(context.operations().empty());
}

// Forms are 8, labels 6 a character and 13 a line, form to text 5, between
// entries 6, offsets 5 across and 3 down.
TEST(LegendRenderer, PlacesTheLegendByAlignmentOrientationAndDirection) {
  using H = Legend::HorizontalAlignment;
  using V = Legend::VerticalAlignment;
  using O = Legend::Orientation;
  using D = Legend::Direction;
  struct Case {
    const char* name;
    H horizontal;
    V vertical;
    O orientation;
    D direction;
    std::vector<LegendEntryPtr> entries;
    std::vector<Drawn> expected;
    std::function<void(Legend&)> adjust = nullptr;
  };
  const std::vector<Case> cases = {
      {"bottom left: 400 - 3 - 16, from the content's left + 5", H::left, V::bottom, O::horizontal,
       D::leftToRight, {entry("Curve")}, {{"form", {45, 383.5}}, {"Curve", {58, 381}}}},
      {"top right: ends the needed width before the content's right - 5", H::right, V::top, O::horizontal,
       D::leftToRight, {entry("Curve"), entry("Ink")},
       {{"form", {480, 5.5}}, {"Curve", {493, 3}}, {"form", {529, 5.5}}, {"Ink", {542, 3}}}},
      {"centre: each line centred on the content's middle + 5", H::center, V::center, O::horizontal,
       D::leftToRight, {entry("Alpha"), entry("Be")},
       {{"form", {288.5, 191}}, {"Alpha", {301.5, 188.5}}, {"form", {297.5, 204}}, {"Be", {310.5, 201.5}}},
       [](Legend& legend) { legend.setMaxSizePercent(0.1); }},
      {"right to left: the form left of the origin, the label left of the form", H::left, V::bottom,
       O::horizontal, D::rightToLeft, {entry("Curve"), entry("Ink")},
       {{"form", {122, 383.5}}, {"Curve", {87, 381}}, {"form", {73, 383.5}}, {"Ink", {50, 381}}}},
      {"a horizontal stack: forms 3 apart, then the label", H::left, V::bottom, O::horizontal, D::leftToRight,
       {entry(std::nullopt), entry(std::nullopt, kGreen), entry("Set", kBlue)},
       {{"form", {45, 383.5}}, {"form", {56, 383.5}}, {"form", {67, 383.5}}, {"Set", {80, 381}}}},
      {"a clear or absent colour draws no form but keeps its room", H::left, V::bottom, O::horizontal,
       D::leftToRight, {entry("Clear", Color::clear()), entry("None", std::nullopt), entry("Ink")},
       {{"Clear", {58, 381}}, {"None", {107, 381}}, {"form", {137, 383.5}}, {"Ink", {150, 381}}}},
      {"vertical top left: a stack's label on the next line at the origin", H::left, V::top, O::vertical,
       D::leftToRight, {entry(std::nullopt), entry(std::nullopt, kGreen), entry("Sum", kBlue), entry("Ink")},
       {{"form", {5, 25.5}},
        {"form", {16, 25.5}},
        {"form", {27, 25.5}},
        {"Sum", {5, 36}},
        {"form", {5, 51.5}},
        {"Ink", {18, 49}}}},
      {"vertical right to left on the right, centred down", H::right, V::center, O::vertical, D::rightToLeft,
       {entry("Curve"), entry("Ink")},
       {{"form", {587, 191}}, {"Curve", {552, 188.5}}, {"form", {587, 204}}, {"Ink", {564, 201.5}}}},
      {"vertical right to left: a stack grows leftward from the origin", H::right, V::top, O::vertical,
       D::rightToLeft, {entry(std::nullopt), entry(std::nullopt, kGreen), entry("Sum", kBlue)},
       {{"form", {587, 25.5}}, {"form", {576, 25.5}}, {"form", {565, 25.5}}, {"Sum", {577, 36}}}},
      {"vertical centred across, at the chart's bottom", H::center, V::bottom, O::vertical, D::leftToRight,
       {entry("Curve")}, {{"form", {286, 383.5}}, {"Curve", {299, 381}}}},
      {"vertical left, at the content's bottom", H::left, V::bottom, O::vertical, D::leftToRight,
       {entry("Curve")}, {{"form", {5, 333.5}}, {"Curve", {18, 331}}}},
      {"offsets that are not a number: placed as at 0", H::left, V::bottom, O::horizontal, D::leftToRight,
       {entry("Curve")}, {{"form", {40, 389.5}}, {"Curve", {53, 387}}},
       [](Legend& legend) {
         legend.setXOffset(kNaN);
         legend.setYOffset(kNaN);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto legend = std::make_shared<Legend>();
    legend->setHorizontalAlignment(c.horizontal);
    legend->setVerticalAlignment(c.vertical);
    legend->setOrientation(c.orientation);
    legend->setDirection(c.direction);
    legend->setCustom(c.entries);
    if (c.adjust) c.adjust(*legend);
    LegendRenderer renderer(chartViewPort(), legend);
    renderer.computeLegend(ChartData());
    RecordingContext context;
    renderer.renderLegend(context);
    const auto drawn = drawnItems(context);
    ASSERT_EQ(drawn.size(), c.expected.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_EQ(drawn[i].what, c.expected[i].what) << i;
      testsupport::expectNear(drawn[i].at, c.expected[i].at, drawn[i].what + " " + std::to_string(i));
    }
    testsupport::expectFreshEnd(context);
    for (const auto& text : context.operations(Op::drawText)) {
      EXPECT_EQ(text.attributes, (TextAttributes{Font::systemFont(10), Color::labelColor(), std::nullopt}));
    }
  }
}

// Entries replaced after the last layout: every label is drawn, the ones the
// layout never saw measured as they are drawn.
TEST(LegendRenderer, LabelsTheLayoutDidNotSeeAreMeasured) {
  auto legend = std::make_shared<Legend>();
  LegendRenderer renderer(chartViewPort(), legend);
  legend->setCustom({entry("A")});
  renderer.computeLegend(ChartData());
  legend->setCustom({entry("Curve"), entry("Ink"), entry("Dmax")});
  RecordingContext context;
  renderer.renderLegend(context);
  std::vector<double> labelX;
  for (const auto& text : context.operations(Op::drawText)) labelX.push_back(text.points.at(0).x);
  // "Curve" reads the stale size of "A" (6): the layout covered index 0.
  EXPECT_EQ(labelX, (std::vector<double>{58, 58 + 6 + 6 + 8 + 5, 83 + 18 + 6 + 8 + 5}));
}

TEST(LegendRenderer, DrawsEachFormWithItsOwnOrTheLegendsValues) {
  struct Case {
    const char* name;
    LegendForm entryForm;
    LegendForm legendForm;
    double entryLineWidth;
    double entryDashPhase;
    std::optional<std::vector<double>> entryDash;
    std::optional<std::vector<double>> legendDash;
    Op expectedOp;
    double expectedWidth;
    platform::graphics::LineDash expectedDash;
  };
  const std::vector<Case> cases = {
      {"square", LegendForm::square, LegendForm::circle, kNaN, 0, std::nullopt, std::nullopt, Op::fillRect, 1, {}},
      {"the legend's square", LegendForm::default_, LegendForm::square, kNaN, 0, std::nullopt, std::nullopt,
       Op::fillRect, 1, {}},
      {"default on both: a circle", LegendForm::default_, LegendForm::default_, kNaN, 0, std::nullopt,
       std::nullopt, Op::fillEllipseInRect, 1, {}},
      {"circle", LegendForm::circle, LegendForm::square, kNaN, 0, std::nullopt, std::nullopt,
       Op::fillEllipseInRect, 1, {}},
      {"line with an empty dash is solid, the legend's width", LegendForm::line, LegendForm::square, kNaN, 2,
       std::vector<double>{}, std::vector<double>{9, 9}, Op::strokeLineSegments, 3, {}},
      {"line with the entry's dash and width", LegendForm::line, LegendForm::square, 2, 1,
       std::vector<double>{4, 2}, std::nullopt, Op::strokeLineSegments, 2, {1, {4, 2}}},
      {"line with the legend's dash and phase", LegendForm::line, LegendForm::square, kNaN, kNaN, std::nullopt,
       std::vector<double>{6, 3}, Op::strokeLineSegments, 3, {0.5, {6, 3}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Legend legend;
    legend.setForm(c.legendForm);
    legend.setFormLineDashPhase(0.5);
    legend.setFormLineDashLengths(c.legendDash);
    const LegendEntry e(std::nullopt, c.entryForm, 10, c.entryLineWidth, c.entryDashPhase, c.entryDash, kGreen);
    LegendRenderer renderer(chartViewPort(), nullptr);
    RecordingContext context;
    renderer.drawForm(context, 20, 30, e, legend);
    int drawing = 0;
    for (const auto& op : context.operations()) {
      if (op.op == Op::fillRect || op.op == Op::fillEllipseInRect || op.op == Op::strokeLineSegments) {
        ++drawing;
        EXPECT_EQ(op.op, c.expectedOp);
        if (op.op == Op::strokeLineSegments) {
          EXPECT_EQ(op.points, (std::vector<Point>{{20, 30}, {30, 30}}));
          EXPECT_EQ(op.state.strokeColor, kGreen);
          EXPECT_EQ(op.state.lineWidth, c.expectedWidth);
          EXPECT_EQ(op.state.dash, c.expectedDash);
        } else {
          EXPECT_EQ(op.rect, Rect(20, 25, 10, 10)) << "the entry's own size, centred on y";
          EXPECT_EQ(op.state.fillColor, kGreen);
        }
      }
    }
    EXPECT_EQ(drawing, 1);
    testsupport::expectFreshEnd(context, "nothing leaks out of the form");
  }

  // Nothing at all for form none or empty, or without a colour.
  for (auto form : {LegendForm::none, LegendForm::empty}) {
    RecordingContext context;
    LegendRenderer(chartViewPort(), nullptr).drawForm(context, 0, 0, *entry(std::nullopt, kRed, form), Legend());
    EXPECT_EQ(drawnItems(context).size(), 0u);
  }
}
