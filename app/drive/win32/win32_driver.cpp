// SPDX-License-Identifier: MIT
// Win32Driver: the driver's commands on the real Windows dialog.
//
// The program runs on this thread in the dialog manager's own modal loops. Each command is
// handed over as a message and becomes a list of steps: each step posts what one press of a
// key or a button would bring (the messages Windows routes to the control under the mouse or
// with the focus), and the next step runs only when the thread's queue is empty again, as a
// person waits to see what a key did. The messages pass through whatever loop runs, so the
// dialog manager, combo boxes and menus handle them as they handle a user's.
#include "app/drive/win32/win32_driver.h"

#include <commctrl.h>

#include <iostream>
#include <variant>

#include "app/drive/png_file.h"
#include "app/drive/quoted_text.h"
#include "app/utility_app.h"
#include "settings/win32/win32_registry.h"
#include "suggest/win32/winsock_network.h"
#include "text/utf.h"
#include "ui/platform/control_rules.h"
#include "ui/platform/win32/win32_template.h"
#include "ui/platform/win32/win32_text.h"

namespace qup::drive {

namespace {

using ui::win32::Narrow;
using ui::win32::WindowText;

constexpr UINT kRunMessage = WM_APP + 1;      // wparam: line number, lparam: std::string*
constexpr UINT kEndMessage = WM_APP + 2;      // the script has ended
constexpr UINT kSettleMessage = WM_APP + 3;   // is the queue empty yet?
constexpr UINT_PTR kBetweenWindowsTimer = 1;  // the program is between two windows
// A queue that never empties (a control that posts to itself for ever) does not hold the
// script up for ever.
constexpr int kMostBusyRounds = 20000;
// A message box's text control, on every version of Windows.
constexpr int kMessageBoxTextId = 0xFFFF;

Win32Driver* g_driver = nullptr;  // the hook's way back to the driver

// The keys of kKeyNames, in its order.
struct VirtualKey {
  UINT key;
  bool shift;
  bool control;
  bool alt;
};
constexpr VirtualKey kVirtualKeys[] = {
    {VK_RETURN, false, false, false}, {VK_ESCAPE, false, false, false},
    {VK_TAB, false, false, false},    {VK_TAB, true, false, false},
    {VK_UP, false, false, false},     {VK_DOWN, false, false, false},
    {VK_LEFT, false, false, false},   {VK_RIGHT, false, false, false},
    {VK_SPACE, false, false, false},  {VK_F4, false, false, true},
    {VK_F10, true, false, false},     {VK_APPS, false, false, false},
    {VK_SPACE, false, false, true},   {VK_TAB, false, true, false},
    {VK_TAB, true, true, false},      {VK_NEXT, false, true, false},
    {VK_PRIOR, false, true, false},
};
static_assert(std::size(kVirtualKeys) == kKeyNames.size());

bool IsMessageBox(HWND dialog) { return ::GetDlgItem(dialog, kMessageBoxTextId) != nullptr; }

// The message box type its icon stands for: 16 stop, 32 question, 48 warning, 64 information.
int MessageBoxType(HWND box) {
  HICON icon = nullptr;
  for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr && icon == nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t class_name[16] = {};
    ::GetClassNameW(child, class_name, 16);
    if (std::wstring_view(class_name) == L"Static" &&
        (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  if (icon == nullptr) return ui::kMbOk;
  const std::pair<LPCWSTR, int> kinds[] = {{IDI_HAND, ui::kMbIconStop},
                                           {IDI_QUESTION, 0x20},
                                           {IDI_EXCLAMATION, ui::kMbIconExclamation},
                                           {IDI_ASTERISK, ui::kMbIconInformation}};
  for (const auto& [name, type] : kinds) {
    if (::LoadIconW(nullptr, name) == icon) return type;
  }
  return ui::kMbOk;
}

void PostKeyState(bool shift, bool control, bool alt) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  const auto state = [](bool down) { return static_cast<BYTE>(down ? 0x80 : 0); };
  keys[VK_SHIFT] = keys[VK_LSHIFT] = state(shift);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = state(control);
  keys[VK_MENU] = keys[VK_LMENU] = state(alt);
  ::SetKeyboardState(keys);
}

}  // namespace

void DrivenPlatform::OpenUrl(std::string_view url) { std::cout << UrlLine(url) << std::endl; }

std::string Win32Driver::Help() {
  return drive::Help(
      "Runs the program's real Windows dialog (on the display Wine or Windows draws on) and\n");
}

Win32Driver::Win32Driver(HANDLE settled) : settled_(settled) {
  g_driver = this;
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = &Win32Driver::WindowProc;
  window_class.hInstance = ::GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"QupDriver";
  ::RegisterClassW(&window_class);
  messages_ = ::CreateWindowExW(0, L"QupDriver", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                window_class.hInstance, nullptr);
  hook_ = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &Win32Driver::CallWndRetHook, nullptr,
                              ::GetCurrentThreadId());
}

Win32Driver::~Win32Driver() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
  if (messages_ != nullptr) ::DestroyWindow(messages_);
  g_driver = nullptr;
}

