#include "platform/runloop/DisplayLinkSource.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::runloop {

namespace {

std::atomic<bool> available{true};

}  // namespace

// The one refresh thread of the process. It runs while the list of started
// sources is not empty and ends by itself when the list empties; the next
// start makes a new one.
class RefreshThread {
 public:
  static RefreshThread& shared() {
    static RefreshThread thread;
    return thread;
  }

  ~RefreshThread() {
    std::thread ending;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
      ending = std::move(thread_);
    }
    wake_.notify_all();
    if (ending.joinable()) ending.join();
  }

  void attach(DisplayLinkSource* source) {
    std::thread ended;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (std::find(started_.begin(), started_.end(), source) != started_.end()) return;
      started_.push_back(source);
      if (!running_) {
        // A thread that ran out of sources has returned, or is returning.
        ended = std::move(thread_);
        running_ = true;
        thread_ = std::thread([this] { run(); });
      }
    }
    if (ended.joinable()) ended.join();
  }

  void detach(DisplayLinkSource* source) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      const auto it = std::find(started_.begin(), started_.end(), source);
      if (it == started_.end()) return;
      started_.erase(it);
    }
    wake_.notify_all();
    // The refresh holds `calling_` from before it reads the list until its
    // last output returns: once it is ours, no call of this source's output
    // is under way, and the next refresh no longer sees the source.
    std::lock_guard<std::mutex> wait(calling_);
  }

  bool isAttached(const DisplayLinkSource* source) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::find(started_.begin(), started_.end(), source) != started_.end();
  }

 private:
  RefreshThread() = default;

  void run() {
    const auto interval = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(DisplayLinkSource::refreshInterval));
    auto next = std::chrono::steady_clock::now() + interval;
    std::vector<DisplayLinkSource*> sources;
    while (true) {
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait_until(lock, next, [this] { return stopping_ || started_.empty(); });
        if (stopping_ || started_.empty()) {
          running_ = false;
          return;
        }
      }
      {
        std::lock_guard<std::mutex> calling(calling_);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          sources = started_;
        }
        for (DisplayLinkSource* source : sources) source->output_();
      }
      next += interval;
      // A refresh missed (a slow output call) is skipped, not made up for.
      const auto now = std::chrono::steady_clock::now();
      if (next < now) next = now + interval;
    }
  }

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<DisplayLinkSource*> started_;
  bool running_ = false;
  bool stopping_ = false;
  std::thread thread_;
  std::mutex calling_;
};

bool displaysAvailable() { return available.load(); }
bool setDisplaysAvailable(bool value) { return available.exchange(value); }

DisplayLinkSource::DisplayLinkSource(Output output) : output_(std::move(output)) {}

std::unique_ptr<DisplayLinkSource> DisplayLinkSource::create(Output output) {
  if (!displaysAvailable()) return nullptr;
  return std::unique_ptr<DisplayLinkSource>(new DisplayLinkSource(std::move(output)));
}

DisplayLinkSource::~DisplayLinkSource() { stop(); }

void DisplayLinkSource::start() { RefreshThread::shared().attach(this); }

void DisplayLinkSource::stop() { RefreshThread::shared().detach(this); }

bool DisplayLinkSource::isRunning() const { return RefreshThread::shared().isAttached(this); }

}  // namespace platform::runloop
