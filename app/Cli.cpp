#include "Cli.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <exception>
#include <iostream>
#include <new>
#include <optional>

#include "EditCommand.h"
#include "LinearizeCommand.h"
#include "ServeCommand.h"
#include "StarterCommand.h"

namespace cli {

std::string usageText() {
  return "usage: inkcurve <command> [options]\n"
         "\n"
         "Makes and corrects QuadToneRIP ink curves (.quad files) from step-wedge\n"
         "measurements.\n"
         "\n"
         "commands:\n"
         "  linearize MEASUREMENTS [QUAD] [options]\n"
         "             correct QUAD from step-wedge measurements\n"
         "             ('inkcurve linearize --help' shows its options)\n" +
         starterUsage() + editUsage() + serveUsage() +
         "  -h, --help show this text; after a command, that command's usage\n"
         "  --version  print the program's name and version\n";
}

std::string versionText() { return std::string("inkcurve ") + INKCURVE_VERSION + "\n"; }

bool outputReaches(std::ostream& out) {
  if (!out.flush()) return false;
  if (out.rdbuf() != std::cout.rdbuf()) return true;
  // A closed descriptor (`>&-`) or one open for reading only takes no write;
  // a pipe whose reader is gone reports an error to poll.
  const int flags = ::fcntl(STDOUT_FILENO, F_GETFL);
  struct pollfd fd {STDOUT_FILENO, POLLOUT, 0};
  const bool open = flags != -1 && (flags & O_ACCMODE) != O_RDONLY && ::poll(&fd, 1, 0) >= 0 &&
                    !(fd.revents & (POLLERR | POLLHUP | POLLNVAL));
  if (!open) out.setstate(std::ios::badbit);
  return open;
}

namespace {

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << usageText();
    return kExitUsage;
  }
  const std::string& command = args.front();
  if (command == "--help" || command == "-h" || command == "help") {
    out << usageText();
    return kExitOk;
  }
  if (command == "--version") {
    out << versionText();
    return kExitOk;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "linearize") return runLinearize(rest, out, err);
  if (command == "starter") return runStarter(rest, out, err);
  if (command == "edit") return runEdit(rest, out, err);
  if (command == "serve") return runServe(rest, out, err);
  err << "inkcurve: unknown command '" << command << "'\n\n" << usageText();
  return kExitUsage;
}

// One line of an exception's text, for the last-resort message.
std::string oneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::optional<int> status;
  try {
    status = runCommand(args, out, err);
  } catch (const std::bad_alloc&) {
    err << "inkcurve: out of memory; the command was stopped\n";
  } catch (const std::exception& e) {
    err << "inkcurve: the command was stopped by an unexpected error: " << oneLine(e.what()) << "\n";
  } catch (...) {
    err << "inkcurve: the command was stopped by an unexpected error\n";
  }
  if (!status) return kExitFailed;
  // Output that never arrived (a full disk, a closed pipe) is a failure even
  // when the command itself went well.
  bool outputLost = false;
  try {
    outputLost = !out.flush();
  } catch (...) {
    outputLost = true;
  }
  if (outputLost) {
    err << "inkcurve: could not write to standard output\n";
    if (*status == kExitOk) return kExitFailed;
  }
  return *status;
}

}  // namespace cli
