#include "linearization/QuadDataFile.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string_view>

#include "linearization/SaveText.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

const QuadHeader kQuadHeaders[8] = {
    {"## QuadToneRIP K,C,M,Y", 4},
    {"## QuadToneRIP K,C,M,Y,LC,LM", 6},
    {"## QuadToneRIP K,C,M,Y,LC,LM,LK", 7},
    {"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK", 8},
    {"## QuadToneRIP MK,C,M,Y,R,B,PK,GL", 8},
    {"## QuadToneRIP MK,C,M,Y,R,OR,PK,GL", 8},
    {"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,OR,GR", 10},
    {"## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK,V,MK", 10},
};

const char* const kFirstChannelMarkers[8] = {
    "# K Curve", "K Curve", "MK Curve", "# K curve", "# K CURVE", "# MK Curve", "# MK curve", "# MK CURVE",
};

namespace {

// Comment lines a reader passes over before it takes the next line as the
// first channel's marker, whatever that line holds.
constexpr int kMaxCommentLines = 51;
constexpr int kLevelsPerChannel = 256;
// The most lines a reader reads: the header, the comment lines it passes
// over, and a marker and 256 levels for each of at most 10 channels.
constexpr size_t kReachableLines = 1 + kMaxCommentLines + 10 * (kLevelsPerChannel + 1);

bool isFirstChannelMarker(const std::string& line) {
  for (const char* marker : kFirstChannelMarkers)
    if (line == marker) return true;
  return false;
}

}  // namespace

std::string quadLevelText(double level, int64_t& clampedLevels, LevelRounding rounding) {
  if (std::isnan(level)) {
    ++clampedLevels;
    return "0";
  }
  double whole = std::trunc(level);
  if (rounding == LevelRounding::halfToEven) {
    // Away from zero above the half, or exactly on it with an odd whole part.
    const double fraction = std::fabs(level - whole);
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += level < 0 ? -1.0 : 1.0;
  }
  if (whole < 0.0) {
    ++clampedLevels;
    return "0";
  }
  if (whole > 65535.0) {
    ++clampedLevels;
    return "65535";
  }
  return std::to_string(static_cast<unsigned>(whole));
}

std::optional<std::string> unreadableNotesReason(const std::string& notes, int commentLinesBefore) {
  // A reader takes UTF-8 text only (a Latin-1 terminal passes "café" as other bytes).
  if (!text::isValidUtf8(notes)) return "the notes are not UTF-8 text, and a reader refuses a file that is not";
  const auto lines = text::split(notes, "\n");
  const int room = kMaxCommentLines - commentLinesBefore;
  if (static_cast<int64_t>(lines.size()) > room) {
    return "the notes have " + std::to_string(lines.size()) + " lines, but a .quad file has room for " +
           std::to_string(room) + "; a reader takes the line after them for the first channel's marker";
  }
  for (const auto& line : lines) {
    // A reader drops every carriage return before it splits the text into lines.
    const std::string written = "# " + text::removeAll(line, '\r');
    if (isFirstChannelMarker(written)) {
      return "the notes line \"" + written.substr(2) + "\" is written as \"" + written +
             "\", which a reader takes for the first channel's marker";
    }
  }
  return std::nullopt;
}

std::shared_ptr<QuadDataFile> QuadDataFile::fromLines(std::vector<std::string> lines, std::string fileName) {
  std::shared_ptr<QuadDataFile> file(new QuadDataFile());
  file->rawQuadData = std::move(lines);
  file->fileName = std::move(fileName);
  return file;
}

std::shared_ptr<QuadDataFile> QuadDataFile::fromFile(const std::filesystem::path& path, std::string* error) {
  auto bytes = platform::files::readWholeFile(path, error);
  if (!bytes) return nullptr;
  return fromBytes(*bytes, path.filename().string(), error);
}

