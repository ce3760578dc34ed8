#include "LinearizeCommand.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <tuple>

#include "Args.h"
#include "Cli.h"
#include "CliHost.h"
#include "CurveEdits.h"
#include "LinearizeExports.h"
#include "LinearizeSteps.h"
#include "Plot.h"
#include "linearization/exports/Exports.h"
#include "linearization/exports/GutenprintXML.h"
#include "linearization/readers/MeasurementFile.h"
#include "linearization/QuadDataFile.h"
#include "linearization/v2LinearizationDataModel.h"
#include "platform/files/Files.h"
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
         "  --plot FILE              draw the measurements and the ink curves as a PNG\n"
         "  --smoothing N            moving-average control, 0..100 (default 33)\n"
         "  --spline N               spline control, 0..100 (default 33)\n"
         "  --target-points POINTS   the manual curve that shapes the target, \"x,y x,y ...\":\n"
         "                           x the input, y the curve, both in percent, from x 0\n"
         "                           to x 100 (default \"0,100 100,0\": the straight target)\n"
         "  --notes TEXT             process notes written into the .quad\n"
         "  --steps N                the wedge has N steps: nothing else is tried\n"
         "  --layout together|passes how a wedge measured more than once lies in the file:\n"
         "                           each step's readings together, or pass after pass\n"
         "  --verbose                print the diagnostic lines to stderr\n"
         "  -h, --help               show this text\n";
}

