// SPDX-License-Identifier: MIT
// The suggestions database: what is committed is there after reopening, newest first.
#include "server/suggestion_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "server/tests/support/server_process.h"

namespace qup::server {
namespace {

using testing::ScratchFolder;

std::string Pragma(const std::filesystem::path& database, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(database.c_str(), &db);
  std::string value;
  sqlite3_exec(
      db, sql,
      [](void* out, int, char** columns, char**) {
        *static_cast<std::string*>(out) = columns[0] ? columns[0] : "";
        return 0;
      },
      &value, nullptr);
  sqlite3_close(db);
  return value;
}

TEST(SuggestionStoreTest, KeepsSuggestionsAcrossReopeningNewestFirst) {
  const ScratchFolder folder;
  const auto path = folder.path() / "s.db";
  {
    SuggestionStore store;
    ASSERT_TRUE(store.Open(path.string())) << store.Error();
    const std::vector<NewSuggestion> first = {{"one", "127.0.0.1", "2024-01-01T00:00:00.000Z"},
                                              {"two\nlines", "::1", "2024-01-01T00:00:01.000Z"}};
    const auto ids = store.AddAll(first);
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->size(), 2u);
    EXPECT_LT((*ids)[0], (*ids)[1]);
    ASSERT_TRUE(store.AddAll(
        std::vector<NewSuggestion>{{"Caf\u00e9", "10.0.0.2", "2024-01-02T00:00:00.000Z"}}));
  }
  SuggestionStore reopened;
  ASSERT_TRUE(reopened.Open(path.string())) << reopened.Error();
  EXPECT_EQ(reopened.Count(), 3);
  const auto rows = reopened.Newest(10);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].text, "Caf\u00e9");
  EXPECT_EQ(rows[0].sender, "10.0.0.2");
  EXPECT_EQ(rows[0].received_at, "2024-01-02T00:00:00.000Z");
  EXPECT_EQ(rows[1].text, "two\nlines");
  EXPECT_EQ(rows[2].text, "one");
  EXPECT_EQ(reopened.Newest(1).size(), 1u);
}

TEST(SuggestionStoreTest, KeepsItsFileInWriteAheadLogMode) {
  const ScratchFolder folder;
  const auto path = folder.path() / "s.db";
  SuggestionStore store;
  ASSERT_TRUE(store.Open(path.string()));
  EXPECT_EQ(Pragma(path, "PRAGMA journal_mode"), "wal");
}

TEST(SuggestionStoreTest, ReportsADatabaseThatCannotBeOpened) {
  const ScratchFolder folder;
  SuggestionStore store;
  EXPECT_FALSE(store.Open((folder.path() / "missing" / "s.db").string()));
  EXPECT_FALSE(store.Error().empty());
}

TEST(SuggestionStoreTest, NowIsUtcWithMilliseconds) {
  const std::string now = SuggestionStore::Now();
  ASSERT_EQ(now.size(), 24u);
  EXPECT_EQ(now[10], 'T');
  EXPECT_EQ(now[19], '.');
  EXPECT_EQ(now.back(), 'Z');
}

}  // namespace
}  // namespace qup::server
