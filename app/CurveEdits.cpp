#include "CurveEdits.h"

#include <algorithm>
#include <cmath>

#include "LinearizeWarnings.h"
#include "linearization/BezierCurves.h"
#include "linearization/BinaryLinearization.h"
#include "linearization/Ramps.h"
#include "platform/text/Text.h"
#include "starter_curves/MainBoost.h"

namespace cli {

namespace text = platform::text;
using namespace linearization;

namespace {

constexpr double kFullLevel = 65535.0;
// Input steps per percent of input: the editors lay their points over the
// steps 0...255.
constexpr double kStepsPerPercent = 2.55;

// A number as a user would write it: "50", "0.5", "-15".
std::string shown(double value) {
  std::string s = text::shortestDescription(value);
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return s;
}

std::string pointName(size_t index, std::string_view written) {
  return "point " + std::to_string(index + 1) + " \"" + text::printable(written) + "\"";
}

// Why the point at `index` (written `written`) does not fit after `previous`.
std::optional<std::string> pointError(size_t index, std::string_view written, const CurvePoint& p,
                                      const CurvePoint* previous, size_t count) {
  const auto name = pointName(index, written);
  if (!(p.x >= 0 && p.x <= 100)) return name + ": x must lie within 0...100";
  if (!(p.y >= 0 && p.y <= 100)) return name + ": y must lie within 0...100";
  if (index == 0 && p.x != 0) return name + ": the first point must be at x 0, where the curve begins";
  if (previous && !(p.x > previous->x))
    return name + ": x must be above the x of point " + std::to_string(index) + " (" + shown(previous->x) + ")";
  if (index + 1 == count && index > 0 && p.x != 100)
    return name + ": the last point must be at x 100, where the curve ends";
  return std::nullopt;
}

std::string countError(size_t count) {
  return "a curve needs at least two points \"x,y\", from x 0 to x 100, not " +
         std::string(count == 0 ? "none" : "one");
}

std::optional<std::string> levelsError(const std::vector<double>& levels) {
  if (levels.size() != kChannelLevels)
    return "a channel has " + std::to_string(kChannelLevels) + " levels, not " + std::to_string(levels.size());
  for (size_t i = 0; i < levels.size(); ++i)
    if (!std::isfinite(levels[i])) return "level " + std::to_string(i) + " of the channel is not a finite number";
  return std::nullopt;
}

// The curve through the points on the editors' axes: x in input steps,
// y in the units `yScale` gives a percent.
std::vector<double> curveThroughPoints(const std::vector<CurvePoint>& points, double yScale) {
  if (points.size() == 2) {
    // The Bezier segment through two points has its control points on the
    // line between them: the curve is that line.
    const double y0 = points[0].y * yScale, y1 = points[1].y * yScale;
    if (y0 <= y1) return makeRamp(kChannelLevels, y0, y1);
    auto falling = makeRamp(kChannelLevels, y1, y0);
    std::reverse(falling.begin(), falling.end());
    return falling;
  }
  std::vector<double> xs, ys;
  for (const auto& p : points) {
    xs.push_back(p.x * kStepsPerPercent);
    ys.push_back(p.y * yScale);
  }
  // The chain's dense samples are read at each input step by their own x:
  // a sample's place in the list is not its x (a segment's samples crowd
  // where its x moves slowly), and reading by place would bend the curve
  // where two segments meet. A sample whose x does not move on from the
  // one kept before it is passed over, and the last point closes the list
  // where the sampling stopped short of it.
  const RBBezierCurveD chain(xs, ys);
  std::vector<point> samples;
  const auto& drawn = *chain.outputPoints;
  for (size_t i = 0; i < drawn.size(); ++i)
    if (samples.empty() || drawn[i].x > samples.back().x)
      samples.push_back({drawn[i].x, (*chain.outputYs)[i]});
  if (samples.empty() || samples.back().x < xs.back()) samples.push_back({xs.back(), std::max(0.0, ys.back())});
  std::vector<double> curve(kChannelLevels);
  size_t segment = 0;
  for (size_t step = 0; step < kChannelLevels; ++step) {
    const double x = static_cast<double>(step);
    while (segment + 2 < samples.size() && samples[segment + 1].x <= x) ++segment;
    const point& a = samples[segment];
    const point& b = samples[std::min(segment + 1, samples.size() - 1)];
    if (b.x <= a.x || x <= a.x) curve[step] = a.y;
    else if (x >= b.x) curve[step] = b.y;
    else curve[step] = a.y + (b.y - a.y) * ((x - a.x) / (b.x - a.x));
  }
  return curve;
}

}  // namespace

std::optional<std::vector<CurvePoint>> parseCurvePoints(std::string_view input, std::string& error) {
  std::vector<std::string_view> words;
  for (size_t at = 0; at < input.size();) {
    if (input[at] == ' ' || input[at] == '\t') {
      ++at;
      continue;
    }
    const size_t end = std::min(input.find_first_of(" \t", at), input.size());
    words.push_back(input.substr(at, end - at));
    at = end;
  }
  std::vector<CurvePoint> points;
  for (size_t i = 0; i < words.size(); ++i) {
    const auto word = words[i];
    const auto comma = word.find(',');
    if (comma == std::string_view::npos || word.find(',', comma + 1) != std::string_view::npos) {
      error = pointName(i, word) + " is not written \"x,y\"";
      return std::nullopt;
    }
    const auto x = text::parseFiniteDecimal(word.substr(0, comma));
    const auto y = text::parseFiniteDecimal(word.substr(comma + 1));
    if (!x || !y) {
      error = pointName(i, word) + ": " + (x ? "y" : "x") + " is not a number";
      return std::nullopt;
    }
    points.push_back({*x, *y});
    if (words.size() < 2) break;
    if (auto problem = pointError(i, word, points.back(), i ? &points[i - 1] : nullptr, words.size())) {
      error = *problem;
      return std::nullopt;
    }
  }
  if (points.size() < 2) {
    error = countError(words.size()) + (words.empty() ? "" : " (\"" + text::printable(words[0]) + "\")");
    return std::nullopt;
  }
  return points;
}

std::optional<std::string> curvePointsError(const std::vector<CurvePoint>& points) {
  if (points.size() < 2) return countError(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    const auto& p = points[i];
    const std::string written = shown(p.x) + "," + shown(p.y);
    if (auto problem = pointError(i, written, p, i ? &points[i - 1] : nullptr, points.size())) return problem;
  }
  return std::nullopt;
}

std::string curvePointsText(const std::vector<CurvePoint>& points) {
  std::string s;
  for (const auto& p : points) s += (s.empty() ? "" : " ") + shown(p.x) + "," + shown(p.y);
  return s;
}

std::optional<std::string> gammaError(double gamma) {
  if (!(gamma > 0) || !std::isfinite(gamma)) return "the gamma must be a number above 0, not " + shown(gamma);
  return std::nullopt;
}

std::optional<std::string> boostError(double boost) {
  // At -100 % the boost takes all ink off the darkest step, and below it the
  // levels turn negative.
  if (!std::isfinite(boost) || boost <= -100)
    return "the boost must be above -100 (a boost of -100% or less removes the ink), not " + shown(boost);
  return std::nullopt;
}

std::optional<std::vector<double>> gammaEdited(const std::vector<double>& levels, double gamma, std::string& error) {
  if (auto problem = gammaError(gamma); problem || (problem = levelsError(levels))) {
    error = *problem;
    return std::nullopt;
  }
  if (gamma == 1.0) return levels;
  QuadGammaAdjustD adjust;
  adjust.setInputValues({levels});
  adjust.setGammaAdjustment(gamma);
  auto curve = adjust.applyGamma();
  std::reverse(curve.begin(), curve.end());
  BinaryLinearization linearization(curve, adjust.inputValues());
  adjust.setOutputValues(linearization.linearizedOutputQuadArray);
  return adjust.outputValues().front();
}

std::optional<std::vector<double>> boostEdited(const std::vector<double>& levels, double boost, std::string& error) {
  if (auto problem = boostError(boost); problem || (problem = levelsError(levels))) {
    error = *problem;
    return std::nullopt;
  }
  starter_curves::MainBoost mainBoost;
  mainBoost.inputInksArray = {levels};
  mainBoost.boostInput = boost;
  mainBoost.updateBoostSettings();
  mainBoost.calculateInkSumBoost();
  mainBoost.applyBoost();
  return mainBoost.outputInksArray.front();
}

std::optional<std::vector<double>> inkCurveThroughPoints(const std::vector<CurvePoint>& points, std::string& error) {
  if (auto problem = curvePointsError(points)) {
    error = *problem;
    return std::nullopt;
  }
  return curveThroughPoints(points, kFullLevel / 100.0);
}

std::optional<std::vector<double>> manualCurveThroughPoints(const std::vector<CurvePoint>& points,
                                                            std::string& error) {
  if (auto problem = curvePointsError(points)) {
    error = *problem;
    return std::nullopt;
  }
  return curveThroughPoints(points, 1.0);
}

std::optional<std::vector<double>> editedLevels(const std::vector<double>& levels, const ChannelEdits& edits,
                                                std::string& error) {
  std::optional<std::vector<double>> result = levels;
  if (edits.points) result = inkCurveThroughPoints(*edits.points, error);
  if (result && edits.gamma) result = gammaEdited(*result, *edits.gamma, error);
  if (result && edits.boost) result = boostEdited(*result, *edits.boost, error);
  if (result)
    if (auto problem = levelsError(*result)) {
      error = *problem;
      return std::nullopt;
    }
  return result;
}

std::optional<size_t> channelIndex(const std::vector<std::string>& markers, std::string_view name) {
  for (size_t i = 0; i < markers.size(); ++i)
    if (text::caseInsensitiveEquals(channelLabel(markers[i]), name)) return i;
  return std::nullopt;
}

std::optional<std::string> quadBytesWithChannel(std::string_view bytes, const QuadDataFile& quad, size_t channel,
                                                const std::vector<double>& levels, int64_t& clampedLevels) {
  if (channel >= quad.inkList.size() || levels.size() != kChannelLevels || quad.printerInfo.empty())
    return std::nullopt;
  // The reader split the file on line feeds (a byte-order mark and carriage
  // returns aside, neither of which ends a line): the channel's levels are
  // the 256 lines after its marker, past the header and comment lines.
  const size_t first = quad.printerInfo.size() + channel * (kChannelLevels + 1) + 1;
  size_t at = 0;
  for (size_t line = 0; line < first; ++line) {
    at = bytes.find('\n', at);
    if (at == std::string_view::npos) return std::nullopt;
    ++at;
  }
  std::string result(bytes.substr(0, at));
  for (size_t i = 0; i < kChannelLevels; ++i) {
    if (at > bytes.size()) return std::nullopt;
    const size_t end = std::min(bytes.find('\n', at), bytes.size());
    std::string_view line = bytes.substr(at, end - at);
    // The line's own end stays: "\r\n" where it had one.
    const bool carriageReturn = !line.empty() && line.back() == '\r';
    line.remove_suffix(carriageReturn ? 1 : 0);
    if (text::removeAll(line, '\r') != text::removeAll(quad.rawQuadData[first + i], '\r')) return std::nullopt;
    result += quadLevelText(levels[i], clampedLevels);
    if (carriageReturn) result += '\r';
    at = end + 1;
    if (end < bytes.size()) result += '\n';
  }
  if (at < bytes.size()) result.append(bytes.substr(at));
  return result;
}

}  // namespace cli
