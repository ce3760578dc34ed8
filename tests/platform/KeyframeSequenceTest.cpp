#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/keyframes/KeyframeSequence.h"

using platform::keyframes::InterpolationMode;
using platform::keyframes::KeyframeSequence;

namespace {

KeyframeSequence makeSequence(const std::vector<double>& values, const std::vector<double>& times,
                              InterpolationMode mode) {
  KeyframeSequence sequence(values, times);
  sequence.setInterpolationMode(mode);
  return sequence;
}

const InterpolationMode kModes[] = {InterpolationMode::linear, InterpolationMode::spline};

}  // namespace

TEST(KeyframeSequence, PassesExactlyThroughEveryKeyframeAndClampsOutside) {
  const std::vector<double> values{95.0, 71.5, 60.25, 12.0, 30.0, 5.0};
  const std::vector<double> times{0.0, 0.2, 0.4, 0.6, 0.8, 1.0};
  for (InterpolationMode mode : kModes) {
    const KeyframeSequence sequence = makeSequence(values, times, mode);
    for (std::size_t j = 0; j < values.size(); ++j) {
      EXPECT_EQ(sequence.sampleAtTime(times[j]), values[j]) << "mode " << static_cast<int>(mode) << " key " << j;
    }
    EXPECT_EQ(sequence.sampleAtTime(-0.5), 95.0);
    EXPECT_EQ(sequence.sampleAtTime(-std::numeric_limits<double>::infinity()), 95.0);
    EXPECT_EQ(sequence.sampleAtTime(1.0000001), 5.0);
    EXPECT_EQ(sequence.sampleAtTime(std::numeric_limits<double>::infinity()), 5.0);
    EXPECT_TRUE(std::isnan(*sequence.sampleAtTime(std::nan(""))));
  }
}

TEST(KeyframeSequence, StraightKeyframesGiveAStraightLineEvenWhenUnevenlySpaced) {
  const std::vector<std::vector<double>> timeSets{
      {0.0, 0.25, 0.5, 0.75, 1.0}, {0.0, 0.1, 0.15, 0.7, 1.0}, {0.0, 1.0}};
  for (const auto& times : timeSets) {
    std::vector<double> values;
    for (double t : times) values.push_back(90.0 - 80.0 * t);
    for (InterpolationMode mode : kModes) {
      const KeyframeSequence sequence = makeSequence(values, times, mode);
      for (int i = 0; i <= 1000; ++i) {
        const double t = i / 1000.0;
        EXPECT_NEAR(*sequence.sampleAtTime(t), 90.0 - 80.0 * t, 1e-12) << t;
      }
    }
  }
}

TEST(KeyframeSequence, LinearModeJoinsNeighboursAndSplineModeBends) {
  const std::vector<double> values{0.0, 10.0, 30.0};
  const std::vector<double> times{0.0, 0.5, 1.0};
  const KeyframeSequence linear = makeSequence(values, times, InterpolationMode::linear);
  EXPECT_EQ(linear.sampleAtTime(0.25), 5.0);
  EXPECT_EQ(linear.sampleAtTime(0.75), 20.0);

  // y = 40 t^2 sampled at three keyframes: the spline follows the parabola
  // more closely than the chords do.
  const KeyframeSequence spline = makeSequence(values, times, InterpolationMode::spline);
  const double onCurve = 40.0 * 0.25 * 0.25;
  EXPECT_LT(std::abs(*spline.sampleAtTime(0.25) - onCurve), std::abs(5.0 - onCurve));
}

TEST(KeyframeSequence, DegenerateKeyframeLists) {
  const double nan = std::nan("");
  for (InterpolationMode mode : kModes) {
    // No keyframes: nothing to sample.
    EXPECT_FALSE(makeSequence({}, {}, mode).sampleAtTime(0.5).has_value());
    // One keyframe holds everywhere.
    const KeyframeSequence one = makeSequence({42.0}, {0.3}, mode);
    for (double t : {-1.0, 0.0, 0.3, 0.9}) EXPECT_EQ(one.sampleAtTime(t), 42.0);
    // No usable time (a zero range normalised gives 0/0): the first value.
    const KeyframeSequence noTimes = makeSequence({7.0, 8.0}, {nan, nan}, mode);
    for (double t : {0.0, 0.5, 1.0}) EXPECT_EQ(noTimes.sampleAtTime(t), 7.0);
    // A keyframe without a usable time is left out.
    const KeyframeSequence partly = makeSequence({0.0, 99.0, 10.0}, {0.0, nan, 1.0}, mode);
    EXPECT_NEAR(*partly.sampleAtTime(0.5), 5.0, 1e-12);
    // Unequal lists: the extra values have no time.
    EXPECT_EQ(makeSequence({1.0, 2.0, 3.0}, {0.0, 1.0}, mode).sampleAtTime(2.0), 2.0);
  }
}

TEST(KeyframeSequence, KeyframesGivenOutOfOrderAreSortedByTime) {
  for (InterpolationMode mode : kModes) {
    const KeyframeSequence sorted = makeSequence({0.0, 10.0, 30.0, 5.0}, {0.0, 0.3, 0.6, 1.0}, mode);
    const KeyframeSequence shuffled = makeSequence({30.0, 0.0, 5.0, 10.0}, {0.6, 0.0, 1.0, 0.3}, mode);
    for (int i = 0; i <= 100; ++i) {
      EXPECT_EQ(sorted.sampleAtTime(i / 100.0), shuffled.sampleAtTime(i / 100.0));
    }
    // Equal times: no division by a zero-length segment.
    const KeyframeSequence repeated = makeSequence({1.0, 2.0, 3.0, 4.0}, {0.0, 0.5, 0.5, 1.0}, mode);
    for (int i = 0; i <= 100; ++i) EXPECT_TRUE(std::isfinite(*repeated.sampleAtTime(i / 100.0)));
    EXPECT_EQ(repeated.sampleAtTime(0.5), 3.0);
  }
}
