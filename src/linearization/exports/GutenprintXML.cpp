#include "linearization/exports/GutenprintXML.h"

#include <set>

#include "linearization/exports/Exports.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

namespace {

// File names by the marker's beginning; the first that matches wins. The
// driver's set has no matte-black file, and "# MK" would otherwise pass for
// "# M" and overwrite the magenta curve, so it is named nothing.
struct ChannelFile {
  const char* prefix;
  const char* fileName;
};
constexpr ChannelFile kChannelFiles[] = {
    {"# K", "Black.xml"},          {"# C", "Cyan.xml"},          {"# MK", ""},
    {"# M", "Magenta.xml"},        {"# Y", "Yellow.xml"},        {"# LC", "LightCyan.xml"},
    {"# LM", "LightMagenta.xml"},  {"# LK", "LightBlack.xml"},   {"# LLK", "LightLightBlack.xml"},
    {"# OR", "Orange.xml"},        {"# GR", "Green.xml"},
};

// Character data may not hold a bare "&" or "<" (and ">" is escaped with them).
std::string escapedText(const std::string& s) {
  std::string escaped = text::replaceAll(s, "&", "&amp;");
  escaped = text::replaceAll(escaped, "<", "&lt;");
  return text::replaceAll(escaped, ">", "&gt;");
}

// A comment may not hold "--"; "a---b" becomes "a- - -b".
std::string commentText(std::string s) {
  while (s.find("--") != std::string::npos) s = text::replaceAll(s, "--", "- -");
  return s;
}

void showCantSaveXML(platform::Host& host) {
  platform::AlertRequest alert;
  alert.style = platform::AlertStyle::warning;
  alert.messageText = "can't save xml";
  alert.informativeText = "";
  alert.buttons = {"OK"};
  host.runAlert(alert);
}

}  // namespace

std::string gutenprintInkXML::makeChannelFileName() const {
  for (const auto& entry : kChannelFiles)
    if (channelName.rfind(entry.prefix, 0) == 0) return entry.fileName;
  return "";
}

std::string gutenprintInkXML::sequenceValuesText(platform::Host* host) const {
  std::string values;
  int64_t clamped = 0;
  for (double level : quadArray) values += quadLevelText(level, clamped, LevelRounding::halfToEven) + "\n";
  if (clamped > 0 && host)
    host->log("Clamped " + std::to_string(clamped) + " ink levels outside 0...65535 in the XML curve of " +
              channelName);
  return values;
}

std::string gutenprintInkXML::makeXML(platform::Host* host) const {
  // The levels end in their own line feeds, so "</sequence>" follows the last
  // level directly (and the sequence line when there are none).
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!-- " + commentText(paperName) + " -->\n"
         "<channelname>\n" +
         escapedText(channelName) + "\n"
         "</channelname>\n"
         "<gutenprint>\n"
         "<curve wrap=\"nowrap\" type=\"spline\" gamma=\"0\">\n"
         "<sequence count=\"256\" lower-bound=\"0\" upper-bound=\"65535\">\n" +
         sequenceValuesText(host) +
         "</sequence>\n"
         "</curve>\n"
         "</gutenprint>";
}

std::vector<std::string> gutenprintExportFileNames() {
  std::vector<std::string> names{"_ref.quad"};
  for (const auto& entry : kChannelFiles)
    if (*entry.fileName) names.emplace_back(entry.fileName);
  return names;
}

std::string folderName(const std::filesystem::path& folder) {
  const auto path = folder.has_filename() ? folder : folder.parent_path();
  return path.filename().string();
}

GutenprintXMLFile gutenprintXMLFile(const InkCurve& curve, const std::string& marker, const std::string& folderName,
                                    std::set<std::string>& namesTaken, platform::Host& host) {
  gutenprintInkXML channel;
  channel.channelName = marker;
  channel.quadArray = curve;
  channel.paperName = folderName;
  channel.channelFileName = channel.makeChannelFileName();
  GutenprintXMLFile file;
  file.text = channel.makeXML(&host);
  if (channel.channelFileName.empty())
    file.skipped = "no XML file for the channel \"" + channel.channelName + "\"; skipped";
  else if (!namesTaken.insert(channel.channelFileName).second)
    file.skipped = "the channel \"" + channel.channelName + "\" would replace " + channel.channelFileName +
                   " of an earlier channel; skipped";
  else
    file.fileName = channel.channelFileName;
  return file;
}

std::vector<std::filesystem::path> writeGutenprintXMLFiles(const std::vector<InkCurve>& curves,
                                                           const std::vector<std::string>& markers,
                                                           const std::filesystem::path& folder, platform::Host& host) {
  std::vector<std::filesystem::path> written;
  if (curves.size() < markers.size()) {
    host.log("XML export: " + std::to_string(curves.size()) + " curves for " + std::to_string(markers.size()) +
             " channels; nothing written");
    showLinearizeFailedAlert(host);
    return written;
  }
  std::set<std::string> namesTaken;
  for (size_t i = 0; i < markers.size(); ++i) {
    const GutenprintXMLFile file = gutenprintXMLFile(curves[i], markers[i], folderName(folder), namesTaken, host);
    if (!file.skipped.empty()) {
      host.log(file.skipped);
      host.reportFailure(file.skipped);
      showCantSaveXML(host);
      continue;
    }
    const auto path = folder / file.fileName;
    if (auto error = platform::files::writeFileReplacing(path, file.text)) {
      host.log(*error);
      host.reportFailure(*error);
      showCantSaveXML(host);
      continue;
    }
    written.push_back(path);
  }
  return written;
}

bool writeReferenceQuadFile(const std::string& text, const std::filesystem::path& folder, platform::Host& host) {
  if (auto error = platform::files::writeFileReplacing(folder / "_ref.quad", text)) {
    host.log(*error);
    platform::AlertRequest alert;
    alert.style = platform::AlertStyle::warning;
    alert.messageText = "can't save xml referecne quad file";
    alert.informativeText = *error;
    alert.buttons = {"OK"};
    host.runAlert(alert);
    return false;
  }
  return true;
}

}  // namespace linearization
