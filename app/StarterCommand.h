#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace starter_curves {
class CurveSetupDataModel;
class StarterCurve;
}  // namespace starter_curves

namespace cli {

// `inkcurve starter`: builds a boosted starter curve and writes it as a .quad
// file, setting the printer model, the process, the boosts and the notes in
// the order the setup screen would. `args` are the arguments after "starter".
int runStarter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The lines the main usage text shows for the command.
std::string starterUsage();

// A boost as given: its amount, and the text it was given as, which names
// it in what the run prints ("--ink-limit 10").
template <class T>
struct GivenBoost {
  T value{};
  std::string text;
};

// What a starter curve is built from, as the command line gives it and as
// the page of `inkcurve serve` sets it: the two titles and the boosts given.
struct StarterChoices {
  std::string printer, process;
  std::optional<GivenBoost<double>> inkLimit, totalInk;
  std::optional<GivenBoost<int64_t>> yellow;
};

// Why the choices cannot be built, in the command's words (without its
// "inkcurve starter: "): a title that is not in the tables, or a boost
// outside the range where its law makes sense.
std::optional<std::string> starterChoicesError(const StarterChoices& choices);

// The setup screen's actions, in its order: the printer model, the process,
// then each boost given. A boost that takes the last ink off a channel is
// named in the warnings returned: the file is still written, but that
// channel prints nothing.
std::vector<std::string> buildStarterCurve(const StarterChoices& choices, starter_curves::CurveSetupDataModel& model);

// Which curve it is, as the run names it: "P5000/P7000/P9000, Carbon
// Transfer, --ink-limit 10".
std::string starterNote(const StarterChoices& choices);
// The line the run prints about what it built: "starter curve: NOTE;
// channels K, C, ...".
std::string starterSummary(const std::string& note, const starter_curves::StarterCurve& curve);
// The warning about levels written clamped.
std::string clampedLevelsWarning(int64_t clampedLevels);

}  // namespace cli
