#include "platform/graphics/TextMetrics.h"

#include <mutex>
#include <utility>

#include "platform/graphics/FixedTextMetrics.h"

namespace platform::graphics {

namespace {

struct Installed {
  std::mutex mutex;
  std::shared_ptr<const TextMetrics> metrics = std::make_shared<FixedTextMetrics>();
};

Installed& installed() {
  static Installed installed;
  return installed;
}

// The metrics a view has put in force on this thread, if any.
thread_local const TextMetrics* inForce = nullptr;

// Greedy wrap of one paragraph (no line feeds) at its spaces.
void wrapParagraph(std::string_view paragraph, double maxWidth,
                   const std::function<double(std::string_view)>& width, std::vector<std::string>& lines) {
  std::string line;
  bool lineStarted = false;
  size_t start = 0;
  while (true) {
    const size_t space = paragraph.find(' ', start);
    const std::string_view word = paragraph.substr(start, space == std::string_view::npos ? std::string_view::npos
                                                                                          : space - start);
    if (!lineStarted) {
      line = word;
      lineStarted = true;
    } else {
      std::string candidate = line + ' ' + std::string(word);
      if (maxWidth > 0 && width(candidate) > maxWidth) {
        lines.push_back(std::move(line));
        line = word;
      } else {
        line = std::move(candidate);
      }
    }
    if (space == std::string_view::npos) break;
    start = space + 1;
  }
  lines.push_back(std::move(line));
}

}  // namespace

const TextMetrics& currentTextMetrics() {
  if (inForce) return *inForce;
  // Held on this thread, so that another thread installing other metrics
  // cannot free them while they are in use here.
  thread_local std::shared_ptr<const TextMetrics> held;
  held = installedTextMetrics();
  return *held;
}

std::shared_ptr<const TextMetrics> installedTextMetrics() {
  Installed& in = installed();
  const std::lock_guard<std::mutex> lock(in.mutex);
  return in.metrics;
}

std::shared_ptr<const TextMetrics> setCurrentTextMetrics(std::shared_ptr<const TextMetrics> metrics) {
  if (!metrics) metrics = std::make_shared<FixedTextMetrics>();
  Installed& in = installed();
  const std::lock_guard<std::mutex> lock(in.mutex);
  return std::exchange(in.metrics, std::move(metrics));
}

ScopedThreadTextMetrics::ScopedThreadTextMetrics(std::shared_ptr<const TextMetrics> metrics)
    : metrics_(std::move(metrics)), previous_(inForce) {
  if (metrics_) inForce = metrics_.get();
}

ScopedThreadTextMetrics::~ScopedThreadTextMetrics() { inForce = previous_; }

std::vector<std::string> breakLines(std::string_view text, double maxWidth,
                                    const std::function<double(std::string_view)>& width) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  size_t start = 0;
  while (true) {
    const size_t feed = text.find('\n', start);
    const std::string_view paragraph =
        text.substr(start, feed == std::string_view::npos ? std::string_view::npos : feed - start);
    if (maxWidth > 0) {
      wrapParagraph(paragraph, maxWidth, width, lines);
    } else {
      lines.emplace_back(paragraph);
    }
    if (feed == std::string_view::npos) break;
    start = feed + 1;
  }
  return lines;
}

int64_t codePointCount(std::string_view text) {
  int64_t count = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace platform::graphics
