#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace linearization {

// A point of the curve computations.
struct point {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(const point&, const point&) = default;
};

// The two inner control points of one cubic Bezier segment.
struct CubicCurveSegment {
  point controlPoint1;
  point controlPoint2;
};
struct CGCubicCurveSegment {
  platform::graphics::Point controlPoint1;
  platform::graphics::Point controlPoint2;
};

// The inner control points of a chain of cubic Bezier segments through every
// given point, chosen so the chain is one smooth curve (a tridiagonal solve
// for the first control points, the second ones following from them).
template <class Point, class Segment>
class BasicCubicCurveAlgorithm {
 public:
  virtual ~BasicCubicCurveAlgorithm() = default;

  std::vector<std::optional<Point>> firstControlPoints;
  std::vector<std::optional<Point>> secondControlPoints;

  // One segment per pair of neighbouring points (n points, n - 1 segments);
  // none for fewer than two points.
  virtual std::vector<Segment> controlPointsFromPoints(const std::vector<Point>& points);
};

using CubicCurveAlgorithm = BasicCubicCurveAlgorithm<point, CubicCurveSegment>;
// The same on drawing points, for the curve editor views.
using CGCubicCurveAlgorithm = BasicCubicCurveAlgorithm<platform::graphics::Point, CGCubicCurveSegment>;

// The Bezier chain through (xs[i], ys[i]) sampled densely: 20 samples per unit
// of x in each segment. Negative ys are 0 in outputYs.
class RBBezierCurveD {
 public:
  RBBezierCurveD(const std::vector<double>& xs, const std::vector<double>& ys);
  virtual ~RBBezierCurveD() = default;

  std::optional<std::vector<point>> outputPoints;
  std::optional<std::vector<double>> outputYs;

  // Samples of one segment, and of the whole curve, are capped; a segment 50
  // 000 units of x wide, or a curve of 100 000, is nothing an editor makes.
  // Sampling stops at the curve's cap, so a curve past it is cut short there,
  // and no more than the cap is ever held.
  static constexpr int64_t kMaxSamplesPerSegment = 1'000'000;
  static constexpr int64_t kMaxSamples = 2'000'000;
};

// An ink-curve editor's points as a 256-level ink curve: the Bezier chain
// through them, resampled to 256 values.
class BezierQuadInkCurve {
 public:
  BezierQuadInkCurve(const std::vector<double>& xs, const std::vector<double>& ys);
  virtual ~BezierQuadInkCurve() = default;

  std::vector<double> finalInterpolatedQuadCurve;
  std::vector<double> inputXValues;
  std::vector<double> inputYValues;
  std::shared_ptr<RBBezierCurveD> outputCurve;
  std::vector<double> outputYs;

  // Recomputes finalInterpolatedQuadCurve from outputYs (or, with no samples,
  // a straight line from 0 to the last input y).
  virtual void makeInkCurve();
};

}  // namespace linearization
