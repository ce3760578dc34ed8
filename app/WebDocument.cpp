#include "WebDocument.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <new>
#include <sstream>
#include <utility>
#include <vector>

#include "Cli.h"
#include "CliHost.h"
#include "CurveEdits.h"
#include "JsonWriter.h"
#include "LinearizeExports.h"
#include "LinearizeSteps.h"
#include "LinearizeWarnings.h"
#include "Plot.h"
#include "WebEditor.h"
#include "serve/FlatJson.h"
#include "linearization/QuadDataFile.h"
#include "linearization/readers/MeasurementFile.h"
#include "linearization/v2LinearizationDataModel.h"
#include "platform/text/Text.h"

namespace cli {

using namespace linearization;

namespace {

// What a message is about, as the page groups them.
struct Message {
  std::string about;
  std::string text;
};

// What one step of the command said: its summary lines, and the lines of its
// standard error as messages about `about`, each without the command's
// "inkcurve: warning: " or "inkcurve: " (the host's alerts have neither).
struct Said {
  std::vector<std::string> summary;
  std::vector<Message> messages;
};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Said said(const std::ostringstream& out, const std::ostringstream& err, const std::string& about) {
  Said s;
  s.summary = linesOf(out.str());
  for (auto line : linesOf(err.str())) {
    for (const std::string_view prefix : {"inkcurve: warning: ", "inkcurve: "})
      if (line.starts_with(prefix)) {
        line.erase(0, prefix.size());
        break;
      }
    s.messages.push_back({about, std::move(line)});
  }
  return s;
}

// The last part of a name as the page gave it: a browser sends the file's
// name alone, but a name is never taken as a path.
std::string lastPart(const std::string& name) {
  const auto slash = name.find_last_of("/\\");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The name without its last extension, as a download is named after it;
// shown as a message shows a name (\xNN for what is not text).
std::string stem(const std::string& name) {
  const auto dot = name.rfind('.');
  return platform::text::printable(dot == std::string::npos || dot == 0 ? name : name.substr(0, dot));
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Why a file named `name` is not one an open panel allowing `types` takes
// (by its extension, compared without case), in the command's words.
std::optional<std::string> wrongType(const std::string& name, const std::vector<std::string>& types) {
  const auto dot = name.rfind('.');
  const std::string extension = dot == std::string::npos ? "" : lower(name.substr(dot + 1));
  std::string allowed;
  for (const auto& type : types) {
    if (extension == type) return std::nullopt;
    allowed += (allowed.empty() ? "." : ", .") + type;
  }
  return name + ": expected a file of type " + allowed;
}

// A number as a refusal quotes it.
std::string quoted(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return jsonNumber(value);
}

bool inked(const std::vector<double>& levels) {
  return std::any_of(levels.begin(), levels.end(), [](double level) { return level >= 1; });
}

// The files as one .zip, in memory.
std::optional<std::string> zipOf(const std::vector<std::pair<std::string, std::string>>& files) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!buffer) return std::nullopt;
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  if (!archive) {
    zip_source_free(buffer);
    return std::nullopt;
  }
  // Kept past zip_close, which would free it: the archive is read from it.
  zip_source_keep(buffer);
  bool added = true;
  for (const auto& [name, bytes] : files) {
    // The bytes stay where they are until zip_close has read them.
    zip_source_t* file = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    if (!file || zip_file_add(archive, name.c_str(), file, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
      if (file) zip_source_free(file);
      added = false;
      break;
    }
  }
  // An archive not closed (a file not added, or the close failed) is still
  // open, and is let go of.
  if (!added || zip_close(archive) < 0) {
    zip_discard(archive);
    zip_source_free(buffer);
    return std::nullopt;
  }
  std::optional<std::string> zipped;
  zip_stat_t stat;
  if (zip_source_stat(buffer, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) && zip_source_open(buffer) == 0) {
    std::string bytes(static_cast<size_t>(stat.size), '\0');
    if (zip_source_read(buffer, bytes.data(), bytes.size()) == static_cast<zip_int64_t>(bytes.size()))
      zipped = std::move(bytes);
    zip_source_close(buffer);
  }
  zip_source_free(buffer);
  return zipped;
}

constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t n = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64[(n >> 18) & 63];
    out += kBase64[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kBase64[n & 63] : '=';
  }
  return out;
}

// The bytes of a base64 text; nothing where it is not one.
std::optional<std::string> fromBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    uint32_t n = 0;
    int padding = 0;
    for (size_t k = 0; k < 4; ++k) {
      const char c = text[i + k];
      const size_t value = kBase64.find(c);
      // Padding only at the end, and at most two.
      if (c == '=' && i + 4 == text.size() && k >= 2 && (k == 3 || text[i + 3] == '=')) {
        ++padding;
        n <<= 6;
      } else if (value != std::string_view::npos && padding == 0) {
        n = (n << 6) | static_cast<uint32_t>(value);
      } else {
        return std::nullopt;
      }
    }
    out += static_cast<char>((n >> 16) & 255);
    if (padding < 2) out += static_cast<char>((n >> 8) & 255);
    if (padding < 1) out += static_cast<char>(n & 255);
  }
  return out;
}

// What a saved page says it is: a file of another kind is refused.
constexpr std::string_view kSavedPage = "inkcurve page 1";

}  // namespace

struct WebDocument::Impl {
  // The measurement file as given, and how it was opened.
  struct Measurements {
    std::string name;
    std::shared_ptr<const std::string> bytes;
    LayoutRequest layout;
    Said opened;  // the summary line that names it, and its load's warnings
  };
  // The .quad as read, with its own notes and what its read warned of.
  struct Quad {
    std::string name;
    std::shared_ptr<const std::string> bytes;
    std::shared_ptr<QuadDataFile> file;
    std::optional<std::string> ownNotes;
    Said read;
  };

