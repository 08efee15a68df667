// SPDX-License-Identifier: MIT
// The main window and the About box as the dialog manager makes them from their in-memory
// templates: every control of the table where the table puts it, with its native class and
// styles, in the dialog's own font; and every text of the templates' static controls, and every
// text the program shows in one as it runs, fitting its control, wrapped as the static control
// wraps it: nothing cut off at the right or the bottom. They hold at whatever DPI the display
// has (ctest runs them at 96, 120 and 144), and the logo grows with the dialog.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
// Windows names its own LoadString and MessageBox so; here they are the program's.
#undef LoadString
#undef MessageBox

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/shown_texts.h"
#include "text/utf.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/main_template.h"
#include "ui/platform/win32/win32_template.h"
#include "ui/platform/win32/win32_window.h"

namespace qup::ui {
namespace {

INT_PTR CALLBACK QuietDialog(HWND /*dialog*/, UINT message, WPARAM /*wparam*/, LPARAM /*lparam*/) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog the dialog manager makes from a template, destroyed at the end of the scope.
class Dialog {
 public:
  explicit Dialog(const DialogTemplate& layout, win32::Frame frame = win32::Frame::kOwnWindow,
                  DLGPROC procedure = &QuietDialog, LPARAM data = 0) {
    const std::vector<std::uint8_t> bytes = win32::BuildDialogTemplate(layout, frame);
    aligned_.assign((bytes.size() + 3) / 4, 0);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<std::uint8_t*>(aligned_.data()));
    handle_ = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                           reinterpret_cast<LPCDLGTEMPLATEW>(aligned_.data()),
                                           nullptr, procedure, data);
  }
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  ~Dialog() { ::DestroyWindow(handle_); }
  operator HWND() const { return handle_; }  // NOLINT(google-explicit-constructor)

 private:
  std::vector<DWORD> aligned_;
  HWND handle_ = nullptr;
};

std::string TextOf(HWND window) {
  wchar_t text[512] = {};
  const int length = ::GetWindowTextW(window, text, 512);
  return text::Utf16ToUtf8(std::u16string(text, text + length));
}

// Each control of the table, in its order, where the table puts it, with its text; disabled
// where the table says. A combo box's window is its edit field, the list's height aside.
TEST(Win32Template, MakesEveryControlOfTheTableInOrder) {
  for (const DialogTemplate* layout : {&kMainDialogTemplate, &kAboutTemplate}) {
    const Dialog dialog(*layout);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(dialog), layout->title);
    HWND control = ::GetWindow(dialog, GW_CHILD);
    for (const ControlSpec& entry : layout->controls) {
      SCOPED_TRACE(entry.id);
      ASSERT_NE(control, nullptr);
      EXPECT_EQ(::GetDlgCtrlID(control), entry.id);
      // Position and size are mapped each on its own, as the dialog manager maps them.
      RECT expected{entry.rect.x, entry.rect.y, entry.rect.width, entry.rect.height};
      ::MapDialogRect(dialog, &expected);
      RECT actual{};
      ::GetWindowRect(control, &actual);
      ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
      EXPECT_EQ(std::vector<LONG>({actual.left, actual.top}),
                std::vector<LONG>({expected.left, expected.top}));
      // A picture takes its bitmap's or icon's size (the window scales the logo afterwards).
      if (entry.resource == kNoResource) {
        EXPECT_EQ(actual.right - actual.left, expected.right);
      }
      const bool combo =
          entry.kind == ControlKind::kComboBox || entry.kind == ControlKind::kDropList;
      if (!combo && entry.resource == kNoResource) {
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        EXPECT_EQ(TextOf(control), entry.caption);
      }
      EXPECT_EQ(::IsWindowEnabled(control) == FALSE, (entry.flags & kDisabled) != 0);
      control = ::GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr);
  }
}

// A caption with the window menu and its close button, no minimise or maximise box; only the
// window of its own has a button on the task bar, not the About box it owns.
TEST(Win32Template, FramesTheWindowAndItsBox) {
  for (const auto& [layout, frame] : {std::pair{&kMainDialogTemplate, win32::Frame::kOwnWindow},
                                      std::pair{&kAboutTemplate, win32::Frame::kOwnedBox}}) {
    const Dialog dialog(*layout, frame);
    ASSERT_NE(dialog, nullptr);
    const auto style = static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    const auto ex_style = static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE));
    EXPECT_EQ((ex_style & WS_EX_APPWINDOW) != 0, frame == win32::Frame::kOwnWindow);
  }
}

