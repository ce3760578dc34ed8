#pragma once

#include <utility>

namespace platform {

// A process-wide setting installed for one scope: made, it installs the value
// through the setting's setter (which returns the value it replaced);
// destroyed, it puts that value back. Tests and tools that swap the current
// text metrics, image back end, clock or log sink hold one of these instead
// of calling the setter twice by hand, so a failed assertion or an early
// return cannot leave the replacement in force for whatever runs next.
// Scopes nest: each puts back what was in force when it began.
//
//   const platform::graphics::ScopedTextMetrics metrics(std::make_shared<Wide>());
template <class Value, Value (*install)(Value)>
class ScopedSetting {
 public:
  [[nodiscard]] explicit ScopedSetting(Value value) : previous_(install(std::move(value))) {}
  ~ScopedSetting() { install(std::move(previous_)); }
  ScopedSetting(const ScopedSetting&) = delete;
  ScopedSetting& operator=(const ScopedSetting&) = delete;

 private:
  Value previous_;
};

}  // namespace platform
