#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linearization/QuadDataFile.h"

namespace cli {

// The ink-curve editors' edits of one channel, and the manual curve of the
// linearization window, as functions of plain values: `inkcurve edit` and
// `linearize --target-points` use them, and so can a page. None throws for
// bad input: each returns nothing and says why in `error`, in words that
// name the bad value (the callers put the option's name in front).

// One point of a curve the user gives: x the input in percent (0...100), y
// in percent (of the full ink level 65535 for an ink curve; the manual
// curve's own value for the target).
struct CurvePoint {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// The levels of one channel: 256 ink levels, 0...65535, one per input step.
inline constexpr size_t kChannelLevels = 256;

// The manual curve every linearization starts with: 100 % at input 0 falling
// straight to 0 % at input 100, which leaves the target straight.
inline constexpr std::string_view kDefaultTargetPoints = "0,100 100,0";

// Points written "x,y x,y ...", separated by spaces (or tabs), each number a
// plain decimal. The points must run from x 0 to x 100 with x strictly
// rising and both numbers within 0...100; at least two. The error names the
// first bad point by its place and its text ("point 3 \"120,5\": x must lie
// within 0...100").
std::optional<std::vector<CurvePoint>> parseCurvePoints(std::string_view text, std::string& error);
// The same checks on points already numbers.
std::optional<std::string> curvePointsError(const std::vector<CurvePoint>& points);
// The points as the text parseCurvePoints reads, numbers in their shortest form.
std::string curvePointsText(const std::vector<CurvePoint>& points);

// Why a value cannot be the gamma (> 0 and finite) or the ink-limit boost
// (finite, above -100, as `starter --ink-limit`); nothing when it can.
std::optional<std::string> gammaError(double gamma);
std::optional<std::string> boostError(double boost);

// The editors' gamma adjustment of a channel: the gamma curve
// 100 × (i/255)^(1/gamma), reversed, applied to the channel as a correction
// curve (the binary linearization). A gamma above 1 gives the mid-tones
// less ink (each input takes the level of an earlier one), below 1 more.
// Gamma 1 is
// no adjustment and gives the levels back as they are (the correction
// itself would shift them a little). Ends of the channel stay: its first
// level becomes 0 and its last is kept.
std::optional<std::vector<double>> gammaEdited(const std::vector<double>& levels, double gamma, std::string& error);
// The editors' ink-limit boost: every level raised by a factor that is 0 at
// input 0 and boost/100 at the last input (MainBoost). Boost 0 changes
// nothing. Nothing is clamped here: the .quad writer holds levels to
// 0...65535.
std::optional<std::vector<double>> boostEdited(const std::vector<double>& levels, double boost, std::string& error);
// The channel the ink-curve editor draws through `points` (x input %, y ink
// % of 65535): the Bezier chain through them, read at each of the 256 input
// steps by its samples' x (between two samples, on the line joining them),
// so that it passes through every point at its input; two points give the
// straight line between them.
std::optional<std::vector<double>> inkCurveThroughPoints(const std::vector<CurvePoint>& points, std::string& error);
// The manual curve through `points` (x input %, y the curve's value %),
// 256 values, entry i for input step i, as the linearization document holds
// it: the Bezier chain through the points, read at the input steps as
// above; two points give the
// straight line, laid from its lower end as the document lays its own, so
// that kDefaultTargetPoints gives the document's default curve exactly.
std::optional<std::vector<double>> manualCurveThroughPoints(const std::vector<CurvePoint>& points,
                                                            std::string& error);

// The edits of one channel, each optional. They are applied in this order,
// whatever order they were given in: the points first (they replace the
// channel's shape), then the gamma (it bends that shape's mid-tones), then
// the boost (it raises the ink limit of the result), so that every edit
// given counts.
struct ChannelEdits {
  std::optional<std::vector<CurvePoint>> points;
  std::optional<double> gamma;
  std::optional<double> boost;
};
std::optional<std::vector<double>> editedLevels(const std::vector<double>& levels, const ChannelEdits& edits,
                                                std::string& error);

// The position of the channel named `name` ("K", "lk", "LLK": as
// channelLabel names a marker, letter case aside) among `markers`.
std::optional<size_t> channelIndex(const std::vector<std::string>& markers, std::string_view name);

// The bytes of the .quad file `bytes` (read into `quad`) with the levels of
// channel `channel` replaced by `levels`, written as the .quad writer writes
// levels (whole numbers held to 0...65535, counted in `clampedLevels`).
// Every other byte stays as it was: header, notes, the other channels, line
// ends (a line that ended "\r\n" still does) and whatever follows the last
// channel. Nothing when `quad` was not read from these bytes.
std::optional<std::string> quadBytesWithChannel(std::string_view bytes, const linearization::QuadDataFile& quad,
                                                size_t channel, const std::vector<double>& levels,
                                                int64_t& clampedLevels);

}  // namespace cli
