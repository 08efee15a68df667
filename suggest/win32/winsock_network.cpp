// SPDX-License-Identifier: MIT
// The network layer over Windows Sockets: blocking in effect, but no step waits longer than the
// time-out, so a silent server cannot freeze the window for good.
#include "suggest/win32/winsock_network.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on

#include <algorithm>
#include <string>

#include "suggest/address_lookup.h"

namespace qup::suggest {

namespace {

using Clock = std::chrono::steady_clock;

SOCKET AsSocket(Socket socket) { return static_cast<SOCKET>(socket); }

}  // namespace

WinsockNetwork::~WinsockNetwork() { Cleanup(); }

bool WinsockNetwork::Startup() {
  last_error_ = 0;
  if (started_) return true;
  WSADATA data{};
  const int result = ::WSAStartup(MAKEWORD(2, 2), &data);
  if (result != 0) {
    last_error_ = result;
    return false;
  }
  started_ = true;
  return true;
}

void WinsockNetwork::Cleanup() {
  for (const Socket socket : open_sockets_) ::closesocket(AsSocket(socket));
  open_sockets_.clear();
  if (started_) ::WSACleanup();
  started_ = false;
}

Socket WinsockNetwork::OpenStreamSocket() {
  const SOCKET socket =
      ::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
  if (socket == INVALID_SOCKET) {
    RecordLastError();
    return kInvalidSocket;
  }
  open_sockets_.push_back(static_cast<Socket>(socket));
  return static_cast<Socket>(socket);
}

std::optional<std::uint32_t> WinsockNetwork::Resolve(std::string_view host) {
  if (options_.resolve_to) return options_.resolve_to;
  return LookUpIpv4(host);
}

bool WinsockNetwork::Connect(Socket socket, std::uint32_t address, std::uint16_t port) {
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(options_.port_override != 0 ? options_.port_override : port);
  target.sin_addr.s_addr = htonl(address);

  // A blocking connect would wait as long as the system likes; connecting without blocking and
  // waiting for the outcome bounds it. The socket stays non-blocking: Send and Receive wait
  // for readiness themselves.
  u_long non_blocking = 1;
  if (::ioctlsocket(AsSocket(socket), FIONBIO, &non_blocking) != 0) {
    RecordLastError();
    return false;
  }
  const auto deadline = Clock::now() + options_.timeout;
  if (::connect(AsSocket(socket), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
    return true;
  }
  if (::WSAGetLastError() != WSAEWOULDBLOCK) {
    RecordLastError();
    return false;
  }
  return WaitFor(socket, Wait::kConnect, deadline);
}

long WinsockNetwork::Send(Socket socket, std::span<const char> data) {
  const auto deadline = Clock::now() + options_.timeout;
  std::size_t sent = 0;
  while (sent < data.size()) {
    if (!WaitFor(socket, Wait::kWrite, deadline)) return -1;
    const int chunk = static_cast<int>(std::min<std::size_t>(data.size() - sent, 1 << 20));
    const int result = ::send(AsSocket(socket), data.data() + sent, chunk, 0);
    if (result == SOCKET_ERROR) {
      const int error = ::WSAGetLastError();
      if (error == WSAEWOULDBLOCK || error == WSAEINTR) continue;
      last_error_ = error;
      return -1;
    }
    sent += static_cast<std::size_t>(result);
  }
  return static_cast<long>(sent);
}

long WinsockNetwork::Receive(Socket socket, std::span<char> buffer) {
  const auto deadline = Clock::now() + options_.timeout;
  const int room = static_cast<int>(std::min<std::size_t>(buffer.size(), 1 << 20));
  for (;;) {
    if (!WaitFor(socket, Wait::kRead, deadline)) return -1;
    const int result = ::recv(AsSocket(socket), buffer.data(), room, 0);
    if (result != SOCKET_ERROR) return result;
    const int error = ::WSAGetLastError();
    if (error != WSAEWOULDBLOCK && error != WSAEINTR) {
      last_error_ = error;
      return -1;
    }
  }
}

int WinsockNetwork::LastError() const { return last_error_; }

void WinsockNetwork::Close(Socket socket) {
  const auto found = std::find(open_sockets_.begin(), open_sockets_.end(), socket);
  if (found == open_sockets_.end()) return;
  ::closesocket(AsSocket(socket));
  open_sockets_.erase(found);
}

bool WinsockNetwork::WaitFor(Socket socket, Wait wait, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      last_error_ = kTimedOut;
      return false;
    }
    // select rather than WSAPoll: older systems' WSAPoll does not report a refused connect.
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(AsSocket(socket), &ready);
    FD_SET(AsSocket(socket), &failed);
    const long slice = static_cast<long>(std::min<long long>(left, 60'000));
    timeval timeout{slice / 1000, (slice % 1000) * 1000};
    const int count =
        ::select(0, wait == Wait::kRead ? &ready : nullptr, wait == Wait::kRead ? nullptr : &ready,
                 wait == Wait::kConnect ? &failed : nullptr, &timeout);
    if (count == SOCKET_ERROR) {
      RecordLastError();
      return false;
    }
    if (count == 0) continue;
    if (wait == Wait::kConnect && FD_ISSET(AsSocket(socket), &failed)) {
      int error = 0;
      int length = sizeof error;
      if (::getsockopt(AsSocket(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                       &length) != 0) {
        error = ::WSAGetLastError();
      }
      last_error_ = error != 0 ? error : WSAECONNREFUSED;
      return false;
    }
    return true;  // errors and a closed peer show in the call that follows
  }
}

void WinsockNetwork::RecordLastError() { last_error_ = ::WSAGetLastError(); }

}  // namespace qup::suggest
