#include "Chart/Renderers/CombinedRenderer.h"

#include <vector>

namespace chart {

CombinedRenderer::CombinedRenderer(std::shared_ptr<ViewPortHandler> viewPortHandler,
                                   std::vector<std::shared_ptr<DataRenderer>> renderers)
    : DataRenderer(std::move(viewPortHandler)), renderers_(std::move(renderers)) {
  std::erase(renderers_, nullptr);
}

void CombinedRenderer::drawData(DrawingContext& context) {
  for (const auto& renderer : renderers_) renderer->drawData(context);
}

void CombinedRenderer::drawValues(DrawingContext& context) {
  for (const auto& renderer : renderers_) renderer->drawValues(context);
}

void CombinedRenderer::drawExtras(DrawingContext& context) {
  for (const auto& renderer : renderers_) renderer->drawExtras(context);
}

void CombinedRenderer::drawHighlighted(DrawingContext& context,
                                       const std::vector<std::shared_ptr<Highlight>>& highlights) {
  for (const auto& renderer : renderers_) renderer->drawHighlighted(context, highlights);
}

}  // namespace chart
