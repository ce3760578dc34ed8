#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <future>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "Chart/Utils/ChartUtils.h"
#include "Chart/Utils/NSUIGraphics.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/graphics/TextMetrics.h"
#include "support/DrawingExpectations.h"
#include "support/GeometryExpectations.h"

using chart::ChartUtils;
using namespace platform::graphics;
using Op = RecordingContext::Op;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Every text measures 40 × 12; counts the measurements.
class CountingMetrics : public TextMetrics {
 public:
  mutable int calls = 0;
  Size size(std::string_view, const TextAttributes&) const override {
    ++calls;
    return {40, 12};
  }
  Rect boundingRect(std::string_view, Size, const TextAttributes&) const override {
    ++calls;
    return {0, 0, 40, 12};
  }
  double fontLineHeight(const Font&) const override { return 13; }
};

// Installs the metrics and a bitmap back end that counts the bitmaps it makes
// (and their sizes), for the test.
class ChartUtilsDrawing : public testing::Test {
 protected:
  ImageBackend counting() {
    ImageBackend backend;
    backend.makeBitmap = [this](int64_t w, int64_t h, bool) -> std::unique_ptr<BitmapContext> {
      bitmaps.push_back({static_cast<double>(w), static_cast<double>(h)});
      return std::make_unique<RecordingBitmapContext>(w, h);
    };
    return backend;
  }

  // The single drawText or drawTextInRect of a recording, with the transform
  // in force.
  static const RecordingContext::Operation& onlyText(const RecordingContext& ctx) {
    const auto& ops = ctx.operations();
    const auto it = std::find_if(ops.begin(), ops.end(),
                                 [](const auto& o) { return o.op == Op::drawText || o.op == Op::drawTextInRect; });
    EXPECT_NE(it, ops.end());
    return *it;
  }

  std::shared_ptr<CountingMetrics> metrics = std::make_shared<CountingMetrics>();
  std::vector<Size> bitmaps;
  const ScopedTextMetrics installedMetrics{metrics};
  const ScopedImageBackend installedBackend{counting()};
};

}  // namespace

TEST(ChartUtils, RoundToNextSignificantAndDecimals) {
  const struct {
    double number, rounded;
    int decimals;
  } table[] = {
      {1234, 1000, -1}, {0.0456, 0.05, 4}, {95, 100, 0},   {-0.0456, -0.05, 4}, {100, 100, 0},
      {0.5, 0.5, 3},    {1, 1, 2},         {50, 50, 1},    {0.001, 0.001, 5},   {950, 1000, -1},
      {1000, 1000, -1}, {0.15, 0.2, 3},    {0.25, 0.3, 3}, {7.5, 8, 2},
  };
  for (const auto& row : table) {
    EXPECT_EQ(ChartUtils::roundToNextSignificant(row.number), row.rounded) << row.number;
    EXPECT_EQ(ChartUtils::decimals(row.number), row.decimals) << row.number;
  }
  for (const double unchanged : {0.0, -0.0, kInf, -kInf}) {
    EXPECT_EQ(ChartUtils::roundToNextSignificant(unchanged), unchanged);
    EXPECT_EQ(ChartUtils::decimals(unchanged), 0);
  }
  EXPECT_TRUE(std::signbit(ChartUtils::roundToNextSignificant(-0.0)));
  EXPECT_TRUE(std::isnan(ChartUtils::roundToNextSignificant(kNaN)));
  EXPECT_EQ(ChartUtils::decimals(kNaN), 0);
  // The axis steps the renderers print keep their exact binary value.
  EXPECT_EQ(ChartUtils::roundToNextSignificant(0.6000000000000001), 0.6);
  // Subnormal magnitudes, where 10^p overflows, still round.
  const double tiny = 1.23e-310;
  EXPECT_NEAR(ChartUtils::roundToNextSignificant(tiny), 1e-310, 1e-313);
  EXPECT_NEAR(ChartUtils::roundToNextSignificant(-4.6e-320), -5e-320, 1e-322);
  EXPECT_EQ(ChartUtils::decimals(tiny), 312);
}

