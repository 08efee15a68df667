// SPDX-License-Identifier: MIT
// The suggestion server: takes the program's posts, stores them, and serves the pages.
#ifndef QUP_SERVER_SUGGESTION_SERVER_H
#define QUP_SERVER_SUGGESTION_SERVER_H

#include <memory>
#include <string>

#include "server/server_options.h"

namespace qup::server {

// All socket work happens on one thread, each client in its own coroutine, so a slow client
// holds up nobody; the database is written from a thread of its own (CommitQueue).
class SuggestionServer {
 public:
  explicit SuggestionServer(ServerOptions options);
  SuggestionServer(const SuggestionServer&) = delete;
  SuggestionServer& operator=(const SuggestionServer&) = delete;
  ~SuggestionServer();

  // Opens the database and the listening socket; false with Error() telling why.
  bool Start();
  const std::string& Error() const;
  // "ADDRESS:PORT" as bound, the chosen port when 0 was asked for.
  std::string ListeningOn() const;

  // Serves until SIGTERM or SIGINT, then stops taking clients, lets those under way finish
  // (each within its time-out) and returns once every acknowledged suggestion is stored.
  void Run();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qup::server

#endif  // QUP_SERVER_SUGGESTION_SERVER_H
