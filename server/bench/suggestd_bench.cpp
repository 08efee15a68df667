// SPDX-License-Identifier: MIT
// Posts a burst of suggestions from many clients at once and reports how many per second;
// then how many view pages per second readers get, and how long posts take meanwhile; then the
// view page's rate over 10,000 and 100,000 stored suggestions.
//   qup_suggestd_bench [CLIENTS [EACH [READERS]]]   (default 50 clients, 40 each, 32 readers)
#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "server/suggestion_store.h"
#include "server/tests/support/server_harness.h"

namespace {

using namespace qup::server;

int Argument(int argc, char** argv, int index, int fallback) {
  if (argc <= index) return fallback;
  const std::string_view text = argv[index];
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return fallback;
  return value > 0 && value <= 100000 ? value : fallback;
}

// The first view page fetched by readers for two seconds over a database of rows
// suggestions (the server's default retention keeps 100,000): pages per second.
double ViewPagesPerSecond(int rows, int readers) {
  const testing::ScratchFolder folder;
  const auto database = folder.path() / "view.db";
  {
    SuggestionStore store;
    const std::vector<NewSuggestion> seed(
        static_cast<std::size_t>(rows), {"A seeded suggestion, about as long as people write them.",
                                         "192.0.2.1", SuggestionStore::Now()});
    if (!store.Open(database.string()) || !store.AddAll(seed)) return 0;
  }
  testing::ServerProcess server(database, folder.path() / "server.log",
                                {"--max-per-client", "100000"});
  if (!server.WaitUntilListening()) return 0;
  std::atomic<bool> reading = true;
  std::atomic<int> pages = 0;
  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(readers));
  const auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < readers; ++r) {
    threads.emplace_back([&] {
      while (reading) {
        if (!testing::FetchPage(server.port(), "/ViewInfo.asp").empty()) ++pages;
      }
    });
  }
  std::this_thread::sleep_for(std::chrono::seconds(2));
  reading = false;
  for (std::thread& thread : threads) thread.join();
  return pages / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
  threads.reserve(static_cast<std::size_t>(clients));
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

  // Readers fetch the first view page (100 suggestions) for two seconds while one client
  // posts one suggestion after another: the pages per second, and the posts' 95th percentile.
  const int readers = Argument(argc, argv, 3, 32);
  std::atomic<bool> reading = true;
  std::atomic<int> pages = 0;
  std::atomic<std::size_t> page_bytes = 0;
  std::vector<std::thread> reader_threads;
  reader_threads.reserve(static_cast<std::size_t>(readers));
  for (int r = 0; r < readers; ++r) {
    reader_threads.emplace_back([&] {
      while (reading) {
        const std::size_t size = testing::FetchPage(server.port(), "/ViewInfo.asp").size();
        page_bytes = size;
        if (size > 0) ++pages;
      }
    });
  }
  std::vector<double> post_ms;
  const auto read_start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - read_start < std::chrono::seconds(2)) {
    const auto post_start = std::chrono::steady_clock::now();
    if (testing::PostAsProgram(server.port(), "posted while others read")) {
      post_ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - post_start)
              .count());
    }
  }
  reading = false;
  for (std::thread& thread : reader_threads) thread.join();
  const double read_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - read_start).count();
  std::sort(post_ms.begin(), post_ms.end());
  const double p95 = post_ms.empty() ? 0 : post_ms[post_ms.size() * 95 / 100];

  SuggestionStore store;
  long long stored = -1;
  if (store.Open((folder.path() / "bench.db").string())) stored = store.Count().value_or(-1);
  std::printf("%d clients x %d suggestions: %d acknowledged in %.2f s = %.0f per second\n", clients,
              each, acknowledged.load(), seconds, acknowledged / seconds);
  std::printf(
      "%d readers: %.0f view pages per second (%zu bytes each); meanwhile %zu posts, "
      "95th percentile %.1f ms\n",
      readers, pages / read_seconds, page_bytes.load(), post_ms.size(), p95);
  // The view page's cost must not grow with the database: compared at the default retention.
  // Taken in turns, twice each, the better of each kept: other work on the machine comes and
  // goes, and would otherwise weigh on one side.
  double small = 0;
  double large = 0;
  for (int round = 0; round < 2; ++round) {
    small = std::max(small, ViewPagesPerSecond(10000, readers));
    large = std::max(large, ViewPagesPerSecond(100000, readers));
  }
  std::printf(
      "%d readers: %.0f view pages per second over 10,000 suggestions, %.0f over 100,000 "
      "(the first over the second: %.2f; the better of two runs each)\n",
      readers, small, large, large > 0 ? small / large : 0);
  const long long expected =
      static_cast<long long>(clients) * each + static_cast<long long>(post_ms.size());
  return acknowledged == clients * each && stored == expected ? 0 : 1;
}
