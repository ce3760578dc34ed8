#include "StarterCommand.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "Args.h"
#include "Cli.h"
#include "CliHost.h"
#include "LinearizeWarnings.h"
#include "Plot.h"
#include "linearization/QuadDataFile.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"
#include "starter_curves/CurveSetupDataModel.h"

namespace cli {
namespace {

int usageError(std::ostream& err, const std::string& message) {
  err << "inkcurve starter: " << message << "\n\nusage:\n" << starterUsage();
  return kExitUsage;
}

bool known(const std::vector<std::string>& titles, const std::string& title) {
  return std::find(titles.begin(), titles.end(), title) != titles.end();
}

// Which channels print any ink: a level below 1 is written "0".
std::vector<bool> channelsWithInk(const starter_curves::InkCurves& curves) {
  std::vector<bool> inked;
  for (const auto& channel : curves)
    inked.push_back(std::any_of(channel.begin(), channel.end(), [](double level) { return level >= 1.0; }));
  return inked;
}

void listTitles(std::ostream& out) {
  out << "printer models:\n";
  for (const auto& t : starter_curves::printerModelTitles()) out << "  " << t << "\n";
  out << "processes:\n";
  for (const auto& t : starter_curves::processTitles()) out << "  " << t << "\n";
}

}  // namespace

std::string starterUsage() {
  return "  starter --printer TITLE --process TITLE [--ink-limit B] [--yellow Y]\n"
         "          [--total-ink T] [--notes TEXT] --out FILE [--plot FILE]\n"
         "             build a starter curve and write it as a .quad file; B is the\n"
         "             ink-limit boost in percent (above -100), Y the yellow boost in\n"
         "             whole percent (above -100), T the total-ink-load boost as a\n"
         "             fraction (0.1 = 10% more ink; above -1); --plot draws its ink\n"
         "             curves as a PNG\n"
         "  starter --list\n"
         "             list the printer-model and process titles\n";
}

namespace {

// What the command line asks for, once checked.
struct StarterRequest {
  ParsedArgs args;
  StarterChoices choices;
  std::string outPath;
  std::optional<std::string> plotPath;
};

// The files the run writes, with the option that names each, as they are
// written (the extension added).
std::vector<std::pair<std::string, std::filesystem::path>> outputFiles(const StarterRequest& request) {
  std::vector<std::pair<std::string, std::filesystem::path>> files;
  files.emplace_back("out", CliHost::savedPath(request.outPath, "quad"));
  if (request.plotPath) files.emplace_back("plot", CliHost::savedPath(*request.plotPath, "png"));
  return files;
}

// Each step below ends the run when it gives a status.

// The boosts, each read as a number and held to the range where its law
// makes sense (starterChoicesError), in the order they are applied; a
// mistake is a usage error.
std::optional<int> readBoosts(std::ostream& err, StarterRequest& request) {
  const auto& parsed = request.args;
  auto& choices = request.choices;
  for (const char* option : {"ink-limit", "yellow", "total-ink"}) {
    const auto v = parsed.option(option);
    if (!v) continue;
    if (std::string_view(option) == "yellow") {
      const auto value = platform::text::parseInt(*v);
      if (!value) return usageError(err, "--yellow needs a whole number, not '" + *v + "'");
      choices.yellow = GivenBoost<int64_t>{*value, *v};
    } else {
      const auto value = platform::text::parseFiniteDecimal(*v);
      if (!value) return usageError(err, "--" + std::string(option) + " needs a number, not '" + *v + "'");
      (std::string_view(option) == "ink-limit" ? choices.inkLimit : choices.totalInk) = GivenBoost<double>{*value, *v};
    }
    if (auto problem = starterChoicesError(choices)) return usageError(err, *problem);
  }
  return std::nullopt;
}

// Every title, name and number is checked before anything is built or
// written; a mistake is a usage error. --help and --list end the run here.
std::optional<int> checkCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                                    StarterRequest& request) {
  const std::set<std::string> valueOptions{"printer", "process", "ink-limit", "yellow", "total-ink",
                                           "notes",   "out",     "plot"};
  if (asksForHelp(args, valueOptions)) {
    out << "usage:\n" << starterUsage();
    return kExitOk;
  }
  if (args.size() == 1 && args[0] == "--list") {
    listTitles(out);
    return kExitOk;
  }
  std::string error;
  auto parsed = parseArgs(args, valueOptions, {"list", "verbose"}, error);
  if (!parsed) return usageError(err, error);
  if (parsed->has("list")) return usageError(err, "--list takes no other options");
  if (!parsed->positional.empty()) return usageError(err, "unexpected argument '" + parsed->positional[0] + "'");
  for (const char* required : {"printer", "process", "out"}) {
    if (!parsed->has(required)) return usageError(err, "--" + std::string(required) + " is required");
  }
  request.args = *parsed;
  request.choices.printer = *parsed->option("printer");
  request.choices.process = *parsed->option("process");
  request.outPath = *parsed->option("out");
  request.plotPath = parsed->option("plot");
  // The titles first (no boost is read yet), then the outputs' names, then the boosts.
  if (auto problem = starterChoicesError(request.choices)) return usageError(err, *problem);
  if (auto problem = outputFileError("out", request.outPath)) return usageError(err, *problem);
  if (request.plotPath)
    if (auto problem = plotOutputError(*request.plotPath, request.outPath)) return usageError(err, *problem);
  for (const auto& [option, path] : outputFiles(request))
    if (auto problem = outputNameEncodingError(option, path)) return usageError(err, *problem);
  return readBoosts(err, request);
}

// The notes go at the top of the file; they must read back.
std::optional<int> setNotes(const StarterRequest& request, starter_curves::StarterCurve& sc, std::ostream& err) {
  sc.processNotes = request.args.option("notes").value_or(std::string());
  // The ink set's second header line is a comment line ahead of the notes.
  const int commentLinesBefore = static_cast<int>(sc.currentHeaderInfo.size()) - 1;
  if (auto reason = linearization::unreadableNotesReason(*sc.processNotes, commentLinesBefore))
    return usageError(err, "--notes would make a .quad file that cannot be read back: " + *reason);
  return std::nullopt;
}

// A name too long for its file system would fail its rename at the end,
// after the other file was replaced: such a name is refused before anything
// is written, as a file that cannot be written.
std::optional<int> checkOutputNames(const StarterRequest& request, std::ostream& err) {
  for (const auto& [option, path] : outputFiles(request))
    if (auto problem = outputNameLengthError(option, path)) {
      err << "inkcurve: " << *problem << "\n";
      return kExitFailed;
    }
  return std::nullopt;
}

// The file waits in its temporary file until standard output is known to be
// open for the line that names it: a run whose output is closed (or its
// reader gone) fails and replaces nothing, as linearize does.
int writeStarterCurve(const StarterRequest& request, starter_curves::StarterCurve& sc,
                      const std::vector<std::string>& warnings, CliHost& host, std::ostream& out,
                      std::ostream& err) {
  platform::files::ReplacementBatch batch;
  const auto outcome = sc.exportStarterCurve(host);
  if (!outcome.offered) {
    err << "inkcurve: the starter curve does not fit its ink set; nothing was written\n";
    return kExitFailed;
  }
  const std::string note = starterNote(request.choices);
  if (request.plotPath)
    savePlot(starterPicture(sc.currentStarterCurveWithBoostSetting, sc.currentInkList, note), host);
  // What was built, printed ahead of the commit: an output that takes no
  // write (a full disk, /dev/full) fails the run before any file is replaced.
  out << starterSummary(note, sc) << "\n";
  for (const auto& warning : warnings) err << "inkcurve: warning: " << warning << "\n";
  if (outcome.clampedLevels > 0) err << "inkcurve: warning: " << clampedLevelsWarning(outcome.clampedLevels) << "\n";
  return commitWrites(batch, host, out);
}

}  // namespace

