#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "WebDocument.h"
#include "WebEditor.h"
#include "WebStarter.h"

namespace cli::serve {

// One open page's document. Its mutex is held while the document is used:
// the server answers on several threads, a document takes one at a time.
struct Page {
  std::mutex mutex;
  WebDocument document;
  WebStarter starter;
  // The curve editor, of the .quad above or the starter curve.
  WebEditor editor;
  // What the page's linearization, starter curve and editor hold together.
  size_t bytesHeld() const { return document.bytesHeld() + starter.bytesHeld() + editor.bytesHeld(); }
};

// The documents of the open pages, each under a page id made when the page
// loads, held in memory within limits: a page unused for `idleLimit` is
// dropped, and so is the one unused longest when a new page would pass
// `pageLimit` or the documents together would hold more than `memoryLimit`
// bytes (Page::bytesHeld). A dropped page's id is remembered, so that
// its page can be told why its files are gone.
class PageStore {
 public:
  using Clock = std::chrono::steady_clock;

  PageStore(size_t pageLimit, size_t memoryLimit, Clock::duration idleLimit);

  // A new page, and its id (128 random bits in hex).
  std::pair<std::string, std::shared_ptr<Page>> create();

  enum class Lookup { found, dropped, unknown };
  // The page of `id`, marked used now; nothing with why. The page stays
  // whole while the caller holds it, even when it is dropped meanwhile.
  std::shared_ptr<Page> find(const std::string& id, Lookup& lookup);

  // Room for `incoming` more bytes in page `id`, before a file is opened:
  // the pages unused longest (never `id` itself) are dropped while the
  // documents together and the incoming bytes would pass the memory limit.
  void makeRoom(const std::string& id, size_t incoming);
  // What page `id` holds now, after a change; other pages are dropped as
  // makeRoom drops them when the total passes the limit.
  void held(const std::string& id, size_t bytes);

  // Drops page `id` at its page's asking; false when it is not held.
  bool close(const std::string& id);

  size_t size() const;
  size_t bytesHeld() const;

 private:
  struct Entry {
    std::shared_ptr<Page> page;
    Clock::time_point lastUsed;
    size_t bytes = 0;
  };
  void sweepLocked(Clock::time_point now);
  void dropLocked(std::map<std::string, Entry>::iterator it);
  void giveBackIfEmptyLocked();
  // Drops the page unused longest other than `keep`; false when there is none.
  bool dropOldestLocked(const std::string& keep);

  const size_t pageLimit_, memoryLimit_;
  const Clock::duration idleLimit_;
  mutable std::mutex mutex_;
  std::map<std::string, Entry> pages_;
  size_t total_ = 0;
  // The ids dropped last, oldest first, to tell "dropped" from "unknown".
  std::deque<std::string> droppedOrder_;
  std::set<std::string> dropped_;
};

// 128 bits from the system's random source, as 32 hex digits.
std::string randomHex128();

}  // namespace cli::serve
