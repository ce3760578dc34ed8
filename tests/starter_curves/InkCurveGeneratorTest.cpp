#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "starter_curves/InkCurveGenerator.h"

namespace starter_curves {
namespace {

TEST(InkCurveGenerator, PassesThroughAnchorsWithoutOvershoot) {
  const std::vector<std::vector<CurveAnchor>> cases = {
      {{0, 0}, {255, 40000}},                                              // a straight ramp
      {{0, 0}, {113, 0}, {114, 1}, {128, 6}, {224, 2455}, {254, 30581}, {255, 32800}},  // late, steep rise
      {{0, 0}, {1, 4843}, {19, 46013}, {128, 4754}, {255, 0}},             // early peak, falls to 0
      {{0, 0}, {1, 749}, {7, 32214}, {128, 0}, {255, 0}},                  // falls to a flat 0 run
      {{0, 0}, {1, 245}, {128, 32664}, {134, 32707}, {255, 10755}},        // flat-topped peak
  };
  for (const auto& anchors : cases) {
    SCOPED_TRACE(anchors.size());
    const auto levels = inkCurveThrough(anchors);
    ASSERT_EQ(levels.size(), 256u);
    for (const auto& a : anchors) EXPECT_EQ(levels[a.step], a.level) << "step " << a.step;
    for (double v : levels) EXPECT_EQ(v, std::round(v));
    for (size_t k = 0; k + 1 < anchors.size(); ++k) {
      const auto lo = anchors[k];
      const auto hi = anchors[k + 1];
      const double dir = hi.level > lo.level ? 1.0 : (hi.level < lo.level ? -1.0 : 0.0);
      for (int64_t s = lo.step; s < hi.step; ++s) {
        const double d = levels[s + 1] - levels[s];
        if (dir == 0.0) {
          EXPECT_EQ(d, 0.0) << "flat run broken at step " << s;
        } else {
          EXPECT_GE(d * dir, 0.0) << "turns back at step " << s;
        }
      }
    }
  }
}

TEST(InkCurveGenerator, SinglePeakStaysAlone) {
  // Around a round top the cubic comes within half a level of the peak
  // (999.76 at steps 126 and 130, 999.94 at 127 and 129); those steps are kept
  // one level below it.
  const auto levels = inkCurveThrough({{0, 0}, {128, 1000}, {255, 0}});
  for (int64_t s = 124; s <= 132; ++s) EXPECT_EQ(levels[s], s == 128 ? 1000.0 : 999.0) << "step " << s;
}

TEST(InkCurveGeneratorDeathTest, RejectsMalformedAnchors) {
  EXPECT_DEATH(inkCurveThrough({{0, 0}, {200, 5}}), "step 0 to step 255");
  EXPECT_DEATH(inkCurveThrough({{1, 0}, {255, 5}}), "step 0 to step 255");
  EXPECT_DEATH(inkCurveThrough({{0, 0}, {30, 5}, {20, 6}, {255, 5}}), "out of order");
}

}  // namespace
}  // namespace starter_curves
