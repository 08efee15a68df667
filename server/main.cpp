// SPDX-License-Identifier: MIT
// qup-suggestd: the operator's suggestion server, started from the command line.
#include <sys/stat.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "server/server_options.h"
#include "server/suggestion_server.h"
#include "server/suggestion_store.h"

namespace {

// --delete: the operator removes one suggestion, named by the id the view page shows. Safe
// while the server runs: SQLite takes turns between the two. A mistyped --db is refused, not
// made into a new empty database.
int DeleteSuggestion(const qup::server::ServerOptions& options) {
  qup::server::SuggestionStore store;
  const std::string id = std::to_string(*options.delete_id);
  const std::optional<bool> deleted = store.Open(options.database, /*create=*/false)
                                          ? store.Delete(*options.delete_id)
                                          : std::nullopt;
  if (!deleted) {
    std::fprintf(stderr, "qup-suggestd: %s: %s\n", options.database.c_str(), store.Error().c_str());
    return 1;
  }
  if (!*deleted) {
    std::fprintf(stderr, "qup-suggestd: no suggestion #%s in %s\n", id.c_str(),
                 options.database.c_str());
    return 1;
  }
  std::printf("deleted suggestion #%s from %s\n", id.c_str(), options.database.c_str());
  return 0;
}

// The database holds the senders' addresses; a new one is made readable by its owner alone,
// but one made otherwise (by hand, or by an older version) would stay readable by all unsaid.
void WarnIfReadableByAll(const std::string& database) {
  struct stat status {};
  if (::stat(database.c_str(), &status) == 0 && (status.st_mode & S_IROTH) != 0) {
    std::fprintf(stderr,
                 "qup-suggestd: warning: %s is readable by every user of this machine, and it "
                 "holds the senders' addresses (chmod o-r %s)\n",
                 database.c_str(), database.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const qup::server::ParsedOptions parsed = qup::server::ParseServerOptions(args);
  if (!parsed.options) {
    std::fputs(parsed.message.c_str(), parsed.help ? stdout : stderr);
    return parsed.help ? 0 : 2;
  }

  if (parsed.options->delete_id) return DeleteSuggestion(*parsed.options);

  WarnIfReadableByAll(parsed.options->database);
  qup::server::SuggestionServer server(*parsed.options);
  if (!server.Start()) {
    std::fprintf(stderr, "qup-suggestd: %s\n", server.Error().c_str());
    return 1;
  }
  // One line on standard output once clients can connect; scripts wait for it.
  std::printf("qup-suggestd listening on http://%s/\n", server.ListeningOn().c_str());
  std::fflush(stdout);
  server.Run();
  std::fprintf(stderr, "qup-suggestd: stopped\n");
  return 0;
}
