#include "ServeCommand.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "Args.h"
#include "Cli.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"
#include "serve/PageStore.h"
#include "serve/WebServer.h"

extern char** environ;

namespace cli {

std::string serveUsage() {
  return "  serve [--port N] [--open] [--listen ADDRESS]\n"
         "             show the linearization window as a page in the browser, served\n"
         "             by this program on 127.0.0.1 port N (8765; 0 for a free one)\n"
         "             until Ctrl-C; --open opens it in the desktop's browser\n";
}

namespace {

std::string fullUsage() {
  return "usage: inkcurve serve [--port N] [--open] [--listen ADDRESS]\n"
         "\n"
         "Serves the linearization window as a page: open the address it prints (it\n"
         "holds a secret token) in a browser on this machine, drop a measurement file\n"
         "and a .quad on it, and save the corrected files from it. The files stay in\n"
         "the program's memory; nothing is written to disk. Ctrl-C stops it.\n"
         "\n"
         "options:\n"
         "  --port N          the port, 8765 by default; 0 takes a free one\n"
         "  --open            open the page in the desktop's browser (xdg-open)\n"
         "  --listen ADDRESS  serve on ADDRESS, one of this machine's IP addresses,\n"
         "                    rather than 127.0.0.1: other machines may reach it\n"
         "  -h, --help        show this text\n";
}

int usageError(std::ostream& err, const std::string& message) {
  err << "inkcurve serve: " << message << "\n\n" << fullUsage();
  return kExitUsage;
}

// The message for stderr written straight to it: the thread that waits for
// the browser's opener may outlive the command's streams.
void writeStderr(const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

// Opens `address` in the desktop's browser through xdg-open, started
// without a shell; a failure is said and the server goes on.
void openInBrowser(const std::string& address, std::ostream& err) {
  const std::string program = "xdg-open";
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(address.c_str()), nullptr};
  pid_t pid = 0;
  const int failed = ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (failed) {
    err << "inkcurve serve: no browser was opened: "
        << (failed == ENOENT ? std::string("xdg-open is not installed") : "xdg-open: " + std::string(std::strerror(failed)))
        << "; open the address above in a browser\n";
    return;
  }
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      writeStderr("inkcurve serve: xdg-open found no browser to open (status " +
                  std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)) +
                  "); open the address above in a browser\n");
  }).detach();
}

// The pipe the stop signals' handler writes to.
int stopPipe[2] = {-1, -1};

extern "C" void stopSignalled(int) {
  const int saved = errno;
  const char byte = 1;
  (void)!::write(stopPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

int runServe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::set<std::string> valueOptions{"port", "listen"};
  if (asksForHelp(args, valueOptions)) {
    out << fullUsage();
    return kExitOk;
  }
  std::string error;
  const auto parsed = parseArgs(args, valueOptions, {"open"}, error);
  if (!parsed) return usageError(err, error);
  if (!parsed->positional.empty()) return usageError(err, "unexpected argument '" + parsed->positional[0] + "'");

  serve::ServerOptions options;
  options.fileLimit = platform::files::kInputFileSizeLimit;
  if (auto p = parsed->option("port")) {
    const auto port = platform::text::parseInt(*p);
    if (!port || *port < 0 || *port > 65535)
      return usageError(err, "--port needs a port number from 0 to 65535, not '" + platform::text::printable(*p) + "'");
    options.port = static_cast<int>(*port);
  }
  bool elsewhere = false;
  if (auto a = parsed->option("listen")) {
    unsigned char raw[16];
    const bool v4 = ::inet_pton(AF_INET, a->c_str(), raw) == 1, v6 = !v4 && ::inet_pton(AF_INET6, a->c_str(), raw) == 1;
    if (!v4 && !v6)
      return usageError(err, "--listen needs an IP address of this machine, not '" + platform::text::printable(*a) + "'");
    if (*a == "0.0.0.0" || (v6 && std::all_of(raw, raw + 16, [](unsigned char b) { return b == 0; })))
      return usageError(err, "--listen needs one address of this machine, which the page's requests must name, "
                             "not every address (" + *a + ")");
    options.address = *a;
    elsewhere = !(v4 && raw[0] == 127) && *a != "::1";
  }
  options.token = serve::randomHex128() + serve::randomHex128();

  serve::WebServer server(options);
  if (!server.bind(error)) {
    err << "inkcurve serve: " << error << "\n";
    return kExitFailed;
  }
  // SIGINT and SIGTERM stop the server: the handler only writes a byte to a
  // pipe (whichever thread the signal lands on, a sanitizer's included),
  // and a thread of our own that reads it stops the server. A second signal
  // while it stops ends the program at once.
  if (::pipe2(stopPipe, O_CLOEXEC) != 0) {
    err << "inkcurve serve: " << std::strerror(errno) << "\n";
    return kExitFailed;
  }
  struct sigaction onStop {}, oldInt {}, oldTerm {};
  onStop.sa_handler = stopSignalled;
  sigemptyset(&onStop.sa_mask);
  sigaction(SIGINT, &onStop, &oldInt);
  sigaction(SIGTERM, &onStop, &oldTerm);
  if (elsewhere)
    err << "inkcurve serve: warning: serving on " << options.address
        << ", which other machines may reach: anyone there who learns the token can use the page, and the "
           "files travel unencrypted\n";
  out << "inkcurve serve: the page is at " << server.pageAddress() << "\n"
      << "open it in a browser on this machine; Ctrl-C stops the server\n";
  if (!outputReaches(out)) return kExitFailed;
  if (parsed->flags.count("open")) openInBrowser(server.pageAddress(), err);

  std::atomic<bool> stopping = false, ended = false;
  std::thread waiter([&] {
    char byte = 0;
    while (::read(stopPipe[0], &byte, 1) < 0 && errno == EINTR) {
    }
    if (ended) return;
    stopping = true;
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(SIGINT, &byDefault, nullptr);
    sigaction(SIGTERM, &byDefault, nullptr);
    // A signal that comes before the server runs waits for it to.
    while (!ended && !server.running()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!ended) server.stop();
  });
  const bool served = server.run();
  ended = true;
  const char wake = 0;
  (void)!::write(stopPipe[1], &wake, 1);
  waiter.join();
  sigaction(SIGINT, &oldInt, nullptr);
  sigaction(SIGTERM, &oldTerm, nullptr);
  ::close(stopPipe[0]);
  ::close(stopPipe[1]);
  if (!served && !stopping) {
    err << "inkcurve serve: the server stopped unexpectedly\n";
    return kExitFailed;
  }
  out << "inkcurve serve: stopped\n";
  return kExitOk;
}

}  // namespace cli
