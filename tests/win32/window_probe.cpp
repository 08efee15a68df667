// SPDX-License-Identifier: MIT
// A small Windows program the window tests run beside the program under Wine, to look at
// windows as Windows sees them:
//   window_probe wait TITLE SECONDS   ends 0 once a top-level window has exactly this title
//   window_probe front TITLE SECONDS  ends 0 once that window is the foreground window
//   window_probe hold SECONDS         shows a window of its own in front, for that long
//   window_probe menu TITLE           picks Close on that window's window menu
//   window_probe gone TITLE SECONDS   ends 0 once no window has this title
//   window_probe text TITLE TEXT SECONDS  ends 0 once that window has a child showing TEXT
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// Calls done() every 100 ms until it is true or the time is up.
template <typename Done>
bool WaitFor(double seconds, Done done) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (!done()) {
    if (::GetTickCount64() >= end) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::Sleep(100);
  }
  return true;
}

std::wstring TitleOf(HWND window) {
  wchar_t title[256] = {};
  ::GetWindowTextW(window, title, 256);
  return title;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring command = argv[1];
  const wchar_t* title = argv[2];
  const double seconds = argc > 3 ? std::wcstod(argv[3], nullptr) : 0;

  if (command == L"wait")
    return WaitFor(seconds, [&] { return ::FindWindowW(nullptr, title); }) ? 0 : 1;
  if (command == L"gone")
    return WaitFor(seconds, [&] { return !::FindWindowW(nullptr, title); }) ? 0 : 1;
  if (command == L"front") {
    const bool front = WaitFor(seconds, [&] {
      HWND window = ::FindWindowW(nullptr, title);
      return window != nullptr && ::GetForegroundWindow() == window;
    });
    if (!front) std::wprintf(L"foreground: \"%ls\"\n", TitleOf(::GetForegroundWindow()).c_str());
    return front ? 0 : 1;
  }
  if (command == L"hold") {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"window probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(window);
    WaitFor(std::wcstod(title, nullptr), [] { return false; });
    ::DestroyWindow(window);
    return 0;
  }
  if (command == L"text" && argc > 4) {
    const bool shown = WaitFor(std::wcstod(argv[4], nullptr), [&] {
      HWND window = ::FindWindowW(nullptr, title);
      return window != nullptr && ::FindWindowExW(window, nullptr, nullptr, argv[3]) != nullptr;
    });
    return shown ? 0 : 1;
  }
  if (command == L"menu") {
    HWND window = ::FindWindowW(nullptr, title);
    if (window == nullptr) return 1;
    // What choosing Close on the window menu sends.
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  return 2;
}
