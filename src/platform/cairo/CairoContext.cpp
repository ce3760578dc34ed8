#include "platform/cairo/CairoContext.h"

#include <cairo.h>
#include <cairo-svg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

#include "platform/cairo/CairoImages.h"
#include "platform/graphics/FarShapes.h"
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
using namespace graphics::farshapes;

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

// A bound on how far a transformation stretches a length: the root of the
// sum of its squared parts, from 1 to √2 times the most it stretches.
// Enough for how far a stroke can reach; the width itself is narrowed by the
// true stretch (largestStretch).
double stretchBound(const cairo_matrix_t& m) {
  return std::sqrt(m.xx * m.xx + m.yx * m.yx + m.xy * m.xy + m.yy * m.yy);
}

void addStops(cairo_pattern_t* pattern, const Gradient& gradient) {
  for (const auto& stop : gradient.stops) {
    if (!std::isfinite(stop.location)) continue;
    cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), component(stop.color.red),
                                      component(stop.color.green), component(stop.color.blue),
                                      component(stop.color.alpha));
  }
}

// Cairo writes an SVG document when its surface is finished. Kept a call of
// its own so that ThreadSanitizer, which cannot walk Cairo's frames, names
// finishSVG as the caller of what Cairo does then (see tests/tsan.supp).
[[gnu::noinline]] void endDocument(cairo_surface_t* surface) { cairo_surface_finish(surface); }

constexpr double kSvgBendTolerance = 0.02;

