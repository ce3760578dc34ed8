#include "platform/files/Files.h"

#include "platform/text/Text.h"

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
#include <sys/xattr.h>
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
struct TemporaryEntry {
  std::atomic<bool> inUse{false};
  char path[PATH_MAX];
};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler reads the flags");
TemporaryEntry temporaries[64];

// Every signal whose default action ends the process, with a core file or
// without (SIGKILL and SIGSTOP cannot be caught): a temporary file must not
// outlive any of them.
sigset_t endingSignals() {
  static const sigset_t set = [] {
    sigset_t s;
    sigemptyset(&s);
    for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGUSR1, SIGSEGV, SIGUSR2,
                       SIGPIPE, SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO, SIGPWR,
                       SIGSYS})
      sigaddset(&s, signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal) sigaddset(&s, signal);
    return s;
  }();
  return set;
}

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
// stands, looked at again for every file; one that is ignored (nohup, or a
// program that takes a closed pipe as a failed write) or handled elsewhere
// is left alone.
void installSignalHandler() {
  const sigset_t ending = endingSignals();
  for (int signal = 1; signal < NSIG; ++signal) {
    if (sigismember(&ending, signal) != 1) continue;
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) ||
        current.sa_handler != SIG_DFL)
      continue;
    struct sigaction handler {};
    handler.sa_handler = removeTemporariesAndEnd;
    handler.sa_mask = ending;
    ::sigaction(signal, &handler, nullptr);
  }
}

// Holds the ending signals back for this thread while it lives.
class SignalsHeld {
 public:
  SignalsHeld() {
    const sigset_t held = endingSignals();
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

// Whether the effective capabilities hold `capability`, as the kernel shows
// them; where it does not, root is taken to hold every one.
bool hasCapability(int capability) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("CapEff:", 0) == 0) return (std::strtoull(line.c_str() + 7, nullptr, 16) >> capability) & 1;
  }
  return ::geteuid() == 0;
}
constexpr int kCapabilityFowner = 3;  // CAP_FOWNER: acts as the owner of every file

// The file attributes that make rename refuse a name, where the file system
// reports them.
struct RenameAttributes {
  bool mountPoint = false, appendOnly = false, immutable = false;
};
RenameAttributes renameAttributes(const std::filesystem::path& path) {
  RenameAttributes found;
  struct statx sx {};
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_TYPE, &sx) != 0) return found;
  auto has = [&](uint64_t attribute) { return (sx.stx_attributes_mask & sx.stx_attributes & attribute) != 0; };
#ifdef STATX_ATTR_MOUNT_ROOT
  found.mountPoint = has(STATX_ATTR_MOUNT_ROOT);
#endif
  found.appendOnly = has(STATX_ATTR_APPEND);
  found.immutable = has(STATX_ATTR_IMMUTABLE);
  return found;
}

// Why rename would refuse to put a new file in `folder` (the temporary
// file is made there and renamed within it, so an append-only folder, which
// lets it be made but neither renamed nor removed, is refused too).
std::optional<std::string> folderRefusal(const std::filesystem::path& folder, struct stat& st) {
  if (::stat(folder.c_str(), &st) != 0) return std::strerror(errno);
  if (!S_ISDIR(st.st_mode)) return std::strerror(ENOTDIR);
  // Before the access test, which answers an immutable folder with a bare
  // "Operation not permitted".
  const auto attributes = renameAttributes(folder);
  if (attributes.immutable || attributes.appendOnly)
    return std::string("its folder is ") + (attributes.immutable ? "immutable" : "append-only") + " (" +
           std::strerror(EPERM) + ")";
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return std::strerror(errno);
  return std::nullopt;
}

// The most bytes a name may have where pathconf says nothing: the limit of
// every file system Linux mounts for files of this kind.
constexpr long kCommonNameMax = 255;

