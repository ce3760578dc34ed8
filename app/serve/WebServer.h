#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace cli::serve {

struct ServerOptions {
  // The address listened on: loopback unless the user asked for another.
  std::string address = "127.0.0.1";
  int port = 8765;  // 0: a free one, chosen by the system
  // The secret every request carries (query `token=` or the cookie the
  // first load sets).
  std::string token;
  // A file's bytes, as the command line reads at most.
  size_t fileLimit = 64u << 20;
  // What the pages' documents may hold together, and how many there may be.
  size_t memoryLimit = size_t{2} << 30;
  size_t pageLimit = 64;
  std::chrono::steady_clock::duration idleLimit = std::chrono::hours(1);
  // How long a request may pause while it is sent, and an answer while it
  // is taken: a client that stops half way is let go of after this.
  std::chrono::seconds readTimeout{5}, writeTimeout{5};
  // The threads answering requests; each holds one connection at a time.
  int threads = 16;
};

// `inkcurve serve`'s HTTP server: the page's files and the API its script
// calls, one WebDocument a page. Every request must name the served address
// in its Host header and carry the token; a request that changes something
// must come from the page's own origin. Nothing a request holds reaches the
// file system.
class WebServer {
 public:
  explicit WebServer(ServerOptions options);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Takes the address and port; false with the reason in `error`.
  bool bind(std::string& error);
  // The port bound (the one chosen for port 0).
  int port() const;
  // What a browser opens: the address with the token.
  std::string pageAddress() const;
  // Answers requests until stop(); false when it could not serve.
  bool run();
  // Ends run() from any thread; answers in progress are finished first.
  void stop();
  // Whether run() is answering requests.
  bool running() const;
  // The documents held now.
  size_t pagesHeld() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace cli::serve
