// SPDX-License-Identifier: MIT
// The driver's "ADDRESS:PORT" target, read the same way on every system.
#include "suggest/network_options.h"

#include <charconv>

namespace qup::suggest {

namespace {

// A whole decimal number of at most max, with no sign, no leading zero and nothing after it.
std::optional<unsigned> ParseNumber(std::string_view text, unsigned max) {
  if (text.empty() || (text.size() > 1 && text.front() == '0')) return std::nullopt;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value > max) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::uint32_t> ParseDottedDecimal(std::string_view text) {
  std::uint32_t address = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = part < 3 ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return std::nullopt;
    const std::optional<unsigned> number = ParseNumber(text.substr(0, dot), 255);
    if (!number) return std::nullopt;
    address = (address << 8) | *number;
    text.remove_prefix(part < 3 ? dot + 1 : dot);
  }
  return address;
}

std::optional<NetworkOptions> OptionsForTarget(std::string_view address_and_port) {
  const std::size_t colon = address_and_port.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::optional<std::uint32_t> address =
      ParseDottedDecimal(address_and_port.substr(0, colon));
  const std::optional<unsigned> port = ParseNumber(address_and_port.substr(colon + 1), 65535);
  if (!address || !port || *port == 0) return std::nullopt;
  NetworkOptions options;
  options.resolve_to = *address;
  options.port_override = static_cast<std::uint16_t>(*port);
  return options;
}

}  // namespace qup::suggest