// The corners of a polyline after the first that keep it within `tolerance`
// of itself: every corner left out lies that close to the segment that now
// spans it. A span is at most 64 corners long, so the work stays linear.
std::vector<size_t> cornersKept(const std::vector<Point>& points, double tolerance) {
  std::vector<size_t> kept;
  size_t anchor = 0;
  const auto spans = [&](size_t from, size_t to) {
    const Point a = points[from], b = points[to];
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    for (size_t i = from + 1; i < to; ++i) {
      const double off = length > 0 ? std::abs(dx * (a.y - points[i].y) - dy * (a.x - points[i].x)) / length
                                    : std::hypot(points[i].x - a.x, points[i].y - a.y);
      // A corner beyond either end (the line turns back) is never spanned.
      const double along = dx * (points[i].x - a.x) + dy * (points[i].y - a.y);
      if (off > tolerance || along < 0 || along > length * length) return false;
    }
    return true;
  };
  for (size_t i = 2; i < points.size(); ++i) {
    if (i - anchor > 64 || !spans(anchor, i)) {
      anchor = i - 1;
      kept.push_back(anchor);
    }
  }
  if (points.size() > 1) kept.push_back(points.size() - 1);
  return kept;
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

std::unique_ptr<CairoContext> CairoContext::createSVG(int64_t width, int64_t height, bool cairoWritesText) {
  if (width < 1 || height < 1 || width > graphics::maxBitmapSide || height > graphics::maxBitmapSide) return nullptr;
  auto svg = std::make_unique<std::string>();
  const auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  cairo_surface_t* surface = cairo_svg_surface_create_for_stream(append, svg.get(), static_cast<double>(width),
                                                                 static_cast<double>(height));
  // Sized in pixels, as the page lays it out, rather than in points.
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  std::unique_ptr<CairoContext> context(new CairoContext(surface, width, height, false));
  context->svg_ = std::move(svg);
  if (!cairoWritesText)
    context->svgText_ = std::make_unique<SvgGlyphs>(static_cast<double>(width), static_cast<double>(height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || context->isInErrorState()) return nullptr;
  return context;
}

std::optional<std::string> CairoContext::finishSVG() {
  if (!svg_ || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  endDocument(surface_);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  std::string document = std::move(*svg_);
  if (svgText_) svgText_->writeInto(document);
  // Cairo writes nothing more once the document is ended.
  svg_.reset();
  return document;
}

bool CairoContext::onPixels() const { return cairo_surface_get_type(surface_) == CAIRO_SURFACE_TYPE_IMAGE; }

CairoContext::CairoContext(int64_t width, int64_t height, bool opaque)
    : CairoContext(cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32,
                                              static_cast<int>(width), static_cast<int>(height)),
                   width, height, opaque) {}

CairoContext::CairoContext(cairo_surface_t* surface, int64_t width, int64_t height, bool opaque)
    : width_(width),
      height_(height),
      opaque_(opaque),
      surface_(surface),
      cr_(cairo_create(surface_)),
      paint_{Color::black(), Color::black()} {
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
  cairo_set_line_width(cr_, 1);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

CairoContext::~CairoContext() {
  cairo_destroy(cr_);
  cairo_surface_flush(surface_);
  cairo_surface_destroy(surface_);
  if (whole_) {
    cairo_surface_mark_dirty(whole_);
    cairo_surface_destroy(whole_);
  }
}

std::unique_ptr<CairoContext> CairoContext::part(const graphics::Rect& area) {
  const Rect whole(0, 0, static_cast<double>(width_), static_cast<double>(height_));
  if (!(area.width() >= 1 && area.height() >= 1) || area.minX() != std::floor(area.minX()) ||
      area.minY() != std::floor(area.minY()) || area.width() != std::floor(area.width()) ||
      area.height() != std::floor(area.height()) || area.minX() < 0 || area.minY() < 0 ||
      area.maxX() > whole.maxX() || area.maxY() > whole.maxY() || !onPixels())
    return nullptr;
  cairo_surface_flush(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  unsigned char* origin = cairo_image_surface_get_data(surface_) + static_cast<ptrdiff_t>(area.minY()) * stride +
                          static_cast<ptrdiff_t>(area.minX()) * 4;
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(origin, cairo_image_surface_get_format(surface_),
                                          static_cast<int>(area.width()), static_cast<int>(area.height()), stride);
  std::unique_ptr<CairoContext> context(new CairoContext(surface, static_cast<int64_t>(area.width()),
                                                         static_cast<int64_t>(area.height()), opaque_));
  context->whole_ = cairo_surface_reference(surface_);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || context->isInErrorState()) return nullptr;
  return context;
}

bool CairoContext::isInErrorState() const { return cairo_status(cr_) != CAIRO_STATUS_SUCCESS; }

std::shared_ptr<const Image> CairoContext::makeImage(double scale) const {
  const double shown = std::isfinite(scale) && scale > 0 ? scale : 1.0;
  if (!onPixels())
    return Image::make(width_, height_, std::vector<uint32_t>(static_cast<size_t>(width_ * height_), 0u), shown);
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

std::optional<graphics::EncodedImage> CairoContext::encodePNG() const {
  if (!onPixels()) return std::nullopt;
  return encodeSurfacePNG(surface_);
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
  const double strokeWidth = use == Use::stroke ? cairo_get_line_width(cr_) * stretchBound(ctm) : 0;
  const Box box =
      reachOfSurface(static_cast<double>(width_), static_cast<double>(height_), strokeWidth, maxStrokeWidth);
  const Box safe{-kSafeReach, -kSafeReach, kSafeReach, kSafeReach};

  // An SVG document's lines go without the corners that bend them by less
  // than a fiftieth of a pixel: a graph's smooth curves, sampled finely, are
  // then a fifth of their corners, and each corner is two numbers to write.
  const bool thinned = svg_ && use == Use::stroke;
  const auto polyline = [this, thinned](const std::vector<Point>& points, bool closed) {
    // Finite points can still land beyond the largest double on the
    // surface; Cairo never sees those.
    if (points.empty() || !std::all_of(points.begin(), points.end(), [](Point p) { return finite(p); })) return;
    cairo_move_to(cr_, points[0].x, points[0].y);
    if (thinned) {
      for (const size_t i : cornersKept(points, kSvgBendTolerance)) cairo_line_to(cr_, points[i].x, points[i].y);
    } else {
      for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr_, points[i].x, points[i].y);
    }
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

void CairoContext::beforePaint(const std::optional<Box>& area) {
  if (svgText_ && svgText_->waiting() > 0) svgText_->beforePaint(cr_, area);
}

// Where the path reaches on the surface, `pad` pixels out.
Box CairoContext::reach(const Path& path, double pad) const {
  Box box{INFINITY, INFINITY, -INFINITY, -INFINITY};
  const auto add = [&](const Box& b) {
    box = Box{std::min(box.left, b.left), std::min(box.top, b.top), std::max(box.right, b.right),
              std::max(box.bottom, b.bottom)};
  };
  for (const SubPath& sub : path) {
    if (sub.ellipse)
      add(ellipseBounds(*sub.ellipse));
    else if (!sub.points.empty())
      add(Box::around(sub.points));
  }
  // Only what the clip lets through is painted.
  double x1, y1, x2, y2;
  cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
  const Box clip = Box::of(matrix().apply(Rect(x1, y1, x2 - x1, y2 - y1)));
  return Box{std::max(box.left - pad, clip.left), std::max(box.top - pad, clip.top),
             std::min(box.right + pad, clip.right), std::min(box.bottom + pad, clip.bottom)};
}

void CairoContext::fill(const Path& path) {
  if (svgText_) beforePaint(reach(path, 1));
  emit(path, Use::fill);
  setSource(paint_.fill);
  cairo_fill(cr_);
}

void CairoContext::stroke(const Path& path, std::string_view operation) {
  cairo_matrix_t ctm;
  cairo_get_matrix(cr_, &ctm);
  const double width = cairo_get_line_width(cr_);
  const double widest = maxStrokeWidth / largestStretch(fromCairo(ctm));
  const bool narrowed = !accept(width <= widest, DropReason::invalidStyle, operation);
  if (narrowed) cairo_set_line_width(cr_, widest);
  // A stroke reaches half its width out, and a mitred corner further.
  if (svgText_)
    beforePaint(reach(path, cairo_get_line_width(cr_) * stretchBound(ctm) * std::max(1.0, cairo_get_miter_limit(cr_)) / 2 + 1));
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
  beforePaint(std::nullopt);
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
  beforePaint(std::nullopt);
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
    beforePaint(std::nullopt);
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
  beforePaint(std::nullopt);
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
  const double baseline = top + metrics_->ascent(font);
  std::optional<Box> reach;
  if (svgText_ && svgText_->take(cr_, line, x, baseline, textColor_, reach)) return;
  beforePaint(reach);
  cairo_move_to(cr_, x, baseline);
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
  const std::vector<std::string> lines = metrics_->lines(text, r.width(), *font);
  if (lines.empty()) return;
  const double spacing = metrics_->lineSpacing(*font);
  const TextAlignment alignment = attributes.resolvedAlignment();
  cairo_save(cr_);
  const double selected = selectFont(cr_, *font);
  // Drawn smaller (or larger) than measured: the transformation took the
  // font out of the sizes Cairo takes.
  accept(selected == font->pointSize, DropReason::refusedFont, operation);
  if (selected > 0) {
    setSource(attributes.resolvedColor());
    textColor_ = attributes.resolvedColor();
    for (size_t i = 0; i < lines.size(); ++i) {
      const double advance = metrics_->advance(lines[i], *font);
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
