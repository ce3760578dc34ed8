#pragma once

#include "Chart/Data/ChartDataEntry.h"

namespace chart {

// A bubble: x and y with the bubble's size.
class BubbleChartDataEntry : public ChartDataEntry {
 public:
  // x, y and size 0.
  BubbleChartDataEntry() = default;
  explicit BubbleChartDataEntry(double x, double y, double size, std::shared_ptr<const Image> icon = nullptr,
                                std::any data = {})
      : ChartDataEntry(x, y, std::move(icon), std::move(data)), size_(size) {}

  virtual double size() const { return size_; }
  virtual void setSize(double size) { size_ = size; }

 protected:
  std::shared_ptr<ChartDataEntry> makeEmpty() const override { return std::make_shared<BubbleChartDataEntry>(); }
  // Adds the size.
  void copyInto(ChartDataEntry& target) const override;

 private:
  double size_ = 0;
};

}  // namespace chart
