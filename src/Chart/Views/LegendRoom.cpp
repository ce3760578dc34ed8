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
  // A chart size that is not a finite number of at least 0 holds nothing:
  // the handler takes 0 instead, so that no room can leave a content that
  // is less than empty or not finite.
  const auto sound = [](double size) { return std::isfinite(size) && size > 0 ? size : 0.0; };
  const double width = sound(handler.chartWidth());
  const double height = sound(handler.chartHeight());
  if (width != handler.chartWidth() || height != handler.chartHeight()) handler.setChartDimens(width, height);
  // The handler takes the content's width as (chart width - left) - right
  // and its height as (chart height - bottom) - top: the side it takes
  // last, made the rest of the other, leaves exactly 0. Room less than none
  // is none, so two sides never sum past twice the chart's size.
  const auto fit = [](double& first, double& last, double size) {
    first = std::clamp(finiteOrNone(first), 0.0, size);
    last = std::clamp(finiteOrNone(last), 0.0, size);
    if (!(size - first - last < 0)) return;
    first *= size / (first + last);
    last = size - first;
  };
  fit(left, right, width);
  fit(bottom, top, height);
  handler.restrainViewPort(left, top, right, bottom);
}

}  // namespace chart
