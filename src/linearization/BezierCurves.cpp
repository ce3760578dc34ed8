#include "linearization/BezierCurves.h"

#include <algorithm>
#include <cmath>

#include "linearization/RBInterpolateD.h"
#include "linearization/Ramps.h"

namespace linearization {

namespace {

template <class P>
P combine(double s, const P& p, double t, const P& q) {
  return P{s * p.x + t * q.x, s * p.y + t * q.y};
}

}  // namespace

template <class Point, class Segment>
std::vector<Segment> BasicCubicCurveAlgorithm<Point, Segment>::controlPointsFromPoints(
    const std::vector<Point>& points) {
  std::vector<Segment> segments;
  const int64_t count = static_cast<int64_t>(points.size()) - 1;
  if (count < 1) return segments;

  if (count == 1) {
    const Point& p0 = points[0];
    const Point& p3 = points[1];
    const Point p1{(2 * p0.x + p3.x) / 3, (2 * p0.y + p3.y) / 3};
    firstControlPoints.push_back(p1);
    secondControlPoints.push_back(Point{2 * p1.x - p0.x, 2 * p1.y - p0.y});
  } else {
    firstControlPoints.assign(static_cast<size_t>(count), std::nullopt);
    std::vector<double> a(count), b(count), c(count);
    std::vector<Point> r(count);
    for (int64_t i = 0; i < count; ++i) {
      const Point& p0 = points[i];
      const Point& p3 = points[i + 1];
      if (i == 0) {
        a[i] = 0, b[i] = 2, c[i] = 1;
        r[i] = combine(1.0, p0, 2.0, p3);
      } else if (i == count - 1) {
        a[i] = 2, b[i] = 7, c[i] = 0;
        r[i] = combine(8.0, p0, 1.0, p3);
      } else {
        a[i] = 1, b[i] = 4, c[i] = 1;
        r[i] = combine(4.0, p0, 2.0, p3);
      }
    }
    for (int64_t i = 1; i < count; ++i) {
      const double m = a[i] / b[i - 1];
      b[i] = b[i] - m * c[i - 1];
      r[i] = Point{r[i].x - m * r[i - 1].x, r[i].y - m * r[i - 1].y};
    }
    std::vector<Point> first(count);
    first[count - 1] = Point{r[count - 1].x / b[count - 1], r[count - 1].y / b[count - 1]};
    for (int64_t i = count - 2; i >= 0; --i)
      first[i] = Point{(r[i].x - c[i] * first[i + 1].x) / b[i], (r[i].y - c[i] * first[i + 1].y) / b[i]};
    for (int64_t i = 0; i < count; ++i) firstControlPoints[i] = first[i];
    for (int64_t i = 0; i < count; ++i) {
      if (i == count - 1)
        secondControlPoints.push_back(Point{(points[i + 1].x + first[i].x) * 0.5, (points[i + 1].y + first[i].y) * 0.5});
      else
        secondControlPoints.push_back(Point{2 * points[i + 1].x - first[i + 1].x, 2 * points[i + 1].y - first[i + 1].y});
    }
  }

  for (int64_t i = 0; i < count; ++i) {
    if (i >= static_cast<int64_t>(firstControlPoints.size()) || i >= static_cast<int64_t>(secondControlPoints.size()))
      break;
    const auto& c1 = firstControlPoints[i];
    const auto& c2 = secondControlPoints[i];
    if (c1 && c2) segments.push_back(Segment{*c1, *c2});
  }
  return segments;
}

template class BasicCubicCurveAlgorithm<point, CubicCurveSegment>;
template class BasicCubicCurveAlgorithm<platform::graphics::Point, CGCubicCurveSegment>;

RBBezierCurveD::RBBezierCurveD(const std::vector<double>& xs, const std::vector<double>& ys) {
  // Two lists of one curve; should they differ in length, the shorter decides.
  const size_t n = std::min(xs.size(), ys.size());
  std::vector<point> points;
  points.reserve(n);
  for (size_t i = 0; i < n; ++i) points.push_back(point{xs[i], ys[i]});

  std::vector<point> samples;
  if (n >= 3) {
    CubicCurveAlgorithm algorithm;
    const auto segments = algorithm.controlPointsFromPoints(points);
    for (size_t i = 0; i < segments.size(); ++i) {
      const point& p0 = points[i];
      const point& c1 = segments[i].controlPoint1;
      const point& c2 = segments[i].controlPoint2;
      const point& p3 = points[i + 1];
      const double dt = 1.0 / std::fabs(p3.x - p0.x) / 20.0;
      // t grows by repeated addition, as the sample counts depend on it; it
      // stops once t no longer grows or the segment or curve has its most
      // samples.
      double t = 0;
      for (int64_t k = 0; t <= 1.0 && k < kMaxSamplesPerSegment; ++k) {
        if (samples.size() == samples.capacity()) {
          if (samples.size() == static_cast<size_t>(kMaxSamples)) break;
          // Grown by hand so that the storage never exceeds the cap.
          samples.reserve(std::min<size_t>(kMaxSamples, std::max<size_t>(1024, 2 * samples.size())));
        }
        const double u = 1.0 - t;
        const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
        samples.push_back(point{w0 * p0.x + w1 * c1.x + w2 * c2.x + w3 * p3.x,
                                w0 * p0.y + w1 * c1.y + w2 * c2.y + w3 * p3.y});
        const double next = t + dt;
        if (!(next > t)) break;
        t = next;
      }
    }
  }
  std::vector<double> ysOut;
  ysOut.reserve(samples.size());
  for (const auto& p : samples) ysOut.push_back(p.y < 0 ? 0.0 : p.y);
  outputPoints = std::move(samples);
  outputYs = std::move(ysOut);
}

BezierQuadInkCurve::BezierQuadInkCurve(const std::vector<double>& xs, const std::vector<double>& ys)
    : inputXValues(xs), inputYValues(ys), outputCurve(std::make_shared<RBBezierCurveD>(xs, ys)) {
  outputYs = outputCurve->outputYs.value_or(std::vector<double>{});
  makeInkCurve();
}

void BezierQuadInkCurve::makeInkCurve() {
  const int64_t n = static_cast<int64_t>(outputYs.size());
  if (n == 0) {
    const double y = inputYValues.empty() ? 0.0 : inputYValues.back();
    finalInterpolatedQuadCurve = makeRamp(256, 0.0, y);
    return;
  }
  if (n == 1) {
    // One sample has no range to resample over.
    finalInterpolatedQuadCurve.assign(256, outputYs.front());
    return;
  }
  std::vector<double> positions(static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) positions[i] = static_cast<double>(i);
  finalInterpolatedQuadCurve = RBInterpolateD(positions, outputYs, "Linear", 256).outputArray;
  for (double& v : finalInterpolatedQuadCurve)
    if (v < 0) v *= 0.66;
}

}  // namespace linearization
