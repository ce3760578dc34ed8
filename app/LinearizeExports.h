#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CliHost.h"
#include "linearization/Exports.h"
#include "linearization/PhotoshopCurve.h"
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

// Carries out one export as the main window's Save button does: the file
// through its save panel (the XML curves into a folder chosen in an open
// panel), or the "Failed to Linearize" alert when there is nothing to write.
void saveExport(linearization::ExportType type, ExportSources& sources, CliHost& host);

}  // namespace cli
