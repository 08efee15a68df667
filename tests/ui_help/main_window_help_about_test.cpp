// SPDX-License-Identifier: MIT
// The Help and About tabs inside the whole main window: switching tabs, the Help page's OK, a
// calculation's refresh of the controls, and the About box from the window menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/registry.h"
#include "tests/support/offline_network.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/help_pages.h"
#include "ui/main_dialog.h"
#include "ui/platform/memory_platform.h"

namespace qup::ui {
namespace {

// A machine where the settings key has never been written: the 1099 page starts from defaults.
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

constexpr int kAboutTabTexts[] = {kVersionText, kCopyrightText, kAuthorsText, kDisclaimerText,
                                  kAims1Text,   kAims2Text,     kAims3Text};

class MainWindowHelpAboutTest : public ::testing::Test {
 protected:
  // Runs the main window with the user's script, then each About box's script in turn.
  void Run(MemoryPlatform::ModalScript user, std::vector<MemoryPlatform::ModalScript> boxes = {}) {
    platform_.QueueModalScript(std::move(user));
    for (auto& box : boxes) platform_.QueueModalScript(std::move(box));
    dialog_.DoModal();
    EXPECT_EQ(platform_.scripts_left(), 0u);
  }

  static void ExpectHelpPage(const MemoryWindow& window, int page) {
    SCOPED_TRACE("help page " + std::to_string(page));
    EXPECT_TRUE(window.IsVisible(kHelpText));
    EXPECT_EQ(window.GetText(kHelpText), HelpPageText(page));
    EXPECT_EQ(window.IsEnabled(kHelpPrevButton), page > 0);
    EXPECT_EQ(window.IsEnabled(kHelpNextButton), page < kHelpPageCount - 1);
  }

  // A W2 calculation that succeeds: every control is refreshed from its bound value.
  static void CalculateW2(MemoryWindow& window) {
    ASSERT_TRUE(window.PickTab(kTabControl, kW2Page));
    ASSERT_TRUE(window.Type(kW2RateEdit, "50"));
    ASSERT_TRUE(window.Pick(kW2HoursCombo, 2));
    ASSERT_TRUE(window.Click(kW2CalculateButton));
    ASSERT_EQ(window.GetText(kW2SalaryEdit), "$104000.00");
  }

  MemoryPlatform platform_;
  EmptyRegistry registry_;
  test_support::OfflineNetwork network_;
  MainDialog dialog_{platform_, registry_, network_};
};

TEST_F(MainWindowHelpAboutTest, TheHelpTabOpensOnPageZero) {
  Run([](MemoryWindow& window) {
    ASSERT_TRUE(window.PickTab(kTabControl, kHelpPage));
    ExpectHelpPage(window, 0);
  });
}

TEST_F(MainWindowHelpAboutTest, LeavingAndReenteringTheHelpTabKeepsThePage) {
  Run([](MemoryWindow& window) {
    ASSERT_TRUE(window.PickTab(kTabControl, kHelpPage));
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(window.Click(kHelpNextButton));
    ASSERT_TRUE(window.PickTab(kTabControl, kSuggestionsPage));
    EXPECT_FALSE(window.IsVisible(kHelpText));
    ASSERT_TRUE(window.PickTab(kTabControl, kHelpPage));
    ExpectHelpPage(window, 7);
  });
}

TEST_F(MainWindowHelpAboutTest, TheHelpPagesOkGoesToTheFirstTabAndKeepsThePage) {
  Run([](MemoryWindow& window) {
    ASSERT_TRUE(window.PickTab(kTabControl, kHelpPage));
    ASSERT_TRUE(window.Click(kHelpNextButton));
    ASSERT_TRUE(window.Click(kHelpNextButton));
    ASSERT_TRUE(window.Click(kHelpOkButton));
    EXPECT_EQ(window.TabGetCurSel(kTabControl), kSitePage);
    EXPECT_FALSE(window.IsVisible(kHelpText));
    ASSERT_TRUE(window.PickTab(kTabControl, kHelpPage));
    ExpectHelpPage(window, 2);
  });
}

TEST_F(MainWindowHelpAboutTest, TheHelpPageSurvivesACalculationsRefresh) {
  Run([](MemoryWindow& window) {
    ASSERT_TRUE(window.PickTab(kTabControl, kHelpPage));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(window.Click(kHelpNextButton));
    CalculateW2(window);
    ASSERT_TRUE(window.PickTab(kTabControl, kHelpPage));
    ExpectHelpPage(window, 3);
  });
}

TEST_F(MainWindowHelpAboutTest, TheAboutTabShowsItsTextsAndKeepsThemAfterACalculation) {
  Run([](MemoryWindow& window) {
    ASSERT_TRUE(window.PickTab(kTabControl, kAboutPage));
    EXPECT_EQ(window.GetText(kVersionText), "Quorvane Utility Version 1.1");
    EXPECT_EQ(window.GetText(kCopyrightText), LoadString(kCopyrightString));
    EXPECT_EQ(window.GetText(kAuthorsText), LoadString(kAuthorsString));
    EXPECT_EQ(window.GetText(kDisclaimerText), LoadString(kDisclaimerString));
    EXPECT_EQ(window.GetText(kAims1Text), kAimsText1);
    EXPECT_EQ(window.GetText(kAims2Text), kAimsText2);
    EXPECT_EQ(window.GetText(kAims3Text), kAimsText3);
    std::vector<std::string> before;
    for (const int id : kAboutTabTexts) {
      EXPECT_TRUE(window.IsVisible(id)) << id;
      before.push_back(window.GetText(id));
    }

    CalculateW2(window);
    ASSERT_TRUE(window.PickTab(kTabControl, kAboutPage));
    for (std::size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(window.GetText(kAboutTabTexts[i]), before[i]) << kAboutTabTexts[i];
    }
  });
}

TEST_F(MainWindowHelpAboutTest, TheWindowMenuEndsWithOneSeparatorAndTheAboutEntry) {
  Run([](MemoryWindow& window) {
    const auto& menu = window.SystemMenu();
    ASSERT_GE(menu.size(), 3u);
    EXPECT_NE(menu[menu.size() - 3].command, 0u);
    EXPECT_EQ(menu[menu.size() - 2].command, 0u);
    EXPECT_EQ(menu.back().command, kAboutCommand);
    EXPECT_EQ(menu.back().text, "&About Quorvane Utility...");
  });
}

// The box blocks the main window while it is open; closing it changes nothing there.
TEST_F(MainWindowHelpAboutTest, TheAboutEntryOpensTheBoxOverTheMainWindow) {
  Run(
      [](MemoryWindow& window) {
        ASSERT_TRUE(window.PickTab(kTabControl, kHelpPage));
        ASSERT_TRUE(window.Click(kHelpNextButton));
        ASSERT_TRUE(window.ChooseSystemMenuItem(kAboutCommand));
        EXPECT_FALSE(window.Ended());
        EXPECT_FALSE(window.Blocked());
        ExpectHelpPage(window, 1);
      },
      {[](MemoryWindow& box) {
        EXPECT_EQ(box.Title(), "About Quorvane Utility Program");
        ASSERT_NE(box.Owner(), nullptr);
        EXPECT_FALSE(box.Owner()->Click(kHelpNextButton));
        EXPECT_EQ(box.GetText(kVersionText), "Quorvane Utility Version 1.1");
        EXPECT_TRUE(box.Close());
      }});
  EXPECT_TRUE(platform_.opened_urls().empty());
}

}  // namespace
}  // namespace qup::ui
