// SPDX-License-Identifier: MIT
// The network layer over POSIX sockets, with every blocking step bounded in time.
#ifndef QUP_SUGGEST_QT_POSIX_NETWORK_H
#define QUP_SUGGEST_QT_POSIX_NETWORK_H

#include <chrono>
#include <optional>
#include <string_view>
#include <vector>

#include "suggest/network.h"
#include "suggest/network_options.h"

namespace qup::suggest {

class PosixNetwork : public Network {
 public:
  using Options = NetworkOptions;

  PosixNetwork() = default;
  explicit PosixNetwork(Options options) : options_(options) {}
  ~PosixNetwork() override;

  PosixNetwork(const PosixNetwork&) = delete;
  PosixNetwork& operator=(const PosixNetwork&) = delete;

  bool Startup() override;
  void Cleanup() override;
  Socket OpenStreamSocket() override;
  std::optional<std::uint32_t> Resolve(std::string_view host) override;
  bool Connect(Socket socket, std::uint32_t address, std::uint16_t port) override;
  // Sends the whole of data, however many system calls that takes, within one time-out.
  long Send(Socket socket, std::span<const char> data) override;
  long Receive(Socket socket, std::span<char> buffer) override;
  int LastError() const override;
  void Close(Socket socket) override;

 private:
  // Waits until socket is ready for events, at most until deadline; false (and kTimedOut as the
  // last error) when the time ran out or the wait failed.
  bool WaitFor(Socket socket, short events, std::chrono::steady_clock::time_point deadline);
  void RecordError(int posix_error);

  Options options_;
  std::vector<Socket> open_sockets_;
  int last_error_ = 0;
};

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_QT_POSIX_NETWORK_H
