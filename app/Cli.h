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

// Whether what a command printed to `out` arrived, and `out` still takes
// more: it is flushed, and when it is the program's standard output, that
// must be open for writing and not a pipe whose reader is gone. Both are
// known without writing, so a command that has printed nothing yet can ask
// before it replaces a file (a full disk shows only when written to). A
// false answer leaves `out` failed, so that run() says standard output could
// not be written.
bool outputReaches(std::ostream& out);

// The usage text printed by --help and after a usage error.
std::string usageText();

// What --version prints: "inkcurve", the version the build was configured
// with, and a line break.
std::string versionText();

}  // namespace cli
