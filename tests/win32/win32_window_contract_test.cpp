// SPDX-License-Identifier: MIT
// The shared window contract on the Windows window: the real dialog, made from the template by
// the dialog manager, driven with the messages a user's mouse and keyboard send it, and pumped
// through IsDialogMessage as a dialog's message loop does.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/window_contract.h"
#include "text/utf.h"
#include "ui/platform/win32/win32_template.h"
#include "ui/platform/win32/win32_window.h"

#include <commctrl.h>

namespace qup::test_support {

class Win32Driver {
 public:
  Win32Driver() = default;
  Win32Driver(const Win32Driver&) = delete;
  Win32Driver& operator=(const Win32Driver&) = delete;
  ~Win32Driver() {
    if (run_ != nullptr && run_->window != nullptr) ::DestroyWindow(run_->window->handle());
  }

  // As the platform's modal run does: the template in memory (tab pages' controls left out), the
  // dialog procedure, the first focus from WM_INITDIALOG, and the window shown; but no modal loop,
  // the driver pumps.
  ui::Window& Open(const ui::DialogTemplate& dialog, ui::DialogHandler& handler) {
    const std::vector<std::uint8_t> bytes = ui::win32::BuildDialogTemplate(
        dialog, ui::win32::Frame::kOwnWindow, ui::win32::PageControls::kLeftOut);
    aligned_.assign((bytes.size() + 3) / 4, 0);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<std::uint8_t*>(aligned_.data()));
    run_ =
        std::make_unique<ui::Win32DialogRun>(ui::Win32DialogRun{dialog, handler, nullptr, nullptr});
    HWND window = ::CreateDialogIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(aligned_.data()), nullptr,
        &ui::Win32Window::DialogProc, reinterpret_cast<LPARAM>(run_.get()));
    if (window == nullptr || run_->window == nullptr) {
      ADD_FAILURE() << "the dialog was not made: error " << ::GetLastError();
      std::abort();
    }
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(window);
    Pump();
    return *run_->window;
  }

  // A click where the control is: it reaches the control only when the control is what the
  // user sees there (visible and enabled), as the mouse's hit test decides.
  void Click(int id) {
    HWND control = Control(id);
    RECT rect{};
    ::GetClientRect(control, &rect);
    ClickAt(control, {(rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2});
  }

  void Type(int id, std::string_view text) {
    HWND target = ClickIntoText(id);
    if (target == nullptr) return;
    std::u16string wide = text::Utf8ToUtf16(text);
    for (const char16_t unit : wide) {
      if (unit == u'\n') {
        Key(VK_RETURN);
      } else {
        ::PostMessageW(::GetFocus(), WM_CHAR, unit, 1);
        Pump();
      }
    }
  }

  void Paste(int id, std::string_view text) {
    if (ClickIntoText(id) == nullptr) return;
    // The clipboard holds Windows' line breaks.
    std::u16string wide;
    for (const char16_t unit : text::Utf8ToUtf16(text)) {
      if (unit == u'\n') wide.push_back(u'\r');
      wide.push_back(unit);
    }
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(char16_t));
    auto* data = static_cast<char16_t*>(::GlobalLock(memory));
    std::copy(wide.begin(), wide.end(), data);
    data[wide.size()] = 0;
    ::GlobalUnlock(memory);
    ASSERT_TRUE(::OpenClipboard(Dialog()));
    ::EmptyClipboard();
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
    // Ctrl+V, as the edit takes it.
    ::SendMessageW(::GetFocus(), WM_PASTE, 0, 0);
    Pump();
  }

  void PressTab(bool forward) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = forward ? 0 : 0x80;
    ::SetKeyboardState(keys);
    Key(VK_TAB);
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
  }
  void PressEnter() { Key(VK_RETURN); }
  void PressArrow(ui::Arrow arrow) {
    static constexpr UINT kKeys[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
    Key(kKeys[static_cast<int>(arrow)]);
  }
  void PressEsc() { Key(VK_ESCAPE); }

  void PickTab(int id, int index) {
    HWND tabs = Control(id);
    RECT rect{};
    if (::SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&rect)) == FALSE) {
      return;
    }
    ClickAt(tabs, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  }

  // The close button sends the window the system command Close.
  void PressCloseButton() {
    ::PostMessageW(Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
  }
  void ChooseSystemMenuItem(unsigned command) {
    ::PostMessageW(Dialog(), WM_SYSCOMMAND, command, 0);
    Pump();
  }

  std::vector<MenuEntry> SystemMenu() const {
    HMENU menu = ::GetSystemMenu(Dialog(), FALSE);
    std::vector<MenuEntry> entries;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
      wchar_t text[256] = {};
      MENUITEMINFOW item{};
      item.cbSize = sizeof item;
      item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
      item.dwTypeData = text;
      item.cch = 255;
      ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
      if ((item.fType & MFT_SEPARATOR) != 0) {
        entries.push_back({0, ""});
        continue;
      }
      const std::wstring wide(text);
      entries.push_back({item.wID, text::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()))});
    }
    return entries;
  }

 private:
  HWND Dialog() const { return run_->window->handle(); }
  HWND Control(int id) const { return run_->window->Control(id); }

  // Hands every waiting message to the dialog as its message loop would.
  void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!::IsDialogMessageW(Dialog(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
  }

  // A key pressed and released on the control with the focus.
  void Key(UINT key) {
    HWND focus = ::GetFocus();
    if (focus == nullptr) focus = Dialog();
    const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    ::PostMessageW(focus, WM_KEYDOWN, key, 1 | (scan << 16));
    ::PostMessageW(focus, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
    Pump();
  }

  // The mouse pressed and released at point (in window's client coordinates), reaching
  // whatever the user sees there.
  void ClickAt(HWND window, POINT point) {
    POINT in_dialog = point;
    ::MapWindowPoints(window, Dialog(), &in_dialog, 1);
    HWND hit = ::ChildWindowFromPointEx(Dialog(), in_dialog,
                                        CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
    if (hit != window) return;
    // A combo box's edit lies on top of the box.
    HWND target = window;
    POINT at = point;
    if (HWND child = ::ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE);
        child != nullptr && child != window) {
      target = child;
      ::MapWindowPoints(window, child, &at, 1);
    }
    const LPARAM where = MAKELPARAM(at.x, at.y);
    ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::PostMessageW(target, WM_LBUTTONUP, 0, where);
    Pump();
  }

  // A click into an edit or combo box, the caret then at the end of its text; the window the
  // keys go to, or null when the click did not reach it.
  HWND ClickIntoText(int id) {
    Click(id);
    HWND focus = ::GetFocus();
    if (focus == nullptr || (focus != Control(id) && ::GetParent(focus) != Control(id))) {
      return nullptr;
    }
    const auto end = static_cast<WPARAM>(::GetWindowTextLengthW(focus));
    ::SendMessageW(focus, EM_SETSEL, end, static_cast<LPARAM>(end));
    return focus;
  }

  std::vector<DWORD> aligned_;
  std::unique_ptr<ui::Win32DialogRun> run_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32WindowContract, WindowContract, testing::Types<Win32Driver>);

}  // namespace qup::test_support
