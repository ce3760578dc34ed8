#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

#include "platform/text/Text.h"

using namespace platform::text;

namespace {

TEST(Text, Utf8Validation) {
  struct Case {
    const char* name;
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"empty", "", true},
      {"ascii", "CGATS.17\r\n", true},
      {"two-byte", "\xC3\xA9", true},
      {"three-byte", "\xE2\x80\xA8", true},
      {"four-byte max", "\xF4\x8F\xBF\xBF", true},
      {"bad continuation", "\xC3\x28", false},
      {"overlong slash", "\xC0\xAF", false},
      {"overlong three-byte", "\xE0\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"truncated at end", "ab\xE2\x80", false},
      {"stray continuation", "\x80", false},
      {"replacement character itself", "\xEF\xBF\xBD", true},
  };
  for (const auto& c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.name;
  EXPECT_EQ(firstInvalidUtf8("ab\xE2\x80"), 2u);
  EXPECT_EQ(firstInvalidUtf8("caf\xC3\xA9\n\xE9"), 6u);

  // Bad bytes and control characters are shown as \xNN, the rest as it is;
  // U+0085 is a control character, U+00A0 and U+2028 are not.
  const std::tuple<std::string, bool, std::string> shown[] = {
      {"caf\xC3\xA9", false, "caf\xC3\xA9"},
      {"caf\xE9", false, "caf\\xE9"},
      {"a\tb\x7F", true, "a\\x09b\\x7F"},
      {"\xC2\x85 \xC2\xA0\xE2\x80\xA8", true, "\\xC2\\x85 \xC2\xA0\xE2\x80\xA8"},
  };
  for (const auto& [text, control, printed] : shown) {
    EXPECT_EQ(holdsControlCharacter(text), control) << printed;
    EXPECT_EQ(printable(text), printed);
  }
}

TEST(Text, TrimsUseTheirOwnCharacterSets) {
  EXPECT_EQ(trimNewlines("\r\n L* \n"), " L* ");
  EXPECT_EQ(trimNewlines("\xE2\x80\xA8x\xC2\x85"), "x");  // U+2028, U+0085
  EXPECT_EQ(trimNewlines("\tx\t"), "\tx\t");
  EXPECT_EQ(trimWhitespaceAndNewlines(" \t\xC2\xA0" "95.2\xE3\x80\x80\r\n"), "95.2");  // NBSP, ideographic space
  EXPECT_EQ(trimWhitespaceAndNewlines("a b"), "a b");
  EXPECT_EQ(trimWhitespaceAndNewlines(" \r\n "), "");
  EXPECT_EQ(trimNewlines(""), "");
  // A byte that is not UTF-8 is kept, never split apart.
  EXPECT_EQ(trimWhitespaceAndNewlines(" \xFF "), "\xFF");
}

TEST(Text, SplitKeepsEmptyParts) {
  EXPECT_EQ(split("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(split("", "\n"), (std::vector<std::string>{""}));
  EXPECT_EQ(split("a\n", "\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(split("x\r\ny", "\r\n"), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(join({"a", "", "b"}, "\n"), "a\n\nb");
  EXPECT_EQ(replaceAll("# a\n# b", "# ", ""), "a\nb");
  EXPECT_EQ(replaceAll("a\nb", "\n", "\n# "), "a\n# b");
  EXPECT_EQ(removeAll("L* 95 .2", ' '), "L*95.2");
  EXPECT_EQ(abbreviated("abc", 3), "abc");
  EXPECT_EQ(abbreviated("ab\xC3\xA9z", 3), "ab... (5 bytes)");  // never half a character
  EXPECT_EQ(abbreviated("abcd", 3), "abc... (4 bytes)");
}

TEST(Text, ParseDoubleTakesTheWholeFieldInTheCLocale) {
  struct Case {
    std::string field;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"95.20", 95.2},         {"-3", -3.0},           {"+150", 150.0},        {"1.5e2", 150.0},
      {".5", 0.5},             {"5.", 5.0},            {"0x10", 16.0},         {"", std::nullopt},
      {" 1", std::nullopt},    {"1 ", std::nullopt},   {"1,5", std::nullopt},  {"1.5x", std::nullopt},
      {"-", std::nullopt},     {"e5", std::nullopt},   {std::string("1\0" "2", 3), std::nullopt},
  };
  for (const auto& c : cases) {
    auto v = parseDouble(c.field);
    ASSERT_EQ(v.has_value(), c.value.has_value()) << c.field;
    if (v) {
      EXPECT_EQ(*v, *c.value) << c.field;
    }
  }
  EXPECT_TRUE(std::isnan(*parseDouble("nan")));
  EXPECT_EQ(*parseDouble("-inf"), -INFINITY);
  EXPECT_EQ(*parseDouble("1e400"), INFINITY);
}

TEST(Text, ParseFiniteDecimalRejectsEverythingButPlainNumbers) {
  EXPECT_EQ(parseFiniteDecimal("1.5e2"), 150.0);
  EXPECT_EQ(parseFiniteDecimal("+150"), 150.0);
  EXPECT_EQ(parseFiniteDecimal("-0.25"), -0.25);
  EXPECT_EQ(parseFiniteDecimal("65535"), 65535.0);
  for (const char* bad : {"nan", "inf", "-inf", "0x10", "1,5", " 150", "150 ", "", "+", ".", "1e", "1e400", "1.2.3"})
    EXPECT_FALSE(parseFiniteDecimal(bad)) << bad;
}

TEST(Text, ParseInt) {
  EXPECT_EQ(parseInt("42"), 42);
  EXPECT_EQ(parseInt("+7"), 7);
  EXPECT_EQ(parseInt("-21"), -21);
  EXPECT_EQ(parseInt("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(parseInt("-9223372036854775808"), INT64_MIN);
  for (const char* bad : {"9223372036854775808", "", "-", "1.0", " 1", "1 ", "0x1", "21\r"})
    EXPECT_FALSE(parseInt(bad)) << bad;
}

TEST(Text, NumbersAsText) {
  EXPECT_EQ(shortestDescription(1.0), "1.0");
  EXPECT_EQ(shortestDescription(-3.0), "-3.0");
  EXPECT_EQ(shortestDescription(0.1), "0.1");
  EXPECT_EQ(shortestDescription(95.2), "95.2");
  EXPECT_EQ(shortestDescription(-0.0), "-0.0");
  EXPECT_EQ(shortestDescription(NAN), "nan");
  // Plain decimals from 1e-4 up to below 1e16, the exponent form outside.
  const std::pair<double, const char*> layouts[] = {
      {0.0, "0.0"},           {0.0001, "0.0001"},      {0.00012, "0.00012"},  {1e-05, "1e-05"},
      {1.5e-07, "1.5e-07"},   {0.392, "0.392"},        {100.0 / 255, "0.39215686274509803"},
      {1e15, "1000000000000000.0"},                    {1e16, "1e+16"},       {-2.5e-300, "-2.5e-300"},
  };
  for (const auto& [value, text] : layouts) EXPECT_EQ(shortestDescription(value), text) << text;
  EXPECT_EQ(fixedDecimal(1.0005, 3), "1.000");  // 1.0005 is just below the half in binary
  EXPECT_EQ(fixedDecimal(0.125, 2), "0.12");    // exact half goes to even
  EXPECT_EQ(fixedDecimal(2.5, 0), "2");
  EXPECT_EQ(fixedDecimal(-1.5, 1), "-1.5");
  // Long fixed forms are written out, not cut short into another notation.
  const std::string huge = fixedDecimal(1e308, 300);
  EXPECT_EQ(huge.substr(0, 20), "10000000000000000109");
  EXPECT_EQ(huge.size(), 309u + 1 + 300);
  EXPECT_EQ(fixedDecimal(0.5, 1100), "0.5" + std::string(1099, '0'));
}

TEST(Text, CaseInsensitiveEqualsFoldsAsciiLettersOnly) {
  struct Case {
    std::string lhs, rhs;
    bool equal;
  };
  const Case cases[] = {
      {"Measured L*", "mEASURED l*", true}, {"", "", true},          {"K", "k", true},
      {"K", "K ", false},                  {"@", "`", false},        {"[", "{", false},
      {"\xC3\x89", "\xC3\xA9", false},     {"\xC3\x89", "\xC3\x89", true},
  };
  for (const auto& c : cases) EXPECT_EQ(caseInsensitiveEquals(c.lhs, c.rhs), c.equal) << c.lhs << " / " << c.rhs;
}

}  // namespace
