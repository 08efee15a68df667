// SPDX-License-Identifier: MIT
// The real qup-suggestd on a free loopback port, and a client that talks to it as the program
// and as browsers do: for the server's tests and its benchmark. Every wait is bounded.
#ifndef QUP_SERVER_TESTS_SUPPORT_SERVER_HARNESS_H
#define QUP_SERVER_TESTS_SUPPORT_SERVER_HARNESS_H

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qup::server::testing {

using std::chrono::milliseconds;

// A folder of its own, removed with everything in it at the end.
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
  // Runs qup-suggestd --listen 127.0.0.1:0 --db database --site "" plus extra, its log going
  // to log.
  ServerProcess(const std::filesystem::path& database, const std::filesystem::path& log,
                std::vector<std::string> extra = {});
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  ~ServerProcess();  // kills it if it still runs

  // Reads the line announcing the port; false if the server never got there.
  bool WaitUntilListening();
  std::uint16_t port() const { return port_; }
  void Signal(int signal) const;
  // The exit status once it has ended within limit, or nothing when it still runs.
  std::optional<int> WaitForExit(milliseconds limit = std::chrono::seconds(10));

 private:
  pid_t pid_ = -1;
  int stdout_fd_ = -1;
  std::uint16_t port_ = 0;
  bool ended_ = false;
};

class LoopbackClient {
 public:
  // From 127.0.0.1, or from another loopback address (127.0.0.2) to stand for another
  // client, or "::1" over IPv6. Send fails when it could not connect.
  explicit LoopbackClient(std::uint16_t port, const char* from = nullptr);
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;
  ~LoopbackClient();

  bool Send(std::string_view bytes) const;
  bool Connected() const { return fd_ >= 0; }
  // Everything received, once the server has closed its side within limit.
  std::optional<std::string> ReceiveUntilClosed(milliseconds limit = std::chrono::seconds(10));
  // Whether the server closed with a reset rather than in order.
  bool WasReset() const { return reset_; }

 private:
  int fd_ = -1;
  bool reset_ = false;
};

// The program's whole request for text (the box's text: UTF-8, CR LF line breaks).
std::string ProgramRequest(std::string_view text);
// The program's request for text: true when the reply starts with "HTTP/1.1 200 OK".
bool PostAsProgram(std::uint16_t port, std::string_view text, const char* from = nullptr);
// One whole exchange: connect, send, and the reply up to the server's close.
std::string Exchange(std::uint16_t port, std::string_view request, const char* from = nullptr);
// The body of GET path.
std::string FetchPage(std::uint16_t port, std::string_view path);
// The whole text of a file (a server's log).
std::string ReadFile(const std::filesystem::path& path);

}  // namespace qup::server::testing

#endif  // QUP_SERVER_TESTS_SUPPORT_SERVER_HARNESS_H
