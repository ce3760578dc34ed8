#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/view/View.h"

namespace chart {

using platform::graphics::Color;
using platform::graphics::Rect;
using platform::view::Touch;
using platform::view::TouchEvent;

// The base of every chart view: a flipped view (y grows downward), whose
// background colour lives on its layer, that speaks of itself as "Chart
// View" to accessibility and hands touch events to the nsuiTouches...
// operations that chart views override.
class NSUIView : public platform::view::View {
 public:
  // The role is set to the list role before the platform view is set up,
  // then given to accessibility.
  NSUIView();
  explicit NSUIView(const Rect& frame);

  virtual std::string role() const { return role_; }
  virtual void setRole(std::string role) { role_ = std::move(role); }

  bool isFlipped() const override { return true; }

  // The layer's background colour; absent without a layer or a colour.
  virtual std::optional<Color> backgroundColor() const;
  // Turns the layer on and sets its background colour (absent clears it).
  virtual void setBackgroundColor(std::optional<Color> color);

  std::string accessibilityLabel() const override { return "Chart View"; }
  // The accessibility children, as they are.
  virtual std::vector<std::shared_ptr<platform::Object>> accessibilityRows() const { return accessibilityChildren(); }

  // Each sends the event's touches that lie in this view, with the event, to
  // the matching nsuiTouches... operation. A touch lies in this view when
  // its `view` is this view: a touch of another view is ignored, and one
  // whose `view` is null stops a debug build (a release build ignores it),
  // so a program that makes its own TouchEvents sets `view` to the chart
  // view. The operation is called even when no touch is left: the
  // bar-line views take such an ended or cancelled event as the end of the
  // gesture, and such a began event stops a running move as any touch-down
  // does.
  void touchesBeganWithEvent(const TouchEvent& event) override;
  void touchesMovedWithEvent(const TouchEvent& event) override;
  void touchesEndedWithEvent(const TouchEvent& event) override;
  void touchesCancelledWithEvent(const TouchEvent& event) override;

  // Chart views override these; the base passes the event on to the
  // platform view's matching touches...WithEvent.
  virtual void nsuiTouchesBegan(const std::vector<Touch>& touches, const TouchEvent& event);
  virtual void nsuiTouchesMoved(const std::vector<Touch>& touches, const TouchEvent& event);
  virtual void nsuiTouchesEnded(const std::vector<Touch>& touches, const TouchEvent& event);
  virtual void nsuiTouchesCancelled(const std::vector<Touch>& touches, const TouchEvent& event);

 private:
  std::string role_ = platform::view::listRole;
};

}  // namespace chart
