#include <gtest/gtest.h>

#include <cmath>

#include "linearization/DigitalNegativeCorrectionCurve.h"

using namespace linearization;

namespace {

std::vector<double> falling(double from, double to, int n = 256) {
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back(from + (to - from) * i / (n - 1));
  return v;
}

// What the document does with its default manual curve (100 down to 0).
void buildWithDefaultTarget(DigitalNegativeCorrectionCurve& curve) {
  curve.makeLinearTarget();
  curve.finalTargetArray.clear();
  for (int i = 255; i >= 0; --i) {
    const double manual = 100.0 - i * 100.0 / 255.0;
    curve.finalTargetArray.push_back(curve.intercept + curve.slope * manual);
  }
  curve.buildCorrectionCurve();
}

TEST(CorrectionCurve, LinearReadingsGiveTheFallingIdentity) {
  DigitalNegativeCorrectionCurve curve;
  curve.densitiesToCorrect = falling(90, 10);
  buildWithDefaultTarget(curve);
  EXPECT_EQ(curve.slope, -0.8);
  EXPECT_EQ(curve.intercept, 90);
  ASSERT_EQ(curve.linearTargetArray.size(), 256u);
  EXPECT_EQ(curve.linearTargetArray.back(), curve.densitiesToCorrect.back());
  for (int i = 0; i < 256; ++i) EXPECT_NEAR(curve.finalTargetArray[i], curve.linearTargetArray[i], 1e-9);

  ASSERT_TRUE(curve.correctionCurveArray);
  const auto& c = *curve.correctionCurveArray;
  ASSERT_EQ(c.size(), 256u);
  EXPECT_EQ(c.front(), 100.0);
  EXPECT_EQ(c.back(), 0.0);
  for (int j = 0; j < 256; ++j) EXPECT_NEAR(c[j], (255 - j) * 100.0 / 255.0, 1e-9) << j;
}

TEST(CorrectionCurve, NearestAndBracket) {
  DigitalNegativeCorrectionCurve curve;
  EXPECT_FALSE(curve.nearestDensity(4));
  EXPECT_FALSE(curve.bracketDensity(4));
  curve.densitiesToCorrect = {5, 3, 3};
  EXPECT_EQ(curve.nearestDensity(4), 5.0);  // the first of the equally near

  curve.densitiesToCorrect = {90, 70, 50, 30, 10};
  auto b = curve.bracketDensity(60);  // nearest 70 > 60: 70 and the next value
  ASSERT_TRUE(b);
  EXPECT_EQ(b->earlier, 70);
  EXPECT_EQ(b->later, 50);
  EXPECT_EQ(b->index, 1);
  b = curve.bracketDensity(48);  // nearest 50 > 48: 50 and the next value
  ASSERT_TRUE(b);
  EXPECT_EQ(b->index, 2);
  b = curve.bracketDensity(52);  // nearest 50 <= 52: the value before it
  ASSERT_TRUE(b);
  EXPECT_EQ(b->earlier, 70);
  EXPECT_EQ(b->later, 50);
  EXPECT_EQ(b->index, 1);
  b = curve.bracketDensity(10.5);  // the last value, not below it: both ends are the last value
  ASSERT_TRUE(b);
  EXPECT_EQ(b->earlier, 10);
  EXPECT_EQ(b->later, 10);
  EXPECT_EQ(b->index, 4);
  EXPECT_FALSE(curve.bracketDensity(95)) << "at or above the first value, nearest to it";
  EXPECT_FALSE(curve.bracketDensity(5)) << "below the darkest value: no later neighbour";
  EXPECT_FALSE(curve.bracketDensity(NAN));
  // With repeated values the index is that of the earlier value's first
  // occurrence, not the position before the nearest one.
  curve.densitiesToCorrect = {90, 50, 90, 40, 10};
  b = curve.bracketDensity(41);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->earlier, 90);
  EXPECT_EQ(b->later, 40);
  EXPECT_EQ(b->index, 0);
  curve.densitiesToCorrect = {90, NAN, 10};
  EXPECT_FALSE(curve.bracketDensity(50));
}

