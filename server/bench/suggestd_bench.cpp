// SPDX-License-Identifier: MIT
// Posts a burst of suggestions from many clients at once and reports how many per second.
//   qup_suggestd_bench [CLIENTS [EACH]]   (default 50 clients, 40 suggestions each)
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "server/suggestion_store.h"
#include "server/tests/support/server_harness.h"

namespace {

using namespace qup::server;

int Argument(int argc, char** argv, int index, int fallback) {
  if (argc <= index) return fallback;
  const int value = std::atoi(argv[index]);
  return value > 0 && value <= 100000 ? value : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int clients = Argument(argc, argv, 1, 50);
  const int each = Argument(argc, argv, 2, 40);
  const testing::ScratchFolder folder;
  // The clients all come from 127.0.0.1: the guards against one client are lifted.
  testing::ServerProcess server(
      folder.path() / "bench.db", folder.path() / "server.log",
      {"--max-per-client", "100000", "--post-limit", "0", "--keep-count", "0"});
  if (!server.WaitUntilListening()) {
    std::fprintf(stderr, "the server did not start:\n%s",
                 testing::ReadFile(folder.path() / "server.log").c_str());
    return 1;
  }

  std::atomic<int> acknowledged = 0;
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&, c] {
      for (int n = 0; n < each; ++n) {
        const std::string text = "Benchmark suggestion " + std::to_string(n) + " of client " +
                                 std::to_string(c) + ": caf\u00e9\r\nwith a second line";
        if (testing::PostAsProgram(server.port(), text)) ++acknowledged;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  const auto view_start = std::chrono::steady_clock::now();
  const std::string page = testing::FetchPage(server.port(), "/ViewInfo.asp");
  const double view_ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - view_start)
          .count();

  SuggestionStore store;
  long long stored = -1;
  if (store.Open((folder.path() / "bench.db").string())) stored = store.Count().value_or(-1);
  std::printf(
      "%d clients x %d suggestions: %d acknowledged, %lld stored in %.2f s = %.0f per second\n",
      clients, each, acknowledged.load(), stored, seconds, acknowledged / seconds);
  std::printf("view page: %zu bytes in %.1f ms\n", page.size(), view_ms);
  return acknowledged == clients * each && stored == clients * each ? 0 : 1;
}
