#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "platform/graphics/Geometry.h"
#include "support/GeometryExpectations.h"

using platform::graphics::AffineTransform;
using platform::graphics::Point;
using platform::graphics::Rect;
using testsupport::expectNear;

TEST(Geometry, TransformOperationsGiveTheirDefinedResults) {
  const AffineTransform general{1, 2, 3, 4, 5, 6};
  const AffineTransform scale = AffineTransform::makeScale(2, 3);
  const AffineTransform shift = AffineTransform::makeTranslation(10, 20);
  struct Case {
    std::string name;
    AffineTransform actual;
    AffineTransform expected;
  };
  const Case cases[] = {
      {"translation", AffineTransform::makeTranslation(3, -4), {1, 0, 0, 1, 3, -4}},
      {"scale", AffineTransform::makeScale(2, -3), {2, 0, 0, -3, 0, 0}},
      // concat: the receiver first, so the translation is scaled only in the second order.
      {"scale then shift", scale.concat(shift), {2, 0, 0, 3, 10, 20}},
      {"shift then scale", shift.concat(scale), {2, 0, 0, 3, 20, 60}},
      {"general then general", general.concat(general), {7, 10, 15, 22, 28, 40}},
      // scaled and translated apply their step before the receiver.
      {"scaled", general.scaled(10, 100), {10, 20, 300, 400, 5, 6}},
      {"translated", general.translated(10, 100), {1, 2, 3, 4, 315, 426}},
      {"inverse", general.inverted(), {-2, 1, 1.5, -0.5, 1, -2}},
      {"inverse undoes", general.concat(general.inverted()), AffineTransform::identity()},
      {"singular returns itself", AffineTransform{1, 2, 2, 4, 5, 6}.inverted(), {1, 2, 2, 4, 5, 6}},
      {"zero scale returns itself", AffineTransform::makeScale(0, 2).inverted(), {0, 0, 0, 2, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;

  expectNear(AffineTransform::makeRotation(std::numbers::pi / 2).apply(Point{1, 0}), {0, 1}, "quarter turn");
  EXPECT_EQ(general.apply(Point{1, 1}), (Point{9, 12}));
}

TEST(Geometry, RectMeasuresAndMappingNormaliseTheSize) {
  const Rect flippedBack(10, 20, -5, -8);
  EXPECT_EQ(flippedBack.width(), 5);
  EXPECT_EQ(flippedBack.height(), 8);
  EXPECT_EQ(flippedBack.minX(), 5);
  EXPECT_EQ(flippedBack.minY(), 12);
  EXPECT_EQ(flippedBack.maxX(), 10);
  EXPECT_EQ(flippedBack.maxY(), 20);
  EXPECT_EQ(flippedBack.midX(), 7.5);
  EXPECT_EQ(flippedBack.midY(), 16);
  EXPECT_EQ(flippedBack.standardized(), Rect(5, 12, 5, 8));
  // The stored size is kept as given.
  EXPECT_EQ(flippedBack.size.width, -5);

  struct Case {
    std::string name;
    AffineTransform transform;
    Rect rect;
    Rect expected;
  };
  const Case cases[] = {
      {"identity normalises", {}, {10, 20, -5, -8}, {5, 12, 5, 8}},
      {"flip", AffineTransform::makeScale(1, -1).translated(0, -100), {0, 0, 10, 5}, {0, 95, 10, 5}},
      {"mirror", AffineTransform::makeScale(-2, 1), {1, 1, 3, 4}, {-8, 1, 6, 4}},
      {"quarter turn", AffineTransform::makeRotation(std::numbers::pi / 2), {0, 0, 4, 2}, {-2, 0, 2, 4}},
  };
  for (const Case& c : cases) expectNear(c.transform.apply(c.rect), c.expected, c.name);
}
