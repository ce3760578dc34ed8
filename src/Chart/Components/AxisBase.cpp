#include "Chart/Components/AxisBase.h"

#include <algorithm>
#include <cmath>

#include "Chart/Components/ChartLimitLine.h"
#include "Chart/Utils/DefaultAxisValueFormatter.h"

namespace chart {

namespace {

// The characters of a UTF-8 text as a reader counts them: every code point
// except the combining diacritical marks (U+0300 to U+036F, bytes CC 80 to
// CD AF), which sit on the character before them.
int64_t perceivedLength(std::string_view text) {
  int64_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;
    const bool combining =
        byte == 0xCC || (byte == 0xCD && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xB0);
    if (!combining) ++count;
  }
  return count;
}

}  // namespace

bool AxisBase::centerAxisLabelsEnabled() const { return centerAxisLabelsEnabled_ && entryCount() > 0; }

void AxisBase::setLabelCount(int64_t count) {
  // Not std::clamp: the bounds are set one at a time and may cross.
  if (count > axisMaxLabels()) {
    labelCount_ = axisMaxLabels();
  } else {
    labelCount_ = std::max(count, axisMinLabels());
  }
  setForceLabelsEnabled(false);
}

void AxisBase::setLabelCount(int64_t count, bool force) {
  setLabelCount(count);
  setForceLabelsEnabled(force);
}

void AxisBase::setAxisMinLabels(int64_t count) {
  if (count >= 1) axisMinLabels_ = count;
}

void AxisBase::setAxisMaxLabels(int64_t count) {
  if (count >= 1) axisMaxLabels_ = count;
}

void AxisBase::setGranularity(double granularity) {
  granularity_ = granularity;
  setGranularityEnabled(true);
}

std::shared_ptr<IAxisValueFormatter> AxisBase::valueFormatter() const {
  if (!axisValueFormatter_) {
    axisValueFormatter_ = std::make_shared<DefaultAxisValueFormatter>(decimals());
  } else if (const auto automatic = std::dynamic_pointer_cast<DefaultAxisValueFormatter>(axisValueFormatter_)) {
    if (automatic->hasAutoDecimals() && automatic->decimals() != decimals()) automatic->setDecimals(decimals());
  }
  return axisValueFormatter_;
}

void AxisBase::setValueFormatter(std::shared_ptr<IAxisValueFormatter> formatter) {
  axisValueFormatter_ = formatter ? std::move(formatter) : std::make_shared<DefaultAxisValueFormatter>(decimals());
}

std::string AxisBase::getFormattedLabel(int64_t index) const {
  if (index < 0 || index >= static_cast<int64_t>(entries().size())) return "";
  return valueFormatter()->stringForValue(entries()[static_cast<size_t>(index)], this);
}

std::string AxisBase::getLongestLabel() const {
  std::string longest;
  int64_t longestLength = 0;
  for (int64_t i = 0; i < static_cast<int64_t>(entries().size()); ++i) {
    std::string label = getFormattedLabel(i);
    const int64_t length = perceivedLength(label);
    if (longestLength < length) {
      longest = std::move(label);
      longestLength = length;
    }
  }
  return longest;
}

void AxisBase::addLimitLine(std::shared_ptr<ChartLimitLine> line) { limitLines_.push_back(std::move(line)); }

void AxisBase::removeLimitLine(const std::shared_ptr<ChartLimitLine>& line) {
  const auto found = std::find(limitLines_.begin(), limitLines_.end(), line);
  if (found != limitLines_.end()) limitLines_.erase(found);
}

void AxisBase::setAxisMinimum(double value) {
  customAxisMin_ = true;
  axisMinimum_ = value;
  setAxisRange(std::fabs(axisMaximum_ - value));
}

void AxisBase::setAxisMaximum(double value) {
  customAxisMax_ = true;
  axisMaximum_ = value;
  setAxisRange(std::fabs(value - axisMinimum_));
}

void AxisBase::calculate(double dataMin, double dataMax) {
  double min = customAxisMin_ ? axisMinimum_ : dataMin - spaceMin();
  double max = customAxisMax_ ? axisMaximum_ : dataMax + spaceMax();
  if (max - min == 0) {
    max = max + 1;
    min = min - 1;
  }
  axisMinimum_ = min;
  axisMaximum_ = max;
  setAxisRange(std::fabs(max - min));
}

}  // namespace chart
