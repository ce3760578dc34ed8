#pragma once

#include <cstdint>
#include <vector>

namespace starter_curves {

// One point an ink curve must pass through: the level at an input step.
struct CurveAnchor {
  int64_t step;  // 0..255
  double level;  // a whole ink level 0..65535
};

// The 256 whole ink levels of a smooth curve through `anchors`.
//
// The anchors are sorted by step, start at step 0 and end at step 255, and
// hold whole levels. Between them runs a monotone piecewise-cubic Hermite
// curve (Fritsch-Carlson slopes, as in PCHIP): it never overshoots, so a
// curve stays flat between equal anchors, rises or falls monotonically
// between unequal ones, and no step lies outside the range of its two
// neighbouring anchors. Every step is rounded to a whole level; anchor steps
// keep their level exactly. When the highest anchor is a single step, every
// other step is kept strictly below it, so the peak stays where it was put.
//
// Anchors out of order, off the 0..255 range or not starting at 0 and ending
// at 255 stop the program: the built-in tables are the only callers.
std::vector<double> inkCurveThrough(const std::vector<CurveAnchor>& anchors);

}  // namespace starter_curves
