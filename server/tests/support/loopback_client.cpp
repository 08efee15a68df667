// SPDX-License-Identifier: MIT
// A plain blocking client on 127.0.0.1 for the server's tests: every wait is bounded.
#include "server/tests/support/loopback_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "suggest/suggestion_request.h"

namespace qup::server::testing {
namespace {

using Clock = std::chrono::steady_clock;

int MillisLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

LoopbackClient::~LoopbackClient() { Close(); }

bool LoopbackClient::Connect(std::uint16_t port) {
  Close();
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    Close();
    return false;
  }
  // Replies are awaited with poll; a send that the server does not take fails after this.
  timeval limit{10, 0};
  setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  return true;
}

bool LoopbackClient::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

std::string LoopbackClient::ReceiveOnce(std::chrono::milliseconds limit) {
  pollfd watch{fd_, POLLIN, 0};
  if (poll(&watch, 1, static_cast<int>(limit.count())) <= 0) return {};
  char reply[qup::suggest::kReplySize];
  const ssize_t got = recv(fd_, reply, sizeof reply, 0);
  return got > 0 ? std::string(reply, static_cast<std::size_t>(got)) : std::string();
}

std::string LoopbackClient::ReceiveAll(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  std::string reply;
  for (;;) {
    pollfd watch{fd_, POLLIN, 0};
    if (poll(&watch, 1, MillisLeft(deadline)) <= 0) return reply;
    char chunk[4096];
    const ssize_t got = recv(fd_, chunk, sizeof chunk, 0);
    if (got <= 0) return reply;
    reply.append(chunk, static_cast<std::size_t>(got));
  }
}

bool LoopbackClient::WaitForClose(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    pollfd watch{fd_, POLLIN, 0};
    if (poll(&watch, 1, MillisLeft(deadline)) <= 0) return false;
    char chunk[4096];
    const ssize_t got = recv(fd_, chunk, sizeof chunk, 0);
    if (got <= 0) return true;
  }
}

void LoopbackClient::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

std::string Exchange(std::uint16_t port, std::string_view request) {
  LoopbackClient client;
  if (!client.Connect(port)) return {};
  client.Send(request);  // a server that refuses early may close before taking it all
  return client.ReceiveAll();
}

bool PostAsProgram(std::uint16_t port, std::string_view text) {
  const auto request =
      qup::suggest::ComposeRequest("127.0.0.1", qup::suggest::EncodeSuggestion(text));
  LoopbackClient client;
  if (!client.Connect(port) || !client.Send({request.data(), request.size()})) return false;
  return client.ReceiveOnce().find("HTTP/1.1 200 OK") != std::string::npos;
}

std::string FetchPage(std::uint16_t port, std::string_view path) {
  const std::string reply =
      Exchange(port, "GET " + std::string(path) +
                         " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
  const std::size_t body = reply.find("\r\n\r\n");
  return body == std::string::npos ? std::string() : reply.substr(body + 4);
}

}  // namespace qup::server::testing
