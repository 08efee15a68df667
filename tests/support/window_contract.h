// SPDX-License-Identifier: MIT
// WindowContract: what every implementation of ui::Window does, written once as typed tests.
//
// An implementation plugs in with a driver (see WindowDriver below) and one line in its own
// test file, which is the only file of its test program that includes this header:
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(QtWindowContract, WindowContract, testing::Types<QtDriver>);
//
// ctest then lists each case as QtWindowContract.Case<qup::test_support::QtDriver> (a driver
// in an anonymous namespace would make that longer).
//
// The cases act as a user does where the interface leaves it to the user (clicks, keys,
// typing, the window menu), through the driver, and otherwise call ui::Window alone. The rules
// they check are ui/platform/control_rules.h's.
#ifndef QUP_TESTS_SUPPORT_WINDOW_CONTRACT_H
#define QUP_TESTS_SUPPORT_WINDOW_CONTRACT_H

#include <gtest/gtest.h>

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/notification_log.h"
#include "ui/platform/control_rules.h"
#include "ui/platform/dialog_template.h"
#include "ui/platform/window.h"

namespace qup::test_support {

// One entry of the window menu as the user sees it; a separator has command 0 and no text.
struct MenuEntry {
  unsigned command;
  std::string text;
  bool operator==(const MenuEntry&) const = default;
};

// How the shared cases open a window of one implementation and act on it as its user.
// Open makes the window from the template, calls handler.OnInitDialog, gives the first focus
// and shows it, as the platform's modal run does, and leaves it open for the case; the window
// lives as long as the driver. Every action goes through the window as a user's would: a
// control that is hidden or disabled does not take it.
template <typename Driver>
concept WindowDriver = std::default_initializable<Driver> &&
    requires(Driver driver, const ui::DialogTemplate& dialog, ui::DialogHandler& handler, int id,
             int index, std::string_view text, bool forward, unsigned command, ui::Arrow arrow) {
  { driver.Open(dialog, handler) } -> std::same_as<ui::Window&>;
  driver.Click(id);                      // a mouse click on a push or radio button
  driver.Type(id, text);                 // a click into an edit or combo box, then keystrokes
                                         // at the end of its text ("\n" is Enter)
  driver.Paste(id, text);                // a click into an edit, then text pasted at its end
  driver.PressTab(forward);              // Tab, or Shift+Tab
  driver.PressEnter();                   // Enter, on whatever has the focus
  driver.PressEsc();                     // Esc
  driver.PressArrow(arrow);              // an arrow key, on whatever has the focus
  driver.PickTab(id, index);             // a click on tab index of tab control id
  driver.PressCloseButton();             // the title bar's close button
  driver.ChooseSystemMenuItem(command);  // opens the window menu and chooses the command
  { driver.SystemMenu() } -> std::same_as<std::vector<MenuEntry>>;
};

// The window the cases open: each kind of control, with the rules' corner cases in its order.
namespace contract {

enum Id : int {
  kName = 100,         // static text
  kEdit = 101,         // tab stop 1
  kSkipped = 102,      // edit marked kNoTabStop
  kNotes = 103,        // multi-line edit, tab stop 2
  kPercent = 104,      // radio, starts a group
  kDollar = 105,       // radio, its partner
  kFrame = 106,        // group box: ends the radio run
  kLoose = 107,        // radio after another kind: a group of its own
  kFirstOfTwo = 108,   // radio, starts a group
  kSecondOfTwo = 109,  // radio marked kGroupStart: a new group right after the one before
  kHours = 110,        // combo box, tab stop 3
  kPeriod = 111,       // drop list, tab stop 4
  kApply = 112,        // push button, tab stop 5
  kLocked = 113,       // push button disabled in the template
  kClear = 114,        // push button, tab stop 6
  kTabs = 115,         // tab control
};

inline constexpr ui::ControlSpec kControls[] = {
    {kName, ui::ControlKind::kStatic, "Name:", {10, 10, 40, 10}, 0},
    {kEdit, ui::ControlKind::kEdit, "", {55, 8, 80, 12}, 0},
    {kSkipped, ui::ControlKind::kEdit, "", {140, 8, 50, 12}, 0, ui::kNoTabStop},
    {kNotes, ui::ControlKind::kMultiLineEdit, "", {10, 24, 120, 30}, 0},
    {kPercent,
     ui::ControlKind::kRadioButton,
     "%",
     {140, 24, 16, 12},
     0,
     ui::kGroupStart | ui::kTextLeft},
    {kDollar, ui::ControlKind::kRadioButton, "$", {160, 24, 16, 12}, 0, ui::kTextLeft},
    {kFrame, ui::ControlKind::kGroupBox, "Other", {136, 20, 60, 40}, 0},
    {kLoose, ui::ControlKind::kRadioButton, "Loose", {140, 40, 50, 12}, 0},
    {kFirstOfTwo, ui::ControlKind::kRadioButton, "One", {200, 24, 40, 12}, 0, ui::kGroupStart},
    {kSecondOfTwo, ui::ControlKind::kRadioButton, "Two", {200, 40, 40, 12}, 0, ui::kGroupStart},
    {kHours, ui::ControlKind::kComboBox, "", {10, 60, 100, 60}, 0},
    {kPeriod, ui::ControlKind::kDropList, "", {120, 60, 60, 40}, 0},
    {kApply, ui::ControlKind::kPushButton, "Apply", {10, 80, 50, 14}, 0},
    {kLocked, ui::ControlKind::kPushButton, "Locked", {70, 80, 50, 14}, 0, ui::kDisabled},
    {kClear, ui::ControlKind::kPushButton, "Clear", {130, 80, 50, 14}, 0},
    {kTabs, ui::ControlKind::kTabControl, "", {2, 2, 246, 116}, ui::kNoPage},
};
inline constexpr ui::DialogTemplate kTemplate{900, "Contract window", 250, 120, kControls};

// The same buttons, with the default button marked twice, and once on a disabled button.
inline constexpr ui::ControlSpec kTwoDefaultsControls[] = {
    {kEdit, ui::ControlKind::kEdit, "", {10, 10, 80, 12}, 0},
    {kApply, ui::ControlKind::kPushButton, "Apply", {10, 30, 50, 14}, 0, ui::kDefaultButton},
    {kClear, ui::ControlKind::kPushButton, "Clear", {70, 30, 50, 14}, 0, ui::kDefaultButton},
};
inline constexpr ui::DialogTemplate kTwoDefaults{901, "Two defaults", 130, 50,
                                                 kTwoDefaultsControls};
inline constexpr ui::ControlSpec kLockedDefaultControls[] = {
    {kEdit, ui::ControlKind::kEdit, "", {10, 10, 80, 12}, 0},
    {kLocked,
     ui::ControlKind::kPushButton,
     "Locked",
     {10, 30, 50, 14},
     0,
     ui::kDefaultButton | ui::kDisabled},
};
inline constexpr ui::DialogTemplate kLockedDefault{902, "Locked default", 130, 50,
                                                   kLockedDefaultControls};

}  // namespace contract

template <WindowDriver Driver>
class WindowContract : public testing::Test {
 protected:
  ui::Window& Open(const ui::DialogTemplate& dialog = contract::kTemplate) {
    window_ = &driver_.Open(dialog, log_);
    log_.events.clear();  // the first focus
    return *window_;
  }
  ui::Window& window() { return *window_; }
  Events& events() { return log_.events; }
  // The ids the Tab key visits from the focus on, count presses.
  std::vector<int> TabWalk(int count, bool forward = true) {
    std::vector<int> visited;
    for (int i = 0; i < count; ++i) {
      driver_.PressTab(forward);
      visited.push_back(window_->FocusedControl());
    }
    return visited;
  }
  void FillCombo(int id, std::initializer_list<std::string_view> entries) {
    for (std::string_view entry : entries) window_->ComboAddString(id, entry);
  }