int runStarter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  StarterRequest request;
  if (auto status = checkCommandLine(args, out, err, request)) return *status;

  CliHost host(out, err, request.args.has("verbose"));
  host.setSaveAnswer("quad", request.outPath);
  if (request.plotPath) host.setSaveAnswer("png", *request.plotPath);
  auto model = std::make_shared<starter_curves::CurveSetupDataModel>(host);
  const auto warnings = buildStarterCurve(request.choices, *model);
  auto& sc = *model->starterCurve;
  if (auto status = setNotes(request, sc, err)) return *status;
  if (auto status = checkOutputNames(request, err)) return *status;
  return writeStarterCurve(request, sc, warnings, host, out, err);
}

std::optional<std::string> starterChoicesError(const StarterChoices& choices) {
  if (!known(starter_curves::printerModelTitles(), choices.printer))
    return "unknown printer model '" + choices.printer + "' (see inkcurve starter --list)";
  if (!known(starter_curves::processTitles(), choices.process))
    return "unknown process '" + choices.process + "' (see inkcurve starter --list)";
  // At -100 % the boost takes all ink off the darkest step, and below it the
  // levels turn negative.
  if (choices.inkLimit && !(choices.inkLimit->value > -100))
    return "--ink-limit must be above -100 (a boost of -100% or less removes the ink), not '" +
           choices.inkLimit->text + "'";
  // The boost's law divides by Y × 0.02 + 2, which is 0 at -100 and
  // negative below it, where a lower Y leaves more yellow, not less.
  if (choices.yellow && choices.yellow->value <= -100)
    return "--yellow must be above -100 (the boost's law has no value at -100 and turns back below it), not '" +
           choices.yellow->text + "'";
  // Every level is multiplied by 1 + T.
  if (choices.totalInk && !(choices.totalInk->value > -1))
    return "--total-ink must be above -1 (a factor of -1 or less leaves no ink), not '" + choices.totalInk->text +
           "'";
  return std::nullopt;
}

