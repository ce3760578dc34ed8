#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/host/Host.h"

namespace cli {

// The command line's answer to the library's panels and alerts.
// - An open panel is answered with the path given for its first allowed type
//   (or for any of its types); the path's extension must be one the panel
//   allows, compared without regard to case, as the panel itself would.
// - A save panel is answered with the path given for its one allowed type;
//   none given is a cancel. The extension is added when the path lacks it.
// - Alerts and failures go to `err` and make the run fail; diagnostic log
//   lines go to `err` only when `verbose` is set.
class CliHost : public platform::Host {
 public:
  CliHost(std::ostream& out, std::ostream& err, bool verbose = false);

  void setOpenAnswer(const std::string& type, std::filesystem::path path);
  void setSaveAnswer(const std::string& type, std::filesystem::path path);

  std::optional<std::filesystem::path> runOpenPanel(const platform::OpenPanelRequest& request) override;
  void beginSavePanel(const platform::SavePanelRequest& request, SaveCompletion completion) override;
  int runAlert(const platform::AlertRequest& request) override;
  void log(const std::string& line) override;
  void reportFailure(const std::string& text) override;

  // True once any alert or failure was shown.
  bool failed() const { return failed_; }
  // The files that save panels were answered with and that were written
  // without a reported failure, in order.
  const std::vector<std::filesystem::path>& writtenFiles() const { return writtenFiles_; }
  void markFailed() { failed_ = true; }

  std::ostream& out() { return out_; }
  std::ostream& err() { return err_; }

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool verbose_;
  bool failed_ = false;
  int failureCount_ = 0;
  std::vector<std::filesystem::path> writtenFiles_;
  std::map<std::string, std::filesystem::path> openAnswers_;
  std::map<std::string, std::filesystem::path> saveAnswers_;
};

}  // namespace cli
