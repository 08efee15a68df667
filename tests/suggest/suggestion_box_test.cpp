// SPDX-License-Identifier: MIT
// The Suggestions page of the main window as a user meets it: the placeholder, View, and Send
// against a real server on 127.0.0.1 that records the exact bytes and answers as each case needs.
// (Typing past the limit is the transcript tests/acceptance/suggest/suggest_limit.)
#include "suggest/suggestion_box.h"

#include <gtest/gtest.h>

#include <string>

#include "suggest/system_network.h"
#include "tests/suggest/local_server.h"
#include "tests/support/main_dialog_fixture.h"
#include "ui/control_ids.h"
#include "ui/platform/memory/memory_platform.h"

namespace qup::suggest {
namespace {

using testing::kLoopback;
using testing::LocalServer;
using Mode = LocalServer::Mode;

std::string Shown(std::string_view text, std::string_view caption, int type) {
  return std::string(caption) + " (" + std::to_string(type) + "): " + std::string(text);
}

const std::string kSuccessText =
    "Your message has been sent and received.\nThank you for your submission.\n\n"
    "If you would like to view your posting and what others\nhave submitted, please press the "
    "\"OK\" button\nand then the \"View\" button.\n\nThank you,\n" +
    std::string(SiteDisplayName);
const std::string kConfirmed = Shown(kSuccessText, "127.0.0.1", 64);
const std::string kNotConfirmed = Shown("An error occured", "127.0.0.1", 16);
const std::string kCannotConnect = Shown("Cannot connect to the host", "ERROR", 16);
const std::string kPleaseType = Shown("Please type the message", "ERROR", 48);
const std::string kRestart = Shown(
    "If you would like to send another Suggestion,\nyou will need to first re-start the Utility "
    "Program.",
    "Please re-start", 48);
constexpr std::chrono::milliseconds kShortTimeout{300};

// Hands every call to the network the test points it at: one window meets several servers.
class Relay : public Network {
 public:
  Network* to = nullptr;
  bool Startup() override { return to->Startup(); }
  void Cleanup() override { to->Cleanup(); }
  Socket OpenStreamSocket() override { return to->OpenStreamSocket(); }
  std::optional<std::uint32_t> Resolve(std::string_view host) override { return to->Resolve(host); }
  bool Connect(Socket s, std::uint32_t a, std::uint16_t p) override { return to->Connect(s, a, p); }
  long Send(Socket s, std::span<const char> d) override { return to->Send(s, d); }
  long Receive(Socket s, std::span<char> b) override { return to->Receive(s, b); }
  int LastError() const override { return to->LastError(); }
  void Close(Socket s) override { to->Close(s); }
};

class SuggestionsPageTest : public test_support::MainDialogFixture {
 protected:
  // The main window open on the Suggestions page, taking the user's actions until the end.
  void SetUp() override {
    ResetSuggestionCounters();
    Open(registry_, relay_);
    ASSERT_TRUE(window().PickTab(ui::kTabControl, ui::kSuggestionsPage));
  }

  // The user clicks into the box and types text after whatever it shows.
  void Type(std::string_view text) { ASSERT_TRUE(window().Type(ui::kSuggestionEdit, text)); }
  std::string BoxText() const { return Text(ui::kSuggestionEdit); }

  void SendThrough(Network& network) {
    relay_.to = &network;
    ASSERT_TRUE(window().Click(ui::kSendButton));
  }
  void SendTo(const LocalServer& server,
              std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    SystemNetwork network(
        {.resolve_to = kLoopback, .port_override = server.port(), .timeout = timeout});
    SendThrough(network);
  }

  // The message boxes shown so far, each owned by the window, which takes no input meanwhile.
  std::vector<std::string> Messages() const {
    std::vector<std::string> shown;
    for (const auto& box : platform_.message_boxes()) {
      shown.push_back(Shown(box.text, box.caption, box.type) + (box.owned ? "" : " (no owner)"));
    }
    return shown;
  }

