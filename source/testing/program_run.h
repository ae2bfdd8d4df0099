// Test helper: runs a built program without a shell (so any byte can stand in an argument)
// in a given working folder, its output captured in a folder of its own. Header-only; used
// by the end-to-end tests of both programs.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "source/testing/folder_snapshot.h"
#include "source/testing/test_folder.h"

struct ToolRun {
  int Status = -1;
  std::string Out;
  std::string Err;
  long PeakKilobytes = 0;  ///< the tool's peak resident memory
};

/// What a run changes in the program's environment.
struct RunEnvironment {
  std::string AsanOptions;         ///< added to ASAN_OPTIONS when not empty
  std::vector<std::string> Unset;  ///< variables the program does not get
};

/// Runs `program` with `arguments` in `work_dir`; its output goes to files in a folder of
/// its own, so neither the project nor the working folder receives anything from the test.
inline ToolRun RunProgram(const char* program, const std::string& work_dir,
                          const std::vector<std::string>& arguments,
                          const RunEnvironment& environment = {}) {
  const TestFolder capture;
  const std::string out_path = capture.Path() + "out";
  const std::string err_path = capture.Path() + "err";
  std::vector<char*> argv{const_cast<char*>(program)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ToolRun run;
  const pid_t child = ::fork();
  if (child == 0) {
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::chdir(work_dir.c_str()) != 0) {
      ::_exit(126);
    }
    if (!environment.AsanOptions.empty()) {
      const char* present = std::getenv("ASAN_OPTIONS");
      const std::string options =
          (present ? std::string(present) + ":" : "") + environment.AsanOptions;
      ::setenv("ASAN_OPTIONS", options.c_str(), 1);
    }
    for (const std::string& name : environment.Unset) ::unsetenv(name.c_str());
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return run;
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.PeakKilobytes = usage.ru_maxrss;
  run.Out = folder_snapshot::ReadWhole(out_path);
  run.Err = folder_snapshot::ReadWhole(err_path);
  return run;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
