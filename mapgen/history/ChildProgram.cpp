#include "ChildProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace mapgen {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
// What is kept of standard error: enough for a message.
constexpr std::size_t kMostErrorBytes = 4096;

void Close(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Spawns with the child's standard output and error on the pipes' write
// ends and its input on /dev/null, in `folder`.
int Spawn(const std::vector<std::string>& arguments, const std::string& folder,
          int output, int errors, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null",
                                   O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  // The child starts with the signals a program expects, whatever this
  // process ignores or blocks.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  const int error = ::posix_spawnp(&pid, argv[0], &actions, &attributes,
                                   argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return error;
}

}  // namespace

std::unique_ptr<ChildProgram> ChildProgram::Start(
    const std::vector<std::string>& arguments, const std::string& folder,
    Failure& failure) {
  int output[2];
  int errors[2];
  if (::pipe2(output, O_CLOEXEC) != 0) {
    failure = SystemFailure(arguments.front(), errno);
    return nullptr;
  }
  if (::pipe2(errors, O_CLOEXEC) != 0) {
    failure = SystemFailure(arguments.front(), errno);
    ::close(output[0]);
    ::close(output[1]);
    return nullptr;
  }
  pid_t pid = 0;
  const int error = Spawn(arguments, folder, output[1], errors[1], pid);
  ::close(output[1]);
  ::close(errors[1]);
  if (error != 0) {
    ::close(output[0]);
    ::close(errors[0]);
    failure = SystemFailure(arguments.front(), error);
    return nullptr;
  }
  return std::unique_ptr<ChildProgram>(
      new ChildProgram(pid, output[0], errors[0]));
}

ChildProgram::~ChildProgram() {
  std::string ignored;
  if (!waited_) {
    stopped_ = true;
    ::kill(pid_, SIGTERM);
    Succeeded(ignored);
  }
  CloseOutput();
  Close(errors_);
}

void ChildProgram::CloseOutput() { Close(output_); }

// Keeps what is waiting on standard error, so that a program that says
// much there never waits for it to be read.
void ChildProgram::KeepErrors() {
  char buffer[4096];
  const ssize_t got = ::read(errors_, buffer, sizeof buffer);
  if (got <= 0) {
    Close(errors_);
    return;
  }
  const std::size_t room =
      kMostErrorBytes - std::min(kMostErrorBytes, errorText_.size());
  errorText_.append(buffer, std::min(room, static_cast<std::size_t>(got)));
}

bool ChildProgram::Read(const std::function<bool(std::string_view)>& take,
                        Failure& failure) {
  std::string buffer(kReadSize, '\0');
  while (output_ >= 0) {
    pollfd fds[2] = {{output_, POLLIN, 0}, {errors_, POLLIN, 0}};
    if (::poll(fds, errors_ >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      failure = SystemFailure("", errno);
      return false;
    }
    if (errors_ >= 0 && fds[1].revents != 0) KeepErrors();
    if (fds[0].revents == 0) continue;
    const ssize_t got = ::read(output_, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failure = SystemFailure("", errno);
      return false;
    }
    if (got == 0) {
      CloseOutput();
    } else if (!take({buffer.data(), static_cast<std::size_t>(got)})) {
      stopped_ = true;
      CloseOutput();
      ::kill(pid_, SIGTERM);
    }
  }
  return true;
}

bool ChildProgram::Succeeded(std::string& reason) {
  while (errors_ >= 0) KeepErrors();
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  waited_ = true;
  if (stopped_ || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) return true;
  reason = errorText_.substr(0, errorText_.find('\n'));
  if (reason.empty()) {
    reason = WIFSIGNALED(status)
                 ? "ended by signal " + std::to_string(WTERMSIG(status))
                 : "exit status " + std::to_string(WEXITSTATUS(status));
  }
  return false;
}

}  // namespace mapgen
