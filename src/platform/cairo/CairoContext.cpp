#include "platform/cairo/CairoContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/cairo/CairoImages.h"
#include "platform/graphics/Layer.h"

namespace platform::cairo {

using graphics::AffineTransform;
using graphics::Color;
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

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool finite(const Rect& r) { return finite(r.origin) && std::isfinite(r.size.width) && std::isfinite(r.size.height); }

double component(double value) { return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0); }

bool has(GradientOptions options, GradientOptions flag) {
  return (static_cast<unsigned>(options) & static_cast<unsigned>(flag)) != 0;
}

// Cairo keeps the current path through clipping and painting only by copying
// it out and back; our clipToRect and gradients leave the caller's path as it
// was.
class PathKeeper {
 public:
  explicit PathKeeper(cairo_t* cr) : cr_(cr), path_(cairo_copy_path(cr)) { cairo_new_path(cr); }
  ~PathKeeper() {
    cairo_new_path(cr_);
    if (path_->status == CAIRO_STATUS_SUCCESS) cairo_append_path(cr_, path_);
    cairo_path_destroy(path_);
  }
  PathKeeper(const PathKeeper&) = delete;
  PathKeeper& operator=(const PathKeeper&) = delete;

 private:
  cairo_t* cr_;
  cairo_path_t* path_;
};

bool invertible(const cairo_matrix_t& m) {
  const double det = m.xx * m.yy - m.yx * m.xy;
  if (!std::isfinite(det) || det == 0) return false;
  cairo_matrix_t inverse = m;
  if (cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS) return false;
  for (const double v : {inverse.xx, inverse.yx, inverse.xy, inverse.yy, inverse.x0, inverse.y0})
    if (!std::isfinite(v)) return false;
  return true;
}

void addStops(cairo_pattern_t* pattern, const Gradient& gradient) {
  for (const auto& stop : gradient.stops) {
    if (!std::isfinite(stop.location)) continue;
    cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), component(stop.color.red),
                                      component(stop.color.green), component(stop.color.blue),
                                      component(stop.color.alpha));
  }
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
  if (saved_.empty()) return;
  paint_ = saved_.back();
  saved_.pop_back();
  cairo_restore(cr_);
}

void CairoContext::setFillColor(const Color& color) { paint_.fill = color; }
void CairoContext::setStrokeColor(const Color& color) { paint_.stroke = color; }

void CairoContext::setSource(const Color& color) {
  cairo_set_source_rgba(cr_, component(color.red), component(color.green), component(color.blue),
                        component(color.alpha));
}

void CairoContext::setLineWidth(double width) {
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
  bool valid = std::isfinite(phase) && !lengths.empty();
  double total = 0;
  for (const double length : lengths) {
    if (!std::isfinite(length) || length < 0) valid = false;
    total += length;
  }
  if (valid && total > 0) {
    cairo_set_dash(cr_, lengths.data(), static_cast<int>(lengths.size()), phase);
  } else {
    cairo_set_dash(cr_, nullptr, 0, 0);
  }
}

