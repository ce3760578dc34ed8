#pragma once

#include <cstdint>
#include <ostream>
#include <utility>
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

// What the command says of an edit, for the page's editor too:
// the note of what was done, in the order it was done ("K of p.quad:
// --points 0,0 100,50, then --gamma 2"; `options` the options given with
// their values as written, in the order they were applied) ...
std::string editNote(const std::string& file, const std::string& label,
                     const std::vector<std::pair<std::string, std::string>>& options);
// ... the channel's last level before and after ("K at the last input:
// 57.30 % before, 60.00 % after") ...
std::string editLastLevelLine(const std::string& label, double before, double after);
// ... and the warning of levels written clamped.
std::string editClampedWarning(int64_t clampedLevels, const std::string& label);

}  // namespace cli
