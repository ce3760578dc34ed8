#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/FarShapes.h"

using namespace platform::graphics;
using namespace platform::graphics::farshapes;

namespace {

const Box kSurface{0, 0, 100, 100};

// The winding number of the polygon (closed) about the point.
int winding(const std::vector<Point>& polygon, Point p) {
  int turns = 0;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const Point a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
    if (a.y <= p.y && b.y > p.y && side > 0) ++turns;
    if (a.y > p.y && b.y <= p.y && side < 0) --turns;
  }
  return turns;
}

// Points spread over the surface, none on a side of the shapes below.
std::vector<Point> grid() {
  std::vector<Point> points;
  for (double x = 0.25; x < 100; x += 7)
    for (double y = 0.25; y < 100; y += 7) points.push_back({x, y});
  return points;
}

void expectPieces(const std::vector<Polyline>& actual, const std::vector<Polyline>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i].closed, expected[i].closed) << "piece " << i;
    ASSERT_EQ(actual[i].points.size(), expected[i].points.size()) << "piece " << i;
    for (size_t j = 0; j < actual[i].points.size(); ++j)
      EXPECT_LT(std::hypot(actual[i].points[j].x - expected[i].points[j].x,
                           actual[i].points[j].y - expected[i].points[j].y), 1e-6) << "piece " << i << " point " << j;
  }
}

}  // namespace

// A stroke keeps exactly the part of each line inside the box, whichever way
// it runs, and every corner inside keeps its join: a closed shape's start
// too, and a sharp corner outside the surface whose miter reaches onto it.
TEST(FarShapes, PolylinesKeepTheirInsidePartAndJoins) {
  constexpr double kFar = 1.5e308;
  const Box stroke4 = reachOfSurface(100, 100, 4, 131072);  // 2 + 10 half widths past the surface
  using Pieces = std::optional<std::vector<Polyline>>;
  const auto one = [](std::vector<Point> points, bool closed = false) {
    return Pieces{{Polyline{std::move(points), closed}}};
  };
  const struct {
    std::string name;
    std::vector<Point> points;
    bool closed;
    Box box;
    Pieces kept;  // nothing: finite points in the box
  } rows[] = {
      {"left to right", {{-100, 50}, {200, 50}}, false, kSurface, one({{0, 50}, {100, 50}})},
      {"right to left", {{200, 50}, {-100, 50}}, false, kSurface, one({{100, 50}, {0, 50}})},
      {"downward", {{50, -100}, {50, 200}}, false, kSurface, one({{50, 0}, {50, 100}})},
      {"upward", {{50, 200}, {50, -100}}, false, kSurface, one({{50, 100}, {50, 0}})},
      {"diagonal down", {{-50, -50}, {150, 150}}, false, kSurface, one({{0, 0}, {100, 100}})},
      {"diagonal up", {{-50, 150}, {150, -50}}, false, kSurface, one({{0, 100}, {100, 0}})},
      {"beside the box", {{-50, -10}, {150, -10}}, false, kSurface, std::vector<Polyline>{}},
      {"all inside: as given", {{10, 10}, {90, 10}, {50, 90}}, true, kSurface,
       one({{10, 10}, {90, 10}, {50, 90}}, true)},
      {"closed far rectangle: joined at its start", {{50, 50}, {1e9, 50}, {1e9, 1e9}, {50, 1e9}}, true, kSurface,
       one({{50, 100}, {50, 50}, {100, 50}})},
      // The miter at (50, -15) is 8.6 half widths long and reaches y 2.
      {"sharp corner above the surface", {{40, -100}, {50, -15}, {60, -100}}, false, stroke4,
       one({{40 + 780 / 85.0, -22}, {50, -15}, {60 - 780 / 85.0, -22}})},
      {"endpoints at ±1.5e308", {{-kFar, 50}, {kFar, 50}}, false, kSurface, std::nullopt},
      {"diagonal from -1.5e308 to 1.5e308", {{-kFar, -kFar}, {kFar, kFar}}, false, kSurface, std::nullopt},
      {"closed, from 1.5e308 round", {{kFar, kFar}, {-kFar, -kFar}, {kFar, -kFar}}, true, kSurface, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::vector<Polyline> pieces = cutPolyline(row.points, row.closed, row.box);
    if (row.kept) {
      expectPieces(pieces, *row.kept);
      continue;
    }
    ASSERT_FALSE(pieces.empty());
    for (const Polyline& piece : pieces)
      for (const Point p : piece.points) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && kSurface.contains(p));
  }
  // A fill reaches the fringe; a stroke too wide, or one whose width
  // overflowed, reaches as far as the widest.
  EXPECT_EQ(reachOfSurface(100, 50, 0, 8), (Box{-2, -2, 102, 52}));
  EXPECT_EQ(stroke4, (Box{-22, -22, 122, 122}));
  EXPECT_EQ(reachOfSurface(100, 50, 1e300 * 1e300, 8), (Box{-42, -42, 142, 92}));
  EXPECT_EQ(reachOfSurface(100, 50, std::nan(""), 8), (Box{-42, -42, 142, 92}));
}

