#include "platform/view/View.h"

#include "platform/Fatal.h"

namespace platform::view {

double mainScreenScale() { return 1.0; }

View::View(const graphics::Rect& frame) : frame_(frame), bounds_({0, 0}, frame.size) {}

void View::setFrame(const graphics::Rect& frame) {
  frame_ = frame;
  bounds_.size = frame.size;
}

void View::setBounds(const graphics::Rect& bounds) { bounds_ = bounds; }

namespace {

bool covers(const graphics::Rect& outer, const graphics::Rect& inner) {
  return outer.minX() <= inner.minX() && inner.maxX() <= outer.maxX() && outer.minY() <= inner.minY() &&
         inner.maxY() <= outer.maxY();
}

}  // namespace

void View::setNeedsDisplayInRect(const graphics::Rect& rect) {
  for (const graphics::Rect& listed : dirtyRects_) {
    if (covers(listed, rect)) return;
  }
  if (covers(rect, bounds_)) {
    dirtyRects_.clear();
  } else {
    std::erase_if(dirtyRects_, [&rect](const graphics::Rect& listed) { return covers(rect, listed); });
  }
  dirtyRects_.push_back(rect);
}

void View::setWantsLayer(bool wants) {
  wantsLayer_ = wants;
  if (!wants) layerBackground_.reset();
}

std::optional<graphics::Color> View::layerBackgroundColor() const {
  return wantsLayer_ ? layerBackground_ : std::nullopt;
}

void View::setLayerBackgroundColor(std::optional<graphics::Color> color) {
  if (wantsLayer_) layerBackground_ = color;
}

std::vector<Touch> View::touchesInView(const TouchEvent& event) const {
  std::vector<Touch> inView;
  for (const Touch& touch : event.touches) {
#ifndef NDEBUG
    // A touch lies in some view; one without is a program's own event built
    // without it, which would be dropped without a word.
    if (!touch.view) fatalError("A Touch of a TouchEvent has no view: set Touch::view to the view it lies in");
#endif
    if (touch.view == this) inView.push_back(touch);
  }
  return inView;
}

}  // namespace platform::view
