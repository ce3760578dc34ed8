#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"

namespace testsupport {

// What one in-process run of the inkcurve program gave.
struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline CliRun runInkcurve(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = cli::run(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace testsupport
