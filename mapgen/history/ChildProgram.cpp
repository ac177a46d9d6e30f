#include "ChildProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "OpenAt.h"

extern char** environ;

namespace mapgen {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
// What is kept of standard error: enough for a message.
constexpr std::size_t kMostErrorBytes = 4096;

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

Outcome<std::unique_ptr<ChildProgram>> ChildProgram::Start(
    const std::vector<std::string>& arguments, const std::string& folder) {
  // The object that waits for the child exists before the child does.
  std::unique_ptr<ChildProgram> child(new ChildProgram(arguments.front()));
  auto output = OpenPipe(child->program_);
  if (!output) return std::move(output).failure();
  auto errors = OpenPipe(child->program_);
  if (!errors) return std::move(errors).failure();
  pid_t pid = -1;
  const int error =
      Spawn(arguments, folder, output->write.get(), errors->write.get(), pid);
  if (error != 0) return SystemFailure(child->program_, error);
  child->pid_ = pid;
  child->output_ = std::move(output->read);
  child->errors_ = std::move(errors->read);
  return child;
}

ChildProgram::~ChildProgram() {
  if (pid_ < 0 || waited_) return;
  stopped_ = true;
  ::kill(pid_, SIGTERM);
  Wait();
}

// Keeps what is waiting on standard error, so that a program that says
// much there never waits for it to be read.
void ChildProgram::KeepErrors() {
  char buffer[4096];
  const ssize_t got = ::read(errors_.get(), buffer, sizeof buffer);
  if (got <= 0) {
    errors_.Close();
    return;
  }
  const std::size_t room =
      kMostErrorBytes - std::min(kMostErrorBytes, errorText_.size());
  errorText_.append(buffer, std::min(room, static_cast<std::size_t>(got)));
}

Outcome<void> ChildProgram::Read(
    const std::function<bool(std::string_view)>& take) {
  std::string buffer(kReadSize, '\0');
  while (output_) {
    pollfd fds[2] = {{output_.get(), POLLIN, 0}, {errors_.get(), POLLIN, 0}};
    if (::poll(fds, errors_ ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      return SystemFailure(program_, errno);
    }
    if (errors_ && fds[1].revents != 0) KeepErrors();
    if (fds[0].revents == 0) continue;
    const ssize_t got = ::read(output_.get(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return SystemFailure(program_, errno);
    if (got == 0) {
      output_.Close();
    } else if (!take({buffer.data(), static_cast<std::size_t>(got)})) {
      stopped_ = true;
      output_.Close();
      ::kill(pid_, SIGTERM);
    }
  }
  return {};
}

// Waits for the program, what it says on standard error kept; how it
// ended, as waitpid tells it.
int ChildProgram::Wait() {
  while (errors_) KeepErrors();
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  waited_ = true;
  return status;
}

Outcome<void> ChildProgram::Succeeded() {
  const int status = Wait();
  if (stopped_ || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) return {};
  std::string reason = errorText_.substr(0, errorText_.find('\n'));
  if (reason.empty()) {
    reason = WIFSIGNALED(status)
                 ? "ended by signal " + std::to_string(WTERMSIG(status))
                 : "exit status " + std::to_string(WEXITSTATUS(status));
  }
  return Failure{program_, std::move(reason)};
}

}  // namespace mapgen
