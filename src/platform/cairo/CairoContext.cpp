#include "platform/cairo/CairoContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

#include "platform/cairo/CairoImages.h"
#include "platform/graphics/Layer.h"

namespace platform::cairo {

using graphics::AffineTransform;
using graphics::Color;
using graphics::DropReason;
using graphics::Font;
using graphics::Gradient;
using graphics::GradientOptions;
using graphics::Image;
using graphics::LineCap;
using graphics::Point;
using graphics::Rect;
using graphics::TextAlignment;
using graphics::TextAttributes;

namespace {

bool finite(double v) { return std::isfinite(v); }
bool finite(Point p) { return finite(p.x) && finite(p.y); }

double component(double value) { return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0); }

bool has(GradientOptions options, GradientOptions flag) {
  return (static_cast<unsigned>(options) & static_cast<unsigned>(flag)) != 0;
}

bool invertible(const cairo_matrix_t& m) {
  const double det = m.xx * m.yy - m.yx * m.xy;
  if (!std::isfinite(det) || det == 0) return false;
  cairo_matrix_t inverse = m;
  if (cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS) return false;
  for (const double v : {inverse.xx, inverse.yx, inverse.xy, inverse.yy, inverse.x0, inverse.y0})
    if (!std::isfinite(v)) return false;
  return true;
}

cairo_matrix_t toCairo(const AffineTransform& t) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
  return m;
}

AffineTransform fromCairo(const cairo_matrix_t& m) { return {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0}; }

// How far a transformation stretches at most (a bound: the root of the
// sum of its squared parts).
double stretch(const cairo_matrix_t& m) { return std::sqrt(m.xx * m.xx + m.yx * m.yx + m.xy * m.xy + m.yy * m.yy); }

void addStops(cairo_pattern_t* pattern, const Gradient& gradient) {
  for (const auto& stop : gradient.stops) {
    if (!std::isfinite(stop.location)) continue;
    cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), component(stop.color.red),
                                      component(stop.color.green), component(stop.color.blue),
                                      component(stop.color.alpha));
  }
}

// Pixels of the surface (device space) from here on.

// Cairo keeps path coordinates in 24.8 fixed point (up to 2^23): within 2^22
// of the origin a path is handed over as it is.
constexpr double kSafeReach = 4194304;
// How far a flattened arc strays from the curve at most (Cairo's own
// tolerance), and the most corners one arc gets.
constexpr double kTolerance = 0.1;
constexpr double kMaxArcCorners = 65536;
// Past the surface, what antialiasing can reach.
constexpr double kFringe = 2;
// Cairo's miter limit: a miter reaches at most this many half line widths.
constexpr double kMiterLimit = 10;

struct Box {
  double left, top, right, bottom;

  static Box around(const std::vector<Point>& points) {
    Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point p : points) {
      box.left = std::min(box.left, p.x);
      box.top = std::min(box.top, p.y);
      box.right = std::max(box.right, p.x);
      box.bottom = std::max(box.bottom, p.y);
    }
    return box;
  }
  static Box of(const Rect& r) { return Box{r.minX(), r.minY(), r.maxX(), r.maxY()}; }
  Box grown(double by) const { return Box{left - by, top - by, right + by, bottom + by}; }
  bool contains(Point p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
  bool contains(const Box& b) const { return b.left >= left && b.right <= right && b.top >= top && b.bottom <= bottom; }
  bool meets(const Box& b) const { return left <= b.right && b.left <= right && top <= b.bottom && b.top <= bottom; }
  std::vector<Point> corners() const { return {{left, top}, {right, top}, {right, bottom}, {left, bottom}}; }
};

// The point a fraction t of the way from a to b; never overflows.
Point between(Point a, Point b, double t) { return {a.x * (1 - t) + b.x * t, a.y * (1 - t) + b.y * t}; }

// Where along a→b the coordinate `value` is reached, halving first so that
// differences of far coordinates stay finite.
double fraction(double from, double to, double value) { return (value / 2 - from / 2) / (to / 2 - from / 2); }

