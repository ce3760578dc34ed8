#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CliHost.h"
#include "LinearizeExports.h"
#include "linearization/QuadDataFile.h"
#include "linearization/readers/MeasurementFile.h"
#include "linearization/v2LinearizationDataModel.h"

namespace cli {

// The steps of `inkcurve linearize` from its files to the corrected .quad,
// shared by the command and the page of `inkcurve serve`, so that both say
// the same of the same files. Each says what the command prints: its summary
// lines on `out`, its warnings ("inkcurve: warning: ...") and why it stopped
// on `err`, where the host's alerts go too. A step that stops the run gives
// its exit status.

// How reading the measurements stopped: the exit status, and for a usage
// error (what was said of the wedge cannot apply to the file) its message,
// which the command prints with its usage.
struct ReadStop {
  int status;
  std::optional<std::string> usage;
};

// Reads `file`, loaded from the file named `name`, into `document` (made as
// the main window makes it) with the wedge's layout as `layout` says; the
// load's warnings, then the summary line that names the file and its format.
std::optional<ReadStop> readMeasurements(linearization::MeasurementFile& file, const std::string& name,
                                         const linearization::LayoutRequest& layout, CliHost& host,
                                         linearization::v2LinearizationDataModel& document, std::ostream& out,
                                         std::ostream& err);

// After a failed load: the file and the reason the reader gave, on one line
// (a file the host itself refused already has its line). kExitFailed.
int loadFailed(CliHost& host, std::ostream& err, const std::string& path);

// Smooths the readings as the two controls (0...100) say and builds the
// correction curve: the summary lines of the readings and the smoothing, and
// the warnings of the correction. Where `correctionAsked` (an output made
// from the correction is to be written), its failure is told when the
// outputs are written, with the alert, rather than here. `manualCurve`, where
// given (256 values in percent, entry i for input step i, as
// manualCurveThroughPoints makes it), takes the place of the document's
// default manual curve and so reshapes the final target.
void buildCorrection(linearization::v2LinearizationDataModel& document, double smoothing, double spline,
                     bool correctionAsked, std::ostream& out, std::ostream& err,
                     const std::optional<std::vector<double>>& manualCurve = std::nullopt);

// Why no correction curve could be built, naming the readings as the cause.
std::string noCorrection(double paperWhite, double darkest);

// Reads the loaded .quad, named `name`: a file that is not one stops the
// run; levels outside 0...65535 are warned of.
std::optional<int> readQuad(linearization::QuadDataFile& quad, const std::string& name, CliHost& host,
                            std::ostream& err);

// Applies the correction to every channel of sources.quad (read, named
// `name`): the summary line of the channels, and the warning of those the
// correction empties. The exports write `notes` where given, else the file's
// own notes; sources.notes gets them. Notes that would make a .quad the
// outputs asked for (`quadOut`, the XML curves into `xmlFolder`) cannot be
// read back stop the run, and so does such a .quad too large to be read.
std::optional<int> correctQuad(ExportSources& sources, const std::string& name,
                               const std::optional<std::string>& notes, bool quadOut,
                               const std::optional<std::filesystem::path>& xmlFolder, CliHost& host,
                               std::ostream& out, std::ostream& err);

// Why the exports cannot write the notes, given (--notes) or the own notes
// of the .quad named `name`, for `reason`.
std::string notesRefusal(const std::string& reason, bool given, const std::string& name);

// Why the notes given for the outputs asked for (`quadOut`, the XML curves
// into `xmlFolder`) would make a .quad that cannot be read back, as the
// command refuses them ("--notes would make ..."); nothing where they would
// read back.
std::optional<std::string> givenNotesRefusal(const std::string& notes, bool quadOut,
                                             const std::optional<std::filesystem::path>& xmlFolder);

}  // namespace cli
