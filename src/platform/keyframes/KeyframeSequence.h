#pragma once

#include <optional>
#include <vector>

namespace platform::keyframes {

// How a sequence fills the time between two keyframes.
enum class InterpolationMode : int { linear = 1, spline = 2 };

// A list of values at times that can be sampled at any time in between:
// piecewise linear, or a smooth curve through every keyframe. Outside the
// keyframes' range the first or the last value holds (clamped ends).
//
// The spline is made of cubic Hermite segments whose tangents are the
// Catmull-Rom slopes taken in time, (y[j+1] - y[j-1]) / (t[j+1] - t[j-1]); the
// first and last keyframes take the one-sided slope of their only segment, so
// values on a straight line give that straight line back. The curve passes
// through every keyframe exactly.
class KeyframeSequence {
 public:
  // values[j] stands at times[j]; when the lists differ in length the extra
  // entries of the longer one are ignored. Keyframes are kept in time order
  // (a stable sort, so keyframes at equal times keep their given order); a
  // keyframe whose time is not a number is never sampled.
  KeyframeSequence(const std::vector<double>& values, const std::vector<double>& times);

  InterpolationMode interpolationMode() const { return mode_; }
  void setInterpolationMode(InterpolationMode mode) { mode_ = mode; }

  // Number of keyframes held.
  std::size_t count() const { return values_.size(); }

  // The value at `time`; nothing when the sequence has no keyframes. When no
  // keyframe has a usable time, every time gives the first keyframe's value.
  // A time that is not a number gives a value that is not a number.
  std::optional<double> sampleAtTime(double time) const;

 private:
  double tangent(std::size_t j) const;

  std::vector<double> values_;
  std::vector<double> times_;
  std::size_t usable_ = 0;  // keyframes with a time that is a number, first in the lists
  InterpolationMode mode_ = InterpolationMode::linear;
};

}  // namespace platform::keyframes
