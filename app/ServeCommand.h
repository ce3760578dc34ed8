#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `inkcurve serve`: the linearization window as a page in the browser,
// served by the program until SIGINT or SIGTERM. `args` are the arguments
// after "serve".
int runServe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The lines the main usage text shows for the command.
std::string serveUsage();

}  // namespace cli
