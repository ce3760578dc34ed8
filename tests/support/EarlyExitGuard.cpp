// Makes a test program that ends before its tests have finished fail.
//
// Some libraries end the whole process on an argument they dislike (the
// reference LAPACK calls exit(0) from its error handler). ctest runs each test
// in its own process and would count such a run as a pass. The guard arms
// itself when the tests begin and is disarmed when they have all finished; an
// exit in between is turned into a failure.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

bool armed = false;

void failIfStillArmed() {
  if (!armed) return;
  std::fputs("the test program ended before its tests had finished (exit() called from a test?)\n", stderr);
  std::fflush(stderr);
  _exit(1);
}

class EarlyExitGuard : public testing::Environment {
 public:
  void SetUp() override {
    static const bool registered = std::atexit(failIfStillArmed) == 0;
    armed = registered;
  }
  void TearDown() override { armed = false; }
};

const auto* const guard = testing::AddGlobalTestEnvironment(new EarlyExitGuard);

}  // namespace
