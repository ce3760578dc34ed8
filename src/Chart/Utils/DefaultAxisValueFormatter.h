#pragma once

#include <functional>
#include <memory>

#include "Chart/Utils/DefaultFormatterBase.h"
#include "Chart/Utils/IAxisValueFormatter.h"

namespace chart {

using AxisValueFormatterBlock = std::function<std::string(double value, const AxisBase* axis)>;

// The axis label formatter every axis starts with: the block's text when a
// block is set, else the number formatter's.
class DefaultAxisValueFormatter : public DefaultFormatterBase<AxisValueFormatterBlock>, public virtual IAxisValueFormatter {
 public:
  using Block = AxisValueFormatterBlock;

  DefaultAxisValueFormatter() = default;
  explicit DefaultAxisValueFormatter(std::shared_ptr<NumberFormatter> formatter)
      : DefaultFormatterBase(std::move(formatter)) {}
  explicit DefaultAxisValueFormatter(int decimals) : DefaultFormatterBase(decimals) {}
  explicit DefaultAxisValueFormatter(Block block) : DefaultFormatterBase(std::move(block)) {}

  static std::shared_ptr<DefaultAxisValueFormatter> with(Block block) {
    return std::make_shared<DefaultAxisValueFormatter>(std::move(block));
  }

  std::string stringForValue(double value, const AxisBase* axis) override { return text(value, axis); }
};

}  // namespace chart
