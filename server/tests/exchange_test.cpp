// SPDX-License-Identifier: MIT
// The program's own request against the real server: acknowledged, stored, shown; and stopping.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include "server/html_pages.h"
#include "server/tests/support/server_fixture.h"
#include "suggest/suggestion_request.h"

namespace qup::server {
namespace {

using testing::LoopbackClient;
using testing::ReadFile;

class ExchangeTest : public testing::ServerFixture {};

constexpr std::string_view kTyped =
    "Caf\u00e9 au lait, s'il vous pla\u00eet\r\nSecond line: 100% <better>";
constexpr std::string_view kStored =
    "Caf\u00e9 au lait, s'il vous pla\u00eet\nSecond line: 100% <better>";

TEST_F(ExchangeTest, ProgramsRequestIsAcknowledgedStoredAndShown) {
  StartServer();
  const auto request =
      qup::suggest::ComposeRequest("127.0.0.1", qup::suggest::EncodeSuggestion(kTyped));
  LoopbackClient client;
  ASSERT_TRUE(client.Connect(port()));
  ASSERT_TRUE(client.Send({request.data(), request.size()}));
  const std::string reply = client.ReceiveOnce();
  EXPECT_TRUE(reply.starts_with("HTTP/1.1 200 OK\r\n")) << reply;

  // Acknowledged means stored: the row is there the moment the reply is.
  const auto rows = Stored();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].text, kStored);
  EXPECT_EQ(rows[0].sender, "127.0.0.1");

  const std::string page = testing::FetchPage(port(), "/ViewInfo.asp");
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find(EscapeHtml(kStored)), std::string::npos) << page;
  EXPECT_NE(
      page.find("Caf\u00e9 au lait, s&#39;il vous pla\u00eet\nSecond line: 100% &lt;better&gt;"),
      std::string::npos);
}

TEST_F(ExchangeTest, HomePageLinksToTheViewPage) {
  StartServer();
  EXPECT_NE(testing::FetchPage(port(), "/").find("<a href=\"/ViewInfo.asp\">"), std::string::npos);
}

TEST_F(ExchangeTest, ViewPageListsNewestFirst) {
  StartServer();
  ASSERT_TRUE(testing::PostAsProgram(port(), "the first one"));
  ASSERT_TRUE(testing::PostAsProgram(port(), "the second one"));
  const std::string page = testing::FetchPage(port(), "/viewinfo.asp");
  ASSERT_NE(page.find("the first one"), std::string::npos);
  EXPECT_LT(page.find("the second one"), page.find("the first one"));
}

TEST_F(ExchangeTest, AFormPostedOverHttpIsStoredToo) {
  StartServer();
  const std::string reply = testing::Exchange(
      port(),
      "POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded"
      "\r\nContent-Length: 14\r\n\r\ntext=Caf%E9+ok");
  EXPECT_TRUE(reply.starts_with("HTTP/1.1 200 OK")) << reply;
  ASSERT_EQ(Stored().size(), 1u);
  EXPECT_EQ(Stored()[0].text, "Caf\u00e9 ok");
}

// A database that refuses the row gets no acknowledgement: the program must not report
// success for a suggestion that is not kept.
TEST_F(ExchangeTest, NothingIsAcknowledgedThatIsNotStored) {
  StartServer();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(database().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TRIGGER refuse BEFORE INSERT ON suggestions"
                         " BEGIN SELECT RAISE(ABORT, 'disk full'); END;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  const auto request =
      qup::suggest::ComposeRequest("127.0.0.1", qup::suggest::EncodeSuggestion("lost?"));
  LoopbackClient client;
  ASSERT_TRUE(client.Connect(port()));
  ASSERT_TRUE(client.Send({request.data(), request.size()}));
  const std::string reply = client.ReceiveOnce();
  EXPECT_TRUE(reply.starts_with("HTTP/1.1 500")) << reply;
  EXPECT_EQ(reply.find("HTTP/1.1 200 OK"), std::string::npos);
}

TEST_F(ExchangeTest, LogsOneLinePerRequest) {
  StartServer();
  ASSERT_TRUE(testing::PostAsProgram(port(), "logged"));
  testing::FetchPage(port(), "/ViewInfo.asp");
  testing::Exchange(port(), "nonsense\n\n");
  server().Signal(SIGTERM);
  ASSERT_TRUE(server().WaitForExit(std::chrono::seconds(10)));
  const std::string log = ReadFile(this->log());
  std::vector<std::string> lines;
  for (std::size_t at = 0, end = 0; (end = log.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(log.substr(at, end - at));
  }
  ASSERT_EQ(lines.size(), 4u) << log;
  EXPECT_NE(lines[0].find("127.0.0.1:"), std::string::npos);
  EXPECT_NE(lines[0].find("\"POST http://127.0.0.1/sendinfo.asp\" legacy 200"), std::string::npos);
  EXPECT_NE(lines[0].find("stored #1"), std::string::npos);
  EXPECT_NE(lines[1].find("\"GET /ViewInfo.asp\" http 200"), std::string::npos);
  EXPECT_NE(lines[2].find(" 400 "), std::string::npos);
  EXPECT_NE(lines[2].find("malformed request line"), std::string::npos);
  EXPECT_EQ(lines[3], "qup-suggestd: stopped");
}

// SIGTERM ends the server at once, even with a client connected that never sends anything.
TEST_F(ExchangeTest, StopsCleanlyOnSigterm) {
  StartServer({"--timeout", "600"});
  ASSERT_TRUE(testing::PostAsProgram(port(), "kept"));
  LoopbackClient idle;
  ASSERT_TRUE(idle.Connect(port()));
  server().Signal(SIGTERM);
  const std::optional<int> status = server().WaitForExit(std::chrono::seconds(10));
  ASSERT_TRUE(status) << "still running 10 s after SIGTERM";
  EXPECT_TRUE(WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 0);
  ASSERT_EQ(Stored().size(), 1u);
  EXPECT_EQ(Stored()[0].text, "kept");
}

TEST_F(ExchangeTest, RefusesToStartWithADatabaseItCannotOpen) {
  testing::ScratchFolder other;
  testing::ServerProcess server(other.path() / "no" / "such" / "folder.db", log());
  EXPECT_FALSE(server.WaitUntilListening(std::chrono::seconds(10)));
  const std::optional<int> status = server.WaitForExit(std::chrono::seconds(10));
  ASSERT_TRUE(status);
  EXPECT_EQ(WEXITSTATUS(*status), 1);
  EXPECT_NE(ReadFile(log()).find("folder.db"), std::string::npos);
}

}  // namespace
}  // namespace qup::server
