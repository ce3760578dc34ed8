#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Chart/Components/Legend.h"
#include "Chart/Utils/ViewPortHandler.h"
#include "support/GeometryExpectations.h"

using namespace chart;
using platform::graphics::Color;
using platform::graphics::Size;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// With the fixed test metrics a 10-point label advances 6 a character, is
// 12 high, and the font's line height is 13.
LegendEntryPtr entry(std::optional<std::string> label, LegendForm form = LegendForm::default_,
                     double formSize = kNaN) {
  return std::make_shared<LegendEntry>(std::move(label), form, formSize, kNaN, 0, std::nullopt, Color::black());
}

LegendEntryPtr stacked(LegendForm form = LegendForm::default_) { return entry(std::nullopt, form); }

}  // namespace

TEST(Legend, OffsetsByConstructorAndNullEntriesRefused) {
  EXPECT_EQ(Legend().yOffset(), 3);
  EXPECT_EQ(Legend({entry("A")}).yOffset(), 5) << "made with entries, the component's offsets stay";
  EXPECT_EQ(Legend().xOffset(), 5);
  EXPECT_EQ(Legend().form(), LegendForm::square) << "what entries of the default form draw";
  EXPECT_FALSE(Legend::orientationFromRaw(2) || Legend::directionFromRaw(-1) || Legend::horizontalAlignmentFromRaw(3));

  Legend edited;
  EXPECT_THROW(edited.setEntries({entry("A"), nullptr}), std::invalid_argument);
  EXPECT_THROW(edited.setCustom({nullptr}), std::invalid_argument);
  EXPECT_FALSE(edited.isLegendCustom());
  EXPECT_THROW(Legend(std::vector<LegendEntryPtr>{nullptr}), std::invalid_argument);
}

TEST(Legend, EmptyLegendNeedsOnlyItsOffsets) {
  const ViewPortHandler viewPort(600, 400);
  for (auto orientation : {Legend::Orientation::horizontal, Legend::Orientation::vertical}) {
    Legend legend;
    legend.setOrientation(orientation);
    legend.calculateDimensions(legend.font(), viewPort);
    EXPECT_EQ(legend.neededWidth(), 5);
    EXPECT_EQ(legend.neededHeight(), 3);
    EXPECT_EQ(legend.textWidthMax(), 5) << "the form-to-text space counts even with no entries";
    EXPECT_EQ(legend.textHeightMax(), 0);
    EXPECT_TRUE(legend.calculatedLineSizes().empty());
  }
}

