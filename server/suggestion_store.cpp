// SPDX-License-Identifier: MIT
// The suggestions database: one SQLite file, write-ahead log, every commit synced to disk.
#include "server/suggestion_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>

namespace qup::server {
namespace {

// The schema's version lives in user_version, so a later layout can tell an old file.
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS suggestions ("
    " id INTEGER PRIMARY KEY,"
    " received_at TEXT NOT NULL,"
    " sender TEXT NOT NULL,"
    " text TEXT NOT NULL);"
    // Pruning by age looks rows up by their time.
    "CREATE INDEX IF NOT EXISTS suggestions_received_at ON suggestions (received_at);"
    "PRAGMA user_version = 1;";

struct StatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
              : std::string();
}

Statement Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) return nullptr;
  return Statement(raw);
}

}  // namespace

SuggestionStore::~SuggestionStore() { sqlite3_close_v2(db_); }

bool SuggestionStore::Open(const std::string& path, bool create) {
  // SQLite would create the file with the umask's mode; an empty file is a new database to it.
  // Only a file that did not exist is opened here: closing a descriptor of a file would drop
  // the locks this process's other connections hold on it.
  if (create) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) ::close(fd);
  }
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    Fail(create ? "cannot open the database" : "cannot open an existing database");
    return false;
  }
  sqlite3_busy_timeout(db_, 5000);
  // FULL syncs the log on every commit: an acknowledged suggestion survives a crash or a kill.
  return Execute("PRAGMA journal_mode = WAL;") && Execute("PRAGMA synchronous = FULL;") &&
         Execute(kSchema);
}

std::optional<std::vector<std::int64_t>> SuggestionStore::AddAll(
    std::span<const NewSuggestion> suggestions, const Retention& retention) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "INSERT INTO suggestions (received_at, sender, text) VALUES (?,?,?)",
                         -1, &raw, nullptr) != SQLITE_OK) {
    Fail("cannot prepare the insert");
    return std::nullopt;
  }
  const Statement insert(raw);
  if (!Execute("BEGIN IMMEDIATE;")) return std::nullopt;

  std::vector<std::int64_t> ids;
  ids.reserve(suggestions.size());
  for (const NewSuggestion& suggestion : suggestions) {
    sqlite3_bind_text(raw, 1, suggestion.received_at.data(),
                      static_cast<int>(suggestion.received_at.size()), SQLITE_STATIC);
    sqlite3_bind_text(raw, 2, suggestion.sender.data(), static_cast<int>(suggestion.sender.size()),
                      SQLITE_STATIC);
    sqlite3_bind_text(raw, 3, suggestion.text.data(), static_cast<int>(suggestion.text.size()),
                      SQLITE_STATIC);
    if (sqlite3_step(raw) != SQLITE_DONE) {
      Fail("cannot store a suggestion");
      Rollback();
      return std::nullopt;
    }
    ids.push_back(sqlite3_last_insert_rowid(db_));
    sqlite3_reset(raw);
  }
  std::int64_t removed = 0;
  if (!PruneInTransaction(retention, removed) || !Execute("COMMIT;")) {
    Rollback();
    return std::nullopt;
  }
  return ids;
}

bool SuggestionStore::PruneInTransaction(const Retention& retention, std::int64_t& removed) {
  removed = 0;
  if (retention.keep_count > 0) {
    // A new id is one above the highest, so the newest keep_count are above max - keep_count: a
    // look-up in the key's index, where counting down to the keep_count-th row would read them all.
    const Statement statement =
        Prepare(db_, "DELETE FROM suggestions WHERE id <= (SELECT max(id) FROM suggestions) - ?");
    if (!statement) {
      Fail("cannot prepare the pruning");
      return false;
    }
    sqlite3_bind_int64(statement.get(), 1, retention.keep_count);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
      Fail("cannot prune the oldest suggestions");
      return false;
    }
    removed += sqlite3_changes(db_);
  }
  if (retention.keep_for.count() > 0) {
    const std::string cutoff = Stamp(std::chrono::system_clock::now() - retention.keep_for);
    const Statement statement = Prepare(db_, "DELETE FROM suggestions WHERE received_at < ?");
    if (!statement) {
      Fail("cannot prepare the pruning");
      return false;
    }
    sqlite3_bind_text(statement.get(), 1, cutoff.data(), static_cast<int>(cutoff.size()),
                      SQLITE_STATIC);
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
      Fail("cannot prune the old suggestions");
      return false;
    }
    removed += sqlite3_changes(db_);
  }
  return true;
}

