#include "LinearizeWarnings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numeric>
#include <utility>

#include "platform/text/Text.h"

namespace cli {

namespace {

// A corrected channel that keeps less than this share of its ink prints
// nearly blank: no real correction takes that much away.
constexpr double kLeastInkShare = 0.1;

// The least fall in L* from paper white to the darkest step that looks like a
// printed wedge; even a faint print on matte paper falls several times this.
constexpr double kLeastWedgeFall = 5.0;

// Whole levels as the file writes them, others in their shortest form.
std::string describe(double v) {
  if (v == std::trunc(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
  return platform::text::shortestDescription(v);
}

}  // namespace

std::string channelLabel(std::string marker) {
  if (marker.rfind("# ", 0) == 0) marker = marker.substr(2);
  // "# K Curve" and "# k curve" alike name channel K.
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  if (marker.size() > 6 && std::equal(marker.end() - 6, marker.end(), " curve", [&](char a, char b) {
        return lower(a) == b;
      })) {
    marker.resize(marker.size() - 6);
    for (char& c : marker) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return marker;
}

void warnAboutLevelsOutOfRange(const std::string& path, const std::vector<linearization::InkCurve>& channels,
                               const std::vector<std::string>& markers, std::ostream& err) {
  size_t count = 0;
  std::string first;
  for (size_t c = 0; c < channels.size(); ++c)
    for (size_t step = 0; step < channels[c].size(); ++step) {
      const double level = channels[c][step];
      if (level >= 0 && level <= 65535) continue;
      if (count++ == 0)
        first = describe(level) + " at step " + std::to_string(step) + " of " +
                (c < markers.size() ? channelLabel(markers[c]) : std::to_string(c));
    }
  if (count == 0) return;
  err << "inkcurve: warning: " << path << " holds " << count << " ink level" << (count == 1 ? "" : "s")
      << " outside 0...65535 (the first is " << first << ")\n";
}

void warnAboutDmax(double dmax, double darkestL, std::ostream& err) {
  if (std::isfinite(dmax)) return;
  err << "inkcurve: warning: Dmax is not a number: the darkest L* is " << platform::text::fixedDecimal(darkestL, 2)
      << ", and only an L* above 0 has a density\n";
}

void warnAboutShallowFall(double paperWhiteL, double darkestL, std::ostream& err) {
  const double fall = paperWhiteL - darkestL;
  if (!(fall < kLeastWedgeFall)) return;
  err << "inkcurve: warning: the readings fall only " << platform::text::fixedDecimal(fall, 2)
      << " L* from paper white to the darkest step; under " << kLeastWedgeFall
      << " L* they look like blank paper, not a printed wedge\n";
}

void warnAboutTurnedBackCorrection(const std::vector<double>& correction, std::ostream& err) {
  // Percent of the input: a rise smaller than this is the arithmetic's, not
  // the readings'.
  constexpr double kLeastTurn = 0.05;
  const auto input = [&](std::size_t k) {
    return platform::text::fixedDecimal(100.0 * static_cast<double>(k) / static_cast<double>(correction.size() - 1), 0);
  };
  std::size_t stretches = 0, from = 0, to = 0;
  for (std::size_t k = 1; k < correction.size(); ++k) {
    if (!(correction[k] > correction[k - 1] + kLeastTurn)) continue;
    // The stretch over which it climbs, from its last low to its top.
    std::size_t end = k;
    while (end + 1 < correction.size() && correction[end + 1] >= correction[end]) ++end;
    if (stretches++ == 0) from = k - 1, to = end;
    k = end;
  }
  if (stretches == 0) return;
  const auto percent = [](double v) { return platform::text::fixedDecimal(v, 1) + "%"; };
  err << "inkcurve: warning: the correction turns back between input " << input(from) << "% and " << input(to)
      << "% (it maps " << input(from) << "% to " << percent(correction[from]) << " and " << input(to) << "% to "
      << percent(correction[to]) << "): the smoothed readings climb back there, and the corrected curves run "
      << "backwards; look at the readings there (--plot) and measure again";
  if (stretches > 1) err << " (it turns back " << stretches - 1 << " more " << (stretches == 2 ? "time" : "times") << ")";
  err << "\n";
}

void warnAboutEmptiedChannels(const std::vector<linearization::InkCurve>& before,
                              const std::vector<linearization::InkCurve>& after,
                              const std::vector<std::string>& markers, std::ostream& err) {
  // A level below 1 is written 0, and so is one that is not a number.
  auto inked = [](double level) { return level >= 1.0; };
  auto highest = [](const linearization::InkCurve& levels) {
    double top = 0;
    for (double v : levels) top = std::max(top, v);  // NaN never wins
    return std::lround(std::min(top, 65535.0));
  };
  const size_t n = std::min({before.size(), after.size(), markers.size()});
  for (size_t c = 0; c < n; ++c) {
    const double inkBefore = std::accumulate(before[c].begin(), before[c].end(), 0.0);
    const double inkAfter = std::accumulate(after[c].begin(), after[c].end(), 0.0);
    if (!(inkBefore > 0) || inkAfter >= kLeastInkShare * inkBefore) continue;
    // The correction moves ink along the input rather than thinning it: a
    // response that stays near paper white until the darkest steps (the
    // strongest smoothing) sends every input but the last few to level 0,
    // while those keep their top level. So the steps that keep ink are
    // counted, and where they lie, beside the share of the ink.
    const auto stepsBefore = std::count_if(before[c].begin(), before[c].end(), inked);
    std::vector<size_t> steps;
    for (size_t i = 0; i < after[c].size(); ++i)
      if (inked(after[c][i])) steps.push_back(i);
    err << "inkcurve: warning: the correction leaves channel " << channelLabel(markers[c]);
    if (steps.empty()) {
      err << " no ink: every level is 0 (before: ink at " << stepsBefore << " of its " << before[c].size()
          << " steps, up to level " << highest(before[c]) << ")\n";
      continue;
    }
    const double share = inkAfter > 0 ? inkAfter / inkBefore : 0.0;
    err << (share < 0.005 ? " less than 1%" : " " + std::to_string(std::lround(share * 100)) + "%")
        << " of its ink: ink at " << (std::cmp_less(steps.size(), stepsBefore) ? "only " : "") << steps.size()
        << " of its " << after[c].size() << " steps, "
        << (steps.size() == 1 ? "step " + std::to_string(steps.front())
                              : std::to_string(steps.front()) + " to " + std::to_string(steps.back()))
        << " (before: " << stepsBefore << " steps), up to level " << highest(after[c]) << " (before: "
        << highest(before[c]) << ")\n";
  }
}

}  // namespace cli
