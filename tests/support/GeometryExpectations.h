#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/graphics/Geometry.h"

// Readable failure messages for the geometry records, and comparisons with a
// tolerance for results that go through a division or a rounding step.
namespace platform::graphics {

inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const Size& s, std::ostream* os) { *os << "(" << s.width << " x " << s.height << ")"; }
inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << ", " << r.size.height << ")";
}
inline void PrintTo(const AffineTransform& t, std::ostream* os) {
  *os << "(" << t.a << ", " << t.b << ", " << t.c << ", " << t.d << ", " << t.tx << ", " << t.ty << ")";
}

}  // namespace platform::graphics

namespace testsupport {

constexpr double kGeometryTolerance = 1e-9;

inline void expectNear(const platform::graphics::Point& actual, const platform::graphics::Point& expected,
                       const std::string& label) {
  EXPECT_NEAR(actual.x, expected.x, kGeometryTolerance) << label;
  EXPECT_NEAR(actual.y, expected.y, kGeometryTolerance) << label;
}

inline void expectNear(const platform::graphics::Rect& actual, const platform::graphics::Rect& expected,
                       const std::string& label) {
  expectNear(actual.origin, expected.origin, label + " origin");
  EXPECT_NEAR(actual.size.width, expected.size.width, kGeometryTolerance) << label;
  EXPECT_NEAR(actual.size.height, expected.size.height, kGeometryTolerance) << label;
}

inline void expectNear(const platform::graphics::AffineTransform& actual,
                       const platform::graphics::AffineTransform& expected, const std::string& label) {
  const double a[] = {actual.a, actual.b, actual.c, actual.d, actual.tx, actual.ty};
  const double e[] = {expected.a, expected.b, expected.c, expected.d, expected.tx, expected.ty};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(a[i], e[i], kGeometryTolerance) << label << ", component " << i;
}

}  // namespace testsupport
