#include "platform/graphics/Geometry.h"

#include <algorithm>
#include <cmath>

namespace platform::graphics {

double Rect::width() const { return std::fabs(size.width); }
double Rect::height() const { return std::fabs(size.height); }
double Rect::minX() const { return size.width < 0 ? origin.x + size.width : origin.x; }
double Rect::minY() const { return size.height < 0 ? origin.y + size.height : origin.y; }
double Rect::maxX() const { return minX() + width(); }
double Rect::maxY() const { return minY() + height(); }
double Rect::midX() const { return minX() + width() * 0.5; }
double Rect::midY() const { return minY() + height() * 0.5; }
Rect Rect::standardized() const { return {minX(), minY(), width(), height()}; }

AffineTransform AffineTransform::makeRotation(double radians) {
  const double cosine = std::cos(radians);
  const double sine = std::sin(radians);
  return {cosine, sine, -sine, cosine, 0, 0};
}

AffineTransform AffineTransform::concat(const AffineTransform& n) const {
  return {a * n.a + b * n.c,  a * n.b + b * n.d,  c * n.a + d * n.c,
          c * n.b + d * n.d,  tx * n.a + ty * n.c + n.tx,  tx * n.b + ty * n.d + n.ty};
}

AffineTransform AffineTransform::scaled(double sx, double sy) const {
  return {sx * a, sx * b, sy * c, sy * d, tx, ty};
}

AffineTransform AffineTransform::translated(double x, double y) const {
  return {a, b, c, d, x * a + y * c + tx, x * b + y * d + ty};
}

AffineTransform AffineTransform::inverted() const {
  const double det = a * d - b * c;
  if (det == 0) return *this;
  return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

Rect AffineTransform::apply(const Rect& r) const {
  const Point corners[] = {apply(r.origin),
                           apply(Point{r.origin.x + r.size.width, r.origin.y}),
                           apply(Point{r.origin.x, r.origin.y + r.size.height}),
                           apply(Point{r.origin.x + r.size.width, r.origin.y + r.size.height})};
  double left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
  for (const Point& p : corners) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return {left, top, right - left, bottom - top};
}

}  // namespace platform::graphics