std::optional<std::int64_t> SuggestionStore::Prune(const Retention& retention) {
  if (!Execute("BEGIN IMMEDIATE;")) return std::nullopt;
  std::int64_t removed = 0;
  if (!PruneInTransaction(retention, removed) || !Execute("COMMIT;")) {
    Rollback();
    return std::nullopt;
  }
  return removed;
}

std::optional<bool> SuggestionStore::Delete(std::int64_t id) {
  const Statement statement = Prepare(db_, "DELETE FROM suggestions WHERE id = ?");
  if (!statement) {
    Fail("cannot prepare the deletion");
    return std::nullopt;
  }
  sqlite3_bind_int64(statement.get(), 1, id);
  if (sqlite3_step(statement.get()) != SQLITE_DONE) {
    Fail("cannot delete the suggestion");
    return std::nullopt;
  }
  return sqlite3_changes(db_) > 0;
}

std::optional<std::vector<StoredSuggestion>> SuggestionStore::Newest(
    std::size_t limit, std::optional<std::int64_t> before) {
  std::vector<StoredSuggestion> rows;
  const Statement query = Prepare(db_,
                                  "SELECT id, received_at, sender, text FROM suggestions"
                                  " WHERE id < ? ORDER BY id DESC LIMIT ?");
  if (!query) {
    Fail("cannot prepare the query");
    return std::nullopt;
  }
  sqlite3_stmt* raw = query.get();
  sqlite3_bind_int64(raw, 1, before.value_or(INT64_MAX));
  sqlite3_bind_int64(raw, 2, static_cast<sqlite3_int64>(limit));
  int step = SQLITE_ROW;
  while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
    rows.push_back(
        {sqlite3_column_int64(raw, 0), ColumnText(raw, 3), ColumnText(raw, 2), ColumnText(raw, 1)});
  }
  if (step != SQLITE_DONE) {
    Fail("cannot read the suggestions");
    return std::nullopt;
  }
  return rows;
}

std::optional<std::int64_t> SuggestionStore::Count() {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT count(*) FROM suggestions", -1, &raw, nullptr) != SQLITE_OK) {
    Fail("cannot prepare the count");
    return std::nullopt;
  }
  const Statement query(raw);
  if (sqlite3_step(raw) != SQLITE_ROW) {
    Fail("cannot count the suggestions");
    return std::nullopt;
  }
  return sqlite3_column_int64(raw, 0);
}

std::string SuggestionStore::Now() { return Stamp(std::chrono::system_clock::now()); }

std::string SuggestionStore::Stamp(std::chrono::system_clock::time_point now) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(millis));
  return text;
}

bool SuggestionStore::Execute(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  Fail(sql);
  return false;
}

// Ends a transaction that failed. On a full disk or an I/O error SQLite has rolled it back
// already, and a ROLLBACK then would only fail and hide why: the error kept is the one that
// made the transaction fail.
void SuggestionStore::Rollback() {
  if (sqlite3_get_autocommit(db_) != 0) return;
  if (sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr) != SQLITE_OK) {
    error_ += std::string("; and cannot roll back: ") + sqlite3_errmsg(db_);
  }
}

void SuggestionStore::Fail(const char* what) {
  error_ = std::string(what) + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory");
}

}  // namespace qup::server
