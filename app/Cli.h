#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// Exit statuses of the inkcurve program.
inline constexpr int kExitOk = 0;       // every requested file was written
inline constexpr int kExitFailed = 1;   // an alert, a failure, a file or the output not written
inline constexpr int kExitUsage = 2;    // the command line itself was wrong

// Runs `inkcurve` with the arguments after the program name. Nothing escapes:
// an exception ends the command with a one-line message on `err` and
// kExitFailed, and so does output to `out` that could not be written.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage text printed by --help and after a usage error.
std::string usageText();

// What --version prints: "inkcurve", the version the build was configured
// with, and a line break.
std::string versionText();

}  // namespace cli
