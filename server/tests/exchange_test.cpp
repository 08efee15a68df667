// SPDX-License-Identifier: MIT
// The program's own request against the real server: acknowledged, stored, shown; and stopping.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

using testing::FetchPage;
using testing::PostAsProgram;

class ExchangeTest : public testing::ServerFixture {};

TEST_F(ExchangeTest, ProgramsRequestIsAcknowledgedStoredAndShownNewestFirst) {
  StartServer();
  EXPECT_NE(FetchPage(port(), "/ViewInfo.asp").find("No suggestions yet."), std::string::npos);
  ASSERT_TRUE(PostAsProgram(port(), "the first one"));
  ASSERT_TRUE(PostAsProgram(port(),
                            "Caf\u00e9 <script>alert('x')</script><img src=x "
                            "onerror=alert(2)>\r\n\u20ac 5 \u201cq\u201d: 100% \"&amp;\""));

  const auto rows = Stored();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].text,
            "Caf\u00e9 <script>alert('x')</script><img src=x onerror=alert(2)>\n"
            "\u20ac 5 \u201cq\u201d: 100% \"&amp;\"");

  // Every stored text comes back escaped (on a page that forbids scripts even if one escaped: the
  // policy is the site test's).
  const std::string reply = testing::Exchange(port(), "GET /viewinfo.asp?x=1 HTTP/1.1\r\n\r\n");
  EXPECT_NE(reply.find("Caf\u00e9 &lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&lt;img src=x "
                       "onerror=alert(2)&gt;\n\u20ac 5 \u201cq\u201d: 100% &quot;&amp;amp;&quot;"),
            std::string::npos)
      << reply;
  EXPECT_EQ(reply.find("<script"), std::string::npos);
  EXPECT_EQ(reply.find("<img"), std::string::npos);
  EXPECT_NE(reply.find("<title>Suggestions</title>"), std::string::npos);
  EXPECT_NE(reply.find("X-Content-Type-Options: nosniff"), std::string::npos);
  EXPECT_LT(reply.find("Caf\u00e9"), reply.find("the first one"));
  const std::string& at = rows[0].received_at;  // 2024-05-01T12:34:56.789Z
  EXPECT_NE(reply.find(at.substr(0, 10) + " " + at.substr(11, 5) + " UTC"), std::string::npos);
  EXPECT_EQ(reply.find("127.0.0.1"), std::string::npos) << "the address is for the operator";

  for (const std::string& page :
       {FetchPage(port(), "/ViewInfo.asp"), FetchPage(port(), "/"), FetchPage(port(), "/x")}) {
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n<html lang=\"en\">")) << page;
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("name=\"viewport\" content=\"width=device-width"), std::string::npos);
    EXPECT_TRUE(page.ends_with("</body>\n</html>\n"));
  }
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
  const std::string reply = testing::Exchange(port(), testing::ProgramRequest("lost?"));
  EXPECT_TRUE(reply.starts_with("HTTP/1.1 500 ")) << reply;
}

// One log line per connection; SIGTERM ends the server at once, even with a client connected
// that never sends anything.
TEST_F(ExchangeTest, LogsEachRequestAndStopsCleanlyOnSigterm) {
  StartServer({"--timeout", "600"});
  ASSERT_TRUE(PostAsProgram(port(), "kept"));
  FetchPage(port(), "/ViewInfo.asp");
  testing::Exchange(port(), "nonsense\n\n");
  const testing::LoopbackClient idle(port());
  server().Signal(SIGTERM);
  const std::optional<int> status = server().WaitForExit();
  ASSERT_TRUE(status) << "still running 10 s after SIGTERM";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;

  const std::string log = testing::ReadFile(this->log());
  std::size_t at = 0;
  for (const char* part :
       {" 127.0.0.1:", "\"POST http://127.0.0.1/sendinfo.asp\" legacy 200", "stored #1\n",
        "\"GET /ViewInfo.asp\" http 200", " 400 ", "malformed request line\n"}) {
    at = log.find(part, at);
    ASSERT_NE(at, std::string::npos) << part << " in order in\n" << log;
  }
  EXPECT_TRUE(log.ends_with("\nqup-suggestd: stopped\n"));
  // The idle client has a line of its own if the server took it before the signal.
  const auto lines = std::ranges::count(log, '\n');
  EXPECT_TRUE(lines == 4 || lines == 5) << log;
}

// A client half-way through its request when SIGTERM comes is still answered and its
// suggestion stored; nobody new is taken meanwhile, and the server then ends.
TEST_F(ExchangeTest, StoppingLetsARequestThatIsArrivingFinish) {
  StartServer({"--timeout", "10"});
  const std::string request = testing::ProgramRequest("arriving as the server stops");
  testing::LoopbackClient sending(port());
  ASSERT_TRUE(sending.Send(request.substr(0, 70)));
  ASSERT_TRUE(PostAsProgram(port(), "before the stop"));  // the server has read the first part
  server().Signal(SIGTERM);
  EXPECT_FALSE(server().WaitForExit(std::chrono::milliseconds(300))) << "ended mid-request";
  EXPECT_FALSE(PostAsProgram(port(), "after the stop"));
  ASSERT_TRUE(sending.Send(request.substr(70)));
  const std::optional<std::string> reply = sending.ReceiveUntilClosed();
  ASSERT_TRUE(reply);
  EXPECT_TRUE(reply->starts_with("HTTP/1.1 200 OK\r\n")) << *reply;
  const std::optional<int> status = server().WaitForExit();
  ASSERT_TRUE(status) << "still running after the last request";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
  EXPECT_EQ(Stored().size(), 2u);
}

// An IPv6 peer's address is bracketed in the log, apart from its port.
TEST_F(ExchangeTest, AnIpv6PeerIsLoggedInBracketsAndStoredWithout) {
  const int probe = socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in6 loopback{};
  loopback.sin6_family = AF_INET6;
  loopback.sin6_addr = in6addr_loopback;
  const bool ipv6 =
      probe >= 0 && bind(probe, reinterpret_cast<sockaddr*>(&loopback), sizeof loopback) == 0;
  if (probe >= 0) close(probe);
  if (!ipv6) GTEST_SKIP() << "this machine has no IPv6 loopback";
  StartServer({"--listen", "[::]:0"});
  ASSERT_TRUE(PostAsProgram(port(), "over IPv6", "::1"));
  EXPECT_TRUE(LogShows("Z [::1]:")) << testing::ReadFile(log());
  EXPECT_EQ(Stored().at(0).sender, "::1");
}

// Stopping waits for an arriving request no longer than its time-out.
TEST_F(ExchangeTest, StoppingWaitsForAStalledRequestOnlyUntilItsTimeout) {
  StartServer({"--timeout", "1"});
  testing::LoopbackClient stalled(port());
  ASSERT_TRUE(stalled.Send("POST http://127.0.0.1/sendinfo.asp\nContent-Length:50\n"));
  ASSERT_TRUE(PostAsProgram(port(), "read"));
  server().Signal(SIGTERM);
  const std::optional<int> status = server().WaitForExit();
  ASSERT_TRUE(status) << "still running 10 s after SIGTERM with a 1 s time-out";
  EXPECT_EQ(stalled.ReceiveUntilClosed().value_or("(open)"), "");
  EXPECT_TRUE(LogShows("legacy - ")) << testing::ReadFile(log());
}

}  // namespace
}  // namespace qup::server