  std::optional<Measurements> measurements;
  std::unique_ptr<v2LinearizationDataModel> document;
  std::optional<Quad> quad;
  double smoothing = kDefaultSmoothingControl, spline = kDefaultSmoothingControl;
  std::optional<std::string> givenNotes;
  // The manual curve of --target-points; the document's own without them.
  std::optional<std::vector<double>> manualCurve;

  // What the last change made of them.
  Said correction, corrected;
  bool quadCorrected = false;
  std::optional<std::string> exportNotes;
  // Why the .quad and the XML curves cannot be saved now, where they cannot.
  std::optional<std::string> quadRefused, xmlRefused;
  std::vector<Message> errors;
  std::optional<std::string> questionText;
  std::vector<LayoutChoice> choices;

  // The graphs as the document stands, each drawn when first asked for:
  // the picture of both laid out once, the measurement graph as it lays it
  // out, and the ink graph without the channels `hidden` (laid out again
  // without them where there are some).
  struct Drawn {
    PlotPicture picture;
    std::unique_ptr<PlotFigure> figure;
    std::unique_ptr<PlotFigure> withoutHidden;  // the ink graph without `hidden`, where some are
    std::optional<std::string> measurements;
    std::set<std::string> hidden;
    std::optional<std::string> ink;
  };
  std::optional<Drawn> drawn;
  // Each graph's zoom and highlight, kept across the figures a change lays
  // out anew: measurements, ink.
  std::array<PlotFigure::ViewState, 2> views;
  // The figure that draws the graph as shown, its view as kept.
  PlotFigure& figure(Graph which, const std::set<std::string>& hidden);
  const std::string& graph(Graph which, const std::set<std::string>& hidden);

  std::string xmlFolder() const { return stem(quad->name) + "-xml"; }

  // The sources of the exports, as the command hands them over.
  ExportSources sources() const { return ExportSources{*document, quad ? quad->file : nullptr, exportNotes}; }

  // The correction, the corrected .quad and what can be saved, again from
  // the readings, the .quad and the settings, as `linearize` makes them of
  // the same files without outputs.
  void rework();
  // Opens the measurement file; false, with the errors (and the question),
  // where it was refused. Nothing changes then.
  bool open(const std::string& name, std::shared_ptr<const std::string> bytes, const LayoutRequest& layout);
  // Reads the .quad; false, with the errors, where it was refused.
  bool readQuadFile(const std::string& leaf, std::shared_ptr<const std::string> bytes);

  // What the page gave, enough to make the document again: for undo and
  // redo, and for a saved page. A typed reading is kept by its step.
  struct Given {
    std::string measurementName;
    std::shared_ptr<const std::string> measurementBytes;  // none: no file yet
    LayoutRequest layout;
    std::map<int64_t, CIELab> typed;
    std::string quadName;
    std::shared_ptr<const std::string> quadBytes;
    double smoothing = kDefaultSmoothingControl, spline = kDefaultSmoothingControl;
    std::optional<std::string> notes;
    std::string targetPoints{kDefaultTargetPoints};
  };
  Given given;
  // The pages as they were before each change undone by undo(), and after
  // each undone, for redo(). A change of settings may go on in the next
  // (a slider still moving): `goesOn` says which settings it changed.
  std::vector<Given> undoable, redoable;
  std::optional<std::string> goesOn;
  static constexpr size_t kMostUndoable = 200;
  size_t mostHistoryBytes = kDefaultHistoryLimit;
  // The bytes of the files only the history holds.
  size_t historyBytes() const;
  // The edits of the .quad's channels the page loaded last held, for the
  // editor.
  std::optional<std::string> editsLoaded;
  // After a change that worked: what the page was before it goes on the
  // undo list, unless the change `continues` one of the same `kind` that
  // came just before.
  void changed(Given before, std::optional<std::string> kind = std::nullopt, bool continues = false);
  // The document made again from `g`; false (the errors said) where a file
  // of it could not be opened.
  bool remake(const Given& g);
  // Goes to `g` as a change; where it cannot, back to what is given now.
  bool goTo(const Given& g);
  // Undo and redo: the page goes to the last of `from`, and what it was
  // goes onto `to`.
  void walk(std::vector<Given>& from, std::vector<Given>& to, const char* what);
  void refuse(const std::string& about, const std::string& text) { errors.push_back({about, text}); }
  void startChange() {
    errors.clear();
    questionText.reset();
    choices.clear();
  }
};

namespace {

PlotFigure::Graph figureGraph(WebDocument::Graph graph) {
  return graph == WebDocument::Graph::measurements ? PlotFigure::Graph::measurements : PlotFigure::Graph::inkCurves;
}

void keepView(PlotFigure& figure, PlotFigure::Graph graph, const PlotFigure::ViewState& state) {
  // A view that shows it already is left as it is (laid out anew, it would
  // measure its labels again).
  const auto now = figure.viewState(graph);
  if (now.matrix == state.matrix && now.highlight == state.highlight) return;
  figure.setViewState(graph, state);
}

}  // namespace

PlotFigure& WebDocument::Impl::figure(Graph which, const std::set<std::string>& hidden) {
  const auto ink = PlotFigure::Graph::inkCurves;
  if (!drawn) {
    const QuadDataFile* file = quad ? quad->file.get() : nullptr;
    drawn.emplace();
    drawn->picture = linearizePicture(*document, measurements->name, file,
                                      quad ? std::optional<std::string>(quad->name) : std::nullopt);
    drawn->figure = PlotFigure::laidOut(drawn->picture);
    keepView(*drawn->figure, PlotFigure::Graph::measurements, views[0]);
    keepView(*drawn->figure, ink, views[1]);
  }
  if (which == Graph::measurements) return *drawn->figure;
  if (drawn->hidden != hidden) {
    drawn->hidden = hidden;
    drawn->ink.reset();
    drawn->withoutHidden.reset();
    if (!hidden.empty()) {
      PlotPicture shown = drawn->picture;
      std::erase_if(shown.ink.channels, [&](const InkChannelGraph& c) { return hidden.contains(c.name); });
      drawn->withoutHidden = PlotFigure::laidOut(shown);
    }
    // The graph as last touched, whichever channels it showed then.
    PlotFigure& now = drawn->withoutHidden ? *drawn->withoutHidden : *drawn->figure;
    keepView(now, ink, views[1]);
  }
  return drawn->withoutHidden ? *drawn->withoutHidden : *drawn->figure;
}

