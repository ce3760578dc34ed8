#pragma once

#include <filesystem>
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

// How a message shows an output's path: each part of it over 40 bytes cut in
// its middle, the whole over 160 bytes too, and every byte that is not part
// of UTF-8 text as \xNN.
std::string shownPath(const std::filesystem::path& path);

// Why output option `name` may not write `path` (as the program writes it,
// its extension added) for the text of its name: the file's own name, or a
// folder on its path that is not made yet, is not UTF-8 text, which a file
// system that keeps its names in UTF-8 refuses when the file is renamed into
// place. A mistake on the command line, as notes that are not UTF-8 are.
std::optional<std::string> outputNameEncodingError(const std::string& name, const std::filesystem::path& path);

// Why no file can be made at `path` for the length of its name
// (platform::files::nameLengthRefusal), as "--plot: out/AAA...A.png: its name
// is 256 bytes long; a file name on this file system may be at most 255
// bytes". A file that cannot be written, as the other checks of outputs
// before anything is read.
std::optional<std::string> outputNameLengthError(const std::string& name, const std::filesystem::path& path);

// A number option held to [lo, hi]; an error text when it is not one.
std::optional<double> numberInRange(const std::string& name, const std::string& text, double lo, double hi,
                                    std::string& error);

}  // namespace cli
