#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <regex>
#include <sstream>

#include "Cli.h"
#include "RunCli.h"

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

TEST(Cli, LostOutputAndEscapingExceptionsEndInOneLineAndStatus1) {
  struct Case {
    std::vector<std::string> args;
    bool outOfMemory;      // else every write is refused
    bool throwOnBadWrite;  // the stream throws when a write fails
    const char* message;
  };
  const Case cases[] = {
      {{"--help"}, false, false, "inkcurve: could not write to standard output\n"},
      {{"starter", "--list"}, false, false, "inkcurve: could not write to standard output\n"},
      {{"linearize", "--help"}, false, false, "inkcurve: could not write to standard output\n"},
      {{"starter", "--list"}, true, true, "inkcurve: out of memory; the command was stopped\n"},
      {{"--help"}, false, true, "inkcurve: the command was stopped by an unexpected error: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + (c.outOfMemory ? " out of memory" : " refused"));
    RefusingBuffer refusing;
    ExhaustedBuffer exhausted;
    std::ostream out(c.outOfMemory ? static_cast<std::streambuf*>(&exhausted) : &refusing);
    if (c.throwOnBadWrite) out.exceptions(std::ios::badbit);
    std::ostringstream err;
    EXPECT_EQ(cli::run(c.args, out, err), cli::kExitFailed);
    const std::string message = err.str();
    EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  }
}

}  // namespace
