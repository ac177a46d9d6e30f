#pragma once

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace mapgen::testing_support {

// Memory limits and peaks mean nothing under AddressSanitizer and
// ThreadSanitizer, which reserve far more than any limit and keep freed
// memory aside. GCC names them one way, Clang another.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TESSARY_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || \
    defined(TESSARY_SANITIZED)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

struct ChildResult {
  std::string output;  // what the child returned
  long peakKiB = 0;    // the child's peak resident memory
  bool exitedCleanly = false;
  int signal = 0;           // the signal that ended the child, if one did
  bool privileged = false;  // it could not give up root's privileges
};

inline constexpr int kStillPrivileged = 3;

// Runs `work` in a child process and brings back the text it returns, its
// peak memory and whether it ended normally. With `asNobody` a child of
// root first becomes nobody, so that permissions apply to it.
inline ChildResult RunInChild(const std::function<std::string()>& work,
                              bool asNobody = false) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    if (asNobody && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 ||
         ::setresgid(65534, 65534, 65534) != 0 ||
         ::setresuid(65534, 65534, 65534) != 0)) {
      ::_exit(kStillPrivileged);
    }
    const std::string output = work();
    const bool written = ::write(pipeFds[1], output.data(), output.size()) ==
                         static_cast<ssize_t>(output.size());
    ::_exit(written ? 0 : 4);
  }
  ::close(pipeFds[1]);
  ChildResult result;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
    result.output.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeFds[0]);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  result.peakKiB = usage.ru_maxrss;
  result.exitedCleanly = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  result.privileged =
      WIFEXITED(status) && WEXITSTATUS(status) == kStillPrivileged;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return result;
}

}  // namespace mapgen::testing_support
