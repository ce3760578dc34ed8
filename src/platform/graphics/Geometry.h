#pragma once

namespace platform::graphics {

// A point in a drawing's coordinate space.
struct Point {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

// A width and a height; either may be negative.
struct Size {
  double width = 0;
  double height = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

// An origin and a size as given: a negative width or height is kept as it
// is. The measures below are taken after making the size non-negative, so
// (10, 20, -5, -8) measures as (5, 12, 5, 8).
struct Rect {
  Point origin;
  Size size;

  constexpr Rect() = default;
  constexpr Rect(Point o, Size s) : origin(o), size(s) {}
  constexpr Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}

  double width() const;
  double height() const;
  double minX() const;
  double minY() const;
  double maxX() const;
  double maxY() const;
  double midX() const;
  double midY() const;
  // The same area with a non-negative width and height.
  Rect standardized() const;

  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// The affine transform (a, b, c, d, tx, ty), which maps a point (x, y) to
// (a·x + c·y + tx, b·x + d·y + ty). Where an operation reads "A then B", a
// point goes through A first.
struct AffineTransform {
  double a = 1;
  double b = 0;
  double c = 0;
  double d = 1;
  double tx = 0;
  double ty = 0;

  static constexpr AffineTransform identity() { return {}; }
  static constexpr AffineTransform makeTranslation(double x, double y) { return {1, 0, 0, 1, x, y}; }
  static constexpr AffineTransform makeScale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
  // Rotation by `radians`; with y growing downward a positive angle turns
  // clockwise on screen.
  static AffineTransform makeRotation(double radians);

  // This transform then `next`.
  AffineTransform concat(const AffineTransform& next) const;
  // Scaling by (sx, sy) then this transform.
  AffineTransform scaled(double sx, double sy) const;
  // Translation by (x, y) then this transform.
  AffineTransform translated(double x, double y) const;
  // The inverse; this transform itself when it cannot be inverted
  // (determinant 0).
  AffineTransform inverted() const;

  Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
  // The smallest rectangle with a non-negative size that holds the four
  // mapped corners.
  Rect apply(const Rect& r) const;

  friend constexpr bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

}  // namespace platform::graphics
