#pragma once

// What the benchmarks that start the program share: a temporary folder for
// the files a run writes, and a loop that starts the program as a shell does.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// A folder of its own under the system's temporary folder, removed with
// everything in it at the end; `name` names it ("plot_bench.XXXXXX").
struct BenchFolder {
  explicit BenchFolder(const char* name) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(name) + ".XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
      std::perror((std::string(name) + ": no temporary folder").c_str());
      std::exit(1);
    }
    path = pattern;
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  std::filesystem::path path;
};

// Starts the program args[0] with the rest as its arguments once an
// iteration, its output thrown away, and waits for it; a run that fails
// ends the benchmark with an error.
inline void runProgram(benchmark::State& state, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0 ||
        waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program failed");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}
