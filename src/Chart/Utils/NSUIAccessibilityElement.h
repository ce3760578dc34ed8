#pragma once

#include <memory>
#include <string>

#include "platform/Object.h"
#include "platform/graphics/Geometry.h"
#include "platform/view/AccessibilityElement.h"
#include "platform/view/View.h"

namespace chart {

// The accessibility element the renderers make for each value: a row of its
// container view, labelled and framed in the container's coordinates.
class NSUIAccessibilityElement : public platform::view::AccessibilityElement {
 public:
  // The container becomes the container view when it is a view (otherwise
  // there is none), and the accessibility parent; the role is the row role.
  explicit NSUIAccessibilityElement(const std::shared_ptr<platform::Object>& container);

  virtual std::shared_ptr<platform::view::View> containerView() const { return containerView_.lock(); }
  virtual bool isHeader() const { return isHeader_; }
  virtual void setIsHeader(bool header) { isHeader_ = header; }
  virtual bool isSelected() const { return isSelected_; }
  virtual void setIsSelected(bool selected) { isSelected_ = selected; }

  // The platform label, or "" when there is none.
  virtual std::string accessibilityLabel() const;
  virtual void setAccessibilityLabel(const std::string& label);

  // In screen coordinates.
  virtual platform::graphics::Rect accessibilityFrame() const;
  // `frame` is in the container view's coordinates; nothing happens once the
  // container view is gone.
  virtual void setAccessibilityFrame(const platform::graphics::Rect& frame);

 private:
  std::weak_ptr<platform::view::View> containerView_;
  bool isHeader_ = false;
  bool isSelected_ = false;
};

}  // namespace chart
