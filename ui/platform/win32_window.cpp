// SPDX-License-Identifier: MIT
// The window operations on native controls, and the messages that become the logic's calls.
#include "ui/platform/win32_window.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include "ui/platform/win32_template.h"

namespace qup::ui {

namespace {

// The logic's UTF-8 and the window's UTF-16 meet here and nowhere else.
std::wstring Wide(std::string_view text) {
  const std::u16string wide = win32::Utf16(text);
  return std::wstring(wide.begin(), wide.end());
}
std::string Narrow(const std::wstring& text) {
  return win32::Utf8(std::u16string(text.begin(), text.end()));
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

Win32DialogRun* RunOf(HWND dialog) {
  return reinterpret_cast<Win32DialogRun*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

bool IsKind(const ControlSpec* spec, ControlKind kind) { return spec != nullptr && spec->kind == kind; }
bool IsCombo(const ControlSpec* spec) {
  return IsKind(spec, ControlKind::kComboBox) || IsKind(spec, ControlKind::kDropList);
}

}  // namespace

void Win32Window::SetText(int id, std::string_view text) {
  if (IsKind(Spec(id), ControlKind::kComboBox)) ::SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SetWindowTextW(Control(id), Wide(text).c_str());
}

std::string Win32Window::GetText(int id) const { return Narrow(WindowText(Control(id))); }

void Win32Window::Show(int id, bool visible) { ::ShowWindow(Control(id), visible ? SW_SHOW : SW_HIDE); }

bool Win32Window::IsVisible(int id) const {
  return (::GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Window::Enable(int id, bool enabled) { ::EnableWindow(Control(id), enabled ? TRUE : FALSE); }

bool Win32Window::IsEnabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }

void Win32Window::SetFocus(int id) { ::SetFocus(Control(id)); }

int Win32Window::FocusedControl() const {
  // The edit field inside a combo box has the focus for its box.
  for (HWND focus = ::GetFocus(); focus != nullptr; focus = ::GetParent(focus)) {
    if (::GetParent(focus) == dialog_) return ::GetDlgCtrlID(focus);
  }
  return 0;
}

void Win32Window::SetCheck(int id, int state) {
  ::SendMessageW(Control(id), BM_SETCHECK, state == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
  if (state != 1 || !IsKind(Spec(id), ControlKind::kRadioButton)) return;
  // Checking a radio button unchecks the others of its group: the buttons from the group's
  // first to the next group's first, in template order.
  const auto& controls = layout_.controls;
  std::size_t at = 0;
  while (at < controls.size() && controls[at].id != id) ++at;
  std::size_t first = at;
  while (first > 0 && (controls[first].flags & kGroupStart) == 0 &&
         controls[first - 1].kind == ControlKind::kRadioButton) {
    --first;
  }
  for (std::size_t i = first; i < controls.size() && controls[i].kind == ControlKind::kRadioButton;
       ++i) {
    if (i > first && (controls[i].flags & kGroupStart) != 0) break;
    if (controls[i].id != id) {
      ::SendMessageW(Control(controls[i].id), BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

int Win32Window::GetCheck(int id) const {
  return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Window::ComboAddString(int id, std::string_view entry) {
  const std::wstring text = Wide(entry);
  ::SendMessageW(Control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int Win32Window::ComboSelectString(int id, std::string_view prefix) {
  if (prefix.empty()) return kComboError;
  const std::wstring text = Wide(prefix);
  // CB_SELECTSTRING: the first entry that begins with the text, ignoring case; on failure the
  // box stays as it was.
  return static_cast<int>(::SendMessageW(Control(id), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str())));
}

int Win32Window::ComboGetCurSel(int id) const {
  return static_cast<int>(::SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
}

void Win32Window::ComboSetCurSel(int id, int index) {
  ::SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32Window::LimitText(int id, int max_chars) {
  ::SendMessageW(Control(id), IsCombo(Spec(id)) ? CB_LIMITTEXT : EM_LIMITTEXT,
                 static_cast<WPARAM>(max_chars), 0);
}

void Win32Window::TabInsertItem(int id, int index, std::string_view caption) {
  std::wstring text = Wide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  ::SendMessageW(Control(id), TCM_INSERTITEMW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

int Win32Window::TabGetCurSel(int id) const {
  return static_cast<int>(::SendMessageW(Control(id), TCM_GETCURSEL, 0, 0));
}

void Win32Window::TabSetCurSel(int id, int index) {
  ::SendMessageW(Control(id), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32Window::SetIcons(int large_icon, int small_icon) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  const auto load = [&](int id, int metric_x, int metric_y) {
    return ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, ::GetSystemMetrics(metric_x),
                        ::GetSystemMetrics(metric_y), LR_SHARED);
  };
  if (HANDLE icon = load(large_icon, SM_CXICON, SM_CYICON)) {
    ::SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  if (HANDLE icon = load(small_icon, SM_CXSMICON, SM_CYSMICON)) {
    ::SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

bool Win32Window::HasSystemMenu() const { return ::GetSystemMenu(dialog_, FALSE) != nullptr; }

void Win32Window::AppendSystemMenuSeparator() {
  ::AppendMenuW(::GetSystemMenu(dialog_, FALSE), MF_SEPARATOR, 0, nullptr);
}

void Win32Window::AppendSystemMenuItem(unsigned command, std::string_view text) {
  ::AppendMenuW(::GetSystemMenu(dialog_, FALSE), MF_STRING, command, Wide(text).c_str());
}

void Win32Window::MessageBox(std::string_view text, std::string_view caption, int type) {
  ::MessageBoxW(dialog_, Wide(text).c_str(), Wide(caption).c_str(), static_cast<UINT>(type));
}

Rect Win32Window::MapDialogRect(Rect dialog_units) const {
  RECT rect{dialog_units.x, dialog_units.y, dialog_units.x + dialog_units.width,
            dialog_units.y + dialog_units.height};
  ::MapDialogRect(dialog_, &rect);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Win32Window::EndDialog(int result) { ::EndDialog(dialog_, result); }

INT_PTR CALLBACK Win32Window::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<Win32DialogRun*>(lparam);
    ::SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    run->window = std::make_unique<Win32Window>(dialog, run->layout);
    // Texts and radio buttons on a tab page take the page's themed background, not grey boxes.
    ::EnableThemeDialogTexture(dialog, ETDT_ENABLETAB);
    run->handler.OnInitDialog(*run->window);
    // Where the logic put the focus itself, the dialog leaves it there.
    return run->window->FocusedControl() == 0 ? TRUE : FALSE;
  }
  Win32DialogRun* run = RunOf(dialog);
  if (run == nullptr || run->window == nullptr) return FALSE;
  DialogHandler& handler = run->handler;

  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (lparam == 0 || code == BN_CLICKED) {
        // Menus and accelerators (Enter as kIdOk, Esc as kIdCancel), and button clicks.
        if (lparam == 0 && id != IDOK && id != IDCANCEL) return FALSE;
        const ControlSpec* spec = FindControl(run->layout, id);
        if (lparam != 0 && spec != nullptr && spec->kind != ControlKind::kPushButton &&
            spec->kind != ControlKind::kRadioButton) {
          return FALSE;
        }
        handler.OnCommand(id, Notification::kClicked);
        return TRUE;
      }
      if (code == EN_SETFOCUS) handler.OnCommand(id, Notification::kSetFocus);
      if (code == EN_MAXTEXT) handler.OnCommand(id, Notification::kMaxText);
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        handler.OnTabSelChange(static_cast<int>(header->idFrom));
      }
      return FALSE;
    }
    case WM_SYSCOMMAND: {
      const unsigned command = static_cast<unsigned>(wparam) & 0xFFF0;
      // Close and the commands the logic added are the logic's; moving, minimising and the
      // rest keep their default processing.
      const HMENU menu = ::GetSystemMenu(dialog, FALSE);
      const bool added = command != 0 && command < 0xF000 && menu != nullptr &&
                         ::GetMenuState(menu, command, MF_BYCOMMAND) != static_cast<UINT>(-1);
      if (command != SC_CLOSE && !added) return FALSE;
      handler.OnSysCommand(command);
      ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      handler.OnLButtonDown({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace qup::ui
