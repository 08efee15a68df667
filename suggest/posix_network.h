// SPDX-License-Identifier: MIT
// The network layer over POSIX sockets, with every blocking step bounded in time.
#ifndef QUP_SUGGEST_POSIX_NETWORK_H
#define QUP_SUGGEST_POSIX_NETWORK_H

#include <chrono>

#include "suggest/network.h"

namespace qup::suggest {

class PosixNetwork : public Network {
 public:
  struct Options {
    // Tests only: resolve every host to this address and connect to this port.
    std::optional<std::uint32_t> resolve_to;
    std::uint16_t port_override = 0;
    std::chrono::milliseconds timeout{30000};  // connect, send and receive each
  };

  PosixNetwork() = default;
  explicit PosixNetwork(Options options) : options_(options) {}

  bool Startup() override;
  void Cleanup() override;
  Socket OpenStreamSocket() override;
  std::optional<std::uint32_t> Resolve(std::string_view host) override;
  bool Connect(Socket socket, std::uint32_t address, std::uint16_t port) override;
  long Send(Socket socket, std::span<const char> data) override;
  long Receive(Socket socket, std::span<char> buffer) override;
  int LastError() const override;
  void Close(Socket socket) override;

 private:
  Options options_;
  int last_error_ = 0;
};

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_POSIX_NETWORK_H
