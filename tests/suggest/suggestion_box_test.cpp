// SPDX-License-Identifier: MIT
// The Suggestions page as a user meets it: the placeholder, the limit message, View, and Send
// against a real server on 127.0.0.1 that records the exact bytes and answers as each case needs.
#include "suggest/suggestion_box.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "suggest/posix_network.h"
#include "tests/suggest/local_server.h"
#include "ui/control_ids.h"
#include "ui/platform/memory_platform.h"

namespace qup::suggest {
namespace {

using testing::FullPort;
using testing::kLoopback;
using testing::LocalServer;
using testing::RefusingPort;

struct ShownMessage {
  std::string text;
  std::string caption;
  int type = 0;
  bool owned = true;  // by the window, which takes no input meanwhile
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
  friend void PrintTo(const ShownMessage& shown, std::ostream* out) {
    *out << '"' << shown.text << "\" / \"" << shown.caption << "\" / " << shown.type
         << (shown.owned ? "" : " (no owner)");
  }
};

constexpr auto kServerTimeout = std::chrono::seconds(10);
constexpr std::chrono::milliseconds kShortTimeout{300};

const std::string kSuccessText =
    "Your message has been sent and received.\n"
    "Thank you for your submission.\n"
    "\n"
    "If you would like to view your posting and what others\n"
    "have submitted, please press the \"OK\" button\n"
    "and then the \"View\" button.\n"
    "\n"
    "Thank you,\n" +
    std::string(SiteDisplayName);

const ShownMessage kPleaseType{"Please type the message", "ERROR", 48};
const ShownMessage kNotConfirmed{"An error occured", "127.0.0.1", 16};
const ShownMessage kConfirmed{kSuccessText, "127.0.0.1", 64};
const ShownMessage kCannotConnect{"Cannot connect to the host", "ERROR", 16};

// A network that hands every call to the real one, looking up another name than it is asked.
class RenamingNetwork : public Network {
 public:
  RenamingNetwork(Network& real, std::string name) : real_(real), name_(std::move(name)) {}
  bool Startup() override { return real_.Startup(); }
  void Cleanup() override { real_.Cleanup(); }
  Socket OpenStreamSocket() override { return real_.OpenStreamSocket(); }
  std::optional<std::uint32_t> Resolve(std::string_view) override { return real_.Resolve(name_); }
  bool Connect(Socket s, std::uint32_t a, std::uint16_t p) override {
    return real_.Connect(s, a, p);
  }
  long Send(Socket s, std::span<const char> d) override { return real_.Send(s, d); }
  long Receive(Socket s, std::span<char> b) override { return real_.Receive(s, b); }
  int LastError() const override { return real_.LastError(); }
  void Close(Socket s) override { real_.Close(s); }

 private:
  Network& real_;
  std::string name_;
};

// A network whose calls answer from a script: for the failures a real one cannot be made to
// show on demand (no network service, no socket, would-block errors).
class ScriptedNetwork : public Network {
 public:
  bool startup_fails = false;
  bool socket_fails = false;
  // -1 stands for a would-block error, -2 for any other; empty: all sent.
  std::deque<long> send_results;
  std::deque<long> receive_results;  // -1 or -2 as above; empty: the reply below
  std::string reply = "HTTP/1.1 200 OK";

  const ui::MemoryPlatform* platform = nullptr;
  int cursor_depth_while_receiving = -1;
  int last_error = 0;

  int cleanups = 0;
  int closes = 0;
  int sends = 0;
  int receives = 0;
  std::string sent;

