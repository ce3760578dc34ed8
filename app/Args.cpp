#include "Args.h"

#include <cmath>
#include <filesystem>

#include "platform/files/Files.h"
#include "platform/text/Text.h"

namespace cli {

std::optional<std::string> ParsedArgs::option(const std::string& name) const {
  auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

std::optional<ParsedArgs> parseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                                    const std::set<std::string>& flagOptions, std::string& error) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || arg.empty() || arg.front() != '-') {
      parsed.positional.push_back(arg);
      continue;
    }
    // No command takes single-dash options, and "-" does not stand for a
    // standard stream: a file whose name begins with a dash comes after "--".
    if (arg.compare(0, 2, "--") != 0) {
      error = "unknown option " + arg;
      return std::nullopt;
    }
    std::string name = arg.substr(2);
    std::optional<std::string> inlineValue;
    if (auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    if (parsed.has(name)) {
      error = "--" + name + " is given more than once";
      return std::nullopt;
    }
    if (flagOptions.count(name)) {
      if (inlineValue) {
        error = "--" + name + " takes no value";
        return std::nullopt;
      }
      parsed.flags.insert(name);
    } else if (valueOptions.count(name)) {
      if (inlineValue) {
        parsed.options[name] = *inlineValue;
      } else if (i + 1 < args.size()) {
        parsed.options[name] = args[++i];
      } else {
        error = "--" + name + " needs a value";
        return std::nullopt;
      }
    } else {
      error = "unknown option --" + name;
      return std::nullopt;
    }
  }
  return parsed;
}

bool asksForHelp(const std::vector<std::string>& args, const std::set<std::string>& valueOptions) {
  for (size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    if (args[i] == "-h" || args[i] == "--help") return true;
    if (args[i].starts_with("--") && valueOptions.count(args[i].substr(2))) ++i;  // its value
  }
  return false;
}

std::optional<std::string> outputFileError(const std::string& name, const std::string& value) {
  if (value.empty()) return "--" + name + " needs a file name, not an empty one";
  const std::filesystem::path path(value);
  if (!path.has_filename() || path.filename() == "." || path.filename() == "..")
    return "--" + name + " '" + value + "' names a folder; give the name of a file in it";
  return std::nullopt;
}

std::string shownPath(const std::filesystem::path& path) {
  std::filesystem::path shown;
  for (const auto& part : path) shown /= platform::text::elidedMiddle(part.string(), 40);
  return platform::text::printable(platform::text::elidedMiddle(shown.string(), 160));
}

std::optional<std::string> outputNameEncodingError(const std::string& name, const std::filesystem::path& path) {
  auto refuse = [&](const std::string& what) {
    return "--" + name + ": " + what + " is not UTF-8 text, and a file system that keeps names in UTF-8 (FAT, "
           "exFAT, NTFS) refuses it";
  };
  if (!platform::text::isValidUtf8(path.filename().string()))
    return refuse("the name \"" + platform::text::printable(path.filename().string()) + "\"");
  // Folders that exist have their names already; the ones to be made (the
  // XML folder's) are named here.
  std::error_code ec;
  for (auto folder = path.parent_path(); !folder.empty() && !std::filesystem::exists(folder, ec);
       folder = folder.parent_path()) {
    if (!platform::text::isValidUtf8(folder.filename().string()))
      return refuse("the name of the folder \"" + platform::text::printable(folder.filename().string()) +
                    "\" it would make");
    if (folder == folder.parent_path()) break;
  }
  return std::nullopt;
}

std::optional<std::string> outputNameLengthError(const std::string& name, const std::filesystem::path& path) {
  if (auto why = platform::files::nameLengthRefusal(path)) return "--" + name + ": " + shownPath(path) + ": " + *why;
  return std::nullopt;
}

std::optional<double> numberInRange(const std::string& name, const std::string& text, double lo, double hi,
                                    std::string& error) {
  auto value = platform::text::parseFiniteDecimal(text);
  if (!value || *value < lo || *value > hi) {
    auto show = [](double v) {
      return v == std::floor(v) ? std::to_string(static_cast<long long>(v)) : platform::text::shortestDescription(v);
    };
    error = "--" + name + " must be a number from " + show(lo) + " to " + show(hi) + ", not '" + text + "'";
    return std::nullopt;
  }
  return value;
}

}  // namespace cli
