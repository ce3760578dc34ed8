#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Object.h"
#include "platform/graphics/Geometry.h"
#include "platform/view/View.h"

namespace platform::view {

// The platform's accessibility element: a label, a role, a parent view and a
// frame. The frame is kept in the parent's space; with no windows its screen
// frame is the same rectangle.
class AccessibilityElement : public Object {
 public:
  virtual std::optional<std::string> platformLabel() const { return label_; }
  virtual void setPlatformLabel(std::optional<std::string> label) { label_ = std::move(label); }
  virtual std::string role() const { return role_; }
  virtual void setRole(std::string role) { role_ = std::move(role); }
  virtual std::shared_ptr<View> parent() const { return parent_.lock(); }
  virtual void setParent(const std::shared_ptr<View>& parent) { parent_ = parent; }
  virtual graphics::Rect frameInParentSpace() const { return frame_; }
  virtual void setFrameInParentSpace(const graphics::Rect& frame) { frame_ = frame; }
  // In screen coordinates, as derived from the frame in parent space.
  virtual graphics::Rect platformAccessibilityFrame() const { return frame_; }

 private:
  std::optional<std::string> label_;
  std::string role_;
  std::weak_ptr<View> parent_;
  graphics::Rect frame_;
};

// The accessibility notifications posted so far, for tests; the element is
// held weakly.
struct AccessibilityNotification {
  std::weak_ptr<Object> element;
  std::string name;
};

inline constexpr const char* layoutChangedNotification = "AXLayoutChanged";

// Records the notification. Main thread only.
void postAccessibilityNotification(const std::shared_ptr<Object>& element, std::string_view name);
const std::vector<AccessibilityNotification>& postedAccessibilityNotifications();
void clearPostedAccessibilityNotifications();

}  // namespace platform::view
