#include "platform/files/Files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <new>
#include <pthread.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {
namespace {

std::string errnoText(const std::string& what, const std::filesystem::path& path, int err) {
  return what + " \"" + path.string() + "\": " + std::strerror(err);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// The temporary file's name: short and fixed apart from its random end, so
// that it fits wherever the target's own name fits, however long that is.
constexpr char kTemporaryPattern[] = ".inkcurve-XXXXXX";

// Why a file of this type is neither read nor replaced; nothing for a
// regular file. A folder keeps the system's own words.
std::optional<std::string> notARegularFile(mode_t mode) {
  if (S_ISREG(mode)) return std::nullopt;
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  const char* kind = S_ISFIFO(mode)                    ? "a FIFO"
                     : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                     : S_ISSOCK(mode)                  ? "a socket"
                                                       : "a special file";
  return std::string("not a regular file but ") + kind;
}

std::string tooLarge(std::uintmax_t size) {
  return std::to_string(size) + " bytes, more than the limit of " +
         std::to_string(kInputFileSizeLimit) + " bytes (" + std::to_string(kInputFileSizeLimit >> 20) + " MB)";
}

// The process's umask, read where the kernel shows it: setting it to read it
// back would change it, for a moment, for every other thread.
mode_t currentUmask() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

// The temporary files that exist, for the signal handler, which may only
// unlink them: a table of fixed size, each entry's name written in full
// before the entry is marked in use, with the signals held back while a file
// is made or renamed and its entry marked, so that the handler never sees a
// file without its entry nor an entry without its file. An output of every
// kind, each XML curve and a few to spare.
constexpr int kTemporarySignals[] = {SIGINT, SIGTERM, SIGHUP};
struct TemporaryEntry {
  std::atomic<bool> inUse{false};
  char path[PATH_MAX];
};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler reads the flags");
TemporaryEntry temporaries[64];

extern "C" void removeTemporariesAndEnd(int signal) {
  for (auto& entry : temporaries)
    if (entry.inUse.load(std::memory_order_acquire)) ::unlink(entry.path);
  // The signal's default action, taken as soon as the handler returns.
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  sigemptyset(&defaultAction.sa_mask);
  ::sigaction(signal, &defaultAction, nullptr);
  ::raise(signal);
}

// The handler is given each of the signals that would end the process as it
// stands, looked at again for every file; one that is ignored (nohup) or
// handled elsewhere is left alone.
void installSignalHandler() {
  for (int signal : kTemporarySignals) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) ||
        current.sa_handler != SIG_DFL)
      continue;
    struct sigaction handler {};
    handler.sa_handler = removeTemporariesAndEnd;
    sigemptyset(&handler.sa_mask);
    for (int other : kTemporarySignals) sigaddset(&handler.sa_mask, other);
    ::sigaction(signal, &handler, nullptr);
  }
}

// Holds SIGINT, SIGTERM and SIGHUP back for this thread while it lives.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kTemporarySignals) sigaddset(&held, signal);
    ::pthread_sigmask(SIG_BLOCK, &held, &before_);
  }
  ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t before_;
};

// Makes a new private file from `pattern` (ending in XXXXXX) and enters it in
// the table. Its entry, or -1 with errno set; `fd` gets the open file.
int makeTemporary(const std::string& pattern, int& fd) {
  installSignalHandler();
  if (pattern.size() >= PATH_MAX) {
    errno = ENAMETOOLONG;
    return -1;
  }
  SignalsHeld held;
  for (int i = 0; i < static_cast<int>(std::size(temporaries)); ++i) {
    auto& entry = temporaries[i];
    if (entry.inUse.load(std::memory_order_relaxed)) continue;
    std::memcpy(entry.path, pattern.c_str(), pattern.size() + 1);
    fd = ::mkostemp(entry.path, O_CLOEXEC);  // made new, 0600
    if (fd < 0) return -1;
    entry.inUse.store(true, std::memory_order_release);
    return i;
  }
  errno = EMFILE;
  return -1;
}

void removeTemporary(int entry) {
  SignalsHeld held;
  ::unlink(temporaries[entry].path);
  temporaries[entry].inUse.store(false, std::memory_order_release);
}

// Renames the temporary file over `target`: 0, or the error (the temporary
// file is then still there).
int renameTemporary(int entry, const std::filesystem::path& target) {
  SignalsHeld held;
  if (::rename(temporaries[entry].path, target.c_str()) != 0) return errno;
  temporaries[entry].inUse.store(false, std::memory_order_release);
  return 0;
}