  Relay relay_;
};

// --- The request byte for byte, the reply, once per run and again after a failure ---

struct ExchangeRow {
  const char* name;
  std::string typed;
  std::string body;
  std::vector<std::string> packets;
  bool confirmed;
};

ExchangeRow Typed(const char* name, std::string typed, std::string body) {
  return {name, std::move(typed), std::move(body), {"HTTP/1.1 200 OK\r\n\r\n"}, true};
}
ExchangeRow Reply(const char* name, std::vector<std::string> packets, bool confirmed) {
  return {name, "Hello", "text=Hello", std::move(packets), confirmed};
}

class ExchangeTest : public SuggestionsPageTest,
                     public ::testing::WithParamInterface<ExchangeRow> {};

TEST_P(ExchangeTest, ServerGetsTheWholeRequestAndOnlyTheStatusInTheFirstBytesConfirmsOnce) {
  LocalServer server(GetParam().packets);
  Type(GetParam().typed);
  SendTo(server);
  SendTo(server);
  const std::string text =
      "POST http://" + std::string(SubmissionHost) +
      "/sendinfo.asp\nContent-Length:" + std::to_string(GetParam().body.size()) +
      "\nContent-Type: application/x-www-form-urlencoded\n\n" + GetParam().body;
  const bool confirmed = GetParam().confirmed;
  const std::vector<std::string> requests = server.requests();
  ASSERT_EQ(requests.size(), confirmed ? 1u : 2u) << "once per run; again after a failure";
  ASSERT_EQ(requests[0].size(), 1280u) << "all of the buffer goes, and nothing more";
  EXPECT_EQ(requests[0].substr(0, text.size()), text);
  EXPECT_EQ(requests[0].substr(text.size()), std::string(1280 - text.size(), '\0'));
  EXPECT_EQ(Messages(), (std::vector{confirmed ? kConfirmed : kNotConfirmed,
                                     confirmed ? kRestart : kNotConfirmed}));
  EXPECT_EQ(SuggestionsSent, confirmed ? 1 : 0);
  EXPECT_EQ(BoxText(), GetParam().typed) << "the box keeps its text";
  EXPECT_EQ(platform_.wait_cursor_depth(), 0) << "the busy cursor is gone";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ExchangeTest,
    ::testing::Values(
        Typed("greeting", "Hi there!", "text=Hi%20there%21"),
        Typed("two_lines", "a\r\nb", "text=a%0D%0Ab"),
        Typed("thousand_letters_go_whole", std::string(1000, 'w'),
              "text=" + std::string(1000, 'w')),
        Typed("thousand_spaces_are_cut_after_334", std::string(1000, ' '),
              [] {
                std::string body = "text=";
                for (int i = 0; i < 334; ++i) body += "%20";
                return body;
              }()),
        Typed("accented_letters", "Caf\u00e9 cr\u00e8me", "text=Caf%E9%20cr%E8me"),
        Reply("status_at_the_start", {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}, true),
        Reply("status_after_other_text", {"<html>Thanks</html>\nHTTP/1.1 200 OK\n"}, true),
        Reply("status_only_in_a_second_packet",
              {"HTTP/1.1 100 Continue\r\n\r\n", "HTTP/1.1 200 OK"}, false),
        Reply("older_protocol_version", {"HTTP/1.0 200 OK\r\n\r\n"}, false),
        Reply("other_status", {"HTTP/1.1 500 Internal Server Error\r\n\r\n"}, false),
        Reply("empty_reply_server_closes", {}, false),
        Reply("exactly_512_bytes_ending_in_the_status", {std::string(497, 'x') + "HTTP/1.1 200 OK"},
              true),
        Reply("status_cut_by_the_receive_limit", {std::string(500, 'x') + "HTTP/1.1 200 OK"},
              false),
        Reply("zero_bytes_before_the_status", {std::string(40, '\0') + "HTTP/1.1 200 OK"}, true)),
    [](const auto& row) { return std::string(row.param.name); });

// --- Failures, each followed by a Send that goes through ---

struct FailureRow {
  const char* name;
  Mode mode;
  bool resolves;
  std::vector<std::string> shown;
  std::size_t bytes_received;
};

class FailureTest : public SuggestionsPageTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(FailureTest, EndsTheAttemptAndSendTriesAgain) {
#ifdef _WIN32
  // Seen under Wine: the stand-in server's close with a zero linger time reaches the client as an
  // orderly end (zero bytes), not as a reset, so this row cannot be played there.
  if (GetParam().mode == Mode::kReset) GTEST_SKIP() << "no abortive close under Wine";
#endif
  struct Unresolving : SystemNetwork {
    std::optional<std::uint32_t> Resolve(std::string_view) override {
      return SystemNetwork::Resolve("nothing.invalid");
    }
  } unresolving;
  Type("Hello");
  {
    LocalServer failing({}, GetParam().mode);
    GetParam().resolves ? SendTo(failing, kShortTimeout) : SendThrough(unresolving);
    const std::vector<std::string> requests = failing.requests();
    EXPECT_EQ(requests.empty() ? 0 : requests[0].size(), GetParam().bytes_received)
        << "the connection is closed when the attempt ends";
  }
  EXPECT_EQ(Messages(), GetParam().shown);
  EXPECT_EQ(platform_.wait_cursor_depth(), 0);
  LocalServer answering({"HTTP/1.1 200 OK"});
  SendTo(answering);
  EXPECT_EQ(Messages().back(), kConfirmed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FailureTest,
    ::testing::Values(
        FailureRow{"nothing_listening", Mode::kRefuse, true, {kCannotConnect}, 0},
        FailureRow{"host_does_not_resolve",
                   Mode::kRefuse,
                   false,
                   {Shown("Cannot find the host", "ERROR", 16)},
                   0},
        FailureRow{"connect_never_answered", Mode::kUnanswered, true, {kCannotConnect}, 0},
        FailureRow{"server_never_answers_silently_times_out", Mode::kSilent, true, {}, 1280},
        FailureRow{"server_resets_the_connection_silently", Mode::kReset, true, {}, 1280}),
    [](const auto& row) { return std::string(row.param.name); });

// A network whose failures a real one cannot be made to show on demand: no network service, no
// socket, and every other call a would-block error that is to be retried at once.
class ScriptedNetwork : public Network {
 public:
  ScriptedNetwork(bool startup_fails, bool socket_fails, const ui::MemoryPlatform& platform)
      : startup_fails_(startup_fails), socket_fails_(socket_fails), platform_(platform) {}
  bool Startup() override { return !startup_fails_; }
  void Cleanup() override { ++cleanups; }
  Socket OpenStreamSocket() override { return socket_fails_ ? kInvalidSocket : 7; }
  std::optional<std::uint32_t> Resolve(std::string_view) override { return 0xC0000201; }
  bool Connect(Socket, std::uint32_t, std::uint16_t port) override { return port == 80; }
  long Send(Socket, std::span<const char> data) override {
    if (Blocks()) return -1;
    const std::size_t part = std::min<std::size_t>(data.size(), 1000);  // a partial send
    sent.append(data.data(), part);
    return static_cast<long>(part);
  }
  long Receive(Socket, std::span<char> buffer) override {
    if (Blocks()) return -1;
    busy_while_receiving = platform_.wait_cursor_depth() == 1;
    return static_cast<long>(std::string_view("HTTP/1.1 200 OK").copy(buffer.data(), 15));
  }
  int LastError() const override { return kWouldBlock; }
  void Close(Socket) override {}

