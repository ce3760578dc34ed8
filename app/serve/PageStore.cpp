#include "serve/PageStore.h"

#include <malloc.h>
#include <sys/random.h>

#include <cerrno>
#include <stdexcept>

namespace cli::serve {

namespace {
// As many dropped ids as a day of pages opened once a minute would leave.
constexpr size_t kDroppedIdsKept = 2048;
}  // namespace

std::string randomHex128() {
  unsigned char bytes[16];
  size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw std::runtime_error("the system gave no random bytes");
    got += static_cast<size_t>(n);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char b : bytes) {
    hex += kHex[b >> 4];
    hex += kHex[b & 15];
  }
  return hex;
}

PageStore::PageStore(size_t pageLimit, size_t memoryLimit, Clock::duration idleLimit)
    : pageLimit_(pageLimit < 1 ? 1 : pageLimit), memoryLimit_(memoryLimit), idleLimit_(idleLimit) {}

std::pair<std::string, std::shared_ptr<Page>> PageStore::create() {
  auto page = std::make_shared<Page>();
  const size_t bytes = page->bytesHeld();
  std::string id = randomHex128();
  std::lock_guard lock(mutex_);
  sweepLocked(Clock::now());
  while (pages_.size() >= pageLimit_ && dropOldestLocked({})) {
  }
  pages_[id] = Entry{page, Clock::now(), bytes};
  total_ += bytes;
  return {std::move(id), std::move(page)};
}

std::shared_ptr<Page> PageStore::find(const std::string& id, Lookup& lookup) {
  std::lock_guard lock(mutex_);
  const auto now = Clock::now();
  sweepLocked(now);
  const auto it = pages_.find(id);
  if (it == pages_.end()) {
    lookup = dropped_.count(id) ? Lookup::dropped : Lookup::unknown;
    return nullptr;
  }
  lookup = Lookup::found;
  it->second.lastUsed = now;
  return it->second.page;
}

void PageStore::makeRoom(const std::string& id, size_t incoming) {
  std::lock_guard lock(mutex_);
  while (total_ + incoming > memoryLimit_ && dropOldestLocked(id)) {
  }
}

void PageStore::held(const std::string& id, size_t bytes) {
  std::lock_guard lock(mutex_);
  const auto it = pages_.find(id);
  if (it == pages_.end()) return;  // dropped while it was being changed
  total_ = total_ - it->second.bytes + bytes;
  it->second.bytes = bytes;
  it->second.lastUsed = Clock::now();
  while (total_ > memoryLimit_ && dropOldestLocked(id)) {
  }
}

bool PageStore::close(const std::string& id) {
  std::lock_guard lock(mutex_);
  const auto it = pages_.find(id);
  if (it == pages_.end()) return false;
  dropLocked(it);
  giveBackIfEmptyLocked();
  return true;
}

void PageStore::giveBackIfEmptyLocked() {
  // With no page left, the memory the documents took goes back to the
  // system: the allocator keeps freed memory for the process otherwise, and
  // a server that served fifty pages would hold it for good.
  if (pages_.empty()) malloc_trim(0);
}

size_t PageStore::size() const {
  std::lock_guard lock(mutex_);
  return pages_.size();
}

size_t PageStore::bytesHeld() const {
  std::lock_guard lock(mutex_);
  return total_;
}

void PageStore::sweepLocked(Clock::time_point now) {
  const size_t before = pages_.size();
  for (auto it = pages_.begin(); it != pages_.end();) {
    auto next = std::next(it);
    if (now - it->second.lastUsed >= idleLimit_) dropLocked(it);
    it = next;
  }
  if (pages_.size() < before) giveBackIfEmptyLocked();
}

void PageStore::dropLocked(std::map<std::string, Entry>::iterator it) {
  total_ -= it->second.bytes;
  if (dropped_.insert(it->first).second) droppedOrder_.push_back(it->first);
  if (droppedOrder_.size() > kDroppedIdsKept) {
    dropped_.erase(droppedOrder_.front());
    droppedOrder_.pop_front();
  }
  pages_.erase(it);
}

bool PageStore::dropOldestLocked(const std::string& keep) {
  auto oldest = pages_.end();
  for (auto it = pages_.begin(); it != pages_.end(); ++it)
    if (it->first != keep && (oldest == pages_.end() || it->second.lastUsed < oldest->second.lastUsed)) oldest = it;
  if (oldest == pages_.end()) return false;
  dropLocked(oldest);
  return true;
}

}  // namespace cli::serve
