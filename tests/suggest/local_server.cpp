// SPDX-License-Identifier: MIT
// The test's own TCP server on 127.0.0.1: answering, silent, refusing or never answering.
#include "tests/suggest/local_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "suggest/suggestion_request.h"

namespace qup::suggest::testing {
namespace {

using Clock = std::chrono::steady_clock;

// However slow the machine, no wait of the server lasts longer than this.
constexpr auto kLongestWait = std::chrono::seconds(20);

// Waits until descriptor is readable, at most until deadline or until stopping is set.
bool Readable(int descriptor, Clock::time_point deadline, const std::atomic<bool>& stopping) {
  for (pollfd entry{descriptor, POLLIN, 0}; !stopping && Clock::now() < deadline;) {
    if (::poll(&entry, 1, 50) > 0) return true;
  }
  return false;
}

}  // namespace

LocalServer::LocalServer(std::vector<std::string> packets, Mode mode)
    : packets_(std::move(packets)), mode_(mode) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(kLoopback);
  socklen_t length = sizeof address;
  auto* const name = reinterpret_cast<sockaddr*>(&address);
  if (::bind(listener_, name, length) < 0 || ::getsockname(listener_, name, &length) < 0 ||
      (mode != Mode::kRefuse && ::listen(listener_, mode == Mode::kUnanswered ? 0 : 8) < 0)) {
    throw std::runtime_error("cannot serve on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  if (mode == Mode::kAnswer || mode == Mode::kSilent) thread_ = std::thread([this] { Serve(); });
  // Connect until a connection is left waiting: from then on the queue is full, and the system
  // drops every further connection request unanswered.
  while (mode == Mode::kUnanswered) {
    if (queued_.size() == 16) throw std::runtime_error("the accept queue never filled");
    queued_.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    (void)::connect(queued_.back(), name, length);  // non-blocking: completes in the backlog
    pollfd entry{queued_.back(), POLLOUT, 0};
    if (::poll(&entry, 1, 300) <= 0) break;
  }
}

LocalServer::~LocalServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  for (const int client : queued_) ::close(client);
  ::close(listener_);
}

std::vector<std::string> LocalServer::requests() const {
  const auto deadline = Clock::now() + kLongestWait;
  while (finished_ < connections_ && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const std::lock_guard lock(mutex_);
  return requests_;
}

void LocalServer::Serve() {
  while (!stopping_) {
    if (!Readable(listener_, Clock::now() + kLongestWait, stopping_)) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    ++connections_;
    const auto deadline = Clock::now() + kLongestWait;
    std::string received;
    // Reads until size bytes have come or the client has closed its end.
    const auto read_up_to = [&](std::size_t size) {
      char chunk[2048];
      for (ssize_t count = 1; count > 0 && received.size() < size;) {
        count = Readable(connection, deadline, stopping_) ? ::recv(connection, chunk, 2048, 0) : 0;
        received.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
      }
    };
    read_up_to(kRequestSize);  // the program always sends the whole buffer
    const bool answer = mode_ == Mode::kAnswer;
    if (answer && !packets_.empty())
      ::send(connection, packets_[0].data(), packets_[0].size(), MSG_NOSIGNAL);
    if (answer && packets_.size() <= 1) ::shutdown(connection, SHUT_WR);
    read_up_to(std::string::npos);
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(received);
    }
    for (std::size_t i = 1; answer && i < packets_.size(); ++i) {
      ::send(connection, packets_[i].data(), packets_[i].size(), MSG_NOSIGNAL);
    }
    ::close(connection);
    ++finished_;
  }
}

}  // namespace qup::suggest::testing
