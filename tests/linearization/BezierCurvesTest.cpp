#include <gtest/gtest.h>

#include <cmath>

#include "linearization/BezierCurves.h"

using namespace linearization;

namespace {

void expectPoint(const point& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-12);
  EXPECT_NEAR(p.y, y, 1e-12);
}

TEST(BezierCurves, ControlPointsOfTheWorkedExamples) {
  CubicCurveAlgorithm two;
  auto segments = two.controlPointsFromPoints({{0, 0}, {3, 3}});
  ASSERT_EQ(segments.size(), 1u);
  expectPoint(segments[0].controlPoint1, 1, 1);
  expectPoint(segments[0].controlPoint2, 2, 2);

  CubicCurveAlgorithm three;
  segments = three.controlPointsFromPoints({{0, 0}, {1, 1}, {2, 2}});
  ASSERT_EQ(segments.size(), 2u);
  expectPoint(segments[0].controlPoint1, 1.0 / 3, 1.0 / 3);
  expectPoint(segments[0].controlPoint2, 2.0 / 3, 2.0 / 3);
  expectPoint(segments[1].controlPoint1, 4.0 / 3, 4.0 / 3);
  expectPoint(segments[1].controlPoint2, 5.0 / 3, 5.0 / 3);
  EXPECT_EQ(three.firstControlPoints.size(), 2u);

  // The twin on drawing points gives the same numbers.
  CGCubicCurveAlgorithm cg;
  auto cgSegments = cg.controlPointsFromPoints({{0, 0}, {1, 1}, {2, 2}});
  ASSERT_EQ(cgSegments.size(), 2u);
  EXPECT_NEAR(cgSegments[1].controlPoint2.x, 5.0 / 3, 1e-12);

  CubicCurveAlgorithm none;
  EXPECT_TRUE(none.controlPointsFromPoints({{1, 1}}).empty());
  EXPECT_TRUE(none.firstControlPoints.empty());
  EXPECT_TRUE(none.secondControlPoints.empty());

  // A smooth chain through five points: each junction is C1 (the control
  // points either side of a point are mirror images).
  CubicCurveAlgorithm five;
  std::vector<point> pts = {{0, 0}, {1, 3}, {3, 2}, {4, 5}, {6, 1}};
  segments = five.controlPointsFromPoints(pts);
  ASSERT_EQ(segments.size(), 4u);
  for (size_t i = 1; i < segments.size(); ++i) {
    EXPECT_NEAR(segments[i - 1].controlPoint2.x + segments[i].controlPoint1.x, 2 * pts[i].x, 1e-9);
    EXPECT_NEAR(segments[i - 1].controlPoint2.y + segments[i].controlPoint1.y, 2 * pts[i].y, 1e-9);
  }
}

TEST(BezierCurves, SampleCountsFollowTheWidthOfEachSegment) {
  // Three points, the first segment `width` wide and the second 1 wide (20).
  auto samples = [](double width) {
    RBBezierCurveD curve({0, width, width + 1}, {0, 10, 20});
    return curve.outputPoints->size() - 20;
  };
  EXPECT_EQ(samples(1), 20u);   // t = 1 is missed by repeated addition
  EXPECT_EQ(samples(4), 81u);   // the last sample at the segment's end
  EXPECT_EQ(samples(25), 500u);

  RBBezierCurveD equalX({0, 0, 1}, {0, 5, 10});
  EXPECT_EQ(equalX.outputPoints->size(), 1u + 20u) << "a segment of no width gives one sample";

  RBBezierCurveD huge({0, 1e17, 2e17}, {0, 1, 2});
  EXPECT_EQ(huge.outputPoints->size(), 2u * RBBezierCurveD::kMaxSamplesPerSegment) << "a huge span ends";

  // Five segments of a million units each would ask for five times the
  // per-segment cap; the curve's own cap stops them, storage included.
  std::vector<double> xs, ys;
  for (int i = 0; i < 6; ++i) xs.push_back(i * 1e6), ys.push_back(i % 2);
  RBBezierCurveD wide(xs, ys);
  EXPECT_EQ(wide.outputPoints->size(), static_cast<size_t>(RBBezierCurveD::kMaxSamples));
  EXPECT_LE(wide.outputPoints->capacity(), static_cast<size_t>(RBBezierCurveD::kMaxSamples));
  EXPECT_EQ(wide.outputYs->size(), wide.outputPoints->size());

  RBBezierCurveD twoPoints({0, 255}, {0, 40000});
  EXPECT_TRUE(twoPoints.outputPoints->empty());
  EXPECT_TRUE(twoPoints.outputYs->empty());

  RBBezierCurveD unequal({0, 1, 2, 3}, {0, 1, 2});
  EXPECT_EQ(unequal.outputPoints->size(), 40u) << "the shorter list decides";
}

TEST(BezierCurves, InkCurvesFromEditorPoints) {
  BezierQuadInkCurve line({0, 255}, {0, 40000});
  ASSERT_EQ(line.finalInterpolatedQuadCurve.size(), 256u);
  EXPECT_EQ(line.finalInterpolatedQuadCurve[0], 0);
  EXPECT_NEAR(line.finalInterpolatedQuadCurve[255], 40000, 1e-6);
  EXPECT_NEAR(line.finalInterpolatedQuadCurve[1], 40000.0 / 255, 1e-9);

  // Points whose chain dips below 0 between them: never a negative level.
  BezierQuadInkCurve dip({0, 20, 40, 60, 255}, {30000, 0, 0, 30000, 60000});
  for (double y : dip.outputYs) EXPECT_GE(y, 0);
  ASSERT_EQ(dip.finalInterpolatedQuadCurve.size(), 256u);
  for (double y : dip.finalInterpolatedQuadCurve) EXPECT_GE(y, 0);
  EXPECT_EQ(dip.finalInterpolatedQuadCurve[0], 30000);

  BezierQuadInkCurve none({}, {});
  EXPECT_EQ(none.finalInterpolatedQuadCurve, std::vector<double>(256, 0.0));
  none.outputYs = {1234};
  none.makeInkCurve();
  EXPECT_EQ(none.finalInterpolatedQuadCurve, std::vector<double>(256, 1234.0));
}

}  // namespace
