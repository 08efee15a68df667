// SPDX-License-Identifier: MIT
// The in-memory window's rules that the dialogs' logic relies on.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/platform/memory_platform.h"

namespace qup::ui {
namespace {

enum : int {
  kEditBox = 10,
  kNotes = 11,
  kCombo = 12,
  kDrop = 13,
  kFirstA = 20,
  kFirstB = 21,
  kSecondA = 22,
  kSecondB = 23,
  kButton = 30,
  kLabel = 40,
  kTabs = 50,
};

constexpr ControlSpec kControls[] = {
    {kEditBox, ControlKind::kEdit, "", {10, 10, 50, 12}, 0},
    {kNotes, ControlKind::kMultiLineEdit, "", {10, 30, 50, 40}, 0},
    {kCombo, ControlKind::kComboBox, "", {70, 10, 50, 60}, 0},
    {kDrop, ControlKind::kDropList, "", {70, 30, 50, 60}, 0},
    {kFirstA, ControlKind::kRadioButton, "%", {130, 10, 16, 16}, 0, kGroupStart},
    {kFirstB, ControlKind::kRadioButton, "$", {150, 10, 16, 16}, 0},
    {kSecondA, ControlKind::kRadioButton, "%", {130, 30, 16, 16}, 0, kGroupStart},
    {kSecondB, ControlKind::kRadioButton, "$", {150, 30, 16, 16}, 0},
    {kButton, ControlKind::kPushButton, "Go", {10, 80, 40, 14}, 0},
    {kLabel, ControlKind::kStatic, "Label", {60, 80, 40, 10}, 0},
    {kTabs, ControlKind::kTabControl, "", {0, 0, 200, 120}, kNoPage},
};
constexpr DialogTemplate kTestDialog{1, "Test", 200, 120, kControls};

// Records what the window tells the logic.
class Recorder : public DialogHandler {
 public:
  void OnInitDialog(Window&) override {}
  void OnCommand(int id, Notification code) override { commands.emplace_back(id, code); }
  void OnTabSelChange(int) override { ++tab_changes; }
  void OnSysCommand(unsigned) override {}

  std::vector<std::pair<int, Notification>> commands;
  int tab_changes = 0;
};

class MemoryWindowTest : public ::testing::Test {
 protected:
  MemoryWindowTest() {
    platform_.QueueModalScript([](MemoryWindow&) {});
    platform_.RunModal(kTestDialog, recorder_, nullptr);
    window_ = platform_.windows().back().get();
    for (const char* entry : {"520 hours", "1040 hours", "2080 hours"}) {
      window_->ComboAddString(kCombo, entry);
    }
    for (const char* entry : {"yearly", "monthly"}) window_->ComboAddString(kDrop, entry);
    recorder_.commands.clear();
  }

