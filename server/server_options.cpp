// SPDX-License-Identifier: MIT
// The server's command line: where to listen, where the database lives, and its guards.
#include "server/server_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace qup::server {
namespace {

// A hundred years: beyond that a number of days or seconds is a typing mistake.
constexpr double kDayLimit = 36500;

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

// Seconds between 0 (excluded) and limit, as milliseconds of at least 1.
bool ParseSeconds(std::string_view text, double limit, std::chrono::milliseconds& value) {
  double seconds = 0;
  if (!ParseNumber(text, seconds) || !(seconds > 0) || seconds > limit) return false;
  value = std::max(std::chrono::milliseconds(1),
                   std::chrono::milliseconds(std::llround(seconds * 1000)));
  return true;
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
      if (!ParseSeconds(value, 3600, options.timeout)) {
        return Refuse("--timeout wants seconds between 0 and 3600, not " + value);
      }
    } else if (name == "--line-timeout") {
      if (!ParseSeconds(value, 3600, options.line_timeout)) {
        return Refuse("--line-timeout wants seconds between 0 and 3600, not " + value);
      }
    } else if (name == "--max-clients") {
      if (!ParseNumber(value, options.max_clients) || options.max_clients == 0) {
        return Refuse("--max-clients wants a positive number, not " + value);
      }
    } else if (name == "--max-per-client") {
      if (!ParseNumber(value, options.max_per_client) || options.max_per_client == 0) {
        return Refuse("--max-per-client wants a positive number, not " + value);
      }
    } else if (name == "--post-limit") {
      if (!ParseNumber(value, options.post_limit)) {
        return Refuse("--post-limit wants a number (0: no limit), not " + value);
      }
    } else if (name == "--post-window") {
      std::chrono::milliseconds window{};
      if (!ParseSeconds(value, kDayLimit * 86400.0, window)) {
        return Refuse("--post-window wants seconds, more than 0, not " + value);
      }
      options.post_window = std::max(std::chrono::seconds(1),
                                     std::chrono::duration_cast<std::chrono::seconds>(window));
    } else if (name == "--keep-count") {
      if (!ParseNumber(value, options.keep_count) || options.keep_count < 0) {
        return Refuse("--keep-count wants a number (0: keep all), not " + value);
      }
    } else if (name == "--keep-days") {
      double days = 0;
      if (!ParseNumber(value, days) || !(days >= 0) || days > kDayLimit) {
        return Refuse("--keep-days wants days between 0 (for ever) and 36500, not " + value);
      }
      options.keep_for = std::chrono::seconds(std::llround(days * 86400));
      if (days > 0 && options.keep_for.count() == 0) options.keep_for = std::chrono::seconds(1);
    } else if (name == "--trust-proxy") {
      if (value.empty()) return Refuse("--trust-proxy wants the proxy's address");
      options.trusted_proxy = value;
    } else if (name == "--site") {
      options.site = value;  // empty: no site, whatever the package installed
    } else if (name == "--delete") {
      std::int64_t id = 0;
      if (!ParseNumber(value, id) || id <= 0) {
        return Refuse("--delete wants a suggestion's id (a positive number), not " + value);
      }
      options.delete_id = id;
    } else {
      return Refuse("unknown option " + name);
    }
  }
  ParsedOptions parsed;
  parsed.options = options;
  return parsed;
}

}  // namespace qup::server
