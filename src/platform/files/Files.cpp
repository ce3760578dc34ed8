#include "platform/files/Files.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
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

std::string temporaryName(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  static const unsigned salt = std::random_device{}();
  return "." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
         std::to_string(salt) + "-" + std::to_string(counter++);
}

}  // namespace

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string* error) {
  auto fail = [&](int err) -> std::optional<std::string> {
    if (error) *error = errnoText("Could not read", path, err);
    return std::nullopt;
  };
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return fail(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return fail(errno);
  if (S_ISDIR(st.st_mode)) return fail(EISDIR);
  std::string bytes;
  if (S_ISREG(st.st_mode) && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
  }
  return bytes;
}

std::optional<std::string> writeFileReplacing(const std::filesystem::path& requested, std::string_view bytes) {
  std::error_code ec;
  std::filesystem::path target = requested;
  // Replace the file a symbolic link names, not the link itself.
  if (std::filesystem::is_symlink(requested, ec)) {
    auto resolved = std::filesystem::weakly_canonical(requested, ec);
    if (ec) return "Could not write \"" + requested.string() + "\": " + ec.message();
    target = resolved;
  }
  if (target.filename().empty()) return errnoText("Could not write", requested, EISDIR);

  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  struct stat old {};
  const bool hadOld = ::stat(target.c_str(), &old) == 0;
  if (hadOld && S_ISDIR(old.st_mode)) return errnoText("Could not write", requested, EISDIR);

  const auto temp = folder / temporaryName(target);
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) return errnoText("Could not write", requested, errno);

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
  if (hadOld && ::fchmod(fd.get(), old.st_mode & 07777) != 0) return abandon(errno);
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
