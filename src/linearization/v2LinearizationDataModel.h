#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "linearization/BinaryLinearization.h"
#include "linearization/CIELab.h"
#include "linearization/DigitalNegativeCorrectionCurve.h"
#include "linearization/MeasurementAverager.h"
#include "linearization/MeasurementData.h"
#include "linearization/readers/MeasurementFile.h"
#include "linearization/QuadDataFile.h"
#include "platform/host/Host.h"

namespace linearization {

// One linearization: the readings at every stage, Dmax, the two smoothing
// settings, the manual curve, the correction curve and the loaded .quad.
class v2LinearizationDataModel {
 public:
  v2LinearizationDataModel();
  virtual ~v2LinearizationDataModel() = default;

  std::shared_ptr<DigitalNegativeCorrectionCurve> correctionCurve;
  std::shared_ptr<QuadDataFile> quadData;
  bool measurementDataLoadingError = true;
  std::optional<std::vector<InkCurve>> outputQuadValues;
  double dmax = 0;
  std::vector<CIELab> openedOriginalMeasurements;
  std::vector<CIELab> rawMeasurements;
  // Where each of rawMeasurements lies between paper white (0) and the
  // darkest step (1); empty where they lie evenly.
  std::vector<double> rawPositions;
  // The readings the last file's read left out of the means, where they lie.
  std::vector<LeftOut> measurementLeftOut;
  // How the last file's readings were taken as the wedge's steps, and what
  // the user said of it for the next file.
  WedgeLayout measurementLayout;
  LayoutRequest measurementLayoutRequest;
  // The last load failed because the layout asked for cannot apply to the
  // file (its step column names another count).
  bool measurementRequestRefused = false;
  // The ways to read the file that the last load's failure offered, where
  // the readings fit several layouts (each the request that reads it so);
  // empty after a load that did not fail so.
  std::vector<LayoutChoice> measurementLayoutChoices;
  // The L* of each step's samples of the last file, where its steps were
  // averaged from several (empty otherwise): rawMeasurements holds their means.
  StepSamples measurementSamples;
  std::vector<CIELab> interpolatedMeasurements;
  std::vector<CIELab> smoothedMeasurements;
  std::vector<CIELab> correctedMeasurements;
  std::vector<std::vector<double>> separatedLABArrays;
  std::vector<std::vector<double>> smoothedMeasuredValues;
  int64_t avgWindowSize = 0;
  double splinePercent = 1.0;
  std::vector<double> manualCurve;
  bool matteDensityRange = false;
  std::vector<double> stepArray;

  // Reads the file through the reader of its format, which takes the file's
  // lines over (the file keeps none; nothing of it outlives the load). Returns
  // whether it loaded; a failed load (no lines, an unknown format, a format
  // without a reader, a reader that failed or gave no readings) shows "Failed
  // to Load Measurement Data" exactly once and leaves every field as it was
  // (but measurementRequestRefused and measurementLayoutChoices);
  // readings that do not fit the layout the user asked for
  // (measurementLayoutRequest) are no fault of the file's format, and show
  // no alert: the host's load failure says why.
  // Reading fields that were not numbers, and were read as the reader's
  // defaults, are told to the host as load warnings.
  virtual bool readMeasurementFile(MeasurementFile& file, platform::Host& host);
  // Everything again from rawMeasurements.
  virtual void processMeasurements();
  // Smooths and restores the default manual curve and the straight target.
  virtual void resetLinearization();
  // Smoothed L*, a*, b* (256 each); nothing when there is nothing to smooth.
  virtual std::optional<std::vector<std::vector<double>>> smoothMeasurements();
  // Smooths, rebuilds the targets and the correction curve and predicts the
  // corrected readings (kept from before when no curve could be built).
  virtual void updateLinearization();
  // The correction curve's final target from the manual curve.
  virtual void makeFinalTarget();
  // The readings the print should give after correction, one per value of
  // `correction`; none when stepArray or `smoothed` are too short.
  virtual std::vector<CIELab> predictCorrectedMeasurements(const std::vector<double>& correction,
                                                           const std::vector<CIELab>& smoothed) const;
  // The segment of ascending `steps` to interpolate in at x: the largest i
  // with steps[i] <= x, at most size - 2; 0 below the list, for NaN, or
  // with fewer than two steps.
  static int64_t binarySearchIndex(const std::vector<double>& steps, double x);
  // The corrected channels of quadData; nothing (after the log line "Failed
  // to create correction curve" when there is no curve) when there is no
  // curve, no .quad, no channels, or shapes that do not fit.
  virtual std::shared_ptr<BinaryLinearization> linearizeQuad(platform::Host* host = nullptr);
  // Saves the smoothed readings as a measurement data file through a panel.
  virtual void exportMeasurements(platform::Host& host);
};

// Reading i = (L[i], a[i], b[i]).
std::vector<CIELab> zipLabArrays(const std::vector<std::vector<double>>& lab);
// Any number of readings resampled to 256 steps.
std::vector<CIELab> interpolateMeasurements(const std::vector<CIELab>& readings);
// The system's own measurement data file.
std::string measurementDataFileText(const std::vector<CIELab>& readings);
// The density of an L* value (infinite for L* 0).
double densityOfLstar(double L);

// What the main window does with a new document: the 256 input steps, its 21
// placeholder readings, and a first processing.
void prepareLikeMainWindow(v2LinearizationDataModel& document);
// The main window's smoothing controls (0...100) as document settings.
int64_t avgWindowSizeForControl(double value);
double splinePercentForControl(double value);
// The control value both smoothing controls start at.
inline constexpr double kDefaultSmoothingControl = 33;

}  // namespace linearization
