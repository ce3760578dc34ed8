#include "linearization/v2LinearizationDataModel.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <new>
#include <utility>

#include "linearization/readers/ArgyllCIELab.h"
#include "linearization/readers/CgatsCIELab.h"
#include "linearization/readers/DensityMeasurementFile.h"
#include "linearization/readers/HLVCIELabFile.h"
#include "linearization/MeasurementData.h"
#include "linearization/readers/MiscMeasurementDataFile.h"
#include "linearization/readers/PlainTableFile.h"
#include "linearization/readers/QTRCreateICCCIELabFile.h"
#include "linearization/readers/QTRLinearizeDataCIELabFile.h"
#include "linearization/Ramps.h"
#include "linearization/readers/RibbonmeterCIELabFile.h"
#include "linearization/SaveText.h"
#include "linearization/readers/SpyderPrintFile.h"
#include "linearization/readers/TallyframeCIELabFile.h"
#include "linearization/v2MovingAverager.h"
#include "linearization/v2SplineSmoother.h"
#include "platform/text/Text.h"

namespace linearization {

namespace {

enum class OpenedList { averaged, measured };

struct ReaderEntry {
  std::function<std::unique_ptr<MeasurementData>(std::vector<std::string>, platform::Host*)> make;
  OpenedList opened;
};

template <class Reader>
ReaderEntry entry(OpenedList opened) {
  return {[](std::vector<std::string> lines, platform::Host* host) -> std::unique_ptr<MeasurementData> {
            return std::make_unique<Reader>(std::move(lines), true, host);
          },
          opened};
}

// The reader of each format name, and which of its lists holds the readings
// as opened.
const std::map<std::string, ReaderEntry>& readerTable() {
  static const std::map<std::string, ReaderEntry> table = {
      {FormatName::CGATS, entry<CgatsCIELab>(OpenedList::averaged)},
      {FormatName::CTI3, entry<ArgyllCIELab>(OpenedList::averaged)},
      {FormatName::tallyframe, entry<TallyframeCIELabFile>(OpenedList::averaged)},
      {FormatName::spyderPrint, entry<SpyderPrintFile>(OpenedList::measured)},
      {FormatName::qtrLinearizeData, entry<QTRLinearizeDataCIELabFile>(OpenedList::measured)},
      {FormatName::qtrCreateICC, entry<QTRCreateICCCIELabFile>(OpenedList::measured)},
      {FormatName::ribbonmeter, entry<RibbonmeterCIELabFile>(OpenedList::measured)},
      {FormatName::miscWithHeader, entry<MiscMeasurementDataFile>(OpenedList::measured)},
      {FormatName::HLVCIELab, entry<HLVCIELabFile>(OpenedList::averaged)},
      {FormatName::density, entry<DensityMeasurementFile>(OpenedList::measured)},
      {FormatName::plainTable, entry<PlainTableFile>(OpenedList::averaged)},
  };
  return table;
}

}  // namespace

v2LinearizationDataModel::v2LinearizationDataModel()
    : correctionCurve(std::make_shared<DigitalNegativeCorrectionCurve>()) {}

bool v2LinearizationDataModel::readMeasurementFile(MeasurementFile& file, platform::Host& host) {
  measurementLayoutChoices.clear();
  if (!file.measurementData) {
    showMeasurementLoadError(host);
    return false;
  }
  const std::string name = file.detectFormat(host);
  if (name == FormatName::couldNotLoad) return false;  // detectFormat has shown the alert

  const auto& table = readerTable();
  const auto found = table.find(name);
  if (found == table.end()) {
    // A format recognised by its first line but without a reader of its own.
    host.logLoadFailure("No reader for " + name);
    showMeasurementLoadError(host);
    return false;
  }
  std::unique_ptr<MeasurementData> reader;
  try {
    // The lines move to the reader rather than being copied: nothing of the
    // file outlives the load.
    reader = found->second.make(std::exchange(*file.measurementData, {}), &host);
    reader->layoutRequest = measurementLayoutRequest;
    reader->readMeasurements();
  } catch (const std::bad_alloc&) {
    host.logLoadFailure("not enough memory to read its readings");
    showMeasurementLoadError(host);
    return false;
  }
  measurementRequestRefused = reader->failedOnRequest();
  if (reader->failed() || reader->interpolatedMeasurements.empty()) {
    measurementLayoutChoices = reader->layoutChoices();
    host.logLoadFailure(reader->failureReason().empty() ? "no readings" : reader->failureReason());
    // What the user asked for cannot apply to the file: the caller says so;
    // the file itself is readable.
    if (!measurementRequestRefused && !reader->requestDoesNotFit()) showMeasurementLoadError(host);
    return false;
  }

  for (const auto& warning : reader->defaultWarnings()) host.logLoadWarning(warning);
  for (const auto& warning : reader->layoutWarnings) host.logLoadWarning(warning);
  measurementLayout = reader->layout;
  measurementSamples = std::move(reader->stepSamples);
  measurementLeftOut = std::move(reader->leftOut);

  const auto& opened =
      found->second.opened == OpenedList::averaged ? reader->averagedMeasurements : reader->measuredLab;
  openedOriginalMeasurements = opened;
  rawMeasurements = opened;
  rawPositions = opened.size() == reader->averagedPositions.size() ? reader->averagedPositions : std::vector<double>{};
  interpolatedMeasurements = reader->interpolatedMeasurements;
  const double L = interpolatedMeasurements.back().L;
  matteDensityRange = L > 10.0;
  dmax = densityOfLstar(L);
  separatedLABArrays = separateLabArrays(interpolatedMeasurements);
  measurementDataLoadingError = false;
  return true;
}

void v2LinearizationDataModel::processMeasurements() {
  interpolatedMeasurements = interpolateTo256(rawMeasurements, rawPositions);
  separatedLABArrays = separateLabArrays(interpolatedMeasurements);
  if (!interpolatedMeasurements.empty()) dmax = densityOfLstar(interpolatedMeasurements.back().L);
  resetLinearization();
  updateLinearization();
}

std::optional<std::vector<std::vector<double>>> v2LinearizationDataModel::smoothMeasurements() {
  if (separatedLABArrays.empty()) return std::nullopt;
  std::vector<std::vector<double>> smoothed;
  for (const auto& channel : separatedLABArrays) {
    const auto averaged = v2MovingAverager(channel, avgWindowSize).average();
    smoothed.push_back(v2SplineSmoother(averaged, splinePercent).smoothedValues);
  }
  // A channel with no values gives nothing to build on.
  if (smoothed.size() < 3 || smoothed[0].empty()) return std::nullopt;
  return smoothed;
}

void v2LinearizationDataModel::resetLinearization() {
  auto s = smoothMeasurements();
  if (!s) return;
  smoothedMeasuredValues = *s;
  manualCurve = makeRamp(256, 0, 100);
  std::reverse(manualCurve.begin(), manualCurve.end());
  correctionCurve->densitiesToCorrect = (*s)[0];
  correctionCurve->linearTargetArray = correctionCurve->makeLinearTarget();
}

void v2LinearizationDataModel::updateLinearization() {
  auto s = smoothMeasurements();
  if (!s) return;
  smoothedMeasuredValues = *s;
  smoothedMeasurements = zipLabArrays(*s);
  correctionCurve->densitiesToCorrect = (*s)[0];
  correctionCurve->linearTargetArray = correctionCurve->makeLinearTarget();
  makeFinalTarget();
  correctionCurve->buildCorrectionCurve();
  if (correctionCurve->correctionCurveArray)
    correctedMeasurements = predictCorrectedMeasurements(*correctionCurve->correctionCurveArray, smoothedMeasurements);
}

void v2LinearizationDataModel::makeFinalTarget() {
  std::vector<double> target;
  target.reserve(manualCurve.size());
  for (double m : manualCurve) target.push_back(correctionCurve->intercept + correctionCurve->slope * m);
  std::reverse(target.begin(), target.end());
  correctionCurve->finalTargetArray = std::move(target);
}

int64_t v2LinearizationDataModel::binarySearchIndex(const std::vector<double>& steps, double x) {
  const int64_t n = static_cast<int64_t>(steps.size());
  if (n < 2 || std::isnan(x) || x < steps.front()) return 0;
  const int64_t i = static_cast<int64_t>(std::upper_bound(steps.begin(), steps.end(), x) - steps.begin()) - 1;
  return std::min(i, n - 2);
}

std::vector<CIELab> v2LinearizationDataModel::predictCorrectedMeasurements(const std::vector<double>& correction,
                                                                          const std::vector<CIELab>& smoothed) const {
  std::vector<CIELab> out;
  if (stepArray.size() < 2 || smoothed.size() < stepArray.size()) return out;
  out.reserve(correction.size());
  for (double x : correction) {
    const int64_t i = binarySearchIndex(stepArray, x);
    const double s0 = stepArray[i], s1 = stepArray[i + 1];
    auto at = [&](double v0, double v1) { return v0 + ((v1 - v0) / (s1 - s0)) * (x - s0); };
    out.push_back(CIELab{at(smoothed[i].L, smoothed[i + 1].L), at(smoothed[i].a, smoothed[i + 1].a),
                         at(smoothed[i].b, smoothed[i + 1].b)});
  }
  return out;
}

std::shared_ptr<BinaryLinearization> v2LinearizationDataModel::linearizeQuad(platform::Host* host) {
  if (!correctionCurve->correctionCurveArray) {
    if (host) host->log("Failed to create correction curve");
    return nullptr;
  }
  if (!quadData || !quadData->inputQuadCurveArray) return nullptr;
  // A rejected .quad has no channels, and a manual curve of another length
  // gives a correction of another length: neither can be applied.
  if (!BinaryLinearization::isApplicable(*correctionCurve->correctionCurveArray, *quadData->inputQuadCurveArray))
    return nullptr;
  return std::make_shared<BinaryLinearization>(*correctionCurve->correctionCurveArray,
                                               *quadData->inputQuadCurveArray);
}

void v2LinearizationDataModel::exportMeasurements(platform::Host& host) {
  if (smoothedMeasurements.empty()) return;
  saveTextThroughPanel(host, "txt", measurementDataFileText(smoothedMeasurements));
}

std::vector<CIELab> zipLabArrays(const std::vector<std::vector<double>>& lab) {
  std::vector<CIELab> out;
  if (lab.size() < 3) return out;
  const size_t n = std::min({lab[0].size(), lab[1].size(), lab[2].size()});
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) out.push_back(CIELab{lab[0][i], lab[1][i], lab[2][i]});
  return out;
}

