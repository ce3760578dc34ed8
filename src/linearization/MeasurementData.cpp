#include "linearization/MeasurementData.h"

#include <utility>

#include "linearization/MeasurementAverager.h"
#include "linearization/RBInterpolateD.h"
#include "platform/host/Host.h"
#include "platform/text/Text.h"

namespace linearization {

namespace text = platform::text;

MeasurementData::MeasurementData(std::vector<std::string> lines, bool forLinearization, platform::Host* host)
    : forLinearization(forLinearization), rawData(std::move(lines)), host_(host) {
  measurementData2DArray = splitRows();
}

bool MeasurementData::isBlankLine(const std::string& line) { return text::trimNewlines(line).empty(); }

Rows MeasurementData::splitRows() {
  Rows rows;
  if (!rawData) {
    rawData.emplace();
    return rows;
  }
  // In place: a second list of the lines would double what a long file costs.
  std::erase_if(*rawData, isBlankLine);
  rows.reserve(rawData->size());
  for (const std::string& line : *rawData) rows.push_back(text::split(line, "\t"));
  return rows;
}

int64_t MeasurementData::guessSamplesPerStep() const {
  const auto n = static_cast<int64_t>(measuredLab.size());
  if (n % 256 == 0) return n / 256;
  if (n % 129 == 0) return n / 129;
  if (n % 128 == 0) return 1;
  for (int64_t steps : {101, 86, 51, 21, 11}) {
    if (n % steps == 0) return n / steps;
  }
  return 0;
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

void MeasurementData::averageAndInterpolate(bool keepMeasured) {
  samplesPerStep = guessSamplesPerStep();
  std::vector<CIELab> perStep = measuredLab;
  if (samplesPerStep >= 2) {
    perStep = MeasurementAverager(measuredLab).averagedMeasurements;
    // The guess allows counts (22, 33, 44 readings) that the averager has no
    // wedge layout for.
    if (perStep.empty()) {
      fail("no wedge layout fits " + std::to_string(measuredLab.size()) + " readings");
      return;
    }
  }
  if (!keepMeasured) measuredLab = perStep;
  averagedMeasurements = perStep;
  interpolateAveraged();
}

void MeasurementData::interpolateAveraged() {
  interpolatedMeasurements = interpolateTo256(averagedMeasurements);
  if (interpolatedMeasurements.empty()) fail("no readings in the measurement file");
}

void MeasurementData::fail(const std::string& reason) {
  failed_ = true;
  failureReason_ = reason;
  measuredLab.clear();
  averagedMeasurements.clear();
  interpolatedMeasurements.clear();
  log("Measurement data not read: " + reason);
}

void MeasurementData::log(const std::string& line) const {
  if (host_ != nullptr) host_->log(line);
}

bool MeasurementData::holdsThreeFields(const std::vector<std::string>& row, int64_t index) {
  return index >= 0 && index <= static_cast<int64_t>(row.size()) - 3;
}

bool MeasurementData::fieldIsEmpty(const std::vector<std::string>& row, int64_t index) {
  return index >= 0 && index < static_cast<int64_t>(row.size()) && row[static_cast<std::size_t>(index)].empty();
}

std::optional<CIELab> MeasurementData::readingFromFields(const std::vector<std::string>& row, int64_t index,
                                                         double defaultL, bool decimalComma) {
  if (!holdsThreeFields(row, index)) return std::nullopt;
  const auto value = [&](int64_t at, double fallback) {
    std::string field = row[static_cast<std::size_t>(at)];
    if (decimalComma) field = text::replaceAll(field, ",", ".");
    return text::parseDouble(text::trimWhitespaceAndNewlines(field)).value_or(fallback);
  };
  return CIELab{value(index, defaultL), value(index + 1, 0.0), value(index + 2, 0.0)};
}

std::vector<CIELab> interpolateTo256(const std::vector<CIELab>& readings) {
  constexpr std::size_t kCount = 256;
  if (readings.empty()) return {};
  if (readings.size() == 1) return std::vector<CIELab>(kCount, readings.front());

  const std::vector<std::vector<double>> channels = separateLabArrays(readings);
  std::vector<double> steps(readings.size());
  for (std::size_t j = 0; j < steps.size(); ++j) steps[j] = static_cast<double>(j);

  std::vector<std::vector<double>> resampled;
  for (const std::vector<double>& channel : channels) {
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
