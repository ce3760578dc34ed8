#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/text/Scanner.h"

using platform::text::Scanner;

namespace {

// Each scan skips white space (newlines and the Unicode spaces too) first; a
// scan that finds nothing leaves the position where it was, skipped white
// space included.
TEST(Scanner, IntegersDecimalsAndRuns) {
  constexpr int64_t max = std::numeric_limits<int64_t>::max(), min = std::numeric_limits<int64_t>::min();
  const struct {
    const char* text;
    std::optional<int64_t> value;
    size_t location;
  } integers[] = {
      {"  42x", 42, 4},
      {"-7", -7, 2},
      {"+8,", 8, 2},
      {"\xC2\xA0\n5", 5, 4},  // no-break space and newline
      {"9223372036854775807", max, 19},
      {"-9223372036854775808", min, 20},
      {"99999999999999999999 1", max, 20},  // saturates, all digits read
      {"-99999999999999999999", min, 21},
      {"  x", std::nullopt, 0},
      {"-", std::nullopt, 0},
      {".5", std::nullopt, 0},
      {"", std::nullopt, 0},
  };
  for (const auto& c : integers) {
    Scanner scanner(c.text);
    EXPECT_EQ(scanner.scanInt(), c.value) << c.text;
    EXPECT_EQ(scanner.scanLocation(), c.location) << c.text;
  }

  const struct {
    const char* text;
    std::optional<double> value;
    size_t location;
  } decimals[] = {
      {" 0.5)", 0.5, 4},     {"1.", 1.0, 2},        {".25", 0.25, 3},         {"-2.5e3,", -2500.0, 6},
      {"1e", 1.0, 1},        {"1e+x", 1.0, 1},      {"7E-1", 0.7, 4},         {"1e999", INFINITY, 5},
      {"0x10", 0.0, 1},      {".", std::nullopt, 0}, {"nan", std::nullopt, 0}, {"inf", std::nullopt, 0},
      {"+", std::nullopt, 0},
  };
  for (const auto& c : decimals) {
    Scanner scanner(c.text);
    EXPECT_EQ(scanner.scanDouble(), c.value) << c.text;
    EXPECT_EQ(scanner.scanLocation(), c.location) << c.text;
  }

  Scanner scanner(" ( (12 ,, 3");
  EXPECT_EQ(scanner.scanCharacters("( "), "( (");
  EXPECT_EQ(scanner.scanCharacters(", "), std::nullopt);
  EXPECT_EQ(scanner.scanLocation(), 4u);
  EXPECT_EQ(scanner.scanInt(), 12);
  EXPECT_EQ(scanner.scanCharacters(", "), ",, ");  // the leading space is skipped first
  EXPECT_EQ(scanner.scanInt(), 3);
  EXPECT_EQ(scanner.scanInt(), std::nullopt);
}

}  // namespace
