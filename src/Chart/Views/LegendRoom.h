#pragma once

#include "Chart/Components/Legend.h"
#include "Chart/Utils/ViewPortHandler.h"

namespace chart {

// The room a chart view gives its legend, at the view's edge outside the
// room of the axis labels. A vertical legend aligned left or right takes its
// needed width (at most maxSizePercent of the chart's width) plus its
// xOffset on that side; any other legend takes its needed height (at most
// maxSizePercent of the chart's height) plus its yOffset above or below the
// content, by its vertical alignment. The needed sizes already hold one
// offset; the second is the gap the legend renderer leaves between the
// legend and the view's edge, so the legend lies inside the view and clear
// of the axis labels. A legend that is absent, disabled, drawn inside or
// without entries takes no room, nor does a horizontal one centred down the
// view or a vertical one centred both ways: those lie over the content.
// Room that is not a finite number (an offset of NaN) is none.
struct LegendRoom {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;

  static LegendRoom of(const Legend* legend, const ViewPortHandler& handler);

  // Adds the legend's room to the offsets of the labels' room and restrains
  // the handler's view port to the sum (restrainInView). A horizontal
  // legend is laid out again at the content width that its room beside the
  // content leaves, before its room above or below is taken, so that its
  // lines break where they are drawn.
  static void restrainWithLegend(Legend* legend, ViewPortHandler& handler, double left, double top, double right,
                                 double bottom);
};

// Restrains the handler's view port to the room around the content, kept
// sound first: a chart size that is not a finite number of at least 0 (a
// view of frame width -10) becomes 0 in the handler, room that is not a
// finite number or is less than 0 counts as 0, and room beyond the chart's
// size is cut to it. Two sides that still want more than the chart has
// share it in proportion to their room, and the content between them is
// empty: exactly 0 across or down. So the content is finite and never less
// than empty, for every frame and every room.
void restrainInView(ViewPortHandler& handler, double left, double top, double right, double bottom);

}  // namespace chart
