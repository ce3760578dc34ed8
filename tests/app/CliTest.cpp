#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "Cli.h"
#include "RunCli.h"
#include "platform/text/Text.h"
#include "support/FakeHost.h"
#include "support/SampleFiles.h"

namespace {

testsupport::CliRun runCli(const std::vector<std::string>& args) { return testsupport::runInkcurve(args); }

TEST(Cli, HelpAndUsageErrors) {
  // -h and --help wherever an option may stand: that command's usage on
  // standard output, whatever else the line holds.
  const std::pair<std::vector<std::string>, std::string> helps[] = {
      {{"--help"}, "usage: inkcurve <command>"},
      {{"-h", "linearize"}, "usage: inkcurve <command>"},
      {{"linearize", "-h"}, "usage: inkcurve linearize"},
      {{"linearize", "wedge.txt", "--bogus", "--out", "x.quad", "--help"}, "usage: inkcurve linearize"},
      {{"starter", "--help"}, "usage:\n  starter --printer"},
      {{"starter", "--list", "-h"}, "usage:\n  starter --printer"},
      {{"linearize", "--notes", "--help"}, ""},  // the notes, and MEASUREMENTS missing
      {{"starter", "--", "-h"}, ""},              // a word, not an option
  };
  for (const auto& [args, usage] : helps) {
    const auto r = runCli(args);
    EXPECT_EQ(r.status, usage.empty() ? cli::kExitUsage : cli::kExitOk) << args.back();
    EXPECT_EQ(r.out.empty(), usage.empty()) << r.out;
    EXPECT_EQ(r.out.rfind(usage, 0), 0u) << r.out;
    EXPECT_EQ(r.err.empty(), !usage.empty()) << r.err;
  }
  const auto version = runCli({"--version"});
  EXPECT_EQ(version.status, cli::kExitOk);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("inkcurve [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;

  for (auto args : {std::vector<std::string>{}, std::vector<std::string>{"frobnicate"}}) {
    auto r = runCli(args);
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("usage: inkcurve"), std::string::npos);
  }
}

// Standard output as a full disk or a closed pipe gives it: every write fails.
class RefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  int sync() override { return -1; }
};

// A write that runs out of memory.
class ExhaustedBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { throw std::bad_alloc(); }
};

// Runs the program itself as a shell starts it (SIGPIPE at its default
// action), its standard output a pipe whose reader is gone (`| true` once
// true has ended) or closed (`>&-`): its status (128 + the signal that
// ended it) and what it wrote to standard error.
// With `file`, standard output is that file opened with `flags` instead
// (`>/dev/full`, `1<>log.txt`).
testsupport::CliRun runProgramWithoutOutput(const std::vector<std::string>& args, bool pipe, const char* file = nullptr,
                                            int flags = 0) {
  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return {-1, "", std::strerror(errno)};
  ::close(out[0]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (file)
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, file, flags, 0644);
  else if (pipe)
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  else
    posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t atDefault;
  sigemptyset(&atDefault);
  sigaddset(&atDefault, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &atDefault);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  std::vector<std::string> words{INKCURVE_PROGRAM};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = -1;
  const int spawned = ::posix_spawn(&child, INKCURVE_PROGRAM, &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(out[1]);
  ::close(err[1]);
  std::string errText;
  char buffer[4096];
  for (ssize_t n; (n = ::read(err[0], buffer, sizeof buffer)) > 0;) errText.append(buffer, static_cast<size_t>(n));
  ::close(err[0]);
  int status = 0;
  if (spawned != 0 || ::waitpid(child, &status, 0) != child) return {-1, "", std::strerror(spawned ? spawned : errno)};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), "", errText};
}

