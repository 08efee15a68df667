// SPDX-License-Identifier: MIT
// Hostile and broken clients: refused or timed out, nothing stored, and others still served.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "server/legacy_request.h"
#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

using testing::PostAsProgram;

// A request of the program's form with the given head lines and body, padded as it pads.
std::string LegacyForm(std::string_view head, std::string_view body) {
  std::string request = "POST http://127.0.0.1/sendinfo.asp\n" + std::string(head) + "\n\n" +
                        std::string(body) + '\0';
  request.resize(std::max(request.size(), kLegacyRequestLimit), '\0');
  return request;
}

struct BadRequestRow {
  const char* name;
  std::string request;
  const char* status_line;  // empty: dropped at the time-out without a reply
  // What the log says of it: the request line as it came, escaped, with kind and status.
  std::string logged;
  bool trickle = false;  // sent a byte now and then: the time-out covers the whole request
};

// Failures name the row, not the bytes of its parameter.
void PrintTo(const BadRequestRow& row, std::ostream* out) { *out << row.name; }

class BadRequestTest : public testing::ServerFixture,
                       public ::testing::WithParamInterface<BadRequestRow> {};

TEST_P(BadRequestTest, IsRefusedOrDroppedUnstoredWhileOthersAreServed) {
  StartServer({"--timeout", "0.5"});
  testing::LoopbackClient client(port());
  client.Send(GetParam().trickle ? "" : GetParam().request);  // a refusal may cut it short
  EXPECT_TRUE(PostAsProgram(port(), "while one waits"));
  bool closed = !GetParam().trickle;
  for (std::size_t i = 0; !closed && i < 60; ++i) {
    closed = !client.Send(GetParam().request.substr(i, 1)) ||
             client.ReceiveUntilClosed(std::chrono::milliseconds(100)).has_value();
  }
  EXPECT_TRUE(closed) << "still connected after 6 s of trickling";
  const std::optional<std::string> reply = client.ReceiveUntilClosed();
  ASSERT_TRUE(reply) << "still connected";
  EXPECT_EQ(reply->substr(0, std::strlen(GetParam().status_line)), GetParam().status_line);
  EXPECT_TRUE(*GetParam().status_line != '\0' || reply->empty()) << *reply;
  EXPECT_TRUE(PostAsProgram(port(), "after it"));
  EXPECT_EQ(Stored().size(), 2u);
  EXPECT_TRUE(LogShows(GetParam().logged)) << testing::ReadFile(log());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadRequestTest,
    ::testing::Values(
        BadRequestRow{"program_form_over_1280_bytes",
                      testing::ProgramRequest("x") + std::string(300, 'y'), "HTTP/1.1 413 ",
                      "\"POST http://127.0.0.1/sendinfo.asp\" legacy 413 "},
        BadRequestRow{"endless_request_line", std::string(5000, 'A'), "HTTP/1.1 413 ",
                      "\"" + std::string(200, 'A') + "...\" - 413 "},
        BadRequestRow{"malformed_request_line", "HELLO THERE GENERAL KENOBI\r\n\r\n",
                      "HTTP/1.1 400 ", "\"HELLO THERE GENERAL KENOBI\" - 400 "},
        BadRequestRow{"body_shorter_than_its_length", LegacyForm("Content-Length:60", "text=abc"),
                      "HTTP/1.1 400 ", "\"POST http://127.0.0.1/sendinfo.asp\" legacy 400 "},
        BadRequestRow{"body_longer_than_its_length",
                      LegacyForm("Content-Length:8", "text=abcdefgh"), "HTTP/1.1 400 ",
                      "\"POST http://127.0.0.1/sendinfo.asp\" legacy 400 "},
        BadRequestRow{"no_content_length", LegacyForm("Content-Type: text/plain", "text=abc"),
                      "HTTP/1.1 411 ", "\"POST http://127.0.0.1/sendinfo.asp\" legacy 411 "},
        BadRequestRow{"broken_escape", LegacyForm("Content-Length:8", "text=%G1"), "HTTP/1.1 400 ",
                      "\"POST http://127.0.0.1/sendinfo.asp\" legacy 400 "},
        BadRequestRow{"no_text_field", LegacyForm("Content-Length:9", "texts=abc"), "HTTP/1.1 400 ",
                      "\"POST http://127.0.0.1/sendinfo.asp\" legacy 400 "},
        BadRequestRow{"empty_text", LegacyForm("Content-Length:5", "text="), "HTTP/1.1 400 ",
                      "\"POST http://127.0.0.1/sendinfo.asp\" legacy 400 "},
        BadRequestRow{"post_to_another_page",
                      "POST http://127.0.0.1/ViewInfo.asp\nContent-Length:8\n\ntext=abc",
                      "HTTP/1.1 404 ", "\"POST http://127.0.0.1/ViewInfo.asp\" legacy 404 "},
        BadRequestRow{"browser_headers_too_large",
                      "GET / HTTP/1.1\r\nX-Pad: " + std::string(5000, 'p') + "\r\n\r\n",
                      "HTTP/1.1 413 ", "\"GET / HTTP/1.1\" http 413 "},
        BadRequestRow{"browser_headers_too_large_in_small_lines",
                      "GET / HTTP/1.1\r\n" +
                          [] {
                            std::string lines;
                            for (int i = 0; i < 2000; ++i) lines += "X-A: b\r\n";
                            return lines;
                          }() +
                          "\r\n",
                      "HTTP/1.1 413 ", "\"GET / HTTP/1.1\" http 413 "},
        BadRequestRow{"transfer_coding_not_chunked_beside_a_length",
                      "POST /sendinfo.asp HTTP/1.1\r\nTransfer-Encoding: xchunked\r\n"
                      "Content-Length: 8\r\n\r\ntext=abc",
                      "HTTP/1.1 400 ", "\"POST /sendinfo.asp HTTP/1.1\" http 400 "},
        BadRequestRow{"folded_header_line",
                      "POST /sendinfo.asp HTTP/1.1\r\nContent-Length: 8\r\nX-A: b\r\n c\r\n\r\n"
                      "text=abc",
                      "HTTP/1.1 400 ", "\"POST /sendinfo.asp HTTP/1.1\" http 400 "},
        BadRequestRow{"browser_body_too_large",
                      "POST /sendinfo.asp HTTP/1.1\r\nContent-Length: 4000\r\n\r\ntext=" +
                          std::string(3995, 'a'),
                      "HTTP/1.1 413 ", "\"POST /sendinfo.asp HTTP/1.1\" http 413 "},
        BadRequestRow{"silent_client", "", "", "\"-\" - - "},
        BadRequestRow{"browser_body_never_completes",
                      "POST /sendinfo.asp HTTP/1.1\r\nContent-Length: 50\r\n\r\ntext=abc", "",
                      "\"POST /sendinfo.asp HTTP/1.1\" http - "},
        BadRequestRow{"trickling_client", testing::ProgramRequest("slowly"), "", " \"P", true}),
    [](const auto& info) { return std::string(info.param.name); });

