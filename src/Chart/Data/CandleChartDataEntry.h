#pragma once

#include "Chart/Data/ChartDataEntry.h"

namespace chart {

// A candle: the shadow from low to high and the body from open to close.
// Its y is the middle of the shadow. Assigning y drops the value given and
// stores (high + low) / 2 instead, with the high and low of that moment;
// assigning high or low leaves y as it is until y is next assigned.
class CandleChartDataEntry : public ChartDataEntry {
 public:
  // Every value 0.
  CandleChartDataEntry() = default;
  explicit CandleChartDataEntry(double x, double shadowH, double shadowL, double open, double close,
                                std::shared_ptr<const Image> icon = nullptr, std::any data = {})
      : ChartDataEntry(x, (shadowH + shadowL) / 2.0, std::move(icon), std::move(data)),
        high_(shadowH),
        low_(shadowL),
        close_(close),
        open_(open) {}

  void setY(double) override;

  virtual double high() const { return high_; }
  virtual void setHigh(double high) { high_ = high; }
  virtual double low() const { return low_; }
  virtual void setLow(double low) { low_ = low; }
  virtual double close() const { return close_; }
  virtual void setClose(double close) { close_ = close; }
  virtual double open() const { return open_; }
  virtual void setOpen(double open) { open_ = open; }

  // |high - low|
  virtual double shadowRange() const;
  // |open - close|
  virtual double bodyRange() const;

 protected:
  std::shared_ptr<ChartDataEntry> makeEmpty() const override { return std::make_shared<CandleChartDataEntry>(); }
  // Adds the four values, and keeps the receiver's y as it is.
  void copyInto(ChartDataEntry& target) const override;

 private:
  double high_ = 0;
  double low_ = 0;
  double close_ = 0;
  double open_ = 0;
};

}  // namespace chart
