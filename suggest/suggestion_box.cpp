// SPDX-License-Identifier: MIT
// The Suggestions page's handlers: the placeholder's removal, the text limit message, one
// submission attempt over one TCP connection, and the view page.
#include "suggest/suggestion_box.h"

#include <array>
#include <climits>
#include <string>

#include "suggest/suggestion_request.h"
#include "ui/control_ids.h"

namespace qup::suggest {

int SuggestionFocusCount = 0;
int SuggestionsSent = 0;

namespace {

constexpr std::string_view kErrorCaption = "ERROR";
constexpr std::string_view kConfirmation = "HTTP/1.1 200 OK";

constexpr std::string_view kMaxTextMessage =
    "You have exceeded the maximum number\nof allowable characters.\n"
    "You can enter a maximum of 1000 characters.";
constexpr std::string_view kRestartMessage =
    "If you would like to send another Suggestion,\n"
    "you will need to first re-start the Utility Program.";
constexpr std::string_view kRestartCaption = "Please re-start";
constexpr std::string_view kEmptyMessage = "Please type the message";
constexpr std::string_view kNoServiceMessage = "Cannot start network service";
constexpr std::string_view kNoSocketMessage = "Cannot open a socket";
constexpr std::string_view kNoHostMessage = "Cannot find the host";
constexpr std::string_view kNoConnectionMessage = "Cannot connect to the host";
constexpr std::string_view kNotConfirmedMessage = "An error occured";
constexpr std::string_view kSuccessMessage =
    "Your message has been sent and received.\n"
    "Thank you for your submission.\n"
    "\n"
    "If you would like to view your posting and what others\n"
    "have submitted, please press the \"OK\" button\n"
    "and then the \"View\" button.\n"
    "\n"
    "Thank you,\n" QUP_SITE_DISPLAY_NAME_LITERAL;

// The busy cursor of one attempt: on while the attempt waits on the network, off before a
// message asks the user to act, and off for certain when the attempt ends.
class BusyCursor {
 public:
  explicit BusyCursor(ui::Platform& platform) : platform_(platform) { platform_.BeginWaitCursor(); }
  ~BusyCursor() { End(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  void End() {
    if (shown_) platform_.EndWaitCursor();
    shown_ = false;
  }

 private:
  ui::Platform& platform_;
  bool shown_ = true;
};

// The attempt's use of the network, ended (and its socket closed) on every way out.
class NetworkSession {
 public:
  explicit NetworkSession(Network& network) : network_(network) {}
  ~NetworkSession() {
    if (socket_ != kInvalidSocket) network_.Close(socket_);
    network_.Cleanup();
  }
  NetworkSession(const NetworkSession&) = delete;
  NetworkSession& operator=(const NetworkSession&) = delete;

  bool OpenSocket() {
    socket_ = network_.OpenStreamSocket();
    return socket_ != kInvalidSocket;
  }
  Socket socket() const { return socket_; }

 private:
  Network& network_;
  Socket socket_ = kInvalidSocket;
};

// Sends the whole request, retrying at once while the error is a would-block one.
bool SendAll(Network& network, Socket socket, std::span<const char> data) {
  while (!data.empty()) {
    const long sent = network.Send(socket, data);
    if (sent < 0) {
      if (network.LastError() == kWouldBlock) continue;
      return false;
    }
    data = data.subspan(static_cast<std::size_t>(sent));
  }
  return true;
}

// One receive, retried at once while the error is a would-block one; the bytes received, or
// nothing on any other error.
std::optional<std::size_t> ReceiveOnce(Network& network, Socket socket, std::span<char> buffer) {
  for (;;) {
    const long received = network.Receive(socket, buffer);
    if (received >= 0) return static_cast<std::size_t>(received);
    if (network.LastError() != kWouldBlock) return std::nullopt;
  }
}

// The exchange from resolving the host to the report, with the network already started and a
// socket open.
void Exchange(ui::Window& window, Network& network, Socket socket, BusyCursor& cursor,
              const std::array<char, kRequestSize>& request) {
  const std::optional<std::uint32_t> address = network.Resolve(SubmissionHost);
  if (!address) {
    cursor.End();
    window.MessageBox(kNoHostMessage, kErrorCaption, ui::kMbIconStop);
    return;
  }
  if (!network.Connect(socket, *address, kSubmissionPort)) {
    cursor.End();
    window.MessageBox(kNoConnectionMessage, kErrorCaption, ui::kMbIconStop);
    return;
  }
  if (!SendAll(network, socket, request)) return;

  std::array<char, kReplySize> reply{};
  const std::optional<std::size_t> received = ReceiveOnce(network, socket, reply);
  if (!received) return;

  // Only the bytes received count, zero bytes and all; the buffer is never read past them.
  const std::string_view answer(reply.data(), std::min(*received, reply.size()));
  const std::string caption = DottedDecimal(*address);
  cursor.End();
  if (answer.find(kConfirmation) != std::string_view::npos) {
    ++SuggestionsSent;
    window.MessageBox(kSuccessMessage, caption, ui::kMbIconInformation);
  } else {
    window.MessageBox(kNotConfirmedMessage, caption, ui::kMbIconStop);
  }
}

}  // namespace

void ResetSuggestionCounters() {
  SuggestionFocusCount = 0;
  SuggestionsSent = 0;
}

void OnSetFocusSuggestion(ui::Window& window) {
  if (SuggestionFocusCount == 0) window.SetText(ui::kSuggestionEdit, "");
  if (SuggestionFocusCount < INT_MAX) ++SuggestionFocusCount;
}

void OnMaxTextSuggestion(ui::Window& window) {
  window.MessageBox(kMaxTextMessage, kErrorCaption, ui::kMbIconStop);
}

void OnSend(ui::Window& window, ui::Platform& platform, Network& network) {
  if (SuggestionsSent != 0) {
    window.MessageBox(kRestartMessage, kRestartCaption, ui::kMbIconExclamation);
    return;
  }
  const std::string text = window.GetText(ui::kSuggestionEdit);
  if (text.empty() || SuggestionFocusCount == 0) {
    window.MessageBox(kEmptyMessage, kErrorCaption, ui::kMbIconExclamation);
    return;
  }
  const auto request = ComposeRequest(SubmissionHost, EncodeSuggestion(text));

  if (!network.Startup()) {
    window.MessageBox(kNoServiceMessage, kErrorCaption, ui::kMbIconStop);
    return;
  }
  NetworkSession session(network);
  if (!session.OpenSocket()) {
    window.MessageBox(kNoSocketMessage, kErrorCaption, ui::kMbIconStop);
    return;
  }
  BusyCursor cursor(platform);
  Exchange(window, network, session.socket(), cursor, request);
}

void OnView(ui::Platform& platform) { platform.OpenUrl(kViewPageUrl); }

}  // namespace qup::suggest
