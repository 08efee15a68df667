// SPDX-License-Identifier: MIT
// A test fixture with the real server running on a free loopback port over a fresh database.
#ifndef QUP_SERVER_TESTS_SUPPORT_SERVER_FIXTURE_H
#define QUP_SERVER_TESTS_SUPPORT_SERVER_FIXTURE_H

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "server/suggestion_store.h"
#include "server/tests/support/server_harness.h"

namespace qup::server::testing {

class ServerFixture : public ::testing::Test {
 protected:
  // Starts (or starts again, over the same database) the server with extra options.
  void StartServer(std::vector<std::string> extra = {}) {
    server_.reset();
    server_.emplace(database(), log(), std::move(extra));
    ASSERT_TRUE(server_->WaitUntilListening()) << ReadFile(log());
  }

  std::uint16_t port() const { return server_->port(); }
  ServerProcess& server() { return *server_; }
  std::filesystem::path database() const { return folder_.path() / "suggestions.db"; }
  std::filesystem::path log() const { return folder_.path() / "server.log"; }

  // Whether the server's log shows part within a few seconds: a connection's line is written
  // just after the connection closes.
  bool LogShows(std::string_view part) const {
    for (int attempt = 0; attempt < 100; ++attempt) {
      if (ReadFile(log()).find(part) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // Everything in the database, newest first, read as the operator would.
  std::vector<StoredSuggestion> Stored() const {
    SuggestionStore store;
    if (!store.Open(database().string())) return {};
    return store.Newest(1000000).value_or(std::vector<StoredSuggestion>{});
  }

 private:
  ScratchFolder folder_;
  std::optional<ServerProcess> server_;
};

}  // namespace qup::server::testing

#endif  // QUP_SERVER_TESTS_SUPPORT_SERVER_FIXTURE_H
