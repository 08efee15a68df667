// SPDX-License-Identifier: MIT
// One client cannot shut out the others: connections and posts per address, the request
// line's time-out, and the address behind a trusted reverse proxy.
#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#include "server/tests/support/server_fixture.h"

namespace qup::server {
namespace {

using testing::LoopbackClient;
using testing::PostAsProgram;

// Another client: the server listens on 127.0.0.1, and all of 127/8 reaches it.
constexpr const char* kOtherClient = "127.0.0.2";

class ClientGuardTest : public testing::ServerFixture {};

// More idle connections than the server has slots, all from one address: that address gets
// its few, the rest are turned away at once, and another client is still served.
TEST_F(ClientGuardTest, IdleConnectionsFromOneAddressLeaveRoomForOthers) {
  StartServer({"--timeout", "60", "--line-timeout", "60"});
  constexpr int kIdle = 300;
  std::vector<std::unique_ptr<LoopbackClient>> idle;
  idle.reserve(kIdle);
  for (int i = 0; i < kIdle; ++i)
    idle.push_back(std::make_unique<LoopbackClient>(port(), kOtherClient));
  ASSERT_TRUE(idle.back()->Connected()) << "cannot connect from " << kOtherClient;
  EXPECT_TRUE(PostAsProgram(port(), "still served")) << testing::ReadFile(log());
  // The ninth and later connections of that address got their refusal without waiting.
  const std::optional<std::string> refused = idle.back()->ReceiveUntilClosed();
  ASSERT_TRUE(refused) << "the 300th idle connection is still open";
  EXPECT_TRUE(refused->starts_with("HTTP/1.1 503 ")) << *refused;
  EXPECT_TRUE(LogShows("too many connections from this address"));
}

// A connection without a whole request line at the line time-out is dropped without a reply.
// Past that time a client must keep sending at a minimum rate: one that sent its first lines
// and then waits is dropped long before the request's time-out.
TEST_F(ClientGuardTest, SlowClientsAreDroppedAtTheLineTimeoutOrBelowTheMinimumRate) {
  StartServer({"--timeout", "60", "--line-timeout", "0.3"});
  LoopbackClient silent(port());
  LoopbackClient headless(port());
  LoopbackClient stalled(port());
  ASSERT_TRUE(headless.Send("POST http://127.0.0.1/send"));  // no line feed ever comes
  ASSERT_TRUE(stalled.Send("POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\n"));
  for (LoopbackClient* client : {&silent, &headless, &stalled}) {
    const std::optional<std::string> reply = client->ReceiveUntilClosed();
    ASSERT_TRUE(reply) << "still open long after the line time-out";
    EXPECT_EQ(*reply, "") << "dropped without a reply";
  }
  EXPECT_TRUE(LogShows("\"POST http://127.0.0.1/send\" - - ")) << testing::ReadFile(log());
  EXPECT_TRUE(LogShows("dropped: sending too slowly"));
  // A request whose line came in time has the whole time-out for the rest.
  LoopbackClient slow(port());
  const std::string request = testing::ProgramRequest("slow but steady");
  ASSERT_TRUE(slow.Send(request.substr(0, 60)));
  EXPECT_FALSE(slow.ReceiveUntilClosed(std::chrono::milliseconds(800)));
  ASSERT_TRUE(slow.Send(request.substr(60)));
  EXPECT_TRUE(slow.ReceiveUntilClosed().value_or("").starts_with("HTTP/1.1 200 OK\r\n"));
}

// Clients from many addresses that send a request line and then (next to) nothing cannot
// hold the slots: with none free, the one that sent least for its age makes room.
TEST_F(ClientGuardTest, ANewcomerTakesTheSlotOfTheClientThatSentLeastWhenAllAreTaken) {
  StartServer(
      {"--max-clients", "4", "--max-per-client", "1", "--timeout", "60", "--line-timeout", "60"});
  std::vector<std::unique_ptr<LoopbackClient>> holders;
  for (const char* from : {"127.0.0.11", "127.0.0.12", "127.0.0.13", "127.0.0.14"}) {
    holders.push_back(std::make_unique<LoopbackClient>(port(), from));
    ASSERT_TRUE(holders.back()->Send(from == std::string_view("127.0.0.12")
                                         ? "POST /sendinfo.asp HTTP/1.1\r\n"
                                         : "POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\n"));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));  // old enough to be dropped
  // An address over its own share is refused, and drops no one.
  EXPECT_TRUE(testing::Exchange(port(), "GET / HTTP/1.1\r\n\r\n", "127.0.0.11")
                  .starts_with("HTTP/1.1 503 "));
  EXPECT_FALSE(holders[1]->ReceiveUntilClosed(std::chrono::milliseconds(300)));
  EXPECT_TRUE(PostAsProgram(port(), "served although full", kOtherClient))
      << testing::ReadFile(log());
  EXPECT_EQ(holders[1]->ReceiveUntilClosed().value_or("(open)"), "") << "it had sent least";
  EXPECT_TRUE(LogShows("dropped for a newcomer"));
  const std::string logged = testing::ReadFile(log());
  EXPECT_EQ(logged.find("dropped for a newcomer"), logged.rfind("dropped for a newcomer"))
      << "one dropped for one newcomer:\n"
      << logged;
}

// Beyond the limit a post is refused with a status the program reports as a failure, and
// nothing is stored; other addresses post on.
TEST_F(ClientGuardTest, PostsBeyondTheLimitPerAddressAreRefusedAndNotStored) {
  StartServer({"--post-limit", "3", "--post-window", "3600"});
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(PostAsProgram(port(), "allowed " + std::to_string(i)));
  const std::string refused = testing::Exchange(port(), testing::ProgramRequest("one too many"));
  EXPECT_TRUE(refused.starts_with("HTTP/1.1 429 Too Many Requests\r\n")) << refused;
  EXPECT_NE(refused.find("Retry-After: 3"), std::string::npos) << "about an hour, in seconds";
  EXPECT_TRUE(PostAsProgram(port(), "from elsewhere", kOtherClient));
  const auto rows = Stored();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_TRUE(LogShows("legacy 429 "));
}

TEST_F(ClientGuardTest, PostsAreAllowedAgainOnceTheWindowHasPassed) {
  StartServer({"--post-limit", "1", "--post-window", "1"});
  EXPECT_TRUE(PostAsProgram(port(), "first"));
  EXPECT_FALSE(PostAsProgram(port(), "too soon"));
  bool again = false;
  for (int attempt = 0; attempt < 40 && !again; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    again = PostAsProgram(port(), "later");
  }
  EXPECT_TRUE(again);
  EXPECT_EQ(Stored().size(), 2u);
}

std::string ProxiedPost(std::string_view text, std::string_view forwarded_for) {
  const std::string body = "text=" + std::string(text);
  return "POST /sendinfo.asp HTTP/1.1\r\nHost: x\r\nX-Forwarded-For: " +
         std::string(forwarded_for) + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n\r\n" + body;
}

// The client named by a trusted proxy is the one limited and stored; anyone else's
// X-Forwarded-For is ignored. Only the address the proxy added counts: the last of the last
// line, as a client may send a line of its own before the proxy's.
TEST_F(ClientGuardTest, ForwardedAddressIsBelievedOnlyFromTheTrustedProxy) {
  StartServer({"--trust-proxy", "127.0.0.1", "--post-limit", "1"});
  for (const char* client :
       {"203.0.113.5", "198.51.100.7\r\nX-Forwarded-For: 10.0.0.1, 203.0.113.6"}) {
    EXPECT_TRUE(
        testing::Exchange(port(), ProxiedPost("proxied", client)).starts_with("HTTP/1.1 200 OK"));
  }
  EXPECT_TRUE(testing::Exchange(
                  port(), ProxiedPost("again", "198.51.100.2\r\nX-Forwarded-For: 203.0.113.5"))
                  .starts_with("HTTP/1.1 429 "));
  EXPECT_TRUE(testing::Exchange(port(), ProxiedPost("not a proxy", "203.0.113.9"), kOtherClient)
                  .starts_with("HTTP/1.1 200 OK"));
  const auto rows = Stored();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].sender, kOtherClient);
  EXPECT_EQ(rows[1].sender, "203.0.113.6");
  EXPECT_EQ(rows[2].sender, "203.0.113.5");
  EXPECT_TRUE(LogShows(" 203.0.113.5 via 127.0.0.1:"));
}

// On a dual-stack listener IPv4 peers show as ::ffff:a.b.c.d: the proxy, however the option
// names it, is still trusted, and clients are limited and stored as plain IPv4 addresses.
TEST_F(ClientGuardTest, DualStackListenerReadsIpv4MappedAddressesAsIpv4) {
  for (const char* proxy : {"127.0.0.1", "::ffff:127.0.0.1"}) {
    StartServer({"--listen", "[::]:0", "--trust-proxy", proxy});
    const std::string reply =
        testing::Exchange(port(), ProxiedPost("proxied", "::ffff:203.0.113.5"));
    EXPECT_TRUE(reply.starts_with("HTTP/1.1 200 OK")) << reply;
    ASSERT_EQ(Stored().at(0).sender, "203.0.113.5") << proxy;
  }
  EXPECT_TRUE(PostAsProgram(port(), "direct", kOtherClient));
  EXPECT_EQ(Stored().at(0).sender, kOtherClient);
  EXPECT_TRUE(LogShows(" 203.0.113.5 via 127.0.0.1:"));
}

}  // namespace
}  // namespace qup::server
