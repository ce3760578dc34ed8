#include "linearization/readers/MeasurementFile.h"

#include <new>

// g++ 12 warns about its own <regex> internals at -O1 and above (a known
// false positive in std::function's copy); keep the warning for our code.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop

#include "platform/files/Files.h"
#include "platform/text/Text.h"

namespace linearization {

struct LineMatcher::Regex {
  std::regex re;
};

std::optional<LineMatcher> LineMatcher::compile(const std::string& pattern) {
  try {
    LineMatcher m;
    m.regex_ = std::make_shared<const Regex>(Regex{std::regex(pattern, std::regex::ECMAScript)});
    return m;
  } catch (const std::regex_error&) {
    return std::nullopt;
  }
}

bool LineMatcher::matches(const std::string& line) const {
  if (!regex_) return true;
  return std::regex_search(line, regex_->re);
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
        {R"(^1|([0-9]{2})\.([0-9]{0,2}))", FormatName::spyderPrint},
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
  host.log(firstLine);
  for (const auto& check : RegularExpressionChecks::checksInTestingOrder(host)) {
    if (check.matcher.matches(firstLine)) return check.formatName;
  }
  host.logLoadFailure("the first line names no measurement file format this program reads");
  showMeasurementLoadError(host);
  return FormatName::couldNotLoad;
}

std::shared_ptr<MeasurementFile> measurementFileFromBytes(std::string_view bytes, const std::filesystem::path& path,
                                                          platform::Host& host) {
  namespace text = platform::text;
  if (!text::isValidUtf8(bytes)) {
    host.logLoadFailure("not valid UTF-8 text");
    showMeasurementLoadError(host);
    return nullptr;
  }
  std::string cleaned(text::dropByteOrderMark(bytes));

  auto file = std::make_shared<MeasurementFile>();
  // Compared exactly: "TI3" counts as another extension and loses its spaces.
  if (path.extension().string() != ".ti3") cleaned = text::removeAll(cleaned, ' ');

  auto lines = text::split(cleaned, "\n");
  if (lines.size() < 2) lines = text::split(cleaned, "\r");

  file->measurementData = std::move(lines);
  file->filename = path.filename().string();
  return file;
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
    return measurementFileFromBytes(*bytes, path, host);
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
