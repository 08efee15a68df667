// SPDX-License-Identifier: MIT
// The suggestions database: one SQLite file, write-ahead log, every commit synced to disk.
#ifndef QUP_SERVER_SUGGESTION_STORE_H
#define QUP_SERVER_SUGGESTION_STORE_H

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct sqlite3;

namespace qup::server {

struct NewSuggestion {
  std::string text;         // UTF-8, line breaks as "\n"
  std::string sender;       // the client's address
  std::string received_at;  // UTC, "YYYY-MM-DDTHH:MM:SS.mmmZ"
};

struct StoredSuggestion {
  std::int64_t id = 0;
  std::string text;
  std::string sender;
  std::string received_at;
};

// Which suggestions stay: those among the newest keep_count ids (0: all; fewer when some of
// them were deleted), none older than keep_for (0: for ever).
struct Retention {
  std::int64_t keep_count = 0;
  std::chrono::seconds keep_for{0};
};

// One connection to the database; use each from one thread at a time. Several may share a
// file (one that writes, others that read).
class SuggestionStore {
 public:
  SuggestionStore() = default;
  SuggestionStore(const SuggestionStore&) = delete;
  SuggestionStore& operator=(const SuggestionStore&) = delete;
  ~SuggestionStore();

  // Opens or creates the database at path; false with Error() telling why. A new database
  // (and so its -wal and -shm files, which take its mode) is readable by its owner only: it
  // holds the senders' addresses. Without create, a missing file is an error.
  bool Open(const std::string& path, bool create = true);

  // Stores all of them in one transaction, which also removes what retention no longer keeps:
  // their ids once it is committed and on disk, or nothing (and none of them stored) when it
  // fails.
  std::optional<std::vector<std::int64_t>> AddAll(std::span<const NewSuggestion> suggestions,
                                                  const Retention& retention = {});
  // Removes what retention no longer keeps: how many, or nothing when it fails.
  std::optional<std::int64_t> Prune(const Retention& retention);
  // Removes one suggestion: whether there was one with that id, or nothing when it fails.
  std::optional<bool> Delete(std::int64_t id);

  // Up to limit suggestions with ids below before (all when nothing), the newest first;
  // nothing, with Error() set, when reading fails.
  std::optional<std::vector<StoredSuggestion>> Newest(
      std::size_t limit, std::optional<std::int64_t> before = std::nullopt);
  std::optional<std::int64_t> Count();

  const std::string& Error() const { return error_; }

  // The current time in the form of received_at, and any time in that form.
  static std::string Now();
  static std::string Stamp(std::chrono::system_clock::time_point now);

 private:
  bool Execute(const char* sql);
  bool PruneInTransaction(const Retention& retention, std::int64_t& removed);
  void Rollback();
  void Fail(const char* what);

  sqlite3* db_ = nullptr;
  std::string error_;
};

}  // namespace qup::server

#endif  // QUP_SERVER_SUGGESTION_STORE_H
