#include "linearization/MeasurementData.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "linearization/MeasurementAverager.h"
#include "linearization/RBInterpolateD.h"
#include "platform/host/Host.h"
#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

Fields::Fields(std::string_view line, char separator, int64_t lineNumber)
    : line_(line), lineNumber_(static_cast<int32_t>(lineNumber)), separator_(separator) {}

std::size_t Fields::size() const {
  return static_cast<std::size_t>(std::count(line_.begin(), line_.end(), separator_)) + 1;
}

std::string_view Fields::operator[](std::size_t k) const {
  std::size_t start = 0;
  for (std::size_t i = 0; i < k; ++i) {
    const std::size_t at = line_.find(separator_, start);
    if (at == std::string_view::npos) return {};
    start = at + 1;
  }
  const std::size_t end = line_.find(separator_, start);
  return line_.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::optional<std::size_t> Fields::find(std::string_view value) const {
  std::size_t k = 0;
  for (const std::string_view field : *this) {
    if (field == value) return k;
    ++k;
  }
  return std::nullopt;
}

std::vector<std::string> Fields::strings() const { return {begin(), end()}; }

Fields::const_iterator::const_iterator(std::string_view line, char separator)
    : rest_(line), separator_(separator), done_(false) {
  take();
}

void Fields::const_iterator::take() {
  const std::size_t at = rest_.find(separator_);
  last_ = at == std::string_view::npos;
  field_ = rest_.substr(0, at);
  rest_ = last_ ? std::string_view() : rest_.substr(at + 1);
}

Fields::const_iterator& Fields::const_iterator::operator++() {
  if (last_)
    done_ = true;
  else
    take();
  return *this;
}

MeasurementData::MeasurementData(std::vector<std::string> lines, bool forLinearization, platform::Host* host)
    : forLinearization(forLinearization), rawData(std::move(lines)), host_(host) {
  measurementData2DArray = splitRows();
}

bool MeasurementData::isBlankLine(std::string_view line) { return text::trimNewlinesView(line).empty(); }

Rows MeasurementData::splitRows() {
  Rows rows;
  if (!rawData) {
    rawData.emplace();
    lineNumbers_.clear();
    return rows;
  }
  // Each kept line remembers its place in the file before the blank ones go.
  // In place: a second list of the lines would double what a long file costs.
  std::vector<std::string>& lines = *rawData;
  const bool numbered = lineNumbers_.size() == lines.size();
  std::vector<int32_t> numbers;
  numbers.reserve(lines.size());
  for (std::size_t k = 0; k < lines.size(); ++k)
    if (!isBlankLine(lines[k])) numbers.push_back(numbered ? lineNumbers_[k] : static_cast<int32_t>(k + 1));
  std::erase_if(lines, [](const std::string& line) { return isBlankLine(line); });
  lineNumbers_ = std::move(numbers);
  rows.reserve(lines.size());
  for (std::size_t k = 0; k < lines.size(); ++k) rows.emplace_back(lines[k], '\t', lineNumbers_[k]);
  return rows;
}

int64_t MeasurementData::lineNumberOf(std::size_t index) const {
  return index < lineNumbers_.size() ? lineNumbers_[index] : static_cast<int64_t>(index) + 1;
}

int64_t MeasurementData::guessSamplesPerStep() const {
  const auto n = static_cast<int64_t>(measuredLab.size());
  // The usual wedges, most steps first (384 or 640 readings: a 128-step
  // wedge measured three or five times), then the smallest wedge there is.
  if (const auto usual = usualWedgeSize(n)) return usual->second;
  constexpr int64_t kSmallestWedge = 11;
  return n > 0 && n % kSmallestWedge == 0 ? n / kSmallestWedge : 0;
}

void MeasurementData::readMeasurements() {
  measuredLab = parseRows(measurementData2DArray);
  finishRead(false);
}

void MeasurementData::finishRead(bool regroup) {
  if (failed()) return;
  if (!forLinearization) {
    if (regroup) measuredLab = regroupTwentyOneSteps(measuredLab);
    return;
  }
  averageAndInterpolate();
}

std::vector<CIELab> MeasurementData::parseRows(const Rows&) { return {}; }

void MeasurementData::averageAndInterpolate(bool keepMeasured, const StepNames* names) {
  {
    // Moved in where the averaged readings replace them: a long list is not
    // held twice.
    // Every reader lists what it read before the steps are found in it.
    if (logging()) log("Measured CIELab: " + describe(measuredLab));
    std::vector<CIELab> readings = keepMeasured ? measuredLab : std::move(measuredLab);
    const std::size_t count = readings.size();
    MeasurementAverager averager = names ? MeasurementAverager(std::move(readings), *names, layoutRequest)
                                         : MeasurementAverager(std::move(readings), layoutRequest);
    if (!averager.refusal.empty()) {
      failedOnRequest_ = averager.refusalKind == LayoutDecision::Kind::usage;
      requestDoesNotFit_ = !layoutRequest.empty();
      layoutChoices_ = std::move(averager.choices);
      fail(averager.refusal, averager.blame ? lineOfReading(static_cast<std::size_t>(*averager.blame), count) : 0);
      return;
    }
    samplesPerStep = averager.targetSize > 0 ? averager.samplesPerStep : 0;
    layout = std::move(averager.layout);
    layoutWarnings = headerWarnings_;
    layoutWarnings.insert(layoutWarnings.end(), averager.warnings.begin(), averager.warnings.end());
    // Each reading left out, named with its line; past a few, how many more.
    constexpr std::size_t kLeftOutNamed = 3;
    for (std::size_t k = 0; k < averager.leftOut.size() && k < kLeftOutNamed; ++k) {
      const LeftOut& out = averager.leftOut[k];
      const int64_t line = lineOfReading(static_cast<std::size_t>(out.reading), count);
      layoutWarnings.push_back((line > 0 ? "line " + std::to_string(line) + ": " : "") + out.why);
    }
    if (averager.leftOut.size() > kLeftOutNamed)
      layoutWarnings.push_back(std::to_string(averager.leftOut.size() - kLeftOutNamed) +
                               " more readings were left out alike");
    averagedMeasurements = std::move(averager.averagedMeasurements);
    averagedPositions = std::move(averager.positions);
    leftOut = std::move(averager.leftOut);
    stepSamples = std::move(averager.stepSamples);
  }
  std::vector<int32_t>().swap(readingLines_);
  if (!keepMeasured) measuredLab = averagedMeasurements;
  interpolateAveraged();
}

void MeasurementData::noteReadingLine(int64_t line) { readingLines_.push_back(static_cast<int32_t>(line)); }

int64_t MeasurementData::lineOfReading(std::size_t k, std::size_t count) const {
  // A reader that read its rows twice (sorted the second time) noted both;
  // the last `count` are the readings given to the averager.
  if (readingLines_.size() < count || k >= count) return 0;
  return readingLines_[readingLines_.size() - count + k];
}

bool MeasurementData::repeatsHeader(const Fields& row) {
  if (readingLines_.empty() || !rawData) return false;
  if (headerLines_.empty()) {
    // The header: the lines before the first reading's.
    const auto first = std::lower_bound(lineNumbers_.begin(), lineNumbers_.end(), readingLines_.front());
    for (auto at = lineNumbers_.begin(); at != first; ++at)
      headerLines_.emplace_back(
          text::trimWhitespaceAndNewlinesView((*rawData)[static_cast<std::size_t>(at - lineNumbers_.begin())]));
    if (headerLines_.empty()) headerLines_.emplace_back();
  }
  const std::string_view line = text::trimWhitespaceAndNewlinesView(row.line());
  const auto same = std::find(headerLines_.begin(), headerLines_.end(), line);
  if (line.empty() || same == headerLines_.end()) return false;
  constexpr std::size_t kWarned = 3;
  if (headerWarnings_.size() < kWarned)
    headerWarnings_.push_back("line " + std::to_string(row.lineNumber()) + " repeats line " +
                              std::to_string(lineNumbers_[static_cast<std::size_t>(same - headerLines_.begin())]) +
                              " of the file's header (two files joined?); it was skipped");
  return true;
}

void MeasurementData::interpolateAveraged() {
  interpolatedMeasurements = interpolateTo256(averagedMeasurements, averagedPositions);
  if (interpolatedMeasurements.empty()) fail("no readings in the measurement file");
}

void MeasurementData::fail(const std::string& reason, int64_t line) {
  failed_ = true;
  failureReason_ = line > 0 ? "line " + std::to_string(line) + ": " + reason : reason;
  measuredLab.clear();
  averagedMeasurements.clear();
  averagedPositions.clear();
  leftOut.clear();
  interpolatedMeasurements.clear();
  stepSamples = {};
  std::vector<int32_t>().swap(readingLines_);
  if (host_ != nullptr) host_->log("Measurement data not read: " + failureReason_);
}

bool MeasurementData::logging() const {
  return host_ != nullptr && loggedBytes_ <= kReaderLogLimit && host_->writesLog();
}

void MeasurementData::log(const std::string& line) const {
  if (!logging()) return;
  loggedBytes_ += line.size() + 1;
  if (loggedBytes_ <= kReaderLogLimit) {
    host_->log(line);
    return;
  }
  host_->log("The diagnostic lines of this read stop here: they would pass " + std::to_string(kReaderLogLimit) +
             " bytes");
}

bool MeasurementData::holdsThreeFields(const Fields& row, int64_t index) {
  return index >= 0 && index <= static_cast<int64_t>(row.size()) - 3;
}

bool MeasurementData::fieldIsEmpty(const Fields& row, int64_t index) {
  return index >= 0 && index < static_cast<int64_t>(row.size()) && row[static_cast<std::size_t>(index)].empty();
}

std::optional<CIELab> MeasurementData::readingFromFields(const Fields& row, int64_t index, double defaultL,
                                                         bool decimalComma, const DefaultUsed& onDefault) {
  if (!holdsThreeFields(row, index)) return std::nullopt;
  const auto value = [&](int which, double fallback) {
    const std::string_view raw = row[static_cast<std::size_t>(index + which)];
    const std::string field = decimalComma ? text::replaceAll(raw, ",", ".") : std::string(raw);
    if (const auto number = text::parseDouble(text::trimWhitespaceAndNewlinesView(field))) return *number;
    if (onDefault) onDefault(which, raw, fallback);
    return fallback;
  };
  return CIELab{value(0, defaultL), value(1, 0.0), value(2, 0.0)};
}

std::optional<CIELab> MeasurementData::readingAt(const Fields& row, int64_t index, double defaultL, bool decimalComma) {
  static const char* const names[] = {"L*", "a*", "b*"};
  auto reading = readingFromFields(row, index, defaultL, decimalComma, [&](int which, std::string_view text, double value) {
    noteDefault(row.lineNumber(), index + which, names[which], text, value);
  });
  if (reading) noteReadingLine(row.lineNumber());
  return reading;
}

void MeasurementData::noteDefault(int64_t line, int64_t column, const std::string& name, std::string_view text,
                                  double value) {
  if (defaults_.count++ == 0) {
    defaults_.firstLine = line;
    defaults_.first = name + " (field " + std::to_string(column + 1) + ") reads " + quotedField(text) +
                      ", not a number; read as " + text::shortestDescription(value);
  }
  defaults_.lastLine = line;
}

void MeasurementData::forgetDefaults() { defaults_ = {}; }

std::vector<std::string> MeasurementData::defaultWarnings() const {
  if (defaults_.count == 0) return {};
  std::vector<std::string> warnings{"line " + std::to_string(defaults_.firstLine) + ": " + defaults_.first};
  const int64_t more = defaults_.count - 1;
  if (more == 1)
    warnings.push_back("1 more field, on line " + std::to_string(defaults_.lastLine) +
                       ", is not a number either and was read as its default");
  else if (more > 1)
    warnings.push_back(std::to_string(more) + " more fields, up to line " + std::to_string(defaults_.lastLine) +
                       ", are not numbers either and were read as their defaults");
  return warnings;
}

std::string quotedField(std::string_view field) {
  constexpr std::size_t kShown = 40;
  const bool cut = field.size() > kShown;
  return "\"" + text::printable(field.substr(0, kShown)) + (cut ? "...\"" : "\"");
}

std::vector<CIELab> interpolateTo256(const std::vector<CIELab>& readings, const std::vector<double>& positions) {
  constexpr std::size_t kCount = 256;
  if (readings.empty()) return {};
  if (readings.size() == 1) return std::vector<CIELab>(kCount, readings.front());

  std::vector<double> steps(readings.size());
  if (positions.size() == readings.size())
    steps = positions;
  else
    for (std::size_t j = 0; j < steps.size(); ++j) steps[j] = static_cast<double>(j);

  // One channel at a time, so that only one list of the readings' values is
  // held beside the spline's own.
  std::vector<std::vector<double>> resampled;
  std::vector<double> channel(readings.size());
  for (double CIELab::*field : {&CIELab::L, &CIELab::a, &CIELab::b}) {
    for (std::size_t j = 0; j < readings.size(); ++j) channel[j] = readings[j].*field;
    resampled.push_back(RBInterpolateD(steps, channel, "Spline", static_cast<double>(kCount)).outputArray);
  }
  std::vector<CIELab> result;
  for (std::size_t k = 0; k < resampled[0].size(); ++k) {
    result.push_back(CIELab{resampled[0][k], resampled[1][k], resampled[2][k]});
  }
  return result;
}

std::vector<std::vector<double>> separateLabArrays(const std::vector<CIELab>& readings) {
  std::vector<std::vector<double>> channels(3);
  for (auto& channel : channels) channel.reserve(readings.size());
  for (const CIELab& reading : readings) {
    channels[0].push_back(reading.L);
    channels[1].push_back(reading.a);
    channels[2].push_back(reading.b);
  }
  return channels;
}

std::vector<CIELab> regroupTwentyOneSteps(const std::vector<CIELab>& readings) {
  constexpr std::size_t kSteps = 21;
  const std::size_t passes = readings.size() / kSteps;
  std::vector<CIELab> grouped;
  if (passes == 0) return grouped;
  for (std::size_t step = 0; step < kSteps; ++step) {
    for (std::size_t pass = 0; pass < passes; ++pass) grouped.push_back(readings[step + kSteps * pass]);
  }
  return grouped;
}

}  // namespace linearization
