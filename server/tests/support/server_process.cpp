// SPDX-License-Identifier: MIT
// Starts the real qup-suggestd on a free loopback port in a scratch folder, for tests.
#include "server/tests/support/server_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace qup::server::testing {

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qup-server-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

ServerProcess::ServerProcess(const std::filesystem::path& database,
                             const std::filesystem::path& log, std::vector<std::string> extra) {
  std::vector<std::string> args = {QUP_SUGGESTD_PATH, "--listen", "127.0.0.1:0", "--db",
                                   database.string()};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0644);
  const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  stdout_fd_ = out[0];
  if (spawned != 0) {
    pid_ = -1;
    throw std::runtime_error("cannot start " + args[0]);
  }
}

ServerProcess::~ServerProcess() {
  if (pid_ > 0 && !ended_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (stdout_fd_ >= 0) close(stdout_fd_);
}

bool ServerProcess::WaitUntilListening(std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::string line;
  while (line.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watch{stdout_fd_, POLLIN, 0};
    if (poll(&watch, 1, static_cast<int>(left.count())) <= 0) return false;
    char chunk[256];
    const ssize_t got = read(stdout_fd_, chunk, sizeof chunk);
    if (got <= 0) return false;
    line.append(chunk, static_cast<std::size_t>(got));
  }
  // "qup-suggestd listening on http://127.0.0.1:PORT/"
  const std::size_t colon = line.rfind(':');
  const std::size_t slash = line.rfind('/');
  if (colon == std::string::npos || slash == std::string::npos || slash < colon) return false;
  const auto [end, error] = std::from_chars(line.data() + colon + 1, line.data() + slash, port_);
  return error == std::errc{} && port_ != 0;
}

void ServerProcess::Signal(int signal) const {
  if (pid_ > 0 && !ended_) kill(pid_, signal);
}

std::optional<int> ServerProcess::WaitForExit(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      ended_ = true;
      return status;
    }
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace qup::server::testing
