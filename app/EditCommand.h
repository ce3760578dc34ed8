#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `inkcurve edit`: reshapes one channel of a .quad file as the ink-curve
// editors do (a curve through points, the gamma, the ink-limit boost) and
// writes the file again with every other byte as read. `args` are the
// arguments after "edit".
int runEdit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The lines the main usage text shows for the command.
std::string editUsage();

}  // namespace cli
