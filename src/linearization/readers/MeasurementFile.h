#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/Host.h"

namespace linearization {

// The format names detectFormat gives; the document picks its reader by them.
namespace FormatName {
inline constexpr const char* CGATS = "CGATS";
inline constexpr const char* tallyframe = "tallyframe";
inline constexpr const char* colorMunki = "ColorMunki File";
inline constexpr const char* CTI3 = "CTI3";
inline constexpr const char* qtrLinearizeData = "QTR-Linearize-Data-out file";
inline constexpr const char* qtrCreateICC = "QTR-Create-ICC File";
inline constexpr const char* spyderPrint = "SpyderPrint File";
inline constexpr const char* miscWithHeader = "miscWithHeader";
inline constexpr const char* ribbonmeter = "Ribbonmeter File";
inline constexpr const char* HLVCIELab = "HLVCIELab";
inline constexpr const char* density = "Density File";
inline constexpr const char* plainTable = "plain table";
inline constexpr const char* couldNotLoad = "Could not load file";

// How the summary names a format: the names above, but for the table whose
// header is "L*" (TAB-separated), which it calls an "L* table".
std::string shown(const std::string& formatName);
}  // namespace FormatName

// A first-line test with the meaning of an ECMAScript regular-expression
// search over the line, without its cost on a long line: a pattern that is
// "^" and literal text compares the line's start; the one unanchored pattern
// of the format table (a leading 1, or two digits and a point anywhere) is a
// single scan of the line; any other pattern runs std::regex. The ".*"
// fallback for a pattern that does not compile is a plain always-true test.
class LineMatcher {
 public:
  // Nothing when the pattern does not compile.
  static std::optional<LineMatcher> compile(const std::string& pattern);
  static LineMatcher always() { return LineMatcher(); }

  bool matches(std::string_view line) const;
  bool isFallback() const { return kind_ == Kind::always; }

 private:
  enum class Kind { always, prefix, leadingOneOrNumber, regex };
  struct Regex;
  LineMatcher() = default;
  Kind kind_ = Kind::always;
  std::string prefix_;
  std::shared_ptr<const Regex> regex_;
};

// The format patterns, built once on first use and kept for the process.
namespace RegularExpressionChecks {
// Compiles `pattern`; when it does not compile, logs
// "Failed to parse <pattern> as a regular expression" and returns the
// always-true fallback.
LineMatcher compileOrFallback(const std::string& pattern, const std::function<void(const std::string&)>& log);

// The twelve patterns with their format names, in the order they are tested.
struct Check {
  std::string pattern;
  const char* formatName;
  LineMatcher matcher;
};
const std::vector<Check>& checksInTestingOrder(platform::Host& host);
}  // namespace RegularExpressionChecks

// The most lines a measurement file may have: far more than any wedge's file
// (a few thousand), and few enough that any file under the input size limit
// is read, or refused, in under 1 GiB of memory. A line is the text up to and
// including its line break (LF, CRLF, or CR in a file without LF), and the
// text after the last break when there is any, so a file of exactly this many
// line-ended lines is read. A file of more lines is refused before they are
// split.
inline constexpr std::size_t kMeasurementFileLineLimit = 4'000'000;

// A measurement file as loaded: its name and its cleaned lines.
class MeasurementFile {
 public:
  virtual ~MeasurementFile() = default;

  std::optional<std::string> filename;
  std::optional<std::vector<std::string>> measurementData = std::vector<std::string>{};

  // Names the format from the first line. Logs that line; when nothing
  // matches (or there are no lines at all) shows the load-error alert and
  // returns "Could not load file". A first line that no pattern matches but
  // that names an L* or a density column is a plain table's header, and so
  // is one separated by ';' or ',' that a pattern of a TAB-separated format
  // would take (GRAY, Name, L*, Patch, Density, or a number: "L*,a*,b*").
  virtual std::string detectFormat(platform::Host& host) const;
};

// Runs the open panel ("Choose a measurement file": .txt, .csv, .ti3) and
// loads the chosen file. Nothing when the user cancels; nothing after the
// load-error alert when the file cannot be read or is not UTF-8.
std::shared_ptr<MeasurementFile> openMeasurementFile(platform::Host& host);

// Loads a file the user chose or dropped, by the same rules.
std::shared_ptr<MeasurementFile> loadMeasurementFile(const std::filesystem::path& path, platform::Host& host);

// Cleans and splits the bytes of a measurement file:
// - the bytes must be UTF-8 (else the alert, naming the line, and nothing);
// - one leading byte-order mark is dropped;
// - unless the first line begins "CTI3" or the extension is exactly "ti3",
//   every space (U+0020) is removed, since only the Argyll files separate
//   their fields with spaces;
// - the text is split on line feeds, or on carriage returns when that gives
//   fewer than two parts; empty parts stay. More than
//   kMeasurementFileLineLimit lines are refused (the alert, and nothing).
std::shared_ptr<MeasurementFile> measurementFileFromBytes(std::string_view bytes, const std::filesystem::path& path,
                                                          platform::Host& host);

// The modal "Failed to Load Measurement Data" alert.
void showMeasurementLoadError(platform::Host& host);

}  // namespace linearization
