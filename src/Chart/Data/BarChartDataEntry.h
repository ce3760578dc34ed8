#pragma once

#include <optional>
#include <vector>

#include "Chart/Data/ChartDataEntry.h"
#include "Chart/Utils/Range.h"

namespace chart {

// A bar: a plain value, or a stack of values drawn on top of each other.
// A stacked entry's y is the sum of its values; positive values are stacked
// upwards from 0 in the order given, negative ones downwards so that the
// last negative value ends at 0.
class BarChartDataEntry : public ChartDataEntry {
 public:
  using RangeList = std::vector<std::shared_ptr<Range>>;

  // x and y 0, not stacked.
  BarChartDataEntry() = default;
  // A plain bar.
  explicit BarChartDataEntry(double x, double y, std::shared_ptr<const Image> icon = nullptr, std::any data = {})
      : ChartDataEntry(x, y, std::move(icon), std::move(data)) {}
  // A stacked bar; an empty list still makes it stacked, with y 0. Pass the
  // list as a std::vector: a braced list of one value would pick the plain
  // form.
  explicit BarChartDataEntry(double x, std::vector<double> yValues, std::shared_ptr<const Image> icon = nullptr,
                             std::any data = {});

  // The sum of the stack values above the one at stackIndex, added from the
  // top down: 0 without values and from the last index on; a negative index
  // sums the whole stack.
  virtual double sumBelow(int64_t stackIndex) const;
  // The magnitudes of the negative stack values added up.
  virtual double negativeSum() const { return negativeSum_; }
  // The stack values that are not negative (NaN among them) added up.
  virtual double positiveSum() const { return positiveSum_; }
  virtual void calcPosNegSum();
  // One range per stack value. Without values, or with none, the ranges
  // computed before stay: whoever reads a range by stack index checks the
  // index against yValues() first.
  virtual void calcRanges();
  // Whether stack values are present (an empty list counts).
  virtual bool isStacked() const { return yValues().has_value(); }
  virtual const std::optional<std::vector<double>>& yValues() const { return yVals_; }
  // y becomes the values' sum (through setY), then the sums and ranges are
  // recomputed.
  virtual void setYValues(std::optional<std::vector<double>> values);
  // Absent until first computed; a copy has none.
  virtual const std::optional<RangeList>& ranges() const { return ranges_; }

 protected:
  std::shared_ptr<ChartDataEntry> makeEmpty() const override { return std::make_shared<BarChartDataEntry>(); }
  // Adds the stack values and both sums; not the ranges.
  void copyInto(ChartDataEntry& target) const override;

 private:
  static double sum(const std::optional<std::vector<double>>& values);

  std::optional<std::vector<double>> yVals_;
  std::optional<RangeList> ranges_;
  double negativeSum_ = 0;
  double positiveSum_ = 0;
};

}  // namespace chart
