#include "WebDocument.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
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

}  // namespace

struct WebDocument::Impl {
  // The measurement file as given, and how it was opened.
  struct Measurements {
    std::string name;
    std::string bytes;
    LayoutRequest layout;
    Said opened;  // the summary line that names it, and its load's warnings
  };
  // The .quad as read, with its own notes and what its read warned of.
  struct Quad {
    std::string name;
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
    std::optional<std::string> measurements;
    std::set<std::string> hidden;
    std::optional<std::string> ink;
  };
  std::optional<Drawn> drawn;
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
  bool open(const std::string& name, std::string bytes, const LayoutRequest& layout);
  void refuse(const std::string& about, const std::string& text) { errors.push_back({about, text}); }
  void startChange() {
    errors.clear();
    questionText.reset();
    choices.clear();
  }
};

const std::string& WebDocument::Impl::graph(Graph which, const std::set<std::string>& hidden) {
  if (!drawn) {
    const QuadDataFile* file = quad ? quad->file.get() : nullptr;
    drawn.emplace();
    drawn->picture = linearizePicture(*document, measurements->name, file,
                                      quad ? std::optional<std::string>(quad->name) : std::nullopt);
    drawn->figure = PlotFigure::laidOut(drawn->picture);
  }
  if (which == Graph::measurements) {
    if (!drawn->measurements) drawn->measurements = graphSVG(*drawn->figure, PlotFigure::Graph::measurements);
    return *drawn->measurements;
  }
  if (!drawn->ink || drawn->hidden != hidden) {
    if (hidden.empty()) {
      drawn->ink = graphSVG(*drawn->figure, PlotFigure::Graph::inkCurves);
    } else {
      PlotPicture shown = drawn->picture;
      std::erase_if(shown.ink.channels, [&](const InkChannelGraph& c) { return hidden.contains(c.name); });
      drawn->ink = graphSVG(*PlotFigure::laidOut(shown), PlotFigure::Graph::inkCurves);
    }
    drawn->hidden = hidden;
  }
  return *drawn->ink;
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

bool WebDocument::Impl::open(const std::string& name, std::string bytes, const LayoutRequest& layout) {
  std::ostringstream out, err;
  CliHost host(out, err);
  std::shared_ptr<MeasurementFile> file;
  try {
    file = measurementFileFromBytes(bytes, name, host);
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

WebDocument::WebDocument() : impl_(std::make_unique<Impl>()) {}
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
    if (d.open(leaf, std::move(bytes), request)) d.rework();
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
  std::ostringstream out, err;
  CliHost host(out, err);
  std::string error;
  std::shared_ptr<QuadDataFile> file;
  try {
    file = QuadDataFile::fromBytes(bytes, leaf, &error);
  } catch (const std::bad_alloc&) {
    error = "not enough memory to split its lines";
  }
  bytes = {};
  if (!file) {
    host.logLoadFailure(error);
    loadFailed(host, err, leaf);
  } else if (!readQuad(*file, leaf, host, err)) {
    d.quad = Impl::Quad{leaf, file, file->processNotes, said(out, err, "quad")};
    d.rework();
    return state();
  }
  for (auto& message : said(out, err, "quad").messages) d.errors.push_back(std::move(message));
  return state();
}

std::string WebDocument::setSettings(std::optional<double> smoothing, std::optional<double> spline,
                                     std::optional<std::string> notes) {
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
  if (smoothing) d.smoothing = *smoothing;
  if (spline) d.spline = *spline;
  if (notes) d.givenNotes = std::move(notes);
  d.rework();
  return state();
}

std::string WebDocument::setTargetPoints(const std::string& points) {
  auto& d = *impl_;
  d.startChange();
  std::string error;
  auto parsed = parseCurvePoints(points, error);
  auto curve = parsed ? manualCurveThroughPoints(*parsed, error) : std::nullopt;
  if (!curve) {
    d.refuse("settings", "--target-points: " + error);
    return state();
  }
  d.manualCurve = std::move(curve);
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
  readings[static_cast<size_t>(step - 1)] = CIELab{L, a, b};
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
    d.rework();
  } else {
    d.measurements = std::move(m);
  }
  return state();
}

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
  for (const char* what : {"quad", "acv", "cube", "xml", "measurements"}) {
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
  if (what == "measurements") {
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

size_t WebDocument::bytesHeld() const {
  const auto& d = *impl_;
  size_t held = sizeof(Impl);
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
  if (d.measurements) held += d.measurements->name.capacity() + d.measurements->bytes.capacity() + saidBytes(d.measurements->opened);
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
    for (const auto& c : *file.inputQuadCurveArray) held += values(c);
    for (const auto& c : file.outputQuadCurveArray) held += values(c);
    // The document's copy of the corrected curves.
    held += file.outputQuadCurveArray.size() * 256 * sizeof(double);
  }
  return held;
}

}  // namespace cli
