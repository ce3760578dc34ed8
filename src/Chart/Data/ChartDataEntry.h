#pragma once

#include "Chart/Data/ChartDataEntryBase.h"

namespace chart {

// A plotted value with x and y: the element of every data set, which keeps
// its entries in ascending x.
class ChartDataEntry : public ChartDataEntryBase {
 public:
  ChartDataEntry() = default;
  explicit ChartDataEntry(double x, double y, std::shared_ptr<const Image> icon = nullptr, std::any data = {})
      : ChartDataEntryBase(y, std::move(icon), std::move(data)), x_(x) {}

  virtual double x() const { return x_; }
  virtual void setX(double x) { x_ = x; }

  // Equal to itself, and to any other ChartDataEntry with the same x and y.
  bool isEqual(const ChartDataEntryBase* other) const override;
  // "ChartDataEntry, x: 3.0, y 0.5"
  std::string description() const override;

  // A new entry of this entry's own class with the same x, y and payload
  // (shared, not duplicated) and no icon. Derived entries add their fields
  // by overriding copyInto.
  std::shared_ptr<ChartDataEntry> copy() const;

 protected:
  // An empty entry of the receiver's class; every derived entry overrides it.
  virtual std::shared_ptr<ChartDataEntry> makeEmpty() const { return std::make_shared<ChartDataEntry>(); }
  // Assigns this entry's copied fields to `target`, through its setters.
  virtual void copyInto(ChartDataEntry& target) const;

 private:
  double x_ = 0;
};

using EntryPtr = std::shared_ptr<ChartDataEntry>;

}  // namespace chart
