// SPDX-License-Identifier: MIT
// The Suggestions page inside the real main window: its start, and the box, Send and View
// reaching the page's handlers through the window's routing.
#include <gtest/gtest.h>

#include <string>

#include "settings/registry.h"
#include "suggest/posix_network.h"
#include "suggest/suggestion_box.h"
#include "tests/suggest/local_server.h"
#include "ui/control_ids.h"
#include "ui/main_dialog.h"
#include "ui/platform/memory_platform.h"

namespace qup::suggest {
namespace {

using testing::kLoopback;
using testing::LocalServer;

// A registry that holds nothing and refuses every change: the window starts with its defaults.
class EmptyRegistry : public settings::Registry {
 public:
  bool OpenKey(std::uint32_t, std::string_view, std::uint32_t, settings::RegKey&) override {
    return false;
  }
  bool CreateKey(std::uint32_t, std::string_view, settings::RegKey&) override { return false; }
  bool SetValue(settings::RegKey, std::string_view, std::uint32_t,
                std::span<const std::uint8_t>) override {
    return false;
  }
  bool QueryValue(settings::RegKey, std::string_view, std::span<std::uint8_t>,
                  std::size_t&) override {
    return false;
  }
  bool FlushKey(settings::RegKey) override { return false; }
  void CloseKey(settings::RegKey) override {}
};

class MainWindowSuggestionsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSuggestionCounters(); }

  // Runs the main window; user acts on it as long as it is open.
  void Run(std::uint16_t port, const std::function<void(ui::MemoryWindow&)>& user) {
    PosixNetwork network(
        {.resolve_to = kLoopback, .port_override = port, .timeout = std::chrono::seconds(10)});
    ui::MainDialog dialog(platform_, registry_, network);
    platform_.QueueModalScript(user);
    dialog.DoModal();
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& record : platform_.message_boxes()) texts.push_back(record.text);
    return texts;
  }

  ui::MemoryPlatform platform_;
  EmptyRegistry registry_;
};

TEST_F(MainWindowSuggestionsTest, PageStartsWithThePlaceholderAndTheLimit) {
  Run(0, [](ui::MemoryWindow& window) {
    EXPECT_EQ(window.GetText(ui::kSuggestionEdit), SuggestionPlaceholder);
    EXPECT_EQ(window.TextLimit(ui::kSuggestionEdit), 1000u);
    ASSERT_TRUE(window.PickTab(ui::kTabControl, ui::kSuggestionsPage));
    EXPECT_EQ(window.GetText(ui::kSuggestionEdit), SuggestionPlaceholder)
        << "showing the page does not enter the box";
  });
  EXPECT_EQ(SuggestionFocusCount, 0);
}

TEST_F(MainWindowSuggestionsTest, UserTypesSendsAndViews) {
  LocalServer server({.packets = {"HTTP/1.1 200 OK\r\n\r\n"}});
  Run(server.port(), [](ui::MemoryWindow& window) {
    ASSERT_TRUE(window.PickTab(ui::kTabControl, ui::kSuggestionsPage));
    ASSERT_TRUE(window.Click(ui::kSendButton));
    ASSERT_TRUE(window.Type(ui::kSuggestionEdit, "Hi there!"));
    EXPECT_EQ(window.GetText(ui::kSuggestionEdit), "Hi there!");
    ASSERT_TRUE(window.Click(ui::kSendButton));
    ASSERT_TRUE(window.Click(ui::kSendButton));
    ASSERT_TRUE(window.Click(ui::kViewButton));
  });
  server.WaitForConnections(1);

  ASSERT_EQ(MessageTexts().size(), 3u);
  EXPECT_EQ(MessageTexts()[0], "Please type the message");
  EXPECT_TRUE(MessageTexts()[1].starts_with("Your message has been sent and received."));
  EXPECT_TRUE(MessageTexts()[2].starts_with("If you would like to send another Suggestion,"));
  EXPECT_EQ(server.connections(), 1);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_NE(server.requests()[0].find("\n\ntext=Hi%20there%21"), std::string::npos);
  EXPECT_EQ(platform_.opened_urls(), std::vector{std::string(HomePageUrl) + "/ViewInfo.asp"});
}

}  // namespace
}  // namespace qup::suggest
