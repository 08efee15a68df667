// SPDX-License-Identifier: MIT
// Hostile and broken clients: refused or timed out, nothing stored, and others still served.
#include <gtest/gtest.h>

#include <thread>

#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

using testing::PostAsProgram;
using testing::ProgramRequest;

// A request of the program's form with the given head lines and body, padded as it pads.
std::string LegacyForm(std::string_view head, std::string_view body) {
  std::string request = "POST http://127.0.0.1/sendinfo.asp\n" + std::string(head) + "\n\n" +
                        std::string(body) + '\0';
  request.resize(std::max<std::size_t>(request.size(), 1280), '\0');
  return request;
}

class HostileInputTest : public testing::ServerFixture {};

TEST_F(HostileInputTest, MarkupComesBackEscapedOnAPageThatForbidsScripts) {
  StartServer();
  ASSERT_TRUE(PostAsProgram(
      port(), "<script>alert('x')</script><b>bold</b><img src=x onerror=alert(2)> \"q\" &amp;"));
  const std::string reply =
      testing::Exchange(port(), "GET /ViewInfo.asp HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_NE(reply.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&lt;b&gt;bold&lt;/b&gt;"
                       "&lt;img src=x onerror=alert(2)&gt; &quot;q&quot; &amp;amp;"),
            std::string::npos)
      << reply;
  for (const char* markup : {"<script", "<b>", "<img"}) {
    EXPECT_EQ(reply.find(markup), std::string::npos) << markup;
  }
  EXPECT_NE(reply.find("Content-Security-Policy: default-src 'none'"), std::string::npos);
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
  EXPECT_TRUE(PostAsProgram(port(), "still here"));
  EXPECT_EQ(Stored().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedRequestTest,
    ::testing::Values(
        RefusalRow{"program_form_over_1280_bytes", ProgramRequest("x") + std::string(300, 'y'),
                   "HTTP/1.1 413 "},
        RefusalRow{"endless_request_line", std::string(5000, 'A'), "HTTP/1.1 413 "},
        RefusalRow{"malformed_request_line", "HELLO THERE GENERAL KENOBI\r\n\r\n", "HTTP/1.1 400 "},
        RefusalRow{"body_shorter_than_its_length", LegacyForm("Content-Length:60", "text=abc"),
                   "HTTP/1.1 400 "},
        RefusalRow{"body_longer_than_its_length", LegacyForm("Content-Length:8", "text=abcdefgh"),
                   "HTTP/1.1 400 "},
        RefusalRow{"no_content_length", LegacyForm("Content-Type: text/plain", "text=abc"),
                   "HTTP/1.1 411 "},
        RefusalRow{"broken_escape", LegacyForm("Content-Length:8", "text=%G1"), "HTTP/1.1 400 "},
        RefusalRow{"no_text_field", LegacyForm("Content-Length:9", "texts=abc"), "HTTP/1.1 400 "},
        RefusalRow{"empty_text", LegacyForm("Content-Length:5", "text="), "HTTP/1.1 400 "},
        RefusalRow{"post_to_another_page",
                   "POST http://127.0.0.1/ViewInfo.asp\nContent-Length:8\n\ntext=abc",
                   "HTTP/1.1 404 "},
        RefusalRow{"browser_headers_too_large",
                   "GET / HTTP/1.1\r\nHost: x\r\nX-Pad: " + std::string(5000, 'p') + "\r\n\r\n",
                   "HTTP/1.1 413 "},
        RefusalRow{"browser_body_too_large",
                   "POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 4000\r\n\r\ntext=" +
                       std::string(3995, 'a'),
                   "HTTP/1.1 413 "},
        RefusalRow{"browser_get_of_the_post_page", "GET /sendinfo.asp HTTP/1.1\r\nHost: x\r\n\r\n",
                   "HTTP/1.1 405 "},
        RefusalRow{"unknown_page", "GET /admin HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 404 "}),
    [](const auto& info) { return std::string(info.param.name); });

struct StallRow {
  const char* name;
  std::string request;
  bool trickle;  // a byte now and then: the time-out covers the whole request
};

class StalledClientTest : public testing::ServerFixture,
                          public ::testing::WithParamInterface<StallRow> {};

// A client that never completes its request is dropped at the time-out with nothing of it
// stored, while others are served meanwhile and after.
TEST_P(StalledClientTest, IsDroppedAtTheTimeOutWhileOthersAreServed) {
  StartServer({"--timeout", "0.5"});
  testing::LoopbackClient stalled(port());
  ASSERT_TRUE(stalled.Send(GetParam().trickle ? "" : GetParam().request));
  EXPECT_TRUE(PostAsProgram(port(), "while one waits"));
  bool closed = false;
  for (std::size_t i = 0; GetParam().trickle && i < 60 && !closed; ++i) {
    closed = !stalled.Send(GetParam().request.substr(i, 1)) ||
             stalled.ReceiveUntilClosed(std::chrono::milliseconds(100)).has_value();
  }
  EXPECT_TRUE(GetParam().trickle ? closed : stalled.ReceiveUntilClosed().has_value());
  EXPECT_TRUE(PostAsProgram(port(), "after it left"));
  EXPECT_EQ(Stored().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StalledClientTest,
    ::testing::Values(
        StallRow{"silent", "", false},
        StallRow{"program_form_body_never_completes",
                 "POST http://127.0.0.1/sendinfo.asp\nContent-Length:50\n\ntext=abc", false},
        StallRow{"browser_body_never_completes",
                 "POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 50\r\n\r\ntext=abc",
                 false},
        StallRow{"trickling", ProgramRequest("slowly"), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileInputTest, TurnsAwayClientsBeyondTheCap) {
  StartServer({"--max-clients", "2", "--timeout", "10"});
  {
    const testing::LoopbackClient first(port());
    const testing::LoopbackClient second(port());
    const std::string reply = testing::Exchange(port(), "GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_TRUE(reply.starts_with("HTTP/1.1 503 ")) << reply;
  }
  // The two are gone once the server has seen them close; give it a bounded moment.
  bool served = false;
  for (int attempt = 0; attempt < 50 && !served; ++attempt) {
    served = PostAsProgram(port(), "room again");
    if (!served) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(served);
}

}  // namespace
}  // namespace qup::server