// How a message shows a part of a path that may be hundreds of bytes long.
std::string shownPart(const std::string& part) { return text::printable(text::elidedMiddle(part, 40)); }

// The temporary file writeFileReplacing makes for `target`.
std::string temporaryPattern(const std::filesystem::path& target) {
  const std::filesystem::path folder = target.parent_path();
  return ((folder.empty() ? std::filesystem::path(".") : folder) / kTemporaryPattern).string();
}

// The destination of `requested`, or why it is refused: everything the
// rename at the end would refuse is found here, before anything is written.
std::optional<std::string> findDestination(const std::filesystem::path& requested, Destination& destination) {
  auto refuse = [&](const std::string& why) { return "Could not write \"" + requested.string() + "\": " + why; };
  destination.target = requested;
  if (auto why = nameLengthRefusal(requested)) return refuse(*why);
  // Replace the file a symbolic link names, not the link itself; a link that
  // leads nowhere is refused rather than replaced by a file. Only "no such
  // file" lets a name be made: any other failed look-up (a folder on the way
  // that may not be searched, a loop of links, a name too long for its file
  // system) would fail the rename at the end too.
  struct stat link {};
  if (::lstat(requested.c_str(), &link) != 0 && errno != ENOENT) return refuse(std::strerror(errno));
  if (S_ISLNK(link.st_mode)) {
    struct stat named {};
    if (::stat(requested.c_str(), &named) != 0)
      return refuse(errno == ENOENT ? "a symbolic link to a file that does not exist" : std::strerror(errno));
    std::error_code ec;
    auto resolved = std::filesystem::canonical(requested, ec);
    if (ec) return refuse(ec.message());
    destination.target = resolved;
  }
  const auto& target = destination.target;
  if (target.filename().empty()) return errnoText("Could not write", requested, EISDIR);
  destination.exists = ::stat(target.c_str(), &destination.old) == 0;
  if (!destination.exists && errno != ENOENT) return refuse(std::strerror(errno));
  const auto& old = destination.old;
  // Renaming over a device or a FIFO would put a file in its place.
  if (destination.exists)
    if (auto why = notARegularFile(old.st_mode)) return refuse(*why);
  std::filesystem::path folderPath = target.parent_path();
  if (folderPath.empty()) folderPath = ".";
  struct stat folder {};
  if (auto why = folderRefusal(folderPath, folder)) return refuse(*why);
  if (!destination.exists) return std::nullopt;
  const auto attributes = renameAttributes(target);
  if (attributes.mountPoint)
    return refuse("a mount point, which cannot be replaced (" + std::string(std::strerror(EBUSY)) + ")");
  if (attributes.immutable || attributes.appendOnly)
    return refuse(std::string("an ") + (attributes.immutable ? "immutable" : "append-only") + " file (" +
                  std::strerror(EPERM) + ")");
  // A file its owner made read-only to keep it is not replaced, as cp would
  // not write it; the effective user is asked, as cp's open would be.
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    return errnoText("Could not write", requested, errno);
  // In a sticky folder (/tmp) only the file's owner, the folder's and a
  // process acting as every file's owner may rename over a file.
  const uid_t user = ::geteuid();
  if ((folder.st_mode & S_ISVTX) && user != old.st_uid && user != folder.st_uid && !hasCapability(kCapabilityFowner))
    return refuse("another user's file in a sticky folder, where only its owner may replace it (" +
                  std::string(std::strerror(EPERM)) + ")");
  return std::nullopt;
}

