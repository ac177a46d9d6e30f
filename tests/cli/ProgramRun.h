// Runs programs, tessary-cli first of all, as a user or a script would.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace cli::testing_support {

// What tessary-cli adds after the message of a wrong command line.
inline constexpr const char* kHint = "Try 'tessary-cli --help' for more information.\n";

struct ProgramRun {
  int status;
  std::string out;
  std::string err;
};

inline std::string ReadAll(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// Runs the program `args` names. Standard error goes to a terminal 40
// columns wide when `terminal` is set. A status of 128 + N tells that
// signal N ended it.
inline ProgramRun RunProgram(std::vector<std::string> args, bool terminal = false) {
  const mapgen::testing_support::TempFolder outputs;
  const std::string out = outputs.path() + "/out";
  const std::string err = outputs.path() + "/err";
  int master = -1, slave = -1;
  winsize size{24, 40, 0, 0};
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ::posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (terminal && ::openpty(&master, &slave, nullptr, nullptr, &size) == 0) {
    ::posix_spawn_file_actions_adddup2(&actions, slave, 2);
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  EXPECT_EQ(::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  ::posix_spawn_file_actions_destroy(&actions);
  std::string shown;  // on the terminal, read while the program runs
  if (terminal) {
    ::close(slave);
    char buffer[4096];
    for (ssize_t got; (got = ::read(master, buffer, sizeof buffer)) > 0;) shown.append(buffer, got);
    ::close(master);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return {WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status), ReadAll(out),
          terminal ? shown : ReadAll(err)};
}

// The command that runs `args` as nobody when the tests run as root, so
// that permissions apply.
inline std::vector<std::string> AsNobody(std::vector<std::string> args) {
  if (::geteuid() == 0) {
    args.insert(args.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
  }
  return args;
}

// Runs tessary-cli with `args`, as nobody with `asNobody`.
inline ProgramRun RunCli(std::vector<std::string> args, bool terminal = false,
                         bool asNobody = false) {
  args.insert(args.begin(), TESSARY_CLI);
  return RunProgram(asNobody ? AsNobody(args) : args, terminal);
}

// Runs `script` in sh, with tessary-cli as $0 and `args` as $1, $2 ...
inline ProgramRun RunScript(const std::string& script, std::vector<std::string> args) {
  args.insert(args.begin(), {"sh", "-c", script, TESSARY_CLI});
  return RunProgram(args);
}

}  // namespace cli::testing_support
