// SPDX-License-Identifier: MIT
// Win32Driver: plays the driver's commands on the real Windows dialog on the thread that runs
// it, with the messages a user's mouse and keyboard produce, and reports what the program shows
// outside its window.
#ifndef QUP_APP_DRIVE_WIN32_WIN32_DRIVER_H
#define QUP_APP_DRIVE_WIN32_WIN32_DRIVER_H

#include <windows.h>
#undef MessageBox  // the window operations' own name

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/drive/language.h"
#include "app/drive/session.h"
#include "suggest/network_options.h"
#include "ui/platform/win32/win32_platform.h"
#include "ui/platform/win32/win32_window.h"

namespace qup::drive {

// The platform as the program has it, except that addresses are printed, not opened, and
// captions carry the program's name rather than the driver's.
class DrivenPlatform : public ui::Win32Platform {
 public:
  void OpenUrl(std::string_view url) override;
  std::string DisplayName() const override { return kProgramDisplayName; }
};

class Win32Driver {
 public:
  // settled is signalled each time a command has done all it will do for now: its messages are
  // handled, and any dialog it opened waits for the user.
  explicit Win32Driver(HANDLE settled);
  ~Win32Driver();
  Win32Driver(const Win32Driver&) = delete;
  Win32Driver& operator=(const Win32Driver&) = delete;

  static std::string Help();

  // For the reader thread: hands one script line to the dialog's thread, or the script's end.
  void Post(int line_number, const std::string& line);
  void PostEnd();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK CallWndRetHook(int code, WPARAM wparam, LPARAM lparam);

  // On the dialog's thread.
  void Run(int line_number, const std::string& line);
  void End();
  void CheckSettled();
  void Then(std::function<void()> step) { steps_.push_back(std::move(step)); }
  void OnDialogInit(HWND dialog);
  void OnDialogGone(HWND dialog);
  bool BetweenWindows() const;

  void Start();
  void Tab(const Arguments& args);
  void Click(const Arguments& args);
  void Type(const Arguments& args);
  void Keys(const Arguments& args);
  void Key(const Arguments& args);
  void Pick(const Arguments& args);
  void Close();
  // The arrow keys in an open list until entry is chosen, then Enter.
  void MoveInList(HWND box, int entry, int keys_left);
  // The down arrow in the open window menu until the entry is lit, then Enter.
  void MoveInMenu(HMENU menu, UINT id, int keys_left);
  void Menu(const Arguments& args);
  void Show(const Arguments& args);
  void Screenshot(const Arguments& args);

  ui::Win32Window* Front();
  HWND Control(int id);
  bool Reachable(HWND control) const;
  // A left click at point (client coordinates of window) as the mouse gives it: to the window
  // the system finds under that point.
  void ClickAt(HWND window, POINT point, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP);
  // One key pressed and released where the focus is, each a step of its own.
  void PressKey(int key_index);
  void PressVirtualKey(UINT key, bool shift, bool control, bool alt);
  void TypeKeys(const std::string& keys);
  void PressOk(HWND box);

  HANDLE settled_;
  HWND messages_ = nullptr;  // the driver's own message-only window
  HHOOK hook_ = nullptr;
  DrivenPlatform platform_;
  Session session_;
  std::vector<HWND> dialogs_;  // the program's dialogs, the front one last
  std::vector<HWND> shown_;    // those and its message boxes
  std::deque<std::function<void()>> steps_;
  int busy_rounds_ = 0;
};

}  // namespace qup::drive

#endif  // QUP_APP_DRIVE_WIN32_WIN32_DRIVER_H