// The polygon cut to the box (Sutherland–Hodgman). Within the box the
// winding of every point stays as it was, so a fill or clip there is the
// same; outside it the cut runs along the box.
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

// The part of the segment inside the box (Liang–Barsky), as fractions of
// the way from a to b; false when none is.
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

struct Polyline {
  std::vector<Point> points;
  bool closed = false;
};

// The lines of the polyline that lie in the box, as open pieces; the whole
// polyline when nothing lies outside.
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

// The ellipse (the unit circle under e) where it lies in the box: to fill,
// the one convex polygon of the ellipse and the box in common; to stroke,
// its outline's arcs within the box. Arcs are flattened within the
// tolerance, so only what crosses the box is traced.
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

  const double radius = std::max(std::hypot(e.a, e.c), std::hypot(e.b, e.d));
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

}  // namespace

std::unique_ptr<CairoContext> CairoContext::create(int64_t pixelWidth, int64_t pixelHeight, bool opaque) {
  if (pixelWidth < 1 || pixelHeight < 1 || pixelWidth > graphics::maxBitmapSide ||
      pixelHeight > graphics::maxBitmapSide)
    return nullptr;
  std::unique_ptr<CairoContext> context(new CairoContext(pixelWidth, pixelHeight, opaque));
  if (cairo_surface_status(context->surface_) != CAIRO_STATUS_SUCCESS || context->isInErrorState()) return nullptr;
  return context;
}

CairoContext::CairoContext(int64_t width, int64_t height, bool opaque)
    : width_(width),
      height_(height),
      opaque_(opaque),
      surface_(cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, static_cast<int>(width),
                                          static_cast<int>(height))),
      cr_(cairo_create(surface_)),
      paint_{Color::black(), Color::black()} {
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
  cairo_set_line_width(cr_, 1);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

CairoContext::~CairoContext() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

bool CairoContext::isInErrorState() const { return cairo_status(cr_) != CAIRO_STATUS_SUCCESS; }

std::shared_ptr<const Image> CairoContext::makeImage(double scale) const {
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  std::vector<uint32_t> pixels(static_cast<size_t>(width_ * height_));
  for (int64_t row = 0; row < height_; ++row)
    std::memcpy(&pixels[static_cast<size_t>(row * width_)], data + row * stride,
                static_cast<size_t>(width_) * sizeof(uint32_t));
  // Cairo leaves the unused byte of an opaque bitmap undefined.
  if (opaque_)
    for (uint32_t& pixel : pixels) pixel |= 0xFF000000u;
  return Image::make(width_, height_, std::move(pixels), std::isfinite(scale) && scale > 0 ? scale : 1.0);
}

void CairoContext::saveGState() {
  saved_.push_back(paint_);
  cairo_save(cr_);
}

void CairoContext::restoreGState() {
  if (!checkRestore(!saved_.empty())) return;
  paint_ = saved_.back();
  saved_.pop_back();
  cairo_restore(cr_);
}

void CairoContext::setFillColor(const Color& color) {
  checkColor(color, "setFillColor");
  paint_.fill = color;
}

void CairoContext::setStrokeColor(const Color& color) {
  checkColor(color, "setStrokeColor");
  paint_.stroke = color;
}

void CairoContext::setSource(const Color& color) {
  cairo_set_source_rgba(cr_, component(color.red), component(color.green), component(color.blue),
                        component(color.alpha));
}

void CairoContext::setLineWidth(double width) {
  checkLineWidth(width, "setLineWidth");
  if (std::isfinite(width)) cairo_set_line_width(cr_, std::max(width, 0.0));
}

void CairoContext::setLineCap(LineCap cap) {
  switch (cap) {
    case LineCap::butt: cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT); break;
    case LineCap::round: cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND); break;
    case LineCap::square: cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE); break;
  }
}

