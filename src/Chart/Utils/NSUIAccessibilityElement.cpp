#include "Chart/Utils/NSUIAccessibilityElement.h"

#include <cmath>

namespace chart {

using platform::graphics::Rect;

NSUIAccessibilityElement::NSUIAccessibilityElement(const std::shared_ptr<platform::Object>& container)
    : containerView_(std::dynamic_pointer_cast<platform::view::View>(container)) {
  setParent(containerView_.lock());
  setRole(platform::view::rowRole);
}

std::string NSUIAccessibilityElement::accessibilityLabel() const { return platformLabel().value_or(""); }

void NSUIAccessibilityElement::setAccessibilityLabel(const std::string& label) { setPlatformLabel(label); }

Rect NSUIAccessibilityElement::accessibilityFrame() const { return platformAccessibilityFrame(); }

void NSUIAccessibilityElement::setAccessibilityFrame(const Rect& frame) {
  const auto view = containerView();
  if (!view) return;
  const Rect screen = view->convertRectToScreen(frame);
  setFrameInParentSpace(screen);
  // The platform may derive a screen frame that lies off the one given;
  // move the parent-space frame back by the difference.
  const Rect derived = platformAccessibilityFrame();
  setFrameInParentSpace(Rect(screen.origin.x - std::fabs(derived.origin.x - screen.origin.x),
                             screen.origin.y - std::fabs(derived.origin.y - screen.origin.y), screen.size.width,
                             screen.size.height));
}

}  // namespace chart
