#include "linearization/WedgeLayout.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace linearization {

namespace {

std::string times(int64_t count) {
  if (count == 1) return "once";
  if (count == 2) return "twice";
  return std::to_string(count) + " times";
}

std::string article(int64_t steps) {
  // "an 11-step", "an 8-step", "an 18-step", "an 80-step": read aloud, the
  // count begins with a vowel.
  const std::string digits = std::to_string(steps);
  const bool vowel =
      digits[0] == '8' || (digits.size() % 3 == 2 && (digits.starts_with("11") || digits.starts_with("18")));
  return vowel ? "an " : "a ";
}

// "pass 2", "passes 2 and 4", "passes 2, 4 and 6"; past a handful, how many.
std::string passesFromDark(const WedgeLayout& layout) {
  std::vector<int64_t> passes;
  for (std::size_t p = 0; p < layout.fromDarkEnd.size(); ++p)
    if (layout.fromDarkEnd[p]) passes.push_back(static_cast<int64_t>(p) + 1);
  if (passes.empty()) return "";
  if (layout.passes == 1) return ", read from the dark end";
  if (passes.size() == 1) return ", pass " + std::to_string(passes[0]) + " read from the dark end";
  if (passes.size() > 6)
    return ", " + std::to_string(passes.size()) + " of its " + std::to_string(layout.passes) +
           " passes read from the dark end";
  std::string text = ", passes ";
  for (std::size_t k = 0; k < passes.size(); ++k)
    text += (k == 0 ? "" : k + 1 == passes.size() ? " and " : ", ") + std::to_string(passes[k]);
  return text + " read from the dark end";
}

// How the samples of a step lie: "each step's readings together", "pass
// after pass", "in 2 passes of 2 readings a step".
std::string arrangement(const WedgeLayout& layout) {
  if (layout.passes == 1) return "each step's readings together";
  if (layout.passes == layout.mostSamples) return "pass after pass";
  return "in " + std::to_string(layout.passes) + " passes of " + std::to_string(layout.inRow()) +
         " readings a step";
}

}  // namespace

std::string LayoutRequest::options() const {
  std::string text;
  if (steps) text = "--steps " + std::to_string(*steps);
  if (arrangement)
    text += std::string(text.empty() ? "" : " ") + "--layout " +
            (*arrangement == Arrangement::together ? "together" : "passes");
  return text;
}

WedgeLayout WedgeLayout::oneReadingAStep(int64_t readings) {
  WedgeLayout layout;
  layout.readings = readings;
  layout.steps = readings;
  layout.fewestSamples = layout.mostSamples = readings > 0 ? 1 : 0;
  return layout;
}

std::string WedgeLayout::description() const {
  const std::string placed = (placedAtLabels ? ", placed at their labels" : "") + leftOutText();
  const bool sorted = order == Order::fallingL;
  if (mostSamples <= 1 && !sorted) return std::to_string(steps) + " steps" + passesFromDark(*this) + placed;
  std::string text = std::to_string(readings) + ", ";
  if (sorted) text += "taken in order of falling L* as ";
  if (mostSamples <= 1) return text + std::to_string(steps) + " steps" + leftOutText();
  text += article(steps) + std::to_string(steps) + "-step wedge measured ";
  text += fewestSamples == mostSamples || missingStep >= 0
              ? std::to_string(mostSamples)
              : std::to_string(fewestSamples) + " to " + std::to_string(mostSamples);
  text += " times";
  if (order == Order::named) return text + ", each reading's step named by its " + namedBy + placed;
  if (sorted) return text + leftOutText();
  return text + ", " + arrangement(*this) + passesFromDark(*this) + missing() + leftOutText();
}

std::string WedgeLayout::leftOutText() const {
  if (leftOut <= 0) return "";
  return ", " + std::to_string(leftOut) + (leftOut == 1 ? " reading" : " readings") + " left out";
}

std::string WedgeLayout::missing() const {
  if (missingStep < 0) return "";
  return ", one reading of step " + std::to_string(missingStep + 1) + " missing";
}

std::string WedgeLayout::choice() const {
  std::string text = article(steps) + std::to_string(steps) + "-step wedge measured " + times(mostSamples);
  if (mostSamples > 1) text += ", " + arrangement(*this);
  return text + passesFromDark(*this) + missing();
}

std::optional<StepNames> stepsNamedByValues(const std::vector<double>& values, bool whiteIsLowest,
                                            std::string namedBy) {
  // Values that differ only by the rounding of their text name one patch.
  constexpr double kScale = 1e6;
  std::vector<double> keys;
  keys.reserve(values.size());
  for (const double v : values) {
    if (!std::isfinite(v)) return std::nullopt;
    keys.push_back(std::round(v * kScale) / kScale);
  }
  std::vector<double> distinct = keys;
  if (whiteIsLowest)
    std::sort(distinct.begin(), distinct.end());
  else
    std::sort(distinct.begin(), distinct.end(), std::greater<>());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  if (distinct.size() < 2) return std::nullopt;
  StepNames names;
  names.namedBy = std::move(namedBy);
  names.steps = static_cast<int64_t>(distinct.size());
  names.stepOf.reserve(keys.size());
  for (const double key : keys) {
    const auto at = whiteIsLowest ? std::lower_bound(distinct.begin(), distinct.end(), key)
                                  : std::lower_bound(distinct.begin(), distinct.end(), key, std::greater<>());
    names.stepOf.push_back(static_cast<int32_t>(at - distinct.begin()));
  }
  names.positions = positionsOfLabels(distinct);
  return names;
}

std::vector<double> positionsOfLabels(const std::vector<double>& labels) {
  // A step's label may lie this share of a step from its even place and the
  // steps still count as even: the rounding of labels written as whole
  // numbers on a scale of 255.
  constexpr double kEvenShare = 1.0 / 40.0;
  const std::size_t n = labels.size();
  if (n < 3) return {};
  const double span = labels.back() - labels.front();
  if (!std::isfinite(span) || span == 0) return {};
  std::vector<double> positions(n);
  bool even = true;
  for (std::size_t k = 0; k < n; ++k) {
    positions[k] = (labels[k] - labels.front()) / span;
    if (k > 0 && !(positions[k] > positions[k - 1])) return {};
    const double evenPlace = static_cast<double>(k) / static_cast<double>(n - 1);
    even = even && std::fabs(positions[k] - evenPlace) * static_cast<double>(n - 1) <= kEvenShare;
  }
  if (even) return {};
  positions.front() = 0.0;
  positions.back() = 1.0;
  return positions;
}

}  // namespace linearization
