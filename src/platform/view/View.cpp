#include "platform/view/View.h"

namespace platform::view {

View::View(const graphics::Rect& frame) : frame_(frame), bounds_({0, 0}, frame.size) {}

void View::setFrame(const graphics::Rect& frame) {
  frame_ = frame;
  bounds_.size = frame.size;
}

void View::setBounds(const graphics::Rect& bounds) { bounds_ = bounds; }

void View::setNeedsDisplayInRect(const graphics::Rect& rect) { dirtyRects_.push_back(rect); }

}  // namespace platform::view
