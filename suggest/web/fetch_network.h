// SPDX-License-Identifier: MIT
// FetchNetwork: the network layer of the web page, one browser request for one exchange.
#ifndef QUP_SUGGEST_WEB_FETCH_NETWORK_H
#define QUP_SUGGEST_WEB_FETCH_NETWORK_H

#include <string>

#include "suggest/network.h"
#include "suggest/network_options.h"

namespace qup::suggest {

// A page may make no connection of its own: it asks the browser to post to the origin it came
// from. The exchange's steps map onto that one request. Resolving gives the page's own address
// (0.0.0.0 when its host is a name, which a page cannot look up); connecting succeeds while the
// browser is online; the request's bytes are collected as they are sent, and the first receive
// posts its body to the request's path and hands back the reply's status line and text. A
// request that gets no reply receives nothing, which the exchange reports as unconfirmed.
class FetchNetwork : public Network {
 public:
  using Options = NetworkOptions;

  FetchNetwork() = default;
  explicit FetchNetwork(Options options) : options_(options) {}

  bool Startup() override;
  void Cleanup() override;
  Socket OpenStreamSocket() override;
  std::optional<std::uint32_t> Resolve(std::string_view host) override;
  bool Connect(Socket socket, std::uint32_t address, std::uint16_t port) override;
  long Send(Socket socket, std::span<const char> data) override;
  long Receive(Socket socket, std::span<char> buffer) override;
  int LastError() const override { return last_error_; }
  void Close(Socket socket) override;

 private:
  static constexpr Socket kSocket = 1;

  Options options_;
  std::string request_;
  bool open_ = false;
  bool posted_ = false;
  int last_error_ = 0;
};

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_WEB_FETCH_NETWORK_H