const std::string& WebDocument::Impl::graph(Graph which, const std::set<std::string>& hidden) {
  PlotFigure& shown = figure(which, hidden);
  auto& svg = which == Graph::measurements ? drawn->measurements : drawn->ink;
  if (!svg) svg = graphSVG(shown, figureGraph(which));
  return *svg;
}

void WebDocument::Impl::rework() {
  drawn.reset();
  correction = {};
  corrected = {};
  quadCorrected = false;
  exportNotes = std::nullopt;
  quadRefused = xmlRefused = std::nullopt;
  if (!document) return;
  {
    std::ostringstream out, err;
    buildCorrection(*document, smoothing, spline, false, out, err, manualCurve);
    correction = said(out, err, "correction");
  }
  if (!quad) return;
  auto& file = *quad->file;
  // Nothing of an earlier correction stays: a curve that cannot be built
  // now leaves the .quad as read.
  file.outputQuadCurveArray.clear();
  file.processNotes = quad->ownNotes;
  document->outputQuadValues.reset();
  std::ostringstream out, err, quiet;
  CliHost host(quiet, quiet);
  auto from = sources();
  correctQuad(from, quad->name, givenNotes, false, std::nullopt, host, out, err);
  corrected = said(out, err, "quad");
  exportNotes = from.notes;
  quadCorrected = !file.inkList.empty() && file.outputQuadCurveArray.size() >= file.inkList.size();
  if (!quadCorrected) return;
  // The notes are written into both .quad texts, the reference one beside
  // the XML curves with a line more.
  const auto refused = [&](bool quadOut, const std::optional<std::filesystem::path>& folder)
      -> std::optional<std::string> {
    auto reason = unreadableExportNotes(exportNotes, quadOut, folder);
    if (!reason) reason = oversizedQuadExport(from, quadOut, folder);
    if (!reason) return std::nullopt;
    return notesRefusal(*reason, givenNotes.has_value(), quad->name);
  };
  quadRefused = refused(true, std::nullopt);
  xmlRefused = refused(false, std::filesystem::path(xmlFolder()));
  for (const auto& reason : {quadRefused, xmlRefused})
    if (reason && (corrected.messages.empty() || corrected.messages.back().text != *reason))
      corrected.messages.push_back({"quad", *reason});
}

bool WebDocument::Impl::open(const std::string& name, std::shared_ptr<const std::string> bytes,
                             const LayoutRequest& layout) {
  std::ostringstream out, err;
  CliHost host(out, err);
  std::shared_ptr<MeasurementFile> file;
  try {
    file = measurementFileFromBytes(*bytes, name, host);
  } catch (const std::bad_alloc&) {
    host.logLoadFailure("not enough memory to split its lines");
    showMeasurementLoadError(host);
  }
  if (!file) {
    loadFailed(host, err, name);
    for (auto& message : said(out, err, "measurements").messages) errors.push_back(std::move(message));
    return false;
  }
  auto opened = std::make_unique<v2LinearizationDataModel>();
  prepareLikeMainWindow(*opened);
  const auto stop = readMeasurements(*file, name, layout, host, *opened, out, err);
  file.reset();
  if (stop) {
    auto s = said(out, err, "measurements");
    for (auto& message : s.messages) errors.push_back(std::move(message));
    if (stop->usage) refuse("measurements", *stop->usage);
    choices = opened->measurementLayoutChoices;
    if (!choices.empty() && !errors.empty()) questionText = errors.back().text;
    return false;
  }
  measurements = Measurements{name, std::move(bytes), layout, said(out, err, "measurements")};
  document = std::move(opened);
  return true;
}

bool WebDocument::Impl::readQuadFile(const std::string& leaf, std::shared_ptr<const std::string> bytes) {
  std::ostringstream out, err;
  CliHost host(out, err);
  std::string error;
  std::shared_ptr<QuadDataFile> file;
  try {
    file = QuadDataFile::fromBytes(*bytes, leaf, &error);
  } catch (const std::bad_alloc&) {
    error = "not enough memory to split its lines";
  }
  if (!file) {
    host.logLoadFailure(error);
    loadFailed(host, err, leaf);
  } else if (!readQuad(*file, leaf, host, err)) {
    quad = Impl::Quad{leaf, std::move(bytes), file, file->processNotes, said(out, err, "quad")};
    return true;
  }
  for (auto& message : said(out, err, "quad").messages) errors.push_back(std::move(message));
  return false;
}

void WebDocument::Impl::changed(Given before, std::optional<std::string> kind, bool continues) {
  redoable.clear();
  const bool joins = continues && kind && goesOn == kind && !undoable.empty();
  goesOn = std::move(kind);
  if (joins) return;
  undoable.push_back(std::move(before));
  if (undoable.size() > kMostUndoable) undoable.erase(undoable.begin());
  // Files that only the history holds are let go of, oldest first, past a
  // bound: a page that opens file after file keeps the last few to undo.
  while (undoable.size() > 1 && historyBytes() > mostHistoryBytes) undoable.erase(undoable.begin());
}

