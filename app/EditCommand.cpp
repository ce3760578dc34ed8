#include "EditCommand.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "Args.h"
#include "Cli.h"
#include "CliHost.h"
#include "CurveEdits.h"
#include "LinearizeSteps.h"
#include "LinearizeWarnings.h"
#include "Plot.h"
#include "linearization/QuadDataFile.h"
#include "linearization/SaveText.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"

namespace cli {

using namespace linearization;

std::string editUsage() {
  return "  edit QUAD --channel NAME [--points \"x,y x,y ...\"] [--gamma G] [--boost B]\n"
         "          --out FILE [--plot FILE]\n"
         "             reshape one channel of QUAD (K, C, LK, ... as the file names\n"
         "             them) as the curve editors do and write the file again, the\n"
         "             other channels as read. Applied in this order: --points, the\n"
         "             curve through the points (x the input, y the ink, both in\n"
         "             percent; from x 0 to x 100); --gamma G, above 0 (above 1 takes\n"
         "             ink out of the mid-tones, 1 changes nothing); --boost B, the\n"
         "             ink-limit boost in percent as starter's --ink-limit (above\n"
         "             -100); --plot draws the ink curves written as a PNG\n";
}

namespace {

int usageError(std::ostream& err, const std::string& message) {
  err << "inkcurve edit: " << message << "\n\nusage:\n" << editUsage();
  return kExitUsage;
}

// What the command line asks for, once checked.
struct EditRequest {
  ParsedArgs args;
  std::string quadPath, channel, outPath;
  std::optional<std::string> plotPath;
  ChannelEdits edits;
};

std::vector<std::pair<std::string, std::filesystem::path>> outputFiles(const EditRequest& request) {
  std::vector<std::pair<std::string, std::filesystem::path>> files;
  files.emplace_back("out", CliHost::savedPath(request.outPath, "quad"));
  if (request.plotPath) files.emplace_back("plot", CliHost::savedPath(*request.plotPath, "png"));
  return files;
}

// Each step below ends the run when it gives a status.

std::optional<int> checkEdits(std::ostream& err, EditRequest& request) {
  const auto& parsed = request.args;
  std::string error;
  if (auto v = parsed.option("points")) {
    request.edits.points = parseCurvePoints(*v, error);
    if (!request.edits.points) return usageError(err, "--points: " + error);
  }
  if (auto v = parsed.option("gamma")) {
    request.edits.gamma = platform::text::parseFiniteDecimal(*v);
    if (!request.edits.gamma) return usageError(err, "--gamma needs a number, not '" + *v + "'");
    if (gammaError(*request.edits.gamma)) return usageError(err, "--gamma must be above 0, not '" + *v + "'");
  }
  if (auto v = parsed.option("boost")) {
    request.edits.boost = platform::text::parseFiniteDecimal(*v);
    if (!request.edits.boost) return usageError(err, "--boost needs a number, not '" + *v + "'");
    if (boostError(*request.edits.boost))
      return usageError(err, "--boost must be above -100 (a boost of -100% or less removes the ink), not '" + *v +
                                 "'");
  }
  if (!request.edits.points && !request.edits.gamma && !request.edits.boost)
    return usageError(err, "nothing to do: give --points, --gamma or --boost");
  return std::nullopt;
}

// Every name and number is checked before anything is read or written; a
// mistake is a usage error, a file that cannot be written stops the run.
std::optional<int> checkCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                                    EditRequest& request) {
  const std::set<std::string> valueOptions{"channel", "points", "gamma", "boost", "out", "plot"};
  if (asksForHelp(args, valueOptions)) {
    out << "usage:\n" << editUsage();
    return kExitOk;
  }
  std::string error;
  auto parsed = parseArgs(args, valueOptions, {"verbose"}, error);
  if (!parsed) return usageError(err, error);
  if (parsed->positional.empty()) return usageError(err, "QUAD is missing");
  if (parsed->positional.size() > 1) return usageError(err, "unexpected argument '" + parsed->positional[1] + "'");
  for (const char* required : {"channel", "out"})
    if (!parsed->has(required)) return usageError(err, "--" + std::string(required) + " is required");
  request.args = *parsed;
  request.quadPath = parsed->positional[0];
  request.channel = *parsed->option("channel");
  request.outPath = *parsed->option("out");
  request.plotPath = parsed->option("plot");
  if (request.quadPath.empty()) return usageError(err, "QUAD needs a file name, not an empty one");
  if (request.channel.empty()) return usageError(err, "--channel needs a channel's name (K, C, LK, ...)");
  if (auto problem = outputFileError("out", request.outPath)) return usageError(err, *problem);
  if (request.plotPath) {
    if (auto problem = plotOutputError(*request.plotPath, request.outPath)) return usageError(err, *problem);
    // The .quad may be edited in place (--out), never drawn over.
    std::error_code ec;
    const auto plot = CliHost::savedPath(*request.plotPath, "png");
    if (std::filesystem::equivalent(plot, request.quadPath, ec))
      return usageError(err, "--plot would write " + plot.string() + ", which is the .quad file being edited (" +
                                 request.quadPath + "); only --out may replace it");
  }
  for (const auto& [option, path] : outputFiles(request))
    if (auto problem = outputNameEncodingError(option, path)) return usageError(err, *problem);
  if (auto status = checkEdits(err, request)) return status;
  for (const auto& [option, path] : outputFiles(request)) {
    auto problem = outputNameLengthError(option, path);
    if (!problem) problem = platform::files::replacementRefusal(path);
    if (problem) {
      err << "inkcurve: " << *problem << "\n";
      return kExitFailed;
    }
  }
  return std::nullopt;
}

std::string percent(double level) { return platform::text::fixedDecimal(level / 655.35, 2) + " %"; }

// The options given, in the order they are applied.
std::vector<std::pair<std::string, std::string>> givenEdits(const EditRequest& request) {
  std::vector<std::pair<std::string, std::string>> given;
  for (const char* option : {"points", "gamma", "boost"})
    if (auto v = request.args.option(option)) given.emplace_back(option, *v);
  return given;
}

}  // namespace

