#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linearization/CIELab.h"

namespace platform {
class Host;
}

namespace linearization {

using Rows = std::vector<std::vector<std::string>>;

// The base of the measurement-file readers. It holds the file's lines, splits
// them into rows of TAB-separated fields and runs the life cycle every reader
// follows: parse the rows into readings, guess the samples per wedge step,
// average repeated samples when there are two or more per step, and resample
// the per-step readings to 256 points.
//
// A reader never shows an alert. When it cannot read the file (a malformed
// header, rows too short, or no readings at all) it records the failure,
// leaves its lists of readings empty and logs the reason; the caller checks
// failed() and shows the one load-error alert.
class MeasurementData {
 public:
  // The lines as the loader split them. `host`, when given, receives the
  // reader's diagnostic lines.
  MeasurementData(std::vector<std::string> lines, bool forLinearization, platform::Host* host = nullptr);
  virtual ~MeasurementData() = default;
  MeasurementData(const MeasurementData&) = delete;
  MeasurementData& operator=(const MeasurementData&) = delete;

  bool forLinearization = true;
  std::optional<std::vector<std::string>> rawData;  // after splitRows, the lines that are not blank
  std::vector<CIELab> measuredLab;
  int64_t samplesPerStep = 1;
  int64_t labLIndex = 0;  // field of L*; a* and b* are the two after it
  Rows measurementData2DArray;
  std::vector<CIELab> averagedMeasurements;
  std::vector<CIELab> interpolatedMeasurements;

  // Drops the blank lines from `rawData` (a line holding nothing but newline
  // characters is blank) and splits the rest on every TAB, each line
  // unchanged, a trailing carriage return included.
  Rows splitRows();
  // A line holding nothing but newline characters.
  static bool isBlankLine(const std::string& line);

  // Samples per step as the counts of the usual wedges suggest it (0 when
  // none fits). It only decides whether the averager runs.
  int64_t guessSamplesPerStep() const;

  // Reads the file. The base reads no rows, so a file of a format without a
  // reader of its own fails.
  virtual void readMeasurements();
  // The reader's rules for which rows hold readings.
  virtual std::vector<CIELab> parseRows(const Rows& rows);

  bool failed() const { return failed_; }
  const std::string& failureReason() const { return failureReason_; }

  // L*, a* and b* from the fields at `index`, `index` + 1 and `index` + 2,
  // each trimmed of white space and newlines and read whole as a number, or
  // the default (`defaultL`, 0, 0) when it is not one. With `decimalComma`
  // every comma is read as a point. Nothing when the row has no such fields.
  static std::optional<CIELab> readingFromFields(const std::vector<std::string>& row, int64_t index, double defaultL,
                                                 bool decimalComma = false);
  // True when the row holds the fields at `index` to `index` + 2.
  static bool holdsThreeFields(const std::vector<std::string>& row, int64_t index);
  // True when the row has a field at `index` holding no characters at all.
  static bool fieldIsEmpty(const std::vector<std::string>& row, int64_t index);

 protected:
  // Guess, average when two or more samples per step, interpolate. With
  // `keepMeasured` the averaged readings go to `averagedMeasurements` alone,
  // otherwise they replace `measuredLab` too. No readings to interpolate
  // fails the read.
  void averageAndInterpolate(bool keepMeasured = false);
  // `interpolatedMeasurements` from `averagedMeasurements`; no readings to
  // interpolate fails the read.
  void interpolateAveraged();
  // Steps 4 on of the life cycle for the readers that follow it as it stands:
  // not for linearization, the read ends (after regrouping 21 steps when
  // `regroup`); otherwise guess, average, interpolate.
  void finishRead(bool regroup);
  // Records the failure, logs it and empties every list of readings.
  void fail(const std::string& reason);
  void log(const std::string& line) const;

 private:
  platform::Host* host_;
  bool failed_ = false;
  std::string failureReason_;
};

// Resamples the readings to 256 through a spline over L*, a* and b*
// separately, reading j standing at j / (n - 1), sampled at k / 256. No
// readings give none; one reading gives 256 copies of it.
std::vector<CIELab> interpolateTo256(const std::vector<CIELab>& readings);

// [all L*, all a*, all b*], each in reading order.
std::vector<std::vector<double>> separateLabArrays(const std::vector<CIELab>& readings);

// Gathers the samples of each of 21 steps measured pass after pass: reading
// k + 21 m goes to step k. Readings past the last whole pass are dropped, and
// fewer than 21 readings give none.
std::vector<CIELab> regroupTwentyOneSteps(const std::vector<CIELab>& readings);

}  // namespace linearization
