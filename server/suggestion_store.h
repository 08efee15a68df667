// SPDX-License-Identifier: MIT
// The suggestions database: one SQLite file, write-ahead log, every commit synced to disk.
#ifndef QUP_SERVER_SUGGESTION_STORE_H
#define QUP_SERVER_SUGGESTION_STORE_H

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

// One connection to the database; use each from one thread at a time. Several may share a
// file (one that writes, others that read).
class SuggestionStore {
 public:
  SuggestionStore() = default;
  SuggestionStore(const SuggestionStore&) = delete;
  SuggestionStore& operator=(const SuggestionStore&) = delete;
  ~SuggestionStore();

  // Opens or creates the database at path; false with Error() telling why.
  bool Open(const std::string& path);

  // Stores all of them in one transaction: their ids once it is committed and on disk, or
  // nothing (and none of them stored) when it fails.
  std::optional<std::vector<std::int64_t>> AddAll(std::span<const NewSuggestion> suggestions);

  // Up to limit suggestions, the newest first; nothing, with Error() set, when reading fails.
  std::optional<std::vector<StoredSuggestion>> Newest(std::size_t limit);
  std::optional<std::int64_t> Count();

  const std::string& Error() const { return error_; }

  // The current time in the form of received_at.
  static std::string Now();

 private:
  bool Execute(const char* sql);
  void Fail(const char* what);

  sqlite3* db_ = nullptr;
  std::string error_;
};

}  // namespace qup::server

#endif  // QUP_SERVER_SUGGESTION_STORE_H
