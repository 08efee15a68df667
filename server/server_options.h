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

#include "server/static_site.h"

namespace qup::server {

struct ServerOptions {
  std::string address = "127.0.0.1";  // an IPv4 or IPv6 address ("[::1]" on the command line)
  std::uint16_t port = 8080;          // 0: any free port (the one chosen is printed)
  std::string database = "suggestions.db";
  // A client has this long to send its whole request, and again to take the reply.
  std::chrono::milliseconds timeout{10000};
  std::size_t max_clients = 256;  // connections served at once; more are turned away (503)
  // Connections from one address at once, so that one client cannot take every slot. A
  // trusted proxy is not held to it: it carries many clients.
  std::size_t max_per_client = 8;
  // A connection that has sent no complete request line by then is dropped.
  std::chrono::milliseconds line_timeout{3000};
  // Suggestions one address may post within post_window; 0: no limit.
  std::size_t post_limit = 20;
  std::chrono::seconds post_window{3600};
  // Suggestions kept: the newest keep_count (0: all), none older than keep_for (0: forever).
  std::int64_t keep_count = 100000;
  std::chrono::seconds keep_for{0};
  // Connections from this address are a reverse proxy's: the client is the last address of
  // their X-Forwarded-For. Empty: no proxy is trusted and the header is ignored.
  std::string trusted_proxy;
  // The web calculators' folder, served at "/" when it holds index.html; empty: none.
  std::string site = kDefaultSiteFolder;
  // Set: delete this suggestion from the database and end, without serving.
  std::optional<std::int64_t> delete_id;
};

inline constexpr const char* kUsage =
    "usage: qup-suggestd [--listen ADDRESS:PORT] [--db FILE] [--timeout SECONDS]\n"
    "                    [--line-timeout SECONDS] [--max-clients N] [--max-per-client N]\n"
    "                    [--post-limit N] [--post-window SECONDS]\n"
    "                    [--keep-count N] [--keep-days DAYS] [--trust-proxy ADDRESS]\n"
    "                    [--site FOLDER]\n"
    "       qup-suggestd [--db FILE] --delete ID\n"
    "  --listen          address and port to serve on (default 127.0.0.1:8080;\n"
    "                    [::]:80 for every interface, IPv6 and IPv4, on the program's port)\n"
    "  --db              SQLite database of the suggestions (default suggestions.db)\n"
    "  --timeout         seconds a client has to send its request (default 10)\n"
    "  --line-timeout    seconds a client has to send its request line (default 3)\n"
    "  --max-clients     connections served at once (default 256)\n"
    "  --max-per-client  connections from one address at once (default 8)\n"
    "  --post-limit      suggestions one address may post per window; 0: any (default 20)\n"
    "  --post-window     seconds of that window (default 3600)\n"
    "  --keep-count      suggestions kept, the newest; 0: all (default 100000)\n"
    "  --keep-days       days a suggestion is kept; 0: for ever (default 0)\n"
    "  --trust-proxy     address of a reverse proxy whose X-Forwarded-For names the client\n"
    "  --site            folder of the web calculators, served at / when it holds\n"
    "                    index.html (default /usr/share/qup-suggestd/site; \"\": none)\n"
    "  --delete          delete the suggestion with this id (shown on the view page) and end\n";

struct ParsedOptions {
  std::optional<ServerOptions> options;  // nothing: print message and stop
  std::string message;                   // the usage for --help, else what was wrong
  bool help = false;
};

// args without the program's name.
ParsedOptions ParseServerOptions(std::span<const std::string> args);

}  // namespace qup::server

#endif  // QUP_SERVER_SERVER_OPTIONS_H