// The native class and the styles of each kind of control in the main window.
TEST(Win32Template, GivesEachKindItsNativeClassAndStyle) {
  struct Row {
    int id;
    std::wstring_view class_name;
    DWORD style;  // the bits that must be set
    DWORD not_set;
  };
  const Row rows[] = {
      {kTabControl, L"SysTabControl32", TCS_BOTTOM | TCS_FOCUSNEVER | WS_CLIPSIBLINGS, WS_TABSTOP},
      {kW2RateEdit, L"Edit", ES_AUTOHSCROLL | WS_TABSTOP, ES_MULTILINE},
      {kSuggestionEdit, L"Edit", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP, 0},
      {kW2HoursCombo, L"ComboBox", CBS_DROPDOWN | WS_TABSTOP, CBS_DROPDOWNLIST & ~CBS_DROPDOWN},
      {kWorkCompPeriodCombo, L"ComboBox", CBS_DROPDOWNLIST | WS_DISABLED, 0},
      {kWorkCompPercentRadio, L"Button", BS_AUTORADIOBUTTON | BS_LEFTTEXT | WS_GROUP | WS_TABSTOP,
       0},
      {kWorkCompDollarRadio, L"Button", BS_AUTORADIOBUTTON | BS_LEFTTEXT, WS_GROUP | WS_TABSTOP},
      {kTaxesGroup, L"Button", BS_GROUPBOX, WS_TABSTOP},
      {kW2CalculateButton, L"Button", WS_TABSTOP, BS_DEFPUSHBUTTON},
      {kW2RateLabel, L"Static", SS_LEFT, WS_TABSTOP | SS_NOPREFIX},
      {kVersionText, L"Static", SS_NOPREFIX, WS_TABSTOP},
      {kLogoPicture, L"Static", SS_BITMAP, WS_TABSTOP},
      {kAboutIcon, L"Static", SS_ICON, WS_TABSTOP},
  };
  const Dialog dialog(kMainDialogTemplate);
  ASSERT_NE(dialog, nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    HWND control = ::GetDlgItem(dialog, row.id);
    ASSERT_NE(control, nullptr);
    wchar_t class_name[64] = {};
    ::GetClassNameW(control, class_name, 64);
    EXPECT_EQ(std::wstring_view(class_name), row.class_name);
    const auto style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    EXPECT_EQ(style & row.style, row.style);
    EXPECT_EQ(style & row.not_set, 0u);
  }
}

// The layout was made in base units of 6 x 13 pixels at 96 DPI; at another DPI they grow with it
// to the nearest pixel, the whole dialog with them.
TEST(Win32TextFit, TheDialogFontsBaseUnitsScaleWithTheDpi) {
  const Dialog dialog(kMainDialogTemplate);
  ASSERT_NE(dialog, nullptr);
  RECT unit{0, 0, 4, 8};
  ::MapDialogRect(dialog, &unit);
  HDC dc = ::GetDC(dialog);
  const double scale = ::GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
  ::ReleaseDC(dialog, dc);
  EXPECT_NEAR(unit.right, 6 * scale, 0.5);
  EXPECT_NEAR(unit.bottom, 13 * scale, 0.5);
}

// The logo is drawn at the dialog's scale: its bitmap fills its rectangle mapped to pixels, the
// area the logic takes its clicks in, to within a pixel's rounding.
TEST(Win32TextFit, TheLogoFillsItsRectangle) {
  struct : DialogHandler {
    void OnInitDialog(Window& /*window*/) override {}
    void OnCommand(int /*id*/, Notification /*code*/) override {}
    void OnSysCommand(unsigned /*command*/) override {}
  } no_logic;
  Win32DialogRun run{kMainDialogTemplate, no_logic, nullptr, nullptr};
  const Dialog dialog(kMainDialogTemplate, win32::Frame::kOwnWindow, &Win32Window::DialogProc,
                      reinterpret_cast<LPARAM>(&run));
  ASSERT_NE(dialog, nullptr);
  BITMAP drawn{};
  ::GetObjectW(reinterpret_cast<HBITMAP>(
                   ::SendDlgItemMessageW(dialog, kLogoPicture, STM_GETIMAGE, IMAGE_BITMAP, 0)),
               sizeof drawn, &drawn);
  const Rect area = run.window->MapDialogRect(FindControl(kMainDialogTemplate, kLogoPicture)->rect);
  EXPECT_NEAR(drawn.bmWidth, area.width, 1);
  EXPECT_NEAR(drawn.bmHeight, area.height, 1);
}

