#pragma once

#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linearization/CIELab.h"
#include "linearization/MeasurementAverager.h"

namespace platform {
class Host;
}

namespace linearization {

// One line seen as its fields, split on one separator character, without
// copying them: a field is found by scanning the line, so a line of millions
// of separators costs no more to hold than a short one. It views the line,
// which must outlive it, and knows the file line it came from.
class Fields {
 public:
  Fields() = default;
  Fields(std::string_view line, char separator, int64_t lineNumber = 0);

  // One more than the separators: an empty line is one empty field.
  std::size_t size() const;
  // Field k, for k < size().
  std::string_view operator[](std::size_t k) const;
  // The position of the first field equal to `value`.
  std::optional<std::size_t> find(std::string_view value) const;
  std::string_view line() const { return line_; }
  // The line in the file, counted from 1; 0 when not known.
  int64_t lineNumber() const { return lineNumber_; }
  std::vector<std::string> strings() const;

  // The fields in order.
  class const_iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string_view*;
    using reference = std::string_view;

    const_iterator() = default;
    const_iterator(std::string_view line, char separator);
    std::string_view operator*() const { return field_; }
    const_iterator& operator++();
    const_iterator operator++(int) {
      auto before = *this;
      ++*this;
      return before;
    }
    bool operator==(const const_iterator& other) const {
      return done_ == other.done_ && (done_ || field_.data() == other.field_.data());
    }

   private:
    void take();  // the field at the front of rest_
    std::string_view field_, rest_;
    char separator_ = '\t';
    bool done_ = true;
    bool last_ = false;
  };
  const_iterator begin() const { return const_iterator(line_, separator_); }
  const_iterator end() const { return const_iterator(); }

 private:
  std::string_view line_;
  int32_t lineNumber_ = 0;  // a file under the input limit has far fewer lines
  char separator_ = '\t';
};

using Rows = std::vector<Fields>;

// The base of the measurement-file readers. It holds the file's lines, splits
// them into rows of TAB-separated fields and runs the life cycle every reader
// follows: parse the rows into readings, find the wedge's steps in them (the
// MeasurementAverager: how many steps, and how their samples lie in the
// list), average each step's samples, and resample the per-step readings to
// 256 points.
//
// A reader never shows an alert. When it cannot read the file (a malformed
// header, rows too short, or no readings at all) it records the failure,
// leaves its lists of readings empty and logs the reason, with the line that
// stopped it; the caller checks failed() and shows the one load-error alert.
// A reading field that is not a number is read as the reader's default and
// noted; defaultWarnings() tells of them.
class MeasurementData {
 public:
  // The lines as the loader split them, blank ones included (they are dropped
  // here, and the others keep their numbers). `host`, when given, receives
  // the reader's diagnostic lines.
  MeasurementData(std::vector<std::string> lines, bool forLinearization, platform::Host* host = nullptr);
  virtual ~MeasurementData() = default;
  MeasurementData(const MeasurementData&) = delete;
  MeasurementData& operator=(const MeasurementData&) = delete;

  bool forLinearization = true;
  // What the user said of the wedge's layout (`--steps`, `--layout`); the
  // caller sets it before readMeasurements.
  LayoutRequest layoutRequest;
  std::optional<std::vector<std::string>> rawData;  // after splitRows, the lines that are not blank
  std::vector<CIELab> measuredLab;
  int64_t samplesPerStep = 1;
  int64_t labLIndex = 0;  // field of L*; a* and b* are the two after it
  Rows measurementData2DArray;  // views into rawData, one row per line
  std::vector<CIELab> averagedMeasurements;
  // Where each averaged reading lies between paper white (0) and the darkest
  // step (1); empty where they lie evenly.
  std::vector<double> averagedPositions;
  // The readings left out of the means (smudges, stray samples), each with
  // where its step lies.
  std::vector<LeftOut> leftOut;
  std::vector<CIELab> interpolatedMeasurements;
  // How the readings were taken as the wedge's steps, and what the reader
  // warns of them (a step whose samples disagree, readings sorted by L*).
  WedgeLayout layout;
  std::vector<std::string> layoutWarnings;
  // Each step's samples, where the steps were averaged from several
  // (as the averager grouped them; lists of at most kMostSamplesKept readings).
  StepSamples stepSamples;

  // Drops the blank lines from `rawData` (a line holding nothing but newline
  // characters is blank) and splits the rest on every TAB, each line
  // unchanged, a trailing carriage return included.
  Rows splitRows();
  // A line holding nothing but newline characters.
  static bool isBlankLine(std::string_view line);

  // Samples per step as the counts of the usual wedges suggest it (0 when
  // none fits). The life cycle does not go by it: the averager finds the
  // steps from the readings themselves.
  int64_t guessSamplesPerStep() const;

  // Reads the file. The base reads no rows, so a file of a format without a
  // reader of its own fails.
  virtual void readMeasurements();
  // The reader's rules for which rows hold readings.
  virtual std::vector<CIELab> parseRows(const Rows& rows);

  bool failed() const { return failed_; }
  // The read failed because what the user said of the layout cannot apply
  // to the file (a step count other than the one its step column names).
  bool failedOnRequest() const { return failedOnRequest_; }
  // The read failed because the readings do not fit what the user said of
  // the layout: the file's format is not to blame.
  bool requestDoesNotFit() const { return requestDoesNotFit_; }
  // Why the read failed, beginning "line N: " when one line is to blame.
  const std::string& failureReason() const { return failureReason_; }
  // The ways to read the file's readings that the failure offers (a
  // question which of two layouts is meant): none for other failures.
  const std::vector<LayoutChoice>& layoutChoices() const { return layoutChoices_; }
  // The fields read as defaults because they were not numbers: the first,
  // with its line, field, text and the value used, and a count of the rest.
  // None when every field was a number.
  std::vector<std::string> defaultWarnings() const;

