#include "support/FakeHost.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

std::optional<std::filesystem::path> FakeHost::runOpenPanel(const platform::OpenPanelRequest& request) {
  openRequests.push_back(request);
  if (openAnswers.empty()) return std::nullopt;
  auto answer = openAnswers.front();
  openAnswers.pop_front();
  return answer;
}

void FakeHost::beginSavePanel(const platform::SavePanelRequest& request, SaveCompletion completion) {
  saveRequests.push_back(request);
  if (deferSaves) {
    pendingSaves.push_back(std::move(completion));
    return;
  }
  std::optional<std::filesystem::path> answer;
  if (!saveAnswers.empty()) {
    answer = saveAnswers.front();
    saveAnswers.pop_front();
  }
  completion(answer);
}

int FakeHost::runAlert(const platform::AlertRequest& request) {
  alerts.push_back(request);
  return 0;
}

void FakeHost::log(const std::string& line) { logLines.push_back(line); }

void FakeHost::logLoadFailure(const std::string& reason) { loadFailures.push_back(reason); }

void FakeHost::reportFailure(const std::string& text) { failures.push_back(text); }

void FakeHost::completeSave(std::optional<std::filesystem::path> answer) {
  if (pendingSaves.empty()) throw std::logic_error("no save panel is waiting");
  auto completion = std::move(pendingSaves.front());
  pendingSaves.erase(pendingSaves.begin());
  completion(answer);
}

std::vector<std::string> FakeHost::alertMessages() const {
  std::vector<std::string> out;
  for (const auto& a : alerts) out.push_back(a.messageText);
  return out;
}

// Each user's own folder in the temporary folder: one that root's run made
// is not another user's to write in.
static std::filesystem::path userTemporaryFolder(const std::string& name) {
  return std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::geteuid()));
}

std::filesystem::path testOutputFolder() {
  const char* out = std::getenv("INKCURVE_TEST_OUTPUT");
  std::filesystem::path folder = out ? out : userTemporaryFolder("inkcurve-tests");
  std::filesystem::create_directories(folder);
  return folder;
}

namespace {

bool othersMayPassThrough(const std::filesystem::path& folder) {
  for (auto p = std::filesystem::absolute(folder); ; p = p.parent_path()) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0 || !(st.st_mode & S_IXOTH)) return false;
    if (p == p.root_path()) return true;
  }
}

}  // namespace

TempDir::TempDir() : TempDir(Reach::owner) {}

TempDir::TempDir(Reach reach) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path base = testOutputFolder();
  if (reach == Reach::everyone && !othersMayPassThrough(base)) {
    base = userTemporaryFolder("inkcurve-tests-shared");
    std::filesystem::create_directories(base);
    ::chmod(base.c_str(), 0755);
  }
  for (;;) {
    auto candidate = base / ("t" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      break;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempDir::write(const std::string& name, const std::string& bytes) const {
  auto p = path_ / name;
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write test file " + p.string());
  return p;
}

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

HangGuard::HangGuard(unsigned seconds) { ::alarm(seconds); }

HangGuard::~HangGuard() { ::alarm(0); }

}  // namespace testsupport