std::shared_ptr<QuadDataFile> QuadDataFile::fromBytes(std::string_view bytes, std::string fileName,
                                                      std::string* error) {
  if (const auto bad = text::firstInvalidUtf8(bytes)) {
    if (error) *error = "line " + std::to_string(text::lineNumberAt(bytes, *bad)) + ": not valid UTF-8 text";
    return nullptr;
  }
  // Only the lines a reader can reach are split: what follows them is never
  // read, and a long file of short lines would cost many times its size.
  std::string_view reachable = text::dropByteOrderMark(bytes);
  for (size_t from = 0, lines = 1;; ++lines) {
    const size_t end = reachable.find('\n', from);
    if (end == std::string_view::npos) break;
    if (lines == kReachableLines) {
      reachable = reachable.substr(0, end);
      break;
    }
    from = end + 1;
  }
  auto cleaned = text::removeAll(reachable, '\r');
  return fromLines(text::split(cleaned, "\n"), std::move(fileName));
}

bool QuadDataFile::isQuadFile() const { return inkCount() != 0; }

int64_t QuadDataFile::inkCount() const {
  if (rawQuadData.empty()) return 0;
  for (const auto& header : kQuadHeaders)
    if (rawQuadData.front() == header.line) return header.inkCount;
  return 0;
}

std::vector<std::string> QuadDataFile::readHeader() {
  std::vector<std::string> list;
  if (quadCurveCopy.empty()) return list;
  list.push_back(std::move(quadCurveCopy.front()));
  quadCurveCopy.pop_front();
  for (int i = 0; i < kMaxCommentLines && !quadCurveCopy.empty(); ++i) {
    if (isFirstChannelMarker(quadCurveCopy.front())) break;
    list.push_back(std::move(quadCurveCopy.front()));
    quadCurveCopy.pop_front();
  }
  std::vector<std::string> comments(list.begin() + 1, list.end());
  processNotes = text::replaceAll(text::join(comments, "\n"), "# ", "");
  return list;
}

std::optional<InkCurve> QuadDataFile::readChannel() {
  if (quadCurveCopy.empty()) return std::nullopt;
  inkList.push_back(quadCurveCopy.front());
  quadCurveCopy.pop_front();
  InkCurve curve;
  curve.reserve(kLevelsPerChannel);
  for (int i = 0; i < kLevelsPerChannel; ++i) {
    if (quadCurveCopy.empty()) return std::nullopt;
    auto level = text::parseFiniteDecimal(quadCurveCopy.front());
    if (!level) return std::nullopt;
    curve.push_back(*level);
    quadCurveCopy.pop_front();
  }
  return curve;
}

std::optional<std::vector<InkCurve>> QuadDataFile::readChannels() {
  std::vector<InkCurve> channels;
  const int64_t count = inkCount();
  for (int64_t i = 0; i < count; ++i) {
    auto channel = readChannel();
    if (!channel) return std::nullopt;
    channels.push_back(std::move(*channel));
  }
  return channels;
}

std::string QuadDataFile::whyChannelsStopped(size_t lineCount) const {
  // Every line taken off the working copy was read; the header and its
  // comments come first, then a marker and 256 levels per channel.
  const size_t taken = lineCount - quadCurveCopy.size();
  const size_t intoBody = taken - std::min(taken, printerInfo.size());
  const size_t channel = intoBody / (kLevelsPerChannel + 1) + 1;
  const std::string where = "channel " + std::to_string(channel) + " of " + std::to_string(inkCount());
  if (quadCurveCopy.empty()) return "the file ends after line " + std::to_string(taken) + ", in " + where;
  std::string line = quadCurveCopy.front();
  constexpr size_t kShown = 40;
  if (line.size() > kShown) {
    size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // whole characters only
    line = line.substr(0, cut) + "...";
  }
  return "line " + std::to_string(taken + 1) + " is not a number (\"" + line + "\", in " + where + ")";
}

void QuadDataFile::resetToUnread() {
  numInks = 0;
  printerInfo.clear();
  inkList.clear();
  processNotes = std::string();
  inputQuadCurveArray = std::vector<InkCurve>{};
}

bool QuadDataFile::readQuadFile(const std::vector<std::string>& lines, platform::Host* host) {
  try {
    quadCurveCopy.assign(lines.begin(), lines.end());
  } catch (const std::bad_alloc&) {
    quadCurveCopy.clear();
    if (host) {
      host->log("false");
      host->logLoadFailure("not enough memory to read its lines");
    }
    return false;
  }
  if (!isQuadFile()) {
    if (host) {
      host->log("false");
      host->logLoadFailure("line 1 is not one of the QuadToneRIP headers this program reads");
    }
    return false;
  }
  resetToUnread();
  numInks = inkCount();
  printerInfo = readHeader();
  auto channels = readChannels();
  if (!channels) {
    // A body cut short or holding a level that is not a number: nothing of
    // the partial read may remain.
    const std::string why = whyChannelsStopped(lines.size());
    resetToUnread();
    if (host) {
      host->log("false");
      host->logLoadFailure(why);
    }
    return false;
  }
  inputQuadCurveArray = std::move(*channels);
  return true;
}

