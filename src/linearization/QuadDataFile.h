#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/Host.h"

namespace linearization {

// One channel's ink levels, 0..65535, one per input step (256 of them).
using InkCurve = std::vector<double>;

// The eight ink sets a .quad header may name, with their channel counts.
struct QuadHeader {
  const char* line;
  int64_t inkCount;
};
extern const QuadHeader kQuadHeaders[8];

// The markers the first channel may carry, compared whole and case-sensitively.
extern const char* const kFirstChannelMarkers[8];

// How a level becomes a whole number: cut toward zero (the .quad writer) or
// rounded to the nearest, halves to the even neighbour (the XML curves).
enum class LevelRounding { towardZero, halfToEven };

// The text of one level line: the level made a whole number by `rounding`,
// held to 0...65535. A whole number below 0 is written "0" and one above 65535
// "65535", and a level that is not a number "0"; all three count in
// `clampedLevels` (a level between -1 and 0 is only rounded, like one between
// 65535 and 65536). "-0" is never written.
std::string quadLevelText(double level, int64_t& clampedLevels,
                          LevelRounding rounding = LevelRounding::towardZero);

// Why a .quad file whose comment lines are `notes` (one line per notes line,
// each after "# "), following `commentLinesBefore` other comment lines, could
// not be read back: notes that are not UTF-8, more comment lines than a
// reader passes over, or a notes line that a reader would take for the first
// channel's marker. Nothing when the file reads back.
std::optional<std::string> unreadableNotesReason(const std::string& notes, int commentLinesBefore = 0);

// A QuadToneRIP ink curve file: header, process notes, and 256 levels for
// each channel.
class QuadDataFile {
 public:
  // The file at `path` (UTF-8, carriage returns dropped, split on line feeds),
  // not yet read; nothing when it cannot be read or is not UTF-8 (`error`
  // names the first line that is not). The lines past the last one a reader
  // can reach (the header, 51 comment lines and ten channels) are left out.
  static std::shared_ptr<QuadDataFile> fromFile(const std::filesystem::path& path, std::string* error = nullptr);
  // The same from the file's bytes, named `fileName`: nothing touches the
  // file system.
  static std::shared_ptr<QuadDataFile> fromBytes(std::string_view bytes, std::string fileName,
                                                 std::string* error = nullptr);
  // The same from lines already split.
  static std::shared_ptr<QuadDataFile> fromLines(std::vector<std::string> lines, std::string fileName = {});

  virtual ~QuadDataFile() = default;

  std::vector<std::string> rawQuadData;
  std::deque<std::string> quadCurveCopy;
  std::vector<std::string> quadHeaders;
  std::optional<std::string> processNotes = std::string();
  std::optional<std::vector<InkCurve>> inputQuadCurveArray = std::vector<InkCurve>{};
  std::vector<InkCurve> outputQuadCurveArray;
  int64_t numInks = 0;
  std::string fileName;
  std::vector<std::string> inkList;
  std::vector<std::string> printerInfo;

  // Whether line 1 is one of the eight header lines.
  virtual bool isQuadFile() const;
  // The channel count of line 1's header, 0 for any other line.
  virtual int64_t inkCount() const;
  // Takes the header and up to 51 comment lines off quadCurveCopy; sets
  // processNotes. The list, header line first.
  virtual std::vector<std::string> readHeader();
  // Takes one marker and 256 level lines off quadCurveCopy; nothing when the
  // lines run out or a level line is not one finite decimal number.
  virtual std::optional<InkCurve> readChannel();
  // inkCount() channels; nothing when any of them cannot be read.
  virtual std::optional<std::vector<InkCurve>> readChannels();
  // Fills the object from `lines`. Returns whether the file was read; a file
  // that is not accepted ("false" is logged) or whose body is cut short leaves
  // the object exactly as it was before any read, and the host is told which
  // line stopped the read and why.
  virtual bool readQuadFile(const std::vector<std::string>& lines, platform::Host* host = nullptr);
  // The .quad text of `curves` under this file's header, notes and markers.
  // Nothing for an unread file, or when a marker has no curve of 256 levels.
  // Levels that had to be clamped are counted and logged through `host`, and
  // so are notes that would keep the text from being read back.
  virtual std::optional<std::string> makeQuadFileText(const std::vector<InkCurve>& curves,
                                                      platform::Host* host = nullptr) const;
  // Process notes given as the pieces of one text, in order, without copying
  // them; nothing stands for the default comment line.
  using NotesPieces = std::optional<std::vector<std::string_view>>;
  // The size in bytes of the text makeQuadFileText would make of `curves`,
  // found without making it; nothing where it would make none.
  std::optional<uintmax_t> quadFileTextSize(const std::vector<InkCurve>& curves) const;
  // The same with `notes` written in place of processNotes.
  std::optional<uintmax_t> quadFileTextSize(const std::vector<InkCurve>& curves, const NotesPieces& notes) const;

  // Lets the user choose where to save `text` and writes it there.
  void saveQuadFile(const std::string& text, platform::Host& host) const;

 protected:
  QuadDataFile() = default;
  // Whether the file was read and `curves` has 256 levels for each marker.
  bool canWriteCurves(const std::vector<InkCurve>& curves) const;
  // Hands the .quad text of `curves` to `put` piece by piece, in order:
  // the header, `notes` as comment lines, each marker and its levels.
  template <class Put>
  void composeQuadFileText(const std::vector<InkCurve>& curves, const NotesPieces& notes, int64_t& clamped,
                           Put&& put) const;
  // processNotes as pieces.
  NotesPieces notesPieces() const;
  void resetToUnread();
  // After readChannels failed on `lineCount` lines: the line it stopped at
  // and why (the file ended, or a level line is not a number).
  std::string whyChannelsStopped(size_t lineCount) const;
};

// Runs the "Choose a quad file" open panel and loads the chosen file (not yet
// read). Nothing on cancel or when the file cannot be loaded.
std::shared_ptr<QuadDataFile> openQuadFile(platform::Host& host);

}  // namespace linearization