  bool Startup() override { return !startup_fails; }
  void Cleanup() override { ++cleanups; }
  Socket OpenStreamSocket() override { return socket_fails ? kInvalidSocket : 7; }
  std::optional<std::uint32_t> Resolve(std::string_view) override { return 0xC0000201; }
  bool Connect(Socket, std::uint32_t, std::uint16_t port) override { return port == 80; }
  long Send(Socket, std::span<const char> data) override {
    ++sends;
    if (!send_results.empty()) {
      const long result = send_results.front();
      send_results.pop_front();
      if (result < 0) return Fail(result);
      sent.append(data.data(), static_cast<std::size_t>(result));
      return result;
    }
    sent.append(data.data(), data.size());
    return static_cast<long>(data.size());
  }
  long Receive(Socket, std::span<char> buffer) override {
    ++receives;
    if (platform != nullptr) cursor_depth_while_receiving = platform->wait_cursor_depth();
    if (!receive_results.empty()) {
      const long result = receive_results.front();
      receive_results.pop_front();
      return Fail(result);
    }
    std::copy(reply.begin(), reply.end(), buffer.begin());
    return static_cast<long>(reply.size());
  }
  int LastError() const override { return last_error; }
  void Close(Socket) override { ++closes; }

 private:
  long Fail(long scripted) {
    last_error = scripted == -1 ? kWouldBlock : 104;
    return -1;
  }
};

// The Suggestions page on a window of its own, its controls where the main window has them,
// routed to the handlers as the main window routes them.
constexpr ui::ControlSpec kPageControls[] = {
    {ui::kSuggestionEdit, ui::ControlKind::kMultiLineEdit, "", {35, 16, 269, 80}, ui::kNoPage},
    {ui::kSendButton, ui::ControlKind::kPushButton, "Send", {104, 100, 51, 16}, ui::kNoPage},
    {ui::kViewButton, ui::ControlKind::kPushButton, "View", {184, 100, 51, 16}, ui::kNoPage},
};
constexpr ui::DialogTemplate kPageTemplate{102, "Suggestions", 340, 182, kPageControls};

class SuggestionPage : public ui::DialogHandler {
 public:
  SuggestionPage(ui::Platform& platform, Network& network)
      : platform_(platform), network_(&network) {}

  void UseNetwork(Network& network) { network_ = &network; }

  void OnInitDialog(ui::Window& window) override {
    window_ = &window;
    window.SetText(ui::kSuggestionEdit, SuggestionPlaceholder);
    window.LimitText(ui::kSuggestionEdit, kSuggestionLimit);
    // The main window opens on another page, so the box does not start with the focus.
    window.SetFocus(ui::kSendButton);
  }
  void OnCommand(int id, ui::Notification code) override {
    if (id == ui::kSuggestionEdit && code == ui::Notification::kSetFocus) {
      OnSetFocusSuggestion(*window_);
    } else if (id == ui::kSuggestionEdit && code == ui::Notification::kMaxText) {
      OnMaxTextSuggestion(*window_);
    } else if (id == ui::kSendButton && code == ui::Notification::kClicked) {
      OnSend(*window_, platform_, *network_);
    } else if (id == ui::kViewButton && code == ui::Notification::kClicked) {
      OnView(platform_);
    }
  }
  void OnSysCommand(unsigned) override {}

 private:
  ui::Platform& platform_;
  Network* network_;
  ui::Window* window_ = nullptr;
};

// The in-memory platform, counting how often the busy cursor was turned on.
class RecordingPlatform : public ui::MemoryPlatform {
 public:
  void BeginWaitCursor() override {
    ++busy_begun;
    MemoryPlatform::BeginWaitCursor();
  }
  int busy_begun = 0;
};

class SuggestionPageTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSuggestionCounters(); }
  void TearDown() override { window_ = nullptr; }

  // Opens the page; the user acts on it until the test ends.
  ui::MemoryWindow& page() {
    if (window_ == nullptr) {
      platform_.QueueModalScript([this](ui::MemoryWindow& window) { window_ = &window; });
      platform_.RunModal(kPageTemplate, handler_, nullptr);
      // The window stays readable and usable after its run: the platform keeps it.
      window_ = platform_.windows().back().get();
    }
    return *window_;
  }

