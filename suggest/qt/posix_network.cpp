// SPDX-License-Identifier: MIT
// The network layer over POSIX sockets: blocking in effect, but no step waits longer than the
// time-out, so a silent server cannot freeze the window for good.
#include "suggest/qt/posix_network.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "suggest/address_lookup.h"

namespace qup::suggest {

namespace {

using Clock = std::chrono::steady_clock;

int AsDescriptor(Socket socket) { return static_cast<int>(socket); }

}  // namespace

PosixNetwork::~PosixNetwork() { Cleanup(); }

bool PosixNetwork::Startup() {
  last_error_ = 0;
  return true;  // POSIX sockets need no start; the step stays so the exchange reads the same
}

void PosixNetwork::Cleanup() {
  for (const Socket socket : open_sockets_) ::close(AsDescriptor(socket));
  open_sockets_.clear();
}

Socket PosixNetwork::OpenStreamSocket() {
  const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (descriptor < 0) {
    RecordError(errno);
    return kInvalidSocket;
  }
  open_sockets_.push_back(descriptor);
  return descriptor;
}

std::optional<std::uint32_t> PosixNetwork::Resolve(std::string_view host) {
  if (options_.resolve_to) return options_.resolve_to;
  return LookUpIpv4(host);
}

bool PosixNetwork::Connect(Socket socket, std::uint32_t address, std::uint16_t port) {
  const int descriptor = AsDescriptor(socket);
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(options_.port_override != 0 ? options_.port_override : port);
  target.sin_addr.s_addr = htonl(address);

  // A blocking connect would wait as long as the system likes; connecting without blocking and
  // waiting for the outcome bounds it. The socket stays non-blocking: Send and Receive wait
  // for readiness themselves.
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags | O_NONBLOCK) < 0) {
    RecordError(errno);
    return false;
  }
  const auto deadline = Clock::now() + options_.timeout;
  if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
    return true;
  }
  if (errno != EINPROGRESS && errno != EINTR) {
    RecordError(errno);
    return false;
  }
  if (!WaitFor(socket, POLLOUT, deadline)) return false;
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) < 0) error = errno;
  if (error != 0) {
    RecordError(error);
    return false;
  }
  return true;
}

long PosixNetwork::Send(Socket socket, std::span<const char> data) {
  const auto deadline = Clock::now() + options_.timeout;
  std::size_t sent = 0;
  while (sent < data.size()) {
    if (!WaitFor(socket, POLLOUT, deadline)) return -1;
    // MSG_NOSIGNAL: a peer that has gone away is an error to report, not a reason to end the
    // program with SIGPIPE.
    const ssize_t result =
        ::send(AsDescriptor(socket), data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (result < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      RecordError(errno);
      return -1;
    }
    sent += static_cast<std::size_t>(result);
  }
  return static_cast<long>(sent);
}

long PosixNetwork::Receive(Socket socket, std::span<char> buffer) {
  const auto deadline = Clock::now() + options_.timeout;
  for (;;) {
    if (!WaitFor(socket, POLLIN, deadline)) return -1;
    const ssize_t result = ::recv(AsDescriptor(socket), buffer.data(), buffer.size(), 0);
    if (result >= 0) return static_cast<long>(result);
    if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
      RecordError(errno);
      return -1;
    }
  }
}

int PosixNetwork::LastError() const { return last_error_; }

void PosixNetwork::Close(Socket socket) {
  const auto found = std::find(open_sockets_.begin(), open_sockets_.end(), socket);
  if (found == open_sockets_.end()) return;
  ::close(AsDescriptor(socket));
  open_sockets_.erase(found);
}

bool PosixNetwork::WaitFor(Socket socket, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      last_error_ = kTimedOut;
      return false;
    }
    pollfd entry{AsDescriptor(socket), events, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(std::min<long long>(left, 60'000)));
    if (ready > 0) return true;  // errors and hang-ups show in the call that follows
    if (ready < 0 && errno != EINTR) {
      RecordError(errno);
      return false;
    }
  }
}

void PosixNetwork::RecordError(int posix_error) {
  last_error_ = (posix_error == EAGAIN || posix_error == EWOULDBLOCK) ? kWouldBlock : posix_error;
}

}  // namespace qup::suggest
