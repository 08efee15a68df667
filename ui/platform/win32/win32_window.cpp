// SPDX-License-Identifier: MIT
// The window operations on native controls, and the messages that become the logic's calls.
#include "ui/platform/win32/win32_window.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>
#include <algorithm>
#include <cstdlib>

#include "ui/platform/control_rules.h"
#include "ui/platform/win32/win32_template.h"
#include "ui/platform/win32/win32_text.h"

namespace qup::ui {

namespace {

using win32::Narrow;
using win32::Wide;
using win32::WindowText;

std::u16string Units(const std::wstring& text) { return {text.begin(), text.end()}; }

// The clipboard's text, empty when it holds none.
std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (::OpenClipboard(owner) == FALSE) return text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = units;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

// Typing and pasting into a multi-line edit take what fits its limit as the program counts
// it, never half a line break or half a character, and report the rest as typing past the
// limit is reported. The edit itself would cut a CR LF in two: a typed line break with room
// for one unit left, or a paste cut at the limit, would leave a lone CR.
LRESULT CALLBACK WithinLimit(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR /*id*/,
                             DWORD_PTR /*data*/) {
  const bool line_break = message == WM_CHAR && (wparam == L'\r' || wparam == L'\n');
  if ((message != WM_PASTE && !line_break) ||
      (::GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0) {
    return ::DefSubclassProc(edit, message, wparam, lparam);
  }
  const std::wstring added = line_break ? std::wstring(L"\r\n") : ClipboardText(edit);
  if (added.empty()) return 0;
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::u16string current = Units(WindowText(edit));
  const std::size_t kept = CountedLength(current) -
                           CountedLength(std::u16string_view(current).substr(start, end - start));
  const auto limit = static_cast<std::size_t>(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
  const std::u16string text = Units(added);
  const std::size_t fits = FittingPrefix(text, limit > kept ? limit - kept : 0);
  if (fits == text.size() && line_break) {
    // The edit's own typing: the caret, the undo buffer and the notifications as usual.
    return ::DefSubclassProc(edit, message, wparam, lparam);
  }
  if (fits > 0) {
    const std::wstring part = added.substr(0, fits);
    ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(part.c_str()));
  }
  if (fits < text.size()) {
    ::SendMessageW(::GetParent(edit), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(edit), EN_MAXTEXT),
                   reinterpret_cast<LPARAM>(edit));
  }
  return 0;
}

Win32DialogRun* RunOf(HWND dialog) {
  return reinterpret_cast<Win32DialogRun*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

bool IsKind(const ControlSpec* layout_entry, ControlKind kind) {
  return layout_entry != nullptr && layout_entry->kind == kind;
}
bool IsCombo(const ControlSpec* layout_entry) {
  return IsKind(layout_entry, ControlKind::kComboBox) ||
         IsKind(layout_entry, ControlKind::kDropList);
}

// The program's dialogs now open on this thread, the front one last.
std::vector<Win32DialogRun*>& OpenRuns() {
  static std::vector<Win32DialogRun*> runs;
  return runs;
}

// Keys of the whole dialog, taken before the dialog manager sees them.
//
// Ctrl+Tab and Ctrl+PageDown choose the next page of a dialog's tabs, Ctrl+Shift+Tab and
// Ctrl+PageUp the one before, round from the last to the first, wherever the focus is: the
// dialog manager would take Ctrl+Tab for Tab, and the tab control itself never has the focus.
//
// Shift+F10 and the Menu key open the window menu, as Windows' own processing of those keys
// asks the window for its context menu; here they ask the dialog, wherever the focus is.
LRESULT CALLBACK PageKeys(int code, WPARAM wparam, LPARAM lparam) {
  auto* message = reinterpret_cast<MSG*>(lparam);
  const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
  if (code == HC_ACTION && wparam == PM_REMOVE &&
      ((message->message == WM_KEYDOWN && message->wParam == VK_APPS) ||
       (message->message == WM_SYSKEYDOWN && message->wParam == VK_F10 && shift))) {
    HWND root = ::GetAncestor(message->hwnd, GA_ROOT);
    for (Win32DialogRun* run : OpenRuns()) {
      if (run->window == nullptr || run->window->handle() != root) continue;
      message->message = WM_NULL;
      ::PostMessageW(root, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(root), -1);
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
  }
  if (code != HC_ACTION || wparam != PM_REMOVE || message->message != WM_KEYDOWN ||
      (::GetKeyState(VK_CONTROL) & 0x8000) == 0 ||
      (message->wParam != VK_TAB && message->wParam != VK_NEXT && message->wParam != VK_PRIOR)) {
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
  }
  HWND root = ::GetAncestor(message->hwnd, GA_ROOT);
  for (Win32DialogRun* run : OpenRuns()) {
    if (run->window == nullptr || run->window->handle() != root) continue;
    for (const ControlSpec& control : run->layout.controls) {
      if (control.kind != ControlKind::kTabControl) continue;
      HWND tabs = run->window->Control(control.id);
      const auto count = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
      if (count == 0 || ::IsWindowVisible(tabs) == FALSE || ::IsWindowEnabled(tabs) == FALSE) break;
      const bool back = message->wParam == VK_PRIOR ||
                        (message->wParam == VK_TAB && (::GetKeyState(VK_SHIFT) & 0x8000) != 0);
      const auto current = static_cast<int>(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
      const int next = (current + (back ? count - 1 : 1)) % count;
      ::SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
      // What the tab control tells its dialog when the user picks a page.
      NMHDR change{tabs, static_cast<UINT_PTR>(control.id), static_cast<UINT>(TCN_SELCHANGE)};
      ::SendMessageW(root, WM_NOTIFY, static_cast<WPARAM>(control.id),
                     reinterpret_cast<LPARAM>(&change));
      message->message = WM_NULL;
      break;
    }
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

// The rendering a picture has for dialogs drawn larger than the layout's own size, or none.
int LargerRendering(int resource) {
  return resource == kLogoBitmap ? kLogoBitmapLarge : kNoResource;
}

// The bitmap resource drawn at size: HALFTONE stretching blends neighbouring source pixels
// instead of dropping some, so that a larger rendering shrinks smoothly. Null when the resource
// cannot be loaded.
HBITMAP ScaledBitmap(int resource, SIZE size) {
  auto* source =
      static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (source == nullptr) return nullptr;
  BITMAP source_size{};
  ::GetObjectW(source, sizeof source_size, &source_size);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;  // no alpha, which the static control would blend
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP scaled = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC from = ::CreateCompatibleDC(nullptr);
  HDC to = ::CreateCompatibleDC(nullptr);
  HGDIOBJ from_before = ::SelectObject(from, source);
  HGDIOBJ to_before = ::SelectObject(to, scaled);
  ::SetStretchBltMode(to, HALFTONE);
  ::SetBrushOrgEx(to, 0, 0, nullptr);  // set again after HALFTONE, as the API asks
  ::StretchBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, source_size.bmWidth, source_size.bmHeight,
               SRCCOPY);
  ::SelectObject(from, from_before);
  ::SelectObject(to, to_before);
  ::DeleteDC(from);
  ::DeleteDC(to);
  ::DeleteObject(source);
  return scaled;
}

}  // namespace

Win32Window::Win32Window(HWND dialog, const DialogTemplate& layout)
    : dialog_(dialog), layout_(layout), handles_(layout.controls.size()) {
  // The template's controls, found in one pass: under Wine each GetDlgItem asks the server for
  // the dialog's whole list of children.
  ::EnumChildWindows(dialog_, &Win32Window::NoteControl, reinterpret_cast<LPARAM>(this));
  for (const ControlSpec& control : layout_.controls) {
    if (HWND made = Handle(control.id)) {
      Prepare(made, control);
      continue;
    }
    Unmade& unmade = unmade_[control.id];
    if (control.resource == kNoResource) unmade.text = control.caption;
    unmade.enabled = (control.flags & kDisabled) == 0;
  }
}

Win32Window::~Win32Window() {
  for (HBITMAP picture : pictures_) ::DeleteObject(picture);
}

BOOL CALLBACK Win32Window::NoteControl(HWND child, LPARAM self) {
  auto& window = *reinterpret_cast<Win32Window*>(self);
  const ControlSpec* control = window.LayoutEntry(::GetDlgCtrlID(child));
  if (control != nullptr && ::GetParent(child) == window.dialog_) {
    window.handles_[window.IndexOf(*control)] = child;
  }
  return TRUE;
}

HWND Win32Window::Handle(int id) const {
  const ControlSpec* control = LayoutEntry(id);
  return control == nullptr ? nullptr : handles_[IndexOf(*control)];
}

const Win32Window::Unmade* Win32Window::Pending(int id) const {
  const auto found = unmade_.find(id);
  return found == unmade_.end() ? nullptr : &found->second;
}

HWND Win32Window::Control(int id) {
  if (Pending(id) == nullptr) return Handle(id);
  // A radio button's partners are made along with it, and each takes its check before any of
  // them shows: the common controls' radio button under Wine clears a shown partner when one
  // beside it is checked.
  const bool radio = IsKind(LayoutEntry(id), ControlKind::kRadioButton);
  std::vector<HWND> shown;
  for (const int each : radio ? RadioGroup(layout_, id) : std::vector<int>{id}) {
    if (Pending(each) == nullptr) continue;
    const bool show = Pending(each)->shown;
    HWND made = MakeHidden(each);
    if (made != nullptr && show) shown.push_back(made);
  }
  if (radio) MoveRadioTabStop(id);
  for (HWND made : shown) ::ShowWindow(made, SW_SHOW);
  return Handle(id);
}

HWND Win32Window::MakeHidden(int id) {
  const auto found = unmade_.find(id);
  const Unmade kept = std::move(found->second);
  unmade_.erase(found);
  const std::size_t index = IndexOf(*LayoutEntry(id));
  const ControlSpec& control = layout_.controls[index];
  const win32::ControlStyle style = win32::StyleOf(layout_, index);
  static constexpr std::pair<std::uint16_t, const wchar_t*> kClasses[] = {
      {win32::kButtonClass, L"Button"},
      {win32::kEditClass, L"Edit"},
      {win32::kStaticClass, L"Static"},
      {win32::kComboBoxClass, L"ComboBox"}};
  std::wstring class_name(style.class_name.begin(), style.class_name.end());
  for (const auto& [ordinal, name] : kClasses) {
    if (ordinal == style.class_ordinal) class_name = name;
  }
  // A picture names its resource as a template would. A combo box takes no text as it is made:
  // its text follows its entries.
  const std::wstring caption = control.resource != kNoResource
                                   ? L"#" + std::to_wstring(control.resource)
                                   : Wide(IsCombo(&control) ? "" : kept.text);
  const Rect at = MapDialogRect(control.rect);
  const std::uint32_t made_style = (style.style & ~(win32::kWsVisible | win32::kWsDisabled)) |
                                   (kept.enabled ? 0 : win32::kWsDisabled);
  HWND made = ::CreateWindowExW(style.ex_style, class_name.c_str(), caption.c_str(), made_style,
                                at.x, at.y, at.width, at.height, dialog_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleW(nullptr), nullptr);
  if (made == nullptr) return nullptr;
  handles_[index] = made;
  ::SendMessageW(made, WM_SETFONT, ::SendMessageW(dialog_, WM_GETFONT, 0, 0), FALSE);
  // Among the controls made so far in the template's order, which Tab and the arrow keys follow:
  // after the nearest one before it, or first.
  HWND before = HWND_TOP;
  for (std::size_t i = index; i-- > 0;) {
    if (handles_[i] != nullptr) {
      before = handles_[i];
      break;
    }
  }
  ::SetWindowPos(made, before, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Prepare(made, control);
  for (const std::string& entry : kept.entries) ComboAddString(id, entry);
  if (kept.selection >= 0) {
    ComboSetCurSel(id, kept.selection);
  } else if (control.kind == ControlKind::kComboBox) {
    ::SetWindowTextW(made, Wide(kept.text).c_str());
  }
  if (kept.limit != 0) LimitText(id, kept.limit);
  if (control.kind == ControlKind::kRadioButton) {
    ::SendMessageW(made, BM_SETCHECK, kept.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return made;
}

void Win32Window::MakeShownControls() {
  std::vector<int> shown;
  for (const auto& [id, unmade] : unmade_) {
    if (unmade.shown) shown.push_back(id);
  }
  for (const int id : shown) Control(id);
}

void Win32Window::Prepare(HWND control, const ControlSpec& layout_entry) {
  if (IsEdit(layout_entry.kind)) {
    // Wine starts single-line edits at 30000; every edit takes the program's default.
    ::SendMessageW(control, EM_LIMITTEXT, kDefaultTextLimit, 0);
    if (layout_entry.kind == ControlKind::kMultiLineEdit) {
      ::SetWindowSubclass(control, &WithinLimit, 0, 0);
    }
  }
  // The pictures were drawn for the layout's own base units, 6 x 13 pixels at 96 DPI, and the
  // static control shows a bitmap at its own size. In a dialog drawn at another scale (a
  // display of 120 or 144 DPI) a picture drawn anew fills its rectangle mapped to the dialog's
  // pixels, so that it grows with the texts around it and covers the area the logic takes its
  // clicks in.
  if (layout_entry.kind != ControlKind::kPicture ||
      LargerRendering(layout_entry.resource) == kNoResource)
    return;
  BITMAP shown{};
  ::GetObjectW(reinterpret_cast<HBITMAP>(::SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)),
               sizeof shown, &shown);
  const Rect pixels = MapDialogRect(layout_entry.rect);
  // At the layout's own scale the bitmap fills the rectangle to within a pixel's rounding.
  if (std::abs(shown.bmWidth - pixels.width) <= 1 && std::abs(shown.bmHeight - pixels.height) <= 1)
    return;
  HBITMAP scaled =
      ScaledBitmap(LargerRendering(layout_entry.resource), {pixels.width, pixels.height});
  if (scaled == nullptr) return;
  pictures_.push_back(scaled);
  // The control takes the new bitmap's size; the bitmap it loaded itself is no longer shown.
  const LRESULT loaded =
      ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled));
  if (loaded != 0) ::DeleteObject(reinterpret_cast<HBITMAP>(loaded));
}

void Win32Window::SetText(int id, std::string_view text) {
  if (Unmade* unmade = Pending(id)) {
    if (IsKind(LayoutEntry(id), ControlKind::kDropList)) {
      const int entry = FindEntryEqual(unmade->entries, text);
      if (entry >= 0) unmade->selection = entry;
      return;
    }
    if (IsKind(LayoutEntry(id), ControlKind::kComboBox)) unmade->selection = -1;
    unmade->text = text;
    return;
  }
  if (IsKind(LayoutEntry(id), ControlKind::kDropList)) {
    // A drop list has no text of its own: the text names the entry to select, or none is.
    const int entry = FindEntryEqual(ComboEntries(id), text);
    if (entry >= 0) ComboSetCurSel(id, entry);
    return;
  }
  if (IsKind(LayoutEntry(id), ControlKind::kComboBox))
    ::SendMessageW(Handle(id), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ::SetWindowTextW(Handle(id), Wide(text).c_str());
}

std::vector<std::string> Win32Window::ComboEntries(int id) const {
  if (const Unmade* unmade = Pending(id)) return unmade->entries;
  HWND box = Handle(id);
  std::vector<std::string> entries;
  const auto count = ::SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = ::SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) continue;
    std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<std::size_t>(length));
    entries.push_back(Narrow(entry));
  }
  return entries;
}

std::string Win32Window::GetText(int id) const {
  // A picture's caption names its resource; it has no text.
  const ControlSpec* layout_entry = LayoutEntry(id);
  if (layout_entry != nullptr && layout_entry->resource != kNoResource) return {};
  if (const Unmade* unmade = Pending(id)) {
    if (!IsKind(layout_entry, ControlKind::kDropList)) return unmade->text;
    return unmade->selection < 0 ? std::string()
                                 : unmade->entries[static_cast<std::size_t>(unmade->selection)];
  }
  return Narrow(WindowText(Handle(id)));
}

void Win32Window::Show(int id, bool visible) {
  if (Unmade* unmade = Pending(id)) {
    unmade->shown = visible;
    if (visible) Control(id);
    return;
  }
  ::ShowWindow(Handle(id), visible ? SW_SHOW : SW_HIDE);
}

bool Win32Window::IsVisible(int id) const {
  if (const Unmade* unmade = Pending(id)) return unmade->shown;
  return (::GetWindowLongW(Handle(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32Window::Enable(int id, bool enabled) {
  if (Unmade* unmade = Pending(id)) {
    unmade->enabled = enabled;
    return;
  }
  ::EnableWindow(Handle(id), enabled ? TRUE : FALSE);
}

bool Win32Window::IsEnabled(int id) const {
  if (const Unmade* unmade = Pending(id)) return unmade->enabled;
  return ::IsWindowEnabled(Handle(id)) != FALSE;
}

void Win32Window::SetFocus(int id) {
  // Only a control of a kind that takes the focus, and only while the user could give it.
  const ControlSpec* layout_entry = LayoutEntry(id);
  if (layout_entry == nullptr || !TakesFocus(layout_entry->kind) || !IsVisible(id) ||
      !IsEnabled(id))
    return;
  // Through the dialog manager, so that a push button given the focus becomes the one Enter
  // presses, as when the user tabs to it.
  ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
}

int Win32Window::FocusedControl() const {
  // The edit field inside a combo box has the focus for its box.
  for (HWND focus = ::GetFocus(); focus != nullptr; focus = ::GetParent(focus)) {
    if (::GetParent(focus) != dialog_) continue;
    // A control hidden or disabled while it had the focus has it no longer, and a text or a
    // picture given the focus by the dialog manager (a page without a Tab stop) does not hold
    // it for the user.
    const int id = ::GetDlgCtrlID(focus);
    const ControlSpec* layout_entry = LayoutEntry(id);
    if (layout_entry == nullptr || !TakesFocus(layout_entry->kind)) return 0;
    return IsVisible(id) && IsEnabled(id) ? id : 0;
  }
  return 0;
}

void Win32Window::SetCheck(int id, int state) {
  if (!IsKind(LayoutEntry(id), ControlKind::kRadioButton)) return;
  if (Unmade* unmade = Pending(id)) {
    unmade->checked = state != 0;
    return;
  }
  // The program sets one button alone; only the user's press clears its partners.
  ::SendMessageW(Handle(id), BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  MoveRadioTabStop(id);
}

void Win32Window::MoveRadioTabStop(int id) {
  // The button control moves WS_TABSTOP with each check it is given, which leaves a group with
  // none or with two; the group keeps exactly the one the program's rule chooses.
  const int stop =
      RadioGroupTabStop(layout_, id, [this](int button) { return GetCheck(button) == 1; });
  for (const int button : RadioGroup(layout_, id)) {
    HWND control = Handle(button);
    if (control == nullptr) continue;  // takes the stop the rule gives it when it is made
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    ::SetWindowLongW(control, GWL_STYLE, button == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

int Win32Window::GetCheck(int id) const {
  if (const Unmade* unmade = Pending(id)) return unmade->checked ? 1 : 0;
  return ::SendMessageW(Handle(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Window::ComboAddString(int id, std::string_view entry) {
  if (Unmade* unmade = Pending(id)) {
    unmade->entries.emplace_back(entry);
    return;
  }
  const std::wstring text = Wide(entry);
  ::SendMessageW(Handle(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int Win32Window::ComboSelectString(int id, std::string_view prefix) {
  if (prefix.empty() || !IsCombo(LayoutEntry(id))) return kComboError;
  // The program's own matching, with Unicode case folding: CB_SELECTSTRING compares with the
  // system's locale rules, which differ (final sigma, title-case digraphs) and under Wine match
  // no text beyond ASCII at all. On failure the box stays as it was.
  const int entry = FindEntryBeginning(ComboEntries(id), prefix);
  if (entry >= 0) ComboSetCurSel(id, entry);
  return entry;
}

int Win32Window::ComboGetCurSel(int id) const {
  if (!IsCombo(LayoutEntry(id))) return kComboError;
  if (const Unmade* unmade = Pending(id)) return unmade->selection;
  return static_cast<int>(::SendMessageW(Handle(id), CB_GETCURSEL, 0, 0));
}

void Win32Window::ComboSetCurSel(int id, int index) {
  // An index past the end selects none, as -1 does, and empties an editable box's text.
  if (Unmade* unmade = Pending(id)) {
    if (index < 0 || static_cast<std::size_t>(index) >= unmade->entries.size()) index = -1;
    unmade->selection = index;
    unmade->text = index < 0 ? std::string() : unmade->entries[static_cast<std::size_t>(index)];
    return;
  }
  const auto count = ::SendMessageW(Handle(id), CB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) index = -1;
  ::SendMessageW(Handle(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32Window::LimitText(int id, int max_chars) {
  if (Unmade* unmade = Pending(id)) {
    unmade->limit = max_chars;
    return;
  }
  ::SendMessageW(Handle(id), IsCombo(LayoutEntry(id)) ? CB_LIMITTEXT : EM_LIMITTEXT,
                 static_cast<WPARAM>(max_chars), 0);
}

void Win32Window::TabInsertItem(int id, int index, std::string_view caption) {
  std::wstring text = Wide(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  ::SendMessageW(Handle(id), TCM_INSERTITEMW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

int Win32Window::TabGetCurSel(int id) const {
  if (!IsKind(LayoutEntry(id), ControlKind::kTabControl)) return -1;
  return static_cast<int>(::SendMessageW(Handle(id), TCM_GETCURSEL, 0, 0));
}

void Win32Window::TabSetCurSel(int id, int index) {
  ::SendMessageW(Handle(id), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
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
    OpenRuns().push_back(run);
    const auto has_tabs = [](const ControlSpec& control) {
      return control.kind == ControlKind::kTabControl;
    };
    if (std::any_of(run->layout.controls.begin(), run->layout.controls.end(), has_tabs)) {
      run->page_keys =
          ::SetWindowsHookExW(WH_GETMESSAGE, &PageKeys, nullptr, ::GetCurrentThreadId());
    }
    run->window = std::make_unique<Win32Window>(dialog, run->layout);
    // Texts and radio buttons on a tab page take the page's themed background, not grey boxes.
    ::EnableThemeDialogTexture(dialog, ETDT_ENABLETAB);
    // Enter issues the program's default command when no push button has the focus.
    ::SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(DefaultCommand(run->layout)), 0);
    run->handler.OnInitDialog(*run->window);
    run->window->MakeShownControls();
    // Where the logic put the focus itself, the dialog leaves it there.
    return run->window->FocusedControl() == 0 ? TRUE : FALSE;
  }
  Win32DialogRun* run = RunOf(dialog);
  if (run == nullptr || run->window == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    std::erase(OpenRuns(), run);
    if (run->page_keys != nullptr) ::UnhookWindowsHookEx(run->page_keys);
    run->page_keys = nullptr;
    return FALSE;
  }
  DialogHandler& handler = run->handler;

  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (lparam == 0 || code == BN_CLICKED) {
        // Menus and accelerators (Enter as kIdOk, Esc as kIdCancel), and button clicks.
        if (lparam == 0 && id != IDOK && id != IDCANCEL) return FALSE;
        // Enter with a disabled default button issues nothing, not OK.
        if (lparam == 0 && id == IDOK && DefaultCommand(run->layout) != kIdOk) return TRUE;
        const ControlSpec* layout_entry = FindControl(run->layout, id);
        if (lparam != 0 && layout_entry != nullptr &&
            layout_entry->kind != ControlKind::kPushButton &&
            layout_entry->kind != ControlKind::kRadioButton) {
          return FALSE;
        }
        if (layout_entry != nullptr && layout_entry->kind == ControlKind::kRadioButton) {
          run->window->MoveRadioTabStop(id);
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
      HMENU menu = ::GetSystemMenu(dialog, FALSE);
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
    case WM_CONTEXTMENU: {
      // A right click on the window, Shift+F10 and the Menu key open the window menu where the
      // mouse is, or for a key at the window's top left corner; its choice arrives as the
      // menu's own choice would, as a system command.
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (lparam == -1) {
        at = {0, 0};
        ::ClientToScreen(dialog, &at);
      }
      const auto command = static_cast<WPARAM>(::TrackPopupMenu(::GetSystemMenu(dialog, FALSE),
                                                                TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                                at.x, at.y, 0, dialog, nullptr));
      if (command != 0) ::PostMessageW(dialog, WM_SYSCOMMAND, command, 0);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qup::ui
