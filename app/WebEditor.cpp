#include "WebEditor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <sstream>
#include <vector>

#include "CliHost.h"
#include "CurveEdits.h"
#include "EditCommand.h"
#include "JsonWriter.h"
#include "LinearizeSteps.h"
#include "LinearizeWarnings.h"
#include "Plot.h"
#include "linearization/QuadDataFile.h"
#include "platform/text/Text.h"

namespace cli {

using namespace linearization;

namespace {

constexpr const char* kNothingToEdit = "Open a .quad on the Linearize screen or make a starter curve first.";

// The two files the screen edits, by the names the page uses.
enum Kind : size_t { kQuad = 0, kStarter = 1, kKinds = 2 };
constexpr std::array<const char*, kKinds> kKindNames{"quad", "starter"};

// One channel's edits as `inkcurve edit` takes them: the points as
// curvePointsText writes them ("" none), gamma 1 and boost 0 none.
struct Edits {
  std::string points;
  double gamma = 1, boost = 0;
  bool any() const { return !points.empty() || gamma != 1 || boost != 0; }
  friend bool operator==(const Edits&, const Edits&) = default;
};
// Each file's edits by channel label; only channels with edits are kept.
using AllEdits = std::array<std::map<std::string, Edits>, kKinds>;

// A step of the history: the edits before (for undo) or after (for redo) a
// change, and the channel it was made on, shown again when it is undone.
struct Step {
  AllEdits edits;
  size_t source = kQuad;
  std::string channel;
};

// A file read as `inkcurve edit` reads it.
struct Held {
  WebEditor::Source source;
  std::shared_ptr<QuadDataFile> quad;  // null: it could not be read
  std::string readError;
  std::vector<std::string> labels;  // each channel's name, in the file's order
  std::vector<size_t> shown;        // the channels in the order offered: those with ink first
  std::vector<std::string> readWarnings;  // what its read warned of, as the command warns
};

// A number as a refusal quotes it.
std::string numberText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return jsonNumber(value);
}

// The lines the command wrote to its error stream, without its name.
std::vector<std::string> saidLines(const std::string& said, std::string_view prefix) {
  std::vector<std::string> lines;
  std::istringstream in(said);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

Held readHeld(WebEditor::Source source) {
  Held held{std::move(source), nullptr, {}, {}, {}, {}};
  std::ostringstream out, err;
  CliHost host(out, err);
  std::string error;
  auto quad = QuadDataFile::fromBytes(*held.source.bytes, held.source.name, &error);
  if (!quad) {
    held.readError = "cannot read " + held.source.name + ": " + error;
    return held;
  }
  if (readQuad(*quad, held.source.name, host, err)) {
    const auto said = saidLines(err.str(), "inkcurve: ");
    held.readError = said.empty() ? held.source.name + " cannot be read" : said.back();
    return held;
  }
  held.readWarnings = saidLines(err.str(), "inkcurve: warning: ");
  held.quad = std::move(quad);
  const auto& curves = *held.quad->inputQuadCurveArray;
  std::vector<size_t> empty;
  for (size_t c = 0; c < held.quad->inkList.size(); ++c) {
    held.labels.push_back(channelLabel(held.quad->inkList[c]));
    const bool inked = c < curves.size() && std::any_of(curves[c].begin(), curves[c].end(),
                                                        [](double level) { return level > 0; });
    (inked ? held.shown : empty).push_back(c);
  }
  held.shown.insert(held.shown.end(), empty.begin(), empty.end());
  return held;
}

bool sameFile(const WebEditor::Source& a, const WebEditor::Source& b) {
  return a.name == b.name && (a.bytes == b.bytes || *a.bytes == *b.bytes);
}

std::string stem(const std::string& name) {
  const auto dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// The options `inkcurve edit` is given for `edits`, in the order applied.
std::vector<std::pair<std::string, std::string>> givenOptions(const Edits& edits) {
  std::vector<std::pair<std::string, std::string>> given;
  if (!edits.points.empty()) given.emplace_back("points", edits.points);
  if (edits.gamma != 1) given.emplace_back("gamma", jsonNumber(edits.gamma));
  if (edits.boost != 0) given.emplace_back("boost", jsonNumber(edits.boost));
  return given;
}

ChannelEdits channelEdits(const Edits& edits) {
  ChannelEdits result;
  std::string ignored;
  if (!edits.points.empty()) result.points = parseCurvePoints(edits.points, ignored);
  if (edits.gamma != 1) result.gamma = edits.gamma;
  if (edits.boost != 0) result.boost = edits.boost;
  return result;
}

}  // namespace

namespace {

// The edits a saved page holds, by channel as the text names it; nothing,
// with `error`, where the text is not such.
std::optional<std::map<std::string, Edits>> parseSavedEdits(std::string_view text, std::string& error) {
  std::map<std::string, Edits> saved;
  for (const std::string& entry : platform::text::split(text, ";")) {
    const std::string trimmed = platform::text::trimWhitespaceAndNewlines(entry);
    if (trimmed.empty()) continue;
    const auto parts = platform::text::split(trimmed, "|");
    const auto bad = [&](const std::string& why) {
      error = "the edits \"" + platform::text::printable(trimmed) + "\": " + why;
      return std::nullopt;
    };
    if (parts.size() != 4 || parts[0].empty()) return bad("not \"channel|points|gamma|boost\"");
    Edits edits;
    if (!parts[1].empty()) {
      std::string why;
      const auto points = parseCurvePoints(parts[1], why);
      if (!points) return bad(why);
      edits.points = curvePointsText(*points);
    }
    const auto gamma = platform::text::parseFiniteDecimal(parts[2]);
    const auto boost = platform::text::parseFiniteDecimal(parts[3]);
    if (!gamma || gammaError(*gamma)) return bad(gamma ? *gammaError(*gamma) : "the gamma is not a number");
    if (!boost || boostError(*boost)) return bad(boost ? *boostError(*boost) : "the boost is not a number");
    edits.gamma = *gamma;
    edits.boost = *boost;
    if (saved.count(parts[0])) return bad("the channel is given twice");
    if (edits.any()) saved[parts[0]] = edits;
  }
  return saved;
}

}  // namespace

std::optional<std::string> savedEditsError(std::string_view text, const std::vector<std::string>& channels) {
  std::string error;
  const auto saved = parseSavedEdits(text, error);
  if (!saved) return error;
  for (const auto& [channel, edits] : *saved)
    if (!channelIndex(channels, channel)) return "the edits name " + channel + ", a channel the .quad does not have";
  return std::nullopt;
}

struct WebEditor::Impl {
  std::array<std::optional<Held>, kKinds> files;
  AllEdits edits;
  size_t source = kQuad;
  std::string channel;
  std::vector<Step> undoable, redoable;
  // The edits the last change set, while a drag may go on in the next.
  std::optional<std::string> goesOn;
  static constexpr size_t kMostUndoable = 200;

  // What the edits make of the file, made when first asked for.
  struct Made {
    std::vector<std::vector<double>> curves;  // each channel as written, before rounding
    std::optional<std::string> bytes;          // the edited file
    std::vector<std::string> summary, warnings;
    std::vector<double> shape;
    std::optional<std::string> svg;
  };
  std::optional<Made> made;

  const Held* held() const {
    return files[source] && files[source]->quad ? &*files[source] : nullptr;
  }
  std::optional<size_t> channelAt(const Held& h, const std::string& label) const {
    for (size_t c = 0; c < h.labels.size(); ++c)
      if (h.labels[c] == label) return c;
    return std::nullopt;
  }
  // The source and channel shown, kept to what there is.
  void settle();
  Made& make();
  void restore(const Step& step) {
    edits = step.edits;
    source = step.source;
    channel = step.channel;
    goesOn.reset();
    made.reset();
    settle();
  }
  // The edits as they are now go onto the undo list, the oldest step let go
  // of past its bound.
  void remember() {
    undoable.push_back({edits, source, channel});
    if (undoable.size() > kMostUndoable) undoable.erase(undoable.begin());
  }
  // Undo and redo: the edits go to the last step of `from`, and the edits as
  // they are now onto `to`.
  void walk(std::vector<Step>& from, std::vector<Step>& to) {
    if (from.empty()) return;
    Step step = std::move(from.back());
    from.pop_back();
    to.push_back({edits, step.source, step.channel});
    restore(step);
  }
};

void WebEditor::Impl::settle() {
  if (!files[source]) source = files[kQuad] ? kQuad : kStarter;
  const Held* h = held();
  if (!h) {
    channel.clear();
    return;
  }
  if (!channelAt(*h, channel)) channel = h->shown.empty() ? std::string() : h->labels[h->shown.front()];
}

WebEditor::Impl::Made& WebEditor::Impl::make() {
  if (made) return *made;
  Made m;
  const Held* h = held();
  if (h) {
    const auto& quad = *h->quad;
    m.curves = *quad.inputQuadCurveArray;
    m.warnings = h->readWarnings;
    std::string bytes = *h->source.bytes;
    bool whole = true;
    // Each channel in the file's order, as `inkcurve edit` run once for
    // each would write it: a run changes no line but its channel's.
    for (size_t c = 0; c < h->labels.size(); ++c) {
      const auto found = edits[source].find(h->labels[c]);
      if (found == edits[source].end()) continue;
      std::string error;
      const auto after = editedLevels(m.curves[c], channelEdits(found->second), error);
      int64_t clamped = 0;
      std::optional<std::string> written;
      if (after) written = quadBytesWithChannel(bytes, quad, c, *after, clamped);
      if (!written) {
        m.warnings.push_back(h->labels[c] + ": " + (error.empty() ? "the edited file could not be made" : error));
        whole = false;
        continue;
      }
      bytes = std::move(*written);
      m.summary.push_back("edited: " + editNote(h->source.name, h->labels[c], givenOptions(found->second)));
      if (h->labels[c] == channel)
        m.summary.push_back(editLastLevelLine(channel, m.curves[c].back(), after->back()));
      if (clamped > 0) m.warnings.push_back(editClampedWarning(clamped, h->labels[c]));
      m.curves[c] = *after;
    }
    if (whole && !edits[source].empty()) m.bytes = std::move(bytes);
    if (const auto c = channelAt(*h, channel)) {
      m.shape = (*quad.inputQuadCurveArray)[*c];
      const auto found = edits[source].find(channel);
      std::string error;
      if (found != edits[source].end() && !found->second.points.empty())
        if (auto through = inkCurveThroughPoints(*channelEdits(found->second).points, error)) m.shape = *through;
    }
  }
  made = std::move(m);
  return *made;
}

WebEditor::WebEditor() : impl_(std::make_unique<Impl>()) {}
WebEditor::~WebEditor() = default;

void WebEditor::offer(std::optional<Source> quad, std::optional<Source> starter) {
  auto& d = *impl_;
  bool another = false;
  for (auto [kind, given] : {std::pair{kQuad, &quad}, std::pair{kStarter, &starter}}) {
    auto& file = d.files[kind];
    if (given->has_value() && !(*given)->bytes) given->reset();
    if (file && given->has_value() && sameFile(file->source, **given)) continue;
    if (!file && !given->has_value()) continue;
    // Edits of one file are not edits of another, and neither are the
    // steps of the history.
    if (file) another = true;
    d.edits[kind].clear();
    file.reset();
    if (given->has_value()) file = readHeld(std::move(**given));
    d.made.reset();
  }
  if (another) {
    d.undoable.clear();
    d.redoable.clear();
    d.goesOn.reset();
  }
  d.settle();
}

std::optional<std::string> WebEditor::change(const Change& change, std::string& error) {
  auto& d = *impl_;
  size_t source = d.source;
  if (change.source) {
    if (*change.source == kKindNames[kQuad]) source = kQuad;
    else if (*change.source == kKindNames[kStarter]) source = kStarter;
    else {
      error = "the source must be \"quad\" or \"starter\", not " + jsonString(*change.source);
      return std::nullopt;
    }
    if (!d.files[source]) {
      error = source == kQuad ? "there is no .quad open on the Linearize screen"
                              : "there is no starter curve yet: make one on the Starter curves screen";
      return std::nullopt;
    }
  }
  const bool edits = change.points || change.gamma || change.boost;
  if (!d.files[source]) {
    if (!edits && !change.channel) return state();
    error = kNothingToEdit;
    return std::nullopt;
  }
  const Held& file = *d.files[source];
  if (!file.quad) {
    error = file.readError;
    return std::nullopt;
  }
  std::string channel = source == d.source ? d.channel : std::string();
  if (change.channel) {
    // As --channel takes it: "k" is K.
    const auto index = channelIndex(file.quad->inkList, *change.channel);
    if (!index) {
      std::string names;
      for (const auto& label : file.labels) names += (names.empty() ? "" : ", ") + label;
      error = "--channel " + *change.channel + ": " + file.source.name + " has no such channel (it has " + names + ")";
      return std::nullopt;
    }
    channel = file.labels[*index];
  } else if (!d.channelAt(file, channel)) {
    channel = file.shown.empty() ? std::string() : file.labels[file.shown.front()];
  }
  // Each edit checked as the command checks it, before any is taken.
  auto next = d.edits[source].count(channel) ? d.edits[source].at(channel) : Edits{};
  std::string what;
  if (change.points) {
    next.points.clear();
    if (!change.points->empty()) {
      const auto points = parseCurvePoints(*change.points, error);
      if (!points) {
        error = "--points: " + error;
        return std::nullopt;
      }
      next.points = curvePointsText(*points);
    }
    what += "points";
  }
  if (change.gamma) {
    if (gammaError(*change.gamma)) {
      error = "--gamma must be above 0, not '" + numberText(*change.gamma) + "'";
      return std::nullopt;
    }
    next.gamma = *change.gamma;
    what += " gamma";
  }
  if (change.boost) {
    if (boostError(*change.boost)) {
      error = "--boost must be above -100 (a boost of -100% or less removes the ink), not '" +
              numberText(*change.boost) + "'";
      return std::nullopt;
    }
    next.boost = *change.boost;
    what += " boost";
  }
  if (edits && channel.empty()) {
    error = file.source.name + " has no channel to edit";
    return std::nullopt;
  }
  if (source != d.source || channel != d.channel) {
    d.source = source;
    d.channel = channel;
    d.goesOn.reset();
    d.made.reset();
  }
  const auto now = d.edits[source].find(channel);
  const Edits before = now == d.edits[source].end() ? Edits{} : now->second;
  if (edits && !(next == before)) {
    // A drag that goes on is one step to undo with the change that began it.
    const std::string kind = std::string(kKindNames[source]) + "/" + channel + "/" + what;
    if (!(change.continues && d.goesOn == kind && !d.undoable.empty())) d.remember();
    d.goesOn = kind;
    d.redoable.clear();
    if (next.any())
      d.edits[source][channel] = next;
    else
      d.edits[source].erase(channel);
    d.made.reset();
  }
  return state();
}

std::string WebEditor::undo() {
  impl_->walk(impl_->undoable, impl_->redoable);
  return state();
}

std::string WebEditor::redo() {
  impl_->walk(impl_->redoable, impl_->undoable);
  return state();
}

std::string WebEditor::state() {
  auto& d = *impl_;
  d.settle();
  JsonWriter json;
  json.beginObject();
  json.key("sources").beginArray();
  for (size_t kind = 0; kind < kKinds; ++kind)
    if (d.files[kind]) json.string(kKindNames[kind]);
  json.endArray();
  const auto& file = d.files[d.source];
  json.key("source");
  file ? json.string(kKindNames[d.source]) : json.null();
  json.key("file");
  file ? json.string(file->source.name) : json.null();
  json.key("message");
  if (!file)
    json.string(kNothingToEdit);
  else if (!file->quad)
    json.string(file->readError);
  else
    json.null();
  json.key("channels").beginArray();
  if (const Held* h = d.held())
    for (const size_t c : h->shown) json.string(h->labels[c]);
  json.endArray();
  json.key("channel");
  d.channel.empty() ? json.null() : json.string(d.channel);
  const auto found = d.edits[d.source].find(d.channel);
  const Edits edits = found == d.edits[d.source].end() ? Edits{} : found->second;
  json.key("points").string(edits.points).key("gamma").number(edits.gamma).key("boost").number(edits.boost);
  json.key("edited").beginArray();
  if (const Held* h = d.held())
    for (const size_t c : h->shown)
      if (d.edits[d.source].count(h->labels[c])) json.string(h->labels[c]);
  json.endArray();
  const auto& made = d.make();
  json.key("shape").beginArray();
  for (const double level : made.shape) json.number(std::round(level / 6.5535) / 100);
  json.endArray();
  json.key("summary").beginArray();
  for (const auto& line : made.summary) json.string(line);
  json.endArray();
  json.key("warnings").beginArray();
  for (const auto& line : made.warnings) json.string(line);
  json.endArray();
  json.key("undo").boolean(!d.undoable.empty()).key("redo").boolean(!d.redoable.empty());
  json.key("download");
  made.bytes ? json.string(stem(file->source.name) + "-edited.quad") : json.null();
  json.endObject();
  return json.take();
}

std::string WebEditor::graphSvg() {
  auto& d = *impl_;
  d.settle();
  const Held* h = d.held();
  if (!h) return {};
  auto& made = d.make();
  if (!made.svg) {
    const auto found = d.edits[d.source].find(d.channel);
    const bool edited = found != d.edits[d.source].end();
    const std::string note =
        edited ? editNote(h->source.name, d.channel, givenOptions(found->second)) : h->source.name;
    auto picture = starterPicture(made.curves, h->quad->inkList, note);
    picture.ink.title = "Ink curves: " + (d.channel.empty() ? h->source.name
                                                             : d.channel + (edited ? " edited" : " as read"));
    // The chosen channel as read too, dashed, as `edit --plot` draws it.
    if (const auto c = d.channelAt(*h, d.channel); c && edited)
      for (auto& graph : picture.ink.channels)
        if (graph.name == d.channel) graph.inputLevels = (*h->quad->inputQuadCurveArray)[*c];
    const auto figure = PlotFigure::laidOut(picture);
    made.svg = graphSVG(*figure, PlotFigure::Graph::inkCurves);
  }
  return *made.svg;
}

std::optional<WebDocument::Download> WebEditor::download() {
  auto& d = *impl_;
  d.settle();
  const auto& made = d.make();
  if (!made.bytes) return std::nullopt;
  return WebDocument::Download{stem(d.files[d.source]->source.name) + "-edited.quad", "application/octet-stream",
                               *made.bytes};
}

std::string WebEditor::savedEdits() const {
  std::string text;
  for (const auto& [channel, edits] : impl_->edits[kQuad])
    text += (text.empty() ? "" : "; ") + channel + "|" + edits.points + "|" + jsonNumber(edits.gamma) + "|" +
            jsonNumber(edits.boost);
  return text;
}

bool WebEditor::restoreEdits(std::string_view text, std::string& error) {
  auto& d = *impl_;
  auto saved = parseSavedEdits(text, error);
  if (!saved) return false;
  const Held* file = d.files[kQuad] && d.files[kQuad]->quad ? &*d.files[kQuad] : nullptr;
  std::map<std::string, Edits> edits;
  for (auto& [channel, channelEdits] : *saved) {
    const auto index = file ? channelIndex(file->quad->inkList, channel) : std::nullopt;
    if (!index) {
      error = "the edits name " + channel + ", a channel the .quad does not have";
      return false;
    }
    edits[file->labels[*index]] = std::move(channelEdits);
  }
  if (edits == d.edits[kQuad]) return true;
  d.remember();
  d.redoable.clear();
  Step loaded{d.edits, kQuad, edits.empty() ? d.channel : edits.begin()->first};
  loaded.edits[kQuad] = std::move(edits);
  d.restore(loaded);
  return true;
}

size_t WebEditor::bytesHeld() const {
  const auto& d = *impl_;
  size_t held = sizeof(Impl);
  const auto strings = [](const std::vector<std::string>& list) {
    size_t n = list.capacity() * sizeof(std::string);
    for (const auto& s : list) n += s.capacity();
    return n;
  };
  const auto levels = [](const std::vector<std::vector<double>>& curves) {
    size_t n = curves.capacity() * sizeof(curves[0]);
    for (const auto& c : curves) n += c.capacity() * sizeof(double);
    return n;
  };
  // A file's bytes are counted here too, though the page's document or
  // starter curve may share them: what is held is not under-counted.
  for (const auto& file : d.files) {
    if (!file) continue;
    held += file->source.name.capacity() + file->source.bytes->capacity() + strings(file->labels);
    if (file->quad)
      held += sizeof(QuadDataFile) + strings(file->quad->rawQuadData) + strings(file->quad->inkList) +
              levels(*file->quad->inputQuadCurveArray);
  }
  const auto editsHeld = [](const AllEdits& all) {
    size_t n = 0;
    for (const auto& channels : all)
      for (const auto& [label, edits] : channels) n += 96 + label.capacity() + edits.points.capacity();
    return n;
  };
  held += editsHeld(d.edits);
  for (const auto* list : {&d.undoable, &d.redoable})
    for (const auto& step : *list) held += sizeof(Step) + step.channel.capacity() + editsHeld(step.edits);
  if (d.made) {
    const auto& m = *d.made;
    held += levels(m.curves) + strings(m.summary) + strings(m.warnings) + m.shape.capacity() * sizeof(double);
    if (m.bytes) held += m.bytes->capacity();
    if (m.svg) held += m.svg->capacity();
  }
  return held;
}

}  // namespace cli
