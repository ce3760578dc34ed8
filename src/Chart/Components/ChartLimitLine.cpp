#include "Chart/Components/ChartLimitLine.h"

namespace chart {

void ChartLimitLine::setLineWidth(double width) {
  if (width > 12.0) {
    lineWidth_ = 12.0;
  } else if (width < 0.2) {
    lineWidth_ = 0.2;
  } else {
    lineWidth_ = width;
  }
}

}  // namespace chart
