// SPDX-License-Identifier: MIT
// The Suggestions page of the main window against a network the test scripts: the request, which
// replies confirm, every way an attempt can fail and what it then shows, and that each attempt
// ends what it started. (A confirmed send, the replies a real server gives, a refused connection,
// an unknown host and the limit are the transcripts in tests/acceptance/suggest/.)
#include "suggest/suggestion_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "suggest/network_options.h"
#include "tests/support/main_dialog_fixture.h"
#include "ui/control_ids.h"
#include "ui/platform/memory/memory_platform.h"

namespace qup::suggest {
namespace {

std::string Shown(std::string_view text, std::string_view caption, int type) {
  return std::string(caption) + " (" + std::to_string(type) + "): " + std::string(text);
}

const std::string kSuccessText =
    "Your message has been sent and received.\nThank you for your submission.\n\n"
    "If you would like to view your posting and what others\nhave submitted, please press the "
    "\"OK\" button\nand then the \"View\" button.\n\nThank you,\n" +
    std::string(SiteDisplayName);
const std::string kConfirmed = Shown(kSuccessText, "192.0.2.1", 64);
const std::string kNotConfirmed = Shown("An error occured", "192.0.2.1", 16);
const std::string kPleaseType = Shown("Please type the message", "ERROR", 48);
const std::string kRestart = Shown(
    "If you would like to send another Suggestion,\nyou will need to first re-start the Utility "
    "Program.",
    "Please re-start", 48);

// Where a scripted attempt fails; kNone goes through to the reply.
enum class Fail { kNone, kStartup, kSocket, kResolve, kConnect, kSend, kReceive };

// A network that fails where it is told. Every send and receive is first answered with a
// would-block error, to be retried at once, and a send takes at most 1000 bytes.
class ScriptedNetwork : public Network {
 public:
  explicit ScriptedNetwork(const ui::MemoryPlatform& platform) : platform_(platform) {}

  bool Startup() override { return fail != Fail::kStartup; }
  void Cleanup() override { ++cleanups; }
  Socket OpenStreamSocket() override { return fail == Fail::kSocket ? kInvalidSocket : 7; }
  std::optional<std::uint32_t> Resolve(std::string_view) override {
    if (fail == Fail::kResolve) return std::nullopt;
    return 0xC0000201;  // 192.0.2.1
  }
  bool Connect(Socket, std::uint32_t, std::uint16_t port) override {
    return fail != Fail::kConnect && port == 80;
  }
  long Send(Socket, std::span<const char> data) override {
    if (Blocks() || fail == Fail::kSend) return -1;
    const std::size_t part = std::min<std::size_t>(data.size(), 1000);
    sent.append(data.data(), part);
    return static_cast<long>(part);
  }
  long Receive(Socket, std::span<char> buffer) override {
    if (Blocks() || fail == Fail::kReceive) return -1;
    busy_while_receiving = platform_.wait_cursor_depth() == 1;
    return static_cast<long>(reply.copy(buffer.data(), buffer.size()));
  }
  int LastError() const override { return error_; }
  void Close(Socket) override { ++closes; }

  Fail fail = Fail::kNone;
  std::string reply = "HTTP/1.1 200 OK";
  int cleanups = 0;
  int closes = 0;
  std::string sent;
  bool busy_while_receiving = false;

 private:
  // Every other call would block; a call that fails otherwise fails with a time-out.
  bool Blocks() {
    const bool blocks = calls_++ % 2 == 0;
    error_ = blocks ? kWouldBlock : kTimedOut;
    return blocks;
  }

  const ui::MemoryPlatform& platform_;
  int calls_ = 0;
  int error_ = 0;
};

class SuggestionsPageTest : public test_support::MainDialogFixture {
 protected:
  // The main window open on the Suggestions page, taking the user's actions until the end.
  void SetUp() override {
    ResetSuggestionCounters();
    Open(registry_, network_);
    ASSERT_TRUE(window().PickTab(ui::kTabControl, ui::kSuggestionsPage));
  }

  // The user clicks into the box and types text after whatever it shows.
  void Type(std::string_view text) { ASSERT_TRUE(window().Type(ui::kSuggestionEdit, text)); }
  void Send() { ASSERT_TRUE(window().Click(ui::kSendButton)); }

  // The message boxes shown so far, each owned by the window, which takes no input meanwhile.
  std::vector<std::string> Messages() const {
    std::vector<std::string> shown;
    for (const auto& box : platform_.message_boxes()) {
      shown.push_back(Shown(box.text, box.caption, box.type) + (box.owned ? "" : " (no owner)"));
    }
    return shown;
  }

