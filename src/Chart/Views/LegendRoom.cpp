#include "Chart/Views/LegendRoom.h"

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

double finiteOrNone(double room) { return std::isfinite(room) ? room : 0; }

}  // namespace

LegendRoom LegendRoom::of(const Legend* legend, const ViewPortHandler& handler) {
  LegendRoom room;
  if (!legend || !legend->isEnabled() || legend->isDrawInsideEnabled() || legend->entries().empty()) return room;
  const Legend& l = *legend;
  const double across =
      finiteOrNone(std::min(l.neededWidth(), handler.chartWidth() * l.maxSizePercent()) + l.xOffset());
  const double down =
      finiteOrNone(std::min(l.neededHeight(), handler.chartHeight() * l.maxSizePercent()) + l.yOffset());
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
    restrainInView(handler, left, top, right, bottom);
    legend->calculateDimensions(legend->font(), handler);
    room = of(legend, handler);
  }
  restrainInView(handler, left, top + room.top, right, bottom + room.bottom);
}

void restrainInView(ViewPortHandler& handler, double left, double top, double right, double bottom) {
  // The handler takes the content's width as (chart width - left) - right
  // and its height as (chart height - bottom) - top: the side it takes
  // last, made the rest of the other, leaves exactly 0.
  const auto fit = [](double& first, double& last, double chartSize) {
    const double size = chartSize > 0 ? chartSize : 0;
    first = std::min(finiteOrNone(first), size);
    last = std::min(finiteOrNone(last), size);
    if (!(size - first - last < 0)) return;
    first *= size / (first + last);
    last = size - first;
  };
  fit(left, right, handler.chartWidth());
  fit(bottom, top, handler.chartHeight());
  handler.restrainViewPort(left, top, right, bottom);
}

}  // namespace chart
