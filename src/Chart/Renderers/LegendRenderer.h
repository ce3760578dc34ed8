#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "Chart/Components/Legend.h"
#include "Chart/Renderers/Renderer.h"
#include "platform/graphics/DrawingContext.h"

namespace chart {

class ChartData;

// Fills a legend from the chart's data and draws it.
//
// computeLegend turns each data set into entries (a stacked bar set gives a
// form per stack position, a pie set one per slice, a candle set with a
// decreasing colour a pair, any other set one form per colour with the label
// on the last), appends the legend's extra entries and lays the legend out;
// a legend with custom entries keeps them and is only laid out again.
// renderLegend places the legend by its alignment, orientation and
// direction, and draws each entry through drawForm and drawLabel, which a
// subclass may replace.
class LegendRenderer : public Renderer {
 public:
  using DrawingContext = platform::graphics::DrawingContext;
  using Color = platform::graphics::Color;
  using Font = platform::graphics::Font;

  LegendRenderer(std::shared_ptr<ViewPortHandler> viewPortHandler, std::shared_ptr<Legend> legend);

  virtual std::shared_ptr<Legend> legend() const { return legend_; }
  virtual void setLegend(std::shared_ptr<Legend> legend) { legend_ = std::move(legend); }

  // Does nothing without a legend.
  virtual void computeLegend(const ChartData& data);
  // Draws nothing without a legend or when it is disabled. A horizontal
  // legend is drawn from its last layout; a label that layout did not see
  // (the entries were replaced since) is measured as it is drawn.
  virtual void renderLegend(DrawingContext& context);
  // One form: x its left edge, y its vertical centre. Nothing is drawn for
  // an entry without a colour or with the clear colour.
  virtual void drawForm(DrawingContext& context, double x, double y, const LegendEntry& entry, const Legend& legend);
  // One label, its top-left corner at (x, y), in the font and colour.
  virtual void drawLabel(DrawingContext& context, double x, double y, std::string_view label, const Font& font,
                         const Color& textColor);

 private:
  std::shared_ptr<Legend> legend_;
  // The two ends of every line form, reused so that drawing allocates nothing.
  std::vector<platform::graphics::Point> formLineSegmentsBuffer_ = std::vector<platform::graphics::Point>(2);
};

}  // namespace chart
