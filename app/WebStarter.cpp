#include "WebStarter.h"

#include <cctype>
#include <cmath>
#include <sstream>
#include <vector>

#include "CliHost.h"
#include "JsonWriter.h"
#include "Plot.h"
#include "StarterCommand.h"
#include "starter_curves/CurveSetupDataModel.h"

namespace cli {

namespace {

// A number as the command line would be given it, and as a refusal quotes it.
std::string numberText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  return jsonNumber(value);
}

// A title as part of a file name: lower case, each run of other characters
// than letters and digits one hyphen ("P5000/P7000/P9000" -> "p5000-p7000-p9000").
std::string namePart(const std::string& title) {
  std::string part;
  for (const char ch : title) {
    const auto c = static_cast<unsigned char>(ch);
    if (std::isalnum(c) && c < 0x80) {
      part += static_cast<char>(std::tolower(c));
    } else if (!part.empty() && part.back() != '-') {
      part += '-';
    }
  }
  while (!part.empty() && part.back() == '-') part.pop_back();
  return part;
}

}  // namespace

struct WebStarter::Impl {
  // What the curve is built from; a boost of 0 is not given.
  StarterChoices choices{starter_curves::printerModelTitles().front(), starter_curves::processTitles().front(), {},
                         {}, {}};

  // The curve of `choices`, as `inkcurve starter` builds and writes it.
  struct Built {
    std::string note, summary;
    std::vector<std::string> warnings;
    std::vector<std::vector<double>> curves;
    std::vector<std::string> inkList;
    std::optional<std::string> quad;
    std::optional<std::string> svg;  // drawn when first asked for
  };
  std::optional<Built> built;

  Built& build();
  // The name the .quad is saved under.
  std::string fileName() const { return namePart(choices.printer) + "-" + namePart(choices.process) + ".quad"; }
};

WebStarter::Impl::Built& WebStarter::Impl::build() {
  if (built) return *built;
  Built b;
  std::ostringstream quiet;
  CliHost host(quiet, quiet);
  starter_curves::CurveSetupDataModel model(host);
  b.warnings = buildStarterCurve(choices, model);
  auto& sc = *model.starterCurve;
  // No notes given: the command writes them empty.
  sc.processNotes = std::string();
  int64_t clamped = 0;
  b.quad = sc.starterCurveQuadText(clamped);
  if (!b.quad) b.warnings.push_back("the starter curve does not fit its ink set; nothing can be saved");
  if (clamped > 0) b.warnings.push_back(clampedLevelsWarning(clamped));
  b.note = starterNote(choices);
  b.summary = starterSummary(b.note, sc);
  b.curves = std::move(sc.currentStarterCurveWithBoostSetting);
  b.inkList = sc.currentInkList;
  built = std::move(b);
  return *built;
}

WebStarter::WebStarter() : impl_(std::make_unique<Impl>()) {}
WebStarter::~WebStarter() = default;

std::optional<std::string> WebStarter::change(const Change& change, std::string& error) {
  StarterChoices next = impl_->choices;
  if (change.printer) next.printer = *change.printer;
  if (change.process) next.process = *change.process;
  // Each boost as the command reads it, then held to its range with the titles.
  for (auto [option, given, boost] : {std::tuple{"ink-limit", change.inkLimit, &next.inkLimit},
                                      std::tuple{"total-ink", change.totalInk, &next.totalInk}}) {
    if (!given) continue;
    if (!std::isfinite(*given)) {
      error = "--" + std::string(option) + " needs a number, not '" + numberText(*given) + "'";
      return std::nullopt;
    }
    *boost = *given == 0 ? std::nullopt : std::optional(GivenBoost<double>{*given, numberText(*given)});
  }
  if (change.yellow) {
    const double y = *change.yellow;
    if (!(std::floor(y) == y && std::fabs(y) < 9e18)) {
      error = "--yellow needs a whole number, not '" + numberText(y) + "'";
      return std::nullopt;
    }
    next.yellow = y == 0 ? std::nullopt
                         : std::optional(GivenBoost<int64_t>{static_cast<int64_t>(y), numberText(y)});
  }
  if (auto problem = starterChoicesError(next)) {
    error = *problem;
    return std::nullopt;
  }
  // The note names the titles and every boost given by its shortest text:
  // the same note, the same curve.
  if (starterNote(next) != starterNote(impl_->choices)) {
    impl_->choices = std::move(next);
    impl_->built.reset();
  }
  return state();
}

std::string WebStarter::state() {
  auto& d = *impl_;
  const auto& b = d.build();
  JsonWriter json;
  json.beginObject();
  json.key("printers").beginArray();
  for (const auto& title : starter_curves::printerModelTitles()) json.string(title);
  json.endArray();
  json.key("processes").beginArray();
  for (const auto& title : starter_curves::processTitles()) json.string(title);
  json.endArray();
  json.key("printer").string(d.choices.printer).key("process").string(d.choices.process);
  json.key("inkLimit").number(d.choices.inkLimit ? d.choices.inkLimit->value : 0);
  json.key("yellow").integer(d.choices.yellow ? d.choices.yellow->value : 0);
  json.key("totalInk").number(d.choices.totalInk ? d.choices.totalInk->value : 0);
  json.key("summary").string(b.summary);
  json.key("warnings").beginArray();
  for (const auto& warning : b.warnings) json.string(warning);
  json.endArray();
  json.key("download");
  b.quad ? json.string(d.fileName()) : json.null();
  json.endObject();
  return json.take();
}

std::string WebStarter::graphSvg() {
  auto& b = impl_->build();
  if (!b.svg) {
    const auto figure = PlotFigure::laidOut(starterPicture(b.curves, b.inkList, b.note));
    b.svg = graphSVG(*figure, PlotFigure::Graph::inkCurves);
  }
  return *b.svg;
}

std::optional<WebDocument::Download> WebStarter::download() {
  const auto& b = impl_->build();
  if (!b.quad) return std::nullopt;
  return WebDocument::Download{impl_->fileName(), "application/octet-stream", *b.quad};
}

bool WebStarter::made() const { return impl_->built.has_value(); }

size_t WebStarter::bytesHeld() const {
  const auto& d = *impl_;
  size_t held = sizeof(Impl) + d.choices.printer.capacity() + d.choices.process.capacity();
  if (!d.built) return held;
  const auto& b = *d.built;
  const auto strings = [](const std::vector<std::string>& list) {
    size_t n = list.capacity() * sizeof(std::string);
    for (const auto& s : list) n += s.capacity();
    return n;
  };
  held += b.note.capacity() + b.summary.capacity() + strings(b.warnings) + strings(b.inkList);
  held += b.curves.capacity() * sizeof(b.curves[0]);
  for (const auto& channel : b.curves) held += channel.capacity() * sizeof(double);
  if (b.quad) held += b.quad->capacity();
  if (b.svg) held += b.svg->capacity();
  return held;
}

}  // namespace cli
