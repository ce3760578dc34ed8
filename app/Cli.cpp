#include "Cli.h"

#include "StarterCommand.h"

namespace cli {

std::string usageText() {
  return "usage: inkcurve <command> [options]\n"
         "\n"
         "Makes and corrects QuadToneRIP ink curves (.quad files) from step-wedge\n"
         "measurements.\n"
         "\n"
         "commands:\n"
         "  --help     show this text\n" +
         starterUsage();
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
  if (command == "starter") return runStarter({args.begin() + 1, args.end()}, out, err);
  err << "inkcurve: unknown command '" << command << "'\n\n" << usageText();
  return kExitUsage;
}

}  // namespace cli