bool QuadDataFile::canWriteCurves(const std::vector<InkCurve>& curves) const {
  if (printerInfo.empty() || curves.size() < inkList.size()) return false;
  for (size_t i = 0; i < inkList.size(); ++i)
    if (curves[i].size() < kLevelsPerChannel) return false;
  return true;
}

template <class Put>
void QuadDataFile::composeQuadFileText(const std::vector<InkCurve>& curves, const NotesPieces& notes,
                                       int64_t& clamped, Put&& put) const {
  put(printerInfo.front());
  put("\n");
  if (notes) {
    // One comment line for each line of the notes.
    put("# ");
    for (std::string_view piece : *notes) {
      for (size_t end; (end = piece.find('\n')) != std::string_view::npos; piece.remove_prefix(end + 1)) {
        put(piece.substr(0, end));
        put("\n# ");
      }
      put(piece);
    }
  } else {
    put("# Velmora Arts Karovel-Pro v1");
  }
  for (size_t i = 0; i < inkList.size(); ++i) {
    put("\n");
    put(inkList[i]);
    for (int step = 0; step < kLevelsPerChannel; ++step) {
      put("\n");
      put(quadLevelText(curves[i][step], clamped));
    }
  }
}

QuadDataFile::NotesPieces QuadDataFile::notesPieces() const {
  if (!processNotes) return std::nullopt;
  return std::vector<std::string_view>{*processNotes};
}

std::optional<uintmax_t> QuadDataFile::quadFileTextSize(const std::vector<InkCurve>& curves) const {
  return quadFileTextSize(curves, notesPieces());
}

std::optional<uintmax_t> QuadDataFile::quadFileTextSize(const std::vector<InkCurve>& curves,
                                                        const NotesPieces& notes) const {
  if (!canWriteCurves(curves)) return std::nullopt;
  uintmax_t size = 0;
  int64_t clamped = 0;
  composeQuadFileText(curves, notes, clamped, [&](std::string_view piece) { size += piece.size(); });
  return size;
}

std::optional<std::string> QuadDataFile::makeQuadFileText(const std::vector<InkCurve>& curves,
                                                          platform::Host* host) const {
  const auto size = quadFileTextSize(curves);
  if (!size) return std::nullopt;
  if (processNotes)
    if (auto reason = unreadableNotesReason(*processNotes); reason && host)
      host->log("The quad file will not read back: " + *reason);

  std::string text;
  text.reserve(*size);
  int64_t clamped = 0;
  composeQuadFileText(curves, notesPieces(), clamped, [&](std::string_view piece) { text += piece; });
  if (clamped > 0 && host)
    host->log("Clamped " + std::to_string(clamped) + " ink levels outside 0...65535 while writing the quad file");
  return text;
}

void QuadDataFile::saveQuadFile(const std::string& text, platform::Host& host) const {
  saveTextThroughPanel(host, "quad", text);
}

std::shared_ptr<QuadDataFile> openQuadFile(platform::Host& host) {
  platform::OpenPanelRequest request;
  request.title = "Choose a quad file";
  request.showsResizeIndicator = true;
  request.showsHiddenFiles = false;
  request.canChooseDirectories = false;
  request.canCreateDirectories = false;
  request.canChooseFiles = true;
  request.allowsMultipleSelection = false;
  request.allowedTypes = {"quad"};
  auto chosen = host.runOpenPanel(request);
  if (!chosen || chosen->empty()) return nullptr;
  std::string error;
  std::shared_ptr<QuadDataFile> file;
  try {
    file = QuadDataFile::fromFile(*chosen, &error);
  } catch (const std::bad_alloc&) {
    error = "not enough memory to split its lines";
  }
  if (!file) host.logLoadFailure(error);
  return file;
}

}  // namespace linearization