size_t WebDocument::Impl::historyBytes() const {
  std::set<const std::string*> files{given.measurementBytes.get(), given.quadBytes.get()};
  size_t bytes = 0;
  for (const auto* list : {&undoable, &redoable})
    for (const Given& g : *list)
      for (const auto* file : {g.measurementBytes.get(), g.quadBytes.get()})
        if (file && files.insert(file).second) bytes += file->size();
  return bytes;
}

bool WebDocument::Impl::remake(const Given& g) {
  if (!g.measurementBytes) {
    measurements.reset();
    document.reset();
  } else {
    if (!open(g.measurementName, g.measurementBytes, g.layout)) return false;
    auto& readings = document->rawMeasurements;
    for (const auto& [step, lab] : g.typed) {
      if (step < 1 || step > static_cast<int64_t>(readings.size())) {
        refuse("reading", "step " + std::to_string(step) + " is not one of the readings' steps, 1 to " +
                              std::to_string(readings.size()));
        return false;
      }
      readings[static_cast<size_t>(step - 1)] = lab;
    }
    if (!g.typed.empty()) document->processMeasurements();
  }
  if (!g.quadBytes) {
    quad.reset();
  } else if (!quad || quad->bytes != g.quadBytes || quad->name != g.quadName) {
    if (!readQuadFile(g.quadName, g.quadBytes)) return false;
  }
  manualCurve.reset();
  if (g.targetPoints != kDefaultTargetPoints) {
    std::string error;
    const auto points = parseCurvePoints(g.targetPoints, error);
    manualCurve = points ? manualCurveThroughPoints(*points, error) : std::nullopt;
    if (!manualCurve) {
      refuse("settings", "--target-points: " + error);
      return false;
    }
  }
  smoothing = g.smoothing;
  spline = g.spline;
  givenNotes = g.notes;
  given = g;
  rework();
  return true;
}

bool WebDocument::Impl::goTo(const Given& g) {
  if (remake(g)) return true;
  // What could not be opened is said; the page stays as it was.
  auto said = std::move(errors);
  errors.clear();
  const Given now = given;
  remake(now);
  errors = std::move(said);
  return false;
}

WebDocument::WebDocument(size_t historyLimit) : impl_(std::make_unique<Impl>()) {
  impl_->mostHistoryBytes = historyLimit;
}
WebDocument::~WebDocument() = default;

std::string WebDocument::openMeasurements(const std::string& name, std::string bytes, std::optional<int64_t> steps,
                                          std::optional<std::string> layout) {
  auto& d = *impl_;
  d.startChange();
  const std::string leaf = lastPart(name);
  LayoutRequest request;
  if (leaf.empty()) {
    d.refuse("measurements", "MEASUREMENTS needs a file name, not an empty one");
  } else if (auto wrong = wrongType(leaf, {"txt", "csv", "ti3"})) {
    d.refuse("measurements", *wrong);
  } else if (steps && (*steps < 2 || *steps > 100000000)) {
    d.refuse("measurements",
             "--steps needs a whole number of steps, 2 or more, not \"" + std::to_string(*steps) + "\"");
  } else if (layout && *layout != "together" && *layout != "passes") {
    d.refuse("measurements", "--layout is \"together\" or \"passes\", not \"" + *layout + "\"");
  } else {
    request.steps = steps;
    if (layout)
      request.arrangement = *layout == "together" ? LayoutRequest::Arrangement::together
                                                  : LayoutRequest::Arrangement::passes;
    Impl::Given before = d.given;
    auto shared = std::make_shared<const std::string>(std::move(bytes));
    if (d.open(leaf, shared, request)) {
      d.given.measurementName = leaf;
      d.given.measurementBytes = std::move(shared);
      d.given.layout = request;
      d.given.typed.clear();
      d.changed(std::move(before));
      // A new file's graphs start whole, nothing highlighted.
      d.views = {};
      d.rework();
    }
  }
  return state();
}

std::string WebDocument::openQuad(const std::string& name, std::string bytes) {
  auto& d = *impl_;
  d.startChange();
  const std::string leaf = lastPart(name);
  if (leaf.empty()) {
    d.refuse("quad", "QUAD needs a file name, not an empty one");
    return state();
  }
  if (auto wrong = wrongType(leaf, {"quad"})) {
    d.refuse("quad", *wrong);
    return state();
  }
  Impl::Given before = d.given;
  auto shared = std::make_shared<const std::string>(std::move(bytes));
  if (d.readQuadFile(leaf, shared)) {
    d.given.quadName = leaf;
    d.given.quadBytes = std::move(shared);
    d.changed(std::move(before));
    d.views[1] = {};
    d.rework();
  }
  return state();
}

std::string WebDocument::setSettings(std::optional<double> smoothing, std::optional<double> spline,
                                     std::optional<std::string> notes, bool continues) {
  auto& d = *impl_;
  d.startChange();
  for (const auto& [option, value] : {std::pair{"smoothing", smoothing}, std::pair{"spline", spline}})
    if (value && !(*value >= 0 && *value <= 100))
      d.refuse("settings", std::string("--") + option + " must be a number from 0 to 100, not '" + quoted(*value) +
                               "'");
  if (notes) {
    const auto folder = d.quad ? std::optional<std::filesystem::path>(d.xmlFolder()) : std::nullopt;
    if (auto refusal = givenNotesRefusal(*notes, true, folder)) d.refuse("settings", *refusal);
  }
  if (!d.errors.empty()) return state();
  Impl::Given before = d.given;
  if (smoothing) d.smoothing = d.given.smoothing = *smoothing;
  if (spline) d.spline = d.given.spline = *spline;
  if (notes) d.givenNotes = d.given.notes = std::move(notes);
  // A slider that goes on moving is one change, as long as nothing else
  // came between.
  std::string what = std::string(smoothing ? "smoothing " : "") + (spline ? "spline " : "") + (notes ? "notes" : "");
  d.changed(std::move(before), what, continues);
  d.rework();
  return state();
}

