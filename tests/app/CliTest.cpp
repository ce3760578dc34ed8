#include <gtest/gtest.h>

#include <sstream>

#include "Cli.h"
#include "RunCli.h"

namespace {

testsupport::CliRun runCli(const std::vector<std::string>& args) { return testsupport::runInkcurve(args); }

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
