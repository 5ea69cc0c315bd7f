#pragma once
// Runs a check as a user without privileges, so that permissions hold even when the tests
// run as root: in a child process that, under root, becomes "nobody" first.

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// The check's answer in the child; false when the child could not run it.
inline bool AsOtherUser(const std::function<bool()>& check) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