std::string WebDocument::setTargetPoints(const std::string& points, bool continues) {
  auto& d = *impl_;
  d.startChange();
  std::string error;
  auto parsed = parseCurvePoints(points, error);
  auto curve = parsed ? manualCurveThroughPoints(*parsed, error) : std::nullopt;
  if (!curve) {
    d.refuse("settings", "--target-points: " + error);
    return state();
  }
  Impl::Given before = d.given;
  d.given.targetPoints = curvePointsText(*parsed);
  d.manualCurve = d.given.targetPoints == kDefaultTargetPoints ? std::nullopt : std::move(curve);
  d.changed(std::move(before), "target points", continues);
  d.rework();
  return state();
}

std::string WebDocument::typeReading(int64_t step, double L, double a, double b) {
  auto& d = *impl_;
  d.startChange();
  if (!d.document) {
    d.refuse("reading", "there are no readings to type over: open a measurement file first");
    return state();
  }
  auto& readings = d.document->rawMeasurements;
  const auto count = static_cast<int64_t>(readings.size());
  if (step < 1 || step > count)
    d.refuse("reading", "step " + std::to_string(step) + " is not one of the readings' steps, 1 to " +
                            std::to_string(count));
  if (!(L >= 0 && L <= 100)) d.refuse("reading", "L* must be a number from 0 to 100, not '" + quoted(L) + "'");
  for (const auto& [name, value] : {std::pair{"a*", a}, std::pair{"b*", b}})
    if (!(value >= -128 && value <= 127))
      d.refuse("reading", std::string(name) + " must be a number from -128 to 127, not '" + quoted(value) + "'");
  if (!d.errors.empty()) return state();
  Impl::Given before = d.given;
  readings[static_cast<size_t>(step - 1)] = CIELab{L, a, b};
  d.given.typed[step] = CIELab{L, a, b};
  d.changed(std::move(before));
  d.document->processMeasurements();
  d.rework();
  return state();
}

std::string WebDocument::revert() {
  auto& d = *impl_;
  d.startChange();
  if (!d.measurements) {
    d.refuse("reading", "there are no readings to revert: open a measurement file first");
    return state();
  }
  // Read again from the file's bytes, as it was opened.
  auto m = std::move(*d.measurements);
  if (d.open(m.name, m.bytes, m.layout)) {
    Impl::Given before = d.given;
    d.given.typed.clear();
    d.changed(std::move(before));
    d.rework();
  } else {
    d.measurements = std::move(m);
  }
  return state();
}

void WebDocument::Impl::walk(std::vector<Given>& from, std::vector<Given>& to, const char* what) {
  startChange();
  if (from.empty()) {
    refuse("history", std::string("there is nothing to ") + what);
    return;
  }
  Given now = given;
  if (goTo(from.back())) {
    from.pop_back();
    to.push_back(std::move(now));
    goesOn.reset();
  }
}

std::string WebDocument::undo() {
  impl_->walk(impl_->undoable, impl_->redoable, "undo");
  return state();
}

std::string WebDocument::redo() {
  impl_->walk(impl_->redoable, impl_->undoable, "redo");
  return state();
}

std::string WebDocument::savedPage(std::string_view edits) const {
  const auto& g = impl_->given;
  JsonWriter json;
  json.beginObject().key("inkcurve").string(kSavedPage);
  if (g.measurementBytes) {
    json.key("measurementFile").string(g.measurementName);
    json.key("measurementBytes").string(base64(*g.measurementBytes));
    if (g.layout.steps) json.key("steps").integer(*g.layout.steps);
    if (g.layout.arrangement)
      json.key("layout").string(*g.layout.arrangement == LayoutRequest::Arrangement::together ? "together" : "passes");
    std::string typed;
    for (const auto& [step, lab] : g.typed)
      typed += (typed.empty() ? "" : "; ") + std::to_string(step) + " " + jsonNumber(lab.L) + " " + jsonNumber(lab.a) +
               " " + jsonNumber(lab.b);
    if (!typed.empty()) json.key("typed").string(typed);
  }
  if (g.quadBytes) json.key("quadFile").string(g.quadName).key("quadBytes").string(base64(*g.quadBytes));
  json.key("smoothing").number(g.smoothing).key("spline").number(g.spline);
  if (g.notes) json.key("notes").string(*g.notes);
  if (g.targetPoints != kDefaultTargetPoints) json.key("targetPoints").string(g.targetPoints);
  if (!edits.empty() && g.quadBytes) json.key("edits").string(edits);
  json.endObject();
  return json.take();
}