// The texts were laid out for the template's own face; a stand-in, even one with the same base
// units, sets some of them wider than their controls.
TEST(Win32TextFit, TheDialogIsSetInTheFaceItsTemplateNames) {
  const Dialog dialog(kMainDialogTemplate);
  ASSERT_NE(dialog, nullptr);
  HDC dc = ::GetDC(dialog);
  HGDIOBJ before =
      ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = {};
  ::GetTextFaceW(dc, LF_FACESIZE, face);
  const std::wstring expected(win32::kDialogFace.begin(), win32::kDialogFace.end());
  EXPECT_EQ(std::wstring(face), expected);
  ::SelectObject(dc, before);
  ::ReleaseDC(dialog, dc);
}

// Where a text needs more room than its static control has: the size DrawText gives it when it
// wraps the text at the control's width as the static control does; empty when it fits.
std::string Overflow(HWND dialog, int id, std::string_view text, bool no_prefix) {
  HWND control = ::GetDlgItem(dialog, id);
  if (control == nullptr) return "no control " + std::to_string(id);
  RECT area{};
  ::GetClientRect(control, &area);
  const std::u16string text16 = text::Utf8ToUtf16(text);
  const std::wstring wide(text16.begin(), text16.end());
  HDC dc = ::GetDC(dialog);
  HGDIOBJ before =
      ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)));
  RECT needed{0, 0, area.right, 0};
  ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | (no_prefix ? DT_NOPREFIX : 0));
  SIZE line{};
  ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &line);
  ::SelectObject(dc, before);
  ::ReleaseDC(dialog, dc);
  if (needed.right <= area.right && needed.bottom <= area.bottom) return {};
  return "needs " + std::to_string(needed.right) + " x " + std::to_string(needed.bottom) +
         " pixels, has " + std::to_string(area.right) + " x " + std::to_string(area.bottom) +
         " (one line " + std::to_string(line.cx) + ")";
}

TEST(Win32TextFit, EveryTemplateTextFitsItsStaticControl) {
  for (const DialogTemplate* layout : {&kMainDialogTemplate, &kAboutTemplate}) {
    const Dialog dialog(*layout);
    ASSERT_NE(dialog, nullptr);
    for (const ControlSpec& control : layout->controls) {
      if (control.kind != ControlKind::kStatic || control.caption.empty()) continue;
      EXPECT_EQ(Overflow(dialog, control.id, control.caption, (control.flags & kNoPrefix) != 0), "")
          << control.caption;
    }
  }
}

// A focused drop list draws its entry in a highlight with a focus frame inside its selection
// field, the text a few pixels further in than unfocused: at 40 units the "y" of "monthly" was
// cut. Each period entry fits with two pixels to spare on either side.
TEST(Win32TextFit, EveryPeriodEntryFitsItsFocusedBox) {
  constexpr int kFocusedInset = 2;
  const Dialog dialog(kMainDialogTemplate);
  ASSERT_NE(dialog, nullptr);
  for (const int id : {kWorkCompPeriodCombo, kInsurancePeriodCombo, kHealthPeriodCombo}) {
    HWND box = ::GetDlgItem(dialog, id);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(box, &info)) << id;
    HDC dc = ::GetDC(box);
    HGDIOBJ before =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(box, WM_GETFONT, 0, 0)));
    for (const std::wstring_view entry : {L"yearly", L"monthly"}) {
      SIZE size{};
      ::GetTextExtentPoint32W(dc, entry.data(), static_cast<int>(entry.size()), &size);
      EXPECT_LE(size.cx + 2 * kFocusedInset, info.rcItem.right - info.rcItem.left)
          << "box " << id << ", entry of " << size.cx << " pixels";
    }
    ::SelectObject(dc, before);
    ::ReleaseDC(box, dc);
  }
}

class Win32ShownTextFit : public testing::TestWithParam<ShownText> {};

TEST_P(Win32ShownTextFit, FitsItsStaticControl) {
  const ShownText& shown = GetParam();
  ASSERT_FALSE(shown.text.empty());
  const Dialog dialog(*shown.layout);
  ASSERT_NE(dialog, nullptr);
  const ControlSpec* control = FindControl(*shown.layout, shown.id);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(Overflow(dialog, shown.id, shown.text, (control->flags & kNoPrefix) != 0), "")
      << shown.text;
}

INSTANTIATE_TEST_SUITE_P(Win32, Win32ShownTextFit, testing::ValuesIn(TextsShownAtRunTime()),
                         [](const testing::TestParamInfo<ShownText>& row) {
                           return row.param.name;
                         });

}  // namespace
}  // namespace qup::ui
