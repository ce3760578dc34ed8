#pragma once

#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform::view {

// The view stand-in: a frame in its parent's coordinates, bounds in its own,
// and the rectangles marked for redrawing. The chart views build on it.
class View {
 public:
  View() = default;
  // The bounds start at (0, 0) with the frame's size.
  explicit View(const graphics::Rect& frame);
  virtual ~View() = default;

  virtual graphics::Rect frame() const { return frame_; }
  // The bounds take the new frame's size and keep their origin.
  virtual void setFrame(const graphics::Rect& frame);
  virtual graphics::Rect bounds() const { return bounds_; }
  // The frame is left as it is.
  virtual void setBounds(const graphics::Rect& bounds);

  // Marks the rectangle (in bounds coordinates) as needing to be drawn again.
  virtual void setNeedsDisplayInRect(const graphics::Rect& rect);
  // Every rectangle marked so far, in the order marked.
  const std::vector<graphics::Rect>& dirtyRects() const { return dirtyRects_; }

 private:
  graphics::Rect frame_;
  graphics::Rect bounds_;
  std::vector<graphics::Rect> dirtyRects_;
};

}  // namespace platform::view
