#include "ChildProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "OpenAt.h"
#include "WriteAll.h"

extern char** environ;

namespace mapgen {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
constexpr int kPipeSize = 1 << 20;
// What is kept of standard error: enough for a message.
constexpr std::size_t kMostErrorBytes = 4096;

// Spawns with the child's standard output and error on the pipes' write
// ends and its input on the read end `input`, or else on /dev/null, in
// `folder`.
int Spawn(const std::vector<std::string>& arguments, const std::string& folder,
          int input, int output, int errors, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input >= 0) {
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null",
                                     O_RDONLY, 0);
  }
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

// Writes `bytes` to a program's input. A program that has ended would
// raise SIGPIPE, which ends this process unless it is ignored: the signal
// is held back for the write, and the one it raised taken back after.
Outcome<void> WriteWithoutSigpipe(int fd, std::string_view bytes,
                                  const std::string& program) {
  sigset_t pipe;
  sigset_t before;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  ::pthread_sigmask(SIG_BLOCK, &pipe, &before);
  sigset_t pending;
  sigpending(&pending);
  const bool pendingBefore = sigismember(&pending, SIGPIPE) == 1;
  auto written = WriteAll(fd, bytes, program);
  if (!written && IsSystemError(written.failure(), EPIPE) && !pendingBefore) {
    const timespec now{};
    ::sigtimedwait(&pipe, nullptr, &now);
  }
  ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
  return written;
}

}  // namespace

Outcome<std::unique_ptr<ChildProgram>> ChildProgram::Start(
    const std::vector<std::string>& arguments, const std::string& folder) {
  return Start(arguments, folder, false);
}

Outcome<std::unique_ptr<ChildProgram>> ChildProgram::StartTalking(
    const std::vector<std::string>& arguments, const std::string& folder) {
  return Start(arguments, folder, true);
}

Outcome<std::unique_ptr<ChildProgram>> ChildProgram::Start(
    const std::vector<std::string>& arguments, const std::string& folder,
    bool talking) {
  // The object that waits for the child exists before the child does.
  std::unique_ptr<ChildProgram> child(new ChildProgram(arguments.front()));
  std::optional<Pipe> input;
  if (talking) {
    auto opened = OpenPipe(child->program_);
    if (!opened) return std::move(opened).failure();
    input = std::move(*opened);
  }
  auto output = OpenPipe(child->program_);
  if (!output) return std::move(output).failure();
  // Room for what the program writes before it is read: it runs ahead
  // meanwhile. The system may give less, which only slows it.
  ::fcntl(output->read.get(), F_SETPIPE_SZ, kPipeSize);
  auto errors = OpenPipe(child->program_);
  if (!errors) return std::move(errors).failure();
  pid_t pid = -1;
  const int error = Spawn(arguments, folder, input ? input->read.get() : -1,
                          output->write.get(), errors->write.get(), pid);
  if (error != 0) return SystemFailure(child->program_, error);
  child->pid_ = pid;
  if (input) child->input_ = std::move(input->write);
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

// Waits for output, keeping what the program says on standard error
// meanwhile, and reads it into `buffer`: how many bytes, 0 when there
// were none yet. The output is closed at its end.
Outcome<std::size_t> ChildProgram::ReadOutput(std::span<char> buffer) {
  pollfd fds[2] = {{output_.get(), POLLIN, 0}, {errors_.get(), POLLIN, 0}};
  if (::poll(fds, errors_ ? 2 : 1, -1) < 0) {
    if (errno == EINTR) return 0;
    return SystemFailure(program_, errno);
  }
  if (errors_ && fds[1].revents != 0) KeepErrors();
  if (fds[0].revents == 0) return 0;
  const ssize_t got = ::read(output_.get(), buffer.data(), buffer.size());
  if (got < 0 && errno == EINTR) return 0;
  if (got < 0) return SystemFailure(program_, errno);
  if (got == 0) output_.Close();
  return static_cast<std::size_t>(got);
}

Outcome<void> ChildProgram::Read(
    const std::function<bool(std::string_view)>& take) {
  std::string buffer(kReadSize, '\0');
  while (output_) {
    auto got = ReadOutput(buffer);
    if (!got) return std::move(got).failure();
    if (*got > 0 && !take({buffer.data(), *got})) {
      stopped_ = true;
      output_.Close();
      ::kill(pid_, SIGTERM);
    }
  }
  return {};
}

Outcome<std::string> ChildProgram::Ask(std::string_view line) {
  std::string sent(line);
  sent += '\n';
  if (auto written = WriteWithoutSigpipe(input_.get(), sent, program_);
      !written) {
    return std::move(written).failure();
  }
  char buffer[4096];
  std::size_t end;
  while ((end = answers_.find('\n')) == std::string::npos) {
    if (!output_) {
      auto ended = Succeeded();
      if (!ended) return std::move(ended).failure();
      return Failure{program_, "ended before it answered"};
    }
    auto got = ReadOutput(buffer);
    if (!got) return std::move(got).failure();
    answers_.append(buffer, *got);
  }
  std::string answer = answers_.substr(0, end);
  answers_.erase(0, end + 1);
  return answer;
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