void Win32Driver::Post(int line_number, const std::string& line) {
  ::PostMessageW(messages_, kRunMessage, static_cast<WPARAM>(line_number),
                 reinterpret_cast<LPARAM>(new std::string(line)));
}

void Win32Driver::PostEnd() { ::PostMessageW(messages_, kEndMessage, 0, 0); }

LRESULT CALLBACK Win32Driver::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Win32Driver* driver = g_driver;
  if (driver == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case kRunMessage: {
      const std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(lparam));
      driver->Run(static_cast<int>(wparam), *line);
      return 0;
    }
    case kEndMessage:
      driver->End();
      return 0;
    case kSettleMessage:
      driver->CheckSettled();
      return 0;
    case WM_TIMER:
      ::KillTimer(window, kBetweenWindowsTimer);
      driver->CheckSettled();
      return 0;
    default:
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT CALLBACK Win32Driver::CallWndRetHook(int code, WPARAM wparam, LPARAM lparam) {
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
  if (code == HC_ACTION && g_driver != nullptr && sent != nullptr &&
      (::GetWindowLongW(sent->hwnd, GWL_STYLE) & WS_CHILD) == 0) {
    if (sent->message == WM_INITDIALOG) g_driver->OnDialogInit(sent->hwnd);
    if (sent->message == WM_NCDESTROY) g_driver->OnDialogGone(sent->hwnd);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

void Win32Driver::OnDialogInit(HWND dialog) {
  shown_.push_back(dialog);
  if (!IsMessageBox(dialog)) {
    dialogs_.push_back(dialog);
    return;
  }
  session_.Print(MessageBoxLine(MessageBoxType(dialog), Narrow(WindowText(dialog)),
                                Narrow(WindowText(::GetDlgItem(dialog, kMessageBoxTextId)))));
  // Pressed before anything else the script does, once the box runs its own loop.
  if (session_.PressesMessageBoxes()) steps_.push_front([this, dialog] { PressOk(dialog); });
}

void Win32Driver::OnDialogGone(HWND dialog) {
  std::erase(dialogs_, dialog);
  std::erase(shown_, dialog);
}

bool Win32Driver::BetweenWindows() const {
  // A modal dialog shows once its thread has nothing else to do, and hides some time before it
  // is gone; a program without a window is making or ending one.
  if (!session_.Running()) return false;
  if (shown_.empty()) return true;
  return std::any_of(shown_.begin(), shown_.end(),
                     [](HWND window) { return ::IsWindowVisible(window) == FALSE; });
}

void Win32Driver::Run(int line_number, const std::string& line) {
  ::PostMessageW(messages_, kSettleMessage, 0, 0);
  const std::optional<CommandLine> command = session_.Take(line_number, line);
  if (!command) return;
  const Verb verb = command->verb;
  const Arguments& args = command->args;
  switch (verb) {
    case Verb::kResolve:
    case Verb::kBoxes:
      return;
    case Verb::kStart:
      return Start();
    case Verb::kTab:
      return Then([this, args] { Tab(args); });
    case Verb::kClick:
      return Then([this, args] { Click(args); });
    case Verb::kType:
      return Then([this, args] { Type(args); });
    case Verb::kKeys:
      return Then([this, args] { Keys(args); });
    case Verb::kKey:
      return Then([this, args] { Key(args); });
    case Verb::kPick:
      return Then([this, args] { Pick(args); });
    case Verb::kClose:
      return Then([this] { Close(); });
    case Verb::kMenu:
      return Then([this, args] { Menu(args); });
    case Verb::kShow:
      return Then([this, args] { Show(args); });
    case Verb::kScreenshot:
      return Then([this, args] { Screenshot(args); });
  }
}

void Win32Driver::CheckSettled() {
  // Another message waits: look again after it. Input from the real mouse and keyboard is not
  // waited for: it comes after posted messages, and a mouse resting on the window would hold
  // the script up.
  const DWORD waiting = HIWORD(::GetQueueStatus(QS_POSTMESSAGE | QS_SENDMESSAGE));
  if (waiting != 0 && ++busy_rounds_ < kMostBusyRounds) {
    ::PostMessageW(messages_, kSettleMessage, 0, 0);
    return;
  }
  busy_rounds_ = 0;
  if (BetweenWindows()) {
    // Look again once the thread has had time for what it does when no message waits.
    ::SetTimer(messages_, kBetweenWindowsTimer, 10, nullptr);
    return;
  }
  if (!steps_.empty()) {
    std::function<void()> step = std::move(steps_.front());
    steps_.pop_front();
    ::PostMessageW(messages_, kSettleMessage, 0, 0);
    step();
    return;
  }
  ::SetEvent(settled_);
}

void Win32Driver::End() {
  std::cout.flush();
  if (session_.Running()) {
    // The script ended with the window open: stop as if the process were killed.
    ::ExitProcess(static_cast<UINT>(session_.ExitStatus()));
  }
  ::PostQuitMessage(session_.ExitStatus());
}

void Win32Driver::Start() {
  session_.Start([this] {
    settings::WinRegistry registry;
    suggest::WinsockNetwork network(session_.NetworkTarget());
    app::UtilityApp().InitInstance(platform_, registry, network);
  });
}

ui::Win32Window* Win32Driver::Front() {
  const auto* run =
      dialogs_.empty()
          ? nullptr
          : reinterpret_cast<ui::Win32DialogRun*>(::GetWindowLongPtrW(dialogs_.back(), DWLP_USER));
  ui::Win32Window* front = run != nullptr ? run->window.get() : nullptr;
  return session_.HasWindow(front != nullptr) ? front : nullptr;
}

HWND Win32Driver::Control(int id) {
  ui::Win32Window* front = Front();
  if (front == nullptr) return nullptr;
  HWND control = front->Control(id);
  return session_.HasControl(id, control != nullptr) ? control : nullptr;
}

bool Win32Driver::Reachable(HWND control) const {
  return ::IsWindowVisible(control) != FALSE && ::IsWindowEnabled(control) != FALSE;
}

void Win32Driver::ClickAt(HWND window, POINT point, UINT down, UINT up) {
  POINT screen = point;
  ::ClientToScreen(window, &screen);
  // What the mouse would reach there: the window on top, passing over texts, group boxes and
  // a tab control's page, which let the mouse through to what lies under them.
  HWND target = ::WindowFromPoint(screen);
  if (target == nullptr) return;
  POINT client = screen;
  ::ScreenToClient(target, &client);
  const LPARAM where = MAKELPARAM(client.x, client.y);
  ::PostMessageW(target, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, where);
  ::PostMessageW(target, up, 0, where);
}

void Win32Driver::PressVirtualKey(UINT key, bool shift, bool control, bool alt) {
  // The keyboard's state is set where the key is read, and put back once it has been read.
  Then([this, key, shift, control, alt] {
    PostKeyState(shift, control, alt);
    HWND focus = ::GetFocus();
    if (focus == nullptr && !dialogs_.empty()) focus = dialogs_.back();
    if (!session_.HasWindow(focus != nullptr)) return;
    // F10 and every key held with Alt are the system's keys.
    const bool system = alt || key == VK_F10;
    const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    const LPARAM flags = 1 | (static_cast<LPARAM>(scan) << 16) | (alt ? (1L << 29) : 0);
    ::PostMessageW(focus, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, flags);
    ::PostMessageW(focus, system ? WM_SYSKEYUP : WM_KEYUP, key, flags | (3L << 30));
  });
  Then([] { PostKeyState(false, false, false); });
}

void Win32Driver::PressKey(int key_index) {
  const VirtualKey& key = kVirtualKeys[static_cast<std::size_t>(key_index)];
  PressVirtualKey(key.key, key.shift, key.control, key.alt);
}

void Win32Driver::TypeKeys(const std::string& keys) {
  // Line breaks and tabs are keys; every other character comes as the keyboard's translation
  // of a key brings it, one UTF-16 unit after the other.
  std::u16string pending;
  const auto type_pending = [this, &pending] {
    if (pending.empty()) return;
    for (const char16_t unit : pending) {
      Then([this, unit] {
        if (HWND focus = ::GetFocus()) ::PostMessageW(focus, WM_CHAR, unit, 1);
      });
    }
    pending.clear();
  };
  for (const char16_t unit : text::Utf8ToUtf16(keys)) {
    if (unit == u'\n' || unit == u'\t') {
      type_pending();
      PressVirtualKey(unit == u'\n' ? VK_RETURN : VK_TAB, false, false, false);
    } else {
      pending.push_back(unit);
    }
  }
  type_pending();
}

void Win32Driver::PressOk(HWND box) {
  if (::IsWindow(box) == FALSE) return;
  if (HWND ok = ::GetDlgItem(box, IDOK)) {
    RECT rect{};
    ::GetClientRect(ok, &rect);
    ClickAt(ok, {rect.right / 2, rect.bottom / 2});
  }
}

void Win32Driver::Tab(const Arguments& args) {
  ui::Win32Window* front = Front();
  if (front == nullptr) return;
  const auto& controls = front->Layout().controls;
  const auto found = std::find_if(controls.begin(), controls.end(), [](const auto& control) {
    return control.kind == ui::ControlKind::kTabControl;
  });
  HWND tabs = found == controls.end() ? nullptr : ::GetDlgItem(front->handle(), found->id);
  const int count = tabs ? static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
  if (!session_.HasTab(args.number, tabs != nullptr, count) || !Reachable(tabs)) return;
  RECT rect{};
  ::SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(args.number),
                 reinterpret_cast<LPARAM>(&rect));
  ClickAt(tabs, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void Win32Driver::Click(const Arguments& args) {
  HWND control = Control(args.id);
  if (control == nullptr || !Reachable(control)) return;
  RECT rect{};
  ::GetClientRect(control, &rect);
  ClickAt(control, {rect.right / 2, rect.bottom / 2});
}

void Win32Driver::Type(const Arguments& args) {
  const std::optional<std::string> keys = session_.KeysOf(args.text);
  if (!keys) return;
  HWND control = Control(args.id);
  if (control == nullptr || !session_.IsReachable(args.id, Reachable(control))) return;
  Click(args);
  PressVirtualKey('A', false, true, false);
  TypeKeys(*keys);
}

void Win32Driver::Keys(const Arguments& args) {
  const std::optional<std::string> keys = session_.KeysOf(args.text);
  if (keys && Front() != nullptr) TypeKeys(*keys);
}

void Win32Driver::Key(const Arguments& args) {
  const std::optional<std::size_t> index = session_.KeyNamed(args.text);
  if (index && session_.HasWindow(!shown_.empty())) PressKey(static_cast<int>(*index));
}

void Win32Driver::Pick(const Arguments& args) {
  ui::Win32Window* front = Front();
  HWND box = Control(args.id);
  if (front == nullptr || box == nullptr) return;
  const ui::ControlSpec* control = ui::FindControl(front->Layout(), args.id);
  const ui::ControlKind kind = control != nullptr ? control->kind : ui::ControlKind::kStatic;
  const bool is_combo_box = ui::IsComboBox(kind);
  const auto count = static_cast<int>(::SendMessageW(box, CB_GETCOUNT, 0, 0));
  if (!session_.CanPick(args.id, is_combo_box, args.number, count) ||
      !session_.IsReachable(args.id, Reachable(box))) {
    return;
  }
  // An editable box opens from its arrow, a drop list from anywhere on it.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ::GetComboBoxInfo(box, &info);
  RECT opener = info.rcButton;
  if (kind == ui::ControlKind::kDropList) ::GetClientRect(box, &opener);
  ClickAt(box, {(opener.left + opener.right) / 2, (opener.top + opener.bottom) / 2});
  // Once the list shows, the user moves to the entry with the arrow keys and takes it with
  // Enter.
  Then([this, box, id = args.id, entry = args.number] {
    if (!session_.ListOpened(id, ::SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != FALSE)) return;
    MoveInList(box, entry, 2 * static_cast<int>(::SendMessageW(box, CB_GETCOUNT, 0, 0)) + 2);
  });
}

void Win32Driver::MoveInList(HWND box, int entry, int keys_left) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ::GetComboBoxInfo(box, &info);
  const auto current = static_cast<int>(::SendMessageW(info.hwndList, LB_GETCURSEL, 0, 0));
  if (current == entry || keys_left == 0) {
    PressVirtualKey(VK_RETURN, false, false, false);
    return;
  }
  PressVirtualKey(current < entry ? VK_DOWN : VK_UP, false, false, false);
  Then([this, box, entry, keys_left] { MoveInList(box, entry, keys_left - 1); });
}

void Win32Driver::Close() {
  // What the title bar's close button sends the window.
  if (ui::Win32Window* front = Front()) ::PostMessageW(front->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Win32Driver::Menu(const Arguments& args) {
  ui::Win32Window* front = Front();
  if (front == nullptr) return;
  HWND dialog = front->handle();
  HMENU menu = ::GetSystemMenu(dialog, FALSE);
  const bool found =
      ::GetMenuState(menu, static_cast<UINT>(args.id), MF_BYCOMMAND) != static_cast<UINT>(-1);
  if (!session_.HasMenuEntry(args.id, found)) return;
  // A right click on the window's background, where no control is.
  ClickAt(dialog, {2, 2}, WM_RBUTTONDOWN, WM_RBUTTONUP);
  Then([this, menu, id = args.id] {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetCurrentThreadId(), &gui);
    if (!session_.MenuOpened((gui.flags & GUI_INMENUMODE) != 0)) return;
    MoveInMenu(menu, static_cast<UINT>(id), 2 * ::GetMenuItemCount(menu) + 2);
  });
}

void Win32Driver::MoveInMenu(HMENU menu, UINT id, int keys_left) {
  if ((::GetMenuState(menu, id, MF_BYCOMMAND) & MF_HILITE) != 0 || keys_left == 0) {
    PressVirtualKey(VK_RETURN, false, false, false);
    return;
  }
  PressVirtualKey(VK_DOWN, false, false, false);
  Then([this, menu, id, keys_left] { MoveInMenu(menu, id, keys_left - 1); });
}

void Win32Driver::Show(const Arguments& args) {
  ui::Win32Window* front = Front();
  if (front == nullptr || Control(args.id) == nullptr) return;
  session_.Print(ShowLine(*front, front->Layout(), args.id));
}

void Win32Driver::Screenshot(const Arguments& args) {
  ui::Win32Window* front = Front();
  if (front == nullptr) return;
  HWND window = front->handle();
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  // The window's own DC, children included: it reads what the window has painted, where the
  // screen's DC can lag behind Wine's copy of the window to the X server.
  HDC screen = ::GetDCEx(window, nullptr, DCX_WINDOW | DCX_CACHE);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // rows from the top
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP picture = ::CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ before = ::SelectObject(memory, picture);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::GdiFlush();
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
       ++i) {
    rgb.insert(rgb.end(), {pixels[i * 4 + 2], pixels[i * 4 + 1], pixels[i * 4]});
  }
  ::SelectObject(memory, before);
  ::DeleteObject(picture);
  ::DeleteDC(memory);
  ::ReleaseDC(window, screen);
  session_.Wrote(args.text, WritePng(args.text, width, height, rgb));
}

}  // namespace qup::drive
