#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "CliHost.h"
#include "linearization/exports/Exports.h"
#include "linearization/exports/PhotoshopCurve.h"
#include "linearization/QuadDataFile.h"
#include "linearization/v2LinearizationDataModel.h"

namespace cli {

// What the main window holds when the user presses Save.
struct ExportSources {
  linearization::v2LinearizationDataModel& document;
  // The loaded .quad with its corrected channels; null without one.
  std::shared_ptr<linearization::QuadDataFile> quad;
  // The process notes the user gave (by default the notes as read). Every
  // export that writes a .quad text starts again from them.
  std::optional<std::string> notes;
};

// The composite curve of the .acv export: (0, 0), then 14 points at the
// inputs 17, 34, ..., 238 whose outputs are the reversed correction curve at
// that input (percent × 2.55, rounded half away from zero, held to 0..255),
// then (255, 255).
std::vector<linearization::PhotoshopCurve<uint16_t>::Point> acvCompositePoints(
    const std::vector<double>& reversedCorrection);

// The notes of the reference .quad written beside the XML curves: the notes
// and a line naming the folder.
std::string referenceQuadNotes(const std::optional<std::string>& notes, const std::filesystem::path& folder);

// Why the name of `folder` cannot go into the comment of each XML curve and
// into the notes of _ref.quad: it is not UTF-8 text, or it holds a control
// character. Nothing for a name that can.
std::optional<std::string> unwritableFolderName(const std::filesystem::path& folder);

// Why a .quad text that the exports would write with `notes` could not be read
// back: the corrected .quad when `quad` is set, and the reference .quad when
// an XML folder is given. Nothing when they all read back.
std::optional<std::string> unreadableExportNotes(const std::optional<std::string>& notes, bool quad,
                                                 const std::optional<std::filesystem::path>& xmlFolder);

// Why a .quad text that the exports would write of the corrected channels
// could not be read back for its size: the corrected .quad when `quad` is
// set, and the reference .quad when an XML folder is given, each against the
// limit of an input file (the limit, the size and the notes' share named).
// Nothing when each fits, or when there are no corrected channels.
std::optional<std::string> oversizedQuadExport(const ExportSources& sources, bool quad,
                                               const std::optional<std::filesystem::path>& xmlFolder);

// What each export writes, made as the main window's Save button makes it,
// or nothing after the "Failed to Linearize" alert when there is nothing to
// write: the corrected .quad (with the notes), the .acv's bytes, the .cube.
std::optional<std::string> quadExportText(ExportSources& sources, platform::Host& host);
std::optional<std::string> acvExportBytes(const ExportSources& sources, platform::Host& host);
std::optional<std::string> cubeExportText(const ExportSources& sources, platform::Host& host);

// What the XML export writes into `folder`: the curves of the channels that
// get a file, with their markers, and the reference .quad's text (its notes
// name the folder). The channels the driver has no file for by design are
// left out, each with a warning ("can't save xml: no XML file for the
// channel ...").
struct XMLExport {
  std::vector<linearization::InkCurve> curves;
  std::vector<std::string> markers;
  std::string referenceQuad;
  std::vector<std::string> warnings;
};
std::optional<XMLExport> xmlExport(ExportSources& sources, const std::filesystem::path& folder,
                                   platform::Host& host);
// The files the XML export writes into `folder`, by name and in the order
// written: each channel's XML curve, then _ref.quad. Nothing where the export
// would fail (the alert, or a channel whose file an earlier one took,
// reported as a failure).
std::optional<std::vector<std::pair<std::string, std::string>>> xmlExportFiles(ExportSources& sources,
                                                                              const std::filesystem::path& folder,
                                                                              platform::Host& host);

// Carries out one export as the main window's Save button does: the file
// through its save panel (the XML curves into a folder chosen in an open
// panel), or the "Failed to Linearize" alert when there is nothing to write.
// Channels the XML curves have no file for by design are left out with a
// warning ("can't save xml") that does not fail the run.
void saveExport(linearization::ExportType type, ExportSources& sources, CliHost& host);

}  // namespace cli
