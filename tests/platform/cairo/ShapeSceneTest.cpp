#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Chart/Data/ScatterChartDataSet.h"
#include "Chart/Utils/ViewPortHandler.h"
#include "platform/cairo/CairoContext.h"
#include "platform/cairo/CairoImages.h"
#include "support/PixelSupport.h"
#include "support/FakeHost.h"

using namespace platform::graphics;
using chart::ScatterChartDataSet;
using chart::ScatterShape;
using platform::cairo::CairoContext;
using namespace pixels;
using testsupport::testOutputFolder;

namespace {

// An opaque colour from 0-255 components, and the pixel Cairo paints it as.
struct Paint {
  int r, g, b;
  Color color() const { return Color::rgb(r / 255.0, g / 255.0, b / 255.0); }
  uint32_t pixel() const { return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }
};

// Within `tolerance` of the paint in every channel: for the pixels that a
// slanted one-point line covers only in part.
bool near(uint32_t p, Paint paint, int tolerance) {
  return std::abs(red(p) - paint.r) <= tolerance && std::abs(green(p) - paint.g) <= tolerance &&
         std::abs(blue(p) - paint.b) <= tolerance;
}

const Paint kBackground{255, 255, 255};
const Paint kHole{255, 210, 0};

struct ShapeColumn {
  ScatterShape shape;
  const char* name;
  Paint paint;
};
const ShapeColumn kColumns[] = {
    {ScatterShape::square, "square", {200, 30, 30}},      {ScatterShape::circle, "circle", {30, 120, 200}},
    {ScatterShape::triangle, "triangle", {30, 160, 60}},  {ScatterShape::cross, "cross", {120, 60, 180}},
    {ScatterShape::x, "x", {220, 120, 20}},               {ScatterShape::chevronUp, "chevron up", {20, 150, 150}},
    {ScatterShape::chevronDown, "chevron down", {90, 90, 90}},
};

// The three rows: no hole, a hole filled in the hole colour, and a hole left
// open.
enum Row { plain = 0, filledHole = 1, openHole = 2 };

constexpr int kCell = 100;
constexpr double kSize = 30;
constexpr double kHoleRadius = 8;

}  // namespace

// One of each shape in every row, drawn by the renderer each shape selects
// into real pixels, each call within its own graphics state; the picture is
// written as shape-scene.png for looking at.
TEST(ShapeScene, EveryShapeWithAndWithoutAHole) {
  constexpr int width = kCell * 7, height = kCell * 3;
  auto ctx = CairoContext::create(width, height);
  ASSERT_TRUE(ctx);
  ctx->setFillColor(kBackground.color());
  ctx->fillRect(Rect(0, 0, width, height));
  const chart::ViewPortHandler viewPort(width, height);

  // Centres on pixel middles, so that a one-point line through a centre
  // covers its pixels whole.
  const auto centre = [](int column, int row) {
    return Point{column * kCell + kCell / 2 + 0.5, row * kCell + kCell / 2 + 0.5};
  };
  for (int row = plain; row <= openHole; ++row) {
    for (int column = 0; column < 7; ++column) {
      ScatterChartDataSet set;
      set.setScatterShape(kColumns[column].shape);
      set.setScatterShapeSize(kSize);
      if (row != plain) set.setScatterShapeHoleRadius(kHoleRadius);
      if (row == filledHole) set.setScatterShapeHoleColor(kHole.color());
      ctx->saveGState();
      set.shapeRenderer()->renderShape(*ctx, set, viewPort, centre(column, row), kColumns[column].paint.color());
      ctx->restoreGState();
    }
  }
  ASSERT_FALSE(ctx->isInErrorState());
  const auto image = ctx->makeImage(1);
  const auto path = testOutputFolder() / "shape-scene.png";
  ASSERT_TRUE(platform::cairo::writePNG(*image, path));
  std::printf("shape scene written to %s\n", path.c_str());

  // The pixel at offset (dx, dy) from a shape's centre.
  const auto at = [&](int column, int row, int dx, int dy) {
    const Point c = centre(column, row);
    return pixelAt(*image, static_cast<int64_t>(c.x) + dx, static_cast<int64_t>(c.y) + dy);
  };
  for (int row = plain; row <= openHole; ++row) {
    const std::string label = "row " + std::to_string(row);
    const uint32_t holePixel = row == plain ? 0 : row == filledHole ? kHole.pixel() : kBackground.pixel();

    // The filled shapes: the centre in the shape colour, or in the hole's
    // (the background where the hole is open); the ring or band around a
    // hole in the shape colour; the background just outside the shape.
    // The ring is 7 wide from 8 to 15 points out; the triangle's band is
    // 4 to 7.5 points out on the centre's row.
    for (const int column : {0, 1, 2}) {
      const Paint paint = kColumns[column].paint;
      const std::string where = label + ", " + kColumns[column].name;
      EXPECT_EQ(at(column, row, 0, 0), row == plain ? paint.pixel() : holePixel) << where;
      EXPECT_EQ(at(column, row, column == 2 ? -6 : -12, 0), paint.pixel()) << where;
      EXPECT_EQ(at(column, row, 17, 0), kBackground.pixel()) << where;
    }
    EXPECT_EQ(at(0, row, 13, 13), kColumns[0].paint.pixel()) << label << ": the square's corner";
    EXPECT_EQ(at(1, row, 13, 13), kBackground.pixel()) << label << ": outside the circle";
    EXPECT_EQ(at(2, row, 0, -16), kBackground.pixel()) << label << ": above the triangle's apex";
    EXPECT_EQ(at(2, row, 0, -13), kColumns[2].paint.pixel()) << label << ": the triangle's tip";

    // The line shapes ignore the hole: the same lines in every row. The cross
    // and the X meet at the centre and reach half the size out; the
    // chevrons stand the whole size above (up) or below (down) the centre,
    // which they leave bare.
    EXPECT_EQ(at(3, row, 0, 0), kColumns[3].paint.pixel()) << label;
    EXPECT_EQ(at(3, row, -14, 0), kColumns[3].paint.pixel()) << label;
    EXPECT_EQ(at(3, row, 0, 14), kColumns[3].paint.pixel()) << label;
    EXPECT_EQ(at(3, row, 5, 5), kBackground.pixel()) << label;
    EXPECT_TRUE(near(at(4, row, 0, 0), kColumns[4].paint, 8)) << label;
    EXPECT_TRUE(near(at(4, row, 10, -10), kColumns[4].paint, 40)) << label;
    EXPECT_EQ(at(4, row, 10, 0), kBackground.pixel()) << label;
    EXPECT_EQ(at(4, row, 17, 17), kBackground.pixel()) << label << ": the X ends at half the size";
    for (const int column : {5, 6}) {
      const int side = column == 5 ? -1 : 1;  // up or down
      const std::string where = label + ", " + kColumns[column].name;
      EXPECT_EQ(at(column, row, 0, 0), kBackground.pixel()) << where;
      EXPECT_TRUE(near(at(column, row, 10, side * 20), kColumns[column].paint, 40)) << where;
      EXPECT_TRUE(near(at(column, row, -20, side * 10), kColumns[column].paint, 40)) << where;
      EXPECT_EQ(at(column, row, 10, -side * 20), kBackground.pixel()) << where << ": nothing on the other side";
      EXPECT_EQ(at(column, row, 0, side * 20), kBackground.pixel()) << where << ": open between the arms";
    }
  }
}