void CairoContext::setLineDash(double phase, const std::vector<double>& lengths) {
  if (checkLineDash(phase, lengths, "setLineDash") && !lengths.empty()) {
    cairo_set_dash(cr_, lengths.data(), static_cast<int>(lengths.size()), phase);
  } else {
    cairo_set_dash(cr_, nullptr, 0, 0);
  }
}

void CairoContext::setShouldAntialias(bool antialias) {
  cairo_set_antialias(cr_, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CairoContext::clipToRect(const Rect& rect) {
  if (!checkRect(rect, "clipToRect")) return;
  Path region;
  addRectTo(region, rect);
  emit(region, Use::fill);
  cairo_clip(cr_);
}

void CairoContext::clip() {
  emit(path_, Use::fill);
  cairo_clip(cr_);
  path_.clear();
}

AffineTransform CairoContext::matrix() const {
  cairo_matrix_t m;
  cairo_get_matrix(cr_, &m);
  return fromCairo(m);
}

bool CairoContext::transformBy(const AffineTransform& step) {
  for (const double v : {step.a, step.b, step.c, step.d, step.tx, step.ty})
    if (!std::isfinite(v)) return false;
  const cairo_matrix_t m = toCairo(step);
  if (!invertible(m)) return false;
  cairo_matrix_t current;
  cairo_get_matrix(cr_, &current);
  cairo_matrix_t product;
  cairo_matrix_multiply(&product, &m, &current);
  if (!invertible(product)) return false;
  cairo_transform(cr_, &m);
  return true;
}

bool CairoContext::transformBy(const AffineTransform& step, std::string_view operation) {
  return accept(transformBy(step), DropReason::singularTransform, operation);
}

void CairoContext::translateBy(double tx, double ty) {
  transformBy(AffineTransform::makeTranslation(tx, ty), "translateBy");
}

void CairoContext::rotateBy(double radians) {
  if (!accept(std::isfinite(radians), DropReason::singularTransform, "rotateBy")) return;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  transformBy(AffineTransform{c, s, -s, c, 0, 0}, "rotateBy");
}

void CairoContext::scaleBy(double sx, double sy) { transformBy(AffineTransform::makeScale(sx, sy), "scaleBy"); }

void CairoContext::concatCTM(const AffineTransform& t) { transformBy(t, "concatCTM"); }

Point CairoContext::toDevice(Point point) const {
  cairo_user_to_device(cr_, &point.x, &point.y);
  return point;
}

void CairoContext::beginPath() { path_.clear(); }

void CairoContext::moveTo(Point point) {
  if (checkPoint(point, "moveTo")) path_.push_back(SubPath{{toDevice(point)}, false, std::nullopt});
}

void CairoContext::addLineTo(Point point) {
  if (!checkPoint(point, "addLineTo")) return;
  const Point p = toDevice(point);
  if (path_.empty()) {
    path_.push_back(SubPath{{p}, false, std::nullopt});
  } else if (path_.back().closed || path_.back().ellipse) {
    // After a closed sub-path a line starts where that one started.
    const SubPath& last = path_.back();
    const Point start = last.ellipse ? last.ellipse->apply(Point{1, 0}) : last.points.front();
    path_.push_back(SubPath{{start, p}, false, std::nullopt});
  } else {
    path_.back().points.push_back(p);
  }
}

void CairoContext::closePath() {
  if (!path_.empty()) path_.back().closed = true;
}

// The corners as Cairo's own rectangle makes them: the origin, then each
// side's length added in turn, each taken to Cairo's 1/256 pixel first (so
// that the sums are the ones Cairo's fixed point would make).
void CairoContext::addRectTo(Path& path, const Rect& rect) const {
  const auto fixed = [](double v) { return std::fabs(v) < kSafeReach ? std::nearbyint(v * 256) / 256 : v; };
  Point origin = toDevice(rect.origin);
  origin = Point{fixed(origin.x), fixed(origin.y)};
  double wx = rect.size.width, wy = 0, hx = 0, hy = rect.size.height;
  cairo_user_to_device_distance(cr_, &wx, &wy);
  cairo_user_to_device_distance(cr_, &hx, &hy);
  wx = fixed(wx), wy = fixed(wy), hx = fixed(hx), hy = fixed(hy);
  const Point across{origin.x + wx, origin.y + wy};
  const Point opposite{across.x + hx, across.y + hy};
  path.push_back(SubPath{{origin, across, opposite, {opposite.x - wx, opposite.y - wy}}, true, std::nullopt});
}

void CairoContext::addRect(const Rect& rect) {
  if (checkRect(rect, "addRect")) addRectTo(path_, rect);
}

// The unit circle scaled and moved into the rectangle, then through the
// current transformation; a flat rectangle has no ellipse.
void CairoContext::addEllipseTo(Path& path, const Rect& rect) {
  const Rect r = rect.standardized();
  if (r.width() == 0 || r.height() == 0) return;
  const cairo_matrix_t step = toCairo(AffineTransform{r.width() / 2, 0, 0, r.height() / 2, r.midX(), r.midY()});
  cairo_matrix_t current;
  cairo_get_matrix(cr_, &current);
  cairo_matrix_t product;
  cairo_matrix_multiply(&product, &step, &current);
  if (!invertible(step) || !invertible(product)) return;
  path.push_back(SubPath{{}, true, fromCairo(product)});
}

void CairoContext::addEllipseInRect(const Rect& rect) {
  if (checkRect(rect, "addEllipseInRect")) addEllipseTo(path_, rect);
}

void CairoContext::emit(const Path& path, Use use) {
  cairo_matrix_t ctm;
  cairo_get_matrix(cr_, &ctm);
  // A stroke reaches a miter's length past its path (never more than the
  // widest stroke's; the comparison also takes a product that overflowed).
  double reach = kFringe;
  if (use == Use::stroke) {
    const double miter = kMiterLimit / 2 * cairo_get_line_width(cr_) * stretch(ctm);
    reach += miter < kMiterLimit / 2 * maxStrokeWidth ? miter : kMiterLimit / 2 * maxStrokeWidth;
  }
  const Box box = Box{0, 0, static_cast<double>(width_), static_cast<double>(height_)}.grown(reach);
  const Box safe{-kSafeReach, -kSafeReach, kSafeReach, kSafeReach};

  const auto polyline = [this](const std::vector<Point>& points, bool closed) {
    // Finite points can still land beyond the largest double on the
    // surface; Cairo never sees those.
    if (points.empty() || !std::all_of(points.begin(), points.end(), [](Point p) { return finite(p); })) return;
    cairo_move_to(cr_, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr_, points[i].x, points[i].y);
    if (closed) cairo_close_path(cr_);
  };
  cairo_new_path(cr_);
  cairo_identity_matrix(cr_);
  for (const SubPath& sub : path) {
    if (sub.ellipse) {
      const Box bounds = ellipseBounds(*sub.ellipse);
      if (!bounds.meets(box)) continue;
      if (safe.contains(bounds)) {
        const cairo_matrix_t m = toCairo(*sub.ellipse);
        cairo_set_matrix(cr_, &m);
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, 0, 0, 1, 0, 2 * std::numbers::pi);
        cairo_close_path(cr_);
        cairo_identity_matrix(cr_);
      } else {
        for (const Polyline& part : ellipseInBox(*sub.ellipse, box, use == Use::fill))
          polyline(part.points, part.closed);
      }
      continue;
    }
    if (sub.points.empty()) continue;
    const Box bounds = Box::around(sub.points);
    if (safe.contains(bounds)) {
      polyline(sub.points, sub.closed);
    } else if (bounds.meets(box)) {
      if (use == Use::fill) {
        polyline(cutPolygon(sub.points, box), true);
      } else {
        for (const Polyline& piece : cutPolyline(sub.points, sub.closed, box)) polyline(piece.points, piece.closed);
      }
    }
  }
  cairo_set_matrix(cr_, &ctm);
}

void CairoContext::fill(const Path& path) {
  emit(path, Use::fill);
  setSource(paint_.fill);
  cairo_fill(cr_);
}

void CairoContext::stroke(const Path& path, std::string_view operation) {
  cairo_matrix_t ctm;
  cairo_get_matrix(cr_, &ctm);
  const double width = cairo_get_line_width(cr_);
  const double widest = maxStrokeWidth / stretch(ctm);
  const bool narrowed = !accept(width <= widest, DropReason::invalidStyle, operation);
  if (narrowed) cairo_set_line_width(cr_, widest);
  emit(path, Use::stroke);
  setSource(paint_.stroke);
  cairo_stroke(cr_);
  if (narrowed) cairo_set_line_width(cr_, width);
}

void CairoContext::fillPath() {
  fill(path_);
  path_.clear();
}

void CairoContext::strokePath() {
  stroke(path_, "strokePath");
  path_.clear();
}

void CairoContext::fillRect(const Rect& rect) {
  path_.clear();
  Path shape;
  if (checkRect(rect, "fillRect")) addRectTo(shape, rect);
  fill(shape);
}

void CairoContext::strokeRect(const Rect& rect) {
  path_.clear();
  Path shape;
  if (checkRect(rect, "strokeRect")) addRectTo(shape, rect);
  stroke(shape, "strokeRect");
}

void CairoContext::fillEllipseInRect(const Rect& rect) {
  path_.clear();
  Path shape;
  if (checkRect(rect, "fillEllipseInRect")) addEllipseTo(shape, rect);
  fill(shape);
}

void CairoContext::strokeEllipseInRect(const Rect& rect) {
  path_.clear();
  Path shape;
  if (checkRect(rect, "strokeEllipseInRect")) addEllipseTo(shape, rect);
  stroke(shape, "strokeEllipseInRect");
}

void CairoContext::strokeLineSegments(const std::vector<Point>& points) {
  path_.clear();
  Path segments;
  bool noted = false;
  for (size_t i = 0; i + 1 < points.size(); i += 2) {
    if (!finite(points[i]) || !finite(points[i + 1])) {
      if (!noted) noted = !checkPoint(finite(points[i]) ? points[i + 1] : points[i], "strokeLineSegments");
      continue;
    }
    segments.push_back(SubPath{{toDevice(points[i]), toDevice(points[i + 1])}, false, std::nullopt});
  }
  stroke(segments, "strokeLineSegments");
}

// Paints the gradient set as the source over the clip. A gradient that takes
// its end colour on one side only is clipped to the side it paints: `keep` is
// that region as a polygon in user space, or empty for the whole clip.
void CairoContext::paintGradientClipped(const std::vector<Point>& keep) {
  if (!keep.empty()) {
    SubPath region{{}, true, std::nullopt};
    for (const Point p : keep) region.points.push_back(toDevice(p));
    emit(Path{region}, Use::fill);
    cairo_clip(cr_);
  }
  cairo_paint(cr_);
}

void CairoContext::drawLinearGradient(const Gradient& gradient, Point start, Point end, GradientOptions options) {
  if (!checkPoint(start, "drawLinearGradient") || !checkPoint(end, "drawLinearGradient") || gradient.stops.empty())
    return;
  checkGradient(gradient, "drawLinearGradient");
  const bool before = has(options, GradientOptions::drawsBeforeStart);
  const bool after = has(options, GradientOptions::drawsAfterEnd);
  std::vector<Point> keep;
  const double length = std::hypot(end.x - start.x, end.y - start.y);
  if (before != after && length > 0 && std::isfinite(length)) {
    // The half-plane on the painted side of the line through the other end,
    // across the axis, reaching past every corner of the clip.
    double x1, y1, x2, y2;
    cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
    const Point edge = before ? end : start;
    const Point inward = before ? Point{(start.x - end.x) / length, (start.y - end.y) / length}
                                : Point{(end.x - start.x) / length, (end.y - start.y) / length};
    double reach = 1;
    for (const Point corner : {Point{x1, y1}, Point{x2, y1}, Point{x1, y2}, Point{x2, y2}})
      reach = std::max(reach, std::hypot(corner.x - edge.x, corner.y - edge.y) + 1);
    const Point across{-inward.y * reach, inward.x * reach};
    const Point in{inward.x * reach, inward.y * reach};
    keep = {{edge.x + across.x, edge.y + across.y},
            {edge.x - across.x, edge.y - across.y},
            {edge.x - across.x + in.x, edge.y - across.y + in.y},
            {edge.x + across.x + in.x, edge.y + across.y + in.y}};
  }
  cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
  addStops(pattern, gradient);
  cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
  cairo_save(cr_);
  cairo_set_source(cr_, pattern);
  paintGradientClipped(keep);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
}

void CairoContext::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                      Point endCenter, double endRadius, GradientOptions options) {
  if (!checkPoint(startCenter, "drawRadialGradient") || !checkPoint(endCenter, "drawRadialGradient") ||
      !accept(std::isfinite(startRadius) && std::isfinite(endRadius) && startRadius >= 0 && endRadius >= 0,
              DropReason::invalidGeometry, "drawRadialGradient") ||
      gradient.stops.empty())
    return;
  checkGradient(gradient, "drawRadialGradient");
  const bool before = has(options, GradientOptions::drawsBeforeStart);
  const bool after = has(options, GradientOptions::drawsAfterEnd);
  cairo_pattern_t* pattern =
      cairo_pattern_create_radial(startCenter.x, startCenter.y, startRadius, endCenter.x, endCenter.y, endRadius);
  addStops(pattern, gradient);
  cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
  cairo_save(cr_);
  cairo_set_source(cr_, pattern);
  if (before != after) {
    // One side only: inside the end circle when the start side is painted,
    // outside the start circle when the end side is.
    const auto circle = [](Point centre, double radius) {
      return Rect(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius);
    };
    Path region;
    if (before) {
      addEllipseTo(region, circle(endCenter, endRadius));
    } else {
      double x1, y1, x2, y2;
      cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
      addRectTo(region, Rect(x1, y1, x2 - x1, y2 - y1));
      addEllipseTo(region, circle(startCenter, startRadius));
      cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    }
    emit(region, Use::fill);
    cairo_clip(cr_);
  }
  cairo_paint(cr_);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
}

