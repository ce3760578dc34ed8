#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "Chart/Utils/ChartColorTemplates.h"

using chart::ChartColorTemplates;
using platform::graphics::Color;

namespace platform::graphics {
inline void PrintTo(const Color& c, std::ostream* os) {
  *os << "(" << c.red << ", " << c.green << ", " << c.blue << ", " << c.alpha << ")";
}
}  // namespace platform::graphics

namespace {

Color rgb255(double r, double g, double b, double alpha = 1.0) { return Color::rgb(r / 255.0, g / 255.0, b / 255.0, alpha); }

TEST(ChartColorTemplates, ColorFromString) {
  const struct {
    const char* text;
    Color expected;
  } cases[] = {
      // Hexadecimal, upper or lower case.
      {"#FFF", Color::white()},
      {"#000", Color::black()},
      {"#a1B2c3", rgb255(161, 178, 195)},
      {"#ff8000", rgb255(255, 128, 0)},
      {"#80ff0000", rgb255(255, 0, 0, 128 / 255.0)},
      {"#00000000", Color::clear()},
      // Another digit count reads nothing: opaque black.
      {"#12345", Color::black()},
      {"#", Color::black()},
      {"#123456789", Color::black()},
      // Anything but a hex digit after the "#" gives the clear colour.
      {"#ggg", Color::clear()},
      {"#12345z", Color::clear()},
      {"#fff ", Color::clear()},
      {"#\xC3\xA9\xC3\xA9\xC3\xA9", Color::clear()},
      // The functional forms.
      {"RGB(10, 20, 30)", rgb255(10, 20, 30)},
      {"rgb(  10 ,20,, 30 )", rgb255(10, 20, 30)},
      {"rgba(255,0,0,0.5)", rgb255(255, 0, 0, 0.5)},
      {"argb(0.5, 0, 0, 255)", rgb255(0, 0, 255, 0.5)},
      {"rgba(\t1,\n2, 3, .25)", rgb255(1, 2, 3, 0.25)},
      {"rgba(10, 20, 30, 1e-1)", rgb255(10, 20, 30, 0.1)},
      {"rgb(300, -5, 7)", rgb255(300, -5, 7)},  // kept as given
      // Numbers that cannot be read count as 0, alpha as 1.
      {"rgba(1,2)", rgb255(1, 2, 0)},
      {"rgba", Color::black()},
      {"rgb()", Color::black()},
      {"argb(x, 9, 8, 7)", Color::black()},  // nothing gets past the x
      {"rgba(1.5, 2, 3)", rgb255(1, 0, 0, 0.5)},  // the integer stops at ".5", which becomes alpha
      // No form.
      {"hsl(0, 0, 0)", Color::clear()},
      {"", Color::clear()},
      {" #fff", Color::clear()},
      {"red", Color::clear()},
  };
  for (const auto& c : cases) EXPECT_EQ(ChartColorTemplates::colorFromString(c.text), c.expected) << c.text;
}

TEST(ChartColorTemplates, TheSixLists) {
  using Rgb = std::vector<std::vector<int>>;
  const struct {
    const char* name;
    std::vector<Color> (*list)();
    Rgb rgb;
  } lists[] = {
      {"liberty", ChartColorTemplates::liberty,
       {{207, 248, 246}, {148, 212, 212}, {136, 180, 187}, {118, 174, 175}, {42, 109, 130}}},
      {"joyful", ChartColorTemplates::joyful,
       {{217, 80, 138}, {254, 149, 7}, {254, 247, 120}, {106, 167, 134}, {53, 194, 209}}},
      {"pastel", ChartColorTemplates::pastel,
       {{64, 89, 128}, {149, 165, 124}, {217, 184, 162}, {191, 134, 134}, {179, 48, 80}}},
      {"colorful", ChartColorTemplates::colorful,
       {{193, 37, 82}, {255, 102, 0}, {245, 199, 0}, {106, 150, 31}, {179, 100, 53}}},
      {"vordiplom", ChartColorTemplates::vordiplom,
       {{192, 255, 140}, {255, 247, 140}, {255, 208, 140}, {140, 234, 255}, {255, 140, 157}}},
      {"material", ChartColorTemplates::material, {{46, 204, 113}, {241, 196, 15}, {231, 76, 60}, {52, 152, 219}}},
  };
  for (const auto& l : lists) {
    std::vector<Color> expected;
    for (const auto& c : l.rgb) expected.push_back(rgb255(c[0], c[1], c[2]));
    auto first = l.list();
    EXPECT_EQ(first, expected) << l.name;
    first.front() = Color::clear();  // each call makes a list of its own
    EXPECT_EQ(l.list(), expected) << l.name;
  }
}

}  // namespace