  // The user clicks into the box and types text after whatever it shows.
  void EnterAndType(std::string_view text) { ASSERT_TRUE(page().Type(ui::kSuggestionEdit, text)); }

  void ClickSend() { ASSERT_TRUE(page().Click(ui::kSendButton)); }

  void SendTo(std::uint16_t port, std::chrono::milliseconds timeout = kServerTimeout) {
    PosixNetwork network({.resolve_to = kLoopback, .port_override = port, .timeout = timeout});
    handler_.UseNetwork(network);
    ClickSend();
    handler_.UseNetwork(unused_network_);
  }

  // Sends to server and returns the one request it recorded.
  std::string SendAndRecord(LocalServer& server) {
    const int before = server.connections();
    SendTo(server.port());
    server.WaitForConnections(before + 1);
    const auto requests = server.requests();
    return requests.empty() ? std::string() : requests.back();
  }

  void SendThrough(Network& network) {
    handler_.UseNetwork(network);
    ClickSend();
    handler_.UseNetwork(unused_network_);
  }

  std::string BoxText() { return page().GetText(ui::kSuggestionEdit); }

  // The message boxes shown, in order; every one is owned by the window.
  std::vector<ShownMessage> Messages() const {
    std::vector<ShownMessage> shown;
    for (const auto& record : platform_.message_boxes()) {
      shown.push_back({record.text, record.caption, record.type, record.owned});
    }
    return shown;
  }

  void ExpectCursorRestored() const {
    EXPECT_EQ(platform_.wait_cursor_depth(), 0) << "the busy cursor is removed at the end";
  }

  RecordingPlatform platform_;
  ScriptedNetwork unused_network_;
  SuggestionPage handler_{platform_, unused_network_};
  ui::MemoryWindow* window_ = nullptr;
};

// --- The request, byte for byte ---

struct RequestCase {
  const char* name;
  std::string typed;
  std::string body;
};

void PrintTo(const RequestCase& row, std::ostream* out) { *out << row.name; }

class RequestBytesTest : public SuggestionPageTest,
                         public ::testing::WithParamInterface<RequestCase> {};

TEST_P(RequestBytesTest, ServerReceivesTheWholeFixedSizeRequest) {
  LocalServer server({.packets = {"HTTP/1.1 200 OK\r\n\r\n"}});
  EnterAndType(GetParam().typed);
  const std::string received = SendAndRecord(server);

  const std::string text = "POST http://" + std::string(SubmissionHost) +
                           "/sendinfo.asp\n"
                           "Content-Length:" +
                           std::to_string(GetParam().body.size()) +
                           "\n"
                           "Content-Type: application/x-www-form-urlencoded\n"
                           "\n" +
                           GetParam().body;
  ASSERT_EQ(received.size(), 1280u) << "all of the buffer goes, and nothing more";
  EXPECT_EQ(received.substr(0, text.size()), text);
  EXPECT_EQ(received.substr(text.size()), std::string(1280 - text.size(), '\0'));
  EXPECT_EQ(Messages(), std::vector{kConfirmed});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RequestBytesTest,
    ::testing::Values(RequestCase{"Greeting", "Hi there!", "text=Hi%20there%21"},
                      RequestCase{"TwoLines", "a\r\nb", "text=a%0D%0Ab"},
                      RequestCase{"ThousandLettersGoWhole", std::string(1000, 'w'),
                                  "text=" + std::string(1000, 'w')},
                      RequestCase{"ThousandSpacesAreCutAfter334", std::string(1000, ' '),
                                  [] {
                                    std::string body = "text=";
                                    for (int i = 0; i < 334; ++i) body += "%20";
                                    return body;
                                  }()},
                      RequestCase{"AccentedLetters", "Caf\xC3\xA9 cr\xC3\xA8me",
                                  "text=Caf%E9%20cr%E8me"}),
    [](const ::testing::TestParamInfo<RequestCase>& row) { return std::string(row.param.name); });

