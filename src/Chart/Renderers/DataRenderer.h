#pragma once

#include <memory>
#include <vector>

#include "Chart/Renderers/Renderer.h"
#include "Chart/Utils/Highlight.h"
#include "platform/graphics/DrawingContext.h"

namespace chart {

// Where a chart kind's data renderer plugs into a chart view: the view calls
// these four steps at their places in its draw. This base draws nothing;
// the renderers of the chart kinds override the steps.
class DataRenderer : public Renderer {
 public:
  using Renderer::Renderer;

  // The data, clipped by the view to the content rectangle.
  virtual void drawData(platform::graphics::DrawingContext&) {}
  // The value labels.
  virtual void drawValues(platform::graphics::DrawingContext&) {}
  // What the chart kind draws over its data (such as line circles).
  virtual void drawExtras(platform::graphics::DrawingContext&) {}
  virtual void drawHighlighted(platform::graphics::DrawingContext&,
                               const std::vector<std::shared_ptr<Highlight>>& /*highlights*/) {}
};

}  // namespace chart
