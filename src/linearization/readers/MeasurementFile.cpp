#include "linearization/readers/MeasurementFile.h"

#include <algorithm>
#include <new>

// g++ 12 warns about its own <regex> internals at -O1 and above (a known
// false positive in std::function's copy); keep the warning for our code.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#include "linearization/readers/PlainTableFile.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"

namespace linearization {

struct LineMatcher::Regex {
  std::regex re;
};

namespace {

// The format table's one pattern that is not anchored as a whole: a line
// beginning with 1, or two digits, a point and up to two digits (which always
// match, as none) anywhere in the line.
constexpr const char* kLeadingOneOrNumber = R"(^1|([0-9]{2})\.([0-9]{0,2}))";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text a pattern of "^" and literal characters matches at the start of a
// line (a syntax character escaped with a backslash stands for itself);
// nothing for any other pattern.
std::optional<std::string> anchoredLiteral(std::string_view pattern) {
  static constexpr std::string_view syntax = "^$\\.*+?()[]{}|/";
  if (!pattern.starts_with('^')) return std::nullopt;
  std::string literal;
  for (std::size_t k = 1; k < pattern.size(); ++k) {
    char c = pattern[k];
    if (c == '\\') {
      if (k + 1 == pattern.size() || syntax.find(pattern[k + 1]) == std::string_view::npos) return std::nullopt;
      c = pattern[++k];
    } else if (syntax.find(c) != std::string_view::npos) {
      return std::nullopt;
    }
    literal += c;
  }
  return literal;
}

}  // namespace

std::optional<LineMatcher> LineMatcher::compile(const std::string& pattern) {
  LineMatcher m;
  try {
    m.regex_ = std::make_shared<const Regex>(Regex{std::regex(pattern, std::regex::ECMAScript)});
  } catch (const std::regex_error&) {
    return std::nullopt;
  }
  m.kind_ = Kind::regex;
  if (auto literal = anchoredLiteral(pattern)) {
    m.kind_ = Kind::prefix;
    m.prefix_ = std::move(*literal);
  } else if (pattern == kLeadingOneOrNumber) {
    m.kind_ = Kind::leadingOneOrNumber;
  }
  return m;
}

bool LineMatcher::matches(std::string_view line) const {
  switch (kind_) {
    case Kind::always:
      return true;
    case Kind::prefix:
      return line.starts_with(prefix_);
    case Kind::leadingOneOrNumber:
      if (line.starts_with('1')) return true;
      for (std::size_t k = 2; k < line.size(); ++k) {
        if (line[k] == '.' && isDigit(line[k - 1]) && isDigit(line[k - 2])) return true;
      }
      return false;
    case Kind::regex:
      return std::regex_search(line.begin(), line.end(), regex_->re);
  }
  return false;
}

std::string FormatName::shown(const std::string& formatName) {
  if (formatName == miscWithHeader) return "L* table";
  return formatName;
}

namespace RegularExpressionChecks {

LineMatcher compileOrFallback(const std::string& pattern, const std::function<void(const std::string&)>& log) {
  if (auto matcher = LineMatcher::compile(pattern)) return *matcher;
  if (log) log("Failed to parse " + pattern + " as a regular expression");
  return LineMatcher::always();
}

const std::vector<Check>& checksInTestingOrder(platform::Host& host) {
  // Built on first use; a pattern that fails to compile is logged through the
  // host of that first use.
  static const std::vector<Check> checks = [&host] {
    auto log = [&host](const std::string& line) { host.log(line); };
    const std::pair<const char*, const char*> table[] = {
        {"^CGATS", FormatName::CGATS},
        {"^GRAY", FormatName::tallyframe},
        {"^Name", FormatName::colorMunki},
        {"^CTI3", FormatName::CTI3},
        {"^QTR-Linearize-Data", FormatName::qtrLinearizeData},
        {"^QTR-Create-ICC", FormatName::qtrCreateICC},
        // The second alternative is not anchored: two digits, a point and up
        // to two digits anywhere in the line.
        {kLeadingOneOrNumber, FormatName::spyderPrint},
        {R"(^L\*)", FormatName::miscWithHeader},
        {"^Patch", FormatName::ribbonmeter},
        {"^Halvorin", FormatName::HLVCIELab},
        {"^Density", FormatName::density},
        {"^LGOROWLENGTH", FormatName::CGATS},
    };
    std::vector<Check> out;
    for (const auto& [pattern, name] : table) out.push_back({pattern, name, compileOrFallback(pattern, log)});
    return out;
  }();
  return checks;
}

}  // namespace RegularExpressionChecks

void showMeasurementLoadError(platform::Host& host) {
  platform::AlertRequest alert;
  alert.style = platform::AlertStyle::warning;
  alert.messageText = "Failed to Load Measurement Data";
  alert.informativeText =
      "Please check the measurement data format and load data again.\n\n"
      "If this problem continues send the measurement data file using the send feedback form in the help menu.";
  alert.buttons = {"OK"};
  host.runAlert(alert);
}

std::string MeasurementFile::detectFormat(platform::Host& host) const {
  if (!measurementData || measurementData->empty()) {
    host.logLoadFailure("no lines");
    showMeasurementLoadError(host);
    return FormatName::couldNotLoad;
  }
  const std::string& firstLine = measurementData->front();
  // A first line of megabytes is logged cut short.
  if (host.writesLog()) host.log(platform::text::abbreviated(firstLine, 1024));
  // The formats read from TAB-separated rows, whose patterns also match a
  // plain table's header separated otherwise ("L*,a*,b*", "GRAY;L*;a*;b*"):
  // their readers would find one field a row in it.
  static constexpr std::string_view kTabFormats[] = {FormatName::tallyframe,  FormatName::colorMunki,
                                                     FormatName::spyderPrint, FormatName::miscWithHeader,
                                                     FormatName::ribbonmeter, FormatName::density};
  const auto secondLine = [this]() -> std::optional<std::string_view> {
    const auto next = std::find_if(measurementData->begin() + 1, measurementData->end(),
                                   [](const std::string& line) { return !MeasurementData::isBlankLine(line); });
    if (next == measurementData->end()) return std::nullopt;
    return *next;
  };
  for (const auto& check : RegularExpressionChecks::checksInTestingOrder(host)) {
    if (!check.matcher.matches(firstLine)) continue;
    const bool tabFormat = std::find(std::begin(kTabFormats), std::end(kTabFormats), check.formatName) !=
                           std::end(kTabFormats);
    if (tabFormat && PlainTableColumns::separatedHeader(firstLine, secondLine())) return FormatName::plainTable;
    return check.formatName;
  }
  if (PlainTableColumns::of(firstLine)) return FormatName::plainTable;
  host.logLoadFailure(
      "the first line names no measurement file format this program reads; it reads CGATS, Argyll CTI3 (.ti3), "
      "its own measurement files, Tallyframe (GRAY), Ribbonmeter (Patch), SpyderPrint, QTR-Linearize-Data, "
      "QTR-Create-ICC and Density files, and tables whose header row names an L* or a density column, such as "
      "\"L*,a*,b*\" or \"Sample;L*;a*;b*\"");
  showMeasurementLoadError(host);
  return FormatName::couldNotLoad;
}

namespace {

// measurementFileFromBytes on bytes it may change: cleaned in place, so a
// long file is never held twice.
std::shared_ptr<MeasurementFile> fromOwnBytes(std::string bytes, const std::filesystem::path& path,
                                              platform::Host& host) {
  namespace text = platform::text;
  auto refuse = [&host](const std::string& reason) -> std::shared_ptr<MeasurementFile> {
    host.logLoadFailure(reason);
    showMeasurementLoadError(host);
    return nullptr;
  };
  // Lines end in line feeds, or in carriage returns where there is no line feed.
  const bool onLineFeeds = bytes.find('\n') != std::string::npos;
  const char lineBreak = onLineFeeds ? '\n' : '\r';
  if (const auto bad = text::firstInvalidUtf8(bytes))
    return refuse("line " + std::to_string(text::lineNumberAt(bytes, *bad, lineBreak)) + ": not valid UTF-8 text");

  if (text::dropByteOrderMark(bytes).size() != bytes.size()) bytes.erase(0, 3);
  // Only the Argyll files separate their fields with spaces. They are known
  // by their first line, whatever their name: a .ti3 saved as .txt or .csv,
  // or named .TI3, is one too.
  if (path.extension().string() != ".ti3" && !bytes.starts_with("CTI3")) std::erase(bytes, ' ');

  // A line break ends a line: a final one starts no new line, though the
  // split below still gives the empty text after it as a last part.
  const bool endsWithBreak = !bytes.empty() && bytes.back() == lineBreak;
  const auto lineCount =
      static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), lineBreak)) + (endsWithBreak ? 0 : 1);
  if (lineCount > kMeasurementFileLineLimit)
    return refuse(std::to_string(lineCount) + " lines, more than the limit of " +
                  std::to_string(kMeasurementFileLineLimit) + " lines");

  auto file = std::make_shared<MeasurementFile>();
  file->measurementData = text::split(bytes, std::string(1, lineBreak));
  file->filename = path.filename().string();
  return file;
}

}  // namespace

