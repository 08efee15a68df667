// SPDX-License-Identifier: MIT
// The test's own TCP server on 127.0.0.1: answering, silent, refusing or never answering.
#include "tests/suggest/local_server.h"

#ifdef _WIN32
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "suggest/suggestion_request.h"

namespace qup::suggest::testing {
namespace {

// The few calls that differ between Windows Sockets and POSIX.
#ifdef _WIN32
using NativeSocket = SOCKET;
using socklen_t = int;
constexpr int MSG_NOSIGNAL = 0;
constexpr int SHUT_WR = SD_SEND;
constexpr int SOCK_CLOEXEC = 0;

// Windows Sockets are started once for the test program and stay up to its end.
struct WinsockUser {
  WinsockUser() {
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("no Windows Sockets");
  }
  ~WinsockUser() { ::WSACleanup(); }
};

void StartSockets() { static const WinsockUser user; }
SocketHandle NewSocket(bool non_blocking) {
  StartSockets();
  const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  u_long mode = non_blocking ? 1 : 0;
  if (socket != INVALID_SOCKET) ::ioctlsocket(socket, FIONBIO, &mode);
  return static_cast<SocketHandle>(socket);
}
SocketHandle AcceptOn(SocketHandle listener) {
  return static_cast<SocketHandle>(::accept(static_cast<SOCKET>(listener), nullptr, nullptr));
}
void CloseSocket(SocketHandle socket) { ::closesocket(static_cast<SOCKET>(socket)); }
int PollOne(SocketHandle socket, short events, int milliseconds) {
  WSAPOLLFD entry{static_cast<SOCKET>(socket), events, 0};
  return ::WSAPoll(&entry, 1, milliseconds);
}
bool IsOpen(SocketHandle socket) { return static_cast<SOCKET>(socket) != INVALID_SOCKET; }
#else
using NativeSocket = int;
SocketHandle NewSocket(bool non_blocking) {
  return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (non_blocking ? SOCK_NONBLOCK : 0), 0);
}
SocketHandle AcceptOn(SocketHandle listener) {
  return ::accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
}
void CloseSocket(SocketHandle socket) { ::close(static_cast<int>(socket)); }
int PollOne(SocketHandle socket, short events, int milliseconds) {
  pollfd entry{static_cast<int>(socket), events, 0};
  return ::poll(&entry, 1, milliseconds);
}
bool IsOpen(SocketHandle socket) { return socket >= 0; }
#endif

using Clock = std::chrono::steady_clock;

// However slow the machine, no wait of the server lasts longer than this.
constexpr auto kLongestWait = std::chrono::seconds(20);

// Waits until descriptor is readable, at most until deadline or until stopping is set.
bool Readable(SocketHandle socket, Clock::time_point deadline, const std::atomic<bool>& stopping) {
  while (!stopping && Clock::now() < deadline) {
    if (PollOne(socket, POLLIN, 50) > 0) return true;
  }
  return false;
}

}  // namespace

LocalServer::LocalServer(std::vector<std::string> replies, Mode mode)
    : replies_(std::move(replies)), mode_(mode) {
  listener_ = NewSocket(false);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(kLoopback);
  socklen_t length = sizeof address;
  auto* const name = reinterpret_cast<sockaddr*>(&address);
  const auto listener = static_cast<NativeSocket>(listener_);
  if (!IsOpen(listener_) || ::bind(listener, name, length) < 0 ||
      ::getsockname(listener, name, &length) < 0 ||
      (mode != Mode::kRefuse && ::listen(listener, mode == Mode::kUnanswered ? 0 : 8) < 0)) {
    throw std::runtime_error("cannot serve on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  if (mode == Mode::kAnswer || mode == Mode::kSilent || mode == Mode::kReset)
    thread_ = std::thread([this] { Serve(); });
  // Connect until a connection is left waiting: from then on the queue is full, and the system
  // drops every further connection request unanswered.
  while (mode == Mode::kUnanswered) {
    if (queued_.size() == 16) throw std::runtime_error("the accept queue never filled");
    queued_.push_back(NewSocket(true));
    // Non-blocking: completes in the backlog.
    (void)::connect(static_cast<NativeSocket>(queued_.back()), name, length);
    if (PollOne(queued_.back(), POLLOUT, 300) <= 0) break;
  }
}

LocalServer::~LocalServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  for (const SocketHandle client : queued_) CloseSocket(client);
  if (IsOpen(listener_)) CloseSocket(listener_);
}

std::vector<std::string> LocalServer::requests(std::size_t at_least,
                                               std::chrono::seconds limit) const {
  const auto deadline = Clock::now() + limit;
  while ((finished_ < connections_ || static_cast<std::size_t>(finished_) < at_least) &&
         Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const std::lock_guard lock(mutex_);
  return requests_;
}

void LocalServer::Serve() {
  while (!stopping_) {
    if (!Readable(listener_, Clock::now() + kLongestWait, stopping_)) continue;
    const SocketHandle handle = AcceptOn(listener_);
    if (!IsOpen(handle)) continue;
    const auto connection = static_cast<NativeSocket>(handle);
    const auto index = static_cast<std::size_t>(connections_++);
    const auto deadline = Clock::now() + kLongestWait;
    std::string received;
    // Reads until size bytes have come or the client has closed its end.
    const auto read_up_to = [&](std::size_t size) {
      char chunk[2048];
      for (long count = 1; count > 0 && received.size() < size;) {
        count = Readable(handle, deadline, stopping_) ? ::recv(connection, chunk, 2048, 0) : 0;
        received.append(chunk, static_cast<std::size_t>(std::max(count, 0L)));
      }
    };
    read_up_to(kRequestSize);  // the program always sends the whole buffer
    if (mode_ == Mode::kReset) {
      // Closing with a zero linger time sends a reset instead of an orderly end.
      const linger abort{1, 0};
      // Windows Sockets takes the option as bytes; POSIX takes any pointer.
      ::setsockopt(connection, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                   sizeof abort);
    } else {
      if (mode_ == Mode::kAnswer) {
        const std::string reply = index < replies_.size() ? replies_[index] : "";
        ::send(connection, reply.data(), static_cast<int>(reply.size()), MSG_NOSIGNAL);
        ::shutdown(connection, SHUT_WR);
      }
      read_up_to(std::string::npos);
    }
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(received);
    }
    CloseSocket(handle);
    ++finished_;
  }
}

}  // namespace qup::suggest::testing
