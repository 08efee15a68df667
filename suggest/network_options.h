// SPDX-License-Identifier: MIT
// What every system network layer takes: its time-out, and for tests and the driver a fixed
// address and port to use instead of the real ones.
#ifndef QUP_SUGGEST_NETWORK_OPTIONS_H
#define QUP_SUGGEST_NETWORK_OPTIONS_H

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qup::suggest {

// The error a send or receive reports when its time ran out. It differs from kWouldBlock on
// purpose: the exchange retries a would-block error at once, and a time-out must end it.
inline constexpr int kTimedOut = 10060;

struct NetworkOptions {
  // Tests only: resolve every host to this address and connect to this port.
  std::optional<std::uint32_t> resolve_to;
  std::uint16_t port_override = 0;
  std::chrono::milliseconds timeout{30000};  // connect, send and receive each

  friend bool operator==(const NetworkOptions&, const NetworkOptions&) = default;
};

// A dotted-decimal IPv4 address ("192.0.2.1": four numbers from 0 to 255, no leading zeros) in
// host byte order; nothing for any other text.
std::optional<std::uint32_t> ParseDottedDecimal(std::string_view text);

// Options that send every connection to "ADDRESS:PORT" (a dotted-decimal IPv4 address and a
// port from 1 to 65535), for a driver that points the program at a local server; nothing when
// the text is not of that form.
std::optional<NetworkOptions> OptionsForTarget(std::string_view address_and_port);

}  // namespace qup::suggest

#endif  // QUP_SUGGEST_NETWORK_OPTIONS_H
