// SPDX-License-Identifier: MIT
// The socket operations one suggestion exchange relies on, as an interface of our own.
#ifndef QUP_SUGGEST_NETWORK_H
#define QUP_SUGGEST_NETWORK_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qup::suggest {

using Socket = std::intptr_t;
inline constexpr Socket kInvalidSocket = -1;
inline constexpr int kWouldBlock = 10035;  // the error a send or receive is retried on

class Network {
 public:
  virtual ~Network() = default;

  virtual bool Startup() = 0;             // start using the network for one attempt
  virtual void Cleanup() = 0;             // end it; closes any socket still open
  virtual Socket OpenStreamSocket() = 0;  // IPv4, stream; kInvalidSocket on failure
  // The first IPv4 address of host, in host byte order; nothing when it does not resolve.
  virtual std::optional<std::uint32_t> Resolve(std::string_view host) = 0;
  virtual bool Connect(Socket socket, std::uint32_t address, std::uint16_t port) = 0;
  // Bytes sent or received, or -1 with LastError() telling why; Receive gives 0 at close.
  virtual long Send(Socket socket, std::span<const char> data) = 0;
  virtual long Receive(Socket socket, std::span<char> buffer) = 0;
  virtual int LastError() const = 0;
  virtual void Close(Socket socket) = 0;
};

// Dotted-decimal form of an IPv4 address given in host byte order.
std::string DottedDecimal(std::uint32_t address);

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_NETWORK_H
