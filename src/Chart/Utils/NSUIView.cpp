#include "Chart/Utils/NSUIView.h"

namespace chart {

NSUIView::NSUIView() { setAccessibilityRole(role()); }

NSUIView::NSUIView(const Rect& frame) : View(frame) { setAccessibilityRole(role()); }

std::optional<Color> NSUIView::backgroundColor() const { return layerBackgroundColor(); }

void NSUIView::setBackgroundColor(std::optional<Color> color) {
  setWantsLayer(true);
  setLayerBackgroundColor(color);
}

void NSUIView::touchesBeganWithEvent(const TouchEvent& event) { nsuiTouchesBegan(touchesInView(event), event); }
void NSUIView::touchesMovedWithEvent(const TouchEvent& event) { nsuiTouchesMoved(touchesInView(event), event); }
void NSUIView::touchesEndedWithEvent(const TouchEvent& event) { nsuiTouchesEnded(touchesInView(event), event); }
void NSUIView::touchesCancelledWithEvent(const TouchEvent& event) {
  nsuiTouchesCancelled(touchesInView(event), event);
}

void NSUIView::nsuiTouchesBegan(const std::vector<Touch>&, const TouchEvent& event) {
  View::touchesBeganWithEvent(event);
}
void NSUIView::nsuiTouchesMoved(const std::vector<Touch>&, const TouchEvent& event) {
  View::touchesMovedWithEvent(event);
}
void NSUIView::nsuiTouchesEnded(const std::vector<Touch>&, const TouchEvent& event) {
  View::touchesEndedWithEvent(event);
}
void NSUIView::nsuiTouchesCancelled(const std::vector<Touch>&, const TouchEvent& event) {
  View::touchesCancelledWithEvent(event);
}

}  // namespace chart
