#pragma once

#include <cstdlib>
#include <filesystem>

namespace testsupport {

// Where tests leave files for a person to look at: the build's test-output
// folder (CTest passes it), else one under the system's temporary folder.
// Made if missing.
inline std::filesystem::path outputFolder() {
  const char* out = std::getenv("INKCURVE_TEST_OUTPUT");
  std::filesystem::path folder = out ? out : std::filesystem::temp_directory_path() / "inkcurve-tests";
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace testsupport
