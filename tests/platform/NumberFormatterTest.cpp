#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "platform/graphics/Image.h"
#include "platform/text/NumberFormatter.h"

using platform::text::NumberFormatter;

namespace {

TEST(NumberFormatter, FixedDigitsGroupingAndSigns) {
  struct Case {
    int minDigits, maxDigits;
    bool grouping;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, false, 1234.5, "1234"},  // a new formatter: no fraction digits, no grouping, half to even
      {0, 0, false, 1235.5, "1236"},        {0, 0, false, -0.4, "0"},  // only zeros: no minus
      {1, 1, true, 12.345, "12.3"},         {1, 1, true, 12.0, "12.0"},
      {1, 1, true, -1234.56, "-1,234.6"},   {1, 1, true, 1234567.25, "1,234,567.2"},
      {1, 1, true, -0.04, "0.0"},           {0, 1, true, 999.96, "1,000"},
      {0, 3, false, 1.5, "1.5"},            {0, 3, false, 0.0625, "0.062"},  // zeros past the minimum dropped
      {2, 3, false, 7.0, "7.00"},           {1, 1, true, NAN, "NaN"},
      {1, 1, true, INFINITY, "\u221E"},     {1, 1, true, -INFINITY, "-\u221E"},
  };
  for (const auto& c : cases) {
    NumberFormatter f;
    f.setMinimumFractionDigits(c.minDigits);
    f.setMaximumFractionDigits(c.maxDigits);
    f.setUsesGroupingSeparator(c.grouping);
    EXPECT_EQ(f.string(c.value), c.text) << c.value << " with " << c.minDigits << ".." << c.maxDigits;
  }
}

TEST(NumberFormatter, DigitCountsStayInOrderAndInRange) {
  NumberFormatter f;
  f.setMinimumFractionDigits(2);  // raises the maximum with it
  f.setMaximumFractionDigits(1);  // lowers the minimum with it
  EXPECT_EQ(std::pair(f.minimumFractionDigits(), f.maximumFractionDigits()), std::pair(1, 1));
  f.setMaximumFractionDigits(-3);
  EXPECT_EQ(f.string(2.5), "2");
  f.setMinimumFractionDigits(100000);
  EXPECT_EQ(f.string(1e308)->size(), 309u + 1 + NumberFormatter::maxFractionDigits);
}

TEST(Image, PixelCountMustMatchTheSize) {
  using platform::graphics::Image;
  EXPECT_EQ(Image::make(2, 3, std::vector<uint32_t>(6))->height(), 3);
  EXPECT_NO_THROW(Image(0, 5, {}));
  EXPECT_THROW(Image(2, 3, std::vector<uint32_t>(5)), std::invalid_argument);
  EXPECT_THROW(Image(-2, -3, std::vector<uint32_t>(6)), std::invalid_argument);
}

}  // namespace
