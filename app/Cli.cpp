#include "Cli.h"

#include "LinearizeCommand.h"
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
         starterUsage() +
         "  --help     show this text\n";
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << usageText();
    return kExitUsage;
  }
  const std::string& command = args.front();
  if (command == "--help" || command == "-h" || command == "help") {
    out << usageText();
    return kExitOk;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "linearize") return runLinearize(rest, out, err);
  if (command == "starter") return runStarter(rest, out, err);
  err << "inkcurve: unknown command '" << command << "'\n\n" << usageText();
  return kExitUsage;
}

}  // namespace cli
