#include <gtest/gtest.h>

#include <sstream>

#include "Cli.h"

namespace {

struct Run {
  int status;
  std::string out;
  std::string err;
};

Run runCli(std::vector<std::string> args) {
  std::ostringstream out, err;
  int status = cli::run(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(Cli, HelpAndUsageErrors) {
  auto help = runCli({"--help"});
  EXPECT_EQ(help.status, cli::kExitOk);
  EXPECT_NE(help.out.find("usage: inkcurve"), std::string::npos);
  EXPECT_TRUE(help.err.empty());

  for (auto args : {std::vector<std::string>{}, std::vector<std::string>{"frobnicate"}}) {
    auto r = runCli(args);
    EXPECT_EQ(r.status, cli::kExitUsage);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("usage: inkcurve"), std::string::npos);
  }
}

}  // namespace
