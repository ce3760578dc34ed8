#pragma once

#include <memory>
#include <vector>

#include "Chart/Renderers/DataRenderer.h"
#include "platform/graphics/DrawingContext.h"

namespace chart {

// Several data renderers as one: the data renderer of a view whose
// CombinedChartData holds data of several kinds, each kind drawn by a
// renderer of its own. Each step the view calls (the data, the values, the
// extras, the highlights) is handed to every renderer in the order given,
// so what a later renderer draws lies over what an earlier one drew at that
// step. Bars with a target line over them:
//
//   view->setRenderer(std::make_shared<CombinedRenderer>(
//       view->viewPortHandler(),
//       std::vector<std::shared_ptr<DataRenderer>>{std::make_shared<BarsRenderer>(*view, view->viewPortHandler()),
//                                                  std::make_shared<LinePointsRenderer>(*view, view->viewPortHandler())}));
//
// A null renderer in the list is left out.
class CombinedRenderer : public DataRenderer {
 public:
  using DrawingContext = platform::graphics::DrawingContext;

  CombinedRenderer(std::shared_ptr<ViewPortHandler> viewPortHandler,
                   std::vector<std::shared_ptr<DataRenderer>> renderers);

  // The renderers, in the order they draw; none is null.
  const std::vector<std::shared_ptr<DataRenderer>>& renderers() const { return renderers_; }

  void drawData(DrawingContext& context) override;
  void drawValues(DrawingContext& context) override;
  void drawExtras(DrawingContext& context) override;
  void drawHighlighted(DrawingContext& context, const std::vector<std::shared_ptr<Highlight>>& highlights) override;

 private:
  std::vector<std::shared_ptr<DataRenderer>> renderers_;
};

}  // namespace chart