std::string WebDocument::loadPage(std::string_view text) {
  auto& d = *impl_;
  d.startChange();
  const auto refuse = [&](const std::string& why) {
    d.refuse("page", "the file is not a page saved by inkcurve serve: " + why);
    return state();
  };
  d.editsLoaded.reset();
  std::string error;
  const auto object = serve::parseFlatObject(text, error);
  if (!object) return refuse(error);
  const auto text_ = [&](const char* key) -> std::optional<std::string> {
    const auto it = object->find(key);
    if (it == object->end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
    return std::get<std::string>(it->second);
  };
  const auto number = [&](const char* key) -> std::optional<double> {
    const auto it = object->find(key);
    if (it == object->end() || !std::holds_alternative<double>(it->second)) return std::nullopt;
    return std::get<double>(it->second);
  };
  static const std::map<std::string, bool> kKeys{
      {"inkcurve", true},  {"measurementFile", true}, {"measurementBytes", true}, {"steps", false},
      {"layout", true},    {"typed", true},           {"quadFile", true},         {"quadBytes", true},
      {"smoothing", false}, {"spline", false},        {"notes", true},            {"targetPoints", true},
      {"edits", true}};
  for (const auto& [key, value] : *object) {
    const auto known = kKeys.find(key);
    if (known == kKeys.end()) return refuse("it holds \"" + platform::text::printable(key) + "\"");
    if (std::holds_alternative<std::string>(value) != known->second)
      return refuse("\"" + key + "\" must be " + (known->second ? "a string" : "a number"));
  }
  if (text_("inkcurve") != std::string(kSavedPage)) return refuse("it does not begin as one");

  Impl::Given g;
  const auto file = [&](const char* nameKey, const char* bytesKey, const std::vector<std::string>& types,
                        std::string& name, std::shared_ptr<const std::string>& bytes) -> std::optional<std::string> {
    const auto given = text_(nameKey);
    const auto encoded = text_(bytesKey);
    if (!given && !encoded) return std::nullopt;
    if (!given || !encoded) return std::string("\"") + nameKey + "\" and \"" + bytesKey + "\" go together";
    name = lastPart(*given);
    if (name.empty()) return std::string("\"") + nameKey + "\" is empty";
    if (auto wrong = wrongType(name, types)) return *wrong;
    auto decoded = fromBase64(*encoded);
    if (!decoded) return std::string("\"") + bytesKey + "\" is not base64";
    bytes = std::make_shared<const std::string>(std::move(*decoded));
    return std::nullopt;
  };
  if (auto why = file("measurementFile", "measurementBytes", {"txt", "csv", "ti3"}, g.measurementName,
                      g.measurementBytes))
    return refuse(*why);
  if (auto why = file("quadFile", "quadBytes", {"quad"}, g.quadName, g.quadBytes)) return refuse(*why);
  if (const auto steps = number("steps")) {
    if (!(*steps >= 2 && *steps <= 100000000 && std::floor(*steps) == *steps))
      return refuse("\"steps\" must be a whole number, 2 or more");
    g.layout.steps = static_cast<int64_t>(*steps);
  }
  if (const auto layout = text_("layout")) {
    if (*layout != "together" && *layout != "passes") return refuse("\"layout\" is \"together\" or \"passes\"");
    g.layout.arrangement =
        *layout == "together" ? LayoutRequest::Arrangement::together : LayoutRequest::Arrangement::passes;
  }
  if (const auto typed = text_("typed")) {
    for (const std::string& entry : platform::text::split(*typed, ";")) {
      const auto parts = platform::text::split(platform::text::trimWhitespaceAndNewlines(entry), " ");
      const auto step = parts.size() == 4 ? platform::text::parseInt(parts[0]) : std::nullopt;
      std::optional<double> v[3];
      for (size_t i = 0; i < 3 && parts.size() == 4; ++i) v[i] = platform::text::parseFiniteDecimal(parts[i + 1]);
      if (!step || !v[0] || !v[1] || !v[2] || !(*v[0] >= 0 && *v[0] <= 100) || !(*v[1] >= -128 && *v[1] <= 127) ||
          !(*v[2] >= -128 && *v[2] <= 127))
        return refuse("a typed reading is not \"step L* a* b*\": \"" + platform::text::printable(entry) + "\"");
      g.typed[*step] = CIELab{*v[0], *v[1], *v[2]};
    }
  }
  for (const auto& [key, value] : {std::pair{"smoothing", &g.smoothing}, std::pair{"spline", &g.spline}}) {
    const auto n = number(key);
    if (!n || !(*n >= 0 && *n <= 100)) return refuse(std::string("\"") + key + "\" must be a number from 0 to 100");
    *value = *n;
  }
  if (const auto target = text_("targetPoints")) {
    std::string error;
    const auto points = parseCurvePoints(*target, error);
    if (!points || !manualCurveThroughPoints(*points, error)) return refuse("\"targetPoints\": " + error);
    g.targetPoints = curvePointsText(*points);
  }
  g.notes = text_("notes");
  if (g.notes) {
    const auto folder = g.quadBytes ? std::optional<std::filesystem::path>(stem(g.quadName) + "-xml") : std::nullopt;
    if (auto refusal = givenNotesRefusal(*g.notes, true, folder)) return refuse(*refusal);
  }
  // The edits of the .quad's channels are the editor's: checked here against
  // the file's channels, and handed on (editsLoaded) once the page is made.
  const auto edits = text_("edits");
  if (edits && !edits->empty()) {
    if (!g.quadBytes) return refuse("it holds edits but no .quad");
    std::string unread;
    std::ostringstream quiet;
    CliHost host(quiet, quiet);
    const auto quadFile = QuadDataFile::fromBytes(*g.quadBytes, g.quadName, &unread);
    if (!quadFile || readQuad(*quadFile, g.quadName, host, quiet)) return refuse(g.quadName + " cannot be read");
    if (auto why = savedEditsError(*edits, quadFile->inkList)) return refuse(*why);
  }
  Impl::Given before = d.given;
  if (d.goTo(g)) {
    d.changed(std::move(before));
    if (edits && !edits->empty()) d.editsLoaded = *edits;
  }
  return state();
}

std::optional<std::string> WebDocument::editsLoaded() const { return impl_->editsLoaded; }

std::string WebDocument::state() const {
  const auto& d = *impl_;
  JsonWriter json;
  json.beginObject();
  json.key("measurementFile");
  d.measurements ? json.string(platform::text::printable(d.measurements->name)) : json.null();
  json.key("quadFile");
  d.quad ? json.string(platform::text::printable(d.quad->name)) : json.null();

  json.key("summary").beginArray();
  if (d.document) {
    for (const Said* s : {&d.measurements->opened, &d.correction, &d.corrected})
      for (const auto& line : s->summary) json.string(line);
  }
  json.endArray();
  json.key("warnings").beginArray();
  const auto messages = [&](const std::vector<Message>& list) {
    for (const auto& m : list) json.beginObject().key("about").string(m.about).key("text").string(m.text).endObject();
  };
  if (d.document) {
    messages(d.measurements->opened.messages);
    messages(d.correction.messages);
  }
  if (d.quad) messages(d.quad->read.messages);
  messages(d.corrected.messages);
  json.endArray();
  json.key("errors").beginArray();
  messages(d.errors);
  json.endArray();

  json.key("question");
  if (d.questionText) {
    json.beginObject().key("text").string(*d.questionText).key("choices").beginArray();
    for (const auto& choice : d.choices) {
      json.beginObject().key("label").string(choice.label).key("steps");
      choice.request.steps ? json.integer(*choice.request.steps) : json.null();
      json.key("layout");
      if (!choice.request.arrangement)
        json.null();
      else
        json.string(*choice.request.arrangement == LayoutRequest::Arrangement::together ? "together" : "passes");
      json.endObject();
    }
    json.endArray().endObject();
  } else {
    json.null();
  }

  json.key("readings").beginArray();
  if (d.document) {
    const auto& readings = d.document->rawMeasurements;
    const auto& opened = d.document->openedOriginalMeasurements;
    const auto& samples = d.document->measurementSamples;
    const bool counted = samples.steps() == static_cast<int64_t>(readings.size());
    for (size_t i = 0; i < readings.size(); ++i) {
      const auto& r = readings[i];
      json.beginObject().key("step").integer(static_cast<int64_t>(i + 1));
      json.key("L").number(r.L).key("a").number(r.a).key("b").number(r.b);
      json.key("density").number(densityOfLstar(r.L));
      json.key("samples");
      counted ? json.integer(samples.starts[i + 1] - samples.starts[i]) : json.null();
      const bool typed = i >= opened.size() || !(r.L == opened[i].L && r.a == opened[i].a && r.b == opened[i].b);
      json.key("typed").boolean(typed).endObject();
    }
  }
  json.endArray();
  json.key("smoothing").number(d.smoothing).key("spline").number(d.spline);
  json.key("targetPoints").string(d.given.targetPoints);
  json.key("undo").boolean(!d.undoable.empty()).key("redo").boolean(!d.redoable.empty());

  json.key("channels").beginArray();
  if (d.quad) {
    const auto& file = *d.quad->file;
    const auto& input = *file.inputQuadCurveArray;
    for (size_t c = 0; c < file.inkList.size() && c < input.size(); ++c) {
      // As the ink graph draws them: the channels with ink as read or corrected.
      const bool corrected = d.quadCorrected && inked(file.outputQuadCurveArray[c]);
      if (inked(input[c]) || corrected) json.string(channelLabel(file.inkList[c]));
    }
  }
  json.endArray();
  json.key("notes").string(d.givenNotes ? *d.givenNotes : d.quad ? d.quad->ownNotes.value_or("") : "");

  json.key("downloads").beginObject();
  for (const char* what : {"quad", "acv", "cube", "xml", "measurements", "page"}) {
    json.key(what);
    if (auto name = downloadName(what))
      json.string(*name);
    else
      json.null();
  }
  json.endObject();
  json.endObject();
  return json.take();
}

std::optional<std::string> WebDocument::downloadName(std::string_view what) const {
  const auto& d = *impl_;
  if (what == "page") {
    const auto& g = d.given;
    if (!g.measurementBytes && !g.quadBytes) return std::nullopt;
    return stem(g.measurementBytes ? g.measurementName : g.quadName) + "-page.json";
  }
  if (!d.document) return std::nullopt;
  const bool correction = d.document->correctionCurve->correctionCurveArray.has_value();
  const std::string measured = stem(d.measurements->name);
  if (what == "measurements" && !d.document->smoothedMeasurements.empty()) return measured + "-smoothed.txt";
  if (what == "acv" && correction) return measured + "-correction.acv";
  if (what == "cube" && correction) return measured + "-correction.cube";
  if (!correction || !d.quadCorrected) return std::nullopt;
  if (what == "quad" && !d.quadRefused) return stem(d.quad->name) + "-corrected.quad";
  if (what == "xml" && !d.xmlRefused) return d.xmlFolder() + ".zip";
  return std::nullopt;
}

std::optional<WebDocument::Download> WebDocument::download(std::string_view what) const {
  auto& d = *impl_;
  const auto name = downloadName(what);
  if (!name) return std::nullopt;
  std::ostringstream quiet;
  CliHost host(quiet, quiet);
  auto from = d.sources();
  std::optional<std::string> bytes;
  std::string type = "application/octet-stream";
  if (what == "page") {
    return Download{*name, "application/json", savedPage()};  // without the editor's edits: the server adds them
  } else if (what == "measurements") {
    bytes = measurementDataFileText(d.document->smoothedMeasurements);
  } else if (what == "acv") {
    bytes = acvExportBytes(from, host);
  } else if (what == "cube") {
    bytes = cubeExportText(from, host);
  } else if (what == "quad") {
    bytes = quadExportText(from, host);
  } else if (what == "xml") {
    if (auto files = xmlExportFiles(from, std::filesystem::path(d.xmlFolder()), host)) bytes = zipOf(*files);
    type = "application/zip";
  }
  // The exports leave the file's notes as they were.
  if (d.quad) d.quad->file->processNotes = d.quad->ownNotes;
  if (!bytes || host.failed()) return std::nullopt;
  return Download{*name, type, std::move(*bytes)};
}

std::string WebDocument::graphSvg(Graph graph, const std::set<std::string>& hidden) const {
  if (!impl_->document) return {};
  return impl_->graph(graph, hidden);
}

std::optional<std::string> WebDocument::touchGraph(Graph graph, const GraphTouch& touch,
                                                   const std::set<std::string>& hidden, std::string& error) {
  auto& d = *impl_;
  if (!d.document) {
    error = "there is no graph yet: open a measurement file first";
    return std::nullopt;
  }
  const auto which = figureGraph(graph);
  PlotFigure& figure = d.figure(graph, hidden);
  const auto area = figure.graphArea(which).size;
  const auto onGraph = [&](double x, double y) { return x >= 0 && x <= area.width && y >= 0 && y <= area.height; };
  using platform::graphics::Point;
  switch (touch.gesture) {
    case Gesture::tap:
    case Gesture::zoom:
      if (!onGraph(touch.x, touch.y)) {
        error = "the point must lie on the graph, 0 to " + jsonNumber(area.width) + " across and 0 to " +
                jsonNumber(area.height) + " down, not (" + quoted(touch.x) + ", " + quoted(touch.y) + ")";
        return std::nullopt;
      }
      if (touch.gesture == Gesture::tap) {
        figure.tap(which, Point{touch.x, touch.y});
      } else if (!(touch.factor > 0 && std::isfinite(touch.factor))) {
        error = "the zoom factor must be a number above 0, not '" + quoted(touch.factor) + "'";
        return std::nullopt;
      } else {
        // The view holds the scale within its limits (PlotFigure::kMaxZoom).
        figure.zoom(which, touch.factor, Point{touch.x, touch.y});
      }
      break;
    case Gesture::pan: {
      for (const double v : {touch.x, touch.y, touch.toX, touch.toY})
        if (!std::isfinite(v)) {
          error = "a pan needs points that are numbers, not '" + quoted(v) + "'";
          return std::nullopt;
        }
      // A drag that leaves the graph moves as far as its edge.
      const auto held = [&](double x, double y) {
        return Point{std::clamp(x, 0.0, area.width), std::clamp(y, 0.0, area.height)};
      };
      figure.pan(which, held(touch.x, touch.y), held(touch.toX, touch.toY));
      break;
    }
    case Gesture::reset:
      figure.resetZoom(which);
      break;
    case Gesture::look:
      break;
  }
  if (touch.gesture != Gesture::look) {
    d.views[graph == Graph::measurements ? 0 : 1] = figure.viewState(which);
    (graph == Graph::measurements ? d.drawn->measurements : d.drawn->ink).reset();
  }
  JsonWriter json;
  json.beginObject().key("graph").string(graph == Graph::measurements ? "measurements" : "ink");
  json.key("zoomed").boolean(figure.zoomed(which));
  json.key("highlight");
  if (const auto reading = figure.highlighted(which)) {
    json.beginObject().key("curve").string(reading->curve).key("x").number(reading->x).key("y").number(reading->y);
    json.key("step");
    reading->step > 0 ? json.integer(reading->step) : json.null();
    std::string text;
    if (graph == Graph::measurements) {
      text = (reading->step > 0 ? "step " + std::to_string(reading->step) + ": " : std::string()) + "L* " +
             platform::text::fixedDecimal(reading->y, 2);
    } else {
      const bool output = reading->curve == "correction";
      text = reading->curve + ": input " + platform::text::fixedDecimal(reading->x, 1) + " %, " +
             (output ? "output " : "ink ") + platform::text::fixedDecimal(reading->y, 1) + " %";
    }
    json.key("text").string(text).endObject();
  } else {
    json.null();
  }
  json.endObject();
  return json.take();
}

size_t WebDocument::bytesHeld() const {
  const auto& d = *impl_;
  size_t held = sizeof(Impl) + d.historyBytes();
  const auto strings = [](const std::vector<std::string>& list) {
    size_t n = 0;
    for (const auto& s : list) n += sizeof(s) + s.capacity();
    return n;
  };
  const auto saidBytes = [&](const Said& s) {
    size_t n = strings(s.summary);
    for (const auto& m : s.messages) n += sizeof(m) + m.about.capacity() + m.text.capacity();
    return n;
  };
  const auto values = [](const auto& list) { return list.capacity() * sizeof(list[0]); };
  held += saidBytes(d.correction) + saidBytes(d.corrected);
  if (d.drawn)
    for (const auto* svg : {&d.drawn->measurements, &d.drawn->ink})
      if (*svg) held += (*svg)->capacity();
  if (d.measurements) held += d.measurements->name.capacity() + d.measurements->bytes->capacity() + saidBytes(d.measurements->opened);
  if (d.document) {
    const auto& doc = *d.document;
    held += sizeof(doc);
    for (const auto* list : {&doc.openedOriginalMeasurements, &doc.rawMeasurements, &doc.interpolatedMeasurements,
                             &doc.smoothedMeasurements, &doc.correctedMeasurements})
      held += values(*list);
    held += values(doc.rawPositions) + values(doc.manualCurve) + values(doc.stepArray);
    held += values(doc.measurementSamples.L) + values(doc.measurementSamples.starts);
    for (const auto* lists : {&doc.separatedLABArrays, &doc.smoothedMeasuredValues})
      for (const auto& list : *lists) held += values(list);
    const auto& curve = *doc.correctionCurve;
    held += sizeof(curve) + values(curve.densitiesToCorrect) + values(curve.linearTargetArray) +
            values(curve.finalTargetArray);
    if (curve.correctionCurveArray) held += values(*curve.correctionCurveArray);
  }
  if (d.quad) {
    const auto& file = *d.quad->file;
    held += sizeof(file) + strings(file.rawQuadData) + strings(file.inkList) + saidBytes(d.quad->read);
    held += d.quad->bytes->capacity();
    for (const auto& c : *file.inputQuadCurveArray) held += values(c);
    for (const auto& c : file.outputQuadCurveArray) held += values(c);
    // The document's copy of the corrected curves.
    held += file.outputQuadCurveArray.size() * 256 * sizeof(double);
  }
  return held;
}

std::optional<WebDocument::QuadAsRead> WebDocument::quadAsRead() const {
  if (!impl_->quad) return std::nullopt;
  return QuadAsRead{impl_->quad->name, impl_->quad->bytes};
}

}  // namespace cli
