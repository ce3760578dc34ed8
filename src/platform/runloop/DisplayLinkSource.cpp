#include "platform/runloop/DisplayLinkSource.h"

#include <atomic>
#include <chrono>

namespace platform::runloop {

namespace {

std::atomic<bool> available{true};

}  // namespace

bool displaysAvailable() { return available.load(); }
bool setDisplaysAvailable(bool value) { return available.exchange(value); }

DisplayLinkSource::DisplayLinkSource(Output output) : output_(std::move(output)) {}

std::unique_ptr<DisplayLinkSource> DisplayLinkSource::create(Output output) {
  if (!displaysAvailable()) return nullptr;
  return std::unique_ptr<DisplayLinkSource>(new DisplayLinkSource(std::move(output)));
}

DisplayLinkSource::~DisplayLinkSource() { stop(); }

void DisplayLinkSource::start() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (thread_.joinable()) return;
  stopping_ = false;
  thread_ = std::thread([this] { run(); });
}

void DisplayLinkSource::stop() {
  std::thread ending;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!thread_.joinable()) return;
    stopping_ = true;
    ending = std::move(thread_);
  }
  wake_.notify_all();
  ending.join();
}

bool DisplayLinkSource::isRunning() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return thread_.joinable();
}

void DisplayLinkSource::run() {
  const auto interval = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(refreshInterval));
  auto next = std::chrono::steady_clock::now() + interval;
  while (true) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (wake_.wait_until(lock, next, [this] { return stopping_; })) return;
    }
    output_();
    next += interval;
    // A refresh missed (a slow output call) is skipped, not made up for.
    const auto now = std::chrono::steady_clock::now();
    if (next < now) next = now + interval;
  }
}

}  // namespace platform::runloop
