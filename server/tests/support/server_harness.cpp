// SPDX-License-Identifier: MIT
// The real qup-suggestd on a free loopback port, and a client that talks to it.
#include "server/tests/support/server_harness.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "suggest/suggestion_request.h"

namespace qup::server::testing {

using Clock = std::chrono::steady_clock;

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
  // No site unless a test names one: a site the package installed on this machine would
  // change the home page under the tests.
  std::vector<std::string> args = {
      QUP_SUGGESTD_PATH, "--listen", "127.0.0.1:0", "--db", database.string(), "--site", ""};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
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
  if (spawned != 0) throw std::runtime_error("cannot start " + args[0]);
}

ServerProcess::~ServerProcess() {
  Signal(SIGKILL);
  if (!ended_) waitpid(pid_, nullptr, 0);
  close(stdout_fd_);
}

bool ServerProcess::WaitUntilListening() {
  // "qup-suggestd listening on http://127.0.0.1:PORT/"
  std::string line;
  char chunk[256];
  pollfd watch{stdout_fd_, POLLIN, 0};
  while (line.find('\n') == std::string::npos) {
    const ssize_t got = poll(&watch, 1, 10000) > 0 ? read(stdout_fd_, chunk, sizeof chunk) : 0;
    if (got <= 0) return false;
    line.append(chunk, static_cast<std::size_t>(got));
  }
  // The line ends in the port: ":PORT" then the line feed.
  const char* digits = line.data() + line.rfind(':', line.find('\n')) + 1;
  std::uint16_t port = 0;
  if (std::from_chars(digits, line.data() + line.size(), port).ec != std::errc()) return false;
  port_ = port;
  return port_ != 0;
}

void ServerProcess::Signal(int signal) const {
  if (pid_ > 0 && !ended_) kill(pid_, signal);
}

std::optional<int> ServerProcess::WaitForExit(milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  int status = 0;
  while (!ended_ && Clock::now() < deadline) {
    ended_ = waitpid(pid_, &status, WNOHANG) == pid_;
    if (!ended_) std::this_thread::sleep_for(milliseconds(20));
  }
  return ended_ ? std::optional<int>(status) : std::nullopt;
}

LoopbackClient::LoopbackClient(std::uint16_t port, const char* from) {
  // "::1" connects over IPv6, to a server listening on [::1] or [::].
  const bool ipv6 = from != nullptr && std::string_view(from) == "::1";
  fd_ = socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in6 address6{};
  address6.sin6_family = AF_INET6;
  address6.sin6_port = htons(port);
  address6.sin6_addr = in6addr_loopback;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sockaddr_in source{};
  source.sin_family = AF_INET;
  const bool bound = ipv6 || from == nullptr ||
                     (inet_pton(AF_INET, from, &source.sin_addr) == 1 &&
                      bind(fd_, reinterpret_cast<sockaddr*>(&source), sizeof source) == 0);
  auto* const target =
      ipv6 ? reinterpret_cast<sockaddr*>(&address6) : reinterpret_cast<sockaddr*>(&address);
  if (!bound || connect(fd_, target, ipv6 ? sizeof address6 : sizeof address) != 0) {
    close(fd_);
    fd_ = -1;
  }
  // Replies are awaited with poll; a send that the server does not take fails after this.
  timeval limit{10, 0};
  setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

LoopbackClient::~LoopbackClient() {
  if (fd_ >= 0) close(fd_);
}

bool LoopbackClient::Send(std::string_view bytes) const {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return fd_ >= 0;
}

std::optional<std::string> LoopbackClient::ReceiveUntilClosed(milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  std::string reply;
  char chunk[4096];
  pollfd watch{fd_, POLLIN, 0};
  while (Clock::now() < deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    if (poll(&watch, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t got = recv(fd_, chunk, sizeof chunk, 0);
    if (got < 0 && errno == ECONNRESET) reset_ = true;
    if (got <= 0) return reply;
    reply.append(chunk, static_cast<std::size_t>(got));
  }
  return std::nullopt;
}

std::string ProgramRequest(std::string_view text) {
  const auto bytes =
      qup::suggest::ComposeRequest("127.0.0.1", qup::suggest::EncodeSuggestion(text));
  return std::string(bytes.data(), bytes.size());
}

bool PostAsProgram(std::uint16_t port, std::string_view text, const char* from) {
  LoopbackClient client(port, from);
  return client.Send(ProgramRequest(text)) &&
         client.ReceiveUntilClosed().value_or("").starts_with("HTTP/1.1 200 OK\r\n");
}

std::string Exchange(std::uint16_t port, std::string_view request, const char* from) {
  LoopbackClient client(port, from);
  client.Send(request);  // a server that refuses early may close before taking it all
  return client.ReceiveUntilClosed().value_or("(not closed)");
}

std::string FetchPage(std::uint16_t port, std::string_view path) {
  const std::string reply =
      Exchange(port, "GET " + std::string(path) +
                         " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
  const std::size_t body = reply.find("\r\n\r\n");
  return body == std::string::npos ? std::string() : reply.substr(body + 4);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

}  // namespace qup::server::testing
