// SPDX-License-Identifier: MIT
// The floor beneath qup.exe's start: the smallest Windows dialog, from a template in the
// executable's resources, holding one static text. What Wine needs to show it is what any
// dialog program pays before its own work begins.
#include <windows.h>

namespace {

constexpr int kFloorDialog = 1;

INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM /*w*/, LPARAM /*l*/) {
  if (message == WM_CLOSE) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int /*show*/) {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(kFloorDialog), nullptr, FloorProc, 0);
  return 0;
}