  // Hears of a reading field that is not a number: which one (0 for L*, 1 for
  // a*, 2 for b*), its text, and the value read in its place.
  using DefaultUsed = std::function<void(int which, std::string_view text, double value)>;
  // L*, a* and b* from the fields at `index`, `index` + 1 and `index` + 2,
  // each trimmed of white space and newlines and read whole as a number, or
  // the default (`defaultL`, 0, 0) when it is not one. With `decimalComma`
  // every comma is read as a point. Nothing when the row has no such fields.
  static std::optional<CIELab> readingFromFields(const Fields& row, int64_t index, double defaultL,
                                                 bool decimalComma = false, const DefaultUsed& onDefault = {});
  // True when the row holds the fields at `index` to `index` + 2.
  static bool holdsThreeFields(const Fields& row, int64_t index);
  // True when the row has a field at `index` holding no characters at all.
  static bool fieldIsEmpty(const Fields& row, int64_t index);

 protected:
  // readingFromFields, noting each field read as its default.
  std::optional<CIELab> readingAt(const Fields& row, int64_t index, double defaultL, bool decimalComma = false);
  // A field that is not a number, read as `value`: field `column` (counted
  // from 0) of file line `line`, which holds `name`.
  void noteDefault(int64_t line, int64_t column, const std::string& name, std::string_view text, double value);
  // Forgets the notes of a pass whose readings are replaced.
  void forgetDefaults();
  // Notes that a reading was read from file line `line`; readingAt notes its
  // own. A message about a reading names its line.
  void noteReadingLine(int64_t line);
  // The file line of reading k of the last `count` readings noted; 0 when
  // not known.
  int64_t lineOfReading(std::size_t k, std::size_t count) const;
  // True when `row`, met after the first reading, repeats a line of the
  // file's header (the lines before the first reading): two exports joined
  // into one file. The caller skips it; a warning names its line.
  bool repeatsHeader(const Fields& row);

  // The file line of rawData's line `index`, counted from 1.
  int64_t lineNumberOf(std::size_t index) const;

  // Finds the steps and averages their samples, then interpolates. With
  // `keepMeasured` the averaged readings go to `averagedMeasurements` alone,
  // otherwise they replace `measuredLab` too. `names`, when given, are the
  // steps the file names for its readings. Readings that no wedge layout
  // explains, or no readings to interpolate, fail the read.
  void averageAndInterpolate(bool keepMeasured = false, const StepNames* names = nullptr);
  // `interpolatedMeasurements` from `averagedMeasurements`; no readings to
  // interpolate fails the read.
  void interpolateAveraged();
  // Steps 4 on of the life cycle for the readers that follow it as it stands:
  // not for linearization, the read ends (after regrouping 21 steps when
  // `regroup`); otherwise find the steps, average, interpolate.
  void finishRead(bool regroup);
  // Records the failure, logs it and empties every list of readings. With a
  // line (above 0) the reason begins "line N: ".
  void fail(const std::string& reason, int64_t line = 0);
  // A diagnostic line. The lines of one read stop at kReaderLogLimit bytes,
  // with a line that says so, however many rows a file holds; the failure
  // line is written in any case.
  void log(const std::string& line) const;
  // True when a diagnostic line would be written: a line that costs work to
  // build (a row's text, a list of readings) is built only then.
  bool logging() const;

 private:
  struct DefaultsRead {
    int64_t count = 0;
    int64_t firstLine = 0, lastLine = 0;
    std::string first;  // the first one, told in full
  };

  platform::Host* host_;
  mutable std::size_t loggedBytes_ = 0;
  bool failed_ = false;
  std::string failureReason_;
  std::vector<int32_t> lineNumbers_;  // the file line of each line of rawData
  DefaultsRead defaults_;
  bool failedOnRequest_ = false;
  bool requestDoesNotFit_ = false;
  std::vector<LayoutChoice> layoutChoices_;
  std::vector<int32_t> readingLines_;       // the file line of each reading noted
  std::vector<std::string> headerLines_;    // the header, once the first reading is met
  std::vector<std::string> headerWarnings_;
};

// The most bytes of diagnostic lines one read writes.
inline constexpr std::size_t kReaderLogLimit = std::size_t{1} << 20;

// A field's text as a message quotes it: in double quotes, cut short when it
// is long, bytes that are not text shown as \xNN.
std::string quotedField(std::string_view field);

// Resamples the readings to 256 through a spline over L*, a* and b*
// separately, reading j standing at j / (n - 1), or at `positions`[j] where
// they are given (one a reading, rising from 0 to 1), sampled at k / 256. No
// readings give none; one reading gives 256 copies of it.
std::vector<CIELab> interpolateTo256(const std::vector<CIELab>& readings, const std::vector<double>& positions = {});

// [all L*, all a*, all b*], each in reading order.
std::vector<std::vector<double>> separateLabArrays(const std::vector<CIELab>& readings);

// Gathers the samples of each of 21 steps measured pass after pass: reading
// k + 21 m goes to step k. Readings past the last whole pass are dropped, and
// fewer than 21 readings give none.
std::vector<CIELab> regroupTwentyOneSteps(const std::vector<CIELab>& readings);

}  // namespace linearization
