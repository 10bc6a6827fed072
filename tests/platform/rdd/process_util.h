// Child processes for the multi-process and kill tests: fork, run a body,
// leave with _exit so the child never returns into the test runner.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace qv::rdd::testutil {

// Runs body in a child process; returns its pid. The child's exit code is
// body's result.
inline pid_t Spawn(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

// The child's exit code, or -1 when it did not exit normally.
inline int Wait(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace qv::rdd::testutil
