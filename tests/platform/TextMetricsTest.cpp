#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/FixedTextMetrics.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TextMetrics.h"

using namespace platform::graphics;

TEST(FixedTextMetrics, MeasuresAndWrapsByTheFixedRules) {
  const FixedTextMetrics metrics;
  const struct {
    const char* text;
    double pointSize;
    double constraintWidth;
    Size expected;
  } table[] = {
      {"Hello", 10, 0, {30, 12}},            // the 5-character label of the axis tables
      {"", 10, 0, {0, 0}},
      {"ab\ncdef", 10, 0, {24, 24}},          // a line feed always breaks
      {"a\n", 10, 0, {6, 24}},                // ... even at the end
      {"\xc3\xa9\xe2\x82\xac x", 10, 0, {24, 12}},  // code points, not bytes
      {"aaa bb cccc", 10, 40, {36, 24}},      // "aaa bb" fits 40, "cccc" goes below
      {"aaa bb cccc", 10, 66, {66, 12}},      // exactly fits
      {"abcdefghij kl", 10, 30, {60, 24}},    // an over-long word stays whole
      {"a b\nc d", 10, 6, {6, 48}},           // wraps each paragraph
      {"aaa bb", 10, -5, {36, 12}},           // no positive width: no wrap
      {"ink", 20, 0, {36, 24}},
  };
  for (const auto& row : table) {
    const TextAttributes attributes{Font::systemFont(row.pointSize), std::nullopt, std::nullopt};
    const Rect box = metrics.boundingRect(row.text, {row.constraintWidth, 0}, attributes);
    EXPECT_EQ(box.origin, (Point{0, 0})) << row.text;
    EXPECT_NEAR(box.size.width, row.expected.width, 1e-9) << row.text;
    EXPECT_NEAR(box.size.height, row.expected.height, 1e-9) << row.text;
    if (row.constraintWidth == 0) {
      EXPECT_EQ(metrics.size(row.text, attributes), box.size) << row.text;
    }
  }
  // Absent attributes are the system font at its standard size.
  EXPECT_NEAR(metrics.size("ab", {}).width, 2 * 0.6 * 13, 1e-9);
  EXPECT_NEAR(metrics.fontLineHeight(Font::systemFont(10)), 13, 1e-9);

  EXPECT_EQ(breakLines("one two  three", 7, [](std::string_view s) { return static_cast<double>(s.size()); }),
            (std::vector<std::string>{"one two", " three"}));
}

TEST(TextMetrics, CurrentMetricsCanBeReplacedAndRestored) {
  class Wide : public FixedTextMetrics {
    Size size(std::string_view, const TextAttributes&) const override { return {999, 1}; }
  };
  EXPECT_EQ(currentTextMetrics().size("abc", {}).height, 1.2 * 13);
  {
    const ScopedTextMetrics wide(std::make_shared<Wide>());
    EXPECT_EQ(currentTextMetrics().size("abc", {}).width, 999);
    {
      const ScopedTextMetrics fixed(nullptr);
      EXPECT_NEAR(currentTextMetrics().size("abc", {}).width, 3 * 0.6 * 13, 1e-9);
    }
    EXPECT_EQ(currentTextMetrics().size("abc", {}).width, 999) << "the inner scope puts back the outer one's";
  }
  EXPECT_NEAR(currentTextMetrics().size("abc", {}).width, 3 * 0.6 * 13, 1e-9);
}

TEST(RecordingContext, RecordsTextWithItsAttributesAndState) {
  RecordingContext ctx;
  const TextAttributes attributes{Font{"DejaVu Serif", 9}, Color::gray(), ParagraphStyle{TextAlignment::center}};
  ctx.translateBy(5, 0);
  ctx.drawText("K 42", {10, 20}, attributes);
  ctx.drawTextInRect("wrapped text", Rect(0, 0, 30, 40), {});
  const auto point = ctx.operations(RecordingContext::Op::drawText).at(0);
  EXPECT_EQ(point.text, "K 42");
  EXPECT_EQ(point.points, (std::vector<Point>{{10, 20}}));
  EXPECT_EQ(point.attributes, attributes);
  EXPECT_EQ(point.state.transform, AffineTransform::makeTranslation(5, 0));
  const auto inRect = ctx.operations(RecordingContext::Op::drawTextInRect).at(0);
  EXPECT_EQ(inRect.rect, Rect(0, 0, 30, 40));
  EXPECT_EQ(inRect.attributes.resolvedFont(), Font::systemFont());
  EXPECT_EQ(inRect.attributes.resolvedColor(), Color::black());
  EXPECT_EQ(inRect.attributes.resolvedAlignment(), TextAlignment::natural);
  EXPECT_EQ(attributes.resolvedAlignment(), TextAlignment::center);
}
