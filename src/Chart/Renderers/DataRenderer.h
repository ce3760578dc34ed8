#pragma once

#include <memory>
#include <vector>

#include "Chart/Renderers/Renderer.h"
#include "Chart/Utils/Highlight.h"
#include "Chart/Utils/Transformer.h"
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

 protected:
  // Whether values go through `transformer` turned, as (y, x): a
  // horizontal-bar view's transformers take the y value across the content
  // and the x value up it, so a value (x, y) lies at pixelForValues(y, x).
  static bool isTurned(const Transformer* transformer) {
    return dynamic_cast<const TransformerHorizontalBarChart*>(transformer) != nullptr;
  }
};

}  // namespace chart