TEST_F(SuggestionPageTest, GreetingIsAnnouncedWithLength18) {
  LocalServer server({.packets = {"HTTP/1.1 200 OK"}});
  EnterAndType("Hi there!");
  EXPECT_NE(SendAndRecord(server).find("\nContent-Length:18\n"), std::string::npos);
}

// --- The reply ---

struct ReplyCase {
  const char* name;
  std::vector<std::string> packets;
  bool confirmed;
};

void PrintTo(const ReplyCase& row, std::ostream* out) { *out << row.name; }

class ReplyTest : public SuggestionPageTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyTest, OnlyTheStatusInTheFirstBytesReceivedConfirms) {
  LocalServer server({.packets = GetParam().packets});
  EnterAndType("Hello");
  SendAndRecord(server);

  EXPECT_EQ(Messages(), std::vector{GetParam().confirmed ? kConfirmed : kNotConfirmed});
  EXPECT_EQ(SuggestionsSent, GetParam().confirmed ? 1 : 0);
  EXPECT_EQ(BoxText(), "Hello") << "the box keeps its text";
  ExpectCursorRestored();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReplyTest,
    ::testing::Values(
        ReplyCase{"StatusAtTheStart", {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}, true},
        ReplyCase{"StatusAfterOtherText", {"<html>Thanks</html>\nHTTP/1.1 200 OK\n"}, true},
        ReplyCase{"StatusOnlyInASecondPacket",
                  {"HTTP/1.1 100 Continue\r\n\r\n", "HTTP/1.1 200 OK"},
                  false},
        ReplyCase{"OlderProtocolVersion", {"HTTP/1.0 200 OK\r\n\r\n"}, false},
        ReplyCase{"OtherStatus", {"HTTP/1.1 500 Internal Server Error\r\n\r\n"}, false},
        ReplyCase{"EmptyReplyServerCloses", {}, false},
        ReplyCase{"Exactly512BytesEndingInTheStatus",
                  {std::string(512 - 15, 'x') + "HTTP/1.1 200 OK"},
                  true},
        ReplyCase{"StatusCutByTheReceiveLimit", {std::string(500, 'x') + "HTTP/1.1 200 OK"}, false},
        ReplyCase{"ZeroBytesBeforeTheStatus", {std::string(40, '\0') + "HTTP/1.1 200 OK"}, true}),
    [](const ::testing::TestParamInfo<ReplyCase>& row) { return std::string(row.param.name); });

// --- Failures ---

TEST_F(SuggestionPageTest, NothingListeningCannotConnectAndSendTriesAgain) {
  EnterAndType("Hello");
  {
    RefusingPort refusing;
    SendTo(refusing.port());
  }
  EXPECT_EQ(Messages(), std::vector{kCannotConnect});
  EXPECT_EQ(SuggestionsSent, 0);
  ExpectCursorRestored();

  LocalServer server({.packets = {"HTTP/1.1 200 OK"}});
  SendAndRecord(server);
  EXPECT_EQ(Messages(), (std::vector{kCannotConnect, kConfirmed}));
  EXPECT_EQ(server.connections(), 1);
}

TEST_F(SuggestionPageTest, HostThatDoesNotResolveCannotBeFound) {
  EnterAndType("Hello");
  PosixNetwork real;
  RenamingNetwork network(real, "nothing.invalid");
  SendThrough(network);
  EXPECT_EQ(Messages(), (std::vector<ShownMessage>{{"Cannot find the host", "ERROR", 16}}));
  EXPECT_EQ(SuggestionsSent, 0);
  ExpectCursorRestored();
}

TEST_F(SuggestionPageTest, UnansweredConnectionCannotConnectAfterTheTimeout) {
  FullPort full;
  EnterAndType("Hello");
  SendTo(full.port(), kShortTimeout);
  EXPECT_EQ(Messages(), std::vector{kCannotConnect});
  ExpectCursorRestored();
}

