// SPDX-License-Identifier: MIT
// The About texts, the window menu entry and the About box's ways in and out.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "suggest/site_config.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/main_template.h"
#include "ui/platform/memory_platform.h"

namespace qup::ui {
namespace {

TEST(AboutTextsTest, VersionAndMenuEntryReadAsTheyShould) {
  EXPECT_EQ(LoadString(kAboutMenuString), "&About Quorvane Utility...");
  EXPECT_EQ(LoadString(kVersionString), "Quorvane Utility Version 1.1");
}

TEST(AboutTextsTest, AuthorsStandInAColumnBehindTheLabel) {
  const std::string authors = LoadString(kAuthorsString);
  EXPECT_TRUE(authors.starts_with("Authors:\t"));
  // Four entries: the first behind the label, each further one on its own line after a tab.
  std::size_t lines = 1;
  for (std::size_t at = authors.find('\n'); at != std::string::npos;
       at = authors.find('\n', at + 1)) {
    ++lines;
    EXPECT_EQ(authors.at(at + 1), '\t');
  }
  EXPECT_EQ(lines, 4u);
  EXPECT_TRUE(authors.ends_with("@kestrane.example"));
}

TEST(AboutTextsTest, CopyrightCarriesTheYear) {
  const std::string copyright = LoadString(kCopyrightString);
  EXPECT_NE(copyright.find("2026"), std::string::npos);
  EXPECT_EQ(copyright.find('\n'), std::string::npos);
}

TEST(AboutTextsTest, DisclaimerNamesTheSite) {
  EXPECT_EQ(LoadString(kDisclaimerString),
            "Disclaimer:\nThe use of information contained in this application is for "
            "informational purposes only and should not be construed as legal advice.  " +
                std::string(SiteDisplayName) +
                " does NOT guarantee the accuracy or applicability of any calculations.");
}

TEST(AboutTextsTest, UnknownIdsGiveTheEmptyText) {
  EXPECT_EQ(LoadString(100), "");
  EXPECT_EQ(LoadString(106), "");
  EXPECT_EQ(LoadString(-1), "");
}

TEST(AboutTextsTest, AimsOpenWithTheSiteAndListFiveItems) {
  EXPECT_TRUE(kAimsText1.starts_with(std::string(SiteDisplayName) +
                                     " was initiated with five things in mind:\n\n"));
  int items = 0;
  for (const std::string_view aims : {kAimsText1, kAimsText2, kAimsText3}) {
    for (std::size_t at = aims.find("-- "); at != std::string_view::npos;
         at = aims.find("-- ", at + 1)) {
      ++items;
      EXPECT_TRUE(at == 0 || aims.substr(at - 2, 2) == "\n\n") << aims;
    }
  }
  EXPECT_EQ(items, 5);
}

// The main window's part in the About box: the menu entry at start-up, the box on its command.
class AboutOwner : public DialogHandler {
 public:
  explicit AboutOwner(Platform& platform) : platform_(platform) {}

  void OnInitDialog(Window& window) override {
    window_ = &window;
    AppendAboutMenuEntry(window);
  }
  void OnCommand(int, Notification) override {}
  void OnSysCommand(unsigned command) override {
    if ((command & 0xFFF0u) == kAboutCommand) AboutDialog().DoModal(platform_, *window_);
  }

 private:
  Platform& platform_;
  Window* window_ = nullptr;
};

class AboutDialogTest : public ::testing::Test {
 protected:
  // Opens the main window and lets the user act on it, and on each About box it opens in turn.
  MemoryWindow& RunOwner(MemoryPlatform::ModalScript user,
                         std::vector<MemoryPlatform::ModalScript> boxes = {}) {
    platform_.QueueModalScript(std::move(user));
    for (auto& box : boxes) platform_.QueueModalScript(std::move(box));
    platform_.RunModal(kMainDialogTemplate, owner_, nullptr);
    return *platform_.windows().front();
  }

