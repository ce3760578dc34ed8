#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/Host.h"

namespace testsupport {

// A Host that records every request and answers from a script.
// Open and save panels take their answers from queues (an empty queue is a
// cancel). Save completions run at once unless `deferSaves` is set, in which
// case they wait in `pendingSaves` until the test calls `completeSave`.
class FakeHost : public platform::Host {
 public:
  std::deque<std::optional<std::filesystem::path>> openAnswers;
  std::deque<std::optional<std::filesystem::path>> saveAnswers;
  bool deferSaves = false;

  std::vector<platform::OpenPanelRequest> openRequests;
  std::vector<platform::SavePanelRequest> saveRequests;
  std::vector<platform::AlertRequest> alerts;
  std::vector<std::string> logLines;
  std::vector<std::string> loadFailures;
  std::vector<std::string> failures;
  std::vector<SaveCompletion> pendingSaves;

  std::optional<std::filesystem::path> runOpenPanel(const platform::OpenPanelRequest& request) override;
  void beginSavePanel(const platform::SavePanelRequest& request, SaveCompletion completion) override;
  int runAlert(const platform::AlertRequest& request) override;
  void log(const std::string& line) override;
  void logLoadFailure(const std::string& reason) override;
  void reportFailure(const std::string& text) override;

  // Runs the oldest deferred save completion with `answer`.
  void completeSave(std::optional<std::filesystem::path> answer);

  // The message texts of every alert shown, in order.
  std::vector<std::string> alertMessages() const;
};

// The folder tests write their output to: the build tree's test-output
// folder (INKCURVE_TEST_OUTPUT), or one in the system temp folder; made when
// missing.
std::filesystem::path testOutputFolder();

// A fresh empty folder under the test-output folder for one test; removed
// again when the object goes away.
class TempDir {
 public:
  TempDir();
  // A folder that a user other than the test's may reach too (a test that
  // drops root): beside the test output when every folder above it lets
  // others through, else in the system's temporary folder (a build under
  // /root, mode 700, would turn every check of such a user into "Permission
  // denied").
  enum class Reach { owner, everyone };
  explicit TempDir(Reach reach);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Writes `bytes` to a file in the folder and returns its path.
  std::filesystem::path write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// Reads a whole file as bytes (empty when it cannot be read).
std::string slurp(const std::filesystem::path& path);

// Ends the test program, a failure rather than a hang, should its scope last
// longer than `seconds`: for tests of code that must never wait on a FIFO.
class HangGuard {
 public:
  explicit HangGuard(unsigned seconds = 20);
  ~HangGuard();
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;
};

}  // namespace testsupport