void CairoContext::setShouldAntialias(bool antialias) {
  cairo_set_antialias(cr_, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CairoContext::clipToRect(const Rect& rect) {
  if (!finite(rect)) return;
  PathKeeper keep(cr_);
  cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
  cairo_clip(cr_);
}

void CairoContext::clip() { cairo_clip(cr_); }

bool CairoContext::transformBy(double xx, double yx, double xy, double yy, double x0, double y0) {
  for (const double v : {xx, yx, xy, yy, x0, y0})
    if (!std::isfinite(v)) return false;
  cairo_matrix_t step;
  cairo_matrix_init(&step, xx, yx, xy, yy, x0, y0);
  if (!invertible(step)) return false;
  cairo_matrix_t current;
  cairo_get_matrix(cr_, &current);
  cairo_matrix_t product;
  cairo_matrix_multiply(&product, &step, &current);
  if (!invertible(product)) return false;
  cairo_transform(cr_, &step);
  return true;
}

void CairoContext::translateBy(double tx, double ty) { transformBy(1, 0, 0, 1, tx, ty); }

void CairoContext::rotateBy(double radians) {
  if (!std::isfinite(radians)) return;
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  transformBy(c, s, -s, c, 0, 0);
}

void CairoContext::scaleBy(double sx, double sy) { transformBy(sx, 0, 0, sy, 0, 0); }

void CairoContext::concatCTM(const AffineTransform& t) { transformBy(t.a, t.b, t.c, t.d, t.tx, t.ty); }

void CairoContext::beginPath() { cairo_new_path(cr_); }

void CairoContext::moveTo(Point point) {
  if (finite(point)) cairo_move_to(cr_, point.x, point.y);
}

void CairoContext::addLineTo(Point point) {
  if (finite(point)) cairo_line_to(cr_, point.x, point.y);
}

void CairoContext::closePath() { cairo_close_path(cr_); }

void CairoContext::addRect(const Rect& rect) {
  if (finite(rect)) cairo_rectangle(cr_, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

void CairoContext::addEllipse(const Rect& rect) {
  if (!finite(rect)) return;
  const Rect r = rect.standardized();
  if (r.width() == 0 || r.height() == 0) return;
  cairo_matrix_t saved;
  cairo_get_matrix(cr_, &saved);
  if (!transformBy(r.width() / 2, 0, 0, r.height() / 2, r.midX(), r.midY())) return;
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_close_path(cr_);
  cairo_set_matrix(cr_, &saved);
}

void CairoContext::addEllipseInRect(const Rect& rect) { addEllipse(rect); }

void CairoContext::fillPath() {
  setSource(paint_.fill);
  cairo_fill(cr_);
}

void CairoContext::strokePath() {
  setSource(paint_.stroke);
  cairo_stroke(cr_);
}

void CairoContext::fillRect(const Rect& rect) {
  cairo_new_path(cr_);
  addRect(rect);
  fillPath();
}

void CairoContext::strokeRect(const Rect& rect) {
  cairo_new_path(cr_);
  addRect(rect);
  strokePath();
}

void CairoContext::fillEllipseInRect(const Rect& rect) {
  cairo_new_path(cr_);
  addEllipse(rect);
  fillPath();
}

void CairoContext::strokeEllipseInRect(const Rect& rect) {
  cairo_new_path(cr_);
  addEllipse(rect);
  strokePath();
}

void CairoContext::strokeLineSegments(const std::vector<Point>& points) {
  cairo_new_path(cr_);
  for (size_t i = 0; i + 1 < points.size(); i += 2) {
    if (!finite(points[i]) || !finite(points[i + 1])) continue;
    cairo_move_to(cr_, points[i].x, points[i].y);
    cairo_line_to(cr_, points[i + 1].x, points[i + 1].y);
  }
  strokePath();
}

// Paints the gradient set as the source over the clip. A gradient that takes
// its end colour on one side only is clipped to the side it paints: `keep` is
// that region as a polygon, or empty for the whole clip.
void CairoContext::paintGradientClipped(const std::vector<Point>& keep) {
  if (!keep.empty()) {
    cairo_move_to(cr_, keep[0].x, keep[0].y);
    for (size_t i = 1; i < keep.size(); ++i) cairo_line_to(cr_, keep[i].x, keep[i].y);
    cairo_close_path(cr_);
    cairo_clip(cr_);
  }
  cairo_paint(cr_);
}

void CairoContext::drawLinearGradient(const Gradient& gradient, Point start, Point end, GradientOptions options) {
  if (!finite(start) || !finite(end) || gradient.stops.empty()) return;
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
  PathKeeper path(cr_);
  cairo_save(cr_);
  cairo_set_source(cr_, pattern);
  paintGradientClipped(keep);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
}

void CairoContext::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                      Point endCenter, double endRadius, GradientOptions options) {
  if (!finite(startCenter) || !finite(endCenter) || !std::isfinite(startRadius) || !std::isfinite(endRadius) ||
      startRadius < 0 || endRadius < 0 || gradient.stops.empty())
    return;
  const bool before = has(options, GradientOptions::drawsBeforeStart);
  const bool after = has(options, GradientOptions::drawsAfterEnd);
  cairo_pattern_t* pattern =
      cairo_pattern_create_radial(startCenter.x, startCenter.y, startRadius, endCenter.x, endCenter.y, endRadius);
  addStops(pattern, gradient);
  cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
  PathKeeper path(cr_);
  cairo_save(cr_);
  cairo_set_source(cr_, pattern);
  if (before != after) {
    // One side only: inside the end circle when the start side is painted,
    // outside the start circle when the end side is.
    if (before) {
      cairo_arc(cr_, endCenter.x, endCenter.y, endRadius, 0, 2 * std::numbers::pi);
    } else {
      double x1, y1, x2, y2;
      cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
      cairo_rectangle(cr_, x1, y1, x2 - x1, y2 - y1);
      cairo_new_sub_path(cr_);
      cairo_arc(cr_, startCenter.x, startCenter.y, startRadius, 0, 2 * std::numbers::pi);
      cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    }
    cairo_clip(cr_);
  }
  cairo_paint(cr_);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
}

// Paints `source` (width × height pixels) stretched into the rectangle,
// upright.
void CairoContext::paintSurface(cairo_surface_t* source, int64_t width, int64_t height, const Rect& rect) {
  if (!finite(rect) || width < 1 || height < 1) return;
  const Rect r = rect.standardized();
  if (r.width() == 0 || r.height() == 0) return;
  PathKeeper path(cr_);
  cairo_save(cr_);
  if (transformBy(r.width() / static_cast<double>(width), 0, 0, r.height() / static_cast<double>(height),
                  r.minX(), r.minY())) {
    cairo_set_source_surface(cr_, source, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
    cairo_rectangle(cr_, 0, 0, static_cast<double>(width), static_cast<double>(height));
    cairo_fill(cr_);
  }
  cairo_restore(cr_);
}

void CairoContext::drawImage(const Image& image, const Rect& rect) {
  cairo_surface_t* source = surfaceFromImage(image);
  if (!source) return;
  paintSurface(source, image.width(), image.height(), rect);
  cairo_surface_destroy(source);
}

void CairoContext::drawTiledImage(const Image& image, const Rect& rect) {
  if (!finite(rect)) return;
  cairo_surface_t* source = surfaceFromImage(image);
  if (!source) return;
  const Rect r = rect.standardized();
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
  // From user space to the image's pixels: copies at the image's own size
  // in points, the first at the rectangle's origin.
  cairo_matrix_t toPixels;
  cairo_matrix_init_scale(&toPixels, image.scale(), image.scale());
  cairo_matrix_translate(&toPixels, -r.minX(), -r.minY());
  cairo_pattern_set_matrix(pattern, &toPixels);
  PathKeeper path(cr_);
  cairo_save(cr_);
  cairo_set_source(cr_, pattern);
  cairo_rectangle(cr_, r.minX(), r.minY(), r.width(), r.height());
  cairo_fill(cr_);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(source);
}

void CairoContext::drawLayer(const graphics::Layer& layer, const Rect& rect) {
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
  drawTextInRect(text, Rect(topLeft, {0, 0}), attributes);
}

void CairoContext::drawTextInRect(std::string_view text, const Rect& rect, const TextAttributes& attributes) {
  if (!finite(rect)) return;
  const Rect r = rect.standardized();
  const Font font = attributes.resolvedFont();
  const std::vector<std::string> lines = metrics_.lines(text, r.width(), font);
  if (lines.empty()) return;
  const double spacing = metrics_.lineSpacing(font);
  const TextAlignment alignment = attributes.resolvedAlignment();
  PathKeeper path(cr_);
  cairo_save(cr_);
  if (selectFont(cr_, font)) {
    setSource(attributes.resolvedColor());
    for (size_t i = 0; i < lines.size(); ++i) {
      double x = r.minX();
      if (r.width() > 0 && alignment == TextAlignment::right) {
        x = r.maxX() - metrics_.advance(lines[i], font);
      } else if (r.width() > 0 && alignment == TextAlignment::center) {
        x = r.minX() + (r.width() - metrics_.advance(lines[i], font)) / 2;
      }
      showLine(lines[i], x, r.minY() + spacing * static_cast<double>(i), font);
    }
  }
  cairo_restore(cr_);
}

}  // namespace platform::cairo
