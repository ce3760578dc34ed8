#include "platform/files/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <new>
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

std::optional<std::string> writeFileReplacing(const std::filesystem::path& requested, std::string_view bytes) {
  auto refuse = [&](const std::string& why) { return "Could not write \"" + requested.string() + "\": " + why; };
  std::filesystem::path target = requested;
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
    target = resolved;
  }
  if (target.filename().empty()) return errnoText("Could not write", requested, EISDIR);

  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  struct stat old {};
  const bool hadOld = ::stat(target.c_str(), &old) == 0;
  // Renaming over a device or a FIFO would put a file in its place.
  if (hadOld) {
    if (auto why = notARegularFile(old.st_mode)) return refuse(*why);
  }
  const mode_t finalMode = hadOld ? (old.st_mode & 07777) : (0666 & ~currentUmask());

  // Private until it is complete: the contents are never readable by others
  // before the file has the target's permission bits.
  std::string tempName = (folder / kTemporaryPattern).string();
  Fd fd(::mkostemp(tempName.data(), O_CLOEXEC));  // made new, 0600
  if (fd.get() < 0) return errnoText("Could not write", requested, errno);
  const std::filesystem::path temp = tempName;

  auto abandon = [&](int err) -> std::optional<std::string> {
    ::close(fd.release());
    ::unlink(temp.c_str());
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
  if (::fchmod(fd.get(), finalMode) != 0) return abandon(errno);
  if (::fsync(fd.get()) != 0) return abandon(errno);
  if (::close(fd.release()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    return errnoText("Could not write", requested, err);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    return errnoText("Could not write", requested, err);
  }
  // Make the rename itself durable; a failure here leaves the new file in
  // place, so it is not reported as a failed write.
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return std::nullopt;
}

}  // namespace platform::files
