#include "Chart/Components/YAxis.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/TextMetrics.h"

namespace chart {

YAxis::Size YAxis::requiredSize() const {
  platform::graphics::TextAttributes attributes;
  attributes.font = labelFont();
  const Size size = platform::graphics::currentTextMetrics().size(getLongestLabel(), attributes);
  const double width = size.width + xOffset() * 2;
  const double height = size.height + yOffset() * 2;
  const double limit = maxWidth() > 0 ? maxWidth() : width;
  return Size{std::max(minWidth(), std::min(width, limit)), height};
}

bool YAxis::needsOffset() const {
  return isEnabled() && isDrawLabelsEnabled() && labelPosition() == LabelPosition::outside;
}

void YAxis::calculate(double dataMin, double dataMax) {
  double min = isAxisMinCustom() ? axisMinimum() : dataMin;
  double max = isAxisMaxCustom() ? axisMaximum() : dataMax;
  if (min > max) {
    if (isAxisMaxCustom() && !isAxisMinCustom()) {
      min = max >= 0 ? max * 0.5 : max * 1.5;
    } else if (isAxisMinCustom() && !isAxisMaxCustom()) {
      max = min >= 0 ? min * 1.5 : min * 0.5;
    }
  }
  const double range = std::fabs(max - min);
  if (max - min == 0) {
    max = max + 1;
    min = min - 1;
  }
  if (!isAxisMinCustom()) storeAxisMinimum(min - range * spaceBottom());
  if (!isAxisMaxCustom()) storeAxisMaximum(max + range * spaceTop());
  setAxisRange(std::fabs(axisMaximum() - axisMinimum()));
}

}  // namespace chart
