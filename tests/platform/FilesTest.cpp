#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <set>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

#include "platform/files/Files.h"
#include "support/FakeHost.h"

using namespace platform::files;
using testsupport::HangGuard;
using testsupport::slurp;
using testsupport::TempDir;
namespace fs = std::filesystem;

namespace {

size_t entriesIn(const fs::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

// Makes a file or folder immutable while it lives, where this process may
// (root may, on a file system that keeps the flag).
struct Immutable {
  explicit Immutable(const fs::path& path) : path(path), set(flag(true)) {}
  ~Immutable() {
    if (set) flag(false);
  }
  bool flag(bool on) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int flags = 0;
    const bool done = fd >= 0 && !::ioctl(fd, FS_IOC_GETFLAGS, &flags) &&
                      (flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL,
                       !::ioctl(fd, FS_IOC_SETFLAGS, &flags));
    if (fd >= 0) ::close(fd);
    return done;
  }
  fs::path path;
  bool set;
};

TEST(Files, ReadWholeFile) {
  TempDir dir;
  auto p = dir.write("a.txt", std::string("x\0y\r\n", 5));
  EXPECT_EQ(readWholeFile(p), std::string("x\0y\r\n", 5));
  EXPECT_EQ(readWholeFile(dir.write("empty", "")), "");

  // A name that is not a regular file is refused before it is opened (a FIFO
  // would wait for a writer), and a file over the limit before it is read.
  HangGuard guard;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  fs::create_symlink(dir / "fifo", dir / "to-fifo");
  const auto limit = kInputFileSizeLimit;
  fs::resize_file(dir.write("at-limit", ""), limit);
  fs::resize_file(dir.write("over-limit", ""), limit + 1);
  const std::pair<std::string, std::string> refused[] = {
      {"missing", "No such file or directory"},
      {"", "Is a directory"},
      {"fifo", "not a regular file but a FIFO"},
      {"to-fifo", "not a regular file but a FIFO"},
      {"over-limit", "67108865 bytes, more than the limit of 67108864 bytes (64 MB)"},
  };
  for (const auto& [name, reason] : refused) {
    std::string error;
    EXPECT_FALSE(readWholeFile(dir / name, &error)) << name;
    EXPECT_EQ(error, reason) << name;
  }
  EXPECT_EQ(readWholeFile(dir / "at-limit").value_or("").size(), limit);
}

TEST(Files, WriteReplacingCreatesAndReplacesKeepingPermissions) {
  TempDir dir(TempDir::Reach::everyone);
  auto target = dir / "curve.quad";
  ASSERT_FALSE(writeFileReplacing(target, "first"));
  EXPECT_EQ(slurp(target), "first");

  ::chmod(target.c_str(), 0640);
  ASSERT_FALSE(writeFileReplacing(target, "second, longer text"));
  EXPECT_EQ(slurp(target), "second, longer text");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file is left behind";

  // A name as long as the system allows is written and replaced like any.
  const auto longest = dir / (std::string(250, 'n') + ".quad");
  for (const char* text : {"new", "replaced"}) {
    ASSERT_FALSE(writeFileReplacing(longest, text)) << text;
    EXPECT_EQ(slurp(longest), text);
  }
  fs::remove(longest);

  // A symbolic link is followed: the file it names is replaced, the link stays.
  auto link = dir / "link.quad";
  fs::create_symlink(target, link);
  ASSERT_FALSE(writeFileReplacing(link, "through the link"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(slurp(target), "through the link");

  // Root replacing another user's file leaves it to that user.
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    ASSERT_FALSE(writeFileReplacing(target, "third"));
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(std::make_pair(st.st_uid, st.st_gid), std::make_pair(65534u, 65534u));
    // Replaced by another user where the kernel lets them rename over it: a
    // user who may not give the file its owner replaces a group-writable file
    // all the same (it becomes theirs); in a sticky folder the folder's owner
    // may, and so may root, who acts as every file's owner, in a folder and
    // over a file that are neither root's.
    GTEST_FLAG_SET(death_test_style, "fast");  // the child must see this test's folder
    ::chmod(dir.path().c_str(), 0777);
    struct Case {
      const char* name;
      uid_t fileOwner, folderOwner, user;
      mode_t fileMode, folderMode;
    };
    const Case cases[] = {
        {"shared.quad", 0, 0, 65534, 0664, 0777},
        {"sticky-theirs/root's.quad", 0, 65534, 65534, 0666, 01777},
        {"sticky-others/nobody's.quad", 65534, 65533, 0, 0666, 01777},
    };
    for (const auto& c : cases) {
      const auto file = dir / c.name;
      fs::create_directories(file.parent_path());
      dir.write(c.name, "old");
      ASSERT_EQ(::chown(file.c_str(), c.fileOwner, 65534) | ::chmod(file.c_str(), c.fileMode), 0);
      if (file.parent_path() != dir.path()) {
        ASSERT_EQ(::chown(file.parent_path().c_str(), c.folderOwner, 65534) |
                      ::chmod(file.parent_path().c_str(), c.folderMode), 0);
      }
      EXPECT_EXIT(std::_Exit((c.user && (::setgroups(0, nullptr) | ::setgid(65534) | ::setuid(c.user))) ||
                             writeFileReplacing(file, "new")),
                  testing::ExitedWithCode(0), "")
          << c.name;
      EXPECT_EQ(slurp(file), "new") << c.name;
    }
  }
  // The ACL "user:nobody:rw- group::r-- mask::rw-" (a version, then each
  // entry's tag, permissions and id) and the user's attributes stay, where the
  // file system keeps them: the group does not gain the mask's write.
  const std::string acl("\2\0\0\0\1\0\6\0\377\377\377\377\2\0\6\0\376\377\0\0\4\0\4\0\377\377\377\377"
                        "\20\0\6\0\377\377\377\377\40\0\4\0\377\377\377\377", 44);
  auto attribute = [&](const char* name) {
    std::string value(256, '\0');
    value.resize(std::max<ssize_t>(::getxattr(target.c_str(), name, value.data(), value.size()), 0));
    return value;
  };
  if (!::setxattr(target.c_str(), "system.posix_acl_access", acl.data(), 44, 0) &&
      !::setxattr(target.c_str(), "user.wedge", "21 steps", 8, 0)) {
    ASSERT_FALSE(writeFileReplacing(target, "fourth"));
    EXPECT_EQ(attribute("system.posix_acl_access") + attribute("user.wedge"), acl + "21 steps");
  }
  // The table of temporary files frees each entry at its rename: a program
  // may write any number of files one after another.
  for (int i = 0; i < 65; ++i) ASSERT_FALSE(writeFileReplacing(dir / "many.quad", std::to_string(i))) << i;

  // A file without an ACL in a folder whose default ACL names a user gains
  // no ACL when it is replaced: the user named gets no share of what the
  // mode gives the group.
  const auto named = dir / "named";
  fs::create_directory(named);
  const auto privateFile = dir.write("named/private.quad", "old");
  ::chmod(privateFile.c_str(), 0640);
  if (::setxattr(named.c_str(), "system.posix_acl_default", acl.data(), acl.size(), 0) != 0)
    GTEST_SKIP() << "this file system keeps no default ACL: " << std::strerror(errno);
  ASSERT_FALSE(writeFileReplacing(privateFile, "new"));
  EXPECT_LT(::getxattr(privateFile.c_str(), "system.posix_acl_access", nullptr, 0), 0);
  EXPECT_EQ(errno, ENODATA);
  ASSERT_EQ(::stat(privateFile.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (::geteuid() != 0) GTEST_SKIP() << "not run: replacing another user's file, which only root may make";
}

TEST(Files, ABatchReplacesItsFilesTogetherOrNotAtAll) {
  TempDir dir;
  const auto a = dir.write("a.quad", "old a"), b = dir / "b.acv", c = dir.write("c.cube", "old c");
  {
    // Written, not yet renamed; closed without commit(): nothing changes.
    ReplacementBatch batch;
    for (const auto& path : {a, b, c}) ASSERT_FALSE(writeFileReplacing(path, "new"));
    EXPECT_EQ(slurp(a), "old a");
    EXPECT_EQ(entriesIn(dir.path()), 5u);
  }
  EXPECT_EQ(entriesIn(dir.path()), 2u) << "the temporary files are removed";
  EXPECT_EQ(slurp(a), "old a");
  {
    // A rename fails half-way (a folder now stands at b): a is replaced
    // already, b and c are not, and no temporary file is left.
    ReplacementBatch batch;
    for (const auto& path : {a, b, c}) ASSERT_FALSE(writeFileReplacing(path, "new"));
    fs::create_directory(b);
    EXPECT_EQ(batch.commit(), "Could not write \"" + b.string() + "\": Is a directory");
    EXPECT_EQ(batch.replaced(), 1u);
  }
  EXPECT_EQ(slurp(a) + "|" + slurp(c), "new|old c");
  fs::remove(b);
  ReplacementBatch batch;
  EXPECT_THROW(ReplacementBatch second, std::logic_error) << "one batch at a time";
  for (const auto& path : {a, b, c}) ASSERT_FALSE(writeFileReplacing(path, "all"));
  EXPECT_FALSE(batch.commit());
  EXPECT_EQ(slurp(a) + slurp(b) + slurp(c), "allallall");
  EXPECT_EQ(entriesIn(dir.path()), 3u);
}

TEST(Files, ASignalRemovesTheTemporaryFilesAndEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child must see this test's folder
  TempDir dir;
  const auto target = dir.write("curve.quad", "old");
  // Every signal that ends a process by default; one that is ignored (as the
  // command line ignores SIGPIPE) is left alone, and the batch's end removes
  // the files.
  const std::pair<int, void (*)(int)> signals[] = {
      {SIGINT, SIG_DFL},  {SIGTERM, SIG_DFL},   {SIGHUP, SIG_DFL},  {SIGQUIT, SIG_DFL}, {SIGPIPE, SIG_DFL},
      {SIGUSR1, SIG_DFL}, {SIGUSR2, SIG_DFL},   {SIGALRM, SIG_DFL}, {SIGPROF, SIG_DFL}, {SIGVTALRM, SIG_DFL},
      {SIGXCPU, SIG_DFL}, {SIGXFSZ, SIG_DFL},   {SIGRTMIN, SIG_DFL}, {SIGPIPE, SIG_IGN}};
  for (const auto& entry : signals) {
    const int signal = entry.first;
    const auto action = entry.second;
    EXPECT_EXIT(
        {
          std::signal(signal, action);  // as a shell starts the program, whatever ran these tests
          {
            ReplacementBatch batch;
            if (!writeFileReplacing(target, "new") && !writeFileReplacing(dir / "b.quad", "new")) std::raise(signal);
          }
          std::_Exit(0);
        },
        [&](int status) { return action == SIG_IGN ? status == 0 : WIFSIGNALED(status) && WTERMSIG(status) == signal; },
        "");
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(entriesIn(dir.path()), 1u) << signal;
  }
}

TEST(Files, WriteReplacesOnlyRegularFiles) {
  // A FIFO stands in for a device: renaming a file over either would put a
  // regular file in its place. A link that leads nowhere would become a file.
  TempDir dir;
  HangGuard guard;
  auto fifo = dir / "fifo.quad";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, dir / "to-fifo.quad");
  fs::create_symlink("nowhere.quad", dir / "dangling.quad");
  std::vector<std::pair<std::string, std::string>> refused = {
      {"fifo.quad", "not a regular file but a FIFO"},
      {"to-fifo.quad", "not a regular file but a FIFO"},
      {"dangling.quad", "a symbolic link to a file that does not exist"},
  };
  // A name the rename would refuse for its length is refused before a
  // temporary file is made for it.
  if (::pathconf(dir.path().c_str(), _PC_NAME_MAX) == 255)
    refused.push_back({std::string(252, 'n') + ".png",
                       "its name is 256 bytes long; a file name on this file system may be at most 255 bytes"});
  // A folder made immutable (which only root may do) is named as such, not
  // only by the system's "Operation not permitted".
  fs::create_directory(dir / "frozen");
  Immutable frozen(dir / "frozen");
  if (frozen.set) refused.push_back({"frozen/x.quad", "its folder is immutable (Operation not permitted)"});
  for (const auto& [name, reason] : refused) {
    auto error = writeFileReplacing(dir / name, "text");
    ASSERT_TRUE(error) << name;
    EXPECT_EQ(*error, "Could not write \"" + (dir / name).string() + "\": " + reason);
  }
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
  EXPECT_EQ(fs::read_symlink(dir / "to-fifo.quad"), fifo);
  EXPECT_EQ(fs::read_symlink(dir / "dangling.quad"), "nowhere.quad");
  EXPECT_EQ(entriesIn(dir.path()) + entriesIn(dir / "frozen"), 4u) << "nothing created, no temporary file left";
  if (!frozen.set) GTEST_SKIP() << "an immutable folder is made only as root, on a file system that keeps the flag";
}

TEST(Files, WriteNeverShowsNewContentsUnderLooserPermissions) {
  TempDir dir;
  // A new file gets 0666 less the umask.
  const mode_t oldMask = ::umask(027);
  ASSERT_FALSE(writeFileReplacing(dir / "new.quad", "text"));
  ::umask(oldMask);
  struct stat st {};
  ASSERT_EQ(::stat((dir / "new.quad").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A private file is replaced: while the new contents are being written,
  // every temporary file seen must be as private as the file it replaces.
  auto secret = dir / "secret.quad";
  ASSERT_FALSE(writeFileReplacing(secret, "old"));
  ::chmod(secret.c_str(), 0600);
  std::atomic<bool> done{false};
  std::set<unsigned> modesSeen;
  std::thread watcher([&] {
    while (!done) {
      std::error_code ec;
      for (fs::directory_iterator it(dir.path(), ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().filename().string().rfind(".inkcurve-", 0) != 0) continue;
        struct stat temp {};
        if (::stat(it->path().c_str(), &temp) == 0 && temp.st_size > 0) modesSeen.insert(temp.st_mode & 07777);
      }
    }
  });
  ASSERT_FALSE(writeFileReplacing(secret, std::string(16 << 20, 'x')));
  done = true;
  watcher.join();
  EXPECT_TRUE(modesSeen.empty() || modesSeen == std::set<unsigned>{0600}) << *modesSeen.rbegin();
  ASSERT_EQ(::stat(secret.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(fs::file_size(secret), 16u << 20);
}

TEST(Files, FailedWriteLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  auto error = writeFileReplacing(dir / "no-such-folder" / "x.quad", "text");
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("x.quad"), std::string::npos);

  EXPECT_TRUE(writeFileReplacing(dir.path(), "text")) << "a folder is never replaced";

  // The rename fails (a folder stands where the file would go): the folder
  // and everything in it stay, and no temporary file is left.
  auto blocker = dir / "blocked.quad";
  fs::create_directory(blocker);
  dir.write("blocked.quad/inside", "keep");
  EXPECT_TRUE(writeFileReplacing(blocker, "text"));
  EXPECT_EQ(slurp(blocker / "inside"), "keep");

  auto sub = dir / "locked";
  fs::create_directory(sub);
  auto target = sub / "keep.quad";
  ASSERT_FALSE(writeFileReplacing(target, "original"));
  ::chmod(sub.c_str(), 0500);
  if (::geteuid() != 0) {  // root writes regardless of permission bits
    EXPECT_TRUE(writeFileReplacing(target, "replacement"));
    EXPECT_EQ(slurp(target), "original");
    EXPECT_EQ(entriesIn(sub), 1u);
  }
  ::chmod(sub.c_str(), 0700);
  EXPECT_EQ(entriesIn(dir.path()), 2u);
  if (::geteuid() == 0) GTEST_SKIP() << "not run: a folder whose permissions refuse the write, which root passes";
}

}  // namespace
