// SPDX-License-Identifier: MIT
// Hostile and broken clients: refused or timed out, nothing stored, and others still served.
#include <gtest/gtest.h>

#include <thread>

#include "server/legacy_request.h"
#include "server/tests/support/server_fixture.h"
#include "suggest/suggestion_request.h"

namespace qup::server {
namespace {

using testing::LoopbackClient;

std::string ProgramRequest(std::string_view text) {
  const auto bytes =
      qup::suggest::ComposeRequest("127.0.0.1", qup::suggest::EncodeSuggestion(text));
  return std::string(bytes.data(), bytes.size());
}

// A request text of the program's form with the given head lines and body, padded as it pads.
std::string LegacyForm(std::string_view head, std::string_view body) {
  std::string request = "POST http://127.0.0.1/sendinfo.asp\n" + std::string(head) + "\n\n" +
                        std::string(body) + '\0';
  request.resize(std::max(request.size(), kLegacyRequestLimit), '\0');
  return request;
}

class HostileInputTest : public testing::ServerFixture {};

TEST_F(HostileInputTest, MarkupAndScriptComeBackEscaped) {
  StartServer();
  ASSERT_TRUE(testing::PostAsProgram(
      port(), "<script>alert('x')</script><b>bold</b><img src=x onerror=alert(2)> &amp;"));
  const std::string page = testing::FetchPage(port(), "/ViewInfo.asp");
  EXPECT_EQ(page.find("<script"), std::string::npos) << page;
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_EQ(page.find("<img"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&lt;b&gt;bold&lt;/b&gt;"
                      "&lt;img src=x onerror=alert(2)&gt; &amp;amp;"),
            std::string::npos)
      << page;
}

TEST_F(HostileInputTest, PagesForbidScriptsEvenIfEscapingFailed) {
  StartServer();
  const std::string reply =
      testing::Exchange(port(), "GET /ViewInfo.asp HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_NE(reply.find("Content-Security-Policy: default-src 'none'"), std::string::npos) << reply;
  EXPECT_NE(reply.find("X-Content-Type-Options: nosniff"), std::string::npos);
}

struct RefusalRow {
  const char* name;
  std::string request;
  const char* status_line;
};

class RefusedRequestTest : public testing::ServerFixture,
                           public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(RefusedRequestTest, IsRefusedAndTheServerGoesOn) {
  StartServer({"--timeout", "1"});
  const std::string reply = testing::Exchange(port(), GetParam().request);
  EXPECT_TRUE(reply.starts_with(GetParam().status_line)) << reply.substr(0, 200);
  EXPECT_TRUE(Stored().empty());
  EXPECT_TRUE(testing::PostAsProgram(port(), "still here"));
  EXPECT_EQ(Stored().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedRequestTest,
    ::testing::Values(
        RefusalRow{"program_form_over_1280_bytes", ProgramRequest("x") + std::string(300, 'y'),
                   "HTTP/1.1 413 "},
        RefusalRow{"length_beyond_the_bound", LegacyForm("Content-Length:5000", "text=abc"),
                   "HTTP/1.1 413 "},
        RefusalRow{"endless_request_line", std::string(5000, 'A'), "HTTP/1.1 413 "},
        RefusalRow{"malformed_request_line", "HELLO THERE GENERAL KENOBI\r\n\r\n", "HTTP/1.1 400 "},
        RefusalRow{"binary_request_line", std::string("\x16\x03\x01\x00\xa5\x01\n", 7),
                   "HTTP/1.1 400 "},
        RefusalRow{"body_shorter_than_its_length", LegacyForm("Content-Length:60", "text=abc"),
                   "HTTP/1.1 400 "},
        RefusalRow{"body_longer_than_its_length", LegacyForm("Content-Length:8", "text=abcdefgh"),
                   "HTTP/1.1 400 "},
        RefusalRow{"no_content_length", LegacyForm("Content-Type: text/plain", "text=abc"),
                   "HTTP/1.1 411 "},
        RefusalRow{"broken_escape", LegacyForm("Content-Length:8", "text=%G1"), "HTTP/1.1 400 "},
        RefusalRow{"no_text_field", LegacyForm("Content-Length:7", "words=a"), "HTTP/1.1 400 "},
        RefusalRow{"empty_text", LegacyForm("Content-Length:5", "text="), "HTTP/1.1 400 "},
        RefusalRow{"post_to_another_page",
                   "POST http://127.0.0.1/ViewInfo.asp\nContent-Length:8\n\ntext=abc",
                   "HTTP/1.1 404 "},
        RefusalRow{"browser_headers_too_large",
                   "GET /ViewInfo.asp HTTP/1.1\r\nHost: x\r\nX-Pad: " + std::string(5000, 'p') +
                       "\r\n\r\n",
                   "HTTP/1.1 413 "},
        RefusalRow{"browser_body_too_large",
                   "POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 4000\r\n\r\ntext=" +
                       std::string(3995, 'a'),
                   "HTTP/1.1 413 "},
        RefusalRow{"browser_get_of_the_post_page", "GET /sendinfo.asp HTTP/1.1\r\nHost: x\r\n\r\n",
                   "HTTP/1.1 405 "},
        RefusalRow{"unknown_page", "GET /admin HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 404 "},
        RefusalRow{"delete_the_list", "DELETE /ViewInfo.asp HTTP/1.1\r\nHost: x\r\n\r\n",
                   "HTTP/1.1 405 "}),
    [](const auto& info) { return std::string(info.param.name); });

// A client that connects and sends nothing is dropped at the time-out; meanwhile, and after,
// others are served as usual.
TEST_F(HostileInputTest, SilentClientTimesOutWhileOthersAreServed) {
  StartServer({"--timeout", "0.5"});
  LoopbackClient silent;
  ASSERT_TRUE(silent.Connect(port()));
  EXPECT_TRUE(testing::PostAsProgram(port(), "while one waits"));
  EXPECT_TRUE(silent.WaitForClose(std::chrono::seconds(10)));
  EXPECT_TRUE(testing::PostAsProgram(port(), "after it left"));
  EXPECT_EQ(Stored().size(), 2u);
}

// A body that stops short of its Content-Length and never goes on is dropped at the
// time-out, and nothing of it is stored.
TEST_F(HostileInputTest, BodyThatNeverCompletesIsDroppedUnstored) {
  StartServer({"--timeout", "0.5"});
  for (const std::string& request :
       {std::string("POST http://127.0.0.1/sendinfo.asp\nContent-Length:50\n\ntext=abc"),
        std::string("POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 50\r\n\r\n"
                    "text=abc")}) {
    LoopbackClient client;
    ASSERT_TRUE(client.Connect(port()));
    ASSERT_TRUE(client.Send(request));
    EXPECT_TRUE(client.WaitForClose(std::chrono::seconds(10))) << request;
  }
  EXPECT_TRUE(Stored().empty());
}

// Sending a byte now and then does not hold the connection open: the time-out covers the
// whole request.
TEST_F(HostileInputTest, TricklingClientIsCutOffAtTheTimeOut) {
  StartServer({"--timeout", "0.5"});
  const std::string request = ProgramRequest("slowly");
  LoopbackClient slow;
  ASSERT_TRUE(slow.Connect(port()));
  bool closed = false;
  for (std::size_t i = 0; i < 60 && !closed; ++i) {
    closed = !slow.Send(request.substr(i, 1)) || slow.WaitForClose(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(closed) << "still connected after 6 s";
  EXPECT_TRUE(Stored().empty());
}

TEST_F(HostileInputTest, TurnsAwayClientsBeyondTheCap) {
  StartServer({"--max-clients", "2", "--timeout", "10"});
  LoopbackClient first;
  LoopbackClient second;
  ASSERT_TRUE(first.Connect(port()));
  ASSERT_TRUE(second.Connect(port()));
  const std::string reply = testing::Exchange(port(), "GET / HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_TRUE(reply.starts_with("HTTP/1.1 503 ")) << reply;
  first.Close();
  second.Close();
  // The two are gone once the server has seen them close; give it a bounded moment.
  bool served = false;
  for (int attempt = 0; attempt < 50 && !served; ++attempt) {
    served = testing::PostAsProgram(port(), "room again");
    if (!served) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(served);
}

}  // namespace
}  // namespace qup::server
