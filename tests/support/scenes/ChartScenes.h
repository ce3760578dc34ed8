#pragma once

#include <memory>

#include "Chart/Renderers/DataRenderer.h"
#include "Chart/Views/HorizontalBarChartView.h"
#include "Chart/Views/LineChartView.h"
#include "Chart/Views/RadarChartView.h"

// The chart frames a person looks at (written as PNG by the harness) and the
// frame benchmark times: line chart views set up as the application's ink
// curve graphs are, with ink curves drawn as plain polylines where the line
// renderer will go.
namespace scenes {

// Draws every data set of the view's data as a polyline through the
// transformer of the set's axis, in the set's first colour, 1.5 points wide.
// The view owns the renderer, so the view outlives it.
class PolylineRenderer : public chart::DataRenderer {
 public:
  explicit PolylineRenderer(const chart::BarLineChartViewBase& view);
  void drawData(platform::graphics::DrawingContext& context) override;
  // A thin dark line down the content through each highlighted value shown
  // in it, and the value's pixel noted as the highlight's draw position
  // (where the marker goes).
  void drawHighlighted(platform::graphics::DrawingContext& context,
                       const std::vector<std::shared_ptr<chart::Highlight>>& highlights) override;

 private:
  const chart::BarLineChartViewBase& view_;
};

// 600 × 400: the eight channels of the K8 standard starter curve in percent
// against input step / 2.55; x axis 0..100 with its labels at the bottom and
// granularity 25.5; left axis 0..100 with 11 forced labels, the first and
// last left out; right axis 0..100 with its labels inside, just above their
// rows, the first and last left out; dashed grid lines; a limit line
// "Target" at y 50 and one "Step 65" at x 25.5; a zero line; a description;
// a legend of three custom entries (square, circle, dashed line) along the
// bottom; an image marker at the black channel's value at step 250, near the
// right edge. The data is set, so the view is laid out.
std::shared_ptr<chart::LineChartView> makeMainScene();

// The main scene as a person leaves it: two fingers spread to twice their
// distance about a point left of the content's centre, one finger drags the
// curves 120 points left and 40 up (and lets go without throwing them),
// then a tap on the value at step 150 of the first channel shown there
// highlights it, with the marker.
std::shared_ptr<chart::LineChartView> makeTouchedMainScene();

// 600 × 400: the same curves over eleven named patches (x 0..10), their
// names turned by 45° and wrapped to the width of one patch; the left axis
// alone, with its default labels; the channels' legend, built from the data,
// vertical and right to left, centred down the right edge.
std::shared_ptr<chart::LineChartView> makeTurnedLabelsScene();

// 600 × 400, a horizontal bar chart: the peak ink of each of the eight K8
// standard channels in percent, one bar per channel, drawn as plain
// rectangles in the ink's colour where the bar renderer will go. The channel
// names stand left of the content; the left axis (0..100) labels its values
// in a row above the content, the right axis in a row below; a limit line
// "Target" at 50 runs down the content, one "light inks" at x 3.5 across it;
// a zero line; a description.
std::shared_ptr<chart::HorizontalBarChartView> makeHorizontalBarScene();

// Draws a radar chart's data step as the radar renderer will: the spokes and
// the rings of the web (a polygon through the spokes at each y axis entry),
// then every data set as a closed polygon in its first colour.
class RadarWebRenderer : public chart::DataRenderer {
 public:
  explicit RadarWebRenderer(const chart::RadarChartView& view);
  void drawData(platform::graphics::DrawingContext& context) override;

 private:
  const chart::RadarChartView& view_;
};

// 600 × 400, a radar chart: the peak ink of the eight channels of the K8
// standard and the K8 carbon starter curves, one spoke per channel named
// around the web; the y axis from 0 with its labels along the upward (270°)
// spoke, the outermost left out; a limit line "Target" at 50 drawn as a
// polygon.
std::shared_ptr<chart::RadarChartView> makeRadarScene();

}  // namespace scenes