// Content 100 wide: a line may fill 95. "Alpha" needs 8 + 5 + 30 = 43,
// "Beta" 37, a stacked form 8 and 3 before the next member of its stack.
TEST(Legend, HorizontalLayoutWrapsAndKeepsStacksWithTheirLabel) {
  struct Case {
    const char* name;
    std::vector<LegendEntryPtr> entries;
    bool wordWrap;
    double yEntrySpace;
    std::vector<bool> breaks;
    std::vector<double> lineWidths;
    std::vector<double> labelWidths;
    double neededWidth;
    double neededHeight;
    double maxSizePercent = 0.95;
  };
  const std::vector<Case> cases = {
      {"an entry that fills the line exactly stays on it", {entry("Alpha"), entry("Beta")}, true, 0, {false, false},
       {86}, {30, 24}, 91, 16, 0.86},
      {"three entries, the third on a new line", {entry("Alpha"), entry("Beta"), entry("Gamma")}, true, 0,
       {false, false, true}, {86, 43}, {30, 24, 30}, 91, 29},
      {"the same without word wrap stays on one line", {entry("Alpha"), entry("Beta"), entry("Gamma")}, false, 0,
       {false, false, false}, {135}, {30, 24, 30}, 140, 16},
      {"space between lines is counted once", {entry("Alpha"), entry("Beta"), entry("Gamma")}, true, 4,
       {false, false, true}, {86, 43}, {30, 24, 30}, 91, 33},
      {"a first entry wider than the line stays on it", {entry("A very long label"), entry("B")}, true, 0,
       {false, true}, {115, 19}, {102, 6}, 120, 29},
      {"a stack moves to the new line with its label", {entry("Alpha"), stacked(), stacked(), entry("Beta")}, true,
       0, {false, true, false, false}, {43, 59}, {30, 0, 0, 24}, 64, 29},
      {"a stack without a label closes the last line", {entry("Alpha"), stacked()}, true, 0, {false, false}, {57},
       {30, 0}, 62, 16},
      {"own form size ignored, form none adds no form",
       {entry("Alpha", LegendForm::square, 20), entry("Beta", LegendForm::none)}, true, 0, {false, false}, {73},
       {30, 24}, 78, 16},
  };
  const ViewPortHandler viewPort(100, 400);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Legend legend;
    // An earlier layout of more entries: its lists must not survive.
    legend.setEntries({entry("x"), entry("y"), entry("z"), stacked(), entry("w")});
    legend.calculateDimensions(legend.font(), viewPort);

    legend.setEntries(c.entries);
    legend.setWordWrapEnabled(c.wordWrap);
    legend.setYEntrySpace(c.yEntrySpace);
    legend.setMaxSizePercent(c.maxSizePercent);
    legend.calculateDimensions(legend.font(), viewPort);
    EXPECT_EQ(legend.calculatedLabelBreakPoints(), c.breaks);
    std::vector<double> lineWidths, labelWidths;
    for (const Size& s : legend.calculatedLineSizes()) {
      lineWidths.push_back(s.width);
      EXPECT_EQ(s.height, 13) << "lines are the font's line height";
    }
    for (const Size& s : legend.calculatedLabelSizes()) {
      labelWidths.push_back(s.width);
      EXPECT_EQ(s.height, s.width == 0 ? 0 : 12) << "labels are measured, not the line height";
    }
    EXPECT_EQ(lineWidths, c.lineWidths);
    EXPECT_EQ(labelWidths, c.labelWidths);
    EXPECT_EQ(legend.neededWidth(), c.neededWidth);
    EXPECT_EQ(legend.neededHeight(), c.neededHeight);
  }
}

TEST(Legend, VerticalLayoutGivesStacksALineAndUsesOwnFormSizes) {
  struct Case {
    const char* name;
    std::vector<LegendEntryPtr> entries;
    double yEntrySpace;
    double neededWidth;
    double neededHeight;
    double textWidthMax;
  };
  const std::vector<Case> cases = {
      {"form, space and label", {entry("Alpha")}, 0, 48, 16, 43},
      {"form none adds neither form nor space", {entry("Alpha", LegendForm::none)}, 0, 35, 16, 43},
      {"form empty adds both", {entry("Alpha", LegendForm::empty)}, 0, 48, 16, 43},
      {"the entry's own form size", {entry("Alpha", LegendForm::square, 20)}, 0, 60, 16, 55},
      // 8 + 8 + 3, then 3 + 8 + 8 + 3, then the label's own form: 52 wide;
      // the stack's line and the label's.
      {"a stack of two then its label", {stacked(), stacked(), entry("Sum")}, 0, 57, 29, 31},
      // 8 + 5 + 6; then 8 + 8 + 3; then 3 + 8 + 8, no stack space after the last.
      {"a stack that ends the legend", {entry("A"), stacked(), stacked()}, 0, 43, 16, 19},
      {"line space counted after the last line too", {entry("A"), entry("B")}, 4, 24, 37, 19},
  };
  const ViewPortHandler viewPort(100, 400);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Legend legend(c.entries);
    legend.setYOffset(3);
    legend.setOrientation(Legend::Orientation::vertical);
    legend.setYEntrySpace(c.yEntrySpace);
    legend.calculateDimensions(legend.font(), viewPort);
    EXPECT_EQ(legend.neededWidth(), c.neededWidth);
    EXPECT_EQ(legend.neededHeight(), c.neededHeight);
    EXPECT_EQ(legend.textWidthMax(), c.textWidthMax);
    EXPECT_TRUE(legend.calculatedLineSizes().empty() && legend.calculatedLabelSizes().empty());
  }
}
