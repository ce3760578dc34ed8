#pragma once

#include <functional>
#include <memory>

#include "Chart/Utils/IFillFormatter.h"

namespace chart {

using FillFormatterBlock =
    std::function<double(const ILineChartDataSet& dataSet, const LineChartDataProvider& dataProvider)>;

// The fill formatter of every line data set that is given none. Without a
// block, a set that crosses 0 is filled to 0; a set that lies on one side of
// 0 is filled to 0 when the chart's data reaches the other side, else to the
// far end of the chart's y range (its bottom for a positive set, its top for
// a negative one). A chart without data fills to 0.
//
// A block, when set, decides alone. A block that keeps the data set it
// formats should capture it weakly, or the two keep each other alive.
class DefaultFillFormatter : public IFillFormatter {
 public:
  using Block = FillFormatterBlock;

  DefaultFillFormatter() = default;
  explicit DefaultFillFormatter(Block block) : block_(std::move(block)) {}

  static std::shared_ptr<DefaultFillFormatter> with(Block block) {
    return std::make_shared<DefaultFillFormatter>(std::move(block));
  }

  virtual const Block& block() const { return block_; }
  virtual void setBlock(Block block) { block_ = std::move(block); }

  double getFillLinePosition(const ILineChartDataSet& dataSet, const LineChartDataProvider& dataProvider) override;

 private:
  Block block_;
};

}  // namespace chart
