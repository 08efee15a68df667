// SPDX-License-Identifier: MIT
// The Qt window's own behaviour beyond the shared window contract (tests/support/
// window_contract.h), driven with real input events: what the multi-line box hands back, the
// disabled tabs' keys, and the controls a page makes only when needed. (Shift+F10,
// Ctrl+Shift+Tab and typing into a combo box are the transcripts keyboard_only, window_menu_keys,
// combo_text and w2_validation, the owned box giving the focus back about_box_focus.sh, and the
// window menu's names and key bindings the accessibility bus test.)
#include "ui/platform/qt/qt_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <string>
#include <vector>

#include "tests/support/notification_log.h"
#include "ui/platform/qt/qt_platform.h"

namespace qup::ui {
namespace {

constexpr int kEditId = 10;
constexpr int kNotesId = 11;
constexpr int kButtonId = 12;
constexpr int kFirstRadio = 13;
constexpr int kSecondRadio = 14;
constexpr int kTabsId = 15;
constexpr int kHoursId = 16;

constexpr ControlSpec kControls[] = {
    {kEditId, ControlKind::kEdit, "", {10, 10, 80, 12}, 0},
    {kNotesId, ControlKind::kMultiLineEdit, "", {10, 30, 80, 40}, 0},
    {kButtonId, ControlKind::kPushButton, "Press", {10, 80, 50, 14}, 0},
    {kFirstRadio, ControlKind::kRadioButton, "%", {100, 10, 16, 16}, 0, kGroupStart | kTextLeft},
    {kSecondRadio, ControlKind::kRadioButton, "$", {120, 10, 16, 16}, 0, kTextLeft},
    {kTabsId, ControlKind::kTabControl, "", {2, 2, 196, 116}, kNoPage},
};
constexpr DialogTemplate kTemplate{1, "Test window", 200, 120, kControls};

using Recorder = test_support::NotificationLog;

class QtWindowTest : public testing::Test {
 protected:
  QtWindowTest() : window_(kTemplate, recorder_, platform_, nullptr) {
    window_.TabInsertItem(kTabsId, 0, "One");
    window_.TabInsertItem(kTabsId, 1, "Two");
    window_.TabInsertItem(kTabsId, 2, "Three");
    window_.show();
    QApplication::setActiveWindow(&window_);
    recorder_.events.clear();  // the focus given on activation
  }

  QWidget* Widget(int id) { return window_.InputWidget(id); }
  void Focus(int id) {
    window_.SetFocus(id);
    recorder_.events.clear();
  }

