#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/Files.h"
#include "support/FakeHost.h"

using namespace platform::files;
using testsupport::slurp;
using testsupport::TempDir;
namespace fs = std::filesystem;

namespace {

size_t entriesIn(const fs::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

TEST(Files, ReadWholeFile) {
  TempDir dir;
  auto p = dir.write("a.txt", std::string("x\0y\r\n", 5));
  EXPECT_EQ(readWholeFile(p), std::string("x\0y\r\n", 5));
  EXPECT_EQ(readWholeFile(dir.write("empty", "")), "");

  std::string error;
  EXPECT_FALSE(readWholeFile(dir / "missing", &error));
  EXPECT_NE(error.find("missing"), std::string::npos);
  EXPECT_FALSE(readWholeFile(dir.path(), &error));
  EXPECT_NE(error.find("directory"), std::string::npos);
}

TEST(Files, WriteReplacingCreatesAndReplacesKeepingPermissions) {
  TempDir dir;
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

  // A symbolic link is followed: the file it names is replaced, the link stays.
  auto link = dir / "link.quad";
  fs::create_symlink(target, link);
  ASSERT_FALSE(writeFileReplacing(link, "through the link"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(slurp(target), "through the link");
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
}

}  // namespace