  MemoryPlatform platform_;
  Recorder recorder_;
  MemoryWindow* window_ = nullptr;
};

TEST_F(MemoryWindowTest, ComboSelectsTheFirstEntryBeginningWithTheTextIgnoringCase) {
  EXPECT_EQ(window_->ComboSelectString(kCombo, "10"), 1);
  EXPECT_EQ(window_->GetText(kCombo), "1040 hours");
  EXPECT_EQ(window_->ComboSelectString(kCombo, "2080 HOURS"), 2);
}

TEST_F(MemoryWindowTest, ComboSelectFailsForEmptyOrUnmatchedTextLeavingTheBox) {
  window_->ComboSelectString(kCombo, "5");
  EXPECT_EQ(window_->ComboSelectString(kCombo, ""), kComboError);
  EXPECT_EQ(window_->ComboSelectString(kCombo, "600"), kComboError);
  EXPECT_EQ(window_->ComboGetCurSel(kCombo), 0);
  EXPECT_EQ(window_->GetText(kCombo), "520 hours");
}

TEST_F(MemoryWindowTest, SettingAComboTextDeselects) {
  window_->ComboSelectString(kCombo, "5");
  window_->SetText(kCombo, "52");
  EXPECT_EQ(window_->ComboGetCurSel(kCombo), kComboError);
  EXPECT_EQ(window_->GetText(kCombo), "52");
}

TEST_F(MemoryWindowTest, TypingIntoADropListPicksByPrefix) {
  window_->Type(kDrop, "m");
  EXPECT_EQ(window_->GetText(kDrop), "monthly");
  EXPECT_EQ(window_->ComboGetCurSel(kDrop), 1);
}

TEST_F(MemoryWindowTest, CheckingOneRadioClearsOnlyItsPartner) {
  window_->SetCheck(kFirstA, 1);
  window_->SetCheck(kSecondA, 1);
  window_->Click(kFirstB);
  EXPECT_EQ(window_->GetCheck(kFirstA), 0);
  EXPECT_EQ(window_->GetCheck(kFirstB), 1);
  EXPECT_EQ(window_->GetCheck(kSecondA), 1);
}

TEST_F(MemoryWindowTest, HiddenAndDisabledControlsTakeNoInput) {
  window_->Show(kButton, false);
  window_->Enable(kEditBox, false);
  EXPECT_FALSE(window_->Click(kButton));
  EXPECT_FALSE(window_->Type(kEditBox, "x"));
  EXPECT_FALSE(window_->Click(kLabel));
  EXPECT_EQ(window_->GetText(kEditBox), "");
  EXPECT_TRUE(recorder_.commands.empty());
}

TEST_F(MemoryWindowTest, LineBreaksCountTwiceAndTypingPastTheLimitKeepsWhatFits) {
  window_->LimitText(kNotes, 6);
  window_->Type(kNotes, "ab\ncdef");
  EXPECT_EQ(window_->GetText(kNotes), "ab\r\ncd");
  EXPECT_EQ(recorder_.commands.back(), std::make_pair(int{kNotes}, Notification::kMaxText));
}

TEST_F(MemoryWindowTest, FocusReachingAnEditNotifiesOnce) {
  window_->MoveFocus(kButton);
  recorder_.commands.clear();
  window_->Type(kEditBox, "a");
  window_->Type(kEditBox, "b");
  EXPECT_EQ(recorder_.commands,
            (std::vector<std::pair<int, Notification>>{{kEditBox, Notification::kSetFocus}}));
}

TEST_F(MemoryWindowTest, EnterPressesAFocusedButtonElseIssuesOk) {
  window_->MoveFocus(kButton);
  window_->PressEnter();
  window_->MoveFocus(kEditBox);
  window_->PressEnter();
  window_->PressEsc();
  EXPECT_EQ(recorder_.commands,
            (std::vector<std::pair<int, Notification>>{{kButton, Notification::kClicked},
                                                       {kEditBox, Notification::kSetFocus},
                                                       {kIdOk, Notification::kClicked},
                                                       {kIdCancel, Notification::kClicked}}));
}

TEST_F(MemoryWindowTest, OnlyTheUsersTabChangeNotifies) {
  for (const char* caption : {"One", "Two"}) window_->TabInsertItem(kTabs, 9, caption);
  EXPECT_EQ(window_->TabGetCurSel(kTabs), 0);
  window_->TabSetCurSel(kTabs, 1);
  window_->PickTab(kTabs, 1);
  EXPECT_EQ(recorder_.tab_changes, 0);
  window_->PickTab(kTabs, 0);
  EXPECT_EQ(recorder_.tab_changes, 1);
}

TEST_F(MemoryWindowTest, MapsDialogUnitsAtSixByThirteen) {
  const Rect pixels = window_->MapDialogRect({70, 26, 199, 118});
  EXPECT_EQ(pixels.x, 105);
  EXPECT_EQ(pixels.y, 42);
  EXPECT_EQ(pixels.width, 299);
  EXPECT_EQ(pixels.height, 192);
}

}  // namespace
}  // namespace qup::ui