TEST_F(SuggestionPageTest, ServerThatNeverAnswersEndsTheAttemptSilentlyAtTheTimeout) {
  LocalServer server({.silent = true});
  EnterAndType("Hello");
  SendTo(server.port(), kShortTimeout);
  server.WaitForConnections(1);

  EXPECT_TRUE(Messages().empty()) << "a receive error shows no message";
  EXPECT_EQ(SuggestionsSent, 0);
  ASSERT_EQ(server.requests().size(), 1u) << "the connection was closed when the attempt ended";
  EXPECT_EQ(server.requests()[0].size(), 1280u);
  ExpectCursorRestored();

  // The window is free again, and the next attempt goes out.
  LocalServer answering({.packets = {"HTTP/1.1 200 OK"}});
  SendAndRecord(answering);
  EXPECT_EQ(Messages(), std::vector{kConfirmed});
}

TEST_F(SuggestionPageTest, NetworkServiceThatCannotStartIsReported) {
  ScriptedNetwork network;
  network.startup_fails = true;
  EnterAndType("Hello");
  SendThrough(network);
  EXPECT_EQ(Messages(), (std::vector<ShownMessage>{{"Cannot start network service", "ERROR", 16}}));
  EXPECT_EQ(network.cleanups, 0) << "nothing was started, so nothing is ended";
  EXPECT_EQ(platform_.busy_begun, 0);
}

TEST_F(SuggestionPageTest, SocketThatCannotOpenIsReportedAndTheNetworkEnded) {
  ScriptedNetwork network;
  network.socket_fails = true;
  EnterAndType("Hello");
  SendThrough(network);
  EXPECT_EQ(Messages(), (std::vector<ShownMessage>{{"Cannot open a socket", "ERROR", 16}}));
  EXPECT_EQ(network.cleanups, 1);
  EXPECT_EQ(platform_.busy_begun, 0);
}

TEST_F(SuggestionPageTest, WouldBlockErrorsAreRetriedAtOnce) {
  ScriptedNetwork network;
  network.send_results = {-1, -1, 1000};
  network.receive_results = {-1};
  EnterAndType("Hello");
  SendThrough(network);

  EXPECT_EQ(network.sent.size(), 1280u) << "a partial send is followed by the rest";
  EXPECT_EQ(network.receives, 2);
  EXPECT_EQ(Messages(), (std::vector<ShownMessage>{{kSuccessText, "192.0.2.1", 64}}));
  EXPECT_EQ(network.closes, 1);
  EXPECT_EQ(network.cleanups, 1);
}

// --- Once per run ---

TEST_F(SuggestionPageTest, AfterAConfirmedSendSendAsksForARestartAndOpensNoConnection) {
  LocalServer server({.packets = {"HTTP/1.1 200 OK"}});
  EnterAndType("First");
  SendAndRecord(server);
  ASSERT_EQ(SuggestionsSent, 1);

  EnterAndType(" and second");
  SendTo(server.port());
  EXPECT_EQ(Messages(),
            (std::vector<ShownMessage>{
                kConfirmed,
                {"If you would like to send another Suggestion,\nyou will need to first re-start "
                 "the Utility Program.",
                 "Please re-start", 48}}));
  EXPECT_EQ(server.connections(), 1);
  EXPECT_EQ(platform_.busy_begun, 1);
}

TEST_F(SuggestionPageTest, AfterAnUnconfirmedReplySendTriesAgain) {
  LocalServer refusing_server({.packets = {"HTTP/1.1 503 Busy"}});
  EnterAndType("Hello");
  SendAndRecord(refusing_server);
  SendAndRecord(refusing_server);
  EXPECT_EQ(refusing_server.connections(), 2);
  EXPECT_EQ(Messages(), (std::vector{kNotConfirmed, kNotConfirmed}));
}

// --- The placeholder and the box ---

