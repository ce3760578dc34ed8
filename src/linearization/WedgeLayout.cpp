#include "linearization/WedgeLayout.h"

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
  const bool sorted = order == Order::fallingL;
  if (mostSamples <= 1 && !sorted) return std::to_string(steps) + " steps" + passesFromDark(*this);
  std::string text = std::to_string(readings) + ", ";
  if (sorted) text += "taken in order of falling L* as ";
  if (mostSamples <= 1) return text + std::to_string(steps) + " steps";
  text += article(steps) + std::to_string(steps) + "-step wedge measured ";
  text += fewestSamples == mostSamples ? std::to_string(mostSamples)
                                       : std::to_string(fewestSamples) + " to " + std::to_string(mostSamples);
  text += " times";
  if (order == Order::named) return text + ", each reading's step named by its " + namedBy;
  if (sorted) return text;
  return text + ", " + arrangement(*this) + passesFromDark(*this);
}

std::string WedgeLayout::choice() const {
  std::string text = article(steps) + std::to_string(steps) + "-step wedge measured " + times(mostSamples);
  if (mostSamples > 1) text += ", " + arrangement(*this);
  return text + passesFromDark(*this);
}

}  // namespace linearization