// Makes a rename into `target`'s folder durable; a failure here leaves the
// new file in place, so it is not reported as a failed write.
void syncFolderOf(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

// The one batch open, if any.
ReplacementBatch* openBatch = nullptr;

// What writeFileReplacing replaces when asked to write `requested`.
struct Destination {
  std::filesystem::path target;  // a link's file, or `requested` itself
  bool exists = false;
  struct stat old {};
};

// The destination of `requested`, or why it is refused.
std::optional<std::string> findDestination(const std::filesystem::path& requested, Destination& destination) {
  auto refuse = [&](const std::string& why) { return "Could not write \"" + requested.string() + "\": " + why; };
  destination.target = requested;
  // Replace the file a symbolic link names, not the link itself; a link that
  // leads nowhere is refused rather than replaced by a file.
  struct stat link {};
  if (::lstat(requested.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    struct stat named {};
    if (::stat(requested.c_str(), &named) != 0)
      return refuse(errno == ENOENT ? "a symbolic link to a file that does not exist" : std::strerror(errno));
    std::error_code ec;
    auto resolved = std::filesystem::canonical(requested, ec);
    if (ec) return refuse(ec.message());
    destination.target = resolved;
  }
  if (destination.target.filename().empty()) return errnoText("Could not write", requested, EISDIR);
  destination.exists = ::stat(destination.target.c_str(), &destination.old) == 0;
  if (!destination.exists) return std::nullopt;
  // Renaming over a device or a FIFO would put a file in its place.
  if (auto why = notARegularFile(destination.old.st_mode)) return refuse(*why);
  // A file its owner made read-only to keep it is not replaced, as cp would
  // not write it; the effective user is asked, as cp's open would be.
  if (::faccessat(AT_FDCWD, destination.target.c_str(), W_OK, AT_EACCESS) != 0)
    return errnoText("Could not write", requested, errno);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string* error) {
  auto fail = [&](std::string reason) -> std::optional<std::string> {
    if (error) *error = std::move(reason);
    return std::nullopt;
  };
  auto refusal = [](const struct stat& st) -> std::optional<std::string> {
    if (auto why = notARegularFile(st.st_mode)) return why;
    if (static_cast<std::uintmax_t>(st.st_size) > kInputFileSizeLimit)
      return tooLarge(static_cast<std::uintmax_t>(st.st_size));
    return std::nullopt;
  };
  // The name is looked at before it is opened: opening a FIFO for reading
  // would wait for a writer, and a device may never end.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return fail(std::strerror(errno));
  if (auto why = refusal(st)) return fail(*why);
  // Should the name have been replaced since, O_NONBLOCK keeps the open from
  // waiting, and the open file is looked at again.
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return fail(std::strerror(errno));
  if (::fstat(fd.get(), &st) != 0) return fail(std::strerror(errno));
  if (auto why = refusal(st)) return fail(*why);
  try {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
      ssize_t n = ::read(fd.get(), buf, sizeof buf);
      if (n < 0) {
        if (errno == EINTR) continue;
        return fail(std::strerror(errno));
      }
      if (n == 0) break;
      bytes.append(buf, static_cast<size_t>(n));
      // A file that grows while it is read is held to the limit all the same.
      if (bytes.size() > kInputFileSizeLimit) return fail(tooLarge(bytes.size()));
    }
    return bytes;
  } catch (const std::bad_alloc&) {
    return fail("not enough memory to read " + std::to_string(st.st_size) + " bytes");
  }
}

std::optional<std::string> replacementRefusal(const std::filesystem::path& path) {
  Destination destination;
  return findDestination(path, destination);
}

std::optional<std::string> writeFileReplacing(const std::filesystem::path& requested, std::string_view bytes) {
  Destination destination;
  if (auto refused = findDestination(requested, destination)) return refused;
  const auto& target = destination.target;
  const auto& old = destination.old;
  const mode_t finalMode = destination.exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());

  // Private until it is complete: the contents are never readable by others
  // before the file has the target's permission bits.
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  int made = -1;
  const int temporary = makeTemporary((folder / kTemporaryPattern).string(), made);
  if (temporary < 0) return errnoText("Could not write", requested, errno);
  Fd fd(made);

  auto abandon = [&](int err) -> std::optional<std::string> {
    ::close(fd.release());
    removeTemporary(temporary);
    return errnoText("Could not write", requested, err);
  };

  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd.get(), p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return abandon(errno);
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // Owner and group before the mode: a change of owner clears the set-ID
  // bits. Each is kept where this process may give it, and left otherwise.
  if (destination.exists) {
    if (::fchown(fd.get(), old.st_uid, static_cast<gid_t>(-1)) != 0 && errno != EPERM) return abandon(errno);
    if (::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM) return abandon(errno);
  }
  if (::fchmod(fd.get(), finalMode) != 0) return abandon(errno);
  if (::fsync(fd.get()) != 0) return abandon(errno);
  if (::close(fd.release()) != 0) {
    int err = errno;
    removeTemporary(temporary);
    return errnoText("Could not write", requested, err);
  }
  if (openBatch) {
    openBatch->written_.push_back({temporary, target, requested});
    return std::nullopt;
  }
  if (int err = renameTemporary(temporary, target)) {
    removeTemporary(temporary);
    return errnoText("Could not write", requested, err);
  }
  syncFolderOf(target);
  return std::nullopt;
}

ReplacementBatch::ReplacementBatch() {
  if (openBatch) throw std::logic_error("a ReplacementBatch is open already");
  openBatch = this;
}

ReplacementBatch::~ReplacementBatch() {
  removeTemporaries();
  openBatch = nullptr;
}

void ReplacementBatch::removeTemporaries() {
  for (const auto& file : written_) removeTemporary(file.temporary);
  written_.clear();
}

std::optional<std::string> ReplacementBatch::commit() {
  std::optional<std::string> error;
  size_t renamed = 0;
  {
    // A signal now would leave some files replaced and others not.
    SignalsHeld held;
    for (; renamed < written_.size(); ++renamed) {
      const auto& file = written_[renamed];
      if (int err = renameTemporary(file.temporary, file.target)) {
        error = errnoText("Could not write", file.requested, err);
        break;
      }
    }
  }
  for (size_t i = 0; i < renamed; ++i) syncFolderOf(written_[i].target);
  // The files not renamed keep their old contents.
  written_.erase(written_.begin(), written_.begin() + static_cast<std::ptrdiff_t>(renamed));
  removeTemporaries();
  replaced_ += renamed;
  return error;
}

}  // namespace platform::files
