// SPDX-License-Identifier: MIT
// Dialogs from in-memory templates, message boxes, the shell and the window search on Windows.
#include "ui/platform/win32/win32_platform.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>
#undef MessageBox  // the window operations' own name

#include <vector>

#include "ui/platform/win32/win32_template.h"
#include "ui/platform/win32/win32_text.h"
#include "ui/platform/win32/win32_window.h"

namespace qup::ui {

using win32::Wide;

Win32Platform::Win32Platform() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
}

int Win32Platform::RunModal(const DialogTemplate& dialog, DialogHandler& handler, Window* owner) {
  // DialogBoxIndirectParam wants the template on a 4-byte boundary: a vector of DWORDs.
  auto* const owner_window = dynamic_cast<Win32Window*>(owner);
  const std::vector<std::uint8_t> bytes = win32::BuildDialogTemplate(
      dialog, owner_window == nullptr ? win32::Frame::kOwnWindow : win32::Frame::kOwnedBox,
      win32::PageControls::kLeftOut);
  std::vector<DWORD> aligned((bytes.size() + 3) / 4);
  std::copy(bytes.begin(), bytes.end(), reinterpret_cast<std::uint8_t*>(aligned.data()));

  Win32DialogRun run{dialog, handler, nullptr, nullptr};
  const INT_PTR result = ::DialogBoxIndirectParamW(
      ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(aligned.data()),
      owner_window != nullptr ? owner_window->handle() : nullptr, &Win32Window::DialogProc,
      reinterpret_cast<LPARAM>(&run));
  return static_cast<int>(result);
}

void Win32Platform::MessageBox(std::string_view text, std::string_view caption, int type) {
  ::MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(),
                static_cast<UINT>(type) | MB_TASKMODAL);
}

void Win32Platform::OpenUrl(std::string_view url) {
  ::ShellExecuteW(nullptr, L"open", Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

WindowRef Win32Platform::FindTopLevelWindow(std::string_view title) {
  return reinterpret_cast<WindowRef>(::FindWindowW(nullptr, Wide(title).c_str()));
}

void Win32Platform::SetForegroundWindow(WindowRef window) {
  ::SetForegroundWindow(reinterpret_cast<HWND>(window));
}

void Win32Platform::BeginWaitCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }

void Win32Platform::EndWaitCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }

std::string Win32Platform::DisplayName() const {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring::npos) name.resize(dot);
  return win32::Narrow(name);
}

}  // namespace qup::ui