// Gives the temporary file `fd` the ACL and the user's extended attributes
// of the file it replaces, as cp -p --preserve=all keeps them: without the
// ACL, the mode's group bits (the ACL's mask) would become the group's own
// permission. A file without an ACL stays without one: the temporary file
// took its folder's default ACL when it was made, and its named entries
// would let others read a file that was private. Those of other name spaces
// (security.*, trusted.*) belong to the system and are left to it. 0, or the
// error.
int copyExtendedAttributes(const std::filesystem::path& from, int fd) {
  constexpr const char* kAccessAcl = "system.posix_acl_access";
  if (::getxattr(from.c_str(), kAccessAcl, nullptr, 0) < 0 && errno == ENODATA &&
      ::fremovexattr(fd, kAccessAcl) != 0 && errno != ENODATA && errno != ENOTSUP)
    return errno;
  std::vector<char> names(1024);
  ssize_t length;
  while ((length = ::listxattr(from.c_str(), names.data(), names.size())) < 0) {
    if (errno == ENOTSUP) return 0;
    if (errno != ERANGE) return errno;
    const ssize_t needed = ::listxattr(from.c_str(), nullptr, 0);
    if (needed < 0) return errno;
    names.resize(static_cast<size_t>(needed) + 1);
  }
  std::vector<char> value;
  for (const char* name = names.data(); name < names.data() + length; name += std::strlen(name) + 1) {
    if (std::strncmp(name, "user.", 5) != 0 && std::strcmp(name, kAccessAcl) != 0) continue;
    const ssize_t size = ::getxattr(from.c_str(), name, nullptr, 0);
    if (size < 0) return errno;
    value.resize(static_cast<size_t>(size));
    const ssize_t got = ::getxattr(from.c_str(), name, value.data(), value.size());
    if (got < 0) return errno;
    if (::fsetxattr(fd, name, value.data(), static_cast<size_t>(got), 0) != 0) return errno;
  }
  return 0;
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

std::optional<std::string> nameLengthRefusal(const std::filesystem::path& path) {
  // The nearest folder of the path that exists: the parts below it are to be
  // made there, on its file system.
  std::filesystem::path folder = path.parent_path();
  long nameMax = -1;
  for (;;) {
    const std::filesystem::path probe = folder.empty() ? "." : folder;
    struct stat st {};
    if (::stat(probe.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      nameMax = ::pathconf(probe.c_str(), _PC_NAME_MAX);
      break;
    }
    if (folder.empty() || folder == folder.parent_path()) break;
    folder = folder.parent_path();
  }
  if (nameMax <= 0) nameMax = kCommonNameMax;
  const auto existing = static_cast<std::ptrdiff_t>(std::distance(folder.begin(), folder.end()));
  const auto parts = static_cast<std::ptrdiff_t>(std::distance(path.begin(), path.end()));
  auto part = path.begin();
  for (std::ptrdiff_t i = 0; i < parts; ++i, ++part) {
    const std::string name = part->string();
    if (i < existing || name.size() <= static_cast<size_t>(nameMax)) continue;
    const std::string limit = std::to_string(nameMax);
    if (i + 1 == parts)
      return "its name is " + std::to_string(name.size()) + " bytes long; a file name on this file system may be at "
             "most " + limit + " bytes";
    return "the name of its folder " + shownPart(name) + " is " + std::to_string(name.size()) +
           " bytes long; a file or folder name on this file system may be at most " + limit + " bytes";
  }
  // The system takes a path of less than PATH_MAX bytes, its end counted.
  constexpr size_t kLongest = PATH_MAX - 1;
  const size_t length = path.string().size(), temporary = temporaryPattern(path).size();
  if (length > kLongest)
    return "the path is " + std::to_string(length) + " bytes long; a path may be at most " +
           std::to_string(kLongest) + " bytes";
  if (temporary > kLongest)
    return "the path is " + std::to_string(length) + " bytes long, and the temporary file written beside it first (" +
           kTemporaryPattern + ") would be " + std::to_string(temporary) + " bytes long; a path may be at most " +
           std::to_string(kLongest) + " bytes";
  return std::nullopt;
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
  int made = -1;
  const int temporary = makeTemporary(temporaryPattern(target), made);
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
    // The ACL before the mode, which then sets its mask as the old file's was.
    if (int err = copyExtendedAttributes(target, fd.get())) return abandon(err);
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
