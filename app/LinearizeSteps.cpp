#include "LinearizeSteps.h"

#include "Cli.h"
#include "LinearizeWarnings.h"
#include "platform/text/Text.h"

namespace cli {

using namespace linearization;

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

std::string fixed(double v, int decimals) { return platform::text::fixedDecimal(v, decimals); }

}  // namespace

int loadFailed(CliHost& host, std::ostream& err, const std::string& path) {
  const auto reason = host.takeLoadFailure();
  if (reason || !host.failed()) err << "inkcurve: cannot read " << path << (reason ? ": " + *reason : "") << "\n";
  return kExitFailed;
}

std::optional<ReadStop> readMeasurements(MeasurementFile& file, const std::string& name, const LayoutRequest& layout,
                                         CliHost& host, v2LinearizationDataModel& document, std::ostream& out,
                                         std::ostream& err) {
  // Named before the document takes the file's lines.
  SilentHost silent;
  const std::string format = file.detectFormat(silent);
  document.measurementLayoutRequest = layout;
  if (!document.readMeasurementFile(file, host)) {
    // The readings are fine; what was said of them does not fit the file.
    if (document.measurementRequestRefused) return ReadStop{kExitUsage, host.takeLoadFailure().value_or("")};
    return ReadStop{loadFailed(host, err, name), std::nullopt};
  }
  // Never export from the placeholder readings.
  if (document.measurementDataLoadingError) return ReadStop{loadFailed(host, err, name), std::nullopt};
  for (const auto& warning : host.takeLoadWarnings()) err << "inkcurve: warning: " << name << ": " << warning << "\n";
  out << "measurements: " << name << " (" << FormatName::shown(format) << ")\n";
  return std::nullopt;
}

std::string noCorrection(double paperWhite, double darkest) {
  const std::string from = "L* " + fixed(paperWhite, 2), to = "L* " + fixed(darkest, 2);
  if (!(paperWhite > darkest))
    return "no correction curve could be built from these readings: they do not fall from paper white to the "
           "darkest step (" + from + " to " + to + ")";
  return "no correction curve could be built from these readings: smoothed, they do not fall steadily from paper "
         "white (" + from + ") to the darkest step (" + to + ")";
}

void buildCorrection(v2LinearizationDataModel& document, double smoothing, double spline, bool correctionAsked,
                     std::ostream& out, std::ostream& err, const std::optional<std::vector<double>>& manualCurve) {
  document.avgWindowSize = avgWindowSizeForControl(smoothing);
  document.splinePercent = splinePercentForControl(spline);
  document.resetLinearization();
  // As the main window does after its manual-curve sheet: the new curve,
  // then the linearization again.
  if (manualCurve) document.manualCurve = *manualCurve;
  document.updateLinearization();

  const auto& readings = document.interpolatedMeasurements;
  out << "readings: " << document.measurementLayout.description() << ", resampled to " << readings.size() << "\n";
  out << "paper white L*: " << fixed(readings.front().L, 2) << ", darkest L*: " << fixed(readings.back().L, 2)
      << ", Dmax: " << fixed(document.dmax, 2) << "\n";
  warnAboutDmax(document.dmax, readings.back().L, err);
  out << "smoothing: window " << document.avgWindowSize << ", spline fraction "
      << platform::text::shortestDescription(document.splinePercent) << "\n";
  // Where the correction is asked for, its failure is told with the alert,
  // once, when the outputs are written.
  if (!document.correctionCurve->correctionCurveArray && !correctionAsked)
    err << "inkcurve: " << noCorrection(readings.front().L, readings.back().L) << "\n";
  else if (const auto& correction = document.correctionCurve->correctionCurveArray) {
    warnAboutShallowFall(readings.front().L, readings.back().L, err);
    warnAboutTurnedBackCorrection(*correction, err);
  }
}

std::optional<int> readQuad(QuadDataFile& quad, const std::string& name, CliHost& host, std::ostream& err) {
  if (!quad.readQuadFile(quad.rawQuadData, &host)) {
    err << "inkcurve: " << name << " is not a QuadToneRIP ink curve file this program can read: "
        << host.takeLoadFailure().value_or("refused") << "\n";
    return kExitFailed;
  }
  quad.quadHeaders = quad.inkList;
  warnAboutLevelsOutOfRange(name, *quad.inputQuadCurveArray, quad.inkList, err);
  return std::nullopt;
}

std::optional<std::string> givenNotesRefusal(const std::string& notes, bool quadOut,
                                             const std::optional<std::filesystem::path>& xmlFolder) {
  if (auto reason = unreadableExportNotes(notes, quadOut, xmlFolder))
    return "--notes would make a .quad file that cannot be read back: " + *reason;
  return std::nullopt;
}

std::string notesRefusal(const std::string& reason, bool given, const std::string& name) {
  return (given ? "--notes" : "the notes of " + name) + " would make a .quad file that cannot be read back: " +
         reason + (given ? "" : "; give other notes with --notes");
}

std::optional<int> correctQuad(ExportSources& sources, const std::string& name,
                               const std::optional<std::string>& notes, bool quadOut,
                               const std::optional<std::filesystem::path>& xmlFolder, CliHost& host,
                               std::ostream& out, std::ostream& err) {
  auto& quad = sources.quad;
  auto& document = sources.document;
  document.quadData = quad;
  if (notes) quad->processNotes = *notes;
  sources.notes = quad->processNotes;
  // Notes given with --notes were checked with the command line; the file's
  // own notes may not fit either once written back.
  auto refuseNotes = [&](const std::string& reason) {
    err << "inkcurve: " << notesRefusal(reason, notes.has_value(), name) << "\n";
    return kExitFailed;
  };
  if (auto reason = unreadableExportNotes(sources.notes, quadOut, xmlFolder)) return refuseNotes(*reason);

  auto linearization = document.linearizeQuad(&host);
  if (!linearization) return std::nullopt;
  quad->outputQuadCurveArray = linearization->linearizedOutputQuadArray;
  document.outputQuadValues = quad->outputQuadCurveArray;
  out << "channels corrected: " << quad->inkList.size() << " (";
  for (size_t i = 0; i < quad->inkList.size(); ++i) out << (i ? ", " : "") << channelLabel(quad->inkList[i]);
  out << ")\n";
  warnAboutEmptiedChannels(*quad->inputQuadCurveArray, quad->outputQuadCurveArray, quad->inkList, err);
  // Known only now: the levels' texts count too.
  if (auto reason = oversizedQuadExport(sources, quadOut, xmlFolder)) return refuseNotes(*reason);
  return std::nullopt;
}

}  // namespace cli