// A fill cut to the box winds about every point in the box as the whole
// polygon does, whichever side it crosses.
TEST(FarShapes, PolygonsKeepTheWindingInsideTheBox) {
  const struct {
    std::string name;
    std::vector<Point> polygon;
  } rows[] = {
      {"through the top", {{20, 50}, {50, -1e9}, {80, 50}}},
      {"through the bottom", {{20, 50}, {80, 50}, {50, 1e9}}},
      {"through the left", {{50, 20}, {-1e9, 50}, {50, 80}}},
      {"through the right", {{50, 20}, {50, 80}, {1e9, 50}}},
      {"over every side", {{50, -40}, {140, 50}, {50, 140}, {-40, 50}}},
      {"over every side, the other way", {{50, -40}, {-40, 50}, {50, 140}, {140, 50}}},
      {"twice round the box",
       {{-1e9, -1e9}, {1e9, -1e9}, {1e9, 1e9}, {-1e9, 1e9}, {-1e9, -1e9}, {1e9, -1e9}, {1e9, 1e9}, {-1e9, 1e9}}},
      {"beside the box", {{200, 0}, {300, 0}, {250, 100}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::vector<Point> cut = cutPolygon(row.polygon, kSurface);
    for (const Point p : cut) EXPECT_TRUE(kSurface.grown(1e-9).contains(p)) << p.x << ", " << p.y;
    for (const Point p : grid()) EXPECT_EQ(winding(cut, p), winding(row.polygon, p)) << p.x << ", " << p.y;
  }
}

// An ellipse partly in the box fills the part inside and strokes the arc
// inside, within the flattening tolerance of the curve; wholly outside it
// gives nothing.
TEST(FarShapes, EllipsesGiveThePartInTheBox) {
  const struct {
    std::string name;
    AffineTransform ellipse;
    Box box;
    size_t arcs;
    bool shows = true;
  } rows[] = {
      {"tall, below the box", {10, 0, 0, 80, 50, 150}, kSurface, 1},
      {"wide, left of the box", {80, 0, 0, 10, -50, 50}, kSurface, 1},
      {"tilted across a corner", {30, 30, -5, 5, 0, 0}, kSurface, 1},
      {"around the box", {1e6, 0, 0, 1e6, 50, 50}, kSurface, 0},
      {"outside the box", {10, 0, 0, 10, 200, 200}, kSurface, 0, false},
      {"in the box", {40, 0, 0, 20, 50, 50}, kSurface, 1},
      // A circle 2·10^7 pixels across: its arc over a surface 10 000 wide.
      {"a far circle", {2e7, 0, 0, 2e7, 5000, 2e7 + 5000}, Box{0, 0, 10000, 10000}, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const AffineTransform inverse = row.ellipse.inverted();
    const auto radius = [&](Point p) { return std::hypot(inverse.apply(p).x, inverse.apply(p).y); };
    const Box bounds = ellipseBounds(row.ellipse);
    EXPECT_EQ(bounds.meets(row.box), row.shows);

    const std::vector<Polyline> arcs = ellipseInBox(row.ellipse, row.box, false);
    ASSERT_EQ(arcs.size(), row.arcs);
    for (const Polyline& arc : arcs) {
      // Each corner on the curve, each line within 0.1 pixel of it, and the
      // arc's ends on the box's sides (or meeting, when the whole outline
      // is inside).
      for (size_t i = 0; i < arc.points.size(); ++i) {
        EXPECT_NEAR(radius(arc.points[i]), 1, 1e-9);
        EXPECT_TRUE(row.box.grown(1e-6).contains(arc.points[i]) && bounds.grown(1e-6).contains(arc.points[i]));
        if (i == 0) continue;
        const Point a = arc.points[i - 1], b = arc.points[i];
        const double from = std::atan2(inverse.apply(a).y, inverse.apply(a).x);
        double to = std::atan2(inverse.apply(b).y, inverse.apply(b).x);
        if (to < from - std::numbers::pi) to += 2 * std::numbers::pi;
        for (double s = 0.125; s < 1; s += 0.125) {
          const double angle = from + (to - from) * s;
          const Point curve = row.ellipse.apply(Point{std::cos(angle), std::sin(angle)});
          const double across = (b.x - a.x) * (curve.y - a.y) - (b.y - a.y) * (curve.x - a.x);
          EXPECT_LE(std::fabs(across) / std::hypot(b.x - a.x, b.y - a.y), kTolerance + 1e-7) << i;
        }
      }
      const auto onSide = [&](Point p) { return !row.box.grown(-1e-6).contains(p); };
      const Point first = arc.points.front(), last = arc.points.back();
      EXPECT_TRUE((onSide(first) && onSide(last)) || std::hypot(first.x - last.x, first.y - last.y) < 1e-9);
    }

    // The fill: the points of the box inside the ellipse, well clear of its
    // outline, and no others.
    const std::vector<Polyline> fill = ellipseInBox(row.ellipse, row.box, true);
    ASSERT_LE(fill.size(), 1u);
    EXPECT_EQ(fill.size(), row.shows ? 1u : 0u);
    if (row.box == kSurface)
      for (const Point p : grid()) {
        if (std::fabs(radius(p) - 1) < 0.05) continue;
        EXPECT_EQ(!fill.empty() && winding(fill[0].points, p) != 0, radius(p) < 1) << p.x << ", " << p.y;
      }
  }
  // The longest half axis: 1 for a turn, more than the bounds' half width
  // for a turned ellipse.
  EXPECT_NEAR(largestStretch(AffineTransform::makeRotation(0.3)), 1, 1e-15);
  EXPECT_NEAR(largestStretch({30, 30, -5, 5, 0, 0}), std::hypot(30, 30), 1e-12);
}
