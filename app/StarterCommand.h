#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `inkcurve starter`: builds a boosted starter curve and writes it as a .quad
// file, setting the printer model, the process, the boosts and the notes in
// the order the setup screen would. `args` are the arguments after "starter".
int runStarter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The lines the main usage text shows for the command.
std::string starterUsage();

}  // namespace cli