class ClientCapTest : public testing::ServerFixture {};

// A refused client's request is read before its connection closes: closing on unread bytes
// would reset it, and a reset can make the client drop the reply before reading it.
TEST_F(ClientCapTest, ARefusedClientGetsItsReplyAndAnOrderlyClose) {
  StartServer({"--max-clients", "1"});
  const testing::LoopbackClient holder(port());
  for (int i = 0; i < 5; ++i) {
    testing::LoopbackClient refused(port());
    ASSERT_TRUE(refused.Send(testing::ProgramRequest("refused")));
    EXPECT_TRUE(refused.ReceiveUntilClosed().value_or("").starts_with("HTTP/1.1 503 "));
    EXPECT_FALSE(refused.WasReset()) << i;
  }
}

// Under attack a line per refused connection would flood the log: the first of an address is
// logged, the others are counted in one line.
TEST_F(ClientCapTest, RefusalsAreLoggedOncePerAddressAndTheRestCounted) {
  StartServer({"--max-per-client", "1"});
  const testing::LoopbackClient holder(port(), "127.0.0.2");
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(testing::Exchange(port(), "GET / HTTP/1.1\r\n\r\n", "127.0.0.2")
                    .starts_with("HTTP/1.1 503 "));
  }
  server().Signal(SIGTERM);  // the count is told at the interval's end, or at the stop
  ASSERT_TRUE(server().WaitForExit());
  const std::string logged = testing::ReadFile(log());
  EXPECT_NE(logged.find(" 127.0.0.2 refused 4 more connections within 10s: too many "
                        "connections from this address\n"),
            std::string::npos)
      << logged;
  EXPECT_EQ(logged.find(" 503 "), logged.rfind(" 503 ")) << "one line of the five:\n" << logged;
}

}  // namespace
}  // namespace qup::server