bool CairoContext::onSurface(const Rect& rect) const {
  return Box::of(matrix().apply(rect)).meets(Box{0, 0, static_cast<double>(width_), static_cast<double>(height_)});
}

// Paints `source` (width × height pixels) stretched into the rectangle,
// upright.
void CairoContext::paintSurface(cairo_surface_t* source, int64_t width, int64_t height, const Rect& rect) {
  const Rect r = rect.standardized();
  if (width < 1 || height < 1 || r.width() == 0 || r.height() == 0) return;
  cairo_save(cr_);
  if (transformBy(AffineTransform{r.width() / static_cast<double>(width), 0, 0,
                                  r.height() / static_cast<double>(height), r.minX(), r.minY()})) {
    cairo_set_source_surface(cr_, source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
    Path region;
    addRectTo(region, Rect(0, 0, static_cast<double>(width), static_cast<double>(height)));
    emit(region, Use::fill);
    cairo_fill(cr_);
  }
  cairo_restore(cr_);
}

// An image wholly off the surface is left out before its pixels are copied:
// Cairo cannot build a pattern that far out.
void CairoContext::drawImage(const Image& image, const Rect& rect) {
  if (!checkRect(rect, "drawImage") || !onSurface(rect)) return;
  cairo_surface_t* source = surfaceFromImage(image);
  if (!source) return;
  paintSurface(source, image.width(), image.height(), rect);
  cairo_surface_destroy(source);
}

void CairoContext::drawTiledImage(const Image& image, const Rect& rect) {
  if (!checkRect(rect, "drawTiledImage") || !onSurface(rect)) return;
  cairo_surface_t* source = surfaceFromImage(image);
  if (!source) return;
  const Rect r = rect.standardized();
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  // From user space to the image's pixels: copies at the image's own size
  // in points, the first at the rectangle's origin. The copies repeat, so
  // the pattern starts at the copy nearest the surface's middle: Cairo
  // draws nothing from a pattern that starts far away.
  const Point middle =
      matrix().inverted().apply(Point{static_cast<double>(width_) / 2, static_cast<double>(height_) / 2});
  const graphics::Size tile = image.size();
  const auto nearest = [](double origin, double target, double period) {
    const double copies = std::floor((target - origin) / period);
    return std::isfinite(copies) ? origin + copies * period : origin;
  };
  cairo_matrix_t toPixels;
  cairo_matrix_init_scale(&toPixels, image.scale(), image.scale());
  cairo_matrix_translate(&toPixels, -nearest(r.minX(), middle.x, tile.width),
                         -nearest(r.minY(), middle.y, tile.height));
  cairo_pattern_set_matrix(pattern, &toPixels);
  cairo_save(cr_);
  cairo_set_source(cr_, pattern);
  Path region;
  addRectTo(region, r);
  emit(region, Use::fill);
  cairo_fill(cr_);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(source);
}

void CairoContext::drawLayer(const graphics::Layer& layer, const Rect& rect) {
  if (!checkRect(rect, "drawLayer") || !onSurface(rect)) return;
  // A layer draws here only when it holds pixels of its own.
  const auto* source = dynamic_cast<const CairoContext*>(&layer.context());
  if (!source || source == this) return;
  cairo_surface_flush(source->surface_);
  paintSurface(source->surface_, source->width_, source->height_, rect);
}

void CairoContext::showLine(const std::string& line, double x, double top, const Font& font) {
  if (line.empty()) return;
  cairo_move_to(cr_, x, top + metrics_.ascent(font));
  cairo_show_text(cr_, line.c_str());
}

void CairoContext::drawText(std::string_view text, Point topLeft, const TextAttributes& attributes) {
  if (checkPoint(topLeft, "drawText")) drawLines(text, Rect(topLeft, {0, 0}), attributes, "drawText");
}

void CairoContext::drawTextInRect(std::string_view text, const Rect& rect, const TextAttributes& attributes) {
  if (checkRect(rect, "drawTextInRect")) drawLines(text, rect, attributes, "drawTextInRect");
}

void CairoContext::drawLines(std::string_view text, const Rect& rect, const TextAttributes& attributes,
                             std::string_view operation) {
  if (!checkText(text, operation)) return;
  const std::optional<Font> font = checkFont(attributes.resolvedFont(), operation);
  if (!font) return;
  checkColor(attributes.resolvedColor(), operation);
  const Rect r = rect.standardized();
  const std::vector<std::string> lines = metrics_.lines(text, r.width(), *font);
  if (lines.empty()) return;
  const double spacing = metrics_.lineSpacing(*font);
  const TextAlignment alignment = attributes.resolvedAlignment();
  cairo_save(cr_);
  const double selected = selectFont(cr_, *font);
  // Drawn smaller (or larger) than measured: the transformation took the
  // font out of the sizes Cairo takes.
  accept(selected == font->pointSize, DropReason::refusedFont, operation);
  if (selected > 0) {
    setSource(attributes.resolvedColor());
    for (size_t i = 0; i < lines.size(); ++i) {
      const double advance = metrics_.advance(lines[i], *font);
      double x = r.minX();
      if (r.width() > 0 && alignment == TextAlignment::right) {
        x = r.maxX() - advance;
      } else if (r.width() > 0 && alignment == TextAlignment::center) {
        x = r.minX() + (r.width() - advance) / 2;
      }
      const double top = r.minY() + spacing * static_cast<double>(i);
      // A line wholly off the surface (with room for glyphs that reach past
      // their box) is left out.
      if (onSurface(Rect(x - spacing, top - spacing, advance + 2 * spacing, 3 * spacing)))
        showLine(lines[i], x, top, *font);
    }
  }
  cairo_restore(cr_);
  cairo_new_path(cr_);
}

}  // namespace platform::cairo
