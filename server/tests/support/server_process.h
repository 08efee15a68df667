// SPDX-License-Identifier: MIT
// Starts the real qup-suggestd on a free loopback port in a scratch folder, for tests.
#ifndef QUP_SERVER_TESTS_SUPPORT_SERVER_PROCESS_H
#define QUP_SERVER_TESTS_SUPPORT_SERVER_PROCESS_H

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qup::server::testing {

// A folder of its own for one test, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class ServerProcess {
 public:
  // Runs qup-suggestd --listen 127.0.0.1:0 --db database plus extra, its log going to log.
  ServerProcess(const std::filesystem::path& database, const std::filesystem::path& log,
                std::vector<std::string> extra = {});
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  ~ServerProcess();  // kills it if it still runs

  // Waits (bounded) for the line announcing the port; false if the server never got there.
  bool WaitUntilListening(std::chrono::seconds limit = std::chrono::seconds(10));
  std::uint16_t port() const { return port_; }

  void Signal(int signal) const;
  // The exit status once it has ended within limit, or nothing when it still runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);

 private:
  pid_t pid_ = -1;
  int stdout_fd_ = -1;
  std::uint16_t port_ = 0;
  bool ended_ = false;
};

// The whole text of a file (a server's log).
std::string ReadFile(const std::filesystem::path& path);

}  // namespace qup::server::testing

#endif  // QUP_SERVER_TESTS_SUPPORT_SERVER_PROCESS_H