TEST_F(ChartUtilsDrawing, AlignedTextStartsByItsWidth) {
  const struct {
    TextAlignment align;
    double x;
    int measurements;
  } table[] = {
      {TextAlignment::right, 60, 1},     {TextAlignment::center, 80, 1},  {TextAlignment::left, 100, 0},
      {TextAlignment::natural, 100, 0},  {TextAlignment::justified, 100, 0},
  };
  const TextAttributes attributes{Font::systemFont(10), Color::gray(), std::nullopt};
  for (const auto& row : table) {
    RecordingContext ctx;
    metrics->calls = 0;
    ChartUtils::drawText(ctx, "label", {100, 10}, row.align, attributes);
    const auto& text = onlyText(ctx);
    EXPECT_EQ(text.points, (std::vector<Point>{{row.x, 10}})) << static_cast<int>(row.align);
    EXPECT_EQ(text.text, "label");
    EXPECT_EQ(text.attributes, attributes);
    EXPECT_EQ(metrics->calls, row.measurements);
    testsupport::expectFreshEnd(ctx);
    EXPECT_EQ(text.state.saveDepth, 1);
  }
}

// Anchored and turned text, single- and multi-line: where the text lands
// (device space) and the transform it is drawn under.
TEST_F(ChartUtilsDrawing, AnchoredAndTurnedText) {
  const double quarter = std::numbers::pi / 2;
  const struct {
    const char* name;
    Point anchor;
    double angle;
    Point translation;  // where user (0, 0) lands
    int measurements;
  } table[] = {
      {"bottom centre", {0.5, 1}, 0, {80, 38}, 1},
      {"top-left, unmeasured", {0, 0}, 0, {100, 50}, 0},
      {"centre", {0.5, 0.5}, 0, {80, 44}, 1},
      {"quarter turn about the centre", {0.5, 0.5}, quarter, {100, 50}, 1},
      // The turned box is 12 wide: its right edge at the point moves the
      // centre left by half of it.
      {"quarter turn, right edge", {1, 0.5}, quarter, {94, 50}, 1},
      {"quarter turn, bottom", {0.5, 1}, quarter, {100, 30}, 1},
  };
  for (const auto& row : table) {
    for (const bool multiline : {false, true}) {
      RecordingContext ctx;
      metrics->calls = 0;
      if (multiline) {
        ChartUtils::drawMultilineText(ctx, "a label", {40, 12}, {100, 50}, {}, row.anchor, row.angle);
      } else {
        ChartUtils::drawText(ctx, "a label", {100, 50}, {}, row.anchor, row.angle);
      }
      const std::string label = std::string(row.name) + (multiline ? " (multi-line)" : "");
      const auto& text = onlyText(ctx);
      EXPECT_EQ(metrics->calls, multiline ? 0 : row.measurements) << label;
      if (row.angle == 0) {
        const Point at = multiline ? text.rect.origin : text.points.at(0);
        testsupport::expectNear(at, row.translation, label);
        EXPECT_EQ(text.state.transform, AffineTransform::identity()) << label;
        if (multiline) {
          EXPECT_EQ(text.rect.size, (Size{40, 12})) << label;
        }
      } else {
        const Point at = multiline ? text.rect.origin : text.points.at(0);
        testsupport::expectNear(at, Point{-20, -6}, label);
        testsupport::expectNear(text.state.transform,
                                AffineTransform::makeRotation(quarter).concat(
                                    AffineTransform::makeTranslation(row.translation.x, row.translation.y)),
                                label);
      }
      testsupport::expectFreshEnd(ctx, label);
    }
  }
}

