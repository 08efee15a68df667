// SPDX-License-Identifier: MIT
// FetchNetwork: the request's body and path read from the bytes the exchange sends.
#include "suggest/web/fetch_network.h"

#include <array>

extern "C" {
void qup_net_page_host(char* buffer, int size);
int qup_net_online();
int qup_net_post(const char* path, const char* body, int timeout, char* buffer, int size);
}

namespace qup::suggest {

namespace {

constexpr int kNotConnected = 10057;
constexpr std::string_view kBodyStart = "\n\n";

// The path of the request line "POST http://HOST/PATH": "/PATH".
std::string PathOf(std::string_view request) {
  const std::string_view line = request.substr(0, request.find('\n'));
  const std::size_t scheme = line.find("://");
  const std::size_t path = line.find('/', scheme == std::string_view::npos ? 0 : scheme + 3);
  return path == std::string_view::npos ? "/" : std::string(line.substr(path));
}

}  // namespace

bool FetchNetwork::Startup() {
  request_.clear();
  posted_ = false;
  return true;
}

void FetchNetwork::Cleanup() { open_ = false; }

Socket FetchNetwork::OpenStreamSocket() {
  open_ = true;
  return kSocket;
}

std::optional<std::uint32_t> FetchNetwork::Resolve(std::string_view /*host*/) {
  if (options_.resolve_to) return options_.resolve_to;
  std::array<char, 256> host{};
  qup_net_page_host(host.data(), static_cast<int>(host.size()));
  return ParseDottedDecimal(host.data()).value_or(0);
}

bool FetchNetwork::Connect(Socket socket, std::uint32_t /*address*/, std::uint16_t /*port*/) {
  last_error_ = kNotConnected;
  return socket == kSocket && open_ && qup_net_online() != 0;
}

long FetchNetwork::Send(Socket socket, std::span<const char> data) {
  if (socket != kSocket || !open_) return -1;
  request_.append(data.data(), data.size());
  return static_cast<long>(data.size());
}

long FetchNetwork::Receive(Socket socket, std::span<char> buffer) {
  if (socket != kSocket || !open_) return -1;
  if (posted_) return 0;
  posted_ = true;
  // The request is zero-filled to its fixed size: its text ends at the first zero byte.
  const std::string_view request(request_.c_str());
  const std::size_t body = request.find(kBodyStart);
  const std::string text(body == std::string_view::npos ? std::string_view()
                                                        : request.substr(body + kBodyStart.size()));
  const int received = qup_net_post(PathOf(request).c_str(), text.c_str(),
                                    static_cast<int>(options_.timeout.count()), buffer.data(),
                                    static_cast<int>(buffer.size()));
  return received < 0 ? 0 : received;
}

void FetchNetwork::Close(Socket /*socket*/) { open_ = false; }

}  // namespace qup::suggest
