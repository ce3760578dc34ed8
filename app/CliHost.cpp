#include "CliHost.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

#include "Cli.h"
#include "platform/files/Files.h"
#include "platform/text/Text.h"

namespace cli {
namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string extensionOf(const std::filesystem::path& p) {
  auto ext = p.extension().string();
  if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  return ext;
}

// The first part of `path` that is a symbolic link to nothing, if any.
std::optional<std::filesystem::path> danglingLinkIn(const std::filesystem::path& path) {
  std::filesystem::path prefix;
  for (const auto& part : path) {
    prefix /= part;
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(prefix, ec)) &&
        !std::filesystem::exists(prefix, ec))
      return prefix;
  }
  return std::nullopt;
}

// An alert's informative text as one line: its paragraphs joined by a space,
// less one that sends the user to the help menu (the desktop's feedback
// form), which a command line does not have.
std::string oneLine(const std::string& text) {
  std::string line;
  for (const auto& paragraph : platform::text::split(text, "\n\n")) {
    if (paragraph.empty() || paragraph.find("help menu") != std::string::npos) continue;
    line += (line.empty() ? "" : " ") + paragraph;
  }
  std::replace(line.begin(), line.end(), '\n', ' ');
  return line;
}

std::string joinTypes(const std::vector<std::string>& types) {
  std::string s;
  for (const auto& t : types) {
    if (!s.empty()) s += ", ";
    s += "." + t;
  }
  return s;
}

}  // namespace

CliHost::CliHost(std::ostream& out, std::ostream& err, bool verbose) : out_(out), err_(err), verbose_(verbose) {}

void CliHost::setOpenAnswer(const std::string& type, std::filesystem::path path) {
  openAnswers_[type] = std::move(path);
}

void CliHost::setSaveAnswer(const std::string& type, std::filesystem::path path) {
  saveAnswers_[type] = std::move(path);
}

std::optional<std::filesystem::path> CliHost::runOpenPanel(const platform::OpenPanelRequest& request) {
  if (request.canChooseDirectories && !request.canChooseFiles) return chooseFolder(request);
  for (const auto& type : request.allowedTypes) {
    auto it = openAnswers_.find(type);
    if (it == openAnswers_.end()) continue;
    const auto path = it->second;
    const auto ext = lower(extensionOf(path));
    bool allowed = request.allowedTypes.empty();
    for (const auto& t : request.allowedTypes) allowed = allowed || lower(t) == ext;
    if (!allowed) {
      err_ << "inkcurve: " << path.string() << ": expected a file of type " << joinTypes(request.allowedTypes)
           << "\n";
      failed_ = true;
      return std::nullopt;
    }
    return path;
  }
  return std::nullopt;
}

std::filesystem::path CliHost::folderAnswer(const std::filesystem::path& given) {
  auto folder = given.lexically_normal();
  if (!folder.has_filename()) folder = folder.parent_path();
  if (folder.empty() || folder.filename() == "." || folder.filename() == "..") {
    std::error_code ec;
    folder = std::filesystem::weakly_canonical(std::filesystem::absolute(folder), ec);
  }
  return folder;
}

std::optional<std::string> CliHost::unusableFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return std::nullopt;
  if (std::filesystem::exists(folder, ec)) return folder.string() + ": not a folder";
  // The folder cannot be made where a link stands, whatever it names.
  if (const auto link = danglingLinkIn(folder))
    return link->string() + ": a symbolic link that leads nowhere (to " +
           std::filesystem::read_symlink(*link, ec).string() + ")";
  // It is made inside the nearest part of its path that exists (links
  // followed); a relative path starts in the current folder.
  auto above = folder.parent_path();
  for (; !above.empty(); above = above.parent_path()) {
    if (std::filesystem::is_directory(above, ec)) break;
    if (std::filesystem::exists(above, ec))
      return above.string() + ": not a folder, so " + folder.string() + " cannot be made in it";
    if (above == above.parent_path()) break;
  }
  if (::faccessat(AT_FDCWD, above.empty() ? "." : above.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
    return folder.string() + ": cannot make the folder: " + std::strerror(errno);
  return std::nullopt;
}

std::optional<std::filesystem::path> CliHost::chooseFolder(const platform::OpenPanelRequest& request) {
  auto it = openAnswers_.find(kDirectoryAnswer);
  if (it == openAnswers_.end()) return std::nullopt;
  const auto folder = folderAnswer(it->second);
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return folder;
  if (const auto problem = unusableFolder(folder)) {
    err_ << "inkcurve: " << *problem << "\n";
  } else if (!request.canCreateDirectories) {
    err_ << "inkcurve: " << folder.string() << ": no such folder\n";
  } else if (std::filesystem::create_directories(folder, ec); !ec) {
    return folder;
  } else {
    err_ << "inkcurve: " << folder.string() << ": cannot make the folder: " << ec.message() << "\n";
  }
  failed_ = true;
  return std::nullopt;
}

std::filesystem::path CliHost::savedPath(std::filesystem::path given, const std::string& type) {
  if (lower(extensionOf(given)) != lower(type)) given += "." + type;
  return given;
}

void CliHost::beginSavePanel(const platform::SavePanelRequest& request, SaveCompletion completion) {
  for (const auto& type : request.allowedTypes) {
    auto it = saveAnswers_.find(type);
    if (it == saveAnswers_.end()) continue;
    const auto path = savedPath(it->second, type);
    const int failuresBefore = failureCount_;
    completion(path);
    if (failureCount_ == failuresBefore) writtenFiles_.push_back(path);
    return;
  }
  completion(std::nullopt);
}

int CliHost::runAlert(const platform::AlertRequest& request) {
  failed_ = true;
  const std::string text = oneLine(request.informativeText);
  err_ << request.messageText << (text.empty() ? "" : ": " + text) << "\n";
  return 0;
}

void CliHost::log(const std::string& line) {
  if (verbose_) err_ << line << "\n";
}

void CliHost::logLoadFailure(const std::string& reason) { loadFailure_ = reason; }

std::optional<std::string> CliHost::takeLoadFailure() { return std::exchange(loadFailure_, std::nullopt); }

void CliHost::logLoadWarning(const std::string& text) { loadWarnings_.push_back(text); }

std::vector<std::string> CliHost::takeLoadWarnings() { return std::exchange(loadWarnings_, {}); }

void CliHost::reportFailure(const std::string& text) {
  failed_ = true;
  ++failureCount_;
  err_ << "inkcurve: " << text << "\n";
}

int commitWrites(platform::files::ReplacementBatch& batch, CliHost& host, std::ostream& out) {
  if (host.failed() || !outputReaches(out)) return kExitFailed;
  const auto error = batch.commit();
  // One file written for each file listed, in the same order.
  const auto& written = host.writtenFiles();
  for (size_t i = 0; i < batch.replaced() && i < written.size(); ++i) out << "wrote " << written[i].string() << "\n";
  if (!error) return kExitOk;
  host.reportFailure(*error);
  return kExitFailed;
}

}  // namespace cli
