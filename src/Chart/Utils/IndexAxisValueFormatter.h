#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Chart/Utils/IAxisValueFormatter.h"

namespace chart {

// Labels whole-number axis positions with the strings of a list: position n
// (from n up to but excluding n + 0.5) shows values[n]; any other position,
// and every position outside the list, shows "".
class IndexAxisValueFormatter : public virtual IAxisValueFormatter {
 public:
  IndexAxisValueFormatter() = default;
  explicit IndexAxisValueFormatter(std::vector<std::string> values) { setValues(std::move(values)); }

  static std::shared_ptr<IndexAxisValueFormatter> with(std::vector<std::string> values) {
    return std::make_shared<IndexAxisValueFormatter>(std::move(values));
  }

  virtual const std::vector<std::string>& values() const { return values_; }
  virtual void setValues(std::vector<std::string> values) {
    values_ = std::move(values);
    valueCount_ = static_cast<int64_t>(values_.size());
  }

  std::string stringForValue(double value, const AxisBase* axis) override;

 private:
  std::vector<std::string> values_;
  int64_t valueCount_ = 0;
};

}  // namespace chart
