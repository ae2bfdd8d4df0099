#include "app/editor_launch_posix.h"

#include <cerrno>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Exit status of a program that could not be executed, as shells report it.
constexpr int kExecFailed = 127;

// The C view of `arguments`, built before fork: between fork and exec only
// async-signal-safe calls are allowed, so no allocation happens there.
std::vector<char*> ArgumentPointers(const std::vector<std::string>& arguments) {
  std::vector<char*> pointers;
  pointers.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) {
    pointers.push_back(const_cast<char*>(argument.c_str()));
  }
  pointers.push_back(nullptr);
  return pointers;
}

// Runs in the intermediate process: starts the program in a grandchild and ends at once,
// so the grandchild is adopted by init (or a subreaper) and never becomes our zombie.
[[noreturn]] void ForkProgramAndExit(char* const* argv) {
  const pid_t program = fork();
  if (program == 0) {
    execv(argv[0], argv);
    _exit(kExecFailed);
  }
  _exit(program < 0 ? kExecFailed : 0);
}

// Reaps the intermediate process, which ends right after its own fork.
void ReapIntermediate(pid_t intermediate) {
  while (waitpid(intermediate, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

bool StartDetachedProgram(const std::vector<std::string>& arguments) {
  if (arguments.empty()) {
    return false;
  }
  const std::vector<char*> argv = ArgumentPointers(arguments);
  const pid_t intermediate = fork();
  if (intermediate < 0) {
    return false;
  }
  if (intermediate == 0) {
    ForkProgramAndExit(argv.data());
  }
  ReapIntermediate(intermediate);
  return true;
}
