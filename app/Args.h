#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace cli {

// A command's arguments: positional words and --name VALUE / --flag options.
struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // name without the dashes
  std::set<std::string> flags;

  bool has(const std::string& name) const { return options.count(name) || flags.count(name); }
  std::optional<std::string> option(const std::string& name) const;
};

// Parses `args` against the options that take a value and the flags a command
// knows; "--name=value" is accepted too, and "--" ends the options. An unknown
// option (any other word beginning with "-", "-" itself included), a missing
// value or a repeated option is an error (returned in `error`).
std::optional<ParsedArgs> parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                                    const std::set<std::string>& flagOptions, std::string& error);

// True when `args` hold "-h" or "--help" where an option may stand: not after
// "--", and not as the value of one of `valueOptions` ("--notes --help"
// gives the notes "--help"). Every command answers it with its usage,
// whatever else the line holds.
bool asksForHelp(const std::vector<std::string>& args, const std::set<std::string>& valueOptions);

// Why `value` cannot name the file an output option `name` writes: it is empty,
// or it names a folder ("out/", ".", ".."), which would be written as a hidden
// file named only by its extension. Nothing for a usable name.
std::optional<std::string> outputFileError(const std::string& name, const std::string& value);

// A number option held to [lo, hi]; an error text when it is not one.
std::optional<double> numberInRange(const std::string& name, const std::string& text, double lo, double hi,
                                    std::string& error);

}  // namespace cli
