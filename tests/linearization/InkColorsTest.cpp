#include <gtest/gtest.h>

#include "linearization/InkColors.h"

using namespace linearization;
using platform::graphics::Color;

namespace {

TEST(InkColors, LookupByMarkerLineInEverySpelling) {
  const std::pair<const char*, Color> table[] = {
      {"K", {0, 0, 0, 1}},        {"MK", {0, 0, 0, 1}},         {"C", {0.1, 1, 1, 1}},
      {"M", {1, 0.1, 1, 1}},      {"Y", {1, 1, 0, 1}},          {"LC", {0.6, 1, 1, 1}},
      {"LM", {1, 0.6, 1, 1}},     {"LK", {0.5, 0.5, 0.5, 1}},   {"LLK", {0.7, 0.7, 0.7, 1}},
      {"OR", {1, 0.65, 0, 1}},    {"GR", {0.2, 1, 0.2, 1}},     {"V", {0.5, 0, 1, 1}},
  };
  for (const auto& [channel, color] : table) {
    const std::string name = channel;
    std::string lowerName;
    for (char c : name) lowerName += static_cast<char>(std::tolower(c));
    for (const std::string& spelling :
         {"# " + name + " Curve", "#" + lowerName + "curve", "#" + name + "CURVE", " # " + name + "  curve "})
      EXPECT_EQ(inkColorForCurveName(spelling), color) << spelling;
  }
}

TEST(InkColors, UnknownNamesAndPositionsFallBackToBlack) {
  const Color black{0, 0, 0, 1};
  for (const char* name : {"", "# Q Curve", "#\tK Curve", "# K", "K Curve"}) EXPECT_EQ(inkColorForCurveName(name), black) << name;
  EXPECT_EQ(inkChannelColors().size(), 11u);
  EXPECT_EQ(inkChannelColorAt(8), (Color{1, 0.65, 0, 1}));
  EXPECT_EQ(inkChannelColorAt(9), (Color{0.2, 1, 0.2, 1}));
  EXPECT_EQ(inkChannelColorAt(11), black);
  EXPECT_EQ(inkChannelColorAt(-1), black);
}

}  // namespace
