#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linearization/MeasurementData.h"

namespace linearization {

// What the CGATS reader and the Argyll ".ti3" reader share: the CGATS data
// block. Its header names the count of readings ("NUMBER_OF_SETS") and the
// columns; that many data lines follow "BEGIN_DATA"; and when the columns
// include "RGB_R" the lines are put in falling order of their third field
// (paper white first) and read again, decimal commas accepted, before they are
// averaged. A grey-only target names "GRAY_K" instead (0 is paper white) and
// its generator writes the patches in any order: without "RGB_R" the readings
// are put in rising order of their GRAY_K field. The two formats differ only
// in how a line splits into fields and how the keywords are found, which each
// reader supplies.
class CgatsDataBlock : public MeasurementData {
 public:
  using MeasurementData::MeasurementData;

  std::string numOfFields;   // "NUMBER_OF_FIELDS" as written; recorded only
  int64_t totalSamples = 0;  // "NUMBER_OF_SETS"
  int64_t lumIndex = -1;     // position of "RGB_R", -1 when there is none
  int64_t grayIndex = -1;    // position of "GRAY_K", -1 when there is none
  Rows dataSets;             // the data lines, split into fields (views into rawData)

  // Each returns nothing (after recording the failure) when the file does not
  // hold what it needs.
  virtual std::optional<int64_t> readNumberOfSets() = 0;
  virtual std::optional<Rows> readDataSets();
  virtual std::optional<std::vector<CIELab>> parseDataSets(const Rows& sets);
  // Falling order of the third field, ties in file order; false (after
  // recording the failure) when a set has no third field that is a number.
  virtual bool sortDataSets();
  // Rising order of the GRAY_K field, ties in file order, of the readings as
  // read from the rows in file order; false (after recording the failure)
  // when a row has no GRAY_K field that is a number.
  bool sortByGray();
  // The steps the rows name by their device values, for the readings in
  // `measuredLab`: the values of RGB_R, RGB_G and RGB_B (those the names
  // hold) when there is an RGB_R column, else of GRAY_K. Readings with the
  // same values are one step; the steps go from paper white (the highest
  // RGB, the lowest GRAY_K) to the darkest. Nothing when the rows name no
  // steps: no such column, a value that is not a number, or one value for
  // every row. Values that are colours rather than the steps of one wedge
  // (a profiling chart) fail the read, and nothing is returned.
  std::optional<StepNames> namedSteps();
  // False (the read failed) when a second file follows the data: the
  // file's first line again after BEGIN_DATA.
  bool refuseSecondFile();

 protected:
  // The walk both readers take once they have the column names: find the
  // LAB_L and RGB_R columns, count the sets, take the data lines, read the
  // rows in file order and, for linearization, sort and read again when there
  // is an RGB_R column, or sort by GRAY_K when there is a GRAY_K column and
  // none named RGB_R; then average and resample.
  void readDataBlock(const Fields& columnNames);

  // The line that holds "BEGIN_DATA" (not "BEGIN_DATA_FORMAT"), by its index
  // in rawData.
  virtual std::optional<std::size_t> beginDataLine() const = 0;
  // What separates the fields of a data line.
  virtual char fieldSeparator() const = 0;
  // Why `row` gives no reading: it ends before L*, a* and b*.
  std::string missingFields(const Fields& row) const;
  // How the data sets are put in order: by the number in which field, read
  // trimmed or whole, falling or rising; and how a message names that field.
  struct SortKey {
    std::size_t field;
    bool trimmed;
    bool falling;
    std::string name;  // "third field"
    std::string why;   // " (RGB_R is named)"
  };
  // The positions of the first `count` data sets in the key's order, ties in
  // file order. Nothing (after recording the failure) when a set lacks the
  // field or it is not a number.
  std::optional<std::vector<std::size_t>> orderOfSets(std::size_t count, const SortKey& key);

  int64_t numberOfSetsLine = 0;  // the file line "NUMBER_OF_SETS" was read from
  int64_t greenIndex = -1, blueIndex = -1;  // positions of "RGB_G" and "RGB_B"
  // The data set each reading of `measuredLab` was read from, once sorted by
  // GRAY_K; empty while they are the first sets, in order.
  std::vector<std::size_t> setOfReading;
  // The data set reading `reading` of `measuredLab` was read from.
  const Fields& setOf(std::size_t reading) const;
  // Fails the read: the values that name the readings' steps (`keys`, one a
  // reading, from `columns`) are the colours of a profiling chart.
  void refuseColourChart(const std::vector<std::size_t>& columns, const std::vector<std::array<double, 3>>& keys);

  // Steps a reader adds to the walk: after the data lines are taken, after
  // the rows are read, and in place of averaging when the file is read for
  // partitioning.
  virtual void dataSetsRead() {}
  virtual void rowsRead() {}
  virtual void readForPartitioning() {}
};

}  // namespace linearization
