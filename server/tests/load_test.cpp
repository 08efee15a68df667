// SPDX-License-Identifier: MIT
// Many clients at once, and a kill in the middle: nothing acknowledged is lost or doubled.
#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

class LoadTest : public testing::ServerFixture {
 protected:
  // Each of clients threads posts up to each suggestions as the program does, and stops at the
  // first that is not acknowledged (the server is gone).
  void StartBurst(int clients, int each) {
    for (int c = 0; c < clients; ++c) {
      threads_.emplace_back([this, c, each, port = port()] {
        for (int n = 0; n < each; ++n) {
          const std::string text =
              "Suggestion " + std::to_string(n) + " from client " + std::to_string(c) + " \u00e9";
          if (!testing::PostAsProgram(port, text + "\r\nsecond line")) return;
          const std::lock_guard lock(mutex_);
          acknowledged_.insert(text + "\nsecond line");
        }
      });
    }
  }

  std::size_t Acknowledged() {
    const std::lock_guard lock(mutex_);
    return acknowledged_.size();
  }

  // Once the burst is over: every acknowledged suggestion is stored once, and none twice.
  void ExpectEachAcknowledgedStoredOnce() {
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
    std::map<std::string, int> stored;
    for (const StoredSuggestion& row : Stored()) ++stored[row.text];
    for (const auto& [text, times] : stored) ASSERT_EQ(times, 1) << "doubled: " << text;
    for (const std::string& text : acknowledged_) ASSERT_TRUE(stored.contains(text)) << text;
  }

  std::mutex mutex_;
  std::set<std::string> acknowledged_;
  std::vector<std::thread> threads_;
};

// Every poster comes from 127.0.0.1 here: the guards against one client are lifted.
const std::vector<std::string> kOneAddressForAll = {"--max-per-client", "256", "--post-limit", "0"};

TEST_F(LoadTest, BurstFromFiftyClientsIsStoredOnceEach) {
  StartServer(kOneAddressForAll);
  StartBurst(50, 40);
  ExpectEachAcknowledgedStoredOnce();
  EXPECT_EQ(acknowledged_.size(), 2000u);
  EXPECT_NE(
      testing::FetchPage(port(), "/ViewInfo.asp").find("Suggestions #2000 to #1901, newest first."),
      std::string::npos);
}

// The server is killed without warning while clients post; every suggestion that was
// acknowledged is in the database afterwards, and the restarted server shows it.
TEST_F(LoadTest, KillDuringABurstLosesNothingAcknowledged) {
  StartServer(kOneAddressForAll);
  StartBurst(16, 200);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (Acknowledged() < 150 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  server().Signal(SIGKILL);
  ASSERT_TRUE(server().WaitForExit());
  ExpectEachAcknowledgedStoredOnce();
  ASSERT_GE(acknowledged_.size(), 150u);

  StartServer(kOneAddressForAll);
  const std::string page = testing::FetchPage(port(), "/ViewInfo.asp");
  EXPECT_NE(page.find("Suggestions #" + std::to_string(Stored().at(0).id) + " to #"),
            std::string::npos);
  EXPECT_TRUE(testing::PostAsProgram(port(), "after the restart"));
}

}  // namespace
}  // namespace qup::server
