#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "linearization/QuadDataFile.h"
#include "platform/host/Host.h"

namespace linearization {

// One channel's XML curve file for a Gutenprint-based Piezography driver.
class gutenprintInkXML {
 public:
  virtual ~gutenprintInkXML() = default;

  // The channel's marker line from the .quad ("# K Curve").
  std::string channelName;
  // The channel's levels, 0..65535, 256 of them.
  std::vector<double> quadArray;
  // The XML text, once made.
  std::string lut;
  // The file name, once made.
  std::string channelFileName;
  // The text of the XML comment: the name of the folder the files go to.
  std::string paperName;

  // "Black.xml", "Cyan.xml", ... by the marker's prefix; the empty string
  // for a channel the driver has no file for ("# V Curve", "# MK Curve").
  virtual std::string makeChannelFileName() const;
  // Every level as a whole number (halves to the even neighbour, clamped to
  // 0..65535), each followed by "\n"; the empty string for no levels.
  // Clamped levels are logged through `host`.
  virtual std::string sequenceValuesText(platform::Host* host = nullptr) const;
  // The whole XML text; no line break after the last line.
  virtual std::string makeXML(platform::Host* host = nullptr) const;
};

// One channel's file of an XML export into the folder named `folderName`:
// its name and its XML text; or, where the channel gets no file, why (the
// driver has none for it, or an earlier channel of the export took its name:
// `namesTaken` holds the names taken so far, and takes this one's).
struct GutenprintXMLFile {
  std::string fileName;
  std::string text;
  std::string skipped;  // empty for a file to write
};
GutenprintXMLFile gutenprintXMLFile(const InkCurve& curve, const std::string& marker, const std::string& folderName,
                                    std::set<std::string>& namesTaken, platform::Host& host);

// Writes one XML file per marker into `folder`, channel i from curves[i], each
// by itself: a channel without a file name, or whose name an earlier channel
// of this export already took, or whose write fails, is reported with its
// reason and gets the "can't save xml" alert; the others are still written. With fewer curves than
// markers nothing is written and "Failed to Linearize" is shown. Returns the
// files written.
std::vector<std::filesystem::path> writeGutenprintXMLFiles(const std::vector<InkCurve>& curves,
                                                           const std::vector<std::string>& markers,
                                                           const std::filesystem::path& folder, platform::Host& host);

// Writes `text` as "_ref.quad" into `folder`, replacing any file of that name.
// Returns whether it was written; a failure shows an alert with the reason.
bool writeReferenceQuadFile(const std::string& text, const std::filesystem::path& folder, platform::Host& host);

// Every name the XML export may give a file in its folder: the channels'
// files and "_ref.quad".
std::vector<std::string> gutenprintExportFileNames();

// The last component of a folder's path ("out/xml/" gives "xml").
std::string folderName(const std::filesystem::path& folder);

}  // namespace linearization
