#include "Chart/Data/BarChartDataEntry.h"

namespace chart {

BarChartDataEntry::BarChartDataEntry(double x, std::vector<double> yValues, std::shared_ptr<const Image> icon,
                                     std::any data)
    : ChartDataEntry(x, sum(yValues), std::move(icon), std::move(data)), yVals_(std::move(yValues)) {
  calcPosNegSum();
  calcRanges();
}

double BarChartDataEntry::sum(const std::optional<std::vector<double>>& values) {
  double total = 0;
  if (values) {
    for (double v : *values) total += v;
  }
  return total;
}

double BarChartDataEntry::sumBelow(int64_t stackIndex) const {
  const auto& values = yValues();
  if (!values) return 0;
  const auto last = static_cast<int64_t>(values->size()) - 1;
  if (stackIndex >= last) return 0;
  double remainder = 0;
  for (int64_t i = last; i > stackIndex && i >= 0; --i) remainder += (*values)[static_cast<size_t>(i)];
  return remainder;
}

void BarChartDataEntry::calcPosNegSum() {
  double negative = 0;
  double positive = 0;
  if (const auto& values = yValues()) {
    for (double v : *values) {
      if (v < 0) {
        negative += -v;
      } else {
        positive += v;
      }
    }
  }
  negativeSum_ = negative;
  positiveSum_ = positive;
}

void BarChartDataEntry::calcRanges() {
  const auto& values = yValues();
  if (!values || values->empty()) return;
  RangeList list;
  list.reserve(values->size());
  double negativeBound = -negativeSum();
  double positiveBound = 0;
  for (double v : *values) {
    if (v < 0) {
      list.push_back(std::make_shared<Range>(negativeBound, negativeBound - v));
      negativeBound -= v;
    } else {
      list.push_back(std::make_shared<Range>(positiveBound, positiveBound + v));
      positiveBound += v;
    }
  }
  ranges_ = std::move(list);
}

void BarChartDataEntry::setYValues(std::optional<std::vector<double>> values) {
  setY(sum(values));
  yVals_ = std::move(values);
  calcPosNegSum();
  calcRanges();
}

void BarChartDataEntry::copyInto(ChartDataEntry& target) const {
  ChartDataEntry::copyInto(target);
  auto& bar = dynamic_cast<BarChartDataEntry&>(target);
  bar.yVals_ = yValues();
  bar.negativeSum_ = negativeSum();
  bar.positiveSum_ = positiveSum();
}

}  // namespace chart
