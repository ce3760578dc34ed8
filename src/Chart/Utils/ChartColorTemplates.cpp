#include "Chart/Utils/ChartColorTemplates.h"

#include <cstdint>
#include <optional>
#include <string>

#include "platform/text/Scanner.h"

namespace chart {
namespace {

using Color = ChartColorTemplates::Color;

struct Rgb255 {
  int red, green, blue;
};

template <size_t N>
std::vector<Color> listOf(const Rgb255 (&colours)[N]) {
  std::vector<Color> list;
  list.reserve(N);
  for (const auto& c : colours) list.push_back(Color::rgb(c.red / 255.0, c.green / 255.0, c.blue / 255.0));
  return list;
}

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

// `digits` is the lower-cased text after the "#".
Color colorFromHex(std::string_view digits) {
  int values[8] = {};
  for (size_t i = 0; i < digits.size(); ++i) {
    const auto d = hexDigit(digits[i]);
    if (!d) return Color::clear();
    if (i < 8) values[i] = *d;
  }
  int alpha = 255, red = 0, green = 0, blue = 0;
  auto pair = [&](int k) { return values[2 * k] * 16 + values[2 * k + 1]; };
  switch (digits.size()) {
    case 3:
      red = values[0] * 17;
      green = values[1] * 17;
      blue = values[2] * 17;
      break;
    case 6:
      red = pair(0);
      green = pair(1);
      blue = pair(2);
      break;
    case 8:
      alpha = pair(0);
      red = pair(1);
      green = pair(2);
      blue = pair(3);
      break;
    default:
      break;
  }
  return Color::rgb(red / 255.0, green / 255.0, blue / 255.0, alpha / 255.0);
}

// The numbers of the functional forms: integers that default to 0 and
// decimals that default to 1, separated by runs of commas and spaces.
class ComponentReader {
 public:
  explicit ComponentReader(std::string_view afterWord) : scanner_(afterWord) { scanner_.scanCharacters("( "); }

  double integer() {
    const double value = static_cast<double>(scanner_.scanInt().value_or(0));
    scanner_.scanCharacters(", ");
    return value;
  }
  double decimal() {
    const double value = scanner_.scanDouble().value_or(1.0);
    scanner_.scanCharacters(", ");
    return value;
  }

 private:
  platform::text::Scanner scanner_;
};

}  // namespace

std::vector<Color> ChartColorTemplates::liberty() {
  return listOf({{207, 248, 246}, {148, 212, 212}, {136, 180, 187}, {118, 174, 175}, {42, 109, 130}});
}

std::vector<Color> ChartColorTemplates::joyful() {
  return listOf({{217, 80, 138}, {254, 149, 7}, {254, 247, 120}, {106, 167, 134}, {53, 194, 209}});
}

std::vector<Color> ChartColorTemplates::pastel() {
  return listOf({{64, 89, 128}, {149, 165, 124}, {217, 184, 162}, {191, 134, 134}, {179, 48, 80}});
}

std::vector<Color> ChartColorTemplates::colorful() {
  return listOf({{193, 37, 82}, {255, 102, 0}, {245, 199, 0}, {106, 150, 31}, {179, 100, 53}});
}

std::vector<Color> ChartColorTemplates::vordiplom() {
  return listOf({{192, 255, 140}, {255, 247, 140}, {255, 208, 140}, {140, 234, 255}, {255, 140, 157}});
}

std::vector<Color> ChartColorTemplates::material() {
  return listOf({{46, 204, 113}, {241, 196, 15}, {231, 76, 60}, {52, 152, 219}});
}

Color ChartColorTemplates::colorFromString(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const std::string_view s = lower;

  if (s.starts_with("#")) return colorFromHex(s.substr(1));
  // "rgba" and "argb" come before "rgb", which would take "rgba" too.
  if (s.starts_with("rgba")) {
    ComponentReader read(s.substr(4));
    const double red = read.integer(), green = read.integer(), blue = read.integer();
    const double alpha = read.decimal();
    return Color::rgb(red / 255.0, green / 255.0, blue / 255.0, alpha);
  }
  if (s.starts_with("argb")) {
    ComponentReader read(s.substr(4));
    const double alpha = read.decimal();
    const double red = read.integer(), green = read.integer(), blue = read.integer();
    return Color::rgb(red / 255.0, green / 255.0, blue / 255.0, alpha);
  }
  if (s.starts_with("rgb")) {
    ComponentReader read(s.substr(3));
    const double red = read.integer(), green = read.integer(), blue = read.integer();
    return Color::rgb(red / 255.0, green / 255.0, blue / 255.0);
  }
  return Color::clear();
}

}  // namespace chart
