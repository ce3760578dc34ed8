#pragma once

#include <functional>
#include <memory>

#include "Chart/Utils/DefaultFormatterBase.h"
#include "Chart/Utils/IValueFormatter.h"

namespace chart {

using ValueFormatterBlock = std::function<std::string(double value, const ChartDataEntry& entry, int64_t dataSetIndex,
                                               const ViewPortHandler* viewPortHandler)>;

// The value formatter the chart installs when none is set: the block's text
// when a block is set, else the number formatter's. A block that keeps the
// data set it formats should capture it weakly, or the two keep each other
// alive.
class DefaultValueFormatter : public DefaultFormatterBase<ValueFormatterBlock>, public virtual IValueFormatter {
 public:
  using Block = ValueFormatterBlock;

  DefaultValueFormatter() = default;
  explicit DefaultValueFormatter(std::shared_ptr<NumberFormatter> formatter)
      : DefaultFormatterBase(std::move(formatter)) {}
  explicit DefaultValueFormatter(int decimals) : DefaultFormatterBase(decimals) {}
  explicit DefaultValueFormatter(Block block) : DefaultFormatterBase(std::move(block)) {}

  static std::shared_ptr<DefaultValueFormatter> with(Block block) {
    return std::make_shared<DefaultValueFormatter>(std::move(block));
  }

  std::string stringForValue(double value, const ChartDataEntry& entry, int64_t dataSetIndex,
                             const ViewPortHandler* viewPortHandler) override {
    return text(value, entry, dataSetIndex, viewPortHandler);
  }
};

}  // namespace chart
