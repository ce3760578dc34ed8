#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/ScopedSetting.h"

namespace platform::runloop {

// The display-refresh source behind a display link: a thread of its own that
// calls the output function once per refresh (60 times a second) while
// started. Machines without a display have none.
class DisplayLinkSource {
 public:
  using Output = std::function<void()>;
  static constexpr double refreshInterval = 1.0 / 60.0;

  // A stopped source for the active displays; nullptr when displays are not
  // available.
  static std::unique_ptr<DisplayLinkSource> create(Output output);

  // Stops the thread first.
  ~DisplayLinkSource();
  DisplayLinkSource(const DisplayLinkSource&) = delete;
  DisplayLinkSource& operator=(const DisplayLinkSource&) = delete;

  // Starts the thread; nothing when running.
  void start();
  // Stops the thread and waits for it to end (an output call under way
  // finishes first). Never call it from the output function.
  void stop();
  bool isRunning() const;

 private:
  explicit DisplayLinkSource(Output output);
  void run();

  Output output_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
};

// Whether display links can be made: true unless a test or a headless run
// says otherwise, which makes every display link fall back to a timer.
bool displaysAvailable();
// Returns the value it replaced.
bool setDisplaysAvailable(bool available);
// Displays present or not for one scope.
using ScopedDisplaysAvailable = ScopedSetting<bool, &setDisplaysAvailable>;

}  // namespace platform::runloop