namespace {

// The outputs a save panel names, with the one file type each panel allows.
constexpr std::pair<const char*, const char*> kSavedOutputs[] = {
    {"out", "quad"}, {"acv", "acv"}, {"cube", "cube"}, {"measurements-out", "txt"}, {"plot", "png"}};

// The exports in the order they are written, with the option that asks for each.
constexpr std::pair<const char*, ExportType> kExports[] = {
    {"out", ExportType::quad},  {"acv", ExportType::acv},
    {"cube", ExportType::lut},  {"xml-dir", ExportType::xml},
    {"measurements-out", ExportType::measurementsOnly},
};

// What the command line asks for, once checked.
struct Request {
  ParsedArgs args;
  std::string measurementsPath;
  std::optional<std::string> quadPath;
  std::optional<std::filesystem::path> xmlFolder;
  double smoothing = kDefaultSmoothingControl, spline = kDefaultSmoothingControl;
  LayoutRequest layout;  // --steps, --layout
  // --target-points, and the document's manual curve through them.
  std::optional<std::vector<CurvePoint>> targetPoints;
  std::optional<std::vector<double>> manualCurve;
};

using NamedOutput = std::pair<std::string, std::filesystem::path>;

// Every file the outputs asked for may write, with its option: the save
// panels' files, and every name the XML export may give a file in its folder.
std::vector<NamedOutput> outputFiles(const ParsedArgs& args, const std::optional<std::filesystem::path>& xmlFolder) {
  std::vector<NamedOutput> written;
  for (const auto& [option, type] : kSavedOutputs)
    if (auto p = args.option(option)) written.emplace_back(option, CliHost::savedPath(*p, type));
  if (xmlFolder)
    for (const auto& name : gutenprintExportFileNames()) written.emplace_back("xml-dir", *xmlFolder / name);
  return written;
}

// Why an output would replace a file being read. The raw readings are the
// one thing a user cannot make again without printing and measuring a new
// wedge; the .quad being corrected may be replaced by --out only (a
// correction in place), never by another export. Files are compared as the
// system knows them (device and inode, links followed), so a link to one or
// a second name counts too.
std::optional<std::string> outputOverInput(const Request& request, const std::vector<NamedOutput>& outputs) {
  const auto& measurements = request.measurementsPath;
  const auto& quad = request.quadPath;
  for (const auto& [option, path] : outputs) {
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

// A name as the system knows its file: device and inode when it exists
// (links followed); for one not made yet, its folder's device and inode and
// its own last component, so that two names of a file not made yet
// ("./x.quad" and "x.quad", or a name through a bind-mounted folder) are one
// file too; and for one whose folder is not made yet either, the full path
// with the links of the part that exists resolved.
struct FileIdentity {
  std::optional<std::pair<dev_t, ino_t>> node;
  std::optional<std::tuple<dev_t, ino_t, std::string>> entry;
  std::filesystem::path path;

  explicit FileIdentity(const std::filesystem::path& name) {
    std::error_code ec;
    path = std::filesystem::absolute(name, ec).lexically_normal();
    if (auto resolved = std::filesystem::weakly_canonical(path, ec); !ec) path = resolved;
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0) {
      node.emplace(st.st_dev, st.st_ino);
    } else if (auto folder = name.parent_path(); ::stat(folder.empty() ? "." : folder.c_str(), &st) == 0) {
      entry.emplace(st.st_dev, st.st_ino, name.filename().string());
    }
  }
  // A name that exists and one that does not are two files, and so are one
  // whose folder exists and one whose folder does not.
  bool sameFile(const FileIdentity& other) const {
    if (node || other.node) return node == other.node;
    if (entry || other.entry) return entry == other.entry;
    return path == other.path;
  }
};

// Why two outputs would write one file (the later over the earlier), or an
// output file would stand where the XML folder, or a folder above it, must be.
std::optional<std::string> outputsThatMeet(const std::vector<NamedOutput>& outputs,
                                           const std::optional<std::filesystem::path>& xmlFolder) {
  std::vector<FileIdentity> files;
  for (const auto& output : outputs) files.emplace_back(output.second);
  for (size_t j = 0; j < outputs.size(); ++j)
    for (size_t i = 0; i < j; ++i)
      if (files[i].sameFile(files[j]))
        return "--" + outputs[j].first + " would write " + outputs[j].second.string() + ", which --" +
               outputs[i].first + " writes too (" + outputs[i].second.string() + ")";
  if (!xmlFolder) return std::nullopt;
  // The folder and each one above it, each as the system knows it, so that
  // an output named through a link or a bind mount of a folder above counts.
  for (auto above = FileIdentity(*xmlFolder).path; !above.empty(); above = above.parent_path()) {
    const FileIdentity level(above);
    for (size_t i = 0; i < outputs.size(); ++i)
      if (outputs[i].first != "xml-dir" && files[i].sameFile(level))
        return "--" + outputs[i].first + " would write " + outputs[i].second.string() + ", where --xml-dir " +
               xmlFolder->string() + " needs a folder";
    if (above == above.parent_path()) break;
  }
  return std::nullopt;
}

int usageError(std::ostream& err, const std::string& message) {
  err << "inkcurve linearize: " << message << "\n\n" << linearizeUsage();
  return kExitUsage;
}

// Whether an output asked for is made from the correction curve (all but
// the smoothed readings and the plot).
bool asksForCorrection(const Request& request) {
  return std::any_of(std::begin(kExports), std::end(kExports), [&](const auto& e) {
    return e.second != ExportType::measurementsOnly && request.args.has(e.first);
  });
}

// Each step below ends the run when it gives a status.

// Every name, number and note is checked before anything is read or written;
// a mistake is a usage error.
std::optional<int> checkCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                                    Request& request) {
  const std::set<std::string> valueOptions{"out",   "acv",   "cube",  "xml-dir", "measurements-out", "smoothing",
                                           "spline", "notes", "plot", "steps",   "layout", "target-points"};
  if (asksForHelp(args, valueOptions)) {
    out << linearizeUsage();
    return kExitOk;
  }
  std::string error;
  auto parsed = parseArgs(args, valueOptions, {"verbose"}, error);
  if (!parsed) return usageError(err, error);
  if (parsed->positional.empty()) return usageError(err, "MEASUREMENTS is missing");
  if (parsed->positional.size() > 2) return usageError(err, "too many files: " + parsed->positional[2]);
  request.args = *parsed;
  request.measurementsPath = parsed->positional[0];
  if (parsed->positional.size() > 1) request.quadPath = parsed->positional[1];
  const auto& quadPath = request.quadPath;
  if (parsed->has("out") && !quadPath) return usageError(err, "--out needs a QUAD file to correct");
  if (parsed->has("xml-dir") && !quadPath) return usageError(err, "--xml-dir needs a QUAD file to correct");
  if (request.measurementsPath.empty()) return usageError(err, "MEASUREMENTS needs a file name, not an empty one");
  if (quadPath && quadPath->empty()) return usageError(err, "QUAD needs a file name, not an empty one");
  for (const auto& [option, type] : kSavedOutputs) {
    if (auto p = parsed->option(option); p)
      if (auto problem = outputFileError(option, *p)) return usageError(err, *problem);
  }
  auto& xmlFolder = request.xmlFolder;
  if (auto p = parsed->option("xml-dir")) {
    if (p->empty()) return usageError(err, "--xml-dir needs a folder name, not an empty one");
    // Checked as it will be written: "." and ".." by the name of their folder.
    xmlFolder = CliHost::folderAnswer(*p);
    if (auto problem = unwritableFolderName(*xmlFolder)) return usageError(err, "--xml-dir: " + *problem);
  }
  if (auto notes = parsed->option("notes")) {
    if (auto refusal = givenNotesRefusal(*notes, parsed->has("out"), xmlFolder)) return usageError(err, *refusal);
  }

  const auto outputs = outputFiles(*parsed, xmlFolder);
  for (const auto& [option, path] : outputs)
    if (auto problem = outputNameEncodingError(option, path)) return usageError(err, *problem);
  if (auto problem = outputOverInput(request, outputs)) return usageError(err, *problem);
  if (auto problem = outputsThatMeet(outputs, xmlFolder)) return usageError(err, *problem);

  if (auto v = parsed->option("smoothing")) {
    auto n = numberInRange("smoothing", *v, 0, 100, error);
    if (!n) return usageError(err, error);
    request.smoothing = *n;
  }
  if (auto v = parsed->option("spline")) {
    auto n = numberInRange("spline", *v, 0, 100, error);
    if (!n) return usageError(err, error);
    request.spline = *n;
  }
  if (auto v = parsed->option("target-points")) {
    request.targetPoints = parseCurvePoints(*v, error);
    if (request.targetPoints) request.manualCurve = manualCurveThroughPoints(*request.targetPoints, error);
    if (!request.manualCurve) return usageError(err, "--target-points: " + error);
  }
  if (auto v = parsed->option("steps")) {
    // A whole count of 2 steps or more; the file holds at most a few
    // million readings.
    const auto n = platform::text::parseInt(*v);
    if (!n || *n < 2 || *n > 100000000)
      return usageError(err, "--steps needs a whole number of steps, 2 or more, not \"" + *v + "\"");
    request.layout.steps = *n;
  }
  if (auto v = parsed->option("layout")) {
    if (*v == "together")
      request.layout.arrangement = LayoutRequest::Arrangement::together;
    else if (*v == "passes")
      request.layout.arrangement = LayoutRequest::Arrangement::passes;
    else
      return usageError(err, "--layout is \"together\" or \"passes\", not \"" + *v + "\"");
  }
  return std::nullopt;
}

// Every output's name, its folder, and every file an output would replace,
// is looked at before anything is read or any folder made: a name longer than
// its file system takes (the XML folder's files too, made or not), a folder
// that cannot take the XML curves or cannot be made, a missing folder of an
// output file, and a file that cannot be replaced (a curve made read-only to
// keep it, a FIFO, a mount point). The XML folder is made only when the
// curves are written.
std::optional<int> checkOutputFiles(const Request& request, std::ostream& err) {
  const auto& xmlFolder = request.xmlFolder;
  const auto outputs = outputFiles(request.args, xmlFolder);
  std::optional<std::string> problem;
  for (const auto& [option, path] : outputs)
    if (!problem) problem = outputNameLengthError(option, path);
  if (!problem && xmlFolder) problem = CliHost::unusableFolder(*xmlFolder);
  std::error_code ec;
  const bool xmlFolderMade = xmlFolder && std::filesystem::is_directory(*xmlFolder, ec);
  for (const auto& [option, path] : outputs) {
    if (problem) break;
    if (option == "xml-dir" && !xmlFolderMade) continue;
    problem = platform::files::replacementRefusal(path);
  }
  if (!problem) return std::nullopt;
  err << "inkcurve: " << *problem << "\n";
  return kExitFailed;
}

void answerPanels(const Request& request, CliHost& host) {
  for (const char* type : {"txt", "csv", "ti3"}) host.setOpenAnswer(type, request.measurementsPath);
  if (request.quadPath) host.setOpenAnswer("quad", *request.quadPath);
  for (const auto& [option, type] : kSavedOutputs)
    if (auto p = request.args.option(option)) host.setSaveAnswer(type, *p);
  if (request.xmlFolder) host.setOpenAnswer(CliHost::kDirectoryAnswer, *request.xmlFolder);
}

std::optional<int> readMeasurements(const Request& request, CliHost& host, v2LinearizationDataModel& document,
                                    std::ostream& out, std::ostream& err) {
  auto measurementFile = openMeasurementFile(host);
  if (!measurementFile) return loadFailed(host, err, request.measurementsPath);
  auto stop = cli::readMeasurements(*measurementFile, request.measurementsPath, request.layout, host, document, out, err);
  if (!stop) return std::nullopt;
  if (stop->usage) return usageError(err, *stop->usage);
  return stop->status;
}

// Reads the .quad and applies the correction to every channel; `sources`
// gets the file and the notes the exports write.
std::optional<int> correctQuad(const Request& request, CliHost& host, ExportSources& sources, std::ostream& out,
                               std::ostream& err) {
  const auto& quadPath = *request.quadPath;
  auto quad = openQuadFile(host);
  if (!quad) return loadFailed(host, err, quadPath);
  if (auto status = readQuad(*quad, quadPath, host, err)) return status;
  sources.quad = quad;
  return cli::correctQuad(sources, quadPath, request.args.option("notes"), request.args.has("out"),
                          request.xmlFolder, host, out, err);
}

// Every output goes to its temporary file first; they replace their files
// only when all were written, and a run that failed replaces none.
int writeOutputs(const Request& request, ExportSources& sources, CliHost& host, std::ostream& out,
                 PlotWarmUp* warmUp) {
  const bool anything = std::any_of(std::begin(kExports), std::end(kExports),
                                    [&](const auto& e) { return request.args.has(e.first); }) ||
                        request.args.has("plot");
  if (!anything) {
    out << "nothing written: name an output with --out, --acv, --cube, --xml-dir, --measurements-out or --plot\n";
    return outputReaches(out) ? kExitOk : kExitFailed;
  }
  // Every correction output fails alike when there is no correction: the
  // alert once, and the line that names the readings as the cause.
  const auto& readings = sources.document.interpolatedMeasurements;
  if (asksForCorrection(request) && !sources.document.correctionCurve->correctionCurveArray && !readings.empty()) {
    showLinearizeFailedAlert(host);
    host.err() << "inkcurve: " << noCorrection(readings.front().L, readings.back().L) << "\n";
    return kExitFailed;
  }
  platform::files::ReplacementBatch batch;
  // The plot is drawn on a thread of its own while the other files are
  // written, from a picture taken of the document first; it is written
  // after them, as ever.
  std::optional<PlotPicture> picture;
  std::optional<platform::graphics::EncodedImage> png;
  std::jthread drawing;
  if (request.args.has("plot")) {
    picture = linearizePicture(sources.document, request.measurementsPath, sources.quad.get(), request.quadPath);
    try {
      drawing = std::jthread([&] { png = renderPlot(*picture, warmUp); });
    } catch (const std::system_error&) {
      png = renderPlot(*picture, warmUp);
    }
  }
  for (const auto& [option, type] : kExports)
    if (request.args.has(option)) saveExport(type, sources, host);
  if (picture) {
    if (drawing.joinable()) drawing.join();
    savePlot(png, host);
  }
  return commitWrites(batch, host, out);
}

}  // namespace

int runLinearize(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Request request;
  if (auto status = checkCommandLine(args, out, err, request)) return *status;
  if (auto status = checkOutputFiles(request, err)) return *status;

  CliHost host(out, err, request.args.has("verbose"));
  answerPanels(request, host);
  std::optional<PlotWarmUp> warmUp;
  if (request.args.has("plot")) warmUp.emplace(/*withMeasurements=*/true);
  // The document as the main window makes it: placeholder readings first.
  v2LinearizationDataModel document;
  prepareLikeMainWindow(document);
  if (auto status = readMeasurements(request, host, document, out, err)) return *status;

  buildCorrection(document, request.smoothing, request.spline, asksForCorrection(request), out, err,
                  request.manualCurve);
  if (request.targetPoints)
    out << "target: the manual curve through " << curvePointsText(*request.targetPoints) << "\n";
  ExportSources sources{document, nullptr, std::nullopt};
  if (request.quadPath)
    if (auto status = correctQuad(request, host, sources, out, err)) return *status;

  return writeOutputs(request, sources, host, out, warmUp ? &*warmUp : nullptr);
}

}  // namespace cli