TEST(Cli, LostOutputAndEscapingExceptionsEndInOneLineAndStatus1) {
  // Where standard output goes: a stream whose every write is refused, one
  // that runs out of memory, or (the program itself run) a pipe whose reader
  // is gone or a closed descriptor.
  enum class Output { refused, exhausted, pipeWithoutReader, closed, full };
  struct Case {
    std::vector<std::string> args;
    Output output;
    bool throwOnBadWrite;  // the stream throws when a write fails
    const char* message;
  };
  testsupport::TempDir dir;
  const auto wedge = dir.write("wedge.txt", testsupport::cgatsWedge(testsupport::evenLstar(21, 92, 8))).string();
  const auto quad = dir.write("in.quad", testsupport::quadFileText("## QuadToneRIP K,C,M,Y,LC,LM,LK,LLK",
                                                                   testsupport::eightChannelMarkers(),
                                                                   [](int, int i) { return i * 200.0; }));
  const auto kept = dir / "kept.quad";
  const std::vector<std::string> starter = {"starter", "--printer", "x800-x880", "--process", "Carbon Transfer",
                                            "--out", kept.string()};
  const Case cases[] = {
      {{"--help"}, Output::refused, false, "inkcurve: could not write to standard output\n"},
      {{"starter", "--list"}, Output::refused, false, "inkcurve: could not write to standard output\n"},
      {{"linearize", "--help"}, Output::refused, false, "inkcurve: could not write to standard output\n"},
      {{"starter", "--list"}, Output::exhausted, true, "inkcurve: out of memory; the command was stopped\n"},
      {{"--help"}, Output::refused, true, "inkcurve: the command was stopped by an unexpected error: "},
      // The file waits for standard output, whatever the command printed.
      {starter, Output::pipeWithoutReader, false, "inkcurve: could not write to standard output\n"},
      {starter, Output::closed, false, "inkcurve: could not write to standard output\n"},
      {{"linearize", wedge, quad.string(), "--out", kept.string()}, Output::pipeWithoutReader, false,
       "inkcurve: could not write to standard output\n"},
      // A full disk takes no line: what the command prints goes out before
      // any file is replaced.
      {starter, Output::full, false, "inkcurve: could not write to standard output\n"},
      {{"linearize", wedge, quad.string(), "--out", kept.string()}, Output::full, false,
       "inkcurve: could not write to standard output\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::text::join(c.args, " ") + " output " + std::to_string(static_cast<int>(c.output)));
    dir.write("kept.quad", "old");
    testsupport::CliRun r;
    if (c.output == Output::full) {
      r = runProgramWithoutOutput(c.args, false, "/dev/full", O_WRONLY);
    } else if (c.output == Output::pipeWithoutReader || c.output == Output::closed) {
      r = runProgramWithoutOutput(c.args, c.output == Output::pipeWithoutReader);
    } else {
      RefusingBuffer refusing;
      ExhaustedBuffer exhausted;
      std::ostream out(c.output == Output::exhausted ? static_cast<std::streambuf*>(&exhausted) : &refusing);
      if (c.throwOnBadWrite) out.exceptions(std::ios::badbit);
      std::ostringstream err;
      r.status = cli::run(c.args, out, err);
      r.err = err.str();
    }
    EXPECT_EQ(r.status, cli::kExitFailed);
    EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(testsupport::slurp(kept).substr(0, 40), "old") << "the file was replaced";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3) << "no temporary file left";
  }
}

// Standard output opened for reading and writing (`1<>log.txt`) is open:
// the file is written and its line reaches the log.
TEST(Cli, StandardOutputOpenForReadingAndWritingTakesTheLines) {
  testsupport::TempDir dir;
  const auto out = dir / "s.quad", log = dir / "log.txt";
  dir.write("log.txt", "");
  const auto r = runProgramWithoutOutput({"starter", "--printer", "x800-x880", "--process", "Carbon Transfer", "--out",
                                          out.string()},
                                         false, log.c_str(), O_RDWR);
  EXPECT_EQ(r.status, cli::kExitOk) << r.err;
  EXPECT_TRUE(std::filesystem::exists(out));
  EXPECT_NE(testsupport::slurp(log).find("wrote " + out.string() + "\n"), std::string::npos);
}

}  // namespace