std::string editNote(const std::string& file, const std::string& label,
                     const std::vector<std::pair<std::string, std::string>>& options) {
  std::string note = label + " of " + file;
  const char* joint = ": ";
  for (const auto& [option, value] : options) {
    note += joint + std::string("--") + option + " " + value;
    joint = ", then ";
  }
  return note;
}

std::string editLastLevelLine(const std::string& label, double before, double after) {
  return label + " at the last input: " + percent(before) + " before, " + percent(after) + " after";
}

std::string editClampedWarning(int64_t clampedLevels, const std::string& label) {
  const bool one = clampedLevels == 1;
  return std::to_string(clampedLevels) + (one ? " ink level of " : " ink levels of ") + label +
         " lay outside 0...65535 after editing and " + (one ? "was" : "were") + " written clamped";
}

int runEdit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  EditRequest request;
  if (auto status = checkCommandLine(args, out, err, request)) return *status;

  CliHost host(out, err, request.args.has("verbose"));
  std::string readError;
  const auto bytes = platform::files::readWholeFile(request.quadPath, &readError);
  std::shared_ptr<QuadDataFile> quad;
  if (bytes) quad = QuadDataFile::fromBytes(*bytes, std::filesystem::path(request.quadPath).filename().string(),
                                            &readError);
  if (!quad) {
    err << "inkcurve: cannot read " << request.quadPath << ": " << readError << "\n";
    return kExitFailed;
  }
  if (auto status = readQuad(*quad, request.quadPath, host, err)) return *status;

  const auto channel = channelIndex(quad->inkList, request.channel);
  if (!channel) {
    std::string names;
    for (const auto& marker : quad->inkList) names += (names.empty() ? "" : ", ") + channelLabel(marker);
    return usageError(err, "--channel " + request.channel + ": " + request.quadPath + " has no such channel (it has " +
                               names + ")");
  }
  const auto& before = (*quad->inputQuadCurveArray)[*channel];
  std::string error;
  const auto after = editedLevels(before, request.edits, error);
  int64_t clamped = 0;
  std::optional<std::string> written;
  if (after) written = quadBytesWithChannel(*bytes, *quad, *channel, *after, clamped);
  if (!written) {
    err << "inkcurve: " << (error.empty() ? "the edited file could not be made" : error) << "; nothing was written\n";
    return kExitFailed;
  }

  platform::files::ReplacementBatch batch;
  host.setSaveAnswer("quad", request.outPath);
  saveTextThroughPanel(host, "quad", std::move(*written));
  const std::string label = channelLabel(quad->inkList[*channel]);
  const std::string note = editNote(request.quadPath, label, givenEdits(request));
  if (request.plotPath) {
    host.setSaveAnswer("png", *request.plotPath);
    // The other channels as written; the edited one as read too, dashed.
    auto curves = *quad->inputQuadCurveArray;
    curves[*channel] = *after;
    auto picture = starterPicture(curves, quad->inkList, note);
    picture.ink.title = "Ink curves: " + label + " edited";
    for (auto& graph : picture.ink.channels)
      if (graph.name == label) graph.inputLevels = before;
    savePlot(picture, host);
  }
  // What was done, printed ahead of the commit, as starter does.
  out << "edited: " << note << "\n";
  out << editLastLevelLine(label, before.back(), after->back()) << "; the other " << quad->inkList.size() - 1
      << " channels as read\n";
  if (clamped > 0) err << "inkcurve: warning: " << editClampedWarning(clamped, label) << "\n";
  return commitWrites(batch, host, out);
}

}  // namespace cli