  MemoryPlatform platform_;
  AboutOwner owner_{platform_};
};

TEST_F(AboutDialogTest, MenuEndsWithOneSeparatorAndTheEntry) {
  const MemoryWindow& main = RunOwner([](MemoryWindow&) {});
  const auto& menu = main.SystemMenu();
  ASSERT_GE(menu.size(), 3u);
  EXPECT_NE(menu[menu.size() - 3].command, 0u);
  EXPECT_EQ(menu[menu.size() - 2].command, 0u);
  EXPECT_EQ(menu.back().command, kAboutCommand);
  EXPECT_EQ(menu.back().text, "&About Quorvane Utility...");
  EXPECT_EQ(std::count_if(menu.begin(), menu.end(),
                          [](const auto& item) { return item.command == kAboutCommand; }),
            1);
}

TEST(AboutMenuEntryTest, AWindowWithoutMenuGetsNothing) {
  MemoryPlatform platform;
  AboutOwner owner(platform);
  MemoryWindow window(platform, kMainDialogTemplate, owner, nullptr);
  window.RemoveSystemMenu();
  const auto before = window.SystemMenu().size();
  AppendAboutMenuEntry(window);
  EXPECT_EQ(window.SystemMenu().size(), before);
}

TEST_F(AboutDialogTest, TheMenuEntryOpensTheBoxOverTheMainWindow) {
  RunOwner([](MemoryWindow& main) { EXPECT_TRUE(main.ChooseSystemMenuItem(kAboutCommand)); },
           {[](MemoryWindow& box) {
             EXPECT_EQ(box.Title(), "About Quorvane Utility Program");
             ASSERT_NE(box.Owner(), nullptr);
             EXPECT_TRUE(box.Owner()->Blocked());
             EXPECT_FALSE(box.Owner()->PressEsc());
             EXPECT_TRUE(box.Click(kIdOk));
           }});
  ASSERT_EQ(platform_.windows().size(), 2u);
  EXPECT_EQ(platform_.windows()[1]->dialog().id, kAboutTemplateId);
  EXPECT_EQ(platform_.scripts_left(), 0u);
}

TEST_F(AboutDialogTest, ShowsTheFourTexts) {
  RunOwner([](MemoryWindow& main) { main.ChooseSystemMenuItem(kAboutCommand); },
           {[](MemoryWindow& box) {
             EXPECT_EQ(box.GetText(kVersionText), "Quorvane Utility Version 1.1");
             EXPECT_EQ(box.GetText(kCopyrightText), LoadString(kCopyrightString));
             EXPECT_EQ(box.GetText(kAuthorsText), LoadString(kAuthorsString));
             EXPECT_EQ(box.GetText(kDisclaimerText), LoadString(kDisclaimerString));
             EXPECT_EQ(box.Kind(kAboutBoxIcon), ControlKind::kIcon);
             box.Click(kIdOk);
           }});
}

struct CloseRow {
  std::string name;
  std::function<bool(MemoryWindow&)> close;
};

void PrintTo(const CloseRow& row, std::ostream* out) { *out << row.name; }

class AboutCloseTest : public AboutDialogTest, public ::testing::WithParamInterface<CloseRow> {};

// Each way out closes the box and returns to the main window as it was; a second opening shows
// the same texts.
TEST_P(AboutCloseTest, ClosesWithNoOtherEffect) {
  const auto close = [](MemoryWindow& box) {
    EXPECT_TRUE(GetParam().close(box));
    EXPECT_TRUE(box.Ended());
  };
  std::string authors_before;
  RunOwner(
      [&](MemoryWindow& main) {
        authors_before = main.GetText(kAuthorsText);
        const std::vector<int> visible_before = main.VisibleControls();
        ASSERT_TRUE(main.ChooseSystemMenuItem(kAboutCommand));
        EXPECT_FALSE(main.Blocked());
        EXPECT_FALSE(main.Ended());
        EXPECT_EQ(main.GetText(kAuthorsText), authors_before);
        EXPECT_EQ(main.VisibleControls(), visible_before);
        ASSERT_TRUE(main.ChooseSystemMenuItem(kAboutCommand));
      },
      {close, close});
  ASSERT_EQ(platform_.windows().size(), 3u);
  const MemoryWindow& first = *platform_.windows()[1];
  const MemoryWindow& second = *platform_.windows()[2];
  for (const int id : {kVersionText, kCopyrightText, kAuthorsText, kDisclaimerText}) {
    EXPECT_EQ(first.GetText(id), second.GetText(id));
  }
  EXPECT_TRUE(platform_.message_boxes().empty());
  EXPECT_TRUE(platform_.opened_urls().empty());
  EXPECT_EQ(platform_.scripts_left(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    WaysOut, AboutCloseTest,
    ::testing::Values(CloseRow{"ok_button", [](MemoryWindow& box) { return box.Click(kIdOk); }},
                      CloseRow{"enter", [](MemoryWindow& box) { return box.PressEnter(); }},
                      CloseRow{"escape", [](MemoryWindow& box) { return box.PressEsc(); }},
                      CloseRow{"close_button", [](MemoryWindow& box) { return box.Close(); }}),
    [](const auto& info) { return info.param.name; });

// Anything else the user does in the box leaves it open.
TEST_F(AboutDialogTest, StaysOpenForAnythingElse) {
  RunOwner([](MemoryWindow& main) { main.ChooseSystemMenuItem(kAboutCommand); },
           {[](MemoryWindow& box) {
             box.PressMouse({20, 20});
             box.ChooseSystemMenuItem(0xF010);  // Move
             EXPECT_FALSE(box.Ended());
             box.PressEsc();
           }});
  EXPECT_TRUE(platform_.windows()[1]->Ended());
}

}  // namespace
}  // namespace qup::ui