  Driver driver_;
  NotificationLog log_;

 private:
  ui::Window* window_ = nullptr;
};

TYPED_TEST_SUITE_P(WindowContract);

using namespace contract;  // NOLINT(google-build-using-namespace): the cases' control names

// --- Texts ---

TYPED_TEST_P(WindowContract, TextsAreReplacedWholeAndReadBack) {
  ui::Window& window = this->Open();
  for (const auto& [id, text] : std::vector<std::pair<int, std::string>>{
           {kName, "Rate:\tnow"},
           {kEdit, "Café 12,50"},
           {kNotes, "first\r\nsecond"},
           {kApply, "&Go"},
           {kFrame, "Taxes"},
           {kHours, "52 hours"},
       }) {
    window.SetText(id, text);
    EXPECT_EQ(window.GetText(id), text) << id;
  }
  EXPECT_EQ(window.GetText(kDollar), "$");  // the template's caption
}

TYPED_TEST_P(WindowContract, AnIdTheTemplateDoesNotHoldIsIgnored) {
  ui::Window& window = this->Open();
  constexpr int kMissing = 4242;
  window.SetText(kMissing, "x");
  window.Show(kMissing, true);
  window.Enable(kMissing, true);
  window.SetCheck(kMissing, 1);
  window.ComboAddString(kMissing, "x");
  window.SetFocus(kMissing);
  EXPECT_EQ(window.GetText(kMissing), "");
  EXPECT_FALSE(window.IsVisible(kMissing));
  EXPECT_FALSE(window.IsEnabled(kMissing));
  EXPECT_EQ(window.GetCheck(kMissing), 0);
  EXPECT_EQ(window.ComboSelectString(kMissing, "x"), ui::kComboError);
  EXPECT_EQ(window.ComboGetCurSel(kMissing), ui::kComboError);
  EXPECT_EQ(window.FocusedControl(), kEdit);
  EXPECT_TRUE(this->events().empty());
}

// --- Show and enable ---

TYPED_TEST_P(WindowContract, HiddenAndDisabledControlsTakeNoInput) {
  ui::Window& window = this->Open();
  EXPECT_FALSE(window.IsEnabled(kLocked));  // disabled in the template
  window.Show(kApply, false);
  window.Enable(kClear, false);
  window.Show(kPercent, false);
  EXPECT_FALSE(window.IsVisible(kApply));
  EXPECT_TRUE(window.IsEnabled(kApply));
  EXPECT_TRUE(window.IsVisible(kClear));
  EXPECT_FALSE(window.IsEnabled(kClear));
  for (const int id : {kApply, kClear, kLocked, kPercent}) this->driver_.Click(id);
  EXPECT_TRUE(this->events().empty());
  EXPECT_EQ(window.GetCheck(kPercent), 0);

  window.Show(kApply, true);
  window.Enable(kClear, true);
  window.Enable(kLocked, true);
  for (const int id : {kApply, kClear, kLocked}) this->driver_.Click(id);
  EXPECT_EQ(this->events(), (Events{"112 clicked", "114 clicked", "113 clicked"}));
}

// --- Focus ---

TYPED_TEST_P(WindowContract, TheFirstTabStopThatCanTakeItHasTheFocusAtOpening) {
  this->log_.on_init = [](ui::Window& window) { window.Show(kEdit, false); };
  ui::Window& window = this->Open();
  EXPECT_EQ(window.FocusedControl(), kNotes);
}

// A control hidden as the window opens, as a tab page's are, keeps what the program sets on it
// and answers from that, before and after it first shows.
TYPED_TEST_P(WindowContract, AControlHiddenAtOpeningKeepsWhatIsSetOnIt) {
  const auto expect_kept = [](const ui::Window& window) {
    EXPECT_EQ(window.GetText(kName), "Rate:");
    EXPECT_EQ(window.GetText(kHours), "60");
    EXPECT_EQ(window.ComboGetCurSel(kHours), -1);
    EXPECT_EQ(window.GetText(kPeriod), "monthly");
    EXPECT_EQ(window.GetCheck(kPercent) + window.GetCheck(kDollar), 2);
    EXPECT_FALSE(window.IsEnabled(kApply));
  };
  this->log_.on_init = [&](ui::Window& window) {
    for (const int id : {kName, kNotes, kPercent, kDollar, kHours, kPeriod, kApply}) {
      window.Show(id, false);
    }
    window.SetText(kName, "Rate:");
    for (const std::string_view entry : {"40 hours", "52 hours"})
      window.ComboAddString(kHours, entry);
    EXPECT_EQ(window.ComboSelectString(kHours, "52"), 1);
    EXPECT_EQ(window.GetText(kHours), "52 hours");
    window.SetText(kHours, "60");
    for (const std::string_view entry : {"yearly", "monthly"})
      window.ComboAddString(kPeriod, entry);
    window.SetText(kPeriod, "monthly");
    window.SetCheck(kPercent, 1);
    window.SetCheck(kDollar, 1);
    window.Enable(kApply, false);
    window.LimitText(kNotes, 3);
    EXPECT_FALSE(window.IsVisible(kNotes));
    expect_kept(window);
  };
  ui::Window& window = this->Open();
  for (const int id : {kName, kNotes, kPercent, kDollar, kHours, kPeriod, kApply}) {
    window.Show(id, true);
  }
  expect_kept(window);
  this->driver_.Type(kNotes, "12345");
  EXPECT_EQ(window.GetText(kNotes), "123");
}

TYPED_TEST_P(WindowContract, SetFocusMovesTheFocusToAControlThatCanTakeIt) {
  ui::Window& window = this->Open();
  window.SetFocus(kNotes);
  EXPECT_EQ(window.FocusedControl(), kNotes);
  EXPECT_EQ(this->events(), Events{"103 setfocus"});  // an edit hears it
  window.SetFocus(kApply);
  EXPECT_EQ(window.FocusedControl(), kApply);
  window.SetFocus(kName);  // a static text never has the focus
  window.SetFocus(kLocked);
  window.Show(kClear, false);
  window.SetFocus(kClear);
  EXPECT_EQ(window.FocusedControl(), kApply);
  EXPECT_EQ(this->events(), Events{"103 setfocus"});
}

TYPED_TEST_P(WindowContract, HidingOrDisablingTheFocusedControlLeavesNoFocus) {
  ui::Window& window = this->Open();
  window.SetFocus(kApply);
  window.Show(kApply, false);
  EXPECT_EQ(window.FocusedControl(), 0);
  window.SetFocus(kClear);
  window.Enable(kClear, false);
  EXPECT_EQ(window.FocusedControl(), 0);
  EXPECT_TRUE(this->events().empty());
}

TYPED_TEST_P(WindowContract, TabVisitsTheTabStopsInTemplateOrderAndWraps) {
  ui::Window& window = this->Open();
  EXPECT_EQ(window.FocusedControl(), kEdit);
  // One button of each radio group (its first, as none is checked); not the edit marked
  // kNoTabStop, the texts, frames or the tab control; not the disabled button.
  EXPECT_EQ(this->TabWalk(10),
            (std::vector<int>{kNotes, kPercent, kLoose, kFirstOfTwo, kSecondOfTwo, kHours, kPeriod,
                              kApply, kClear, kEdit}));
  EXPECT_EQ(this->TabWalk(2, false), (std::vector<int>{kClear, kApply}));
  EXPECT_EQ(this->events(), (Events{"103 setfocus", "101 setfocus"}));
  // Of a group, the checked button; the first of them when the program left two checked.
  window.SetCheck(kDollar, 1);
  window.SetFocus(kNotes);
  EXPECT_EQ(this->TabWalk(2), (std::vector<int>{kDollar, kLoose}));
  EXPECT_EQ(this->TabWalk(1, false), (std::vector<int>{kDollar}));
  window.SetCheck(kPercent, 1);
  window.SetFocus(kNotes);
  EXPECT_EQ(this->TabWalk(1), (std::vector<int>{kPercent}));
}

TYPED_TEST_P(WindowContract, TabPassesOverHiddenAndDisabledControls) {
  ui::Window& window = this->Open();
  window.Show(kNotes, false);
  window.Enable(kHours, false);
  window.Show(kClear, false);
  window.Enable(kLocked, true);
  EXPECT_EQ(this->TabWalk(8), (std::vector<int>{kPercent, kLoose, kFirstOfTwo, kSecondOfTwo,
                                                kPeriod, kApply, kLocked, kEdit}));
  EXPECT_EQ(this->TabWalk(1, false), (std::vector<int>{kLocked}));
}

// --- Radio buttons ---

TYPED_TEST_P(WindowContract, SettingARadioButtonLeavesItsPartnersAsTheyAre) {
  ui::Window& window = this->Open();
  window.SetCheck(kPercent, 1);
  window.SetCheck(kDollar, 1);  // both of a pair may show checked, as a stored text can say
  EXPECT_EQ(window.GetCheck(kPercent), 1);
  EXPECT_EQ(window.GetCheck(kDollar), 1);
  window.SetCheck(kDollar, 0);  // unchecks the button alone
  EXPECT_EQ(window.GetCheck(kDollar), 0);
  EXPECT_EQ(window.GetCheck(kPercent), 1);
  window.SetCheck(kPercent, 0);  // and neither may
  EXPECT_EQ(window.GetCheck(kPercent), 0);
  window.SetCheck(kPercent, 2);  // any other state than 0 checks
  EXPECT_EQ(window.GetCheck(kPercent), 1);
  EXPECT_EQ(window.GetCheck(kEdit), 0);
  EXPECT_TRUE(this->events().empty());
}

TYPED_TEST_P(WindowContract, ClickingARadioButtonChecksItAndUnchecksItsPartner) {
  ui::Window& window = this->Open();
  window.SetCheck(kPercent, 1);
  window.SetCheck(kLoose, 1);
  this->driver_.Click(kDollar);
  EXPECT_EQ(window.GetCheck(kDollar), 1);
  EXPECT_EQ(window.GetCheck(kPercent), 0);
  EXPECT_EQ(window.GetCheck(kLoose), 1);
  this->driver_.Click(kPercent);
  EXPECT_EQ(window.GetCheck(kPercent), 1);
  EXPECT_EQ(window.GetCheck(kDollar), 0);
  // A press clears the partner also when the program had left both checked, and groups keep
  // to themselves: a radio button after another kind of control, or marked kGroupStart right
  // after another group, is a group of its own.
  window.SetCheck(kDollar, 1);
  window.SetCheck(kFirstOfTwo, 1);
  window.SetCheck(kSecondOfTwo, 1);
  this->driver_.Click(kPercent);
  EXPECT_EQ(window.GetCheck(kPercent), 1);
  EXPECT_EQ(window.GetCheck(kDollar), 0);
  this->driver_.Click(kFirstOfTwo);
  EXPECT_EQ(window.GetCheck(kFirstOfTwo), 1);
  EXPECT_EQ(window.GetCheck(kSecondOfTwo), 1);
  EXPECT_EQ(window.GetCheck(kLoose), 1);
  EXPECT_EQ(window.GetCheck(kPercent), 1);
  EXPECT_EQ(this->events(), (Events{"105 clicked", "104 clicked", "104 clicked", "108 clicked"}));
}

// --- Enter and Esc ---

TYPED_TEST_P(WindowContract, ArrowKeysMoveThroughARadioGroupAndChoose) {
  ui::Window& window = this->Open();
  this->driver_.Click(kPercent);
  this->events().clear();
  // Right and Down move to the next button, Left and Up to the previous, round the ends.
  for (const auto& [arrow, lands_on] :
       {std::pair{ui::Arrow::kRight, kDollar}, std::pair{ui::Arrow::kDown, kPercent},
        std::pair{ui::Arrow::kUp, kDollar}, std::pair{ui::Arrow::kLeft, kPercent}}) {
    this->driver_.PressArrow(arrow);
    EXPECT_EQ(window.FocusedControl(), lands_on);
    EXPECT_EQ(window.GetCheck(lands_on), 1);
    EXPECT_EQ(window.GetCheck(lands_on == kPercent ? kDollar : kPercent), 0);
  }
  EXPECT_EQ(this->events(), (Events{"105 clicked", "104 clicked", "105 clicked", "104 clicked"}));
  // A partner that cannot take the focus is passed over, and the arrows never leave the group.
  window.Enable(kDollar, false);
  this->driver_.PressArrow(ui::Arrow::kRight);
  EXPECT_EQ(window.FocusedControl(), kPercent);
  EXPECT_EQ(window.GetCheck(kLoose), 0);
}

// Enter in a multi-line edit breaks the line instead.
TYPED_TEST_P(WindowContract, EnterIssuesOkOrPressesTheFocusedButton) {
  ui::Window& window = this->Open();
  this->driver_.PressEnter();  // in the edit
  this->driver_.Type(kNotes, "ab\ncd");
  EXPECT_EQ(window.GetText(kNotes), "ab\r\ncd");
  window.SetFocus(kClear);
  this->driver_.PressEnter();
  this->driver_.PressEsc();
  EXPECT_EQ(this->events(), (Events{"1 clicked", "103 setfocus", "114 clicked", "2 clicked"}));
}

TYPED_TEST_P(WindowContract, EnterIssuesTheLastButtonTheTemplateMarksDefault) {
  this->Open(kTwoDefaults);
  this->driver_.PressEnter();
  EXPECT_EQ(this->events(), Events{"114 clicked"});
}

TYPED_TEST_P(WindowContract, ADisabledDefaultButtonTakesNoEnter) {
  this->Open(kLockedDefault);
  this->driver_.PressEnter();
  EXPECT_TRUE(this->events().empty());
}

// --- Combo boxes ---

TYPED_TEST_P(WindowContract, ComboEntriesStayInOrderAndAddingSelectsNone) {
  ui::Window& window = this->Open();
  window.SetText(kHours, "7");
  this->FillCombo(kHours, {"520 hours", "1040 hours", "2080 hours"});
  EXPECT_EQ(window.ComboGetCurSel(kHours), ui::kComboError);
  EXPECT_EQ(window.GetText(kHours), "7");
  window.ComboSetCurSel(kHours, 2);
  EXPECT_EQ(window.ComboGetCurSel(kHours), 2);
  EXPECT_EQ(window.GetText(kHours), "2080 hours");
  window.ComboSetCurSel(kHours, 3);  // past the end: none
  EXPECT_EQ(window.ComboGetCurSel(kHours), ui::kComboError);
  EXPECT_EQ(window.GetText(kHours), "");
  window.ComboSetCurSel(kHours, 0);
  window.SetText(kHours, "520 hours");  // a text, even an entry's, selects none
  EXPECT_EQ(window.ComboGetCurSel(kHours), ui::kComboError);
  EXPECT_EQ(window.GetText(kHours), "520 hours");
}

TYPED_TEST_P(WindowContract, SelectStringTakesTheFirstEntryThatBeginsWithThePrefix) {
  ui::Window& window = this->Open();
  this->FillCombo(kHours, {"520 hours", "1040 hours", "10 hours"});
  EXPECT_EQ(window.ComboSelectString(kHours, "10"), 1);
  EXPECT_EQ(window.GetText(kHours), "1040 hours");
  EXPECT_EQ(window.ComboSelectString(kHours, "520 HOURS"), 0);
  // No entry, or an empty prefix: the box stays as it was.
  EXPECT_EQ(window.ComboSelectString(kHours, "9"), ui::kComboError);
  EXPECT_EQ(window.ComboSelectString(kHours, ""), ui::kComboError);
  EXPECT_EQ(window.ComboGetCurSel(kHours), 0);
  EXPECT_EQ(window.GetText(kHours), "520 hours");
}

struct PrefixRow {
  const char* name;
  const char* prefix;
  int expected;
};

TYPED_TEST_P(WindowContract, SelectStringIgnoresCaseBeyondAscii) {
  ui::Window& window = this->Open();
  this->FillCombo(kPeriod, {"Étude", "über", "Жёлтый", "ΣΟΦΊΑ", "Ǆemal", "straße"});
  for (const PrefixRow& row : {
           PrefixRow{"latin_capital_accent", "éT", 0},
           PrefixRow{"latin_small_umlaut", "ÜBER", 1},
           PrefixRow{"cyrillic", "жЁл", 2},
           PrefixRow{"greek_final_sigma", "ς", 3},
           PrefixRow{"greek_accent", "σοφί", 3},
           PrefixRow{"digraph_title_case", "ǅ", 4},
           PrefixRow{"sharp_s_is_no_double_s", "STRASS", ui::kComboError},
           PrefixRow{"sharp_s", "STRAß", 5},
           PrefixRow{"accent_is_not_ignored", "e", ui::kComboError},
       }) {
    window.ComboSetCurSel(kPeriod, -1);
    EXPECT_EQ(window.ComboSelectString(kPeriod, row.prefix), row.expected) << row.name;
  }
}

TYPED_TEST_P(WindowContract, SetTextOnADropListSelectsTheEntryItNamesOrKeepsTheBox) {
  ui::Window& window = this->Open();
  this->FillCombo(kPeriod, {"yearly", "monthly"});
  window.SetText(kPeriod, "MONTHLY");
  EXPECT_EQ(window.ComboGetCurSel(kPeriod), 1);
  EXPECT_EQ(window.GetText(kPeriod), "monthly");
  for (const char* text : {"month", "weekly", ""}) {
    window.SetText(kPeriod, text);
    EXPECT_EQ(window.ComboGetCurSel(kPeriod), 1) << text;
    EXPECT_EQ(window.GetText(kPeriod), "monthly") << text;
  }
}

TYPED_TEST_P(WindowContract, TypingIntoAComboBoxSelectsNoEntryAndAddsNone) {
  ui::Window& window = this->Open();
  this->FillCombo(kHours, {"520 hours", "1040 hours"});
  window.ComboSetCurSel(kHours, 1);
  this->driver_.Type(kHours, "0");
  EXPECT_EQ(window.GetText(kHours), "1040 hours0");
  EXPECT_EQ(window.ComboGetCurSel(kHours), ui::kComboError);
  EXPECT_EQ(window.ComboSelectString(kHours, "1040 hours0"), ui::kComboError);
  // Choosing the entry that was selected before the typing shows it again.
  EXPECT_EQ(window.ComboSelectString(kHours, "104"), 1);
  EXPECT_EQ(window.GetText(kHours), "1040 hours");
}

// --- Text limits ---

TYPED_TEST_P(WindowContract, AnEditTakesWhatFitsItsLimitAndReportsTheRest) {
  ui::Window& window = this->Open();
  window.LimitText(kEdit, 3);
  this->driver_.Type(kEdit, "ab");
  this->driver_.Type(kEdit, "c");
  EXPECT_TRUE(this->events().empty());
  this->driver_.Type(kEdit, "d");
  EXPECT_EQ(window.GetText(kEdit), "abc");
  EXPECT_EQ(this->events(), Events{"101 maxtext"});
  // The logic's own text is not held to the limit.
  window.LimitText(kNotes, 3);
  window.SetText(kNotes, "12\r\n45");
  EXPECT_EQ(window.GetText(kNotes), "12\r\n45");
}

TYPED_TEST_P(WindowContract, ALineBreakCountsAsTwoAndACharacterBeyond16BitsAsTwo) {
  ui::Window& window = this->Open();
  window.LimitText(kNotes, 5);
  this->driver_.Type(kNotes, "ab\ncd");
  EXPECT_EQ(window.GetText(kNotes), "ab\r\nc");
  EXPECT_EQ(this->events(), (Events{"103 setfocus", "103 maxtext"}));
  window.LimitText(kEdit, 3);
  this->driver_.Type(kEdit, "a\U0001F600");
  this->driver_.Type(kEdit, "b");
  EXPECT_EQ(window.GetText(kEdit), "a\U0001F600");
  EXPECT_EQ(this->events(), (Events{"103 setfocus", "103 maxtext", "101 setfocus", "101 maxtext"}));
}

TYPED_TEST_P(WindowContract, ALineBreakThatDoesNotFitIsRefusedWhole) {
  ui::Window& window = this->Open();
  window.LimitText(kNotes, 4);
  this->driver_.Type(kNotes, "abc\n");
  EXPECT_EQ(window.GetText(kNotes), "abc");
  // The one character left is still free for one that is not a line break.
  this->driver_.Type(kNotes, "d");
  EXPECT_EQ(window.GetText(kNotes), "abcd");
  EXPECT_EQ(this->events(), (Events{"103 setfocus", "103 maxtext"}));
}

// A line break pasted is taken whole or not at all.
TYPED_TEST_P(WindowContract, APasteTakesWhatFitsAndNeverHalfALineBreak) {
  ui::Window& window = this->Open();
  window.LimitText(kNotes, 4);
  this->driver_.Paste(kNotes, "abc\ndef");
  EXPECT_EQ(window.GetText(kNotes), "abc");
  window.SetText(kNotes, "");
  window.LimitText(kNotes, 5);
  this->driver_.Paste(kNotes, "abc\ndef");
  EXPECT_EQ(window.GetText(kNotes), "abc\r\n");
  EXPECT_EQ(this->events(), (Events{"103 setfocus", "103 maxtext", "103 maxtext"}));
}

TYPED_TEST_P(WindowContract, ANewEditTakes32767CharactersAndLimitZeroLiftsTheLimit) {
  ui::Window& window = this->Open();
  const std::string longer(ui::kDefaultTextLimit + 1, 'x');
  this->driver_.Paste(kEdit, longer);
  EXPECT_EQ(window.GetText(kEdit).size(), ui::kDefaultTextLimit);
  EXPECT_EQ(this->events(), Events{"101 maxtext"});

  window.LimitText(kEdit, 0);
  window.LimitText(kNotes, 0);
  window.SetText(kEdit, "");
  this->events().clear();
  const std::string much(40000, 'y');
  this->driver_.Paste(kEdit, much);
  this->driver_.Paste(kNotes, much);
  EXPECT_EQ(window.GetText(kEdit), much);
  EXPECT_EQ(window.GetText(kNotes), much);
  EXPECT_EQ(this->events(), Events{"103 setfocus"});
}

// --- Tab control ---

TYPED_TEST_P(WindowContract, OnlyTheUsersChoiceOfTabIsReported) {
  ui::Window& window = this->Open();
  EXPECT_EQ(window.TabGetCurSel(kTabs), -1);
  for (const auto* caption : {"One", "Two", "Three"}) {
    window.TabInsertItem(kTabs, 99, caption);  // past the end: appended
  }
  EXPECT_EQ(window.TabGetCurSel(kTabs), 0);  // the first inserted is selected
  window.TabSetCurSel(kTabs, 2);
  window.TabSetCurSel(kTabs, 7);  // no such tab: nothing changes
  EXPECT_EQ(window.TabGetCurSel(kTabs), 2);
  EXPECT_TRUE(this->events().empty());
  this->driver_.PickTab(kTabs, 2);  // already selected
  EXPECT_TRUE(this->events().empty());
  this->driver_.PickTab(kTabs, 1);
  EXPECT_EQ(window.TabGetCurSel(kTabs), 1);
  EXPECT_EQ(this->events(), Events{"tab 115"});
  window.TabInsertItem(kTabs, 0, "Zero");  // the selected tab stays selected
  EXPECT_EQ(window.TabGetCurSel(kTabs), 2);
  EXPECT_EQ(this->events(), Events{"tab 115"});
}

// --- The window menu and closing ---

TYPED_TEST_P(WindowContract, TheWindowMenuEndsWithWhatTheLogicAppended) {
  ui::Window& window = this->Open();
  ASSERT_TRUE(window.HasSystemMenu());
  window.AppendSystemMenuSeparator();
  window.AppendSystemMenuItem(ui::kAboutCommand, "&About");
  const std::vector<MenuEntry> menu = this->driver_.SystemMenu();
  ASSERT_GE(menu.size(), 3u);
  EXPECT_EQ(std::vector<MenuEntry>(menu.end() - 2, menu.end()),
            (std::vector<MenuEntry>{{0, ""}, {ui::kAboutCommand, "&About"}}));
  EXPECT_NE(std::find_if(menu.begin(), menu.end(),
                         [](const MenuEntry& entry) { return entry.command == ui::kScClose; }),
            menu.end());
  this->driver_.ChooseSystemMenuItem(ui::kAboutCommand);
  this->driver_.ChooseSystemMenuItem(ui::kScClose);
  this->driver_.PressCloseButton();  // asks the logic too, which decides whether to close
  EXPECT_EQ(this->events(), (Events{"syscommand 16", "syscommand 61536", "syscommand 61536"}));
  EXPECT_TRUE(window.IsVisible(kEdit));
}

// --- Dialog units ---

TYPED_TEST_P(WindowContract, DialogUnitsScaleWithTheBaseUnits) {
  ui::Window& window = this->Open();
  const ui::Rect unit = window.MapDialogRect({0, 0, 4, 8});  // the base units
  EXPECT_GT(unit.width, 0);
  EXPECT_GT(unit.height, 0);
  const ui::Rect mapped = window.MapDialogRect({4, 8, 40, 80});
  EXPECT_EQ(mapped.x, unit.width);
  EXPECT_EQ(mapped.y, unit.height);
  EXPECT_EQ(mapped.width, 10 * unit.width);
  EXPECT_EQ(mapped.height, 10 * unit.height);
}

REGISTER_TYPED_TEST_SUITE_P(
    WindowContract, TextsAreReplacedWholeAndReadBack, AnIdTheTemplateDoesNotHoldIsIgnored,
    HiddenAndDisabledControlsTakeNoInput, TheFirstTabStopThatCanTakeItHasTheFocusAtOpening,
    AControlHiddenAtOpeningKeepsWhatIsSetOnIt, SetFocusMovesTheFocusToAControlThatCanTakeIt,
    HidingOrDisablingTheFocusedControlLeavesNoFocus, TabVisitsTheTabStopsInTemplateOrderAndWraps,
    TabPassesOverHiddenAndDisabledControls, SettingARadioButtonLeavesItsPartnersAsTheyAre,
    ClickingARadioButtonChecksItAndUnchecksItsPartner, ArrowKeysMoveThroughARadioGroupAndChoose,
    EnterIssuesOkOrPressesTheFocusedButton, EnterIssuesTheLastButtonTheTemplateMarksDefault,
    ADisabledDefaultButtonTakesNoEnter, ComboEntriesStayInOrderAndAddingSelectsNone,
    SelectStringTakesTheFirstEntryThatBeginsWithThePrefix, SelectStringIgnoresCaseBeyondAscii,
    SetTextOnADropListSelectsTheEntryItNamesOrKeepsTheBox,
    TypingIntoAComboBoxSelectsNoEntryAndAddsNone, AnEditTakesWhatFitsItsLimitAndReportsTheRest,
    ALineBreakThatDoesNotFitIsRefusedWhole, ALineBreakCountsAsTwoAndACharacterBeyond16BitsAsTwo,
    APasteTakesWhatFitsAndNeverHalfALineBreak,
    ANewEditTakes32767CharactersAndLimitZeroLiftsTheLimit, OnlyTheUsersChoiceOfTabIsReported,
    TheWindowMenuEndsWithWhatTheLogicAppended, DialogUnitsScaleWithTheBaseUnits);

}  // namespace qup::test_support

#endif  // QUP_TESTS_SUPPORT_WINDOW_CONTRACT_H