// A resized copy is made once per size and kept with the icon; an icon that
// matches the size on one side is drawn as it is; a copy that cannot be made
// draws nothing and leaves an open image context alone.
TEST_F(ChartUtilsDrawing, IconsAreResizedOnceAndReused) {
  const auto icon = Image::make(32, 32, std::vector<uint32_t>(32 * 32, 0xFFFF0000u));
  RecordingContext ctx;
  ChartUtils::drawImage(ctx, *icon, 50, 40, {16, 16});
  ChartUtils::drawImage(ctx, *icon, 70, 40, {16, 16});
  EXPECT_EQ(bitmaps, (std::vector<Size>{{16, 16}}));
  const auto copy = icon->associatedImage("resized_16.0_16.0");
  ASSERT_TRUE(copy);
  const auto draws = ctx.operations(Op::drawImage);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].image, copy.get());
  EXPECT_EQ(draws[1].image, copy.get());
  EXPECT_EQ(draws[0].rect, Rect(42, 32, 16, 16));
  EXPECT_EQ(draws[1].rect, Rect(62, 32, 16, 16));
  EXPECT_EQ(draws[0].state.saveDepth, 1);
  testsupport::expectFreshEnd(ctx);

  // The copy was drawn from the icon into the bitmap's full size.
  ChartUtils::drawImage(ctx, *icon, 0, 0, {8.5, 4});
  EXPECT_TRUE(icon->associatedImage("resized_8.5_4.0"));
  EXPECT_EQ(bitmaps.back(), (Size{8, 4}));

  const auto tall = Image::make(16, 32, std::vector<uint32_t>(16 * 32, 0u));
  RecordingContext plain;
  ChartUtils::drawImage(plain, *tall, 10, 10, {16, 16});
  EXPECT_EQ(plain.operations(Op::drawImage).at(0).image, tall.get());
  EXPECT_EQ(plain.operations(Op::drawImage).at(0).rect, Rect(2, 2, 16, 16));
  EXPECT_EQ(bitmaps.size(), 2u);

  chart::NSUIGraphicsBeginImageContextWithOptions({3, 3}, false, 1);
  DrawingContext* outer = chart::NSUIGraphicsGetCurrentContext();
  RecordingContext none;
  ChartUtils::drawImage(none, *icon, 10, 10, {0.5, 0.5});
  EXPECT_TRUE(none.operations().empty());
  EXPECT_FALSE(icon->associatedImage("resized_0.5_0.5"));
  EXPECT_EQ(chart::NSUIGraphicsGetCurrentContext(), outer);
  chart::NSUIGraphicsEndImageContext();
  EXPECT_EQ(chart::NSUIGraphicsGetCurrentContext(), nullptr);

  // The icon keeps the copies of the last few sizes only.
  for (const double side : {1, 2, 3, 4, 5, 6}) ChartUtils::drawImage(ctx, *icon, 0, 0, {side, side});
  EXPECT_FALSE(icon->associatedImage("resized_1.0_1.0") || icon->associatedImage("resized_2.0_2.0"));
  EXPECT_TRUE(icon->associatedImage("resized_3.0_3.0") && icon->associatedImage("resized_6.0_6.0"));
  // No copy wider or taller than the surface drawn on: the icon itself,
  // scaled.
  RecordingContext small(Size{100, 100});
  const size_t made = bitmaps.size();
  ChartUtils::drawImage(small, *icon, 50, 50, {400, 50});
  ChartUtils::drawImage(small, *icon, 50, 50, {50, 400});
  EXPECT_EQ(bitmaps.size(), made);
  EXPECT_EQ(small.operations(Op::drawImage).at(0).image, icon.get());
  EXPECT_EQ(small.operations(Op::drawImage).at(0).rect, Rect(-150, 25, 400, 50));
  EXPECT_EQ(small.operations(Op::drawImage).at(1).image, icon.get());
}

// Two threads draw with one icon at once, each on its own context, at new
// sizes that push each other's copies out of the icon's cache.
TEST(ChartUtilsThreads, OneIconDrawnFromTwoThreads) {
  const auto icon = Image::make(8, 8, std::vector<uint32_t>(64, 0xFF00FF00u));
  const auto draw = [&](double first) {
    RecordingContext ctx;
    for (int i = 0; i < 500; ++i) ChartUtils::drawImage(ctx, *icon, 0, 0, {first + i * 0.02, 4});
    return ctx.operations(Op::drawImage).size();
  };
  auto other = std::async(std::launch::async, draw, 2.01);
  EXPECT_EQ(draw(2.0), 500u);
  EXPECT_EQ(other.get(), 500u);
}