TEST(CorrectionCurve, BoundsAndAbsentCurves) {
  DigitalNegativeCorrectionCurve curve;
  curve.densitiesToCorrect = falling(90, 10);

  curve.finalTargetArray = {90, 10};
  curve.buildCorrectionCurve();
  EXPECT_EQ(*curve.correctionCurveArray, (std::vector<double>{100, 0}));

  // A target equal to a measured value gives that step's position.
  curve.finalTargetArray = {90, curve.densitiesToCorrect[100], 10};
  curve.buildCorrectionCurve();
  EXPECT_NEAR((*curve.correctionCurveArray)[1], 100 * 100.0 / 255.0, 1e-9);

  // Nearest to the darkest step but not below it: 99.9, never 100.
  curve.finalTargetArray = {90, 10.1, 10};
  curve.buildCorrectionCurve();
  EXPECT_EQ((*curve.correctionCurveArray)[1], 99.9);

  // A target above paper white has no bracket: no curve at all.
  curve.finalTargetArray = {90, 95, 10};
  curve.buildCorrectionCurve();
  EXPECT_FALSE(curve.correctionCurveArray);

  // A NaN in the readings makes the curve absent.
  curve.densitiesToCorrect[40] = NAN;
  buildWithDefaultTarget(curve);
  EXPECT_FALSE(curve.correctionCurveArray);

  // Fewer than two targets: absent, not a one-entry curve.
  curve.densitiesToCorrect = falling(90, 10);
  curve.finalTargetArray = {50};
  curve.buildCorrectionCurve();
  EXPECT_FALSE(curve.correctionCurveArray);

  curve.densitiesToCorrect.clear();
  EXPECT_TRUE(curve.makeLinearTarget().empty());
}

TEST(CorrectionCurve, AResponseThatDoesNotFallGivesNoCurve) {
  // Flat, rising, or falling by 0.01 or less: no curve, where every bracket
  // would give 99.9. A fall of 0.02 is enough for one.
  const std::pair<std::vector<double>, bool> cases[] = {
      {std::vector<double>(256, 50.0), false},
      {falling(10, 90), false},
      {falling(50.01, 50), false},
      {falling(50.02, 50), true},
  };
  for (const auto& [d, present] : cases) {
    DigitalNegativeCorrectionCurve curve;
    curve.densitiesToCorrect = d;
    buildWithDefaultTarget(curve);
    EXPECT_EQ(curve.correctionCurveArray.has_value(), present) << d.front() << " to " << d.back();
  }
}

TEST(CorrectionCurve, FlatAndNonMonotoneReadingsStayWithinZeroToHundred) {
  DigitalNegativeCorrectionCurve curve;
  // A plateau: steps 2 and 3 read the same, the target lies just below it.
  // The formula would divide by zero towards minus infinity; the position is
  // the end of the plateau's first step, (2 + 1) steps.
  curve.densitiesToCorrect = {90, 70, 50, 50, 30, 10};
  curve.finalTargetArray = {90, 49.999, 10};
  curve.buildCorrectionCurve();
  ASSERT_TRUE(curve.correctionCurveArray);
  EXPECT_EQ(*curve.correctionCurveArray, (std::vector<double>{100, 3 * 100.0 / 255.0, 0}));
  // A bump in the readings puts the bracket on the wrong side of its target:
  // the position would be -0.0392 percent and is stored as 0.
  curve.densitiesToCorrect = {90, 91, 50, 10};
  curve.finalTargetArray = {90, 89.9, 10};
  curve.buildCorrectionCurve();
  ASSERT_TRUE(curve.correctionCurveArray);
  EXPECT_EQ(*curve.correctionCurveArray, (std::vector<double>{100, 0, 0}));
}

}  // namespace
