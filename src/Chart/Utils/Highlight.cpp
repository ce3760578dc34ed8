#include "Chart/Utils/Highlight.h"

#include "platform/text/Text.h"

namespace chart {

Highlight::Highlight(double x, double y, double xPx, double yPx, int64_t dataIndex, int64_t dataSetIndex,
                     int64_t stackIndex, AxisDependency axis)
    : x_(x),
      y_(y),
      xPx_(xPx),
      yPx_(yPx),
      dataIndex_(dataIndex),
      dataSetIndex_(dataSetIndex),
      stackIndex_(stackIndex),
      axis_(axis) {}

Highlight::Highlight(double x, double y, double xPx, double yPx, int64_t dataSetIndex, int64_t stackIndex,
                     AxisDependency axis)
    : Highlight(x, y, xPx, yPx, 0, dataSetIndex, stackIndex, axis) {}

Highlight::Highlight(double x, double y, double xPx, double yPx, int64_t dataSetIndex, AxisDependency axis)
    : Highlight(x, y, xPx, yPx, -1, dataSetIndex, -1, axis) {}

Highlight::Highlight(double x, double y, int64_t dataSetIndex, int64_t dataIndex)
    : x_(x), y_(y), dataIndex_(dataIndex), dataSetIndex_(dataSetIndex) {}

Highlight::Highlight(double x, int64_t dataSetIndex, int64_t stackIndex) : Highlight(x, nan, dataSetIndex, -1) {
  stackIndex_ = stackIndex;
}

void Highlight::setDraw(double x, double y) {
  setDrawX(x);
  setDrawY(y);
}

void Highlight::setDraw(platform::graphics::Point pt) { setDraw(pt.x, pt.y); }

bool Highlight::isEqual(const Highlight* other) const {
  if (other == nullptr) return false;
  if (other == this) return true;
  if (other->x() != x() || other->y() != y()) return false;
  if (other->dataIndex() != dataIndex()) return false;
  if (other->dataSetIndex() != dataSetIndex()) return false;
  return other->stackIndex() == stackIndex();
}

std::string Highlight::description() const {
  using platform::text::shortestDescription;
  return "Highlight, x: " + shortestDescription(x()) + ", y: " + shortestDescription(y()) +
         ", dataIndex (combined charts): " + std::to_string(dataIndex()) +
         ", dataSetIndex: " + std::to_string(dataSetIndex()) +
         ", stackIndex (only stacked barentry): " + std::to_string(stackIndex());
}

}  // namespace chart
