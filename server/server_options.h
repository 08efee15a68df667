// SPDX-License-Identifier: MIT
// The server's command line: where to listen, where the database lives, and its guards.
#ifndef QUP_SERVER_SERVER_OPTIONS_H
#define QUP_SERVER_SERVER_OPTIONS_H

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qup::server {

struct ServerOptions {
  std::string address = "127.0.0.1";  // an IPv4 or IPv6 address ("[::1]" on the command line)
  std::uint16_t port = 8080;          // 0: any free port (the one chosen is printed)
  std::string database = "suggestions.db";
  // A client has this long to send its whole request, and again to take the reply.
  std::chrono::milliseconds timeout{10000};
  std::size_t max_clients = 256;  // connections served at once; more are turned away (503)
};

inline constexpr const char* kUsage =
    "usage: qup-suggestd [--listen ADDRESS:PORT] [--db FILE] [--timeout SECONDS]\n"
    "                    [--max-clients N]\n"
    "  --listen       address and port to serve on (default 127.0.0.1:8080;\n"
    "                 0.0.0.0:80 for every interface on the program's port)\n"
    "  --db           SQLite database of the suggestions (default suggestions.db)\n"
    "  --timeout      seconds a client has to send its request (default 10)\n"
    "  --max-clients  connections served at once (default 256)\n";

struct ParsedOptions {
  std::optional<ServerOptions> options;  // nothing: print message and stop
  std::string message;                   // the usage for --help, else what was wrong
  bool help = false;
};

// args without the program's name.
ParsedOptions ParseServerOptions(std::span<const std::string> args);

}  // namespace qup::server

#endif  // QUP_SERVER_SERVER_OPTIONS_H
