#include "LinearizeCommand.h"

#include <cmath>
#include <filesystem>

#include "Args.h"
#include "Cli.h"
#include "CliHost.h"
#include "LinearizeExports.h"
#include "LinearizeWarnings.h"
#include "linearization/exports/Exports.h"
#include "linearization/exports/GutenprintXML.h"
#include "linearization/readers/MeasurementFile.h"
#include "linearization/QuadDataFile.h"
#include "linearization/v2LinearizationDataModel.h"
#include "platform/text/Text.h"

namespace cli {

using namespace linearization;

std::string linearizeUsage() {
  return "usage: inkcurve linearize MEASUREMENTS [QUAD] [options]\n"
         "\n"
         "Reads step-wedge measurements (.txt, .csv, .ti3), smooths them, builds the\n"
         "correction curve that makes the print linear from paper white to Dmax and\n"
         "applies it to every channel of QUAD (.quad).\n"
         "\n"
         "options:\n"
         "  --out FILE               write the corrected .quad (needs QUAD)\n"
         "  --acv FILE               write the correction as a Photoshop curve (.acv)\n"
         "  --cube FILE              write the correction as a 1-D lookup table (.cube)\n"
         "  --xml-dir DIR            write one Gutenprint XML curve per channel and the\n"
         "                           reference _ref.quad into DIR (needs QUAD)\n"
         "  --measurements-out FILE  write the smoothed readings as a measurement data file\n"
         "  --smoothing N            moving-average control, 0..100 (default 33)\n"
         "  --spline N               spline control, 0..100 (default 33)\n"
         "  --notes TEXT             process notes written into the .quad\n"
         "  --verbose                print the diagnostic lines to stderr\n"
         "  -h, --help               show this text\n";
}

namespace {

// A quiet host for asking the format name a second time, for the summary.
class SilentHost : public platform::Host {
 public:
  std::optional<std::filesystem::path> runOpenPanel(const platform::OpenPanelRequest&) override { return {}; }
  void beginSavePanel(const platform::SavePanelRequest&, SaveCompletion completion) override { completion({}); }
  int runAlert(const platform::AlertRequest&) override { return 0; }
  void log(const std::string&) override {}
  void reportFailure(const std::string&) override {}
};

// The outputs a save panel names, with the one file type each panel allows.
constexpr std::pair<const char*, const char*> kSavedOutputs[] = {
    {"out", "quad"}, {"acv", "acv"}, {"cube", "cube"}, {"measurements-out", "txt"}};

// Why an output would replace a file being read. The raw readings are the
// one thing a user cannot make again without printing and measuring a new
// wedge; the .quad being corrected may be replaced by --out only (a
// correction in place), never by another export. Files are compared as the
// system knows them (device and inode, links followed), so a link to one or
// a second name counts too.
std::optional<std::string> outputOverInput(const std::string& measurements, const std::optional<std::string>& quad,
                                           const ParsedArgs& args,
                                           const std::optional<std::filesystem::path>& xmlFolder) {
  std::vector<std::pair<std::string, std::filesystem::path>> written;
  for (const auto& [option, type] : kSavedOutputs)
    if (auto p = args.option(option)) written.emplace_back(option, CliHost::savedPath(*p, type));
  if (xmlFolder)
    for (const auto& name : gutenprintExportFileNames()) written.emplace_back("xml-dir", *xmlFolder / name);
  for (const auto& [option, path] : written) {
    std::error_code ec;
    if (std::filesystem::equivalent(path, measurements, ec))
      return "--" + option + " would write " + path.string() + ", which is the measurement file being read (" +
             measurements + "); its raw readings cannot be made again without measuring a new wedge";
    if (quad && option != "out" && std::filesystem::equivalent(path, *quad, ec))
      return "--" + option + " would write " + path.string() + ", which is the .quad file being corrected (" +
             *quad + "); only --out may replace it";
  }
  return std::nullopt;
}

int usageError(std::ostream& err, const std::string& message) {
  err << "inkcurve linearize: " << message << "\n\n" << linearizeUsage();
  return kExitUsage;
}

std::string fixed(double v, int decimals) { return platform::text::fixedDecimal(v, decimals); }

// After a failed load: the file and the reason the reader gave, on one line
// (a file the host itself refused already has its line).
int loadFailed(CliHost& host, std::ostream& err, const std::string& path) {
  const auto reason = host.takeLoadFailure();
  if (reason || !host.failed()) err << "inkcurve: cannot read " << path << (reason ? ": " + *reason : "") << "\n";
  return kExitFailed;
}

}  // namespace

int runLinearize(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::set<std::string> valueOptions{"out",       "acv",    "cube",  "xml-dir", "measurements-out",
                                           "smoothing", "spline", "notes"};
  if (asksForHelp(args, valueOptions)) {
    out << linearizeUsage();
    return kExitOk;
  }
  std::string error;
  auto parsed = parseArgs(args, valueOptions, {"verbose"}, error);
  if (!parsed) return usageError(err, error);
  if (parsed->positional.empty()) return usageError(err, "MEASUREMENTS is missing");
  if (parsed->positional.size() > 2) return usageError(err, "too many files: " + parsed->positional[2]);
  const std::string measurementsPath = parsed->positional[0];
  const std::optional<std::string> quadPath =
      parsed->positional.size() > 1 ? std::optional(parsed->positional[1]) : std::nullopt;
  if (parsed->has("out") && !quadPath) return usageError(err, "--out needs a QUAD file to correct");
  if (parsed->has("xml-dir") && !quadPath) return usageError(err, "--xml-dir needs a QUAD file to correct");
  // Every name is checked before anything is read or written.
  if (measurementsPath.empty()) return usageError(err, "MEASUREMENTS needs a file name, not an empty one");
  if (quadPath && quadPath->empty()) return usageError(err, "QUAD needs a file name, not an empty one");
  for (const auto& [option, type] : kSavedOutputs) {
    if (auto p = parsed->option(option); p)
      if (auto problem = outputFileError(option, *p)) return usageError(err, *problem);
  }
  std::optional<std::filesystem::path> xmlFolder;
  if (auto p = parsed->option("xml-dir")) {
    if (p->empty()) return usageError(err, "--xml-dir needs a folder name, not an empty one");
    // Checked as it will be written: "." and ".." by the name of their folder.
    xmlFolder = CliHost::folderAnswer(*p);
    if (auto problem = unwritableFolderName(*xmlFolder)) return usageError(err, "--xml-dir: " + *problem);
  }
  if (auto notes = parsed->option("notes")) {
    if (auto reason = unreadableExportNotes(notes, parsed->has("out"), xmlFolder))
      return usageError(err, "--notes would make a .quad file that cannot be read back: " + *reason);
  }

  if (auto problem = outputOverInput(measurementsPath, quadPath, *parsed, xmlFolder)) return usageError(err, *problem);

  double smoothing = kDefaultSmoothingControl, spline = kDefaultSmoothingControl;
  if (auto v = parsed->option("smoothing")) {
    auto n = numberInRange("smoothing", *v, 0, 100, error);
    if (!n) return usageError(err, error);
    smoothing = *n;
  }
  if (auto v = parsed->option("spline")) {
    auto n = numberInRange("spline", *v, 0, 100, error);
    if (!n) return usageError(err, error);
    spline = *n;
  }

  // A folder that cannot take the XML curves is found before any other
  // output replaces its file; it is made only when the curves are written.
  if (xmlFolder)
    if (auto problem = CliHost::unusableFolder(*xmlFolder)) {
      err << "inkcurve: " << *problem << "\n";
      return kExitFailed;
    }

  CliHost host(out, err, parsed->has("verbose"));
  for (const char* type : {"txt", "csv", "ti3"}) host.setOpenAnswer(type, measurementsPath);
  if (quadPath) host.setOpenAnswer("quad", *quadPath);
  for (const auto& [option, type] : kSavedOutputs)
    if (auto p = parsed->option(option)) host.setSaveAnswer(type, *p);
  if (xmlFolder) host.setOpenAnswer(CliHost::kDirectoryAnswer, *xmlFolder);

  // The document as the main window makes it: placeholder readings first.
  v2LinearizationDataModel document;
  prepareLikeMainWindow(document);

  auto measurementFile = openMeasurementFile(host);
  if (!measurementFile) return loadFailed(host, err, measurementsPath);
  // Named before the document takes the file's lines.
  SilentHost silent;
  const std::string format = measurementFile->detectFormat(silent);
  if (!document.readMeasurementFile(*measurementFile, host)) return loadFailed(host, err, measurementsPath);
  // Never export from the placeholder readings.
  if (document.measurementDataLoadingError) return loadFailed(host, err, measurementsPath);
  for (const auto& warning : host.takeLoadWarnings())
    err << "inkcurve: warning: " << measurementsPath << ": " << warning << "\n";

  document.avgWindowSize = avgWindowSizeForControl(smoothing);
  document.splinePercent = splinePercentForControl(spline);
  document.resetLinearization();
  document.updateLinearization();

  out << "measurements: " << measurementsPath << " (" << format << ")\n";
  out << "readings: " << document.rawMeasurements.size() << " steps, resampled to "
      << document.interpolatedMeasurements.size() << "\n";
  out << "paper white L*: " << fixed(document.interpolatedMeasurements.front().L, 2)
      << ", darkest L*: " << fixed(document.interpolatedMeasurements.back().L, 2) << ", Dmax: "
      << fixed(document.dmax, 2) << "\n";
  warnAboutDmax(document.dmax, document.interpolatedMeasurements.back().L, err);
  out << "smoothing: window " << document.avgWindowSize << ", spline fraction "
      << platform::text::shortestDescription(document.splinePercent) << "\n";
  if (!document.correctionCurve->correctionCurveArray)
    err << "inkcurve: no correction curve could be built from these readings\n";
  else
    warnAboutShallowFall(document.interpolatedMeasurements.front().L, document.interpolatedMeasurements.back().L,
                         err);

  ExportSources sources{document, nullptr, std::nullopt};
  if (quadPath) {
    auto quad = openQuadFile(host);
    if (!quad) return loadFailed(host, err, *quadPath);
    if (!quad->readQuadFile(quad->rawQuadData, &host)) {
      err << "inkcurve: " << *quadPath << " is not a QuadToneRIP ink curve file this program can read: "
          << host.takeLoadFailure().value_or("refused") << "\n";
      return kExitFailed;
    }
    quad->quadHeaders = quad->inkList;
    warnAboutLevelsOutOfRange(*quadPath, *quad->inputQuadCurveArray, quad->inkList, err);
    document.quadData = quad;
    if (auto notes = parsed->option("notes")) quad->processNotes = *notes;
    sources.quad = quad;
    sources.notes = quad->processNotes;
    // Notes given with --notes were checked above; the file's own notes may
    // not fit either once written back.
    if (auto reason = unreadableExportNotes(sources.notes, parsed->has("out"), xmlFolder)) {
      err << "inkcurve: the notes of " << *quadPath << " would make a .quad file that cannot be read back: "
          << *reason << "; give other notes with --notes\n";
      return kExitFailed;
    }

    auto linearization = document.linearizeQuad(&host);
    if (linearization) {
      quad->outputQuadCurveArray = linearization->linearizedOutputQuadArray;
      document.outputQuadValues = quad->outputQuadCurveArray;
      out << "channels corrected: " << quad->inkList.size() << " (";
      for (size_t i = 0; i < quad->inkList.size(); ++i) out << (i ? ", " : "") << channelLabel(quad->inkList[i]);
      out << ")\n";
      warnAboutEmptiedChannels(*quad->inputQuadCurveArray, quad->outputQuadCurveArray, quad->inkList, err);
      // Known only now: the levels' texts count too.
      if (auto reason = oversizedQuadExport(sources, parsed->has("out"), xmlFolder)) {
        const bool given = parsed->has("notes");
        err << "inkcurve: " << (given ? "--notes" : "the notes of " + *quadPath)
            << " would make a .quad file that cannot be read back: " << *reason
            << (given ? "" : "; give other notes with --notes") << "\n";
        return kExitFailed;
      }
    }
  }

  const std::pair<const char*, ExportType> exports[] = {
      {"out", ExportType::quad},  {"acv", ExportType::acv},
      {"cube", ExportType::lut},  {"xml-dir", ExportType::xml},
      {"measurements-out", ExportType::measurementsOnly},
  };
  for (const auto& [option, type] : exports)
    if (parsed->has(option)) saveExport(type, sources, host);

  for (const auto& path : host.writtenFiles()) out << "wrote " << path.string() << "\n";
  return host.failed() ? kExitFailed : kExitOk;
}

}  // namespace cli
