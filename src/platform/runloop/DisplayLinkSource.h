#pragma once

#include <functional>
#include <memory>

#include "platform/ScopedSetting.h"

namespace platform::runloop {

// The display-refresh source behind a display link: while started, its output
// function is called once per refresh (60 times a second) on the refresh
// thread. Every source of the process shares that one thread: it runs while
// at least one source is started and calls the started sources' outputs in
// turn, so a started source costs a place in a list, not a thread of its own.
// Machines without a display have no sources.
class DisplayLinkSource {
 public:
  using Output = std::function<void()>;
  static constexpr double refreshInterval = 1.0 / 60.0;

  // A stopped source for the active displays; nullptr when displays are not
  // available.
  static std::unique_ptr<DisplayLinkSource> create(Output output);

  // Stops the source first.
  ~DisplayLinkSource();
  DisplayLinkSource(const DisplayLinkSource&) = delete;
  DisplayLinkSource& operator=(const DisplayLinkSource&) = delete;

  // Joins the refresh; nothing when started.
  void start();
  // Leaves the refresh and waits until no call of its output is under way;
  // no call follows. Never call it from an output function.
  void stop();
  bool isRunning() const;

 private:
  explicit DisplayLinkSource(Output output);
  friend class RefreshThread;

  Output output_;
};

// Whether display links can be made: true unless a test or a headless run
// says otherwise, which makes every display link fall back to a timer.
bool displaysAvailable();
// Returns the value it replaced.
bool setDisplaysAvailable(bool available);
// Displays present or not for one scope.
using ScopedDisplaysAvailable = ScopedSetting<bool, &setDisplaysAvailable>;

}  // namespace platform::runloop
