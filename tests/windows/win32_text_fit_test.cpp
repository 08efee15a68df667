// SPDX-License-Identifier: MIT
// Every text of the templates' static controls fits its control in the real Windows dialog, in
// the dialog's own font, wrapped as the static control wraps it: nothing cut off at the right
// or the bottom.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/about_dialog.h"
#include "ui/main_template.h"
#include "ui/platform/win32_template.h"

namespace qup::ui {
namespace {

INT_PTR CALLBACK QuietDialog(HWND /*dialog*/, UINT message, WPARAM /*wparam*/, LPARAM /*lparam*/) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}


HWND MakeDialog(const DialogTemplate& layout, std::vector<DWORD>& aligned) {
  const std::vector<std::uint8_t> bytes = win32::BuildDialogTemplate(layout, win32::Frame::kOwnWindow);
  aligned.assign((bytes.size() + 3) / 4, 0);
  std::copy(bytes.begin(), bytes.end(), reinterpret_cast<std::uint8_t*>(aligned.data()));
  return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                      reinterpret_cast<LPCDLGTEMPLATEW>(aligned.data()), nullptr,
                                      &QuietDialog, 0);
}

TEST(Win32TextFit, TheDialogFontHasBaseUnitsOf6By13) {
  std::vector<DWORD> aligned;
  const HWND dialog = MakeDialog(kMainDialogTemplate, aligned);
  ASSERT_NE(dialog, nullptr);
  RECT unit{0, 0, 4, 8};
  ::MapDialogRect(dialog, &unit);
  EXPECT_EQ(unit.right, 6);
  EXPECT_EQ(unit.bottom, 13);
  ::DestroyWindow(dialog);
}

// The texts were laid out for the template's own face; a stand-in, even one with the same base
// units, sets some of them wider than their controls.
TEST(Win32TextFit, TheDialogIsSetInTheFaceItsTemplateNames) {
  std::vector<DWORD> aligned;
  const HWND dialog = MakeDialog(kMainDialogTemplate, aligned);
  ASSERT_NE(dialog, nullptr);
  const HDC dc = ::GetDC(dialog);
  const HGDIOBJ before =
      ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = {};
  ::GetTextFaceW(dc, LF_FACESIZE, face);
  const std::wstring expected(win32::kDialogFace.begin(), win32::kDialogFace.end());
  EXPECT_EQ(std::wstring(face), expected);
  ::SelectObject(dc, before);
  ::ReleaseDC(dialog, dc);
  ::DestroyWindow(dialog);
}

TEST(Win32TextFit, EveryTemplateTextFitsItsStaticControl) {
  for (const DialogTemplate* layout : {&kMainDialogTemplate, &kAboutTemplate}) {
    std::vector<DWORD> aligned;
    const HWND dialog = MakeDialog(*layout, aligned);
    ASSERT_NE(dialog, nullptr);
    const HDC dc = ::GetDC(dialog);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    const HGDIOBJ before = ::SelectObject(dc, font);
    for (const ControlSpec& control : layout->controls) {
      if (control.kind != ControlKind::kStatic || control.caption.empty()) continue;
      RECT area{};
      ::GetClientRect(::GetDlgItem(dialog, control.id), &area);
      const std::u16string text16 = win32::Utf16(control.caption);
      const std::wstring text(text16.begin(), text16.end());
      RECT needed{0, 0, area.right, 0};
      const UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS |
                          ((control.flags & kNoPrefix) != 0 ? DT_NOPREFIX : 0);
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, format);
      SIZE line{};
      ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &line);
      SCOPED_TRACE(control.caption);
      EXPECT_LE(needed.bottom, area.bottom) << "width " << area.right << " one line " << line.cx;
      EXPECT_LE(needed.right, area.right);
    }
    ::SelectObject(dc, before);
    ::ReleaseDC(dialog, dc);
    ::DestroyWindow(dialog);
  }
}

}  // namespace
}  // namespace qup::ui