std::vector<CIELab> interpolateMeasurements(const std::vector<CIELab>& readings) {
  return interpolateTo256(readings);
}

std::string measurementDataFileText(const std::vector<CIELab>& readings) {
  using platform::text::fixedDecimal;
  std::vector<std::string> lines{"Halvorin Measurement Data File", "Step\tLab_L\tLab_A\tLab_B"};
  lines.reserve(readings.size() + 2);
  for (size_t i = 0; i < readings.size(); ++i) {
    const auto& r = readings[i];
    lines.push_back(std::to_string(i + 1) + "\t" + fixedDecimal(r.L, 3) + "\t" + fixedDecimal(r.a, 3) + "\t" +
                    fixedDecimal(r.b, 3));
  }
  return platform::text::join(lines, "\n");
}

double densityOfLstar(double L) {
  const double Y = L < 8.0 ? L * 27.0 / 24389.0 : std::pow((L + 16.0) / 116.0, 3.0);
  return -std::log10(Y);
}

void prepareLikeMainWindow(v2LinearizationDataModel& document) {
  document.stepArray = makeRamp(256, 0, 100);
  std::vector<CIELab> defaults{{99.99, 0, 0}};
  for (int L = 95; L >= 5; L -= 5) defaults.push_back({static_cast<double>(L), 0, 0});
  defaults.push_back({0.01, 0, 0});
  document.rawMeasurements = std::move(defaults);
  document.processMeasurements();
}

int64_t avgWindowSizeForControl(double value) {
  const double v = std::clamp(std::isnan(value) ? 0.0 : value, 0.0, 100.0);
  return static_cast<int64_t>(0.64 * v);
}

double splinePercentForControl(double value) {
  const double v = std::clamp(std::isnan(value) ? 0.0 : value, 0.0, 100.0);
  return (100.0 - v) / 100.0;
}

}  // namespace linearization
