// SPDX-License-Identifier: MIT
// Many clients at once, and a kill in the middle: nothing acknowledged is lost or doubled.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

class LoadTest : public testing::ServerFixture {};

std::string BurstText(int client, int number) {
  return "Suggestion " + std::to_string(number) + " from client " + std::to_string(client) +
         " \u00e9\r\nsecond line";
}

std::string StoredForm(int client, int number) {
  return "Suggestion " + std::to_string(number) + " from client " + std::to_string(client) +
         " \u00e9\nsecond line";
}

TEST_F(LoadTest, BurstFromFiftyClientsIsStoredOnceEach) {
  constexpr int kClients = 50;
  constexpr int kEach = 40;
  StartServer();
  std::atomic<int> acknowledged = 0;
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      for (int n = 0; n < kEach; ++n) {
        if (testing::PostAsProgram(port(), BurstText(c, n))) ++acknowledged;
      }
    });
  }
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(acknowledged, kClients * kEach);

  std::map<std::string, int> stored;
  for (const StoredSuggestion& row : Stored()) ++stored[row.text];
  EXPECT_EQ(stored.size(), static_cast<std::size_t>(kClients * kEach));
  for (int c = 0; c < kClients; ++c) {
    for (int n = 0; n < kEach; ++n) {
      const auto found = stored.find(StoredForm(c, n));
      ASSERT_NE(found, stored.end()) << "lost: client " << c << " number " << n;
      ASSERT_EQ(found->second, 1) << "stored twice: client " << c << " number " << n;
    }
  }
}

// The server is killed without warning while clients post; every suggestion that was
// acknowledged is in the database afterwards, and the restarted server shows it.
TEST_F(LoadTest, KillDuringABurstLosesNothingAcknowledged) {
  constexpr int kClients = 16;
  constexpr int kMostEach = 200;
  constexpr int kKillAfter = 150;
  StartServer();
  std::mutex mutex;
  std::set<std::string> acknowledged;
  std::atomic<int> count = 0;
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      for (int n = 0; n < kMostEach; ++n) {
        if (!testing::PostAsProgram(port(), BurstText(c, n))) return;  // the server is gone
        const std::lock_guard lock(mutex);
        acknowledged.insert(StoredForm(c, n));
        ++count;
      }
    });
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (count < kKillAfter && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  server().Signal(SIGKILL);
  ASSERT_TRUE(server().WaitForExit(std::chrono::seconds(10)));
  for (std::thread& client : clients) client.join();
  ASSERT_GE(count, kKillAfter);

  StartServer();
  std::map<std::string, int> stored;
  for (const StoredSuggestion& row : Stored()) ++stored[row.text];
  for (const std::string& text : acknowledged) {
    ASSERT_EQ(stored[text], 1) << "acknowledged but " << (stored[text] ? "doubled" : "lost") << ": "
                               << text;
  }
  for (const auto& [text, times] : stored) ASSERT_EQ(times, 1) << "doubled: " << text;
  const std::string page = testing::FetchPage(port(), "/ViewInfo.asp");
  EXPECT_NE(page.find(std::to_string(stored.size()) + " suggestions"), std::string::npos);
  EXPECT_TRUE(testing::PostAsProgram(port(), "after the restart"));
}

}  // namespace
}  // namespace qup::server