  int cleanups = 0;
  std::string sent;
  bool busy_while_receiving = false;

 private:
  bool Blocks() { return calls_++ % 2 == 0; }
  bool startup_fails_, socket_fails_;
  const ui::MemoryPlatform& platform_;
  int calls_ = 0;
};

struct ScriptedRow {
  const char* name;
  bool startup_fails;
  bool socket_fails;
  std::string shown;
};

class ScriptedNetworkTest : public SuggestionsPageTest,
                            public ::testing::WithParamInterface<ScriptedRow> {};

TEST_P(ScriptedNetworkTest, ReportsAndEndsWhatItStarted) {
  ScriptedNetwork network(GetParam().startup_fails, GetParam().socket_fails, platform_);
  Type("Hello");
  SendThrough(network);
  const bool got_through = !GetParam().startup_fails && !GetParam().socket_fails;
  EXPECT_EQ(Messages(), std::vector{GetParam().shown});
  EXPECT_EQ(network.cleanups, GetParam().startup_fails ? 0 : 1) << "ended once if started";
  EXPECT_EQ(network.sent.size(), got_through ? 1280u : 0u)
      << "a partial send is followed by the rest";
  EXPECT_EQ(network.busy_while_receiving, got_through);
  EXPECT_EQ(platform_.wait_cursor_depth(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScriptedNetworkTest,
    ::testing::Values(ScriptedRow{"no_network_service", true, false,
                                  Shown("Cannot start network service", "ERROR", 16)},
                      ScriptedRow{"no_socket", false, true,
                                  Shown("Cannot open a socket", "ERROR", 16)},
                      ScriptedRow{"would_block_errors_are_retried", false, false,
                                  Shown(kSuccessText, "192.0.2.1", 64)}),
    [](const auto& row) { return std::string(row.param.name); });

// --- The placeholder, the limit and View ---

TEST_F(SuggestionsPageTest, PlaceholderAsksForAMessageUntilTheBoxIsEnteredAndGoesOnce) {
  LocalServer server({"HTTP/1.1 200 OK"});
  SendTo(server);
  EXPECT_EQ(BoxText(), SuggestionPlaceholder) << "neither showing the page nor Send enters the box";
  Type("");
  SendTo(server);
  Type("typed");
  ASSERT_TRUE(window().MoveFocus(ui::kViewButton));
  ASSERT_TRUE(window().MoveFocus(ui::kSuggestionEdit));
  EXPECT_EQ(BoxText(), "typed") << "entering the box again keeps what was typed";
  EXPECT_EQ(Messages(), (std::vector{kPleaseType, kPleaseType}));
  EXPECT_EQ(server.connections(), 0);
}

TEST_F(SuggestionsPageTest, ViewOpensThePostedSuggestionsPage) {
  ASSERT_TRUE(window().Click(ui::kViewButton));
  EXPECT_EQ(platform_.opened_urls(), std::vector{std::string(HomePageUrl) + "/ViewInfo.asp"});
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace qup::suggest
