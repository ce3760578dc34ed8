#include "platform/graphics/FarShapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace platform::graphics::farshapes {

namespace {

// The point a fraction t of the way from a to b; never overflows.
Point between(Point a, Point b, double t) { return {a.x * (1 - t) + b.x * t, a.y * (1 - t) + b.y * t}; }

// Where along a→b the coordinate `value` is reached, halving first so that
// differences of far coordinates stay finite.
double fraction(double from, double to, double value) { return (value / 2 - from / 2) / (to / 2 - from / 2); }

}  // namespace

Box Box::around(const std::vector<Point>& points) {
  Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Point p : points) {
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x);
    box.bottom = std::max(box.bottom, p.y);
  }
  return box;
}

Box reachOfSurface(double width, double height, double strokeWidth, double widest) {
  const double miter = kMiterLimit / 2 * strokeWidth;
  const double longest = kMiterLimit / 2 * widest;
  // The comparison also takes a miter that is not a number.
  return Box{0, 0, width, height}.grown(kFringe + (miter < longest ? miter : longest));
}

std::vector<Point> cutPolygon(std::vector<Point> polygon, const Box& box) {
  const auto cut = [&](auto inside, auto crossing) {
    std::vector<Point> kept;
    for (size_t i = 0; i < polygon.size(); ++i) {
      const Point a = polygon[i];
      const Point b = polygon[(i + 1) % polygon.size()];
      if (inside(a)) kept.push_back(a);
      if (inside(a) != inside(b)) kept.push_back(crossing(a, b));
    }
    polygon = std::move(kept);
  };
  const auto atX = [](double x) {
    return [x](Point a, Point b) { return Point{x, between(a, b, fraction(a.x, b.x, x)).y}; };
  };
  const auto atY = [](double y) {
    return [y](Point a, Point b) { return Point{between(a, b, fraction(a.y, b.y, y)).x, y}; };
  };
  cut([&](Point p) { return p.x >= box.left; }, atX(box.left));
  cut([&](Point p) { return p.x <= box.right; }, atX(box.right));
  cut([&](Point p) { return p.y >= box.top; }, atY(box.top));
  cut([&](Point p) { return p.y <= box.bottom; }, atY(box.bottom));
  return polygon;
}

bool cutSegment(Point a, Point b, const Box& box, double& t0, double& t1) {
  t0 = 0;
  t1 = 1;
  const auto limit = [&](double from, double to, double low, double high) {
    if (from == to) return from >= low && from <= high;
    double enter = fraction(from, to, low);
    double leave = fraction(from, to, high);
    if (enter > leave) std::swap(enter, leave);
    t0 = std::max(t0, enter);
    t1 = std::min(t1, leave);
    return t0 <= t1;
  };
  return limit(a.x, b.x, box.left, box.right) && limit(a.y, b.y, box.top, box.bottom);
}

std::vector<Polyline> cutPolyline(const std::vector<Point>& points, bool closed, const Box& box) {
  std::vector<Polyline> pieces;
  bool cut = false;
  Polyline current;
  const size_t segments = closed ? points.size() : points.size() - 1;
  for (size_t i = 0; i < segments; ++i) {
    const Point a = points[i];
    const Point b = points[(i + 1) % points.size()];
    double t0 = 0, t1 = 1;
    if (!cutSegment(a, b, box, t0, t1)) {
      cut = true;
      if (!current.points.empty()) pieces.push_back(std::exchange(current, {}));
      continue;
    }
    if (t0 > 0 && !current.points.empty()) pieces.push_back(std::exchange(current, {}));
    if (current.points.empty()) current.points.push_back(t0 > 0 ? between(a, b, t0) : a);
    current.points.push_back(t1 < 1 ? between(a, b, t1) : b);
    if (t0 > 0 || t1 < 1) cut = true;
    if (t1 < 1) pieces.push_back(std::exchange(current, {}));
  }
  if (!current.points.empty()) pieces.push_back(std::move(current));
  if (!cut) return {Polyline{points, closed}};
  // A closed polyline cut away from its start: its first and last pieces
  // meet there.
  if (closed && pieces.size() > 1 && pieces.front().points.front() == points.front() &&
      pieces.back().points.back() == points.front()) {
    Polyline& last = pieces.back();
    last.points.insert(last.points.end(), pieces.front().points.begin() + 1, pieces.front().points.end());
    pieces.erase(pieces.begin());
  }
  return pieces;
}