  ScriptedNetwork network_{platform_};
};

struct AttemptRow {
  const char* name;
  Fail fail;
  std::string reply;
  std::vector<std::string> shown;  // nothing: the attempt ends silently
};

AttemptRow Reply(const char* name, std::string reply, bool confirmed) {
  return {name, Fail::kNone, std::move(reply), {confirmed ? kConfirmed : kNotConfirmed}};
}
// An attempt that fails before the request goes, with the error it shows.
AttemptRow Error(const char* name, Fail fail, const char* text) {
  return {name, fail, "", {Shown(text, "ERROR", 16)}};
}

class AttemptTest : public SuggestionsPageTest, public ::testing::WithParamInterface<AttemptRow> {};

// One attempt: the whole request goes, only the status in the received bytes confirms, every
// failure is reported or silent as it should be, and whatever the attempt started it ends. Send
// then tries again, unless a suggestion went through: one per run.
TEST_P(AttemptTest, ShowsItsOutcomeEndsWhatItStartedAndDecidesTheNextSend) {
  const AttemptRow& row = GetParam();
  network_.fail = row.fail;
  network_.reply = row.reply;
  Type("Hello");
  Send();

  const bool started = row.fail != Fail::kStartup;
  const bool connected = started && row.fail != Fail::kSocket && row.fail != Fail::kResolve &&
                         row.fail != Fail::kConnect;
  const std::string request = "POST http://" + std::string(SubmissionHost) +
                              "/sendinfo.asp\nContent-Length:10\nContent-Type: "
                              "application/x-www-form-urlencoded\n\ntext=Hello";
  EXPECT_EQ(Messages(), row.shown);
  EXPECT_EQ(network_.cleanups, started ? 1 : 0) << "ended once if started";
  EXPECT_EQ(network_.closes, started && row.fail != Fail::kSocket ? 1 : 0) << "socket closed";
  if (connected && row.fail != Fail::kSend) {
    ASSERT_EQ(network_.sent.size(), 1280u) << "a partial send is followed by the rest";
    EXPECT_EQ(network_.sent, request + std::string(1280 - request.size(), '\0'));
  } else {
    EXPECT_EQ(network_.sent, "");
  }
  EXPECT_EQ(network_.busy_while_receiving, connected && row.fail == Fail::kNone);
  EXPECT_EQ(platform_.wait_cursor_depth(), 0) << "the busy cursor is gone";
  EXPECT_EQ(window().GetText(ui::kSuggestionEdit), "Hello") << "the box keeps its text";

  const bool confirmed = row.shown == std::vector{kConfirmed};
  EXPECT_EQ(SuggestionsSent, confirmed ? 1 : 0);
  network_.fail = Fail::kNone;
  network_.reply = "HTTP/1.1 200 OK";
  network_.sent.clear();
  Send();
  EXPECT_EQ(Messages().back(), confirmed ? kRestart : kConfirmed);
  EXPECT_EQ(network_.sent.size(), confirmed ? 0u : 1280u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AttemptTest,
    ::testing::Values(
        Reply("status_alone", "HTTP/1.1 200 OK", true),
        Reply("status_at_the_start", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", true),
        Reply("status_after_other_text", "<html>Thanks</html>\nHTTP/1.1 200 OK\n", true),
        Reply("other_status", "HTTP/1.1 500 Internal Server Error\r\n\r\n", false),
        Reply("empty_reply", "", false),
        Reply("exactly_512_bytes_ending_in_the_status", std::string(497, 'x') + "HTTP/1.1 200 OK",
              true),
        Reply("status_cut_by_the_receive_limit", std::string(500, 'x') + "HTTP/1.1 200 OK", false),
        Reply("zero_bytes_before_the_status", std::string(40, '\0') + "HTTP/1.1 200 OK", true),
        Error("no_network_service", Fail::kStartup, "Cannot start network service"),
        Error("no_socket", Fail::kSocket, "Cannot open a socket"),
        Error("host_does_not_resolve", Fail::kResolve, "Cannot find the host"),
        Error("no_connection", Fail::kConnect, "Cannot connect to the host"),
        AttemptRow{"send_fails_silently", Fail::kSend, "", {}},
        AttemptRow{"receive_fails_silently", Fail::kReceive, "", {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SuggestionsPageTest, PlaceholderAsksForAMessageUntilTheBoxIsEnteredAndGoesOnce) {
  Send();
  EXPECT_EQ(window().GetText(ui::kSuggestionEdit), SuggestionPlaceholder)
      << "neither showing the page nor Send enters the box";
  Type("");
  Send();
  Type("typed");
  ASSERT_TRUE(window().MoveFocus(ui::kViewButton));
  ASSERT_TRUE(window().MoveFocus(ui::kSuggestionEdit));
  EXPECT_EQ(window().GetText(ui::kSuggestionEdit), "typed")
      << "entering the box again keeps what was typed";
  EXPECT_EQ(Messages(), (std::vector{kPleaseType, kPleaseType}));
  EXPECT_EQ(network_.cleanups, 0) << "the network is not used";
}

}  // namespace
}  // namespace qup::suggest
