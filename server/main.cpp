// SPDX-License-Identifier: MIT
// qup-suggestd: the operator's suggestion server, started from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "server/server_options.h"
#include "server/suggestion_server.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const qup::server::ParsedOptions parsed = qup::server::ParseServerOptions(args);
  if (!parsed.options) {
    std::fputs(parsed.message.c_str(), parsed.help ? stdout : stderr);
    return parsed.help ? 0 : 2;
  }

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