  QtPlatform platform_{"test"};
  Recorder recorder_;
  QtWindow window_;
};

// The box hands back the characters it holds: a no-break space stays one (not a plain space),
// and a pasted line or paragraph separator, which the box shows as a line break, comes back as
// one. (A typed no-break space is the transcript suggest_no_break_space.)
TEST_F(QtWindowTest, TheMultiLineEditHandsBackWhatItHolds) {
  Focus(kNotesId);
  QApplication::clipboard()->setText(QStringLiteral("a\u2028b\u2029c\u00A0"));
  static_cast<QPlainTextEdit*>(Widget(kNotesId))->paste();
  EXPECT_EQ(window_.GetText(kNotesId), "a\r\nb\r\nc\u00A0");
  window_.SetText(kNotesId, "x\u00A0y\r\nz");
  EXPECT_EQ(window_.GetText(kNotesId), "x\u00A0y\r\nz");
}

TEST_F(QtWindowTest, TabKeysDoNothingWhileTheTabsAreDisabled) {
  window_.Enable(kTabsId, false);
  Focus(kEditId);
  QTest::keyClick(Widget(kEditId), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(window_.TabGetCurSel(kTabsId), 0);
  EXPECT_TRUE(recorder_.events.empty());
}

// A window whose second page is made only when needed: what the logic sets on its controls
// before then must reach the widgets, in the order it was set.
constexpr int kStartText = 20;
constexpr ControlSpec kPagedControls[] = {
    {kTabsId, ControlKind::kTabControl, "", {2, 2, 196, 116}, kNoPage},
    {kStartText, ControlKind::kStatic, "Welcome", {10, 20, 80, 10}, 0},
    {kEditId, ControlKind::kEdit, "", {10, 20, 80, 12}, 1},
    {kButtonId, ControlKind::kPushButton, "Press", {10, 80, 50, 14}, 1},
    {kFirstRadio, ControlKind::kRadioButton, "%", {100, 10, 16, 16}, 1, kGroupStart | kTextLeft},
    {kSecondRadio, ControlKind::kRadioButton, "$", {120, 10, 16, 16}, 1, kTextLeft},
    {kHoursId, ControlKind::kComboBox, "", {100, 30, 80, 60}, 1},
};
constexpr DialogTemplate kPagedTemplate{2, "Paged window", 200, 120, kPagedControls};

class PagedWindowTest : public testing::Test {
 protected:
  // The widgets of controls, found as Qt sees the window's children, without asking the window.
  int MadeCount() const {
    return static_cast<int>(window_.findChildren<QLineEdit*>(QString::number(kEditId)).size() +
                            window_.findChildren<QRadioButton*>().size() +
                            window_.findChildren<QComboBox*>().size());
  }

  QtPlatform platform_{"test"};
  Recorder recorder_;
  QtWindow window_{kPagedTemplate, recorder_, platform_, nullptr};
};

// What a control hidden at opening keeps is the window contract's; here, that questions make no
// widget, that a limit set after the text applies to it, that a widget made before the window
// shows stays hidden if it was hidden, and that radio partners are made along.
TEST_F(PagedWindowTest, QuestionsMakeNoWidgetAndWhatIsSetReachesItInOrder) {
  window_.SetText(kEditId, "12.50");
  window_.LimitText(kEditId, 4);
  window_.SetCheck(kSecondRadio, 1);
  window_.Show(kButtonId, false);
  EXPECT_EQ(window_.GetCheck(kSecondRadio), 1);
  EXPECT_TRUE(window_.IsVisible(kEditId));
  EXPECT_EQ(MadeCount(), 0);
  EXPECT_EQ(window_.GetText(kEditId), "12.5");  // made now, with its limit applied after
  EXPECT_TRUE(window_.InputWidget(kButtonId)->isHidden());
  window_.Show(kFirstRadio, true);
  EXPECT_EQ(window_.findChildren<QRadioButton*>().size(), 2);
}

TEST_F(PagedWindowTest, ShowingTheWindowMakesOnlyWhatShows) {
  window_.Show(kButtonId, false);
  window_.Show(kFirstRadio, false);
  window_.Show(kSecondRadio, false);
  window_.Show(kHoursId, false);
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  QTest::qWait(20);
  EXPECT_EQ(MadeCount(), 1);  // the edit, left visible
  const auto edits = window_.findChildren<QLineEdit*>(QString::number(kEditId));
  ASSERT_EQ(edits.size(), 1);
  EXPECT_TRUE(edits.front()->isVisible());
}

TEST_F(PagedWindowTest, ControlsMadeInAnyOrderOverlapAndAreListedInTemplateOrder) {
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  for (const int id : {kHoursId, kButtonId, kStartText, kSecondRadio, kEditId}) {
    window_.Show(id, true);
  }
  std::vector<int> listed;
  for (const QObject* child : window_.children()) {
    bool numbered = false;
    const int id = child->objectName().toInt(&numbered);
    if (numbered) listed.push_back(id);
  }
  // The tab bar lies beneath every page's controls.
  EXPECT_EQ(listed, (std::vector<int>{kTabsId, kStartText, kEditId, kButtonId, kFirstRadio,
                                      kSecondRadio, kHoursId}));
  EXPECT_TRUE(window_.InputWidget(kHoursId)->isVisible());
}

}  // namespace
}  // namespace qup::ui
