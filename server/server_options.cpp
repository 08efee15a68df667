// SPDX-License-Identifier: MIT
// The server's command line: where to listen, where the database lives, and its guards.
#include "server/server_options.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace qup::server {
namespace {

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size();
}

bool ParseListen(std::string_view text, ServerOptions& options) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string_view host = text.substr(0, colon);
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    host = host.substr(1, host.size() - 2);
  }
  options.address = std::string(host);
  return ParseNumber(text.substr(colon + 1), options.port);
}

ParsedOptions Refuse(std::string message) {
  ParsedOptions parsed;
  parsed.message = std::move(message) + "\n" + kUsage;
  return parsed;
}

}  // namespace

ParsedOptions ParseServerOptions(std::span<const std::string> args) {
  ServerOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") {
      ParsedOptions parsed;
      parsed.help = true;
      parsed.message = kUsage;
      return parsed;
    }
    if (i + 1 == args.size()) return Refuse("missing value after " + name);
    const std::string& value = args[++i];
    if (name == "--listen") {
      if (!ParseListen(value, options)) return Refuse("--listen wants ADDRESS:PORT, not " + value);
    } else if (name == "--db") {
      if (value.empty()) return Refuse("--db wants a file name");
      options.database = value;
    } else if (name == "--timeout") {
      double seconds = 0;
      if (!ParseNumber(value, seconds) || !(seconds > 0) || seconds > 3600) {
        return Refuse("--timeout wants seconds between 0 and 3600, not " + value);
      }
      options.timeout = std::chrono::milliseconds(std::lround(seconds * 1000));
      if (options.timeout.count() == 0) options.timeout = std::chrono::milliseconds(1);
    } else if (name == "--max-clients") {
      if (!ParseNumber(value, options.max_clients) || options.max_clients == 0) {
        return Refuse("--max-clients wants a positive number, not " + value);
      }
    } else {
      return Refuse("unknown option " + name);
    }
  }
  ParsedOptions parsed;
  parsed.options = options;
  return parsed;
}

}  // namespace qup::server
