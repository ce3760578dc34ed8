#pragma once

#include <any>
#include <memory>
#include <string>

#include "platform/graphics/Image.h"

namespace chart {

// A plotted y value with an optional payload for the chart's user and an
// optional icon that a data renderer draws at the entry. Entries are
// reference objects held by std::shared_ptr; only ChartDataEntry copies.
class ChartDataEntryBase {
 public:
  using Image = platform::graphics::Image;

  ChartDataEntryBase() = default;
  // The payload is held as given: a shared_ptr in it stays shared.
  explicit ChartDataEntryBase(double y, std::shared_ptr<const Image> icon = nullptr, std::any data = {})
      : y_(y), data_(std::move(data)), icon_(std::move(icon)) {}

  ChartDataEntryBase(const ChartDataEntryBase&) = delete;
  ChartDataEntryBase& operator=(const ChartDataEntryBase&) = delete;
  virtual ~ChartDataEntryBase() = default;

  virtual double y() const { return y_; }
  virtual void setY(double y) { y_ = y; }
  virtual const std::any& data() const { return data_; }
  virtual void setData(std::any data) { data_ = std::move(data); }
  virtual std::shared_ptr<const Image> icon() const { return icon_; }
  virtual void setIcon(std::shared_ptr<const Image> icon) { icon_ = std::move(icon); }

  // Equal to itself, and to any other entry with the same y (IEEE, so a NaN
  // y equals only the same object). Payload and icon take no part. A
  // ChartDataEntry compared the other way round also asks for the same x, so
  // the test is not symmetric across the two classes.
  virtual bool isEqual(const ChartDataEntryBase* other) const;
  // "ChartDataEntryBase, y 0.5"
  virtual std::string description() const;

 private:
  double y_ = 0;
  std::any data_;
  std::shared_ptr<const Image> icon_;
};

}  // namespace chart