TEST_F(SuggestionPageTest, SendBeforeEnteringTheBoxAsksForAMessage) {
  LocalServer server({.packets = {"HTTP/1.1 200 OK"}});
  SendTo(server.port());
  EXPECT_EQ(Messages(), std::vector{kPleaseType});
  EXPECT_EQ(server.connections(), 0);
  EXPECT_EQ(BoxText(), SuggestionPlaceholder);
}

TEST_F(SuggestionPageTest, SendWithAnEmptiedBoxAsksForAMessage) {
  LocalServer server({.packets = {"HTTP/1.1 200 OK"}});
  EnterAndType("");
  SendTo(server.port());
  EXPECT_EQ(Messages(), std::vector{kPleaseType});
  EXPECT_EQ(server.connections(), 0);
}

TEST_F(SuggestionPageTest, EnteringTheBoxClearsThePlaceholderOnlyOnce) {
  EXPECT_EQ(BoxText(), SuggestionPlaceholder);
  EnterAndType("typed");
  EXPECT_EQ(BoxText(), "typed");
  ASSERT_TRUE(page().MoveFocus(ui::kViewButton));
  ASSERT_TRUE(page().MoveFocus(ui::kSuggestionEdit));
  EXPECT_EQ(BoxText(), "typed") << "entering the box again keeps what was typed";
  EXPECT_EQ(SuggestionFocusCount, 2);
}

TEST_F(SuggestionPageTest, PlaceholderHasThreeParagraphsNamingTheSite) {
  const std::string text(SuggestionPlaceholder);
  const std::size_t first = text.find("\r\n\r\n");
  const std::size_t second = text.find("\r\n\r\n", first + 4);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(text.find("\r\n\r\n", second + 4), std::string::npos);
  EXPECT_TRUE(text.substr(0, first).ends_with("or SPAM.  "));
  EXPECT_EQ(text.substr(first + 4, second - first - 4),
            "Thank you for your thoughts.........." + std::string(SiteDisplayName) + ".  ");
  EXPECT_EQ(text.substr(second + 4), "NOTE: Clicking in here will delete all of this text.");
  EXPECT_LT(text.size(), static_cast<std::size_t>(kSuggestionLimit));
}

TEST_F(SuggestionPageTest, TypingPastTheLimitTellsItAndKeepsWhatFitted) {
  const ShownMessage limit{
      "You have exceeded the maximum number\nof allowable characters.\n"
      "You can enter a maximum of 1000 characters.",
      "ERROR", 16};
  EnterAndType(std::string(999, 'z'));
  EXPECT_TRUE(Messages().empty());
  EnterAndType("\n");
  EXPECT_EQ(Messages(), std::vector{limit}) << "a line break counts as two characters";
  EnterAndType("zy");
  EXPECT_EQ(Messages(), (std::vector{limit, limit}));
  EXPECT_EQ(BoxText(), std::string(1000, 'z'));
}

TEST_F(SuggestionPageTest, ViewOpensThePostedSuggestionsPage) {
  ASSERT_TRUE(page().Click(ui::kViewButton));
  EXPECT_EQ(platform_.opened_urls(), std::vector{std::string(HomePageUrl) + "/ViewInfo.asp"});
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SuggestionPageTest, BusyCursorShowsWhileWaitingOnTheNetworkOnly) {
  ScriptedNetwork network;
  network.platform = &platform_;
  EnterAndType("Hello");
  SendThrough(network);
  EXPECT_EQ(network.cursor_depth_while_receiving, 1);
  EXPECT_EQ(platform_.busy_begun, 1);
  ExpectCursorRestored();
}

TEST_F(SuggestionPageTest, BusyCursorIsRemovedAfterASilentFailure) {
  ScriptedNetwork network;
  network.send_results = {-2};
  EnterAndType("Hello");
  SendThrough(network);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(platform_.busy_begun, 1);
  ExpectCursorRestored();
}

}  // namespace
}  // namespace qup::suggest
