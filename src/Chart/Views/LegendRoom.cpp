#include "Chart/Views/LegendRoom.h"

#include <algorithm>

namespace chart {

LegendRoom LegendRoom::of(const Legend* legend, const ViewPortHandler& handler) {
  LegendRoom room;
  if (!legend || !legend->isEnabled() || legend->isDrawInsideEnabled() || legend->entries().empty()) return room;
  const Legend& l = *legend;
  const double across = std::min(l.neededWidth(), handler.chartWidth() * l.maxSizePercent()) + l.xOffset();
  const double down = std::min(l.neededHeight(), handler.chartHeight() * l.maxSizePercent()) + l.yOffset();
  using H = Legend::HorizontalAlignment;
  using V = Legend::VerticalAlignment;
  if (l.orientation() == Legend::Orientation::vertical && l.horizontalAlignment() != H::center) {
    (l.horizontalAlignment() == H::left ? room.left : room.right) = across;
  } else if (l.verticalAlignment() != V::center) {
    (l.verticalAlignment() == V::top ? room.top : room.bottom) = down;
  }
  return room;
}

void LegendRoom::restrainWithLegend(Legend* legend, ViewPortHandler& handler, double left, double top, double right,
                                    double bottom) {
  LegendRoom room = of(legend, handler);
  left += room.left;
  right += room.right;
  if (legend && legend->orientation() == Legend::Orientation::horizontal) {
    handler.restrainViewPort(left, top, right, bottom);
    legend->calculateDimensions(legend->font(), handler);
    room = of(legend, handler);
  }
  handler.restrainViewPort(left, top + room.top, right, bottom + room.bottom);
}

}  // namespace chart