std::shared_ptr<MeasurementFile> measurementFileFromBytes(std::string_view bytes, const std::filesystem::path& path,
                                                          platform::Host& host) {
  return fromOwnBytes(std::string(bytes), path, host);
}

std::shared_ptr<MeasurementFile> loadMeasurementFile(const std::filesystem::path& path, platform::Host& host) {
  std::string error;
  auto bytes = platform::files::readWholeFile(path, &error);
  if (!bytes) {
    host.logLoadFailure(error);
    showMeasurementLoadError(host);
    return nullptr;
  }
  try {
    return fromOwnBytes(std::move(*bytes), path, host);
  } catch (const std::bad_alloc&) {
    host.logLoadFailure("not enough memory to split its lines");
    showMeasurementLoadError(host);
    return nullptr;
  }
}

std::shared_ptr<MeasurementFile> openMeasurementFile(platform::Host& host) {
  platform::OpenPanelRequest request;
  request.title = "Choose a measurement file";
  request.showsResizeIndicator = true;
  request.showsHiddenFiles = false;
  request.canChooseFiles = true;
  request.canChooseDirectories = false;
  request.allowsMultipleSelection = false;
  request.allowedTypes = {"txt", "csv", "ti3"};
  auto chosen = host.runOpenPanel(request);
  if (!chosen || chosen->empty()) return nullptr;
  return loadMeasurementFile(*chosen, host);
}

}  // namespace linearization