std::vector<std::string> buildStarterCurve(const StarterChoices& choices, starter_curves::CurveSetupDataModel& model) {
  auto& sc = *model.starterCurve;
  sc.printerModelSetting = choices.printer;
  model.setInkFamily();
  model.updateStarterCurve();
  sc.processSetting = choices.process;
  model.updateStarterCurve();
  std::vector<bool> inked = channelsWithInk(sc.currentStarterCurveWithBoostSetting);
  std::vector<std::string> warnings;
  auto boost = [&](const char* option, const std::string& text) {
    model.updateStarterCurve();
    const auto now = channelsWithInk(sc.currentStarterCurveWithBoostSetting);
    std::string emptied;
    for (size_t c = 0; c < std::min({inked.size(), now.size(), sc.currentInkList.size()}); ++c) {
      if (!inked[c] || now[c]) continue;
      inked[c] = false;
      emptied += (emptied.empty() ? "" : ", ") + channelLabel(sc.currentInkList[c]);
    }
    if (!emptied.empty())
      warnings.push_back("--" + std::string(option) + " " + text + " leaves no ink in " + emptied +
                         ": every level is written 0");
  };
  if (choices.inkLimit) {
    model.boost->boostInput = choices.inkLimit->value;
    boost("ink-limit", choices.inkLimit->text);
  }
  if (choices.yellow) {
    model.yellowBoost->boostYellowInput = choices.yellow->value;
    boost("yellow", choices.yellow->text);
  }
  if (choices.totalInk) {
    model.totalInkBoost->totalInkLoadBoostInput = choices.totalInk->value;
    boost("total-ink", choices.totalInk->text);
  }
  return warnings;
}

std::string starterNote(const StarterChoices& choices) {
  std::string note = choices.printer + ", " + choices.process;
  if (choices.inkLimit) note += ", --ink-limit " + choices.inkLimit->text;
  if (choices.yellow) note += ", --yellow " + choices.yellow->text;
  if (choices.totalInk) note += ", --total-ink " + choices.totalInk->text;
  return note;
}

std::string starterSummary(const std::string& note, const starter_curves::StarterCurve& curve) {
  std::string channels;
  for (const auto& ink : curve.currentInkList) channels += (channels.empty() ? "" : ", ") + channelLabel(ink);
  return "starter curve: " + note + "; channels " + channels;
}

std::string clampedLevelsWarning(int64_t clampedLevels) {
  const bool one = clampedLevels == 1;
  return std::to_string(clampedLevels) + (one ? " ink level lay" : " ink levels lay") +
         " outside 0...65535 after boosting and " + (one ? "was" : "were") + " written clamped";
}

}  // namespace cli
