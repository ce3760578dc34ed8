#include "LinearizeExports.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "linearization/exports/GutenprintXML.h"
#include "linearization/exports/PhotoshopCubeLUT.h"
#include "linearization/SaveText.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"

namespace cli {

using namespace linearization;

namespace {

// The correction curve in input order (0 up to 100); nothing without one.
std::optional<std::vector<double>> reversedCorrection(const v2LinearizationDataModel& document) {
  const auto& curve = document.correctionCurve->correctionCurveArray;
  if (!curve || curve->empty()) return std::nullopt;
  return std::vector<double>(curve->rbegin(), curve->rend());
}

// What the reference .quad adds to the notes: a line naming the folder.
std::string referenceQuadLine(const std::filesystem::path& folder) {
  return "\nReference quad file for xml file: " + folderName(folder);
}

// The corrected channels of the loaded .quad, one for each marker; nothing
// when there is no .quad or it was not corrected.
const std::vector<InkCurve>* correctedChannels(const ExportSources& sources) {
  const auto& quad = sources.quad;
  if (!quad || quad->inkList.empty() || quad->outputQuadCurveArray.size() < quad->inkList.size()) return nullptr;
  return &quad->outputQuadCurveArray;
}

void saveQuad(ExportSources& sources, CliHost& host) {
  if (auto text = quadExportText(sources, host)) sources.quad->saveQuadFile(*text, host);
}

void saveACV(ExportSources& sources, CliHost& host) {
  if (auto bytes = acvExportBytes(sources, host)) saveTextThroughPanel(host, "acv", std::move(*bytes));
}

void saveCube(ExportSources& sources, CliHost& host) {
  if (auto text = cubeExportText(sources, host)) saveTextThroughPanel(host, "cube", std::move(*text));
}

void saveXML(ExportSources& sources, CliHost& host) {
  if (!reversedCorrection(sources.document) || !correctedChannels(sources)) {
    showLinearizeFailedAlert(host);
    return;
  }
  platform::OpenPanelRequest request;
  request.title = "Choose a folder for the XML curves";
  request.canChooseFiles = false;
  request.canChooseDirectories = true;
  request.canCreateDirectories = true;
  request.allowsMultipleSelection = false;
  auto folder = host.runOpenPanel(request);
  if (!folder) return;

  auto files = xmlExport(sources, *folder, host);
  if (!files) return;
  for (const auto& warning : files->warnings) host.err() << "inkcurve: warning: " << warning << "\n";
  for (const auto& path : writeGutenprintXMLFiles(files->curves, files->markers, *folder, host))
    host.addWrittenFile(path);
  if (writeReferenceQuadFile(files->referenceQuad, *folder, host)) host.addWrittenFile(*folder / "_ref.quad");
}

}  // namespace

std::optional<std::string> quadExportText(ExportSources& sources, platform::Host& host) {
  const auto* channels = correctedChannels(sources);
  if (!reversedCorrection(sources.document) || !channels) {
    showLinearizeFailedAlert(host);
    return std::nullopt;
  }
  sources.quad->processNotes = sources.notes;
  auto text = sources.quad->makeQuadFileText(*channels, &host);
  if (!text) showLinearizeFailedAlert(host);
  return text;
}

std::optional<std::string> acvExportBytes(const ExportSources& sources, platform::Host& host) {
  auto curve = reversedCorrection(sources.document);
  if (!curve) {
    showLinearizeFailedAlert(host);
    return std::nullopt;
  }
  PhotoshopCurve<uint16_t> acv;
  acv.compCurvePoints = acvCompositePoints(*curve);
  return acvBytes(acv.makeACVWords(&host));
}

std::optional<std::string> cubeExportText(const ExportSources& sources, platform::Host& host) {
  auto curve = reversedCorrection(sources.document);
  if (!curve) {
    showLinearizeFailedAlert(host);
    return std::nullopt;
  }
  PhotoshopCubeLUT lut;
  lut.curve = *curve;
  lut.outputCube = lut.makeCube(lut.curve);
  return lut.outputCube;
}

std::optional<XMLExport> xmlExport(ExportSources& sources, const std::filesystem::path& folder,
                                   platform::Host& host) {
  const auto* channels = correctedChannels(sources);
  if (!reversedCorrection(sources.document) || !channels) {
    showLinearizeFailedAlert(host);
    return std::nullopt;
  }
  auto& quad = *sources.quad;
  quad.processNotes = referenceQuadNotes(sources.notes, folder);
  auto text = quad.makeQuadFileText(*channels, &host);
  if (!text) {
    showLinearizeFailedAlert(host);
    return std::nullopt;
  }
  XMLExport files;
  files.referenceQuad = std::move(*text);
  // The driver has no file for some channels (V, MK and the like); they are
  // skipped with a warning. A file that should have been written and was not
  // still fails the run.
  for (size_t i = 0; i < quad.inkList.size(); ++i) {
    gutenprintInkXML channel;
    channel.channelName = quad.inkList[i];
    if (channel.makeChannelFileName().empty()) {
      files.warnings.push_back("can't save xml: no XML file for the channel \"" + channel.channelName +
                               "\"; skipped");
      continue;
    }
    files.curves.push_back((*channels)[i]);
    files.markers.push_back(quad.inkList[i]);
  }
  return files;
}

std::optional<std::vector<std::pair<std::string, std::string>>> xmlExportFiles(ExportSources& sources,
                                                                              const std::filesystem::path& folder,
                                                                              platform::Host& host) {
  auto files = xmlExport(sources, folder, host);
  if (!files) return std::nullopt;
  std::vector<std::pair<std::string, std::string>> made;
  std::set<std::string> namesTaken;
  for (size_t i = 0; i < files->markers.size(); ++i) {
    auto file = gutenprintXMLFile(files->curves[i], files->markers[i], folderName(folder), namesTaken, host);
    if (!file.skipped.empty()) {
      host.reportFailure(file.skipped);
      return std::nullopt;
    }
    made.emplace_back(std::move(file.fileName), std::move(file.text));
  }
  made.emplace_back("_ref.quad", std::move(files->referenceQuad));
  return made;
}

std::vector<PhotoshopCurve<uint16_t>::Point> acvCompositePoints(const std::vector<double>& reversedCorrection) {
  std::vector<PhotoshopCurve<uint16_t>::Point> points{{0, 0}};
  for (int input = 17; input <= 238; input += 17) {
    if (static_cast<size_t>(input) >= reversedCorrection.size()) break;
    // × 255 / 100 rather than × 2.55: 2.55 has no exact binary form, and 50 %
    // would come out just under 127.5 and round down.
    const double output = std::round(reversedCorrection[input] * 255.0 / 100.0);
    // A value that is not a number has no place on the curve; it is written 0.
    const double held = std::isnan(output) ? 0.0 : std::clamp(output, 0.0, 255.0);
    points.emplace_back(static_cast<uint16_t>(held), static_cast<uint16_t>(input));
  }
  points.emplace_back(255, 255);
  return points;
}

std::string referenceQuadNotes(const std::optional<std::string>& notes, const std::filesystem::path& folder) {
  return notes.value_or("") + referenceQuadLine(folder);
}

std::optional<std::string> unwritableFolderName(const std::filesystem::path& folder) {
  const std::string name = folderName(folder);
  const std::string problem = !platform::text::isValidUtf8(name)          ? "it is not UTF-8 text"
                              : platform::text::holdsControlCharacter(name) ? "it holds a control character"
                                                                            : "";
  if (problem.empty()) return std::nullopt;
  return "the folder's name \"" + platform::text::printable(name) +
         "\" goes into every XML curve and into _ref.quad, but " + problem;
}

std::optional<std::string> unreadableExportNotes(const std::optional<std::string>& notes, bool quad,
                                                 const std::optional<std::filesystem::path>& xmlFolder) {
  if ((quad || xmlFolder) && notes) {
    if (auto reason = unreadableNotesReason(*notes)) return reason;
  }
  if (xmlFolder) {
    if (auto reason = unreadableNotesReason(referenceQuadNotes(notes, *xmlFolder)))
      return "_ref.quad beside the XML curves adds a line to the notes: " + *reason;
  }
  return std::nullopt;
}

std::optional<std::string> oversizedQuadExport(const ExportSources& sources, bool quad,
                                               const std::optional<std::filesystem::path>& xmlFolder) {
  const auto* channels = correctedChannels(sources);
  if (!channels) return std::nullopt;
  // The sizes are worked out from the notes' pieces: the notes, which may
  // fill the input limit, are neither copied nor put into the file.
  auto oversized = [&](const std::string& which, const QuadDataFile::NotesPieces& notes) -> std::optional<std::string> {
    const auto size = sources.quad->quadFileTextSize(*channels, notes);
    if (!size || *size <= platform::files::kInputFileSizeLimit) return std::nullopt;
    size_t notesSize = 0;
    if (notes)
      for (const auto piece : *notes) notesSize += piece.size();
    return which + " would be " + std::to_string(*size) + " bytes, more than the limit of " +
           std::to_string(platform::files::kInputFileSizeLimit) + " bytes (" +
           std::to_string(platform::files::kInputFileSizeLimit >> 20) + " MB) of a file this program reads, " +
           std::to_string(notesSize) + " of them the notes";
  };
  const std::string_view given = sources.notes ? std::string_view(*sources.notes) : std::string_view();
  if (quad) {
    const auto notes = sources.notes ? QuadDataFile::NotesPieces{{given}} : std::nullopt;
    if (auto reason = oversized("the corrected .quad", notes)) return reason;
  }
  if (!xmlFolder) return std::nullopt;
  const auto line = referenceQuadLine(*xmlFolder);
  return oversized("_ref.quad beside the XML curves", std::vector<std::string_view>{given, line});
}

void saveExport(ExportType type, ExportSources& sources, CliHost& host) {
  switch (type) {
    case ExportType::quad: saveQuad(sources, host); break;
    case ExportType::acv: saveACV(sources, host); break;
    case ExportType::lut: saveCube(sources, host); break;
    case ExportType::xml: saveXML(sources, host); break;
    case ExportType::measurementsOnly: sources.document.exportMeasurements(host); break;
  }
}

}  // namespace cli
