#include "platform/view/AccessibilityElement.h"

namespace platform::view {

namespace {

std::vector<AccessibilityNotification>& posted() {
  static std::vector<AccessibilityNotification> notifications;
  return notifications;
}

}  // namespace

void postAccessibilityNotification(const std::shared_ptr<Object>& element, std::string_view name) {
  posted().push_back(AccessibilityNotification{element, std::string(name)});
}

const std::vector<AccessibilityNotification>& postedAccessibilityNotifications() { return posted(); }

void clearPostedAccessibilityNotifications() { posted().clear(); }

}  // namespace platform::view
