// SPDX-License-Identifier: MIT
// The writer thread: every submitted suggestion is stored once and reported once.
#include "server/commit_queue.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <mutex>
#include <set>

#include "server/tests/support/server_process.h"

namespace qup::server {
namespace {

TEST(CommitQueueTest, StoresEverySubmissionFromManyThreadsOnce) {
  const testing::ScratchFolder folder;
  SuggestionStore store;
  ASSERT_TRUE(store.Open((folder.path() / "s.db").string()));
  constexpr int kThreads = 8;
  constexpr int kEach = 50;
  std::mutex mutex;
  std::set<std::int64_t> ids;
  std::atomic<int> failures = 0;
  {
    CommitQueue queue(store);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        for (int i = 0; i < kEach; ++i) {
          queue.Submit({"t" + std::to_string(t) + "-" + std::to_string(i), "127.0.0.1",
                        SuggestionStore::Now()},
                       [&](std::optional<std::int64_t> id) {
                         if (!id) ++failures;
                         const std::lock_guard lock(mutex);
                         if (id) ids.insert(*id);
                       });
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
  }  // the queue's end waits for everything submitted
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(ids.size(), static_cast<std::size_t>(kThreads * kEach));
  EXPECT_EQ(store.Count(), kThreads * kEach);
}

TEST(CommitQueueTest, ReportsAFailedCommitToEveryoneInItAndStoresNone) {
  const testing::ScratchFolder folder;
  const std::string path = (folder.path() / "s.db").string();
  SuggestionStore store;
  ASSERT_TRUE(store.Open(path));
  // The database refuses every insert, as a full disk or a broken file would.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TRIGGER refuse BEFORE INSERT ON suggestions"
                         " BEGIN SELECT RAISE(ABORT, 'disk full'); END;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);

  std::atomic<int> reported = 0;
  std::atomic<int> stored = 0;
  {
    CommitQueue queue(store);
    for (int i = 0; i < 5; ++i) {
      queue.Submit({"text", "127.0.0.1", SuggestionStore::Now()},
                   [&](std::optional<std::int64_t> id) {
                     ++reported;
                     if (id) ++stored;
                   });
    }
  }
  EXPECT_EQ(reported, 5);
  EXPECT_EQ(stored, 0);
  EXPECT_EQ(store.Count(), 0);
}

}  // namespace
}  // namespace qup::server