std::vector<Polyline> ellipseInBox(const AffineTransform& e, const Box& box, bool toFill) {
  const AffineTransform inverse = e.inverted();
  const auto at = [&](double angle) { return e.apply(Point{std::cos(angle), std::sin(angle)}); };
  const auto insideEllipse = [&](Point p) {
    const Point q = inverse.apply(p);
    return q.x * q.x + q.y * q.y <= 1;
  };

  // The angles where the outline crosses a side of the box:
  // tx + a·cos θ + c·sin θ = x, and ty + b·cos θ + d·sin θ = y.
  constexpr double kTurn = 2 * std::numbers::pi;
  std::vector<double> angles{0, kTurn};
  const auto crossings = [&](double p, double q, double origin, double side) {
    const double radius = std::hypot(p, q);
    const double k = (side - origin) / radius;
    if (!(std::fabs(k) <= 1)) return;
    const double phase = std::atan2(q, p);
    for (const double angle : {phase + std::acos(k), phase - std::acos(k)})
      angles.push_back(angle - kTurn * std::floor(angle / kTurn));
  };
  for (const double x : {box.left, box.right}) crossings(e.a, e.c, e.tx, x);
  for (const double y : {box.top, box.bottom}) crossings(e.b, e.d, e.ty, y);
  std::sort(angles.begin(), angles.end());

  // A step of s radians on a circle of radius r strays r·(1 - cos(s/2)) <
  // r·s²/8 from it; the ellipse strays no more than the circle of its
  // longest half axis.
  const double radius = largestStretch(e);
  const double step = std::sqrt(8 * kTolerance / radius);
  std::vector<Polyline> arcs;
  for (size_t i = 0; i + 1 < angles.size(); ++i) {
    const double from = angles[i];
    const double length = angles[i + 1] - from;
    if (!(length > 0) || !box.contains(at(from + length / 2))) continue;
    const double corners = std::clamp(std::ceil(length / step), 1.0, kMaxArcCorners);
    Polyline arc;
    for (double j = 0; j <= corners; ++j) arc.points.push_back(at(from + length * (j / corners)));
    // The arc that ends at a full turn goes on into the one from 0.
    if (!arcs.empty() && from + length >= kTurn && arcs.front().points.front() == at(0)) {
      arc.points.insert(arc.points.end(), arcs.front().points.begin() + 1, arcs.front().points.end());
      arcs.front() = std::move(arc);
    } else {
      arcs.push_back(std::move(arc));
    }
  }
  if (!toFill) return arcs;

  std::vector<Point> corners;
  for (const Polyline& arc : arcs) corners.insert(corners.end(), arc.points.begin(), arc.points.end());
  for (const Point corner : box.corners())
    if (insideEllipse(corner)) corners.push_back(corner);
  if (corners.size() < 3) return {};
  // A convex polygon: its corners in order of their angle about a point
  // inside it.
  Point centre{0, 0};
  for (const Point p : corners) centre = Point{centre.x + p.x / corners.size(), centre.y + p.y / corners.size()};
  std::sort(corners.begin(), corners.end(), [&](Point p, Point q) {
    return std::atan2(p.y - centre.y, p.x - centre.x) < std::atan2(q.y - centre.y, q.x - centre.x);
  });
  return {Polyline{std::move(corners), true}};
}

Box ellipseBounds(const AffineTransform& e) {
  const double halfWidth = std::hypot(e.a, e.c);
  const double halfHeight = std::hypot(e.b, e.d);
  return Box{e.tx - halfWidth, e.ty - halfHeight, e.tx + halfWidth, e.ty + halfHeight};
}

double largestStretch(const AffineTransform& t) {
  // Halved first, so that parts near the largest double add up finitely.
  return std::hypot(t.a / 2 + t.d / 2, t.b / 2 - t.c / 2) + std::hypot(t.a / 2 - t.d / 2, t.b / 2 + t.c / 2);
}

}  // namespace platform::graphics::farshapes
