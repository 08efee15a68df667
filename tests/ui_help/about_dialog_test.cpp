// SPDX-License-Identifier: MIT
// The About texts, the window menu entry and the About box's ways in and out.
#include <gtest/gtest.h>

#include <string>

#include "suggest/site_config.h"
#include "tests/ui_help/fake_window.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"

namespace qup::ui {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

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

TEST(AboutMenuEntryTest, MenuEndsWithOneSeparatorAndTheEntry) {
  FakeWindow window;
  window.AppendSystemMenuItem(0xF060, "&Close");
  AppendAboutMenuEntry(window);
  ASSERT_EQ(window.menu().size(), 3u);
  EXPECT_FALSE(window.menu()[0].separator);
  EXPECT_TRUE(window.menu()[1].separator);
  EXPECT_FALSE(window.menu()[2].separator);
  EXPECT_EQ(window.menu()[2].command, kAboutCommand);
  EXPECT_EQ(window.menu()[2].text, "&About Quorvane Utility...");
}

TEST(AboutMenuEntryTest, AWindowWithoutMenuGetsNothing) {
  FakeWindow window;
  window.set_has_system_menu(false);
  AppendAboutMenuEntry(window);
  EXPECT_TRUE(window.menu().empty());
}

TEST(AboutDialogTest, RunsOnItsTemplateOverTheOwner) {
  FakePlatform platform;
  FakeWindow owner;
  platform.set_user([](FakeWindow& box, DialogHandler& handler) {
    EXPECT_EQ(box.title(), "About Quorvane Utility Program");
    handler.OnCommand(kIdOk, Notification::kClicked);
  });
  AboutDialog().DoModal(platform, owner);
  ASSERT_EQ(platform.runs().size(), 1u);
  EXPECT_EQ(platform.runs()[0].template_id, kAboutTemplateId);
  EXPECT_EQ(platform.runs()[0].owner, &owner);
}

TEST(AboutDialogTest, ShowsTheFourTexts) {
  FakePlatform platform;
  FakeWindow owner;
  platform.set_user([](FakeWindow&, DialogHandler& handler) {
    handler.OnCommand(kIdOk, Notification::kClicked);
  });
  AboutDialog().DoModal(platform, owner);
  const FakeWindow& box = platform.last_window();
  EXPECT_EQ(box.GetText(kVersionText), "Quorvane Utility Version 1.1");
  EXPECT_EQ(box.GetText(kCopyrightText), LoadString(kCopyrightString));
  EXPECT_EQ(box.GetText(kAuthorsText), LoadString(kAuthorsString));
  EXPECT_EQ(box.GetText(kDisclaimerText), LoadString(kDisclaimerString));
}

struct CloseRow {
  std::string name;
  std::function<void(DialogHandler&)> close;
  int result;
};

class AboutCloseTest : public ::testing::TestWithParam<CloseRow> {};

// Each way out closes the box, leaves the owner as it was, and a second opening looks the same.
TEST_P(AboutCloseTest, ClosesWithNoOtherEffect) {
  FakePlatform platform;
  FakeWindow owner;
  owner.SetText(kVersionText, "owner's own text");
  platform.set_user([&](FakeWindow&, DialogHandler& handler) { GetParam().close(handler); });

  EXPECT_EQ(AboutDialog().DoModal(platform, owner), GetParam().result);
  const std::string first_authors = platform.last_window().GetText(kAuthorsText);
  EXPECT_EQ(AboutDialog().DoModal(platform, owner), GetParam().result);
  EXPECT_EQ(platform.last_window().GetText(kAuthorsText), first_authors);

  EXPECT_EQ(owner.GetText(kVersionText), "owner's own text");
  EXPECT_FALSE(owner.result().has_value());
  EXPECT_TRUE(owner.message_boxes().empty());
  EXPECT_TRUE(platform.message_boxes().empty());
  EXPECT_TRUE(platform.opened_urls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    WaysOut, AboutCloseTest,
    ::testing::Values(
        CloseRow{"ok_button", [](DialogHandler& h) { h.OnCommand(kIdOk, Notification::kClicked); },
                 kIdOk},
        CloseRow{"escape", [](DialogHandler& h) { h.OnCommand(kIdCancel, Notification::kClicked); },
                 kIdCancel},
        CloseRow{"close_button", [](DialogHandler& h) { h.OnSysCommand(kScClose); }, kIdCancel}),
    [](const auto& info) { return info.param.name; });

// Other commands and system commands (moving, the About entry itself) leave the box open.
TEST(AboutDialogTest, StaysOpenForAnythingElse) {
  FakePlatform platform;
  FakeWindow owner;
  platform.set_user([](FakeWindow& box, DialogHandler& handler) {
    handler.OnCommand(kAuthorsText, Notification::kClicked);
    handler.OnCommand(kIdOk, Notification::kSetFocus);
    handler.OnSysCommand(kAboutCommand);
    handler.OnSysCommand(0xF010);
    EXPECT_FALSE(box.result().has_value());
  });
  EXPECT_EQ(AboutDialog().DoModal(platform, owner), -1);
}

}  // namespace
}  // namespace qup::ui
