#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/host/Host.h"

namespace platform::files {
class ReplacementBatch;
}

namespace cli {

// The command line's answer to the library's panels and alerts.
// - An open panel is answered with the path given for its first allowed type
//   (or for any of its types); the path's extension must be one the panel
//   allows, compared without regard to case, as the panel itself would.
// - An open panel that chooses folders only is answered with the path given
//   for kDirectoryAnswer; a folder that does not exist yet is made when the
//   panel allows new folders, as the user would in the panel.
// - A save panel is answered with the path given for its one allowed type;
//   none given is a cancel. The extension is added when the path lacks it.
// - Alerts and failures go to `err` and make the run fail, an alert as one
//   line (its title, then its text without a paragraph that points to the
//   help menu); diagnostic log lines go to `err` only when `verbose` is set.
class CliHost : public platform::Host {
 public:
  CliHost(std::ostream& out, std::ostream& err, bool verbose = false);

  // The key of the answer to a folder-choosing open panel.
  static constexpr const char* kDirectoryAnswer = "directory";
  // The folder a folder panel answered with `given` hands over: "." and ".."
  // (alone or at the end) are named by the folder they lead to, as a panel
  // names every folder.
  static std::filesystem::path folderAnswer(const std::filesystem::path& given);
  // Why `folder` cannot take files: it is something else than a folder (links
  // followed), a part of its path is a link that leads nowhere, or the
  // nearest part of its path that exists is not a folder or lets this process
  // make no folder in it. Nothing for a folder, or for one that can be made;
  // nothing is made here.
  static std::optional<std::string> unusableFolder(const std::filesystem::path& folder);
  // The file a save panel for `type` answered with `given` writes: the type's
  // extension is added when the name lacks it (compared without case).
  static std::filesystem::path savedPath(std::filesystem::path given, const std::string& type);

  void setOpenAnswer(const std::string& type, std::filesystem::path path);
  void setSaveAnswer(const std::string& type, std::filesystem::path path);

  std::optional<std::filesystem::path> runOpenPanel(const platform::OpenPanelRequest& request) override;
  void beginSavePanel(const platform::SavePanelRequest& request, SaveCompletion completion) override;
  int runAlert(const platform::AlertRequest& request) override;
  void log(const std::string& line) override;
  bool writesLog() const override { return verbose_; }
  // Kept, not printed: the command names the file with it after the alert.
  void logLoadFailure(const std::string& reason) override;
  // Kept too, so the command can name the file with each.
  void logLoadWarning(const std::string& text) override;
  void reportFailure(const std::string& text) override;

  // The reason of the last failed load, given once; nothing when none was given.
  std::optional<std::string> takeLoadFailure();
  // The warnings of the loads so far, each given once.
  std::vector<std::string> takeLoadWarnings();

  // True once any alert or failure was shown.
  bool failed() const { return failed_; }
  // The files that save panels were answered with and that were written
  // without a reported failure, in order.
  const std::vector<std::filesystem::path>& writtenFiles() const { return writtenFiles_; }
  void markFailed() { failed_ = true; }
  // A file written into a chosen folder rather than through a save panel.
  void addWrittenFile(std::filesystem::path path) { writtenFiles_.push_back(std::move(path)); }

  std::ostream& out() { return out_; }
  std::ostream& err() { return err_; }

 private:
  std::optional<std::filesystem::path> chooseFolder(const platform::OpenPanelRequest& request);

  std::ostream& out_;
  std::ostream& err_;
  bool verbose_;
  bool failed_ = false;
  int failureCount_ = 0;
  std::optional<std::string> loadFailure_;
  std::vector<std::string> loadWarnings_;
  std::vector<std::filesystem::path> writtenFiles_;
  std::map<std::string, std::filesystem::path> openAnswers_;
  std::map<std::string, std::filesystem::path> saveAnswers_;
};

// Replaces the files `batch` holds with what `host` wrote, once nothing
// failed and all that was printed reached `out` (outputReaches): a run that
// failed, or whose standard output is closed, replaces nothing. Then one
// "wrote" line for each file replaced, in the order written, and a rename
// that failed reported through `host`. kExitOk, or kExitFailed.
int commitWrites(platform::files::ReplacementBatch& batch, CliHost& host, std::ostream& out);

}  // namespace cli
