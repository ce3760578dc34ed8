#pragma once

#include <optional>
#include <string>

#include "Chart/Data/ChartDataEntry.h"

namespace chart {

// A slice of a pie: a value (the entry's y) with an optional label. Slices
// are placed by their index, so x is NaN.
class PieChartDataEntry : public ChartDataEntry {
 public:
  // x and y 0, no label.
  PieChartDataEntry() = default;
  explicit PieChartDataEntry(double value, std::optional<std::string> label = std::nullopt,
                             std::shared_ptr<const Image> icon = nullptr, std::any data = {});

  virtual const std::optional<std::string>& label() const { return label_; }
  virtual void setLabel(std::optional<std::string> label) { label_ = std::move(label); }
  // Another name for y.
  virtual double value() const { return y(); }
  virtual void setValue(double value) { setY(value); }

 protected:
  std::shared_ptr<ChartDataEntry> makeEmpty() const override { return std::make_shared<PieChartDataEntry>(); }
  // Adds the label.
  void copyInto(ChartDataEntry& target) const override;

 private:
  std::optional<std::string> label_;
};

}  // namespace chart
