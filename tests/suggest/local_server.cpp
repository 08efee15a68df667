// SPDX-License-Identifier: MIT
// The test's own TCP server on 127.0.0.1, and ports that refuse or never answer.
#include "tests/suggest/local_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace qup::suggest::testing {

namespace {

using Clock = std::chrono::steady_clock;

// However slow the machine, no wait of the server lasts longer than this.
constexpr auto kLongestWait = std::chrono::seconds(20);

// A socket bound to 127.0.0.1 on a port the system picks; returns the port through port.
int BindLoopback(std::uint16_t& port) {
  const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (descriptor < 0) throw std::runtime_error("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(kLoopback);
  socklen_t length = sizeof address;
  if (::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 ||
      ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
    ::close(descriptor);
    throw std::runtime_error("bind");
  }
  port = ntohs(address.sin_port);
  return descriptor;
}

// Waits for events on descriptor until deadline or until stopping is set; true when ready.
bool Await(int descriptor, short events, Clock::time_point deadline,
           const std::atomic<bool>& stopping) {
  while (!stopping && Clock::now() < deadline) {
    pollfd entry{descriptor, events, 0};
    if (::poll(&entry, 1, 50) > 0) return true;
  }
  return false;
}

}  // namespace

LocalServer::LocalServer(Answer answer) : answer_(std::move(answer)) {
  listener_ = BindLoopback(port_);
  if (::listen(listener_, 8) < 0) throw std::runtime_error("listen");
  thread_ = std::thread([this] { Serve(); });
}

LocalServer::~LocalServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

std::vector<std::string> LocalServer::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

void LocalServer::WaitForConnections(int count) const {
  const auto deadline = Clock::now() + kLongestWait;
  while (finished_ < count && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void LocalServer::Serve() {
  while (!stopping_) {
    pollfd entry{listener_, POLLIN, 0};
    if (::poll(&entry, 1, 50) <= 0) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    ++connections_;
    Handle(connection);
    ::close(connection);
    ++finished_;
  }
}

void LocalServer::Handle(int connection) {
  const auto deadline = Clock::now() + kLongestWait;
  std::string received;
  const auto read_some = [&] {
    char chunk[2048];
    const ssize_t count = ::recv(connection, chunk, sizeof chunk, 0);
    if (count > 0) received.append(chunk, static_cast<std::size_t>(count));
    return count > 0;
  };
  const auto record = [&] {
    const std::lock_guard lock(mutex_);
    requests_.push_back(received);
  };
  // The whole request first: the program always sends 1280 bytes.
  while (received.size() < 1280 && Await(connection, POLLIN, deadline, stopping_) && read_some()) {
  }
  if (!answer_.silent && !answer_.packets.empty()) {
    ::send(connection, answer_.packets[0].data(), answer_.packets[0].size(), MSG_NOSIGNAL);
  }
  if (!answer_.silent && answer_.packets.size() <= 1) ::shutdown(connection, SHUT_WR);
  // Whatever else the client sends, until it closes its end.
  while (Await(connection, POLLIN, deadline, stopping_) && read_some()) {
  }
  record();
  for (std::size_t i = 1; !answer_.silent && i < answer_.packets.size(); ++i) {
    ::send(connection, answer_.packets[i].data(), answer_.packets[i].size(), MSG_NOSIGNAL);
  }
}

RefusingPort::RefusingPort() { socket_ = BindLoopback(port_); }

RefusingPort::~RefusingPort() { ::close(socket_); }

FullPort::FullPort() {
  listener_ = BindLoopback(port_);
  if (::listen(listener_, 0) < 0) throw std::runtime_error("listen");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(kLoopback);
  address.sin_port = htons(port_);
  // Connect until a connection is left waiting: from then on the queue is full, and the system
  // drops every further connection request unanswered.
  for (int attempt = 0; attempt < 16; ++attempt) {
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // Without blocking the connect only begins (EINPROGRESS); the poll below sees its outcome.
    (void)::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
    pollfd entry{client, POLLOUT, 0};
    if (::poll(&entry, 1, 300) <= 0) {
      ::close(client);
      return;
    }
    queued_.push_back(client);
  }
  throw std::runtime_error("the accept queue never filled");
}

FullPort::~FullPort() {
  for (const int client : queued_) ::close(client);
  ::close(listener_);
}

}  // namespace qup::suggest::testing
