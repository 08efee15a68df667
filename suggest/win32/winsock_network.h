// SPDX-License-Identifier: MIT
// The network layer over Windows Sockets, with every blocking step bounded in time as on POSIX.
#ifndef QUP_SUGGEST_WIN32_WINSOCK_NETWORK_H
#define QUP_SUGGEST_WIN32_WINSOCK_NETWORK_H

#include <chrono>
#include <optional>
#include <string_view>
#include <vector>

#include "suggest/network.h"
#include "suggest/network_options.h"

namespace qup::suggest {

class WinsockNetwork : public Network {
 public:
  using Options = NetworkOptions;

  WinsockNetwork() = default;
  explicit WinsockNetwork(Options options) : options_(options) {}
  ~WinsockNetwork() override;

  WinsockNetwork(const WinsockNetwork&) = delete;
  WinsockNetwork& operator=(const WinsockNetwork&) = delete;

  // WSAStartup for one attempt; Cleanup closes what is still open and ends it.
  bool Startup() override;
  void Cleanup() override;
  Socket OpenStreamSocket() override;
  std::optional<std::uint32_t> Resolve(std::string_view host) override;
  bool Connect(Socket socket, std::uint32_t address, std::uint16_t port) override;
  // Sends the whole of data, however many calls that takes, within one time-out.
  long Send(Socket socket, std::span<const char> data) override;
  long Receive(Socket socket, std::span<char> buffer) override;
  int LastError() const override;
  void Close(Socket socket) override;

 private:
  enum class Wait { kRead, kWrite, kConnect };
  // Waits until socket is ready, at most until deadline; false (and kTimedOut as the last
  // error) when the time ran out, false with the socket's error when a connect failed.
  bool WaitFor(Socket socket, Wait wait, std::chrono::steady_clock::time_point deadline);
  void RecordLastError();

  Options options_;
  std::vector<Socket> open_sockets_;
  bool started_ = false;
  int last_error_ = 0;
};

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_WIN32_WINSOCK_NETWORK_H
