#pragma once

#include <vector>

#include "platform/graphics/Geometry.h"

// The geometry a raster context needs for shapes that reach far past its
// surface, in pixels of the surface (device space).
//
// A rasterizer in fixed point cannot take every finite coordinate: Cairo
// keeps path coordinates in 24.8 fixed point, so a point past 2^23 pixels
// wraps round and a far shape comes out bent, and it traces every arc whole,
// so a huge circle takes minutes. A shape that reaches far out is therefore
// cut to a box around the surface first: grown by what antialiasing can
// reach and, for a stroke, by the longest miter. Inside that box the cut
// shape paints the same pixels as the whole one; outside it, nothing shows.
namespace platform::graphics::farshapes {

// Within 2^22 pixels of the origin (half of what 24.8 fixed point holds) a
// path is handed over as it is, uncut.
constexpr double kSafeReach = 4194304;
// How far a flattened arc strays from the curve at most (Cairo's own
// tolerance), and the most corners one arc gets.
constexpr double kTolerance = 0.1;
constexpr double kMaxArcCorners = 65536;
// Past the surface, what antialiasing can reach.
constexpr double kFringe = 2;
// Cairo's default miter limit: a miter reaches at most this many half line
// widths past its corner.
constexpr double kMiterLimit = 10;

// A box with its sides, closed: a point on a side is inside.
struct Box {
  double left, top, right, bottom;

  // The smallest box holding the points (at least one).
  static Box around(const std::vector<Point>& points);
  static Box of(const Rect& r) { return Box{r.minX(), r.minY(), r.maxX(), r.maxY()}; }
  Box grown(double by) const { return Box{left - by, top - by, right + by, bottom + by}; }
  bool contains(Point p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
  bool contains(const Box& b) const { return b.left >= left && b.right <= right && b.top >= top && b.bottom <= bottom; }
  bool meets(const Box& b) const { return left <= b.right && b.left <= right && top <= b.bottom && b.top <= bottom; }
  // Clockwise from the top-left (y growing downward).
  std::vector<Point> corners() const { return {{left, top}, {right, top}, {right, bottom}, {left, bottom}}; }
  friend constexpr bool operator==(const Box&, const Box&) = default;
};

// The box outside which nothing drawn on a surface of width × height pixels
// can show: kFringe past the surface for antialiasing and, for a stroke
// strokeWidth pixels wide (0 for a fill or clip), a miter's length more, at
// most kMiterLimit half widths. A width above `widest`, or one that is not a
// number (a product that overflowed), reaches as far as `widest`.
Box reachOfSurface(double width, double height, double strokeWidth, double widest);

// The polygon cut to the box (Sutherland–Hodgman, one side at a time).
// Within the box the winding number of every point stays as it was, so a
// fill or clip there is the same; outside it the cut runs along the box.
std::vector<Point> cutPolygon(std::vector<Point> polygon, const Box& box);

// The part of the segment a→b inside the box (Liang–Barsky), as fractions
// t0 ≤ t1 of the way from a to b; false when no part is. Far coordinates
// are halved before they are subtracted, so that ±1.5e308 stays finite.
bool cutSegment(Point a, Point b, const Box& box, double& t0, double& t1);

struct Polyline {
  std::vector<Point> points;
  bool closed = false;
  friend bool operator==(const Polyline&, const Polyline&) = default;
};

// The lines of the polyline (at least one point) that lie in the box, as
// open pieces, each running on from where it enters the box to where it
// leaves, so every corner inside keeps its join; the polyline itself, as
// given, when nothing lies outside. A closed polyline cut away from its
// start has its last piece go on into its first, so the start keeps its
// join too.
std::vector<Polyline> cutPolyline(const std::vector<Point>& points, bool closed, const Box& box);

// The ellipse (the image of the unit circle under e, which can be inverted)
// where it lies in the box: to fill, the one convex polygon the ellipse and
// the box have in common (closed; nothing when they share no area); to
// stroke, the arcs of its outline within the box, open (the whole outline,
// when it lies in the box, as one arc from angle 0 round to a full turn).
// Arcs are flattened to within kTolerance pixels of the curve, and only the
// part within the box is traced, however large the ellipse.
std::vector<Polyline> ellipseInBox(const AffineTransform& e, const Box& box, bool toFill);

// The box that holds the ellipse (the image of the unit circle under e).
Box ellipseBounds(const AffineTransform& e);

// How far the transform stretches a length at most: its larger singular
// value, the longest half axis of the ellipse it makes of the unit circle.
// For a turned transform it exceeds the half width and height of that
// ellipse's bounds.
double largestStretch(const AffineTransform& t);

}  // namespace platform::graphics::farshapes
