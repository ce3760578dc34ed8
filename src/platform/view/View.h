#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Object.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

namespace platform::view {

class View;

// The accessibility roles the chart component uses (the platform's values).
inline constexpr const char* listRole = "AXList";
inline constexpr const char* rowRole = "AXRow";

// One touch of a touch event, in the coordinates of the view it lies in,
// which `view` names: a program that builds its own events sets it (a touch
// without one stops a debug build, and is ignored by a release build).
struct Touch {
  graphics::Point location;
  const View* view = nullptr;
};

// A touch event: every touch of the moment, in any phase and any view.
struct TouchEvent {
  std::vector<Touch> touches;
};

// The scale of the main screen's backing store. There is no screen here; a
// pixel is a point.
double mainScreenScale();

// The view stand-in: a frame in its parent's coordinates, bounds in its own,
// the rectangles marked for redrawing, an optional layer with a background
// colour, and the accessibility fields. There are no windows, so screen
// coordinates are the view's own. The chart views build on it.
class View : public Object {
 public:
  View() = default;
  // The bounds start at (0, 0) with the frame's size.
  explicit View(const graphics::Rect& frame);

  virtual graphics::Rect frame() const { return frame_; }
  // The bounds take the new frame's size and keep their origin.
  virtual void setFrame(const graphics::Rect& frame);
  virtual graphics::Rect bounds() const { return bounds_; }
  // The frame is left as it is.
  virtual void setBounds(const graphics::Rect& bounds);
  // Whether y grows downward in the view's own coordinates.
  virtual bool isFlipped() const { return false; }

  // Marks the rectangle (in bounds coordinates) as needing to be drawn again.
  // The list stays short: a rectangle inside one already listed adds
  // nothing, one that holds listed rectangles takes their place, and one
  // that holds the whole bounds replaces the list.
  virtual void setNeedsDisplayInRect(const graphics::Rect& rect);
  // The rectangles marked since the view was last drawn, in the order
  // marked.
  const std::vector<graphics::Rect>& dirtyRects() const { return dirtyRects_; }
  // The view has been drawn: nothing is left to redraw.
  void clearNeedsDisplay() { dirtyRects_.clear(); }

  // The layer exists while wantsLayer is on; its background colour is absent
  // until set, and without a layer.
  bool wantsLayer() const { return wantsLayer_; }
  void setWantsLayer(bool wants);
  std::optional<graphics::Color> layerBackgroundColor() const;
  // Does nothing without a layer.
  void setLayerBackgroundColor(std::optional<graphics::Color> color);

  virtual std::string accessibilityRole() const { return role_; }
  virtual void setAccessibilityRole(std::string role) { role_ = std::move(role); }
  virtual std::string accessibilityLabel() const { return label_; }
  virtual void setAccessibilityLabel(std::string label) { label_ = std::move(label); }
  virtual std::vector<std::shared_ptr<Object>> accessibilityChildren() const { return children_; }
  virtual void setAccessibilityChildren(std::vector<std::shared_ptr<Object>> children) {
    children_ = std::move(children);
  }
  // A rectangle in the view's coordinates, in screen coordinates.
  virtual graphics::Rect convertRectToScreen(const graphics::Rect& rect) const { return rect; }

  // The touch events the view receives. The view passes them on to no one.
  virtual void touchesBeganWithEvent(const TouchEvent&) {}
  virtual void touchesMovedWithEvent(const TouchEvent&) {}
  virtual void touchesEndedWithEvent(const TouchEvent&) {}
  virtual void touchesCancelledWithEvent(const TouchEvent&) {}
  // The event's touches that lie in this view. A touch without a view stops
  // the program in a debug build (without NDEBUG), saying so; a release
  // build leaves it out.
  std::vector<Touch> touchesInView(const TouchEvent& event) const;

 private:
  graphics::Rect frame_;
  graphics::Rect bounds_;
  std::vector<graphics::Rect> dirtyRects_;
  bool wantsLayer_ = false;
  std::optional<graphics::Color> layerBackground_;
  std::string role_;
  std::string label_;
  std::vector<std::shared_ptr<Object>> children_;
};

}  // namespace platform::view
